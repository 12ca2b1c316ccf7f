#pragma once
// The printed history order: the company and the customer (blank when their records are missing),
// the order's numbers, situation, sale type and dates, every item with its product, and the total
// value and weight.

#include "queries/core/ClienteConsulta.h"
#include "queries/core/HistoricoPedidos.h"

#include <optional>

class QPagedPaintDevice;

namespace qav::consulta {

struct PedidoHistoricoImpresso {
    Empresa empresa;
    Cliente cliente;
    historico::Pedido pedido;
    std::vector<historico::Item> itens;
    Decimal pesoTotal;
};

// The history order `idPedcon` with its items; nullopt with `falha` when it cannot be read.
std::optional<PedidoHistoricoImpresso> lerPedidoHistorico(Store& store, int idEmpresa, int idPedcon,
                                                          QString* falha = nullptr);

// Draws the order; the number of pages, 0 when the device cannot be painted on. The company's logo
// is tmp\logo2.wmf of the program folder (or a file of the same name in a format Qt reads).
int desenharPedidoHistorico(QPagedPaintDevice& destino, const PedidoHistoricoImpresso& pedido,
                            bool manterPapel = false, const QString& pastaPrograma = {});

} // namespace qav::consulta
