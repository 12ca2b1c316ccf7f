// The local table store: keys and their attributes, walks, change detection, holds and bad files.
#include "store/core/DecimalCollation.h"
#include "store/core/Table.h"
#include "store/core/TableFile.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QTest>
#include <sqlite3.h>

using namespace qav;
using namespace Qt::StringLiterals;

namespace {
// Adds a product with the given id and name to company 1.
Status addProduto(Table& produto, int id, const QString& nome) {
    produto.clear();
    produto.rec().setInteger("ID_EMPRESA", 1);
    produto.rec().setInteger("ID", id);
    produto.rec().setText("CODIGO", QStringLiteral("%1").arg(id, 6, 10, QLatin1Char('0')));
    produto.rec().setText("NOME", nome);
    return produto.add();
}

// Orders 1..n whose VL_ICMSST holds exactly the given texts, as another tool may have written them
// ("2.5" beside "2.50", "-0").
void addPedidosWithIcmsSt(test::TempDataFolder& folder, const QStringList& values) {
    {
        Table pedidos(folder.store(), "pedidos");
        QVERIFY(pedidos.open());
        for (int id = 1; id <= values.size(); ++id) {
            pedidos.clear();
            pedidos.rec().setInteger("ID", id);
            QCOMPARE(pedidos.add(), Status::Ok);
        }
    }
    sqlite3* raw = nullptr;
    QCOMPARE(sqlite3_open(folder.filePath("pedidos.tps").toUtf8().constData(), &raw), SQLITE_OK);
    for (int id = 1; id <= values.size(); ++id) {
        const QByteArray sql = QStringLiteral("UPDATE pedidos SET VL_ICMSST = '%1' WHERE ID = %2")
                                   .arg(values[id - 1])
                                   .arg(id)
                                   .toUtf8();
        QCOMPARE(sqlite3_exec(raw, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    sqlite3_close(raw);
}

QList<int> walkIds(Table& table) {
    QList<int> ids;
    while (table.next() == Status::Ok)
        ids << static_cast<int>(table.rec().integer("ID"));
    return ids;
}

QStringList walkNames(Table& table, const char* field, bool forward = true) {
    QStringList names;
    while ((forward ? table.next() : table.previous()) == Status::Ok)
        names << table.rec().text(field);
    return names;
}
} // namespace

class TestStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void catalogueDeclaresEveryTable();
    void blankRecord();
    void addGetAndNotFound();
    void uniqueKeyRefusedAndTableUnchanged_data();
    void uniqueKeyRefusedAndTableUnchanged();
    void optKeyLeavesBlankRecordsOut();
    void caseInsensitiveKeysFoldAccentedLetters();
    void nameKeysSortAsIfWithoutAccents_data();
    void nameKeysSortAsIfWithoutAccents();
    void lookupTellsAccentedNamesApart();
    void descendingComponentGivesNewestFirst();
    void partialKeySeekWalksBothWays();
    void longWalksCrossPagesInKeyOrder();
    void writesDuringAWalkAreSeen();
    void physicalOrderAndRuntimeKeyAndFilter();
    void runtimeKeyOrdersDecimalsByValue_data();
    void runtimeKeyOrdersDecimalsByValue();
    void filterComparesDecimalsByValue_data();
    void filterComparesDecimalsByValue();
    void ownSqlOrdersDecimalsByValue();
    void noKeyOrdersDecimalsAsText();
    void changeByAnotherWindowIsDetected();
    void putFieldsWritesOnlyThoseFields();
    void holdMakesOthersWait();
    void fieldValuesAreCheckedOnTheWayIn();
    void arraysAndMemosRoundTrip();
    void batchCommitsOrRollsBack();
    void useCountKeepsFileOpen();
    void badFilesAreReported();
    void filesReadWithPlainSqlite();
};

void TestStore::catalogueDeclaresEveryTable() {
    QCOMPARE(catalogue().size(), size_t(29));
    QCOMPARE(QString::fromLatin1(catalogue().front().fileName), QStringLiteral("acessori.tps"));
    QCOMPARE(QString::fromLatin1(catalogue().back().fileName), QStringLiteral("qavtrans.tps"));
    for (const TableDef& table : catalogue()) {
        int primaries = 0;
        for (const KeyDef& key : table.keys) {
            primaries += key.primary ? 1 : 0;
            QVERIFY2(key.runtime == key.components.empty(), key.name);
            for (const KeyComponent& c : key.components)
                QVERIFY(c.field >= 0 && c.field < static_cast<int>(table.fields.size()));
        }
        QVERIFY2(primaries <= 1, table.fileName);
    }
    const TableDef* clientes = findTable("CLI");
    QVERIFY(clientes);
    QCOMPARE(clientes->fields.size(), size_t(120)); // 117 fields and three memos
    QCOMPARE(clientes->fields[48].count, 3);        // PRINC_PRODU ×3
    QCOMPARE(findTable("pedidos")->structureVersion, 19);
    QCOMPARE(findTable("peditens.tps")->label, "vendas_i");
    const FieldDef& vlCusto = findTable("produto")->fields[54];
    QCOMPARE(vlCusto.name, "VL_CUSTO");
    QCOMPARE(vlCusto.size, 21);
    QCOMPARE(vlCusto.scale, 6);
}

void TestStore::blankRecord() {
    Record record(*findTable("pedidos"));
    record.setInteger("ID", 7);
    record.setText("OBS", QStringLiteral("x"));
    record.clear();
    QCOMPARE(record.integer("ID"), 0);
    QCOMPARE(record.real("TOTAL"), 0.0);
    QCOMPARE(record.decimal("VL_ICMSST"), Decimal(0));
    QVERIFY(record.text("OBS").isEmpty());
    QVERIFY(record.date("DATA").isNull());
}

void TestStore::addGetAndNotFound() {
    test::TempDataFolder folder;
    Table pedidos(folder.store(), "pedidos");
    QVERIFY(pedidos.open());
    pedidos.rec().setInteger("ID", 1);
    pedidos.rec().setInteger("NUMER", 100);
    pedidos.rec().setReal("TOTAL", 1234.56);
    pedidos.rec().setDecimal("VL_ICMSST", *Decimal::parse("12.345"));
    QCOMPARE(pedidos.add(), Status::Ok);
    pedidos.clear();
    pedidos.rec().setInteger("ID", 1);
    QCOMPARE(pedidos.get("KEYID"), Status::Ok);
    QCOMPARE(pedidos.rec().integer("NUMER"), 100);
    QCOMPARE(pedidos.rec().real("TOTAL"), 1234.56);
    QCOMPARE(pedidos.rec().decimal("VL_ICMSST").toString(2), std::string("12.35"));
    pedidos.rec().setInteger("ID", 2);
    QCOMPARE(pedidos.get("KEYID"), Status::NotFound);
    QCOMPARE(pedidos.error().code, ErrorCode::RecordNotFound);
    QCOMPARE(pedidos.count(), 1);
    QCOMPARE(pedidos.seekFirst("KEYID"), Status::Ok);
    QCOMPARE(pedidos.next(), Status::Ok);
    QCOMPARE(pedidos.next(), Status::EndOfFile);
    QCOMPARE(pedidos.get("NOSUCHKEY"), Status::Error);
}

void TestStore::uniqueKeyRefusedAndTableUnchanged_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QVariantList>("first");
    QTest::addColumn<QVariantList>("second");
    QTest::addColumn<bool>("refused");
    const QStringList item{QStringLiteral("ID_VENDASI"), QStringLiteral("ID_VENDA"), QStringLiteral("PRODU"),
                           QStringLiteral("OBS")};
    QTest::newRow("same product, same observation")
        << "peditens" << item << QVariantList{1, 10, 5, QStringLiteral("A")}
        << QVariantList{2, 10, 5, QStringLiteral("a ")} << true;
    QTest::newRow("same product, other observation")
        << "peditens" << item << QVariantList{1, 10, 5, QStringLiteral("A")}
        << QVariantList{2, 10, 5, QStringLiteral("B")} << false;
    QTest::newRow("same product, other order") << "peditens" << item << QVariantList{1, 10, 5, QString()}
                                               << QVariantList{2, 11, 5, QString()} << false;
    const QStringList acess{QStringLiteral("ID_VENDASI"), QStringLiteral("ID_ACESSORIO")};
    QTest::newRow("accessory twice on one item")
        << "pedacess" << acess << QVariantList{1, 3} << QVariantList{1, 3} << true;
    QTest::newRow("accessory on two items")
        << "pedacess" << acess << QVariantList{1, 3} << QVariantList{2, 3} << false;
    const QStringList pauta{QStringLiteral("ID"), QStringLiteral("ID_EMPRESA"), QStringLiteral("CODIGO"),
                            QStringLiteral("NUM_PAUTA")};
    QTest::newRow("price-list number, other case")
        << "pauta" << pauta << QVariantList{250001, 1, 25, QStringLiteral("tab-ção")}
        << QVariantList{260001, 1, 26, QStringLiteral("TAB-ÇÃO")} << true;
    QTest::newRow("price-list number, other accent")
        << "pauta" << pauta << QVariantList{250001, 1, 25, QStringLiteral("TAB-ÇÃO")}
        << QVariantList{260001, 1, 26, QStringLiteral("TAB-CAO")} << false;
    QTest::newRow("price-list code in two companies")
        << "pauta" << pauta << QVariantList{250001, 1, 25, QString()}
        << QVariantList{250002, 2, 25, QString()} << false;
    QTest::newRow("price-list code twice in a company")
        << "pauta" << pauta << QVariantList{250001, 1, 25, QString()}
        << QVariantList{260001, 1, 25, QString()} << true;
    const QStringList produto{QStringLiteral("ID"), QStringLiteral("ID_EMPRESA"), QStringLiteral("CODIGO")};
    QTest::newRow("product id in two companies")
        << "produto" << produto << QVariantList{7, 1, QStringLiteral("A")}
        << QVariantList{7, 2, QStringLiteral("A")} << false;
    QTest::newRow("product id twice in a company")
        << "produto" << produto << QVariantList{7, 1, QStringLiteral("A")}
        << QVariantList{7, 1, QStringLiteral("B")} << true;
    QTest::newRow("product codes differing by an accent")
        << "produto" << produto << QVariantList{7, 1, QStringLiteral("AÇO-1")}
        << QVariantList{8, 1, QStringLiteral("ACO-1")} << false;
    QTest::newRow("product code, other case")
        << "produto" << produto << QVariantList{7, 1, QStringLiteral("AÇO-1")}
        << QVariantList{8, 1, QStringLiteral("aço-1")} << true;
    const QStringList st{QStringLiteral("ID_EMPRESA"), QStringLiteral("COD_ST"), QStringLiteral("UF"),
                         QStringLiteral("ST_ESPECIFICA"), QStringLiteral("CONTRIBUINTE_ICMS")};
    QTest::newRow("sticms same rule")
        << "sticms" << st << QVariantList{1, 10, QStringLiteral("SP"), QString(), 1}
        << QVariantList{1, 10, QStringLiteral("sp"), QString(), 1} << true;
    QTest::newRow("sticms other customer type")
        << "sticms" << st << QVariantList{1, 10, QStringLiteral("SP"), QString(), 1}
        << QVariantList{1, 10, QStringLiteral("SP"), QString(), 0} << false;
}

void TestStore::uniqueKeyRefusedAndTableUnchanged() {
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    QFETCH(QVariantList, first);
    QFETCH(QVariantList, second);
    QFETCH(bool, refused);
    test::TempDataFolder folder;
    Table t(folder.store(), table.toStdString());
    QVERIFY(t.open());
    const auto fill = [&](const QVariantList& values) {
        t.clear();
        for (int i = 0; i < fields.size(); ++i)
            t.rec().setText(fields[i].toStdString(), values[i].toString());
    };
    fill(first);
    QCOMPARE(t.add(), Status::Ok);
    fill(second);
    QCOMPARE(t.add(), refused ? Status::Error : Status::Ok);
    if (refused)
        QCOMPARE(t.error().code, ErrorCode::CreatesDuplicateKey);
    QCOMPARE(t.count(), refused ? 1 : 2);
}

void TestStore::optKeyLeavesBlankRecordsOut() {
    test::TempDataFolder folder;
    Table clientes(folder.store(), "clientes");
    QVERIFY(clientes.open());
    for (int id = 1; id <= 3; ++id) { // any number of customers without a document
        clientes.clear();
        clientes.rec().setInteger("ID", id);
        QCOMPARE(clientes.add(), Status::Ok);
    }
    clientes.clear();
    clientes.rec().setInteger("ID", 4);
    clientes.rec().setText("CGCPF", QStringLiteral("11.222.333/0001-81"));
    QCOMPARE(clientes.add(), Status::Ok);
    clientes.rec().setInteger("ID", 5);
    QCOMPARE(clientes.add(), Status::Error); // same document and suffix
    clientes.rec().setText("SUF_CGCPF", QStringLiteral("1"));
    QCOMPARE(clientes.add(), Status::Ok); // same document, other suffix

    // Blank documents are not in the key: a lookup does not find them, a walk does not visit them...
    clientes.clear();
    QCOMPARE(clientes.get("KEYCGC"), Status::NotFound);
    QCOMPARE(clientes.seekFirst("KEYCGC"), Status::Ok);
    QStringList ids;
    while (clientes.next() == Status::Ok)
        ids << QString::number(clientes.rec().integer("ID"));
    QCOMPARE(ids, (QStringList{QStringLiteral("4"), QStringLiteral("5")}));
    // ... but they are stored and found through the primary key.
    clientes.clear();
    clientes.rec().setInteger("ID", 2);
    QCOMPARE(clientes.get("KEYID"), Status::Ok);
}

void TestStore::caseInsensitiveKeysFoldAccentedLetters() {
    test::TempDataFolder folder;
    Table clientes(folder.store(), "clientes");
    QVERIFY(clientes.open());
    const QStringList razoes{QStringLiteral("Ótica Visão"), QStringLiteral("ação comercial"),
                             QStringLiteral("Bazar"), QStringLiteral("AÇÃO COMERCIAL LTDA"),
                             QStringLiteral("abc")};
    for (int i = 0; i < razoes.size(); ++i) {
        clientes.clear();
        clientes.rec().setInteger("ID", i + 1);
        clientes.rec().setText("RAZAO", razoes[i]);
        QCOMPARE(clientes.add(), Status::Ok);
    }
    clientes.clear();
    clientes.rec().setText("RAZAO", QStringLiteral("AÇÃO COMERCIAL"));
    QCOMPARE(clientes.get("KEYRAZAO"), Status::Ok);
    QCOMPARE(clientes.rec().text("RAZAO"), QStringLiteral("ação comercial"));
    QCOMPARE(clientes.seekFirst("KEYRAZAO"), Status::Ok);
    QCOMPARE(walkNames(clientes, "RAZAO"),
             (QStringList{QStringLiteral("abc"), QStringLiteral("ação comercial"),
                          QStringLiteral("AÇÃO COMERCIAL LTDA"), QStringLiteral("Bazar"),
                          QStringLiteral("Ótica Visão")}));
}

void TestStore::nameKeysSortAsIfWithoutAccents_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("São Paulo before Sorocaba")
        << QStringList{QStringLiteral("Sorocaba"), QStringLiteral("São Paulo"), QStringLiteral("Santos")}
        << QStringList{QStringLiteral("Santos"), QStringLiteral("São Paulo"), QStringLiteral("Sorocaba")};
    QTest::newRow("cedilla among its neighbours")
        << QStringList{QStringLiteral("Icém"), QStringLiteral("IÇARA"), QStringLiteral("Ibirama")}
        << QStringList{QStringLiteral("Ibirama"), QStringLiteral("IÇARA"), QStringLiteral("Icém")};
    QTest::newRow("accented first letter")
        << QStringList{QStringLiteral("Avaré"), QStringLiteral("Águas de Lindóia"),
                       QStringLiteral("americana")}
        << QStringList{QStringLiteral("Águas de Lindóia"), QStringLiteral("americana"),
                       QStringLiteral("Avaré")};
    QTest::newRow("without accents just before with them")
        << QStringList{QStringLiteral("Paraná"), QStringLiteral("Pará"), QStringLiteral("PARA"),
                       QStringLiteral("Para de Minas")}
        << QStringList{QStringLiteral("PARA"), QStringLiteral("Pará"), QStringLiteral("Para de Minas"),
                       QStringLiteral("Paraná")};
}

void TestStore::nameKeysSortAsIfWithoutAccents() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    QStringList reversed = expected;
    std::reverse(reversed.begin(), reversed.end());
    test::TempDataFolder folder;
    Table municip(folder.store(), "municip");
    Table clientes(folder.store(), "clientes");
    Table produto(folder.store(), "produto");
    QVERIFY(municip.open() && clientes.open() && produto.open());
    for (int i = 0; i < names.size(); ++i) {
        municip.clear();
        municip.rec().setInteger("ID", i + 1);
        municip.rec().setText("NOME", names[i]);
        QCOMPARE(municip.add(), Status::Ok);
        clientes.clear();
        clientes.rec().setInteger("ID", i + 1);
        clientes.rec().setText("RAZAO", names[i]);
        QCOMPARE(clientes.add(), Status::Ok);
        QCOMPARE(addProduto(produto, i + 1, names[i]), Status::Ok);
    }
    QCOMPARE(municip.seekFirst("KEYNOME"), Status::Ok);
    QCOMPARE(walkNames(municip, "NOME"), expected);
    QCOMPARE(municip.seekLast("KEYNOME"), Status::Ok);
    QCOMPARE(walkNames(municip, "NOME", false), reversed);
    QCOMPARE(clientes.seekFirst("KEYRAZAO"), Status::Ok);
    QCOMPARE(walkNames(clientes, "RAZAO"), expected);
    QCOMPARE(produto.seekFirst("KEYNOME"), Status::Ok);
    QCOMPARE(walkNames(produto, "NOME"), expected);
    // An order a list asks for at run time sorts the same way.
    QCOMPARE(clientes.buildRuntimeKey({{findTable("clientes")->fieldIndex("RAZAO"), false}}), Status::Ok);
    QCOMPARE(clientes.seekFirst("KEYTMP"), Status::Ok);
    QCOMPARE(walkNames(clientes, "RAZAO"), expected);
}

void TestStore::lookupTellsAccentedNamesApart() {
    test::TempDataFolder folder;
    Table municip(folder.store(), "municip");
    QVERIFY(municip.open());
    int id = 0;
    for (const char* nome : {"PARA", "Pará", "Parà", "Sorocaba", "São Paulo", "Santos"}) {
        municip.clear();
        municip.rec().setInteger("ID", ++id);
        municip.rec().setText("NOME", QString::fromUtf8(nome));
        QCOMPARE(municip.add(), Status::Ok);
    }
    // A look-up by name finds the name as written, whatever the case, but not another accent.
    for (const auto& [typed, found] : {std::pair{"pará", 2}, std::pair{"para", 1}, std::pair{"PARÀ", 3}}) {
        municip.clear();
        municip.rec().setText("NOME", QString::fromUtf8(typed));
        QCOMPARE(municip.get("KEYNOME"), Status::Ok);
        QCOMPARE(municip.rec().integer("ID"), found);
    }
    municip.clear();
    municip.rec().setText("NOME", QStringLiteral("Pâra"));
    QCOMPARE(municip.get("KEYNOME"), Status::NotFound);
    // Positioning on a name typed without its accents lands on the first name that reads the same.
    municip.clear();
    municip.rec().setText("NOME", QStringLiteral("sao"));
    QCOMPARE(municip.seek("KEYNOME"), Status::Ok);
    QCOMPARE(walkNames(municip, "NOME"),
             (QStringList{QStringLiteral("São Paulo"), QStringLiteral("Sorocaba")}));
}

void TestStore::descendingComponentGivesNewestFirst() {
    test::TempDataFolder folder;
    Table pedcon(folder.store(), "pedcon");
    QVERIFY(pedcon.open());
    const int dates[] = {20, 50, 10, 40};
    int id = 0;
    for (int cliente : {7, 8}) {
        for (int day : dates) {
            pedcon.clear();
            pedcon.rec().setInteger("ID_PEDCON", ++id);
            pedcon.rec().setInteger("NUMERO", id);
            pedcon.rec().setInteger("ID_CLIENTE", cliente);
            pedcon.rec().setDate("DATA_PEDIDO", Date::fromYmd(2026, 1, day / 10));
            QCOMPARE(pedcon.add(), Status::Ok);
        }
    }
    pedcon.clear();
    pedcon.rec().setInteger("ID_CLIENTE", 8);
    QCOMPARE(pedcon.seek("KEYID_CLIENTE", 1), Status::Ok);
    QStringList seen;
    while (pedcon.next() == Status::Ok && pedcon.rec().integer("ID_CLIENTE") == 8)
        seen << QString::number(pedcon.rec().date("DATA_PEDIDO").day());
    QCOMPARE(seen, (QStringList{QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("2"),
                                QStringLiteral("1")}));
    // Walking back from customer 8 gives customer 7 oldest last... newest-first order reversed.
    pedcon.rec().setInteger("ID_CLIENTE", 7);
    pedcon.rec().setDate("DATA_PEDIDO", Date::fromYmd(2026, 1, 3)); // between the 4th and the 2nd
    QCOMPARE(pedcon.seek("KEYID_CLIENTE"), Status::Ok);
    QCOMPARE(pedcon.next(), Status::Ok);
    QCOMPARE(pedcon.rec().date("DATA_PEDIDO").day(), 2);
}

void TestStore::partialKeySeekWalksBothWays() {
    test::TempDataFolder folder;
    Table produto(folder.store(), "produto");
    QVERIFY(produto.open());
    int id = 0;
    for (const char* nome : {"CANETA AZUL", "CADERNO", "CANECA", "BORRACHA", "DURex", "CANETA PRETA"})
        QCOMPARE(addProduto(produto, ++id, QString::fromLatin1(nome)), Status::Ok);
    produto.clear();
    produto.rec().setText("NOME", QStringLiteral("cane"));
    QCOMPARE(produto.seek("KEYNOME"), Status::Ok);
    QCOMPARE(walkNames(produto, "NOME"),
             (QStringList{QStringLiteral("CANECA"), QStringLiteral("CANETA AZUL"),
                          QStringLiteral("CANETA PRETA"), QStringLiteral("DURex")}));
    produto.rec().setText("NOME", QStringLiteral("CANE"));
    QCOMPARE(produto.seek("KEYNOME"), Status::Ok);
    QCOMPARE(walkNames(produto, "NOME", false),
             (QStringList{QStringLiteral("CADERNO"), QStringLiteral("BORRACHA")}));
    // Changing direction in the middle goes back over the record just read.
    QCOMPARE(produto.seekFirst("KEYNOME"), Status::Ok);
    QCOMPARE(produto.next(), Status::Ok);
    QCOMPARE(produto.next(), Status::Ok);
    QCOMPARE(produto.rec().text("NOME"), QStringLiteral("CADERNO"));
    QCOMPARE(produto.previous(), Status::Ok);
    QCOMPARE(produto.rec().text("NOME"), QStringLiteral("BORRACHA"));
    QCOMPARE(produto.previous(), Status::EndOfFile);
}

void TestStore::longWalksCrossPagesInKeyOrder() {
    test::TempDataFolder folder;
    Table produto(folder.store(), "produto");
    QVERIFY(produto.open());
    QVERIFY(produto.beginBatch());
    const int total = 1000;
    for (int i = 0; i < total; ++i) // names in an order unlike the ids, with duplicates
        QCOMPARE(addProduto(produto, i + 1,
                            QStringLiteral("PRODUTO %1").arg((i * 7919) % 500, 4, 10, QLatin1Char('0'))),
                 Status::Ok);
    QVERIFY(produto.endBatch());
    QCOMPARE(produto.seekFirst("KEYNOME"), Status::Ok);
    const QStringList forward = walkNames(produto, "NOME");
    QCOMPARE(forward.size(), total);
    QStringList sorted = forward;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(forward, sorted);
    QCOMPARE(produto.seekLast("KEYNOME"), Status::Ok);
    QStringList backward = walkNames(produto, "NOME", false);
    std::reverse(backward.begin(), backward.end());
    QCOMPARE(backward, forward);
}

void TestStore::writesDuringAWalkAreSeen() {
    test::TempDataFolder folder;
    Table produto(folder.store(), "produto");
    Table writer(folder.store(), "produto");
    QVERIFY(produto.open());
    QVERIFY(writer.open());
    for (int i = 1; i <= 5; ++i)
        QCOMPARE(addProduto(writer, i, QStringLiteral("P%1").arg(i)), Status::Ok);
    QCOMPARE(produto.seekFirst("KEYNOME"), Status::Ok);
    QCOMPARE(produto.next(), Status::Ok); // P1; the rest of the page is read ahead
    QCOMPARE(addProduto(writer, 9, QStringLiteral("P2A")), Status::Ok);
    writer.rec().setInteger("ID", 4);
    QCOMPARE(writer.get("KEYID"), Status::Ok);
    QCOMPARE(writer.remove(), Status::Ok);
    QCOMPARE(walkNames(produto, "NOME"), (QStringList{QStringLiteral("P2"), QStringLiteral("P2A"),
                                                      QStringLiteral("P3"), QStringLiteral("P5")}));
}

void TestStore::physicalOrderAndRuntimeKeyAndFilter() {
    test::TempDataFolder folder;
    Table produto(folder.store(), "produto");
    QVERIFY(produto.open());
    int id = 0;
    for (const char* nome : {"beta", "Alfa", "gama", "Delta"})
        QCOMPARE(addProduto(produto, ++id, QString::fromLatin1(nome)), Status::Ok);
    QCOMPARE(produto.seekPhysical(), Status::Ok);
    QCOMPARE(walkNames(produto, "NOME"), (QStringList{QStringLiteral("beta"), QStringLiteral("Alfa"),
                                                      QStringLiteral("gama"), QStringLiteral("Delta")}));
    const int nome = findTable("produto")->fieldIndex("NOME");
    QCOMPARE(produto.buildRuntimeKey({{nome, true}}), Status::Ok);
    QCOMPARE(produto.seekFirst("KEYTMP"), Status::Error); // produto has no run-time key
    Table clientes(folder.store(), "clientes");
    QVERIFY(clientes.open());
    for (const char* razao : {"beta", "Alfa", "gama", "Delta"}) {
        clientes.clear();
        clientes.rec().setInteger("ID", ++id);
        clientes.rec().setText("RAZAO", QString::fromLatin1(razao));
        QCOMPARE(clientes.add(), Status::Ok);
    }
    const int razao = findTable("clientes")->fieldIndex("RAZAO");
    QCOMPARE(clientes.buildRuntimeKey({{razao, true}}), Status::Ok);
    QCOMPARE(clientes.seekFirst("KEYTMP"), Status::Ok);
    QCOMPARE(walkNames(clientes, "RAZAO"), (QStringList{QStringLiteral("gama"), QStringLiteral("Delta"),
                                                        QStringLiteral("beta"), QStringLiteral("Alfa")}));
    clientes.setFilter("\"ID\" > ?", {6});
    QCOMPARE(clientes.seekFirst("KEYRAZAO"), Status::Ok);
    QCOMPARE(walkNames(clientes, "RAZAO"), (QStringList{QStringLiteral("Delta"), QStringLiteral("gama")}));
}

void TestStore::runtimeKeyOrdersDecimalsByValue_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("more digits is more")
        << QStringList{u"9.50"_s, u"10.00"_s, u"100.00"_s, u"2.00"_s} << false << QList<int>{4, 1, 2, 3};
    QTest::newRow("negatives before zero")
        << QStringList{u"-10.50"_s, u"2.00"_s, u"0.00"_s, u"-2.00"_s, u"-0.25"_s} << false
        << QList<int>{1, 4, 5, 3, 2};
    QTest::newRow("descending") << QStringList{u"9.50"_s, u"10.00"_s, u"100.00"_s, u"-1.00"_s} << true
                                << QList<int>{3, 2, 1, 4};
    // Equal values keep the order they were added in.
    QTest::newRow("mixed scales and minus zero")
        << QStringList{u"2.50"_s, u"2.5"_s, u"-0"_s, u"0.00"_s, u"10"_s, u"9.999"_s} << false
        << QList<int>{3, 4, 1, 2, 6, 5};
}

void TestStore::runtimeKeyOrdersDecimalsByValue() {
    QFETCH(QStringList, values);
    QFETCH(bool, descending);
    QFETCH(QList<int>, order);
    test::TempDataFolder folder;
    addPedidosWithIcmsSt(folder, values);
    Table pedidos(folder.store(), "pedidos");
    QVERIFY(pedidos.open());
    const int field = pedidos.def().fieldIndex("VL_ICMSST");
    QCOMPARE(pedidos.buildRuntimeKey({{field, descending}}), Status::Ok);
    QCOMPARE(pedidos.seekFirst("KEYTMP"), Status::Ok);
    QCOMPARE(walkIds(pedidos), order);
}

void TestStore::filterComparesDecimalsByValue_data() {
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QVariantList>("parameters");
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("whole number") << u"VL_ICMSST > 5"_s << QVariantList{} << QList<int>{1, 2, 3};
    QTest::newRow("quoted name, bound integer")
        << u"\"VL_ICMSST\" > ?"_s << QVariantList{5} << QList<int>{1, 2, 3};
    QTest::newRow("bound text") << u"VL_ICMSST > ?"_s << QVariantList{u"9.5"_s} << QList<int>{2, 3};
    QTest::newRow("bound real") << u"VL_ICMSST >= ?"_s << QVariantList{9.5} << QList<int>{1, 2, 3};
    QTest::newRow("zero in any form") << u"VL_ICMSST = 0"_s << QVariantList{} << QList<int>{6, 8};
    QTest::newRow("negative") << u"VL_ICMSST < 0"_s << QVariantList{} << QList<int>{5};
    QTest::newRow("between, other scale")
        << u"VL_ICMSST BETWEEN 2.5 AND 10"_s << QVariantList{} << QList<int>{1, 2, 7};
    QTest::newRow("in a list") << u"VL_ICMSST IN (2.5, 100)"_s << QVariantList{} << QList<int>{3, 7};
    QTest::newRow("lower-case name, text literal")
        << u"vl_icmsst = '2.50'"_s << QVariantList{} << QList<int>{7};
    QTest::newRow("with other conditions")
        << u"ID = 4 OR (VL_ICMSST <= -3.5 AND ID > 0)"_s << QVariantList{} << QList<int>{4, 5};
    QTest::newRow("the name inside a text literal")
        << u"OBS = 'VL_ICMSST > 5' OR VL_ICMSST = 100"_s << QVariantList{} << QList<int>{3};
}

void TestStore::filterComparesDecimalsByValue() {
    QFETCH(QString, condition);
    QFETCH(QVariantList, parameters);
    QFETCH(QList<int>, ids);
    test::TempDataFolder folder;
    addPedidosWithIcmsSt(
        folder, {u"9.50"_s, u"10.00"_s, u"100.00"_s, u"2.00"_s, u"-3.50"_s, u"0.00"_s, u"2.5"_s, u"-0"_s});
    Table pedidos(folder.store(), "pedidos");
    QVERIFY(pedidos.open());
    pedidos.setFilter(condition.toStdString(), std::vector<QVariant>(parameters.begin(), parameters.end()));
    QCOMPARE(pedidos.seekFirst("KEYID"), Status::Ok);
    QCOMPARE(walkIds(pedidos), ids);
    // The same filter under the run-time key.
    QCOMPARE(pedidos.buildRuntimeKey({{pedidos.def().fieldIndex("ID"), false}}), Status::Ok);
    QCOMPARE(pedidos.seekFirst("KEYTMP"), Status::Ok);
    QCOMPARE(walkIds(pedidos), ids);
}

void TestStore::ownSqlOrdersDecimalsByValue() {
    test::TempDataFolder folder;
    addPedidosWithIcmsSt(folder, {u"9.50"_s, u"-1"_s, u"100.00"_s, u"10.0"_s});
    Table pedidos(folder.store(), "pedidos");
    QVERIFY(pedidos.open());
    StoreError error;
    sqlite3_stmt* statement = pedidos.connection()->statement(
        "SELECT ID FROM pedidos WHERE VL_ICMSST COLLATE " + std::string(kDecimalCollation) +
            " > 0 ORDER BY VL_ICMSST COLLATE " + kDecimalCollation + " DESC",
        &error);
    QVERIFY2(statement, qPrintable(error.driverText));
    StatementReset reset(statement);
    QList<int> ids;
    while (sqlite3_step(statement) == SQLITE_ROW)
        ids << sqlite3_column_int(statement, 0);
    QCOMPARE(ids, (QList<int>{3, 4, 1}));
}

// An index keeps the stored text of a decimal, which orders "10.00" before "9.50"; a key with a
// decimal component would need a column that orders by value.
void TestStore::noKeyOrdersDecimalsAsText() {
    for (const TableDef& table : catalogue())
        for (const KeyDef& key : table.keys)
            for (const KeyComponent& c : key.components)
                QVERIFY2(table.fields[static_cast<size_t>(c.field)].type != FieldType::Decimal,
                         qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(table.fileName),
                                                                QLatin1String(key.name))));
}

void TestStore::changeByAnotherWindowIsDetected() {
    test::TempDataFolder folder;
    Store otherWindow(folder.path());
    Table mine(folder.store(), "clientes");
    Table theirs(otherWindow, "clientes");
    QVERIFY(mine.open());
    QVERIFY(theirs.open());
    mine.rec().setInteger("ID", 1);
    mine.rec().setText("NOME", QStringLiteral("Original"));
    QCOMPARE(mine.add(), Status::Ok);
    theirs.rec().setInteger("ID", 1);
    QCOMPARE(theirs.get("KEYID"), Status::Ok);
    theirs.rec().setText("NOME", QStringLiteral("Deles"));
    QCOMPARE(theirs.put(), Status::Ok);
    mine.rec().setText("NOME", QStringLiteral("Meu"));
    QCOMPARE(mine.put(), Status::Error);
    QCOMPARE(mine.error().code, ErrorCode::RecordChangedByAnotherStation);
    QCOMPARE(mine.error().number(), 89);
    QCOMPARE(mine.remove(), Status::Error);
    QCOMPARE(mine.error().number(), 89);
    QCOMPARE(mine.get("KEYID"), Status::Ok); // read again, then the change goes through
    QCOMPARE(mine.rec().text("NOME"), QStringLiteral("Deles"));
    mine.rec().setText("NOME", QStringLiteral("Meu"));
    QCOMPARE(mine.put(), Status::Ok);
    QCOMPARE(mine.put(), Status::Ok); // a second put of the same buffer is not a conflict
}

// Writing a few fields leaves the others as stored, keeps a case-insensitive key on a written text
// in step, and meets the same guard against another window's change as a whole write.
void TestStore::putFieldsWritesOnlyThoseFields() {
    test::TempDataFolder folder;
    Store otherWindow(folder.path());
    Table mine(folder.store(), "produto");
    Table theirs(otherWindow, "produto");
    QVERIFY(mine.open());
    QVERIFY(theirs.open());
    mine.rec().setInteger("ID", 7);
    mine.rec().setInteger("ID_EMPRESA", 1);
    mine.rec().setText("CODIGO", QStringLiteral("abc-1"));
    mine.rec().setText("NOME", QStringLiteral("Perfil"));
    QCOMPARE(mine.add(), Status::Ok);

    mine.rec().setText("NOME", QStringLiteral("Não gravado"));
    mine.rec().setText("CODIGO", QStringLiteral("xyz-9"));
    mine.rec().setDecimal("QTD_ESTOQUE", *Decimal::parse("12.5"));
    QCOMPARE(mine.putFields({"CODIGO", "QTD_ESTOQUE"}), Status::Ok);
    theirs.rec().setText("CODIGO", QStringLiteral("XYZ-9"));
    theirs.rec().setInteger("ID_EMPRESA", 1);
    QCOMPARE(theirs.get("KEYCODIGO"), Status::Ok);
    QCOMPARE(theirs.rec().integer("ID"), 7);
    QCOMPARE(theirs.rec().text("NOME"), QStringLiteral("Perfil"));
    QCOMPARE(theirs.rec().decimal("QTD_ESTOQUE").toString(3), std::string("12.500"));
    theirs.rec().setText("CODIGO", QStringLiteral("ABC-1"));
    QCOMPARE(theirs.get("KEYCODIGO"), Status::NotFound);

    QCOMPARE(mine.get("KEYID"), Status::Ok);
    theirs.rec().setInteger("ID", 7);
    QCOMPARE(theirs.get("KEYID"), Status::Ok);
    theirs.rec().setInteger("ATIVO", 1);
    QCOMPARE(theirs.putFields({"ATIVO"}), Status::Ok);
    mine.rec().setDecimal("QTD_ESTOQUE", Decimal());
    QCOMPARE(mine.putFields({"QTD_ESTOQUE"}), Status::Error);
    QCOMPARE(mine.error().code, ErrorCode::RecordChangedByAnotherStation);
}

void TestStore::holdMakesOthersWait() {
    test::TempDataFolder folder;
    Store otherWindow(folder.path());
    Table mine(folder.store(), "pedidos");
    Table theirs(otherWindow, "pedidos");
    QVERIFY(mine.open());
    QVERIFY(theirs.open());
    mine.rec().setInteger("ID", 1);
    QCOMPARE(mine.add(), Status::Ok);
    QCOMPARE(mine.hold(), Status::Ok);
    theirs.rec().setInteger("ID", 1);
    QCOMPARE(theirs.get("KEYID"), Status::Ok);
    QCOMPARE(theirs.hold(200), Status::Error);
    QCOMPARE(theirs.error().code, ErrorCode::RecordHeld);
    theirs.rec().setInteger("NUMER", 5);
    QCOMPARE(theirs.put(), Status::Error);
    QCOMPARE(theirs.error().code, ErrorCode::RecordHeld);
    mine.release();
    QCOMPARE(theirs.hold(200), Status::Ok);
    QCOMPARE(theirs.put(), Status::Ok); // the put ends the hold
    QCOMPARE(mine.get("KEYID"), Status::Ok);
    QCOMPARE(mine.hold(200), Status::Ok);

    // A hold left by a program that is no longer running does not count.
    QVERIFY(mine.rec().rowId() > 0);
    sqlite3* raw = nullptr;
    QCOMPARE(sqlite3_open(folder.filePath("pedidos.tps").toUtf8().constData(), &raw), SQLITE_OK);
    QCOMPARE(sqlite3_exec(raw, "UPDATE pedidos SET _hold = '999999999:1'", nullptr, nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(raw);
    QCOMPARE(theirs.get("KEYID"), Status::Ok);
    QCOMPARE(theirs.hold(200), Status::Ok);
}

void TestStore::fieldValuesAreCheckedOnTheWayIn() {
    Record item(*findTable("peditens"));
    item.setDecimal("PRUNI", *Decimal::parse("1.23455")); // decimal(15,4)
    QCOMPARE(item.decimal("PRUNI").toString(4), std::string("1.2346"));
    item.setDecimal("PRUNI", *Decimal::parse("-1.23455"));
    QCOMPARE(item.decimal("PRUNI").toString(4), std::string("-1.2346"));
    QVERIFY_THROWS_EXCEPTION(FieldValueError, item.setDecimal("DESCP", Decimal(100000))); // decimal(7,2)
    item.setDecimal("DESCP", *Decimal::parse("99999.994"));
    QCOMPARE(item.decimal("DESCP").toString(2), std::string("99999.99"));
    QVERIFY_THROWS_EXCEPTION(FieldValueError, item.setInteger("STATUS", 256)); // uint8
    QVERIFY_THROWS_EXCEPTION(FieldValueError, item.setInteger("STATUS", -1));
    QVERIFY_THROWS_EXCEPTION(FieldValueError, item.setText("OBS", QStringLiteral("seta → aqui")));
    QVERIFY_THROWS_EXCEPTION(FieldValueError, item.setText("QTD", QStringLiteral("doze")));
    item.setText("OBS", QStringLiteral("Ação € “aspas” ") + QString(200, u'x'));
    QCOMPARE(item.text("OBS").size(), 100); // text(100)
    QVERIFY(item.text("OBS").startsWith(QStringLiteral("Ação € “aspas”")));
    item.setText("OBS", QStringLiteral("com espaços   "));
    QCOMPARE(item.text("OBS"), QStringLiteral("com espaços"));
    Record empresa(*findTable("empresa"));
    empresa.setText("DIR_PRODUTOS", QString(400, u'd')); // ztext(300) holds 299
    QCOMPARE(empresa.text("DIR_PRODUTOS").size(), 299);
    QVERIFY_THROWS_EXCEPTION(FieldValueError, empresa.integer("NO_SUCH_FIELD"));
}

void TestStore::arraysAndMemosRoundTrip() {
    test::TempDataFolder folder;
    Table clientes(folder.store(), "clientes");
    QVERIFY(clientes.open());
    clientes.rec().setInteger("ID", 1);
    clientes.rec().setText("PRINC_PRODU", QStringLiteral("Parafusos"), 0);
    clientes.rec().setText("PRINC_PRODU", QStringLiteral("Porcas \"M8\""), 2);
    clientes.rec().setInteger("PERC_VENDAS", 60, 0);
    clientes.rec().setInteger("PERC_VENDAS", 40, 1);
    const QString memo = QStringLiteral("Linha 1\nLinha 2 com acentuação\n") + QString(20000, u'z');
    clientes.rec().setText("OBS", memo);
    QCOMPARE(clientes.add(), Status::Ok);
    Record written = clientes.rec();
    clientes.clear();
    clientes.rec().setInteger("ID", 1);
    QCOMPARE(clientes.get("KEYID"), Status::Ok);
    QCOMPARE(clientes.rec().text("PRINC_PRODU", 2), QStringLiteral("Porcas \"M8\""));
    QVERIFY(clientes.rec().text("PRINC_PRODU", 1).isEmpty());
    QCOMPARE(clientes.rec().integer("PERC_VENDAS", 1), 40);
    QCOMPARE(clientes.rec().text("OBS"), memo);
    QCOMPARE(clientes.rec(), written);
    QVERIFY_THROWS_EXCEPTION(FieldValueError, clientes.rec().text("PRINC_PRODU", 3));
}

void TestStore::batchCommitsOrRollsBack() {
    test::TempDataFolder folder;
    Table pauxpro(folder.store(), "pauxpro");
    QVERIFY(pauxpro.open());
    QVERIFY(pauxpro.beginBatch());
    for (int i = 1; i <= 500; ++i) {
        pauxpro.clear();
        pauxpro.rec().setInteger("ID_PAUTA", 250001);
        pauxpro.rec().setInteger("ID_PROD", i);
        QCOMPARE(pauxpro.add(), Status::Ok);
    }
    QVERIFY(pauxpro.rollbackBatch());
    QCOMPARE(pauxpro.count(), 0);
    QVERIFY(pauxpro.beginBatch());
    for (int i = 1; i <= 500; ++i) {
        pauxpro.rec().setInteger("ID_PROD", i);
        QCOMPARE(pauxpro.add(), Status::Ok);
    }
    QVERIFY(pauxpro.endBatch());
    Store otherWindow(folder.path());
    Table other(otherWindow, "pauxpro");
    QVERIFY(other.open());
    QCOMPARE(other.count(), 500);
}

void TestStore::useCountKeepsFileOpen() {
    test::TempDataFolder folder;
    Table empresa(folder.store(), "empresa");
    QVERIFY(empresa.open());
    QVERIFY(empresa.open());
    QCOMPARE(folder.store().useCount(empresa.def()), 1);
    empresa.close();
    QVERIFY(empresa.isOpen());
    QCOMPARE(empresa.count(), 0);
    empresa.close();
    QVERIFY(!empresa.isOpen());
    QCOMPARE(folder.store().useCount(empresa.def()), 0);
    QVERIFY(!empresa.count());
    QCOMPARE(empresa.error().code, ErrorCode::FileNotOpen);
}

void TestStore::badFilesAreReported() {
    test::TempDataFolder folder(false);
    Table pedidos(folder.store(), "pedidos");
    QVERIFY(!pedidos.open());
    QCOMPARE(pedidos.error().code, ErrorCode::FileNotFound);

    QFile garbage(folder.filePath("pedidos.tps"));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, 'G'));
    garbage.close();
    QVERIFY(!pedidos.open());
    QCOMPARE(pedidos.error().code, ErrorCode::InvalidDataFile);

    StoreError error;
    QVERIFY(createTableFile(folder.filePath("clientes.tps"), *findTable("produto"), &error)); // wrong table
    Table clientes(folder.store(), "clientes");
    QVERIFY(!clientes.open());
    QCOMPARE(clientes.error().code, ErrorCode::StructureMismatch);
}

void TestStore::filesReadWithPlainSqlite() {
    test::TempDataFolder folder;
    {
        Table produto(folder.store(), "produto");
        QVERIFY(produto.open());
        produto.rec().setInteger("ID", 45);
        produto.rec().setText("NOME", QStringLiteral("Caneta Ç"));
        produto.rec().setDecimal("PRECO", *Decimal::parse("10.5"));
        produto.rec().setDate("DATAP", Date::fromYmd(2026, 12, 7));
        QCOMPARE(produto.add(), Status::Ok);
    }
    // Any SQLite tool reads the file: no function or collation of ours is needed.
    sqlite3* raw = nullptr;
    QCOMPARE(sqlite3_open_v2(folder.filePath("produto.tps").toUtf8().constData(), &raw, SQLITE_OPEN_READONLY,
                             nullptr),
             SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    QCOMPARE(sqlite3_prepare_v2(raw,
                                "SELECT NOME, PRECO, date(DATAP - 4 + 2378861.5) FROM produto "
                                "WHERE _ci_NOME = 'CANETA C' || char(1) || 'CANETA Ç'",
                                -1, &statement, nullptr),
             SQLITE_OK);
    QCOMPARE(sqlite3_step(statement), SQLITE_ROW);
    QCOMPARE(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))),
             QStringLiteral("Caneta Ç"));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1))),
             QByteArray("10.5000"));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 2))),
             QByteArray("2026-12-07"));
    sqlite3_finalize(statement);
    QCOMPARE(sqlite3_prepare_v2(raw, "PRAGMA integrity_check", -1, &statement, nullptr), SQLITE_OK);
    QCOMPARE(sqlite3_step(statement), SQLITE_ROW);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))), QByteArray("ok"));
    sqlite3_finalize(statement);
    int version = 0;
    sqlite3_prepare_v2(raw, "PRAGMA user_version", -1, &statement, nullptr);
    if (sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(raw);
    QCOMPARE(version, 26);
}

QAV_TEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
