#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

namespace qav::sync {

// The latest freight cost of each region and loading town, for the salespeople who see margins.
// The rates are kept in the ERP's own tables: a manager database has none, so there is nothing to
// take from it (asking would only fail the run).
bool baixarCustoFrete(ContextoComunicacao& c) {
    if (!baixaCadastros(c) || c.sistema != QStringLiteral("zor") || lerValoresDownload(c).analiseLucro == 0)
        return true;
    Table fretes(c.store, "cstfrete");
    PassoDownload passo(c, QStringLiteral(" Fretes..."), QStringLiteral("Atualizados Custo de "));
    if (!passo.iniciar(QStringLiteral("Atualizando Custo dos Fretes..."), {&fretes}))
        return false;
    const QString comando = QStringLiteral(
        "SELECT a.id_regiao,a.id_mun_carreg,a.dt_atual,vl_custo_m3,vl_custo_kg,tx_frete,c.descricao AS "
        "nm_regiao,d.nome,d.estado  FROM (SELECT id_regiao,id_mun_carreg,max(data) as dt_atual    FROM "
        "zor.fretexreg "
        "   GROUP BY id_regiao,id_mun_carreg) A LEFT OUTER JOIN zor.fretexreg B ON (a.id_regiao=b.id_regiao "
        "AND "
        "a.id_mun_carreg=b.id_mun_carreg AND a.dt_atual=b.data) LEFT OUTER JOIN zor.regiao C ON "
        "(a.id_regiao=c.id_regiao) LEFT OUTER JOIN gestao.municipio D ON (b.id_mun_carreg=d.id_municipio); ");
    const bool ok = passo.percorrer(comando, [&](const Linha& l) {
        const long long regiao = l.inteiro(0);
        const long long municipio = l.inteiro(1);
        passo.progresso([&] {
            return QStringLiteral("Atualizando Custo do Frete: ") + l.texto(6) + QStringLiteral(" - ") +
                   l.texto(7);
        });
        const auto falha = [&] {
            return passo.falhaGravacao(
                fretes.error(), QStringLiteral(") ao gravar custo do frete!|Região %1 - Mun. Carga: %2")
                                    .arg(regiao)
                                    .arg(municipio));
        };
        const Status achou = localizar(fretes, "KEY_REGIAO_MUN_CARREG", [&](Record& r) {
            r.setInteger("ID_REGIAO", regiao);
            r.setInteger("ID_MUN_CARREG", municipio);
        });
        if (achou == Status::Error)
            return falha();
        Record& r = fretes.rec();
        const QString registro = QStringLiteral("Custo do Frete # %1/%2").arg(regiao).arg(municipio);
        atribuirOuRegistrar(c, r, "DT_ATUAL", l.texto(2), registro);
        atribuirOuRegistrar(c, r, "VL_CUSTO_M3", l.texto(3), registro);
        atribuirOuRegistrar(c, r, "VL_CUSTO_KG", l.texto(4), registro);
        atribuirOuRegistrar(c, r, "TX_FRETE", l.texto(5), registro);
        atribuirOuRegistrar(c, r, "NM_REGIAO", l.texto(6), registro);
        atribuirOuRegistrar(c, r, "NM_MUN_CARREG", text::rtrim(l.texto(7)) + QLatin1Char('/') + l.texto(8),
                            registro);
        if (gravar(fretes, achou) != Status::Ok)
            return falha();
        passo.contar();
        return true;
    });
    return ok && passo.concluir();
}

} // namespace qav::sync
