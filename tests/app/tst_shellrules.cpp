#include "app/core/CommunicationLock.h"
#include "app/core/DataFolders.h"
#include "app/core/DatabaseUpgrade.h"
#include "app/core/FrameConfig.h"
#include "app/core/FrameText.h"
#include "app/core/MenuRules.h"
#include "tests/app/ShellFixture.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QtTest>
#include <sqlite3.h>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

const Date hoje = Date::fromYmd(2026, 3, 10);

ConfiguracaoFrame cfgBloqueio(int dias, int diasDesdeCom, bool bloqueado) {
    ConfiguracaoFrame cfg;
    cfg.encontrada = true;
    cfg.diasBloqueio = dias;
    cfg.dtUltCom = diasDesdeCom < 0 ? Date() : hoje.addDays(-diasDesdeCom);
    cfg.sistemaBloqueado = bloqueado;
    return cfg;
}

} // namespace

class TestShellRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- communication lock ---------------------------------------------------------------------

    void lockDue_data() {
        QTest::addColumn<int>("dias");
        QTest::addColumn<int>("diasDesdeCom"); // -1: never communicated
        QTest::addColumn<bool>("jaBloqueado");
        QTest::addColumn<bool>("bloqueia");
        QTest::newRow("5 days, last run 5 days ago") << 5 << 5 << false << true;
        QTest::newRow("5 days, last run 4 days ago") << 5 << 4 << false << false;
        QTest::newRow("5 days, last run 30 days ago") << 5 << 30 << false << true;
        QTest::newRow("5 days, ran today") << 5 << 0 << false << false;
        QTest::newRow("1 day, ran yesterday") << 1 << 1 << false << true;
        QTest::newRow("5 days, never communicated") << 5 << -1 << false << true;
        QTest::newRow("0 days, never communicated") << 0 << -1 << false << false;
        QTest::newRow("0 days, last run years ago") << 0 << 3000 << false << false;
        QTest::newRow("negative days read as never") << -3 << 100 << false << false;
        QTest::newRow("already locked") << 5 << 30 << true << false;
    }

    void lockDue() {
        QFETCH(int, dias);
        QFETCH(int, diasDesdeCom);
        QFETCH(bool, jaBloqueado);
        QFETCH(bool, bloqueia);
        QCOMPARE(qav::lockDue(cfgBloqueio(dias, diasDesdeCom, jaBloqueado), hoje), bloqueia);
    }

    void lastRunDatedInTheFutureDoesNotLock() {
        ConfiguracaoFrame cfg = cfgBloqueio(5, 0, false);
        cfg.dtUltCom = hoje.addDays(10);
        QVERIFY(!qav::lockDue(cfg, hoje));
    }

    void noConfigurationRecordNeverLocks() {
        ConfiguracaoFrame cfg; // encontrada = false
        cfg.diasBloqueio = 5;
        QVERIFY(!qav::lockDue(cfg, hoje));
    }

    void lockIsWrittenToTheRecord() {
        Installation inst;
        inst.createFolder(u"dados"_s);
        inst.addConfiguracao(u"dados"_s, 1, [](Record& r) {
            r.setInteger("DIAS_BLOQUEIO", 5);
            r.setDate("DT_ULT_COM", hoje.addDays(-7));
        });
        Store store(inst.folder(u"dados"_s));
        ConfiguracaoFrame cfg = readConfiguracao(store, 1);
        QVERIFY(!cfg.sistemaBloqueado);
        const LockCheck check = applyCommunicationLock(store, 1, hoje, cfg);
        QVERIFY(check.lockedNow);
        QVERIFY(!check.writeError.isError());
        QVERIFY(cfg.sistemaBloqueado);
        QCOMPARE(inst.configuracao(u"dados"_s, 1).integer("SISTEMA_BLOQUEADO"), 1);
        // The other fields of the record are kept.
        QCOMPARE(inst.configuracao(u"dados"_s, 1).integer("DIAS_BLOQUEIO"), 5);
    }

    void lockNotDueLeavesTheRecordAlone() {
        Installation inst;
        inst.createFolder(u"dados"_s);
        inst.addConfiguracao(u"dados"_s, 1, [](Record& r) {
            r.setInteger("DIAS_BLOQUEIO", 5);
            r.setDate("DT_ULT_COM", hoje.addDays(-4));
        });
        const std::int64_t revision = inst.configuracao(u"dados"_s, 1).revision();
        Store store(inst.folder(u"dados"_s));
        ConfiguracaoFrame cfg = readConfiguracao(store, 1);
        QVERIFY(!applyCommunicationLock(store, 1, hoje, cfg).lockedNow);
        QCOMPARE(inst.configuracao(u"dados"_s, 1).revision(), revision);
    }

    void lockWriteFailureKeepsTheFlagInMemory() {
        Installation inst;
        inst.createFolder(u"dados"_s);
        inst.addConfiguracao(u"dados"_s, 1, [](Record& r) { r.setInteger("DIAS_BLOQUEIO", 2); });
        // Another window holds the record: the write is refused.
        Store other(inst.folder(u"dados"_s));
        Table holder(other, "qavcfg.tps");
        QVERIFY(holder.open());
        holder.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(holder.get("KEYID_EMPRESA"), Status::Ok);
        QCOMPARE(holder.hold(0), Status::Ok);

        Store store(inst.folder(u"dados"_s));
        ConfiguracaoFrame cfg = readConfiguracao(store, 1);
        const LockCheck check = applyCommunicationLock(store, 1, hoje, cfg);
        QVERIFY(check.lockedNow);
        QCOMPARE(check.writeError.number(), 43);
        QVERIFY(cfg.sistemaBloqueado);
        QCOMPARE(lockWriteErrorText(check.writeError), u"Erro (43) ao gravar configuração do QAV+!"_s);
        holder.release();
        QCOMPARE(inst.configuracao(u"dados"_s, 1).integer("SISTEMA_BLOQUEADO"), 0);
    }

    // --- configuration record ---------------------------------------------------------------------

    void missingRecordsReadBlank() {
        Installation inst;
        inst.createFolder(u"dados"_s);
        inst.addEmpresa(u"dados"_s, 3, u"EMPRESA TRES   "_s);
        Store store(inst.folder(u"dados"_s));
        const DadosFrame dados = readDadosFrame(store, 3);
        QCOMPARE(dados.configuracao, ConfiguracaoFrame{});
        QCOMPARE(dados.nomeEmpresa, u"EMPRESA TRES"_s);
        QVERIFY(dados.nomeVendedor.isEmpty());
        const MenuState state = menuState(dados.configuracao);
        QVERIFY(state.cadastros && state.consultas && state.relatorios);
        QVERIFY(!state.flex && !state.integracaoGerente && !state.comissaoVisivel);
    }

    void representativeOfTheCompanyIsRead() {
        Installation inst;
        inst.createFolder(u"dados"_s);
        inst.addConfiguracao(u"dados"_s, 1, [](Record& r) {
            r.setInteger("COD_VENDEDOR", 12);
            r.setText("BLOQ_RELATORIOS", u"S"_s);
            r.setInteger("QAV_HUB", 1);
        });
        inst.addVendedor(u"dados"_s, 2, 12, u"OUTRA EMPRESA"_s); // same code, other company
        inst.addVendedor(u"dados"_s, 1, 12, u"JOAO DA SILVA"_s);
        Store store(inst.folder(u"dados"_s));
        const DadosFrame dados = readDadosFrame(store, 1);
        QCOMPARE(dados.nomeVendedor, u"JOAO DA SILVA"_s);
        QCOMPARE(dados.configuracao.codVendedor, 12);
        QCOMPARE(dados.configuracao.bloqRelatorios, u"S"_s);
        QCOMPARE(dados.configuracao.qavHub, 1);
    }

    // --- menu rules -------------------------------------------------------------------------------

    void menuRules_data() {
        QTest::addColumn<bool>("bloqueado");
        QTest::addColumn<QString>("bloqRelatorios");
        QTest::addColumn<bool>("flex");
        QTest::addColumn<int>("hub");
        QTest::addColumn<bool>("relCom");
        QTest::addColumn<QString>("expected"); // cadastros consultas relatorios flex integracao comissao
        QTest::newRow("plain") << false << u""_s << false << 0 << false << u"111000"_s;
        QTest::newRow("locked") << true << u""_s << false << 0 << false << u"000000"_s;
        QTest::newRow("reports blocked") << false << u"S"_s << false << 0 << false << u"110000"_s;
        QTest::newRow("reports flag N") << false << u"N"_s << false << 0 << false << u"111000"_s;
        QTest::newRow("reports flag lower-case s") << false << u"s"_s << false << 0 << false << u"111000"_s;
        QTest::newRow("locked and reports blocked") << true << u"S"_s << false << 0 << false << u"000000"_s;
        QTest::newRow("flex allowed") << false << u""_s << true << 0 << false << u"111100"_s;
        QTest::newRow("hub 1") << false << u""_s << false << 1 << false << u"111010"_s;
        QTest::newRow("hub 2 is not 1") << false << u""_s << false << 2 << false << u"111000"_s;
        QTest::newRow("commission report") << false << u""_s << false << 0 << true << u"111001"_s;
        QTest::newRow("locked keeps the integration") << true << u""_s << false << 1 << true << u"000011"_s;
    }

    void menuRules() {
        QFETCH(bool, bloqueado);
        QFETCH(QString, bloqRelatorios);
        QFETCH(bool, flex);
        QFETCH(int, hub);
        QFETCH(bool, relCom);
        QFETCH(QString, expected);
        ConfiguracaoFrame cfg;
        cfg.encontrada = true;
        cfg.sistemaBloqueado = bloqueado;
        cfg.bloqRelatorios = bloqRelatorios;
        cfg.permitirFlex = flex;
        cfg.qavHub = hub;
        cfg.ativaRelCom = relCom;
        const MenuState s = menuState(cfg);
        const auto bit = [](bool b) { return b ? u'1' : u'0'; };
        const QString got = QString() + bit(s.cadastros) + bit(s.consultas) + bit(s.relatorios) +
                            bit(s.flex) + bit(s.integracaoGerente) + bit(s.comissaoVisivel);
        QCOMPARE(got, expected);
    }

    // --- caption and status bar -------------------------------------------------------------------

    void caption_data() {
        QTest::addColumn<int>("idEmpresa");
        QTest::addColumn<QString>("empresa");
        QTest::addColumn<int>("codVendedor");
        QTest::addColumn<QString>("vendedor");
        QTest::addColumn<QString>("expected");
        QTest::newRow("full") << 1 << u"EMPRESA TESTE   "_s << 12 << u"JOAO DA SILVA  "_s
                              << u"QAV+ 2026.186 [ 000001 EMPRESA TESTE ] - [ 000012 - JOAO DA SILVA ]"_s;
        QTest::newRow("representative unknown")
            << 1 << u"EMPRESA"_s << 12 << u""_s << u"QAV+ 2026.186 [ 000001 EMPRESA ] - [ 000012 -  ]"_s;
        QTest::newRow("six-digit ids") << 123456 << u"ÇÃO LTDA"_s << 654321 << u"MARIA"_s
                                       << u"QAV+ 2026.186 [ 123456 ÇÃO LTDA ] - [ 654321 - MARIA ]"_s;
        QTest::newRow("no representative code")
            << 7 << u"X"_s << 0 << u""_s << u"QAV+ 2026.186 [ 000007 X ] - [ 000000 -  ]"_s;
    }

    void caption() {
        QFETCH(int, idEmpresa);
        QFETCH(QString, empresa);
        QFETCH(int, codVendedor);
        QFETCH(QString, vendedor);
        QFETCH(QString, expected);
        QCOMPARE(frameCaption(idEmpresa, empresa, codVendedor, vendedor), expected);
    }

    void statusDate_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("expected");
        QTest::newRow("sunday") << 2026 << 1 << 4 << u"Domingo, 04/01/2026"_s;
        QTest::newRow("monday") << 2026 << 1 << 5 << u"Segunda, 05/01/2026"_s;
        QTest::newRow("tuesday") << 2026 << 1 << 6 << u"Terça, 06/01/2026"_s;
        QTest::newRow("wednesday") << 2026 << 1 << 7 << u"Quarta, 07/01/2026"_s;
        QTest::newRow("thursday") << 2026 << 1 << 8 << u"Quinta, 08/01/2026"_s;
        QTest::newRow("friday") << 2026 << 1 << 9 << u"Sexta, 09/01/2026"_s;
        QTest::newRow("saturday") << 2026 << 1 << 10 << u"Sábado, 10/01/2026"_s;
        QTest::newRow("leap day") << 2028 << 2 << 29 << u"Terça, 29/02/2028"_s;
    }

    void statusDate() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QString, expected);
        QCOMPARE(statusDateText(Date::fromYmd(year, month, day)), expected);
    }

    void statusTime() {
        QCOMPARE(statusTimeText({hoje, 8, 5, 9}), u"08:05:09"_s);
        QCOMPARE(statusTimeText({hoje, 23, 59, 59}), u"23:59:59"_s);
        QCOMPARE(statusTimeText({hoje, 0, 0, 0}), u"00:00:00"_s);
    }

    // --- data folders -----------------------------------------------------------------------------

    void folderListDropsMissingFolders() {
        Installation inst;
        inst.createFolder(u"dados"_s);
        inst.createFolder(u"zeta"_s);
        inst.createFolder(u"Alfa"_s);
        Settings s = inst.settings();
        s.setPastaNumerada(1, u"zeta"_s);
        s.setPastaNumerada(2, u"sumiu"_s); // no such folder
        s.setPastaNumerada(4, u"Alfa"_s);
        s.setPastaNumerada(5, u"zeta"_s); // twice
        s.setPastaNumerada(6, u"../x"_s); // not a folder name
        QCOMPARE(buildFolderList(s), (QStringList{u"Alfa"_s, u"dados"_s, u"zeta"_s}));
    }

    void folderListWithoutSettingsIsDados() {
        Installation inst;
        QCOMPARE(buildFolderList(inst.settings()), QStringList{u"dados"_s});
        QCOMPARE(inst.settings().pasta(), u"dados"_s);
    }

    void numberedKeysSkipDados() {
        const QStringList keys = numberedFolderKeys({u"abc"_s, u"dados"_s, u"xyz"_s});
        QCOMPARE(keys.size(), 9);
        QCOMPARE(keys.at(0), u"abc"_s);
        QCOMPARE(keys.at(1), u"xyz"_s);
        for (int i = 2; i < 9; ++i)
            QVERIFY(keys.at(i).isEmpty());
    }

    void nineFoldersBesidesDadosAreAllKept() {
        QStringList list{u"dados"_s};
        for (int i = 1; i <= 9; ++i)
            list = withFolder(list, u"p"_s + QString::number(i));
        QVERIFY(folderListFull(list));
        const QStringList keys = numberedFolderKeys(list);
        QCOMPARE(keys.last(), u"p9"_s);
        QVERIFY(!folderListFull(withFolder({u"dados"_s}, u"p1"_s)));
    }

    void savedListRoundTrips() {
        Installation inst;
        inst.createFolder(u"dados"_s);
        inst.createFolder(u"b"_s);
        inst.createFolder(u"a"_s);
        Settings s = inst.settings();
        saveFolderList(s, {u"a"_s, u"b"_s, u"dados"_s}, u"b"_s);
        QCOMPARE(s.pastaNumerada(1), u"a"_s);
        QCOMPARE(s.pastaNumerada(2), u"b"_s);
        QCOMPARE(s.pastaNumerada(3), QString());
        QCOMPARE(s.pasta(), u"b"_s);
        QCOMPARE(buildFolderList(s), (QStringList{u"a"_s, u"b"_s, u"dados"_s}));
    }

    void folderNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << u"dados2"_s << true;
        QTest::newRow("eight") << u"abcdefgh"_s << true;
        QTest::newRow("nine") << u"abcdefghi"_s << false;
        QTest::newRow("empty") << u""_s << false;
        QTest::newRow("dot") << u"."_s << false;
        QTest::newRow("dotdot") << u".."_s << false;
        QTest::newRow("slash") << u"a/b"_s << false;
        QTest::newRow("backslash") << u"a\\b"_s << false;
        QTest::newRow("colon") << u"c:"_s << false;
        QTest::newRow("star") << u"a*"_s << false;
        QTest::newRow("leading space") << u" abc"_s << false;
        QTest::newRow("trailing dot") << u"abc."_s << false;
        QTest::newRow("accented") << u"seção"_s << true;
    }

    void folderNames() {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        QCOMPARE(validFolderName(name), valid);
    }

    void creatingAFolderOverAFileFails() {
        Installation inst;
        QFile blocker(inst.folder(u"ruim"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(createDataFolder(inst.programFolder(), u"ruim"_s), EEXIST);
        QCOMPARE(createDataFolder(inst.programFolder(), u"boa"_s), 0);
        QVERIFY(dataFolderExists(inst.programFolder(), u"boa"_s));
        QCOMPARE(createDataFolder(inst.programFolder(), u"boa"_s), 0); // already there
    }

    void mainDataFolderIsCreated() {
        Installation inst;
        QVERIFY(!dataFolderExists(inst.programFolder(), u"dados"_s));
        QVERIFY(ensureMainDataFolder(inst.programFolder()));
        QVERIFY(dataFolderExists(inst.programFolder(), u"dados"_s));
    }

    // --- database version -------------------------------------------------------------------------

    void upgradeOnlyBelowTheRequiredVersion_data() {
        QTest::addColumn<int>("versao");
        QTest::addColumn<bool>("runs");
        QTest::newRow("no bd.ver") << 0 << true;
        QTest::newRow("185") << 185 << true;
        QTest::newRow("186") << 186 << false;
        QTest::newRow("187") << 187 << false;
    }

    void upgradeOnlyBelowTheRequiredVersion() {
        QFETCH(int, versao);
        QFETCH(bool, runs);
        Installation inst;
        inst.createFolder(u"outra"_s, versao);
        UpgradeRecorder recorder;
        setUpgradeRunner(recorder.runner());
        const UpgradeCheck check = ensureDatabaseCurrent(inst.settings(), u"outra"_s, u"outra"_s);
        setUpgradeRunner({});
        QCOMPARE(check.ran, runs);
        QCOMPARE(recorder.runs, runs ? QStringList{u"outra"_s} : QStringList{});
        QVERIFY(check.current);
        QCOMPARE(check.versaoAntes, versao);
    }

    // A build may store a table differently under the same bd.ver: the table's own structure version
    // tells, and the tool runs for it. A run that leaves it behind is reported by the table's name.
    void tableOfAnOlderStructureIsUpgradedUnderTheSameVersion() {
        Installation inst;
        inst.createFolder(u"outra"_s);
        const QString municip = QDir(inst.folder(u"outra"_s)).filePath(u"municip.tps"_s);
        {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(municip.toUtf8().constData(), &db), SQLITE_OK);
            QCOMPARE(sqlite3_exec(db, "PRAGMA user_version = 1", nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        }
        UpgradeRecorder recorder; // creates missing tables, leaves the older one as it is
        setUpgradeRunner(recorder.runner());
        const UpgradeCheck check = ensureDatabaseCurrent(inst.settings(), u"outra"_s, u"outra"_s);
        setUpgradeRunner({});
        QCOMPARE(recorder.runs, QStringList{u"outra"_s});
        QVERIFY(!check.current);
        const QStringList recusadas = tabelasRecusadas(inst.folder(u"outra"_s));
        QCOMPARE(recusadas, QStringList{u"municip.tps"_s});
        const QString report = upgradeReport(check, u"outra"_s, inst.folder(u"outra"_s), recusadas);
        QVERIFY2(report.startsWith(u"O banco de dados da pasta \"..\\outra\" não foi atualizado.|"_s),
                 qPrintable(report));
        QVERIFY2(report.contains(u"municip.tps"_s), qPrintable(report));
    }

    void upgradeThatLeavesTheVersionIsReported() {
        Installation inst;
        inst.createFolder(u"dados"_s, 185);
        setUpgradeRunner([](const QString&, const QString&) { return UpgradeRun{}; }); // ran, changed nothing
        const UpgradeCheck check = ensureDatabaseCurrent(inst.settings(), u"dados"_s, {});
        setUpgradeRunner({});
        QVERIFY(check.ran);
        QVERIFY(!check.current);
        QCOMPARE(
            upgradeFailureText(check, u"dados"_s),
            u"O banco de dados da pasta \"..\\dados\" não foi atualizado (versão 185, requerida 186)."_s);
    }

    void missingUpgradeToolDoesNotStart() {
        Installation inst;
        const UpgradeRun run =
            runUpgradeTool(inst.root() + u"/nao-existe/qavbd"_s, inst.programFolder(), u"dados"_s);
        QCOMPARE(run.outcome, UpgradeRun::Outcome::FailedToStart);
        QVERIFY(!run.errorText.isEmpty());
    }

    void upgradeToolIsLookedForBesideTheProgram() {
        const QString expected = QDir(QCoreApplication::applicationDirPath()).filePath(u"qavbd"_s);
        QCOMPARE(qavbdExecutable(), expected);
    }
};

QAV_TEST_GUILESS_MAIN(TestShellRules)
#include "tst_shellrules.moc"
