#pragma once
// Profit analysis of an order: per item, the net unit price less taxes, freight cost and commission,
// per weight unit.

#include "orders/core/DadosPedido.h"
#include "orders/core/Mensagens.h"

#include <optional>
#include <vector>

namespace qav {

struct LinhaAnalise {
    struct Escala {
        static constexpr int PRECO_UNIT = 2;
        static constexpr int ALIQ = 2;
        static constexpr int M3 = 4;
        static constexpr int PESO = 3;
        static constexpr int FATOR = 2;
    };
    bool fechamento = false; // the closing row carries only FATOR and FATOR_LIQ
    int ID = 0;
    QString DESCRICAO;
    Decimal PRECO_UNIT;
    Decimal ALIQ_ICMS;
    Decimal ALIQ_PIS;
    Decimal ALIQ_COFINS;
    Decimal M3;
    Decimal PESO;
    Decimal FATOR;
    Decimal FATOR_LIQ;
};

struct AnaliseLucro {
    std::vector<LinhaAnalise> linhas; // one per item, then the closing row
    Decimal TT_TRIBUTOS;
    Decimal TT_FRETE;
    Decimal TT_COMISSAO;
    QString NM_REGIAO;
    Decimal VL_CUSTO_M3;
};

// The analysis is made for a representative allowed to see it (VEN:PERMITIR_ANALISE_LUCRO), once the
// loading municipality is chosen, or when the receiver pays the freight: until then there is no
// freight cost to look up, and nothing to report as missing.
bool analiseAplicavel(const Pedido& pedido, const DadosPedido& dados);

// nullopt when the freight-cost row is missing (the message says so and the previous analysis stays).
std::optional<AnaliseLucro> analisarLucro(const Pedido& pedido, const std::vector<PedidoItem>& itens,
                                          const DadosPedido& dados, Mensagens& mensagens);

} // namespace qav
