#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

namespace qav::sync {

// Accessories are kept by the sales office's manager database only, and are never removed here: old
// orders name them.
bool baixarAcessorios(ContextoComunicacao& c) {
    if (!baixaCadastros(c) || c.sistema != QStringLiteral("gerente"))
        return true;
    Table acessorios(c.store, "acessori");
    PassoDownload passo(c, QStringLiteral(" Acessórios..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Acessórios..."), {&acessorios}))
        return false;
    const QString comando =
        QStringLiteral(
            "SELECT a.id_acessorio,b.codigo,a.descricao,a.preco,b.nome,a.ativo FROM gerente.acessorio A   "
            "LEFT OUTER JOIN gestao.grupo B ON (a.id_subgrupo=b.id_grupo)   WHERE a.id_empresa=") +
        Conexao::inteiro(c.empresaCabeca) +
        desdeCorte(c, QStringLiteral(" AND ("), QStringLiteral("a.dt_atual"),
                   QStringLiteral(" OR b.da>=") + Conexao::data(c.corte) + QLatin1Char(')')) +
        QStringLiteral(" ORDER BY a.id_acessorio;");
    const bool ok = passo.percorrer(comando, [&](const Linha& l) {
        const long long id = l.inteiro(0);
        passo.progresso([&] {
            return QStringLiteral("Atualizando Acessório: %1: %2: %3").arg(id).arg(l.texto(4), l.texto(2));
        });
        const Status achou =
            localizar(acessorios, "PK_ACESSORIO", [&](Record& r) { r.setInteger("ID_ACESSORIO", id); });
        if (achou == Status::Error)
            return passo.falhaGravacao(acessorios.error(), QStringLiteral(") ao gravar acessório!"));
        Record& r = acessorios.rec();
        r.setInteger("ID_EMPRESA", c.idEmpresa);
        const QString registro = QStringLiteral("Acessório # %1").arg(id);
        atribuirOuRegistrar(c, r, "COD_SUBGRUPO", l.texto(1), registro);
        atribuirOuRegistrar(c, r, "DESCRICAO", l.texto(2), registro);
        atribuirOuRegistrar(c, r, "PRECO", l.texto(3), registro);
        atribuirOuRegistrar(c, r, "DESCR_SUBGRUPO", l.texto(4), registro);
        atribuirOuRegistrar(c, r, "ATIVO", l.texto(5), registro);
        if (gravar(acessorios, achou) != Status::Ok)
            return passo.falhaGravacao(acessorios.error(), QStringLiteral(") ao gravar acessório!"));
        passo.contar();
        return true;
    });
    return ok && passo.concluir();
}

} // namespace qav::sync
