#include "orders/core/CamposPedido.h"

namespace qav {

template <> const Mapeamento<Pedido>& campos<Pedido>() {
    using P = Pedido;
    static const Campo<P> lista[] = {
        {"ID", &P::ID},
        {"ID_EMPRESA", &P::ID_EMPRESA},
        {"NUMER", &P::NUMER},
        {"SITUA", &P::SITUA},
        {"CLIEN", &P::CLIEN},
        {"COD_FORMAPAG", &P::COD_FORMAPAG},
        {"COD_PAUTA", &P::COD_PAUTA},
        {"TIPOV", &P::TIPOV},
        {"FCONTA", &P::FCONTA},
        {"PED_FLEX", &P::PED_FLEX},
        {"DESC_CLIENTE_REDE", &P::DESC_CLIENTE_REDE},
        {"COD_LIBERACAO", &P::COD_LIBERACAO},
        {"ID_MUN_CARGA", &P::ID_MUN_CARGA},
        {"TOTPR", &P::TOTPR},
        {"IPI", &P::IPI},
        {"FRETE", &P::FRETE},
        {"TOTAL", &P::TOTAL},
        {"DESCP", &P::DESCP},
        {"DESCV", &P::DESCV},
        {"COMIS", &P::COMIS},
        {"TX_FRETE", &P::TX_FRETE},
        {"VL_ICMSST", &P::VL_ICMSST},
        {"PESO_LIQUIDO", &P::PESO_LIQUIDO},
        {"PESO_BRUTO", &P::PESO_BRUTO},
        {"VOL_M3", &P::VOL_M3},
        {"OBS", &P::OBS},
    };
    static const Mapeamento<P> m("pedidos.tps", lista);
    return m;
}

template <> const Mapeamento<PedidoItem>& campos<PedidoItem>() {
    using I = PedidoItem;
    static const Campo<I> lista[] = {
        {"ID_VENDASI", &I::ID_VENDASI},
        {"ID_VENDA", &I::ID_VENDA},
        {"PRODU", &I::PRODU},
        {"PRECO_COM_IPI", &I::PRECO_COM_IPI},
        {"QTD_PECAS", &I::QTD_PECAS},
        {"COMPRIMENTO", &I::COMPRIMENTO},
        {"QTD", &I::QTD},
        {"PRUNI", &I::PRUNI},
        {"DESCP", &I::DESCP},
        {"DESCV", &I::DESCV},
        {"TOTAL", &I::TOTAL},
        {"VL_LIQUIDO", &I::VL_LIQUIDO},
        {"BC_IPI", &I::BC_IPI},
        {"VL_IPI", &I::VL_IPI},
        {"VL_ICMSST", &I::VL_ICMSST},
        {"COMIS", &I::COMIS},
        {"VALOR_PRODUTO", &I::VALOR_PRODUTO},
        {"VALOR_ACESSORIOS", &I::VALOR_ACESSORIOS},
        {"PRECO_PAUTA", &I::PRECO_PAUTA},
        {"PR_PAUTA_LIQ", &I::PR_PAUTA_LIQ},
        {"VL_FLEX", &I::VL_FLEX},
        {"VL_DESC_TOTAL", &I::VL_DESC_TOTAL},
        {"OBS", &I::OBS},
    };
    static const Mapeamento<I> m("peditens.tps", lista);
    return m;
}

template <> const Mapeamento<Produto>& campos<Produto>() {
    using P = Produto;
    static const Campo<P> lista[] = {
        {"ID_EMPRESA", &P::ID_EMPRESA},
        {"ID", &P::ID},
        {"COD_ST", &P::COD_ST},
        {"PRECO_PROMOCIONAL", &P::PRECO_PROMOCIONAL},
        {"SUBCATEGORIA", &P::SUBCATEGORIA},
        {"PERMITIR_DIF_LOTE", &P::PERMITIR_DIF_LOTE},
        {"DESC_IPI_BC", &P::DESC_IPI_BC},
        {"CODIGO", &P::CODIGO},
        {"NOME", &P::NOME},
        {"UNIDA", &P::UNIDA},
        {"PRAZO", &P::PRAZO},
        {"PRAZ2", &P::PRAZ2},
        {"PRAZ3", &P::PRAZ3},
        {"PESOL", &P::PESOL},
        {"PESOB", &P::PESOB},
        {"VOL_M3", &P::VOL_M3},
        {"PRECO", &P::PRECO},
        {"PREC2", &P::PREC2},
        {"PREC3", &P::PREC3},
        {"DESC_MAX", &P::DESC_MAX},
        {"ALIQ_IPI", &P::ALIQ_IPI},
        {"TAXA_COMISSAO", &P::TAXA_COMISSAO},
        {"PESO_METRO", &P::PESO_METRO},
        {"QTD_EMBALAGEM", &P::QTD_EMBALAGEM},
        {"ALIQ_PIS", &P::ALIQ_PIS},
        {"ALIQ_COFINS", &P::ALIQ_COFINS},
        {"PESO_FATOR", &P::PESO_FATOR},
        {"LOTE_MUL_VENDA", &P::LOTE_MUL_VENDA},
        {"TX_DESC_LOTE", &P::TX_DESC_LOTE},
        {"ATIVO", &P::ATIVO},
        {"COD_ACESS1", &P::COD_ACESS1},
        {"COD_ACESS2", &P::COD_ACESS2},
        {"COD_ACESS3", &P::COD_ACESS3},
        {"COD_BARRAS", &P::COD_BARRAS},
        {"PERMITE_ACESSORIOS", &P::PERMITE_ACESSORIOS},
        {"CLASSE_ABC", &P::CLASSE_ABC},
        {"QTD_ESTOQUE", &P::QTD_ESTOQUE},
    };
    static const Mapeamento<P> m("produto.tps", lista);
    return m;
}

template <> const Mapeamento<Pauta>& campos<Pauta>() {
    using P = Pauta;
    // The levels in pairs: the order value from which a level applies, then its discount.
    static const Campo<P> lista[] = {
        {"ID", &P::ID},
        {"ID_EMPRESA", &P::ID_EMPRESA},
        {"CODIGO", &P::CODIGO},
        {"ATIVO", &P::ATIVO},
        {"BLOQ_DESCONTOS", &P::BLOQ_DESCONTOS},
        {"VL_PEDIDO1", &P::VL_PEDIDO, 0},
        {"TX_DESCONTO1", &P::TX_DESCONTO, 0},
        {"VL_PEDIDO2", &P::VL_PEDIDO, 1},
        {"TX_DESCONTO2", &P::TX_DESCONTO, 1},
        {"VL_PEDIDO3", &P::VL_PEDIDO, 2},
        {"TX_DESCONTO3", &P::TX_DESCONTO, 2},
        {"VL_PEDIDO4", &P::VL_PEDIDO, 3},
        {"TX_DESCONTO4", &P::TX_DESCONTO, 3},
        {"VL_PEDIDO5", &P::VL_PEDIDO, 4},
        {"TX_DESCONTO5", &P::TX_DESCONTO, 4},
    };
    static const Mapeamento<P> m("pauta.tps", lista);
    return m;
}

template <> const Mapeamento<PautaProduto>& campos<PautaProduto>() {
    using P = PautaProduto;
    static const Campo<P> lista[] = {
        {"ID_PAUTA", &P::ID_PAUTA}, {"ID_PROD", &P::ID_PROD},
        {"PRECO1", &P::PRECO1},     {"PRECO2", &P::PRECO2},
        {"PRECO3", &P::PRECO3},     {"VALOR_PAUTA_ICMS_ST", &P::VALOR_PAUTA_ICMS_ST},
        {"DIVISOR", &P::DIVISOR},   {"TX_COMISSAO", &P::TX_COMISSAO},
    };
    static const Mapeamento<P> m("pauxpro.tps", lista);
    return m;
}

template <> const Mapeamento<FormaPag>& campos<FormaPag>() {
    using F = FormaPag;
    static const Campo<F> lista[] = {
        {"ID_FORMAPAG", &F::ID_FORMAPAG},       {"ID_EMPRESA", &F::ID_EMPRESA}, {"CODIGO", &F::CODIGO},
        {"LIBERA_CREDITO", &F::LIBERA_CREDITO}, {"DESCO", &F::DESCO},           {"ACRESC", &F::ACRESC},
    };
    static const Mapeamento<F> m("formapag.tps", lista);
    return m;
}

template <> const Mapeamento<Cliente>& campos<Cliente>() {
    using C = Cliente;
    static const Campo<C> lista[] = {
        {"ID", &C::ID},
        {"PESSO", &C::PESSO},
        {"CONSFINAL", &C::CONSFINAL},
        {"ID_MUNICIPIO", &C::ID_MUNICIPIO},
        {"INDICADOR_IE", &C::INDICADOR_IE},
        {"DESC_CLIENTE_REDE", &C::DESC_CLIENTE_REDE},
        {"ID_REGIAO", &C::ID_REGIAO},
        {"COD_VENDEDOR", &C::COD_VENDEDOR},
        {"LIB_CRED", &C::LIB_CRED},
        {"ALERTA", &C::ALERTA},
        {"FORMA_PAG", &C::FORMA_PAG},
        {"COD_PAUTA", &C::COD_PAUTA},
        {"ST_ESPECIFICA", &C::ST_ESPECIFICA},
        {"LIMCRED", &C::LIMCRED},
        {"TX_DESC_PEDIDO", &C::TX_DESC_PEDIDO},
    };
    static const Mapeamento<C> m("clientes.tps", lista);
    return m;
}

template <> const Mapeamento<Municipio>& campos<Municipio>() {
    using M = Municipio;
    static const Campo<M> lista[] = {
        {"ID", &M::ID},
        {"ESTADO", &M::ESTADO},
    };
    static const Mapeamento<M> m("municip.tps", lista);
    return m;
}

template <> const Mapeamento<Vendedor>& campos<Vendedor>() {
    using V = Vendedor;
    static const Campo<V> lista[] = {
        {"ID_EMPRESA", &V::ID_EMPRESA},
        {"CODIGO", &V::CODIGO},
        {"ORIGEM_COM", &V::ORIGEM_COM},
        {"TAXA_COMISSAO", &V::TAXA_COMISSAO},
        {"TX_DESCMAX", &V::TX_DESCMAX},
        {"DESC_PAUTA_FLEX", &V::DESC_PAUTA_FLEX},
        {"DESC_RATEIO_COM", &V::DESC_RATEIO_COM},
        {"VL_PED_MINIMO", &V::VL_PED_MINIMO},
        {"QAV_TODOS_CLIENTES", &V::QAV_TODOS_CLIENTES},
        {"PERMITIR_ANALISE_LUCRO", &V::PERMITIR_ANALISE_LUCRO},
    };
    static const Mapeamento<V> m("vendedor.tps", lista);
    return m;
}

template <> const Mapeamento<QavCfg>& campos<QavCfg>() {
    using Q = QavCfg;
    static const Campo<Q> lista[] = {
        {"ID_EMPRESA", &Q::ID_EMPRESA},
        {"BLOQUEIOS1", &Q::BLOQUEIOS1},
        {"PRECO_PADRAO", &Q::PRECO_PADRAO},
        {"PRECO_COM_IPI", &Q::PRECO_COM_IPI},
        {"BLOQ_VOLUMES", &Q::BLOQ_VOLUMES},
        {"SALDO_FLEX", &Q::SALDO_FLEX},
        {"COD_VENDEDOR", &Q::COD_VENDEDOR},
        {"PERMITIR_FLEX", &Q::PERMITIR_FLEX},
        {"DIAS_BLOQ_CREDITO", &Q::DIAS_BLOQ_CREDITO},
        {"BLOQ_PAUTA", &Q::BLOQ_PAUTA},
        {"BLOQ_FRETE", &Q::BLOQ_FRETE},
        {"ATIVAR_PROD_PAUTA", &Q::ATIVAR_PROD_PAUTA},
        {"ATIVA_LEIT_COD_BARRAS", &Q::ATIVA_LEIT_COD_BARRAS},
        {"ATIVA_ENTREGA_IMEDIATA", &Q::ATIVA_ENTREGA_IMEDIATA},
        {"SISTEMA", &Q::SISTEMA},
    };
    static const Mapeamento<Q> m("qavcfg.tps", lista);
    return m;
}

template <> const Mapeamento<Empresa>& campos<Empresa>() {
    using E = Empresa;
    static const Campo<E> lista[] = {
        {"ID_EMPRESA", &E::ID_EMPRESA},
        {"ADIC_COMISSAO", &E::ADIC_COMISSAO},
    };
    static const Mapeamento<E> m("empresa.tps", lista);
    return m;
}

template <> const Mapeamento<StIcms>& campos<StIcms>() {
    using S = StIcms;
    static const Campo<S> lista[] = {
        {"ID_EMPRESA", &S::ID_EMPRESA},
        {"COD_ST", &S::COD_ST},
        {"CONTRIBUINTE_ICMS", &S::CONTRIBUINTE_ICMS},
        {"UF", &S::UF},
        {"ST_ESPECIFICA", &S::ST_ESPECIFICA},
        {"MODAL_BC_ICMSST", &S::MODAL_BC_ICMSST},
        {"PERC_BC_ICMS", &S::PERC_BC_ICMS},
        {"ALIQ_ICMS", &S::ALIQ_ICMS},
        {"PERC_MARG_VL_ICMSST", &S::PERC_MARG_VL_ICMSST},
        {"ALIQ_ICMSST", &S::ALIQ_ICMSST},
        {"PERC_RED_BC_ICMSST", &S::PERC_RED_BC_ICMSST},
    };
    static const Mapeamento<S> m("sticms.tps", lista);
    return m;
}

template <> const Mapeamento<CfgSis>& campos<CfgSis>() {
    using C = CfgSis;
    static const Campo<C> lista[] = {
        {"CODIGO", &C::CODIGO},
        {"ATIVO", &C::ATIVO},
    };
    static const Mapeamento<C> m("cfgsis.tps", lista);
    return m;
}

template <> const Mapeamento<CstFrete>& campos<CstFrete>() {
    using C = CstFrete;
    static const Campo<C> lista[] = {
        {"ID_REGIAO", &C::ID_REGIAO},
        {"ID_MUN_CARREG", &C::ID_MUN_CARREG},
        {"VL_CUSTO_M3", &C::VL_CUSTO_M3},
        {"NM_REGIAO", &C::NM_REGIAO},
    };
    static const Mapeamento<C> m("cstfrete.tps", lista);
    return m;
}

template <> const Mapeamento<OutroPedido>& campos<OutroPedido>() {
    using O = OutroPedido;
    // Its flex is the sum of its items' flex, kept as the items keep theirs.
    static const Campo<O> lista[] = {
        {"ID", &O::ID},
        {"SITUA", &O::SITUA},
        {"PED_FLEX", &O::PED_FLEX},
        {.nome = "VL_FLEX", .membro = &O::VL_FLEX, .tabela = "peditens.tps"},
    };
    static const Mapeamento<O> m("pedidos.tps", lista);
    return m;
}

void verificarCampos() {
    campos<Pedido>();
    campos<PedidoItem>();
    campos<Produto>();
    campos<Pauta>();
    campos<PautaProduto>();
    campos<FormaPag>();
    campos<Cliente>();
    campos<Municipio>();
    campos<Vendedor>();
    campos<QavCfg>();
    campos<Empresa>();
    campos<StIcms>();
    campos<CfgSis>();
    campos<CstFrete>();
    campos<OutroPedido>();
}

} // namespace qav
