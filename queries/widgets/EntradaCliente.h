#pragma once
// The customer entry of the query windows: an id typed (or chosen from the customer list, which opens
// when the id is empty, zero or unknown) and the customer's name beside it. A choice cancelled in the
// list leaves everything as it was and the cursor back in the entry.

#include "customers/widgets/ContextoClientes.h"
#include "queries/core/ClienteConsulta.h"

#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qav {

class EntradaCliente : public QWidget {
    Q_OBJECT
public:
    EntradaCliente(const QString& rotulo, const ContextoClientes& contexto, Store& store,
                   QWidget* parent = nullptr);

    QLineEdit* entrada() const { return m_entrada; }
    // The customer chosen; nullopt while none is.
    const std::optional<consulta::Cliente>& cliente() const { return m_cliente; }
    std::int64_t id() const { return m_cliente ? m_cliente->id : 0; }

    // Whether an empty entry stands for "every customer" instead of opening the list (the report).
    void setVazioTodos(bool vazioTodos) { m_vazioTodos = vazioTodos; }

    // Puts customer `id` in the entry without asking (none when it is unknown).
    void definir(std::int64_t id);
    // The entry accepted: the customer typed, or the one chosen from the list.
    void aceitar();

Q_SIGNALS:
    void escolhido(qint64 id);
    // The cursor came into the entry while no customer is chosen.
    void semCliente();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mostrar();

    ContextoClientes m_contexto;
    Store& m_store;
    std::optional<consulta::Cliente> m_cliente;
    QLineEdit* m_entrada;
    QPushButton* m_lista;
    QLabel* m_nome;
    bool m_escolhendo = false;
    bool m_vazioTodos = false;
};

} // namespace qav
