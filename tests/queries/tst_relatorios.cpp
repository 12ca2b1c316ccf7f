// The reports of the "Relatórios" menu over the demonstration folder: the totals each prints are the
// sums SQL makes over the same tables with the same choices; the commission of every order is the one
// the order form's calculation gives (opened as the form opens it, its profit analysis); the CSV that
// qavtool writes reads back with Python's csv module to the same totals; a long report stops when its
// progress is cancelled.
#include "orders/core/AnaliseLucro.h"
#include "orders/core/CamposPedido.h"
#include "orders/core/EdicaoPedido.h"
#include "printout/core/ArquivoPdf.h"
#include "queries/core/RelatoriosMenu.h"
#include "store/core/Clock.h"
#include "store/core/FormatoBr.h"
#include "store/core/Table.h"
#include "tests/support/Programs.h"
#include "tests/support/TestMain.h"
#include "tools/qavdemo/DemoData.h"

#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

using namespace qav;
using namespace qav::relatorio;
using namespace Qt::StringLiterals;

namespace {

const Date kHoje = Date::fromYmd(2026, 12, 8);

// What a report printed: its detail rows and the cells of its grand-total row.
struct Impresso {
    int detalhes = 0;
    QStringList total;
    std::vector<Linha> subtotais;
};

Impresso ler(Fonte& fonte) {
    Impresso i;
    if (!fonte.comecar())
        return i;
    Linha l;
    while (fonte.proxima(l)) {
        if (l.tipo == Tipo::Detalhe)
            ++i.detalhes;
        else if (l.tipo == Tipo::Total)
            i.total = l.celulas;
        else if (l.tipo == Tipo::Subtotal)
            i.subtotais.push_back(l);
    }
    return i;
}

// A printed amount in hundredths (thousandths for weights): "1.234,56" -> 123456.
qint64 unidades(const QString& texto, int casas) {
    const std::optional<Decimal> d = br::lerNumero(texto);
    if (!d)
        return -1;
    return QString::fromStdString((*d * Decimal(casas == 3 ? 1000 : 100)).toString(0)).toLongLong();
}

} // namespace

class TstRelatorios : public QObject {
    Q_OBJECT

    QTemporaryDir m_raiz;
    QString m_pasta;

    // One number from SQL over a table file of the folder.
    qint64 sql(const char* arquivo, const QString& consulta) {
        sqlite3* db = nullptr;
        qint64 valor = -1;
        if (sqlite3_open_v2(QDir(m_pasta).filePath(QString::fromLatin1(arquivo)).toUtf8().constData(), &db,
                            SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(db, consulta.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK &&
                sqlite3_step(st) == SQLITE_ROW)
                valor = sqlite3_column_int64(st, 0);
            else
                qWarning("%s: %s", qPrintable(consulta), sqlite3_errmsg(db));
            sqlite3_finalize(st);
        }
        sqlite3_close(db);
        return valor;
    }
    // The sum of a column in hundredths (or thousandths), exact whatever the column's storage.
    static QString soma(const char* campo, int casas = 2) {
        return u"sum(CAST(round(CAST(\"%1\" AS REAL) * %2) AS INTEGER))"_s.arg(QString::fromLatin1(campo))
            .arg(casas == 3 ? 1000 : 100);
    }

private Q_SLOTS:
    void initTestCase() {
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
        m_pasta = m_raiz.filePath(u"demo"_s);
        demo::Options opcoes;
        opcoes.hoje = kHoje;
        const demo::Outcome gerado = demo::generate(m_pasta, opcoes);
        QVERIFY2(gerado.ok, qPrintable(gerado.error));
    }
    void cleanupTestCase() { Clock::setOverride({}); }

    void clientesCountAndLimits_data() {
        QTest::addColumn<int>("ordem");
        QTest::addColumn<int>("situacao");
        QTest::addColumn<qlonglong>("municipio");
        QTest::addColumn<QString>("onde");
        QTest::newRow("active by name") << 0 << 0 << 0LL << u"ATIVO = 1"_s;
        QTest::newRow("inactive by code") << 1 << 1 << 0LL << u"ATIVO = 0"_s;
        QTest::newRow("all by municipality") << 2 << 2 << 0LL << u"1"_s;
        QTest::newRow("all by state") << 3 << 2 << 0LL << u"1"_s;
        QTest::newRow("one municipality") << 2 << 2 << 8LL << u"ID_MUNICIPIO = 8"_s;
        QTest::newRow("one municipality by name") << 0 << 0 << 8LL << u"ID_MUNICIPIO = 8 AND ATIVO = 1"_s;
    }
    // Every customer is listed once, whichever order: the count and the credit limits add up.
    void clientesCountAndLimits() {
        QFETCH(int, ordem);
        QFETCH(int, situacao);
        QFETCH(qlonglong, municipio);
        QFETCH(QString, onde);
        Store store(m_pasta);
        const auto fonte = relatorioClientes(
            store, 1,
            {static_cast<OrdemClientes>(ordem), static_cast<SituacaoClientes>(situacao), municipio});
        const Impresso i = ler(*fonte);
        QVERIFY2(fonte->erro().isEmpty(), qPrintable(fonte->erro()));
        const qint64 quantos = sql("clientes.tps", u"SELECT count(*) FROM clientes WHERE "_s + onde);
        QVERIFY(quantos > 0);
        QCOMPARE(i.detalhes, quantos);
        QCOMPARE(i.total.value(0), u"Total: %1 cliente(s)"_s.arg(quantos));
        QCOMPARE(unidades(i.total.value(6), 2),
                 sql("clientes.tps", u"SELECT %1 FROM clientes WHERE %2"_s.arg(soma("LIMCRED"), onde)));
        // The preview draws a report again on every change of its page setup: the same lines again.
        const Impresso outra = ler(*fonte);
        QCOMPARE(outra.detalhes, i.detalhes);
        QCOMPARE(outra.total, i.total);
    }

    void pedidosTotals_data() {
        QTest::addColumn<int>("situacao");
        QTest::addColumn<int>("subtotal");
        QTest::addColumn<int>("diasAntes"); // start of the period, days before today (-1: none)
        QTest::addColumn<qlonglong>("cliente");
        QTest::newRow("all, per day") << 5 << 0 << -1 << 0LL;
        QTest::newRow("all, per customer") << 5 << 1 << -1 << 0LL;
        QTest::newRow("pending, last week") << 1 << 0 << 7 << 0LL;
        QTest::newRow("transmitted, per customer") << 3 << 1 << -1 << 0LL;
        QTest::newRow("one customer") << 5 << 0 << -1 << 3LL;
    }
    // The grand totals are the sums over the orders chosen, and the subtotals add up to them.
    void pedidosTotals() {
        QFETCH(int, situacao);
        QFETCH(int, subtotal);
        QFETCH(int, diasAntes);
        QFETCH(qlonglong, cliente);
        FiltroPedidos f;
        f.situacao = situacao;
        f.subtotal = static_cast<SubtotalPedidos>(subtotal);
        f.cliente = cliente;
        QString onde = u"ID_EMPRESA = 1"_s;
        if (diasAntes >= 0) {
            f.inicio = kHoje.addDays(-diasAntes);
            f.fim = kHoje;
            onde += u" AND DATA BETWEEN %1 AND %2"_s.arg(f.inicio.dayNumber()).arg(f.fim.dayNumber());
        }
        if (situacao != 5)
            onde += u" AND SITUA = %1"_s.arg(situacao);
        if (cliente != 0)
            onde += u" AND CLIEN = %1"_s.arg(cliente);
        Store store(m_pasta);
        const auto fonte = relatorioPedidos(store, 1, f);
        const Impresso i = ler(*fonte);
        QVERIFY2(fonte->erro().isEmpty(), qPrintable(fonte->erro()));
        const qint64 quantos = sql("pedidos.tps", u"SELECT count(*) FROM pedidos WHERE "_s + onde);
        QVERIFY(quantos > 0);
        QCOMPARE(i.detalhes, quantos);
        QCOMPARE(i.total.value(0), u"Total Geral: %1 pedido(s)"_s.arg(quantos));
        const std::pair<int, const char*> colunas[] = {{4, "TOTPR"}, {5, "IPI"},   {6, "VL_ICMSST"},
                                                       {7, "DESCV"}, {8, "TOTAL"}, {9, "PESO_BRUTO"}};
        for (const auto& [coluna, campo] : colunas) {
            const int casas = coluna == 9 ? 3 : 2;
            const qint64 esperado =
                sql("pedidos.tps", u"SELECT %1 FROM pedidos WHERE %2"_s.arg(soma(campo, casas), onde));
            QCOMPARE(unidades(i.total.value(coluna), casas), esperado);
            qint64 subtotais = 0;
            for (const Linha& s : i.subtotais)
                subtotais += unidades(s.celulas.value(coluna), casas);
            QCOMPARE(subtotais, esperado);
        }
    }

    // The history report counts and sums the office's orders of the period and situation.
    void pedidosConsultaTotals() {
        Store store(m_pasta);
        const Date inicio = kHoje.addDays(-120);
        for (int situacao : {0, 2, 3}) {
            const auto fonte = relatorioPedidosConsulta(store, 1, {inicio, kHoje, situacao, situacao == 2});
            const Impresso i = ler(*fonte);
            QVERIFY2(fonte->erro().isEmpty(), qPrintable(fonte->erro()));
            QString onde = u"ID_EMPRESA = 1 AND DATA_PEDIDO BETWEEN %1 AND %2"_s.arg(inicio.dayNumber())
                               .arg(kHoje.dayNumber());
            if (situacao != 0)
                onde += u" AND SITUACAO = %1"_s.arg(situacao);
            const qint64 quantos = sql("pedcon.tps", u"SELECT count(*) FROM pedcon WHERE "_s + onde);
            QVERIFY(quantos > 0);
            QCOMPARE(i.detalhes, quantos);
            QCOMPARE(unidades(i.total.value(9), 2),
                     sql("pedcon.tps", u"SELECT %1 FROM pedcon WHERE %2"_s.arg(soma("VALOR_TOTAL"), onde)));
        }
    }

    // Inactive: the active customers whose newest order (local or history, not cancelled) is at least
    // N days old or who never ordered; longest first.
    void clientesInativos() {
        Store store(m_pasta);
        for (int dias : {30, 90, 400}) {
            const auto fonte = relatorioClientesInativos(store, 1, {dias, kHoje});
            QVERIFY(fonte->comecar());
            Linha l;
            int detalhes = 0, semPedido = 0, anterior = std::numeric_limits<int>::max();
            QStringList total;
            while (fonte->proxima(l)) {
                if (l.tipo == Tipo::Total) {
                    total = l.celulas;
                    continue;
                }
                ++detalhes;
                if (l.celulas.value(6).isEmpty()) {
                    ++semPedido;
                    continue;
                }
                QCOMPARE(semPedido, 0); // never-ordered ones come last
                const int d = l.celulas.value(6).toInt();
                QVERIFY(d >= dias && d <= anterior);
                anterior = d;
            }
            QVERIFY2(fonte->erro().isEmpty(), qPrintable(fonte->erro()));
            // The newest order of every customer, by SQL over both tables.
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open_v2(QDir(m_pasta).filePath(u"clientes.tps"_s).toUtf8().constData(), &db,
                                     SQLITE_OPEN_READONLY, nullptr),
                     SQLITE_OK);
            const QString anexar = u"ATTACH '%1' AS p; ATTACH '%2' AS h;"_s.arg(
                QDir(m_pasta).filePath(u"pedidos.tps"_s), QDir(m_pasta).filePath(u"pedcon.tps"_s));
            QCOMPARE(sqlite3_exec(db, anexar.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
            const QString ultimos =
                u"WITH u AS (SELECT CLIEN AS c, DATA AS d, TOTAL AS v FROM p.pedidos WHERE ID_EMPRESA = 1 "
                u"AND SITUA <> 4 "
                "UNION ALL SELECT ID_CLIENTE, DATA_PEDIDO, CAST(VALOR_TOTAL AS REAL) FROM h.pedcon WHERE "
                "ID_EMPRESA = 1 "
                "AND SITUACAO <> 4), m AS (SELECT c, max(d) AS d FROM u GROUP BY c), "
                "mv AS (SELECT m.c, m.d, max(u.v) AS v FROM m JOIN u ON u.c = m.c AND u.d = m.d GROUP BY "
                "m.c) "
                "SELECT count(*), sum(CASE WHEN mv.c IS NULL THEN 1 ELSE 0 END), "
                "coalesce(sum(CAST(round(mv.v * 100) AS INTEGER)), 0) FROM clientes "
                "LEFT JOIN mv ON mv.c = clientes.ID WHERE ATIVO = 1 AND (mv.c IS NULL OR mv.d <= %1)"_s.arg(
                    kHoje.addDays(-dias).dayNumber());
            sqlite3_stmt* st = nullptr;
            QCOMPARE(sqlite3_prepare_v2(db, ultimos.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK);
            QCOMPARE(sqlite3_step(st), SQLITE_ROW);
            const qint64 quantos = sqlite3_column_int64(st, 0), nunca = sqlite3_column_int64(st, 1),
                         valor = sqlite3_column_int64(st, 2);
            sqlite3_finalize(st);
            sqlite3_close(db);
            QCOMPARE(detalhes, quantos);
            QCOMPARE(semPedido, nunca);
            QCOMPARE(total.value(0), u"Total: %1 cliente(s)"_s.arg(quantos));
            QCOMPARE(unidades(total.value(5), 2), valor);
        }
    }

    // Every order's commission is the one the order form's calculation gives: the order opened as the
    // form opens it, recalculated, and its profit analysis's commission total. The rate printed on
    // each item is the one stored by the form.
    void comissaoIsTheOrderCalculation() {
        Store store(m_pasta);
        const auto fonte = relatorioComissao(store, 1, {});
        QVERIFY(fonte->comecar());
        std::map<int, QString> porPedido; // order number -> printed commission
        Linha l;
        QStringList total;
        int itens = 0;
        while (fonte->proxima(l)) {
            if (l.tipo == Tipo::Subtotal && l.celulas.value(0).startsWith(u"Pedido "_s))
                porPedido[l.celulas.value(0).mid(7).toInt()] = l.celulas.value(8);
            else if (l.tipo == Tipo::Total)
                total = l.celulas;
            else if (l.tipo == Tipo::Detalhe)
                ++itens;
        }
        QVERIFY2(fonte->erro().isEmpty(), qPrintable(fonte->erro()));
        QCOMPARE(qint64(porPedido.size()),
                 sql("pedidos.tps", u"SELECT count(*) FROM pedidos WHERE ID_EMPRESA = 1 AND SITUA <> 4"_s));
        Decimal geral;
        QStringList ids;
        Table pedidos(store, "pedidos");
        QVERIFY(pedidos.open());
        pedidos.setFilter("\"SITUA\" <> 4");
        QCOMPARE(pedidos.seekFirst("KEYID"), Status::Ok);
        while (pedidos.next() == Status::Ok) {
            const int id = static_cast<int>(pedidos.rec().integer("ID"));
            const int numero = static_cast<int>(pedidos.rec().integer("NUMER"));
            ids << QString::number(id);
            EdicaoPedido edicao(store);
            QVERIFY(edicao.abrir(id).ok());
            DadosPedido dados;
            QVERIFY(edicao.carregarDados(dados).ok());
            edicao.recalcular(dados, {});
            Pedido pedido;
            lerRegistro(edicao.pedido(), pedido);
            std::vector<PedidoItem> linhas;
            for (const ItemEmEdicao& i : edicao.itens()) {
                linhas.emplace_back();
                lerRegistro(i.item, linhas.back());
            }
            Mensagens mensagens;
            const std::optional<AnaliseLucro> analise = analisarLucro(pedido, linhas, dados, mensagens);
            QVERIFY2(analise, qPrintable(u"pedido %1"_s.arg(numero)));
            QVERIFY(porPedido.contains(numero));
            QCOMPARE(porPedido[numero], br::numero(analise->TT_COMISSAO, 2));
            geral += analise->TT_COMISSAO;
        }
        QVERIFY(geral > Decimal(0));
        QCOMPARE(total.value(8), br::numero(geral, 2));
        QCOMPARE(qint64(itens),
                 sql("peditens.tps",
                     u"SELECT count(*) FROM peditens WHERE ID_VENDA IN (%1)"_s.arg(ids.join(u','))));
    }

    void csvReadBackByPython_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QString>("soma"); // the column Python adds up
        // What SQL gives for it, in hundredths (or thousandths): "file|query|places"; %1 in the query
        // stands for the ids of the orders that are not cancelled.
        QTest::addColumn<QString>("total");
        QTest::newRow("clientes")
            << QStringList{u"clientes"_s, u"--situacao"_s, u"todos"_s} << u"Limite"_s
            << u"clientes.tps|SELECT sum(CAST(round(LIMCRED * 100) AS INTEGER)) FROM clientes|2"_s;
        QTest::newRow("pedidos")
            << QStringList{u"pedidos"_s, u"--subtotal"_s, u"cliente"_s} << u"Total"_s
            << u"pedidos.tps|SELECT sum(CAST(round(TOTAL * 100) AS INTEGER)) FROM pedidos|2"_s;
        QTest::newRow("pedidos weight")
            << QStringList{u"pedidos"_s} << u"Peso (kg)"_s
            << u"pedidos.tps|SELECT sum(CAST(round(CAST(PESO_BRUTO AS REAL) * 1000) AS INTEGER)) FROM pedidos|3"_s;
        // Each net value to the cent, exactly, from its stored text of four places.
        QTest::newRow("comissao")
            << QStringList{u"comissao"_s} << u"Valor Líquido"_s
            << u"peditens.tps|SELECT sum((CAST(replace(VL_LIQUIDO, '.', '') AS INTEGER) + 50) / 100) "
               u"FROM peditens WHERE ID_VENDA IN (%1)|2"_s;
        QTest::newRow("pedidos-consulta")
            << QStringList{u"pedidos-consulta"_s, u"--itens"_s} << u"Valor"_s
            << u"pedcon.tps|SELECT sum(CAST(round(CAST(VALOR_TOTAL AS REAL) * 100) AS INTEGER)) FROM pedcon|2"_s;
        QTest::newRow("clientes-inativos")
            << QStringList{u"clientes-inativos"_s, u"--dias"_s, u"30"_s} << u"Valor"_s << QString();
    }
    // qavtool writes the CSV (and the PDF); Python's csv module reads it: the detail rows add up to the
    // total row, and both to what SQL sums over the table.
    void csvReadBackByPython() {
        QFETCH(QStringList, argumentos);
        QFETCH(QString, soma);
        QFETCH(QString, total);
        const QString csv = m_raiz.filePath(u"r.csv"_s), pdf = m_raiz.filePath(u"r.pdf"_s);
        QProcess qavtool;
        qavtool.start(test::programPath(u"qavtool"_s),
                      QStringList{u"relatorio"_s, u"--pasta"_s, m_pasta, u"--empresa"_s, u"1"_s, u"--hoje"_s,
                                  u"08/12/2026"_s, u"--csv"_s, csv, u"--pdf"_s, pdf} +
                          argumentos);
        QVERIFY(qavtool.waitForFinished(120000));
        QVERIFY2(qavtool.exitCode() == 0, qavtool.readAllStandardError().constData());
        QString motivo;
        QVERIFY2(impressao::pdfCompleto(pdf, &motivo), qPrintable(motivo));

        const QString script = uR"(
import csv, json, sys
from decimal import Decimal
with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:
    linhas = list(csv.reader(f, delimiter=';'))
cabecalho, corpo = linhas[0], linhas[1:]
c = cabecalho.index(sys.argv[2])
detalhes = [l for l in corpo if not l[0].startswith('Total')]
totais = [l for l in corpo if l[0].startswith('Total')]
valor = lambda t: Decimal(t.replace(',', '.')) if t else Decimal(0)
print(json.dumps({'colunas': len(cabecalho), 'larguras': sorted({len(l) for l in corpo}),
                  'detalhes': len(detalhes), 'soma': str(sum(valor(l[c]) for l in detalhes)),
                  'totais': len(totais), 'total': totais[-1][c] if totais else ''}))
)"_s;
        QProcess python;
        python.start(u"python3"_s, {u"-c"_s, script, csv, soma});
        QVERIFY(python.waitForFinished(60000));
        QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
        const QJsonObject lido = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
        QVERIFY(lido[u"detalhes"_s].toInt() > 0);
        QCOMPARE(lido[u"totais"_s].toInt(), 1); // only the grand total; subtotals stay in the printout
        QCOMPARE(lido[u"larguras"_s].toVariant().toList(), QVariantList{lido[u"colunas"_s].toInt()});
        const QString somado = lido[u"soma"_s].toString(), impresso = lido[u"total"_s].toString();
        QCOMPARE(br::lerNumero(QString(somado).replace(u'.', u',')), br::lerNumero(impresso));
        if (!total.isEmpty()) {
            const QStringList p = total.split(u'|');
            const int casas = p[2].toInt();
            QString consulta = p[1];
            if (consulta.contains(u"%1"_s)) {
                QStringList ids;
                Store store(m_pasta);
                Table pedidos(store, "pedidos");
                QVERIFY(pedidos.open());
                pedidos.setFilter("\"SITUA\" <> 4");
                QCOMPARE(pedidos.seekFirst("KEYID"), Status::Ok);
                while (pedidos.next() == Status::Ok)
                    ids << QString::number(pedidos.rec().integer("ID"));
                consulta = consulta.arg(ids.join(u','));
            }
            QCOMPARE(unidades(impresso, casas), sql(p[0].toLatin1().constData(), consulta));
        }
    }

    // A long report stops at the progress's "Cancelar": fewer pages, told as cancelled, no error.
    void cancelledWhileDrawing() {
        Store store(m_pasta);
        const auto fonte = relatorioPedidosConsulta(store, 1, {{}, {}, 0, true});
        QPdfWriter completo(m_raiz.filePath(u"completo.pdf"_s));
        const ResultadoRelatorio tudo = desenhar(completo, {u"Empresa"_s, kHoje}, *fonte);
        QVERIFY(tudo.ok());
        QVERIFY(tudo.paginas > 3);
        int chamadas = 0;
        QList<int> feitos;
        QPdfWriter parcial(m_raiz.filePath(u"parcial.pdf"_s));
        const ResultadoRelatorio parte =
            desenhar(parcial, {u"Empresa"_s, kHoje}, *fonte, false, [&](int feito) {
                feitos << feito;
                return ++chamadas < 1;
            });
        QVERIFY(parte.cancelado);
        QVERIFY(parte.erro.isEmpty());
        QCOMPARE(chamadas, 1);
        QVERIFY(feitos[0] > 0 && feitos[0] < 100);
        QVERIFY(parte.paginas < tudo.paginas);
    }
};

namespace {
int run(int argc, char** argv) {
    // The printout needs fonts, never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TstRelatorios t;
    return QTest::qExec(&t, argc, argv);
}
} // namespace
QAV_TEST_MAIN_FUNCTION(run)

#include "tst_relatorios.moc"
