#pragma once
// A customer created on this workstation (id 900001 or above) reaches the ERP inside the transaction
// of the first order that names it: found there by its document (or created), its partners added,
// and renumbered here to the server's id, in the customer and in every local record that names it.

#include "customers/core/RegrasCliente.h"
#include "store/core/Record.h"
#include "store/core/Table.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <optional>

namespace qav::sync {

// The first id the workstations give their own customers; the server's ids stay below it.
inline constexpr int kPrimeiroIdLocal = static_cast<int>(clientes::idLocalInicial) + 1;
// Person type of a customer abroad, whose document is a placeholder that many share.
inline constexpr int kPessoaExterior = clientes::PessoaExportacao;

// The local tables an order's local transaction covers, open and routed into that transaction.
struct TabelasEnvio {
    Table& pedidos;
    Table& peditens;
    Table& pedacess;
    Table& clientes;
    Table& socios;
};

// Where a server keeps its customers: how a customer of this workstation is found there, and how it
// is created there.
class ClientesServidor {
public:
    virtual ~ClientesServidor() = default;
    struct Busca {
        bool ok = true;        // false: refused (said why)
        std::optional<int> id; // the server's customer, when there is one
    };
    virtual Busca buscar(const ContextoComunicacao& contexto, const Record& cliente) const = 0;
    // The new customer's server id; nullopt when it could not be created (said why).
    virtual std::optional<int> criar(const ContextoComunicacao& contexto, TabelasEnvio& tabelas,
                                     const Record& cliente, int idLocal, int idEmpresa) const = 0;
};

// The server's customer with the same CPF/CNPJ and suffix in `tabela` (its id in `colunaId`), which
// the back office registered meanwhile. A customer without a document has nothing to be found by; a
// customer abroad (person type 3) has a placeholder document that other customers share, and is not
// looked for either. The lowest such id when there are several.
ClientesServidor::Busca buscarPorDocumento(const ContextoComunicacao& contexto, const Record& cliente,
                                           const QString& tabela, const QString& colunaId);

// "Erro (code)/cliente" with the server's text: the server refused the new customer.
void erroCliente(const ContextoComunicacao& contexto, const ErroSql& erro);

// The ERP's customers (zor.corrent).
const ClientesServidor& clientesZor();

// Sends customer `idLocal` inside the order's open server transaction and local transaction, and
// records (idLocal, server id) in the run's renumbering list. The server's id; nullopt when it
// failed (the reason has been shown; the caller rolls both sides back).
std::optional<int> enviarCliente(ContextoComunicacao& contexto, TabelasEnvio& tabelas, int idLocal,
                                 int idEmpresa, const ClientesServidor& destino = clientesZor());

} // namespace qav::sync
