#include "tools/qavdemo/ServidorDemo.h"

#include "store/core/Table.h"
#include "store/core/Text.h"
#include "sync/core/Conexao.h"

#include <QStringList>

namespace qav::demo {

namespace {

using sync::Conexao;

// Literals written without a connection, in the form every server reads the same way.
const Conexao& literais() {
    static const Conexao semConexao;
    return semConexao;
}

QString txt(const Record& r, const char* campo) {
    return literais().texto(text::rtrim(r.text(campo)));
}

QString num(const Record& r, const char* campo) {
    return Conexao::inteiro(r.integer(campo));
}

QString dec(const Record& r, const char* campo) {
    return Conexao::numero(r.decimal(campo));
}

QString digitos(const QString& texto) {
    QString so;
    for (const QChar c : texto)
        if (c.isDigit())
            so += c;
    return so.isEmpty() ? QStringLiteral("Null") : so;
}

QString insert(const char* tabela, const QStringList& colunas, const QStringList& valores) {
    return QStringLiteral("INSERT INTO gestao.") + QString::fromLatin1(tabela) + QStringLiteral(" (") +
           colunas.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
           valores.join(QStringLiteral(", ")) + QStringLiteral(");\n");
}

bool ler(Table& t, const char* chave, std::initializer_list<std::pair<const char*, long long>> valores) {
    if (!t.open())
        return false;
    t.clear();
    for (const auto& [campo, valor] : valores)
        t.rec().setInteger(campo, valor);
    return t.get(chave) == Status::Ok;
}

} // namespace

QString sqlDoServidor(const QString& pastaDados, int idEmpresa, QString* erro) {
    Store store(pastaDados);
    Table empresa(store, "empresa");
    Table cfg(store, "qavcfg");
    if (!ler(empresa, "KEYID", {{"ID_EMPRESA", idEmpresa}}) ||
        !ler(cfg, "KEYID_EMPRESA", {{"ID_EMPRESA", idEmpresa}})) {
        if (erro)
            *erro = QStringLiteral("empresa %1 ou sua configuração não está em %2")
                        .arg(idEmpresa)
                        .arg(pastaDados);
        return {};
    }
    const Record& e = empresa.rec();
    const Record& c = cfg.rec();
    QString sql = QStringLiteral("-- The demonstration company as the central server knows it.\n");

    // The address is kept on the server as street and number.
    const QString ender = text::rtrim(e.text("ENDER"));
    const QString rua = ender.section(QLatin1Char(','), 0, 0).trimmed();
    const QString numero = digitos(ender.section(QLatin1Char(','), 1));
    sql += insert("empresa",
                  {QStringLiteral("id_empresa"), QStringLiteral("nome"), QStringLiteral("razao_social"),
                   QStringLiteral("endereco"), QStringLiteral("numero"), QStringLiteral("bairro"),
                   QStringLiteral("id_municipio"), QStringLiteral("estado"), QStringLiteral("cnpj"),
                   QStringLiteral("inscr_estadual"), QStringLiteral("fax"), QStringLiteral("email"),
                   QStringLiteral("telefone"), QStringLiteral("cep"), QStringLiteral("complemento"),
                   QStringLiteral("id_portador_padrao"), QStringLiteral("id_matriz")},
                  {num(e, "ID_EMPRESA"), literais().texto(text::rtrim(e.text("NOME")).left(30)),
                   txt(e, "NOME"), literais().texto(rua), numero, txt(e, "BAIRR"), num(e, "ID_MUNICIPIO"),
                   txt(e, "UF"), txt(e, "CNPJ"), txt(e, "IE"), txt(e, "FAX"), txt(e, "EMAIL"),
                   digitos(e.text("FONE")), digitos(e.text("CEP")), txt(e, "COMPLEMENTO"),
                   num(e, "ID_PORTADOR_PADRAO"), num(e, "ID_MATRIZ")});

    sql += insert(
        "qavcfg",
        {QStringLiteral("id_empresa"), QStringLiteral("preco_com_ipi"), QStringLiteral("dias_bloqueio"),
         QStringLiteral("cod_pauta1"), QStringLiteral("cod_pauta2"), QStringLiteral("cod_pauta3"),
         QStringLiteral("ativar_prod_pauta"), QStringLiteral("preco_padrao"),
         QStringLiteral("bloq_preco_pedido"), QStringLiteral("origem_descmax"),
         QStringLiteral("ativa_rel_com"), QStringLiteral("tp_estoque"), QStringLiteral("bloq_relatorios"),
         QStringLiteral("bloq_volumes"), QStringLiteral("bloq_frete"), QStringLiteral("numped_gestao")},
        {num(c, "ID_EMPRESA"), num(c, "PRECO_COM_IPI"), num(c, "DIAS_BLOQUEIO"), num(c, "COD_PAUTA1"),
         num(c, "COD_PAUTA2"), num(c, "COD_PAUTA3"), num(c, "ATIVAR_PROD_PAUTA"), num(c, "PRECO_PADRAO"),
         num(c, "BLOQUEIOS1"), txt(c, "ORIGEM_DESCMAX"), num(c, "ATIVA_REL_COM"), txt(c, "TP_ESTOQUE"),
         txt(c, "BLOQ_RELATORIOS"), txt(c, "BLOQ_VOLUMES"), num(c, "BLOQ_FRETE"), QStringLiteral("60000")});

    const auto chave = [&](const QString& nome, const QString& valor) {
        return insert("qavconfig",
                      {QStringLiteral("id_empresa"), QStringLiteral("chave"), QStringLiteral("nome"),
                       QStringLiteral("valor")},
                      {Conexao::inteiro(idEmpresa), literais().texto(QStringLiteral("Configuração")),
                       literais().texto(nome), literais().texto(valor)});
    };
    sql += chave(QStringLiteral("Versão QAV Liberada"), QStringLiteral("186"));
    sql += chave(QStringLiteral("Tipo Comunicação"), text::rtrim(c.text("TP_COM")));
    sql += chave(QStringLiteral("Dias Bloqueio Comunicação"), QString::number(c.integer("DIAS_BLOQUEIO")));
    sql += chave(QStringLiteral("Dias Bloqueio Crédito"), QString::number(c.integer("DIAS_BLOQ_CREDITO")));
    sql +=
        chave(QStringLiteral("Bloqueio Alterar Pauta de Preços"), QString::number(c.integer("BLOQ_PAUTA")));
    // A company that ticks no model is offered all four.
    for (int m = 1; m <= 4; ++m)
        sql += chave(QStringLiteral("Modelo Pedido.%1").arg(m),
                     c.integer("MODELO_PEDIDO") & (1 << (m - 1)) ? QStringLiteral("1") : QStringLiteral("0"));

    Table vendedores(store, "vendedor");
    if (ler(vendedores, "KEYCODIGO", {{"CODIGO", c.integer("COD_VENDEDOR")}, {"ID_EMPRESA", idEmpresa}})) {
        const Record& v = vendedores.rec();
        sql += insert("vendedor",
                      {QStringLiteral("id_vendedor"),
                       QStringLiteral("id_empresa"),
                       QStringLiteral("codigo"),
                       QStringLiteral("ativo"),
                       QStringLiteral("nome"),
                       QStringLiteral("ender"),
                       QStringLiteral("bairro"),
                       QStringLiteral("cep"),
                       QStringLiteral("cnpj_cpf"),
                       QStringLiteral("fone"),
                       QStringLiteral("e_mail"),
                       QStringLiteral("forma_pag"),
                       QStringLiteral("origem_com"),
                       QStringLiteral("taxa_com"),
                       QStringLiteral("exp_qav"),
                       QStringLiteral("senha"),
                       QStringLiteral("cod_pauta1"),
                       QStringLiteral("cod_pauta2"),
                       QStringLiteral("cod_pauta3"),
                       QStringLiteral("desconto_max"),
                       QStringLiteral("com_ven"),
                       QStringLiteral("com_rec"),
                       QStringLiteral("permitir_flex"),
                       QStringLiteral("desc_pauta_flex"),
                       QStringLiteral("desc_rateio_com"),
                       QStringLiteral("qav_todos_clientes"),
                       QStringLiteral("permitir_analise_lucro"),
                       QStringLiteral("vl_ped_minimo")},
                      {num(v, "ID_VENDEDOR"),
                       Conexao::inteiro(idEmpresa),
                       num(v, "CODIGO"),
                       num(v, "ATIVO"),
                       txt(v, "NOME"),
                       txt(v, "ENDER"),
                       txt(v, "BAIRRO"),
                       txt(v, "CEP"),
                       txt(v, "CGCPF"),
                       txt(v, "FONE"),
                       txt(v, "E_MAIL"),
                       txt(v, "FORMA_PAG"),
                       num(v, "ORIGEM_COM"),
                       dec(v, "TAXA_COMISSAO"),
                       QStringLiteral("1"),
                       literais().texto(text::rtrim(c.text("SENHA_VENDEDOR")).left(6)),
                       num(v, "COD_PAUTA1"),
                       num(v, "COD_PAUTA2"),
                       num(v, "COD_PAUTA3"),
                       dec(v, "TX_DESCMAX"),
                       dec(v, "TAXA_COMISSAO"),
                       QStringLiteral("0"),
                       num(c, "PERMITIR_FLEX"),
                       dec(v, "DESC_PAUTA_FLEX"),
                       dec(v, "DESC_RATEIO_COM"),
                       num(v, "QAV_TODOS_CLIENTES"),
                       num(v, "PERMITIR_ANALISE_LUCRO"),
                       dec(v, "VL_PED_MINIMO")});
        sql += insert(
            "flex",
            {QStringLiteral("id_empresa"), QStringLiteral("id_vendedor"), QStringLiteral("saldo_flex")},
            {Conexao::inteiro(idEmpresa), num(v, "ID_VENDEDOR"), dec(c, "SALDO_FLEX")});
    }

    Table tipos(store, "qavtipoped");
    if (tipos.open() && tipos.seekFirst("KEYID") == Status::Ok)
        while (tipos.next() == Status::Ok) {
            const Record& t = tipos.rec();
            if (t.integer("ID_EMPRESA") != idEmpresa)
                continue;
            sql += insert("qavtipoped",
                          {QStringLiteral("id_qavtipoped"), QStringLiteral("id_empresa"),
                           QStringLiteral("cod_vendedor"), QStringLiteral("descricao"),
                           QStringLiteral("ativo"), QStringLiteral("cod_tes"), QStringLiteral("cod_tes_nc"),
                           QStringLiteral("id_estlocal")},
                          {num(t, "ID"), num(t, "ID_EMPRESA"),
                           t.integer("COD_VENDEDOR") == 0 ? QStringLiteral("Null") : num(t, "COD_VENDEDOR"),
                           txt(t, "DESCRICAO"), num(t, "ATIVO"), num(t, "COD_TES"), num(t, "COD_TES_NC"),
                           num(t, "ID_ESTLOCAL")});
        }
    return sql;
}

} // namespace qav::demo
