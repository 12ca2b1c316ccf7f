#include "store/core/TableSet.h"
#include "store/core/Text.h"
#include "sync/core/CampoServidor.h"
#include "sync/core/DownloadCadastros.h"
#include "sync/core/PassoDownload.h"
#include "sync/core/ValorNaoCabe.h"

namespace qav::sync {

namespace {

// A value of the row written over a product the workstation already has; a row whose product is not
// here is passed over. False after a write failure was shown.
// Only the fields whose values `mudar` changed are written (none when it changed nothing), so the
// product's keys are not rebuilt for each row. `lido` holds the product as read (the step's own buffer).
bool gravarNoProduto(PassoDownload& passo, Table& produtos, long long idProduto, int idEmpresa, Record& lido,
                     const std::function<void(Record&)>& mudar, const std::function<QString()>& textoFalha) {
    const Status achou = localizar(produtos, "KEYID", [&](Record& r) {
        r.setInteger("ID", idProduto);
        r.setInteger("ID_EMPRESA", idEmpresa);
    });
    if (achou == Status::NotFound)
        return true;
    if (achou == Status::Ok) {
        lido = produtos.rec();
        mudar(produtos.rec());
        if (putChanged(produtos, lido) == Status::Ok) {
            passo.contar();
            return true;
        }
    }
    return passo.falhaGravacao(produtos.error(), textoFalha());
}

} // namespace

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

bool baixarEstoque(ContextoComunicacao& c) {
    const bool entregaImediata = c.qavcfg->integer("ATIVA_ENTREGA_IMEDIATA") != 0;
    // An orders-only run still refreshes the stock when the salesperson may promise immediate delivery.
    if (!baixaCadastros(c) && !entregaImediata)
        return true;
    Table produtos(c.store, "produto");
    Record lido(produtos.def());
    PassoDownload passo(c, QStringLiteral(" Estoques..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Estoque..."), {&produtos}))
        return false;
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
    const bool ok = passo.percorrer(comando, [&](const Linha& l) {
        const long long id = l.inteiro(1);
        passo.progresso([&] { return QStringLiteral("Atualizando Estoque: %1").arg(id); });
        return gravarNoProduto(
            passo, produtos, id, c.idEmpresa, lido,
            [&](Record& r) {
                atribuirOuRegistrar(c, r, "QTD_ESTOQUE", l.texto(2),
                                    QStringLiteral("Estoque do Produto # %1").arg(id));
            },
            [] { return QStringLiteral(") ao gravar produto/estoque!"); });
    });
    return ok && passo.concluir();
}

bool baixarCustoProdutos(ContextoComunicacao& c) {
    if (!baixaCadastros(c) || lerValoresDownload(c).analiseLucro == 0)
        return true;
    Table produtos(c.store, "produto");
    Record lido(produtos.def());
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
            passo, produtos, id, c.idEmpresa, lido,
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
