#include "sync/widgets/ConsultaSaldoFlex.h"

#include "store/core/FormatoBr.h"
#include "store/core/Store.h"
#include "sync/core/SaldoFlex.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
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
    // Said in the window when a table cannot be read: zeros there would read as a balance of 0.
    auto* falha = new QLabel;
    falha->setObjectName(QStringLiteral("falha"));
    falha->setWordWrap(true);
    falha->setStyleSheet(QStringLiteral("color: #b00020;"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(falha);
    layout->addLayout(formulario);
    layout->addLayout(botoes);

    Store store(pasta);
    QString erro;
    const auto valores = sync::calcularSaldoFlex(store, idEmpresa, &erro);
    falha->setVisible(!valores);
    if (!valores) {
        falha->setText(QStringLiteral("Não foi possível calcular o saldo flex: ") + erro);
        return;
    }
    m_saldoEmpresa->setText(br::numero(valores->saldoEmpresa, 2));
    m_outrosDeb->setText(br::numero(valores->outrosDeb, 2));
    m_outrosCre->setText(br::numero(valores->outrosCre, 2));
    m_saldo->setText(br::numero(valores->saldo, 2));
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
