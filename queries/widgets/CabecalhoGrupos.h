#pragma once
// A list header with captions over runs of neighbouring columns ("Número" over "Pedido", "Entrega",
// "Nota Fiscal" and "QAV"): the columns of a run show their own captions on a second line under the
// shared one; the other columns take both lines. Sections stay clickable, for sorting.

#include <QHeaderView>
#include <vector>

namespace qav {

class CabecalhoGrupos : public QHeaderView {
    Q_OBJECT
public:
    struct Grupo {
        int primeira;
        int ultima;
        QString titulo;
    };

    explicit CabecalhoGrupos(std::vector<Grupo> grupos, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // The shared caption over `coluna`, empty when it belongs to no run.
    QString tituloDoGrupo(int coluna) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    const Grupo* grupo(int coluna) const;
    void pintar(QPainter* painter, const QRect& rect, const QString& text, int section, const QRect& clip,
                bool indicador) const;

    std::vector<Grupo> m_grupos;
};

} // namespace qav
