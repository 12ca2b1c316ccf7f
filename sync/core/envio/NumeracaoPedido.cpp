#include "sync/core/envio/NumeracaoPedido.h"

#include "sync/core/envio/Comandos.h"

namespace qav::sync {

namespace {

// Numbers are read in batches of this many; a full batch of taken numbers means reading on.
constexpr int kLote = 100;

} // namespace

std::optional<int> reservarNumeroPedido(ContextoComunicacao& c, int idEmpresa,
                                        const PedidosServidor& pedidos) {
    const QString empresa = Conexao::inteiro(idEmpresa);
    std::optional<Linha> cfg;
    if (!envio::lerLinha(c,
                         QStringLiteral("SELECT numped_gestao FROM gestao.qavcfg WHERE id_empresa=") +
                             empresa + QStringLiteral(" FOR UPDATE;"),
                         cfg) ||
        !cfg)
        return std::nullopt;
    const long long ultimo = cfg->inteiro(0);
    if (ultimo == 0) {
        c.aviso(
            QStringLiteral("Falta definir número do pedido para comunicação no cadastro de empresas (ERP)!"));
        return std::nullopt;
    }
    long long candidato = ultimo + 1;
    for (;;) {
        ErroSql erro;
        const auto ocupados = c.conexao.consultar(
            QStringLiteral("SELECT numero FROM ") + QString::fromLatin1(pedidos.tabela) +
                QStringLiteral(" WHERE id_empresa=") + empresa + QString::fromLatin1(pedidos.filtro) +
                QStringLiteral(" AND numero>=") + Conexao::inteiro(candidato) +
                QStringLiteral(" ORDER BY numero LIMIT ") + QString::number(kLote) + QLatin1Char(';'),
            &erro);
        if (!ocupados) {
            c.erroSql(erro);
            return std::nullopt;
        }
        int passados = 0;
        for (const Linha& l : *ocupados) {
            if (l.inteiro(0) != candidato)
                break;
            ++candidato;
            ++passados;
        }
        if (passados < kLote)
            break;
    }
    if (c.conexao
            .querysql(QStringLiteral("UPDATE gestao.qavcfg SET numped_gestao=") +
                      Conexao::inteiro(candidato) + QStringLiteral(" WHERE id_empresa=") + empresa +
                      QLatin1Char(';'))
            .isEmpty())
        return std::nullopt;
    return static_cast<int>(candidato);
}

QString numeroPedidoQav(long long codVendedor, const QString& pontoInstalacao, long long numer) {
    return QStringLiteral("%1.%2.%3")
        .arg(codVendedor, 6, 10, QLatin1Char('0'))
        .arg(pontoInstalacao)
        .arg(numer, 8, 10, QLatin1Char('0'));
}

std::optional<std::vector<long long>> reservarIdsPedidos(ContextoComunicacao& c,
                                                         const PedidosServidor& pedidos, int quantidade) {
    ErroSql erro;
    const auto linhas =
        c.conexao.consultar(QStringLiteral("SELECT nextval('") + QString::fromLatin1(pedidos.sequencia) +
                                QStringLiteral("') FROM generate_series(1, ") + QString::number(quantidade) +
                                QStringLiteral(");"),
                            &erro);
    if (!linhas) {
        c.erroSql(erro);
        return std::nullopt;
    }
    std::vector<long long> ids;
    for (const Linha& l : *linhas)
        if (l.inteiro(0) > 0)
            ids.push_back(l.inteiro(0));
    if (static_cast<int>(ids.size()) != quantidade)
        return std::nullopt;
    return ids;
}

bool pedidoNoServidor(ContextoComunicacao& c, const PedidoEnviado& p, const PedidosServidor& pedidos,
                      std::optional<PedidoAchado>& achado) {
    std::optional<Linha> linha;
    if (!envio::lerLinha(
            c,
            QStringLiteral("SELECT numero, clien FROM ") + QString::fromLatin1(pedidos.tabela) +
                QStringLiteral(" WHERE id_empresa=") + Conexao::inteiro(p.idEmpresa) +
                QStringLiteral(" AND cod_vendedor=") + Conexao::inteiro(p.codVendedor) +
                QString::fromLatin1(pedidos.filtro) +
                (p.numero > 0 ? QStringLiteral(" AND numero=") + Conexao::inteiro(p.numero) : QString()) +
                QStringLiteral(" AND id_pedido=") + Conexao::inteiro(p.idPedido) +
                QStringLiteral(" AND num_ped_qav=") + c.conexao.textoSempre(p.numeroQav) + QLatin1Char(';'),
            linha))
        return false;
    achado.reset();
    if (linha)
        achado = PedidoAchado{linha->inteiro(0), linha->inteiro(1)};
    return true;
}

} // namespace qav::sync
