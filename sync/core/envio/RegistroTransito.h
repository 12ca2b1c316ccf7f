#pragma once
// What this data folder has in transit with a server, kept in qavtrans.tps: an order on its way to the
// ERP or the office (its server number, server id and workstation number, and the customer created
// for it), or an office order on its way into the local order list (the office's id and the local id
// and number it is taken under). The record is committed on its own before the server's commit, so
// that a run cut off between the two commits leaves behind exactly what the next run must check; it
// goes once the local side has committed. Nothing else is ever taken for an order in transit.

#include "store/core/Store.h"
#include "store/core/Table.h"

#include <QString>
#include <optional>
#include <vector>

namespace qav::sync {

enum class TipoTransito : int {
    Envio = 1,      // a local order sent to the server
    Importacao = 2, // an office order imported by the hub
};

struct RegistroTransito {
    long long id = 0; // the record's own id, given when it is written
    TipoTransito tipo = TipoTransito::Envio;
    long long idEmpresa = 0;
    long long idPedido = 0;          // the local order
    long long numer = 0;             // its local number
    long long numErp = 0;            // Envio: the number the server gave it
    long long idPedidoServidor = 0;  // Envio: the server's id of the new order; Importacao: the office's
    QString numPedQav;               // Envio: as sent; Importacao: the office's mark before the import
    QString numClientVend;           // Importacao: the office's num_client_vend before the import
    long long idCliente = 0;         // Envio: the local id of the customer created with the order
    long long idClienteServidor = 0; // Envio: the server's id of that customer
};

// The records of one data folder. The table is written on its own connection, outside any order's
// transaction, so that a record is committed when gravar() returns.
class RegistrosTransito {
public:
    explicit RegistrosTransito(Store& store) : m_tabela(store, "qavtrans") {}

    bool abrir() { return m_tabela.open(); }
    Table& tabela() { return m_tabela; }
    const StoreError& erro() const { return m_tabela.error(); }

    // Writes `registro` under the next id (set in it); true once it is committed.
    bool gravar(RegistroTransito& registro);
    // Writes them under the next ids (set in each), in one local commit: true once all are committed,
    // false with none of them written.
    bool gravarTodos(std::vector<RegistroTransito>& registros);
    // Deletes the record of that id; true also when it is no longer there.
    bool apagar(long long id);
    // Deletes the records of those ids together, in one local commit; true also for ids no longer
    // there.
    bool apagarTodos(const std::vector<long long>& ids);
    // Deletes it through `tabela`, a cursor routed into a transaction of the caller: it goes when that
    // transaction commits.
    static bool apagarEm(Table& tabela, long long id);
    // Every record of that kind and company, in the order they were written; nullopt when the table
    // could not be read.
    std::optional<std::vector<RegistroTransito>> registros(TipoTransito tipo, long long idEmpresa);

private:
    Table m_tabela;
};

} // namespace qav::sync
