// The reports of the "Relatórios" menu on a large folder: the demonstration folder with 50,000
// customers, its orders copied to 100,000 (with their items) and its history to 100,000 orders. For
// each report: the time to write its PDF and its CSV, the pages, and how much the process's peak
// memory grew meanwhile (a report streams its rows: it should not grow with the folder). Beside them,
// the bare SQLite query that reads the same rows in the same order from the same files.
#include "queries/core/RelatoriosMenu.h"
#include "store/core/Table.h"
#include "tools/qavdemo/DemoData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

using namespace qav;
using namespace qav::relatorio;

namespace {

constexpr int kClientes = 50000;
constexpr int kPedidos = 100000;
constexpr int kHistorico = 100000;

// Peak resident memory of the process so far, in KiB (Linux; 0 elsewhere).
long picoMemoria() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& linha : status.readAll().split('\n'))
        if (linha.startsWith("VmHWM:"))
            return linha.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Copies the folder's orders (with their items) and history orders until there are `pedidos` and
// `historico` of them, spread over a year.
bool multiplicar(Store& store, int pedidos, int historico, Date hoje) {
    Table vda(store, "pedidos"), itens(store, "peditens"), pedcon(store, "pedcon");
    if (!vda.open() || !itens.open() || !pedcon.open())
        return false;
    std::vector<Record> modelos, modelosHist;
    std::vector<std::vector<Record>> itensModelo;
    vda.seekFirst("KEYID");
    while (vda.next() == Status::Ok)
        modelos.push_back(vda.rec());
    for (const Record& p : modelos) {
        std::vector<Record> linhas;
        itens.clear();
        itens.rec().setInteger("ID_VENDA", p.integer("ID"));
        itens.seek("KEYORDEM", 1);
        while (itens.next() == Status::Ok && itens.rec().integer("ID_VENDA") == p.integer("ID"))
            linhas.push_back(itens.rec());
        itensModelo.push_back(linhas);
    }
    pedcon.seekFirst("KEYID_PEDCON");
    while (pedcon.next() == Status::Ok)
        modelosHist.push_back(pedcon.rec());
    if (!vda.beginBatch() || !itens.beginBatch() || !pedcon.beginBatch())
        return false;
    int idItem = 1000000;
    for (int id = static_cast<int>(modelos.size()) + 1; id <= pedidos; ++id) {
        const std::size_t m = static_cast<std::size_t>(id) % modelos.size();
        vda.rec() = modelos[m];
        vda.rec().setInteger("ID", id);
        vda.rec().setInteger("NUMER", id);
        vda.rec().setInteger("DATA", hoje.addDays(-(id % 365)).dayNumber());
        vda.rec().setInteger("CLIEN", 1 + (id * 13) % kClientes);
        if (vda.add() != Status::Ok)
            return false;
        for (const Record& linha : itensModelo[m]) {
            itens.rec() = linha;
            itens.rec().setInteger("ID_VENDASI", ++idItem);
            itens.rec().setInteger("ID_VENDA", id);
            if (itens.add() != Status::Ok)
                return false;
        }
    }
    for (int id = static_cast<int>(modelosHist.size()) + 1; id <= historico; ++id) {
        pedcon.rec() = modelosHist[static_cast<std::size_t>(id) % modelosHist.size()];
        pedcon.rec().setInteger("ID_PEDCON", id);
        pedcon.rec().setInteger("NUMERO", 100000 + id);
        pedcon.rec().setInteger("DATA_PEDIDO", hoje.addDays(-(id % 365)).dayNumber());
        pedcon.rec().setInteger("ID_CLIENTE", 1 + (id * 7) % kClientes);
        if (pedcon.add() != Status::Ok)
            return false;
    }
    return vda.endBatch() && itens.endBatch() && pedcon.endBatch();
}

// Milliseconds of the bare SQLite query over the same rows.
long long sqliteBruto(const QString& pasta, const char* arquivo, const char* sql) {
    QElapsedTimer t;
    t.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(QDir(pasta).filePath(QString::fromLatin1(arquivo)).toUtf8().constData(), &db,
                    SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    long long linhas = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            linhas += sqlite3_column_bytes(st, c) >= 0;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return t.elapsed();
}

void medir(const char* nome, const QString& saida, Fonte& fonte, long long bruto) {
    const long antes = picoMemoria();
    QElapsedTimer t;
    t.start();
    QPdfWriter pdf(saida + QStringLiteral(".pdf"));
    const ResultadoRelatorio r =
        desenhar(pdf, {QStringLiteral("Empresa"), Date::fromYmd(2026, 12, 8)}, fonte);
    const long long msPdf = t.elapsed();
    const long depoisPdf = picoMemoria();
    t.restart();
    QFile csv(saida + QStringLiteral(".csv"));
    csv.open(QIODevice::WriteOnly);
    const ResultadoRelatorio c = gravarCsv(csv, fonte);
    const long long msCsv = t.elapsed();
    std::printf("%-18s PDF %7lld ms (%5d páginas)  CSV %7lld ms  pico +%6ld KiB  SQLite puro %5lld ms%s\n",
                nome, msPdf, r.paginas, msCsv, std::max(depoisPdf, picoMemoria()) - antes, bruto,
                r.ok() && c.ok() ? "" : qPrintable(QStringLiteral("  ERRO: ") + r.erro + c.erro));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool comComissao = argc > 1 && qstrcmp(argv[1], "--comissao") == 0;
    QTemporaryDir raiz;
    const QString pasta = raiz.filePath(QStringLiteral("demo"));
    const Date hoje = Date::fromYmd(2026, 12, 8);
    QElapsedTimer t;
    t.start();
    demo::Options opcoes;
    opcoes.hoje = hoje;
    opcoes.clientes = kClientes;
    if (const demo::Outcome o = demo::generate(pasta, opcoes); !o.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(o.error));
        return 1;
    }
    {
        Store store(pasta);
        if (!multiplicar(store, kPedidos, kHistorico, hoje)) {
            std::fprintf(stderr, "could not fill the tables\n");
            return 1;
        }
    }
    std::printf("%d clientes, %d pedidos, %d pedidos do histórico gerados em %lld ms\n", kClientes, kPedidos,
                kHistorico, static_cast<long long>(t.elapsed()));
    Store store(pasta);
    const QString saida = raiz.filePath(QStringLiteral("r"));
    {
        auto f = relatorioClientes(store, 1, {OrdemClientes::Nome, SituacaoClientes::Todos, 0});
        medir("clientes (nome)", saida, *f,
              sqliteBruto(pasta, "clientes.tps", "SELECT * FROM clientes ORDER BY RAZAO COLLATE NOCASE"));
    }
    {
        auto f = relatorioClientes(store, 1, {OrdemClientes::Municipio, SituacaoClientes::Todos, 0});
        medir("clientes (munic.)", saida, *f,
              sqliteBruto(pasta, "clientes.tps", "SELECT * FROM clientes ORDER BY ID_MUNICIPIO"));
    }
    {
        auto f = relatorioPedidos(store, 1, {});
        medir("pedidos (dia)", saida, *f,
              sqliteBruto(pasta, "pedidos.tps", "SELECT * FROM pedidos ORDER BY DATA"));
    }
    {
        FiltroPedidos filtro;
        filtro.subtotal = SubtotalPedidos::Cliente;
        auto f = relatorioPedidos(store, 1, filtro);
        medir("pedidos (cliente)", saida, *f,
              sqliteBruto(pasta, "pedidos.tps", "SELECT * FROM pedidos ORDER BY CLIEN"));
    }
    {
        auto f = relatorioPedidosConsulta(store, 1, {{}, {}, 0, false});
        medir("pedidos consulta", saida, *f,
              sqliteBruto(pasta, "pedcon.tps", "SELECT * FROM pedcon ORDER BY NUMERO, NUM_ENTREGA"));
    }
    {
        auto f = relatorioClientesInativos(store, 1, {90, hoje});
        medir("clientes inativos", saida, *f,
              sqliteBruto(pasta, "pedidos.tps", "SELECT CLIEN, max(DATA) FROM pedidos GROUP BY CLIEN"));
    }
    {
        // The commission recalculates every order: a month of them unless asked for all.
        FiltroComissao filtro;
        if (!comComissao)
            filtro.inicio = hoje.addDays(-30);
        auto f = relatorioComissao(store, 1, filtro);
        medir(comComissao ? "comissão (todos)" : "comissão (30 dias)", saida, *f,
              sqliteBruto(pasta, "peditens.tps", "SELECT * FROM peditens ORDER BY ID_VENDA"));
    }
    return 0;
}
