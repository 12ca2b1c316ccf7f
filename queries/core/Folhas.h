#pragma once
// The pages of the query printouts: an A4 sheet (or the printer's paper) with a margin, a heading
// drawn again on every page, lines that go on to the next page when the sheet is full, and the page
// number ("Página 1") at the foot of every page.

#include "printout/core/Pagina.h"

#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;

namespace qav::consulta {

class Folhas {
public:
    static constexpr double kMargem = 10; // mm

    // Starts painting on `destino` (A4 in `orientacao` unless `manterPapel`); `cabecalho` draws the heading
    // of a page (on the page or with the painter, for images) from the given top and returns the height
    // it took. ok() is false when the device
    // cannot be painted on.
    Folhas(QPagedPaintDevice& destino, bool manterPapel,
           std::function<double(impressao::Pagina&, QPainter&, double)> cabecalho,
           QPageLayout::Orientation orientacao = QPageLayout::Portrait);
    ~Folhas();

    bool ok() const { return m_ok; }
    impressao::Pagina& pagina() { return *m_pagina; }
    double esquerda() const { return kMargem; }
    double largura() const { return m_pagina->largura() - 2 * kMargem; }

    // The top of a block `altura` high, on a new page when it does not fit on this one.
    double reservar(double altura);
    // Draws the last page's number and ends the painting; the number of pages.
    int terminar();
    int paginas() const { return m_paginas; }

private:
    void comecarPagina();
    void numerarPagina();

    QPagedPaintDevice& m_destino;
    QPainter m_painter;
    std::unique_ptr<impressao::Pagina> m_pagina;
    std::function<double(impressao::Pagina&, QPainter&, double)> m_cabecalho;
    bool m_ok = false;
    int m_paginas = 0;
    double m_y = 0;
};

} // namespace qav::consulta
