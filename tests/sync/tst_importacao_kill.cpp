// The hub's order import killed between the office's commit and its own: a child process runs the
// update of the manager database, which imports nine office orders, and is killed (SIGKILL) while the
// office commits one of them (a deferred trigger makes that commit take 40 ms), so that the office
// keeps the order's mark while the local copy is lost. The next update then runs to the end. Every
// time, every office order is in the local order list exactly once, its mark names that local order's
// number (so no mark points at nothing), and nothing is left in transit.
#include "OuvinteGravador.h"
#include "store/core/Table.h"
#include "store/core/TableDef.h"
#include "sync/core/gerente/Integracao.h"
#include "tests/support/KillTest.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/sync/GerenteFixture.h"

#include <QStandardPaths>
#include <QtTest>
#include <cstdio>
#include <map>

using namespace qav;
using namespace qav::sync;
using qav::test::ServidorTeste;
using namespace Qt::StringLiterals;

namespace {

constexpr int kNovos = 8; // office orders 201 to 208, besides the test data's 105
constexpr int kRodadas = 8;

using Ouvinte = test::OuvinteGravador;

// The test cluster of the environment, database `banco`.
BdGerente configuracao(const QString& banco) {
    BdGerente g;
    g.nome = banco;
    g.host = qEnvironmentVariable("QAV_TEST_PGHOST");
    g.porta = qEnvironmentVariable("QAV_TEST_PGPORT");
    g.usuario = qEnvironmentVariable("QAV_TEST_PGPASSUSER", u"qavplus"_s);
    g.senha = qEnvironmentVariable("QAV_TEST_PGPASSWORD");
    g.empresa = 1;
    return g;
}

bool atualizar(Store& store, Ouvinte& ouvinte, const QString& banco,
               std::function<void(const QString&)> gravador = {}) {
    PedidoIntegracao pedido;
    pedido.idEmpresa = 1;
    pedido.configuracao = configuracao(banco);
    pedido.gravadorComandos = std::move(gravador);
    return atualizarGerente(store, ouvinte, pedido);
}

// The child says "commit <n>" as it sends the n-th imported order's commit to the office (the one
// after the order's mark; the update's earlier steps commit too).
int childMain(const QString& banco, const QString& pasta) {
    QStandardPaths::setTestModeEnabled(true);
    Store store(pasta);
    Ouvinte ouvinte;
    int commits = 0;
    bool marcado = false;
    const bool ok = atualizar(store, ouvinte, banco, [&commits, &marcado](const QString& comando) {
        if (comando.startsWith(QStringLiteral("UPDATE gerente.pedidos SET num_ped_qav='QAV#")))
            marcado = true;
        if (comando == QStringLiteral("commit;") && marcado) {
            marcado = false;
            std::printf("commit %d\n", ++commits);
            std::fflush(stdout);
        }
    });
    for (const QString& m : ouvinte.mensagens)
        std::fprintf(stderr, "%s\n", qPrintable(m));
    return ok ? 0 : 3;
}

// The local orders other than the hub's own order 7: observation -> number.
std::multimap<QString, long long> importados(Store& store) {
    std::multimap<QString, long long> lista;
    Table t(store, "pedidos");
    if (!t.open() || t.seekFirst("KEYID") != Status::Ok)
        return lista;
    while (t.next() == Status::Ok)
        if (t.rec().integer("ID") != 7)
            lista.emplace(t.rec().text("OBS").trimmed(), t.rec().integer("NUMER"));
    return lista;
}

} // namespace

class TestImportacaoKill : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void killedImportBringsEveryOrderOnce() {
        const quint32 semente = test::killSeed();
        QRandomGenerator sorte(semente);
        std::printf("kill seed %u (QAV_KILL_SEED=%u replays it)\n", semente, semente);
        int perdidos = 0; // rounds where the office kept a mark whose local copy was lost
        for (int rodada = 1; rodada <= kRodadas; ++rodada) {
            QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
            test::TempDataFolder pasta;
            test::prepararHub(pasta.store());
            s.executar(
                u"INSERT INTO gerente.pedidos SELECT r.* FROM gerente.pedidos p, generate_series(1, 8) n, "
                "LATERAL json_populate_record(p, json_build_object('id_pedido', "
                "nextval('gerente.pedidos_id_pedido_seq'), 'numero', 200 + n, 'obs', 'Escritório ' || "
                "(200 + n))) r WHERE p.numero=105 AND p.id_empresa=1;"
                "INSERT INTO gerente.peditens SELECT r.* FROM gerente.peditens i JOIN gerente.pedidos o ON "
                "o.id_pedido=i.id_pedido AND o.numero=105 AND o.id_empresa=1, gerente.pedidos n, "
                "LATERAL json_populate_record(i, json_build_object('id_peditens', "
                "nextval('gerente.peditens_id_peditens_seq'), 'id_pedido', n.id_pedido)) r "
                "WHERE n.numero>200 AND n.id_empresa=1;"
                "CREATE FUNCTION gerente.commit_lento() RETURNS trigger LANGUAGE plpgsql AS "
                "$$ BEGIN PERFORM pg_sleep(0.04); RETURN NULL; END $$; "
                "CREATE CONSTRAINT TRIGGER commit_lento AFTER UPDATE ON gerente.pedidos "
                "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION gerente.commit_lento();"_s);
            const QString escritorio =
                u"FROM gerente.pedidos WHERE id_empresa=1 AND situa=2 AND (numero=105 OR numero>200)"_s;
            QCOMPARE(s.valor(u"SELECT count(*) "_s + escritorio), QString::number(kNovos + 1));

            test::KillMoment momento;
            const int pedido = 1 + static_cast<int>(sorte.bounded(kNovos + 1));
            momento.line = "commit " + QByteArray::number(pedido);
            momento.delayMs = 10 + static_cast<int>(sorte.bounded(20));
            momento.text = QStringLiteral("seed %1 round %2: %3 ms into the office's commit of import %4")
                               .arg(semente)
                               .arg(rodada)
                               .arg(momento.delayMs)
                               .arg(pedido);
            const QString falha = test::killChildAt(s.database(), pasta.path(), momento);
            QVERIFY2(falha.isEmpty(), qPrintable(falha));
            QTRY_COMPARE_WITH_TIMEOUT(s.valor(u"SELECT count(*) FROM pg_stat_activity WHERE "
                                              "application_name='QAV+' AND datname=current_database()"_s),
                                      u"0"_s, 10000);
            {
                Store antes(pasta.path());
                const auto locais = importados(antes);
                const int marcados =
                    s.valor(u"SELECT count(*) "_s + escritorio + u" AND num_ped_qav LIKE 'QAV#%'"_s).toInt();
                perdidos += marcados > static_cast<int>(locais.size()) ? 1 : 0;
            }

            Store store(pasta.path());
            Ouvinte ouvinte;
            QVERIFY2(atualizar(store, ouvinte, s.database()),
                     qPrintable(momento.text + u"\n"_s + ouvinte.mensagens.join(u'\n')));

            const auto locais = importados(store);
            QCOMPARE(static_cast<int>(locais.size()), kNovos + 1);
            for (const QStringList& linha : s.linhas(u"SELECT obs, num_ped_qav "_s + escritorio)) {
                QVERIFY2(locais.count(linha[0]) == 1, qPrintable(momento.text + u": "_s + linha[0]));
                QCOMPARE(linha[1], u"QAV#"_s + QString::number(locais.find(linha[0])->second));
            }
            QCOMPARE(
                test::contar(store, "peditens"),
                s.valor(u"SELECT count(*) FROM gerente.peditens i JOIN gerente.pedidos p USING (id_pedido) "
                        "WHERE p.id_empresa=1 AND (p.numero=105 OR p.numero>200)"_s)
                    .toLongLong());
            QCOMPARE(test::contar(store, "qavtrans"), 0LL);
        }
        std::printf("%d rounds killed and completed: %d between the office's commit and the local one\n",
                    kRodadas, perdidos);
        QVERIFY2(perdidos * 2 >= kRodadas, qPrintable(QString::number(perdidos)));
    }
};

QAV_KILL_TEST_MAIN(TestImportacaoKill, childMain)
#include "tst_importacao_kill.moc"
