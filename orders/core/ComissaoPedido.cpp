#include "orders/core/ComissaoPedido.h"

#include "orders/core/AnaliseLucro.h"
#include "orders/core/Aritmetica.h"
#include "orders/core/CamposPedido.h"
#include "orders/core/LinhasDoPedido.h"
#include "orders/core/Recalculo.h"
#include "store/core/Table.h"

namespace qav {

Decimal comissaoUnitaria(const PedidoItem& item, const Empresa& empresa) {
    const Decimal preco =
        Decimal::divOrZero(item.VL_LIQUIDO, item.QTD).rounded(LinhaAnalise::Escala::PRECO_UNIT);
    Decimal comissao = percentual(preco, item.COMIS);
    if (empresa.ADIC_COMISSAO != 0)
        comissao += comissao / Decimal(12);
    return comissao;
}

Decimal comissaoDoItem(const PedidoItem& item, const Empresa& empresa) {
    return comissaoUnitaria(item, empresa) * item.QTD;
}

FalhaLeitura calcularComissao(Store& store, Table& itens, const Pedido& pedido, int codVendedor,
                              ComissaoPedido& resultado) {
    resultado = ComissaoPedido{};
    resultado.pedido = pedido;
    std::vector<Record> linhas;
    if (linhas::itensDoPedido(itens, pedido.ID, linhas) == Status::Error)
        return FalhaLeitura{QString::fromLatin1(itens.def().fileName), itens.error()};
    std::vector<PedidoItem> lidos(linhas.size());
    std::vector<int> produtos;
    for (std::size_t k = 0; k < linhas.size(); ++k) {
        lerRegistro(linhas[k], lidos[k]);
        produtos.push_back(lidos[k].PRODU);
    }
    DadosPedido dados;
    const FalhaLeitura falha = carregarDadosDoArquivo(store, pedido, codVendedor, produtos, dados);
    if (!falha.ok())
        return falha;
    ordenarItens(lidos);
    // The other orders only weigh on the flex balance, never on a commission. An order whose values
    // no longer fit its fields is shown as it was stored (the order form refuses the change the same way).
    std::vector<PedidoItem> calculados = lidos;
    try {
        recalcularPedido(resultado.pedido, calculados, dados, {});
        lidos = std::move(calculados);
    } catch (const DecimalOverflow&) {
        resultado.pedido = pedido;
    }
    for (const PedidoItem& item : lidos) {
        const Produto& produto = dados.produto(item.PRODU);
        ComissaoItem c{item, produto.CODIGO, produto.NOME, comissaoDoItem(item, dados.empresa)};
        resultado.base += item.VL_LIQUIDO.rounded(2);
        resultado.comissao += c.comissao;
        resultado.itens.push_back(std::move(c));
    }
    return {};
}

} // namespace qav
