#pragma once
// A list header with a caption over a run of neighbouring columns ("Número Pedido" over "QAV" and
// "ERP"): those columns show their own captions on a second line under the shared one; the other
// columns take both lines.

#include <QHeaderView>

namespace qav {

class CabecalhoAgrupado : public QHeaderView {
    Q_OBJECT
public:
    CabecalhoAgrupado(int primeira, int ultima, QString titulo, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    bool agrupada(int logicalIndex) const { return logicalIndex >= m_primeira && logicalIndex <= m_ultima; }
    void pintar(QPainter* painter, const QRect& rect, const QString& text, QStyle::State state, int section,
                const QRect& clip) const;

    int m_primeira;
    int m_ultima;
    QString m_titulo;
};

} // namespace qav
