#include "orders/widgets/CabecalhoAgrupado.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace qav {

CabecalhoAgrupado::CabecalhoAgrupado(int primeira, int ultima, QString titulo, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), m_primeira(primeira), m_ultima(ultima),
      m_titulo(std::move(titulo)) {
    setSectionsClickable(false);
}

QSize CabecalhoAgrupado::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(2 * fontMetrics().height() + 12);
    return size;
}

QSize CabecalhoAgrupado::sectionSizeFromContents(int logicalIndex) const {
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    size.setHeight(2 * fontMetrics().height() + 12);
    return size;
}

void CabecalhoAgrupado::pintar(QPainter* painter, const QRect& rect, const QString& text, QStyle::State state,
                               int section, const QRect& clip) const {
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = section;
    option.text = text;
    option.state = state;
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::Middle;
    painter->save();
    painter->setClipRect(clip);
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    painter->restore();
}

void CabecalhoAgrupado::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const QStyle::State state = isEnabled() ? QStyle::State_Enabled : QStyle::State_None;
    const QString own = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    if (!agrupada(logicalIndex)) {
        pintar(painter, rect, own, state, logicalIndex, rect);
        return;
    }
    // The shared caption spans the run: each column paints its own part of it.
    const int top = rect.height() / 2;
    const int left = sectionViewportPosition(m_primeira);
    const int right = sectionViewportPosition(m_ultima) + sectionSize(m_ultima);
    const QRect upper(rect.left(), rect.top(), rect.width(), top);
    pintar(painter, QRect(left, rect.top(), right - left, top), m_titulo, state, logicalIndex, upper);
    const QRect lower(rect.left(), rect.top() + top, rect.width(), rect.height() - top);
    pintar(painter, lower, own, state, logicalIndex, lower);
}

} // namespace qav
