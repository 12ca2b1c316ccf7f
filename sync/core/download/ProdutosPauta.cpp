#include "store/core/TableSet.h"
#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

#include <algorithm>
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

// The price list's id ends in the company's four digits: those are the company's prices.
const std::string kPrecosDaEmpresa = "ID_PAUTA % 10000 = ?";

// Whether the folder holds any price of the company (the first one found ends the look).
bool temPrecosDaEmpresa(Table& precos, int idEmpresa) {
    precos.setFilter(kPrecosDaEmpresa, {QVariant::fromValue(idEmpresa)});
    precos.setPageSize(1);
    const bool tem = precos.seekPhysical() == Status::Ok && precos.next() == Status::Ok;
    precos.setPageSize(Table::kDefaultPageSize);
    precos.clearFilter();
    return tem;
}

// The products of the list being read, each with the row its price went to. The rows come by product
// id within a list, so a new id is nearly always the largest yet and goes at the end; only an id out
// of that order (a colour priced as a variation) is looked for among the others.
class ProdutosDaLista {
public:
    void limpar() { m_linhas.clear(); }
    // The row of the product's price in this list; nothing when the list has not brought it yet.
    std::optional<std::int64_t> linhaDe(long long idProduto) const {
        if (m_linhas.empty() || idProduto > m_linhas.back().first)
            return std::nullopt;
        const auto it = m_linhas.begin() + lugar(idProduto);
        return it != m_linhas.end() && it->first == idProduto ? std::optional(it->second) : std::nullopt;
    }
    void anotar(long long idProduto, std::int64_t linha) {
        if (m_linhas.empty() || idProduto > m_linhas.back().first) {
            m_linhas.emplace_back(idProduto, linha);
            return;
        }
        const auto it = m_linhas.begin() + lugar(idProduto);
        if (it != m_linhas.end() && it->first == idProduto)
            it->second = linha;
        else
            m_linhas.emplace(it, idProduto, linha);
    }

private:
    std::ptrdiff_t lugar(long long idProduto) const {
        return std::lower_bound(m_linhas.begin(), m_linhas.end(), idProduto,
                                [](const auto& par, long long id) { return par.first < id; }) -
               m_linhas.begin();
    }
    std::vector<std::pair<long long, std::int64_t>> m_linhas;
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
    // `noLugar`: a full run over prices already in the folder, which it leaves in place when they come
    // unchanged (see gravarNoLugar) instead of having removed them all first.
    // `semChaveProduto`: a company's first prices, added while the index of KEYPRODUTO waits for the
    // end of the step; a price that comes again in its list is then found by its row (see gravarPreco).
    BaixaPrecosPauta(ContextoComunicacao& c, PassoDownload& passo, Table& precos, Table& produtos,
                     bool noLugar, bool semChaveProduto)
        : m_c(c), m_passo(passo), m_precos(precos), m_produtos(produtos), m_campo(precos.rec()),
          m_precoPadrao(c.qavcfg->integer("PRECO_PADRAO")), m_camposGravados(camposGravados()),
          m_noLugar(noLugar), m_semChaveProduto(semChaveProduto) {}

    // After a full run in place: the company's prices the server did not send again go.
    bool removerNaoRecebidos() {
        std::sort(m_mantidos.begin(), m_mantidos.end());
        const SetResult removidos =
            removeWhereExcept(m_precos, kPrecosDaEmpresa, {QVariant::fromValue(m_c.idEmpresa)}, m_mantidos);
        if (!removidos.ok())
            return m_passo.falhaGravacao(removidos.error, QStringLiteral(") ao excluir Pauta x Produto!"));
        return true;
    }

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

    // The fields a new price gets from its row (the others stay blank).
    std::vector<int> camposGravados() const {
        std::vector<int> campos = {m_campo.idProd,           m_campo.idPauta, m_campo.preco1,
                                   m_campo.bcComissao,       m_campo.divisor, m_campo.txComissao,
                                   m_campo.valorPautaIcmsSt, m_campo.txIcms};
        if (m_precoPadrao < 1 || m_precoPadrao > 3)
            campos.insert(campos.end(), {m_campo.preco2, m_campo.preco3});
        return campos;
    }

    // The company's standard price goes alone into PRECO1; otherwise all three. A value that does not
    // fit leaves its field as it was, or blank with `emBrancoSeNaoCouber`.
    void preencher(Record& r, const Linha& l, bool emBrancoSeNaoCouber = false) const {
        const auto atribuir = [&](int campo, size_t coluna) {
            if (!atribuirDoServidor(r, campo, l.texto(coluna)) && emBrancoSeNaoCouber)
                r.clearField(campo);
        };
        if (m_precoPadrao >= 1 && m_precoPadrao <= 3) {
            atribuir(m_campo.preco1, static_cast<size_t>(Preco1 - 1 + m_precoPadrao));
        } else {
            atribuir(m_campo.preco1, Preco1);
            atribuir(m_campo.preco2, Preco2);
            atribuir(m_campo.preco3, Preco3);
        }
        atribuir(m_campo.bcComissao, BcComissao);
        atribuir(m_campo.valorPautaIcmsSt, ValorPautaIcmsSt);
        atribuir(m_campo.divisor, Divisor);
        atribuir(m_campo.txComissao, TxComissao);
        atribuir(m_campo.txIcms, TxIcms);
    }

    // The products already written in the current list tell a new price from one that comes again (a
    // colour priced as a variation and under its own id). A full run removed the company's prices
    // first: a product not yet seen in this list is new, written directly; a key taken after all goes
    // the long way.
    bool gravarPreco(const Linha& l, long long idPauta, long long idProduto) {
        if (idPauta != m_pautaAtual) {
            m_pautaAtual = idPauta;
            m_produtosDaPauta.limpar();
        }
        const std::optional<std::int64_t> linhaNaLista = m_produtosDaPauta.linhaDe(idProduto);
        const bool nova = !linhaNaLista && m_c.tipo == TipoComunicacao::Total;
        if (nova && m_noLugar)
            return gravarNoLugar(l, idPauta, idProduto);
        if (linhaNaLista && m_semChaveProduto)
            return regravar(l, *linhaNaLista);
        bool gravado = false;
        if (nova) {
            comoNovo(l, idPauta, idProduto);
            gravado = m_precos.addSimilar(m_camposGravados) == Status::Ok;
            if (!gravado && m_precos.error().code != ErrorCode::CreatesDuplicateKey)
                return falhaPreco();
            if (gravado)
                m_produtosDaPauta.anotar(idProduto, m_precos.rec().rowId());
        }
        if (!gravado) {
            m_bufferEmBranco = false;
            if (incluirOuAlterar(
                    m_precos, "KEYPRODUTO", false, [&](Record& r) { chave(r, idPauta, idProduto); },
                    [&](Record& r) { preencher(r, l); }) != Status::Ok)
                return falhaPreco();
            m_produtosDaPauta.anotar(idProduto, m_precos.rec().rowId());
            if (m_noLugar)
                m_mantidos.push_back(m_precos.rec().rowId());
        }
        return true;
    }

    // A price this step wrote earlier in the list comes again: written over with the row's values,
    // where they differ, as the look-up by its key would have done.
    bool regravar(const Linha& l, std::int64_t linha) {
        m_bufferEmBranco = false;
        if (m_precos.getRow(linha) != Status::Ok)
            return falhaPreco();
        const Record lido = m_precos.rec();
        preencher(m_precos.rec(), l);
        return putChanged(m_precos, lido) == Status::Ok || falhaPreco();
    }

    // The buffer as a new price: it stays blank but for the fields every new price sets, which the
    // row's values replace (a value that does not fit leaves its field blank).
    void comoNovo(const Linha& l, long long idPauta, long long idProduto) {
        if (!m_bufferEmBranco) {
            m_precos.clear();
            m_bufferEmBranco = true;
        }
        chave(m_precos.rec(), idPauta, idProduto);
        preencher(m_precos.rec(), l, true);
    }

    // The price as a new one would be written (blank but for the row's fields); a stored price equal
    // to it in every field stays as it is, untouched, and a different one is written over whole: the
    // same records as removing them all and adding them again, without rewriting the unchanged
    // majority of a full run.
    bool gravarNoLugar(const Linha& l, long long idPauta, long long idProduto) {
        comoNovo(l, idPauta, idProduto);
        const std::optional<std::int64_t> igual = m_precos.identicalRowId("KEYPRODUTO", m_camposGravados);
        if (!igual)
            return falhaPreco();
        if (*igual != 0) {
            m_mantidos.push_back(*igual);
            m_produtosDaPauta.anotar(idProduto, *igual);
            return true;
        }
        const Record novo = m_precos.rec();
        m_bufferEmBranco = false;
        const Status achou =
            localizar(m_precos, "KEYPRODUTO", [&](Record& r) { chave(r, idPauta, idProduto); });
        if (achou == Status::Error)
            return falhaPreco();
        const std::int64_t linha = m_precos.rec().rowId();
        const std::int64_t revisao = m_precos.rec().revision();
        m_precos.rec() = novo;
        if (achou == Status::Ok)
            m_precos.rec().setOrigin(linha, revisao);
        if ((achou == Status::Ok ? m_precos.put() : m_precos.add()) != Status::Ok)
            return falhaPreco();
        m_mantidos.push_back(m_precos.rec().rowId());
        m_produtosDaPauta.anotar(idProduto, m_precos.rec().rowId());
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
    const std::vector<int> m_camposGravados;
    const bool m_noLugar;
    const bool m_semChaveProduto;
    std::vector<std::int64_t> m_mantidos; // the prices of a run in place that stay (row ids)
    bool m_bufferEmBranco = false;
    long long m_pautaAtual = -1;
    ProdutosDaLista m_produtosDaPauta;
    std::unordered_set<long long> m_pautasRecusadas;
    long long m_codigoAtual = 0, m_idPautaDoCodigo = 0;
    bool m_temCodigo = false, m_recusada = false;
};

} // namespace

std::optional<QString> consultaProdutosPauta(ContextoComunicacao& c) {
    if (!baixaCadastros(c))
        return std::nullopt;
    return QStringLiteral(
               "SELECT b.codigo,a.id_produto,preco1,preco2,preco3,a.bc_comissao,a.id_varprod,a.tp_pauta,"
               "a.valor_pauta_icms_st, divisor, tx_comissao, tx_icms FROM gestao.vpauxpro A LEFT OUTER "
               "JOIN gestao.pauta B ON (a.id_pauta=b.id_pauta) WHERE b.ativo=1 AND (") +
           listasDoVendedor(c, lerValoresDownload(c), "b.codigo") +
           desdeCorte(c, QStringLiteral(" AND ("), QStringLiteral("a.dt_atual"), QStringLiteral(")")) +
           QStringLiteral(" ORDER BY b.codigo,a.id_produto;");
}

bool baixarProdutosPauta(ContextoComunicacao& c) {
    const std::optional<QString> comando = consultaProdutosPauta(c);
    if (!comando)
        return true;
    Table precos(c.store, "pauxpro");
    Table produtos(c.store, "produto");
    PassoDownload passo(c, QStringLiteral(" Produtos da Pauta de Preços..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Produtos da Pauta de Preços..."), {&precos, &produtos}))
        return false;
    // A full run over a folder that holds the company's prices compares each price with the one it
    // has; into an empty one (a company's first run) the prices are added as they come.
    const bool noLugar = c.tipo == TipoComunicacao::Total && temPrecosDaEmpresa(precos, c.idEmpresa);
    if (c.tipo == TipoComunicacao::Total && !noLugar &&
        !passo.excluir(
            precos, kPrecosDaEmpresa, {QVariant::fromValue(c.idEmpresa)},
            [](const Record& r) {
                return QStringLiteral("Excluindo Produto da Pauta # %1/%2")
                    .arg(r.integer("ID_PAUTA"))
                    .arg(r.integer("ID_PROD"));
            },
            QStringLiteral(") ao excluir Pauta x Produto!")))
        return false;
    // A company's first prices land all over the index by product (they come list by list): it is
    // built once, sorted, at the end.
    const bool primeiraCarga = c.tipo == TipoComunicacao::Total && !noLugar;
    if (primeiraCarga &&
        !passo.chavesNoFim(precos, {"KEYPRODUTO"}, QStringLiteral(") ao gravar produto na pauta de preços!")))
        return false;
    BaixaPrecosPauta baixa(c, passo, precos, produtos, noLugar, primeiraCarga);
    const bool ok = passo.percorrer(
        *comando, [&](const Linha& l) { return baixa.gravar(l); }, PassoDownload::ErroComando::ComComando);
    return ok && (!noLugar || baixa.removerNaoRecebidos()) && passo.concluir();
}

} // namespace qav::sync
