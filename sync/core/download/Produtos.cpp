#include "store/core/TableSet.h"
#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/CursorTransacao.h"
#include "sync/core/execucao/ValorNaoCabe.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace qav::sync {

namespace {

const std::vector<const char*> kColunas = {"id_erp",
                                           "id_empresa",
                                           "codigo",
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
                                           "vol_m3",
                                           "descr_det",
                                           "data_reajuste",
                                           "vl_preco2",
                                           "vl_preco3",
                                           "peso_liquido",
                                           "peso_bruto",
                                           "qtd_volume",
                                           "taxa_comissao",
                                           "desc_padrao",
                                           "desc_max",
                                           "aliq_ipi",
                                           "preco_promocional",
                                           "carac1",
                                           "carac2",
                                           "carac3",
                                           "carac4",
                                           "carac5",
                                           "cod_acess1",
                                           "cod_acess2",
                                           "cod_acess3",
                                           "id_prodvinc",
                                           "classe_abc",
                                           "permite_acessorios",
                                           "subcategoria",
                                           "qtd_embalagem",
                                           "aliq_pis",
                                           "aliq_cofins",
                                           "grupo_st",
                                           "lote_mul_venda",
                                           "permitir_dif_lote",
                                           "tx_desc_lote",
                                           "peso_metro",
                                           "peso_fator",
                                           "desc_ipi_bc"};

struct Copia {
    const char* coluna;
    const char* campo;
};

const Copia kCopias[] = {{"codigo", "CODIGO"},
                         {"cod_barra", "COD_BARRAS"},
                         {"descr_det", "NOME"},
                         {"referencia", "REFER"},
                         {"unidade", "UNIDA"},
                         {"tipo", "TIPO"},
                         {"cod_grupo", "GRUPO"},
                         {"cod_subgrupo", "SUBGR"},
                         {"ativo", "ATIVO"},
                         {"cod_ncm", "COD_NCM"},
                         {"cod_st", "COD_ST"},
                         {"classe_abc", "CLASSE_ABC"},
                         {"aliq_ipi", "ALIQ_IPI"},
                         {"vol_m3", "VOL_M3"},
                         {"ex_ipi", "EX_IPI"},
                         {"peso_liquido", "PESOL"},
                         {"peso_bruto", "PESOB"},
                         {"qtd_volume", "QTD_VOLUME"},
                         {"data_reajuste", "DATAP"},
                         {"desc_padrao", "DESC_PADRAO"},
                         {"taxa_comissao", "TAXA_COMISSAO"},
                         {"preco_promocional", "PRECO_PROMOCIONAL"},
                         {"carac1", "CARAC1"},
                         {"carac2", "CARAC2"},
                         {"carac3", "CARAC3"},
                         {"carac4", "CARAC4"},
                         {"carac5", "CARAC5"},
                         {"cod_acess1", "COD_ACESS1"},
                         {"cod_acess2", "COD_ACESS2"},
                         {"cod_acess3", "COD_ACESS3"},
                         {"id_prodvinc", "ID_PRODVINC"},
                         {"permite_acessorios", "PERMITE_ACESSORIOS"},
                         {"subcategoria", "SUBCATEGORIA"},
                         {"qtd_embalagem", "QTD_EMBALAGEM"},
                         {"aliq_pis", "ALIQ_PIS"},
                         {"aliq_cofins", "ALIQ_COFINS"},
                         {"grupo_st", "GRUPO_ST"},
                         {"lote_mul_venda", "LOTE_MUL_VENDA"},
                         {"permitir_dif_lote", "PERMITIR_DIF_LOTE"},
                         {"tx_desc_lote", "TX_DESC_LOTE"},
                         {"peso_metro", "PESO_METRO"},
                         {"peso_fator", "PESO_FATOR"},
                         {"desc_ipi_bc", "DESC_IPI_BC"}};

// The place of a column in the statement's answer.
size_t coluna(const char* nome) {
    for (size_t i = 0; i < kColunas.size(); ++i)
        if (std::strcmp(kColunas[i], nome) == 0)
            return i;
    throw std::logic_error(std::string("Produtos: coluna desconhecida ") + nome);
}

// A copy of a column into a field, by place: looked up once for the step, not for each of a large
// catalogue's rows.
struct CopiaIndexada {
    size_t coluna;
    int campo;
};

QString comandoProdutos(const ContextoComunicacao& c, const ValoresDownload& v) {
    const QString grupos = Conexao::inteiro(v.empresaGrupos);
    QString sql = QStringLiteral(
        "SELECT a.id_erp, a.id_empresa, a.codigo, a.referencia, a.cod_barra,        a.unidade, a.tipo, "
        "a.cod_ncm, "
        "a.ex_ipi, a.cod_grupo, a.cod_subgrupo, d.cod_st,        a.ativo, a.vl_preco1, a.vol_m3, "
        "a.descr_det, "
        "a.data_reajuste,         a.vl_preco2, a.vl_preco3, a.peso_liquido, a.peso_bruto, a.qtd_volume, "
        "a.taxa_comissao,         c.desc_padrao, c.desc_max, e.aliq_ipi, a.preco_promocional,        "
        "f.carac1, "
        "f.carac2, f.carac3, f.carac4, f.carac5, a.cod_acess1, a.cod_acess2, a.cod_acess3, a.id_prodvinc, "
        "a.classe_abc, a.permite_acessorios,        a.subcategoria,a.qtd_embalagem,e.aliq_pis,e.aliq_cofins,"
        "a.grupo_st,a.lote_mul_venda,a.permitir_dif_lote,a.tx_desc_lote ");
    if (c.sistema == QStringLiteral("zor"))
        sql += QStringLiteral(",coalesce((SELECT peso FROM zor.pcpperfil WHERE id_empresa=a.id_empresa  AND "
                              "codigo=a.referencia "
                              "LIMIT 1),a.peso_metro),(SELECT peso_liq FROM zor.pesomed WHERE "
                              "id_produto=a.id_erp ORDER BY data DESC "
                              "LIMIT 1)");
    else
        sql += QStringLiteral(",0,0");
    sql +=
        QStringLiteral(",desc_ipi_bc  FROM gestao.produto A    LEFT OUTER JOIN gestao.grupo B ON "
                       "(a.cod_grupo=b.codigo AND b.id_empresa=") +
        grupos +
        QStringLiteral(")   LEFT OUTER JOIN gestao.grupo C ON (a.cod_subgrupo=c.codigo AND c.id_empresa=") +
        grupos +
        QStringLiteral(")   LEFT OUTER JOIN gestao.produto D ON (a.id_erp=d.id_erp AND d.id_empresa=") +
        Conexao::inteiro(v.empresaProduto) +
        QStringLiteral(")   LEFT OUTER JOIN gestao.st E ON (e.codigo=d.cod_st AND e.id_empresa=") +
        Conexao::inteiro(c.empresaCabeca) +
        QStringLiteral(")   LEFT OUTER JOIN gestao.produto1 F ON (f.id_produto=a.id_produto)   WHERE "
                       "(c.produto_variacao=0 OR a.id_prodvinc>0) AND a.id_empresa=") +
        Conexao::inteiro(v.empresaProdutos) +
        QStringLiteral("  AND a.lista_pauta=1 AND a.id_erp IS NOT NULL AND a.ativo=1 AND b.int_qav=1 AND "
                       "c.int_qav=1 ") +
        desdeCorte(c, QStringLiteral(" AND "), QStringLiteral("d.dt_atual"));
    // Which products the workstation sees: the company's sale types, or only the products of the
    // price lists it may use and of its own customers' exclusive lists.
    if (c.qavcfg->integer("ATIVAR_PROD_PAUTA") == 0) {
        sql += QStringLiteral(" AND a.tipo IN ('00','04')");
    } else {
        const QString clientes = c.sistema == QStringLiteral("zor") ? QStringLiteral("zor.corrent")
                                                                    : QStringLiteral("gerente.clientes");
        sql +=
            QStringLiteral(
                " AND (  a.id_erp IN(SELECT DISTINCT CASE WHEN m.id_varprod=0 OR m.id_varprod IS NULL THEN "
                "m.id_prod ELSE m.id_varprod END              FROM gestao.pauxpro M              LEFT OUTER "
                "JOIN gestao.pauta N ON (m.id_pauta=n.id_pauta)              WHERE n.ativo=1 AND n.codigo IN "
                "(") +
            v.codigosPauta +
            QStringLiteral(
                ")             )  or  a.id_erp IN(SELECT DISTINCT CASE WHEN c1.id_varprod=0 OR c1.id_varprod "
                "IS NULL THEN c1.id_prod ELSE c1.id_varprod END              FROM ") +
            clientes +
            QStringLiteral(
                " as a1              LEFT OUTER JOIN gestao.pauta b1 ON(b1.codigo=a1.cod_pauta and "
                "b1.id_empresa=") +
            Conexao::inteiro(v.matriz) +
            QStringLiteral(
                ")              LEFT OUTER JOIN gestao.pauxpro c1 ON(c1.id_pauta=b1.id_pauta)      "
                "        WHERE a1.cod_vendedor=") +
            Conexao::inteiro(representante(c)) +
            QStringLiteral(" and b1.pauta_exclusiva_cliente=1             ) )");
    }
    return sql + QStringLiteral(" ORDER BY a.codigo");
}

// The product step's work on the local table: the deactivation of a full run, then each row the server
// sends, added or written where it changed.
class BaixaProdutos {
public:
    BaixaProdutos(ContextoComunicacao& c, PassoDownload& passo, Table& produtos, Table& outro,
                  const ValoresDownload& v)
        : m_c(c), m_passo(passo), m_produtos(produtos), m_outro(outro), m_lido(produtos.def()),
          m_precoPadrao(QString::number(c.qavcfg->integer("PRECO_PADRAO"))),
          m_origemDesconto(text::rtrim(c.qavcfg->text("ORIGEM_DESCMAX"))),
          m_descontoVendedor(v.descontoMaximoVendedor) {
        const Record& r = produtos.rec();
        for (const Copia& copia : kCopias)
            m_copias.push_back({coluna(copia.coluna), r.field(copia.campo)});
        m_camposGravados = {r.field("ID"),    r.field("ID_EMPRESA"), r.field("PRECO"),
                            r.field("PREC2"), r.field("PREC3"),      r.field("DESC_MAX")};
        for (const CopiaIndexada& copia : m_copias)
            m_camposGravados.push_back(copia.campo);
    }

    // The first run of a company finds no products: each row is then added without looking it up.
    void verificarSeVazia() {
        m_outro.setFilter("ID_EMPRESA = ?", {QVariant::fromValue(m_c.idEmpresa)});
        m_semProdutos = m_outro.seekPhysical() == Status::Ok && m_outro.next() == Status::EndOfFile;
        m_outro.clearFilter();
    }

    bool semProdutos() const { return m_semProdutos; }

    // A full run leaves inactive the company's products the server no longer sends (never deleted:
    // old orders name them). The ones it sends are written in place where they changed, so an
    // unchanged catalogue costs no write; the others are marked at the end (marcarNaoEnviados).
    // A product another window holds is met first, as its marking would meet it, and fails the
    // step before anything is written.
    bool verificarRetidos() {
        m_outro.setFilter("ID_EMPRESA = ? AND ATIVO <> 0 AND \"_hold\" <> ''",
                          {QVariant::fromValue(m_c.idEmpresa)});
        Status s = m_outro.seekPhysical();
        if (s == Status::Ok)
            s = m_outro.next();
        if (s == Status::Ok) {
            Record& r = m_outro.rec();
            r.setInteger("ATIVO", 0);
            if (m_outro.putFields({"ATIVO"}) != Status::Ok)
                return falha(m_outro, r.integer("ID"), text::rtrim(r.text("NOME")));
        }
        m_outro.clearFilter();
        return s != Status::Error || falha(m_outro, 0, QString());
    }

    bool marcarNaoEnviados() {
        m_passo.progresso([] { return QStringLiteral("Inativando os Produtos..."); });
        std::sort(m_enviados.begin(), m_enviados.end());
        const SetResult inativados = putIntegerWhereExcept(m_outro, "ATIVO", 0, "ID_EMPRESA = ?",
                                                           {QVariant::fromValue(m_c.idEmpresa)}, m_enviados);
        if (!inativados.ok())
            return m_passo.falhaGravacao(inativados.error,
                                         QStringLiteral(") ao gravar produto!|Produto: 0 "));
        return true;
    }

    bool gravar(const Linha& l) {
        const long long id = l.inteiro(m_colunaId);
        const QString codigo = l.texto(m_colunaCodigo);
        m_passo.progresso([&] {
            return QStringLiteral("Atualizando Produto: ") + codigo + QLatin1Char(' ') +
                   l.texto(m_colunaNome);
        });
        if (m_semProdutos) {
            m_produtos.clear();
            chave(m_produtos.rec(), id);
            preencher(m_produtos.rec(), l, codigo);
            if (m_produtos.addSimilar(m_camposGravados) == Status::Ok) {
                m_passo.contar();
                return true;
            }
            // Its id or code came twice: the look-ups below sort it out.
            if (m_produtos.error().code != ErrorCode::CreatesDuplicateKey)
                return falha(m_produtos, id, l.texto(m_colunaNome));
        }

        const Status achou = localizar(m_produtos, "KEYID", [&](Record& r) { chave(r, id); });
        if (achou == Status::Error)
            return falha(m_produtos, id, l.texto(m_colunaNome));
        // The code now belongs to this product: another local product holding it gives it up. The
        // codes are unique, so a product that already holds it spares the look-up.
        if (achou == Status::Ok)
            m_lido = m_produtos.rec();
        const QString codigoGuardado = m_produtos.rec().text("CODIGO");
        atribuirDoServidor(m_produtos.rec(), "CODIGO", codigo);
        if (achou != Status::Ok || m_produtos.rec().text("CODIGO") != codigoGuardado)
            tirarCodigoDeOutro(id, codigo);

        preencher(m_produtos.rec(), l, codigo);
        // A product already here is written only where it changed (its keys stay as they are).
        if ((achou == Status::Ok ? putChanged(m_produtos, m_lido) : m_produtos.add()) != Status::Ok)
            return falha(m_produtos, id, l.texto(m_colunaNome));
        m_enviados.push_back(m_produtos.rec().rowId());
        m_passo.contar();
        return true;
    }

private:
    void chave(Record& r, long long id) const {
        r.setInteger("ID", id);
        r.setInteger("ID_EMPRESA", m_c.idEmpresa);
    }

    // The server's values of a product, over the local record.
    void preencher(Record& r, const Linha& l, const QString& codigo) const {
        const QString registro = QStringLiteral("Produto ") + codigo;
        for (const CopiaIndexada& copia : m_copias)
            atribuirOuRegistrar(m_c, r, copia.campo, l.texto(copia.coluna), registro);
        // The price the company chose as its standard goes alone into PRECO; otherwise all three.
        if (m_precoPadrao == QStringLiteral("1") || m_precoPadrao == QStringLiteral("2") ||
            m_precoPadrao == QStringLiteral("3")) {
            atribuirOuRegistrar(m_c, r, "PRECO",
                                l.texto(coluna(qPrintable(QStringLiteral("vl_preco") + m_precoPadrao))),
                                registro);
            r.setDecimal("PREC2", Decimal());
            r.setDecimal("PREC3", Decimal());
        } else {
            atribuirOuRegistrar(m_c, r, "PRECO", l.texto(m_colunaPreco1), registro);
            atribuirOuRegistrar(m_c, r, "PREC2", l.texto(m_colunaPreco2), registro);
            atribuirOuRegistrar(m_c, r, "PREC3", l.texto(m_colunaPreco3), registro);
        }
        // The highest discount: the salesperson's, the group's, or the salesperson's when set.
        if (m_origemDesconto == QStringLiteral("R") ||
            (m_origemDesconto == QStringLiteral("A") && m_descontoVendedor > Decimal()))
            r.setDecimal("DESC_MAX", m_descontoVendedor.forField(7, 2));
        else
            atribuirOuRegistrar(m_c, r, "DESC_MAX", l.texto(m_colunaDescontoMaximo), registro);
    }

    // Another local product holding `codigo` gives it up: it keeps "*<its id>*" until the server
    // sends it again with a code of its own. A failure there is reported and the run goes on.
    void tirarCodigoDeOutro(long long id, const QString& codigo) {
        const Status temDono = localizar(m_outro, "KEYCODIGO", [&](Record& r) {
            atribuirDoServidor(r, "CODIGO", codigo);
            r.setInteger("ID_EMPRESA", m_c.idEmpresa);
        });
        if (temDono != Status::Ok || m_outro.rec().integer("ID") == id)
            return;
        m_outro.rec().setText("CODIGO", QStringLiteral("*%1*").arg(m_outro.rec().integer("ID")));
        if (m_outro.putFields({"CODIGO"}) != Status::Ok)
            falha(m_outro, m_outro.rec().integer("ID"), text::rtrim(m_outro.rec().text("NOME")));
    }

    bool falha(Table& t, long long id, const QString& nome) {
        return m_passo.falhaGravacao(t.error(),
                                     QStringLiteral(") ao gravar produto!|Produto: %1 %2").arg(id).arg(nome));
    }

    ContextoComunicacao& m_c;
    PassoDownload& m_passo;
    Table& m_produtos;
    Table& m_outro; // a second cursor in the same transaction, for the walks and the code's owner
    Record m_lido;  // the stored product, as read before the server's values go in
    std::vector<CopiaIndexada> m_copias;
    std::vector<int> m_camposGravados;    // the fields a new product gets from its row (the others blank)
    std::vector<std::int64_t> m_enviados; // the row ids of the products the server sent
    const size_t m_colunaId = coluna("id_erp"), m_colunaCodigo = coluna("codigo"),
                 m_colunaNome = coluna("descr_det"), m_colunaPreco1 = coluna("vl_preco1"),
                 m_colunaPreco2 = coluna("vl_preco2"), m_colunaPreco3 = coluna("vl_preco3"),
                 m_colunaDescontoMaximo = coluna("desc_max");
    bool m_semProdutos = false;
    const QString m_precoPadrao;
    const QString m_origemDesconto;
    const Decimal m_descontoVendedor;
};

} // namespace

std::optional<QString> consultaProdutos(ContextoComunicacao& c) {
    if (!baixaCadastros(c))
        return std::nullopt;
    return comandoProdutos(c, lerValoresDownload(c));
}

bool baixarProdutos(ContextoComunicacao& c) {
    const std::optional<QString> comando = consultaProdutos(c);
    if (!comando)
        return true;
    const ValoresDownload v = lerValoresDownload(c);
    Table produtos(c.store, "produto");
    PassoDownload passo(c, QStringLiteral(" Produtos..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Produtos..."), {&produtos}))
        return false;
    CursorTransacao outro(produtos);
    if (!outro.aberto())
        return passo.falhaGravacao(outro.tabela().error(), QStringLiteral(") ao gravar produto!"));

    BaixaProdutos baixa(c, passo, produtos, outro.tabela(), v);
    baixa.verificarSeVazia();
    // A company's first products are indexed by name once at the end; over a filled folder the few
    // names that change keep the index in step as they are written.
    if (baixa.semProdutos() && !passo.indiceDeNomesNoFim(produtos, QStringLiteral(") ao gravar produto!")))
        return false;
    const bool total = c.tipo == TipoComunicacao::Total;
    if (total && !baixa.verificarRetidos())
        return false;
    const bool ok = passo.percorrer(*comando, [&](const Linha& linha) { return baixa.gravar(linha); });
    // Into an empty folder every product was sent by this run.
    return ok && (!total || baixa.semProdutos() || baixa.marcarNaoEnviados()) && passo.concluir();
}

} // namespace qav::sync
