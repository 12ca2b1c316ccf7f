// The customer form "Clientes" driven through its widgets on real table files.
#include "customers/widgets/FichaCliente.h"
#include "customers/widgets/FichaSocio.h"
#include "store/core/Clock.h"
#include "tests/customers/FixtureClientes.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestGuiClientes : public QObject {
    Q_OBJECT

    std::unique_ptr<FixtureClientes> fx;

    static void digitar(QLineEdit* e, const QString& texto) {
        e->setFocus();
        e->clear();
        QTest::keyClicks(e, texto);
        QTest::keyClick(e, Qt::Key_Return);
    }

    // Everything a customer of type `pessoa` needs to be saved, apart from partners.
    void preencher(FichaCliente* f, int pessoa, const QString& razao) {
        FixtureClientes::escolher(child<QComboBox>(f, "pessoa"), pessoa);
        digitar(child<QLineEdit>(f, "razao"), razao);
        digitar(child<QLineEdit>(f, "municipio"), u"10"_s);
        FixtureClientes::escolher(child<QComboBox>(f, "indicadorIe"), 9);
        child<QPlainTextEdit>(f, "referenciasComerciais")->setPlainText(u"Fornecedor A (19)3232-0000"_s);
    }

    // Answers the next look-up list: chooses row `linha`, or gives the choice up when it is negative.
    // `aberta` receives the name of the list that opened.
    static void responderLista(QString& aberta, int linha) {
        whenModal([&aberta, linha](QWidget* modal) {
            aberta = modal->objectName();
            auto* lista = modal->findChild<QTableView*>(u"lista"_s);
            if (!lista || linha < 0) {
                QTest::keyClick(modal, Qt::Key_Escape);
                return;
            }
            lista->setCurrentIndex(lista->model()->index(linha, 0));
            modal->findChild<QPushButton*>(u"botaoSelecionar"_s)->click();
        });
    }

    void pauta(std::int64_t id, std::int64_t codigo, const QString& descricao) {
        adicionar(fx->store(), "pauta.tps", [&](Record& r) {
            r.setInteger("ID", id);
            r.setInteger("ID_EMPRESA", FixtureClientes::idEmpresa);
            r.setInteger("CODIGO", codigo);
            r.setText("NUM_PAUTA", QString::number(codigo));
            r.setText("DESCRICAO", descricao);
        });
    }

    void adicionarSocio(FichaCliente* f, const QString& nome) {
        whenModal<FichaSocio>([nome](FichaSocio* s) {
            s->findChild<QLineEdit*>(u"nome"_s)->setText(nome);
            QLineEdit* doc = s->findChild<QLineEdit*>(u"documento"_s);
            doc->setText(u"52998224725"_s);
            s->findChild<QPushButton*>(u"ok"_s)->click();
        });
        child<QPushButton>(f, "novoSocio")->click();
    }

private Q_SLOTS:
    void init() {
        fx = std::make_unique<FixtureClientes>();
        MessageBox::clearShown();
        MessageBox::setNextAnswers(QList<Button>(20, Button::Ok));
        Clock::setOverride([] { return DateTimeParts{Date::fromYmd(2026, 3, 9), 10, 0, 0}; });
    }
    void cleanup() {
        MessageBox::setNextAnswers({});
        Clock::setOverride({});
    }

    void primeiroClienteLocal() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QCOMPARE(child<QLabel>(f.get(), "id")->text(), u"900001"_s);
        QCOMPARE(f->windowTitle(), u"Novo"_s);
        // Defaults of a new customer.
        QCOMPARE(child<QComboBox>(f.get(), "pessoa")->currentData().toInt(), 1);
        QCOMPARE(child<QComboBox>(f.get(), "classe")->currentData().toString(), u"B"_s);
        QVERIFY(child<QCheckBox>(f.get(), "ativo")->isChecked());
        QCOMPARE(child<QLineEdit>(f.get(), "vendedor")->text(), u"12"_s);
        QCOMPARE(child<QLineEdit>(f.get(), "dataCadastro")->text(), u"09/03/2026"_s);
        QCOMPARE(fx->contar("clientes.tps"), 1); // reserved at once
    }

    void idsAposClientesDoServidor() {
        fx->cliente(7, u"SETE"_s);
        fx->cliente(1500, u"MIL E QUINHENTOS"_s);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QCOMPARE(child<QLabel>(f.get(), "id")->text(), u"901501"_s);
        preencher(f.get(), 2, u"PESSOA UM"_s);
        child<QPushButton>(f.get(), "ok")->click();
        QVERIFY2(shownBoxes().isEmpty(), qPrintable(shownBoxes().join(u'\n')));
        // Saved, and the form prepares the next new customer.
        QCOMPARE(f->ultimoGravado(), 901501);
        QCOMPARE(child<QLabel>(f.get(), "id")->text(), u"901502"_s);
        const auto gravado = fx->lerCliente(901501);
        QVERIFY(gravado);
        QCOMPARE(gravado->text("RAZAO"), u"PESSOA UM"_s);
        QCOMPARE(gravado->integer("CONSFINAL"), 1); // a person is a final consumer
        QVERIFY(fx->lerCliente(901502));
        child<QPushButton>(f.get(), "cancelar")->click();
        QVERIFY(!fx->lerCliente(901502));
        QCOMPARE(fx->contar("clientes.tps"), 3);
    }

    void cancelarRemoveReserva() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        adicionarSocio(f.get(), u"SOCIO"_s);
        QCOMPARE(fx->contar("socios.tps"), 1);
        child<QPushButton>(f.get(), "cancelar")->click();
        QCOMPARE(fx->contar("clientes.tps"), 0);
        QCOMPARE(fx->contar("socios.tps"), 0);
        QCOMPARE(f->result(), int(QDialog::Rejected));
    }

    void isentoEmQualquerCaixa_data() {
        QTest::addColumn<QString>("inscricao");
        QTest::newRow("isento") << u"isento"_s;
        QTest::newRow("ISENTO") << u"ISENTO"_s;
        QTest::newRow("Isento") << u"Isento"_s;
    }
    void isentoEmQualquerCaixa() {
        QFETCH(QString, inscricao);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        preencher(f.get(), 1, u"EMPRESA ISENTA"_s);
        digitar(child<QLineEdit>(f.get(), "inscricao"), inscricao);
        QVERIFY(!child<QCheckBox>(f.get(), "consumidorFinal")->isChecked());
        adicionarSocio(f.get(), u"ANA"_s);
        QCOMPARE(child<QTableWidget>(f.get(), "socios")->rowCount(), 1);
        child<QPushButton>(f.get(), "ok")->click();
        QVERIFY2(shownBoxes().isEmpty(), qPrintable(shownBoxes().join(u'\n')));
        const auto gravado = fx->lerCliente(900001);
        QVERIFY(gravado);
        QCOMPARE(gravado->integer("CONSFINAL"), 1);
        QCOMPARE(gravado->text("INSCR"), inscricao);
        // The partner was written with the customer, under the customer's id.
        Table socios(fx->store(), "socios.tps");
        QVERIFY(socios.open());
        socios.clear();
        socios.rec().setInteger("ID_SOCIO", 1);
        QCOMPARE(socios.get("KEYID"), Status::Ok);
        QCOMPARE(socios.rec().integer("ID_CLIENTE"), 900001);
        QCOMPARE(socios.rec().text("NOME"), u"ANA"_s);
        QCOMPARE(socios.rec().text("CPF_CNPJ"), u"529.982.247-25"_s);
        socios.close();
    }

    void empresaComInscricaoNaoEConsumidorFinal() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        preencher(f.get(), 1, u"CONTRIBUINTE"_s);
        FixtureClientes::escolher(child<QComboBox>(f.get(), "indicadorIe"), 1);
        digitar(child<QLineEdit>(f.get(), "inscricao"), u"110.042.490.114"_s);
        adicionarSocio(f.get(), u"ANA"_s);
        child<QPushButton>(f.get(), "ok")->click();
        QVERIFY(shownBoxes().isEmpty());
        QCOMPARE(fx->lerCliente(900001)->integer("CONSFINAL"), 0);
    }

    void inscricaoInvalidaParaAUf() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        preencher(f.get(), 1, u"IE ERRADA"_s);
        FixtureClientes::escolher(child<QComboBox>(f.get(), "indicadorIe"), 1);
        adicionarSocio(f.get(), u"ANA"_s);
        digitar(child<QLineEdit>(f.get(), "inscricao"), u"110042490115"_s);
        QVERIFY(child<QLabel>(f.get(), "dica")->text().contains(u"SP"_s));
        // Going straight to "&OK" does not save the refused registration.
        child<QPushButton>(f.get(), "ok")->click();
        QVERIFY(fx->lerCliente(900001)->text("RAZAO").isEmpty());
        digitar(child<QLineEdit>(f.get(), "inscricao"), u"110042490114"_s);
        child<QPushButton>(f.get(), "ok")->click();
        QCOMPARE(fx->lerCliente(900001)->text("RAZAO"), u"IE ERRADA"_s);
    }

    void empresaSemSociosRecusada() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        preencher(f.get(), 1, u"SEM SOCIOS"_s);
        child<QPushButton>(f.get(), "ok")->click();
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Favor informar os sócios proprietários!"_s});
        QCOMPARE(child<QTabWidget>(f.get(), "abas")->currentIndex(), 4);
        QVERIFY(fx->lerCliente(900001)->text("RAZAO").isEmpty()); // nothing saved
        QCOMPARE(f->ultimoGravado(), 0);
    }

    void exportacaoSemSociosGravada() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        preencher(f.get(), 3, u"EXPORTADOR"_s);
        child<QPushButton>(f.get(), "ok")->click();
        QVERIFY(shownBoxes().isEmpty());
        QCOMPARE(fx->lerCliente(900001)->text("RAZAO"), u"EXPORTADOR"_s);
    }

    void referenciasVaziasRecusadas_data() {
        QTest::addColumn<int>("pessoa");
        QTest::newRow("person") << 2;
        QTest::newRow("export") << 3;
    }
    void referenciasVaziasRecusadas() {
        QFETCH(int, pessoa);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        preencher(f.get(), pessoa, u"SEM REFERENCIAS"_s);
        child<QPlainTextEdit>(f.get(), "referenciasComerciais")->setPlainText(u"   "_s);
        child<QPushButton>(f.get(), "ok")->click();
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Favor informar fornecedores com telefone!"_s});
        QVERIFY(fx->lerCliente(900001)->text("RAZAO").isEmpty());
    }

    void catorzeDigitosViramCnpj() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QLineEdit* doc = child<QLineEdit>(f.get(), "documento");
        digitar(doc, u"11222333000181"_s);
        QCOMPARE(doc->text(), u"11.222.333/0001-81"_s);
        QVERIFY(shownBoxes().isEmpty());
        QCOMPARE(child<QLabel>(f.get(), "rotuloDocumento")->text(), u"CNPJ: "_s);
        digitar(doc, u"11222333000182"_s);
        QCOMPARE(doc->text(), u"11.222.333/0001-82"_s);
        QCOMPARE(shownBoxes(), QStringList{u"Erro: CNPJ inválido!"_s});
    }

    void cpfInvalido() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        FixtureClientes::escolher(child<QComboBox>(f.get(), "pessoa"), 2);
        QLineEdit* doc = child<QLineEdit>(f.get(), "documento");
        digitar(doc, u"52998224726"_s);
        QCOMPARE(doc->text(), u"529.982.247-26"_s);
        QCOMPARE(shownBoxes(), QStringList{u"Erro: CPF inválido!"_s});
    }

    void documentoJaCadastrado() {
        fx->cliente(900005, u"JA EXISTE"_s, 1, u"11.222.333/0001-81"_s);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QCOMPARE(child<QLabel>(f.get(), "id")->text(), u"900006"_s);
        digitar(child<QLineEdit>(f.get(), "documento"), u"11222333000181"_s);
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Cliente já cadastrado ( Id: 900005)."_s});
        // Another suffix is a customer of its own.
        MessageBox::clearShown();
        digitar(child<QLineEdit>(f.get(), "sufixo"), u"2"_s);
        digitar(child<QLineEdit>(f.get(), "documento"), u"11222333000181"_s);
        QVERIFY(shownBoxes().isEmpty());
    }

    void abasPorTipoDePessoa_data() {
        QTest::addColumn<int>("pessoa");
        QTest::addColumn<bool>("fisica");
        QTest::addColumn<bool>("juridica");
        QTest::newRow("company") << 1 << false << true;
        QTest::newRow("person") << 2 << true << false;
        QTest::newRow("export") << 3 << false << true;
    }
    void abasPorTipoDePessoa() {
        QFETCH(int, pessoa);
        QFETCH(bool, fisica);
        QFETCH(bool, juridica);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        FixtureClientes::escolher(child<QComboBox>(f.get(), "pessoa"), pessoa);
        QTabWidget* abas = child<QTabWidget>(f.get(), "abas");
        QCOMPARE(abas->isTabVisible(1), fisica);
        for (int i = 2; i <= 4; ++i)
            QCOMPARE(abas->isTabVisible(i), juridica);
        QVERIFY(abas->isTabVisible(0));
        QVERIFY(abas->isTabVisible(5));
        // The choice is proposed for the next new customer.
        QCOMPARE(fx->contexto().settings().clientesPessoa(), pessoa);
        f->reject();
        auto seguinte = fx->abrir(Requisicao::Inserir);
        QCOMPARE(child<QComboBox>(seguinte.get(), "pessoa")->currentData().toInt(), pessoa);
    }

    void alteradoPorOutraJanela() {
        fx->cliente(900010, u"ORIGINAL"_s);
        auto f = fx->abrir(Requisicao::Alterar, 900010);
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), u"Edita"_s);
        // Another window saves the customer meanwhile.
        CadastroCliente outra(fx->store());
        QVERIFY(outra.abrir());
        QCOMPARE(outra.ler(900010), Status::Ok);
        outra.registro().setText("RAZAO", u"PELA OUTRA"_s);
        QVERIFY(outra.gravar().ok);

        preencher(f.get(), 2, u"PELA PRIMEIRA"_s);
        child<QPushButton>(f.get(), "ok")->click();
        const QList<MessageBox::Shown> caixas = MessageBox::shown();
        QCOMPARE(caixas.size(), 1);
        QCOMPARE(caixas[0].caption, u"Registro não pode ser gravado"_s);
        // The other window's changes are shown; the user makes the changes again.
        QCOMPARE(child<QLineEdit>(f.get(), "razao")->text(), u"PELA OUTRA"_s);
        QVERIFY(f->isVisible());
        preencher(f.get(), 2, u"DE NOVO"_s);
        child<QPushButton>(f.get(), "ok")->click();
        QCOMPARE(fx->lerCliente(900010)->text("RAZAO"), u"DE NOVO"_s);
        QCOMPARE(f->result(), int(QDialog::Accepted));
    }

    void alteracaoDeClienteDoServidorAvisa() {
        fx->cliente(1500, u"DO SERVIDOR"_s);
        auto f = fx->abrir(Requisicao::Alterar, 1500);
        QVERIFY(f);
        preencher(f.get(), 2, u"MUDADO"_s);
        child<QPushButton>(f.get(), "ok")->click();
        QCOMPARE(shownBoxes(),
                 QStringList{u"ATENÇÃO: As alterações feitas no cadastro do cliente, depois de transmitido o "
                             u"pedido,\nnão serão mais atualizadas na Matriz!"_s});
        // The change is saved on the workstation all the same.
        QCOMPARE(fx->lerCliente(1500)->text("RAZAO"), u"MUDADO"_s);
    }

    void consultaSomenteLeitura() {
        fx->cliente(1500, u"DO SERVIDOR"_s);
        auto f = fx->abrir(Requisicao::Consultar, 1500);
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), u"Consultar"_s);
        QVERIFY(child<QLineEdit>(f.get(), "razao")->isReadOnly());
        QVERIFY(!child<QComboBox>(f.get(), "pessoa")->isEnabled());
        child<QPushButton>(f.get(), "ok")->click();
        QCOMPARE(fx->lerCliente(1500)->revision(), 1); // nothing written
    }

    void classeDRetiraCredito() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QCheckBox* credito = child<QCheckBox>(f.get(), "creditoLiberado");
        credito->setChecked(true);
        QComboBox* classe = child<QComboBox>(f.get(), "classe");
        const int d = classe->findData(u"D"_s);
        classe->setCurrentIndex(d);
        Q_EMIT classe->activated(d);
        QVERIFY(!credito->isChecked());
    }

    void enderecoDeEntrega() {
        fx->municipio(20, u"SANTOS"_s, u"SP"_s);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        whenModal<QDialog>([](QDialog* d) {
            QCOMPARE(d->objectName(), u"EndEntrega"_s);
            QCOMPARE(d->windowTitle(), u"Endereço de Entrega"_s);
            d->findChild<QLineEdit*>(u"endereco"_s)->setText(u"RUA DO PORTO"_s);
            QLineEdit* mun = d->findChild<QLineEdit*>(u"municipio"_s);
            mun->setText(u"20"_s);
            Q_EMIT mun->editingFinished();
            QCOMPARE(d->findChild<QLabel*>(u"cidade"_s)->text(), u"SANTOS"_s);
            d->findChild<QLineEdit*>(u"cep"_s)->setText(u"11010000"_s);
            d->findChild<QPushButton*>(u"fechar"_s)->click();
        });
        child<QPushButton>(f.get(), "enderecoEntrega")->click();
        preencher(f.get(), 2, u"COM ENTREGA"_s);
        child<QPushButton>(f.get(), "ok")->click();
        const auto r = fx->lerCliente(900001);
        QCOMPARE(r->text("E_ENDER"), u"RUA DO PORTO"_s);
        QCOMPARE(r->integer("ID_MUNICIPIO_ENTREGA"), 20);
        QCOMPARE(r->text("E_MUNIC"), u"SANTOS"_s);
        QCOMPARE(r->text("E_ESTAD"), u"SP"_s);
        QCOMPARE(r->text("E_CEP"), u"11010-000"_s);
    }

    void municipioDesconhecidoAbreALista() {
        fx->municipio(20, u"SANTOS"_s, u"SP"_s);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QString aberta;
        responderLista(aberta, 1); // by name: CAMPINAS, SANTOS
        digitar(child<QLineEdit>(f.get(), "municipio"), u"99"_s);
        QCOMPARE(aberta, u"BrowseMunic"_s);
        QCOMPARE(child<QLineEdit>(f.get(), "municipio")->text(), u"20"_s);
        QCOMPARE(child<QLabel>(f.get(), "municipioNome")->text(), u"SANTOS - SP"_s);
        QVERIFY(child<QLabel>(f.get(), "dica")->text().isEmpty());
    }

    void desistirDoMunicipioRecusaOCampo() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QString aberta;
        responderLista(aberta, -1);
        digitar(child<QLineEdit>(f.get(), "municipio"), u"99"_s);
        QCOMPARE(aberta, u"BrowseMunic"_s);
        QCOMPARE(child<QLabel>(f.get(), "dica")->text(), u"Escolha o município."_s);
        QCOMPARE(child<QLineEdit>(f.get(), "municipio")->text(), u"99"_s);
        QVERIFY(child<QLabel>(f.get(), "municipioNome")->text().isEmpty());
    }

    void pautaDesconhecidaAbreALista() {
        pauta(30001, 3, u"ATACADO"_s);
        pauta(50001, 5, u"VAREJO"_s);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QString aberta;
        responderLista(aberta, 1); // by code: 3, 5
        digitar(child<QLineEdit>(f.get(), "pauta"), u"4"_s);
        QCOMPARE(aberta, u"BrowsePauta"_s);
        QCOMPARE(child<QLineEdit>(f.get(), "pauta")->text(), u"5"_s);
        responderLista(aberta, -1);
        digitar(child<QLineEdit>(f.get(), "pauta"), u"7"_s);
        QCOMPARE(child<QLabel>(f.get(), "dica")->text(), u"Escolha a pauta de preços."_s);
    }

    void enderecoComMunicipioDesconhecido() {
        fx->municipio(20, u"SANTOS"_s, u"SP"_s);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QString aberta;
        whenModal<QDialog>([&aberta](QDialog* d) {
            QLineEdit* mun = d->findChild<QLineEdit*>(u"municipio"_s);
            responderLista(aberta, 1);
            mun->setText(u"99"_s);
            Q_EMIT mun->editingFinished();
            QCOMPARE(mun->text(), u"20"_s);
            QCOMPARE(d->findChild<QLabel*>(u"cidade"_s)->text(), u"SANTOS"_s);
            QCOMPARE(d->findChild<QLabel*>(u"estado"_s)->text(), u"SP"_s);
            d->findChild<QPushButton*>(u"fechar"_s)->click();
        });
        child<QPushButton>(f.get(), "enderecoCobranca")->click();
        QCOMPARE(aberta, u"BrowseMunic"_s);
        preencher(f.get(), 2, u"COM COBRANCA"_s);
        child<QPushButton>(f.get(), "ok")->click();
        const auto r = fx->lerCliente(900001);
        QVERIFY(r);
        QCOMPARE(r->integer("ID_MUNICIPIO_COBRANCA"), 20);
        QCOMPARE(r->text("C_MUNIC"), u"SANTOS"_s);
        QCOMPARE(r->text("C_ESTAD"), u"SP"_s);
    }
};

QAV_TEST_MAIN(TestGuiClientes)
#include "tst_gui_clientes.moc"
