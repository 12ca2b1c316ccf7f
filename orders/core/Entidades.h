#pragma once
// The rows the order rules work on: only the fields the rules read or write, named as in the local
// tables. The order forms copy table records into these structs and the results back.
//
// Decimal fields carry their table scale in a nested `Escala`; a value written into a field goes
// through guardar(), which rounds half away from zero to that scale. The real64 money fields of the
// order header (TOTPR, DESCP, DESCV, IPI, FRETE, TOTAL, COMIS) are held exactly and never rounded.

#include "store/core/Decimal.h"

#include <QString>
#include <array>

namespace qav {

// The value as stored in a field of `escala` decimals.
inline Decimal guardar(const Decimal& valor, int escala) {
    return valor.rounded(escala);
}

struct Pedido {
    struct Escala {
        static constexpr int TX_FRETE = 2;
        static constexpr int VL_ICMSST = 2;
        static constexpr int PESO_LIQUIDO = 3;
        static constexpr int PESO_BRUTO = 3;
        static constexpr int VOL_M3 = 3;
        // real64 fields are exact; they are shown and exported with two decimals.
        static constexpr int MOEDA = 2;
    };
    int ID = 0;
    int ID_EMPRESA = 0;
    int NUMER = 0;
    int SITUA = 0;
    int CLIEN = 0;
    int COD_FORMAPAG = 0;
    int COD_PAUTA = 0;
    int TIPOV = 0;
    int FCONTA = 0;
    int PED_FLEX = 0;
    int DESC_CLIENTE_REDE = 0;
    int COD_LIBERACAO = 0;
    int ID_MUN_CARGA = 0;
    Decimal TOTPR; // real64
    Decimal IPI;   // real64
    Decimal FRETE; // real64
    Decimal TOTAL; // real64
    Decimal DESCP; // real64
    Decimal DESCV; // real64
    Decimal COMIS; // real64
    Decimal TX_FRETE;
    Decimal VL_ICMSST;
    Decimal PESO_LIQUIDO;
    Decimal PESO_BRUTO;
    Decimal VOL_M3;
    QString OBS;
};

struct PedidoItem {
    struct Escala {
        static constexpr int QTD = 3;
        static constexpr int PRUNI = 4;
        static constexpr int DESCP = 2;
        static constexpr int DESCV = 2;
        static constexpr int TOTAL = 2;
        static constexpr int VL_LIQUIDO = 4;
        static constexpr int BC_IPI = 2;
        static constexpr int VL_IPI = 2;
        static constexpr int VL_ICMSST = 2;
        static constexpr int COMIS = 2;
        static constexpr int VALOR_PRODUTO = 4;
        static constexpr int VALOR_ACESSORIOS = 2;
        static constexpr int PRECO_PAUTA = 4;
        static constexpr int PR_PAUTA_LIQ = 4;
        static constexpr int VL_FLEX = 2;
        static constexpr int VL_DESC_TOTAL = 2;
    };
    int ID_VENDASI = 0;
    int ID_VENDA = 0;
    int PRODU = 0;
    int PRECO_COM_IPI = 0;
    int QTD_PECAS = 0;
    int COMPRIMENTO = 0;
    Decimal QTD;
    Decimal PRUNI;
    Decimal DESCP;
    Decimal DESCV;
    Decimal TOTAL;
    Decimal VL_LIQUIDO;
    Decimal BC_IPI;
    Decimal VL_IPI;
    Decimal VL_ICMSST;
    Decimal COMIS;
    Decimal VALOR_PRODUTO;
    Decimal VALOR_ACESSORIOS;
    Decimal PRECO_PAUTA;
    Decimal PR_PAUTA_LIQ;
    Decimal VL_FLEX;
    Decimal VL_DESC_TOTAL;
    QString OBS;
};

struct Produto {
    struct Escala {
        static constexpr int PESOL = 3;
        static constexpr int PESOB = 3;
        static constexpr int VOL_M3 = 6;
        static constexpr int PRECO = 4;
        static constexpr int PREC2 = 4;
        static constexpr int PREC3 = 4;
        static constexpr int DESC_MAX = 2;
        static constexpr int ALIQ_IPI = 2;
        static constexpr int TAXA_COMISSAO = 2;
        static constexpr int PESO_METRO = 3;
        static constexpr int QTD_EMBALAGEM = 4;
        static constexpr int ALIQ_PIS = 2;
        static constexpr int ALIQ_COFINS = 2;
        static constexpr int PESO_FATOR = 3;
        static constexpr int LOTE_MUL_VENDA = 3;
        static constexpr int TX_DESC_LOTE = 2;
    };
    int ID_EMPRESA = 0;
    int ID = 0;
    int COD_ST = 0;
    int PRECO_PROMOCIONAL = 0;
    int SUBCATEGORIA = 0;
    int PERMITIR_DIF_LOTE = 0;
    int DESC_IPI_BC = 0;
    QString CODIGO;
    QString NOME;
    QString UNIDA;
    QString PRAZO;
    QString PRAZ2;
    QString PRAZ3;
    Decimal PESOL;
    Decimal PESOB;
    Decimal VOL_M3;
    Decimal PRECO;
    Decimal PREC2;
    Decimal PREC3;
    Decimal DESC_MAX;
    Decimal ALIQ_IPI;
    Decimal TAXA_COMISSAO;
    Decimal PESO_METRO;
    Decimal QTD_EMBALAGEM;
    Decimal ALIQ_PIS;
    Decimal ALIQ_COFINS;
    Decimal PESO_FATOR;
    Decimal LOTE_MUL_VENDA;
    Decimal TX_DESC_LOTE;

    // Sold by pieces x length, the quantity being the weight.
    bool vendidoPorPeca() const { return SUBCATEGORIA == 103 || SUBCATEGORIA == 1; }
};

struct Pauta {
    struct Escala {
        static constexpr int VL_PEDIDO = 2;
        static constexpr int TX_DESCONTO = 2;
    };
    int ID = 0;
    int ID_EMPRESA = 0;
    int CODIGO = 0;
    int ATIVO = 0;
    int BLOQ_DESCONTOS = 0;
    std::array<Decimal, 5> VL_PEDIDO;   // VL_PEDIDO1 .. VL_PEDIDO5
    std::array<Decimal, 5> TX_DESCONTO; // TX_DESCONTO1 .. TX_DESCONTO5
};

struct PautaProduto { // pauxpro.tps
    struct Escala {
        static constexpr int PRECO = 4; // PRECO1 .. PRECO3
        static constexpr int VALOR_PAUTA_ICMS_ST = 2;
        static constexpr int DIVISOR = 6;
        static constexpr int TX_COMISSAO = 2;
    };
    int ID_PAUTA = 0;
    int ID_PROD = 0;
    Decimal PRECO1;
    Decimal PRECO2;
    Decimal PRECO3;
    Decimal VALOR_PAUTA_ICMS_ST;
    Decimal DIVISOR;
    Decimal TX_COMISSAO;
};

struct FormaPag {
    struct Escala {
        static constexpr int DESCO = 2;
        static constexpr int ACRESC = 2;
    };
    int ID_FORMAPAG = 0;
    int ID_EMPRESA = 0;
    int CODIGO = 0;
    int LIBERA_CREDITO = 0;
    Decimal DESCO;
    Decimal ACRESC;
};

struct Cliente {
    int ID = 0;
    int PESSO = 0;
    int CONSFINAL = 0;
    int ID_MUNICIPIO = 0;
    int INDICADOR_IE = 0;
    int DESC_CLIENTE_REDE = 0;
    int ID_REGIAO = 0;
    QString ST_ESPECIFICA;
    Decimal LIMCRED; // real64
};

struct Municipio {
    int ID = 0;
    QString ESTADO;
};

struct Vendedor {
    struct Escala {
        static constexpr int TAXA_COMISSAO = 2;
        static constexpr int TX_DESCMAX = 2;
        static constexpr int DESC_PAUTA_FLEX = 2;
        static constexpr int DESC_RATEIO_COM = 2;
        static constexpr int VL_PED_MINIMO = 2;
    };
    int ID_EMPRESA = 0;
    int CODIGO = 0;
    int ORIGEM_COM = 0;
    Decimal TAXA_COMISSAO;
    Decimal TX_DESCMAX;
    Decimal DESC_PAUTA_FLEX;
    Decimal DESC_RATEIO_COM;
    Decimal VL_PED_MINIMO;
};

struct QavCfg {
    struct Escala {
        static constexpr int SALDO_FLEX = 2;
    };
    // Bits of BLOQUEIOS1.
    static constexpr int kPrecoMinimoPauta = 1;
    static constexpr int kDescontosBloqueados = 2;
    static constexpr int kLimiteCredito = 4;

    int ID_EMPRESA = 0;
    int BLOQUEIOS1 = 0;
    int PRECO_PADRAO = 0;
    int PRECO_COM_IPI = 0;
    QString BLOQ_VOLUMES;
    Decimal SALDO_FLEX;

    bool descontosBloqueados() const { return (BLOQUEIOS1 & kDescontosBloqueados) != 0; }
};

struct Empresa {
    int ID_EMPRESA = 0;
    int ADIC_COMISSAO = 0;
};

struct StIcms {
    struct Escala {
        static constexpr int PERC_BC_ICMS = 2;
        static constexpr int ALIQ_ICMS = 2;
        static constexpr int PERC_MARG_VL_ICMSST = 2;
        static constexpr int ALIQ_ICMSST = 2;
        static constexpr int PERC_RED_BC_ICMSST = 2;
    };
    int ID_EMPRESA = 0;
    int COD_ST = 0;
    int CONTRIBUINTE_ICMS = 0;
    QString UF;
    QString ST_ESPECIFICA;
    QString MODAL_BC_ICMSST;
    Decimal PERC_BC_ICMS;
    Decimal ALIQ_ICMS;
    Decimal PERC_MARG_VL_ICMSST;
    Decimal ALIQ_ICMSST;
    Decimal PERC_RED_BC_ICMSST;
};

struct CfgSis {
    int CODIGO = 0;
    int ATIVO = 0;
};

struct CstFrete {
    struct Escala {
        static constexpr int VL_CUSTO_M3 = 6;
    };
    int ID_REGIAO = 0;
    int ID_MUN_CARREG = 0;
    Decimal VL_CUSTO_M3;
    QString NM_REGIAO;
};

// Another order of the folder, as the flex balance sees it: its situation, whether it is a flex order
// and the sum of its items' flex.
struct OutroPedido {
    int ID = 0;
    int SITUA = 0;
    int PED_FLEX = 0;
    Decimal VL_FLEX;
};

} // namespace qav
