#include "queries/widgets/CabecalhoGrupos.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace qav {

CabecalhoGrupos::CabecalhoGrupos(std::vector<Grupo> grupos, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), m_grupos(std::move(grupos)) {
    setSectionsClickable(true);
    setHighlightSections(false);
}

const CabecalhoGrupos::Grupo* CabecalhoGrupos::grupo(int coluna) const {
    for (const Grupo& g : m_grupos)
        if (coluna >= g.primeira && coluna <= g.ultima)
            return &g;
    return nullptr;
}

QString CabecalhoGrupos::tituloDoGrupo(int coluna) const {
    const Grupo* g = grupo(coluna);
    return g ? g->titulo : QString();
}

QSize CabecalhoGrupos::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(2 * fontMetrics().height() + 12);
    return size;
}

QSize CabecalhoGrupos::sectionSizeFromContents(int logicalIndex) const {
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    size.setHeight(2 * fontMetrics().height() + 12);
    return size;
}

void CabecalhoGrupos::pintar(QPainter* painter, const QRect& rect, const QString& text, int section,
                             const QRect& clip, bool indicador) const {
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = section;
    option.text = text;
    option.state = isEnabled() ? QStyle::State_Enabled : QStyle::State_None;
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::Middle;
    if (indicador && isSortIndicatorShown() && sortIndicatorSection() == section)
        option.sortIndicator = sortIndicatorOrder() == Qt::AscendingOrder ? QStyleOptionHeader::SortDown
                                                                          : QStyleOptionHeader::SortUp;
    painter->save();
    painter->setClipRect(clip);
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    painter->restore();
}

void CabecalhoGrupos::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const QString own = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    const Grupo* g = grupo(logicalIndex);
    if (!g) {
        pintar(painter, rect, own, logicalIndex, rect, true);
        return;
    }
    // The shared caption spans the run: each column paints its own part of it.
    const int top = rect.height() / 2;
    const int left = sectionViewportPosition(g->primeira);
    const int right = sectionViewportPosition(g->ultima) + sectionSize(g->ultima);
    const QRect upper(rect.left(), rect.top(), rect.width(), top);
    pintar(painter, QRect(left, rect.top(), right - left, top), g->titulo, logicalIndex, upper, false);
    const QRect lower(rect.left(), rect.top() + top, rect.width(), rect.height() - top);
    pintar(painter, lower, own, logicalIndex, lower, true);
}

} // namespace qav
