#pragma once
// The representative's commission on an order: the order recalculated by the order rules against the
// folder's reference rows (nothing written), and for each item its rate after the discount share and
// the commission it earns, as the order form's profit analysis counts it.

#include "orders/core/DadosDoArquivo.h"
#include "orders/core/Entidades.h"
#include "store/core/Table.h"

#include <vector>

namespace qav {

// Commission of one unit of the item: the net unit price (to the cent) × the item's rate, plus a
// twelfth of itself when the company pays the thirteenth share on commissions (EMP:ADIC_COMISSAO).
Decimal comissaoUnitaria(const PedidoItem& item, const Empresa& empresa);
// The item's commission: the unit's × the quantity (exact; round it where it is shown).
Decimal comissaoDoItem(const PedidoItem& item, const Empresa& empresa);

struct ComissaoItem {
    PedidoItem item; // as recalculated: VL_LIQUIDO and COMIS
    QString codigo;  // PRO:CODIGO
    QString nome;    // PRO:NOME
    Decimal comissao;
};

struct ComissaoPedido {
    Pedido pedido; // as recalculated
    std::vector<ComissaoItem> itens;
    Decimal base;     // sum of the items' net values, each to the cent as the order document shows it
    Decimal comissao; // sum of the items' commissions
};

// Reads the items of `pedido` (read by the caller from pedidos.tps) through `itens` (peditens.tps,
// open), recalculates the order as the order form does and gives each item's commission. A table that
// cannot be read is reported.
FalhaLeitura calcularComissao(Store& store, Table& itens, const Pedido& pedido, int codVendedor,
                              ComissaoPedido& resultado);

} // namespace qav
