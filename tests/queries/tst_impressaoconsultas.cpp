// The query printouts as PDFs over real table files, read back with pdftotext: the receivables report
// with its period, totals, commission and page numbers, and the printed history order with its
// situation, sale type, items, value and weight.
#include "printout/core/ArquivoPdf.h"
#include "queries/core/Folhas.h"
#include "queries/core/PedidoHistoricoImpresso.h"
#include "queries/core/RelatorioCtr.h"
#include "tests/queries/ConsultasFixture.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

QString pdfParaTexto(const QString& pdf) {
    QProcess p;
    p.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The PDF's pages as text.
QStringList paginas(const QString& pdf) {
    QStringList p = pdfParaTexto(pdf).split(QLatin1Char('\f'));
    if (!p.isEmpty() && p.last().trimmed().isEmpty())
        p.removeLast();
    return p;
}

// How many images the PDF holds.
int imagens(const QString& pdf) {
    QProcess p;
    p.start(u"pdfimages"_s, {u"-list"_s, pdf});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return -1;
    // Two heading lines, then one line per image.
    return static_cast<int>(
               QString::fromUtf8(p.readAllStandardOutput()).trimmed().split(QLatin1Char('\n')).size()) -
           2;
}

} // namespace

class TestImpressaoConsultas : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QFAIL("pdftotext is missing: install poppler-utils (scripts/setup.sh does)");
    }

    void relatorioDeContasAReceber_data() {
        QTest::addColumn<std::int64_t>("devedor");
        QTest::addColumn<bool>("comissao");
        QTest::addColumn<int>("titulos"); // of customer 501, besides the two of 502
        QTest::addColumn<QString>("saldoGeral");
        QTest::addColumn<int>("paginasEsperadas");
        // Each title of 501 owes 12,34; those of 502 owe 1.000,00 and 0,01 (the latter paid).
        QTest::newRow("one customer, one page") << std::int64_t(501) << false << 3 << u"37,02"_s << 1;
        QTest::newRow("one customer, commission") << std::int64_t(501) << true << 3 << u"37,02"_s << 1;
        QTest::newRow("every customer, several pages")
            << std::int64_t(0) << false << 150 << u"2.851,01"_s << 3;
    }
    void relatorioDeContasAReceber() {
        QFETCH(std::int64_t, devedor);
        QFETCH(bool, comissao);
        QFETCH(int, titulos);
        QFETCH(QString, saldoGeral);
        QFETCH(int, paginasEsperadas);
        ConsultasFixture f;
        for (int i = 0; i < titulos; ++i) {
            const QByteArray numero = QByteArray::number(10000 + i);
            f.titulo({numero.constData(), 501, i % 28, "12.34"});
        }
        f.titulo({"X-502", 502, 3, "1000.00"});
        f.titulo({"Y-502", 502, 4, "0.01"});
        f.titulo({"FORA", 501, 45, "99.00"}); // due after the period

        consulta::RelatorioContas r;
        r.devedor = devedor;
        r.inicio = kHojeConsultas;
        r.fim = kHojeConsultas.addDays(30);
        r.emissao = kHojeConsultas;
        r.situacao = ctr::Situacao::Todas;
        r.comissao = comissao;
        QVERIFY(consulta::montarRelatorio(f.store(), ConsultasFixture::kEmpresa, r, nullptr));
        QTemporaryDir pasta;
        const QString pdf = pasta.filePath(u"relatorio.pdf"_s);
        const Resultado gravado = impressao::gravarPdf(pdf, u"Contas a Receber"_s, [&](QPagedPaintDevice& d) {
            return consulta::desenharRelatorioCtr(d, r);
        });
        QVERIFY2(gravado.ok, qPrintable(gravado.erro));
        const QStringList texto = paginas(pdf);
        QCOMPARE(texto.size(), paginasEsperadas);
        for (int n = 0; n < texto.size(); ++n) {
            QVERIFY2(texto[n].contains(u"Relatório de Contas a Receber"_s), qPrintable(texto[n]));
            QVERIFY(texto[n].contains(u"Metalúrgica Exemplo S.A."_s));
            QVERIFY(texto[n].contains(u"Vencimento: 08/12/2026 a 07/01/2027"_s));
            QVERIFY(texto[n].contains(u"Página %1"_s.arg(n + 1)));
        }
        const QString tudo = texto.join(QLatin1Char('\n'));
        QVERIFY(!tudo.contains(u"FORA"_s));
        QCOMPARE(tudo.contains(u"X-502"_s), devedor == 0);
        QCOMPARE(tudo.contains(u"Cliente: 502 - Mercadão São João"_s), devedor == 0);
        QVERIFY(tudo.contains(u"Casa das Ferragens Ltda"_s));
        QCOMPARE(tudo.count(u"12,34"_s), titulos);
        const QString totalGeral =
            texto.last().section(u"Total Geral:"_s, 1).section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(totalGeral.contains(saldoGeral), qPrintable(totalGeral));
        QCOMPARE(tudo.contains(u"Base Com."_s), comissao);
        // 5 % of each title's 100,00 base.
        QCOMPARE(tudo.contains(u"Comissão: 15,00"_s), comissao);
    }

    void pedidoDoHistorico() {
        ConsultasFixture f;
        f.pedido({20, 4321, 501, -3, 0, "", 4, "1234.56", 1, "D"});
        f.produto(7001, "PAR-10", "Parafuso sextavado 10 mm", "0.125");
        f.item(20, 1, 7001, "Parafuso", "100.00", "0.8000", "10.00");
        f.item(20, 2, 7999, "Arruela lisa (fora de linha)", "3.00", "2.5000");
        QString falha;
        const auto documento =
            consulta::lerPedidoHistorico(f.store(), ConsultasFixture::kEmpresa, 20, &falha);
        QVERIFY2(documento, qPrintable(falha));
        QCOMPARE(documento->pesoTotal, dec("12.500")); // the missing product weighs nothing
        QTemporaryDir pasta;
        const QString pdf = pasta.filePath(u"pedido.pdf"_s);
        QVERIFY(impressao::gravarPdf(pdf, u"Pedido 4321"_s, [&](QPagedPaintDevice& d) {
                    return consulta::desenharPedidoHistorico(d, *documento);
                }).ok);
        const QStringList texto = paginas(pdf);
        QCOMPARE(texto.size(), 1);
        const QString& t = texto.first();
        for (const QString& esperado :
             {u"Metalúrgica Exemplo S.A."_s, u"Pedido 4321"_s, u"Devolução"_s, u"QAV-4321"_s, u"FT"_s,
              u"05/12/2026"_s, u"501 - Casa das Ferragens Ltda"_s, u"CAMPINAS/SP"_s, u"PAR-10"_s,
              u"Parafuso sextavado 10 mm"_s, u"72,00"_s, u"Arruela lisa (fora de linha)"_s, u"7,50"_s,
              u"Valor Total: 1.234,56"_s, u"Peso Total (kg): 12,500"_s, u"Página 1"_s})
            QVERIFY2(t.contains(esperado), qPrintable(esperado + u" not in:\n"_s + t));

        // The company's logo, kept as a PNG beside the expected tmp\logo2.wmf of the program folder.
        QTemporaryDir programa;
        QVERIFY(QDir(programa.path()).mkpath(u"tmp"_s));
        QImage logo(120, 60, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        QVERIFY(logo.save(QDir(programa.path()).filePath(u"tmp/logo2.png"_s)));
        const QString comLogo = pasta.filePath(u"com-logo.pdf"_s);
        QVERIFY(impressao::gravarPdf(comLogo, u"Pedido 4321"_s, [&](QPagedPaintDevice& d) {
                    return consulta::desenharPedidoHistorico(d, *documento, false, programa.path());
                }).ok);
        QCOMPARE(imagens(comLogo), 1);
        QCOMPARE(imagens(pdf), 0);
        QVERIFY(paginas(comLogo).first().contains(u"Metalúrgica Exemplo S.A."_s));

        // A customer missing from the table prints blank, not a failure.
        f.pedido({21, 4322, 999, -3, 2, "", 0, "5.00"});
        const auto semCliente =
            consulta::lerPedidoHistorico(f.store(), ConsultasFixture::kEmpresa, 21, &falha);
        QVERIFY(semCliente);
        QCOMPARE(semCliente->cliente.razao, QString());
        QVERIFY(!consulta::lerPedidoHistorico(f.store(), ConsultasFixture::kEmpresa, 99, &falha));
        QCOMPARE(falha, u"Pedido não encontrado!"_s);
    }
};

QAV_TEST_MAIN(TestImpressaoConsultas)
#include "tst_impressaoconsultas.moc"
