// The order document as a customer reads it: PDFs of every model over real table files, their text
// read back with pdftotext (descriptions, totals in Brazilian form, pages, headings), the figures of
// the landscape model, and qavtool imprimir.
#include "printout/core/ArquivoPdf.h"
#include "printout/core/FigurasModelo.h"
#include "printout/core/Formatos.h"
#include "tests/printout/PedidoImpressoFixture.h"
#include "tests/support/Programs.h"
#include "tests/support/TempDataFolder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace qav;
using namespace qav::impressao;
using qav::test::kIdPedidoImpresso;

namespace {

QString pdfParaTexto(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString infoPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The printout of order kIdPedidoImpresso in `modelo`, as text, one string per page.
QStringList imprimir(Store& store, Modelo modelo, OrdemItens ordem, const QString& pdf) {
    FalhaLeitura falha;
    const auto documento = lerDocumento(store, kIdPedidoImpresso, ordem, &falha);
    if (!documento)
        return {falha.texto};
    QString erro;
    if (!gravarPdf(pdf, *documento, modelo, {}, &erro))
        return {erro};
    QStringList paginas = pdfParaTexto(pdf).split(QLatin1Char('\f'));
    if (!paginas.isEmpty() && paginas.last().trimmed().isEmpty())
        paginas.removeLast();
    return paginas;
}

QByteArray lerTudo(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString observacaoLonga(int caracteres) {
    QString texto;
    for (int palavra = 1; texto.size() < caracteres; ++palavra)
        texto += QStringLiteral("entrega%1 ").arg(palavra);
    return texto.left(caracteres).trimmed();
}

} // namespace

class TestImpressaoPdf : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QFAIL("pdftotext is missing: install poppler-utils (scripts/setup.sh does)");
    }

    void everyModelPrintsTheWholeOrder_data() {
        QTest::addColumn<int>("modelo");
        QTest::addColumn<int>("itens");
        QTest::addColumn<bool>("produtoAusente");
        QTest::addColumn<bool>("clienteAusente");
        for (int m = 1; m <= 4; ++m) {
            const QByteArray nome = QByteArray::number(m);
            QTest::newRow(("model " + nome + ", 1 item").constData()) << m << 1 << false << false;
            QTest::newRow(("model " + nome + ", 40 items, product missing").constData())
                << m << 40 << true << false;
            QTest::newRow(("model " + nome + ", 400 items, customer missing").constData())
                << m << 400 << false << true;
        }
    }

    // Every item, its accessories and pieces, the notes, the totals to the cent; headings and page
    // numbers on every page, the totals and the credit notice only on the last.
    void everyModelPrintsTheWholeOrder() {
        QFETCH(int, modelo);
        QFETCH(int, itens);
        QFETCH(bool, produtoAusente);
        QFETCH(bool, clienteAusente);
        test::TempDataFolder pasta;
        test::PedidoImpresso p;
        p.itens = itens;
        p.observacao = observacaoLonga(255);
        p.observacaoEntrega = observacaoLonga(2000);
        p.produtoAusente = produtoAusente;
        p.clienteAusente = clienteAusente;
        test::prepararPedidoImpresso(pasta.store(), p);
        const QStringList paginas = imprimir(pasta.store(), static_cast<Modelo>(modelo), OrdemItens::Produto,
                                             pasta.path() + QStringLiteral("/pedido.pdf"));
        QVERIFY2(!paginas.isEmpty() && paginas.first().contains(QStringLiteral("Metalúrgica Boa Vista")),
                 qPrintable(paginas.value(0)));
        const QString tudo = paginas.join(QLatin1Char('\n'));
        const auto total = paginas.size();

        // One line per item: each description once, in product order.
        qsizetype anterior = -1;
        for (int i = 1; i <= itens; ++i) {
            if (produtoAusente && i == itens) {
                QVERIFY(tudo.contains(QStringLiteral("Id # %1 do produto inválido/35").arg(itens)));
                continue;
            }
            const auto onde = tudo.indexOf(test::nomeProdutoImpresso(i));
            QVERIFY2(onde >= 0, qPrintable(test::nomeProdutoImpresso(i)));
            QVERIFY2(tudo.indexOf(test::nomeProdutoImpresso(i), onde + 1) < 0, "printed twice");
            QVERIFY2(onde > anterior, "not in product order");
            anterior = onde;
        }
        if (itens >= 7)
            QVERIFY(tudo.contains(QStringLiteral("Puxadores: Puxador cromado, Trincos: Trinco simples")));
        if (itens >= 5)
            QVERIFY(tudo.contains(QStringLiteral("(4 PÇ x 1200 MM)")));
        // The notes, whole: the last word of the delivery note is there.
        QVERIFY(tudo.contains(p.observacaoEntrega.section(QLatin1Char(' '), -1)));
        QVERIFY(tudo.contains(p.observacao.section(QLatin1Char(' '), -1)));
        QCOMPARE(tudo.contains(QStringLiteral("Ferragens São João")), !clienteAusente);

        FalhaLeitura falha;
        const auto doc = lerDocumento(pasta.store(), kIdPedidoImpresso, OrdemItens::Produto, &falha);
        QVERIFY(doc);
        const Decimal totalImpresso = modelo == 4 ? totalSemIpi(*doc) : doc->total;
        const QString ultima = paginas.last();
        QVERIFY2(ultima.contains(formato::moeda(totalImpresso)), qPrintable(formato::moeda(totalImpresso)));
        QVERIFY(ultima.contains(QStringLiteral("150,00"))); // freight
        if (modelo != 3)
            QVERIFY(ultima.contains(formato::moeda(doc->totalProdutos)));
        for (qsizetype n = 0; n < total; ++n) {
            const QString& pagina = paginas[n];
            QVERIFY2(pagina.contains(QStringLiteral("Página %1 de %2").arg(n + 1).arg(total)),
                     qPrintable(pagina));
            QVERIFY(pagina.contains(formato::nove(42)));
            const bool temItens = pagina.contains(QStringLiteral("aço inox"));
            if (temItens)
                QVERIFY2(pagina.contains(QStringLiteral("Descrição do Produto")), "heading not repeated");
            QCOMPARE(pagina.contains(QStringLiteral("Total do Pedido")), n == total - 1);
            if (modelo != 3)
                QCOMPARE(pagina.contains(QStringLiteral("SUJEITO A APROVAÇÃO DE CRÉDITO")), n == total - 1);
        }
        if (itens == 400)
            QVERIFY2(total > 10, qPrintable(QString::number(total)));
    }

    void itemsInEntryOrder() {
        test::TempDataFolder pasta;
        test::PedidoImpresso p;
        p.itens = 3;
        test::prepararPedidoImpresso(pasta.store(), p);
        const QString tudo = imprimir(pasta.store(), Modelo::RetratoSemComissao, OrdemItens::Entrada,
                                      pasta.path() + QStringLiteral("/pedido.pdf"))
                                 .join(QLatin1Char('\n'));
        // Products were entered from the last to the first.
        const auto p3 = tudo.indexOf(test::nomeProdutoImpresso(3));
        const auto p1 = tudo.indexOf(test::nomeProdutoImpresso(1));
        QVERIFY(p3 >= 0 && p1 > p3);
    }

    // Items whose price carries the IPI print their price without it; the final price puts the
    // taxes back per unit.
    void landscapeFigures_data() {
        QTest::addColumn<bool>("comIpi");
        QTest::addColumn<QString>("qtd");
        QTest::addColumn<QString>("unitario");
        QTest::addColumn<QString>("liquido");
        QTest::addColumn<QString>("final");
        // 3 x 110,00 with IPI 10 % inside: total 330,00, IPI 30,00, discount 6,00, ICMS-ST 3,00.
        QTest::newRow("IPI inside the price") << true << "3"
                                              << "100.0000"
                                              << "294.00"
                                              << "109.0000";
        QTest::newRow("IPI on top of the price") << false << "3"
                                                 << "110.0000"
                                                 << "324.00"
                                                 << "119.0000";
        QTest::newRow("no quantity") << false << "0"
                                     << "110.0000"
                                     << "324.00"
                                     << "0.0000";
    }

    void landscapeFigures() {
        QFETCH(bool, comIpi);
        QFETCH(QString, qtd);
        QFETCH(QString, unitario);
        QFETCH(QString, liquido);
        QFETCH(QString, final);
        const auto D = [](const char* t) { return Decimal::parse(t).value(); };
        ItemImpresso item;
        item.quantidade = Decimal::parse(qtd.toStdString()).value();
        item.precoUnitario = D("110");
        item.total = D("330");
        item.valorDescontoTotal = D("6");
        item.valorIpi = D("30");
        item.valorIcmsSt = D("3");
        item.aliquotaIpi = D("10");
        item.precoComIpi = comIpi;
        const LinhaPaisagem linha = linhaPaisagem(item);
        QCOMPARE(QString::fromStdString(linha.precoUnitario.toString(4)), unitario);
        QCOMPARE(QString::fromStdString(linha.liquido.toString(2)), liquido);
        QCOMPARE(QString::fromStdString(linha.precoFinal.toString(4)), final);

        DocumentoPedido documento;
        documento.ipi = D("99");
        documento.itens = {item, item};
        const TotaisPaisagem totais = totaisPaisagem(documento);
        QCOMPARE(QString::fromStdString(totais.produtos.toString(2)),
                 comIpi ? QStringLiteral("600.00") : QStringLiteral("660.00"));
        QCOMPARE(QString::fromStdString(totais.desconto.toString(2)), QStringLiteral("12.00"));
        QCOMPARE(QString::fromStdString(totais.ipi.toString(2)),
                 comIpi ? QStringLiteral("60.00") : QStringLiteral("99.00"));
    }

    // The issuer's logo, kept in any format Qt reads under the expected name; a missing or unreadable
    // one prints nothing and fails nothing.
    void logo_data() {
        QTest::addColumn<QString>("arquivo");
        QTest::addColumn<bool>("imagem");
        QTest::addColumn<int>("modelo");
        QTest::newRow("png beside the expected wmf") << QStringLiteral("tmp/logo2.png") << true << 1;
        QTest::newRow("landscape logo of company 1") << QStringLiteral("logo1.bmp") << true << 3;
        QTest::newRow("another company's logo") << QStringLiteral("logo2.bmp") << false << 3;
        QTest::newRow("unreadable file") << QStringLiteral("tmp/logo2.wmf") << false << 1;
        QTest::newRow("no logo") << QString() << false << 4;
    }

    void logo() {
        QFETCH(QString, arquivo);
        QFETCH(bool, imagem);
        QFETCH(int, modelo);
        test::TempDataFolder pasta;
        test::PedidoImpresso p;
        test::prepararPedidoImpresso(pasta.store(), p);
        QTemporaryDir programa;
        if (!arquivo.isEmpty()) {
            QDir(programa.path()).mkpath(QStringLiteral("tmp"));
            const QString caminho = programa.filePath(arquivo);
            if (arquivo.endsWith(QStringLiteral(".wmf"))) {
                QFile lixo(caminho);
                QVERIFY(lixo.open(QIODevice::WriteOnly));
                lixo.write("not a picture");
            } else {
                QImage figura(120, 40, QImage::Format_RGB32);
                figura.fill(Qt::darkBlue);
                QVERIFY(figura.save(caminho));
            }
        }
        const auto documento = lerDocumento(pasta.store(), kIdPedidoImpresso, OrdemItens::Produto, nullptr);
        QVERIFY(documento);
        OpcoesDesenho opcoes;
        opcoes.pastaPrograma = programa.path();
        const QString pdf = pasta.path() + QStringLiteral("/logo.pdf");
        QString erro;
        QVERIFY2(gravarPdf(pdf, *documento, static_cast<Modelo>(modelo), opcoes, &erro), qPrintable(erro));
        QProcess lista;
        lista.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QVERIFY(lista.waitForFinished(60000));
        // A heading of two lines, then one line per image.
        const auto linhas =
            QString::fromUtf8(lista.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
        QCOMPARE(linhas.size() > 2, imagem);
    }

    void qavtoolImprimir_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("saida");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("written") << QStringList{QStringLiteral("--pedido"), QStringLiteral("42"),
                                                QStringLiteral("--modelo"), QStringLiteral("2"),
                                                QStringLiteral("--ordem-produto")}
                                 << 0 << QString();
        QTest::newRow("unknown order") << QStringList{QStringLiteral("--pedido"), QStringLiteral("43"),
                                                      QStringLiteral("--modelo"), QStringLiteral("1")}
                                       << 1 << QStringLiteral("Pedido 43 não encontrado.");
        QTest::newRow("model not offered") << QStringList{QStringLiteral("--pedido"), QStringLiteral("42"),
                                                          QStringLiteral("--modelo"), QStringLiteral("3")}
                                           << 1 << QStringLiteral("Modelo 3 não é oferecido");
        QTest::newRow("model out of range") << QStringList{QStringLiteral("--pedido"), QStringLiteral("42"),
                                                           QStringLiteral("--modelo"), QStringLiteral("5")}
                                            << 2 << QStringLiteral("uso:");
        QTest::newRow("no order") << QStringList{QStringLiteral("--modelo"), QStringLiteral("1")} << 2
                                  << QStringLiteral("uso:");
    }

    void qavtoolImprimir() {
        QFETCH(QStringList, argumentos);
        QFETCH(int, saida);
        QFETCH(QString, mensagem);
        test::TempDataFolder pasta;
        // Models 1 and 2 offered.
        test::PedidoImpresso p;
        p.itens = 8;
        p.modeloPedido = 3;
        test::prepararPedidoImpresso(pasta.store(), p);
        const QString pdf = pasta.path() + QStringLiteral("/saida/p.pdf");
        QProcess tool;
        tool.start(test::programPath(QStringLiteral("qavtool")),
                   QStringList{QStringLiteral("imprimir"), QStringLiteral("--pasta"), pasta.path(),
                               QStringLiteral("--pdf"), pdf} +
                       argumentos);
        QVERIFY(tool.waitForFinished(60000));
        const QString erro = QString::fromLocal8Bit(tool.readAllStandardError());
        QCOMPARE(tool.exitCode(), saida);
        QVERIFY2(erro.contains(mensagem), qPrintable(erro));
        QCOMPARE(QFile::exists(pdf), saida == 0);
        if (saida == 0) {
            QVERIFY(infoPdf(pdf).contains(QStringLiteral("Pedido # 00000042")));
            QVERIFY(pdfParaTexto(pdf).contains(QStringLiteral("Natureza Operação")));
        }
    }

    // A disk that fills up while the PDF is written (a limit on the size of the files this process
    // writes stands for it): the failure is told as a full disk, the short file never takes the
    // target's name, and the PDF that was there before stays whole. The same through qavtool.
    void fullDiskKeepsTheEarlierPdf() {
        test::TempDataFolder pasta;
        test::PedidoImpresso p;
        p.itens = 400;
        test::prepararPedidoImpresso(pasta.store(), p);
        FalhaLeitura falha;
        const auto documento = lerDocumento(pasta.store(), kIdPedidoImpresso, OrdemItens::Produto, &falha);
        QVERIFY(documento);
        const QString pdf = pasta.path() + QStringLiteral("/pedido.pdf");
        QFile anterior(pdf);
        QVERIFY(anterior.open(QIODevice::WriteOnly));
        anterior.write("%PDF-1.4 the earlier printout of this order");
        anterior.close();
        const QByteArray antes = lerTudo(pdf);

        constexpr rlim_t kLimite = 16384;
        rlimit original{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
        const auto sinal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit pequeno = original;
        pequeno.rlim_cur = kLimite;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &pequeno), 0);
        QString erro;
        const bool gravou = gravarPdf(pdf, *documento, Modelo::RetratoSemComissao, {}, &erro);
        setrlimit(RLIMIT_FSIZE, &original);
        std::signal(SIGXFSZ, sinal);
        QVERIFY(!gravou);
        QVERIFY2(erro.startsWith(QStringLiteral("Disco cheio ao gravar ")), qPrintable(erro));
        QCOMPARE(lerTudo(pdf), antes);
        QCOMPARE(QDir(pasta.path()).entryList({QStringLiteral("pedido.pdf*")}, QDir::Files),
                 QStringList{QStringLiteral("pedido.pdf")});

        QProcess tool;
        tool.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limite{kLimite, kLimite};
            setrlimit(RLIMIT_FSIZE, &limite);
        });
        tool.start(test::programPath(QStringLiteral("qavtool")),
                   {QStringLiteral("imprimir"), QStringLiteral("--pasta"), pasta.path(),
                    QStringLiteral("--pedido"), QString::number(42), QStringLiteral("--modelo"),
                    QStringLiteral("1"), QStringLiteral("--pdf"), pdf});
        QVERIFY(tool.waitForFinished(60000));
        const QString saida = QString::fromLocal8Bit(tool.readAllStandardError());
        QVERIFY2(tool.exitCode() != 0, qPrintable(saida));
        QVERIFY2(saida.contains(QStringLiteral("Disco cheio ao gravar")), qPrintable(saida));
        QCOMPARE(lerTudo(pdf), antes);

        // Without the limit the same order's PDF is whole and replaces the earlier file.
        QVERIFY2(gravarPdf(pdf, *documento, Modelo::RetratoSemComissao, {}, &erro), qPrintable(erro));
        QString motivo;
        QVERIFY2(pdfCompleto(pdf, &motivo), qPrintable(motivo));
        QVERIFY(infoPdf(pdf).contains(QStringLiteral("Pedido # 00000042")));
    }

    // The check that stands between a written PDF and its target: a file cut anywhere short of its
    // end is refused.
    void shortPdfIsRefused() {
        test::TempDataFolder pasta;
        test::PedidoImpresso p;
        p.itens = 40;
        test::prepararPedidoImpresso(pasta.store(), p);
        const QString pdf = pasta.path() + QStringLiteral("/inteiro.pdf");
        QVERIFY(!imprimir(pasta.store(), Modelo::RetratoSemComissao, OrdemItens::Produto, pdf).isEmpty());
        const QByteArray inteiro = lerTudo(pdf);
        QString motivo;
        QVERIFY2(pdfCompleto(pdf, &motivo), qPrintable(motivo));
        const QString cortado = pasta.path() + QStringLiteral("/cortado.pdf");
        for (const qsizetype tamanho :
             {qsizetype(0), qsizetype(4), inteiro.size() / 2, inteiro.size() - 700, inteiro.size() - 6}) {
            QFile f(cortado);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(inteiro.left(tamanho));
            f.close();
            QVERIFY2(!pdfCompleto(cortado, &motivo), qPrintable(QString::number(tamanho)));
        }
    }
};

QTEST_MAIN(TestImpressaoPdf)
#include "tst_impressaopdf.moc"
