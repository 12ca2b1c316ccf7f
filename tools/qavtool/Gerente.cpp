// qavtool gerente: the update of the sales office's manager database from the hub installation,
// without the window, with the settings of qav.cfg ("BD Gerente") in the working folder.
#include "base/core/Settings.h"
#include "store/core/Table.h"
#include "sync/core/gerente/Integracao.h"
#include "tools/qavtool/Commands.h"
#include "tools/qavtool/OuvinteTerminal.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <cstring>
#include <optional>

namespace qavtool {

namespace {

using namespace qav::sync;

struct Argumentos {
    QString pasta;
    int empresa = 0;
};

std::optional<Argumentos> ler(int argc, char** argv) {
    Argumentos a;
    for (int i = 0; i < argc; ++i) {
        const bool temValor = i + 1 < argc;
        if (std::strcmp(argv[i], "--pasta") == 0 && temValor) {
            a.pasta = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--empresa") == 0 && temValor) {
            bool ok = false;
            a.empresa = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
            if (!ok || a.empresa <= 0)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (a.pasta.isEmpty())
        return std::nullopt;
    return a;
}

int primeiraEmpresa(qav::Store& store) {
    qav::Table cfg(store, "qavcfg");
    if (!cfg.open() || cfg.seekFirst("KEYID_EMPRESA") != qav::Status::Ok || cfg.next() != qav::Status::Ok)
        return 0;
    return static_cast<int>(cfg.rec().integer("ID_EMPRESA"));
}

} // namespace

int runGerente(int argc, char** argv) {
    const auto a = ler(argc, argv);
    if (!a) {
        std::fputs("uso: qavtool gerente --pasta DIR [--empresa N]\n", stderr);
        return 2;
    }
    int qtArgc = 1;
    char nome[] = "qavtool";
    char* qtArgv[] = {nome, nullptr};
    QCoreApplication app(qtArgc, qtArgv);
    if (!QDir(a->pasta).exists()) {
        imprimir(stderr, QStringLiteral("Pasta %1 não encontrada.").arg(a->pasta));
        return 1;
    }
    qav::Store store(QDir(a->pasta).absolutePath());
    PedidoIntegracao pedido;
    pedido.idEmpresa = a->empresa != 0 ? a->empresa : primeiraEmpresa(store);
    pedido.configuracao = qav::Settings(QDir::currentPath()).bdGerente();
    OuvinteTerminal ouvinte;
    return atualizarGerente(store, ouvinte, pedido) ? 0 : 1;
}

} // namespace qavtool
