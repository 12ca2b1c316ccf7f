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

} // namespace

bool RegistrosTransito::gravar(RegistroTransito& registro) {
    m_tabela.clear();
    const Status ultimo = m_tabela.seekLast("KEYID");
    long long id = 0;
    if (ultimo == Status::Error)
        return false;
    if (ultimo == Status::Ok) {
        const Status s = m_tabela.previous();
        if (s == Status::Error)
            return false;
        if (s == Status::Ok)
            id = m_tabela.rec().integer("ID");
    }
    registro.id = id + 1;
    m_tabela.clear();
    try {
        preencher(m_tabela.rec(), registro);
    } catch (const FieldValueError&) {
        return false;
    }
    return m_tabela.add() == Status::Ok;
}

bool RegistrosTransito::apagar(long long id) {
    return apagarEm(m_tabela, id);
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
