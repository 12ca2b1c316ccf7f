#pragma once
// The partners of one company customer as the customer form edits them. They are read from
// socios.tps, changed in memory by the partner form, and written together with the customer in the
// customer's transaction, so that a customer is never saved with half of its partners; cancelling
// the customer form leaves the file as it was (the ids reserved for new partners are given back).

#include "customers/core/ReservaRegistro.h"
#include "store/core/Record.h"
#include "store/core/Table.h"

#include <cstdint>
#include <vector>

namespace qav {

class SociosCliente {
public:
    explicit SociosCliente(Table& socios) : m_socios(socios) {}

    Status carregar(std::int64_t idCliente);
    // The partners shown in the list, in id order.
    const std::vector<Record>& lista() const { return m_lista; }
    int quantidade() const { return static_cast<int>(m_lista.size()); }
    const Record* socio(std::int64_t idSocio) const;
    bool mudou() const { return m_mudou; }

    // A new partner: its id is reserved at once by adding an empty record under the next id (held
    // for this form). The buffer of the table holds it afterwards.
    ReservaId reservarNovo();
    // The record of the last reservation, as the partner form starts from it.
    const Record& reservado() const { return m_reservado; }
    // The partner form confirmed a new partner, or a change.
    void incluir(const Record& socio);
    void alterar(const Record& socio);
    // The partner form was cancelled on a new partner: its reserved record goes.
    void desistirNovo(std::int64_t idSocio);
    void excluir(std::int64_t idSocio);

    // Writes every change for the customer `idCliente`; run inside the customer's transaction. The
    // partners in memory keep their state until gravado() is called after the commit.
    Status gravar(std::int64_t idCliente);
    Status gravado(std::int64_t idCliente) { return carregar(idCliente); }
    // The form is cancelled: reserved records are deleted, nothing else is written.
    void descartar();

private:
    Table& m_socios;
    Record m_reservado{m_socios.def()};
    std::vector<Record> m_lista;
    std::vector<std::int64_t> m_novos;     // reserved ids, in the file as empty records
    std::vector<std::int64_t> m_alterados; // ids read from the file and changed
    std::vector<Record> m_excluidos;       // records read from the file and deleted
    bool m_mudou = false;
};

} // namespace qav
