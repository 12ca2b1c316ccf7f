// A whole order typed into the demonstration folder through the order form and the item form: a
// demonstration customer, one item by bar code, one with an accessory, one sold by pieces and length,
// saved with "&OK". Its totals in pedidos.tps are those `qavtool calcular` computes for the same rows.
#include "orders/widgets/FichaItemPedido.h"
#include "orders/widgets/FichaPedido.h"
#include "store/core/Clock.h"
#include "store/core/Table.h"
#include "tests/support/Programs.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/Registros.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "tools/qavdemo/DemoData.h"
#include "ui/widgets/MessageBox.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

const Date kHoje = Date::fromYmd(2026, 3, 5);
constexpr int kCliente = 1;

// Every field of the record, named as in the table: what `qavtool calcular` reads.
QJsonObject json(const Record& r) {
    QJsonObject o;
    const TableDef& def = r.def();
    for (size_t i = 0; i < def.fields.size(); ++i) {
        const FieldDef& f = def.fields[i];
        if (f.isArray())
            continue;
        const QString nome = QString::fromLatin1(f.name);
        const int c = static_cast<int>(i);
        if (f.isText())
            o[nome] = r.text(c);
        else if (f.type == FieldType::Decimal)
            o[nome] = QString::fromStdString(r.decimal(c).toString(f.scale));
        else if (f.type == FieldType::Real64)
            o[nome] = QString::fromStdString(r.decimal(c).toString(Decimal::kScale));
        else
            o[nome] = static_cast<qint64>(r.integer(c));
    }
    return o;
}

std::vector<Record> todos(Store& store, const char* tabela, const std::string& condicao = {}) {
    Table t(store, tabela);
    std::vector<Record> lidos;
    if (!t.open())
        return lidos;
    if (!condicao.empty())
        t.setFilter(condicao);
    if (t.seekPhysical() != Status::Ok)
        return lidos;
    while (t.next() == Status::Ok)
        lidos.push_back(t.rec());
    return lidos;
}

} // namespace

class TestGuiPedidoDemo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
        MessageBox::setNextAnswers(QList<Button>(200, Button::No));
    }

    void newOrderWithThreeItemsMatchesQavtool() {
        QTemporaryDir raiz;
        const QString pasta = raiz.filePath(u"demo"_s);
        demo::Options opcoes;
        opcoes.produtos = 20;
        opcoes.clientes = 5;
        opcoes.hoje = kHoje;
        const demo::Outcome gerado = demo::generate(pasta, opcoes);
        QVERIFY2(gerado.ok, qPrintable(gerado.error));
        Store store(pasta);

        // The demonstration folder has neither accessories nor products sold by pieces x length:
        // product 2 takes any accessory of one subgroup, product 3 is sold by weight per metre.
        Table acessorios(store, "acessori");
        QVERIFY(acessorios.open());
        acessorios.clear();
        acessorios.rec().setInteger("ID_EMPRESA", 1);
        acessorios.rec().setInteger("ID_ACESSORIO", 1);
        acessorios.rec().setInteger("COD_SUBGRUPO", 7);
        acessorios.rec().setText("DESCRICAO", u"PUXADOR CROMADO"_s);
        acessorios.rec().setText("DESCR_SUBGRUPO", u"PUXADORES"_s);
        acessorios.rec().setDecimal("PRECO", Decimal::parse("2.50").value());
        acessorios.rec().setInteger("ATIVO", 1);
        QCOMPARE(acessorios.add(), Status::Ok);
        alterar(store, "produto", "ID = 2", [](Record& r) { r.setText("PERMITE_ACESSORIOS", u"S"_s); });
        alterar(store, "produto", "ID = 3", [](Record& r) {
            r.setInteger("SUBCATEGORIA", 103);
            r.setDecimal("PESO_METRO", Decimal::parse("1.5").value());
        });
        QString barras;
        for (const Record& p : todos(store, "produto", "ID = 1"))
            barras = p.text("COD_BARRAS").trimmed();
        QVERIFY(!barras.isEmpty());

        QTemporaryDir programa;
        const ListContext contexto{pasta, 1, programa.path()};
        Record inicio(*findTable("pedidos.tps"));
        FichaPedido form(contexto, Requisicao::Inserir);
        QVERIFY(form.preparar(&inicio));
        form.show();
        auto* cliente = child<QLineEdit>(&form, "cliente");
        cliente->setFocus();
        QTest::keyClicks(cliente, QString::number(kCliente));
        QTest::keyClick(cliente, Qt::Key_Return);
        QVERIFY(!child<QLabel>(&form, "clienteNome")->text().isEmpty());

        QString acessorioNoItem;
        QString quantidadePorPeso;
        whenModal<FichaItemPedido>([&](FichaItemPedido* item) {
            const auto ok = [item] { child<QPushButton>(item, "ok")->click(); };
            const auto digitar = [item](const char* nome, const QString& texto) {
                auto* campo = child<QLineEdit>(item, nome);
                campo->setFocus();
                campo->selectAll();
                QTest::keyClicks(campo, texto);
                QTest::keyClick(campo, Qt::Key_Return);
            };
            // By its bar code, typed in the product entry.
            digitar("produto", barras);
            digitar("qtd", u"2"_s);
            ok();
            // With an accessory.
            digitar("produto", u"2"_s);
            digitar("qtd", u"3"_s);
            child<QTabWidget>(item, "abas")->setCurrentIndex(1);
            auto* acessorio = child<QComboBox>(item, "acessorio");
            if (acessorio->count() > 0) {
                acessorio->setCurrentIndex(0);
                Q_EMIT acessorio->activated(0);
            }
            child<QPushButton>(item, "adicionar")->click();
            acessorioNoItem =
                item->edicao().item().decimal("VALOR_ACESSORIOS").isZero() ? u"none"_s : u"yes"_s;
            child<QTabWidget>(item, "abas")->setCurrentIndex(0);
            ok();
            // Pieces x length: 10 pieces of 6000 mm at 1,5 kg per metre.
            digitar("produto", u"3"_s);
            digitar("pecas", u"10"_s);
            digitar("comprimento", u"6000"_s);
            quantidadePorPeso = child<QLineEdit>(item, "qtd")->text();
            ok();
            item->reject();
        });
        child<QPushButton>(&form, "itemNovo")->click();
        QCOMPARE(acessorioNoItem, u"yes"_s);
        QCOMPARE(quantidadePorPeso, u"90,000"_s);
        QCOMPARE(child<QTableView>(&form, "itens")->model()->rowCount(), 3);
        QVERIFY2(form.confirmar(), qPrintable(shownBoxes().join(u'\n')));
        const int id = form.idGravado();

        const std::vector<Record> pedidos = todos(store, "pedidos", "ID = " + std::to_string(id));
        QCOMPARE(pedidos.size(), size_t(1));
        const Record& pedido = pedidos[0];
        const std::vector<Record> itens = todos(store, "peditens", "ID_VENDA = " + std::to_string(id));
        QCOMPARE(itens.size(), size_t(3));
        QCOMPARE(
            todos(store, "pedacess", "ID_VENDASI = " + std::to_string(itens[1].integer("ID_VENDASI"))).size(),
            size_t(1));

        // The same rows through qavtool calcular.
        QJsonObject entrada;
        entrada[u"pedido"_s] = json(pedido);
        QJsonArray itensJson, produtos, pauxpro, sticms, cfgsis, cstfrete;
        for (const Record& i : itens)
            itensJson.append(json(i));
        const int empresa = static_cast<int>(pedido.integer("ID_EMPRESA"));
        int idPauta = 0;
        for (const Record& p : todos(store, "pauta",
                                     "CODIGO = " + std::to_string(pedido.integer("COD_PAUTA")) +
                                         " AND ID_EMPRESA = " + std::to_string(empresa))) {
            entrada[u"pauta"_s] = json(p);
            idPauta = static_cast<int>(p.integer("ID"));
        }
        for (const Record& i : itens) {
            const std::string produto = std::to_string(i.integer("PRODU"));
            for (const Record& p : todos(store, "produto", "ID = " + produto))
                produtos.append(json(p));
            for (const Record& p : todos(
                     store, "pauxpro", "ID_PROD = " + produto + " AND ID_PAUTA = " + std::to_string(idPauta)))
                pauxpro.append(json(p));
        }
        for (const Record& r : todos(store, "sticms"))
            sticms.append(json(r));
        for (const Record& r : todos(store, "cfgsis"))
            cfgsis.append(json(r));
        for (const Record& r : todos(store, "cstfrete"))
            cstfrete.append(json(r));
        entrada[u"itens"_s] = itensJson;
        entrada[u"produtos"_s] = produtos;
        entrada[u"pauxpro"_s] = pauxpro;
        entrada[u"sticms"_s] = sticms;
        entrada[u"cfgsis"_s] = cfgsis;
        entrada[u"cstfrete"_s] = cstfrete;
        const Record cli = todos(store, "clientes", "ID = " + std::to_string(kCliente)).at(0);
        entrada[u"cliente"_s] = json(cli);
        for (const Record& m : todos(store, "municip", "ID = " + std::to_string(cli.integer("ID_MUNICIPIO"))))
            entrada[u"municipio"_s] = json(m);
        for (const Record& f : todos(store, "formapag",
                                     "CODIGO = " + std::to_string(pedido.integer("COD_FORMAPAG")) +
                                         " AND ID_EMPRESA = " + std::to_string(empresa)))
            entrada[u"formapag"_s] = json(f);
        for (const Record& v : todos(store, "vendedor",
                                     "CODIGO = " + std::to_string(pedido.integer("COD_VENDEDOR")) +
                                         " AND ID_EMPRESA = " + std::to_string(empresa)))
            entrada[u"vendedor"_s] = json(v);
        entrada[u"qavcfg"_s] = json(todos(store, "qavcfg", "ID_EMPRESA = " + std::to_string(empresa)).at(0));
        entrada[u"empresa"_s] =
            json(todos(store, "empresa", "ID_EMPRESA = " + std::to_string(empresa)).at(0));

        QProcess qavtool;
        qavtool.start(programPath(u"qavtool"_s), {u"calcular"_s});
        QVERIFY(qavtool.waitForStarted(10000));
        qavtool.write(QJsonDocument(entrada).toJson());
        qavtool.closeWriteChannel();
        QVERIFY(qavtool.waitForFinished(60000));
        QCOMPARE(qavtool.exitCode(), 0);
        const QJsonObject saida = QJsonDocument::fromJson(qavtool.readAllStandardOutput()).object();
        const QJsonObject calculado = saida.value(u"pedido"_s).toObject();
        const auto real2 = [&](const char* campo) {
            return QString::fromStdString(Decimal::fromDouble(pedido.real(campo), 2).toString(2));
        };
        QCOMPARE(real2("TOTPR"), calculado.value(u"TOTPR"_s).toString());
        QCOMPARE(real2("DESCV"), calculado.value(u"DESCV"_s).toString());
        QCOMPARE(real2("IPI"), calculado.value(u"IPI"_s).toString());
        QCOMPARE(QString::fromStdString(pedido.decimal("VL_ICMSST").toString(2)),
                 calculado.value(u"VL_ICMSST"_s).toString());
        QCOMPARE(real2("TOTAL"), calculado.value(u"TOTAL"_s).toString());
        QVERIFY(pedido.real("TOTAL") > 0.0);
        const QJsonArray itensCalculados = saida.value(u"itens"_s).toArray();
        QCOMPARE(itensCalculados.size(), 3);
        for (qsizetype i = 0; i < itensCalculados.size(); ++i)
            QCOMPARE(QString::fromStdString(itens[static_cast<size_t>(i)].decimal("TOTAL").toString(2)),
                     itensCalculados.at(i).toObject().value(u"TOTAL"_s).toString());
    }
};

QAV_TEST_MAIN(TestGuiPedidoDemo)
#include "tst_gui_pedidodemo.moc"
