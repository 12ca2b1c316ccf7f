// The PDF of a 1,000-item order in each printout model: reading the order from the tables, laying
// it out and writing the file, against the floor of the same work: Qt's PDF writer drawing the same
// item texts line after line with no layout at all.
//
//   bench_impressao [itens] [pasta-para-os-pdfs]
#include "printout/core/ArquivoPdf.h"
#include "printout/core/DocumentoPedido.h"
#include "store/core/TableFile.h"
#include "tests/printout/PedidoImpressoFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

using namespace qav;
using namespace qav::impressao;

namespace {

// Every item's texts, one line each, with the page breaks of a plain listing.
qint64 pdfCru(const DocumentoPedido& documento, const QString& arquivo) {
    QElapsedTimer relogio;
    relogio.start();
    QPdfWriter pdf(arquivo);
    pdf.setResolution(600);
    QPainter p(&pdf);
    QFont fonte(QStringLiteral("DejaVu Sans"));
    fonte.setPointSizeF(7.5);
    p.setFont(fonte);
    const double linha = p.fontMetrics().lineSpacing();
    double y = linha;
    for (const ItemImpresso& item : documento.itens) {
        if (y + 2 * linha > pdf.height()) {
            pdf.newPage();
            y = linha;
        }
        p.drawText(QPointF(0, y), item.descricao);
        p.drawText(QPointF(pdf.width() * 0.6, y),
                   QString::fromStdString(item.quantidade.toString(1) + "  " +
                                          item.precoUnitario.toString(2) + "  " + item.total.toString(2) +
                                          "  " + item.valorIpi.toString(2)));
        y += linha;
        if (!item.acessorios.isEmpty()) {
            p.drawText(QPointF(0, y), item.acessorios);
            y += linha;
        }
    }
    p.end();
    return relogio.elapsed();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int itens = argc > 1 ? std::atoi(argv[1]) : 1000;
    QTemporaryDir tmp;
    const QString saida = argc > 2 ? QString::fromLocal8Bit(argv[2]) : tmp.path();
    QDir().mkpath(saida);

    for (const TableDef& table : catalogue()) {
        StoreError error;
        if (!createTableFile(QDir(tmp.path()).filePath(QString::fromLatin1(table.fileName)), table, &error))
            return 1;
    }
    Store store(tmp.path());
    test::PedidoImpresso pedido;
    pedido.itens = itens;
    pedido.observacao = QStringLiteral("Entregar no depósito dos fundos, das 8h às 17h.");
    test::prepararPedidoImpresso(store, pedido);

    std::printf("PDF of an order of %d items (%d with accessories, %d sold by pieces)\n", itens, itens / 7,
                itens / 5);
    qint64 maisRapidoCru = -1;
    for (int modelo = 1; modelo <= 4; ++modelo) {
        QElapsedTimer relogio;
        relogio.start();
        FalhaLeitura falha;
        const auto documento = lerDocumento(store, test::kIdPedidoImpresso, OrdemItens::Produto, &falha);
        if (!documento)
            return 1;
        const qint64 leitura = relogio.elapsed();
        const QString arquivo = QDir(saida).filePath(QStringLiteral("pedido_modelo%1.pdf").arg(modelo));
        if (!gravarPdf(arquivo, *documento, static_cast<Modelo>(modelo), {}).ok)
            return 1;
        const qint64 total = relogio.elapsed();
        const qint64 cru = pdfCru(*documento, QDir(saida).filePath(QStringLiteral("cru%1.pdf").arg(modelo)));
        maisRapidoCru = maisRapidoCru < 0 ? cru : std::min(maisRapidoCru, cru);
        std::printf("  model %d: %5lld ms (reading %lld ms), %lld KB; plain listing %lld ms; ratio %.2f\n",
                    modelo, static_cast<long long>(total), static_cast<long long>(leitura),
                    static_cast<long long>(QFileInfo(arquivo).size() / 1024), static_cast<long long>(cru),
                    cru > 0 ? static_cast<double>(total) / static_cast<double>(cru) : 0.0);
    }
    return 0;
}
