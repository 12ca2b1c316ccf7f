#include "tools/qavdemo/PedidoDemo.h"

#include "orders/core/DadosDoArquivo.h"
#include "orders/core/LeituraRegistro.h"
#include "orders/core/PrecoItem.h"

namespace qav::demo {

bool carregarDados(Store& store, const Pedido& pedido, const std::vector<PedidoItem>& itens,
                   DadosPedido& dados, QString& erro) {
    const auto falhaDeLeitura = [&erro](const FalhaLeitura& falha) {
        erro = QStringLiteral("Erro (%1) ao ler %2: %3")
                   .arg(falha.erro.number())
                   .arg(falha.arquivo, falha.erro.text);
        return false;
    };
    // The order's representative is the workstation's (every order entered here takes it).
    Table configuracoes(store, "qavcfg");
    QavCfg cfg;
    if (!configuracoes.open() || leitura::linha(configuracoes, "KEYID_EMPRESA",
                                                {{"ID_EMPRESA", pedido.ID_EMPRESA}}, cfg) == Status::Error)
        return falhaDeLeitura({QString::fromLatin1(configuracoes.def().fileName), configuracoes.error()});

    std::vector<int> produtos;
    produtos.reserve(itens.size());
    for (const PedidoItem& item : itens)
        produtos.push_back(item.PRODU);
    const FalhaLeitura falha = carregarDadosDoArquivo(store, pedido, cfg.COD_VENDEDOR, produtos, dados);
    if (!falha.ok())
        return falhaDeLeitura(falha);
    return true;
}

ResultadoRecalculo montarPedido(Pedido& pedido, std::vector<PedidoItem>& itens, const DadosPedido& dados) {
    for (PedidoItem& item : itens) {
        ResultadoItem resultado;
        definirPrecoInicial(item, pedido, dados, {}, resultado);
    }
    return recalcularPedido(pedido, itens, dados, {});
}

} // namespace qav::demo
