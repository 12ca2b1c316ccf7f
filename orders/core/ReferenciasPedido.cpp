#include "orders/core/ReferenciasPedido.h"

#include "store/core/Table.h"

#include <set>

namespace qav::referencias {

namespace {

// Reads one record of `tabela` by `chave` after `preparar` has set the key's fields in the buffer.
template <typename Preparar>
std::optional<Record> buscar(Store& store, const char* tabela, const char* chave, Preparar preparar) {
    Table t(store, tabela);
    if (!t.open())
        return std::nullopt;
    t.clear();
    preparar(t.rec());
    if (t.get(chave) != Status::Ok)
        return std::nullopt;
    return t.rec();
}

std::optional<Record> pauta(Store& store, int idEmpresa, int codigo) {
    if (codigo == 0)
        return std::nullopt;
    return buscar(store, "pauta", "KEYCODIGO", [&](Record& r) {
        r.setInteger("ID_EMPRESA", idEmpresa);
        r.setInteger("CODIGO", codigo);
    });
}

} // namespace

std::optional<Record> cliente(Store& store, int id) {
    if (id == 0)
        return std::nullopt;
    return buscar(store, "clientes", "KEYID", [&](Record& r) { r.setInteger("ID", id); });
}

QString nomeCliente(Store& store, int id) {
    const std::optional<Record> r = cliente(store, id);
    return r ? r->text("RAZAO").trimmed() : QString();
}

QString nomePauta(Store& store, int idEmpresa, int codigo) {
    const std::optional<Record> r = pauta(store, idEmpresa, codigo);
    return r ? r->text("DESCRICAO").trimmed() : QString();
}

bool pautaExclusivaCliente(Store& store, int idEmpresa, int codigo) {
    const std::optional<Record> r = pauta(store, idEmpresa, codigo);
    return r && r->integer("PAUTA_EXCLUSIVA_CLIENTE") != 0;
}

std::optional<Record> transportador(Store& store, int id) {
    if (id == 0)
        return std::nullopt;
    return buscar(store, "transp", "KEYID", [&](Record& r) { r.setInteger("ID", id); });
}

QString nomeTransportador(Store& store, int id) {
    const std::optional<Record> r = transportador(store, id);
    return r ? r->text("NOME").trimmed().left(40) : QString();
}

std::vector<Opcao> tiposPedido(Store& store, bool& daTabela) {
    std::vector<Opcao> ativos;
    Table t(store, "qavtipoped");
    if (t.open() && t.seekFirst("KEYID") == Status::Ok) {
        while (t.next() == Status::Ok)
            if (t.rec().integer("ATIVO") != 0)
                ativos.push_back(
                    {static_cast<int>(t.rec().integer("ID")), t.rec().text("DESCRICAO").trimmed()});
    }
    daTabela = ativos.size() > 1;
    if (daTabela)
        return ativos;
    return {{1, QStringLiteral("Venda Normal")}, {2, QStringLiteral("Bonificação")}};
}

std::vector<Opcao> municipiosCarregamento(Store& store) {
    std::vector<Opcao> lista;
    std::set<int> vistos;
    Table t(store, "cstfrete");
    if (t.open() && t.seekPhysical() == Status::Ok) {
        while (t.next() == Status::Ok) {
            const int id = static_cast<int>(t.rec().integer("ID_MUN_CARREG"));
            if (id != 0 && vistos.insert(id).second)
                lista.push_back({id, t.rec().text("NM_MUN_CARREG").trimmed()});
        }
    }
    return lista;
}

} // namespace qav::referencias
