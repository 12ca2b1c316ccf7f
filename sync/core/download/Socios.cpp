#include "sync/core/download/Socios.h"

#include "store/core/Table.h"
#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

namespace qav::sync {

namespace {

const char* const kCampos[] = {"ID_SOCIO", "ID_CLIENTE", "NOME",      "CPF_CNPJ",
                               "NACIONA",  "MA_ENTRADA", "VL_QUOTAS", "FUNCAO"};

const QString kColunas =
    QStringLiteral("SELECT a.id_socio, a.id_cliente, a.nome, a.cpf, a.naciona, a.ma_entrada, "
                   "a.vl_quotas,        a.funcao   FROM gestao.socios A   ");

bool baixar(ContextoComunicacao& c, QString comando) {
    if (c.tipo == TipoComunicacao::Parcial)
        comando += QStringLiteral(" AND b.dt_atual>=") + Conexao::data(c.corte);
    Table socios(c.store, "socios");
    PassoDownload passo(c, QStringLiteral(" Sócios..."));
    const auto falha = [&](const QString& sobre) {
        c.erro(QStringLiteral("Erro (") + QString::number(socios.error().number()) +
               QStringLiteral(") ao gravar sócio!|Sócio: ") + sobre);
        return false;
    };
    if (!passo.iniciar(QStringLiteral("Atualizando Sócios..."), {&socios}))
        return false;
    const bool ok = passo.percorrer(
        comando,
        [&](const Linha& l) {
            const long long id = l.inteiro(0);
            const QString sobre = QString::number(id) + QLatin1Char(' ') + l.texto(2);
            passo.progresso([&] { return QStringLiteral("Atualizando Sócio: ") + sobre; });
            socios.clearFilter();
            socios.clear();
            socios.rec().setInteger("ID_SOCIO", id);
            const Status achou = socios.get("KEYID");
            if (achou == Status::Error)
                return falha(sobre);
            if (achou != Status::Ok)
                socios.clear();
            for (size_t i = 0; i < std::size(kCampos); ++i)
                atribuirOuRegistrar(c, socios.rec(), kCampos[i], l.texto(i),
                                    QStringLiteral("Sócio # ") + sobre);
            if ((achou == Status::Ok ? socios.put() : socios.add()) != Status::Ok)
                return falha(sobre);
            passo.contar();
            return true;
        },
        // A refused statement shows the server's text alone, without the statement.
        PassoDownload::ErroComando::SoTexto);
    return ok && passo.concluir();
}

} // namespace

bool baixarSociosZor(ContextoComunicacao& c) {
    if (!passoRoda(c, "zor"))
        return true;
    return baixar(
        c, kColunas +
               QStringLiteral("LEFT OUTER JOIN zor.corrent B ON (a.id_cliente=b.id_corrent)   WHERE ") +
               Conexao::inteiro(representante(c)) +
               QStringLiteral(" IN (cod_vendedor,cod_vendedor2,cod_vendedor3)"));
}

bool baixarSociosGerente(ContextoComunicacao& c) {
    if (!passoRoda(c, "gerente"))
        return true;
    return baixar(c, kColunas +
                         QStringLiteral("LEFT OUTER JOIN gerente.clientes B ON (a.id_cliente=b.id_cliente)   "
                                        "WHERE b.cod_vendedor=") +
                         Conexao::inteiro(representante(c)));
}

} // namespace qav::sync
