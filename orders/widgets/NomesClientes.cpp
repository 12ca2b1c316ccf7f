#include "orders/widgets/NomesClientes.h"

namespace qav {

QString NomesClientes::razao(int idCliente) {
    if (const auto found = m_razoes.constFind(idCliente); found != m_razoes.constEnd())
        return *found;
    QString nome;
    if (idCliente != 0 && (m_clientes.isOpen() || m_clientes.open())) {
        m_clientes.clear();
        m_clientes.rec().setInteger("ID", idCliente);
        if (m_clientes.get("KEYID") == Status::Ok)
            nome = m_clientes.rec().text("RAZAO").trimmed();
    }
    m_razoes.insert(idCliente, nome);
    return nome;
}

} // namespace qav
