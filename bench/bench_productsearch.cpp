// Product name search as the user types: 200,000 products of one company, a word typed letter by
// letter in lower case into the product list's name search. For every keystroke: the time until the
// first page of the list (64 rows, name order) is ready, and the time to count every match.
#include "customers/core/ProdutoRegras.h"
#include "store/core/TableFile.h"
#include "ui/core/PagedWalk.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

using namespace qav;

namespace {
const char* const kWords[] = {"PARAFUSO", "PORCA",    "ARRUELA", "CANO",    "JOELHO", "LUVA",
                              "TORNEIRA", "REGISTRO", "VÁLVULA", "CONEXÃO", "BUCHA",  "ABRAÇADEIRA",
                              "FITA",     "COLA",     "TINTA",   "PINCEL"};
const char* const kSizes[] = {"1/2\"", "3/4\"", "1\"", "M6", "M8", "M10", "20MM", "25MM", "32MM", "50MM"};
constexpr int kProducts = 200000;
constexpr int kPage = 64;

bool fill(Store& store) {
    Table produto(store, "produto");
    if (!produto.open())
        return false;
    QRandomGenerator random(7);
    produto.beginBatch();
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
    return produto.endBatch();
}

void typeWord(PagedWalk& walk, const QString& word) {
    std::printf("\ntyping \"%s\" (active products, name order)\n", qPrintable(word));
    std::printf("  %-14s %12s %10s %16s %10s\n", "typed", "first page", "rows", "count all", "matches");
    double pageTotal = 0, countTotal = 0;
    for (qsizetype n = 1; n <= word.size(); ++n) {
        const QString typed = word.left(n);
        const ListFilter filter = produto::filtro(produto::Situacao::Ativos, 1, typed);
        QElapsedTimer timer;
        timer.start();
        walk.setFilter(filter.condition, filter.parameters);
        std::vector<Record> page;
        walk.startAtFirst();
        walk.readForward(kPage, page);
        const double pageMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        timer.start();
        const std::int64_t matches = walk.countMatching();
        const double countMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        pageTotal += pageMs;
        countTotal += countMs;
        std::printf("  %-14s %9.2f ms %10zu %13.2f ms %10lld\n", qPrintable(u'"' + typed + u'"'), pageMs,
                    page.size(), countMs, static_cast<long long>(matches));
    }
    std::printf("  %-14s %9.2f ms %10s %13.2f ms\n", "mean", pageTotal / static_cast<double>(word.size()), "",
                countTotal / static_cast<double>(word.size()));
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    StoreError error;
    if (!createTableFile(QDir(folder.path()).filePath(QStringLiteral("produto.tps")), *findTable("produto"),
                         &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text));
        return 1;
    }
    Store store(folder.path());
    QElapsedTimer timer;
    timer.start();
    if (!fill(store)) {
        std::fprintf(stderr, "could not fill the product table\n");
        return 1;
    }
    std::printf("200,000 products added in %lld ms\n", static_cast<long long>(timer.elapsed()));

    PagedWalk walk(store, *findTable("produto"));
    if (!walk.open())
        return 1;
    walk.setOrder("KEYNOME");
    typeWord(walk, QStringLiteral("torneira"));
    typeWord(walk, QStringLiteral("válvula 3/4"));
    typeWord(walk, QStringLiteral("linha 42"));
    typeWord(walk, QStringLiteral("xyz"));
    return 0;
}
