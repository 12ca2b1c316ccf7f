// The order printout window over real table files: the models the company offers, the options it
// remembers, the e-mail handed to a scripted mail program, the PDF opened for the user, the address
// remembered for the customer on closing, and the order list's button that opens it.
#include "base/core/Mail.h"
#include "base/core/Session.h"
#include "base/core/Settings.h"
#include "orders/widgets/FormularioPedido.h"
#include "orders/widgets/JanelaPedidos.h"
#include "printout/core/ArquivoPdf.h"
#include "printout/widgets/ImpPedido.h"
#include "printout/widgets/PrintoutWindows.h"
#include "store/core/Table.h"
#include "tests/printout/PedidoImpressoFixture.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

// Receives the documents the window asks the desktop to open.
class Abertos : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void abrir(const QUrl& url) { urls << url; }
};

class TestGuiImpPedido : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_currentDir;
    QByteArray m_path;
    QByteArray m_tmpdir;
    Abertos m_abertos;

    ListContext contexto() const { return {m_folder->path(), 1, m_program->path()}; }
    Settings settings() const { return Settings(m_program->path()); }
    QString argumentosPath() const { return m_tmp->filePath(u"argumentos"_s); }
    // The PDF of the order in the first model offered (the one chosen when the window opens).
    QString pdf() const { return impressao::arquivoPdfPedido(42, 1); }

    void preparar(const PedidoImpresso& p = {}) { prepararPedidoImpresso(m_folder->store(), p); }

    // The scripted mail program: writes each argument followed by a NUL, then exits with `saida`.
    void instalarXdgEmail(int saida) {
        QFile f(m_tmp->filePath(u"bin/xdg-email"_s));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(u"#!/bin/sh\nprintf '%s\\0' \"$@\" > '%1'\nexit %2\n"_s.arg(argumentosPath())
                    .arg(saida)
                    .toUtf8());
        f.close();
        QVERIFY(f.setPermissions(f.permissions() | QFileDevice::ExeOwner));
    }
    // A stand-in that prints `texto` and exits with `saida`.
    void instalarPrograma(const QString& nome, int saida, const QString& texto = QString()) {
        QFile f(m_tmp->filePath(u"bin/"_s + nome));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(u"#!/bin/sh\necho '%1'\nexit %2\n"_s.arg(texto).arg(saida).toUtf8());
        f.close();
        QVERIFY(f.setPermissions(f.permissions() | QFileDevice::ExeOwner));
    }
    QStringList argumentos() const {
        QFile f(argumentosPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lista = QString::fromUtf8(f.readAll()).split(QChar(0));
        lista.removeLast();
        return lista;
    }
    static QString depois(const QStringList& args, const QString& opcao) {
        const qsizetype i = args.indexOf(opcao);
        return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : u"<ausente>"_s;
    }
    static QByteArray inicio(const QString& arquivo) {
        QFile f(arquivo);
        return f.open(QIODevice::ReadOnly) ? f.read(4) : QByteArray();
    }
    QString emailQav() {
        Table t(m_folder->store(), "clientes");
        if (!t.open())
            return u"<sem tabela>"_s;
        t.rec().setInteger("ID", kIdClienteImpresso);
        return t.get("KEYID") == Status::Ok ? t.rec().text("EMAIL_QAV") : u"<sem cliente>"_s;
    }
    static QStringList linhas(QListWidget* lista) {
        QStringList textos;
        for (int i = 0; i < lista->count(); ++i)
            textos << lista->item(i)->text();
        return textos;
    }

private Q_SLOTS:
    void initTestCase() { QDesktopServices::setUrlHandler(u"file"_s, &m_abertos, "abrir"); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(u"file"_s); }

    void init() {
        m_folder = std::make_unique<TempDataFolder>();
        m_program = std::make_unique<QTemporaryDir>();
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_tmp->path()).mkdir(u"bin"_s));
        // The settings files land in the program folder, which is the current folder.
        m_currentDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_program->path()));
        bindFolder({u"dados"_s, m_folder->path()});
        setIdEmpAtiva(1);
        // The PDFs go to a folder of this test; only the scripted mail program is found.
        m_tmpdir = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_tmp->path()));
        m_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_tmp->filePath(u"bin"_s)));
        MessageBox::clearShown();
        m_abertos.urls.clear();
    }
    void cleanup() {
        qputenv("PATH", m_path);
        if (m_tmpdir.isEmpty())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", m_tmpdir);
        QDir::setCurrent(m_currentDir);
        janelasPedido::registrarImpressao({});
        m_folder.reset();
        m_program.reset();
        m_tmp.reset();
    }

    // A value that offers no model this program knows leaves nothing to print.
    void modelosDaEmpresa_data() {
        QTest::addColumn<int>("modeloPedido");
        QTest::addColumn<QStringList>("modelos");
        QTest::newRow("0: todos") << 0
                                  << QStringList{u"Retrato s/Comissão"_s, u"Retrato c/Comissão"_s,
                                                 u"Paisagem s/Comissão"_s, u"Retrato s/IPI"_s};
        QTest::newRow("1") << 1 << QStringList{u"Retrato s/Comissão"_s};
        QTest::newRow("4") << 4 << QStringList{u"Paisagem s/Comissão"_s, u"Retrato s/IPI"_s};
        QTest::newRow("8") << 8 << QStringList{u"Retrato s/IPI"_s};
        QTest::newRow("16: nenhum") << 16 << QStringList{};
    }
    void modelosDaEmpresa() {
        QFETCH(int, modeloPedido);
        QFETCH(QStringList, modelos);
        PedidoImpresso p;
        p.modeloPedido = modeloPedido;
        preparar(p);
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        QCOMPARE(janela.windowTitle(), u"Pedido"_s);
        QCOMPARE(linhas(child<QListWidget>(&janela, "modelos")), modelos);
        QCOMPARE(janela.modeloAtual().has_value(), !modelos.isEmpty());
        for (const char* nome : {"visualizar", "imprimir", "enviarEmail", "pdf"})
            QVERIFY2(child<QPushButton>(&janela, nome)->isEnabled() == !modelos.isEmpty(), nome);
    }

    // The remembered model is the current one when the company offers it; otherwise the first model
    // it offers is, so that a model the company does not offer is never printed.
    void modeloLembrado_data() {
        QTest::addColumn<int>("modeloPedido");
        QTest::addColumn<int>("lembrado");
        QTest::addColumn<QString>("atual");
        QTest::newRow("oferecido") << 0 << 3 << u"Paisagem s/Comissão"_s;
        QTest::newRow("oferecido entre dois") << 4 << 4 << u"Retrato s/IPI"_s;
        QTest::newRow("não oferecido") << 4 << 1 << u"Paisagem s/Comissão"_s;
        QTest::newRow("não oferecido, só o sem IPI") << 8 << 2 << u"Retrato s/IPI"_s;
        QTest::newRow("fora de 1 a 4") << 0 << 9 << u"Retrato s/Comissão"_s;
    }
    void modeloLembrado() {
        QFETCH(int, modeloPedido);
        QFETCH(int, lembrado);
        QFETCH(QString, atual);
        PedidoImpresso p;
        p.modeloPedido = modeloPedido;
        preparar(p);
        QVERIFY(settings().setImpPedidoModelo(lembrado));
        {
            ImpPedido janela(contexto(), kIdPedidoImpresso);
            auto* lista = child<QListWidget>(&janela, "modelos");
            QVERIFY(lista->currentItem());
            QCOMPARE(lista->currentItem()->text(), atual);
            QVERIFY(janela.modeloAtual());
            QCOMPARE(impressao::nomeModelo(*janela.modeloAtual()), atual);
            janela.reject();
        }
        QCOMPARE(impressao::nomeModelo(static_cast<impressao::Modelo>(settings().impPedidoModelo())), atual);
    }

    // "Outlook Office" is written as soon as it is ticked; the model and the item order when the
    // window closes; all three are read back the next time.
    void opcoesLembradas() {
        preparar();
        {
            ImpPedido janela(contexto(), kIdPedidoImpresso);
            auto* outlook = child<QCheckBox>(&janela, "outlookOffice");
            auto* ordem = child<QCheckBox>(&janela, "ordemProduto");
            QVERIFY(!outlook->isChecked());
            QVERIFY(ordem->isChecked());
            outlook->click();
            QVERIFY(settings().mailOutlookOffice());
            ordem->click();
            child<QListWidget>(&janela, "modelos")->setCurrentRow(1);
            QCOMPARE(settings().impPedidoModelo(), 1);
            QVERIFY(settings().impPedidoOrdemProduto());
            child<QPushButton>(&janela, "fechar")->click();
        }
        QCOMPARE(settings().impPedidoModelo(), 2);
        QVERIFY(!settings().impPedidoOrdemProduto());
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        QVERIFY(child<QCheckBox>(&janela, "outlookOffice")->isChecked());
        QVERIFY(!child<QCheckBox>(&janela, "ordemProduto")->isChecked());
        QCOMPARE(child<QListWidget>(&janela, "modelos")->currentItem()->text(), u"Retrato c/Comissão"_s);
        QVERIFY(janela.modeloAtual() == impressao::Modelo::RetratoComComissao);
    }

    // Product order or entry order: the items were entered from the last product to the first.
    void ordemDosItens() {
        PedidoImpresso p;
        p.itens = 3;
        preparar(p);
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        const auto vendasi = [&] {
            QList<int> ids;
            for (const impressao::ItemImpresso& i : janela.documento()->itens)
                ids << i.idVendasi;
            return ids;
        };
        QVERIFY(janela.documento());
        QCOMPARE(vendasi(), (QList<int>{103, 102, 101}));
        child<QCheckBox>(&janela, "ordemProduto")->click();
        QCOMPARE(vendasi(), (QList<int>{101, 102, 103}));
    }

    void emailSoComEndereco_data() {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("emailQav");
        QTest::addColumn<QString>("inicial");
        QTest::newRow("principal") << u"compras@ferragens.com.br"_s << u""_s << u"compras@ferragens.com.br"_s;
        QTest::newRow("alternativo") << u"compras@ferragens.com.br"_s << u"marta@ferragens.com.br"_s
                                     << u"marta@ferragens.com.br"_s;
        QTest::newRow("nenhum") << u""_s << u""_s << u""_s;
    }
    void emailSoComEndereco() {
        QFETCH(QString, email);
        QFETCH(QString, emailQav);
        QFETCH(QString, inicial);
        PedidoImpresso p;
        p.email = email;
        p.emailQav = emailQav;
        preparar(p);
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        auto* entrada = child<QLineEdit>(&janela, "email");
        auto* enviar = child<QPushButton>(&janela, "enviarEmail");
        QCOMPARE(entrada->text(), inicial);
        QCOMPARE(enviar->isEnabled(), !inicial.isEmpty());
        entrada->clear();
        QVERIFY(!enviar->isEnabled());
        QTest::keyClicks(entrada, u"  "_s);
        QVERIFY(!enviar->isEnabled());
        QTest::keyClicks(entrada, u"m"_s);
        QVERIFY(enviar->isEnabled());
        QVERIFY(child<QPushButton>(&janela, "pdf")->isEnabled());
    }

    // An order without items, or one that cannot be read, is refused and the window does not open.
    void janelaNaoAbre_data() {
        QTest::addColumn<int>("itens");
        QTest::addColumn<bool>("pedidoAusente");
        QTest::addColumn<QString>("caixa");
        QTest::addColumn<Icon>("icone");
        QTest::newRow("sem itens") << 0 << false << u"Aviso: Pedido sem itens!"_s << Icon::Warning;
        QTest::newRow("pedido ausente") << 2 << true << u"Erro: Pedido 1 não encontrado!"_s << Icon::Critical;
    }
    void janelaNaoAbre() {
        QFETCH(int, itens);
        QFETCH(bool, pedidoAusente);
        QFETCH(QString, caixa);
        QFETCH(Icon, icone);
        PedidoImpresso p;
        p.itens = itens;
        preparar(p);
        if (pedidoAusente) {
            Table pedidos(m_folder->store(), "pedidos");
            QVERIFY(pedidos.open());
            pedidos.rec().setInteger("ID", kIdPedidoImpresso);
            QCOMPARE(pedidos.get("KEYID"), Status::Ok);
            QCOMPARE(pedidos.remove(), Status::Ok);
        }
        bool abriu = false;
        QTimer vigia;
        connect(&vigia, &QTimer::timeout, this, [&] {
            if (auto* janela = qobject_cast<ImpPedido*>(QApplication::activeModalWidget())) {
                abriu = true;
                janela->reject();
            }
        });
        vigia.start(10);
        MessageBox::setNextAnswers({Button::Ok});
        ImpPedido::executar(nullptr, contexto(), kIdPedidoImpresso);
        QCOMPARE(shownBoxes(), QStringList{caixa});
        QCOMPARE(MessageBox::shown().first().icon, icone);
        QVERIFY(!abriu);
    }

    // On closing, the main address clears the alternative and any other address becomes it.
    void fecharLembraEmail_data() {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("o principal") << u"compras@ferragens.com.br"_s << u""_s;
        QTest::newRow("outro") << u"marta@ferragens.com.br"_s << u"marta@ferragens.com.br"_s;
        QTest::newRow("em branco") << u""_s << u"antigo@ferragens.com.br"_s;
    }
    void fecharLembraEmail() {
        QFETCH(QString, digitado);
        QFETCH(QString, esperado);
        PedidoImpresso p;
        p.emailQav = u"antigo@ferragens.com.br"_s;
        preparar(p);
        {
            ImpPedido janela(contexto(), kIdPedidoImpresso);
            child<QLineEdit>(&janela, "email")->setText(digitado);
            QCOMPARE(emailQav(), u"antigo@ferragens.com.br"_s);
            janela.reject();
        }
        QCOMPARE(emailQav(), esperado);
        QCOMPARE(shownBoxes(), QStringList());
    }

    void fecharComClienteBloqueado() {
        preparar();
        Store outra(m_folder->path());
        Table formulario(outra, "clientes");
        QVERIFY(formulario.open());
        formulario.rec().setInteger("ID", kIdClienteImpresso);
        QCOMPARE(formulario.get("KEYID"), Status::Ok);
        QCOMPARE(formulario.hold(0), Status::Ok);
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        child<QLineEdit>(&janela, "email")->setText(u"marta@ferragens.com.br"_s);
        MessageBox::setNextAnswers({Button::Ok});
        janela.reject();
        QCOMPARE(shownBoxes(), QStringList{u"Erro: Erro (43) ao grava cliente!"_s});
        QVERIFY(!janela.isVisible());
    }

    // The mail program is handed the order's PDF, the subject and the body; the PDF stays for it to read.
    void enviarEmail_data() {
        QTest::addColumn<QString>("contato");
        QTest::addColumn<QString>("saudacao");
        QTest::newRow("com contato") << u"Marta"_s << u"Att Marta\n\nSegue em anexo"_s;
        QTest::newRow("sem contato") << u""_s << u"Att Setor de Compras\n\nSegue em anexo"_s;
    }
    void enviarEmail() {
        QFETCH(QString, contato);
        QFETCH(QString, saudacao);
        PedidoImpresso p;
        p.contato = contato;
        preparar(p);
        instalarXdgEmail(0);
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        child<QPushButton>(&janela, "enviarEmail")->click();
        QCOMPARE(shownBoxes(), QStringList());
        const QStringList args = argumentos();
        QCOMPARE(args.last(), u"compras@ferragens.com.br"_s);
        QCOMPARE(depois(args, u"--subject"_s), u"Confirmação do Pedido"_s);
        QVERIFY2(depois(args, u"--body"_s).startsWith(saudacao), qPrintable(depois(args, u"--body"_s)));
        QCOMPARE(depois(args, u"--attach"_s), pdf());
        QVERIFY(pdf().startsWith(m_tmp->path()));
        QCOMPARE(inicio(pdf()), QByteArray("%PDF"));
        QCOMPARE(QDir(QDir::currentPath()).canonicalPath(), QDir(m_program->path()).canonicalPath());
    }

    // A failure is told with the mail program's code and the file; the PDF is not left behind.
    void falhaNoEmail_data() {
        QTest::addColumn<QString>("endereco");
        QTest::addColumn<int>("saida");
        QTest::addColumn<bool>("rodou");
        QTest::addColumn<QStringList>("caixas");
        QTest::newRow("endereço inválido") << u"marta"_s << 0 << false
                                           << QStringList{u"Erro: E-mail inválido: marta!\nVerifique!!"_s,
                                                          u"Mail delivery error: "_s + GETMAPIERRORTEXT(25) +
                                                              u"\nError number 25\nArquivo: "_s};
        QTest::newRow("o programa falhou") << u"marta@ferragens.com.br"_s << 4 << true
                                           << QStringList{u"Mail delivery error: "_s + GETMAPIERRORTEXT(2) +
                                                          u"\nError number 2\nArquivo: "_s};
    }
    void falhaNoEmail() {
        QFETCH(QString, endereco);
        QFETCH(int, saida);
        QFETCH(bool, rodou);
        QFETCH(QStringList, caixas);
        preparar();
        instalarXdgEmail(saida);
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        child<QLineEdit>(&janela, "email")->setText(endereco);
        MessageBox::setNextAnswers(QList<Button>(caixas.size(), Button::Ok));
        child<QPushButton>(&janela, "enviarEmail")->click();
        caixas.last() += QDir::toNativeSeparators(pdf());
        QCOMPARE(shownBoxes(), caixas);
        QCOMPARE(QFile::exists(argumentosPath()), rodou);
        QVERIFY(!QFile::exists(pdf()));
    }

    // An address the mail hand-over refused is not kept as the customer's; one it took is.
    void enderecoRecusadoNaoLembrado() {
        preparar();
        instalarXdgEmail(0);
        {
            ImpPedido janela(contexto(), kIdPedidoImpresso);
            child<QLineEdit>(&janela, "email")->setText(u"marta"_s);
            MessageBox::setNextAnswers({Button::Ok, Button::Ok});
            child<QPushButton>(&janela, "enviarEmail")->click();
            QCOMPARE(MessageBox::shown().size(), 2);
            janela.reject();
        }
        QCOMPARE(emailQav(), QString());
        {
            ImpPedido janela(contexto(), kIdPedidoImpresso);
            child<QLineEdit>(&janela, "email")->setText(u"marta@ferragens.com.br"_s);
            child<QPushButton>(&janela, "enviarEmail")->click();
            janela.reject();
        }
        QCOMPARE(emailQav(), u"marta@ferragens.com.br"_s);
    }

    // A mail program that takes no attachment: the user is told to attach the file, which stays.
    void programaDeEmailSemAnexo() {
        preparar();
        instalarXdgEmail(0);
        instalarPrograma(u"xdg-mime"_s, 0, u"org.gnome.Geary.desktop"_s);
        instalarPrograma(u"dbus-send"_s, 0);
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        MessageBox::setNextAnswers({Button::Ok});
        child<QPushButton>(&janela, "enviarEmail")->click();
        QCOMPARE(shownBoxes(),
                 QStringList{u"Aviso: O programa de e-mail não recebeu o anexo.\nAnexe o arquivo "_s +
                             QDir::toNativeSeparators(pdf()) + u", mostrado na pasta que foi aberta."_s});
        QVERIFY(!argumentos().contains(u"--attach"_s));
        QCOMPARE(inicio(pdf()), QByteArray("%PDF"));
        QVERIFY(janela.isEnabled());
    }

    // The PDF is written and opened with the desktop's program for PDF files.
    void pdfAberto() {
        preparar();
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        child<QPushButton>(&janela, "pdf")->click();
        QCOMPARE(m_abertos.urls, QList<QUrl>{QUrl::fromLocalFile(pdf())});
        QCOMPARE(inicio(pdf()), QByteArray("%PDF"));
    }

    // Without a program for PDF files (none opens the file, or the desktop names none) the file is
    // still there: the user is told where, not shown an error, and offered its folder.
    void pdfSemProgramaParaAbrir_data() {
        QTest::addColumn<bool>("desktopSemLeitor");
        QTest::newRow("opening fails") << false;
        QTest::newRow("desktop names no program") << true;
    }
    void pdfSemProgramaParaAbrir() {
        QFETCH(bool, desktopSemLeitor);
        preparar();
        if (desktopSemLeitor)
            instalarPrograma(u"xdg-mime"_s, 0, QString());
        else
            QDesktopServices::unsetUrlHandler(u"file"_s);
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        MessageBox::setNextAnswers({Button::No});
        child<QPushButton>(&janela, "pdf")->click();
        QDesktopServices::setUrlHandler(u"file"_s, &m_abertos, "abrir");
        QCOMPARE(shownBoxes(),
                 QStringList{u"Aviso: O PDF do pedido foi gravado em:\n"_s + QDir::toNativeSeparators(pdf()) +
                             u"\n\nNão há programa para abrir arquivos PDF neste computador. "
                             u"Abrir a pasta do arquivo?"_s});
        QCOMPARE(inicio(pdf()), QByteArray("%PDF"));
        QVERIFY(m_abertos.urls.isEmpty());
    }

    // Each printout model has a file of its own: the second does not overwrite the first.
    void umArquivoPorModelo() {
        preparar();
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        auto* modelos = child<QListWidget>(&janela, "modelos");
        QVERIFY(modelos->count() >= 2);
        QStringList arquivos;
        for (int linha : {0, 1}) {
            modelos->setCurrentRow(linha);
            child<QPushButton>(&janela, "pdf")->click();
            arquivos << m_abertos.urls.last().toLocalFile();
            QCOMPARE(inicio(arquivos.last()), QByteArray("%PDF"));
            QVERIFY(QFileInfo(arquivos.last()).fileName().startsWith(u"pedido_00000042_modelo"_s));
        }
        QVERIFY(arquivos[0] != arquivos[1]);
        QVERIFY(QFile::exists(arquivos[0]));
    }

    // A PDF that cannot be written is reported and nothing is opened or sent.
    void pdfNaoGravado() {
        preparar();
        instalarXdgEmail(0);
        // A folder where the file should go.
        QVERIFY(QDir().mkpath(pdf()));
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        MessageBox::setNextAnswers({Button::Ok, Button::Ok});
        child<QPushButton>(&janela, "pdf")->click();
        child<QPushButton>(&janela, "enviarEmail")->click();
        QCOMPARE(MessageBox::shown().size(), 2);
        for (const MessageBox::Shown& caixa : MessageBox::shown()) {
            QCOMPARE(caixa.caption, u"Erro"_s);
            QVERIFY(!caixa.text.isEmpty());
        }
        QVERIFY(m_abertos.urls.isEmpty());
        QVERIFY(!QFile::exists(argumentosPath()));
    }

    // The preview draws the order's pages; the printer dialog, cancelled, prints nothing.
    void visualizarEImprimir() {
        preparar();
        ImpPedido janela(contexto(), kIdPedidoImpresso);
        int paginas = -1;
        whenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* previa) {
            if (auto* vista = previa->findChild<QPrintPreviewWidget*>())
                paginas = vista->pageCount();
            previa->reject();
        });
        child<QPushButton>(&janela, "visualizar")->click();
        QVERIFY(paginas >= 1);
        QString titulo;
        whenModal<QPrintDialog>([&](QPrintDialog* dialogo) {
            titulo = dialogo->windowTitle();
            dialogo->reject();
        });
        child<QPushButton>(&janela, "imprimir")->click();
        QCOMPARE(titulo, u"Imprimir"_s);
        QCOMPARE(shownBoxes(), QStringList());
    }

    // The order list's print button opens the window on the order chosen.
    void botaoDaListaAbreJanela() {
        preparar();
        registrarImpressaoPedido();
        JanelaPedidos lista(contexto());
        lista.setCurrentRow(0);
        auto* botao = child<QPushButton>(&lista, "botaoImprimir");
        QVERIFY(botao->isEnabled());
        QString titulo;
        QString email;
        whenModal<ImpPedido>([&](ImpPedido* janela) {
            titulo = janela->windowTitle();
            email = child<QLineEdit>(janela, "email")->text();
            janela->reject();
        });
        botao->click();
        QCOMPARE(titulo, u"Pedido"_s);
        QCOMPARE(email, u"compras@ferragens.com.br"_s);
    }
};

QAV_TEST_MAIN(TestGuiImpPedido)
#include "tst_gui_imppedido.moc"
