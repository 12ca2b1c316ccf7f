// E-mail through the user's mail program: a scripted xdg-email, first on the PATH, records what it was
// given and answers with the exit code the case asks for.
#include "base/core/Mail.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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

QTEST_GUILESS_MAIN(TestMail)
#include "tst_mail.moc"
