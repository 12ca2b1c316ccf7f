// A link that stops carrying bytes, or drops, in the middle of a communication: a proxy of the test
// suite sits between the workstation and the test cluster and stalls at a chosen statement. Each run
// ends within the wait limit plus a few seconds with one message that says what happened, the user's
// "Interromper" ends a stalled run within seconds, the dead session of the stalled run does not hold
// another workstation up, and the next run completes with every order on the server exactly once.
#include "store/core/Table.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/execucao/Comunicacao.h"
#include "sync/core/execucao/OuvinteAposFalha.h"
#include "sync/core/roteiro/Passos.h"
#include "tests/support/ProxyFalho.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/sync/EnvioFixture.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QtTest>
#include <atomic>
#include <thread>

using namespace qav;
using namespace qav::sync;
using qav::test::ProxyFalho;
using qav::test::ServidorTeste;
using namespace Qt::StringLiterals;

namespace {

constexpr int kPedidos = 4;
constexpr int kEspera = 3;         // seconds without a byte
constexpr int kFolga = 5;          // what a run may take beyond the limit
constexpr int kOciosa = 4;         // the server ends our transaction left idle
constexpr int kBloqueio = 20;      // a statement waits for another session's lock
constexpr int kEsperaFolgada = 30; // the runs after the stall: longer than a wait for a lock

// Records what the run says; the stop request may come from another thread.
class Ouvinte : public OuvinteComunicacao {
public:
    std::atomic<bool> parar{false};
    void registro(const QTime&, const QString& texto) override {
        QMutexLocker trava(&m_mutex);
        m_registros << texto;
    }
    void progresso(const QString&) override {}
    void mensagem(const QString& titulo, const QString& texto, Icone) override {
        QMutexLocker trava(&m_mutex);
        m_mensagens << titulo + u": "_s + texto;
    }
    bool pergunta(const QString&, const QString&) override { return false; }
    bool pararSolicitado() override { return parar.load(); }
    QStringList registros() const {
        QMutexLocker trava(&m_mutex);
        return m_registros;
    }
    QStringList mensagens() const {
        QMutexLocker trava(&m_mutex);
        return m_mensagens;
    }

private:
    mutable QMutex m_mutex;
    QStringList m_registros, m_mensagens;
};

LimitesConexao limitesTeste(int espera = kEspera) {
    LimitesConexao l;
    l.esperaSegundos = espera;
    l.conexaoSegundos = 5;
    l.ociosaEmTransacaoSegundos = kOciosa;
    l.bloqueioSegundos = kBloqueio;
    return l;
}

Desfecho rodar(const QString& pasta, Ouvinte& ouvinte, TipoComunicacao tipo, int espera = kEspera) {
    Store store(pasta);
    PedidoComunicacao pedido;
    pedido.idEmpresa = 1;
    pedido.tipo = tipo;
    pedido.confirmado = true;
    pedido.limites = limitesTeste(espera);
    return comunicar(store, ouvinte, pedido, passosPadrao());
}

// A workstation with kPedidos released orders whose settings point at `porta` and whose orders carry
// the installation point `ponto` in their workstation number.
void prepararEstacao(test::TempDataFolder& pasta, const ServidorTeste& s, int porta, const QString& ponto) {
    test::prepararEnvio(pasta.store(), {s.database(), s.host(), porta, s.passwordUser(), s.password()},
                        {kPedidos, 2, 2});
    Table cfg(pasta.store(), "qavcfg");
    QVERIFY(cfg.open());
    cfg.clear();
    cfg.rec().setInteger("ID_EMPRESA", 1);
    QCOMPARE(cfg.get("KEYID_EMPRESA"), Status::Ok);
    cfg.rec().setText("PONTO_INSTALACAO", ponto);
    QCOMPARE(cfg.put(), Status::Ok);
}

// Every local order transmitted, with the number the server gave its workstation number.
void conferirTransmitidos(const QString& pasta, ServidorTeste& s, const QString& ponto) {
    Store store(pasta);
    Table pedidos(store, "pedidos");
    QVERIFY(pedidos.open());
    QCOMPARE(pedidos.seekFirst("KEYID"), Status::Ok);
    int vistos = 0;
    while (pedidos.next() == Status::Ok) {
        const Record& v = pedidos.rec();
        QCOMPARE(v.integer("SITUA"), 3);
        const QString numeroQav =
            u"000005.%1.%2"_s.arg(ponto).arg(v.integer("NUMER"), 8, 10, QLatin1Char('0'));
        QCOMPARE(QString::number(v.integer("NUM_ERP")),
                 s.valor(u"SELECT numero FROM zor.pedidos WHERE num_ped_qav='"_s + numeroQav + u"'"_s));
        ++vistos;
    }
    QCOMPARE(vistos, kPedidos);
}

// The orders of the test's workstations (points K and L); the test data holds others.
const QString kDestaEstacao = u"(num_ped_qav LIKE '000005.K.%' OR num_ped_qav LIKE '000005.L.%')"_s;

// Each workstation number once on the server, with its items.
void conferirUmaVez(ServidorTeste& s, int estacoes) {
    const auto contagem =
        s.linhas(u"SELECT count(*), count(DISTINCT num_ped_qav) FROM zor.pedidos WHERE "_s + kDestaEstacao);
    const QString esperado = QString::number(kPedidos * estacoes);
    QCOMPARE(contagem.front(), (QStringList{esperado, esperado}));
    QCOMPARE(s.valor(u"SELECT count(*) FROM zor.peditens i JOIN zor.pedidos p USING (id_pedido) WHERE "_s +
                     kDestaEstacao),
             QString::number(kPedidos * estacoes * 2));
}

} // namespace

class TestServidorParado : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stalledLinkEndsTheRunWithinTheLimit_data() {
        QTest::addColumn<QByteArray>("gatilho");
        QTest::addColumn<int>("momento");
        QTest::addColumn<int>("tipo");
        const auto linha = [](const char* nome, const char* gatilho, ProxyFalho::Momento m,
                              TipoComunicacao t) {
            QTest::newRow(nome) << QByteArray(gatilho) << static_cast<int>(m) << static_cast<int>(t);
        };
        linha("after login", "SELECT schemaname", ProxyFalho::Momento::AntesDoComando,
              TipoComunicacao::SomentePedidos);
        linha("during a download", "FROM gestao.municipio", ProxyFalho::Momento::NaResposta,
              TipoComunicacao::Total);
        linha("during an order's inserts", "INSERT INTO zor.peditens", ProxyFalho::Momento::AntesDoComando,
              TipoComunicacao::SomentePedidos);
        linha("after the commit", "commit;", ProxyFalho::Momento::DepoisDoComando,
              TipoComunicacao::SomentePedidos);
    }

    // The stalled run fails in time with one message; a second workstation is not held up by the
    // stalled run's dead session; the retry sends what is left, each order once.
    void stalledLinkEndsTheRunWithinTheLimit() {
        QFETCH(QByteArray, gatilho);
        QFETCH(int, momento);
        QFETCH(int, tipo);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        ProxyFalho proxy(servidor.host(), servidor.port());
        test::TempDataFolder primeira, segunda;
        prepararEstacao(primeira, servidor, proxy.porta(), u"K"_s);
        prepararEstacao(segunda, servidor, proxy.porta(), u"L"_s);
        // The download answer stops once its first bytes are through.
        proxy.pararQuando(gatilho, static_cast<ProxyFalho::Momento>(momento), 40);

        Ouvinte parada;
        QElapsedTimer relogio;
        relogio.start();
        QCOMPARE(rodar(primeira.path(), parada, static_cast<TipoComunicacao>(tipo)).resultado,
                 ResultadoComunicacao::Falhou);
        const qint64 levou = relogio.elapsed();
        QVERIFY(proxy.parou());
        QVERIFY2(levou < (kEspera + kFolga) * 1000, qPrintable(u"the stalled run took %1 ms"_s.arg(levou)));
        QCOMPARE(parada.mensagens().size(), 1);
        QVERIFY2(parada.mensagens().front().contains(u"Servidor não responde (3 s)"_s),
                 qPrintable(parada.mensagens().front()));
        QVERIFY(parada.registros().contains(u"Servidor não responde (3 s)"_s));

        // Another workstation of the company numbers its orders under the row the dead session may
        // still lock: the server ends that session, and the other run goes through.
        Ouvinte outra;
        relogio.restart();
        QCOMPARE(rodar(segunda.path(), outra, TipoComunicacao::SomentePedidos, kEsperaFolgada).resultado,
                 ResultadoComunicacao::Sucesso);
        QVERIFY2(relogio.elapsed() < 60000, qPrintable(u"held up %1 ms"_s.arg(relogio.elapsed())));
        QVERIFY2(outra.mensagens().size() == 1, qPrintable(outra.mensagens().join(u'\n')));

        Ouvinte denovo;
        QCOMPARE(rodar(primeira.path(), denovo, static_cast<TipoComunicacao>(tipo), kEsperaFolgada).resultado,
                 ResultadoComunicacao::Sucesso);
        conferirUmaVez(servidor, 2);
        conferirTransmitidos(primeira.path(), servidor, u"K"_s);
        conferirTransmitidos(segunda.path(), servidor, u"L"_s);
    }

    // "Interromper" on a run stalled in the middle of an order: the run ends within 5 s although the
    // wait limit is the generous default, says only in its log that it was interrupted, and the next
    // run sends every order once.
    void interruptEndsAStalledRun() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        ProxyFalho proxy(servidor.host(), servidor.port());
        test::TempDataFolder pasta;
        prepararEstacao(pasta, servidor, proxy.porta(), u"K"_s);
        proxy.pararQuando("INSERT INTO zor.peditens", ProxyFalho::Momento::AntesDoComando);

        Ouvinte ouvinte;
        std::atomic<bool> terminou{false};
        Desfecho desfecho;
        std::thread run([&] {
            desfecho = rodar(pasta.path(), ouvinte, TipoComunicacao::SomentePedidos, kEsperaServidorPadrao);
            terminou = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(proxy.parou() || terminou, 30000);
        QTest::qWait(500);
        QElapsedTimer relogio;
        relogio.start();
        ouvinte.parar = true;
        while (!terminou && relogio.elapsed() < 20000)
            QTest::qWait(20);
        const qint64 levou = relogio.elapsed();
        run.join();
        QVERIFY2(levou < 5000, qPrintable(u"the interrupted run took %1 ms"_s.arg(levou)));
        QCOMPARE(desfecho.resultado, ResultadoComunicacao::Falhou);
        QVERIFY2(ouvinte.mensagens().isEmpty(), qPrintable(ouvinte.mensagens().join(u'\n')));
        QCOMPARE(ouvinte.registros().count(u"Comunicação interrompida pelo usuário..."_s), 1);

        Ouvinte denovo;
        QCOMPARE(rodar(pasta.path(), denovo, TipoComunicacao::SomentePedidos, kEsperaFolgada).resultado,
                 ResultadoComunicacao::Sucesso);
        conferirUmaVez(servidor, 1);
        conferirTransmitidos(pasta.path(), servidor, u"K"_s);
    }

    void droppedLinkIsToldOnce_data() {
        QTest::addColumn<QByteArray>("gatilho");
        QTest::newRow("salesperson") << QByteArray("FROM gestao.vendedor");
        QTest::newRow("opening log row") << QByteArray("INSERT INTO gestao.log");
        QTest::newRow("server date") << QByteArray("SELECT now()");
        QTest::newRow("version gate") << QByteArray("gestao.qavconfig");
    }

    // The link drops anywhere in the run's opening: one message, the same wherever it dropped.
    void droppedLinkIsToldOnce() {
        QFETCH(QByteArray, gatilho);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        ProxyFalho proxy(servidor.host(), servidor.port());
        test::TempDataFolder pasta;
        prepararEstacao(pasta, servidor, proxy.porta(), u"K"_s);
        proxy.pararQuando(gatilho, ProxyFalho::Momento::Fechar);
        Ouvinte ouvinte;
        QCOMPARE(rodar(pasta.path(), ouvinte, TipoComunicacao::SomentePedidos).resultado,
                 ResultadoComunicacao::Falhou);
        QVERIFY(proxy.parou());
        QCOMPARE(ouvinte.mensagens(),
                 QStringList{u"Erro: "_s + textoFalhaConexao(Conexao::Falha::Perdida, 0)});
    }
};

QAV_TEST_GUILESS_MAIN(TestServidorParado)
#include "tst_servidorparado.moc"
