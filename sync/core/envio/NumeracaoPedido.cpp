#include "sync/core/envio/NumeracaoPedido.h"

#include "sync/core/envio/Comandos.h"

namespace qav::sync {

namespace {

// Numbers are read in batches of this many; a full batch of taken numbers means reading on.
constexpr int kLote = 100;

} // namespace

QString perguntaUltimoNumero(int idEmpresa) {
    return QStringLiteral("SELECT numped_gestao FROM gestao.qavcfg WHERE id_empresa=") +
           Conexao::inteiro(idEmpresa) + QStringLiteral(" FOR UPDATE;");
}

std::optional<long long> ultimoNumero(const ContextoComunicacao& c, const std::vector<Linha>& resposta) {
    if (resposta.empty())
        return std::nullopt;
    const long long ultimo = resposta.front().inteiro(0);
    if (ultimo == 0) {
        c.aviso(
            QStringLiteral("Falta definir número do pedido para comunicação no cadastro de empresas (ERP)!"));
        return std::nullopt;
    }
    return ultimo;
}

QString perguntaOcupados(const PedidosServidor& pedidos, int idEmpresa, long long candidato) {
    return QStringLiteral("SELECT numero FROM ") + QString::fromLatin1(pedidos.tabela) +
           QStringLiteral(" WHERE id_empresa=") + Conexao::inteiro(idEmpresa) +
           QString::fromLatin1(pedidos.filtro) + QStringLiteral(" AND numero>=") +
           Conexao::inteiro(candidato) + QStringLiteral(" ORDER BY numero LIMIT ") + QString::number(kLote) +
           QLatin1Char(';');
}

bool passarOcupados(long long& candidato, const std::vector<Linha>& ocupados) {
    int passados = 0;
    for (const Linha& l : ocupados) {
        if (l.inteiro(0) != candidato)
            break;
        ++candidato;
        ++passados;
    }
    return passados >= kLote;
}

QString atualizacaoNumero(int idEmpresa, long long numero) {
    return QStringLiteral("UPDATE gestao.qavcfg SET numped_gestao=") + Conexao::inteiro(numero) +
           QStringLiteral(" WHERE id_empresa=") + Conexao::inteiro(idEmpresa) + QLatin1Char(';');
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
