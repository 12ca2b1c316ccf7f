#include "orders/widgets/PainelRegras.h"

#include <QHeaderView>
#include <QTreeWidget>
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
    m_lista = new QTreeWidget(this);
    m_lista->setObjectName(QStringLiteral("listaRegras"));
    m_lista->setColumnCount(2);
    m_lista->setHeaderHidden(true);
    m_lista->setRootIsDecorated(false);
    m_lista->setWordWrap(true);
    m_lista->setSelectionMode(QAbstractItemView::NoSelection);
    m_lista->setFocusPolicy(Qt::NoFocus); // read only: Tab goes past it
    m_lista->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_lista->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lista);
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

void PainelRegras::mostrar(const std::vector<ResultadoRegra>& regras) {
    m_lista->clear();
    for (const ResultadoRegra& r : regras) {
        auto* item = new QTreeWidgetItem(m_lista);
        item->setText(0, marca(r.estado));
        item->setForeground(0, cor(r.estado));
        item->setTextAlignment(0, Qt::AlignHCenter | Qt::AlignTop);
        item->setText(1, nome(r.regra) + QLatin1Char('\n') + r.resumo);
        item->setToolTip(1, estado(r.estado));
        item->setData(0, Qt::UserRole, static_cast<int>(r.estado));
        item->setData(1, Qt::UserRole, static_cast<int>(r.regra));
        if (r.estado == ResultadoRegra::Estado::Recusa)
            item->setForeground(1, cor(r.estado));
    }
}

} // namespace qav
