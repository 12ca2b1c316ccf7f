#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

#include <unordered_set>

namespace qav::sync {

bool baixarPautas(ContextoComunicacao& c) {
    if (!baixaCadastros(c))
        return true;
    const ValoresDownload v = lerValoresDownload(c);
    Table pautas(c.store, "pauta");
    PassoDownload passo(c, QStringLiteral(" Pauta de Preços..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Pauta de Preços..."), {&pautas}))
        return false;
    if (c.tipo == TipoComunicacao::Total &&
        !passo.excluir(
            pautas, "ID_EMPRESA = ?", {QVariant::fromValue(c.idEmpresa)},
            [](const Record& r) { return QStringLiteral("Excluindo Pauta # %1").arg(r.integer("CODIGO")); },
            QStringLiteral(") ao exclui pauta de preços!")))
        return false;
    const QString comando =
        QStringLiteral(
            "SELECT codigo,num_pauta,dt_cadast,descricao,obs,ativo,dt_ini,dt_fim,bc_comissao,"
            "bloq_descontos,   vl_pedido1,vl_pedido2,vl_pedido3,vl_pedido4,vl_pedido5,tx_desconto1,"
            "tx_desconto2,tx_desconto3,tx_desconto4,tx_desconto5,pauta_exclusiva_cliente    FROM "
            "gestao.pauta    WHERE ativo=1 AND (") +
        listasDoVendedor(c, v, "codigo") +
        desdeCorte(c, QStringLiteral(" AND ("), QStringLiteral("dt_atual"), QStringLiteral(")")) +
        QStringLiteral(" ORDER BY codigo;");
    const char* const campos[] = {"CODIGO",         "NUM_PAUTA",    "DT_CADAST",
                                  "DESCRICAO",      "OBS",          "ATIVO",
                                  "DT_INI",         "DT_FIM",       "BC_COMISSAO",
                                  "BLOQ_DESCONTOS", "VL_PEDIDO1",   "VL_PEDIDO2",
                                  "VL_PEDIDO3",     "VL_PEDIDO4",   "VL_PEDIDO5",
                                  "TX_DESCONTO1",   "TX_DESCONTO2", "TX_DESCONTO3",
                                  "TX_DESCONTO4",   "TX_DESCONTO5", "PAUTA_EXCLUSIVA_CLIENTE"};
    const bool ok = passo.percorrer(
        comando,
        [&](const Linha& l) {
            const long long codigo = l.inteiro(0);
            passo.progresso([&] { return QStringLiteral("Atualizando Pauta # %1").arg(codigo); });
            const long long id = idComEmpresa(codigo, c.idEmpresa);
            if (!idCabe(c, id, QStringLiteral("Pauta # %1").arg(codigo), "ID")) {
                c.aviso(QStringLiteral("Pauta de preços %1 não recebida:|o código não cabe no identificador "
                                       "local.")
                            .arg(codigo));
                return true;
            }
            const Status achou = localizar(pautas, "KEYID", [&](Record& r) { r.setInteger("ID", id); });
            if (achou == Status::Error)
                return passo.falhaGravacao(pautas.error(), QStringLiteral(") ao gravar pauta de preços!"));
            Record& r = pautas.rec();
            r.setInteger("ID_EMPRESA", c.idEmpresa);
            for (size_t i = 0; i < std::size(campos); ++i)
                atribuirOuRegistrar(c, r, campos[i], l.texto(i), QStringLiteral("Pauta # %1").arg(codigo));
            if (gravar(pautas, achou) != Status::Ok)
                return passo.falhaGravacao(pautas.error(), QStringLiteral(") ao gravar pauta de preços!"));
            passo.contar();
            return true;
        },
        PassoDownload::ErroComando::ComComando);
    return ok && passo.concluir();
}

} // namespace qav::sync
