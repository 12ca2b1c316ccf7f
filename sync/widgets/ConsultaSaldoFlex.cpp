#include "sync/widgets/ConsultaSaldoFlex.h"

#include "store/core/FormatoBr.h"
#include "store/core/Store.h"
#include "sync/core/SaldoFlex.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qav {

ConsultaSaldoFlex::ConsultaSaldoFlex(const QString& pasta, int idEmpresa, QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Consulta Saldo Flex"));
    auto* formulario = new QFormLayout;
    m_saldoEmpresa = campo(QStringLiteral("saldoEmpresa"));
    m_outrosDeb =
        campo(QStringLiteral("flexOutrosDeb"), QStringLiteral("Flex de Outros Pedidos Liberados (-)"));
    m_outrosCre = campo(QStringLiteral("flexOutrosCre"), QStringLiteral("Flex de Outros Pedidos (+)"));
    m_saldo = campo(QStringLiteral("saldoFlex"));
    formulario->addRow(QStringLiteral("Saldo Flex (Empresa):"), m_saldoEmpresa);
    formulario->addRow(QStringLiteral("Flex de Pedidos (QAV):"), m_outrosDeb);
    formulario->addRow(QStringLiteral("Flex de Pedidos (QAV):"), m_outrosCre);
    formulario->addRow(QStringLiteral("Saldo Flex  (QAV):"), m_saldo);

    auto* fechar = new QPushButton(QStringLiteral("&Fechar"));
    fechar->setObjectName(QStringLiteral("fechar"));
    // Inside the frame the window is an MDI child: closing the child closes the window.
    connect(fechar, &QPushButton::clicked, this,
            [this] { (parentWidget() ? parentWidget() : this)->close(); });
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(fechar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(formulario);
    layout->addLayout(botoes);

    Store store(pasta);
    const auto valores = sync::calcularSaldoFlex(store, idEmpresa);
    const sync::SaldoFlex v = valores.value_or(sync::SaldoFlex{});
    m_saldoEmpresa->setText(br::numero(v.saldoEmpresa, 2));
    m_outrosDeb->setText(br::numero(v.outrosDeb, 2));
    m_outrosCre->setText(br::numero(v.outrosCre, 2));
    m_saldo->setText(br::numero(v.saldo, 2));
}

QLineEdit* ConsultaSaldoFlex::campo(const QString& nome, const QString& dica) {
    auto* edicao = new QLineEdit;
    edicao->setObjectName(nome);
    edicao->setReadOnly(true);
    edicao->setAlignment(Qt::AlignRight);
    edicao->setToolTip(dica);
    return edicao;
}

} // namespace qav
