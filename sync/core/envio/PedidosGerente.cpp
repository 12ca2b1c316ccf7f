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
        // The day number is read right after the lock the number takes, in the same round trip, so
        // that two workstations never take the same day number; the new number goes with the header.
        const Date hoje = Clock::today();
        std::vector<std::vector<Linha>> respostas;
        if (!envio::perguntarJuntos(c, {perguntaUltimoNumero(c.idEmpresa), perguntaNumeroDia(c, hoje)},
                                    respostas))
            return std::nullopt;
        const auto ultimo = ultimoNumero(c, respostas[0]);
        if (!ultimo)
            return std::nullopt;
        const auto dia = envio::primeiraLinha(respostas[1]);
        const int numeroDia = static_cast<int>((dia ? dia->inteiro(0) : 0) + 1);
        long long numero = *ultimo + 1;
        bool cheio = true;
        while (cheio) {
            if (!envio::perguntarJuntos(c, {perguntaOcupados(kPedidosGerente, c.idEmpresa, numero)},
                                        respostas))
                return std::nullopt;
            cheio = passarOcupados(numero, respostas[0]);
        }

        ErroSql erro;
        const DadosCabecalhoGerente cabecalho{.pedido = p.pedido,
                                              .cliente = p.cliente,
                                              .vendedor = p.vendedor,
                                              .pauta = p.pauta,
                                              .qavcfg = *c.qavcfg,
                                              .numero = static_cast<int>(numero),
                                              .numeroDia = numeroDia,
                                              .numeroQav = p.numeroQav,
                                              .hoje = hoje,
                                              .idPedido = p.idPedidoServidor};
        if (!c.conexao.executarJuntos(
                {atualizacaoNumero(c.idEmpresa, numero), comandoCabecalhoGerente(c.conexao, cabecalho)},
                respostas, &erro)) {
            if (respostas.empty())
                c.erroSql(erro);
            else
                c.erroComando(erro);
            return std::nullopt;
        }
        const QString idPedido = Conexao::inteiro(p.idPedidoServidor);
        const DadosItensGerente itens{.fontes = itensDoPedido(t, p, p.idPedidoServidor),
                                      .estado = p.estado,
                                      .numero = static_cast<int>(numero)};
        if (!enviarItensGerente(c, itens) || !registrarNoLog(c, p.pedido, idPedido, static_cast<int>(numero)))
            return std::nullopt;
        return PedidoInserido{static_cast<int>(numero), p.idPedidoServidor};
    }

private:
    // The question of the order's place among the company's orders of the day it is received on: one
    // after the last. The day is the one the order is stored under, so that the numbers of a day never
    // repeat.
    static QString perguntaNumeroDia(const ContextoComunicacao& c, Date dia) {
        return QStringLiteral("SELECT MAX(numero_dia) FROM gerente.pedidos WHERE id_empresa=") +
               Conexao::inteiro(c.idEmpresa) + QStringLiteral(" AND data=") + Conexao::data(dia) +
               QLatin1Char(';');
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
