#include "sync/core/envio/ItensPedidoComum.h"

namespace qav::sync {

std::vector<Record> lerItensPedido(Table& itens, long long idPedido, bool& ok) {
    std::vector<Record> lidos;
    itens.setFilter("ID_VENDA = ?", {QVariant::fromValue(idPedido)});
    ok = itens.seekFirst("KEYORDEM") != Status::Error;
    Status s = Status::Ok;
    while (ok && (s = itens.next()) == Status::Ok)
        lidos.push_back(itens.rec());
    ok = ok && s != Status::Error;
    itens.clearFilter();
    return lidos;
}

std::optional<Record> precoNaPauta(Table& precos, const Record& pauta, long long produto) {
    precos.clear();
    precos.rec().setInteger("ID_PAUTA", pauta.integer("ID"));
    precos.rec().setInteger("ID_PROD", produto);
    if (precos.get("KEYPRODUTO") != Status::Ok)
        return std::nullopt;
    return precos.rec();
}

bool enviarAcessorios(ContextoComunicacao& c, Table& acessorios, long long idVendasi, const QString& idItem,
                      const QString& tabelaServidor) {
    acessorios.setFilter("ID_VENDASI = ?", {QVariant::fromValue(idVendasi)});
    std::vector<Record> lidos;
    bool ok = acessorios.seekFirst("KEYID_VENDASI") != Status::Error;
    Status s = Status::Ok;
    while (ok && (s = acessorios.next()) == Status::Ok)
        lidos.push_back(acessorios.rec());
    acessorios.clearFilter();
    if (!ok || s == Status::Error) {
        c.erro(QStringLiteral("Erro (%1) ao ler acessórios!").arg(acessorios.error().number()));
        return false;
    }
    for (const Record& a : lidos) {
        ErroSql erro;
        if (!c.conexao.executar(QStringLiteral("INSERT INTO ") + tabelaServidor +
                                    QStringLiteral("(   id_peditem, id_acessorio, valor)   VALUES (") +
                                    idItem + QStringLiteral(", ") +
                                    Conexao::inteiro(a.integer("ID_ACESSORIO")) + QStringLiteral(", ") +
                                    Conexao::numero(a.decimal("VALOR")) + QStringLiteral(");"),
                                &erro)) {
            c.erroComando(erro);
            return false;
        }
    }
    return true;
}

bool enviarCadaItem(ContextoComunicacao& contexto, Table& itens, long long idPedido,
                    const std::function<bool(const Record& item, int ordem)>& enviar) {
    bool ok = false;
    const std::vector<Record> lidos = lerItensPedido(itens, idPedido, ok);
    if (!ok) {
        contexto.erro(QStringLiteral("Erro (%1) ao ler itens do pedido!").arg(itens.error().number()));
        return false;
    }
    int ordem = 0;
    for (const Record& item : lidos)
        if (!enviar(item, ++ordem))
            return false;
    return true;
}

} // namespace qav::sync
