// A Total communication into an empty folder from an ERP holding a large catalogue (by default
// 200,000 products, 10 price lists pricing every product - 2,000,000 price rows - and 50,000
// customers) on a loopback PostgreSQL, against the raw pipeline for the same rows: psql copying the
// answer of every statement the run sent to a CSV file, then sqlite3 importing those files into
// plain tables. Then a second Total run over the folder the first one filled, against the same raw
// pipeline run again. Prints each step's time, both runs' times against the raw pipeline, their ratios
// and the peak memory.
//
//   eval "$(scripts/pg-cluster.sh start)"; bench_downloads [products] [price lists] [customers]
#include "store/core/Table.h"
#include "store/core/TableFile.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/roteiro/Passos.h"
#include "tests/support/ServidorTeste.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <sys/resource.h>

using namespace qav;
using qav::test::ServidorTeste;

namespace {

// The processor time of this process so far, in ms: on a shared machine it tells the run's own work
// from the wait for a processor.
qint64 cpuMs() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return (uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) * 1000LL +
           (uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1000;
}

class Calado : public sync::OuvinteComunicacao {
public:
    // Each step's closing text with the time since the step before it closed (and the processor
    // time of this process in it).
    void registro(const QTime&, const QString& texto) override {
        if (!m_relogio.isValid()) {
            m_relogio.start();
            m_cpu = cpuMs();
        }
        if (texto.startsWith(QStringLiteral("Atualizados"))) {
            const qint64 cpu = cpuMs();
            std::printf("    %6lld ms (cpu %6lld ms)  %s\n", static_cast<long long>(m_relogio.restart()),
                        static_cast<long long>(cpu - m_cpu), qPrintable(texto));
            m_cpu = cpu;
        }
    }
    void progresso(const QString&) override {}
    void mensagem(const QString&, const QString& texto, sync::Icone) override {
        std::fprintf(stderr, "%s\n", qPrintable(texto));
    }
    bool pergunta(const QString&, const QString&) override { return false; }

private:
    QElapsedTimer m_relogio;
    qint64 m_cpu = 0;
};

long picoMemoriaKb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

// The catalogue, cloned on the server from the test data's rows so that every generated row passes
// the statements' filters: products like the anodized bar, lists like the standard list (codes 11..,
// each pricing every product) and customers of salesperson 5 like the first one, spread over the
// lists.
void gerarCatalogo(ServidorTeste& s, int produtos, int pautas, int clientes) {
    // {P}, {L} and {C}: the numbers of products, price lists and customers.
    const auto sql = [&](QString texto) {
        texto.replace(QStringLiteral("{P}"), QString::number(produtos));
        texto.replace(QStringLiteral("{L}"), QString::number(pautas));
        texto.replace(QStringLiteral("{C}"), QString::number(clientes));
        s.executar(texto);
    };
    sql(QStringLiteral(
        "CREATE TEMP TABLE np AS SELECT p.*, g FROM gestao.produto p, generate_series(1,{P}) g "
        "WHERE p.id_produto=1;"
        "UPDATE np SET id_produto=1000+g, codigo='B-'||g, id_erp=100000+g, descricao='Perfil '||g,"
        " referencia='R'||g, cod_barra=NULL, descr_det='Perfil '||g||' anodizado', dt_atual='2026-11-30';"
        "ALTER TABLE np DROP COLUMN g; INSERT INTO gestao.produto SELECT * FROM np; DROP TABLE np;"));
    sql(QStringLiteral(
        "INSERT INTO gestao.pauta (id_pauta, id_empresa, codigo, num_pauta, dt_cadast, descricao, ativo,"
        " bloquear_preco, dt_ini, dt_fim, taxa_comissao, prazo_medio, dt_atual, pauta_exclusiva_cliente,"
        " bloq_descontos) SELECT 100+k, 1, 10+k, 'BENCH-'||k, '2026-01-01', 'Tabela '||k, 1, 0,"
        " '2026-01-01', '2026-12-31', 3, 30, '2026-11-30', 0, 0 FROM generate_series(1,{L}) k;"));
    sql(QStringLiteral(
        "INSERT INTO gestao.pauxpro (id_pauxpro, id_pauta, id_prod, preco1, preco2, preco3, id_varprod,"
        " valor_pauta_icms_st, tp_pauta, divisor, tx_comissao, tx_icms, dt_atual)"
        " SELECT 1000+(k-1)*{P}+g, 100+k, 100000+g, 10+g%100, 9.5+g%100, 9+g%100, 0, 0, 0, 0, 0, 17,"
        " '2026-11-30' FROM generate_series(1,{L}) k, generate_series(1,{P}) g;"));
    // The customers' lists bring the lists to the workstation.
    sql(QStringLiteral(
        "CREATE TEMP TABLE nc AS SELECT c.*, g FROM zor.corrent c, generate_series(1,{C}) g "
        "WHERE c.id_corrent=1;"
        "UPDATE nc SET id_corrent=1000+g, cgcpf=lpad(g::text,14,'0'), nome='Cliente '||g,"
        " razao='Cliente '||g||' Ltda', cod_pauta=11+g%{L}, dt_atual='2026-11-30';"
        "ALTER TABLE nc DROP COLUMN g; INSERT INTO zor.corrent SELECT * FROM nc; DROP TABLE nc;"
        "ANALYZE;"));
}

bool criarPasta(const QString& pasta) {
    for (const TableDef& table : catalogue()) {
        StoreError error;
        if (!createTableFile(QDir(pasta).filePath(QString::fromLatin1(table.fileName)), table, &error))
            return false;
    }
    return true;
}

bool prepararEstacao(Store& store, const ServidorTeste& s) {
    Table t(store, "qavcfg");
    if (!t.open())
        return false;
    t.clear();
    Record& r = t.rec();
    r.setInteger("ID_EMPRESA", 1);
    r.setText("BD_NOME", s.database());
    r.setText("BD_HOST", s.host());
    r.setInteger("BD_PORTA", s.port());
    r.setText("BD_USUARIO", s.passwordUser());
    r.setText("BD_SENHA", s.password());
    r.setInteger("COD_VENDEDOR", 5);
    r.setText("SENHA_VENDEDOR", QStringLiteral("abc123"));
    r.setText("PONTO_INSTALACAO", QStringLiteral("A"));
    return t.add() == Status::Ok;
}

qint64 rodar(const QString& programa, const QStringList& argumentos, const ServidorTeste& s) {
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGPASSWORD"), s.password());
    p.setProcessEnvironment(env);
    QElapsedTimer relogio;
    relogio.start();
    p.start(programa, argumentos);
    p.waitForFinished(-1);
    const qint64 ms = relogio.elapsed();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(programa), p.readAllStandardError().constData());
        return -1;
    }
    return ms;
}

// The number of columns in a CSV header line (psql quotes no column name holding a comma here).
int colunas(const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return static_cast<int>(f.readLine().split(',').size());
}

constexpr double kMeta = 0.8;

struct Execucao {
    qint64 ms = -1;
    qint64 cpu = 0;      // the processor time of the run in this process (the server's is apart)
    QStringList selects; // the statements the run read rows with, in order
    long memoriaAntesKb = 0;
};

// One communication into the folder, printing each step's time.
Execucao executar(const QString& pasta, sync::TipoComunicacao tipo) {
    Execucao e;
    Store store(pasta);
    sync::PedidoComunicacao pedido;
    pedido.idEmpresa = 1;
    pedido.tipo = tipo;
    pedido.confirmado = true;
    pedido.gravadorComandos = [&e](const QString& comando) {
        if (comando.left(7).compare(QStringLiteral("SELECT "), Qt::CaseInsensitive) == 0)
            e.selects << comando;
    };
    Calado ouvinte;
    e.memoriaAntesKb = picoMemoriaKb();
    QElapsedTimer relogio;
    relogio.start();
    const qint64 cpuAntes = cpuMs();
    const auto desfecho = sync::comunicar(store, ouvinte, pedido, sync::passosPadrao());
    e.cpu = cpuMs() - cpuAntes;
    if (desfecho.resultado == sync::ResultadoComunicacao::Sucesso)
        e.ms = relogio.elapsed();
    return e;
}

struct Bruto {
    qint64 psql = -1;
    qint64 sqlite = -1;
};

// The raw pipeline: the same statements' answers through psql into CSV files, then into plain SQLite
// tables of a new file.
Bruto pipelineBruto(const QStringList& selects, const QString& trabalho, int rodada, const ServidorTeste& s) {
    Bruto b;
    const QString pasta = QDir(trabalho).filePath(QStringLiteral("bruto%1").arg(rodada));
    QDir().mkpath(pasta);
    QString copias, importacao = QStringLiteral(".bail on\n");
    for (int i = 0; i < selects.size(); ++i) {
        QString comando = selects[i].simplified();
        while (comando.endsWith(QLatin1Char(';')))
            comando.chop(1);
        copias += QStringLiteral("\\copy (%1) TO '%2/t%3.csv' WITH (FORMAT csv, HEADER)\n")
                      .arg(comando, pasta)
                      .arg(i);
    }
    const QString scriptPsql = QDir(pasta).filePath(QStringLiteral("copias.sql"));
    QFile fp(scriptPsql);
    if (!fp.open(QIODevice::WriteOnly))
        return b;
    fp.write(copias.toUtf8());
    fp.close();
    b.psql = rodar(QStringLiteral("psql"),
                   {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                    QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), s.host(), QStringLiteral("-p"),
                    QString::number(s.port()), QStringLiteral("-U"), s.passwordUser(), QStringLiteral("-d"),
                    s.database(), QStringLiteral("-f"), scriptPsql},
                   s);
    if (b.psql < 0)
        return b;
    for (int i = 0; i < selects.size(); ++i) {
        const QString csv = QStringLiteral("%1/t%2.csv").arg(pasta).arg(i);
        QStringList cols;
        for (int c = 1; c <= colunas(csv); ++c)
            cols << QStringLiteral("c%1").arg(c);
        importacao += QStringLiteral("CREATE TABLE t%1(%2);\n.import --csv --skip 1 %3 t%1\n")
                          .arg(i)
                          .arg(cols.join(QLatin1Char(',')), csv);
    }
    const QString scriptSqlite = QDir(pasta).filePath(QStringLiteral("importa.sql"));
    QFile fs(scriptSqlite);
    if (!fs.open(QIODevice::WriteOnly))
        return b;
    fs.write(importacao.toUtf8());
    fs.close();
    b.sqlite =
        rodar(QStringLiteral("sqlite3"),
              {QDir(pasta).filePath(QStringLiteral("bruto.db")), QStringLiteral(".read ") + scriptSqlite}, s);
    return b;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!ServidorTeste::configured()) {
        std::fprintf(stderr, "%s\n", qPrintable(ServidorTeste::missingConfiguration()));
        return 1;
    }
    const int produtos = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int pautas = argc > 2 ? std::atoi(argv[2]) : 10;
    const int clientes = argc > 3 ? std::atoi(argv[3]) : 50000;

    ServidorTeste servidor(ServidorTeste::Esquema::Zor);
    if (!servidor.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(servidor.error()));
        return 1;
    }
    QElapsedTimer relogio;
    relogio.start();
    gerarCatalogo(servidor, produtos, pautas, clientes);
    std::printf("server generated in %lld ms: %d products, %d price lists (%lld price rows), %d customers\n",
                static_cast<long long>(relogio.elapsed()), produtos, pautas,
                static_cast<long long>(produtos) * pautas, clientes);

    QTemporaryDir trabalho;
    trabalho.setAutoRemove(qEnvironmentVariableIsEmpty("QAV_BENCH_KEEP"));
    const QString pasta = QDir(trabalho.path()).filePath(QStringLiteral("dados"));
    QDir().mkpath(pasta);
    if (!criarPasta(pasta))
        return 1;
    {
        Store store(pasta);
        if (!prepararEstacao(store, servidor))
            return 1;
    }
    // The first Total run fills the empty folder; the second one, the representative's usual run,
    // brings the same rows into the folder the first one filled.
    const char* const titulos[] = {"first Total run, into an empty folder",
                                   "second Total run, over the folder the first one filled"};
    bool metaAtingida = true;
    for (int rodada = 0; rodada < 2; ++rodada) {
        std::printf("qavplus %s:\n", titulos[rodada]);
        const Execucao nossa = executar(pasta, sync::TipoComunicacao::Total);
        if (nossa.ms < 0)
            return 1;
        const long memoriaPico = picoMemoriaKb();
        const Bruto bruto = pipelineBruto(nossa.selects, trabalho.path(), rodada, servidor);
        if (bruto.psql < 0 || bruto.sqlite < 0)
            return 1;
        const qint64 total = bruto.psql + bruto.sqlite;
        const double razao = nossa.ms > 0 ? static_cast<double>(total) / static_cast<double>(nossa.ms) : 0.0;
        metaAtingida = metaAtingida && razao >= kMeta;
        std::printf("  qavplus run: %lld ms (%lld ms of processor time in this process)\n",
                    static_cast<long long>(nossa.ms), static_cast<long long>(nossa.cpu));
        std::printf("  raw pipeline for the same %lld statements: %lld ms (psql \\copy %lld ms + sqlite3 "
                    ".import %lld ms)\n",
                    static_cast<long long>(nossa.selects.size()), static_cast<long long>(total),
                    static_cast<long long>(bruto.psql), static_cast<long long>(bruto.sqlite));
        std::printf("  speed against the raw pipeline: %.2f (goal: at least %.2f)\n", razao, kMeta);
        std::printf("  peak memory of the process: %.1f MB (%.1f MB before the run; goal: under 200 MB)\n",
                    static_cast<double>(memoriaPico) / 1024.0,
                    static_cast<double>(nossa.memoriaAntesKb) / 1024.0);
    }
    std::printf("both runs at the goal: %s\n", metaAtingida ? "yes" : "no");

    // A Parcial run after one product, price and customer in a hundred changed on the server today:
    // it should take about a hundredth of a Total run.
    servidor.executar(
        QStringLiteral("UPDATE gestao.produto SET dt_atual=current_date WHERE id_produto % 100 = 0;"
                       "UPDATE gestao.pauxpro SET dt_atual=current_date WHERE id_pauxpro % 100 = 0;"
                       "UPDATE zor.corrent SET dt_atual=current_date WHERE id_corrent % 100 = 0;"));
    std::printf("qavplus Parcial run after 1 %% of the rows changed:\n");
    const Execucao parcial = executar(pasta, sync::TipoComunicacao::Parcial);
    if (parcial.ms < 0)
        return 1;
    std::printf("  qavplus run: %lld ms (%lld ms of processor time in this process)\n",
                static_cast<long long>(parcial.ms), static_cast<long long>(parcial.cpu));
    // Most of a Parcial is the server finding the changed rows: the raw pipeline shows that part.
    const Bruto brutoParcial = pipelineBruto(parcial.selects, trabalho.path(), 2, servidor);
    if (brutoParcial.psql < 0 || brutoParcial.sqlite < 0)
        return 1;
    std::printf("  raw pipeline for the same %lld statements: %lld ms (psql \\copy %lld ms + sqlite3 "
                ".import %lld ms)\n",
                static_cast<long long>(parcial.selects.size()),
                static_cast<long long>(brutoParcial.psql + brutoParcial.sqlite),
                static_cast<long long>(brutoParcial.psql), static_cast<long long>(brutoParcial.sqlite));
    return 0;
}
