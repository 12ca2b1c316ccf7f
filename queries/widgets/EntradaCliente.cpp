#include "queries/widgets/EntradaCliente.h"

#include "customers/widgets/JanelaClientes.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace qav {

EntradaCliente::EntradaCliente(const QString& rotulo, const ContextoClientes& contexto, Store& store,
                               QWidget* parent)
    : QWidget(parent), m_contexto(contexto), m_store(store), m_entrada(new QLineEdit(this)),
      m_lista(new QPushButton(QStringLiteral("..."), this)), m_nome(new QLabel(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* legenda = new QLabel(rotulo, this);
    legenda->setBuddy(m_entrada);
    m_entrada->setObjectName(QStringLiteral("cliente"));
    // Digits only; an empty entry is accepted too (it opens the list, or stands for every customer).
    m_entrada->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), m_entrada));
    m_entrada->setMaximumWidth(m_entrada->fontMetrics().averageCharWidth() * 14);
    m_entrada->installEventFilter(this);
    m_lista->setObjectName(QStringLiteral("listaClientes"));
    m_lista->setToolTip(QStringLiteral("Selecionar o cliente na lista"));
    m_lista->setFixedWidth(m_lista->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    m_nome->setObjectName(QStringLiteral("nomeCliente"));
    m_nome->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(legenda);
    layout->addWidget(m_entrada);
    layout->addWidget(m_lista);
    layout->addWidget(m_nome, 1);
    connect(m_entrada, &QLineEdit::returnPressed, this, &EntradaCliente::aceitar);
    // Leaving the entry accepts it only when something other than the customer shown was typed, so
    // that passing through an empty entry does not open the list.
    connect(m_entrada, &QLineEdit::editingFinished, this, [this] {
        if (!m_escolhendo &&
            m_entrada->text().trimmed() != (m_cliente ? QString::number(m_cliente->id) : QString()))
            aceitar();
    });
    connect(m_lista, &QPushButton::clicked, this, [this] {
        m_entrada->clear();
        aceitar();
    });
}

void EntradaCliente::mostrar() {
    m_entrada->setText(m_cliente ? QString::number(m_cliente->id) : QString());
    m_nome->setText(m_cliente ? m_cliente->razao : QString());
}

void EntradaCliente::definir(std::int64_t id) {
    m_cliente = consulta::buscarCliente(m_store, id);
    mostrar();
}

void EntradaCliente::aceitar() {
    if (m_escolhendo)
        return;
    if (m_vazioTodos && m_entrada->text().trimmed().isEmpty()) {
        m_cliente.reset();
        mostrar();
        Q_EMIT escolhido(0);
        return;
    }
    const std::int64_t digitado = m_entrada->text().trimmed().toLongLong();
    std::optional<consulta::Cliente> achado = consulta::buscarCliente(m_store, digitado);
    if (!achado) {
        m_escolhendo = true;
        const std::optional<std::int64_t> escolha = selecionarCliente(m_contexto, window(), digitado);
        m_escolhendo = false;
        if (escolha)
            achado = consulta::buscarCliente(m_store, *escolha);
        if (!achado) {
            mostrar();
            m_entrada->setFocus();
            m_entrada->selectAll();
            return;
        }
    }
    m_cliente = std::move(achado);
    mostrar();
    Q_EMIT escolhido(m_cliente->id);
}

bool EntradaCliente::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_entrada && event->type() == QEvent::FocusIn && !m_cliente)
        Q_EMIT semCliente();
    return QWidget::eventFilter(watched, event);
}

} // namespace qav
