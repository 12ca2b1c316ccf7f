// The receivables rules at their edges: which balances count as paid or open, the days late (none
// without a due date), and when a due date is shown as overdue.
#include "queries/core/ContasReceber.h"
#include "queries/core/HistoricoPedidos.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QtTest>

Q_DECLARE_METATYPE(qav::Date)

using namespace qav;
using namespace Qt::StringLiterals;

namespace {
const Date kHoje = Date::fromYmd(2026, 12, 8);
}

class TestContasReceber : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void situacaoPeloSaldo_data() {
        QTest::addColumn<QString>("saldo");
        QTest::addColumn<bool>("paga");
        QTest::addColumn<bool>("aberta");
        QTest::newRow("nothing owed") << u"0.00"_s << true << false;
        QTest::newRow("credit") << u"-3.00"_s << true << false;
        QTest::newRow("one cent") << u"0.01"_s << false << false;
        QTest::newRow("nine cents") << u"0.09"_s << false << false;
        QTest::newRow("ten cents") << u"0.10"_s << false << true;
        QTest::newRow("ten reais") << u"10.00"_s << false << true;
    }
    void situacaoPeloSaldo() {
        QFETCH(QString, saldo);
        QFETCH(bool, paga);
        QFETCH(bool, aberta);
        const Decimal valor = *Decimal::parse(saldo.toStdString());
        QCOMPARE(ctr::naSituacao(ctr::Situacao::Pagas, valor), paga);
        QCOMPARE(ctr::naSituacao(ctr::Situacao::EmAberto, valor), aberta);
        QVERIFY(ctr::naSituacao(ctr::Situacao::Todas, valor));
    }

    void diasEAtraso_data() {
        QTest::addColumn<Date>("vencimento");
        QTest::addColumn<Date>("recebimento");
        QTest::addColumn<QString>("saldo");
        QTest::addColumn<int>("dias");
        QTest::addColumn<bool>("atrasado");
        const Date ontem = kHoje.addDays(-1);
        QTest::newRow("due yesterday, 1,00 owed") << ontem << Date() << u"1.00"_s << 1 << false;
        QTest::newRow("due yesterday, 1,01 owed") << ontem << Date() << u"1.01"_s << 1 << true;
        QTest::newRow("due today") << kHoje << Date() << u"900.00"_s << 0 << false;
        QTest::newRow("due tomorrow") << kHoje.addDays(1) << Date() << u"900.00"_s << -1 << false;
        QTest::newRow("received 3 days late")
            << ontem.addDays(-9) << ontem.addDays(-6) << u"0.00"_s << 3 << false;
        QTest::newRow("received late, part still owed")
            << ontem.addDays(-9) << ontem.addDays(-6) << u"50.00"_s << 3 << true;
        // Without a due date there is nothing to be late for (not today's day number).
        QTest::newRow("no due date") << Date() << Date() << u"50.00"_s << 0 << false;
    }
    void diasEAtraso() {
        QFETCH(Date, vencimento);
        QFETCH(Date, recebimento);
        QFETCH(QString, saldo);
        QFETCH(int, dias);
        QFETCH(bool, atrasado);
        QCOMPARE(ctr::dias(vencimento, recebimento, kHoje), dias);
        QCOMPARE(ctr::vencimentoAtrasado(vencimento, *Decimal::parse(saldo.toStdString()), kHoje), atrasado);
    }

    void textosDoHistorico() {
        QCOMPARE(historico::textoSituacao(u"   "_s, 2), u"Liberado"_s);
        QCOMPARE(historico::textoSituacao(u"Em separação "_s, 2), u"Em separação"_s);
        QCOMPARE(historico::textoSituacao({}, 9), QString());
        QCOMPARE(historico::siglaFaturamento(5), QString());
        QCOMPARE(historico::tipoVenda(u"O"_s), u"Orçamento"_s);
        QCOMPARE(historico::tipoVenda(u"X"_s), QString());
    }
};

QAV_TEST_GUILESS_MAIN(TestContasReceber)
#include "tst_contasreceber.moc"
