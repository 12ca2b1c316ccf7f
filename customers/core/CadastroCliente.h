#pragma once
// The storage side of the customer form: reserving a new customer, reading one for a change, saving
// it with its partners in one transaction, giving a reservation back, deleting a customer with its
// partners. The form keeps its own copy of the record (`registro()`), so a save that fails leaves
// nothing half written and the form can try again.

#include "customers/core/RegrasCliente.h"
#include "customers/core/ReservaRegistro.h"
#include "customers/core/SociosCliente.h"
#include "store/core/Record.h"
#include "store/core/Store.h"
#include "store/core/Table.h"

#include <cstdint>
#include <optional>

namespace qav {

class CadastroCliente {
public:
    explicit CadastroCliente(Store& store);
    ~CadastroCliente();
    CadastroCliente(const CadastroCliente&) = delete;
    CadastroCliente& operator=(const CadastroCliente&) = delete;

    bool abrir();
    const StoreError& erro() const { return m_erro; }

    Record& registro() { return m_registro; }
    const Record& registro() const { return m_registro; }
    const Record& original() const { return m_original; }
    bool algoMudou() const { return !(m_registro == m_original) || m_socios.mudou(); }
    SociosCliente& socios() { return m_socios; }
    const SociosCliente& socios() const { return m_socios; }
    Table& tabelaSocios() { return m_tabelaSocios; }
    bool reservado() const { return m_reservado; }

    // A new customer: the defaults, then the next local id reserved by adding the record at once,
    // held for this form and read again. When it cannot be held the reservation is given back and the
    // result says so (bloqueioFalhou, with the text to show).
    ReservaId reservarNovo(const clientes::PadroesNovoCliente& padroes);
    // The customer `id` with its partners, for a change or a view.
    Status ler(std::int64_t id);

    struct Resultado {
        bool ok = false;
        StoreError erro;
        QString campoDuplicado;  // "Id" or "CNPJ/CPF + Sufixo" when a key would repeat
        bool comPedidos = false; // delete refused: the customer has orders
    };
    // Writes the customer and its partners together. A change that altered nothing writes nothing.
    Resultado gravar();
    // Cancelling an insert: the reserved record and the partners' reservations go.
    void desistir();
    // Deletes the customer read by ler() with its partners; refused while orders name it.
    Resultado excluir();

    // Another customer with this document and suffix (the key CLI:KEYCGC), if any.
    std::optional<std::int64_t> outroComDocumento(const QString& cgcpf, const QString& sufixo,
                                                  std::int64_t idProprio);

private:
    Store& m_store;
    Table m_clientes;
    Table m_tabelaSocios;
    Table m_pedidos;
    SociosCliente m_socios;
    Record m_registro;
    Record m_original;
    bool m_reservado = false;
    bool m_aberto = false;
    StoreError m_erro;
};

} // namespace qav
