#pragma once
// Order numbers on the server (the ERP or a manager database): the next free number of the company, taken
// under the lock of the company's settings row so that two workstations never take the same one, and the
// look-up of an order this workstation was sending when a run was cut off.

#include "sync/core/execucao/ContextoComunicacao.h"

#include <optional>
#include <vector>

namespace qav::sync {

// The server's order table, and what tells the workstations' orders in it from the other kinds the
// ERP keeps there.
struct PedidosServidor {
    const char* tabela;
    const char* filtro;
    const char* sequencia; // of the table's ids
};
inline constexpr PedidosServidor kPedidosZor{"zor.pedidos", " AND tipo='P'", "zor.pedidos_id_pedido_seq"};
inline constexpr PedidosServidor kPedidosGerente{"gerente.pedidos", "", "gerente.pedidos_id_pedido_seq"};

// The next free order number of the company is the last number handed out plus one, passing over
// the numbers the back office already used, under the lock of the company's settings row, which lasts
// until the order's server transaction ends, so the number is the order's once it commits. The upload
// takes it in steps, each sent beside other statements of the order:
// the question that locks the row and reads the last number handed out;
QString perguntaUltimoNumero(int idEmpresa);
// that number from its answer (nullopt when there is no row, said nothing, or it is not set, said why);
std::optional<long long> ultimoNumero(const ContextoComunicacao& contexto,
                                      const std::vector<Linha>& resposta);
// the question of the numbers already taken from `candidato` on;
QString perguntaOcupados(const PedidosServidor& pedidos, int idEmpresa, long long candidato);
// the candidate moved past the taken ones of its answer; true when the answer was a full batch and
// the numbers after it must be read too;
bool passarOcupados(long long& candidato, const std::vector<Linha>& ocupados);
// and the statement that hands the number out.
QString atualizacaoNumero(int idEmpresa, long long numero);

// The order's number as the back office sees where it came from: salesperson, installation and the
// workstation's own number ("000123.A.00000045").
QString numeroPedidoQav(long long codVendedor, const QString& pontoInstalacao, long long numer);

// Takes `quantidade` ids of the server's order table for orders still to be sent, in one round trip
// and outside any transaction: the table's sequence never hands them to anyone else, whether the
// orders go or not. nullopt when the server refused (shown).
std::optional<std::vector<long long>> reservarIdsPedidos(ContextoComunicacao& contexto,
                                                         const PedidosServidor& pedidos, int quantidade);

// Whether the server holds the order that this workstation recorded as sending: the order of that
// server id (which this workstation took for it, so that no other order can have it), of the company
// and salesperson, under the workstation number it was sent with, and of that number when the record
// knows it. Asked only for an order that carries such a record, never by the workstation number alone
// (a new data folder or a second notebook numbers its orders from 1 again). False when the server
// refused the question (shown); otherwise `achado` holds the order's number and customer, or nothing.
struct PedidoEnviado {
    int idEmpresa = 0;
    long long codVendedor = 0;
    long long numero = 0; // 0: not known
    long long idPedido = 0;
    QString numeroQav;
};
struct PedidoAchado {
    long long numero = 0;
    long long cliente = 0;
};
bool pedidoNoServidor(ContextoComunicacao& contexto, const PedidoEnviado& pedido,
                      const PedidosServidor& pedidos, std::optional<PedidoAchado>& achado);

} // namespace qav::sync
