#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

namespace qav::sync {

bool baixarMunicipios(ContextoComunicacao& c) {
    if (!baixaCadastros(c))
        return true;
    Table municipios(c.store, "municip");
    PassoDownload passo(c, QStringLiteral(" Municípios..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Municípios..."), {&municipios}))
        return false;
    const QString comando =
        QStringLiteral("SELECT id_municipio, codigo_ibge, codigo_estadual, nome, estado, id_regiao,        "
                       "cst_frete_m3, populacao, codigo_federal, dt_atual   FROM gestao.municipio ") +
        desdeCorte(c, QStringLiteral(" WHERE "), QStringLiteral("dt_atual"));
    const bool ok = passo.percorrer(comando, [&](const Linha& l) {
        const long long id = l.inteiro(0);
        passo.progresso(
            [&] { return QStringLiteral("Atualizando Município: %1 %2").arg(id).arg(l.texto(3)); });
        const Status achou = localizar(municipios, "KEYID", [&](Record& r) { r.setInteger("ID", id); });
        Record& r = municipios.rec();
        if (achou == Status::Error)
            return passo.falhaGravacao(
                municipios.error(),
                QStringLiteral(") ao gravar município!|Município: %1 %2").arg(id).arg(l.texto(3)));
        const QString registro = QStringLiteral("Município # %1").arg(id);
        atribuirOuRegistrar(c, r, "COD_RAIS", l.texto(1), registro);
        atribuirOuRegistrar(c, r, "CODIGO", l.texto(2), registro);
        atribuirOuRegistrar(c, r, "NOME", l.texto(3), registro);
        atribuirOuRegistrar(c, r, "ESTADO", l.texto(4), registro);
        atribuirOuRegistrar(c, r, "ID_REGIAO", l.texto(5), registro);
        atribuirOuRegistrar(c, r, "CST_FRETE_M3", l.texto(6), registro);
        if (gravar(municipios, achou) != Status::Ok)
            return passo.falhaGravacao(municipios.error(),
                                       QStringLiteral(") ao gravar município!|Município: %1 %2")
                                           .arg(id)
                                           .arg(text::rtrim(r.text("NOME"))));
        passo.contar();
        return true;
    });
    return ok && passo.concluir();
}

} // namespace qav::sync
