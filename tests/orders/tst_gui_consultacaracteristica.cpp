// The characteristics finder window over real table files: the lists filled one after the other as
// values are chosen, a single matching product selected at once, "&OK" refused with the focus where
// the choice is missing, and what the finder returns.
#include "orders/widgets/ConsultaCaracteristica.h"
#include "store/core/FormatoBr.h"
#include "tests/orders/CaracteristicasFixture.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

QStringList itens(const QComboBox* c) {
    QStringList lista;
    for (int i = 0; i < c->count(); ++i)
        lista.append(c->itemText(i));
    return lista;
}

QStringList linhas(const QTreeWidget* l, int coluna) {
    QStringList lista;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        lista.append(l->topLevelItem(i)->text(coluna));
    return lista;
}

QComboBox* caracteristica(const QWidget* janela, int n) {
    return child<QComboBox>(janela, QStringLiteral("caracteristica%1").arg(n).toLatin1().constData());
}

QTreeWidget* acessorios(const QWidget* janela, int n) {
    return child<QTreeWidget>(janela, QStringLiteral("acessorios%1").arg(n).toLatin1().constData());
}

// Chooses a value the list offers, as a click in its drop list does.
void escolher(QComboBox* c, const QString& valor) {
    const int i = c->findText(valor);
    QVERIFY2(i >= 0, qPrintable(valor));
    c->setCurrentIndex(i);
}

void clicarLinha(QTreeWidget* l, int linha) {
    const QRect r = l->visualItemRect(l->topLevelItem(linha));
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace

class TestGuiConsultaCaracteristica : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<QTemporaryDir> m_program;

    ListContext contexto() const { return {m_folder->path(), 1, m_program->path()}; }

    std::unique_ptr<ConsultaCaracteristica> abrir() {
        auto janela = std::make_unique<ConsultaCaracteristica>(contexto());
        janela->show();
        if (!QTest::qWaitForWindowExposed(janela.get()))
            qFatal("window not shown");
        return janela;
    }

private Q_SLOTS:
    void init() {
        m_folder = std::make_unique<TempDataFolder>();
        m_program = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid() && m_program->isValid());
        catalogoCaracteristicas(m_folder->store());
    }

    void listasEmCascataEProdutoUnicoSelecionado() {
        auto janela = abrir();
        auto* produtos = child<QTreeWidget>(janela.get(), "produtos");
        QCOMPARE(itens(caracteristica(janela.get(), 1)),
                 (QStringList{QString(), u"ACO"_s, u"aço"_s, u"JANELA"_s, u"PORTA"_s}));
        escolher(caracteristica(janela.get(), 1), u"JANELA"_s);
        QCOMPARE(itens(caracteristica(janela.get(), 2)), (QStringList{QString(), u"ALUMINIO"_s}));
        escolher(caracteristica(janela.get(), 2), u"ALUMINIO"_s);
        escolher(caracteristica(janela.get(), 3), u"120CM"_s);
        // The inactive black window is not offered.
        QCOMPARE(itens(caracteristica(janela.get(), 4)), (QStringList{QString(), u"BRANCA"_s}));
        escolher(caracteristica(janela.get(), 4), u"BRANCA"_s);
        escolher(caracteristica(janela.get(), 5), u"2 FOLHAS"_s);
        QCOMPARE(linhas(produtos, 0), QStringList{u"P15"_s});
        QVERIFY(produtos->topLevelItem(0)->isSelected());
        QVERIFY(!acessorios(janela.get(), 1)->isHidden());

        // A new value in the first list empties the lists after it, the products and the accessories.
        escolher(caracteristica(janela.get(), 1), u"PORTA"_s);
        for (int n = 2; n <= 5; ++n)
            QCOMPARE(caracteristica(janela.get(), n)->currentText(), QString());
        QCOMPARE(produtos->topLevelItemCount(), 0);
        QVERIFY(acessorios(janela.get(), 1)->isHidden());
        QCOMPARE(itens(caracteristica(janela.get(), 2)),
                 (QStringList{QString(), u"Alumínio"_s, u"MADEIRA"_s}));
        // The third list already offers what a blank second characteristic leaves.
        QCOMPARE(itens(caracteristica(janela.get(), 3)), (QStringList{QString(), u"90CM"_s}));
        escolher(caracteristica(janela.get(), 2), u"Alumínio"_s);
        QCOMPARE(itens(caracteristica(janela.get(), 3)), (QStringList{QString(), u"80CM"_s}));
        QCOMPARE(produtos->topLevelItemCount(), 0);
        escolher(caracteristica(janela.get(), 3), u"80CM"_s);
        QCOMPARE(linhas(produtos, 1), QStringList{u"000003 - Produto 3"_s});
        QVERIFY(produtos->topLevelItem(0)->isSelected());
        QVERIFY(acessorios(janela.get(), 1)->isHidden());
        child<QPushButton>(janela.get(), "ok")->click();
        QCOMPARE(janela->result(), int(QDialog::Accepted));
        QVERIFY(janela->escolha());
        QCOMPARE(janela->escolha()->idProduto, 3);
        QVERIFY(janela->escolha()->acessorios.empty());
    }

    void recusaPoeOFocoNaPrimeiraListaVazia() {
        auto janela = abrir();
        escolher(caracteristica(janela.get(), 1), u"PORTA"_s);
        escolher(caracteristica(janela.get(), 2), u"MADEIRA"_s);
        escolher(caracteristica(janela.get(), 3), u"80CM"_s);
        auto* produtos = child<QTreeWidget>(janela.get(), "produtos");
        auto* ok = child<QPushButton>(janela.get(), "ok");
        QCOMPARE(linhas(produtos, 0), (QStringList{u"P1"_s, u"P8"_s}));
        // Each product with the accessory subgroups it requires.
        QCOMPARE(produtos->columnCount(), 5);
        QCOMPARE(produtos->headerItem()->text(2), u"Acessório 1"_s);
        QCOMPARE((QStringList{linhas(produtos, 2).value(0), linhas(produtos, 3).value(0),
                              linhas(produtos, 4).value(0)}),
                 (QStringList{u"10"_s, u"20"_s, u"10"_s}));
        QVERIFY(produtos->selectedItems().isEmpty());

        // No product chosen yet.
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(janela->isVisible());
        QCOMPARE(janela->focusWidget(), produtos);

        clicarLinha(produtos, 0);
        QVERIFY(!acessorios(janela.get(), 1)->isHidden());
        QVERIFY(!acessorios(janela.get(), 2)->isHidden());
        QVERIFY(acessorios(janela.get(), 3)->isHidden());
        QCOMPARE(child<QLabel>(janela.get(), "rotuloAcessorios1")->text(), u"Acessório (10-PUXADORES):"_s);
        QCOMPARE(linhas(acessorios(janela.get(), 1), 1),
                 (QStringList{u"PUXADOR DOURADO"_s, u"PUXADOR CROMADO"_s}));
        QCOMPARE(linhas(acessorios(janela.get(), 2), 2), (QStringList{u"30,00"_s, u"45,90"_s}));

        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(janela->isVisible());
        QCOMPARE(janela->focusWidget(), acessorios(janela.get(), 1));

        clicarLinha(acessorios(janela.get(), 1), 1);
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(janela->isVisible());
        QCOMPARE(janela->focusWidget(), acessorios(janela.get(), 2));

        clicarLinha(acessorios(janela.get(), 2), 1);
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(janela->result(), int(QDialog::Accepted));
        const std::optional<EscolhaCaracteristica>& e = janela->escolha();
        QVERIFY(e);
        QCOMPARE(e->idProduto, 1);
        QCOMPARE(e->codigo, u"P1"_s);
        QCOMPARE(e->acessorios.size(), size_t(2));
        QCOMPARE(e->acessorios[0].id, 101);
        QCOMPARE(e->acessorios[0].codSubgrupo, 10);
        QCOMPARE(br::numero(e->acessorios[0].preco, 2), u"12,50"_s);
        QCOMPARE(e->acessorios[1].id, 202);
        QCOMPARE(e->acessorios[1].codSubgrupo, 20);
    }

    // The other product's subgroups replace the first one's lists, and a subgroup without any
    // accessory keeps the finder from closing.
    void trocaDeProdutoTrocaAsListas() {
        auto janela = abrir();
        escolher(caracteristica(janela.get(), 1), u"PORTA"_s);
        escolher(caracteristica(janela.get(), 2), u"MADEIRA"_s);
        escolher(caracteristica(janela.get(), 3), u"70CM"_s);
        QVERIFY(child<QTreeWidget>(janela.get(), "produtos")->topLevelItem(0)->isSelected());
        QVERIFY(!acessorios(janela.get(), 1)->isHidden());
        QCOMPARE(acessorios(janela.get(), 1)->topLevelItemCount(), 0);
        QVERIFY(acessorios(janela.get(), 2)->isHidden());
        child<QPushButton>(janela.get(), "ok")->click();
        QVERIFY(janela->isVisible());
        QCOMPARE(janela->focusWidget(), acessorios(janela.get(), 1));
    }

    void selecionarDevolveAEscolhaEGuardaAPosicao() {
        whenModal<ConsultaCaracteristica>([](ConsultaCaracteristica* janela) {
            escolher(caracteristica(janela, 1), u"ACO"_s);
            escolher(caracteristica(janela, 2), u"CARBONO"_s);
            child<QPushButton>(janela, "ok")->click();
        });
        const std::optional<EscolhaCaracteristica> escolha =
            ConsultaCaracteristica::selecionar(nullptr, contexto());
        QVERIFY(escolha);
        QCOMPARE(escolha->idProduto, 13);
        QVERIFY(escolha->acessorios.empty());

        whenModal<ConsultaCaracteristica>([](ConsultaCaracteristica* janela) {
            escolher(caracteristica(janela, 1), u"ACO"_s);
            escolher(caracteristica(janela, 2), u"CARBONO"_s);
            child<QPushButton>(janela, "cancelar")->click();
        });
        QVERIFY(!ConsultaCaracteristica::selecionar(nullptr, contexto()));

        QFile ini(QDir(m_program->path()).filePath(u"qavplus.INI"_s));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains("[ConsultaCaracteristica]"));
    }

    // A data folder whose product table cannot be opened: the failure is told once, not for
    // every list, and the finder stays empty.
    void tabelaQueNaoAbreAvisaUmaVez() {
        TempDataFolder vazia(false);
        MessageBox::clearShown();
        MessageBox::setNextAnswers({Button::Ok});
        ConsultaCaracteristica janela({vazia.path(), 1, m_program->path()});
        const QStringList caixas = shownBoxes();
        QCOMPARE(caixas.size(), 1);
        QVERIFY2(caixas.constFirst().contains(u"produto"_s), qPrintable(caixas.constFirst()));
        QCOMPARE(itens(caracteristica(&janela, 1)), QStringList{QString()});
        QCOMPARE(child<QTreeWidget>(&janela, "produtos")->topLevelItemCount(), 0);
    }
};

QAV_TEST_MAIN(TestGuiConsultaCaracteristica)
#include "tst_gui_consultacaracteristica.moc"
