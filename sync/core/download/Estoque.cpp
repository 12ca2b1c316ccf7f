#include "store/core/TableSet.h"
#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

namespace qav::sync {

std::optional<QString> consultaEstoque(ContextoComunicacao& c) {
    const bool entregaImediata = c.qavcfg->integer("ATIVA_ENTREGA_IMEDIATA") != 0;
    // An orders-only run still refreshes the stock when the salesperson may promise immediate delivery.
    if (!baixaCadastros(c) && !entregaImediata)
        return std::nullopt;
    const QString local = entregaImediata ? Conexao::inteiro(c.qavcfg->integer("ID_ESTLOCAL"))
                                          : QStringLiteral("a.cod_estlocal");
    const QString tipo = text::rtrim(c.qavcfg->text("TP_ESTOQUE"));
    QString quantidade = QStringLiteral("d.qtdade");
    if (tipo == QStringLiteral("E"))
        quantidade = QStringLiteral("d.qtdade-d.qtd_empenhada");
    else if (tipo == QStringLiteral("P"))
        quantidade = QStringLiteral("d.qtdade-d.qtd_empenhada-d.qtd_pedidos");
    else if (tipo == QStringLiteral("Z"))
        quantidade = QStringLiteral("0");
    QString comando =
        QStringLiteral("SELECT a.id_empresa, a.id_erp, ") + quantidade +
        QStringLiteral(
            "   FROM gestao.produto A     LEFT OUTER JOIN gestao.grupo B ON (a.cod_grupo=b.codigo AND "
            "a.id_empresa=b.id_empresa)    LEFT OUTER JOIN gestao.grupo C ON (a.cod_subgrupo=c.codigo AND "
            "a.id_empresa=c.id_empresa)    LEFT OUTER JOIN gestao.estsaldo D ON (a.id_erp=d.id_produto AND "
            "d.id_empresa=") +
        Conexao::inteiro(c.idEmpresa) + QStringLiteral(" AND ") + local +
        QStringLiteral(
            "=d.id_estlocal)   WHERE (c.produto_variacao=0 OR a.id_prodvinc>0) AND a.id_empresa=") +
        Conexao::inteiro(c.empresaCabeca) +
        QStringLiteral(
            " AND a.id_erp IS NOT NULL AND a.lista_pauta=1 AND a.ativo=1 AND b.int_qav=1 AND c.int_qav=1 ");
    // Unlike the other steps, an orders-only run also takes only what changed.
    if (c.tipo != TipoComunicacao::Total)
        comando += QStringLiteral(" AND d.data>=") + Conexao::data(c.corte);
    comando += QStringLiteral(" ORDER BY a.id_erp");
    return comando;
}

bool baixarEstoque(ContextoComunicacao& c) {
    const std::optional<QString> comando = consultaEstoque(c);
    if (!comando)
        return true;
    Table produtos(c.store, "produto");
    Record lido(produtos.def());
    const std::vector<int> campos = {lido.field("QTD_ESTOQUE")};
    PassoDownload passo(c, QStringLiteral(" Estoques..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Estoque..."), {&produtos}))
        return false;
    const bool ok = passo.percorrer(*comando, [&](const Linha& l) {
        const long long id = l.inteiro(1);
        passo.progresso([&] { return QStringLiteral("Atualizando Estoque: %1").arg(id); });
        return gravarNoProduto(
            passo, produtos, id, c.idEmpresa, lido, campos,
            [&](Record& r) {
                atribuirOuRegistrar(c, r, "QTD_ESTOQUE", l.texto(2),
                                    QStringLiteral("Estoque do Produto # %1").arg(id));
            },
            [] { return QStringLiteral(") ao gravar produto/estoque!"); });
    });
    return ok && passo.concluir();
}

} // namespace qav::sync
