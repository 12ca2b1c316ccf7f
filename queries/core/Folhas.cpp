#include "queries/core/Folhas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPdfWriter>

namespace qav::consulta {

namespace {
constexpr double kRodape = 6; // page-number band, mm
}

Folhas::Folhas(QPagedPaintDevice& destino, bool manterPapel,
               std::function<double(impressao::Pagina&, QPainter&, double)> cabecalho)
    : m_destino(destino), m_cabecalho(std::move(cabecalho)) {
    if (!manterPapel)
        destino.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
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

bool gravarPdf(const QString& arquivo, const QString& titulo,
               const std::function<int(QPagedPaintDevice&)>& desenhar, QString* erro) {
    const QFileInfo info(arquivo);
    if (!QDir().mkpath(info.absolutePath())) {
        if (erro)
            *erro = QStringLiteral("Não foi possível criar a pasta %1")
                        .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    const QString provisorio = arquivo + QStringLiteral(".tmp");
    int paginas = 0;
    {
        QPdfWriter pdf(provisorio);
        pdf.setTitle(titulo);
        pdf.setCreator(QStringLiteral("QAV+"));
        pdf.setResolution(600);
        paginas = desenhar(pdf);
    }
    QFile gravado(provisorio);
    if (paginas == 0 || gravado.size() == 0) {
        gravado.remove();
        if (erro)
            *erro =
                QStringLiteral("Não foi possível gravar o arquivo %1").arg(QDir::toNativeSeparators(arquivo));
        return false;
    }
    QFile::remove(arquivo);
    if (!gravado.rename(arquivo)) {
        gravado.remove();
        if (erro)
            *erro = QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                        .arg(QDir::toNativeSeparators(arquivo), gravado.errorString());
        return false;
    }
    return true;
}

} // namespace qav::consulta
