#include "store/core/TableSet.h"
#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

namespace qav::sync {

bool baixarCustoProdutos(ContextoComunicacao& c) {
    if (!baixaCadastros(c) || lerValoresDownload(c).analiseLucro == 0)
        return true;
    Table produtos(c.store, "produto");
    Record lido(produtos.def());
    const std::vector<int> campos = {lido.field("DT_ATUAL_CUSTO"), lido.field("VL_CUSTO"),
                                     lido.field("NOME")};
    PassoDownload passo(c, QStringLiteral(" Produtos..."), QStringLiteral("Atualizados Custo de "));
    if (!passo.iniciar(QStringLiteral("Atualizando Custo dos Produtos..."), {&produtos}))
        return false;
    const int empresaCustos = c.conexao.empresaTabelaCompartilhada(QStringLiteral("cstpadrao"), c.idEmpresa);
    const QString comando =
        QStringLiteral("SELECT a.id_produto,dt_atual_custo,valor FROM ( SELECT A1.id_produto,max(A1.data) as "
                       "dt_atual_custo   FROM gestao.cstpadrao A1   LEFT OUTER JOIN gestao.produto B1 ON "
                       "(A1.id_produto=B1.id_erp AND B1.id_empresa=") +
        Conexao::inteiro(c.empresaCabeca) + QStringLiteral(")   WHERE A1.id_empresa=") +
        Conexao::inteiro(empresaCustos) +
        QStringLiteral(
            " AND B1.tipo IN ('00','04')   GROUP BY A1.id_produto ) A   LEFT OUTER JOIN gestao.cstpadrao B "
            "ON (a.id_produto=b.id_produto AND a.dt_atual_custo=b.data);");
    const bool ok = passo.percorrer(comando, [&](const Linha& l) {
        const long long id = l.inteiro(0);
        passo.progresso([&] { return QStringLiteral("Atualizando Custo do Produto: %1").arg(id); });
        return gravarNoProduto(
            passo, produtos, id, c.idEmpresa, lido, campos,
            [&](Record& r) {
                const QString registro = QStringLiteral("Custo do Produto # %1").arg(id);
                atribuirOuRegistrar(c, r, "DT_ATUAL_CUSTO", l.texto(1), registro);
                atribuirOuRegistrar(c, r, "VL_CUSTO", l.texto(2), registro);
            },
            [&] {
                return QStringLiteral(") ao gravar custo do produto!|Produto: %1 %2")
                    .arg(id)
                    .arg(text::rtrim(produtos.rec().text("NOME")));
            });
    });
    return ok && passo.concluir();
}

} // namespace qav::sync
