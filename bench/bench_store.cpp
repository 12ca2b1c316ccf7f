// Store benchmark: bulk adds, random gets by key, a long walk in key order and a contains-search of
// the product names, with the figures printed. Optional argument: a folder to keep the files in
// (they are used by bench/compare_sqlite3.sh to time the same work in the sqlite3 tool).
#include "store/core/Table.h"
#include "store/core/TableFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

using namespace qav;

namespace {
void report(const char* what, qint64 ms, std::int64_t count) {
    std::printf("%-52s %8lld ms  %10.2f us/op  (%lld ops)\n", what, static_cast<long long>(ms),
                count ? 1000.0 * static_cast<double>(ms) / static_cast<double>(count) : 0.0,
                static_cast<long long>(count));
    std::fflush(stdout);
}

bool createAll(const QString& folder) {
    for (const char* name : {"pauxpro.tps", "produto.tps"}) {
        StoreError error;
        QFile::remove(QDir(folder).filePath(QString::fromLatin1(name)));
        if (!createTableFile(QDir(folder).filePath(QString::fromLatin1(name)), *findTable(name), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error.text));
            return false;
        }
    }
    return true;
}

const char* const kWords[] = {"PARAFUSO", "PORCA",    "ARRUELA", "CANO",    "JOELHO", "LUVA",
                              "TORNEIRA", "REGISTRO", "VÁLVULA", "CONEXÃO", "BUCHA",  "ABRAÇADEIRA",
                              "FITA",     "COLA",     "TINTA",   "PINCEL"};
const char* const kSizes[] = {"1/2\"", "3/4\"", "1\"", "M6", "M8", "M10", "20MM", "25MM", "32MM", "50MM"};
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    QDir().mkpath(folder);
    if (!createAll(folder))
        return 1;
    Store store(folder);
    QElapsedTimer timer;

    // 1. One million price rows in one batch.
    const int priceRows = 1000000;
    Table pauxpro(store, "pauxpro");
    pauxpro.open();
    timer.start();
    pauxpro.beginBatch();
    for (int i = 0; i < priceRows; ++i) {
        pauxpro.clear();
        pauxpro.rec().setInteger("ID_PAUTA", 10001 + (i % 5) * 10000);
        pauxpro.rec().setInteger("ID_PROD", i / 5 + 1);
        pauxpro.rec().setDecimal("PRECO1", Decimal(1000 + i % 9000) / Decimal(100));
        pauxpro.rec().setDecimal("VALOR1", Decimal(i % 500));
        if (pauxpro.add() != Status::Ok) {
            std::fprintf(stderr, "add failed: %s\n", qPrintable(pauxpro.error().text));
            return 1;
        }
    }
    pauxpro.endBatch();
    report("add 1,000,000 pauxpro rows in one batch", timer.elapsed(), priceRows);

    // 2. 200,000 products, then 100,000 random gets by key.
    const int products = 200000;
    Table produto(store, "produto");
    produto.open();
    QRandomGenerator random(42);
    timer.start();
    produto.beginBatch();
    for (int i = 1; i <= products; ++i) {
        produto.clear();
        produto.rec().setInteger("ID_EMPRESA", 1);
        produto.rec().setInteger("ID", i);
        produto.rec().setText("CODIGO", QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')));
        produto.rec().setText("NOME", QStringLiteral("%1 %2 %3 LINHA %4")
                                          .arg(QString::fromUtf8(kWords[random.bounded(16)]))
                                          .arg(QString::fromUtf8(kSizes[random.bounded(10)]))
                                          .arg(QString::fromUtf8(kWords[random.bounded(16)]).toLower())
                                          .arg(i % 97));
        produto.rec().setDecimal("PRECO", Decimal(random.bounded(100000)) / Decimal(100));
        produto.add();
    }
    produto.endBatch();
    report("add 200,000 produto rows in one batch", timer.elapsed(), products);

    const int gets = 100000;
    timer.start();
    int found = 0;
    for (int i = 0; i < gets; ++i) {
        produto.clear();
        produto.rec().setInteger("ID", random.bounded(1, products + 1));
        produto.rec().setInteger("ID_EMPRESA", 1);
        found += produto.get("KEYID") == Status::Ok ? 1 : 0;
    }
    report("100,000 random gets by KEYID on produto", timer.elapsed(), gets);
    if (found != gets)
        std::fprintf(stderr, "only %d of %d found\n", found, gets);

    // 3. A walk in key order over the million price rows.
    timer.start();
    std::int64_t walked = 0;
    pauxpro.seekFirst("KEYPRODUTO");
    while (pauxpro.next() == Status::Ok)
        ++walked;
    report("walk 1,000,000 pauxpro rows in KEYPRODUTO order", timer.elapsed(), walked);

    // 4. Contains-search over the upper-cased names.
    for (const char* word : {"TORNEIRA", "VÁLVULA 3/4", "LINHA 42", "XYZ"}) {
        timer.start();
        produto.setFilter("instr(\"_ci_NOME\", ?) > 0", {QString::fromUtf8(word)});
        std::int64_t matches = 0;
        produto.seekFirst("KEYNOME");
        while (produto.next() == Status::Ok)
            ++matches;
        const QByteArray label = "contains-search \"" + QByteArray(word) + "\" over 200,000 names (" +
                                 QByteArray::number(static_cast<qlonglong>(matches)) + " found)";
        report(label.constData(), timer.elapsed(), 1);
    }
    return 0;
}
