#include "orders/widgets/PainelRegras.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace qav {

namespace {

QColor cor(ResultadoRegra::Estado estado) {
    switch (estado) {
    case ResultadoRegra::Estado::Passa:
        return QColor(0x1b, 0x7a, 0x2e);
    case ResultadoRegra::Estado::Aviso:
        return QColor(0xb3, 0x6b, 0x00);
    case ResultadoRegra::Estado::Recusa:
        return QColor(0xb0, 0x00, 0x20);
    case ResultadoRegra::Estado::NaoSeAplica:
        break;
    }
    return QColor(0x60, 0x60, 0x60);
}

QString marca(ResultadoRegra::Estado estado) {
    switch (estado) {
    case ResultadoRegra::Estado::Passa:
        return QStringLiteral("\u2714");
    case ResultadoRegra::Estado::Aviso:
        return QStringLiteral("!");
    case ResultadoRegra::Estado::Recusa:
        return QStringLiteral("\u2716");
    case ResultadoRegra::Estado::NaoSeAplica:
        break;
    }
    return QStringLiteral("\u2013");
}

} // namespace

PainelRegras::PainelRegras(QWidget* parent) : QGroupBox(QStringLiteral("Regras"), parent) {
    setObjectName(QStringLiteral("painelRegras"));
    auto* conteudo = new QWidget;
    m_regras = new QVBoxLayout(conteudo);
    m_regras->addStretch();
    auto* rolagem = new QScrollArea;
    rolagem->setWidget(conteudo);
    rolagem->setWidgetResizable(true);
    rolagem->setFrameShape(QFrame::NoFrame);
    rolagem->setFocusPolicy(Qt::NoFocus); // read only: Tab goes past it
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rolagem);
}

QString PainelRegras::nome(Regra regra) {
    switch (regra) {
    case Regra::CodigoLiberacao:
        return QStringLiteral("Código de liberação");
    case Regra::ValorMinimo:
        return QStringLiteral("Valor mínimo");
    case Regra::Descontos:
        return QStringLiteral("Descontos");
    case Regra::Comissao:
        return QStringLiteral("Comissão");
    case Regra::Flex:
        return QStringLiteral("Flex");
    case Regra::LimiteCredito:
        return QStringLiteral("Limite de crédito");
    case Regra::TitulosAtraso:
        return QStringLiteral("Títulos em atraso");
    }
    return {};
}

QString PainelRegras::estado(ResultadoRegra::Estado estado) {
    switch (estado) {
    case ResultadoRegra::Estado::Passa:
        return QStringLiteral("Passa");
    case ResultadoRegra::Estado::Aviso:
        return QStringLiteral("Aviso");
    case ResultadoRegra::Estado::Recusa:
        return QStringLiteral("Recusa");
    case ResultadoRegra::Estado::NaoSeAplica:
        break;
    }
    return QStringLiteral("Não se aplica");
}

void PainelRegras::mostrar(const std::vector<ResultadoRegra>& regras, const Mensagens& avisos) {
    while (m_avisos.size() < avisos.size()) {
        auto* rotulo = new QLabel;
        rotulo->setObjectName(QStringLiteral("aviso%1").arg(m_avisos.size()));
        rotulo->setWordWrap(true);
        rotulo->setTextFormat(Qt::RichText);
        // After the rules, before the stretch that keeps them at the top.
        m_regras->insertWidget(m_regras->count() - 1, rotulo);
        m_avisos.push_back(rotulo);
    }
    const QString corAviso = cor(ResultadoRegra::Estado::Aviso).name();
    for (size_t i = 0; i < m_avisos.size(); ++i) {
        QLabel* rotulo = m_avisos[i];
        rotulo->setVisible(i < avisos.size());
        if (i >= avisos.size())
            continue;
        const QString texto = avisos[i].texto.split(QLatin1Char('|')).join(QLatin1Char(' '));
        rotulo->setText(QStringLiteral("<span style=\"color:%1\">!</span> <b>%2</b><br>%3")
                            .arg(corAviso, avisos[i].titulo.toHtmlEscaped(), texto.toHtmlEscaped()));
        rotulo->setToolTip(estado(ResultadoRegra::Estado::Aviso));
        rotulo->setProperty("linha", QStringLiteral("! ") + avisos[i].titulo + QStringLiteral(": ") + texto);
    }
    mostrarRegras(regras);
}

void PainelRegras::mostrarRegras(const std::vector<ResultadoRegra>& regras) {
    while (m_rotulos.size() < regras.size()) {
        auto* rotulo = new QLabel;
        rotulo->setObjectName(QStringLiteral("regra%1").arg(m_rotulos.size()));
        rotulo->setWordWrap(true);
        rotulo->setTextFormat(Qt::RichText);
        m_regras->insertWidget(static_cast<int>(m_rotulos.size()), rotulo); // rules come first
        m_rotulos.push_back(rotulo);
    }
    for (size_t i = 0; i < m_rotulos.size(); ++i) {
        QLabel* rotulo = m_rotulos[i];
        rotulo->setVisible(i < regras.size());
        if (i >= regras.size())
            continue;
        const ResultadoRegra& r = regras[i];
        const QString corTexto = cor(r.estado).name();
        const QString resumo =
            r.estado == ResultadoRegra::Estado::Recusa
                ? QStringLiteral("<span style=\"color:%1\">%2</span>").arg(corTexto, r.resumo.toHtmlEscaped())
                : r.resumo.toHtmlEscaped();
        rotulo->setText(QStringLiteral("<span style=\"color:%1\">%2</span> <b>%3</b><br>%4")
                            .arg(corTexto, marca(r.estado), nome(r.regra).toHtmlEscaped(), resumo));
        rotulo->setToolTip(estado(r.estado));
        rotulo->setProperty("estado", static_cast<int>(r.estado));
        rotulo->setProperty("linha", marca(r.estado) + QLatin1Char(' ') + nome(r.regra) +
                                         QStringLiteral(": ") + r.resumo);
    }
}

QStringList PainelRegras::linhas() const {
    QStringList l;
    for (const QLabel* rotulo : m_rotulos)
        if (!rotulo->isHidden())
            l << rotulo->property("linha").toString();
    for (const QLabel* rotulo : m_avisos)
        if (!rotulo->isHidden())
            l << rotulo->property("linha").toString();
    return l;
}

} // namespace qav
