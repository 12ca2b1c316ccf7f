#pragma once
// Drawing on a printed page in millimetres from the top-left corner of its printable area: texts in
// the document's fonts, numbers shrunk rather than cut, boxes and rules, and text broken into lines.

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;
class QPaintDevice;

namespace qav::impressao {

class Pagina {
public:
    explicit Pagina(QPainter& painter);

    double largura() const { return m_largura; } // printable width, mm
    double altura() const { return m_altura; }

    const QFont& fonteCorpo() const { return m_corpo; }
    const QFont& fonteTitulo() const { return m_titulo; }
    const QFont& fonteRotulo() const { return m_rotulo; }
    const QFont& fonteNota() const { return m_nota; }
    const QFont& fonteEmitente() const { return m_emitente; }

    double linha(const QFont& fonte) const; // line height, mm
    // The text broken into lines no wider than `largura`, at word boundaries or, for a word that does
    // not fit, anywhere; line breaks in the text are kept.
    QStringList quebrar(const QString& texto, const QFont& fonte, double largura) const;

    // One line whose top is at y; cut with "…" when wider than `largura`.
    void texto(double x, double y, double largura, const QString& texto, const QFont& fonte);
    void textoDireita(double x, double y, double largura, const QString& texto, const QFont& fonte);
    void textoCentro(double x, double y, double largura, const QString& texto, const QFont& fonte);
    // A number right-aligned in `largura`: a smaller size when it does not fit, never cut.
    void numero(double x, double y, double largura, const QString& texto, const QFont& fonte);
    // One line left-aligned in `largura`: a smaller size when it does not fit, never cut.
    void textoReduzido(double x, double y, double largura, const QString& texto, const QFont& fonte);
    // The font at the largest size, from `fonte`'s down to `minimo` points, at which the text fits in
    // `largura`; at `minimo` when none does.
    QFont reduzida(const QString& texto, const QFont& fonte, double largura, double minimo) const;
    double larguraTexto(const QString& texto, const QFont& fonte) const; // mm
    void rotulo(double x, double y, const QString& texto);

    void moldura(double x, double y, double largura, double altura, bool grossa);
    void faixa(double x, double y, double largura, double altura); // shaded band with a frame
    void linhaHorizontal(double x1, double x2, double y, double espessura);
    QRectF retangulo(double x, double y, double largura, double altura) const;

private:
    double px(double mm) const { return mm * m_dpi / 25.4; }
    double mm(double px) const { return px * 25.4 / m_dpi; }
    void escrever(double x, double y, const QString& texto, const QFont& fonte);

    QPainter& m_p;
    QPaintDevice* m_device;
    double m_dpi;
    double m_largura;
    double m_altura;
    QFont m_corpo, m_titulo, m_rotulo, m_nota, m_emitente;
};

} // namespace qav::impressao
