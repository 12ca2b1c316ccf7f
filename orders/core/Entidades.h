#pragma once
// The rows the order rules work on: only the fields the rules read or write, named as in the local
// tables. The order forms copy table records into these structs and the results back.
//
// A decimal member keeps the scale of its field in the table catalogue (CamposPedido.h binds each
// member to its field); a value written into it goes through guardar(), which rounds half away from
// zero to that scale. The real64 money fields of the order header (TOTPR, DESCP, DESCV, IPI, FRETE,
// TOTAL, COMIS) and of the customer (LIMCRED) are held exactly and never rounded.

#include "store/core/Decimal.h"

#include <QString>
#include <array>
#include <optional>

namespace qav {

// The value as stored in a field of `escala` decimals.
inline Decimal guardar(const Decimal& valor, int escala) {
    return valor.rounded(escala);
}

struct Pedido {
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
    // What the item form needs to find, offer and show the product.
    int ATIVO = 0;
    int COD_ACESS1 = 0; // accessory subgroups the product requires (0: none)
    int COD_ACESS2 = 0;
    int COD_ACESS3 = 0;
    QString COD_BARRAS;
    QString PERMITE_ACESSORIOS; // "S": any accessory subgroup may be added
    QString CLASSE_ABC;
    Decimal QTD_ESTOQUE;

    // Sold by pieces x length, the quantity being the weight.
    bool vendidoPorPeca() const { return SUBCATEGORIA == 103 || SUBCATEGORIA == 1; }
};

struct Pauta {
    int ID = 0;
    int ID_EMPRESA = 0;
    int CODIGO = 0;
    int ATIVO = 0;
    int BLOQ_DESCONTOS = 0;
    std::array<Decimal, 5> VL_PEDIDO;   // VL_PEDIDO1 .. VL_PEDIDO5
    std::array<Decimal, 5> TX_DESCONTO; // TX_DESCONTO1 .. TX_DESCONTO5
};

struct PautaProduto { // pauxpro.tps
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
    int COD_VENDEDOR = 0;
    int LIB_CRED = 0;
    int ALERTA = 0;
    int FORMA_PAG = 0;
    int COD_PAUTA = 0;
    QString ST_ESPECIFICA;
    Decimal LIMCRED; // real64
    Decimal TX_DESC_PEDIDO;
};

struct Municipio {
    int ID = 0;
    QString ESTADO;
};

// Where a representative's commission rate comes from (VEN:ORIGEM_COM): the representative's own
// rate or the product's; with any other value an item keeps the rate it has.
namespace origemComissao {
enum : int { DoVendedor = 1, DoProduto = 2 };
} // namespace origemComissao

struct Vendedor {
    int ID_EMPRESA = 0;
    int CODIGO = 0;
    int ORIGEM_COM = 0;
    int QAV_TODOS_CLIENTES = 0;     // may sell to customers of other representatives
    int PERMITIR_ANALISE_LUCRO = 0; // sees the profit analysis
    Decimal TAXA_COMISSAO;
    Decimal TX_DESCMAX;
    Decimal DESC_PAUTA_FLEX;
    Decimal DESC_RATEIO_COM;
    Decimal VL_PED_MINIMO;
};

// The commission rate an item starts from, by where the representative's commission comes from;
// nullopt when the origin names neither, and the item keeps the rate it has.
inline std::optional<Decimal> taxaComissaoInicial(const Vendedor& vendedor, const Produto& produto) {
    if (vendedor.ORIGEM_COM == origemComissao::DoVendedor)
        return vendedor.TAXA_COMISSAO;
    if (vendedor.ORIGEM_COM == origemComissao::DoProduto)
        return produto.TAXA_COMISSAO;
    return std::nullopt;
}

struct QavCfg {
    // Bits of BLOQUEIOS1.
    static constexpr int kPrecoMinimoPauta = 1;
    static constexpr int kDescontosBloqueados = 2;
    static constexpr int kLimiteCredito = 4;

    int ID_EMPRESA = 0;
    int BLOQUEIOS1 = 0;
    int PRECO_PADRAO = 0;
    int PRECO_COM_IPI = 0;
    int COD_VENDEDOR = 0;      // the workstation's representative
    int PERMITIR_FLEX = 0;     // new orders are flex orders
    int DIAS_BLOQ_CREDITO = 0; // days overdue from which a receivable blocks release; 0 = off
    int BLOQ_PAUTA = 0;
    int BLOQ_FRETE = 0; // 1 or 2: the freight responsibility is forced
    int ATIVAR_PROD_PAUTA = 0;
    int ATIVA_LEIT_COD_BARRAS = 0;
    int ATIVA_ENTREGA_IMEDIATA = 0;
    QString SISTEMA; // "gerente" on a manager's workstation
    QString BLOQ_VOLUMES;
    Decimal SALDO_FLEX;

    bool descontosBloqueados() const { return (BLOQUEIOS1 & kDescontosBloqueados) != 0; }
    bool limiteCreditoAtivo() const { return (BLOQUEIOS1 & kLimiteCredito) != 0; }
};

struct Empresa {
    int ID_EMPRESA = 0;
    int ADIC_COMISSAO = 0;
};

struct StIcms {
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
