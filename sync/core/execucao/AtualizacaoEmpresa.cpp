#include "sync/core/execucao/AtualizacaoEmpresa.h"

#include "store/core/Table.h"
#include "store/core/Text.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/execucao/ValorNaoCabe.h"

namespace qav::sync {

namespace {

struct Copia {
    const char* coluna;
    const char* campo;
};

QString lista(const std::vector<const char*>& colunas) {
    QStringList nomes;
    for (const char* c : colunas)
        nomes << QString::fromLatin1(c);
    return nomes.join(QStringLiteral(", "));
}

QString digitos(const QString& texto) {
    QString so;
    for (const QChar ch : texto)
        if (ch.isDigit())
            so += ch;
    return so;
}

// Looks the local record up; a fresh one (with `chave` set) when it is not there. Returns whether it
// existed, nullopt on a read error.
std::optional<bool> lerOuNovo(Table& t, const char* chave,
                              std::initializer_list<std::pair<const char*, long long>> valores) {
    t.clearFilter();
    t.clear();
    for (const auto& [campo, valor] : valores)
        t.rec().setInteger(campo, valor);
    const Status s = t.get(chave);
    if (s == Status::Error)
        return std::nullopt;
    if (s == Status::Ok)
        return true;
    t.clear();
    for (const auto& [campo, valor] : valores)
        t.rec().setInteger(campo, valor);
    return false;
}

// The municipality's name and state, blank when it is not in the local file.
std::pair<QString, QString> municipio(Store& store, long long id) {
    Table t(store, "municip");
    if (!t.open())
        return {};
    t.clear();
    t.rec().setInteger("ID", id);
    if (t.get("KEYID") != Status::Ok)
        return {};
    return {text::rtrim(t.rec().text("NOME")), text::rtrim(t.rec().text("ESTADO"))};
}

bool gravar(Table& t, bool existia) {
    return (existia ? t.put() : t.add()) == Status::Ok;
}

// ---- settings

const std::vector<const char*> kColunasQavcfg = {
    "id_tes_dentro",     "id_tes_dentro_cf", "id_tes_dentro_rv",  "id_tes_dentro_cf_rv", "id_tes_fora",
    "id_tes_fora_cf",    "id_tes_fora_rv",   "id_tes_fora_cf_rv", "preco_com_ipi",       "dias_bloqueio",
    "cod_pauta1",        "cod_pauta2",       "cod_pauta3",        "ativar_prod_pauta",   "preco_padrao",
    "bloq_preco_pedido", "origem_descmax",   "ativa_rel_com",     "tp_estoque",          "bloq_relatorios",
    "bloq_volumes",      "bloq_frete"};
const char* const kCamposQavcfg[] = {
    "ID_TES_DENTRO",  "ID_TES_DENTRO_CF", "ID_TES_DENTRO_RV",  "ID_TES_DENTRO_CF_RV", "ID_TES_FORA",
    "ID_TES_FORA_CF", "ID_TES_FORA_RV",   "ID_TES_FORA_CF_RV", "PRECO_COM_IPI",       "DIAS_BLOQUEIO",
    "COD_PAUTA1",     "COD_PAUTA2",       "COD_PAUTA3",        "ATIVAR_PROD_PAUTA",   "PRECO_PADRAO",
    "BLOQUEIOS1",     "ORIGEM_DESCMAX",   "ATIVA_REL_COM",     "TP_ESTOQUE",          "BLOQ_RELATORIOS",
    "BLOQ_VOLUMES",   "BLOQ_FRETE"};

// The company's key/value settings of the "Configuração" group.
void aplicarChaves(ContextoComunicacao& c, Record& cfg) {
    cfg.setInteger("MODELO_PEDIDO", 0);
    ErroSql erro;
    const auto linhas = c.conexao.consultar(
        QStringLiteral("SELECT  chave, nome, valor FROM gestao.qavconfig WHERE id_empresa=") +
            Conexao::inteiro(c.idEmpresa) + QLatin1Char(';'),
        &erro);
    if (!linhas) {
        c.erroSemTitulo(erro.texto);
        return;
    }
    for (const Linha& l : *linhas) {
        if (l.texto(0) != QStringLiteral("Configuração"))
            continue;
        const QString nome = l.texto(1);
        const QString valor = l.texto(2).trimmed();
        if (nome == QStringLiteral("Dias Bloqueio Crédito"))
            atribuirOuRegistrar(c, cfg, "DIAS_BLOQ_CREDITO", valor, QStringLiteral("Configuração"));
        else if (nome == QStringLiteral("Dias Bloqueio Comunicação"))
            atribuirOuRegistrar(c, cfg, "DIAS_BLOQUEIO", valor, QStringLiteral("Configuração"));
        else if (nome == QStringLiteral("Tipo Comunicação"))
            cfg.setText("TP_COM", valor.left(1));
        else if (nome == QStringLiteral("Bloqueio Alterar Pauta de Preços"))
            atribuirOuRegistrar(c, cfg, "BLOQ_PAUTA", valor, QStringLiteral("Configuração"));
        else if (nome.startsWith(QStringLiteral("Modelo Pedido.")) && valor == QStringLiteral("1")) {
            const int modelo = nome.mid(14).toInt();
            if (modelo >= 1 && modelo <= 4)
                cfg.setInteger("MODELO_PEDIDO", cfg.integer("MODELO_PEDIDO") + (1 << (modelo - 1)));
        }
    }
}

// ---- company

const std::vector<const char*> kColunasEmpresa = {"id_empresa",
                                                  "nome",
                                                  "razao_social",
                                                  "endereco",
                                                  "numero",
                                                  "bairro",
                                                  "id_municipio",
                                                  "estado",
                                                  "cnpj",
                                                  "inscr_estadual",
                                                  "inscr_municipal",
                                                  "fax",
                                                  "email",
                                                  "nome_contato",
                                                  "dt_bloq_estoque",
                                                  "taxa_juros",
                                                  "fc_juros",
                                                  "serie_nf",
                                                  "numero_nf",
                                                  "arq_mod_nf",
                                                  "serie_gta",
                                                  "id_portador_padrao",
                                                  "integrado_siscon",
                                                  "cep",
                                                  "tp_amb_nfe",
                                                  "certificado_digital",
                                                  "serie_nfe",
                                                  "numero_nfe",
                                                  "telefone",
                                                  "complemento",
                                                  "cod_pais_ibge",
                                                  "nome_pais",
                                                  "cnae_fiscal",
                                                  "moddocfiscal",
                                                  "tipo_certificado",
                                                  "gs1_prefixo_empresa",
                                                  "gs1_unidade_fabril",
                                                  "gs1_sequencial_sscc",
                                                  "serie_nf2",
                                                  "numero_nf2",
                                                  "id_matriz",
                                                  "cod_ccusto_estoque",
                                                  "contribuinte_ipi",
                                                  "pasta_dados",
                                                  "gera_sped_fiscal",
                                                  "crt",
                                                  "tp_imp_danfe"};

QString tabelaCompartilhada(ContextoComunicacao& c, long long id, const char* tabela) {
    return c.conexao.querysql(
        QStringLiteral(
            "SELECT coalesce(b.id_empresa_tabcomp,a.id_empresa) FROM gestao.empresa A LEFT OUTER JOIN "
            "gestao.tabcomp B ON (b.id_empresa=a.id_empresa AND b.nome_tabcomp='") +
        QString::fromLatin1(tabela) + QStringLiteral("') WHERE a.id_empresa=") + Conexao::inteiro(id));
}

bool gravarEmpresa(ContextoComunicacao& c, Table& empresas, const LinhaNomeada& g) {
    const long long id = g.inteiro("id_empresa");
    c.linhaProgresso(QStringLiteral("Atualizando Empresa: ") + QString::number(id) + QLatin1Char(' ') +
                     g.texto("razao_social"));
    const auto existia = lerOuNovo(empresas, "KEYID", {{"ID_EMPRESA", id}});
    Record& r = empresas.rec();
    const auto [nomeMunicipio, uf] = municipio(c.store, g.inteiro("id_municipio"));
    atribuirOuRegistrar(c, r, "NOME", g.texto("razao_social"), QStringLiteral("Empresa"));
    atribuirOuRegistrar(c, r, "ENDER",
                        text::rtrim(g.texto("endereco")) + QStringLiteral(", ") + g.texto("numero"),
                        QStringLiteral("Empresa"));
    atribuirOuRegistrar(c, r, "BAIRR", g.texto("bairro"), QStringLiteral("Empresa"));
    atribuirOuRegistrar(c, r, "MUNIC", nomeMunicipio, QStringLiteral("Empresa"));
    atribuirOuRegistrar(c, r, "UF", uf, QStringLiteral("Empresa"));
    atribuirOuRegistrar(c, r, "FONE", digitos(g.texto("telefone").section(QLatin1Char('.'), 0, 0)),
                        QStringLiteral("Empresa"));
    atribuirOuRegistrar(c, r, "FAX", g.texto("fax"), QStringLiteral("Empresa"));
    atribuirOuRegistrar(c, r, "CNPJ", g.texto("cnpj"), QStringLiteral("Empresa"));
    atribuirOuRegistrar(c, r, "IE", g.texto("inscr_estadual"), QStringLiteral("Empresa"));
    r.setInteger("ID_MATRIZ", g.inteiro("id_matriz"));
    r.setInteger("ID_PORTADOR_PADRAO", g.inteiro("id_portador_padrao"));
    atribuirOuRegistrar(c, r, "CEP", digitos(g.texto("cep")), QStringLiteral("Empresa"));
    atribuirOuRegistrar(c, r, "COMPLEMENTO", g.texto("complemento"), QStringLiteral("Empresa"));
    atribuirOuRegistrar(c, r, "EMAIL", g.texto("email"), QStringLiteral("Empresa"));
    r.setInteger("ID_MUNICIPIO", g.inteiro("id_municipio"));
    r.setInteger("ID_EMPRESA_PROD", tabelaCompartilhada(c, id, "produtos").toLongLong());
    r.setInteger("ID_EMPRESA_GRUP", tabelaCompartilhada(c, id, "grupos").toLongLong());
    if (c.sistema == QStringLiteral("zor")) {
        ErroSql erro;
        const auto taxas = c.conexao.consultar(
            QStringLiteral("SELECT taxa_fin,adic_comissao FROM zor.tabdesp WHERE id_empresa=") +
                Conexao::inteiro(id) + QStringLiteral(" AND tab_padrao=1 ORDER BY data DESC LIMIT 1;"),
            &erro);
        // Shown as every refused statement of the run is; the company keeps the rates it had.
        if (!taxas)
            c.erroSql(erro);
        if (taxas && !taxas->empty()) {
            atribuirOuRegistrar(c, r, "TX_FINANCEIRA", taxas->front().texto(0), QStringLiteral("Empresa"));
            atribuirOuRegistrar(c, r, "ADIC_COMISSAO", taxas->front().texto(1), QStringLiteral("Empresa"));
        }
    }
    if (!existia || !gravar(empresas, *existia)) {
        c.erro(QStringLiteral("Erro (%1) ao gravar Empresa!|Empresa: %2 %3")
                   .arg(empresas.error().number())
                   .arg(id)
                   .arg(text::rtrim(r.text("NOME"))));
        return false;
    }
    return true;
}

} // namespace

bool atualizarConfiguracao(ContextoComunicacao& c) {
    c.registrar(QStringLiteral("Atualizando Configurações do QAV..."));
    ErroSql erro;
    const auto linhas = c.conexao.consultar(QStringLiteral("SELECT ") + lista(kColunasQavcfg) +
                                                QStringLiteral("    FROM gestao.qavcfg  WHERE id_empresa=") +
                                                Conexao::inteiro(c.idEmpresa) + QLatin1Char(';'),
                                            &erro);
    if (!linhas) {
        c.erroSemTitulo(erro.texto);
        return false;
    }
    c.linhaProgresso(QStringLiteral("Atualizando Configuração da Empresa # ") + QString::number(c.idEmpresa));
    Table cfgs(c.store, "qavcfg");
    if (!cfgs.open()) {
        c.erro(QStringLiteral("Erro (%1) ao gravar QAVCFG!").arg(cfgs.error().number()));
        return false;
    }
    const auto existia = lerOuNovo(cfgs, "KEYID_EMPRESA", {{"ID_EMPRESA", c.idEmpresa}});
    Record& cfg = cfgs.rec();
    // A company without its row on the server keeps the settings it has.
    if (!linhas->empty())
        for (size_t i = 0; i < kColunasQavcfg.size(); ++i)
            atribuirOuRegistrar(c, cfg, kCamposQavcfg[i], linhas->front().texto(i),
                                QStringLiteral("Configuração"));
    cfg.setInteger("PERMITIR_FLEX", c.vendedor.inteiro("permitir_flex"));
    if (cfg.integer("PERMITIR_FLEX") == 0)
        cfg.setDecimal("SALDO_FLEX", Decimal());
    atribuirOuRegistrar(c, cfg, "SISTEMA", c.sistema, QStringLiteral("Configuração"));
    aplicarChaves(c, cfg);
    if (cfg.integer("DIAS_HISTORICO") == 0)
        cfg.setInteger("DIAS_HISTORICO", 360);
    if (!existia || !gravar(cfgs, *existia)) {
        c.erro(QStringLiteral("Erro (%1) ao gravar QAVCFG!").arg(cfgs.error().number()));
        return false;
    }
    // The run goes on with the stored settings, and with the connection values it connected with.
    Record emMemoria = cfg;
    for (const char* campo : {"BD_NOME", "BD_HOST", "BD_USUARIO", "BD_SENHA", "SENHA_VENDEDOR"})
        emMemoria.setText(campo, c.qavcfg->text(campo));
    emMemoria.setInteger("BD_PORTA", c.qavcfg->integer("BD_PORTA"));
    if (!linhas->empty())
        c.textosAjustadosNaLinha(QStringLiteral("Configuração ") + QString::number(c.idEmpresa),
                                 linhas->front());
    c.primeiraComunicacao = emMemoria.date("DT_ULT_COM").isNull();
    // Never communicated: the first partial run takes everything.
    if (c.primeiraComunicacao)
        emMemoria.setDate("DT_ULT_COM", Date::fromYmd(1900, 1, 1));
    c.corte = emMemoria.date("DT_ULT_COM");
    *c.qavcfg = emMemoria;
    c.registrar(QStringLiteral("Atualizada 1 Configuração..."));
    return true;
}

bool atualizarEmpresa(ContextoComunicacao& c) {
    c.registrar(QStringLiteral("Atualizando Empresa..."));
    ErroSql erro;
    const auto linhas = c.conexao.consultar(QStringLiteral("SELECT ") + lista(kColunasEmpresa) +
                                                QStringLiteral(" FROM gestao.empresa WHERE id_empresa=") +
                                                Conexao::inteiro(c.idEmpresa) + QLatin1Char(';'),
                                            &erro);
    if (!linhas) {
        c.erroSemTitulo(erro.texto);
        return false;
    }
    Table empresas(c.store, "empresa");
    if (!empresas.open()) {
        c.erro(QStringLiteral("Erro (%1) ao gravar Empresa!").arg(empresas.error().number()));
        return false;
    }
    int contagem = 0;
    for (const Linha& l : *linhas) {
        if (!gravarEmpresa(c, empresas, LinhaNomeada(&kColunasEmpresa, l)))
            return false;
        c.textosAjustadosNaLinha(QStringLiteral("Empresa ") + l.texto(0), l);
        ++contagem;
    }
    c.registrar(QStringLiteral("Atualizada ") + QString::number(contagem) + QStringLiteral(" Empresa..."));
    return true;
}

bool atualizarVendedor(ContextoComunicacao& c) {
    const LinhaNomeada& v = c.vendedor;
    c.registrar(QStringLiteral("Atualizando Vendedor/Representante..."));
    c.linhaProgresso(QStringLiteral("Atualizando Vendedor/Representante: ") + v.texto("codigo") +
                     QLatin1Char(' ') + v.texto("nome"));
    Table vendedores(c.store, "vendedor");
    if (!vendedores.open()) {
        c.erro(
            QStringLiteral("Erro (%1) ao gravar Vendedor/Representante!").arg(vendedores.error().number()));
        return false;
    }
    // By the server id, else by code and company: a salesperson entered here before takes the server's id.
    vendedores.setFilter("ID_VENDEDOR = ?", {QVariant::fromValue(v.inteiro("id_vendedor"))});
    bool existia = vendedores.seekPhysical() != Status::Error && vendedores.next() == Status::Ok;
    vendedores.clearFilter();
    if (!existia) {
        const auto porCodigo = lerOuNovo(vendedores, "KEYCODIGO",
                                         {{"CODIGO", v.inteiro("codigo")}, {"ID_EMPRESA", c.idEmpresa}});
        existia = porCodigo.value_or(false);
    }
    Record& r = vendedores.rec();
    r.setInteger("ID_VENDEDOR", v.inteiro("id_vendedor"));
    r.setInteger("CODIGO", v.inteiro("codigo"));
    r.setInteger("ID_EMPRESA", c.idEmpresa);
    // Nothing reads it back; it keeps the low byte of the code.
    r.setInteger("ID_REPRESENTANTE", v.inteiro("codigo") & 0xFF);
    for (const Copia& copia :
         std::initializer_list<Copia>{{"ativo", "ATIVO"},
                                      {"nome", "NOME"},
                                      {"ender", "ENDER"},
                                      {"bairro", "BAIRRO"},
                                      {"cep", "CEP"},
                                      {"ie", "IE"},
                                      {"contato", "CONTATO"},
                                      {"fone", "FONE"},
                                      {"fax", "FAX"},
                                      {"e_mail", "E_MAIL"},
                                      {"forma_pag", "FORMA_PAG"},
                                      {"origem_com", "ORIGEM_COM"},
                                      {"cod_supervisor", "COD_SUPERVISOR"},
                                      {"taxa_com_super", "TAXA_COM_SUPER"},
                                      {"forma_pag_super", "FORMA_PAG_SUPER"},
                                      {"cod_grupo1", "COD_GRUPO1"},
                                      {"cod_grupo2", "COD_GRUPO2"},
                                      {"cod_grupo3", "COD_GRUPO3"},
                                      {"cod_pauta1", "COD_PAUTA1"},
                                      {"cod_pauta2", "COD_PAUTA2"},
                                      {"cod_pauta3", "COD_PAUTA3"},
                                      {"cod_pauta4", "COD_PAUTA4"},
                                      {"cod_pauta5", "COD_PAUTA5"},
                                      {"cod_pauta6", "COD_PAUTA6"},
                                      {"bc_comissao", "BC_COMISSAO"},
                                      {"desc_pauta_flex", "DESC_PAUTA_FLEX"},
                                      {"desc_rateio_com", "DESC_RATEIO_COM"},
                                      {"qav_todos_clientes", "QAV_TODOS_CLIENTES"},
                                      {"permitir_analise_lucro", "PERMITIR_ANALISE_LUCRO"},
                                      {"vl_ped_minimo", "VL_PED_MINIMO"},
                                      {"cnpj_cpf", "CGCPF"},
                                      {"desconto_max", "TX_DESCMAX"}})
        atribuirOuRegistrar(c, r, copia.campo, v.texto(copia.coluna), QStringLiteral("Vendedor"));
    r.setInteger("DATA", v.data("data").dayNumber());
    const auto [nomeMunicipio, uf] = municipio(c.store, v.inteiro("id_municipio"));
    atribuirOuRegistrar(c, r, "MUNIC", nomeMunicipio, QStringLiteral("Vendedor"));
    atribuirOuRegistrar(c, r, "UF", uf, QStringLiteral("Vendedor"));
    if (c.sistema == QStringLiteral("zor")) {
        r.setDecimal("TAXA_COMISSAO", (v.decimal("com_ven") + v.decimal("com_rec")).forField(7, 2));
        r.setDecimal("TAXA_COMISSAO2", Decimal());
    } else {
        atribuirOuRegistrar(c, r, "TAXA_COMISSAO", v.texto("taxa_com"), QStringLiteral("Vendedor"));
        atribuirOuRegistrar(c, r, "TAXA_COMISSAO2", v.texto("taxa_com2"), QStringLiteral("Vendedor"));
    }
    if (!gravar(vendedores, existia)) {
        c.erro(QStringLiteral("Erro (%1) ao gravar Vendedor/Representante!|Vendedor/Representante: %2 %3")
                   .arg(vendedores.error().number())
                   .arg(r.integer("CODIGO"))
                   .arg(text::rtrim(r.text("NOME"))));
        return false;
    }
    c.textosAjustadosNaLinha(QStringLiteral("Vendedor/Representante ") + v.texto("codigo"), v.linha());
    c.registrar(QStringLiteral("Atualizados 1 Vendedor..."));
    return true;
}

bool atualizarTiposPedido(ContextoComunicacao& c) {
    c.registrar(QStringLiteral("Atualizando Tipos de Pedido..."));
    ErroSql erro;
    auto linhas = c.conexao.consultar(
        QStringLiteral(
            "SELECT id_qavtipoped, id_empresa, cod_vendedor, descricao, ativo, cod_tes, cod_tes_nc, "
            "id_estlocal   FROM gestao.qavtipoped   WHERE id_empresa=") +
            Conexao::inteiro(c.idEmpresa) + QStringLiteral(" AND (cod_vendedor=") +
            Conexao::inteiro(c.qavcfg->integer("COD_VENDEDOR")) +
            QStringLiteral(" OR cod_vendedor IS NULL);"),
        &erro);
    if (!linhas) {
        c.erroSemTitulo(erro.texto);
        linhas.emplace();
    }
    Table tipos(c.store, "qavtipoped");
    if (!tipos.open()) {
        c.erro(QStringLiteral("Erro (%1) ao gravar qavtipoped!").arg(tipos.error().number()));
        return false;
    }
    const char* const campos[] = {"ID",    "ID_EMPRESA", "COD_VENDEDOR", "DESCRICAO",
                                  "ATIVO", "COD_TES",    "COD_TES_NC",   "ID_ESTLOCAL"};
    int contagem = 0;
    for (const Linha& l : *linhas) {
        c.linhaProgresso(QStringLiteral("Atualizando Tipo Pedido: ") + l.texto(0) + QLatin1Char(' ') +
                         l.texto(3));
        const auto existia = lerOuNovo(tipos, "KEYID", {{"ID", l.inteiro(0)}});
        for (size_t i = 0; i < std::size(campos); ++i)
            atribuirOuRegistrar(c, tipos.rec(), campos[i], l.texto(i), QStringLiteral("Tipo de Pedido"));
        if (!existia || !gravar(tipos, *existia)) {
            c.erro(QStringLiteral("Erro (%1) ao gravar qavtipoped!|ID: %2 %3")
                       .arg(tipos.error().number())
                       .arg(l.inteiro(0))
                       .arg(l.texto(3)));
            return false;
        }
        c.textosAjustadosNaLinha(QStringLiteral("Tipo de Pedido ") + l.texto(0), l);
        ++contagem;
    }
    c.registrar(QStringLiteral("Atualizados ") + QString::number(contagem) +
                QStringLiteral(" Tipos de Pedido..."));
    return true;
}

} // namespace qav::sync
