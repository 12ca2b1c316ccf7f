// Name search as the user types: 200,000 products of one company and 50,000 customers, a word typed
// letter by letter in lower case, without its accents, into the product list's name search (and the
// same search on the customers' names). For every keystroke: the time until the first page of the
// list (64 rows, name order) is ready and the time to count every match, through the name index where
// it pays, beside the same two queries as a bare scan run by SQLite alone (its C API, same file, same
// run: the search as it was before the index), and the ratio of the two totals.
#include "customers/core/ProdutoRegras.h"
#include "store/core/TableFile.h"
#include "store/core/TableSet.h"
#include "store/core/Text.h"
#include "ui/core/PagedWalk.h"
#include "ui/core/TextSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sqlite3.h>
#include <string>

using namespace qav;

namespace {
const char* const kWords[] = {"PARAFUSO", "PORCA",    "ARRUELA", "CANO",    "JOELHO", "LUVA",
                              "TORNEIRA", "REGISTRO", "VÁLVULA", "CONEXÃO", "BUCHA",  "ABRAÇADEIRA",
                              "FITA",     "PERFIL",   "TINTA",   "PERFIL"};
const char* const kSizes[] = {"1/2\"", "3/4\"", "1\"", "M6", "M8", "M10", "20MM", "25MM", "32MM", "50MM"};
constexpr int kProducts = 200000;
constexpr int kPage = 64;

// The products added in one transaction, as a company's first download adds them: with the name
// index following each record, or (`suspended`) built once from the records before the commit.
bool fill(Store& store, bool suspended) {
    Table produto(store, "produto");
    if (!produto.open())
        return false;
    QRandomGenerator random(7);
    produto.beginBatch();
    if (suspended && !suspendNameIndex(produto).ok())
        return false;
    for (int i = 1; i <= kProducts; ++i) {
        produto.clear();
        produto.rec().setInteger("ID_EMPRESA", 1);
        produto.rec().setInteger("ID", i);
        produto.rec().setText("CODIGO", QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')));
        produto.rec().setText("NOME", QStringLiteral("%1 %2 %3 LINHA %4")
                                          .arg(QString::fromUtf8(kWords[random.bounded(16)]))
                                          .arg(QString::fromUtf8(kSizes[random.bounded(10)]))
                                          .arg(QString::fromUtf8(kWords[random.bounded(16)]).toLower())
                                          .arg(i % 97));
        produto.rec().setInteger("ATIVO", i % 10 == 0 ? 0 : 1);
        produto.rec().setDecimal("PRECO", Decimal(random.bounded(100000)) / Decimal(100));
        if (produto.add() != Status::Ok)
            return false;
    }
    if (suspended && !rebuildNameIndex(produto).ok())
        return false;
    return produto.endBatch();
}

const char* const kNomesClientes[] = {
    "SILVA",     "SOUZA",   "JOÃO",     "CONCEIÇÃO", "ANTÔNIO",  "COMÉRCIO", "MATERIAIS",     "CONSTRUÇÃO",
    "FERRAGENS", "RIBEIRO", "SÃO JOSÉ", "PEREIRA",   "OLIVEIRA", "LOJA",     "DISTRIBUIDORA", "AGRÍCOLA"};
constexpr int kClientes = 50000;

bool fillClientes(Store& store) {
    Table clientes(store, "clientes");
    if (!clientes.open())
        return false;
    QRandomGenerator random(11);
    clientes.beginBatch();
    for (int i = 1; i <= kClientes; ++i) {
        clientes.clear();
        clientes.rec().setInteger("ID", i);
        clientes.rec().setText("RAZAO",
                               QStringLiteral("%1 %2 %3 LTDA %4")
                                   .arg(QString::fromUtf8(kNomesClientes[random.bounded(16)]))
                                   .arg(QString::fromUtf8(kNomesClientes[random.bounded(16)]))
                                   .arg(QString::fromUtf8(kNomesClientes[random.bounded(16)]).toLower())
                                   .arg(i % 89));
        clientes.rec().setInteger("ATIVO", i % 10 == 0 ? 0 : 1);
        if (clientes.add() != Status::Ok)
            return false;
    }
    return clientes.endBatch();
}

// The same work done by SQLite alone through its C API on the same file: the first page of matches
// in name order, every column of each row read, and the count of all matches. The condition is the
// search rule written by hand: the accent-free text in the name key, and, when a space was typed
// after a word, the word followed by a space or ending the name (where the key ends or its accented
// form begins).
class BareQuery {
public:
    // `from`: "produto WHERE ID_EMPRESA = ?2 AND ATIVO = ?3" (the list's own conditions), `column` the
    // name's key form.
    BareQuery(const QString& path, const std::string& from, const std::string& column) {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(m_db, "PRAGMA cache_size=-16000", nullptr, nullptr, nullptr);
        const std::string word = " FROM " + from + " AND instr(" + column + ", ?1) > 0";
        const std::string wordThenSpace = " FROM " + from + " AND (instr(" + column +
                                          ", ?1 || ' ') > 0 OR instr(" + column +
                                          " || char(1), ?1 || char(1)) > 0)";
        const std::string order = " ORDER BY " + column + ", rowid LIMIT " + std::to_string(kPage);
        for (int space = 0; space < 2; ++space) {
            const std::string& where = space ? wordThenSpace : word;
            sqlite3_prepare_v2(m_db, ("SELECT *" + where + order).c_str(), -1, &m_page[space], nullptr);
            sqlite3_prepare_v2(m_db, ("SELECT count(*)" + where).c_str(), -1, &m_count[space], nullptr);
        }
    }
    ~BareQuery() {
        for (int space = 0; space < 2; ++space) {
            sqlite3_finalize(m_page[space]);
            sqlite3_finalize(m_count[space]);
        }
        sqlite3_close(m_db);
    }
    bool ok() const { return m_page[0] && m_count[0] && m_page[1] && m_count[1]; }

    // Rows of the first page, every column read.
    int page(const QString& typed) {
        sqlite3_stmt* statement = bind(m_page, typed);
        int rows = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            ++rows;
            for (int c = 0, n = sqlite3_column_count(statement); c < n; ++c) {
                switch (sqlite3_column_type(statement, c)) {
                case SQLITE_INTEGER:
                    m_sink += sqlite3_column_int64(statement, c);
                    break;
                case SQLITE_FLOAT:
                    m_sink += static_cast<std::int64_t>(sqlite3_column_double(statement, c));
                    break;
                default:
                    m_sink +=
                        sqlite3_column_bytes(statement, c) + (sqlite3_column_text(statement, c) ? 1 : 0);
                }
            }
        }
        sqlite3_reset(statement);
        return rows;
    }
    // The count of all matches.
    std::int64_t count(const QString& typed) {
        sqlite3_stmt* statement = bind(m_count, typed);
        const std::int64_t matches =
            sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
        sqlite3_reset(statement);
        return matches;
    }

private:
    static sqlite3_stmt* bind(sqlite3_stmt* const (&statements)[2], const QString& typed) {
        const QByteArray needle = text::foldSearch(typed).toUtf8();
        sqlite3_stmt* statement = statements[typed.endsWith(u' ') ? 1 : 0];
        sqlite3_bind_text(statement, 1, needle.constData(), static_cast<int>(needle.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int(statement, 2, 1); // company 1
        sqlite3_bind_int(statement, 3, 1); // active products
        return statement;
    }
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_page[2] = {};
    sqlite3_stmt* m_count[2] = {};
    std::int64_t m_sink = 0;
};

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// A list's first search reads the names into memory (and so does the first one after a change of
// the table): the time of that first count, and of the same count again.
void firstSearch(Store& store, const char* table, const char* key, const ListFilter& filter,
                 const char* what) {
    PagedWalk walk(store, *findTable(table));
    if (!walk.open())
        return;
    walk.setOrder(key);
    walk.setListFilter(filter);
    QElapsedTimer timer;
    timer.start();
    const std::int64_t matches = walk.countMatching().value_or(-1);
    const double first = msSince(timer);
    timer.start();
    walk.countMatching();
    const double next = msSince(timer);
    std::printf("first search of a list of the %s (its names read into memory): %.1f ms; the same count "
                "again: %.2f ms (%lld matches)\n",
                what, first, next, static_cast<long long>(matches));
}

// Each keystroke is timed kRuns times both ways, alternately; the fastest run of each counts (the
// machine is shared: the slower runs measure the neighbours).
constexpr int kRuns = 5;

double typeWord(PagedWalk& walk, BareQuery& bare, const QString& word,
                const std::function<ListFilter(const QString&)>& filterFor, const char* what) {
    std::printf("\ntyping \"%s\" (active %s, name order, first %d rows + count)\n", qPrintable(word), what,
                kPage);
    std::printf("  %-14s %9s %9s %9s | %9s %9s %9s | %6s %8s\n", "typed", "page", "count", "index", "page",
                "count", "bare scan", "ratio", "matches");
    double worst = 0;
    for (qsizetype n = 1; n <= word.size(); ++n) {
        const QString typed = word.left(n);
        double pageMs = 1e9, countMs = 1e9, barePageMs = 1e9, bareCountMs = 1e9;
        std::int64_t matches = 0, bareMatches = 0;
        size_t rows = 0;
        int bareRows = 0;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            const ListFilter filter = filterFor(typed);
            walk.setListFilter(filter);
            std::vector<Record> page;
            walk.startAtFirst();
            walk.readForward(kPage, page);
            pageMs = std::min(pageMs, msSince(timer));
            rows = page.size();
            timer.start();
            matches = walk.countMatching().value_or(-1);
            countMs = std::min(countMs, msSince(timer));

            timer.start();
            bareRows = bare.page(typed);
            barePageMs = std::min(barePageMs, msSince(timer));
            timer.start();
            bareMatches = bare.count(typed);
            bareCountMs = std::min(bareCountMs, msSince(timer));
        }
        if (static_cast<int>(rows) != bareRows || matches != bareMatches) {
            std::printf("  %-14s different results: %zu/%lld rows/matches, sqlite %d/%lld\n",
                        qPrintable(u'"' + typed + u'"'), rows, static_cast<long long>(matches), bareRows,
                        static_cast<long long>(bareMatches));
            return -1;
        }
        const double ratio = (pageMs + countMs) / (barePageMs + bareCountMs);
        worst = std::max(worst, ratio);
        std::printf("  %-14s %6.2f ms %6.2f ms %6.2f ms | %6.2f ms %6.2f ms %6.2f ms | %6.2f %8lld\n",
                    qPrintable(u'"' + typed + u'"'), pageMs, countMs, pageMs + countMs, barePageMs,
                    bareCountMs, barePageMs + bareCountMs, ratio, static_cast<long long>(matches));
    }
    std::fflush(stdout);
    return worst;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    StoreError error;
    for (const char* table : {"produto.tps", "clientes.tps"})
        if (!createTableFile(QDir(folder.path()).filePath(QString::fromLatin1(table)), *findTable(table),
                             &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error.text));
            return 1;
        }
    // The same products first into a folder of their own with the index following each record, then
    // into the searched folder with the index built at the end: processor time of each.
    QTemporaryDir perRecordFolder;
    if (!createTableFile(QDir(perRecordFolder.path()).filePath(QStringLiteral("produto.tps")),
                         *findTable("produto"), &error))
        return 1;
    double cpuPerRecord = 0;
    {
        Store perRecord(perRecordFolder.path());
        const std::clock_t start = std::clock();
        if (!fill(perRecord, false)) {
            std::fprintf(stderr, "could not fill the product table\n");
            return 1;
        }
        cpuPerRecord = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    }
    Store store(folder.path());
    const std::clock_t start = std::clock();
    if (!fill(store, true)) {
        std::fprintf(stderr, "could not fill the product table\n");
        return 1;
    }
    const double cpuAtEnd = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    std::printf("200,000 products added in one transaction, processor time: %.2f s with the name index "
                "following each record, %.2f s with it built at the end (%.2f times)\n",
                cpuPerRecord, cpuAtEnd, cpuPerRecord / cpuAtEnd);
    QElapsedTimer timer;
    timer.start();
    if (!fillClientes(store)) {
        std::fprintf(stderr, "could not fill the customer table\n");
        return 1;
    }
    std::printf("50,000 customers added in %lld ms\n", static_cast<long long>(timer.elapsed()));

    firstSearch(store, "produto", "KEYNOME",
                produto::filtro(produto::Situacao::Ativos, 1, QStringLiteral("a")), "products");
    firstSearch(store, "clientes", "KEYRAZAO",
                containsTextWhere(*findTable("clientes"), "RAZAO", QStringLiteral("a"), {{"ATIVO", 1}}),
                "customers");

    double worst = 0;
    {
        PagedWalk walk(store, *findTable("produto"));
        BareQuery bare(QDir(folder.path()).filePath(QStringLiteral("produto.tps")),
                       "produto WHERE ID_EMPRESA = ?2 AND ATIVO = ?3", "_ci_NOME");
        if (!walk.open() || !bare.ok())
            return 1;
        walk.setOrder("KEYNOME");
        const auto filter = [](const QString& typed) {
            return produto::filtro(produto::Situacao::Ativos, 1, typed);
        };
        // One letter, two, a common word (in about a quarter of the names), a rare one, nothing,
        // an accented word and words with a space.
        for (const QString& word :
             {QStringLiteral("a"), QStringLiteral("perfil"), QStringLiteral("torneira"), QStringLiteral("xy"),
              QStringLiteral("conexão"), QStringLiteral("valvula 3/4"), QStringLiteral("linha 42")}) {
            const double ratio = typeWord(walk, bare, word, filter, "products");
            if (ratio < 0)
                return 1;
            worst = std::max(worst, ratio);
        }
    }
    {
        PagedWalk walk(store, *findTable("clientes"));
        BareQuery bare(QDir(folder.path()).filePath(QStringLiteral("clientes.tps")),
                       "clientes WHERE ATIVO = ?3", "_ci_RAZAO");
        if (!walk.open() || !bare.ok())
            return 1;
        walk.setOrder("KEYRAZAO");
        const auto filter = [](const QString& typed) {
            return containsTextWhere(*findTable("clientes"), "RAZAO", typed, {{"ATIVO", 1}});
        };
        for (const QString& word :
             {QStringLiteral("ferragens"), QStringLiteral("conceicao"), QStringLiteral("são jo"),
              QStringLiteral("ltda 7"), QStringLiteral("xyz")}) {
            const double ratio = typeWord(walk, bare, word, filter, "customers");
            if (ratio < 0)
                return 1;
            worst = std::max(worst, ratio);
        }
    }
    std::printf("\nworst keystroke: %.2f times the bare scan\n", worst);
    return 0;
}
