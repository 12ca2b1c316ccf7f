// The flex balance window over a real data folder: the four values in Brazilian format, read-only,
// and the window closing with "&Fechar".
#include "store/core/Table.h"
#include "sync/widgets/ConsultaSaldoFlex.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace qav;

class TestGuiConsultaSaldoFlex : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mostraOsQuatroValores();
    void tabelaIlegivelDitaNaJanela();
};

// A server balance of 1.234,50, an open order that used 2.000,00 of flex and one that added 15,25.
void TestGuiConsultaSaldoFlex::mostraOsQuatroValores() {
    test::TempDataFolder pasta;
    {
        Table cfg(pasta.store(), "qavcfg"), pedidos(pasta.store(), "pedidos"),
            itens(pasta.store(), "peditens");
        QVERIFY(cfg.open() && pedidos.open() && itens.open());
        cfg.clear();
        cfg.rec().setInteger("ID_EMPRESA", 1);
        cfg.rec().setInteger("PERMITIR_FLEX", 1);
        cfg.rec().setDecimal("SALDO_FLEX", *Decimal::parse("1234.50"));
        QCOMPARE(cfg.add(), Status::Ok);
        const char* const flex[] = {"-2000", "15.25"};
        for (int n = 1; n <= 2; ++n) {
            pedidos.clear();
            pedidos.rec().setInteger("ID", n);
            pedidos.rec().setInteger("SITUA", n);
            pedidos.rec().setInteger("PED_FLEX", 1);
            QCOMPARE(pedidos.add(), Status::Ok);
            itens.clear();
            itens.rec().setInteger("ID_VENDASI", n);
            itens.rec().setInteger("ID_VENDA", n);
            itens.rec().setDecimal("VL_FLEX", *Decimal::parse(flex[n - 1]));
            QCOMPARE(itens.add(), Status::Ok);
        }
    }
    QWidget moldura;
    auto* janela = new ConsultaSaldoFlex(pasta.path(), 1, &moldura);
    moldura.show();
    QVERIFY(QTest::qWaitForWindowExposed(&moldura));
    const auto valor = [janela](const char* nome) {
        auto* campo = janela->findChild<QLineEdit*>(QString::fromLatin1(nome));
        return campo && campo->isReadOnly() ? campo->text() : QStringLiteral("(sem campo)");
    };
    QCOMPARE(valor("saldoEmpresa"), QStringLiteral("1.234,50"));
    QCOMPARE(valor("flexOutrosDeb"), QStringLiteral("-2.000,00"));
    QCOMPARE(valor("flexOutrosCre"), QStringLiteral("15,25"));
    QCOMPARE(valor("saldoFlex"), QStringLiteral("-750,25"));
    // What a new order may use: the positive flex counts only once transmitted.
    QCOMPARE(valor("saldoDisponivel"), QStringLiteral("-765,50"));
    auto* fechar = janela->findChild<QPushButton*>(QStringLiteral("fechar"));
    QVERIFY(fechar);
    QCOMPARE(fechar->text(), QStringLiteral("&Fechar"));
    QTest::mouseClick(fechar, Qt::LeftButton);
    QTRY_VERIFY(!moldura.isVisible());
}

// An order file that cannot be read: the window says which and why, and shows no balance at all
// rather than zeros that would read as a balance of 0.
void TestGuiConsultaSaldoFlex::tabelaIlegivelDitaNaJanela() {
    test::TempDataFolder pasta;
    {
        QFile pedidos(pasta.filePath("pedidos.tps"));
        QVERIFY(pedidos.open(QIODevice::WriteOnly | QIODevice::Truncate));
        pedidos.write(QByteArray(4096, 'x'));
    }
    ConsultaSaldoFlex janela(pasta.path(), 1);
    janela.show();
    QVERIFY(QTest::qWaitForWindowExposed(&janela));
    auto* falha = janela.findChild<QLabel*>(QStringLiteral("falha"));
    QVERIFY(falha && falha->isVisible());
    QVERIFY2(falha->text().startsWith(QStringLiteral("Não foi possível calcular o saldo flex: Erro (")) &&
                 falha->text().contains(QStringLiteral("pedidos.tps")),
             qPrintable(falha->text()));
    for (const char* nome :
         {"saldoEmpresa", "flexOutrosDeb", "flexOutrosCre", "saldoDisponivel", "saldoFlex"})
        QCOMPARE(janela.findChild<QLineEdit*>(QString::fromLatin1(nome))->text(), QString());
}

QAV_TEST_MAIN(TestGuiConsultaSaldoFlex)
#include "tst_gui_consultasaldoflex.moc"
