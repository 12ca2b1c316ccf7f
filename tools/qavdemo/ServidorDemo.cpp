#include "tools/qavdemo/ServidorDemo.h"

#include "store/core/Table.h"
#include "store/core/Text.h"
#include "sync/core/conexao/Conexao.h"

#include <QStringList>
#include <algorithm>
#include <map>
#include <set>

namespace qav::demo {

namespace {

using sync::Conexao;

// Literals written without a connection, in the form every server reads the same way.
const Conexao& literais() {
    static const Conexao semConexao;
    return semConexao;
}

QString txt(const Record& r, const char* campo) {
    return literais().texto(text::rtrim(r.text(campo)));
}

QString num(const Record& r, const char* campo) {
    return Conexao::inteiro(r.integer(campo));
}

QString dec(const Record& r, const char* campo) {
    return Conexao::numero(r.decimal(campo));
}

QString digitos(const QString& texto) {
    QString so;
    for (const QChar c : texto)
        if (c.isDigit())
            so += c;
    return so.isEmpty() ? QStringLiteral("Null") : so;
}

QString insert(const char* tabela, const QStringList& colunas, const QStringList& valores) {
    return QStringLiteral("INSERT INTO gestao.") + QString::fromLatin1(tabela) + QStringLiteral(" (") +
           colunas.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
           valores.join(QStringLiteral(", ")) + QStringLiteral(");\n");
}

// A field's value as a literal of its type.
QString v(const Record& r, const char* campo) {
    const int i = r.field(campo);
    switch (r.def().fields[static_cast<size_t>(i)].type) {
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        return literais().texto(text::rtrim(r.text(i)));
    case FieldType::Date:
        return Conexao::data(r.date(i));
    case FieldType::Decimal:
        return Conexao::numero(r.decimal(i));
    case FieldType::Real64:
        return Conexao::numero(Decimal::fromDouble(r.real(i), 4));
    default:
        return Conexao::inteiro(r.integer(i));
    }
}

// Many rows of one table in statements of a few hundred rows each.
class Insercao {
public:
    Insercao(QString& sql, QString tabela, QStringList colunas)
        : m_sql(sql), m_tabela(std::move(tabela)), m_colunas(std::move(colunas)) {}
    ~Insercao() { descarregar(); }
    Insercao(const Insercao&) = delete;
    Insercao& operator=(const Insercao&) = delete;
    void linha(const QStringList& valores) {
        m_linhas << QLatin1Char('(') + valores.join(QStringLiteral(", ")) + QLatin1Char(')');
        if (m_linhas.size() >= 500)
            descarregar();
    }

private:
    void descarregar() {
        if (m_linhas.isEmpty())
            return;
        m_sql += QStringLiteral("INSERT INTO ") + m_tabela + QStringLiteral(" (") +
                 m_colunas.join(QStringLiteral(", ")) + QStringLiteral(") VALUES\n  ") +
                 m_linhas.join(QStringLiteral(",\n  ")) + QStringLiteral(";\n");
        m_linhas.clear();
    }
    QString& m_sql;
    QString m_tabela;
    QStringList m_colunas;
    QStringList m_linhas;
};

QStringList nomes(std::initializer_list<const char*> colunas) {
    QStringList l;
    for (const char* c : colunas)
        l << QString::fromLatin1(c);
    return l;
}

// Every record of a table, in the order they were added.
template <typename F> void cadaRegistro(Store& store, const char* tabela, F&& f) {
    Table t(store, tabela);
    if (!t.open())
        return;
    Status s = t.seekPhysical();
    if (s == Status::Ok)
        s = t.next();
    while (s == Status::Ok) {
        f(t.rec());
        s = t.next();
    }
}

bool ler(Table& t, const char* chave, std::initializer_list<std::pair<const char*, long long>> valores) {
    if (!t.open())
        return false;
    t.clear();
    for (const auto& [campo, valor] : valores)
        t.rec().setInteger(campo, valor);
    return t.get(chave) == Status::Ok;
}

// The office's rows were last changed a month ago: a partial run brings only what changes later.
const QString kAlterado = QStringLiteral("current_date - 30");

// The highest order number the folder knows (its orders' ERP numbers and its order history): the
// office numbers the next orders above it, so that no two orders of the folder share a number.
long long ultimoNumero(Store& store, int idEmpresa) {
    long long ultimo = 60000;
    cadaRegistro(store, "pedidos", [&](const Record& r) {
        if (r.integer("ID_EMPRESA") == idEmpresa)
            ultimo = std::max<long long>(ultimo, r.integer("NUM_ERP"));
    });
    cadaRegistro(store, "pedcon", [&](const Record& r) {
        if (r.integer("ID_EMPRESA") == idEmpresa)
            ultimo = std::max<long long>(ultimo, r.integer("NUMERO"));
    });
    return ultimo;
}

// The catalogue: municipalities, groups and subgroups, tax situations with their ICMS substitution,
// products with their characteristics, weights and stock.
void catalogo(QString& sql, Store& store, int idEmpresa) {
    const QString empresa = Conexao::inteiro(idEmpresa);
    {
        Insercao m(sql, QStringLiteral("gestao.municipio"),
                   nomes({"id_municipio", "codigo_ibge", "codigo_estadual", "nome", "estado", "id_regiao",
                          "cst_frete_m3", "codigo_federal", "dt_atual"}));
        cadaRegistro(store, "municip", [&](const Record& r) {
            m.linha({v(r, "ID"), v(r, "COD_RAIS"), v(r, "CODIGO"), v(r, "NOME"), v(r, "ESTADO"),
                     v(r, "ID_REGIAO"), v(r, "CST_FRETE_M3"), v(r, "CODIGO"), kAlterado});
        });
    }

    // A product's subgroup gives its standard and maximum discounts; its tax situation, the IPI,
    // PIS and COFINS rates. Both are taken from the products that use them.
    struct Subgrupo {
        QString descPadrao, descMax;
    };
    struct Situacao {
        QString ipi, pis, cofins, descIpiBc;
    };
    std::map<long long, Subgrupo> subgrupos;
    std::map<long long, Situacao> situacoes;
    cadaRegistro(store, "produto", [&](const Record& r) {
        if (r.integer("ID_EMPRESA") != idEmpresa)
            return;
        subgrupos.try_emplace(r.integer("SUBGR"), Subgrupo{v(r, "DESC_PADRAO"), v(r, "DESC_MAX")});
        situacoes.try_emplace(r.integer("COD_ST"), Situacao{v(r, "ALIQ_IPI"), v(r, "ALIQ_PIS"),
                                                            v(r, "ALIQ_COFINS"), v(r, "DESC_IPI_BC")});
    });
    cadaRegistro(store, "sticms", [&](const Record& r) {
        if (r.integer("ID_EMPRESA") == idEmpresa)
            situacoes.try_emplace(r.integer("COD_ST"), Situacao{QStringLiteral("0"), QStringLiteral("0"),
                                                                QStringLiteral("0"), QStringLiteral("0")});
    });
    {
        Insercao g(sql, QStringLiteral("gestao.grupo"),
                   nomes({"id_empresa", "codigo", "nome", "int_qav", "produto_variacao", "desc_padrao",
                          "desc_max", "da"}));
        cadaRegistro(store, "grupo", [&](const Record& r) {
            if (r.integer("ID_EMPRESA") == idEmpresa && !subgrupos.count(r.integer("ID")))
                g.linha({empresa, v(r, "ID"), literais().texto(text::rtrim(r.text("NOME")).left(40)),
                         QStringLiteral("1"), QStringLiteral("0"), v(r, "DESC_PADRAO"), v(r, "DESC_MAX"),
                         v(r, "DA")});
        });
        for (const auto& [codigo, sub] : subgrupos)
            g.linha(
                {empresa, Conexao::inteiro(codigo),
                 literais().texto(QStringLiteral("Subgrupo %1 (desconto máximo %2%)")
                                      .arg(codigo)
                                      .arg(QString(sub.descMax).replace(QLatin1Char('.'), QLatin1Char(',')))),
                 QStringLiteral("1"), QStringLiteral("0"), sub.descPadrao, sub.descMax, kAlterado});
    }
    {
        Insercao st(sql, QStringLiteral("gestao.st"),
                    nomes({"id_st", "id_empresa", "codigo", "descricao", "aliq_ipi", "aliq_pis",
                           "aliq_cofins", "desc_ipi_bc"}));
        for (const auto& [codigo, sit] : situacoes)
            st.linha({Conexao::inteiro(codigo + 1), empresa, Conexao::inteiro(codigo),
                      literais().texto(QStringLiteral("Situação %1").arg(codigo)), sit.ipi, sit.pis,
                      sit.cofins, sit.descIpiBc});
    }
    {
        Insercao icms(sql, QStringLiteral("gestao.sticms"),
                      nomes({"id_st", "uf", "st_especifica", "contribuinte_icms", "perc_bc_icms", "aliq_icms",
                             "modal_bc_icmsst", "aliq_icmsst", "somar_icmsst_nf", "perc_marg_vl_icmsst",
                             "perc_red_bc_icmsst", "dt_atual"}));
        cadaRegistro(store, "sticms", [&](const Record& r) {
            if (r.integer("ID_EMPRESA") == idEmpresa)
                icms.linha({Conexao::inteiro(r.integer("COD_ST") + 1), v(r, "UF"),
                            literais().textoSempre(text::rtrim(r.text("ST_ESPECIFICA"))),
                            v(r, "CONTRIBUINTE_ICMS"), v(r, "PERC_BC_ICMS"), v(r, "ALIQ_ICMS"),
                            v(r, "MODAL_BC_ICMSST"), v(r, "ALIQ_ICMSST"), v(r, "SOMAR_ICMSST_NF"),
                            v(r, "PERC_MARG_VL_ICMSST"), v(r, "PERC_RED_BC_ICMSST"), kAlterado});
        });
    }

    Insercao produtos(sql, QStringLiteral("gestao.produto"),
                      nomes({"id_produto",
                             "id_empresa",
                             "codigo",
                             "descricao",
                             "referencia",
                             "cod_barra",
                             "unidade",
                             "tipo",
                             "cod_ncm",
                             "ex_ipi",
                             "cod_grupo",
                             "cod_subgrupo",
                             "cod_st",
                             "ativo",
                             "vl_preco1",
                             "vl_preco2",
                             "vl_preco3",
                             "vol_m3",
                             "descr_det",
                             "data_reajuste",
                             "lista_pauta",
                             "id_erp",
                             "peso_liquido",
                             "peso_bruto",
                             "qtd_volume",
                             "taxa_comissao",
                             "preco_promocional",
                             "classe_abc",
                             "permite_acessorios",
                             "qtd_embalagem",
                             "lote_mul_venda",
                             "permitir_dif_lote",
                             "tx_desc_lote",
                             "cod_estlocal",
                             "peso_metro",
                             "subcategoria",
                             "grupo_st",
                             "cod_acess1",
                             "cod_acess2",
                             "cod_acess3",
                             "id_prodvinc",
                             "dt_atual"}));
    Insercao caracteristicas(sql, QStringLiteral("gestao.produto1"),
                             nomes({"id_produto", "carac1", "carac2", "carac3", "carac4", "carac5"}));
    Insercao pesos(sql, QStringLiteral("zor.pesomed"), nomes({"id_produto", "data", "peso_liq"}));
    Insercao estoque(sql, QStringLiteral("gestao.estsaldo"),
                     nomes({"id_empresa", "id_estlocal", "id_produto", "qtdade", "data"}));
    cadaRegistro(store, "produto", [&](const Record& r) {
        if (r.integer("ID_EMPRESA") != idEmpresa)
            return;
        const QString id = v(r, "ID");
        const QString nome = text::rtrim(r.text("NOME"));
        produtos.linha({id,
                        empresa,
                        v(r, "CODIGO"),
                        literais().texto(nome.left(75)),
                        v(r, "REFER"),
                        v(r, "COD_BARRAS"),
                        v(r, "UNIDA"),
                        v(r, "TIPO"),
                        digitos(r.text("COD_NCM")),
                        v(r, "EX_IPI"),
                        v(r, "GRUPO"),
                        v(r, "SUBGR"),
                        v(r, "COD_ST"),
                        v(r, "ATIVO"),
                        v(r, "PRECO"),
                        v(r, "PREC2"),
                        v(r, "PREC3"),
                        v(r, "VOL_M3"),
                        literais().texto(nome),
                        v(r, "DATAP"),
                        QStringLiteral("1"),
                        id,
                        v(r, "PESOL"),
                        v(r, "PESOB"),
                        v(r, "QTD_VOLUME"),
                        v(r, "TAXA_COMISSAO"),
                        v(r, "PRECO_PROMOCIONAL"),
                        v(r, "CLASSE_ABC"),
                        v(r, "PERMITE_ACESSORIOS"),
                        v(r, "QTD_EMBALAGEM"),
                        v(r, "LOTE_MUL_VENDA"),
                        v(r, "PERMITIR_DIF_LOTE"),
                        v(r, "TX_DESC_LOTE"),
                        QStringLiteral("1"),
                        v(r, "PESO_METRO"),
                        v(r, "SUBCATEGORIA"),
                        v(r, "GRUPO_ST"),
                        v(r, "COD_ACESS1"),
                        v(r, "COD_ACESS2"),
                        v(r, "COD_ACESS3"),
                        v(r, "ID_PRODVINC"),
                        kAlterado});
        caracteristicas.linha(
            {id, v(r, "CARAC1"), v(r, "CARAC2"), v(r, "CARAC3"), v(r, "CARAC4"), v(r, "CARAC5")});
        pesos.linha({id, kAlterado, v(r, "PESO_FATOR")});
        estoque.linha({empresa, QStringLiteral("1"), id, v(r, "QTD_ESTOQUE"), kAlterado});
    });
}

// Price lists with their prices, and payment forms with their instalments.
void comercial(QString& sql, Store& store, int idEmpresa) {
    const QString empresa = Conexao::inteiro(idEmpresa);
    {
        Insercao p(sql, QStringLiteral("gestao.pauta"),
                   nomes({"id_pauta",
                          "id_empresa",
                          "codigo",
                          "num_pauta",
                          "dt_cadast",
                          "descricao",
                          "obs",
                          "ativo",
                          "dt_ini",
                          "dt_fim",
                          "taxa_comissao",
                          "prazo_medio",
                          "bc_comissao",
                          "pauta_exclusiva_cliente",
                          "bloq_descontos",
                          "vl_pedido1",
                          "vl_pedido2",
                          "vl_pedido3",
                          "vl_pedido4",
                          "vl_pedido5",
                          "tx_desconto1",
                          "tx_desconto2",
                          "tx_desconto3",
                          "tx_desconto4",
                          "tx_desconto5",
                          "dt_atual"}));
        cadaRegistro(store, "pauta", [&](const Record& r) {
            if (r.integer("ID_EMPRESA") != idEmpresa)
                return;
            p.linha({v(r, "ID"),
                     empresa,
                     v(r, "CODIGO"),
                     v(r, "NUM_PAUTA"),
                     v(r, "DT_CADAST"),
                     v(r, "DESCRICAO"),
                     v(r, "OBS"),
                     v(r, "ATIVO"),
                     v(r, "DT_INI"),
                     v(r, "DT_FIM"),
                     v(r, "TAXA_COMISSAO"),
                     v(r, "PRAZO_MEDIO"),
                     v(r, "BC_COMISSAO"),
                     v(r, "PAUTA_EXCLUSIVA_CLIENTE"),
                     v(r, "BLOQ_DESCONTOS"),
                     v(r, "VL_PEDIDO1"),
                     v(r, "VL_PEDIDO2"),
                     v(r, "VL_PEDIDO3"),
                     v(r, "VL_PEDIDO4"),
                     v(r, "VL_PEDIDO5"),
                     v(r, "TX_DESCONTO1"),
                     v(r, "TX_DESCONTO2"),
                     v(r, "TX_DESCONTO3"),
                     v(r, "TX_DESCONTO4"),
                     v(r, "TX_DESCONTO5"),
                     kAlterado});
        });
    }
    {
        Insercao p(sql, QStringLiteral("gestao.pauxpro"),
                   nomes({"id_pauta", "id_prod", "preco1", "preco2", "preco3", "cst_rep", "valor1",
                          "id_varprod", "valor_pauta_icms_st", "bc_comissao", "tp_pauta", "divisor",
                          "tx_comissao", "tx_icms", "dt_atual"}));
        cadaRegistro(store, "pauxpro", [&](const Record& r) {
            if (r.integer("ID_PAUTA") % 10000 != idEmpresa)
                return;
            p.linha({v(r, "ID_PAUTA"), v(r, "ID_PROD"), v(r, "PRECO1"), v(r, "PRECO2"), v(r, "PRECO3"),
                     v(r, "CST_REP"), v(r, "VALOR1"), QStringLiteral("0"), v(r, "VALOR_PAUTA_ICMS_ST"),
                     v(r, "BC_COMISSAO"), QStringLiteral("0"), v(r, "DIVISOR"), v(r, "TX_COMISSAO"),
                     v(r, "TX_ICMS"), kAlterado});
        });
    }
    {
        Insercao f(sql, QStringLiteral("gestao.formapag"),
                   nomes({"id_formapag", "id_empresa", "codigo", "descr", "desco", "acresc", "numparc",
                          "frete", "ipi", "arred", "cobr_ban", "integrar_qav", "lancar_fila_cf", "ativa",
                          "id_portador", "forma_pagto_normal", "libera_credito", "dt_atual"}));
        cadaRegistro(store, "formapag", [&](const Record& r) {
            if (r.integer("ID_EMPRESA") == idEmpresa)
                f.linha({v(r, "ID_FORMAPAG"), empresa, v(r, "CODIGO"), v(r, "DESCR"), v(r, "DESCO"),
                         v(r, "ACRESC"), v(r, "NUMPARC"), v(r, "FRETE"), v(r, "IPI"), v(r, "ARRED"),
                         v(r, "COBR_BAN"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"),
                         v(r, "ID_PORTADOR"), QStringLiteral("1"), v(r, "LIBERA_CREDITO"), kAlterado});
        });
    }
    Insercao prazos(sql, QStringLiteral("gestao.prazopag"),
                    nomes({"id_formapag", "parcela", "prazo", "porpag"}));
    cadaRegistro(store, "prazopag", [&](const Record& r) {
        if (r.integer("ID") % 10000 == idEmpresa)
            prazos.linha({v(r, "ID"), v(r, "NUMPARC"), v(r, "PRAZO"),
                          Conexao::numero(Decimal::fromDouble(r.real("PORPAG"), 2))});
    });
}

// The freight costs of the regions, as the ERP keeps them.
void fretes(QString& sql, Store& store) {
    std::map<long long, QString> regioes;
    Insercao f(sql, QStringLiteral("zor.fretexreg"),
               nomes({"id_regiao", "id_mun_carreg", "data", "vl_custo_m3", "vl_custo_kg", "tx_frete"}));
    cadaRegistro(store, "cstfrete", [&](const Record& r) {
        regioes.try_emplace(r.integer("ID_REGIAO"), v(r, "NM_REGIAO"));
        f.linha({v(r, "ID_REGIAO"), v(r, "ID_MUN_CARREG"), v(r, "DT_ATUAL"), v(r, "VL_CUSTO_M3"),
                 v(r, "VL_CUSTO_KG"), v(r, "TX_FRETE")});
    });
    Insercao rg(sql, QStringLiteral("zor.regiao"), nomes({"id_regiao", "descricao"}));
    for (const auto& [id, nome] : regioes)
        rg.linha({Conexao::inteiro(id), nome});
}

// The customers the office keeps (not those made on the workstation), their receivables and the
// order history: the open orders as the ERP's own orders with their items (the closed ones stay on
// the workstation as they are).
void clientes(QString& sql, Store& store, int idEmpresa, long long codVendedor) {
    const QString empresa = Conexao::inteiro(idEmpresa);
    const QString vendedor = Conexao::inteiro(codVendedor);
    {
        Insercao c(
            sql, QStringLiteral("zor.corrent"),
            nomes({"id_corrent",   "ativo",     "pesso",     "consfinal",    "cgcpf",        "inscr",
                   "nome",         "razao",     "endereco",  "num_endereco", "bairr",        "id_municipio",
                   "cep",          "e_mail",    "uf",        "ddd",          "telef",        "data",
                   "cod_vendedor", "classe",    "limcred",   "tolatr",       "cod_formapag", "cod_pauta",
                   "indicador_ie", "id_regiao", "ramo_ativ", "suf_cgcpf",    "dt_atual"}));
        cadaRegistro(store, "clientes", [&](const Record& r) {
            if (r.integer("ID") > 900000)
                return;
            c.linha({v(r, "ID"),           v(r, "ATIVO"),     v(r, "PESSO"),
                     v(r, "CONSFINAL"),    v(r, "CGCPF"),     v(r, "INSCR"),
                     v(r, "NOME"),         v(r, "RAZAO"),     v(r, "ENDER"),
                     v(r, "NUM_ENDERECO"), v(r, "BAIRR"),     v(r, "ID_MUNICIPIO"),
                     v(r, "CEP"),          v(r, "E_MAIL"),    v(r, "UF"),
                     v(r, "DDD"),          v(r, "TELEF"),     v(r, "DATA"),
                     v(r, "COD_VENDEDOR"), v(r, "CLASSE"),    v(r, "LIMCRED"),
                     v(r, "TOLATR"),       v(r, "FORMA_PAG"), v(r, "COD_PAUTA"),
                     v(r, "INDICADOR_IE"), v(r, "ID_REGIAO"), v(r, "RAMO_ATIV"),
                     v(r, "SUF_CGCPF"),    kAlterado});
        });
    }
    {
        Insercao t(sql, QStringLiteral("zor.ctr"),
                   nomes({"id_empresa", "cod_vendedor", "numero", "docto", "deved", "emiss", "vecto", "valor",
                          "juros", "desp_cobranca", "data_baixa", "recbt", "desco", "saldo", "judia",
                          "bcomis", "comis", "porta", "situacao"}));
        cadaRegistro(store, "ctr", [&](const Record& r) {
            if (r.integer("ID_EMPRESA") != idEmpresa)
                return;
            t.linha({empresa, vendedor, v(r, "NUMER"), v(r, "DOCTO"), v(r, "DEVED"), v(r, "EMISS"),
                     v(r, "VECTO"), v(r, "VALOR"), v(r, "JUROS"), v(r, "DESP_COBRANCA"), v(r, "DATA_RECBTO"),
                     v(r, "RECBT"), v(r, "DESCO"), v(r, "SALDO"), v(r, "JUDIA"), v(r, "BCOMIS"),
                     v(r, "COMIS"), QStringLiteral("1"),
                     r.date("DATA_RECBTO").isNull() ? QStringLiteral("'A'") : QStringLiteral("'B'")});
        });
    }

    // The history names the payment form by its description.
    std::map<QString, QString> formas;
    cadaRegistro(store, "formapag", [&](const Record& r) {
        if (r.integer("ID_EMPRESA") == idEmpresa)
            formas.try_emplace(text::rtrim(r.text("DESCR")), v(r, "CODIGO"));
    });
    std::set<long long> abertos;
    long long maiorId = 0;
    {
        Insercao p(sql, QStringLiteral("zor.pedidos"),
                   nomes({"id_pedido", "id_empresa", "cod_vendedor", "tipo", "numero", "situa", "data",
                          "dtprevent", "clien", "conta", "cod_formapag", "total", "obs", "num_ped_qav"}));
        cadaRegistro(store, "pedcon", [&](const Record& r) {
            maiorId = std::max<long long>(maiorId, r.integer("ID_PEDCON"));
            if (r.integer("ID_EMPRESA") != idEmpresa || !r.date("DATA_FATUR").isNull())
                return;
            abertos.insert(r.integer("ID_PEDCON"));
            const auto forma = formas.find(text::rtrim(r.text("PRAZO")));
            p.linha({v(r, "ID_PEDCON"), empresa, v(r, "ID_VENDEDOR"), QStringLiteral("'P'"), v(r, "NUMERO"),
                     v(r, "SITUACAO"), v(r, "DATA_PEDIDO"), v(r, "DATA_PREV_FATUR"), v(r, "ID_CLIENTE"),
                     v(r, "CONTATO"), forma == formas.end() ? QStringLiteral("Null") : forma->second,
                     v(r, "VALOR_TOTAL"), v(r, "OBS"), v(r, "NUM_PED_QAV")});
        });
    }
    Insercao itens(sql, QStringLiteral("zor.peditens"),
                   nomes({"id_pedido", "ordem", "produ", "qtd", "pruni", "descp", "total", "descv"}));
    cadaRegistro(store, "pedicon", [&](const Record& r) {
        if (!abertos.count(r.integer("ID_PEDCON")))
            return;
        const Decimal total = (r.decimal("QTDADE") * r.decimal("PRECO_UNIT")).rounded(2);
        itens.linha({v(r, "ID_PEDCON"), v(r, "ORDEM"), v(r, "ID_PRODUTO"), v(r, "QTDADE"), v(r, "PRECO_UNIT"),
                     v(r, "DESCP"), Conexao::numero(total),
                     Conexao::numero((total * r.decimal("DESCP") / Decimal(100)).rounded(2))});
    });
    // The orders the workstation sends take ids above those of its history.
    sql += QStringLiteral("SELECT setval(pg_get_serial_sequence('zor.pedidos', 'id_pedido'), %1);\n")
               .arg(std::max<long long>(maiorId, 1));
}

} // namespace

QString sqlDoServidor(const QString& pastaDados, int idEmpresa, QString* erro) {
    Store store(pastaDados);
    Table empresa(store, "empresa");
    Table cfg(store, "qavcfg");
    if (!ler(empresa, "KEYID", {{"ID_EMPRESA", idEmpresa}}) ||
        !ler(cfg, "KEYID_EMPRESA", {{"ID_EMPRESA", idEmpresa}})) {
        if (erro)
            *erro = QStringLiteral("empresa %1 ou sua configuração não está em %2")
                        .arg(idEmpresa)
                        .arg(pastaDados);
        return {};
    }
    const Record& e = empresa.rec();
    const Record& c = cfg.rec();
    QString sql = QStringLiteral("-- The demonstration company as the central server knows it.\n");

    // The address is kept on the server as street and number.
    const QString ender = text::rtrim(e.text("ENDER"));
    const QString rua = ender.section(QLatin1Char(','), 0, 0).trimmed();
    const QString numero = digitos(ender.section(QLatin1Char(','), 1));
    sql += insert("empresa",
                  {QStringLiteral("id_empresa"), QStringLiteral("nome"), QStringLiteral("razao_social"),
                   QStringLiteral("endereco"), QStringLiteral("numero"), QStringLiteral("bairro"),
                   QStringLiteral("id_municipio"), QStringLiteral("estado"), QStringLiteral("cnpj"),
                   QStringLiteral("inscr_estadual"), QStringLiteral("fax"), QStringLiteral("email"),
                   QStringLiteral("telefone"), QStringLiteral("cep"), QStringLiteral("complemento"),
                   QStringLiteral("id_portador_padrao"), QStringLiteral("id_matriz")},
                  {num(e, "ID_EMPRESA"), literais().texto(text::rtrim(e.text("NOME")).left(30)),
                   txt(e, "NOME"), literais().texto(rua), numero, txt(e, "BAIRR"), num(e, "ID_MUNICIPIO"),
                   txt(e, "UF"), txt(e, "CNPJ"), txt(e, "IE"), txt(e, "FAX"), txt(e, "EMAIL"),
                   digitos(e.text("FONE")), digitos(e.text("CEP")), txt(e, "COMPLEMENTO"),
                   num(e, "ID_PORTADOR_PADRAO"), num(e, "ID_MATRIZ")});

    sql += insert(
        "qavcfg",
        {QStringLiteral("id_empresa"), QStringLiteral("preco_com_ipi"), QStringLiteral("dias_bloqueio"),
         QStringLiteral("cod_pauta1"), QStringLiteral("cod_pauta2"), QStringLiteral("cod_pauta3"),
         QStringLiteral("ativar_prod_pauta"), QStringLiteral("preco_padrao"),
         QStringLiteral("bloq_preco_pedido"), QStringLiteral("origem_descmax"),
         QStringLiteral("ativa_rel_com"), QStringLiteral("tp_estoque"), QStringLiteral("bloq_relatorios"),
         QStringLiteral("bloq_volumes"), QStringLiteral("bloq_frete"), QStringLiteral("numped_gestao")},
        {num(c, "ID_EMPRESA"), num(c, "PRECO_COM_IPI"), num(c, "DIAS_BLOQUEIO"), num(c, "COD_PAUTA1"),
         num(c, "COD_PAUTA2"), num(c, "COD_PAUTA3"), num(c, "ATIVAR_PROD_PAUTA"), num(c, "PRECO_PADRAO"),
         num(c, "BLOQUEIOS1"), txt(c, "ORIGEM_DESCMAX"), num(c, "ATIVA_REL_COM"), txt(c, "TP_ESTOQUE"),
         txt(c, "BLOQ_RELATORIOS"), txt(c, "BLOQ_VOLUMES"), num(c, "BLOQ_FRETE"),
         Conexao::inteiro(ultimoNumero(store, idEmpresa))});

    const auto chave = [&](const QString& nome, const QString& valor) {
        return insert("qavconfig",
                      {QStringLiteral("id_empresa"), QStringLiteral("chave"), QStringLiteral("nome"),
                       QStringLiteral("valor")},
                      {Conexao::inteiro(idEmpresa), literais().texto(QStringLiteral("Configuração")),
                       literais().texto(nome), literais().texto(valor)});
    };
    sql += chave(QStringLiteral("Versão QAV Liberada"), QStringLiteral("186"));
    sql += chave(QStringLiteral("Tipo Comunicação"), text::rtrim(c.text("TP_COM")));
    sql += chave(QStringLiteral("Dias Bloqueio Comunicação"), QString::number(c.integer("DIAS_BLOQUEIO")));
    sql += chave(QStringLiteral("Dias Bloqueio Crédito"), QString::number(c.integer("DIAS_BLOQ_CREDITO")));
    sql +=
        chave(QStringLiteral("Bloqueio Alterar Pauta de Preços"), QString::number(c.integer("BLOQ_PAUTA")));
    // A company that ticks no model is offered all four.
    for (int m = 1; m <= 4; ++m)
        sql += chave(QStringLiteral("Modelo Pedido.%1").arg(m),
                     c.integer("MODELO_PEDIDO") & (1 << (m - 1)) ? QStringLiteral("1") : QStringLiteral("0"));

    Table vendedores(store, "vendedor");
    if (ler(vendedores, "KEYCODIGO", {{"CODIGO", c.integer("COD_VENDEDOR")}, {"ID_EMPRESA", idEmpresa}})) {
        const Record& v = vendedores.rec();
        sql += insert("vendedor",
                      {QStringLiteral("id_vendedor"),
                       QStringLiteral("id_empresa"),
                       QStringLiteral("codigo"),
                       QStringLiteral("ativo"),
                       QStringLiteral("nome"),
                       QStringLiteral("ender"),
                       QStringLiteral("bairro"),
                       QStringLiteral("cep"),
                       QStringLiteral("cnpj_cpf"),
                       QStringLiteral("fone"),
                       QStringLiteral("e_mail"),
                       QStringLiteral("forma_pag"),
                       QStringLiteral("origem_com"),
                       QStringLiteral("taxa_com"),
                       QStringLiteral("exp_qav"),
                       QStringLiteral("senha"),
                       QStringLiteral("cod_pauta1"),
                       QStringLiteral("cod_pauta2"),
                       QStringLiteral("cod_pauta3"),
                       QStringLiteral("desconto_max"),
                       QStringLiteral("com_ven"),
                       QStringLiteral("com_rec"),
                       QStringLiteral("permitir_flex"),
                       QStringLiteral("desc_pauta_flex"),
                       QStringLiteral("desc_rateio_com"),
                       QStringLiteral("qav_todos_clientes"),
                       QStringLiteral("permitir_analise_lucro"),
                       QStringLiteral("vl_ped_minimo")},
                      {num(v, "ID_VENDEDOR"),
                       Conexao::inteiro(idEmpresa),
                       num(v, "CODIGO"),
                       num(v, "ATIVO"),
                       txt(v, "NOME"),
                       txt(v, "ENDER"),
                       txt(v, "BAIRRO"),
                       txt(v, "CEP"),
                       txt(v, "CGCPF"),
                       txt(v, "FONE"),
                       txt(v, "E_MAIL"),
                       txt(v, "FORMA_PAG"),
                       num(v, "ORIGEM_COM"),
                       dec(v, "TAXA_COMISSAO"),
                       QStringLiteral("1"),
                       literais().texto(text::rtrim(c.text("SENHA_VENDEDOR")).left(6)),
                       num(v, "COD_PAUTA1"),
                       num(v, "COD_PAUTA2"),
                       num(v, "COD_PAUTA3"),
                       dec(v, "TX_DESCMAX"),
                       dec(v, "TAXA_COMISSAO"),
                       QStringLiteral("0"),
                       num(c, "PERMITIR_FLEX"),
                       dec(v, "DESC_PAUTA_FLEX"),
                       dec(v, "DESC_RATEIO_COM"),
                       num(v, "QAV_TODOS_CLIENTES"),
                       num(v, "PERMITIR_ANALISE_LUCRO"),
                       dec(v, "VL_PED_MINIMO")});
        sql += insert(
            "flex",
            {QStringLiteral("id_empresa"), QStringLiteral("id_vendedor"), QStringLiteral("saldo_flex")},
            {Conexao::inteiro(idEmpresa), num(v, "ID_VENDEDOR"), dec(c, "SALDO_FLEX")});
    }

    Table tipos(store, "qavtipoped");
    if (tipos.open() && tipos.seekFirst("KEYID") == Status::Ok)
        while (tipos.next() == Status::Ok) {
            const Record& t = tipos.rec();
            if (t.integer("ID_EMPRESA") != idEmpresa)
                continue;
            sql += insert("qavtipoped",
                          {QStringLiteral("id_qavtipoped"), QStringLiteral("id_empresa"),
                           QStringLiteral("cod_vendedor"), QStringLiteral("descricao"),
                           QStringLiteral("ativo"), QStringLiteral("cod_tes"), QStringLiteral("cod_tes_nc"),
                           QStringLiteral("id_estlocal")},
                          {num(t, "ID"), num(t, "ID_EMPRESA"),
                           t.integer("COD_VENDEDOR") == 0 ? QStringLiteral("Null") : num(t, "COD_VENDEDOR"),
                           txt(t, "DESCRICAO"), num(t, "ATIVO"), num(t, "COD_TES"), num(t, "COD_TES_NC"),
                           num(t, "ID_ESTLOCAL")});
        }

    catalogo(sql, store, idEmpresa);
    comercial(sql, store, idEmpresa);
    fretes(sql, store);
    clientes(sql, store, idEmpresa, c.integer("COD_VENDEDOR"));
    return sql;
}

} // namespace qav::demo
