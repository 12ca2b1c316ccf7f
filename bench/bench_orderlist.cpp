// The order list on 100,000 orders of one company (and 2,000 of another in the same files): the time
// until the list window shows its first page, for each tab order and situation filter the user
// starts with, beside the bare SQLite query that reads the same first page (64 orders with their
// customer names) from the same files. The number order leaves out orders without a number, as the
// key does, so the query says so too (and SQLite can use the key's partial index).
#include "base/core/Settings.h"
#include "orders/widgets/JanelaPedidos.h"
#include "store/core/TableFile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTabBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

using namespace qav;

namespace {
constexpr int kOrders = 100000;
constexpr int kOther = 2000;
constexpr int kCustomers = 3000;
constexpr int kRuns = 7;
constexpr int kPage = 64;

bool fill(Store& store) {
    Table clientes(store, "clientes");
    Table pedidos(store, "pedidos");
    if (!clientes.open() || !pedidos.open() || !clientes.beginBatch() || !pedidos.beginBatch())
        return false;
    for (int id = 1; id <= kCustomers; ++id) {
        clientes.clear();
        clientes.rec().setInteger("ID", id);
        clientes.rec().setText("RAZAO", QStringLiteral("Cliente de demonstração número %1 Ltda").arg(id));
        if (clientes.add() != Status::Ok)
            return false;
    }
    for (int id = 1; id <= kOrders + kOther; ++id) {
        pedidos.clear();
        Record& r = pedidos.rec();
        r.setInteger("ID", id);
        r.setInteger("ID_EMPRESA", id % 51 == 0 && id / 51 <= kOther ? 2 : 1);
        r.setInteger("NUMER", id);
        r.setInteger("SITUA", 1 + (id * 7) % 4);
        r.setInteger("DATA", 80000 + id / 50);
        r.setInteger("CLIEN", 1 + (id * 13) % kCustomers);
        r.setInteger("COD_VENDEDOR", 100 + id % 9);
        r.setReal("TOTAL", (id % 100000) / 3.0);
        if (pedidos.add() != Status::Ok)
            return false;
    }
    return clientes.endBatch() && pedidos.endBatch();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// From nothing to the first page painted: the window builds, reads its page and shows. On the
// customer and representative tabs, the time includes the switch to the tab and the choice.
double openList(const ListContext& context, int qsit, int tab, int* rows) {
    QElapsedTimer timer;
    timer.start();
    Settings(context.programFolder).setPedidosSituacao(qsit); // as the user left it
    auto* list = new JanelaPedidos(context);
    if (tab != JanelaPedidos::TabNumero) {
        list->tabs()->setCurrentIndex(tab);
        if (tab == JanelaPedidos::TabCliente)
            list->setCliente(77);
        else
            list->setVendedor(104);
    }
    list->show();
    QApplication::processEvents();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    *rows = list->model()->rowCount();
    delete list;
    return ms;
}

double bareQuery(const QString& folder, const char* where, const char* order, int* rows) {
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(QDir(folder).filePath(QStringLiteral("pedidos.tps")).toUtf8().constData(), &db,
                    SQLITE_OPEN_READONLY, nullptr);
    const QByteArray attach =
        "ATTACH '" + QDir(folder).filePath(QStringLiteral("clientes.tps")).toUtf8() + "' AS c";
    sqlite3_exec(db, attach.constData(), nullptr, nullptr, nullptr);
    const QByteArray sql = QByteArray("SELECT p.NUMER, p.NUM_ERP, p.SITUA, p.DATA, cl.RAZAO, p.TOTAL, p.ID "
                                      "FROM pedidos p LEFT JOIN c.clientes cl ON cl.ID = p.CLIEN WHERE ") +
                           where + " ORDER BY " + order + " LIMIT " + QByteArray::number(kPage);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr);
    *rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < 7; ++c)
            sqlite3_column_text(statement, c);
        ++*rows;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir data;
    QTemporaryDir program;
    for (const TableDef& def : catalogue()) {
        StoreError error;
        if (!createTableFile(QDir(data.path()).filePath(QString::fromLatin1(def.fileName)), def, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error.text));
            return 1;
        }
    }
    {
        Store store(data.path());
        QElapsedTimer timer;
        timer.start();
        if (!fill(store)) {
            std::fprintf(stderr, "could not fill the tables\n");
            return 1;
        }
        std::printf("%d + %d orders and %d customers written in %lld ms\n", kOrders, kOther, kCustomers,
                    static_cast<long long>(timer.elapsed()));
    }
    const ListContext context{data.path(), 1, program.path()};
    struct Case {
        const char* name;
        int qsit;
        int tab;
        const char* where;
        const char* order;
    };
    const Case cases[] = {
        {"Número, Todas", 5, JanelaPedidos::TabNumero, "p.ID_EMPRESA = 1 AND NOT (p.NUMER = 0)", "p.NUMER"},
        {"Número, Cancelado", 4, JanelaPedidos::TabNumero,
         "p.ID_EMPRESA = 1 AND p.SITUA = 4 AND NOT (p.NUMER = 0)", "p.NUMER"},
        {"Cliente 77, Todas", 5, JanelaPedidos::TabCliente, "p.ID_EMPRESA = 1 AND p.CLIEN = 77",
         "p.CLIEN, p.rowid"},
        {"Vendedor 104, Todas", 5, JanelaPedidos::TabVendedor, "p.ID_EMPRESA = 1 AND p.COD_VENDEDOR = 104",
         "p.COD_VENDEDOR, p.rowid"},
    };
    std::printf("\nfirst page shown (median of %d runs)\n", kRuns);
    std::printf("  %-22s %14s %6s %16s %6s %8s\n", "tab, situation", "BrowsePEDIDO", "rows", "bare SQLite",
                "rows", "ratio");
    for (const Case& c : cases) {
        std::vector<double> list, bare;
        int listRows = 0, bareRows = 0;
        for (int run = 0; run < kRuns; ++run) {
            list.push_back(openList(context, c.qsit, c.tab, &listRows));
            bare.push_back(bareQuery(data.path(), c.where, c.order, &bareRows));
        }
        const double l = median(list), b = median(bare);
        std::printf("  %-22s %11.2f ms %6d %13.2f ms %6d %7.1fx\n", c.name, l, listRows, b, bareRows, l / b);
    }
    std::fflush(stdout);
    return 0;
}
