// qavtool relatorio: the reports of the "Relatórios" menu from a data folder, as a PDF (the printout the
// window previews) or as a CSV file for a spreadsheet.
#include "orders/core/SituacaoPedido.h"
#include "printout/core/ArquivoPdf.h"
#include "queries/core/ClienteConsulta.h"
#include "queries/core/RelatoriosMenu.h"
#include "store/core/Clock.h"
#include "tools/qavtool/Commands.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>

namespace qavtool {

namespace {

using namespace qav::relatorio;

struct Pedido {
    QString pasta;
    int empresa = 0;
    QString tipo;
    QString pdf;
    QString csv;
    std::optional<qav::Date> de, ate, hoje;
    std::int64_t cliente = 0;
    std::int64_t municipio = 0;
    QString situacao;
    QString ordem;
    QString subtotal;
    bool itens = false;
    int dias = 90;
};

void uso() {
    std::fputs("uso: qavtool relatorio --pasta DIR --empresa N TIPO [filtros] --pdf ARQUIVO | --csv ARQUIVO\n"
               "  TIPO: clientes | pedidos | comissao | pedidos-consulta | clientes-inativos\n"
               "  filtros: --de DD/MM/AAAA --ate DD/MM/AAAA --cliente N --municipio N\n"
               "           --situacao ativos|inativos|todos (clientes)\n"
               "           --situacao pendente|liberado|transmitido|cancelado|todas (pedidos)\n"
               "           --situacao pendente|liberado|faturado|cancelado|todas (pedidos-consulta)\n"
               "           --ordem nome|codigo|municipio|estado --subtotal dia|cliente --itens\n"
               "           --dias N (padrão 90) --hoje DD/MM/AAAA (padrão: hoje)\n",
               stderr);
}

std::optional<qav::Date> data(const char* texto) {
    const auto d = qav::Date::fromBr(texto);
    if (!d || !d->isValid())
        return std::nullopt;
    return d;
}

std::optional<std::int64_t> numero(const char* texto) {
    bool ok = false;
    const qlonglong n = QString::fromLocal8Bit(texto).toLongLong(&ok);
    return ok && n >= 0 ? std::optional<std::int64_t>(n) : std::nullopt;
}

std::optional<Pedido> lerArgumentos(int argc, char** argv) {
    Pedido p;
    for (int i = 0; i < argc; ++i) {
        const char* a = argv[i];
        const bool temValor = i + 1 < argc;
        const auto texto = [&] { return QString::fromLocal8Bit(argv[++i]); };
        if (std::strcmp(a, "--itens") == 0) {
            p.itens = true;
        } else if (a[0] != '-') {
            if (!p.tipo.isEmpty())
                return std::nullopt;
            p.tipo = QString::fromLocal8Bit(a);
        } else if (!temValor) {
            return std::nullopt;
        } else if (std::strcmp(a, "--pasta") == 0) {
            p.pasta = texto();
        } else if (std::strcmp(a, "--pdf") == 0) {
            p.pdf = texto();
        } else if (std::strcmp(a, "--csv") == 0) {
            p.csv = texto();
        } else if (std::strcmp(a, "--situacao") == 0) {
            p.situacao = texto();
        } else if (std::strcmp(a, "--ordem") == 0) {
            p.ordem = texto();
        } else if (std::strcmp(a, "--subtotal") == 0) {
            p.subtotal = texto();
        } else if (std::strcmp(a, "--de") == 0 || std::strcmp(a, "--ate") == 0 ||
                   std::strcmp(a, "--hoje") == 0) {
            const auto d = data(argv[++i]);
            if (!d)
                return std::nullopt;
            (a[2] == 'd' ? p.de : a[2] == 'a' ? p.ate : p.hoje) = d;
        } else {
            const auto n = numero(argv[++i]);
            if (!n)
                return std::nullopt;
            if (std::strcmp(a, "--empresa") == 0 && *n > 0 && *n < 100000)
                p.empresa = static_cast<int>(*n);
            else if (std::strcmp(a, "--cliente") == 0)
                p.cliente = *n;
            else if (std::strcmp(a, "--municipio") == 0)
                p.municipio = *n;
            else if (std::strcmp(a, "--dias") == 0 && *n <= 36500)
                p.dias = static_cast<int>(*n);
            else
                return std::nullopt;
        }
    }
    if (p.pasta.isEmpty() || p.empresa == 0 || p.tipo.isEmpty() || (p.pdf.isEmpty() && p.csv.isEmpty()))
        return std::nullopt;
    return p;
}

// The report the arguments ask for; nullptr for a type or choice that does not exist.
std::unique_ptr<Fonte> montar(qav::Store& store, const Pedido& p) {
    const auto escolha = [](const QString& valor, const std::map<QString, int>& opcoes, int padrao) {
        if (valor.isEmpty())
            return padrao;
        const auto o = opcoes.find(valor);
        return o == opcoes.end() ? -1 : o->second;
    };
    const qav::Date de = p.de.value_or(qav::Date()), ate = p.ate.value_or(qav::Date());
    if (p.tipo == QLatin1String("clientes")) {
        const int ordem = escolha(p.ordem,
                                  {{QStringLiteral("nome"), 0},
                                   {QStringLiteral("codigo"), 1},
                                   {QStringLiteral("municipio"), 2},
                                   {QStringLiteral("estado"), 3}},
                                  0);
        const int situacao = escolha(
            p.situacao,
            {{QStringLiteral("ativos"), 0}, {QStringLiteral("inativos"), 1}, {QStringLiteral("todos"), 2}},
            0);
        if (ordem < 0 || situacao < 0)
            return nullptr;
        return relatorioClientes(
            store, p.empresa,
            {static_cast<OrdemClientes>(ordem), static_cast<SituacaoClientes>(situacao), p.municipio});
    }
    if (p.tipo == QLatin1String("pedidos")) {
        namespace s = qav::situacao;
        const int situacao = escolha(p.situacao,
                                     {{QStringLiteral("pendente"), s::Pendente},
                                      {QStringLiteral("liberado"), s::Liberado},
                                      {QStringLiteral("transmitido"), s::Transmitido},
                                      {QStringLiteral("cancelado"), s::Cancelado},
                                      {QStringLiteral("todas"), s::Todas}},
                                     s::Todas);
        const int subtotal =
            escolha(p.subtotal, {{QStringLiteral("dia"), 0}, {QStringLiteral("cliente"), 1}}, 0);
        if (situacao < 0 || subtotal < 0)
            return nullptr;
        return relatorioPedidos(store, p.empresa,
                                {de, ate, p.cliente, situacao, static_cast<SubtotalPedidos>(subtotal)});
    }
    if (p.tipo == QLatin1String("comissao"))
        return relatorioComissao(store, p.empresa, {de, ate, p.cliente});
    if (p.tipo == QLatin1String("pedidos-consulta")) {
        const int situacao = escolha(p.situacao,
                                     {{QStringLiteral("pendente"), 1},
                                      {QStringLiteral("liberado"), 2},
                                      {QStringLiteral("faturado"), 3},
                                      {QStringLiteral("cancelado"), 4},
                                      {QStringLiteral("todas"), 0}},
                                     0);
        if (situacao < 0)
            return nullptr;
        return relatorioPedidosConsulta(store, p.empresa, {de, ate, situacao, p.itens});
    }
    if (p.tipo == QLatin1String("clientes-inativos")) {
        if (!conferirDias(p.dias).isEmpty())
            return nullptr;
        return relatorioClientesInativos(store, p.empresa, {p.dias, p.hoje.value_or(qav::Clock::today())});
    }
    return nullptr;
}

int falha(const QString& texto) {
    std::fprintf(stderr, "qavtool relatorio: %s\n", texto.toLocal8Bit().constData());
    return 1;
}

} // namespace

int runRelatorio(int argc, char** argv) {
    const std::optional<Pedido> p = lerArgumentos(argc, argv);
    if (!p) {
        uso();
        return 2;
    }
    if (!QDir(p->pasta).exists())
        return falha(QStringLiteral("Pasta %1 não encontrada.").arg(p->pasta));
    qav::Store store(QDir(p->pasta).absolutePath());
    const std::unique_ptr<Fonte> fonte = montar(store, *p);
    if (!fonte) {
        uso();
        return 2;
    }
    if (p->de && p->ate && *p->de > *p->ate)
        return falha(QStringLiteral("Período inicial maior que o período final!"));

    if (!p->csv.isEmpty()) {
        QSaveFile arquivo(p->csv);
        if (!arquivo.open(QIODevice::WriteOnly))
            return falha(QStringLiteral("Não foi possível criar %1: %2").arg(p->csv, arquivo.errorString()));
        const ResultadoRelatorio r = gravarCsv(arquivo, *fonte);
        if (!r.ok())
            return falha(r.erro);
        if (!arquivo.commit())
            return falha(QStringLiteral("Não foi possível gravar %1: %2").arg(p->csv, arquivo.errorString()));
    }
    if (!p->pdf.isEmpty()) {
        // Drawing needs the fonts of a GUI application, never a screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        int qtArgc = 1;
        char nome[] = "qavtool";
        char* qtArgv[] = {nome, nullptr};
        QGuiApplication app(qtArgc, qtArgv);
        const Cabecalho cabecalho{qav::consulta::buscarEmpresa(store, p->empresa).nome,
                                  p->hoje.value_or(qav::Clock::today())};
        ResultadoRelatorio r;
        const qav::Resultado gravado =
            qav::impressao::gravarPdf(p->pdf, fonte->titulo(), [&](QPagedPaintDevice& destino) {
                r = desenhar(destino, cabecalho, *fonte);
                return r.paginas;
            });
        if (!r.ok())
            return falha(r.erro);
        if (!gravado.ok)
            return falha(gravado.erro);
    }
    return 0;
}

} // namespace qavtool
