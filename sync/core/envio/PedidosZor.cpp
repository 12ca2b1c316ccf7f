#include "sync/core/envio/Pedidos.h"

#include "base/core/Version.h"
#include "store/core/Clock.h"
#include "sync/core/envio/CabecalhoPedidoZor.h"
#include "sync/core/envio/Comandos.h"
#include "sync/core/envio/ItensPedidoZor.h"
#include "sync/core/envio/OperacaoFiscal.h"
#include "sync/core/envio/Percurso.h"

namespace qav::sync {

namespace {

// The ERP's order tables: the order's tax operation, the customer's second salesperson, and the
// flex figures in the log row.
class DestinoZor : public DestinoPedidos {
public:
    const PedidosServidor& pedidosServidor() const override { return kPedidosZor; }
    const ClientesServidor& clientes() const override { return clientesZor(); }
    bool usaTipoEFormaPagamento() const override { return true; }

    std::optional<PedidoInserido> inserir(ContextoComunicacao& c, TabelasPedidos& t,
                                          const PedidoAEnviar& p) override {
        const auto numero = reservarNumeroPedido(c, c.idEmpresa, kPedidosZor);
        if (!numero)
            return std::nullopt;
        const auto operacao = escolherOperacaoFiscal(c, p.cliente, p.tipo, p.estado);
        if (!operacao)
            return std::nullopt;
        SegundoVendedor segundo;
        if (!segundoVendedor(c, p.pedido, segundo))
            return std::nullopt;

        ErroSql erro;
        DadosCabecalho cabecalho{p.pedido,           p.cliente,       p.vendedor,    p.formaPag,
                                 p.empresa,          p.tipo,          *numero,       p.numeroQav,
                                 std::move(segundo), operacao->idTes, Clock::today()};
        cabecalho.idPedido = p.idPedidoServidor;
        if (!c.conexao.executar(comandoCabecalho(c.conexao, cabecalho), &erro)) {
            c.erroComando(erro);
            return std::nullopt;
        }
        const QString idPedido = Conexao::inteiro(p.idPedidoServidor);
        const DadosItens itens{.fontes = itensDoPedido(t, p, idPedido.toLongLong()), .operacao = *operacao};
        if (!enviarItens(c, itens) || !registrarNoLog(c, p, idPedido, *numero))
            return std::nullopt;
        return PedidoInserido{*numero, idPedido.toLongLong()};
    }

private:
    // The customer's second salesperson, as the head office registers salespeople.
    static bool segundoVendedor(ContextoComunicacao& c, const Record& vda, SegundoVendedor& segundo) {
        std::optional<Linha> linha;
        if (!envio::lerLinha(
                c,
                QStringLiteral("SELECT cod_vendedor2,com_ven,com_rec   FROM zor.corrent A   LEFT OUTER "
                               "JOIN gestao.vendedor B ON (a.cod_vendedor2=b.codigo AND "
                               "b.id_empresa=") +
                    Conexao::inteiro(c.empresaCabeca) + QStringLiteral(")   WHERE id_corrent=") +
                    Conexao::inteiro(vda.integer("CLIEN")) + QLatin1Char(';'),
                linha))
            return false;
        if (!linha)
            return true;
        segundo.codigo = linha->inteiro(0);
        if (linha->decimal(1) > Decimal()) {
            segundo.taxa = linha->decimal(1);
            segundo.tipo = QStringLiteral("F");
        } else if (linha->decimal(2) > Decimal()) {
            segundo.taxa = linha->decimal(2);
            segundo.tipo = QStringLiteral("R");
        }
        return true;
    }

    static bool registrarNoLog(ContextoComunicacao& c, const PedidoAEnviar& p, const QString& idPedido,
                               int numero) {
        const Record& vda = p.pedido;
        std::optional<Linha> soma, saldo;
        if (!envio::lerLinha(c,
                             QStringLiteral("SELECT sum(vl_flex) FROM zor.peditens WHERE id_pedido=") +
                                 idPedido + QLatin1Char(';'),
                             soma) ||
            !envio::lerLinha(c,
                             QStringLiteral("SELECT saldo_flex FROM gestao.flex WHERE id_empresa=") +
                                 Conexao::inteiro(vda.integer("ID_EMPRESA")) +
                                 QStringLiteral(" AND id_vendedor=") +
                                 Conexao::inteiro(p.vendedor.integer("ID_VENDEDOR")) + QLatin1Char(';'),
                             saldo))
            return false;
        const QString descricao =
            QString::number(numero) + QStringLiteral("/QAV+ ") + versaoPrograma.toString() +
            QStringLiteral("/Flex: ") + QString::number(vda.integer("PED_FLEX")) + QLatin1Char('/') +
            (soma ? soma->texto(0) : QString()) + QLatin1Char('/') + (saldo ? saldo->texto(0) : QString()) +
            QStringLiteral("/Dt:") + envio::dataBr(vda.integer("DATA"));
        ErroSql erro;
        if (!c.conexao.executar(
                QStringLiteral("INSERT INTO gestao.log(   nome_cpd, nome_usuario, operacao, tabela, "
                               "id, descricao, id_empresa)   VALUES ('QAV', 'QAV', 'INC', "
                               "'pedido', ") +
                    idPedido + QStringLiteral(", ") + c.conexao.textoSempre(descricao) + QLatin1Char(',') +
                    Conexao::inteiro(vda.integer("ID_EMPRESA")) + QStringLiteral(");"),
                &erro)) {
            c.erroComando(erro);
            return false;
        }
        return true;
    }
};

} // namespace

bool enviarPedidosZor(ContextoComunicacao& c) {
    DestinoZor zor;
    return enviarPedidos(c, zor);
}

} // namespace qav::sync
