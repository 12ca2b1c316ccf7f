// The item form over real table files: a whole item typed from the keyboard and saved with the form
// staying open for the next, cancel with and without items saved, a code the company lacks opening
// the product list, the order form's item buttons, keys and refusals, and a transmitted order whose
// items are only shown.
#include "orders/widgets/ConsultaCaracteristica.h"
#include "orders/widgets/ItensPedidoModelo.h"
#include "orders/widgets/UpdatePEDIDO.h"
#include "orders/widgets/UpdatePED_ITEN.h"
#include "store/core/Clock.h"
#include "tests/orders/PedidosFixture.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>
#include <memory>
#include <tuple>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

const Date kHoje = Date::fromYmd(2026, 12, 8);
constexpr int kVendedor = 7;
constexpr int kCliente = 100;
const char* const kBarras = "7891000000011";
const QList<Button> kRespostas(100, Button::No);

Decimal dec(const char* texto) {
    return Decimal::parse(texto).value();
}

} // namespace

class TestGuiUpdatePedItem : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<QTemporaryDir> m_program;

    ListContext contexto() const { return {m_folder->path(), 1, m_program->path()}; }
    Store& store() { return m_folder->store(); }

    // One company, its representative, one customer, payment form 1 without discount, and the
    // products A-1 (10,00, with a bar code) and 000123 (20,00).
    void referencias() {
        Store& s = store();
        adicionar(s, "empresa", [](Record& r) { r.setInteger("ID_EMPRESA", 1); });
        adicionar(s, "municip", [](Record& r) {
            r.setInteger("ID", 10);
            r.setText("ESTADO", u"PR"_s);
        });
        adicionar(s, "qavcfg", [](Record& r) {
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("COD_VENDEDOR", kVendedor);
            r.setInteger("ATIVA_LEIT_COD_BARRAS", 1);
        });
        adicionar(s, "vendedor", [](Record& r) {
            r.setInteger("ID_VENDEDOR", 1);
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("CODIGO", kVendedor);
            r.setInteger("ORIGEM_COM", 1);
            r.setDecimal("TAXA_COMISSAO", dec("5"));
            r.setDecimal("TX_DESCMAX", dec("10"));
        });
        adicionar(s, "formapag", [](Record& r) {
            r.setInteger("ID_FORMAPAG", 1);
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("CODIGO", 1);
            r.setText("DESCR", u"A VISTA"_s);
        });
        adicionar(s, "clientes", [](Record& r) {
            r.setInteger("ID", kCliente);
            r.setText("RAZAO", u"CLIENTE 100 LTDA"_s);
            r.setInteger("COD_VENDEDOR", kVendedor);
            r.setReal("LIMCRED", 100000.0);
            r.setInteger("LIB_CRED", 1);
            r.setInteger("FORMA_PAG", 1);
            r.setInteger("ID_MUNICIPIO", 10);
        });
        produto(1, "A-1", "PARAFUSO SEXTAVADO", "10", kBarras);
        produto(2, "000123", "PORCA BORBOLETA", "20", "");
    }

    void produto(int id, const char* codigo, const char* nome, const char* preco, const char* barras) {
        adicionar(store(), "produto", [&](Record& r) {
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("ID", id);
            r.setText("CODIGO", QString::fromLatin1(codigo));
            r.setText("NOME", QString::fromLatin1(nome));
            r.setText("COD_BARRAS", QString::fromLatin1(barras));
            r.setText("UNIDA", u"PC"_s);
            r.setDecimal("PRECO", dec(preco));
            r.setInteger("ATIVO", 1);
        });
    }

    // Order 41 of the customer, pending (or as `situa` says), with 4 units of A-1.
    void pedido41(int situa = 1) {
        pedido(store(), {.id = 41,
                         .numero = 41,
                         .situa = situa,
                         .cliente = kCliente,
                         .vendedor = kVendedor,
                         .data = kHoje.dayNumber()});
        Table pedidos(store(), "pedidos");
        QVERIFY(pedidos.open());
        pedidos.rec().setInteger("ID", 41);
        QCOMPARE(pedidos.get("KEYID"), Status::Ok);
        pedidos.rec().setInteger("FCONTA", 1);
        pedidos.rec().setInteger("COD_FORMAPAG", 1);
        pedidos.rec().setInteger("COD_LIBERACAO", 0);
        QCOMPARE(pedidos.put(), Status::Ok);
        adicionar(store(), "peditens", [&](Record& r) {
            r.setInteger("ID_VENDASI", 1);
            r.setInteger("ID_VENDA", 41);
            r.setInteger("PRODU", 1);
            r.setDecimal("QTD", dec("4"));
            r.setDecimal("PRUNI", dec("10"));
            r.setDecimal("VALOR_PRODUTO", dec("10"));
            r.setDecimal("PRECO_PAUTA", dec("10"));
            r.setDecimal("TOTAL", dec("40"));
        });
    }

    Record lido(int id) {
        Table pedidos(store(), "pedidos");
        if (!pedidos.open())
            qFatal("pedidos does not open");
        pedidos.rec().setInteger("ID", id);
        if (pedidos.get("KEYID") != Status::Ok)
            qFatal("order %d not found", id);
        return pedidos.rec();
    }

    std::unique_ptr<UpdatePEDIDO> abrirPedido(RequisicaoPedido requisicao, const Record* pedido) {
        auto form = std::make_unique<UpdatePEDIDO>(contexto(), requisicao);
        if (!form->preparar(pedido))
            return nullptr;
        form->show();
        return form;
    }

    static void digitar(QLineEdit* campo, const QString& texto) {
        campo->setFocus();
        campo->selectAll();
        QTest::keyClicks(campo, texto);
        QTest::keyClick(campo, Qt::Key_Return);
    }

    // Enter from entry to entry until the focus is on "&OK", then Enter on it. False when the focus
    // never gets there.
    static bool enterAteOk(QWidget* form) {
        auto* ok = child<QPushButton>(form, "ok");
        for (int i = 0; i < 20 && form->focusWidget() && form->focusWidget() != ok; ++i)
            QTest::keyClick(form->focusWidget(), Qt::Key_Return);
        if (form->focusWidget() != ok)
            return false;
        QTest::keyClick(ok, Qt::Key_Return);
        return true;
    }

    // One item typed from the keyboard alone: the code, Enter, the quantity, Enter ... "&OK".
    static bool itemDoTeclado(QWidget* form, const QString& codigo, const QString& qtd) {
        auto* produto = child<QLineEdit>(form, "produto");
        if (form->focusWidget() != produto)
            return false;
        QTest::keyClicks(produto, codigo);
        QTest::keyClick(produto, Qt::Key_Return);
        auto* quantidade = child<QLineEdit>(form, "qtd");
        if (form->focusWidget() != quantidade)
            return false;
        quantidade->selectAll();
        QTest::keyClicks(quantidade, qtd);
        QTest::keyClick(quantidade, Qt::Key_Return);
        return enterAteOk(form);
    }

private Q_SLOTS:
    void init() {
        m_folder = std::make_unique<TempDataFolder>();
        m_program = std::make_unique<QTemporaryDir>();
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
        MessageBox::clearShown();
        MessageBox::setNextAnswers(kRespostas);
        referencias();
    }

    void cleanup() {
        MessageBox::setNextAnswers({});
        Clock::setOverride({});
        m_folder.reset();
    }

    // A code read as a number ("123" is 000123), the quantity, Enter down to "&OK": the item is in
    // the order, and the form is open again with an empty product entry holding the focus. A bar
    // code typed in the product entry shows the product's code.
    void wholeItemFromTheKeyboard() {
        pedido41();
        EdicaoPedido pedido(store());
        QVERIFY(pedido.abrir(41).ok());
        DadosPedido dados;
        QVERIFY(pedido.carregarDados(dados).ok());
        UpdatePED_ITEN form(contexto(), store(), pedido, dados, RequisicaoItem::Inserir, -1, false);
        form.preparar();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.windowTitle(), u"Novo Item"_s);

        QVERIFY(itemDoTeclado(&form, u"123"_s, u"3"_s));
        QVERIFY2(shownBoxes().isEmpty(), qPrintable(shownBoxes().join(u'\n')));
        QCOMPARE(pedido.itens().size(), size_t(2));
        const Record& novo = pedido.itens().back().item;
        QCOMPARE(novo.integer("PRODU"), 2);
        QCOMPARE(novo.decimal("QTD"), dec("3"));
        QCOMPARE(novo.decimal("TOTAL"), dec("60"));
        QCOMPARE(novo.integer("ID_VENDA"), 41);
        QVERIFY(novo.integer("ID_VENDASI") > 1);
        QVERIFY(form.isVisible());
        QCOMPARE(form.focusWidget(), child<QLineEdit>(&form, "produto"));
        QVERIFY(child<QLineEdit>(&form, "produto")->text().isEmpty());
        QCOMPARE(form.itensGravados(), 1);

        // The restore key brings back the product of the item saved last.
        auto* produto = child<QLineEdit>(&form, "produto");
        QTest::keyClick(produto, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(produto->text(), u"000123"_s);
        produto->clear();
        QTest::keyClicks(produto, QString::fromLatin1(kBarras));
        QTest::keyClick(produto, Qt::Key_Return);
        QCOMPARE(produto->text(), u"A-1"_s);
        QCOMPARE(child<QLabel>(&form, "nomeProduto")->text(), u"PARAFUSO SEXTAVADO"_s);
        QCOMPARE(child<QLabel>(&form, "unidade")->text(), u"PC"_s);

        form.reject(); // the item half typed is given up; the saved one stays
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(pedido.itens().size(), size_t(2));
    }

    // "Característica (F2)...": the door found by its characteristics comes into the item with the
    // handle chosen for the subgroup it requires, priced into the item.
    void productFoundByItsCharacteristics() {
        pedido41();
        adicionar(store(), "produto", [](Record& r) {
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("ID", 30);
            r.setText("CODIGO", u"PORTA-80"_s);
            r.setText("NOME", u"PORTA DE MADEIRA 80 CM"_s);
            r.setDecimal("PRECO", dec("300"));
            r.setInteger("ATIVO", 1);
            r.setText("CARAC1", u"PORTA"_s);
            r.setText("CARAC2", u"MADEIRA"_s);
            r.setInteger("COD_ACESS1", 10);
        });
        adicionar(store(), "acessori", [](Record& r) {
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("ID_ACESSORIO", 101);
            r.setInteger("COD_SUBGRUPO", 10);
            r.setText("DESCRICAO", u"PUXADOR CROMADO"_s);
            r.setText("DESCR_SUBGRUPO", u"PUXADORES"_s);
            r.setDecimal("PRECO", dec("12.5"));
            r.setInteger("ATIVO", 1);
        });
        EdicaoPedido pedido(store());
        QVERIFY(pedido.abrir(41).ok());
        DadosPedido dados;
        QVERIFY(pedido.carregarDados(dados).ok());
        UpdatePED_ITEN form(contexto(), store(), pedido, dados, RequisicaoItem::Inserir, -1, false);
        form.preparar();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        whenModal<ConsultaCaracteristica>([](ConsultaCaracteristica* finder) {
            auto escolher = [finder](const char* lista, const QString& valor) {
                auto* c = child<QComboBox>(finder, lista);
                c->setCurrentIndex(c->findText(valor));
            };
            escolher("caracteristica1", u"PORTA"_s);
            escolher("caracteristica2", u"MADEIRA"_s);
            auto* acessorios = child<QTreeWidget>(finder, "acessorios1");
            acessorios->setCurrentItem(acessorios->topLevelItem(0));
            child<QPushButton>(finder, "ok")->click();
        });
        QTest::keyClick(child<QLineEdit>(&form, "produto"), Qt::Key_F2);
        QCOMPARE(child<QLineEdit>(&form, "produto")->text(), u"PORTA-80"_s);
        QCOMPARE(form.edicao().item().integer("PRODU"), 30);
        QCOMPARE(form.edicao().acessorios().size(), size_t(1));
        QCOMPARE(form.edicao().acessorios()[0].integer("ID_ACESSORIO"), 101);
        QCOMPARE(form.edicao().item().decimal("PRUNI"), dec("312.5"));
    }

    // Entries the item refuses keep the focus with their message: a quantity outside the sale lot
    // where the company takes only whole lots, and the product the order already has with the same
    // observation (it needs another observation to be sold twice).
    void refusalsKeepTheFocus_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("qtd");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("quantity outside the lot")
            << u"000123"_s << u"30"_s << u"qtd"_s
            << u"Aviso: Quantidade diverge da volume na embalagem do produto!\nQuantidade válida: 36 PC"_s;
        QTest::newRow("quantity in whole lots") << u"000123"_s << u"24"_s << QString() << QString();
        QTest::newRow("same product, same observation")
            << u"A-1"_s << u"1"_s << u"obs"_s
            << u"AVISO! - Chave duplicada: Impossivel gravar registro, chave duplicada ao gravar: "
               "Id Pedido + Produto + Obs."_s;
    }

    void refusalsKeepTheFocus() {
        QFETCH(QString, codigo);
        QFETCH(QString, qtd);
        QFETCH(QString, campo);
        QFETCH(QString, mensagem);
        pedido41();
        {
            Table t(store(), "qavcfg");
            QVERIFY(t.open());
            QCOMPARE(t.seekPhysical(), Status::Ok);
            QCOMPARE(t.next(), Status::Ok);
            t.rec().setText("BLOQ_VOLUMES", u"S"_s);
            QCOMPARE(t.put(), Status::Ok);
            Table p(store(), "produto");
            QVERIFY(p.open());
            p.rec().setInteger("ID", 2);
            p.rec().setInteger("ID_EMPRESA", 1);
            QCOMPARE(p.get("KEYID"), Status::Ok);
            p.rec().setDecimal("LOTE_MUL_VENDA", dec("12"));
            QCOMPARE(p.put(), Status::Ok);
        }
        EdicaoPedido pedido(store());
        QVERIFY(pedido.abrir(41).ok());
        DadosPedido dados;
        QVERIFY(pedido.carregarDados(dados).ok());
        UpdatePED_ITEN form(contexto(), store(), pedido, dados, RequisicaoItem::Inserir, -1, false);
        form.preparar();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        digitar(child<QLineEdit>(&form, "produto"), codigo);
        digitar(child<QLineEdit>(&form, "qtd"), qtd);
        if (campo != u"qtd"_s)
            QCOMPARE(form.confirmar(), campo.isEmpty());
        QCOMPARE(pedido.itens().size(), size_t(campo.isEmpty() ? 2 : 1));
        if (campo.isEmpty()) {
            QVERIFY2(shownBoxes().isEmpty(), qPrintable(shownBoxes().join(u'\n')));
            return;
        }
        QCOMPARE(shownBoxes().value(0), mensagem);
        QCOMPARE(form.focusWidget(), child<QLineEdit>(&form, qPrintable(campo)));
        // Leaving the quantity as it is does not get it past "&OK".
        MessageBox::clearShown();
        QVERIFY(!form.confirmar());
        QCOMPARE(shownBoxes().value(0), mensagem);
        QCOMPARE(pedido.itens().size(), size_t(1));
        QVERIFY(form.isVisible());
    }

    // A product that requires two accessory subgroups: each added once with its price, the unit price
    // then set through the product value, and "&OK" refused while one subgroup is missing.
    void requiredAccessories() {
        pedido41();
        for (const auto& [id, subgrupo, descricao, nomeSubgrupo, preco] :
             {std::tuple{1, 7, "PUXADOR CROMADO", "PUXADORES", "2.50"},
              std::tuple{2, 8, "TRINCO SIMPLES", "TRINCOS", "1.00"}})
            adicionar(store(), "acessori", [&](Record& r) {
                r.setInteger("ID_EMPRESA", 1);
                r.setInteger("ID_ACESSORIO", id);
                r.setInteger("COD_SUBGRUPO", subgrupo);
                r.setText("DESCRICAO", QString::fromLatin1(descricao));
                r.setText("DESCR_SUBGRUPO", QString::fromLatin1(nomeSubgrupo));
                r.setDecimal("PRECO", dec(preco));
                r.setInteger("ATIVO", 1);
            });
        {
            Table p(store(), "produto");
            QVERIFY(p.open());
            p.rec().setInteger("ID", 2);
            p.rec().setInteger("ID_EMPRESA", 1);
            QCOMPARE(p.get("KEYID"), Status::Ok);
            p.rec().setInteger("COD_ACESS1", 7);
            p.rec().setInteger("COD_ACESS2", 8);
            QCOMPARE(p.put(), Status::Ok);
        }
        EdicaoPedido pedido(store());
        QVERIFY(pedido.abrir(41).ok());
        DadosPedido dados;
        QVERIFY(pedido.carregarDados(dados).ok());
        UpdatePED_ITEN form(contexto(), store(), pedido, dados, RequisicaoItem::Inserir, -1, false);
        form.preparar();
        form.show();
        auto* abas = child<QTabWidget>(&form, "abas");
        QVERIFY(!abas->isTabEnabled(1)); // no product yet
        digitar(child<QLineEdit>(&form, "produto"), u"000123"_s);
        digitar(child<QLineEdit>(&form, "qtd"), u"2"_s);
        QVERIFY(abas->isTabEnabled(1));
        abas->setCurrentIndex(1);
        QCOMPARE(child<QComboBox>(&form, "subgrupo")->count(), 2);
        QCOMPARE(child<QComboBox>(&form, "subgrupo")->currentText(), u"PUXADORES"_s);

        auto* adicionar = child<QPushButton>(&form, "adicionar");
        auto* acessorio = child<QComboBox>(&form, "acessorio");
        adicionar->click();
        acessorio->setCurrentIndex(0);
        Q_EMIT acessorio->activated(0);
        QCOMPARE(child<QLineEdit>(&form, "valorAcessorio")->text(), u"2,50"_s);
        adicionar->click();
        adicionar->click();
        QCOMPARE(shownBoxes(),
                 (QStringList{u"Aviso: Escolha o acessório primeiro!"_s, u"Aviso: Acessório já lançado!"_s}));
        auto* linhas = child<QTableWidget>(&form, "acessoriosItem");
        QCOMPARE(linhas->rowCount(), 1);
        QCOMPARE(linhas->item(0, 1)->text(), u"PUXADOR CROMADO"_s);
        QCOMPARE(child<QLabel>(&form, "pruniAcessorios")->text(), u"22,5000"_s);
        QCOMPARE(child<QLabel>(&form, "total")->text(), u"45,00"_s);
        QVERIFY(!child<QComboBox>(&form, "pruni")->isEnabled());

        abas->setCurrentIndex(0);
        MessageBox::clearShown();
        QVERIFY(!form.confirmar());
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Produto sem acessório (8-TRINCOS) obrigatório!"_s});
        QCOMPARE(abas->currentIndex(), 1);
        QCOMPARE(pedido.itens().size(), size_t(1));

        // Removing asks first; No keeps the accessory.
        MessageBox::clearShown();
        linhas->clearSelection();
        child<QPushButton>(&form, "remover")->click();
        linhas->selectRow(0);
        MessageBox::setNextAnswers({Button::No, Button::Yes});
        child<QPushButton>(&form, "remover")->click();
        QCOMPARE(linhas->rowCount(), 1);
        child<QPushButton>(&form, "remover")->click();
        QCOMPARE(linhas->rowCount(), 0);
        QCOMPARE(shownBoxes(), (QStringList{u"Aviso: Primeiro selecione o acessório que você quer remover!"_s,
                                            u"CONFIRME?: Confirme excluir o acessório selecionado?"_s,
                                            u"CONFIRME?: Confirme excluir o acessório selecionado?"_s}));
        QCOMPARE(child<QLabel>(&form, "total")->text(), u"40,00"_s);
        QVERIFY(child<QComboBox>(&form, "pruni")->isEnabled());
    }

    // Measures at the start of the observation: the form asks, and on yes the price per square metre
    // of the customer's state (the second price, PRAZ2 starting with PR) prices the item: 120 x 80 x
    // 50,00 / 10000 = 48,00.
    void measurePrice_data() {
        QTest::addColumn<QString>("obs");
        QTest::addColumn<int>("resposta");
        QTest::addColumn<QString>("pruni");
        QTest::addColumn<bool>("perguntou");
        QTest::newRow("yes") << u"120X080 vidro"_s << int(Button::Yes) << u"48,0000"_s << true;
        QTest::newRow("no") << u"120x080"_s << int(Button::No) << u"20,0000"_s << true;
        QTest::newRow("no measures") << u"1200X80"_s << int(Button::Yes) << u"20,0000"_s << false;
    }

    void measurePrice() {
        QFETCH(QString, obs);
        QFETCH(int, resposta);
        QFETCH(QString, pruni);
        QFETCH(bool, perguntou);
        pedido41();
        {
            Table p(store(), "produto");
            QVERIFY(p.open());
            p.rec().setInteger("ID", 2);
            p.rec().setInteger("ID_EMPRESA", 1);
            QCOMPARE(p.get("KEYID"), Status::Ok);
            p.rec().setText("PRAZO", u"SC 30 DIAS"_s);
            p.rec().setText("PRAZ2", u"PR 30 DIAS"_s);
            p.rec().setDecimal("PREC2", dec("50"));
            QCOMPARE(p.put(), Status::Ok);
        }
        EdicaoPedido pedido(store());
        QVERIFY(pedido.abrir(41).ok());
        DadosPedido dados;
        QVERIFY(pedido.carregarDados(dados).ok());
        UpdatePED_ITEN form(contexto(), store(), pedido, dados, RequisicaoItem::Inserir, -1, false);
        form.preparar();
        form.show();
        digitar(child<QLineEdit>(&form, "produto"), u"000123"_s);
        digitar(child<QLineEdit>(&form, "qtd"), u"1"_s);
        MessageBox::setNextAnswers({static_cast<Button>(resposta)});
        digitar(child<QLineEdit>(&form, "obs"), obs);
        QCOMPARE(
            shownBoxes().contains(u"Confirma calculo preço?: Deseja cacular o preço de venda pela medida?"_s),
            perguntou);
        QCOMPARE(child<QComboBox>(&form, "pruni")->currentText(), pruni);
        MessageBox::setNextAnswers(kRespostas);
        QVERIFY(form.confirmar());
        QCOMPARE(pedido.itens().back().item.text("OBS").trimmed(), obs);
    }

    // Cancel right after opening: nothing is added and the form returns cancelled.
    void cancelRightAfterOpeningLeavesNothing() {
        pedido41();
        EdicaoPedido pedido(store());
        QVERIFY(pedido.abrir(41).ok());
        DadosPedido dados;
        QVERIFY(pedido.carregarDados(dados).ok());
        UpdatePED_ITEN form(contexto(), store(), pedido, dados, RequisicaoItem::Inserir, -1, false);
        form.preparar();
        form.show();
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QCOMPARE(pedido.itens().size(), size_t(1));
        QVERIFY(!pedido.alterado());
        QVERIFY(shownBoxes().isEmpty());
    }

    // A code that is no product's opens the product list; closed without a choice, the focus stays
    // on the product entry and nothing is chosen.
    void unknownCodeOpensTheProductList() {
        pedido41();
        EdicaoPedido pedido(store());
        QVERIFY(pedido.abrir(41).ok());
        DadosPedido dados;
        QVERIFY(pedido.carregarDados(dados).ok());
        UpdatePED_ITEN form(contexto(), store(), pedido, dados, RequisicaoItem::Inserir, -1, false);
        form.preparar();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        bool listaAberta = false;
        whenModal([&](QWidget* lista) {
            listaAberta = lista->objectName() != u"UpdatePED_ITEN"_s;
            lista->findChild<QPushButton*>(u"botaoFechar"_s)->click();
        });
        auto* produto = child<QLineEdit>(&form, "produto");
        QTest::keyClicks(produto, u"ZZZ"_s);
        QTest::keyClick(produto, Qt::Key_Return);
        QVERIFY(listaAberta);
        QCOMPARE(form.focusWidget(), produto);
        QCOMPARE(form.edicao().item().integer("PRODU"), 0);
        // "&OK" refuses the item without a product, the focus again on the entry.
        QVERIFY(!form.confirmar());
        QCOMPARE(pedido.itens().size(), size_t(1));
        QCOMPARE(form.focusWidget(), produto);
    }

    // A new order: "&Novo" opens the item form, two items are typed and the form cancelled. Both are
    // in the order form's list, and after the order's "&OK" in the files.
    void cancelAfterTwoKeepsBoth() {
        Record inicio(*findTable("pedidos.tps"));
        auto form = abrirPedido(RequisicaoPedido::Inserir, &inicio);
        QVERIFY(form);
        digitar(child<QLineEdit>(form.get(), "cliente"), QString::number(kCliente));
        QCOMPARE(child<QLineEdit>(form.get(), "formaPag")->text(), u"1"_s);
        auto* fconta = child<QComboBox>(form.get(), "fconta");
        fconta->setCurrentIndex(0);
        Q_EMIT fconta->activated(0);

        QString titulo;
        int gravados = -1;
        bool teclado = false;
        whenModal<UpdatePED_ITEN>([&](UpdatePED_ITEN* item) {
            titulo = item->windowTitle();
            teclado = itemDoTeclado(item, u"A-1"_s, u"2"_s) && itemDoTeclado(item, u"123"_s, u"5"_s);
            gravados = item->itensGravados();
            QTest::keyClick(item, Qt::Key_Escape);
        });
        child<QPushButton>(form.get(), "itemNovo")->click();
        QCOMPARE(titulo, u"Novo Item"_s);
        QVERIFY(teclado);
        QCOMPARE(gravados, 2);
        auto* itens = child<QTableView>(form.get(), "itens");
        QCOMPARE(itens->model()->rowCount(), 2);
        QCOMPARE(itens->model()->index(0, ItensPedidoModelo::Codigo).data().toString(), u"A-1"_s);
        QCOMPARE(itens->model()->index(1, ItensPedidoModelo::Total).data().toString(), u"100,00"_s);
        QCOMPARE(child<QLabel>(form.get(), "total")->text(), u"120,00"_s); // recalculated
        QCOMPARE(registros(store(), "peditens", "KEYID_VENDASI", "1 = 1").size(), size_t(0));

        QVERIFY2(form->confirmar(), qPrintable(shownBoxes().join(u'\n')));
        const int id = form->idGravado();
        const std::vector<Record> gravadosNoArquivo =
            registros(store(), "peditens", "KEYID_VENDASI", "ID_VENDA = " + std::to_string(id));
        QCOMPARE(gravadosNoArquivo.size(), size_t(2));
        QCOMPARE(gravadosNoArquivo[0].decimal("QTD"), dec("2"));
        QCOMPARE(gravadosNoArquivo[1].integer("PRODU"), 2);
        QCOMPARE(gravadosNoArquivo[1].decimal("QTD"), dec("5"));
    }

    // "&Editar" (and Ctrl+Enter) changes the item; "E&xcluir" (and Delete) asks first and removes it
    // only on OK; the order is recalculated each time.
    void itemButtonsAndKeys() {
        pedido41();
        const Record original = lido(41);
        auto form = abrirPedido(RequisicaoPedido::Alterar, &original);
        QVERIFY(form);
        auto* itens = child<QTableView>(form.get(), "itens");
        QCOMPARE(itens->model()->rowCount(), 1);
        QVERIFY(child<QPushButton>(form.get(), "itemNovo")->isEnabled());
        itens->setCurrentIndex(itens->model()->index(0, 0));

        QString titulo;
        whenModal<UpdatePED_ITEN>([&](UpdatePED_ITEN* item) {
            titulo = item->windowTitle();
            digitar(child<QLineEdit>(item, "qtd"), u"6"_s);
            child<QPushButton>(item, "ok")->click();
        });
        itens->setFocus();
        QTest::keyClick(itens, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(titulo, u"Editar Item"_s);
        QCOMPARE(itens->model()->index(0, ItensPedidoModelo::Quantidade).data().toString(), u"6,000"_s);
        QCOMPARE(child<QLabel>(form.get(), "total")->text(), u"60,00"_s);

        // Delete answered Cancel keeps the item; "E&xcluir" answered OK removes it.
        MessageBox::clearShown();
        MessageBox::setNextAnswers({Button::Cancel});
        itens->setFocus();
        QTest::keyClick(itens, Qt::Key_Delete);
        QCOMPARE(
            shownBoxes().value(0),
            u"Confirma Excluir: Você deseja excluir o registro marcado.  Pressione Ok para confirmar."_s);
        QCOMPARE(itens->model()->rowCount(), 1);
        MessageBox::setNextAnswers({Button::Ok});
        child<QPushButton>(form.get(), "itemExcluir")->click();
        QCOMPARE(itens->model()->rowCount(), 0);
        QVERIFY(form->edicao().itens().empty());
        QCOMPARE(child<QLabel>(form.get(), "total")->text(), u"0,00"_s);
        QVERIFY(!child<QPushButton>(form.get(), "itemEditar")->isEnabled());
        QVERIFY(!child<QPushButton>(form.get(), "itemExcluir")->isEnabled());
        // The list's menu greys edit and delete when it is empty.
        QStringList menu;
        QTimer espera;
        espera.setInterval(10);
        connect(&espera, &QTimer::timeout, [&] {
            if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                espera.stop();
                for (QAction* a : popup->actions())
                    menu << a->text() + (a->isEnabled() ? QString() : u" (off)"_s);
                popup->close();
            }
        });
        espera.start();
        Q_EMIT itens->customContextMenuRequested(QPoint(5, 5));
        QCOMPARE(menu, (QStringList{u"&Novo"_s, u"&Editar (off)"_s, u"E&xcluir (off)"_s}));
        // Only in the files once the order is confirmed (an order without items is not).
        QCOMPARE(registros(store(), "peditens", "KEYID_VENDASI", "ID_VENDA = 41").size(), size_t(1));
    }

    // The price list the company requires for items: missing, inactive, or in order.
    void priceListBeforeNew_data() {
        QTest::addColumn<int>("ativarProdPauta");
        QTest::addColumn<int>("codPauta");
        QTest::addColumn<int>("pautaAtiva"); // -1: no such list
        QTest::addColumn<QString>("recusa");
        QTest::newRow("required, none") << 1 << 0 << -1 << u"Aviso: Pauta de preços inválida!"_s;
        QTest::newRow("order's list missing") << 0 << 5 << -1 << u"Aviso: Pauta de preços inválida!"_s;
        QTest::newRow("order's list inactive") << 0 << 5 << 0 << u"Aviso: Pauta de preços inativa!"_s;
        QTest::newRow("order's list active") << 0 << 5 << 1 << QString();
        QTest::newRow("none required, none") << 0 << 0 << -1 << QString();
    }

    void priceListBeforeNew() {
        QFETCH(int, ativarProdPauta);
        QFETCH(int, codPauta);
        QFETCH(int, pautaAtiva);
        QFETCH(QString, recusa);
        pedido41();
        {
            Table t(store(), "qavcfg");
            QVERIFY(t.open());
            QCOMPARE(t.seekPhysical(), Status::Ok);
            QCOMPARE(t.next(), Status::Ok);
            t.rec().setInteger("ATIVAR_PROD_PAUTA", ativarProdPauta);
            QCOMPARE(t.put(), Status::Ok);
            Table p(store(), "pedidos");
            QVERIFY(p.open());
            p.rec().setInteger("ID", 41);
            QCOMPARE(p.get("KEYID"), Status::Ok);
            p.rec().setInteger("COD_PAUTA", codPauta);
            QCOMPARE(p.put(), Status::Ok);
        }
        if (pautaAtiva >= 0)
            adicionar(store(), "pauta", [&](Record& r) {
                r.setInteger("ID", codPauta * 10000 + 1);
                r.setInteger("ID_EMPRESA", 1);
                r.setInteger("CODIGO", codPauta);
                r.setInteger("ATIVO", pautaAtiva);
            });
        const Record original = lido(41);
        auto form = abrirPedido(RequisicaoPedido::Alterar, &original);
        QVERIFY(form);
        MessageBox::clearShown();
        MessageBox::setNextAnswers(kRespostas);
        bool abriu = false;
        if (recusa.isEmpty())
            whenModal<UpdatePED_ITEN>([&](UpdatePED_ITEN* item) {
                abriu = true;
                item->reject();
            });
        QTest::keyClick(child<QTableView>(form.get(), "itens"), Qt::Key_Insert);
        if (recusa.isEmpty()) {
            QVERIFY(abriu);
            QVERIFY2(shownBoxes().isEmpty(), qPrintable(shownBoxes().join(u'\n')));
        } else {
            QCOMPARE(shownBoxes(), QStringList{recusa});
        }
        QCOMPARE(form->edicao().itens().size(), size_t(1));
    }

    // A transmitted order: new and delete are refused with their notices; its item opens only to
    // be looked at.
    void transmittedOrderItemsAreOnlyShown() {
        pedido41(3);
        const Record transmitido = lido(41);
        auto form = abrirPedido(RequisicaoPedido::Alterar, &transmitido);
        QVERIFY(form);
        auto* itens = child<QTableView>(form.get(), "itens");
        itens->setCurrentIndex(itens->model()->index(0, 0));
        MessageBox::clearShown();
        child<QPushButton>(form.get(), "itemNovo")->click();
        child<QPushButton>(form.get(), "itemExcluir")->click();
        QCOMPARE(shownBoxes(), (QStringList{u"Aviso: Pedido já transmitido! Impossivel incluir!"_s,
                                            u"Aviso: Pedido já transmitido! Impossivel excluir!"_s}));
        QCOMPARE(form->edicao().itens().size(), size_t(1));

        MessageBox::clearShown();
        QString titulo;
        bool okHabilitado = true;
        bool qtdSoLeitura = false;
        whenModal<UpdatePED_ITEN>([&](UpdatePED_ITEN* item) {
            titulo = item->windowTitle();
            okHabilitado = child<QPushButton>(item, "ok")->isEnabled();
            qtdSoLeitura = child<QLineEdit>(item, "qtd")->isReadOnly();
            QVERIFY(!item->confirmar());
            item->reject();
        });
        const QPoint celula = itens->visualRect(itens->model()->index(0, 1)).center();
        QTest::mouseClick(itens->viewport(), Qt::LeftButton, {}, celula);
        QTest::mouseDClick(itens->viewport(), Qt::LeftButton, {}, celula);
        QCOMPARE(titulo, u"Consulta Item"_s);
        QVERIFY(!okHabilitado);
        QVERIFY(qtdSoLeitura);
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Pedido já transmitido! Somente consulta disponível!"_s});
        QCOMPARE(form->edicao().itens()[0].item.decimal("QTD"), dec("4"));
    }
};

QTEST_MAIN(TestGuiUpdatePedItem)
#include "tst_gui_updatepeditem.moc"
