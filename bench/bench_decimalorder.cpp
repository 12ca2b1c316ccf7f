// Decimal fields in value order: a run-time key over one decimal field and a filtered walk that
// compares it, against the same sort as plain text (the order they would take without the value
// collation), over 200,000 orders with amounts from -10,000.00 to 10,000.00.
#include "store/core/Table.h"
#include "store/core/TableFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

using namespace qav;

namespace {
void report(const char* what, qint64 ms, std::int64_t rows) {
    std::printf("%-52s %8lld ms  (%lld rows)\n", what, static_cast<long long>(ms),
                static_cast<long long>(rows));
    std::fflush(stdout);
}

std::int64_t rowsOf(Connection& connection, const std::string& sql) {
    StoreError error;
    sqlite3_stmt* statement = connection.statement(sql, &error);
    if (!statement)
        return -1;
    StatementReset reset(statement);
    std::int64_t rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW)
        ++rows;
    return rows;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    StoreError error;
    if (!createTableFile(QDir(folder.path()).filePath(QStringLiteral("pedidos.tps")), *findTable("pedidos"),
                         &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text));
        return 1;
    }
    Store store(folder.path());
    Table pedidos(store, "pedidos");
    pedidos.open();
    const int rows = 200000;
    QRandomGenerator random(186);
    pedidos.beginBatch();
    for (int i = 1; i <= rows; ++i) {
        pedidos.clear();
        pedidos.rec().setInteger("ID", i);
        pedidos.rec().setDecimal(
            "VL_ICMSST", Decimal(static_cast<long long>(random.bounded(2000001)) - 1000000) / Decimal(100));
        pedidos.add();
    }
    pedidos.endBatch();

    QElapsedTimer timer;
    const int field = pedidos.def().fieldIndex("VL_ICMSST");
    for (int run = 1; run <= 3; ++run) {
        timer.start();
        const std::int64_t asText =
            rowsOf(*pedidos.connection(), "SELECT rowid FROM pedidos ORDER BY VL_ICMSST, rowid");
        report("sort as text (for comparison)", timer.elapsed(), asText);
        timer.start();
        pedidos.buildRuntimeKey({{field, false}});
        report("run-time key by value", timer.elapsed(), rows);
        timer.start();
        pedidos.setFilter("VL_ICMSST > 5");
        std::int64_t found = 0;
        pedidos.seekPhysical();
        while (pedidos.next() == Status::Ok)
            ++found;
        pedidos.clearFilter();
        report("walk filtered on VL_ICMSST > 5", timer.elapsed(), found);
    }
    return 0;
}
