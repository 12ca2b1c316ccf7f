// The product step of the manager database's update: the products the ERP exports to the office and
// this installation sells go into the office's product table, with their units, and into the second
// product file of the office's other program.
#include "store/core/Table.h"
#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/conexao/ComandoGravacao.h"
#include "sync/core/gerente/Integracao.h"

#include <QStringList>
#include <array>
#include <memory>

namespace qav::sync {

namespace {

// The full product row, in its order; the server hands out id_produto itself.
const std::array kColunasProduto = {
    "id_empresa",
    "codigo",
    "descricao",
    "referencia",
    "cod_barra",
    "cod_anterior",
    "unidade",
    "tipo",
    "cod_ncm",
    "ex_ipi",
    "cod_genero",
    "cod_class_servico",
    "aliq_icms",
    "id_ctbconta",
    "utilizacao",
    "cod_grupo",
    "cod_subgrupo",
    "cod_st",
    "data_cadastro",
    "ativo",
    "vl_preco1",
    "bc_icmsst_cobrant",
    "vl_icmsst_cobrant",
    "data_icmsst_cobrant",
    "docto_icmsst_cobrant",
    "idxfti",
    "aliq_ipi",
    "red_bc_icms",
    "bc_icms_st",
    "cod_classificacao",
    "id_ctbconta_ept",
    "id_ctbconta_dtp",
    "id_ctbconta_desp",
    "vol_m3",
    "id_prodvinc",
    "cod_marca",
    "descr_det",
    "data_reajuste",
    "lista_pauta",
    "preco_promocional",
    "vl_preco2",
    "vl_preco3",
    "peso_liquido",
    "peso_bruto",
    "qtd_volume",
    "cod_estlocal",
    "dt_atual",
    "taxa_comissao",
    "id_erp",
    "cod_acess1",
    "cod_acess2",
    "cod_acess3",
    "classe_abc",
    "subcategoria",
    "cod_secao",
    "taxa_margem1",
    "dt1_promocao",
    "dt2_promocao",
    "pr_sugerido",
    "vendido_peso",
    "exportar_balanca",
    "validade_dias",
    "usuario_atual",
    "estoque_minimo",
    "data",
    "hora",
    "qtd_und_compra",
    "custo_rep",
    "origem",
    "cod_base_cred_pis_cofins",
    "produto_grade",
    "id_gradev",
    "id_gradeh",
    "id_produto_grade",
    "id_gradedetv",
    "id_gradedeth",
    "controlar_estoque",
    "cod_estrutura",
    "cst_pis",
    "aliq_pis",
    "aliq_vl_pis",
    "cst_cofins",
    "aliq_cofins",
    "aliq_vl_cofins",
    "largura",
    "altura",
    "id_acabamento",
    "id_vidro",
    "id_vista",
    "l1",
    "l2",
    "l3",
    "l4",
    "h1",
    "h2",
    "h3",
    "h4",
    "comprimento",
    "peso_metro",
    "nat_receita",
    "cfop_ecf",
    "certsanit_obs",
    "prod_lei12546",
    "cod_ativ_lei12546",
    "obs_preco",
    "enviar_web",
    "liga",
    "tempera",
    "dimensoes",
    "site_produto",
    "anotacao_produto",
    "cod_contrib",
    "nao_custo_entrada",
    "familia",
    "id_erp_estoque",
    "tx_perda_proc",
    "vl_parc_imp",
    "num_fci",
    "tx_cont_imp",
    "vl_imp",
    "permite_acessorios",
    "lote_min",
    "lote_mul",
    "cod_uen",
    "descr_nf",
    "aplicacao",
    "ind_est",
    "cod_original",
    "qtd_embalagem",
    "grupo_st",
    "cest",
    "cod_prod_anp",
    "taxa_margem2",
    "taxa_margem3",
    "preco_pratic_sug",
    "temp_armaz",
    "est_pedido",
    "est_maximo",
    "complemento",
    "local_estoque",
    "preco_dif_grade",
    "req_insumos_estrutura",
    "versao_estrutura",
    "peso_embal",
    "markup_despfixas1",
    "markup_impostos1",
    "markup_comissao1",
    "markup_lucro1",
    "markup_desconto1",
    "markup_financ1",
    "markup_frete1",
    "desc_adic",
    "cnpj_produtor",
    "codigo_selo",
    "qtd_selo_und",
    "qtd_trib_ipi_und",
    "produto_especifico",
    "vl_unid_trib_ipi",
    "qtd_trib_pis_und",
    "vl_unid_trib_pis",
    "qtd_trib_pisst_und",
    "vl_unid_trib_pisst",
    "qtd_trib_cofins_und",
    "vl_unid_trib_cofins",
    "qtd_trib_cofinsst_und",
    "vl_unid_trib_cofinsst",
    "preco_max_cons",
    "markup_marketing",
    "cod_ccusto",
    "id_natureza",
    "lote_mul_venda",
    "permitir_dif_lote",
};

// One 20-character text column, the product's search index, is not copied: the copy leaves it empty.
constexpr const char* kColunaLimpa = "idxfti";

// Rows read from the server at a time, so that a large catalogue is never held whole.
constexpr int kPagina = 500;

size_t indice(const char* coluna) {
    for (size_t i = 0; i < kColunasProduto.size(); ++i)
        if (QLatin1String(kColunasProduto[i]) == QLatin1String(coluna))
            return i;
    return kColunasProduto.size();
}

QString consultaProdutos(long long depoisDe) {
    QStringList colunas;
    for (const char* c : kColunasProduto)
        colunas << QStringLiteral("a.") + QString::fromLatin1(c);
    return QStringLiteral("SELECT ") + colunas.join(QStringLiteral(", ")) +
           QStringLiteral(
               "   FROM expzor.produto a   INNER JOIN tmpgrupo b ON (b.id_empresa=a.id_empresa AND "
               "b.codigo=a.cod_grupo)   INNER JOIN tmpgrupo c ON (c.id_empresa=a.id_empresa AND "
               "c.codigo=a.cod_subgrupo)   WHERE a.id_empresa=") +
           Conexao::inteiro(1) +
           QStringLiteral("  AND a.lista_pauta=1 AND a.id_erp IS NOT NULL AND a.ativo=1 AND b.int_qav=1 AND "
                          "c.int_qav=1 AND a.id_erp>") +
           Conexao::inteiro(depoisDe) + QStringLiteral(" ORDER BY a.id_erp LIMIT ") +
           Conexao::inteiro(kPagina) + QLatin1Char(';');
}

// The value of a column of the row exactly as the server gave it.
QString literal(const ContextoIntegracao& c, const Linha& linha, size_t coluna) {
    return linha.nula(coluna) ? QStringLiteral("Null") : c.conexao.textoSempre(linha.texto(coluna));
}

bool vendidoAqui(Table& produtos, int idEmpresa, long long id) {
    produtos.clear();
    produtos.rec().setInteger("ID", id);
    produtos.rec().setInteger("ID_EMPRESA", idEmpresa);
    return produtos.get("KEYID") == Status::Ok;
}

// The product's unit in the office's units, added when missing.
bool garantirUnidade(const ContextoIntegracao& c, const QString& unidade, const QString& empresa) {
    if (unidade.trimmed().isEmpty())
        return true;
    ErroSql erro;
    const auto achada = c.conexao.consultar(
        QStringLiteral("SELECT id_unidade FROM gestao.unidade WHERE unidade=") +
            c.conexao.textoSempre(unidade) + QStringLiteral(" AND id_empresa=") + empresa + QLatin1Char(';'),
        &erro);
    if (achada && !achada->empty())
        return true;
    if (achada &&
        c.conexao.executar(comandoInsercao(QStringLiteral("gestao.unidade"),
                                           {{QStringLiteral("id_empresa"), empresa},
                                            {QStringLiteral("unidade"), c.conexao.textoSempre(unidade)},
                                            {QStringLiteral("descricao"), c.conexao.textoSempre(unidade)},
                                            {QStringLiteral("ativa"), Conexao::inteiro(1)}}),
                           &erro))
        return true;
    c.erro(QStringLiteral("Erro (") + erro.codigo + QStringLiteral(")/unidade"),
           erro.texto + QStringLiteral("|Unidade: ") + unidade);
    return false;
}

// The row in gestao.produto, added or changed.
bool gravarNoGerente(const ContextoIntegracao& c, const Linha& linha, long long idErp) {
    const QString empresa = literal(c, linha, indice("id_empresa"));
    if (!garantirUnidade(c, linha.texto(indice("unidade")), empresa))
        return false;
    ErroSql erro;
    const auto existente = c.conexao.consultar(
        QStringLiteral("SELECT id_produto FROM gestao.produto WHERE id_erp=") + Conexao::inteiro(idErp) +
            QStringLiteral(" AND id_empresa=") + empresa + QLatin1Char(';'),
        &erro);
    const bool novo = existente && existente->empty();
    if (existente) {
        ValoresColunas valores;
        for (size_t i = 0; i < kColunasProduto.size(); ++i) {
            const QString coluna = QString::fromLatin1(kColunasProduto[i]);
            valores.push_back({coluna, coluna == QLatin1String(kColunaLimpa) ? QStringLiteral("Null")
                                                                             : literal(c, linha, i)});
        }
        const QString comando = novo ? comandoInsercao(QStringLiteral("gestao.produto"), valores)
                                     : comandoAlteracao(QStringLiteral("gestao.produto"), valores,
                                                        QStringLiteral("id_produto=") +
                                                            Conexao::inteiro(existente->front().inteiro(0)));
        if (c.conexao.executar(comando, &erro))
            return true;
    }
    c.erroGravacao(erro, "produto", novo, idErp);
    return false;
}

// The type of the product as the second product file numbers it.
QString tipoNumerado(const QString& tipo) {
    static const std::array<const char*, 7> tipos = {"00", "04", "01", "07", "09", "06", "02"};
    for (size_t i = 0; i < tipos.size(); ++i)
        if (tipo.trimmed() == QLatin1String(tipos[i]))
            return QString::number(i + 1);
    return QString();
}

// The product in the second product file, keyed by its id in the active company.
bool gravarNoArquivoTps(const ContextoIntegracao& c, Table& tps, const Linha& linha, long long idErp) {
    tps.clear();
    tps.rec().setInteger("ID", idErp);
    tps.rec().setInteger("ID_EMPRESA", c.idEmpresa);
    const Status achado = tps.get("KEYID");
    const bool novo = achado != Status::Ok;
    if (novo) {
        tps.clear();
        tps.rec().setInteger("ID", idErp);
        tps.rec().setInteger("ID_EMPRESA", c.idEmpresa);
    }
    static const std::array<std::pair<const char*, const char*>, 24> campos = {{
        {"CODIGO", "codigo"},           {"COD_BARRAS", "cod_barra"}, {"NOME", "descricao"},
        {"REFER", "referencia"},        {"ATIVO", "ativo"},          {"UNIDA", "unidade"},
        {"COD_NCM", "cod_ncm"},         {"EX_IPI", "ex_ipi"},        {"PESOL", "peso_liquido"},
        {"PESOB", "peso_bruto"},        {"VOL_M3", "vol_m3"},        {"QTD_VOLUME", "qtd_volume"},
        {"PRECO", "vl_preco1"},         {"PREC2", "vl_preco2"},      {"PREC3", "vl_preco3"},
        {"COD_ST", "cod_st"},           {"ALIQ_IPI", "aliq_ipi"},    {"ALIQ_PIS", "aliq_pis"},
        {"ALIQ_COFINS", "aliq_cofins"}, {"GRUPO_ST", "grupo_st"},    {"TAXA_COMISSAO", "taxa_comissao"},
        {"DATA", "data_cadastro"},      {"DATAP", "data_reajuste"},  {"GRUPO", "cod_grupo"},
    }};
    bool coube = true;
    try {
        for (const auto& [campo, coluna] : campos)
            coube = atribuirDoServidor(tps.rec(), campo, linha.texto(indice(coluna))) && coube;
        coube = atribuirDoServidor(tps.rec(), "SUBGR", linha.texto(indice("cod_subgrupo"))) && coube;
        tps.rec().setText("TIPO", tipoNumerado(linha.texto(indice("tipo"))));
    } catch (const FieldValueError&) {
        coube = false;
    }
    const Status gravado = coube ? (novo ? tps.add() : tps.put()) : Status::Error;
    if (gravado == Status::Ok)
        return true;
    const int codigo = coube ? tps.error().number() : static_cast<int>(ErrorCode::FileSystemError);
    c.erro(QStringLiteral("Erro (") + QString::number(codigo) +
           (novo ? QStringLiteral(") ao grava Produto (tps) # ")
                 : QStringLiteral(") ao atualizar Produto(tps) # ")) +
           QString::number(idErp));
    return false;
}

} // namespace

bool atualizarProdutosGerente(ContextoIntegracao& c) {
    c.registrar(QStringLiteral("Atualizando Produto..."));
    Table produtos(c.store, "produto");
    if (!produtos.open()) {
        c.erro(QStringLiteral("Erro (%1) ao abrir produto.tps!").arg(produtos.error().number()));
        return false;
    }
    std::unique_ptr<Store> lojaTps;
    std::unique_ptr<Table> tps;
    if (!c.pastaTps.isEmpty()) {
        lojaTps = std::make_unique<Store>(c.pastaTps);
        tps = std::make_unique<Table>(*lojaTps, "produto");
        if (!tps->open()) {
            c.erro(QStringLiteral("Erro (%1) ao abrir Produto (tps) em %2!")
                       .arg(tps->error().number())
                       .arg(c.pastaTps));
            return false;
        }
    }
    if (c.conexao.querysql(QStringLiteral("CREATE TEMP TABLE tmpgrupo AS (SELECT * FROM expzor.grupo);"))
            .isEmpty())
        return false;
    long long contagem = 0;
    long long ultimo = 0;
    bool ok = true;
    for (bool maisPaginas = true; ok && maisPaginas;) {
        ErroSql erro;
        const auto linhas = c.conexao.consultar(consultaProdutos(ultimo), &erro);
        if (!linhas) {
            c.erroSql(erro);
            ok = false;
            break;
        }
        maisPaginas = linhas->size() == static_cast<size_t>(kPagina);
        for (const Linha& linha : *linhas) {
            const long long idErp = linha.inteiro(indice("id_erp"));
            ultimo = idErp;
            c.linhaProgresso(QStringLiteral("Atualizando Produto: ") + QString::number(idErp) +
                             QLatin1Char(' ') + linha.texto(indice("descricao")));
            if (!vendidoAqui(produtos, c.idEmpresa, idErp))
                continue;
            if (!gravarNoGerente(c, linha, idErp) || (tps && !gravarNoArquivoTps(c, *tps, linha, idErp))) {
                ok = false;
                break;
            }
            ++contagem;
        }
    }
    c.conexao.querysql(QStringLiteral("DROP TABLE tmpgrupo;"));
    if (!ok)
        return false;
    c.registrar(QStringLiteral("Atualizados ") + QString::number(contagem) + QStringLiteral(" Produtos..."));
    return true;
}

} // namespace qav::sync
