// The demonstration's whole cycle as the README has a new user run it: the demo folder made by
// qavdemo, its central server loaded from the folder with `qavdemo --sql-servidor` and the folder
// pointed at it with `qavtool configurar` (as scripts/demo-server.sh does, here on the test cluster),
// one more order released, a full run that sends the released orders and takes the office's tables
// back, then a partial run. The demo must come out as it went in, plus what the run brought.

#include "store/core/Table.h"
#include "store/core/Text.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/execucao/Comunicacao.h"
#include "sync/core/roteiro/Passos.h"
#include "tests/support/Programs.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TestMain.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <map>
#include <set>

using namespace qav;
using namespace qav::sync;
using qav::test::ServidorTeste;

namespace {

class Ouvinte : public OuvinteComunicacao {
public:
    QStringList linhas;
    void registro(const QTime&, const QString& texto) override { linhas << texto; }
    void progresso(const QString&) override {}
    void mensagem(const QString& titulo, const QString& texto, Icone) override {
        linhas << titulo + QStringLiteral(": ") + texto;
    }
    bool pergunta(const QString&, const QString&) override { return false; }
};

// Runs one of the build's programs; its standard output, or a null string (and a failed test) when
// it did not end well.
QString rodar(const QString& programa, const QStringList& argumentos) {
    QProcess p;
    p.start(test::programPath(programa), argumentos);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s %s: %s", qPrintable(programa), qPrintable(argumentos.join(QLatin1Char(' '))),
                 p.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

long long contar(Store& store, const char* tabela, const std::function<bool(const Record&)>& conta) {
    Table t(store, tabela);
    if (!t.open())
        return -1;
    long long n = 0;
    Status s = t.seekPhysical();
    if (s == Status::Ok)
        s = t.next();
    while (s == Status::Ok) {
        n += conta(t.rec()) ? 1 : 0;
        s = t.next();
    }
    return n;
}

// What a run must leave as it was: the catalogue, the price lists, the customers and the titles.
std::map<QString, long long> retrato(Store& store) {
    const auto todos = [](const Record&) { return true; };
    const auto ativos = [](const Record& r) { return r.integer("ATIVO") != 0; };
    return {
        {QStringLiteral("produtos"), contar(store, "produto", todos)},
        {QStringLiteral("produtos ativos"), contar(store, "produto", ativos)},
        {QStringLiteral("clientes"), contar(store, "clientes", todos)},
        {QStringLiteral("clientes ativos"), contar(store, "clientes", ativos)},
        {QStringLiteral("pautas ativas"), contar(store, "pauta", ativos)},
        {QStringLiteral("preços"), contar(store, "pauxpro", todos)},
        {QStringLiteral("formas de pagamento"), contar(store, "formapag", todos)},
        {QStringLiteral("municípios"), contar(store, "municip", todos)},
        {QStringLiteral("ST ICMS"), contar(store, "sticms", todos)},
        {QStringLiteral("custos de frete"), contar(store, "cstfrete", todos)},
        {QStringLiteral("títulos"), contar(store, "ctr", todos)},
    };
}

// ERP number -> local order ids carrying it.
std::map<long long, QList<long long>> numerosErp(Store& store) {
    std::map<long long, QList<long long>> numeros;
    contar(store, "pedidos", [&](const Record& r) {
        if (r.integer("NUM_ERP") != 0)
            numeros[r.integer("NUM_ERP")] << r.integer("ID");
        return true;
    });
    return numeros;
}

Desfecho comunicarDemo(Store& store, TipoComunicacao tipo, Ouvinte& ouvinte) {
    PedidoComunicacao pedido;
    pedido.idEmpresa = 1;
    pedido.tipo = tipo;
    pedido.confirmado = true;
    return comunicar(store, ouvinte, pedido, passosPadrao());
}

} // namespace

class TestCicloDemo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void totalThenPartialLeaveTheDemoWhole();
};

void TestCicloDemo::totalThenPartialLeaveTheDemoWhole() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pasta = dir.filePath(QStringLiteral("demo"));
    QVERIFY(!rodar(QStringLiteral("qavdemo"), {dir.filePath(QStringLiteral("pgms")), QStringLiteral("demo")})
                 .isNull());

    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor, ServidorTeste::Dados::Vazio);
    const QString sql = rodar(QStringLiteral("qavdemo"), {QStringLiteral("--sql-servidor"), pasta});
    QVERIFY(!sql.isEmpty());
    servidor.executar(sql);
    QVERIFY(!rodar(QStringLiteral("qavtool"), {QStringLiteral("configurar"), QStringLiteral("--pasta"), pasta,
                                               QStringLiteral("--empresa"), QStringLiteral("1"),
                                               QStringLiteral("BD_HOST=") + servidor.host(),
                                               QStringLiteral("BD_PORTA=%1").arg(servidor.port()),
                                               QStringLiteral("BD_NOME=") + servidor.database(),
                                               QStringLiteral("BD_USUARIO=") + servidor.passwordUser(),
                                               QStringLiteral("BD_SENHA=") + servidor.password()})
                 .isNull());

    Store store(pasta);
    // Order 1 passes every release check; order 3 is released already.
    {
        Table pedidos(store, "pedidos");
        QVERIFY(pedidos.open());
        pedidos.clear();
        pedidos.rec().setInteger("ID", 1);
        QCOMPARE(pedidos.get("KEYID"), Status::Ok);
        QCOMPARE(pedidos.rec().integer("SITUA"), 1);
        pedidos.rec().setInteger("SITUA", 2);
        QCOMPARE(pedidos.put(), Status::Ok);
    }
    const std::set<long long> liberados = {1, 3};
    const auto antes = retrato(store);
    const auto historicoAntes = contar(store, "pedcon", [](const Record&) { return true; });

    Ouvinte total;
    QVERIFY2(comunicarDemo(store, TipoComunicacao::Total, total).resultado == ResultadoComunicacao::Sucesso,
             qPrintable(total.linhas.join(QLatin1Char('\n'))));
    QVERIFY2(total.linhas.filter(QStringLiteral("Erro")).isEmpty(),
             qPrintable(total.linhas.join(QLatin1Char('\n'))));

    // Every released order went, each under a number no other order of the folder carries, and came
    // back in the order history.
    for (const auto& [numero, ids] : numerosErp(store))
        QVERIFY2(ids.size() == 1,
                 qPrintable(QStringLiteral("ERP number %1 on %2 orders").arg(numero).arg(ids.size())));
    std::set<long long> enviados;
    contar(store, "pedidos", [&](const Record& r) {
        if (liberados.count(r.integer("ID"))) {
            [&] {
                QCOMPARE(r.integer("SITUA"), 3);
                QVERIFY(r.integer("NUM_ERP") > 60005);
            }();
            enviados.insert(r.integer("NUM_ERP"));
        }
        return true;
    });
    QCOMPARE(enviados.size(), liberados.size());
    QCOMPARE(
        contar(store, "pedcon", [&](const Record& r) { return enviados.count(r.integer("NUMERO")) > 0; }),
        static_cast<long long>(enviados.size()));
    QCOMPARE(contar(store, "pedcon", [](const Record&) { return true; }),
             historicoAntes + static_cast<long long>(enviados.size()));
    QCOMPARE(retrato(store), antes);
    QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM zor.pedidos WHERE num_ped_qav IS NOT NULL "
                                           "AND numero>60005")),
             QStringLiteral("2"));

    Ouvinte parcial;
    QCOMPARE(comunicarDemo(store, TipoComunicacao::Parcial, parcial).resultado,
             ResultadoComunicacao::Sucesso);
    QVERIFY2(parcial.linhas.filter(QStringLiteral("Erro")).isEmpty(),
             qPrintable(parcial.linhas.join(QLatin1Char('\n'))));
    QCOMPARE(retrato(store), antes);
    QCOMPARE(contar(store, "pedcon", [](const Record&) { return true; }),
             historicoAntes + static_cast<long long>(enviados.size()));
}

QAV_TEST_GUILESS_MAIN(TestCicloDemo)
#include "tst_ciclodemo.moc"
