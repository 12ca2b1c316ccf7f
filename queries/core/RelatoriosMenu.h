#pragma once
// The reports of the "Relatórios" menu, as sources of lines for the printout and the CSV file:
// customers, orders of a period, the representative's commission, the order history downloaded from
// the office and the customers who stopped buying. Each walks its tables in the order it prints, a
// page of records at a time.

#include "queries/core/Relatorio.h"
#include "store/core/Store.h"

#include <cstdint>
#include <memory>

namespace qav::relatorio {

// "&Clientes": the company's customers with their document, telephone, e-mail, credit limit, payment
// form and last purchase in the history; a count and the sum of the limits at the end.
enum class OrdemClientes { Nome, Codigo, Municipio, Estado };
enum class SituacaoClientes { Ativos, Inativos, Todos };
struct FiltroClientes {
    OrdemClientes ordem = OrdemClientes::Nome;
    SituacaoClientes situacao = SituacaoClientes::Ativos;
    std::int64_t municipio = 0; // 0: every municipality
};
std::unique_ptr<Fonte> relatorioClientes(Store& store, int idEmpresa, const FiltroClientes& filtro);

// "&Pedidos": the orders of a period (by date, customer and situation of the order list) with their
// values and weight; subtotals per day or per customer and the grand totals.
enum class SubtotalPedidos { Dia, Cliente };
struct FiltroPedidos {
    Date inicio; // no date: no limit on that side
    Date fim;
    std::int64_t cliente = 0; // 0: every customer
    int situacao = 5;         // situacao::Pendente .. Cancelado, or situacao::Todas
    SubtotalPedidos subtotal = SubtotalPedidos::Dia;
};
std::unique_ptr<Fonte> relatorioPedidos(Store& store, int idEmpresa, const FiltroPedidos& filtro);

// "Co&missão": per order of the period (cancelled ones earn nothing) and item, the rate and the
// commission the order's calculation gives; totals per order, per customer and overall.
struct FiltroComissao {
    Date inicio;
    Date fim;
    std::int64_t cliente = 0;
};
std::unique_ptr<Fonte> relatorioComissao(Store& store, int idEmpresa, const FiltroComissao& filtro);

// "Pedidos Con&sulta": the orders of the history sent by the office (orders, deliveries, invoices) of a
// period and situation, with their items when asked.
struct FiltroPedidosConsulta {
    Date inicio;
    Date fim;
    int situacao = 0; // 1 "Pendente" .. 4 "Cancelado"; 0 every one
    bool itens = false;
};
std::unique_ptr<Fonte> relatorioPedidosConsulta(Store& store, int idEmpresa,
                                                const FiltroPedidosConsulta& filtro);

// "C&lientes Inativos": the active customers with no order, local or in the history (cancelled ones
// do not count), for `dias` days or more, the longest first, with their last order's date and value;
// those who never ordered come last.
struct FiltroInativos {
    int dias = 90;
    Date hoje;
};
std::unique_ptr<Fonte> relatorioClientesInativos(Store& store, int idEmpresa, const FiltroInativos& filtro);

// What is wrong with the number of days asked for the inactive customers; empty when it can be used.
QString conferirDias(int dias);

} // namespace qav::relatorio
