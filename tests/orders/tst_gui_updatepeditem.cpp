// The item form over real table files: a whole item typed from the keyboard and saved with the form
// staying open for the next, cancel with and without items saved, a code the company lacks opening
// the product list, the order form's item buttons, keys and refusals, and a transmitted order whose
// items are only shown.
#include "orders/widgets/ConsultaCaracteristica.h"
#include "orders/widgets/FichaItemPedido.h"
#include "orders/widgets/FichaPedido.h"
#include "orders/widgets/ItensPedidoModelo.h"
#include "tests/orders/FormularioFixture.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"
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

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestGuiUpdatePedItem : public QObject, private FormularioFixture {
    Q_OBJECT

private:
    std::unique_ptr<EdicaoPedido> m_pedido;
    DadosPedido m_dados;

    // Order 41 read into memory, and the item form over it, shown, for a new item. Nothing when the
    // order cannot be read.
    std::unique_ptr<FichaItemPedido> abrirItem() {
        m_pedido = std::make_unique<EdicaoPedido>(store());
        if (!m_pedido->abrir(41).ok() || !m_pedido->carregarDados(m_dados).ok())
            return nullptr;
        auto form = std::make_unique<FichaItemPedido>(contexto(), store(), *m_pedido, m_dados,
                                                      Requisicao::Inserir, -1, false);
        form->preparar();
        form->show();
        return form;
    }

    // Changes product `id` of the company.
    void alterarProduto(int id, const std::function<void(Record&)>& mudar) {
        Table p(store(), "produto");
        QVERIFY(p.open());
        p.rec().setInteger("ID", id);
        p.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(p.get("KEYID"), Status::Ok);
        mudar(p.rec());
        QCOMPARE(p.put(), Status::Ok);
    }

    // One company, its representative, one customer, payment form 1 without discount, and the
    // products A-1 (10,00, with a bar code) and 000123 (20,00).
    void referencias() {
        Store& s = store();
        empresa(s, {.id = 1});
        municipio(s, {.id = 10, .estado = u"PR"_s});
        qavcfg(s, {.vendedor = kVendedor, .leituraCodBarras = 1});
        vendedor(s, {.id = 1, .codigo = kVendedor, .origemCom = 1, .taxa = "5", .descMax = "10"});
        formaPag(s, {.id = 1, .codigo = 1, .descricao = u"A VISTA"_s});
        cliente(s, {.id = kCliente,
                    .razao = u"CLIENTE 100 LTDA"_s,
                    .vendedor = kVendedor,
                    .limcred = "100000",
                    .libCred = 1,
                    .formaPag = 1,
                    .municipio = 10});
        produto(s, {.id = 1,
                    .codigo = u"A-1"_s,
                    .nome = u"PARAFUSO SEXTAVADO"_s,
                    .barras = kBarras,
                    .preco = "10",
                    .ativo = 1,
                    .unidade = u"PC"_s});
        produto(s, {.id = 2,
                    .codigo = u"000123"_s,
                    .nome = u"PORCA BORBOLETA"_s,
                    .preco = "20",
                    .ativo = 1,
                    .unidade = u"PC"_s});
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
        iniciar();
        referencias();
    }

    void cleanup() {
        m_pedido.reset();
        encerrar();
    }

    // A code read as a number ("123" is 000123), the quantity, Enter down to "&OK": the item is in
    // the order, and the form is open again with an empty product entry holding the focus. A bar
    // code typed in the product entry shows the product's code.
    void wholeItemFromTheKeyboard() {
        pedido41();
        auto form = abrirItem();
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(form->windowTitle(), u"Novo Item"_s);

        QVERIFY(itemDoTeclado(form.get(), u"123"_s, u"3"_s));
        QVERIFY2(shownBoxes().isEmpty(), qPrintable(shownBoxes().join(u'\n')));
        QCOMPARE(m_pedido->itens().size(), size_t(2));
        const Record& novo = m_pedido->itens().back().item;
        QCOMPARE(novo.integer("PRODU"), 2);
        QCOMPARE(novo.decimal("QTD"), decimal("3"));
        QCOMPARE(novo.decimal("TOTAL"), decimal("60"));
        QCOMPARE(novo.integer("ID_VENDA"), 41);
        QVERIFY(novo.integer("ID_VENDASI") > 1);
        QVERIFY(form->isVisible());
        QCOMPARE(form->focusWidget(), child<QLineEdit>(form.get(), "produto"));
        QVERIFY(child<QLineEdit>(form.get(), "produto")->text().isEmpty());
        QCOMPARE(form->itensGravados(), 1);

        // The restore key brings back the product of the item saved last.
        auto* produto = child<QLineEdit>(form.get(), "produto");
        QTest::keyClick(produto, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(produto->text(), u"000123"_s);
        produto->clear();
        QTest::keyClicks(produto, QString::fromLatin1(kBarras));
        QTest::keyClick(produto, Qt::Key_Return);
        QCOMPARE(produto->text(), u"A-1"_s);
        QCOMPARE(child<QLabel>(form.get(), "nomeProduto")->text(), u"PARAFUSO SEXTAVADO"_s);
        QCOMPARE(child<QLabel>(form.get(), "unidade")->text(), u"PC"_s);

        form->reject(); // the item half typed is given up; the saved one stays
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(m_pedido->itens().size(), size_t(2));
    }

    // "Característica (F2)...": the door found by its characteristics comes into the item with the
    // handle chosen for the subgroup it requires, priced into the item.
    void productFoundByItsCharacteristics() {
        pedido41();
        produto(store(), {.id = 30,
                          .codigo = u"PORTA-80"_s,
                          .nome = u"PORTA DE MADEIRA 80 CM"_s,
                          .preco = "300",
                          .ativo = 1,
                          .caracteristicas = {"PORTA", "MADEIRA"},
                          .subgrupos = {10}});
        acessorio(store(), {.id = 101,
                            .subgrupo = 10,
                            .descricao = u"PUXADOR CROMADO"_s,
                            .nomeSubgrupo = u"PUXADORES"_s,
                            .preco = "12.5"});
        auto form = abrirItem();
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
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
        QTest::keyClick(child<QLineEdit>(form.get(), "produto"), Qt::Key_F2);
        QCOMPARE(child<QLineEdit>(form.get(), "produto")->text(), u"PORTA-80"_s);
        QCOMPARE(form->edicao().item().integer("PRODU"), 30);
        QCOMPARE(form->edicao().acessorios().size(), size_t(1));
        QCOMPARE(form->edicao().acessorios()[0].integer("ID_ACESSORIO"), 101);
        QCOMPARE(form->edicao().item().decimal("PRUNI"), decimal("312.5"));
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
        // A mistyped "-" or a 0 would reach the office as a returned or empty line.
        QTest::newRow("negative quantity")
            << u"000123"_s << u"-24"_s << u"qtd"_s
            << u"Range Error: The value of Quantidade must be higher than 0."_s;
        QTest::newRow("zero quantity") << u"A-1"_s << u"0"_s << u"qtd"_s
                                       << u"Range Error: The value of Quantidade must be higher than 0."_s;
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
        alterarPrimeiro("qavcfg", [&](Record& r) { r.setText("BLOQ_VOLUMES", u"S"_s); });
        alterarProduto(2, [](Record& r) { r.setDecimal("LOTE_MUL_VENDA", decimal("12")); });
        auto form = abrirItem();
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        digitar(child<QLineEdit>(form.get(), "produto"), codigo);
        digitar(child<QLineEdit>(form.get(), "qtd"), qtd);
        if (campo != u"qtd"_s)
            QCOMPARE(form->confirmar(), campo.isEmpty());
        QCOMPARE(m_pedido->itens().size(), size_t(campo.isEmpty() ? 2 : 1));
        if (campo.isEmpty()) {
            QVERIFY2(shownBoxes().isEmpty(), qPrintable(shownBoxes().join(u'\n')));
            return;
        }
        QCOMPARE(shownBoxes().value(0), mensagem);
        QCOMPARE(form->focusWidget(), child<QLineEdit>(form.get(), qPrintable(campo)));
        // Leaving the quantity as it is does not get it past "&OK".
        MessageBox::clearShown();
        QVERIFY(!form->confirmar());
        QCOMPARE(shownBoxes().value(0), mensagem);
        QCOMPARE(m_pedido->itens().size(), size_t(1));
        QVERIFY(form->isVisible());
    }

    // Item discounts outside 0 to 100 %, or a value over the item's total: the range warning, the
    // focus kept, the item unchanged, and "&OK" refused while the entry holds it.
    void itemDiscountOutOfRange_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("above 100 %") << u"descp"_s << u"150"_s
                                     << u"Range Error: The value of Desconto % must be between 0 and 100."_s;
        QTest::newRow("negative %") << u"descp"_s << u"-10"_s
                                    << u"Range Error: The value of Desconto % must be between 0 and 100."_s;
        QTest::newRow("negative value")
            << u"descv"_s << u"-1"_s
            << u"Range Error: The value of Valor Desconto must be between 0,00 and 60,00."_s;
    }
    void itemDiscountOutOfRange() {
        QFETCH(QString, campo);
        QFETCH(QString, valor);
        QFETCH(QString, mensagem);
        pedido41();
        auto form = abrirItem();
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        digitar(child<QLineEdit>(form.get(), "produto"), u"000123"_s);
        digitar(child<QLineEdit>(form.get(), "qtd"), u"3"_s);
        auto* entrada = child<QLineEdit>(form.get(), qPrintable(campo));
        digitar(entrada, valor);
        QCOMPARE(shownBoxes().value(0), mensagem);
        QCOMPARE(form->focusWidget(), entrada);
        QCOMPARE(form->edicao().item().decimal("TOTAL"), decimal("60"));
        MessageBox::clearShown();
        QVERIFY(!form->confirmar());
        QCOMPARE(shownBoxes().value(0), mensagem);
        QCOMPARE(m_pedido->itens().size(), size_t(1));
    }

    // F2 opens the characteristics finder wherever the focus is, a button included.
    void f2FromAnyWidget() {
        pedido41();
        auto form = abrirItem();
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        bool aberto = false;
        whenModal<ConsultaCaracteristica>([&aberto](ConsultaCaracteristica* finder) {
            aberto = true;
            finder->reject();
        });
        auto* cancelar = child<QPushButton>(form.get(), "cancelar");
        cancelar->setFocus();
        QTest::keyClick(cancelar, Qt::Key_F2);
        QVERIFY(aberto);
        QVERIFY(form->isVisible());
    }

    // A product that requires two accessory subgroups: each added once with its price, the unit price
    // then set through the product value, and "&OK" refused while one subgroup is missing.
    void requiredAccessories() {
        pedido41();
        acessorio(store(), {.id = 1,
                            .subgrupo = 7,
                            .descricao = u"PUXADOR CROMADO"_s,
                            .nomeSubgrupo = u"PUXADORES"_s,
                            .preco = "2.50"});
        acessorio(store(), {.id = 2,
                            .subgrupo = 8,
                            .descricao = u"TRINCO SIMPLES"_s,
                            .nomeSubgrupo = u"TRINCOS"_s,
                            .preco = "1.00"});
        alterarProduto(2, [](Record& r) {
            r.setInteger("COD_ACESS1", 7);
            r.setInteger("COD_ACESS2", 8);
        });
        auto form = abrirItem();
        QVERIFY(form);
        auto* abas = child<QTabWidget>(form.get(), "abas");
        QVERIFY(!abas->isTabEnabled(1)); // no product yet
        digitar(child<QLineEdit>(form.get(), "produto"), u"000123"_s);
        digitar(child<QLineEdit>(form.get(), "qtd"), u"2"_s);
        QVERIFY(abas->isTabEnabled(1));
        abas->setCurrentIndex(1);
        QCOMPARE(child<QComboBox>(form.get(), "subgrupo")->count(), 2);
        QCOMPARE(child<QComboBox>(form.get(), "subgrupo")->currentText(), u"PUXADORES"_s);

        auto* adicionar = child<QPushButton>(form.get(), "adicionar");
        auto* acessorio = child<QComboBox>(form.get(), "acessorio");
        adicionar->click();
        acessorio->setCurrentIndex(0);
        Q_EMIT acessorio->activated(0);
        QCOMPARE(child<QLineEdit>(form.get(), "valorAcessorio")->text(), u"2,50"_s);
        adicionar->click();
        adicionar->click();
        QCOMPARE(shownBoxes(),
                 (QStringList{u"Aviso: Escolha o acessório primeiro!"_s, u"Aviso: Acessório já lançado!"_s}));
        auto* linhas = child<QTableWidget>(form.get(), "acessoriosItem");
        QCOMPARE(linhas->rowCount(), 1);
        QCOMPARE(linhas->item(0, 1)->text(), u"PUXADOR CROMADO"_s);
        QCOMPARE(child<QLabel>(form.get(), "pruniAcessorios")->text(), u"22,5000"_s);
        QCOMPARE(child<QLabel>(form.get(), "total")->text(), u"45,00"_s);
        QVERIFY(!child<QComboBox>(form.get(), "pruni")->isEnabled());

        abas->setCurrentIndex(0);
        MessageBox::clearShown();
        QVERIFY(!form->confirmar());
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Produto sem acessório (8-TRINCOS) obrigatório!"_s});
        QCOMPARE(abas->currentIndex(), 1);
        QCOMPARE(m_pedido->itens().size(), size_t(1));

        // Removing asks first; No keeps the accessory.
        MessageBox::clearShown();
        linhas->clearSelection();
        child<QPushButton>(form.get(), "remover")->click();
        linhas->selectRow(0);
        MessageBox::setNextAnswers({Button::No, Button::Yes});
        child<QPushButton>(form.get(), "remover")->click();
        QCOMPARE(linhas->rowCount(), 1);
        child<QPushButton>(form.get(), "remover")->click();
        QCOMPARE(linhas->rowCount(), 0);
        QCOMPARE(shownBoxes(), (QStringList{u"Aviso: Primeiro selecione o acessório que você quer remover!"_s,
                                            u"CONFIRME?: Confirme excluir o acessório selecionado?"_s,
                                            u"CONFIRME?: Confirme excluir o acessório selecionado?"_s}));
        QCOMPARE(child<QLabel>(form.get(), "total")->text(), u"40,00"_s);
        QVERIFY(child<QComboBox>(form.get(), "pruni")->isEnabled());
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
        alterarProduto(2, [](Record& r) {
            r.setText("PRAZO", u"SC 30 DIAS"_s);
            r.setText("PRAZ2", u"PR 30 DIAS"_s);
            r.setDecimal("PREC2", decimal("50"));
        });
        auto form = abrirItem();
        QVERIFY(form);
        digitar(child<QLineEdit>(form.get(), "produto"), u"000123"_s);
        digitar(child<QLineEdit>(form.get(), "qtd"), u"1"_s);
        MessageBox::setNextAnswers({static_cast<Button>(resposta)});
        digitar(child<QLineEdit>(form.get(), "obs"), obs);
        QCOMPARE(
            shownBoxes().contains(u"Confirma calculo preço?: Deseja cacular o preço de venda pela medida?"_s),
            perguntou);
        QCOMPARE(child<QComboBox>(form.get(), "pruni")->currentText(), pruni);
        MessageBox::setNextAnswers(kRespostas);
        QVERIFY(form->confirmar());
        QCOMPARE(m_pedido->itens().back().item.text("OBS").trimmed(), obs);
    }

    // Cancel right after opening: nothing is added and the form returns cancelled.
    void cancelRightAfterOpeningLeavesNothing() {
        pedido41();
        auto form = abrirItem();
        QVERIFY(form);
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QCOMPARE(m_pedido->itens().size(), size_t(1));
        QVERIFY(!m_pedido->alterado());
        QVERIFY(shownBoxes().isEmpty());
    }

    // A code that is no product's opens the product list; closed without a choice, the focus stays
    // on the product entry and nothing is chosen.
    void unknownCodeOpensTheProductList() {
        pedido41();
        auto form = abrirItem();
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        bool listaAberta = false;
        whenModal([&](QWidget* lista) {
            listaAberta = lista->objectName() != u"UpdatePED_ITEN"_s;
            lista->findChild<QPushButton*>(u"botaoFechar"_s)->click();
        });
        auto* produto = child<QLineEdit>(form.get(), "produto");
        QTest::keyClicks(produto, u"ZZZ"_s);
        QTest::keyClick(produto, Qt::Key_Return);
        QVERIFY(listaAberta);
        QCOMPARE(form->focusWidget(), produto);
        QCOMPARE(form->edicao().item().integer("PRODU"), 0);
        // "&OK" refuses the item without a product, the focus again on the entry.
        QVERIFY(!form->confirmar());
        QCOMPARE(m_pedido->itens().size(), size_t(1));
        QCOMPARE(form->focusWidget(), produto);
    }

    // A new order: "&Novo" opens the item form, two items are typed and the form cancelled. Both are
    // in the order form's list, and after the order's "&OK" in the files.
    void cancelAfterTwoKeepsBoth() {
        Record inicio(*findTable("pedidos.tps"));
        auto form = abrirPedido(Requisicao::Inserir, &inicio);
        QVERIFY(form);
        digitar(child<QLineEdit>(form.get(), "cliente"), QString::number(kCliente));
        QCOMPARE(child<QLineEdit>(form.get(), "formaPag")->text(), u"1"_s);
        auto* fconta = child<QComboBox>(form.get(), "fconta");
        fconta->setCurrentIndex(0);
        Q_EMIT fconta->activated(0);

        QString titulo;
        int gravados = -1;
        bool teclado = false;
        whenModal<FichaItemPedido>([&](FichaItemPedido* item) {
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
        QCOMPARE(gravadosNoArquivo[0].decimal("QTD"), decimal("2"));
        QCOMPARE(gravadosNoArquivo[1].integer("PRODU"), 2);
        QCOMPARE(gravadosNoArquivo[1].decimal("QTD"), decimal("5"));
    }

    // "&Editar" (and Ctrl+Enter) changes the item; "E&xcluir" (and Delete) asks first and removes it
    // only on OK; the order is recalculated each time.
    void itemButtonsAndKeys() {
        pedido41();
        const Record original = lido(41);
        auto form = abrirPedido(Requisicao::Alterar, &original);
        QVERIFY(form);
        auto* itens = child<QTableView>(form.get(), "itens");
        QCOMPARE(itens->model()->rowCount(), 1);
        QVERIFY(child<QPushButton>(form.get(), "itemNovo")->isEnabled());
        itens->setCurrentIndex(itens->model()->index(0, 0));

        QString titulo;
        whenModal<FichaItemPedido>([&](FichaItemPedido* item) {
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
            alterarPrimeiro("qavcfg", [&](Record& r) { r.setInteger("ATIVAR_PROD_PAUTA", ativarProdPauta); });
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
        auto form = abrirPedido(Requisicao::Alterar, &original);
        QVERIFY(form);
        MessageBox::clearShown();
        MessageBox::setNextAnswers(kRespostas);
        bool abriu = false;
        if (recusa.isEmpty())
            whenModal<FichaItemPedido>([&](FichaItemPedido* item) {
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

    // The keypad's decimal key types the comma of the Brazilian numbers in the entries of both forms,
    // where the full stop would not be read as the decimal separator.
    void keypadDecimalKeyTypesTheComma_data() {
        QTest::addColumn<bool>("noItem");
        QTest::addColumn<QString>("campo");
        QTest::newRow("order form, discount") << false << u"descp"_s;
        QTest::newRow("item form, quantity") << true << u"qtd"_s;
    }

    void keypadDecimalKeyTypesTheComma() {
        QFETCH(bool, noItem);
        QFETCH(QString, campo);
        pedido41();
        std::unique_ptr<QWidget> form;
        if (noItem) {
            auto item = abrirItem();
            QVERIFY(item);
            digitar(child<QLineEdit>(item.get(), "produto"), u"000123"_s);
            form = std::move(item);
        } else {
            const Record original = lido(41);
            form = abrirPedido(Requisicao::Alterar, &original);
            QVERIFY(form);
        }
        auto* entrada = child<QLineEdit>(form.get(), qPrintable(campo));
        entrada->setFocus();
        entrada->selectAll();
        QTest::keyClick(entrada, Qt::Key_2);
        QTest::keyClick(entrada, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyClick(entrada, Qt::Key_5);
        QCOMPARE(entrada->text(), u"2,5"_s);
    }

    // A transmitted order: new and delete are refused with their notices; its item opens only to
    // be looked at.
    void transmittedOrderItemsAreOnlyShown() {
        pedido41("4", 3);
        const Record transmitido = lido(41);
        auto form = abrirPedido(Requisicao::Alterar, &transmitido);
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
        whenModal<FichaItemPedido>([&](FichaItemPedido* item) {
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
        QCOMPARE(form->edicao().itens()[0].item.decimal("QTD"), decimal("4"));
    }
};

QAV_TEST_MAIN(TestGuiUpdatePedItem)
#include "tst_gui_updatepeditem.moc"
