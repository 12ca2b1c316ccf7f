#include "base/core/Mail.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#ifdef Q_OS_WIN
#include <QDir>
#include <QLibrary>
#include <cstdint>
#include <vector>
#else
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#endif

namespace qav {

namespace {

// Simple MAPI result codes used here.
constexpr long kMapiSemProgramaEmail = 3;    // MAPI_E_LOGIN_FAILURE
constexpr long kMapiAnexoNaoEncontrado = 11; // MAPI_E_ATTACHMENT_NOT_FOUND

// Several addresses may be typed in the one entry, separated as mail programs do.
QStringList destinatarios(const QString& texto) {
    QStringList lista;
    for (const QString& parte : texto.split(QRegularExpression(QStringLiteral("[;,]"))))
        if (const QString endereco = parte.trimmed(); !endereco.isEmpty())
            lista << endereco;
    return lista;
}

// someone@domain.tld: one "@", nothing blank or unprintable, none of the characters that separate or
// quote addresses, a domain of two parts or more whose last part is letters only (two or more). An
// address may not start with "-", which the mail program would take for one of its options.
bool enderecoValido(const QString& endereco) {
    const qsizetype arroba = endereco.indexOf(QLatin1Char('@'));
    if (arroba <= 0 || arroba != endereco.lastIndexOf(QLatin1Char('@')) ||
        endereco.startsWith(QLatin1Char('-')))
        return false;
    static const QString separadores = QStringLiteral("<>()[]\",;:\\");
    for (const QChar c : endereco)
        if (c.isSpace() || !c.isPrint() || separadores.contains(c))
            return false;
    const QString local = endereco.left(arroba);
    if (local.startsWith(QLatin1Char('.')) || local.endsWith(QLatin1Char('.')) ||
        local.contains(QStringLiteral("..")))
        return false;
    const QStringList partes = endereco.mid(arroba + 1).split(QLatin1Char('.'));
    if (partes.size() < 2)
        return false;
    for (const QString& parte : partes)
        if (parte.isEmpty() || parte.startsWith(QLatin1Char('-')) || parte.endsWith(QLatin1Char('-')))
            return false;
    const QString& topo = partes.last();
    return topo.size() >= 2 && std::all_of(topo.begin(), topo.end(), [](QChar c) { return c.isLetter(); });
}

#ifdef Q_OS_WIN

// The public Simple MAPI layout (mapi.h), declared here so that no SDK header is needed.
using MapiUlong = unsigned long;
struct MapiRecipDesc {
    MapiUlong ulReserved;
    MapiUlong ulRecipClass;
    char* lpszName;
    char* lpszAddress;
    MapiUlong ulEIDSize;
    void* lpEntryID;
};
struct MapiFileDesc {
    MapiUlong ulReserved;
    MapiUlong flFlags;
    MapiUlong nPosition;
    char* lpszPathName;
    char* lpszFileName;
    void* lpFileType;
};
struct MapiMessage {
    MapiUlong ulReserved;
    char* lpszSubject;
    char* lpszNoteText;
    char* lpszMessageType;
    char* lpszDateReceived;
    char* lpszConversationID;
    MapiUlong flFlags;
    MapiRecipDesc* lpOriginator;
    MapiUlong nRecipCount;
    MapiRecipDesc* lpRecips;
    MapiUlong nFileCount;
    MapiFileDesc* lpFiles;
};
using MapiSendMail = MapiUlong(__stdcall*)(std::uintptr_t session, std::uintptr_t uiParam,
                                           MapiMessage* message, MapiUlong flags, MapiUlong reserved);
constexpr MapiUlong kMapiTo = 1;
constexpr MapiUlong kMapiPosicaoLivre = static_cast<MapiUlong>(-1);

long enviarPorMapi(const QStringList& enderecos, const QString& assunto, const QString& corpo,
                   const QString& anexo, long flags) {
    QLibrary mapi(QStringLiteral("mapi32"));
    auto enviar = reinterpret_cast<MapiSendMail>(mapi.resolve("MAPISendMail"));
    if (!enviar)
        return kMapiSemProgramaEmail;

    // The texts live in these arrays until the call returns.
    QByteArray assunto8 = assunto.toLocal8Bit();
    QByteArray corpo8 = corpo.toLocal8Bit();
    std::vector<QByteArray> nomes, enderecos8;
    for (const QString& e : enderecos) {
        nomes.push_back(e.toLocal8Bit());
        enderecos8.push_back((QStringLiteral("SMTP:") + e).toLocal8Bit());
    }
    std::vector<MapiRecipDesc> para(static_cast<size_t>(enderecos.size()));
    for (size_t i = 0; i < para.size(); ++i)
        para[i] = {0, kMapiTo, nomes[i].data(), enderecos8[i].data(), 0, nullptr};

    QByteArray caminho8 = QDir::toNativeSeparators(QFileInfo(anexo).absoluteFilePath()).toLocal8Bit();
    QByteArray nome8 = QFileInfo(anexo).fileName().toLocal8Bit();
    MapiFileDesc arquivo{0, 0, kMapiPosicaoLivre, caminho8.data(), nome8.data(), nullptr};

    MapiMessage mensagem{};
    mensagem.lpszSubject = assunto8.data();
    mensagem.lpszNoteText = corpo8.data();
    mensagem.nRecipCount = static_cast<MapiUlong>(para.size());
    mensagem.lpRecips = para.data();
    if (!anexo.isEmpty()) {
        mensagem.nFileCount = 1;
        mensagem.lpFiles = &arquivo;
    }
    return static_cast<long>(enviar(0, 0, &mensagem, static_cast<MapiUlong>(flags), 0));
}

#else

// xdg-email hands the message to the desktop's mail program, which shows it to the user; it returns
// once the program has it. A mail program that was not running yet may keep it waiting until the user
// closes that program: after this long the message is in the user's hands and the wait ends.
constexpr int kEsperaProgramaEmailMs = 30000;

constexpr long kMapiFalha = 2;           // MAPI_E_FAILURE
constexpr long kMapiAnexoSemAcesso = 12; // MAPI_E_ATTACHMENT_OPEN_FAILURE

// xdg-email's exit codes in Simple MAPI terms.
long codigoMapi(int saidaXdgEmail) {
    switch (saidaXdgEmail) {
    case 2: // a file on the command line does not exist
        return kMapiAnexoNaoEncontrado;
    case 3: // a required tool (the mail program) could not be found
        return kMapiSemProgramaEmail;
    case 5: // no permission to read a file on the command line
        return kMapiAnexoSemAcesso;
    default: // 1 syntax error, 4 the action failed
        return kMapiFalha;
    }
}

// Runs a program and waits for it while the application's events go on (the window that asked
// stays painted and answers); -1 when it did not start, -2 when it did not end normally, -3 when it
// was still running after `esperaMs` (it is left running, on its own).
int rodar(const QString& programa, const QStringList& argumentos, int esperaMs) {
    // Left without a parent: should the program keep running, the object goes away when it ends.
    auto* processo = new QProcess;
    processo->setProcessChannelMode(QProcess::ForwardedChannels);
    processo->start(programa, argumentos);
    if (!processo->waitForStarted()) {
        delete processo;
        return -1;
    }
    const QDeadlineTimer prazo(esperaMs);
    while (!processo->waitForFinished(20)) {
        if (processo->state() == QProcess::NotRunning)
            break;
        if (prazo.hasExpired()) {
            QObject::connect(processo, &QProcess::finished, processo, &QObject::deleteLater);
            return -3;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const bool terminou = processo->exitStatus() == QProcess::NormalExit;
    const int saida = processo->exitCode();
    delete processo;
    return terminou ? saida : -2;
}

// Mail programs take plain line feeds.
QString quebrasSimples(const QString& corpo) {
    QString texto = corpo;
    return texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// The user's default mail program, as the desktop names it ("thunderbird.desktop",
// "org.gnome.Evolution.desktop", ...); empty when it cannot be told.
QString programaEmailPadrao() {
    return programaPadrao(QStringLiteral("x-scheme-handler/mailto")).value_or(QString()).toLower();
}

enum class Familia { Desconhecida, Thunderbird, Evolution, AnexaPorXdgEmail, NaoAnexa };

// xdg-email itself passes the attachment to Thunderbird, Evolution and KMail; any other program gets
// it inside a mailto address, which most of them ignore.
Familia familia(const QString& desktop) {
    if (desktop.isEmpty())
        return Familia::Desconhecida;
    for (const char* nome : {"thunderbird", "betterbird", "icedove", "seamonkey"})
        if (desktop.contains(QLatin1String(nome)))
            return Familia::Thunderbird;
    if (desktop.contains(QLatin1String("evolution")))
        return Familia::Evolution;
    if (desktop.contains(QLatin1String("kmail")) || desktop.contains(QLatin1String("kontact")))
        return Familia::AnexaPorXdgEmail;
    return Familia::NaoAnexa;
}

QString executavel(Familia f, const QString& desktop) {
    if (f == Familia::Evolution)
        return QStandardPaths::findExecutable(QStringLiteral("evolution"));
    for (const char* nome : {"thunderbird", "betterbird", "icedove", "seamonkey"})
        if (desktop.contains(QLatin1String(nome)))
            return QStandardPaths::findExecutable(QString::fromLatin1(nome));
    return {};
}

// Thunderbird's -compose takes key='value' pairs; a quote inside a value would end it.
QString valorThunderbird(const QString& valor) {
    return QLatin1Char('\'') + QString(valor).replace(QLatin1Char('\''), QChar(0x2019)) + QLatin1Char('\'');
}

QStringList argumentosThunderbird(const QStringList& enderecos, const QString& assunto, const QString& corpo,
                                  const QString& anexo) {
    QStringList campos{QStringLiteral("to=") + valorThunderbird(enderecos.join(QLatin1Char(','))),
                       QStringLiteral("subject=") + valorThunderbird(assunto),
                       QStringLiteral("body=") + valorThunderbird(quebrasSimples(corpo))};
    if (!anexo.isEmpty())
        campos << QStringLiteral("attachment=") +
                      valorThunderbird(QUrl::fromLocalFile(QFileInfo(anexo).absoluteFilePath()).toString());
    return {QStringLiteral("-compose"), campos.join(QLatin1Char(','))};
}

QString codificar(const QString& texto) {
    return QString::fromLatin1(QUrl::toPercentEncoding(texto));
}

// Evolution reads the attachment from its own "attach" field of the mailto address.
QStringList argumentosEvolution(const QStringList& enderecos, const QString& assunto, const QString& corpo,
                                const QString& anexo) {
    QStringList para;
    for (const QString& e : enderecos)
        para << QString::fromLatin1(QUrl::toPercentEncoding(e, "@+"));
    QString url = QStringLiteral("mailto:") + para.join(QLatin1Char(',')) + QStringLiteral("?subject=") +
                  codificar(assunto) + QStringLiteral("&body=") + codificar(quebrasSimples(corpo));
    if (!anexo.isEmpty())
        url += QStringLiteral("&attach=") +
               codificar(QUrl::fromLocalFile(QFileInfo(anexo).absoluteFilePath()).toString());
    return {url};
}

long enviarPorXdgEmail(const QStringList& enderecos, const QString& assunto, const QString& corpo,
                       const QString& anexo) {
    const QString programa = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (programa.isEmpty())
        return kMapiSemProgramaEmail;

    QStringList argumentos{QStringLiteral("--utf8"), QStringLiteral("--subject"), assunto,
                           QStringLiteral("--body"), quebrasSimples(corpo)};
    if (!anexo.isEmpty())
        argumentos << QStringLiteral("--attach") << QFileInfo(anexo).absoluteFilePath();
    argumentos << enderecos;

    const int saida = rodar(programa, argumentos, kEsperaProgramaEmailMs);
    switch (saida) {
    case -1:
        return kMapiSemProgramaEmail;
    case -2:
        return kMapiFalha;
    case -3: // the mail program holds the message and is still open
    case 0:
        return kMapiSucesso;
    default:
        return codigoMapi(saida);
    }
}

// Shows the file selected in the desktop's file manager, or at least opens its folder.
void mostrarNaPasta(const QString& arquivo) {
    const QString caminho = QFileInfo(arquivo).absoluteFilePath();
    const QString dbus = QStandardPaths::findExecutable(QStringLiteral("dbus-send"));
    if (!dbus.isEmpty() &&
        rodar(dbus,
              {QStringLiteral("--session"), QStringLiteral("--print-reply"),
               QStringLiteral("--dest=org.freedesktop.FileManager1"), QStringLiteral("--type=method_call"),
               QStringLiteral("/org/freedesktop/FileManager1"),
               QStringLiteral("org.freedesktop.FileManager1.ShowItems"),
               QStringLiteral("array:string:") + QUrl::fromLocalFile(caminho).toString(),
               QStringLiteral("string:")},
              5000) == 0)
        return;
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!xdgOpen.isEmpty())
        QProcess::startDetached(xdgOpen, {QFileInfo(caminho).absolutePath()});
}

long enviarNoLinux(const QStringList& enderecos, const QString& assunto, const QString& corpo,
                   const QString& anexo, EntregaEmail* entrega) {
    const QString desktop = programaEmailPadrao();
    const Familia f = familia(desktop);
    if (f == Familia::Thunderbird || f == Familia::Evolution) {
        // The program's own compose command: it may start the whole mail program, which goes on
        // running with the message open; it is not waited for.
        if (const QString programa = executavel(f, desktop); !programa.isEmpty()) {
            const QStringList argumentos = f == Familia::Thunderbird
                                               ? argumentosThunderbird(enderecos, assunto, corpo, anexo)
                                               : argumentosEvolution(enderecos, assunto, corpo, anexo);
            if (QProcess::startDetached(programa, argumentos))
                return kMapiSucesso;
        }
    }
    if (f != Familia::NaoAnexa || anexo.isEmpty())
        return enviarPorXdgEmail(enderecos, assunto, corpo, anexo);
    // A mail program that would drop the attachment silently: it gets the message, and the user the
    // folder with the file to attach it by hand.
    const long resultado = enviarPorXdgEmail(enderecos, assunto, corpo, QString());
    if (resultado == kMapiSucesso) {
        mostrarNaPasta(anexo);
        if (entrega)
            *entrega = EntregaEmail::SemAnexo;
    }
    return resultado;
}

#endif

} // namespace

long SENDMAIL(const QString& destinatario, const QString& assunto, const QString& corpo, const QString& anexo,
              long flags, EntregaEmail* entrega) {
    if (entrega)
        *entrega = EntregaEmail::ComAnexo;
    const QStringList enderecos = destinatarios(destinatario);
    if (enderecos.isEmpty())
        return kMapiDestinatarioInvalido;
    for (const QString& endereco : enderecos)
        if (!enderecoValido(endereco))
            return kMapiDestinatarioInvalido;
    if (!anexo.isEmpty() && !QFileInfo(anexo).isFile())
        return kMapiAnexoNaoEncontrado;
#ifdef Q_OS_WIN
    return enviarPorMapi(enderecos, assunto, corpo, anexo, flags);
#else
    // The mail program always shows the message before it goes: the dialog flag is its only way.
    Q_UNUSED(flags);
    return enviarNoLinux(enderecos, assunto, corpo, anexo, entrega);
#endif
}

QString GETMAPIERRORTEXT(long codigo) {
    switch (codigo) {
    case 0:
        return QStringLiteral("A mensagem foi entregue ao programa de e-mail.");
    case 1:
        return QStringLiteral("O envio foi cancelado pelo usuário.");
    case 2:
        return QStringLiteral("O programa de e-mail não conseguiu enviar a mensagem.");
    case 3:
        return QStringLiteral("Não foi possível acessar o programa de e-mail. Verifique se há um programa "
                              "de e-mail instalado e configurado.");
    case 4:
        return QStringLiteral("O disco está cheio.");
    case 5:
        return QStringLiteral("Memória insuficiente para enviar a mensagem.");
    case 6:
        return QStringLiteral("Acesso negado pelo programa de e-mail.");
    case 7:
        return QStringLiteral("Erro desconhecido do programa de e-mail.");
    case 8:
        return QStringLiteral("Há sessões demais abertas no programa de e-mail.");
    case 9:
        return QStringLiteral("A mensagem tem anexos demais.");
    case 10:
        return QStringLiteral("A mensagem tem destinatários demais.");
    case 11:
        return QStringLiteral("O arquivo anexo não foi encontrado.");
    case 12:
        return QStringLiteral("Não foi possível abrir o arquivo anexo.");
    case 13:
        return QStringLiteral("Não foi possível gravar o arquivo anexo.");
    case 14:
        return QStringLiteral("Destinatário desconhecido.");
    case 15:
        return QStringLiteral("Tipo de destinatário inválido.");
    case 16:
        return QStringLiteral("Não há mensagens.");
    case 17:
        return QStringLiteral("Mensagem inválida.");
    case 18:
        return QStringLiteral("O texto da mensagem é grande demais.");
    case 19:
        return QStringLiteral("Sessão do programa de e-mail inválida.");
    case 20:
        return QStringLiteral("Tipo de mensagem não suportado.");
    case 21:
        return QStringLiteral("Destinatário ambíguo: o endereço corresponde a mais de um contato.");
    case 22:
        return QStringLiteral("A mensagem está em uso.");
    case 23:
        return QStringLiteral("Falha de rede.");
    case 24:
        return QStringLiteral("Campos de edição inválidos.");
    case 25:
        return QStringLiteral("Destinatário inválido.");
    case 26:
        return QStringLiteral("Operação não suportada pelo programa de e-mail.");
    default:
        return QStringLiteral("Erro desconhecido do programa de e-mail (código %1).").arg(codigo);
    }
}

std::optional<QString> programaPadrao(const QString& tipo) {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return std::nullopt;
    QProcess consulta;
    consulta.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), tipo});
    if (!consulta.waitForFinished(5000) || consulta.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    if (consulta.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(consulta.readAllStandardOutput()).trimmed();
}

} // namespace qav
