// The entries of the customer windows and of the reference lists accept only what their fields can
// hold; a refused value is said, never written, and never ends the program.
#include "customers/widgets/FichaCliente.h"
#include "customers/widgets/FichaSocio.h"
#include "customers/widgets/JanelaFormasPagamento.h"
#include "customers/widgets/JanelaMunicipios.h"
#include "customers/widgets/JanelaPautas.h"
#include "customers/widgets/JanelaVendedores.h"
#include "store/core/Clock.h"
#include "store/core/Text.h"
#include "tests/customers/FixtureClientes.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>
#include <limits>
#include <memory>
#include <set>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

// Every record of a table, in the order of its primary key.
QList<Record> registros(Store& store, const char* tabela) {
    Table t(store, tabela);
    QList<Record> todos;
    if (!t.open())
        return todos;
    t.clear();
    const KeyDef* chave = t.def().primaryKey();
    Status s = t.seekFirst(chave->name);
    while (s == Status::Ok && (s = t.next()) == Status::Ok)
        todos << t.rec();
    t.close();
    return todos;
}

// The field an entry is bound to, as the entry names it ("CLI:CXPOSTAL").
const FieldDef* campoDaEntrada(const QLineEdit* e) {
    const QStringList nome = e->property("qavCampo").toString().split(u':');
    if (nome.size() != 2)
        return nullptr;
    const TableDef* t = findTable(nome[0].toStdString());
    if (!t)
        return nullptr;
    const int f = t->fieldIndex(nome[1].toStdString());
    return f < 0 ? nullptr : &t->fields[static_cast<size_t>(f)];
}

// What the field cannot hold: a character outside Windows-1252, and a value too long or too large.
QStringList entradasRecusadas(const FieldDef& f) {
    switch (f.type) {
    case FieldType::Text:
    case FieldType::ZText:
        return {u"Łódź"_s, QString(f.maxLength() + 1, u'A')};
    case FieldType::Real64:
    case FieldType::Decimal:
        return {u"Ł"_s, QString(20, u'9')};
    case FieldType::Date:
        return {};
    default:
        return {u"Ł"_s, u"99999999999"_s, u"2147483648"_s};
    }
}

// Whether the field can hold what the entry shows.
bool cabe(const FieldDef& f, const QString& texto) {
    if (f.isText())
        return texto.size() <= f.maxLength() && text::isWin1252(texto);
    bool ok = true;
    const QString t = texto.trimmed();
    if (f.type == FieldType::Real64 || f.type == FieldType::Decimal)
        return !t.contains(u'Ł') && t.size() < 20;
    const qlonglong v = t.isEmpty() ? 0 : t.toLongLong(&ok);
    return ok && v >= std::numeric_limits<std::int32_t>::min() &&
           v <= std::numeric_limits<std::int32_t>::max();
}

} // namespace

class TestGuiEntradas : public QObject {
    Q_OBJECT

    std::unique_ptr<FixtureClientes> fx;

    // Types `texto` key by key, also the characters no key of the test keyboard has.
    static void teclar(QWidget* w, const QString& texto) {
        for (QChar c : texto) {
            if (c.unicode() < 0x80)
                QTest::keyClick(w, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    static void digitar(QLineEdit* e, const QString& texto) {
        e->setFocus();
        e->clear();
        teclar(e, texto);
        QTest::keyClick(e, Qt::Key_Return);
    }

    static void mostrarAbaDe(QWidget* janela, QWidget* e) {
        if (auto* abas = janela->findChild<QTabWidget*>(u"abas"_s))
            for (int i = 0; i < abas->count(); ++i)
                if (abas->widget(i)->isAncestorOf(e))
                    abas->setCurrentIndex(i);
    }

    // Types and pastes every value the entry's field cannot hold: each is refused with a message and
    // the entry keeps only what fits. Date entries get an impossible date, refused when left.
    static void recusaTudoQueNaoCabe(QWidget* janela, QLineEdit* e) {
        const FieldDef* f = campoDaEntrada(e);
        QVERIFY2(f, qPrintable(u"entry without a field: "_s + e->objectName()));
        mostrarAbaDe(janela, e);
        const QString nome = janela->objectName() + u'.' + e->objectName();
        if (f->type == FieldType::Date) {
            MessageBox::clearShown();
            digitar(e, u"31022020"_s);
            QVERIFY2(!MessageBox::shown().isEmpty(), qPrintable(nome));
            QTRY_COMPARE(QApplication::focusWidget(), e);
            e->clear();
            return;
        }
        for (const QString& ruim : entradasRecusadas(*f)) {
            for (const bool colar : {false, true}) {
                MessageBox::clearShown();
                e->setFocus();
                e->clear();
                if (colar) {
                    QApplication::clipboard()->setText(ruim);
                    e->paste();
                } else {
                    teclar(e, ruim);
                }
                const QString como = nome + (colar ? u" pasted "_s : u" typed "_s) + ruim;
                QVERIFY2(e->text() != ruim, qPrintable(como));
                QVERIFY2(!MessageBox::shown().isEmpty(), qPrintable(como));
                QVERIFY2(cabe(*f, e->text()), qPrintable(como));
            }
            e->clear();
        }
        QVERIFY(janela->isVisible());
    }

    // A long text takes neither a character outside Windows-1252 nor more than its field's size.
    static void memoRecusaTudoQueNaoCabe(QWidget* janela, QPlainTextEdit* m) {
        mostrarAbaDe(janela, m);
        const QString nome = janela->objectName() + u'.' + m->objectName();
        QVERIFY2(m->property("qavCampo").toString().startsWith(u"CLI:"_s), qPrintable(nome));
        for (const QString& ruim : {u"Fornecedor Łódź"_s, QString(64001, u'A')}) {
            MessageBox::clearShown();
            m->clear();
            m->setFocus();
            m->insertPlainText(ruim);
            QVERIFY2(text::isWin1252(m->toPlainText()), qPrintable(nome));
            QVERIFY2(m->toPlainText().size() <= 64000, qPrintable(nome));
            QVERIFY2(!MessageBox::shown().isEmpty(), qPrintable(nome));
        }
        m->clear();
    }

    // Every entry the window shows, tab by tab.
    static void percorrerEntradas(QWidget* janela, std::set<QLineEdit*>& vistas) {
        auto* abas = janela->findChild<QTabWidget*>(u"abas"_s);
        for (int aba = 0; aba < (abas ? abas->count() : 1); ++aba) {
            if (abas) {
                if (!abas->isTabVisible(aba))
                    continue;
                abas->setCurrentIndex(aba);
            }
            for (QLineEdit* e : janela->findChildren<QLineEdit*>()) {
                if (e->isReadOnly() || vistas.count(e) || !e->isVisibleTo(janela) ||
                    qobject_cast<QComboBox*>(e->parentWidget()))
                    continue;
                vistas.insert(e);
                recusaTudoQueNaoCabe(janela, e);
            }
        }
        for (QPlainTextEdit* m : janela->findChildren<QPlainTextEdit*>())
            memoRecusaTudoQueNaoCabe(janela, m);
    }

    void dadosDasListas() {
        adicionar(fx->store(), "vendedor.tps", [](Record& r) {
            r.setInteger("ID_VENDEDOR", 1);
            r.setInteger("ID_EMPRESA", FixtureClientes::idEmpresa);
            r.setInteger("CODIGO", 12);
            r.setInteger("ATIVO", 1);
            r.setText("NOME", u"ZÉLIA"_s);
        });
        adicionar(fx->store(), "formapag.tps", [](Record& r) {
            r.setInteger("ID_FORMAPAG", 70001);
            r.setInteger("ID_EMPRESA", FixtureClientes::idEmpresa);
            r.setInteger("CODIGO", 7);
            r.setText("DESCR", u"BOLETO 30 DIAS"_s);
        });
        adicionar(fx->store(), "pauta.tps", [](Record& r) {
            r.setInteger("ID", 30001);
            r.setInteger("ID_EMPRESA", FixtureClientes::idEmpresa);
            r.setInteger("CODIGO", 3);
            r.setText("NUM_PAUTA", u"3"_s);
            r.setText("DESCRICAO", u"ATACADO"_s);
        });
        fx->municipio(20, u"SANTOS"_s, u"SP"_s);
    }

private Q_SLOTS:
    void init() {
        fx = std::make_unique<FixtureClientes>();
        MessageBox::clearShown();
        MessageBox::setNextAnswers(QList<Button>(5000, Button::Ok));
        Clock::setOverride([] { return DateTimeParts{Date::fromYmd(2026, 3, 9), 10, 0, 0}; });
    }
    void cleanup() {
        MessageBox::setNextAnswers({});
        Clock::setOverride({});
    }

    // The values that ended the program: each is refused as it is typed, the form stays, and the
    // customer saved afterwards holds nothing of it.
    void valorQueNaoCabeRecusado_data() {
        QTest::addColumn<int>("pessoa");
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("fica");
        QTest::newRow("share of sales 300") << 1 << u"percentual1"_s << u"300"_s << u"30"_s;
        QTest::newRow("share of sales 101") << 1 << u"percentual2"_s << u"101"_s << u"10"_s;
        QTest::newRow("post box 11 digits") << 1 << u"caixaPostal"_s << u"99999999999"_s << u"999999999"_s;
        QTest::newRow("name outside the code page") << 1 << u"razao"_s << u"Łódź"_s << u"ód"_s;
        QTest::newRow("municipality 2^31") << 1 << u"municipio"_s << u"2147483648"_s << u"214748364"_s;
        QTest::newRow("letters in a number") << 2 << u"tempoServico"_s << u"1a2"_s << u"12"_s;
        QTest::newRow("text wider than its field") << 1 << u"sufixo"_s << u"12345"_s << u"123"_s;
    }
    void valorQueNaoCabeRecusado() {
        QFETCH(int, pessoa);
        QFETCH(QString, entrada);
        QFETCH(QString, digitado);
        QFETCH(QString, fica);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        FixtureClientes::escolher(child<QComboBox>(f.get(), "pessoa"), pessoa);
        QLineEdit* e = child<QLineEdit>(f.get(), entrada.toLatin1().constData());
        mostrarAbaDe(f.get(), e);
        e->setFocus();
        teclar(e, digitado);
        QCOMPARE(e->text(), fica);
        QVERIFY(!MessageBox::shown().isEmpty());
        QVERIFY(f->isVisible());
    }

    // A share above 100 that came from the server opens without a refusal and stays as it was.
    void valorAntigoForaDaFaixaAbreSemRecusa() {
        adicionar(fx->store(), "clientes.tps", [](Record& r) {
            r.setInteger("ID", 1500);
            r.setInteger("PESSO", 1);
            r.setText("RAZAO", u"DO SERVIDOR"_s);
            r.setInteger("PERC_VENDAS", 200, 0);
        });
        auto f = fx->abrir(Requisicao::Consultar, 1500);
        QVERIFY(f);
        QCOMPARE(child<QLineEdit>(f.get(), "percentual1")->text(), u"200"_s);
        QVERIFY(MessageBox::shown().isEmpty());
    }

    // Every entry of the customer form (all tabs), of the partner form and of the two address
    // windows refuses what its field cannot hold; afterwards nothing of it is in the files.
    void todasAsEntradasDoCadastro() {
        fx->cliente(900010, u"JA GRAVADO"_s);
        const QList<Record> clientesAntes = registros(fx->store(), "clientes.tps");
        const QList<Record> sociosAntes = registros(fx->store(), "socios.tps");
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QVERIFY(QTest::qWaitForWindowActive(f.get()));
        std::set<QLineEdit*> vistas;
        FixtureClientes::escolher(child<QComboBox>(f.get(), "pessoa"), 2);
        percorrerEntradas(f.get(), vistas);
        FixtureClientes::escolher(child<QComboBox>(f.get(), "pessoa"), 1);
        percorrerEntradas(f.get(), vistas);
        QVERIFY(vistas.size() > 50);

        bool socioVisto = false;
        whenModal<FichaSocio>([&](FichaSocio* s) {
            std::set<QLineEdit*> doSocio;
            percorrerEntradas(s, doSocio);
            socioVisto = doSocio.size() == 6;
            s->findChild<QPushButton*>(u"ok"_s)->click();
        });
        child<QPushButton>(f.get(), "novoSocio")->click();
        QVERIFY(socioVisto);

        for (const char* botao : {"enderecoEntrega", "enderecoCobranca"}) {
            int vistasNoEndereco = 0;
            whenModal<QDialog>([&](QDialog* d) {
                std::set<QLineEdit*> doEndereco;
                percorrerEntradas(d, doEndereco);
                vistasNoEndereco = static_cast<int>(doEndereco.size());
                d->findChild<QPushButton*>(u"fechar"_s)->click();
            });
            child<QPushButton>(f.get(), botao)->click();
            QVERIFY(vistasNoEndereco >= 4);
        }
        QVERIFY(f->isVisible());

        // Leaving without saving: the reserved customer and partner go, nothing else changed.
        MessageBox::setNextAnswers({Button::No});
        QTest::keyClick(f.get(), Qt::Key_Escape);
        QVERIFY(!f->isVisible());
        QCOMPARE(registros(fx->store(), "clientes.tps"), clientesAntes);
        QCOMPARE(registros(fx->store(), "socios.tps"), sociosAntes);
    }

    // Every locator of the salesperson, payment-form, municipality and price-list lists.
    void todosOsLocalizadoresDasListas() {
        dadosDasListas();
        const ListContext contexto = fx->contexto().listas();
        std::vector<std::unique_ptr<ReferenceList>> listas;
        listas.push_back(std::make_unique<JanelaVendedores>(contexto));
        listas.push_back(std::make_unique<JanelaFormasPagamento>(contexto));
        listas.push_back(std::make_unique<JanelaMunicipios>(contexto));
        listas.push_back(std::make_unique<JanelaPautas>(contexto));
        for (auto& lista : listas) {
            lista->show();
            QLineEdit* localizador = child<QLineEdit>(lista.get(), "localizador");
            for (int aba = 0; aba < lista->tabs()->count(); ++aba) {
                lista->tabs()->setCurrentIndex(aba);
                recusaTudoQueNaoCabe(lista.get(), localizador);
                // The list goes on working: emptying the locator shows the records again.
                teclar(localizador, u"1"_s);
                QTest::keyClick(localizador, Qt::Key_Backspace);
                QVERIFY(lista->isVisible());
                QVERIFY(lista->model()->rowCount() > 0);
            }
        }
    }

    // A date can be cleared; an impossible one is refused with a message and never saved.
    void dataApagadaEDataImpossivel() {
        adicionar(fx->store(), "clientes.tps", [](Record& r) {
            r.setInteger("ID", 900020);
            r.setInteger("PESSO", 2);
            r.setInteger("ATIVO", 1);
            r.setText("RAZAO", u"PESSOA"_s);
            r.setInteger("ID_MUNICIPIO", 10);
            r.setInteger("INDICADOR_IE", 9);
            r.setText("I_COM", u"Fornecedor (19)3232-0000"_s);
            r.setDate("NASCT", Date::fromYmd(1980, 5, 17));
        });
        auto f = fx->abrir(Requisicao::Alterar, 900020);
        QVERIFY(f);
        QLineEdit* nascimento = child<QLineEdit>(f.get(), "nascimento");
        QCOMPARE(nascimento->text(), u"17/05/1980"_s);
        mostrarAbaDe(f.get(), nascimento);
        digitar(nascimento, u"31022020"_s);
        QCOMPARE(shownBoxes(), QStringList{u"Erro: Data inválida!"_s});
        child<QPushButton>(f.get(), "ok")->click();
        QVERIFY(f->isVisible());
        QCOMPARE(fx->lerCliente(900020)->date("NASCT"), Date::fromYmd(1980, 5, 17));

        nascimento->selectAll();
        QTest::keyClick(nascimento, Qt::Key_Delete);
        QTest::keyClick(nascimento, Qt::Key_Return);
        child<QPushButton>(f.get(), "ok")->click();
        QCOMPARE(f->result(), int(QDialog::Accepted));
        QCOMPARE(fx->lerCliente(900020)->date("NASCT"), Date());
    }

    void mesDeEntradaDoSocioImpossivel() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        bool continuouAberto = false;
        whenModal<FichaSocio>([&](FichaSocio* s) {
            s->findChild<QLineEdit*>(u"nome"_s)->setText(u"ANA"_s);
            QLineEdit* entrada = s->findChild<QLineEdit*>(u"entrada"_s);
            entrada->setFocus();
            entrada->clear();
            QTest::keyClicks(entrada, u"132020"_s);
            s->findChild<QPushButton*>(u"ok"_s)->click();
            continuouAberto = s->isVisible();
            QTest::keyClick(entrada, Qt::Key_Backspace);
            entrada->clear();
            QTest::keyClicks(entrada, u"122020"_s);
            s->findChild<QPushButton*>(u"ok"_s)->click();
        });
        child<QPushButton>(f.get(), "novoSocio")->click();
        QVERIFY(continuouAberto);
        QVERIFY(shownBoxes().contains(u"Erro: Mês/Ano de entrada inválido!"_s));
        QCOMPARE(child<QTableWidget>(f.get(), "socios")->item(0, 2)->text(), u"12/2020"_s);
    }

    // The payment form is a code of the active company's payment forms, chosen from BrowseFORMAPAG
    // when it is not found.
    void formaDePagamentoSoExistente() {
        dadosDasListas();
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QLineEdit* forma = child<QLineEdit>(f.get(), "formaPagamento");
        mostrarAbaDe(f.get(), forma);
        forma->setFocus();
        QTest::keyClicks(forma, u"bol"_s);
        QVERIFY(forma->text().isEmpty());
        QVERIFY(!MessageBox::shown().isEmpty());
        QString aberta;
        whenModal([&aberta](QWidget* modal) {
            aberta = modal->objectName();
            auto* lista = modal->findChild<QTableView*>(u"lista"_s);
            lista->setCurrentIndex(lista->model()->index(0, 0));
            modal->findChild<QPushButton*>(u"botaoSelecionar"_s)->click();
        });
        digitar(forma, u"5"_s);
        QCOMPARE(aberta, u"BrowseFORMAPAG"_s);
        QCOMPARE(forma->text(), u"7"_s);
    }

    void emailSemArrobaRecusado() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        FixtureClientes::escolher(child<QComboBox>(f.get(), "pessoa"), 3);
        digitar(child<QLineEdit>(f.get(), "razao"), u"EXPORTADOR"_s);
        digitar(child<QLineEdit>(f.get(), "municipio"), u"10"_s);
        FixtureClientes::escolher(child<QComboBox>(f.get(), "indicadorIe"), 9);
        child<QPlainTextEdit>(f.get(), "referenciasComerciais")->setPlainText(u"Fornecedor A"_s);
        QLineEdit* email = child<QLineEdit>(f.get(), "email");
        mostrarAbaDe(f.get(), email);
        MessageBox::clearShown();
        digitar(email, u"vendas.empresa.com.br"_s);
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: E-mail inválido!"_s});
        MessageBox::clearShown();
        child<QPushButton>(f.get(), "ok")->click();
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: E-mail inválido!"_s});
        QVERIFY(fx->lerCliente(900001)->text("RAZAO").isEmpty());
        digitar(email, u"vendas@empresa.com.br"_s);
        child<QPushButton>(f.get(), "ok")->click();
        QCOMPARE(fx->lerCliente(900001)->text("E_MAIL"), u"vendas@empresa.com.br"_s);
    }

    // A name typed in the municipality entry opens the municipality list on that name.
    void nomeDoMunicipioLevadoParaALista() {
        fx->municipio(20, u"SANTOS"_s, u"SP"_s);
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QString localizado;
        QString atual;
        whenModal([&](QWidget* modal) {
            localizado = modal->findChild<QLineEdit*>(u"localizador"_s)->text();
            auto* lista = modal->findChild<QTableView*>(u"lista"_s);
            atual = lista->currentIndex().siblingAtColumn(1).data().toString();
            modal->findChild<QPushButton*>(u"botaoSelecionar"_s)->click();
        });
        digitar(child<QLineEdit>(f.get(), "municipio"), u"sant"_s);
        QCOMPARE(localizado, u"sant"_s);
        QCOMPARE(atual, u"SANTOS"_s);
        QCOMPARE(child<QLineEdit>(f.get(), "municipio")->text(), u"20"_s);
    }

    void abreNoPrimeiroCampo() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QVERIFY(QTest::qWaitForWindowActive(f.get()));
        QTRY_COMPARE(QApplication::focusWidget(), child<QComboBox>(f.get(), "pessoa"));
    }

    // Leaving the empty commercial references asks nothing: the check waits for "&OK".
    void referenciasConferidasSoNoOk() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        QVERIFY(QTest::qWaitForWindowActive(f.get()));
        QPlainTextEdit* refs = child<QPlainTextEdit>(f.get(), "referenciasComerciais");
        mostrarAbaDe(f.get(), refs);
        refs->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), refs);
        QTest::keyClick(refs, Qt::Key_Tab);
        QTRY_VERIFY(QApplication::focusWidget() != refs);
        QTest::qWait(50);
        QVERIFY(QApplication::focusWidget() != refs);
        QVERIFY(MessageBox::shown().isEmpty());
    }

    // Esc in the partner form asks too; "&Não" gives the typed partner up.
    void escNoSocioPergunta() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        bool perguntou = false;
        whenModal<FichaSocio>([&](FichaSocio* s) {
            s->findChild<QLineEdit*>(u"nome"_s)->setText(u"ANA"_s);
            MessageBox::clearShown();
            MessageBox::setNextAnswers({Button::Cancel});
            QTest::keyClick(s, Qt::Key_Escape);
            perguntou = MessageBox::shown().size() == 1 && s->isVisible();
            MessageBox::setNextAnswers({Button::No});
            QTest::keyClick(s, Qt::Key_Escape);
        });
        child<QPushButton>(f.get(), "novoSocio")->click();
        QVERIFY(perguntou);
        QCOMPARE(MessageBox::shown().at(0).caption, u"Alteração Cancelada"_s);
        QCOMPARE(child<QTableWidget>(f.get(), "socios")->rowCount(), 0);
        QCOMPARE(fx->contar("socios.tps"), 0);
    }

    // Esc asks before throwing typed data away; without changes it just closes.
    void escPerguntaAntesDeDescartar() {
        auto f = fx->abrir(Requisicao::Inserir);
        QVERIFY(f);
        digitar(child<QLineEdit>(f.get(), "razao"), u"DIGITADO"_s);
        MessageBox::setNextAnswers({Button::Cancel});
        QTest::keyClick(f.get(), Qt::Key_Escape);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().at(0).caption, u"Alteração Cancelada"_s);
        QVERIFY(f->isVisible());
        QCOMPARE(child<QLineEdit>(f.get(), "razao")->text(), u"DIGITADO"_s);
        MessageBox::setNextAnswers({Button::No});
        QTest::keyClick(f.get(), Qt::Key_Escape);
        QVERIFY(!f->isVisible());
        QVERIFY(!fx->lerCliente(900001));

        MessageBox::clearShown();
        auto g = fx->abrir(Requisicao::Inserir);
        QVERIFY(g);
        QTest::keyClick(g.get(), Qt::Key_Escape);
        QVERIFY(!g->isVisible());
        QVERIFY(MessageBox::shown().isEmpty());
    }
};

QAV_TEST_MAIN(TestGuiEntradas)
#include "tst_gui_entradas.moc"
