// qavdemo PROGRAM_FOLDER [FOLDER] [--produtos N] [--clientes N]
// Creates the data folder FOLDER (default "demo") beside PROGRAM_FOLDER with demonstration data and
// points the program's qav.cfg at it, so that qavplus started in PROGRAM_FOLDER opens on it.
// qavdemo --sql-servidor DATA_FOLDER
// Prints the central server's rows of the folder's company 1 (for a demonstration server): the
// office side of the same data, so that a communication run leaves the folder as it was.

#include "tools/qavdemo/DemoData.h"
#include "tools/qavdemo/ServidorDemo.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

namespace {

int usage() {
    std::fputs("uso: qavdemo PASTA_DO_PROGRAMA [PASTA] [--produtos N] [--clientes N]\n"
               "     qavdemo --sql-servidor PASTA_DE_DADOS\n",
               stderr);
    return 2;
}

bool readCount(const QStringList& args, qsizetype& i, int* out) {
    if (i + 1 >= args.size())
        return false;
    bool ok = false;
    const int value = args.at(++i).toInt(&ok);
    if (!ok || value < 0)
        return false;
    *out = value;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--sql-servidor")) {
        QString erro;
        const QString sql = qav::demo::sqlDoServidor(args.at(2), 1, &erro);
        if (sql.isEmpty()) {
            std::fprintf(stderr, "qavdemo: %s\n", qPrintable(erro));
            return 1;
        }
        std::fputs(sql.toUtf8().constData(), stdout);
        return 0;
    }
    QString programFolder;
    QString pasta;
    qav::demo::Options options;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--produtos")) {
            if (!readCount(args, i, &options.produtos))
                return usage();
        } else if (arg == QLatin1String("--clientes")) {
            if (!readCount(args, i, &options.clientes))
                return usage();
        } else if (arg.startsWith(QLatin1String("--"))) {
            return usage();
        } else if (programFolder.isEmpty()) {
            programFolder = arg;
        } else if (pasta.isEmpty()) {
            pasta = arg;
        } else {
            return usage();
        }
    }
    if (programFolder.isEmpty())
        return usage();
    if (pasta.isEmpty())
        pasta = QStringLiteral("demo");
    // Folder names are kept in qav.cfg with at most 8 characters and must be plain names.
    if (pasta.size() > 8 || pasta.contains(QLatin1Char('/')) || pasta.contains(QLatin1Char('\\')) ||
        pasta == QLatin1String("..") || pasta == QLatin1String(".")) {
        std::fputs("qavdemo: o nome da pasta deve ser um nome simples de até 8 caracteres\n", stderr);
        return 2;
    }

    if (!QDir().mkpath(programFolder)) {
        std::fprintf(stderr, "qavdemo: não foi possível criar %s\n", qPrintable(programFolder));
        return 1;
    }
    const QString programPath = QDir(programFolder).absolutePath();
    const QString dataFolder = QDir::cleanPath(programPath + QStringLiteral("/../") + pasta);

    QElapsedTimer timer;
    timer.start();
    const qav::demo::Outcome outcome = qav::demo::generate(dataFolder, options);
    if (!outcome.ok) {
        std::fprintf(stderr, "qavdemo: %s\n", qPrintable(outcome.error));
        return 1;
    }
    if (!qav::demo::selectFolder(programPath, pasta, options.idEmpresa)) {
        std::fprintf(stderr, "qavdemo: não foi possível gravar qav.cfg em %s\n", qPrintable(programPath));
        return 1;
    }
    std::printf("Pasta de dados %s criada em %lld ms:\n", qPrintable(QDir::toNativeSeparators(dataFolder)),
                static_cast<long long>(timer.elapsed()));
    for (auto it = outcome.records.cbegin(); it != outcome.records.cend(); ++it)
        std::printf("  %-14s %lld\n", qPrintable(it.key()), static_cast<long long>(it.value()));
    return 0;
}
