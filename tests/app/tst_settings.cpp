#include "base/core/Settings.h"
#include "base/core/Version.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace qav;
using namespace Qt::StringLiterals;

class TestSettings : public QObject {
    Q_OBJECT

private:
    QTemporaryDir root;
    int counter = 0;
    // A program folder of its own per test, with data folders as its siblings.
    Settings freshInstallation() {
        const QString pgms = root.filePath(u"inst%1/pgms"_s.arg(++counter));
        QDir().mkpath(pgms);
        return Settings(pgms);
    }

private Q_SLOTS:
    void freshInstallationGivesDefaults() {
        const Settings s = freshInstallation();
        QCOMPARE(s.empresaDaPasta(u"dados"_s), 0);
        QCOMPARE(s.pasta(), u"dados"_s);
        for (int n = 1; n <= Settings::pastasNumeradas; ++n)
            QCOMPARE(s.pastaNumerada(n), QString());
        QCOMPARE(s.bdGerente(), BdGerente{});
        QCOMPARE(s.pedidosSituacao(), 5);
        QCOMPARE(s.impPedidoModelo(), 1);
        QCOMPARE(s.impPedidoOrdemProduto(), true);
        QCOMPARE(s.clientesPessoa(), 1);
        QCOMPARE(s.consultaProdutoId(), 0);
        QCOMPARE(s.relClientesLativo(), 1);
        QCOMPARE(s.relPedComLdata(), 1);
        QCOMPARE(s.relPedComLsit(), 5);
        QCOMPARE(s.mailOutlookOffice(), false);
        QCOMPARE(s.versaoBd(u"dados"_s), 0);
        QVERIFY(QDir(s.programFolder()).entryList(QDir::Files).isEmpty()); // reading creates nothing
    }

    void valuesGoToTheirFilesSectionsAndKeys() {
        const Settings s = freshInstallation();
        QVERIFY(s.setPasta(u"filial"_s));
        QVERIFY(s.setEmpresaDaPasta(u"filial"_s, 3));
        QVERIFY(s.setPastaNumerada(2, u"matriz"_s));
        QVERIFY(s.setPedidosSituacao(2));
        QVERIFY(s.setImpPedidoModelo(4));
        QVERIFY(s.setImpPedidoOrdemProduto(false));
        QVERIFY(s.setClientesPessoa(3));
        QVERIFY(s.setConsultaProdutoId(1234));
        QVERIFY(s.setRelClientesLativo(2));
        QVERIFY(s.setRelPedComLdata(3));
        QVERIFY(s.setRelPedComLsit(4));
        QVERIFY(s.setMailOutlookOffice(true));

        const IniFile cfg = s.qavCfg();
        QCOMPARE(QFileInfo(cfg.path()).fileName(), u"qav.cfg"_s);
        QCOMPARE(cfg.readString(u"Qav"_s, u"Pasta"_s), u"filial"_s);
        QCOMPARE(cfg.readInt(u"Qav"_s, u"Empresa-filial"_s), 3);
        QCOMPARE(cfg.readString(u"Qav"_s, u"Pasta 2"_s), u"matriz"_s);
        const IniFile ini = s.qavIni();
        QCOMPARE(QFileInfo(ini.path()).fileName(), u"qav.ini"_s);
        QCOMPARE(ini.readInt(u"Pedidos"_s, u"Situação"_s), 2);
        QCOMPARE(ini.readInt(u"ImpPedido"_s, u"modelo"_s), 4);
        QCOMPARE(ini.readInt(u"ImpPedido"_s, u"Ordem Produto"_s, 7), 0);
        QCOMPARE(ini.readInt(u"Clientes"_s, u"Pessoa"_s), 3);
        QCOMPARE(ini.readInt(u"Consulta Produto"_s, u"Id"_s), 1234);
        QCOMPARE(ini.readInt(u"RelClientes"_s, u"Lativo"_s), 2);
        QCOMPARE(ini.readInt(u"RelPedCom"_s, u"Ldata"_s), 3);
        QCOMPARE(ini.readInt(u"RelPedCom"_s, u"Lsit"_s), 4);
        QCOMPARE(s.hlxIni().readInt(u"Mail"_s, u"Outlook Office"_s), 1);
        QCOMPARE(QFileInfo(s.hlxIni().path()).fileName(), u"hlx.ini"_s);
        QCOMPARE(QFileInfo(s.qavplusIni().path()).fileName(), u"qavplus.INI"_s);

        // and read back through the accessors
        QCOMPARE(s.pasta(), u"filial"_s);
        QCOMPARE(s.empresaDaPasta(u"filial"_s), 3);
        QCOMPARE(s.pastaNumerada(2), u"matriz"_s);
        QCOMPARE(s.pedidosSituacao(), 2);
        QCOMPARE(s.impPedidoModelo(), 4);
        QCOMPARE(s.impPedidoOrdemProduto(), false);
        QCOMPARE(s.clientesPessoa(), 3);
        QCOMPARE(s.consultaProdutoId(), 1234);
        QCOMPARE(s.relClientesLativo(), 2);
        QCOMPARE(s.relPedComLdata(), 3);
        QCOMPARE(s.relPedComLsit(), 4);
        QCOMPARE(s.mailOutlookOffice(), true);
    }

    void eachFolderHasItsOwnCompany() {
        const Settings s = freshInstallation();
        QVERIFY(s.setEmpresaDaPasta(u"dados"_s, 1));
        QVERIFY(s.setEmpresaDaPasta(u"filial"_s, 2));
        QCOMPARE(s.empresaDaPasta(u"dados"_s), 1);
        QCOMPARE(s.empresaDaPasta(u"filial"_s), 2);
        QCOMPARE(s.empresaDaPasta(u"outra"_s), 0);
    }

    void folderNamesAreEightCharacters() {
        const Settings s = freshInstallation();
        QVERIFY(s.setPasta(u"nomemuitolongo"_s));
        QCOMPARE(s.pasta(), u"nomemuit"_s);
        QVERIFY(!s.setPastaNumerada(0, u"x"_s));
        QVERIFY(!s.setPastaNumerada(10, u"x"_s));
        QCOMPARE(s.pastaNumerada(10), QString());
    }

    void bdGerenteRoundTrip() {
        const Settings s = freshInstallation();
        BdGerente g;
        g.nome = u"gerente"_s;
        g.host = u"10.0.0.5"_s;
        g.porta = u"5432"_s;
        g.usuario = u"joão"_s;
        g.senha = u"s=3 x"_s;
        g.pastaTps = u"ger"_s;
        g.empresa = 7;
        QVERIFY(s.setBdGerente(g));
        QCOMPARE(s.bdGerente(), g);
        QCOMPARE(s.qavCfg().readString(u"BD Gerente"_s, u"Usuário"_s), u"joão"_s);
        QCOMPARE(s.qavCfg().readString(u"BD Gerente"_s, u"Pasta TPS"_s), u"ger"_s);
    }

    void bdVerOfASiblingFolder() {
        const Settings s = freshInstallation();
        const QString dados = QDir(s.programFolder()).filePath(u"../dados"_s);
        QDir().mkpath(dados);
        QCOMPARE(s.versaoBd(u"dados"_s), 0);
        QVERIFY(s.setVersaoBd(u"dados"_s, versaoBdRequerida));
        QCOMPARE(s.versaoBd(u"dados"_s), versaoBdRequerida);
        QFile file(QDir(dados).filePath(u"bd.ver"_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[QAVPlus]\r\nVersaoBD=186\r\n"));
        QVERIFY(!s.setVersaoBd(u"naoexiste"_s, 186)); // no such data folder
    }

    void bdVerWithoutSectionReadsZero() {
        const Settings s = freshInstallation();
        const QString dados = QDir(s.programFolder()).filePath(u"../dados"_s);
        QDir().mkpath(dados);
        QFile file(QDir(dados).filePath(u"bd.ver"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Outra]\r\nVersaoBD=186\r\n");
        file.close();
        QCOMPARE(s.versaoBd(u"dados"_s), 0);
    }

    void versionConstants() {
        QCOMPARE(versaoBdRequerida, 186);
        QCOMPARE(versaoPrograma.toString(), u"2026."_s + QString::number(versaoBdRequerida));
    }
};

QAV_TEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
