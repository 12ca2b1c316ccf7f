#include "store/core/TableSet.h"
#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

namespace qav::sync {

bool baixarStIcms(ContextoComunicacao& c) {
    if (!baixaCadastros(c))
        return true;
    const ValoresDownload v = lerValoresDownload(c);
    Table regras(c.store, "sticms");
    PassoDownload passo(c, QStringLiteral(" ST ICMS..."));
    if (!passo.iniciar(QStringLiteral("Atualizando ST ICMS..."), {&regras}))
        return false;
    const QString comando =
        QStringLiteral(
            "SELECT b.codigo,uf,st_especifica,perc_bc_icms,aliq_icms,modal_bc_icmsst,         "
            "aliq_icmsst,somar_icmsst_nf, perc_marg_vl_icmsst, contribuinte_icms, perc_red_bc_icmsst   "
            "FROM gestao.sticms A   LEFT OUTER JOIN gestao.st B ON (a.id_st=b.id_st)  WHERE id_empresa=") +
        Conexao::inteiro(c.empresaCabeca) +
        QStringLiteral(" AND b.codigo IN (SELECT DISTINCT cod_st FROM gestao.produto WHERE id_empresa=") +
        Conexao::inteiro(v.empresaProduto) + QLatin1Char(')') +
        desdeCorte(c, QStringLiteral(" AND "), QStringLiteral("dt_atual"));
    const bool ok = passo.percorrer(comando, [&](const Linha& l) {
        passo.progresso([&] {
            return QStringLiteral("Atualizando ST ICMS: ") + l.texto(0) + QLatin1Char(' ') + l.texto(1) +
                   QLatin1Char(' ') + l.texto(2);
        });
        const Status achou = localizar(regras, "KEYCOD_ST2", [&](Record& r) {
            r.setInteger("ID_EMPRESA", c.idEmpresa);
            atribuirDoServidor(r, "COD_ST", l.texto(0));
            atribuirDoServidor(r, "UF", l.texto(1));
            atribuirDoServidor(r, "ST_ESPECIFICA", l.texto(2));
            atribuirDoServidor(r, "CONTRIBUINTE_ICMS", l.texto(9));
        });
        if (achou == Status::Error)
            return passo.falhaGravacao(regras.error(), QStringLiteral(") ao gravar ST ICMS!"));
        Record& r = regras.rec();
        const std::pair<size_t, const char*> copias[] = {
            {3, "PERC_BC_ICMS"},    {4, "ALIQ_ICMS"},           {5, "MODAL_BC_ICMSST"},    {6, "ALIQ_ICMSST"},
            {7, "SOMAR_ICMSST_NF"}, {8, "PERC_MARG_VL_ICMSST"}, {10, "PERC_RED_BC_ICMSST"}};
        const QString registro = QStringLiteral("ST ICMS ") + l.texto(0) + QLatin1Char(' ') + l.texto(1);
        for (const auto& [coluna, campo] : copias)
            atribuirOuRegistrar(c, r, campo, l.texto(coluna), registro);
        if (gravar(regras, achou) != Status::Ok)
            return passo.falhaGravacao(regras.error(), QStringLiteral(") ao gravar ST ICMS!"));
        passo.contar();
        return true;
    });
    return ok && passo.concluir();
}

} // namespace qav::sync
