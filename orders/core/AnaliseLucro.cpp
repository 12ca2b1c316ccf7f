#include "orders/core/AnaliseLucro.h"

#include "orders/core/Aritmetica.h"
#include "orders/core/ComissaoPedido.h"
#include "orders/core/Frete.h"
#include "orders/core/IcmsSt.h"

namespace qav {

bool analiseAplicavel(const Pedido& pedido, const DadosPedido& dados) {
    return dados.vendedor.PERMITIR_ANALISE_LUCRO != 0 &&
           (pedido.ID_MUN_CARGA != 0 || pedido.FCONTA == fconta::Destinatario);
}

std::optional<AnaliseLucro> analisarLucro(const Pedido& pedido, const std::vector<PedidoItem>& itens,
                                          const DadosPedido& dados, Mensagens& mensagens) {
    AnaliseLucro analise;
    if (pedido.FCONTA != fconta::Destinatario) {
        const CstFrete* frete = dados.cstFretePara(dados.cliente.ID_REGIAO, pedido.ID_MUN_CARGA);
        if (frete == nullptr) {
            mensagens.push_back({QStringLiteral("Aviso!"),
                                 mensagem::freteInvalido(dados.cliente.ID_REGIAO, pedido.ID_MUN_CARGA)});
            return std::nullopt;
        }
        analise.NM_REGIAO = frete->NM_REGIAO;
        analise.VL_CUSTO_M3 = frete->VL_CUSTO_M3;
    }

    using E = LinhaAnalise::Escala;
    const int contribuinte = contribuinteIcmsPedido(dados.cliente);
    Decimal somaPreco, somaLiquido, somaPeso;
    for (const PedidoItem& item : itens) {
        const Produto& produto = dados.produto(item.PRODU);
        const StIcms& regra = regraIcmsSt(dados, pedido.ID_EMPRESA, produto, contribuinte);

        const Decimal preco = Decimal::divOrZero(item.VL_LIQUIDO, item.QTD).rounded(E::PRECO_UNIT);
        const Decimal tributos = percentual(preco, regra.ALIQ_ICMS + produto.ALIQ_PIS + produto.ALIQ_COFINS);
        const Decimal frete = produto.VOL_M3 * analise.VL_CUSTO_M3;
        const Decimal comissao = comissaoUnitaria(item, dados.empresa);
        const Decimal liquido = preco - tributos - frete - comissao;

        LinhaAnalise linha;
        linha.ID = item.PRODU;
        linha.DESCRICAO = produto.NOME.left(60);
        linha.PRECO_UNIT = preco;
        linha.ALIQ_ICMS = regra.ALIQ_ICMS;
        linha.ALIQ_PIS = produto.ALIQ_PIS;
        linha.ALIQ_COFINS = produto.ALIQ_COFINS;
        linha.M3 = guardar(produto.VOL_M3, E::M3);
        linha.PESO = guardar(produto.PESO_FATOR, E::PESO);
        linha.FATOR = guardar(Decimal::divOrZero(preco, linha.PESO), E::FATOR);
        linha.FATOR_LIQ = guardar(Decimal::divOrZero(liquido, linha.PESO), E::FATOR);
        analise.linhas.push_back(linha);

        analise.TT_TRIBUTOS += tributos * item.QTD;
        analise.TT_FRETE += frete * item.QTD;
        analise.TT_COMISSAO += comissao * item.QTD;
        somaPreco += preco * item.QTD;
        somaLiquido += liquido * item.QTD;
        somaPeso += linha.PESO * item.QTD;
    }

    LinhaAnalise fechamento;
    fechamento.fechamento = true;
    fechamento.FATOR = guardar(Decimal::divOrZero(somaPreco, somaPeso), E::FATOR);
    fechamento.FATOR_LIQ = guardar(Decimal::divOrZero(somaLiquido, somaPeso), E::FATOR);
    analise.linhas.push_back(fechamento);
    return analise;
}

} // namespace qav
