// The order document as a customer reads it: PDFs of every model over real table files, their text
// read back with pdftotext (descriptions, totals in Brazilian form, pages, headings), the figures of
// the landscape model, and qavtool imprimir.
#include "printout/core/ArquivoPdf.h"
#include "printout/core/FigurasModelo.h"
#include "printout/core/Formatos.h"
#include "tests/printout/PedidoImpressoFixture.h"
#include "tests/support/Programs.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace qav;
using namespace qav::impressao;
using qav::test::kIdPedidoImpresso;

namespace {

// The text extractor gives some letter pairs as one ligature ("ﬁ").
QString semLigaduras(QString texto) {
    return texto.replace(QChar(0xFB01), QStringLiteral("fi")).replace(QChar(0xFB02), QStringLiteral("fl"));
}

QString pdfParaTexto(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return semLigaduras(QString::fromUtf8(p.readAllStandardOutput()));
}

QString pdfParaTextoCru(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    // Ligatures ("ﬁ") read as their letters.
    return QString::fromUtf8(p.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC)
        .simplified();
}

// The images the PDF stores (each once, however many pages show it): their object numbers.
QStringList imagensPdf(const QString& pdf) {
    QProcess lista;
    lista.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    lista.waitForFinished(60000);
    // A heading of two lines, then one line per image shown on a page; the 11th and 12th columns
    // name the stored object.
    QStringList objetos;
    const QStringList linhas =
        QString::fromUtf8(lista.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
    for (const QString& linha : linhas.mid(2)) {
        const QStringList campos = linha.simplified().split(QLatin1Char(' '));
        if (campos.size() > 11 && !objetos.contains(campos[10] + QLatin1Char(' ') + campos[11]))
            objetos << campos[10] + QLatin1Char(' ') + campos[11];
    }
    return objetos;
}

// The order's PDF as qavtool imprimir writes it; the error text when it did not.
QString imprimirComQavtool(const QString& pasta, int numero, int modelo, const QString& pdf,
                           const QString& programa = QString()) {
    QProcess tool;
    if (!programa.isEmpty())
        tool.setWorkingDirectory(programa);
    tool.start(test::programPath(QStringLiteral("qavtool")),
               {QStringLiteral("imprimir"), QStringLiteral("--pasta"), pasta, QStringLiteral("--pedido"),
                QString::number(numero), QStringLiteral("--modelo"), QString::number(modelo),
                QStringLiteral("--ordem-produto"), QStringLiteral("--pdf"), pdf});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return QStringLiteral("qavtool: ") + QString::fromLocal8Bit(tool.readAllStandardError());
    return {};
}

// The boxes of the totals as printed: each label with the figure under it, read from the line of
// labels that holds "Total do Pedido" and the next line, which holds the figures in the same order.
QList<QPair<QString, Decimal>> caixasDosTotais(const QString& pagina) {
    const QStringList linhas = pagina.split(QLatin1Char('\n'));
    static const QRegularExpression espacos(QStringLiteral("\\s{2,}"));
    static const QRegularExpression numero(QStringLiteral("^-?[0-9.]+(,[0-9]+)?$"));
    for (qsizetype n = 0; n + 1 < linhas.size(); ++n) {
        if (!linhas[n].contains(QStringLiteral("Total do Pedido")))
            continue;
        const QStringList rotulos = linhas[n].trimmed().split(espacos, Qt::SkipEmptyParts);
        QStringList valores;
        for (const QString& v : linhas[n + 1].trimmed().split(espacos, Qt::SkipEmptyParts))
            if (numero.match(v).hasMatch())
                valores << v;
        if (rotulos.size() != valores.size())
            return {};
        QList<QPair<QString, Decimal>> caixas;
        for (qsizetype i = 0; i < rotulos.size(); ++i)
            caixas.append({rotulos[i], Decimal::parseBr(valores[i].toStdString()).value()});
        return caixas;
    }
    return {};
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
    if (const Resultado gravado = gravarPdf(pdf, *documento, modelo, {}); !gravado.ok)
        return {gravado.erro};
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

        // The order's IPI holds only the IPI added on top of prices.
        DocumentoPedido documento;
        documento.ipi = comIpi ? D("0") : D("99");
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
        const Resultado gravado = gravarPdf(pdf, *documento, static_cast<Modelo>(modelo), opcoes);
        QVERIFY2(gravado.ok, qPrintable(gravado.erro));
        QProcess lista;
        lista.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QVERIFY(lista.waitForFinished(60000));
        // A heading of two lines, then one line per image.
        const auto linhas =
            QString::fromUtf8(lista.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
        QCOMPARE(linhas.size() > 2, imagem);
    }

    // Quantities and unit prices as stored: every decimal they hold, never fewer than the least the
    // document shows.
    void decimaisComoGuardados_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("quantidade");
        QTest::addColumn<QString>("preco");
        QTest::newRow("whole") << "10"
                               << "10,0"
                               << "10,00";
        QTest::newRow("one place") << "2.5"
                                   << "2,5"
                                   << "2,50";
        QTest::newRow("two places") << "2.51"
                                    << "2,51"
                                    << "2,51";
        QTest::newRow("three places, trailing zero") << "2.510"
                                                     << "2,51"
                                                     << "2,51";
        QTest::newRow("three places") << "2.513"
                                      << "2,513"
                                      << "2,513";
        QTest::newRow("surcharged price") << "10.1234"
                                          << "10,1234"
                                          << "10,1234";
        QTest::newRow("thousands") << "1234.5"
                                   << "1.234,5"
                                   << "1.234,50";
        QTest::newRow("negative") << "-0.25"
                                  << "-0,25"
                                  << "-0,25";
    }
    void decimaisComoGuardados() {
        QFETCH(QString, valor);
        QFETCH(QString, quantidade);
        QFETCH(QString, preco);
        const Decimal d = Decimal::parse(valor.toStdString()).value();
        QCOMPARE(formato::quantidade(d), quantidade);
        QCOMPARE(formato::preco(d), preco);
    }

    // The order a customer checks with a calculator: every figure whole, the issuer's name and address
    // and the codes and units uncut, and on the portrait models without commission and on the
    // landscape one the printed parts add up to the printed total (the ICMS-ST and the discount
    // shown, the freight counted only when it is in the total).
    void pedidoDescrito_data() {
        QTest::addColumn<int>("modelo");
        QTest::addColumn<int>("fconta");
        QTest::addColumn<bool>("ipiNoPreco");
        for (int m : {1, 3, 4}) {
            const QByteArray nome = "model " + QByteArray::number(m);
            QTest::newRow((nome + ", freight in the total").constData()) << m << 2 << false;
            QTest::newRow((nome + ", freight outside, IPI in a price").constData()) << m << 1 << true;
        }
        QTest::newRow("model 2") << 2 << 2 << false;
    }
    void pedidoDescrito() {
        QFETCH(int, modelo);
        QFETCH(int, fconta);
        QFETCH(bool, ipiNoPreco);
        test::TempDataFolder pasta;
        test::PedidoDescrito descrito;
        descrito.fconta = fconta;
        descrito.ipiNoPreco = ipiNoPreco;
        test::prepararPedidoDescrito(pasta.store(), descrito);
        // The issuer's logo in the program folder.
        QTemporaryDir programa;
        QVERIFY(QDir(programa.path()).mkpath(QStringLiteral("tmp")));
        QImage figura(300, 120, QImage::Format_RGB32);
        figura.fill(Qt::darkBlue);
        QVERIFY(figura.save(programa.filePath(QStringLiteral("tmp/logo2.png"))));
        QVERIFY(figura.save(programa.filePath(QStringLiteral("logo1.bmp"))));
        const QString pdf = pasta.path() + QStringLiteral("/descrito.pdf");
        const QString falhou =
            imprimirComQavtool(pasta.path(), test::kNumeroDescrito, modelo, pdf, programa.path());
        QVERIFY2(falhou.isEmpty(), qPrintable(falhou));
        // Kept for looking at when asked to.
        if (const QString guardar = qEnvironmentVariable("QAV_GUARDAR_PDF"); !guardar.isEmpty()) {
            QDir().mkpath(guardar);
            const QString copia = QStringLiteral("%1/modelo%2-fconta%3%4.pdf")
                                      .arg(guardar)
                                      .arg(modelo)
                                      .arg(fconta)
                                      .arg(ipiNoPreco ? QStringLiteral("-ipi-no-preco") : QString());
            QFile::remove(copia);
            QFile::copy(pdf, copia);
        }
        QCOMPARE(imagensPdf(pdf).size(), 1);

        const QString texto = pdfParaTexto(pdf);
        const QString cru = pdfParaTextoCru(pdf);
        QVERIFY2(!texto.contains(QChar(0x2026)), "something was cut");
        QVERIFY2(cru.contains(test::nomeEmpresaDescrita()), qPrintable(cru));
        QVERIFY2(cru.contains(QStringLiteral("Rodovia BR-116, km 146, nr 15.500, Pavilhão Norte")) &&
                     cru.contains(QStringLiteral("Galpão 3")) &&
                     cru.contains(QStringLiteral("Distrito Industrial")),
                 qPrintable(cru));
        // 2,510 kg at 10,1234 is 25,41; 12,5 m at 22,10.
        QVERIFY2(texto.contains(QStringLiteral("2,51 ")) && texto.contains(QStringLiteral("12,5 ")),
                 qPrintable(texto));
        if (modelo != 3) {
            QVERIFY(texto.contains(QStringLiteral("10,1234")));
            QVERIFY(texto.contains(QStringLiteral("150,3333")));
            QVERIFY(texto.contains(QStringLiteral("QUILO")) && texto.contains(QStringLiteral("CAIXA")));
        } else {
            QVERIFY(texto.contains(QStringLiteral("ABC-1234567890")) &&
                    texto.contains(QStringLiteral("7891234567895")));
            QVERIFY(texto.contains(QStringLiteral("QUILO")) && texto.contains(QStringLiteral("CAIXA")));
        }
        if (modelo == 2)
            return;

        const auto caixas = caixasDosTotais(texto);
        QVERIFY2(!caixas.isEmpty(), qPrintable(texto));
        Decimal soma, impresso;
        QStringList rotulos;
        for (const auto& [rotulo, valor] : caixas) {
            rotulos << rotulo;
            if (rotulo == QStringLiteral("Total do Pedido"))
                impresso = valor;
            else if (rotulo.contains(QStringLiteral("Desconto")))
                soma -= valor;
            else if (!rotulo.contains(QStringLiteral("fora do total")) &&
                     !QStringList{QStringLiteral("m³"), QStringLiteral("Peso Bruto"),
                                  QStringLiteral("Volume")}
                          .contains(rotulo))
                soma += valor;
        }
        const auto documento = lerDocumento(pasta.store(), kIdPedidoImpresso, OrdemItens::Produto, nullptr);
        QVERIFY(documento);
        QCOMPARE(impresso, modelo == 4 ? totalSemIpi(*documento) : documento->total);
        QVERIFY2(soma == impresso, qPrintable(rotulos.join(QLatin1Char('|')) + QStringLiteral(": ") +
                                              QString::fromStdString(soma.toString(2))));
        QCOMPARE(rotulos.contains(QStringLiteral("Frete (fora do total)")), fconta != 2);
        if (modelo != 3) {
            QVERIFY(rotulos.contains(QStringLiteral("ICMS-ST")));
            QVERIFY(rotulos.contains(QStringLiteral("Desconto")));
        } else {
            // The items' own discounts and the order's 22,30, not the sum of its rounded shares.
            QCOMPARE(caixas[rotulos.indexOf(QStringLiteral("Total do Desconto"))].second,
                     Decimal::parse("31.32").value());
        }
        if (modelo == 1)
            QCOMPARE(rotulos.contains(QStringLiteral("I.P.I. fora do preço")), ipiNoPreco);
        if (modelo == 4)
            QCOMPARE(texto.contains(QStringLiteral("exceto itens c/ IPI no preço")), ipiNoPreco);
    }

    // The logo is stored once in the PDF however many pages carry it.
    void logoUmaVez_data() {
        QTest::addColumn<int>("modelo");
        QTest::newRow("portrait") << 1;
        QTest::newRow("landscape") << 3;
    }
    void logoUmaVez() {
        QFETCH(int, modelo);
        test::TempDataFolder pasta;
        test::PedidoDescrito descrito;
        descrito.itensRepetidos = 297;
        test::prepararPedidoDescrito(pasta.store(), descrito);
        QTemporaryDir programa;
        QVERIFY(QDir(programa.path()).mkpath(QStringLiteral("tmp")));
        QImage figura(300, 120, QImage::Format_RGB32);
        figura.fill(Qt::darkGreen);
        QVERIFY(figura.save(programa.filePath(QStringLiteral("tmp/logo2.png"))));
        QVERIFY(figura.save(programa.filePath(QStringLiteral("logo1.bmp"))));
        const QString pdf = pasta.path() + QStringLiteral("/longo.pdf");
        const QString falhou =
            imprimirComQavtool(pasta.path(), test::kNumeroDescrito, modelo, pdf, programa.path());
        QVERIFY2(falhou.isEmpty(), qPrintable(falhou));
        const QString info = infoPdf(pdf);
        static const QRegularExpression paginas(QStringLiteral("Pages:\\s+(\\d+)"));
        QVERIFY2(paginas.match(info).captured(1).toInt() > 5, qPrintable(info));
        const QStringList imagens = imagensPdf(pdf);
        QVERIFY2(imagens.size() == 1, qPrintable(imagens.join(QLatin1Char('\n'))));
    }

    // The PDFs live in a folder of the user's own; those more than a day old go at start, and nothing
    // else in the folder does.
    void pastaDosPdfs() {
        QTemporaryDir cache;
        const QByteArray antes = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        const auto restaurar = qScopeGuard([&] {
            if (antes.isEmpty())
                qunsetenv("XDG_CACHE_HOME");
            else
                qputenv("XDG_CACHE_HOME", antes);
        });
        QVERIFY(pastaPdfPedidos().startsWith(cache.path()));
        QVERIFY(arquivoPdfPedido(123).endsWith(QStringLiteral("/pedido_00000123.pdf")));
        const Resultado preparada = prepararPastaPdfPedidos();
        QVERIFY2(preparada.ok, qPrintable(preparada.erro));
        const auto dono = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
        const auto outros = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        // An existing folder left open to others is closed again.
        QVERIFY(QFile::setPermissions(pastaPdfPedidos(), dono | outros));
        QVERIFY(prepararPastaPdfPedidos().ok);
        QCOMPARE(QFileInfo(pastaPdfPedidos()).permissions() & (dono | outros), dono);

        const QDateTime agora = QDateTime::currentDateTime();
        const auto criar = [&](const QString& nome, qint64 horas) {
            QFile f(QDir(pastaPdfPedidos()).filePath(nome));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("%PDF");
            f.close();
            QVERIFY(f.open(QIODevice::Append));
            QVERIFY(f.setFileTime(agora.addSecs(-horas * 3600), QFileDevice::FileModificationTime));
        };
        criar(QStringLiteral("pedido_00000001.pdf"), 25);
        criar(QStringLiteral("pedido_00000002.pdf.tmp"), 48);
        criar(QStringLiteral("pedido_00000003.pdf"), 23);
        criar(QStringLiteral("notas.pdf"), 100);
        QCOMPARE(removerPdfsAntigos(agora), 2);
        QCOMPARE(QDir(pastaPdfPedidos()).entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("notas.pdf"), QStringLiteral("pedido_00000003.pdf")}));
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
        const Resultado cheio = gravarPdf(pdf, *documento, Modelo::RetratoSemComissao, {});
        setrlimit(RLIMIT_FSIZE, &original);
        std::signal(SIGXFSZ, sinal);
        QVERIFY(!cheio.ok);
        QVERIFY2(cheio.erro.startsWith(QStringLiteral("Disco cheio ao gravar ")), qPrintable(cheio.erro));
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
        const Resultado inteiro = gravarPdf(pdf, *documento, Modelo::RetratoSemComissao, {});
        QVERIFY2(inteiro.ok, qPrintable(inteiro.erro));
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

QAV_TEST_MAIN(TestImpressaoPdf)
#include "tst_impressaopdf.moc"
