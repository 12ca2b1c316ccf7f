// The price-list step of the manager database's update: every local price list, with its prices,
// goes to the office under its local id, so that the orders entered in the office name the same
// lists as this installation.
#include "store/core/Table.h"
#include "sync/core/gerente/Gravacao.h"
#include "sync/core/gerente/Integracao.h"

#include <QStringList>

namespace qav::sync {

namespace {

const char* const kCamposPauta[] = {"NUM_PAUTA",      "DT_CADAST",    "DESCRICAO",    "OBS",
                                    "PERC_ACRESC1",   "PERC_ACRESC2", "PERC_ACRESC3", "PERC_ACRESC4",
                                    "PERC_COMISS1",   "PERC_COMISS2", "PERC_COMISS3", "PERC_COMISS4",
                                    "BLOQUEAR_PRECO", "DT_INI",       "DT_FIM",       "TAXA_PERDA_PERFIL",
                                    "TAXA_COMISSAO",  "TAXA_MARGEM",  "TAXA_ICMS",    "TAXA_FRETE",
                                    "PRAZO_MEDIO",    "BC_COMISSAO"};

const char* const kCamposPreco[] = {"ID_PROD",          "PRECO1",
                                    "PRECO2",           "PRECO3",
                                    "CST_REP",          "MARGEM1",
                                    "MARGEM2",          "ID_ACABAMENTO",
                                    "ID_VIDRO",         "LARGURA",
                                    "ALTURA",           "ID_VARPROD",
                                    "VALOR1",           "VALOR_PAUTA_ICMS_ST",
                                    "TAXA_MARGEM1",     "TAXA_MARGEM2",
                                    "TAXA_MARGEM3",     "MARKUP_DESPFIXAS1",
                                    "MARKUP_IMPOSTOS1", "MARKUP_COMISSAO1",
                                    "MARKUP_LUCRO1",    "MARKUP_DESCONTO1",
                                    "MARKUP_FINANC1",   "MARKUP_FRETE1",
                                    "PRECO_PRATIC_SUG", "BC_COMISSAO"};

QString minusculo(const char* campo) {
    return QString::fromLatin1(campo).toLower();
}

// The office's list with the same company and code under another id takes the local id; its old
// prices go, the list's own prices come below.
bool assumirIdLocal(const ContextoIntegracao& c, long long id, const QString& empresa, long long codigo,
                    ErroSql& erro) {
    const auto outra =
        c.conexao.consultar(QStringLiteral("SELECT id_pauta FROM gestao.pauta WHERE id_empresa=") + empresa +
                                QStringLiteral(" AND codigo=") + Conexao::inteiro(codigo) +
                                QStringLiteral(" AND id_pauta<>") + Conexao::inteiro(id) + QLatin1Char(';'),
                            &erro);
    if (!outra)
        return false;
    for (const Linha& linha : *outra) {
        const QString antigo = Conexao::inteiro(linha.inteiro(0));
        if (!c.conexao.executar(QStringLiteral("DELETE FROM gestao.pauxpro WHERE id_pauta=") + antigo,
                                &erro) ||
            !c.conexao.executar(QStringLiteral("UPDATE gestao.pauta SET id_pauta=") + Conexao::inteiro(id) +
                                    QStringLiteral(" WHERE id_pauta=") + antigo,
                                &erro))
            return false;
    }
    return true;
}

// Prices per INSERT: many rows to a round trip, and statements of a few hundred kilobytes at most.
constexpr int kPrecosPorComando = 500;

// The list's prices on the office replace the old ones, sent many rows to a statement.
bool gravarPrecos(const ContextoIntegracao& c, Table& precos, long long id, ErroSql& erro) {
    if (!c.conexao.executar(
            QStringLiteral("DELETE FROM gestao.pauxpro WHERE id_pauta=") + Conexao::inteiro(id), &erro))
        return false;
    QString cabecalho = QStringLiteral("INSERT INTO gestao.pauxpro (id_pauta");
    for (const char* campo : kCamposPreco)
        cabecalho += QStringLiteral(", ") + minusculo(campo);
    cabecalho += QStringLiteral(") VALUES ");
    QStringList linhas;
    const auto enviar = [&] {
        if (linhas.isEmpty())
            return true;
        const bool ok =
            c.conexao.executar(cabecalho + linhas.join(QLatin1Char(',')) + QLatin1Char(';'), &erro);
        linhas.clear();
        return ok;
    };
    precos.clear();
    precos.rec().setInteger("ID_PAUTA", id);
    Status s = primeiroDesde(precos, "KEYPAUTA");
    for (; s == Status::Ok; s = precos.next()) {
        if (precos.rec().integer("ID_PAUTA") != id)
            break;
        QStringList valores{Conexao::inteiro(id)};
        for (const char* campo : kCamposPreco)
            valores << literalDoCampo(c, precos.rec(), campo);
        linhas << QLatin1Char('(') + valores.join(QStringLiteral(", ")) + QLatin1Char(')');
        if (linhas.size() >= kPrecosPorComando && !enviar())
            return false;
    }
    if (s == Status::Error) {
        erro.texto = QStringLiteral("Erro (%1) ao ler pauxpro.tps!").arg(precos.error().number());
        return false;
    }
    return enviar();
}

// One list on the office: taking over the local id, its row and its prices, in one server
// transaction, so that a failure (or a lost connection) leaves the office's list as it was.
bool gravarPauta(const ContextoIntegracao& c, Table& precos, long long id, const QString& empresa,
                 long long codigo, const ValoresColunas& valores, bool& novo, ErroSql& erro) {
    if (!c.conexao.executar(QStringLiteral("begin;"), &erro))
        return false;
    if (assumirIdLocal(c, id, empresa, codigo, erro) &&
        gravarNoGerente(c, QStringLiteral("gestao.pauta"), QStringLiteral("id_pauta"),
                        QStringLiteral("gestao.pauta_id_pauta_seq"), id, valores, novo, erro) &&
        gravarPrecos(c, precos, id, erro) && c.conexao.confirmar(QStringLiteral("commit;"), erro))
        return true;
    if (c.conexao.emTransacao())
        c.conexao.executar(QStringLiteral("rollback;"));
    return false;
}

} // namespace

bool atualizarPautasGerente(ContextoIntegracao& c) {
    c.registrar(QStringLiteral("Atualizando Pauta de Preços..."));
    Table pautas(c.store, "pauta"), precos(c.store, "pauxpro");
    if (!pautas.open() || !precos.open()) {
        c.erro(QStringLiteral("Erro (%1) ao abrir pauta.tps!")
                   .arg(pautas.isOpen() ? precos.error().number() : pautas.error().number()));
        return false;
    }
    long long contagem = 0;
    for (Status s = primeiro(pautas, "KEYID"); s == Status::Ok; s = pautas.next()) {
        const Record& p = pautas.rec();
        const long long id = p.integer("ID");
        c.linhaProgresso(QStringLiteral("Atualizando Pauta ") + QString::number(id) + QLatin1Char(' ') +
                         p.text("DESCRICAO").trimmed());
        const QString empresa = Conexao::inteiro(empresaNoGerente(p.integer("ID_EMPRESA")));
        ValoresColunas valores{{QStringLiteral("id_empresa"), empresa},
                               {QStringLiteral("codigo"), Conexao::inteiro(p.integer("CODIGO"))},
                               {QStringLiteral("ativo"), Conexao::inteiro(1)}};
        for (const char* campo : kCamposPauta)
            valores.push_back({minusculo(campo), literalDoCampo(c, p, campo)});
        ErroSql erro;
        bool novo = false;
        if (!gravarPauta(c, precos, id, empresa, p.integer("CODIGO"), valores, novo, erro)) {
            c.erroGravacao(erro, "pauta", novo, id);
            return false;
        }
        ++contagem;
    }
    if (pautas.error().code != ErrorCode::None) {
        c.erro(QStringLiteral("Erro (%1) ao ler pauta.tps!").arg(pautas.error().number()));
        return false;
    }
    c.registrar(QStringLiteral("Atualizados ") + QString::number(contagem) +
                QStringLiteral(" Pautas de Preço..."));
    return true;
}

} // namespace qav::sync
