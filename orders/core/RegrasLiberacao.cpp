#include "orders/core/RegrasLiberacao.h"

#include "orders/core/CodigoLiberacao.h"
#include "orders/core/RegraDescontos.h"
#include "orders/core/SituacaoPedido.h"
#include "store/core/FormatoBr.h"

#include <optional>

namespace qav {

namespace {

using Estado = ResultadoRegra::Estado;

// A receivable still open: anything above nine cents is a debt, less is a rounding leftover.
bool emAberto(const Titulo& titulo) {
    static const Decimal kSaldoDesprezivel = Decimal::parse("0.09").value();
    return titulo.SALDO > kSaldoDesprezivel;
}

// Days since the receivable fell due; nullopt for one without a due date, which cannot be overdue.
std::optional<int> diasVencido(const Titulo& titulo, Date hoje) {
    if (!titulo.VECTO.isValid() || !hoje.isValid())
        return std::nullopt;
    return hoje - titulo.VECTO;
}

QString valor(const Decimal& v) {
    return br::numero(v, 2);
}

ResultadoRegra resultado(Regra regra, Estado estado, const QString& resumo) {
    ResultadoRegra r;
    r.regra = regra;
    r.estado = estado;
    r.resumo = resumo;
    return r;
}

void recusar(ResultadoRegra& r, const QString& texto) {
    r.estado = Estado::Recusa;
    r.mensagens.push_back({QStringLiteral("Aviso"), texto});
}

// The code is only valid for the order it was given for: a changed total invalidates it.
bool codigoValido(const Pedido& pedido) {
    return codigoLiberacaoValido(pedido.COD_LIBERACAO, pedido.NUMER, pedido.CLIEN, pedido.TOTAL);
}

ResultadoRegra regraCodigoLiberacao(const Pedido& pedido) {
    if (pedido.COD_LIBERACAO == 0)
        return resultado(Regra::CodigoLiberacao, Estado::Passa, QStringLiteral("Sem código de liberação"));
    if (codigoValido(pedido))
        return resultado(Regra::CodigoLiberacao, Estado::Passa,
                         QStringLiteral("Código de liberação válido (chave %1)")
                             .arg(chaveCodigoLiberacao(pedido.COD_LIBERACAO), 2, 10, QLatin1Char('0')));
    ResultadoRegra r = resultado(Regra::CodigoLiberacao, Estado::Passa,
                                 QStringLiteral("Código de liberação não confere com o pedido"));
    recusar(r, QStringLiteral("Código de liberação inválido!"));
    return r;
}

// The rules of a released order, evaluated on any other one as if it were being released: the
// representative sees beforehand what would refuse it, and nothing is refused now.
ResultadoRegra soNaLiberacao(const Pedido& pedido, ResultadoRegra r) {
    if (pedido.SITUA == situacao::Liberado)
        return r;
    r.resumo = QStringLiteral("Na liberação: ") + r.resumo;
    r.estado = Estado::NaoSeAplica;
    r.mensagens.clear();
    r.perguntaConsultarTitulos = false;
    return r;
}

ResultadoRegra regraValorMinimo(const EntradaRegras& e) {
    const Decimal& minimo = e.dados.vendedor.VL_PED_MINIMO;
    const Decimal& total = e.pedido.TOTAL;
    if (minimo.isZero())
        return resultado(Regra::ValorMinimo, Estado::NaoSeAplica,
                         QStringLiteral("Representante sem valor mínimo de pedido"));
    ResultadoRegra r;
    r.regra = Regra::ValorMinimo;
    if (minimo > total) {
        r.resumo = QStringLiteral("Total ") + valor(total) + QStringLiteral(" < mínimo ") + valor(minimo);
        recusar(r, QStringLiteral("Pedido abaixo no mínimo (") + valor(minimo) + QStringLiteral(")!"));
    } else {
        r.resumo = QStringLiteral("Total ") + valor(total) + QStringLiteral(" ≥ mínimo ") + valor(minimo);
    }
    return soNaLiberacao(e.pedido, r);
}

ResultadoRegra regraComissao(const EntradaRegras& e) {
    const Decimal& rateio = e.dados.vendedor.DESC_RATEIO_COM;
    if (rateio.isZero())
        return resultado(Regra::Comissao, Estado::NaoSeAplica,
                         QStringLiteral("Representante sem rateio de desconto na comissão"));
    if (e.pedido.DESC_CLIENTE_REDE != 0)
        return resultado(Regra::Comissao, Estado::NaoSeAplica,
                         QStringLiteral("Cliente de rede: sem rateio de desconto na comissão"));
    const QString limite = QStringLiteral(" (rateio até ") + valor(rateio) + QStringLiteral(" %)");
    if (!e.recalculo.excessoComissao)
        return resultado(Regra::Comissao, Estado::Passa,
                         QStringLiteral("Descontos cabem na comissão") + limite);
    ResultadoRegra r =
        resultado(Regra::Comissao, Estado::Passa, QStringLiteral("Desconto maior que a comissão") + limite);
    recusar(r, QStringLiteral("Desconto maior que a comissão!"));
    return r;
}

ResultadoRegra regraFlex(const EntradaRegras& e) {
    if (e.pedido.PED_FLEX == 0)
        return resultado(Regra::Flex, Estado::NaoSeAplica, QStringLiteral("Pedido sem flex"));
    const Decimal& flex = e.recalculo.flex.VL_FLEX;
    // A pending order is shown the balance its release will find ("Na liberação: ..."), so that the
    // panel says before the release what the release will say.
    const Decimal& saldo = e.recalculo.flex.SALDO_FLEX_LIBERACAO;
    ResultadoRegra r = resultado(Regra::Flex, Estado::Passa,
                                 QStringLiteral("Flex ") + valor(flex) +
                                     QStringLiteral("; saldo disponível ") + valor(saldo));
    // Selling above the list price creates flex and never needs a balance.
    if (flex.isNegative() && (saldo + flex).isNegative())
        recusar(r, QStringLiteral("Não há saldo Flex (") + br::numeroSimples(saldo) +
                       QStringLiteral(") para liberação do pedido!"));
    return soNaLiberacao(e.pedido, r);
}

ResultadoRegra regraLimiteCredito(const EntradaRegras& e) {
    if (!e.dados.qavcfg.limiteCreditoAtivo())
        return resultado(Regra::LimiteCredito, Estado::NaoSeAplica,
                         QStringLiteral("Limite de crédito não verificado pela empresa"));
    if (e.dados.formaPagOuZeros().LIBERA_CREDITO == 1)
        return resultado(Regra::LimiteCredito, Estado::NaoSeAplica,
                         QStringLiteral("Forma de pagamento libera o crédito"));
    const Decimal& limite = e.dados.cliente.LIMCRED;
    const Decimal& total = e.pedido.TOTAL;
    ResultadoRegra r;
    r.regra = Regra::LimiteCredito;
    if (limite < total) {
        r.resumo = QStringLiteral("Limite ") + valor(limite) + QStringLiteral(" < total ") + valor(total);
        recusar(r, QStringLiteral("Limite de crédito do cliente (") + br::numeroSimples(limite) +
                       QStringLiteral(") é menor que o total do pedido!"));
    } else {
        r.resumo = QStringLiteral("Limite ") + valor(limite) + QStringLiteral(" ≥ total ") + valor(total);
    }
    return soNaLiberacao(e.pedido, r);
}

ResultadoRegra regraTitulosAtraso(const EntradaRegras& e) {
    const int diasBloqueio = e.dados.qavcfg.DIAS_BLOQ_CREDITO;
    if (diasBloqueio == 0)
        return resultado(Regra::TitulosAtraso, Estado::NaoSeAplica,
                         QStringLiteral("Títulos em atraso não verificados pela empresa"));
    // A valid code with an odd key is the commercial department's release despite overdue receivables.
    // An invalid code releases nothing (the code rule refuses it).
    if (codigoValido(e.pedido) && chaveCodigoLiberacao(e.pedido.COD_LIBERACAO) % 2 != 0)
        return resultado(Regra::TitulosAtraso, Estado::NaoSeAplica,
                         QStringLiteral("Títulos em atraso liberados pelo código de liberação"));

    const QString limite = QStringLiteral(" (limite %1)").arg(diasBloqueio);
    std::optional<int> maisAntigo;
    for (const Titulo& titulo : e.titulos) {
        const std::optional<int> dias = diasVencido(titulo, e.hoje);
        if (!dias || !emAberto(titulo))
            continue;
        if (*dias >= diasBloqueio) {
            ResultadoRegra r = resultado(Regra::TitulosAtraso, Estado::Recusa,
                                         QStringLiteral("Título vencido há %1 dias").arg(*dias) + limite);
            r.mensagens.push_back(
                {QStringLiteral("Títulos em Atraso"),
                 QStringLiteral("Cliente possui títulos em atraso.|Para liberar crédito favor "
                                "solicitar código de liberação junto ao setor comercial da "
                                "empresa.|Deseja consultar os títulos desse cliente?")});
            r.perguntaConsultarTitulos = true;
            return soNaLiberacao(e.pedido, r);
        }
        if (*dias > 0 && (!maisAntigo || *dias > *maisAntigo))
            maisAntigo = dias;
    }
    const QString resumo = maisAntigo ? QStringLiteral("Título vencido há %1 dias").arg(*maisAntigo) + limite
                                      : QStringLiteral("Nenhum título vencido") + limite;
    return soNaLiberacao(e.pedido, resultado(Regra::TitulosAtraso, Estado::Passa, resumo));
}

} // namespace

bool clienteDeOutroRepresentante(const DadosPedido& dados) {
    // A missing customer is a row of zeros: there is no representative to compare with.
    if (dados.cliente.ID == 0)
        return false;
    return dados.cliente.COD_VENDEDOR != dados.qavcfg.COD_VENDEDOR && dados.vendedor.QAV_TODOS_CLIENTES == 0;
}

Decimal descontoDoPedido(const DadosPedido& dados) {
    if (!dados.cliente.TX_DESC_PEDIDO.isZero())
        return dados.cliente.TX_DESC_PEDIDO;
    return dados.formaPagOuZeros().DESCO;
}

bool tipoSemFormaPag(int tipov) {
    switch (tipov) {
    case 3:
    case 4:
    case 5:
    case 7:
    case 8:
    case 10:
    case 11:
        return true;
    default:
        return false;
    }
}

bool temContasVencidas(const std::vector<Titulo>& titulos, Date hoje) {
    for (const Titulo& titulo : titulos) {
        const std::optional<int> dias = diasVencido(titulo, hoje);
        if (dias && *dias > 0 && emAberto(titulo))
            return true;
    }
    return false;
}

std::vector<ResultadoRegra> avaliarRegras(const EntradaRegras& entrada) {
    return {regraCodigoLiberacao(entrada.pedido),
            regraValorMinimo(entrada),
            avaliarDescontos(entrada),
            regraComissao(entrada),
            regraFlex(entrada),
            regraLimiteCredito(entrada),
            regraTitulosAtraso(entrada)};
}

std::vector<ResultadoRegra> regrasDaConfirmacao(const EntradaRegras& entrada) {
    std::vector<ResultadoRegra> mostrar;
    for (ResultadoRegra& r : avaliarRegras(entrada)) {
        if (r.estado != Estado::Aviso && r.estado != Estado::Recusa)
            continue;
        const bool recusa = r.estado == Estado::Recusa;
        mostrar.push_back(std::move(r));
        // The first refusal ends the confirmation: below the minimum nothing else is even tested.
        if (recusa)
            break;
    }
    return mostrar;
}

} // namespace qav
