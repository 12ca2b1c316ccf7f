// E-mail through the user's mail program: scripted stand-ins for xdg-email, xdg-mime (which names the
// default mail program), Thunderbird, Evolution and dbus-send, alone on the PATH, record what they
// were given and answer with the exit code the case asks for.
#include "base/core/Mail.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace Qt::StringLiterals;

namespace {
const QString kCorpo =
    u"Att Marta\r\n\r\nSegue em anexo cópia do pedido para vossa conferência!\r\n\r\nAtenciosamente,"_s;
} // namespace

class TestMail : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_path;

    QString argumentosPath() const { return m_dir->filePath(u"argumentos"_s); }
    bool programaRodou() const { return QFile::exists(argumentosPath()); }

    // The scripted mail program: writes each argument followed by a NUL, then exits with `saida`.
    void instalarXdgEmail(int saida) {
        const QString script = m_dir->filePath(u"bin/xdg-email"_s);
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\nprintf '%s\\0' \"$@\" > '%1'\nexit %2\n")
                    .arg(argumentosPath())
                    .arg(saida)
                    .toUtf8());
        f.close();
        QVERIFY(f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser));
    }
    // A stand-in program `nome` that records its arguments in <nome>.args, waits `segundos` and exits
    // with `saida`; xdg-mime answers `saidaTexto` first.
    void instalar(const QString& nome, int saida, const QString& saidaTexto = QString(), int segundos = 0) {
        QFile f(m_dir->filePath(u"bin/"_s + nome));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QString script =
            QStringLiteral("#!/bin/sh\nprintf '%s\\0' \"$@\" > '%1.tmp'\n/bin/mv '%1.tmp' '%1'\n")
                .arg(m_dir->filePath(nome + u".args"_s));
        if (!saidaTexto.isEmpty())
            script += u"echo '"_s + saidaTexto + u"'\n"_s;
        if (segundos > 0)
            script += u"/bin/sleep "_s + QString::number(segundos) + u"\n"_s;
        script += u"exit "_s + QString::number(saida) + u"\n"_s;
        f.write(script.toUtf8());
        f.close();
        QVERIFY(f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser));
    }
    QStringList argumentosDe(const QString& nome) const {
        QFile f(m_dir->filePath(nome + u".args"_s));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lista = QString::fromUtf8(f.readAll()).split(QChar(0));
        lista.removeLast();
        return lista;
    }
    bool rodou(const QString& nome) const { return QFile::exists(m_dir->filePath(nome + u".args"_s)); }

    QStringList argumentos() const {
        QFile f(argumentosPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lista = QString::fromUtf8(f.readAll()).split(QChar(0));
        lista.removeLast(); // after the last NUL
        return lista;
    }
    QString anexo() {
        const QString arquivo = m_dir->filePath(u"pedido_00000042.pdf"_s);
        QFile f(arquivo);
        if (f.open(QIODevice::WriteOnly))
            f.write("%PDF-1.4\n");
        return arquivo;
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_dir->path()).mkdir(u"bin"_s));
        m_path = qgetenv("PATH");
        // Only the scripted program is found, never a mail program of the machine.
        qputenv("PATH", QFile::encodeName(m_dir->filePath(u"bin"_s)));
    }
    void cleanup() {
        qputenv("PATH", m_path);
        m_dir.reset();
    }

    void entregaMensagemAoProgramaDeEmail_data() {
        QTest::addColumn<QString>("destinatario");
        QTest::addColumn<QStringList>("enderecos");
        QTest::newRow("um") << u"compras@ferragens.com.br"_s << QStringList{u"compras@ferragens.com.br"_s};
        QTest::newRow("dois com ponto e vírgula")
            << u" compras@ferragens.com.br; marta.souza@ferragens.com.br "_s
            << QStringList{u"compras@ferragens.com.br"_s, u"marta.souza@ferragens.com.br"_s};
        QTest::newRow("dois com vírgula e vazio")
            << u"compras+pedidos@ferragens.com.br,,joão@padaria.com.br"_s
            << QStringList{u"compras+pedidos@ferragens.com.br"_s, u"joão@padaria.com.br"_s};
    }
    void entregaMensagemAoProgramaDeEmail() {
        QFETCH(QString, destinatario);
        QFETCH(QStringList, enderecos);
        instalarXdgEmail(0);
        const QString arquivo = anexo();
        QCOMPARE(SENDMAIL(destinatario, u"Confirmação do Pedido"_s, kCorpo, arquivo, kMapiMostrarMensagem),
                 kMapiSucesso);
        const QStringList args = argumentos();
        const auto depois = [&](const QString& opcao) {
            const qsizetype i = args.indexOf(opcao);
            return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : u"<ausente>"_s;
        };
        QCOMPARE(depois(u"--subject"_s), u"Confirmação do Pedido"_s);
        // The mail program takes plain line feeds.
        QCOMPARE(depois(u"--body"_s),
                 u"Att Marta\n\nSegue em anexo cópia do pedido para vossa conferência!\n\nAtenciosamente,"_s);
        QCOMPARE(depois(u"--attach"_s), QFileInfo(arquivo).absoluteFilePath());
        QCOMPARE(args.mid(args.size() - enderecos.size()), enderecos);
    }

    // Nothing reaches the mail program unless every recipient looks like an address.
    void destinatarioInvalido_data() {
        QTest::addColumn<QString>("destinatario");
        QTest::newRow("vazio") << u""_s;
        QTest::newRow("só separadores") << u" ; , "_s;
        QTest::newRow("sem arroba") << u"compras.ferragens.com.br"_s;
        QTest::newRow("sem domínio") << u"compras@"_s;
        QTest::newRow("domínio sem ponto") << u"compras@ferragens"_s;
        QTest::newRow("final de uma letra") << u"compras@ferragens.c"_s;
        QTest::newRow("final com número") << u"compras@ferragens.c0m"_s;
        QTest::newRow("espaço no meio") << u"com pras@ferragens.com.br"_s;
        QTest::newRow("duas arrobas") << u"compras@@ferragens.com.br"_s;
        QTest::newRow("ponto duplo") << u"compras..loja@ferragens.com.br"_s;
        QTest::newRow("parece uma opção") << u"--help@ferragens.com.br"_s;
        QTest::newRow("nome e endereço") << u"Marta <marta@ferragens.com.br>"_s;
        QTest::newRow("segundo inválido") << u"compras@ferragens.com.br; marta"_s;
    }
    void destinatarioInvalido() {
        QFETCH(QString, destinatario);
        instalarXdgEmail(0);
        QCOMPARE(SENDMAIL(destinatario, u"Confirmação do Pedido"_s, kCorpo, anexo(), kMapiMostrarMensagem),
                 kMapiDestinatarioInvalido);
        QVERIFY(!programaRodou());
    }

    // What the mail program answers, in Simple MAPI codes; never 0 for a failure.
    void falhaDoProgramaDeEmail_data() {
        QTest::addColumn<int>("saida");
        QTest::addColumn<long>("codigo");
        QTest::newRow("erro de sintaxe") << 1 << 2L;
        QTest::newRow("arquivo não encontrado") << 2 << 11L;
        QTest::newRow("sem programa de e-mail") << 3 << 3L;
        QTest::newRow("ação falhou") << 4 << 2L;
        QTest::newRow("sem permissão") << 5 << 12L;
    }
    void falhaDoProgramaDeEmail() {
        QFETCH(int, saida);
        QFETCH(long, codigo);
        instalarXdgEmail(saida);
        QCOMPARE(SENDMAIL(u"compras@ferragens.com.br"_s, u"Confirmação do Pedido"_s, kCorpo, anexo(),
                          kMapiMostrarMensagem),
                 codigo);
        QVERIFY(programaRodou());
    }

    void semProgramaDeEmail() {
        QCOMPARE(SENDMAIL(u"compras@ferragens.com.br"_s, u"Confirmação do Pedido"_s, kCorpo, anexo(),
                          kMapiMostrarMensagem),
                 3L);
    }

    // A message announced with an attachment that is not there is not handed over without it.
    void anexoAusente() {
        instalarXdgEmail(0);
        QCOMPARE(SENDMAIL(u"compras@ferragens.com.br"_s, u"Confirmação do Pedido"_s, kCorpo,
                          m_dir->filePath(u"pedido_00000099.pdf"_s), kMapiMostrarMensagem),
                 11L);
        QVERIFY(!programaRodou());
    }

    // The default mail program's own compose command carries the attachment; xdg-email is not used.
    void compoeNoProgramaPadrao_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("programa");
        QTest::newRow("Thunderbird") << u"thunderbird.desktop"_s << u"thunderbird"_s;
        QTest::newRow("Thunderbird of the distribution")
            << u"org.mozilla.Thunderbird.desktop"_s << u"thunderbird"_s;
        QTest::newRow("Evolution") << u"org.gnome.Evolution.desktop"_s << u"evolution"_s;
    }
    void compoeNoProgramaPadrao() {
        QFETCH(QString, desktop);
        QFETCH(QString, programa);
        instalar(u"xdg-mime"_s, 0, desktop);
        instalar(programa, 0);
        instalarXdgEmail(0);
        const QString arquivo = anexo();
        const QString url = QUrl::fromLocalFile(QFileInfo(arquivo).absoluteFilePath()).toString();
        EntregaEmail entrega = EntregaEmail::SemAnexo;
        QCOMPARE(SENDMAIL(u"compras@ferragens.com.br; marta@ferragens.com.br"_s, u"Confirmação do Pedido"_s,
                          u"Att D'Ávila\r\n\r\nSegue em anexo"_s, arquivo, kMapiMostrarMensagem, &entrega),
                 kMapiSucesso);
        QCOMPARE(entrega, EntregaEmail::ComAnexo);
        // Started on its own: the mail program may go on running with the message.
        QTRY_VERIFY(rodou(programa));
        const QStringList args = argumentosDe(programa);
        if (programa == u"thunderbird"_s) {
            QCOMPARE(args.size(), 2);
            QCOMPARE(args[0], u"-compose"_s);
            QCOMPARE(args[1], u"to='compras@ferragens.com.br,marta@ferragens.com.br',"
                              u"subject='Confirmação do Pedido',body='Att D\u2019Ávila\n\nSegue em anexo',"
                              u"attachment='"_s +
                                  url + u"'"_s);
        } else {
            QCOMPARE(args.size(), 1);
            const QUrl mailto(args[0]);
            QCOMPARE(mailto.scheme(), u"mailto"_s);
            QCOMPARE(mailto.path(), u"compras@ferragens.com.br,marta@ferragens.com.br"_s);
            const QUrlQuery campos(mailto);
            QCOMPARE(campos.queryItemValue(u"subject"_s, QUrl::FullyDecoded), u"Confirmação do Pedido"_s);
            QCOMPARE(campos.queryItemValue(u"body"_s, QUrl::FullyDecoded),
                     u"Att D'Ávila\n\nSegue em anexo"_s);
            QCOMPARE(campos.queryItemValue(u"attach"_s, QUrl::FullyDecoded), url);
        }
        QVERIFY(!programaRodou());
    }

    // A default program that is not installed, or none known: xdg-email, with the attachment.
    void semComandoProprioUsaXdgEmail_data() {
        QTest::addColumn<QString>("desktop");
        QTest::newRow("Thunderbird not installed") << u"thunderbird.desktop"_s;
        QTest::newRow("KMail") << u"org.kde.kmail2.desktop"_s;
        QTest::newRow("no default") << QString();
    }
    void semComandoProprioUsaXdgEmail() {
        QFETCH(QString, desktop);
        if (!desktop.isEmpty())
            instalar(u"xdg-mime"_s, 0, desktop);
        instalarXdgEmail(0);
        const QString arquivo = anexo();
        EntregaEmail entrega = EntregaEmail::SemAnexo;
        QCOMPARE(SENDMAIL(u"compras@ferragens.com.br"_s, u"Confirmação do Pedido"_s, kCorpo, arquivo,
                          kMapiMostrarMensagem, &entrega),
                 kMapiSucesso);
        QCOMPARE(entrega, EntregaEmail::ComAnexo);
        const QStringList args = argumentos();
        QCOMPARE(args.mid(args.indexOf(u"--attach"_s) + 1, 1),
                 QStringList{QFileInfo(arquivo).absoluteFilePath()});
    }

    // A mail program that drops attachments gets the message, and the folder is shown with the file
    // selected, which the caller is told.
    void programaQueNaoAnexa() {
        instalar(u"xdg-mime"_s, 0, u"org.gnome.Geary.desktop"_s);
        instalarXdgEmail(0);
        instalar(u"dbus-send"_s, 0);
        const QString arquivo = anexo();
        EntregaEmail entrega = EntregaEmail::ComAnexo;
        QCOMPARE(SENDMAIL(u"compras@ferragens.com.br"_s, u"Confirmação do Pedido"_s, kCorpo, arquivo,
                          kMapiMostrarMensagem, &entrega),
                 kMapiSucesso);
        QCOMPARE(entrega, EntregaEmail::SemAnexo);
        const QStringList args = argumentos();
        QVERIFY(!args.contains(u"--attach"_s));
        QCOMPARE(args.last(), u"compras@ferragens.com.br"_s);
        const QStringList mostrar = argumentosDe(u"dbus-send"_s);
        QVERIFY2(mostrar.contains(u"org.freedesktop.FileManager1.ShowItems"_s),
                 qPrintable(mostrar.join(u' ')));
        QVERIFY(mostrar.contains(u"array:string:"_s +
                                 QUrl::fromLocalFile(QFileInfo(arquivo).absoluteFilePath()).toString()));
    }

    // Without a file manager answering on the session bus, the folder is opened.
    void programaQueNaoAnexaSemGerenciadorDeArquivos() {
        instalar(u"xdg-mime"_s, 0, u"org.gnome.Geary.desktop"_s);
        instalarXdgEmail(0);
        instalar(u"dbus-send"_s, 1);
        instalar(u"xdg-open"_s, 0);
        const QString arquivo = anexo();
        EntregaEmail entrega = EntregaEmail::ComAnexo;
        QCOMPARE(SENDMAIL(u"compras@ferragens.com.br"_s, u"Confirmação do Pedido"_s, kCorpo, arquivo,
                          kMapiMostrarMensagem, &entrega),
                 kMapiSucesso);
        QCOMPARE(entrega, EntregaEmail::SemAnexo);
        QTRY_COMPARE(argumentosDe(u"xdg-open"_s), QStringList{QFileInfo(arquivo).absolutePath()});
    }

    // The application's events go on while the mail program takes its time.
    void esperaSemTravar() {
        instalar(u"xdg-email"_s, 0, QString(), 1);
        int batidas = 0;
        QTimer relogio;
        QObject::connect(&relogio, &QTimer::timeout, [&] { ++batidas; });
        relogio.start(20);
        QCOMPARE(SENDMAIL(u"compras@ferragens.com.br"_s, u"Confirmação do Pedido"_s, kCorpo, anexo(),
                          kMapiMostrarMensagem),
                 kMapiSucesso);
        QVERIFY2(batidas >= 10, qPrintable(QString::number(batidas)));
        QVERIFY(rodou(u"xdg-email"_s));
    }

    // Every Simple MAPI code reads as its own text; any other code as the generic one with its number.
    void textoDeCadaCodigo() {
        QSet<QString> textos;
        for (long codigo = 0; codigo <= 26; ++codigo) {
            const QString texto = GETMAPIERRORTEXT(codigo);
            QVERIFY2(!texto.contains(u"(código"_s), qPrintable(texto));
            textos.insert(texto);
        }
        QCOMPARE(textos.size(), 27);
        QVERIFY(GETMAPIERRORTEXT(27).contains(u"27"_s));
        QVERIFY(GETMAPIERRORTEXT(-1).contains(u"-1"_s));
    }
};

QAV_TEST_GUILESS_MAIN(TestMail)
#include "tst_mail.moc"
