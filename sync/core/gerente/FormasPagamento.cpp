// The payment-form step of the manager database's update: every local payment form goes to the
// office under its local id, marked to be used by the workstations.
#include "store/core/Table.h"
#include "sync/core/gerente/Gravacao.h"
#include "sync/core/gerente/Integracao.h"

namespace qav::sync {

bool atualizarFormasPagamentoGerente(ContextoIntegracao& c) {
    c.registrar(QStringLiteral("Atualizando Forma de Pagamento..."));
    Table formas(c.store, "formapag");
    if (!formas.open()) {
        c.erro(QStringLiteral("Erro (%1) ao abrir formapag.tps!").arg(formas.error().number()));
        return false;
    }
    long long contagem = 0;
    for (Status s = primeiro(formas, "PK_FORMAPAG"); s == Status::Ok; s = formas.next()) {
        const Record& f = formas.rec();
        const long long id = f.integer("ID_FORMAPAG");
        c.linhaProgresso(QStringLiteral("Atualizando Formas de Pagamento: ") +
                         QString::number(f.integer("CODIGO")) + QLatin1Char(' ') + f.text("DESCR").trimmed());
        const QString empresa = Conexao::inteiro(empresaNoGerente(f.integer("ID_EMPRESA")));
        ErroSql erro;
        bool novo = false;
        bool ok = c.conexao.executar(
            QStringLiteral("UPDATE gestao.formapag SET id_formapag=") + Conexao::inteiro(id) +
                QStringLiteral(" WHERE id_empresa=") + empresa + QStringLiteral(" AND codigo=") +
                Conexao::inteiro(f.integer("CODIGO")) + QStringLiteral(" AND id_formapag<>") +
                Conexao::inteiro(id) + QLatin1Char(';'),
            &erro);
        if (ok) {
            ValoresColunas valores{{QStringLiteral("id_empresa"), empresa}};
            for (const char* campo : {"CODIGO", "DESCR", "DESCO", "ACRESC", "NUMPARC", "FRETE", "IPI",
                                      "ARRED", "COBR_BAN", "PRAZO_MEDIO"})
                valores.push_back({QString::fromLatin1(campo).toLower(), literalDoCampo(c, f, campo)});
            valores.push_back({QStringLiteral("integrar_qav"), Conexao::inteiro(1)});
            valores.push_back({QStringLiteral("ativa"), Conexao::inteiro(1)});
            ok = gravarNoGerente(c, QStringLiteral("gestao.formapag"), QStringLiteral("id_formapag"),
                                 QStringLiteral("gestao.formapag_id_formapag_seq"), id, valores, novo, erro);
        }
        if (!ok) {
            c.erroGravacao(erro, "forma pagamento", novo, id);
            return false;
        }
        ++contagem;
    }
    c.registrar(QStringLiteral("Atualizadas ") + QString::number(contagem) +
                QStringLiteral(" Forma de Pagamento..."));
    return true;
}

} // namespace qav::sync
