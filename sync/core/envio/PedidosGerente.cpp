#include "base/core/Version.h"
#include "store/core/Clock.h"
#include "sync/core/envio/CabecalhoPedidoGerente.h"
#include "sync/core/envio/ClienteGerente.h"
#include "sync/core/envio/Comandos.h"
#include "sync/core/envio/ItensPedidoGerente.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/envio/Percurso.h"

namespace qav::sync {

namespace {

// A sales office's manager database: the order with its number and its place among the office's
// orders of the day, the items each under its own tax operation, and a log row without the flex
// figures. The office has no second salesperson of the customer and no order types of its own.
class DestinoGerente : public DestinoPedidos {
public:
    const PedidosServidor& pedidosServidor() const override { return kPedidosGerente; }
    const ClientesServidor& clientes() const override { return clientesGerente(); }
    bool usaTipoEFormaPagamento() const override { return false; }

    std::optional<PedidoInserido> inserir(ContextoComunicacao& c, TabelasPedidos& t,
                                          const PedidoAEnviar& p) override {
        // Under the lock the number took, so that two workstations never take the same day number.
        const auto numero = reservarNumeroPedido(c, c.idEmpresa, kPedidosGerente);
        if (!numero)
            return std::nullopt;
        const Date hoje = Clock::today();
        const auto numeroDia = proximoNumeroDia(c, hoje);
        if (!numeroDia)
            return std::nullopt;

        ErroSql erro;
        const DadosCabecalhoGerente cabecalho{.pedido = p.pedido,
                                              .cliente = p.cliente,
                                              .vendedor = p.vendedor,
                                              .pauta = p.pauta,
                                              .qavcfg = *c.qavcfg,
                                              .numero = *numero,
                                              .numeroDia = *numeroDia,
                                              .numeroQav = p.numeroQav,
                                              .hoje = hoje,
                                              .idPedido = p.idPedidoServidor};
        if (!c.conexao.executar(comandoCabecalhoGerente(c.conexao, cabecalho), &erro)) {
            c.erroComando(erro);
            return std::nullopt;
        }
        const QString idPedido = Conexao::inteiro(p.idPedidoServidor);
        const DadosItensGerente itens{
            .fontes = itensDoPedido(t, p, idPedido.toLongLong()), .estado = p.estado, .numero = *numero};
        if (!enviarItensGerente(c, itens) || !registrarNoLog(c, p.pedido, idPedido, *numero))
            return std::nullopt;
        return PedidoInserido{*numero, idPedido.toLongLong()};
    }

private:
    // The order's place among the company's orders of the day it is received on: one after the last.
    // The day is the one the order is stored under, so that the numbers of a day never repeat.
    static std::optional<int> proximoNumeroDia(ContextoComunicacao& c, Date dia) {
        std::optional<Linha> linha;
        if (!envio::lerLinha(c,
                             QStringLiteral("SELECT MAX(numero_dia) FROM gerente.pedidos WHERE id_empresa=") +
                                 Conexao::inteiro(c.idEmpresa) + QStringLiteral(" AND data=") +
                                 Conexao::data(dia) + QLatin1Char(';'),
                             linha))
            return std::nullopt;
        return static_cast<int>((linha ? linha->inteiro(0) : 0) + 1);
    }

    static bool registrarNoLog(ContextoComunicacao& c, const Record& vda, const QString& idPedido,
                               int numero) {
        const QString descricao = QString::number(numero) + QStringLiteral("/QAV+ ") +
                                  versaoPrograma.toString() + QStringLiteral("/Dt:") +
                                  envio::dataBr(vda.integer("DATA"));
        ErroSql erro;
        if (!c.conexao.executar(
                QStringLiteral("INSERT INTO gestao.log(   nome_cpd, nome_usuario, operacao, tabela, "
                               "id, descricao)   VALUES ('QAV', 'QAV', 'INC', 'pedido', ") +
                    idPedido + QStringLiteral(", ") + c.conexao.textoSempre(descricao) + QStringLiteral(");"),
                &erro)) {
            c.erroComando(erro);
            return false;
        }
        return true;
    }
};

} // namespace

bool enviarPedidosGerente(ContextoComunicacao& c) {
    DestinoGerente gerente;
    return enviarPedidos(c, gerente);
}

} // namespace qav::sync
