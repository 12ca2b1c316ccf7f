// An order of 1,000 items in a folder with the demonstration reference data (products, price lists,
// tax substitution, customers): the time to open it, read its reference rows and the other orders,
// change the header discount, recalculate and save, beside the bare SQLite work of the same writes
// (the 1,000 item rows and the header updated in one transaction over both files).
#include "orders/core/EdicaoPedido.h"
#include "orders/widgets/FichaItemPedido.h"
#include "orders/widgets/FichaPedido.h"
#include "store/core/Transaction.h"
#include "tools/qavdemo/DemoData.h"
#include "ui/widgets/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <utility>
#include <vector>

using namespace qav;

namespace {
constexpr int kItens = 1000;
constexpr int kRuns = 7;
constexpr int kPedido = 1000;
const Date kHoje = Date::fromYmd(2026, 12, 8);

// The item fields the recalculation writes, and the header's.
const char* const kCamposItem[] = {"VL_DESC_TOTAL", "VL_LIQUIDO",   "BC_IPI",  "VL_IPI",
                                   "VL_ICMSST",     "PR_PAUTA_LIQ", "VL_FLEX", "COMIS"};
const char* const kCamposPedido[] = {"TOTPR", "DESCP", "DESCV", "IPI", "VL_ICMSST", "TOTAL"};

double ms(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The first value of `campo` in the order of `chave` among the company's rows.
int primeiro(Store& store, const char* tabela, const char* chave, const char* campo) {
    Table t(store, tabela);
    if (!t.open() || t.seekFirst(chave) == Status::Error || t.next() != Status::Ok)
        return 0;
    return static_cast<int>(t.rec().integer(campo));
}

// Order kPedido: a flex order of the first customer with kItens items of the demonstration products.
bool prepararPedido(Store& store) {
    Table produtos(store, "produto");
    Table pedidos(store, "pedidos");
    Table itens(store, "peditens");
    if (!produtos.open() || !pedidos.open() || !itens.open())
        return false;
    std::vector<int> ids;
    if (produtos.seekFirst("KEYID") == Status::Error)
        return false;
    while (produtos.next() == Status::Ok)
        ids.push_back(static_cast<int>(produtos.rec().integer("ID")));
    if (ids.empty())
        return false;
    const int cliente = primeiro(store, "clientes", "KEYID", "ID");
    const int pauta = primeiro(store, "pauta", "KEYCODIGO", "CODIGO");
    Transaction t({&pedidos, &itens});
    if (!t.begin())
        return false;
    pedidos.clear();
    Record& p = pedidos.rec();
    p.setInteger("ID", kPedido);
    p.setInteger("ID_EMPRESA", 1);
    p.setInteger("NUMER", kPedido);
    p.setInteger("SITUA", 1);
    p.setInteger("CLIEN", cliente);
    p.setInteger("COD_VENDEDOR", 101);
    p.setInteger("COD_FORMAPAG", 1);
    p.setInteger("COD_PAUTA", pauta);
    p.setInteger("PED_FLEX", 1);
    p.setInteger("FCONTA", 1);
    if (pedidos.add() != Status::Ok)
        return false;
    for (int i = 1; i <= kItens; ++i) {
        const int produto = ids[static_cast<std::size_t>(i - 1) % ids.size()];
        itens.clear();
        Record& r = itens.rec();
        r.setInteger("ID_VENDASI", 100000 + i);
        r.setInteger("ID_VENDA", kPedido);
        r.setInteger("PRODU", produto);
        r.setDecimal("QTD", Decimal(1 + i % 12));
        r.setDecimal("PRUNI", Decimal::parse("12.3456").value() + Decimal(i % 9));
        r.setDecimal("VALOR_PRODUTO", r.decimal("PRUNI"));
        r.setDecimal("PRECO_PAUTA", r.decimal("PRUNI") + Decimal(1));
        r.setDecimal("TOTAL", (r.decimal("QTD") * r.decimal("PRUNI")).rounded(2));
        r.setText("OBS", QString::number(i));
        if (itens.add() != Status::Ok)
            return false;
    }
    return t.commit();
}

// A field value as the store keeps it in the file: decimals as text with their places, real64 as
// a double.
void bind(sqlite3_stmt* s, int n, const Record& r, const char* campo) {
    const FieldDef& f = r.def().fields[static_cast<std::size_t>(r.field(campo))];
    if (f.type == FieldType::Real64) {
        sqlite3_bind_double(s, n, r.real(campo));
        return;
    }
    const std::string texto = r.decimal(campo).toString(f.scale);
    sqlite3_bind_text(s, n, texto.c_str(), static_cast<int>(texto.size()), SQLITE_TRANSIENT);
}

// The same rows written by SQLite alone: the item fields and header fields the save wrote, by row,
// in one transaction over the two files, with the store's journal settings.
double gravarDireto(const QString& pasta, const Record& pedido, const std::vector<ItemEmEdicao>& itens) {
    sqlite3* db = nullptr;
    sqlite3_open(QDir(pasta).filePath(QStringLiteral("peditens.tps")).toUtf8().constData(), &db);
    const QByteArray attach =
        "ATTACH '" + QDir(pasta).filePath(QStringLiteral("pedidos.tps")).toUtf8() + "' AS p";
    sqlite3_exec(db, attach.constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA p.journal_mode=DELETE; PRAGMA synchronous=FULL;",
                 nullptr, nullptr, nullptr);
    std::string sqlItem = "UPDATE main.peditens SET ";
    int n = 0;
    for (const char* c : kCamposItem) {
        ++n;
        sqlItem += std::string(n > 1 ? ", " : "") + c + " = ?" + std::to_string(n);
    }
    sqlItem += ", \"_rev\" = \"_rev\" + 1 WHERE rowid = ?" + std::to_string(n + 1);
    std::string sqlPedido = "UPDATE p.pedidos SET ";
    n = 0;
    for (const char* c : kCamposPedido) {
        ++n;
        sqlPedido += std::string(n > 1 ? ", " : "") + c + " = ?" + std::to_string(n);
    }
    sqlPedido += ", \"_rev\" = \"_rev\" + 1 WHERE rowid = ?" + std::to_string(n + 1);

    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* item = nullptr;
    sqlite3_stmt* cabecalho = nullptr;
    sqlite3_prepare_v2(db, sqlItem.c_str(), -1, &item, nullptr);
    sqlite3_prepare_v2(db, sqlPedido.c_str(), -1, &cabecalho, nullptr);
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    int col = 0;
    for (const char* c : kCamposPedido)
        bind(cabecalho, ++col, pedido, c);
    sqlite3_bind_int64(cabecalho, col + 1, pedido.rowId());
    sqlite3_step(cabecalho);
    for (const ItemEmEdicao& i : itens) {
        sqlite3_reset(item);
        col = 0;
        for (const char* c : kCamposItem)
            bind(item, ++col, i.item, c);
        sqlite3_bind_int64(item, col + 1, i.item.rowId());
        if (sqlite3_step(item) != SQLITE_DONE || sqlite3_changes(db) != 1)
            std::fprintf(stderr, "bare update failed: %s\n", sqlite3_errmsg(db));
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(item);
    sqlite3_finalize(cabecalho);
    const double tempo = ms(timer);
    sqlite3_close(db);
    return tempo;
}
} // namespace

// Rows of `tabela` changed by `mudar`, all of them.
void alterarTodos(Store& store, const char* tabela, const std::function<void(Record&)>& mudar) {
    Table t(store, tabela);
    if (!t.open() || t.seekPhysical() != Status::Ok)
        return;
    while (t.next() == Status::Ok) {
        mudar(t.rec());
        t.put();
    }
}

// The same edit through the order form, as the representative does it: the form opens on the order
// (reading, recalculating and showing its items and rules), the header discount is typed and left,
// and "&OK" runs the checks and saves.
void pelaJanela(const QString& pasta) {
    const ListContext contexto{pasta, 1, pasta};
    {
        // The benchmark's items are priced at random: without discount limits the pending order is
        // saved, after every check has run.
        Store store(pasta);
        alterarTodos(store, "vendedor", [](Record& r) {
            r.setDecimal("TX_DESCMAX", Decimal());
            r.setDecimal("DESC_RATEIO_COM", Decimal());
        });
        alterarTodos(store, "produto", [](Record& r) { r.setDecimal("DESC_MAX", Decimal()); });
        alterarTodos(store, "pauta", [](Record& r) { r.setInteger("BLOQ_DESCONTOS", 0); });
    }
    std::vector<double> abrir, desconto, confirmar;
    for (int run = 0; run < kRuns; ++run) {
        Store store(pasta);
        Record pedido(*findTable("pedidos.tps"));
        {
            Table pedidos(store, "pedidos");
            pedidos.open();
            pedidos.rec().setInteger("ID", kPedido);
            pedidos.get("KEYID");
            pedido = pedidos.rec();
        }
        MessageBox::setNextAnswers(QList<Button>(1000, Button::No));
        QElapsedTimer t;
        t.start();
        FichaPedido form(contexto, Requisicao::Alterar);
        if (!form.preparar(&pedido))
            return;
        form.show();
        QCoreApplication::processEvents();
        const double t1 = ms(t);
        auto* descp = form.findChild<QLineEdit*>(QStringLiteral("descp"));
        descp->setText(run % 2 == 0 ? QStringLiteral("3,00") : QStringLiteral("6,00"));
        descp->setModified(true);
        Q_EMIT descp->editingFinished();
        QCoreApplication::processEvents();
        const double t2 = ms(t);
        if (!form.confirmar()) {
            std::fprintf(stderr, "the form did not save the order:\n");
            for (const MessageBox::Shown& box : MessageBox::shown())
                std::fprintf(stderr, "  %s: %s\n", qPrintable(box.caption), qPrintable(box.text));
            return;
        }
        const double t3 = ms(t);
        abrir.push_back(t1);
        desconto.push_back(t2 - t1);
        confirmar.push_back(t3 - t2);
    }
    std::printf("the same order through the order form, median of %d runs\n", kRuns);
    std::printf("  %-44s %9.2f ms\n", "form opens on the order", median(abrir));
    std::printf("  %-44s %9.2f ms\n", "discount typed: recalculated and shown", median(desconto));
    std::printf("  %-44s %9.2f ms\n", "\"&OK\": checks and save", median(confirmar));
}

// The 1,000th item added through the item form to an order of 999: the item typed and confirmed
// (priced and checked, into the order in memory), then the order recalculated as the order form does
// when the item form returns (reference rows read again), then the order saved with its 1,000 items.
void milesimoItem(const QString& pasta) {
    const ListContext contexto{pasta, 1, pasta};
    std::vector<double> item, recalculo, gravacao;
    for (int run = 0; run < kRuns; ++run) {
        Store store(pasta);
        EdicaoPedido pedido(store);
        DadosPedido dados;
        if (!pedido.abrir(kPedido).ok() || !pedido.carregarDados(dados).ok())
            return;
        const int produto = static_cast<int>(pedido.itens().back().item.integer("PRODU"));
        pedido.itens().pop_back(); // 999 items: the last one is entered again
        QString codigo;
        {
            Table produtos(store, "produto");
            produtos.open();
            produtos.rec().setInteger("ID", produto);
            produtos.rec().setInteger("ID_EMPRESA", 1);
            produtos.get("KEYID");
            codigo = produtos.rec().text("CODIGO").trimmed();
        }
        MessageBox::setNextAnswers(QList<Button>(1000, Button::No));
        QElapsedTimer t;
        t.start();
        {
            FichaItemPedido form(contexto, store, pedido, dados, Requisicao::Inserir, -1, false);
            form.preparar();
            form.show();
            for (const auto& [nome, texto] :
                 {std::pair{"produto", codigo}, std::pair{"qtd", QStringLiteral("2")}}) {
                auto* entrada = form.findChild<QLineEdit*>(QString::fromLatin1(nome));
                entrada->setText(texto);
                entrada->setModified(true);
                Q_EMIT entrada->editingFinished();
            }
            if (!form.confirmar() || pedido.itens().size() != static_cast<size_t>(kItens)) {
                std::fprintf(stderr, "the item form did not add the item\n");
                return;
            }
        }
        const double t1 = ms(t);
        std::vector<OutroPedido> outros;
        if (!pedido.carregarDados(dados).ok() || !pedido.outrosPedidos(outros).ok())
            return;
        pedido.recalcular(dados, outros);
        const double t2 = ms(t);
        if (!pedido.gravar().ok())
            return;
        const double t3 = ms(t);
        item.push_back(t1);
        recalculo.push_back(t2 - t1);
        gravacao.push_back(t3 - t2);
    }
    std::printf("the 1,000th item added through the item form, median of %d runs\n", kRuns);
    std::printf("  %-44s %9.2f ms\n", "item typed and \"&OK\" (into the order)", median(item));
    std::printf("  %-44s %9.2f ms\n", "order recalculated (reference rows read)", median(recalculo));
    std::printf("  %-44s %9.2f ms\n", "order saved with its 1,000 items", median(gravacao));
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir pasta;
    demo::Options opcoes;
    opcoes.produtos = kItens;
    opcoes.hoje = kHoje;
    const demo::Outcome gerado = demo::generate(pasta.path(), opcoes);
    if (!gerado.ok) {
        std::fprintf(stderr, "demonstration data: %s\n", qPrintable(gerado.error));
        return 1;
    }
    Store store(pasta.path());
    if (!prepararPedido(store)) {
        std::fprintf(stderr, "could not write the order\n");
        return 1;
    }

    std::vector<double> abrir, dados, recalculo, gravacao, total, direto;
    for (int run = 0; run < kRuns; ++run) {
        EdicaoPedido edicao(store);
        QElapsedTimer t;
        t.start();
        if (!edicao.abrir(kPedido).ok())
            return 1;
        const double t1 = ms(t);
        DadosPedido d;
        std::vector<OutroPedido> outros;
        if (!edicao.carregarDados(d).ok() || !edicao.outrosPedidos(outros).ok())
            return 1;
        const double t2 = ms(t);
        // A different discount each run, so that every item's net value changes and is written.
        edicao.pedido().setReal("DESCP", run % 2 == 0 ? 2.5 : 5.0);
        edicao.recalcular(d, outros);
        const double t3 = ms(t);
        const FalhaEdicao f = edicao.gravar();
        if (!f.ok()) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(f.mensagem));
            return 1;
        }
        const double t4 = ms(t);
        abrir.push_back(t1);
        dados.push_back(t2 - t1);
        recalculo.push_back(t3 - t2);
        gravacao.push_back(t4 - t3);
        total.push_back(t4);
        direto.push_back(gravarDireto(pasta.path(), edicao.pedido(), edicao.itens()));
    }
    const double g = median(gravacao), b = median(direto), tot = median(total);
    std::printf("order of %d items, median of %d runs\n", kItens, kRuns);
    std::printf("  %-44s %9.2f ms\n", "abrir (header, items, accessories)", median(abrir));
    std::printf("  %-44s %9.2f ms\n", "carregarDados + outrosPedidos", median(dados));
    std::printf("  %-44s %9.2f ms\n", "DESCP changed + recalcular", median(recalculo));
    std::printf("  %-44s %9.2f ms\n", "gravar (one transaction)", g);
    std::printf("  %-44s %9.2f ms\n", "total", tot);
    std::printf("  %-44s %9.2f ms\n", "bare SQLite: same rows, one transaction", b);
    std::printf("  gravar / bare SQLite: %.1fx   whole edit / bare SQLite: %.1fx\n", g / b, tot / b);
    pelaJanela(pasta.path());
    milesimoItem(pasta.path());
    return 0;
}
