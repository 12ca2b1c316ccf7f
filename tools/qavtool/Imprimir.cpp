// qavtool imprimir: writes the PDF of an order of a data folder in one of the printout models, the
// same document the printout window saves, for scripts and for checking printouts.
#include "printout/core/ArquivoPdf.h"
#include "printout/core/DesenhoPedido.h"
#include "printout/core/DocumentoPedido.h"
#include "printout/core/ModelosPedido.h"
#include "store/core/Table.h"
#include "tools/qavtool/Commands.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <optional>

namespace qavtool {

namespace {

struct Pedido {
    QString pasta;
    int numero = 0;
    int modelo = 0;
    bool ordemProduto = false;
    QString pdf;
};

void uso() {
    std::fputs(
        "uso: qavtool imprimir --pasta DIR --pedido NUMERO --modelo 1..4 [--ordem-produto] --pdf ARQUIVO\n",
        stderr);
}

std::optional<int> inteiro(const char* texto) {
    bool ok = false;
    const int valor = QString::fromLocal8Bit(texto).toInt(&ok);
    return ok ? std::optional<int>(valor) : std::nullopt;
}

std::optional<Pedido> lerArgumentos(int argc, char** argv) {
    Pedido p;
    for (int i = 0; i < argc; ++i) {
        const char* a = argv[i];
        const bool temValor = i + 1 < argc;
        if (std::strcmp(a, "--ordem-produto") == 0) {
            p.ordemProduto = true;
        } else if (std::strcmp(a, "--pasta") == 0 && temValor) {
            p.pasta = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(a, "--pdf") == 0 && temValor) {
            p.pdf = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(a, "--pedido") == 0 && temValor) {
            const auto n = inteiro(argv[++i]);
            if (!n || *n <= 0)
                return std::nullopt;
            p.numero = *n;
        } else if (std::strcmp(a, "--modelo") == 0 && temValor) {
            const auto m = inteiro(argv[++i]);
            if (!m || !qav::impressao::modeloValido(*m))
                return std::nullopt;
            p.modelo = *m;
        } else {
            return std::nullopt;
        }
    }
    if (p.pasta.isEmpty() || p.pdf.isEmpty() || p.numero == 0 || p.modelo == 0)
        return std::nullopt;
    return p;
}

int falha(const QString& texto) {
    std::fprintf(stderr, "%s\n", texto.toLocal8Bit().constData());
    return 1;
}

// The id and company of the order with this number; nullopt when there is none.
std::optional<std::pair<int, int>> procurarPedido(qav::Store& store, int numero, QString& erro) {
    qav::Table pedidos(store, "pedidos");
    if (!pedidos.open()) {
        erro = QStringLiteral("Erro (%1) ao abrir pedidos.tps: %2")
                   .arg(pedidos.error().number())
                   .arg(pedidos.error().text);
        return std::nullopt;
    }
    pedidos.clear();
    pedidos.rec().setInteger("NUMER", numero);
    if (pedidos.get("KEYNUMER") != qav::Status::Ok) {
        erro = QStringLiteral("Pedido %1 não encontrado.").arg(numero);
        return std::nullopt;
    }
    return std::make_pair(static_cast<int>(pedidos.rec().integer("ID")),
                          static_cast<int>(pedidos.rec().integer("ID_EMPRESA")));
}

int modeloPedidoDaEmpresa(qav::Store& store, int idEmpresa) {
    qav::Table cfg(store, "qavcfg");
    if (!cfg.open())
        return 0;
    cfg.clear();
    cfg.rec().setInteger("ID_EMPRESA", idEmpresa);
    return cfg.get("KEYID_EMPRESA") == qav::Status::Ok ? static_cast<int>(cfg.rec().integer("MODELO_PEDIDO"))
                                                       : 0;
}

} // namespace

int runImprimir(int argc, char** argv) {
    const std::optional<Pedido> p = lerArgumentos(argc, argv);
    if (!p) {
        uso();
        return 2;
    }
    // Drawing needs the fonts of a GUI application, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char nome[] = "qavtool";
    char* qtArgv[] = {nome, nullptr};
    QGuiApplication app(qtArgc, qtArgv);

    if (!QDir(p->pasta).exists())
        return falha(QStringLiteral("Pasta %1 não encontrada.").arg(p->pasta));
    qav::Store store(QDir(p->pasta).absolutePath());
    QString erro;
    const auto pedido = procurarPedido(store, p->numero, erro);
    if (!pedido)
        return falha(erro);
    const auto [idPedido, idEmpresa] = *pedido;

    const auto modelo = static_cast<qav::impressao::Modelo>(p->modelo);
    bool oferecido = false;
    for (const auto& m : qav::impressao::modelosOferecidos(modeloPedidoDaEmpresa(store, idEmpresa)))
        oferecido = oferecido || m.modelo == modelo;
    if (!oferecido)
        return falha(
            QStringLiteral("Modelo %1 não é oferecido pela empresa %2.").arg(p->modelo).arg(idEmpresa));
    if (!qav::impressao::pedidoTemItens(store, idPedido))
        return falha(QStringLiteral("Pedido sem itens!"));

    qav::impressao::FalhaLeitura falhaLeitura;
    const auto documento = qav::impressao::lerDocumento(store, idPedido,
                                                        p->ordemProduto ? qav::impressao::OrdemItens::Produto
                                                                        : qav::impressao::OrdemItens::Entrada,
                                                        &falhaLeitura);
    if (!documento)
        return falha(falhaLeitura.texto);
    qav::impressao::OpcoesDesenho opcoes;
    opcoes.pastaPrograma = QDir::currentPath();
    if (const qav::Resultado gravado = qav::impressao::gravarPdf(p->pdf, *documento, modelo, opcoes);
        !gravado.ok)
        return falha(gravado.erro);
    return 0;
}

} // namespace qavtool
