#include "sync/core/envio/ItensPedidoZor.h"

#include "store/core/Text.h"
#include "sync/core/envio/Comandos.h"
#include "sync/core/envio/ItensPedidoComum.h"

#include <iterator>
#include <utility>
#include <vector>

namespace qav::sync {

namespace {

// Subcategories of the products sold as bars of a given length.
bool ehBarra(const Record& produto) {
    const long long subcategoria = produto.integer("SUBCATEGORIA");
    return subcategoria == 103 || subcategoria == 1;
}

// "BR6000" for a 6000 mm bar; lengths of five digits take "B" and the five.
QString unidadeBarra(long long comprimento) {
    return comprimento < 10000 ? QStringLiteral("BR%1").arg(comprimento, 4, 10, QLatin1Char('0'))
                               : QStringLiteral("B%1").arg(comprimento, 5, 10, QLatin1Char('0'));
}

const char* const kDimensoes[] = {
    "LARGURA", "ALTURA", "ID_ACABAMENTO", "ID_VIDRO", "ID_VISTA", "L1", "L2", "L3", "L4", "H1", "H2",
    "H3",      "H4"};

class EnvioItem {
public:
    EnvioItem(ContextoComunicacao& c, const DadosItens& d, ItemEnvio& e)
        : m_c(c), m_d(d), m_item(e.item), m_ordem(e.ordem), m_produto(e.produto), m_comissao(e.comissao) {}

    bool enviar() {
        QString idSt;
        if (!situacaoTributaria(idSt) || !produtoVinculado() || !unidades())
            return false;
        ErroSql erro;
        if (!m_c.conexao.executar(comando(m_comissao, idSt), &erro)) {
            m_c.erroComando(erro);
            return false;
        }
        return acessorios();
    }

private:
    // The tax situation of the item: the product's, or the one the operation puts in its place.
    bool situacaoTributaria(QString& idSt) {
        long long codigo = m_produto.integer("COD_ST");
        const OperacaoFiscal& op = m_d.operacao;
        if (op.stExclusiva && op.codigo != 0) {
            std::optional<Linha> troca;
            if (!envio::lerLinha(
                    m_c,
                    QStringLiteral("SELECT cod_st_exclusivo FROM gestao.stxtes WHERE id_empresa=") +
                        Conexao::inteiro(op.empresaFiscal) + QStringLiteral(" AND cod_tes=") +
                        Conexao::inteiro(op.codigo) + QStringLiteral(" AND cod_st=") +
                        Conexao::inteiro(codigo) + QLatin1Char(';'),
                    troca))
                return false;
            // Without a rule of its own for this situation the operation keeps the product's.
            if (troca && !troca->nula(0))
                codigo = troca->inteiro(0);
        }
        std::optional<Linha> st;
        if (!envio::lerLinha(m_c,
                             QStringLiteral("SELECT id_st FROM gestao.st WHERE id_empresa=") +
                                 Conexao::inteiro(m_c.empresaCabeca) + QStringLiteral(" AND codigo=") +
                                 Conexao::inteiro(codigo) + QLatin1Char(';'),
                             st))
            return false;
        idSt = st && !st->nula(0) ? Conexao::inteiro(st->inteiro(0)) : QStringLiteral("Null");
        return true;
    }

    // A colour or finish variation is sold as the product it varies, with the measures the ERP keeps
    // for the variation.
    bool produtoVinculado() {
        m_produ = m_item.integer("PRODU");
        const long long vinculado = m_produto.integer("ID_PRODVINC");
        if (vinculado < 1)
            return true;
        m_produ = vinculado;
        std::optional<Linha> medidas;
        if (!envio::lerLinha(
                m_c,
                QStringLiteral("SELECT largura,altura,id_acabamento,id_vidro,id_vista,l1,l2,l3,l4,h1,"
                               "h2,h3,h4 FROM gestao.produto A WHERE id_erp=") +
                    Conexao::inteiro(m_produto.integer("ID")) + QStringLiteral(" AND id_empresa=") +
                    Conexao::inteiro(m_c.empresaCabeca) + QLatin1Char(';'),
                medidas))
            return false;
        if (!medidas)
            return true;
        m_item.setDecimal("LARGURA", medidas->decimal(0).forField(9, 2));
        m_item.setDecimal("ALTURA", medidas->decimal(1).forField(9, 2));
        for (size_t i = 2; i < std::size(kDimensoes); ++i)
            m_item.setInteger(kDimensoes[i], medidas->inteiro(i));
        m_item.setInteger("ID_VARPROD", m_produto.integer("ID"));
        return true;
    }

    bool unidades() {
        m_unidadeVenda = text::rtrim(m_produto.text("UNIDA"));
        m_unidadeEstoque = m_unidadeVenda;
        m_preco = m_item.decimal("PRUNI");
        m_quantidade = m_item.decimal("QTD");
        if (!ehBarra(m_produto))
            return true;
        const long long comprimento = m_item.integer("COMPRIMENTO");
        m_unidadeEstoque = unidadeBarra(comprimento);
        // A customer invoiced by the bar buys whole bars: the price of one is its weight's.
        if (m_d.fontes.cliente.text("REGRA_EXCLUSIVA").contains(QStringLiteral("FATBARRA"))) {
            m_unidadeVenda = m_unidadeEstoque;
            m_preco =
                (m_preco * m_produto.decimal("PESO_METRO") * Decimal(comprimento) / Decimal(1000)).rounded(4);
            m_quantidade = Decimal(m_item.integer("QTD_PECAS"));
        }
        std::optional<Linha> acabamento;
        if (!envio::lerLinha(m_c,
                             QStringLiteral("SELECT id_acabamento FROM gestao.produto A WHERE id_erp=") +
                                 Conexao::inteiro(m_produto.integer("ID")) +
                                 QStringLiteral(" AND id_empresa=") + Conexao::inteiro(m_c.empresaCabeca) +
                                 QLatin1Char(';'),
                             acabamento))
            return false;
        if (acabamento && !acabamento->nula(0))
            m_item.setInteger("ID_ACABAMENTO", acabamento->inteiro(0));
        return true;
    }

    QString comando(const QString& comissao, const QString& idSt) const {
        const Conexao& cx = m_c.conexao;
        const bool precoComIpi = m_item.integer("PRECO_COM_IPI") == 1;
        envio::Insercao linha;
        const auto coluna = [&](const char* nome, const QString& valor) { linha.coluna(nome, valor); };
        // A column of the same name as the item's field.
        const auto decimal = [&](const char* campo) {
            linha.coluna(QString::fromLatin1(campo).toLower(), Conexao::numero(m_item.decimal(campo)));
        };
        const auto inteiro = [&](const char* campo) {
            linha.coluna(QString::fromLatin1(campo).toLower(), Conexao::inteiro(m_item.integer(campo)));
        };
        coluna("id_pedido", Conexao::inteiro(m_d.fontes.idPedidoServidor));
        coluna("ordem", Conexao::inteiro(m_ordem));
        coluna("produ", Conexao::inteiro(m_produ));
        coluna("qtd", Conexao::numero(m_quantidade));
        coluna("unidade", envio::texto(cx, m_unidadeVenda));
        coluna("pruni", precoComIpi ? QStringLiteral("0") : Conexao::numero(m_preco));
        decimal("DESCP");
        decimal("DESCV");
        coluna("num_oc", envio::texto(cx, m_item.text("NUM_OC")));
        coluna("item_oc", Conexao::inteiro(m_item.integer("NUM_ITEM_OC")));
        coluna("ipi", Conexao::numero(m_item.decimal("VL_IPI")));
        decimal("TOTAL");
        coluna("comis", comissao);
        coluna("obs", envio::texto(cx, m_item.text("OBS")));
        inteiro("STATUS");
        coluna("id_st", idSt);
        coluna("preco_ipi", precoComIpi ? Conexao::numero(m_preco) : QStringLiteral("0"));
        inteiro("QTD_PECAS");
        inteiro("COMPRIMENTO");
        decimal("LARGURA");
        decimal("ALTURA");
        for (size_t i = 2; i < std::size(kDimensoes); ++i)
            inteiro(kDimensoes[i]);
        inteiro("ID_VARPROD");
        decimal("PR_PAUTA_LIQ");
        decimal("VL_FLEX");
        decimal("PRECO_PAUTA");
        coluna("und_estoque", envio::texto(cx, m_unidadeEstoque));
        return linha.comando(QStringLiteral("zor.peditens"));
    }

    bool acessorios() {
        const QString idItem =
            m_c.conexao.querysql(QStringLiteral("select currval('zor.peditens_id_peditem_seq');"));
        if (idItem.isEmpty())
            return false;
        return enviarAcessorios(m_c, m_d.fontes.tabelas.pedacess, m_item.integer("ID_VENDASI"), idItem,
                                QStringLiteral("zor.pedacessorio"));
    }

    ContextoComunicacao& m_c;
    const DadosItens& m_d;
    Record& m_item;
    int m_ordem;
    const Record& m_produto;
    const QString& m_comissao;
    long long m_produ = 0;
    QString m_unidadeVenda, m_unidadeEstoque;
    Decimal m_preco, m_quantidade;
};

} // namespace

bool enviarItens(ContextoComunicacao& c, const DadosItens& d) {
    return enviarCadaItem(c, d.fontes, [&](ItemEnvio& item) { return EnvioItem(c, d, item).enviar(); });
}

} // namespace qav::sync
