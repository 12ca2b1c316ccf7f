#include "printout/core/Pagina.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

namespace qav::impressao {

namespace {
const QColor kTinta(0x20, 0x20, 0x20);
const QColor kRotulo(0x55, 0x55, 0x55);
const QColor kFaixa(0xE8, 0xE8, 0xE8);

// A sans-serif face every platform has a match for.
QFont fonte(double pontos, bool negrito = false, bool italico = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pontos);
    f.setBold(negrito);
    f.setItalic(italico);
    return f;
}
} // namespace

Pagina::Pagina(QPainter& painter)
    : m_p(painter), m_device(painter.device()), m_dpi(m_device->logicalDpiY()),
      m_largura(mm(m_device->width())), m_altura(mm(m_device->height())), m_corpo(fonte(7.5)),
      m_titulo(fonte(7.5, true)), m_rotulo(fonte(5.8)), m_nota(fonte(6.8, false, true)),
      m_emitente(fonte(12, true)) {}

double Pagina::linha(const QFont& f) const {
    return mm(QFontMetricsF(f, m_device).lineSpacing());
}

double Pagina::larguraTexto(const QString& texto, const QFont& f) const {
    return mm(QFontMetricsF(f, m_device).horizontalAdvance(texto));
}

QStringList Pagina::quebrar(const QString& texto, const QFont& f, double largura) const {
    QStringList linhas;
    QTextOption opcao;
    opcao.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& paragrafo : texto.split(QLatin1Char('\n'))) {
        const QString limpo = QString(paragrafo).remove(QLatin1Char('\r'));
        if (limpo.isEmpty()) {
            linhas << QString();
            continue;
        }
        QTextLayout layout(limpo, f, m_device);
        layout.setTextOption(opcao);
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(px(largura));
            linhas << limpo.mid(l.textStart(), l.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return linhas;
}

void Pagina::escrever(double x, double y, const QString& texto, const QFont& f) {
    m_p.setFont(f);
    m_p.setPen(kTinta);
    m_p.drawText(QPointF(px(x), px(y) + QFontMetricsF(f, m_device).ascent()), texto);
}

void Pagina::texto(double x, double y, double largura, const QString& texto, const QFont& f) {
    const QString cabe = QFontMetricsF(f, m_device).elidedText(texto, Qt::ElideRight, px(largura));
    escrever(x, y, cabe, f);
}

void Pagina::textoDireita(double x, double y, double largura, const QString& texto, const QFont& f) {
    escrever(x + largura - std::min(largura, larguraTexto(texto, f)), y, texto, f);
}

void Pagina::textoCentro(double x, double y, double largura, const QString& texto, const QFont& f) {
    escrever(x + (largura - std::min(largura, larguraTexto(texto, f))) / 2, y, texto, f);
}

QFont Pagina::reduzida(const QString& texto, const QFont& f, double largura, double minimo) const {
    QFont menor = f;
    while (larguraTexto(texto, menor) > largura && menor.pointSizeF() > minimo)
        menor.setPointSizeF(std::max(minimo, menor.pointSizeF() - 0.5));
    return menor;
}

void Pagina::numero(double x, double y, double largura, const QString& texto, const QFont& f) {
    textoDireita(x, y, largura, texto, reduzida(texto, f, largura, 4));
}

void Pagina::textoReduzido(double x, double y, double largura, const QString& texto, const QFont& f) {
    escrever(x, y, texto, reduzida(texto, f, largura, 4));
}

void Pagina::rotulo(double x, double y, const QString& texto) {
    m_p.setFont(m_rotulo);
    m_p.setPen(kRotulo);
    m_p.drawText(QPointF(px(x), px(y) + QFontMetricsF(m_rotulo, m_device).ascent()), texto);
}

QRectF Pagina::retangulo(double x, double y, double largura, double altura) const {
    return {px(x), px(y), px(largura), px(altura)};
}

void Pagina::moldura(double x, double y, double largura, double altura, bool grossa) {
    m_p.setPen(QPen(kTinta, px(grossa ? 0.35 : 0.15)));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawRect(retangulo(x, y, largura, altura));
}

void Pagina::faixa(double x, double y, double largura, double altura) {
    m_p.setPen(QPen(kTinta, px(0.15)));
    m_p.setBrush(kFaixa);
    m_p.drawRect(retangulo(x, y, largura, altura));
    m_p.setBrush(Qt::NoBrush);
}

void Pagina::linhaHorizontal(double x1, double x2, double y, double espessura) {
    m_p.setPen(QPen(kTinta, px(espessura)));
    m_p.drawLine(QPointF(px(x1), px(y)), QPointF(px(x2), px(y)));
}

} // namespace qav::impressao
