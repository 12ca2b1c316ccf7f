// The upload of 1,000 released orders of 20 items (50 new customers) to the ERP on a loopback
// PostgreSQL, against psql replaying the same INSERT statements (inside the same transactions) on a
// fresh copy of the same database: how much the program adds to the statements the server must run.
//
//   eval "$(scripts/pg-cluster.sh start)"; bench_envio [pedidos] [itens]
#include "store/core/TableFile.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/roteiro/Passos.h"
#include "tests/support/ServidorTeste.h"
#include "tests/sync/EnvioFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

using namespace qav;
using qav::test::ServidorTeste;

namespace {

class Calado : public sync::OuvinteComunicacao {
public:
    void registro(const QTime&, const QString&) override {}
    void progresso(const QString&) override {}
    void mensagem(const QString&, const QString& texto, sync::Icone) override {
        std::fprintf(stderr, "%s\n", qPrintable(texto));
    }
    bool pergunta(const QString&, const QString&) override { return false; }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!ServidorTeste::configured()) {
        std::fprintf(stderr, "%s\n", qPrintable(ServidorTeste::missingConfiguration()));
        return 1;
    }
    test::EnvioPreparado preparo;
    preparo.pedidos = argc > 1 ? std::atoi(argv[1]) : 1000;
    preparo.itens = argc > 2 ? std::atoi(argv[2]) : 20;
    preparo.clientes = 50;

    ServidorTeste programa(ServidorTeste::Esquema::Zor);
    ServidorTeste replay(ServidorTeste::Esquema::Zor);
    if (!programa.isValid() || !replay.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(programa.error() + replay.error()));
        return 1;
    }
    QTemporaryDir pasta;
    for (const TableDef& table : catalogue()) {
        StoreError error;
        if (!createTableFile(QDir(pasta.path()).filePath(QString::fromLatin1(table.fileName)), table, &error))
            return 1;
    }
    Store store(pasta.path());
    test::prepararEnvio(
        store,
        {programa.database(), programa.host(), programa.port(), programa.passwordUser(), programa.password()},
        preparo);

    QStringList inserts;
    sync::PedidoComunicacao pedido;
    pedido.idEmpresa = 1;
    pedido.tipo = sync::TipoComunicacao::SomentePedidos;
    pedido.confirmado = true;
    // The statements that change the server, in their transactions, for psql to run again.
    pedido.gravadorComandos = [&inserts](const QString& comando) {
        const QString inicio = comando.left(12).toUpper();
        if (inicio.startsWith(QStringLiteral("INSERT")) || inicio.startsWith(QStringLiteral("BEGIN")) ||
            inicio.startsWith(QStringLiteral("COMMIT")) || inicio.startsWith(QStringLiteral("UPDATE")))
            inserts << comando;
    };
    Calado ouvinte;
    QElapsedTimer relogio;
    relogio.start();
    const auto desfecho = sync::comunicar(store, ouvinte, pedido, sync::passosPadrao());
    const qint64 nosso = relogio.elapsed();
    if (desfecho.resultado != sync::ResultadoComunicacao::Sucesso)
        return 1;
    const QString enviados = programa.valor(
        QStringLiteral("SELECT count(*) FROM zor.pedidos WHERE num_ped_qav LIKE '000005.K.%'"));

    const QString arquivo = pasta.filePath(QStringLiteral("comandos.sql"));
    QFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    for (const QString& c : inserts)
        f.write(c.toUtf8() + "\n");
    f.close();
    QProcess psql;
    psql.setProcessEnvironment([&] {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PGPASSWORD"), replay.password());
        return env;
    }());
    relogio.restart();
    psql.start(QStringLiteral("psql"),
               {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), replay.host(), QStringLiteral("-p"),
                QString::number(replay.port()), QStringLiteral("-U"), replay.passwordUser(),
                QStringLiteral("-d"), replay.database(), QStringLiteral("-f"), arquivo});
    psql.waitForFinished(-1);
    const qint64 bruto = relogio.elapsed();
    if (psql.exitCode() != 0) {
        std::fprintf(stderr, "psql: %s\n", psql.readAllStandardError().constData());
        return 1;
    }
    std::printf("upload of %d orders of %d items (%d new customers): %s orders on the server\n",
                preparo.pedidos, preparo.itens, preparo.clientes, qPrintable(enviados));
    std::printf("  qavplus run: %lld ms (%.1f orders/s)\n", static_cast<long long>(nosso),
                preparo.pedidos * 1000.0 / static_cast<double>(nosso > 0 ? nosso : 1));
    std::printf("  psql replaying its %lld changing statements: %lld ms\n",
                static_cast<long long>(inserts.size()), static_cast<long long>(bruto));
    std::printf("  ratio: %.2f\n", bruto > 0 ? static_cast<double>(nosso) / static_cast<double>(bruto) : 0.0);
    return 0;
}
