#include "app/core/CommandLine.h"

#include "base/core/Version.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qav {

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    const auto fail = [&line](const QString& error) {
        line.action = CommandLine::Action::Error;
        line.error = error;
        return line;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            line.action = CommandLine::Action::Version;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.action = CommandLine::Action::Help;
        } else if (arg == QLatin1String("--menu")) {
            line.userFolder = true;
        } else if (arg == QLatin1String("--pasta-programa") ||
                   arg.startsWith(QLatin1String("--pasta-programa="))) {
            QString folder;
            if (arg.contains(QLatin1Char('=')))
                folder = arg.section(QLatin1Char('='), 1);
            else if (i + 1 < arguments.size())
                folder = arguments.at(++i);
            if (folder.trimmed().isEmpty())
                return fail(QStringLiteral("a opção --pasta-programa precisa do nome de uma pasta"));
            line.programFolder = folder;
        } else if (arg.startsWith(QLatin1Char('-'))) {
            return fail(QStringLiteral("opção desconhecida: %1").arg(arg));
        } else {
            return fail(QStringLiteral("argumento inesperado: %1").arg(arg));
        }
    }
    if (line.userFolder && !line.programFolder.isEmpty())
        return fail(QStringLiteral("use --menu ou --pasta-programa, não os dois"));
    return line;
}

QString versionText() {
    return QStringLiteral("qavplus %1\n").arg(versaoPrograma);
}

QString helpText() {
    return QStringLiteral(
               "Uso: qavplus [OPÇÃO]\n"
               "Digitação de pedidos do representante comercial, com comunicação com o servidor da empresa.\n"
               "\n"
               "Sem opções, a pasta atual é a pasta do programa; as pastas de dados ficam ao lado dela.\n"
               "\n"
               "  --pasta-programa PASTA  usa PASTA como pasta do programa (criada se não existir)\n"
               "  --menu                  usa a pasta do programa do próprio usuário (%1),\n"
               "                          criada na primeira vez, com a oferta de uma pasta de demonstração\n"
               "  -h, --help              mostra esta ajuda e termina\n"
               "  -v, --version           mostra a versão e termina\n")
        .arg(QDir::toNativeSeparators(userProgramFolder()));
}

QString userProgramFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath();
    return QDir(base).filePath(QStringLiteral("qavplus/pgms"));
}

ProgramFolder resolveProgramFolder(const CommandLine& commandLine, const QString& currentFolder) {
    ProgramFolder folder;
    if (commandLine.userFolder)
        folder.path = userProgramFolder();
    else if (!commandLine.programFolder.isEmpty())
        folder.path = QDir(currentFolder).absoluteFilePath(commandLine.programFolder);
    else
        folder.path = currentFolder;
    folder.path = QDir::cleanPath(folder.path);
    const QFileInfo info(folder.path);
    if (info.exists() && !info.isDir()) {
        folder.error = QStringLiteral("%1 não é uma pasta.").arg(QDir::toNativeSeparators(folder.path));
        return folder;
    }
    if (!info.exists()) {
        if (!QDir().mkpath(folder.path)) {
            folder.error = QStringLiteral("Não foi possível criar a pasta do programa %1.")
                               .arg(QDir::toNativeSeparators(folder.path));
            return folder;
        }
        folder.created = true;
    }
    return folder;
}

} // namespace qav
