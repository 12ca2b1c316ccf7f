#include "sync/core/envio/RegistroTransito.h"

namespace qav::sync {

namespace {

void preencher(Record& r, const RegistroTransito& g) {
    r.setInteger("ID", g.id);
    r.setInteger("TIPO", static_cast<int>(g.tipo));
    r.setInteger("ID_EMPRESA", g.idEmpresa);
    r.setInteger("ID_PEDIDO", g.idPedido);
    r.setInteger("NUMER", g.numer);
    r.setInteger("NUM_ERP", g.numErp);
    r.setInteger("ID_PEDIDO_SERVIDOR", g.idPedidoServidor);
    r.setText("NUM_PED_QAV", g.numPedQav);
    r.setText("NUM_CLIENT_VEND", g.numClientVend);
    r.setInteger("ID_CLIENTE", g.idCliente);
    r.setInteger("ID_CLIENTE_SERVIDOR", g.idClienteServidor);
}

RegistroTransito lido(const Record& r) {
    RegistroTransito g;
    g.id = r.integer("ID");
    g.tipo = static_cast<TipoTransito>(r.integer("TIPO"));
    g.idEmpresa = r.integer("ID_EMPRESA");
    g.idPedido = r.integer("ID_PEDIDO");
    g.numer = r.integer("NUMER");
    g.numErp = r.integer("NUM_ERP");
    g.idPedidoServidor = r.integer("ID_PEDIDO_SERVIDOR");
    g.numPedQav = r.text("NUM_PED_QAV");
    g.numClientVend = r.text("NUM_CLIENT_VEND");
    g.idCliente = r.integer("ID_CLIENTE");
    g.idClienteServidor = r.integer("ID_CLIENTE_SERVIDOR");
    return g;
}

// The highest id in the table, 0 when it is empty; nullopt when it could not be read.
std::optional<long long> ultimoId(Table& tabela) {
    tabela.clear();
    const Status ultimo = tabela.seekLast("KEYID");
    if (ultimo == Status::Error)
        return std::nullopt;
    if (ultimo == Status::Ok) {
        const Status s = tabela.previous();
        if (s == Status::Error)
            return std::nullopt;
        if (s == Status::Ok)
            return tabela.rec().integer("ID");
    }
    return 0;
}

bool adicionar(Table& tabela, const RegistroTransito& registro) {
    tabela.clear();
    try {
        preencher(tabela.rec(), registro);
    } catch (const FieldValueError&) {
        return false;
    }
    return tabela.add() == Status::Ok;
}

} // namespace

bool RegistrosTransito::gravar(RegistroTransito& registro) {
    const auto id = ultimoId(m_tabela);
    if (!id)
        return false;
    registro.id = *id + 1;
    return adicionar(m_tabela, registro);
}

bool RegistrosTransito::gravarTodos(std::vector<RegistroTransito>& registros) {
    if (registros.empty())
        return true;
    if (!m_tabela.beginBatch())
        return false;
    auto id = ultimoId(m_tabela);
    for (RegistroTransito& registro : registros) {
        if (id)
            registro.id = ++*id;
        if (!id || !adicionar(m_tabela, registro)) {
            m_tabela.rollbackBatch();
            return false;
        }
    }
    return m_tabela.endBatch();
}

bool RegistrosTransito::apagar(long long id) {
    return apagarEm(m_tabela, id);
}

bool RegistrosTransito::apagarTodos(const std::vector<long long>& ids) {
    if (ids.empty())
        return true;
    if (!m_tabela.beginBatch())
        return false;
    for (const long long id : ids)
        if (!apagarEm(m_tabela, id)) {
            m_tabela.rollbackBatch();
            return false;
        }
    return m_tabela.endBatch();
}

bool RegistrosTransito::apagarEm(Table& tabela, long long id) {
    tabela.clear();
    tabela.rec().setInteger("ID", id);
    const Status s = tabela.get("KEYID");
    if (s == Status::NotFound)
        return true;
    return s == Status::Ok && tabela.remove() == Status::Ok;
}

std::optional<std::vector<RegistroTransito>> RegistrosTransito::registros(TipoTransito tipo,
                                                                          long long idEmpresa) {
    std::vector<RegistroTransito> lista;
    m_tabela.setFilter("TIPO = ? AND ID_EMPRESA = ?", {static_cast<int>(tipo), idEmpresa});
    Status s = m_tabela.seekFirst("KEYID");
    while (s == Status::Ok && (s = m_tabela.next()) == Status::Ok)
        lista.push_back(lido(m_tabela.rec()));
    m_tabela.clearFilter();
    if (s == Status::Error)
        return std::nullopt;
    return lista;
}

} // namespace qav::sync
