#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

#include <unordered_set>

namespace qav::sync {

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
    const long long precoPadrao = c.qavcfg->integer("PRECO_PADRAO");
    // The rows come list by list; the products already written in the current list tell a new price
    // from one that comes again (a colour priced as a variation and under its own id).
    long long pautaAtual = -1;
    std::unordered_set<long long> produtosDaPauta, pautasRecusadas;
    long long codigoAtual = 0, idPautaDoCodigo = 0;
    // The fields every row writes, looked up once.
    const Record& modelo = precos.rec();
    const struct {
        int idProd, idPauta, preco1, preco2, preco3, bcComissao, valorPautaIcmsSt, divisor, txComissao,
            txIcms;
    } campo{modelo.field("ID_PROD"),
            modelo.field("ID_PAUTA"),
            modelo.field("PRECO1"),
            modelo.field("PRECO2"),
            modelo.field("PRECO3"),
            modelo.field("BC_COMISSAO"),
            modelo.field("VALOR_PAUTA_ICMS_ST"),
            modelo.field("DIVISOR"),
            modelo.field("TX_COMISSAO"),
            modelo.field("TX_ICMS")};
    bool temCodigo = false, recusada = false;
    const bool ok = passo.percorrer(
        comando,
        [&](const Linha& l) {
            const long long codigo = l.inteiro(0);
            passo.progresso([&] {
                return QStringLiteral("Atualizando Produto da Pauta # %1/%2").arg(codigo).arg(l.texto(1));
            });
            // The prices of a list whose code makes no local id are refused with it (logged once). The
            // rows come list by list: the id and the verdict are worked out once per list.
            if (codigo != codigoAtual || !temCodigo) {
                temCodigo = true;
                codigoAtual = codigo;
                idPautaDoCodigo = idComEmpresa(codigo, c.idEmpresa);
                recusada =
                    pautasRecusadas.count(idPautaDoCodigo) ||
                    (!idCabe(c, idPautaDoCodigo, QStringLiteral("Pauta # %1").arg(codigo), "ID_PAUTA") &&
                     pautasRecusadas.insert(idPautaDoCodigo).second);
            }
            if (recusada)
                return true;
            const long long idPauta = idPautaDoCodigo;
            const long long variacao = l.inteiro(6);
            const long long idProduto = variacao > 0 ? variacao : l.inteiro(1);
            const auto chave = [&](Record& r) {
                r.setInteger(campo.idProd, idProduto);
                r.setInteger(campo.idPauta, idPauta);
            };
            const auto campos = [&](Record& r) {
                if (precoPadrao >= 1 && precoPadrao <= 3) {
                    atribuirDoServidor(r, campo.preco1, l.texto(static_cast<size_t>(1 + precoPadrao)));
                } else {
                    atribuirDoServidor(r, campo.preco1, l.texto(2));
                    atribuirDoServidor(r, campo.preco2, l.texto(3));
                    atribuirDoServidor(r, campo.preco3, l.texto(4));
                }
                atribuirDoServidor(r, campo.bcComissao, l.texto(5));
                atribuirDoServidor(r, campo.valorPautaIcmsSt, l.texto(8));
                atribuirDoServidor(r, campo.divisor, l.texto(9));
                atribuirDoServidor(r, campo.txComissao, l.texto(10));
                atribuirDoServidor(r, campo.txIcms, l.texto(11));
            };
            if (idPauta != pautaAtual) {
                pautaAtual = idPauta;
                produtosDaPauta.clear();
            }
            // A full run removed the company's prices first: a product not yet seen in this list is new.
            const bool nova = produtosDaPauta.insert(idProduto).second && c.tipo == TipoComunicacao::Total;
            bool gravado = false;
            if (nova) {
                // The usual case, written directly; a key taken after all goes the long way below.
                precos.clear();
                chave(precos.rec());
                campos(precos.rec());
                gravado = precos.add() == Status::Ok;
                if (!gravado && precos.error().code != ErrorCode::CreatesDuplicateKey)
                    return passo.falhaGravacao(precos.error(),
                                               QStringLiteral(") ao gravar produto na pauta de preços!"));
            }
            if (!gravado && incluirOuAlterar(precos, "KEYPRODUTO", false, chave, campos) != Status::Ok)
                return passo.falhaGravacao(precos.error(),
                                           QStringLiteral(") ao gravar produto na pauta de preços!"));
            // A promotional price in a list marks the product as on promotion.
            if (l.inteiro(7) == 1) {
                const Status temProduto = localizar(produtos, "KEYID", [&](Record& p) {
                    p.setInteger("ID", idProduto);
                    p.setInteger("ID_EMPRESA", c.idEmpresa);
                });
                if (temProduto == Status::Ok) {
                    produtos.rec().setInteger("PRECO_PROMOCIONAL", 1);
                    if (produtos.putFields({"PRECO_PROMOCIONAL"}) != Status::Ok)
                        return passo.falhaGravacao(produtos.error(), QStringLiteral(") ao gravar produto!"));
                }
            }
            passo.contar();
            return true;
        },
        PassoDownload::ErroComando::ComComando);
    return ok && passo.concluir();
}

} // namespace qav::sync
