// The partner form and the partner list show their values whole at the size they open with.
#include "customers/core/SociosCliente.h"
#include "customers/widgets/AbaSocios.h"
#include "customers/widgets/FichaSocio.h"
#include "tests/customers/FixtureClientes.h"
#include "tests/support/TestMain.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestGuiLarguras : public QObject {
    Q_OBJECT

    static inline const QString nomeLongo = u"MADEIREIRA E MATERIAIS DE CONSTRUCAO LTD"_s; // 40 characters

private Q_SLOTS:
    void formularioDoSocioMostraONomeInteiro() {
        FixtureClientes fx;
        Record socio(*findTable("socios.tps"));
        socio.setText("NOME", nomeLongo);
        FichaSocio f(socio, Requisicao::Alterar, fx.contexto().iniJanelas());
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto* nome = f.findChild<QLineEdit*>(u"nome"_s);
        QVERIFY(nome->width() >= nome->fontMetrics().horizontalAdvance(nomeLongo));
    }

    void listaDeSociosMostraONomeInteiro() {
        FixtureClientes fx;
        adicionar(fx.store(), "socios.tps", [](Record& r) {
            r.setInteger("ID_SOCIO", 1);
            r.setInteger("ID_CLIENTE", 900001);
            r.setText("NOME", nomeLongo);
            r.setText("CPF_CNPJ", u"706.588.110-53"_s);
        });
        Table tabela(fx.store(), "socios.tps");
        QVERIFY(tabela.open());
        SociosCliente socios(tabela);
        QCOMPARE(socios.carregar(900001), Status::Ok);
        AbaSocios aba(socios, fx.contexto().iniJanelas());
        aba.resize(760, 300); // the customer form's tab
        aba.mostrar();
        aba.show();
        QVERIFY(QTest::qWaitForWindowExposed(&aba));
        auto* lista = aba.findChild<QTableWidget*>(u"socios"_s);
        QTRY_VERIFY(lista->columnWidth(0) >= lista->fontMetrics().horizontalAdvance(nomeLongo));
    }
};

QAV_TEST_MAIN(TestGuiLarguras)
#include "tst_gui_larguras.moc"
