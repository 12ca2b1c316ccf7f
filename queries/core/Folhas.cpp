#include "queries/core/Folhas.h"

#include <QPageLayout>
#include <QPagedPaintDevice>

namespace qav::consulta {

namespace {
constexpr double kRodape = 6; // page-number band, mm
}

Folhas::Folhas(QPagedPaintDevice& destino, bool manterPapel,
               std::function<double(impressao::Pagina&, QPainter&, double)> cabecalho,
               QPageLayout::Orientation orientacao)
    : m_destino(destino), m_cabecalho(std::move(cabecalho)) {
    if (!manterPapel)
        destino.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientacao, QMarginsF(0, 0, 0, 0),
                                          QPageLayout::Millimeter));
    m_ok = m_painter.begin(&destino);
    if (!m_ok)
        return;
    m_pagina = std::make_unique<impressao::Pagina>(m_painter);
    comecarPagina();
}

Folhas::~Folhas() {
    if (m_painter.isActive())
        m_painter.end();
}

void Folhas::comecarPagina() {
    ++m_paginas;
    m_y = kMargem;
    m_y += m_cabecalho ? m_cabecalho(*m_pagina, m_painter, m_y) : 0;
}

void Folhas::numerarPagina() {
    const double y = m_pagina->altura() - kMargem - kRodape + 2;
    m_pagina->linhaHorizontal(esquerda(), esquerda() + largura(), y - 1, 0.15);
    m_pagina->textoDireita(esquerda(), y, largura(), QStringLiteral("Página %1").arg(m_paginas),
                           m_pagina->fonteCorpo());
}

double Folhas::reservar(double altura) {
    const double fim = m_pagina->altura() - kMargem - kRodape;
    if (m_y + altura > fim && m_y > kMargem) {
        numerarPagina();
        m_destino.newPage();
        comecarPagina();
    }
    const double topo = m_y;
    m_y += altura;
    return topo;
}

int Folhas::terminar() {
    if (!m_ok)
        return 0;
    numerarPagina();
    m_painter.end();
    return m_paginas;
}

} // namespace qav::consulta
