#include "tools/qavdemo/PedidoDemo.h"

#include "orders/core/CamposPedido.h"
#include "orders/core/PrecoItem.h"
#include "store/core/Table.h"

#include <functional>

namespace qav::demo {

namespace {

QString falhaDeLeitura(const Table& table) {
    return QStringLiteral("Erro (%1) ao ler %2: %3")
        .arg(table.error().number())
        .arg(QString::fromLatin1(table.def().fileName), table.error().text);
}

// The row of `key` whose components `chave` puts in the buffer, copied into `linha`; a missing row
// leaves `linha` as it is. False only when the table fails.
template <typename S>
bool lerLinha(Store& store, const char* tabela, std::string_view key,
              const std::function<void(Record&)>& chave, S& linha, QString& erro) {
    Table table(store, tabela);
    if (!table.open()) {
        erro = falhaDeLeitura(table);
        return false;
    }
    table.clear();
    chave(table.rec());
    const Status status = table.get(key);
    if (status == Status::Error) {
        erro = falhaDeLeitura(table);
        return false;
    }
    if (status == Status::Ok)
        lerRegistro(table.rec(), linha);
    return true;
}

// Every row of a small table.
template <typename S> bool lerTodas(Store& store, const char* tabela, std::vector<S>& linhas, QString& erro) {
    Table table(store, tabela);
    if (!table.open() || table.seekPhysical() == Status::Error) {
        erro = falhaDeLeitura(table);
        return false;
    }
    Status status;
    while ((status = table.next()) == Status::Ok) {
        S linha;
        lerRegistro(table.rec(), linha);
        linhas.push_back(linha);
    }
    if (status == Status::Error) {
        erro = falhaDeLeitura(table);
        return false;
    }
    return true;
}

} // namespace

bool carregarDados(Store& store, const Pedido& pedido, const std::vector<PedidoItem>& itens,
                   DadosPedido& dados, QString& erro) {
    const int empresa = pedido.ID_EMPRESA;
    const auto porEmpresa = [empresa](Record& r) { r.setInteger("ID_EMPRESA", empresa); };
    if (!lerLinha(
            store, "clientes", "KEYID", [&](Record& r) { r.setInteger("ID", pedido.CLIEN); }, dados.cliente,
            erro) ||
        !lerLinha(
            store, "municip", "KEYID", [&](Record& r) { r.setInteger("ID", dados.cliente.ID_MUNICIPIO); },
            dados.municipio, erro) ||
        !lerLinha(store, "qavcfg", "KEYID_EMPRESA", porEmpresa, dados.qavcfg, erro) ||
        !lerLinha(store, "empresa", "KEYID", porEmpresa, dados.empresa, erro))
        return false;

    // The order's representative is the workstation's (every order entered here takes it).
    if (!lerLinha(
            store, "vendedor", "KEYCODIGO",
            [&](Record& r) {
                r.setInteger("CODIGO", dados.qavcfg.COD_VENDEDOR);
                porEmpresa(r);
            },
            dados.vendedor, erro))
        return false;

    FormaPag formaPag;
    if (!lerLinha(
            store, "formapag", "KEYCODIGO",
            [&](Record& r) {
                r.setInteger("CODIGO", pedido.COD_FORMAPAG);
                porEmpresa(r);
            },
            formaPag, erro))
        return false;
    if (formaPag.ID_FORMAPAG != 0)
        dados.formaPag = formaPag;

    Pauta pauta;
    if (!lerLinha(
            store, "pauta", "KEYCODIGO",
            [&](Record& r) {
                r.setInteger("CODIGO", pedido.COD_PAUTA);
                porEmpresa(r);
            },
            pauta, erro))
        return false;
    if (pauta.ID != 0)
        dados.pauta = pauta;

    for (const PedidoItem& item : itens) {
        Produto produto;
        if (!lerLinha(
                store, "produto", "KEYID",
                [&](Record& r) {
                    r.setInteger("ID", item.PRODU);
                    porEmpresa(r);
                },
                produto, erro))
            return false;
        if (produto.ID != 0)
            dados.adicionarProduto(produto);
        if (!dados.pauta)
            continue;
        PautaProduto linha;
        if (!lerLinha(
                store, "pauxpro", "KEYPRODUTO",
                [&](Record& r) {
                    r.setInteger("ID_PROD", item.PRODU);
                    r.setInteger("ID_PAUTA", dados.pauta->ID);
                },
                linha, erro))
            return false;
        if (linha.ID_PAUTA != 0)
            dados.adicionarPautaProduto(linha);
    }
    return lerTodas(store, "sticms", dados.stIcms, erro) && lerTodas(store, "cfgsis", dados.cfgSis, erro) &&
           lerTodas(store, "cstfrete", dados.cstFrete, erro);
}

ResultadoRecalculo montarPedido(Pedido& pedido, std::vector<PedidoItem>& itens, const DadosPedido& dados) {
    for (PedidoItem& item : itens) {
        ResultadoItem resultado;
        definirPrecoInicial(item, pedido, dados, {}, resultado);
    }
    return recalcularPedido(pedido, itens, dados, {});
}

} // namespace qav::demo
