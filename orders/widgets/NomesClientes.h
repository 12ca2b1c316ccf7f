#pragma once
// The customer name (CLI:RAZAO) of the orders a list shows, read once per customer and kept while
// the list's page stays; a customer that is missing shows blank.

#include "store/core/Table.h"

#include <QHash>
#include <QString>

namespace qav {

class NomesClientes {
public:
    explicit NomesClientes(Store& store) : m_clientes(store, "clientes") {}

    QString razao(int idCliente);
    // Forget the names read (the list reloads: a name may have changed).
    void esquecer() { m_razoes.clear(); }

private:
    Table m_clientes;
    QHash<int, QString> m_razoes;
};

} // namespace qav
