#pragma once
// The tabular reports of the "Relatórios" menu: a title with the filters chosen, a row of column
// captions drawn again on every page, the lines of the report (details, group headings, subtotals and
// the grand total) and the page number at the foot. A report is a source of lines read one after the
// other from the tables, so that a report of a hundred thousand orders holds no more than the page
// being drawn; the same lines are written as a spreadsheet file (CSV) for the office.

#include "store/core/Date.h"

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QFont;
class QIODevice;
class QPagedPaintDevice;

namespace qav::impressao {
class Pagina;
}

namespace qav::relatorio {

struct Coluna {
    QString titulo;
    double largura = 0;  // mm; 0 takes the room left
    bool numero = false; // right-aligned, shrunk rather than cut; thousands points left out in the CSV
};

enum class Tipo {
    Detalhe,  // one row of the report
    Grupo,    // heading of a group (the first cell's text over the whole width)
    Subtotal, // the sums of a group
    Total,    // the grand totals
    Nota,     // a line of text under a detail (the items of an order): printed, not in the CSV
};

struct Linha {
    Tipo tipo = Tipo::Detalhe;
    QStringList celulas; // one per column; a Grupo or Nota line carries only its text
};

// A report: what its heading says and the walk over the tables that gives its lines.
class Fonte {
public:
    virtual ~Fonte() = default;

    virtual QString titulo() const = 0;
    virtual QStringList filtros() const = 0; // lines under the title: the period, the choices
    virtual std::vector<Coluna> colunas() const = 0;
    virtual QPageLayout::Orientation orientacao() const { return QPageLayout::Portrait; }

    // Starts (again) from the first line; false, with erro(), when a table cannot be read.
    virtual bool comecar() = 0;
    // The next line; false at the end, or on a failure (erro() not empty).
    virtual bool proxima(Linha& linha) = 0;
    QString erro() const { return m_erro; }
    // How far the walk is, 0 to 100 (for the progress of a long report).
    virtual int progresso() const { return 0; }

protected:
    QString m_erro;
};

// The heading common to every report.
struct Cabecalho {
    QString empresa;
    Date emissao;
};

// Told every few lines with the progress (0..100); false stops the report.
using Acompanhamento = std::function<bool(int)>;

struct ResultadoRelatorio {
    int paginas = 0;
    bool cancelado = false;
    QString erro; // a table that could not be read, or a device that cannot be painted on
    bool ok() const { return !cancelado && erro.isEmpty(); }
};

// Draws the whole report on `destino` (A4 in the report's orientation unless `manterPapel`).
ResultadoRelatorio desenhar(QPagedPaintDevice& destino, const Cabecalho& cabecalho, Fonte& fonte,
                            bool manterPapel = false, const Acompanhamento& acompanhar = {});

// Writes the report as CSV, as Brazilian spreadsheets read it: UTF-8 with a byte-order mark (without
// it they read the accents as Windows-1252), ";" between fields, decimal commas and no thousands
// points, every field in quotes when it holds a ";", a quote or a line break. The first row holds the
// captions; then the details and the grand total (group headings and subtotals are left to the
// spreadsheet, which sums by itself).
ResultadoRelatorio gravarCsv(QIODevice& destino, Fonte& fonte, const Acompanhamento& acompanhar = {});

// Draws one row of cells across the columns at y (captions right-aligned over numeric columns). In a
// totals row the caption of the first cell runs over the empty cells after it.
class Tabela {
public:
    explicit Tabela(std::vector<Coluna> colunas) : m_colunas(std::move(colunas)) {}
    const std::vector<Coluna>& colunas() const { return m_colunas; }

    std::vector<double> larguras(double total) const;
    void linha(impressao::Pagina& p, double x, double y, const QStringList& textos, const QFont& fonte,
               bool totais = false, bool titulos = false) const;
    // The shaded band of the captions from `y`; its height.
    double titulos(impressao::Pagina& p, double x, double y) const;

    static constexpr double kFolga = 0.8; // mm around the text of a cell

private:
    std::vector<Coluna> m_colunas;
};

} // namespace qav::relatorio
