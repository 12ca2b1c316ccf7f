#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

namespace qav::sync {

bool baixarFormasPagamento(ContextoComunicacao& c) {
    if (!baixaCadastros(c))
        return true;
    Table formas(c.store, "formapag");
    PassoDownload passo(c, QStringLiteral(" Formas de Pagtos..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Forma de Pagtos..."), {&formas}))
        return false;
    // A full run takes the company's payment forms afresh; the removal is undone with the rest of the
    // step when the server's answer does not arrive.
    if (c.tipo == TipoComunicacao::Total &&
        !passo.excluir(
            formas, "ID_EMPRESA = ?", {QVariant::fromValue(c.idEmpresa)},
            [](const Record& r) {
                return QStringLiteral("Excluindo Forma de Pagto # %1").arg(r.integer("CODIGO"));
            },
            QStringLiteral(") ao excluir forma de pagtos!")))
        return false;
    const QString comando =
        QStringLiteral(
            "SELECT id_formapag, id_empresa, codigo, descr, desco, acresc, numparc,        frete, ipi, "
            "arred, cobr_ban, integrar_qav, lancar_fila_cf, ativa,        id_carteira, id_portador, "
            "forma_pagto_normal, tipo_correntista,        (SELECT (sum(prazo*porpag))/100 FROM "
            "gestao.prazopag WHERE id_formapag=a.id_formapag), libera_credito   FROM gestao.formapag A  "
            "WHERE id_empresa=") +
        Conexao::inteiro(c.empresaCabeca) + QStringLiteral(" AND integrar_qav=1") +
        desdeCorte(c, QStringLiteral(" AND "), QStringLiteral("dt_atual"));
    const bool ok = passo.percorrer(comando, [&](const Linha& l) {
        const long long codigo = l.inteiro(2);
        passo.progresso(
            [&] { return QStringLiteral("Atualizando Forma de Pagto: %1 %2").arg(codigo).arg(l.texto(3)); });
        const Status achou = localizar(formas, "KEYCODIGO", [&](Record& r) {
            r.setInteger("CODIGO", codigo);
            r.setInteger("ID_EMPRESA", c.idEmpresa);
        });
        Record& r = formas.rec();
        const auto falha = [&] {
            return passo.falhaGravacao(formas.error(),
                                       QStringLiteral(") ao gravar forma de pagto!|Forma de Pagto: %1 %2")
                                           .arg(codigo)
                                           .arg(l.texto(3)));
        };
        if (achou == Status::Error)
            return falha();
        const long long id = idComEmpresa(l.inteiro(0), c.idEmpresa);
        if (!idCabe(c, id, QStringLiteral("Forma de Pagto: %1 %2").arg(codigo).arg(l.texto(3)),
                    "ID_FORMAPAG")) {
            c.aviso(QStringLiteral(
                        "Forma de pagamento %1 não recebida:|o código não cabe no identificador local.")
                        .arg(codigo));
            return true;
        }
        r.setInteger("ID_FORMAPAG", id);
        const std::pair<int, const char*> copias[] = {
            {3, "DESCR"},        {4, "DESCO"},        {5, "ACRESC"},         {6, "NUMPARC"},
            {7, "FRETE"},        {8, "IPI"},          {9, "ARRED"},          {10, "COBR_BAN"},
            {15, "ID_PORTADOR"}, {18, "PRAZO_MEDIO"}, {19, "LIBERA_CREDITO"}};
        for (const auto& [coluna, campo] : copias)
            atribuirDoServidor(r, campo, l.texto(static_cast<size_t>(coluna)));
        if (gravar(formas, achou) != Status::Ok)
            return falha();
        passo.contar();
        return true;
    });
    return ok && passo.concluir();
}

} // namespace qav::sync
