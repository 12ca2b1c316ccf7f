#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

#include <unordered_set>

namespace qav::sync {

namespace {

// The columns of the step's statement, by place.
enum Coluna : size_t {
    CodigoPauta = 0,
    IdProduto = 1,
    Preco1 = 2,
    Preco2 = 3,
    Preco3 = 4,
    BcComissao = 5,
    IdVariacao = 6,
    TipoPauta = 7,
    ValorPautaIcmsSt = 8,
    Divisor = 9,
    TxComissao = 10,
    TxIcms = 11,
};

// A price list's price marked 1 in `tp_pauta` is a promotional one.
constexpr long long kPrecoPromocional = 1;

// The fields every row writes, looked up once.
struct CamposPreco {
    explicit CamposPreco(const Record& modelo)
        : idProd(modelo.field("ID_PROD")), idPauta(modelo.field("ID_PAUTA")), preco1(modelo.field("PRECO1")),
          preco2(modelo.field("PRECO2")), preco3(modelo.field("PRECO3")),
          bcComissao(modelo.field("BC_COMISSAO")), valorPautaIcmsSt(modelo.field("VALOR_PAUTA_ICMS_ST")),
          divisor(modelo.field("DIVISOR")), txComissao(modelo.field("TX_COMISSAO")),
          txIcms(modelo.field("TX_ICMS")) {}
    int idProd, idPauta, preco1, preco2, preco3, bcComissao, valorPautaIcmsSt, divisor, txComissao, txIcms;
};

// The step's work on the local tables, row by row. The rows come list by list.
class BaixaPrecosPauta {
public:
    BaixaPrecosPauta(ContextoComunicacao& c, PassoDownload& passo, Table& precos, Table& produtos)
        : m_c(c), m_passo(passo), m_precos(precos), m_produtos(produtos), m_campo(precos.rec()),
          m_precoPadrao(c.qavcfg->integer("PRECO_PADRAO")) {}

    bool gravar(const Linha& l) {
        const long long codigo = l.inteiro(CodigoPauta);
        m_passo.progresso([&] {
            return QStringLiteral("Atualizando Produto da Pauta # %1/%2").arg(codigo).arg(l.texto(IdProduto));
        });
        if (!aceitarPauta(codigo))
            return true;
        const long long idPauta = m_idPautaDoCodigo;
        const long long variacao = l.inteiro(IdVariacao);
        const long long idProduto = variacao > 0 ? variacao : l.inteiro(IdProduto);
        if (!gravarPreco(l, idPauta, idProduto))
            return false;
        if (l.inteiro(TipoPauta) == kPrecoPromocional && !marcarPromocao(idProduto))
            return false;
        m_passo.contar();
        return true;
    }

private:
    // The prices of a list whose code makes no local id are refused with it (logged once). The id and
    // the verdict are worked out once per list.
    bool aceitarPauta(long long codigo) {
        if (codigo != m_codigoAtual || !m_temCodigo) {
            m_temCodigo = true;
            m_codigoAtual = codigo;
            m_idPautaDoCodigo = idComEmpresa(codigo, m_c.idEmpresa);
            m_recusada =
                m_pautasRecusadas.count(m_idPautaDoCodigo) ||
                (!idCabe(m_c, m_idPautaDoCodigo, QStringLiteral("Pauta # %1").arg(codigo), "ID_PAUTA") &&
                 m_pautasRecusadas.insert(m_idPautaDoCodigo).second);
        }
        return !m_recusada;
    }

    void chave(Record& r, long long idPauta, long long idProduto) const {
        r.setInteger(m_campo.idProd, idProduto);
        r.setInteger(m_campo.idPauta, idPauta);
    }

    // The company's standard price goes alone into PRECO1; otherwise all three.
    void preencher(Record& r, const Linha& l) const {
        if (m_precoPadrao >= 1 && m_precoPadrao <= 3) {
            atribuirDoServidor(r, m_campo.preco1, l.texto(static_cast<size_t>(Preco1 - 1 + m_precoPadrao)));
        } else {
            atribuirDoServidor(r, m_campo.preco1, l.texto(Preco1));
            atribuirDoServidor(r, m_campo.preco2, l.texto(Preco2));
            atribuirDoServidor(r, m_campo.preco3, l.texto(Preco3));
        }
        atribuirDoServidor(r, m_campo.bcComissao, l.texto(BcComissao));
        atribuirDoServidor(r, m_campo.valorPautaIcmsSt, l.texto(ValorPautaIcmsSt));
        atribuirDoServidor(r, m_campo.divisor, l.texto(Divisor));
        atribuirDoServidor(r, m_campo.txComissao, l.texto(TxComissao));
        atribuirDoServidor(r, m_campo.txIcms, l.texto(TxIcms));
    }

    // The products already written in the current list tell a new price from one that comes again (a
    // colour priced as a variation and under its own id). A full run removed the company's prices
    // first: a product not yet seen in this list is new, written directly; a key taken after all goes
    // the long way.
    bool gravarPreco(const Linha& l, long long idPauta, long long idProduto) {
        if (idPauta != m_pautaAtual) {
            m_pautaAtual = idPauta;
            m_produtosDaPauta.clear();
        }
        const bool nova = m_produtosDaPauta.insert(idProduto).second && m_c.tipo == TipoComunicacao::Total;
        bool gravado = false;
        if (nova) {
            m_precos.clear();
            chave(m_precos.rec(), idPauta, idProduto);
            preencher(m_precos.rec(), l);
            gravado = m_precos.add() == Status::Ok;
            if (!gravado && m_precos.error().code != ErrorCode::CreatesDuplicateKey)
                return falhaPreco();
        }
        if (!gravado && incluirOuAlterar(
                            m_precos, "KEYPRODUTO", false, [&](Record& r) { chave(r, idPauta, idProduto); },
                            [&](Record& r) { preencher(r, l); }) != Status::Ok)
            return falhaPreco();
        return true;
    }

    // A promotional price in a list marks the product as on promotion.
    bool marcarPromocao(long long idProduto) {
        const Status temProduto = localizar(m_produtos, "KEYID", [&](Record& p) {
            p.setInteger("ID", idProduto);
            p.setInteger("ID_EMPRESA", m_c.idEmpresa);
        });
        if (temProduto != Status::Ok)
            return true;
        m_produtos.rec().setInteger("PRECO_PROMOCIONAL", 1);
        if (m_produtos.putFields({"PRECO_PROMOCIONAL"}) != Status::Ok)
            return m_passo.falhaGravacao(m_produtos.error(), QStringLiteral(") ao gravar produto!"));
        return true;
    }

    bool falhaPreco() {
        return m_passo.falhaGravacao(m_precos.error(),
                                     QStringLiteral(") ao gravar produto na pauta de preços!"));
    }

    ContextoComunicacao& m_c;
    PassoDownload& m_passo;
    Table& m_precos;
    Table& m_produtos;
    const CamposPreco m_campo;
    const long long m_precoPadrao;
    long long m_pautaAtual = -1;
    std::unordered_set<long long> m_produtosDaPauta, m_pautasRecusadas;
    long long m_codigoAtual = 0, m_idPautaDoCodigo = 0;
    bool m_temCodigo = false, m_recusada = false;
};

} // namespace

bool baixarProdutosPauta(ContextoComunicacao& c) {
    if (!baixaCadastros(c))
        return true;
    const ValoresDownload v = lerValoresDownload(c);
    Table precos(c.store, "pauxpro");
    Table produtos(c.store, "produto");
    PassoDownload passo(c, QStringLiteral(" Produtos da Pauta de Preços..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Produtos da Pauta de Preços..."), {&precos, &produtos}))
        return false;
    // The price list's id ends in the company's four digits: those are the company's prices.
    if (c.tipo == TipoComunicacao::Total &&
        !passo.excluir(
            precos, "ID_PAUTA % 10000 = ?", {QVariant::fromValue(c.idEmpresa)},
            [](const Record& r) {
                return QStringLiteral("Excluindo Produto da Pauta # %1/%2")
                    .arg(r.integer("ID_PAUTA"))
                    .arg(r.integer("ID_PROD"));
            },
            QStringLiteral(") ao excluir Pauta x Produto!")))
        return false;
    const QString comando =
        QStringLiteral(
            "SELECT b.codigo,a.id_produto,preco1,preco2,preco3,a.bc_comissao,a.id_varprod,a.tp_pauta,"
            "a.valor_pauta_icms_st, divisor, tx_comissao, tx_icms FROM gestao.vpauxpro A LEFT OUTER "
            "JOIN gestao.pauta B ON (a.id_pauta=b.id_pauta) WHERE b.ativo=1 AND (") +
        listasDoVendedor(c, v, "b.codigo") +
        desdeCorte(c, QStringLiteral(" AND ("), QStringLiteral("a.dt_atual"), QStringLiteral(")")) +
        QStringLiteral(" ORDER BY b.codigo,a.id_produto;");
    BaixaPrecosPauta baixa(c, passo, precos, produtos);
    const bool ok = passo.percorrer(
        comando, [&](const Linha& l) { return baixa.gravar(l); }, PassoDownload::ErroComando::ComComando);
    return ok && passo.concluir();
}

} // namespace qav::sync
