// The order form over real table files: an order typed from the keyboard and saved with its items,
// a new order given up leaving nothing, a transmitted order only shown, two windows saving the same
// order, and each commercial rule of the release refusing with its message just past its limit and
// letting the order through at it.
#include "orders/core/CamposPedido.h"
#include "orders/core/CodigoLiberacao.h"
#include "orders/widgets/FichaPedido.h"
#include "orders/widgets/PainelRegras.h"
#include "store/core/Clock.h"
#include "tests/orders/FormularioFixture.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

// An order 41 confirmed over a case: its quantity of product 1 at 10,00, the discount typed, the
// customer's credit limit, a receivable so many days late with its balance, the key of a release code
// typed; and the refusal "&OK" shows, none when the order is released.
struct CasoLiberacao {
    const char* qtd = "";
    const char* descp = ""; // none typed
    const char* limcred = "100000";
    int diasVencido = -1; // no receivable
    const char* saldo = "";
    int chave = -1;          // no release code
    const char* recusa = ""; // released
};

} // namespace

Q_DECLARE_METATYPE(CasoLiberacao)

class TestGuiUpdatePedido : public QObject, private FormularioFixture {
    Q_OBJECT

private:
    // The company's rules: credit limit on, receivables overdue 30 days block, the workstation's
    // representative 7 with a 10 % discount limit and a 500,00 minimum; payment form 1 gives 5 %.
    void referencias(const char* limcred) {
        Store& s = store();
        empresa(s, {.id = 1, .nome = u"EMPRESA DEMONSTRAÇÃO"_s});
        municipio(s, {.id = 10, .nome = u"CURITIBA"_s, .estado = u"PR"_s});
        qavcfg(s, {.vendedor = kVendedor, .bloqueios1 = 4, .diasBloqCredito = 30, .leituraCodBarras = 1});
        vendedor(s, {.id = 1,
                     .codigo = kVendedor,
                     .nome = u"JOÃO REPRESENTANTE"_s,
                     .origemCom = 1,
                     .taxa = "5",
                     .descMax = "10",
                     .minimo = "500"});
        formaPag(s, {.id = 1, .codigo = 1, .descricao = u"30 DIAS"_s, .desconto = "5"});
        for (int id : {kCliente, 200})
            cliente(s, {.id = id,
                        .razao = u"CLIENTE %1 LTDA"_s.arg(id),
                        .vendedor = id == kCliente ? kVendedor : 9,
                        .limcred = limcred,
                        .libCred = 1,
                        .formaPag = 1,
                        .municipio = 10});
        produto(s, {.id = 1,
                    .codigo = u"A-1"_s,
                    .nome = u"PARAFUSO SEXTAVADO"_s,
                    .barras = kBarras,
                    .preco = "10",
                    .descMax = "20", // with the payment form's 5 %: 24 %
                    .ativo = 1});
    }

    void titulo(int diasVencido, const char* saldo) {
        adicionar(store(), "ctr", [&](Record& r) {
            r.setInteger("ID_EMPRESA", 1);
            r.setText("NUMER", u"T1"_s);
            r.setInteger("DEVED", kCliente);
            r.setDate("VECTO", Date(kHoje.dayNumber() - diasVencido));
            r.setDecimal("SALDO", decimal(saldo));
        });
    }

private Q_SLOTS:
    void init() { iniciar(); }

    void cleanup() { encerrar(); }

    // Customer typed, two readings of the bar code, the order saved: nothing is in the files before
    // "&OK", then the order and its item are, with the number after the highest.
    void newOrderTypedAndSavedWithItsItems() {
        referencias("100000");
        pedido41("100");
        Record inicio(*findTable("pedidos.tps"));
        auto form = abrirPedido(Requisicao::Inserir, &inicio);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), u"Novo Pedido"_s);
        QCOMPARE(child<QLabel>(form.get(), "numero")->text(), u"42"_s);

        digitar(child<QLineEdit>(form.get(), "cliente"), u"100"_s);
        QCOMPARE(child<QLabel>(form.get(), "clienteNome")->text(), u"CLIENTE 100 LTDA"_s);
        QCOMPARE(child<QLineEdit>(form.get(), "formaPag")->text(), u"1"_s); // the customer's terms
        QCOMPARE(child<QLineEdit>(form.get(), "descp")->text(), u"5,00"_s); // the payment form's discount

        auto* barras = child<QLineEdit>(form.get(), "codigoBarras");
        digitar(barras, u"0000"_s);
        QVERIFY2(shownBoxes().contains(u"Aviso: Código inválido!"_s), qPrintable(shownBoxes().join(u'|')));
        digitar(barras, QString::fromLatin1(kBarras));
        digitar(barras, QString::fromLatin1(kBarras));
        auto* itens = child<QTableView>(form.get(), "itens");
        QCOMPARE(itens->model()->rowCount(), 1);
        QCOMPARE(itens->model()->index(0, 2).data().toString(), u"2,000"_s);
        QCOMPARE(child<QLabel>(form.get(), "total")->text(), u"19,00"_s); // 2 x 10,00 less 5 %
        QCOMPARE(registros(store(), "pedidos", "KEYID", "ID = 42").size(), size_t(0));

        QVERIFY(form->confirmar());
        const Record salvo = lido(42);
        QCOMPARE(salvo.integer("NUMER"), 42);
        QCOMPARE(salvo.integer("SITUA"), 1);
        QCOMPARE(salvo.integer("CLIEN"), kCliente);
        QCOMPARE(salvo.integer("FCONTA"), 1); // from the order with the highest number
        QCOMPARE(Decimal::fromDouble(salvo.real("TOTAL"), 2), decimal("19"));
        const std::vector<Record> itensSalvos =
            registros(store(), "peditens", "KEYID_VENDASI", "ID_VENDA = 42");
        QCOMPARE(itensSalvos.size(), size_t(1));
        QCOMPARE(itensSalvos[0].decimal("QTD"), decimal("2"));

        // The next order: the restore key copies into the focused entry what it held in the order
        // saved last.
        auto seguinte = abrirPedido(Requisicao::Inserir, &inicio);
        QVERIFY(seguinte);
        QCOMPARE(child<QLabel>(seguinte.get(), "numero")->text(), u"43"_s);
        auto* cliente = child<QLineEdit>(seguinte.get(), "cliente");
        cliente->setFocus();
        QTest::keyClick(cliente, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(cliente->text(), u"100"_s);
    }

    void newOrderGivenUpLeavesNothing() {
        referencias("100000");
        Record inicio(*findTable("pedidos.tps"));
        inicio.setInteger("CLIEN", kCliente); // opened from the customer's tab of the list
        auto form = abrirPedido(Requisicao::Inserir, &inicio);
        QVERIFY(form);
        QCOMPARE(child<QLineEdit>(form.get(), "formaPag")->text(), u"1"_s);
        digitar(child<QLineEdit>(form.get(), "codigoBarras"), QString::fromLatin1(kBarras));
        // "gravar as alterações?" No (as every box of these tests is answered)
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(
            shownBoxes().contains(u"Alteração Cancelada: Você deseja gravar as alterações efetuadas neste "
                                  "registro?"_s));
        QCOMPARE(registros(store(), "pedidos", "KEYID", "1 = 1").size(), size_t(0));
        QCOMPARE(registros(store(), "peditens", "KEYID_VENDASI", "1 = 1").size(), size_t(0));
    }

    void transmittedOrderIsOnlyShown() {
        referencias("100000");
        pedido41("100");
        Table pedidos(store(), "pedidos");
        QVERIFY(pedidos.open());
        pedidos.rec().setInteger("ID", 41);
        QCOMPARE(pedidos.get("KEYID"), Status::Ok);
        pedidos.rec().setInteger("SITUA", 3);
        QCOMPARE(pedidos.put(), Status::Ok);

        const Record transmitido = lido(41);
        auto form = abrirPedido(Requisicao::Alterar, &transmitido);
        QVERIFY(form);
        QVERIFY(shownBoxes().contains(u"Aviso: Pedido já transmitido! Somente consulta disponível!"_s));
        QCOMPARE(form->windowTitle(), u"Consulta Pedido"_s);
        QVERIFY(!child<QPushButton>(form.get(), "ok")->isEnabled());
        QVERIFY(child<QLineEdit>(form.get(), "cliente")->isReadOnly());
        QVERIFY(!form->confirmar());
        QCOMPARE(lido(41).revision(), transmitido.revision());
    }

    void transmittedCannotBeChosen() {
        referencias("100000");
        pedido41("100");
        const Record pendente = lido(41);
        auto form = abrirPedido(Requisicao::Alterar, &pendente);
        QVERIFY(form);
        auto* situacao = child<QComboBox>(form.get(), "situacao");
        escolher(situacao, 3);
        QCOMPARE(situacao->currentData().toInt(), 1);
        escolher(situacao, 4);
        QCOMPARE(form->edicao().pedido().integer("SITUA"), 4);
    }

    // A reference table that can no longer be read (a damaged file) keeps the order from being
    // confirmed against rows of zeros: the error is shown and nothing is written.
    void unreadableReferenceTableRefusesTheConfirmation() {
        referencias("100000");
        pedido41("100");
        const Record original = lido(41);
        auto form = abrirPedido(Requisicao::Alterar, &original);
        QVERIFY(form);
        digitar(child<QLineEdit>(form.get(), "descp"), u"1,00"_s);
        QFile vendedores(QDir(m_folder->path()).filePath(u"vendedor.tps"_s));
        QVERIFY(vendedores.open(QIODevice::WriteOnly | QIODevice::Truncate));
        vendedores.write(QByteArray(4096, 'x'));
        vendedores.close();
        MessageBox::clearShown();
        QVERIFY(!form->confirmar());
        QVERIFY2(!shownBoxes().isEmpty() && shownBoxes().constLast().startsWith(u"Erro: Erro ("_s) &&
                     shownBoxes().constLast().endsWith(u"ao ler tabelas do pedido!"_s),
                 qPrintable(shownBoxes().join(u'\n')));
        QCOMPARE(lido(41).revision(), original.revision());
    }

    // Two windows on the same order: the second save is refused with the notice of a record changed
    // by another station, and the first window's save stays.
    void secondWindowDoesNotOverwriteTheFirst() {
        referencias("100000");
        pedido41("100");
        const Record original = lido(41);
        auto primeira = abrirPedido(Requisicao::Alterar, &original);
        auto segunda = abrirPedido(Requisicao::Alterar, &original);
        QVERIFY(primeira && segunda);
        digitar(child<QLineEdit>(primeira.get(), "descp"), u"1,00"_s);
        digitar(child<QLineEdit>(segunda.get(), "descp"), u"2,00"_s);
        QVERIFY(primeira->confirmar());
        QVERIFY(!segunda->confirmar());
        QVERIFY(segunda->isVisible());
        QVERIFY(shownBoxes().contains(
            u"Registro não pode ser gravado: Este registro foi alterado por outra estação. "
            "As alterações seram visualizadas neste momento. Favor refazer as alterações."_s));
        QCOMPARE(lido(41).real("DESCP"), 1.0);
    }

    void releaseRules_data() {
        QTest::addColumn<CasoLiberacao>("caso");

        // Minimum 500,00.
        QTest::newRow("minimum reached") << CasoLiberacao{.qtd = "50"};
        QTest::newRow("below minimum")
            << CasoLiberacao{.qtd = "49", .recusa = "Aviso: Pedido abaixo no mínimo (500,00)!"};
        // Representative's 10 % combined with the payment form's 5 %: 14,50 %.
        QTest::newRow("discount at limit") << CasoLiberacao{.qtd = "100", .descp = "14,50"};
        QTest::newRow("discount past limit") << CasoLiberacao{
            .qtd = "100",
            .descp = "14,60",
            .recusa = "Aviso: Desconto de 14,60% acima do máximo permitido para o vendedor!\n"
                      "Produto: A-1 PARAFUSO SEXTAVADO\nDesconto máximo: 14,50%"};
        // Total 1.000,00.
        QTest::newRow("credit limit equal to total") << CasoLiberacao{.qtd = "100", .limcred = "1000"};
        QTest::newRow("credit limit below total") << CasoLiberacao{
            .qtd = "100",
            .limcred = "999,99",
            .recusa = "Aviso: Limite de crédito do cliente (999,99) é menor que o total do pedido!"};
        QTest::newRow("receivable 29 days late")
            << CasoLiberacao{.qtd = "100", .diasVencido = 29, .saldo = "10"};
        QTest::newRow("receivable 0,09 late")
            << CasoLiberacao{.qtd = "100", .diasVencido = 40, .saldo = "0,09"};
        QTest::newRow("receivable 30 days late") << CasoLiberacao{
            .qtd = "100",
            .diasVencido = 30,
            .saldo = "10",
            .recusa =
                "Títulos em Atraso: Cliente possui títulos em atraso.\nPara liberar crédito favor solicitar "
                "código de liberação junto ao setor comercial da empresa.\nDeseja consultar os "
                "títulos desse cliente?"};
        QTest::newRow("odd release key lets it through")
            << CasoLiberacao{.qtd = "100", .diasVencido = 30, .saldo = "10", .chave = 37};
        QTest::newRow("even release key does not") << CasoLiberacao{
            .qtd = "100",
            .diasVencido = 30,
            .saldo = "10",
            .chave = 36,
            .recusa =
                "Títulos em Atraso: Cliente possui títulos em atraso.\nPara liberar crédito favor solicitar "
                "código de liberação junto ao setor comercial da empresa.\nDeseja consultar os "
                "títulos desse cliente?"};
    }

    void releaseRules() {
        QFETCH(CasoLiberacao, caso);
        const QString recusa = QString::fromUtf8(caso.recusa);
        referencias(qPrintable(QString::fromLatin1(caso.limcred).replace(u',', u'.')));
        pedido41(caso.qtd);
        if (caso.diasVencido >= 0)
            titulo(caso.diasVencido, qPrintable(QString::fromLatin1(caso.saldo).replace(u',', u'.')));
        const Record original = lido(41);
        auto form = abrirPedido(Requisicao::Alterar, &original);
        QVERIFY(form);
        escolher(child<QComboBox>(form.get(), "situacao"), 2);
        if (*caso.descp)
            digitar(child<QLineEdit>(form.get(), "descp"), QString::fromLatin1(caso.descp));
        if (caso.chave >= 0) {
            const Pedido p = [&] {
                Pedido lidoAgora;
                lerRegistro(form->edicao().pedido(), lidoAgora);
                return lidoAgora;
            }();
            const std::optional<std::int32_t> codigo =
                gerarCodigoLiberacao(p.NUMER, p.CLIEN, p.TOTAL, caso.chave);
            QVERIFY(codigo);
            digitar(child<QLineEdit>(form.get(), "codigoLiberacao"), QString::number(*codigo));
        }
        // The rules panel tells beforehand what "&OK" will say.
        const bool painelRecusa =
            std::any_of(form->regras().begin(), form->regras().end(),
                        [](const ResultadoRegra& r) { return r.estado == ResultadoRegra::Estado::Recusa; });
        QCOMPARE(painelRecusa, !recusa.isEmpty());

        MessageBox::clearShown();
        MessageBox::setNextAnswers(kRespostas);
        const bool gravou = form->confirmar();
        QCOMPARE(gravou, recusa.isEmpty());
        if (recusa.isEmpty()) {
            QVERIFY2(shownBoxes().isEmpty(), qPrintable(shownBoxes().join(u'\n')));
            QCOMPARE(lido(41).integer("SITUA"), 2);
        } else {
            QVERIFY2(!shownBoxes().isEmpty() && shownBoxes().constFirst() == recusa,
                     qPrintable(shownBoxes().join(u'\n')));
            QCOMPARE(lido(41).revision(), original.revision());
        }
    }

    // A flex order with a discount of 14,50 % sells 95,00 below the net list price (10,00 less the
    // payment form's 5 %, times 100); the commission (5 %) shares at most 5 % of discount on the net
    // list price, which the payment form's own 5 % does not count against.
    void flexAndCommission_data() {
        QTest::addColumn<QString>("saldoFlex"); // empty: not a flex order
        QTest::addColumn<QString>("rateio");
        QTest::addColumn<QString>("descp");
        QTest::addColumn<QString>("recusa");
        // clang-format off
        QTest::newRow("flex balance covers it") << "95" << "0" << "14,50" << "";
        QTest::newRow("flex balance short by a cent") << "94.99" << "0" << "14,50"
            << "Aviso: Não há saldo Flex (94,99) para liberação do pedido!";
        QTest::newRow("discount within the commission share") << "" << "5" << "5,00" << "";
        QTest::newRow("discount above the commission share") << "" << "5" << "14,50"
            << "Aviso: Desconto maior que a comissão!";
        // clang-format on
    }

    void flexAndCommission() {
        QFETCH(QString, saldoFlex);
        QFETCH(QString, rateio);
        QFETCH(QString, descp);
        QFETCH(QString, recusa);
        referencias("100000");
        pedido41("100");
        alterarPrimeiro("vendedor",
                        [&](Record& r) { r.setDecimal("DESC_RATEIO_COM", decimal(qPrintable(rateio))); });
        if (!saldoFlex.isEmpty()) {
            alterarPrimeiro("qavcfg",
                            [&](Record& r) { r.setDecimal("SALDO_FLEX", decimal(qPrintable(saldoFlex))); });
            alterarPrimeiro("pedidos", [](Record& r) { r.setInteger("PED_FLEX", 1); });
        }
        const Record original = lido(41);
        auto form = abrirPedido(Requisicao::Alterar, &original);
        QVERIFY(form);
        escolher(child<QComboBox>(form.get(), "situacao"), 2);
        digitar(child<QLineEdit>(form.get(), "descp"), descp);
        MessageBox::clearShown();
        QCOMPARE(form->confirmar(), recusa.isEmpty());
        if (recusa.isEmpty())
            QCOMPARE(lido(41).integer("SITUA"), 2);
        else
            QVERIFY2(shownBoxes().contains(recusa), qPrintable(shownBoxes().join(u'\n')));
    }

    // A valid code stops being valid when the total changes.
    void releaseCodeRefusedAfterTheTotalChanges() {
        referencias("100000");
        pedido41("100");
        titulo(30, "10");
        const Record original = lido(41);
        auto form = abrirPedido(Requisicao::Alterar, &original);
        QVERIFY(form);
        escolher(child<QComboBox>(form.get(), "situacao"), 2);
        const std::optional<std::int32_t> codigo = gerarCodigoLiberacao(41, kCliente, decimal("1000"), 37);
        QVERIFY(codigo);
        digitar(child<QLineEdit>(form.get(), "codigoLiberacao"), QString::number(*codigo));
        QVERIFY(shownBoxes().isEmpty());
        digitar(child<QLineEdit>(form.get(), "descp"), u"6,00"_s);
        MessageBox::setNextAnswers(kRespostas);
        QVERIFY(!form->confirmar());
        QCOMPARE(shownBoxes().constFirst(), u"Aviso: Código de liberação inválido!"_s);
        QCOMPARE(form->focusWidget(), child<QLineEdit>(form.get(), "codigoLiberacao"));
    }
};

QAV_TEST_MAIN(TestGuiUpdatePedido)
#include "tst_gui_updatepedido.moc"
