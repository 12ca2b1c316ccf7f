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
        // The order's questions go to the server a few at a time, each batch in one round trip and
        // in the order they would go one by one: first the lock of the numbering with the questions
        // that do not depend on the number (the tax operation, the customer's second salesperson),
        // then the numbers taken after the last one with what the tax operation still needs, then the
        // new number with the header.
        EscolhaOperacaoFiscal fiscal(c, p.cliente, p.tipo, p.estado);
        std::vector<std::vector<Linha>> respostas;
        if (!envio::perguntarJuntos(
                c,
                {perguntaUltimoNumero(c.idEmpresa), comandoSegundoVendedor(c, p.pedido), fiscal.pergunta()},
                respostas))
            return std::nullopt;
        const auto ultimo = ultimoNumero(c, respostas[0]);
        if (!ultimo)
            return std::nullopt;
        const SegundoVendedor segundo = segundoVendedor(envio::primeiraLinha(respostas[1]));
        if (!fiscal.pergunta().isEmpty())
            fiscal.responder(envio::primeiraLinha(respostas[2]));

        long long numero = *ultimo + 1;
        if (!envio::perguntarJuntos(
                c, {perguntaOcupados(kPedidosZor, c.idEmpresa, numero), fiscal.pergunta()}, respostas))
            return std::nullopt;
        if (!fiscal.pergunta().isEmpty())
            fiscal.responder(envio::primeiraLinha(respostas[1]));
        bool cheio = passarOcupados(numero, respostas[0]);
        while (cheio) {
            if (!envio::perguntarJuntos(c, {perguntaOcupados(kPedidosZor, c.idEmpresa, numero)}, respostas))
                return std::nullopt;
            cheio = passarOcupados(numero, respostas[0]);
        }
        const OperacaoFiscal operacao = fiscal.operacao();

        ErroSql erro;
        DadosCabecalho cabecalho{p.pedido,
                                 p.cliente,
                                 p.vendedor,
                                 p.formaPag,
                                 p.empresa,
                                 p.tipo,
                                 static_cast<int>(numero),
                                 p.numeroQav,
                                 segundo,
                                 operacao.idTes,
                                 Clock::today()};
        cabecalho.idPedido = p.idPedidoServidor;
        if (!c.conexao.executarJuntos(
                {atualizacaoNumero(c.idEmpresa, numero), comandoCabecalho(c.conexao, cabecalho)}, respostas,
                &erro)) {
            if (respostas.empty())
                c.erroSql(erro);
            else
                c.erroComando(erro);
            return std::nullopt;
        }
        const QString idPedido = Conexao::inteiro(p.idPedidoServidor);
        const DadosItens itens{.fontes = itensDoPedido(t, p, p.idPedidoServidor), .operacao = operacao};
        if (!enviarItens(c, itens) || !registrarNoLog(c, p, idPedido, static_cast<int>(numero)))
            return std::nullopt;
        return PedidoInserido{static_cast<int>(numero), p.idPedidoServidor};
    }

private:
    // The question of the customer's second salesperson, as the head office registers salespeople.
    static QString comandoSegundoVendedor(const ContextoComunicacao& c, const Record& vda) {
        return QStringLiteral("SELECT cod_vendedor2,com_ven,com_rec   FROM zor.corrent A   LEFT OUTER "
                              "JOIN gestao.vendedor B ON (a.cod_vendedor2=b.codigo AND "
                              "b.id_empresa=") +
               Conexao::inteiro(c.empresaCabeca) + QStringLiteral(")   WHERE id_corrent=") +
               Conexao::inteiro(vda.integer("CLIEN")) + QLatin1Char(';');
    }

    static SegundoVendedor segundoVendedor(const std::optional<Linha>& linha) {
        SegundoVendedor segundo;
        if (!linha)
            return segundo;
        segundo.codigo = linha->inteiro(0);
        if (linha->decimal(1) > Decimal()) {
            segundo.taxa = linha->decimal(1);
            segundo.tipo = QStringLiteral("F");
        } else if (linha->decimal(2) > Decimal()) {
            segundo.taxa = linha->decimal(2);
            segundo.tipo = QStringLiteral("R");
        }
        return segundo;
    }

    static bool registrarNoLog(ContextoComunicacao& c, const PedidoAEnviar& p, const QString& idPedido,
                               int numero) {
        const Record& vda = p.pedido;
        // The two figures in one round trip.
        std::vector<std::vector<Linha>> respostas;
        if (!envio::perguntarJuntos(
                c,
                {QStringLiteral("SELECT sum(vl_flex) FROM zor.peditens WHERE id_pedido=") + idPedido +
                     QLatin1Char(';'),
                 QStringLiteral("SELECT saldo_flex FROM gestao.flex WHERE id_empresa=") +
                     Conexao::inteiro(vda.integer("ID_EMPRESA")) + QStringLiteral(" AND id_vendedor=") +
                     Conexao::inteiro(p.vendedor.integer("ID_VENDEDOR")) + QLatin1Char(';')},
                respostas))
            return false;
        const auto soma = envio::primeiraLinha(respostas[0]);
        const auto saldo = envio::primeiraLinha(respostas[1]);
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
