#include "sync/core/envio/ItensPedidoComum.h"

#include "sync/core/envio/ExpressaoComissao.h"

#include <utility>

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

namespace {

std::optional<Record> lerProduto(ContextoComunicacao& c, const ItensDoPedido& d, const Record& item) {
    d.produtos.clear();
    d.produtos.rec().setInteger("ID", item.integer("PRODU"));
    d.produtos.rec().setInteger("ID_EMPRESA", d.pedido.integer("ID_EMPRESA"));
    if (d.produtos.get("KEYID") != Status::Ok) {
        c.aviso(QStringLiteral("Produto inválido!|Id # %1").arg(item.integer("PRODU")));
        return std::nullopt;
    }
    return d.produtos.rec();
}

} // namespace

bool enviarCadaItem(ContextoComunicacao& contexto, const ItensDoPedido& d,
                    const std::function<bool(ItemEnvio& item)>& enviar) {
    bool ok = false;
    Table& itens = d.tabelas.peditens;
    const std::vector<Record> lidos = lerItensPedido(itens, d.pedido.integer("ID"), ok);
    if (!ok) {
        contexto.erro(QStringLiteral("Erro (%1) ao ler itens do pedido!").arg(itens.error().number()));
        return false;
    }
    const long long numer = d.pedido.integer("NUMER");
    int ordem = 0;
    for (const Record& lido : lidos) {
        ++ordem;
        contexto.linhaProgresso(QStringLiteral("Gravando Item # %1 do Pedido # %2...").arg(ordem).arg(numer));
        std::optional<Record> produto = lerProduto(contexto, d, lido);
        if (!produto)
            return false;
        ItemEnvio item{.item = lido, .ordem = ordem, .produto = std::move(*produto), .comissao = {}};
        item.comissao = expressaoComissao(contexto.conexao, item.item,
                                          precoNaPauta(d.precos, d.pauta, lido.integer("PRODU")), d.pauta,
                                          d.vendedor, contexto.empresaCabeca);
        if (!enviar(item))
            return false;
    }
    return true;
}

} // namespace qav::sync
