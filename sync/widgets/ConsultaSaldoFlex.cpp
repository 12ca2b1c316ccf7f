#include "sync/widgets/ConsultaSaldoFlex.h"

#include "store/core/FormatoBr.h"
#include "store/core/Store.h"
#include "sync/core/execucao/SaldoFlex.h"

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
    // Each figure under a label of its own: the open orders' flex is counted apart by sign, and the
    // balance a new order may use (the same figure the order form shows) differs from the balance
    // once every open order is transmitted.
    m_saldoEmpresa = campo(QStringLiteral("saldoEmpresa"),
                           QStringLiteral("Saldo informado pelo servidor na última comunicação"));
    m_outrosDeb = campo(QStringLiteral("flexOutrosDeb"),
                        QStringLiteral("Flex de Outros Pedidos Liberados (-): pedidos pendentes e liberados "
                                       "ainda não transmitidos"));
    m_outrosCre = campo(QStringLiteral("flexOutrosCre"),
                        QStringLiteral("Flex de Outros Pedidos (+): pedidos pendentes e liberados ainda não "
                                       "transmitidos"));
    m_disponivel =
        campo(QStringLiteral("saldoDisponivel"),
              QStringLiteral("Saldo da empresa menos o flex negativo dos pedidos abertos: o que um "
                             "novo pedido pode usar (o flex positivo só conta depois de transmitido)"));
    m_saldo = campo(QStringLiteral("saldoFlex"),
                    QStringLiteral("Saldo da empresa somado ao flex de todos os pedidos abertos: o saldo "
                                   "depois que todos forem transmitidos"));
    formulario->addRow(QStringLiteral("Saldo Flex (Empresa):"), m_saldoEmpresa);
    formulario->addRow(QStringLiteral("Flex de Pedidos (QAV) (-):"), m_outrosDeb);
    formulario->addRow(QStringLiteral("Flex de Pedidos (QAV) (+):"), m_outrosCre);
    formulario->addRow(QStringLiteral("Saldo Disponível Flex:"), m_disponivel);
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
    const ResultadoDe<sync::SaldoFlex> calculado = sync::calcularSaldoFlex(store, idEmpresa);
    falha->setVisible(!calculado.ok());
    if (!calculado.ok()) {
        falha->setText(QStringLiteral("Não foi possível calcular o saldo flex: ") + calculado.erro);
        return;
    }
    const std::optional<sync::SaldoFlex>& valores = calculado.valor;
    m_saldoEmpresa->setText(br::numero(valores->saldoEmpresa, 2));
    m_outrosDeb->setText(br::numero(valores->outrosDeb, 2));
    m_outrosCre->setText(br::numero(valores->outrosCre, 2));
    m_disponivel->setText(br::numero(valores->saldoEmpresa + valores->outrosDeb, 2));
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
