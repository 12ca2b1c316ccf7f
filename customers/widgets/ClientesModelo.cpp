#include "customers/widgets/ClientesModelo.h"

#include "customers/core/RegrasCliente.h"
#include "store/core/Table.h"
#include "store/core/Text.h"

using namespace Qt::StringLiterals;

namespace qav {

std::vector<ListColumn> ClientesModelo::colunas(ClientesModelo* self) {
    const TableDef& t = *findTable("clientes.tps");
    ListColumn id = ListColumn::computed(
        u"Id"_s, [](const Record& r) { return clientes::idSeisDigitos(r.integer("ID")); }, true);
    ListColumn documento = ListColumn::computed(u"CNPJ/CPF"_s, [](const Record& r) {
        const QString numero = text::rtrim(r.text("CGCPF"));
        const QString sufixo = r.text("SUF_CGCPF").trimmed();
        return sufixo.isEmpty() ? numero : numero + u" / "_s + sufixo;
    });
    ListColumn nomeMunicipio = ListColumn::computed(u"Municipio"_s, [self](const Record& r) {
        const std::optional<qav::MunicipioCadastro>& m = self->municipio(r.integer("ID_MUNICIPIO"));
        return m ? m->nome : QString();
    });
    ListColumn uf = ListColumn::computed(u"UF"_s, [self](const Record& r) {
        const std::optional<qav::MunicipioCadastro>& m = self->municipio(r.integer("ID_MUNICIPIO"));
        return m ? m->estado : QString();
    });
    return {id, ListColumn::text(t, u"Nome / Razão Social"_s, "RAZAO"), documento, nomeMunicipio, uf};
}

ClientesModelo::ClientesModelo(Store& store, QObject* parent)
    : StoreListModel(store, *findTable("clientes.tps"), colunas(this), parent), m_store(store) {
    open();
}

bool ClientesModelo::carregar(Ordem ordem, Situacao situacao, std::int64_t idMunicipio,
                              const QString& documento) {
    m_ordem = ordem;
    m_municipios.clear();
    setOrder(clientes::chaveDaOrdem(ordem));
    const ListFilter filtro = clientes::filtroLista(ordem, situacao, idMunicipio, documento);
    setFilter(filtro.condition, filtro.parameters);
    return reload();
}

const std::optional<qav::MunicipioCadastro>& ClientesModelo::municipio(std::int64_t id) const {
    auto it = m_municipios.find(id);
    if (it == m_municipios.end())
        it = m_municipios.emplace(id, buscarMunicipio(m_store, id)).first;
    return it->second;
}

std::int64_t ClientesModelo::idDaLinha(int linha) const {
    return linha >= 0 && linha < rowCount() ? record(linha).integer("ID") : 0;
}

int ClientesModelo::linhaDoId(std::int64_t id) const {
    return findLoaded(def().fieldIndex("ID"), id);
}

std::optional<int> ClientesModelo::posicionarNoId(std::int64_t id) {
    if (id == 0)
        return std::nullopt;
    const int carregada = linhaDoId(id);
    if (carregada >= 0)
        return carregada;
    Table clientes(m_store, def());
    if (!clientes.open())
        return std::nullopt;
    clientes.rec().setInteger("ID", id);
    if (clientes.get("KEYID") != Status::Ok)
        return std::nullopt;
    const KeyDef& chave = def().keys[static_cast<size_t>(def().keyIndex(order()))];
    // A customer the list does not show (another situation, another municipality): its neighbours.
    const std::optional<int> vizinho =
        locateNearest(clientes.rec(), static_cast<int>(chave.components.size()));
    const int linha = linhaDoId(id);
    return linha >= 0 ? std::optional<int>(linha) : vizinho;
}

std::optional<int> ClientesModelo::localizar(const QString& texto) {
    if (texto.trimmed().isEmpty()) {
        reload();
        return rowCount() > 0 ? std::optional<int>(0) : std::nullopt;
    }
    Record valores(def());
    try {
        switch (m_ordem) {
        case Ordem::PorId: {
            bool ok = false;
            const qlonglong id = texto.trimmed().toLongLong(&ok);
            if (!ok)
                return std::nullopt; // not a number: the list stays where it is
            valores.setInteger("ID", std::clamp<qlonglong>(id, 0, std::numeric_limits<std::int32_t>::max()));
            break;
        }
        case Ordem::PorDocumento:
            valores.setText("CGCPF", texto);
            break;
        case Ordem::PorFantasia:
            valores.setText("NOME", text::foldSearch(texto));
            break;
        case Ordem::PorRazao:
        case Ordem::PorMunicipio:
            // Names are found as the user types them: "antonio r" finds "Antônio Ribeiro".
            valores.setText("RAZAO", text::foldSearch(texto));
            break;
        }
    } catch (const FieldValueError&) {
        return std::nullopt; // more than the field can hold: nothing to find
    }
    return locateNearest(valores, 1);
}

} // namespace qav
