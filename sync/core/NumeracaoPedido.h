#pragma once
// Order numbers on the server (the ERP or a manager database): the next free number of the company, taken
// under the lock of the company's settings row so that two workstations never take the same one, and the
// look-up of an order the server already holds under its number from this workstation.

#include "sync/core/ContextoComunicacao.h"

#include <optional>

namespace qav::sync {

// The server's order table, and what tells the workstations' orders in it from the other kinds the
// ERP keeps there.
struct PedidosServidor {
    const char* tabela;
    const char* filtro;
};
inline constexpr PedidosServidor kPedidosZor{"zor.pedidos", " AND tipo='P'"};
inline constexpr PedidosServidor kPedidosGerente{"gerente.pedidos", ""};

// Reserves the next free order number of the company: the last number handed out plus one, passing
// over the numbers the back office already used. The row lock lasts until the order's server
// transaction ends, so the number is the order's once it commits. nullopt when no number could be
// reserved (said why, except when the company has no settings row on the server).
std::optional<int> reservarNumeroPedido(ContextoComunicacao& contexto, int idEmpresa,
                                        const PedidosServidor& pedidos = kPedidosZor);

// The order's number as the back office sees where it came from: salesperson, installation and the
// workstation's own number ("000123.A.00000045").
QString numeroPedidoQav(long long codVendedor, const QString& pontoInstalacao, long long numer);

// What the server holds under an order's workstation number: its ERP number, 0 when it is not there;
// nullopt when the server refused the question (shown).
std::optional<int> numeroJaRecebido(ContextoComunicacao& contexto, int idEmpresa, const QString& numeroQav,
                                    const PedidosServidor& pedidos = kPedidosZor);

} // namespace qav::sync
