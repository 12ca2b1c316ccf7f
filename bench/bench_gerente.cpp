// The update of a sales office's manager database from the hub installation on a large catalogue
// (20,000 products, 5 price lists of 10,000 prices, 5,000 customers, 5,000 municipalities) on a
// loopback PostgreSQL: the first update into an office that has none of it and a second that changes
// every row again, each step's time, against psql replaying the same statements on a fresh copy of
// the same database.
//
//   eval "$(scripts/pg-cluster.sh start)"; bench_gerente [produtos] [clientes]
#include "store/core/TableFile.h"
#include "sync/core/gerente/Integracao.h"
#include "tests/support/ServidorTeste.h"
#include "tests/sync/GerenteFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

using namespace qav;
using qav::test::ServidorTeste;

namespace {

// Each log line with the milliseconds since the update began.
class Cronometrado : public sync::OuvinteComunicacao {
public:
    QElapsedTimer relogio;
    std::vector<std::pair<qint64, QString>> linhas;
    bool falhou = false;
    void registro(const QTime&, const QString& texto) override {
        linhas.emplace_back(relogio.elapsed(), texto);
    }
    void progresso(const QString&) override {}
    void mensagem(const QString&, const QString& texto, sync::Icone icone) override {
        if (icone == sync::Icone::Erro)
            falhou = true;
        if (!texto.startsWith(QStringLiteral("Fim de atualização")))
            std::fprintf(stderr, "%s\n", qPrintable(texto));
    }
    bool pergunta(const QString&, const QString&) override { return false; }
};

constexpr int kPautas = 5;
constexpr int kPrecosPorPauta = 10000;
constexpr int kMunicipios = 5000;

// The office's catalogue: `produtos` products the ERP exports, in five units.
void prepararServidor(ServidorTeste& s, int produtos) {
    s.executar(
        QStringLiteral("INSERT INTO expzor.produto (id_produto, id_empresa, codigo, descricao, unidade, "
                       "tipo, cod_grupo, "
                       "cod_subgrupo, ativo, lista_pauta, id_erp, vl_preco1, peso_liquido, aliq_ipi) SELECT "
                       "100000 + n, 1, "
                       "'B-' || n, 'Perfil de alumínio ' || n || ' d''Ávila', "
                       "(ARRAY['UN','CX','PC','KG','MT'])[n % 5 + 1], "
                       "'00', 1, 10, 1, 1, 100000 + n, n * 0.37, n * 0.001, 5 FROM generate_series(1, %1) n;")
            .arg(produtos));
}

// The hub's tables: the fixture's, plus every product the office exports, the price lists, the
// customers and the municipalities.
bool prepararLocal(Store& store, int produtos, int clientes) {
    test::prepararHub(store);
    const auto preencher = [&store](const char* tabela, int n, const std::function<void(Record&, int)>& f) {
        Table t(store, tabela);
        if (!t.open() || !t.beginBatch())
            return false;
        for (int i = 1; i <= n; ++i) {
            t.clear();
            f(t.rec(), i);
            if (t.add() != Status::Ok)
                return false;
        }
        return t.endBatch();
    };
    return preencher("produto", produtos,
                     [](Record& r, int i) {
                         r.setInteger("ID", 100000 + i);
                         r.setInteger("ID_EMPRESA", 1);
                         r.setText("CODIGO", QStringLiteral("B-%1").arg(i));
                     }) &&
           preencher("pauta", kPautas,
                     [](Record& r, int i) {
                         r.setInteger("ID", 20000 + i);
                         r.setInteger("ID_EMPRESA", 1);
                         r.setInteger("CODIGO", 100 + i);
                         r.setText("NUM_PAUTA", QStringLiteral("BENCH-%1").arg(i));
                         r.setText("DESCRICAO", QStringLiteral("Pauta %1 São José").arg(i));
                     }) &&
           preencher("pauxpro", kPautas * kPrecosPorPauta,
                     [](Record& r, int i) {
                         r.setInteger("ID_PAUTA", 20000 + (i - 1) / kPrecosPorPauta + 1);
                         r.setInteger("ID_PROD", 100000 + (i - 1) % kPrecosPorPauta + 1);
                         r.setDecimal("PRECO1", Decimal(i % 997) + *Decimal::parse("0.1234"));
                         r.setDecimal("PRECO2", Decimal(i % 331));
                     }) &&
           preencher("municip", kMunicipios,
                     [](Record& r, int i) {
                         r.setInteger("ID", 1000 + i);
                         r.setInteger("COD_RAIS", 5000000 + i);
                         r.setText("NOME", QStringLiteral("Município %1 d'Oeste").arg(i));
                         r.setText("ESTADO", QStringLiteral("SC"));
                     }) &&
           preencher("clientes", clientes, [](Record& r, int i) {
               r.setInteger("ID", 100 + i);
               r.setText("CGCPF", QStringLiteral("%1.%2.%3/0001-%4")
                                      .arg(i / 1000000 % 100, 2, 10, QLatin1Char('0'))
                                      .arg(i / 1000 % 1000, 3, 10, QLatin1Char('0'))
                                      .arg(i % 1000, 3, 10, QLatin1Char('0'))
                                      .arg(i % 97, 2, 10, QLatin1Char('0')));
               r.setText("RAZAO", QStringLiteral("Vidraçaria São João %1 Ltda").arg(i));
               r.setText("ENDER", QStringLiteral("Rua das Acácias, %1").arg(i));
               r.setInteger("ID_MUNICIPIO", 1);
               r.setReal("LIMCRED", 1000.0 + i);
           });
}

// The update, its statements recorded; the time of each step from its log lines.
bool atualizar(Store& store, const BdGerente& g, const QString& titulo, QStringList& comandos,
               qint64& total) {
    Cronometrado ouvinte;
    sync::PedidoIntegracao pedido;
    pedido.idEmpresa = 1;
    pedido.configuracao = g;
    pedido.gravadorComandos = [&comandos](const QString& c) { comandos << c; };
    ouvinte.relogio.start();
    const bool ok = sync::atualizarGerente(store, ouvinte, pedido);
    total = ouvinte.relogio.elapsed();
    if (!ok || ouvinte.falhou)
        return false;
    std::printf("%s: %lld ms, %lld statements\n", qPrintable(titulo), static_cast<long long>(total),
                static_cast<long long>(comandos.size()));
    qint64 inicio = 0;
    QString passo;
    for (const auto& [ms, texto] : ouvinte.linhas) {
        if (texto.startsWith(QStringLiteral("Atualizando ")) ||
            texto.startsWith(QStringLiteral("Importando"))) {
            inicio = ms;
            passo = texto;
        } else if (texto.startsWith(QStringLiteral("Atualizad")) ||
                   texto.startsWith(QStringLiteral("Importad"))) {
            std::printf("  %-40s %-36s %7lld ms\n", qPrintable(passo), qPrintable(texto),
                        static_cast<long long>(ms - inicio));
        }
    }
    return true;
}

// psql running `comandos` against `s`; its time, or -1.
qint64 replay(const ServidorTeste& s, const QStringList& comandos, const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    for (const QString& c : comandos)
        f.write(c.toUtf8() + "\n");
    f.close();
    QProcess psql;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGPASSWORD"), s.password());
    env.insert(QStringLiteral("PGCLIENTENCODING"), QStringLiteral("UTF8"));
    psql.setProcessEnvironment(env);
    QElapsedTimer relogio;
    relogio.start();
    psql.start(QStringLiteral("psql"),
               {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                QStringLiteral("-h"), s.host(), QStringLiteral("-p"), QString::number(s.port()),
                QStringLiteral("-U"), s.passwordUser(), QStringLiteral("-d"), s.database(),
                QStringLiteral("-f"), arquivo});
    psql.waitForFinished(-1);
    const qint64 ms = relogio.elapsed();
    if (psql.exitCode() != 0) {
        std::fprintf(stderr, "psql: %s\n", psql.readAllStandardError().constData());
        return -1;
    }
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    if (!ServidorTeste::configured()) {
        std::fprintf(stderr, "%s\n", qPrintable(ServidorTeste::missingConfiguration()));
        return 1;
    }
    const int produtos = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int clientes = argc > 2 ? std::atoi(argv[2]) : 5000;

    ServidorTeste programa(ServidorTeste::Esquema::Gerente);
    ServidorTeste copia(ServidorTeste::Esquema::Gerente);
    if (!programa.isValid() || !copia.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(programa.error() + copia.error()));
        return 1;
    }
    prepararServidor(programa, produtos);
    prepararServidor(copia, produtos);
    QTemporaryDir pasta, pastaTps;
    for (const QString& dir : {pasta.path(), pastaTps.path()})
        for (const TableDef& table : catalogue()) {
            StoreError error;
            if (!createTableFile(QDir(dir).filePath(QString::fromLatin1(table.fileName)), table, &error))
                return 1;
        }
    Store store(pasta.path());
    if (!prepararLocal(store, produtos, clientes))
        return 1;
    std::printf("manager-database update: %d products, %d price lists of %d prices, %d customers, "
                "%d municipalities\n",
                produtos, kPautas, kPrecosPorPauta, clientes, kMunicipios);
    QStringList primeira, segunda;
    qint64 tempoPrimeira = 0, tempoSegunda = 0;
    if (!atualizar(store, test::configuracao(programa, pastaTps.path()), QStringLiteral("first update"),
                   primeira, tempoPrimeira) ||
        !atualizar(store, test::configuracao(programa, pastaTps.path()), QStringLiteral("second update"),
                   segunda, tempoSegunda))
        return 1;
    std::printf("  on the office: %s products, %s prices, %s customers\n",
                qPrintable(programa.valor(QStringLiteral("SELECT count(*) FROM gestao.produto"))),
                qPrintable(programa.valor(QStringLiteral("SELECT count(*) FROM gestao.pauxpro"))),
                qPrintable(programa.valor(QStringLiteral("SELECT count(*) FROM gerente.clientes"))));
    const qint64 brutoPrimeira = replay(copia, primeira, pasta.filePath(QStringLiteral("primeira.sql")));
    const qint64 brutoSegunda = replay(copia, segunda, pasta.filePath(QStringLiteral("segunda.sql")));
    if (brutoPrimeira < 0 || brutoSegunda < 0)
        return 1;
    std::printf("  psql replaying the first update's statements: %lld ms (ratio %.2f)\n",
                static_cast<long long>(brutoPrimeira),
                static_cast<double>(tempoPrimeira) / static_cast<double>(std::max<qint64>(brutoPrimeira, 1)));
    std::printf("  psql replaying the second update's statements: %lld ms (ratio %.2f)\n",
                static_cast<long long>(brutoSegunda),
                static_cast<double>(tempoSegunda) / static_cast<double>(std::max<qint64>(brutoSegunda, 1)));
    return 0;
}
