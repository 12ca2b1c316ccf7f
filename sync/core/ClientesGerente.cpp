// The customer step of the manager database's update: the office's customers that this
// installation also has under another id take the local id, then every local customer goes to the
// office under its id.
#include "store/core/Table.h"
#include "store/core/Text.h"
#include "sync/core/ColunasClienteGerente.h"
#include "sync/core/GravacaoGerente.h"
#include "sync/core/IntegracaoGerente.h"

#include <QStringList>
#include <utility>

namespace qav::sync {

namespace {

// Server column and the local field of the same meaning.
const std::vector<std::pair<const char*, const char*>> kColunasCliente = {
    {"ativo", "ATIVO"},
    {"pesso", "PESSO"},
    {"consfinal", "CONSFINAL"},
    {"cgcpf", "CGCPF"},
    {"suf_cgcpf", "SUF_CGCPF"},
    {"inscr", "INSCR"},
    {"nome", "NOME"},
    {"razao", "RAZAO"},
    {"ender", "ENDER"},
    {"cxpostal", "CXPOSTAL"},
    {"compl", "COMPL"},
    {"bairr", "BAIRR"},
    {"id_municipio", "ID_MUNICIPIO"},
    {"cep", "CEP"},
    {"e_ender", "E_ENDER"},
    {"e_bairr", "E_BAIRR"},
    {"e_munic", "E_MUNIC"},
    {"e_estad", "E_ESTAD"},
    {"e_cep", "E_CEP"},
    {"c_ender", "C_ENDER"},
    {"c_bairr", "C_BAIRR"},
    {"c_munic", "C_MUNIC"},
    {"c_estad", "C_ESTAD"},
    {"c_cep", "C_CEP"},
    {"e_mail", "E_MAIL"},
    {"grupo_eco", "GRUPO_ECO"},
    {"dt_const", "DT_CONST"},
    {"no_reg", "NO_REG"},
    {"dt_reg", "DT_REG"},
    {"hor_descarga", "HOR_DESCARGA"},
    {"fat_anul", "FAT_ANUL"},
    {"cap_social", "CAP_SOCIAL"},
    {"cap_realiz", "CAP_REALIZ"},
    {"cap_aberto", "CAP_ABERTO"},
    {"con_ac_privado", "CON_AC_PRIVADO"},
    {"con_ac_nacional", "CON_AC_NACIONAL"},
    {"ramo_ativ", "RAMO_ATIV"},
    {"no_empregados", "NO_EMPREGADOS"},
    {"importa", "IMPORTA"},
    {"p_importa", "P_IMPORTA"},
    {"exporta", "EXPORTA"},
    {"p_exporta", "P_EXPORTA"},
    {"n_suframa", "N_SUFRAMA"},
    {"www", "WWW"},
    {"praca", "PRACA"},
    {"ceppraca", "CEPPRACA"},
    {"banc1", "BANC1"},
    {"banc2", "BANC2"},
    {"banc3", "BANC3"},
    {"agen1", "AGEN1"},
    {"agen2", "AGEN2"},
    {"agen3", "AGEN3"},
    {"nagen1", "NAGEN1"},
    {"nagen2", "NAGEN2"},
    {"nagen3", "NAGEN3"},
    {"ct_nu", "CT_NU"},
    {"ct_se", "CT_SE"},
    {"ci1", "CI1"},
    {"ci2", "CI2"},
    {"orgex", "ORGEX"},
    {"uf", "UF"},
    {"dtemi", "DTEMI"},
    {"ddd", "DDD"},
    {"telef", "TELEF"},
    {"fax", "FAX"},
    {"data", "DATA"},
    {"cod_vendedor", "COD_VENDEDOR"},
    {"conta", "CONTA"},
    {"c_dm_nascto", "C_DM_NASCTO"},
    {"c_fone", "C_FONE"},
    {"con_f", "CON_F"},
    {"f_dm_nascto", "F_DM_NASCTO"},
    {"f_fone", "F_FONE"},
    {"c_ctb", "C_CTB"},
    {"c_ctb_consig", "C_CTB_CONSIG"},
    {"nasct", "NASCT"},
    {"sexo", "SEXO"},
    {"e_civ", "E_CIV"},
    {"pai", "PAI"},
    {"mae", "MAE"},
    {"conju", "CONJU"},
    {"ocupa", "OCUPA"},
    {"c_spc", "C_SPC"},
    {"natur", "NATUR"},
    {"t_end", "T_END"},
    {"l_tra", "L_TRA"},
    {"t_ser", "T_SER"},
    {"inscr_pro", "INSCR_PRO"},
    {"classe", "CLASSE"},
    {"limcred", "LIMCRED"},
    {"tolatr", "TOLATR"},
    {"lib_cred", "LIB_CRED"},
    {"alerta", "ALERTA"},
    {"id_tipo", "ID_TIPO"},
    {"inscr_suframa", "INSCR_SUFRAMA"},
    {"i_ban", "I_BAN"},
    {"i_com", "I_COM"},
    {"obs", "OBS"},
    {"id_transportador", "ID_TRANSPORTADOR"},
    {"num_endereco", "NUM_ENDERECO"},
    {"tx_desc_pedido", "TX_DESC_PEDIDO"},
    {"st_especifica", "ST_ESPECIFICA"},
    {"cod_pauta", "COD_PAUTA"},
    {"indicador_ie", "INDICADOR_IE"},
    {"desc_cliente_rede", "DESC_CLIENTE_REDE"},
    {"e_num_endereco", "E_NUMERO"},
    {"cnae_fiscal", "COD_ATIV_IR"},
    {"princ_produ1", "PRINC_PRODU"},
    {"cod_formapag", "FORMA_PAG"},
    {"id_tes", "COD_TES"},
    {"email_nfe", "EMAIL_QAV"},
};

constexpr int kTamanhoMemo = 2048;

bool memo(const char* campo) {
    return QLatin1String(campo) == QLatin1String("I_BAN") || QLatin1String(campo) == QLatin1String("I_COM") ||
           QLatin1String(campo) == QLatin1String("OBS");
}

ValoresColunas valoresCliente(const ContextoIntegracao& c, const Record& r) {
    ValoresColunas valores;
    for (const auto& [coluna, campo] : kColunasCliente) {
        QString literal;
        if (memo(campo))
            literal = c.conexao.texto(text::rtrim(r.text(campo)).left(kTamanhoMemo));
        else
            literal = literalDoCampo(c, r, campo);
        valores.push_back({QString::fromLatin1(coluna), literal});
    }
    // The local customer keeps no country: the office gets Brazil's code, 1058.
    valores.push_back({QStringLiteral("cod_pais"), Conexao::inteiro(1058)});
    valores.push_back({QStringLiteral("enquadramento"), QStringLiteral("Null")});
    return valores;
}

// The date of the last change moves only when a column changes (or when the row has none), so that
// the office's partial downloads do not take every customer each time.
QString dataAtualizacao(const ContextoIntegracao& c, const ValoresColunas& valores) {
    QStringList colunas, literais;
    for (const ValorColuna& v : valores) {
        colunas << v.coluna;
        literais << v.literal;
    }
    return QStringLiteral("CASE WHEN dt_atual IS NULL OR ROW(") + colunas.join(QStringLiteral(", ")) +
           QStringLiteral(") IS DISTINCT FROM ROW(") + literais.join(QStringLiteral(", ")) +
           QStringLiteral(") THEN ") + Conexao::data(c.hoje) + QStringLiteral(" ELSE dt_atual END");
}

bool comandoRespondido(const ContextoIntegracao& c, const QString& comando) {
    return !c.conexao.querysql(comando).isEmpty();
}

// The office's customer `antigo` becomes `local`, with its partners and orders, all or nothing.
bool renumerar(const ContextoIntegracao& c, long long antigo, long long local) {
    const QString de = Conexao::inteiro(antigo), para = Conexao::inteiro(local);
    if (!comandoRespondido(c, QStringLiteral("BEGIN;")))
        return false;
    const bool ok = comandoRespondido(c, QStringLiteral("UPDATE gerente.clientes SET id_cliente=") + para +
                                             QStringLiteral(" WHERE id_cliente=") + de) &&
                    comandoRespondido(c, QStringLiteral("UPDATE gestao.socios    SET id_cliente=") + para +
                                             QStringLiteral(" WHERE id_cliente=") + de) &&
                    comandoRespondido(c, QStringLiteral("UPDATE gerente.pedidos  SET clien=") + para +
                                             QStringLiteral(" WHERE clien=") + de) &&
                    comandoRespondido(c, QStringLiteral("COMMIT;"));
    if (!ok && c.conexao.emTransacao())
        c.conexao.executar(QStringLiteral("ROLLBACK;"));
    return ok;
}

bool renumerarClientesDoGerente(const ContextoIntegracao& c, Table& clientes) {
    ErroSql erro;
    const auto linhas = c.conexao.consultar(
        QStringLiteral("SELECT id_cliente, cgcpf, suf_cgcpf FROM gerente.clientes WHERE id_cliente>90000;"),
        &erro);
    if (!linhas) {
        c.erroSql(erro);
        return false;
    }
    for (const Linha& linha : *linhas) {
        const long long id = linha.inteiro(0);
        c.linhaProgresso(QStringLiteral("Atualizando Id Cliente ") + QString::number(id));
        if (linha.texto(1).trimmed().isEmpty())
            continue;
        clientes.clear();
        try {
            clientes.rec().setText("CGCPF", linha.texto(1).trimmed());
            clientes.rec().setText("SUF_CGCPF", linha.texto(2).trimmed());
        } catch (const FieldValueError&) {
            continue; // a document this installation cannot hold is not one of its customers
        }
        if (clientes.get("KEYCGC") != Status::Ok)
            continue;
        const long long local = clientes.rec().integer("ID");
        if (local != id && !renumerar(c, id, local))
            return false;
    }
    return true;
}

} // namespace

const std::vector<std::pair<const char*, const char*>>& colunasClienteIntegracao() {
    return kColunasCliente;
}

bool atualizarClientesGerente(ContextoIntegracao& c) {
    c.registrar(QStringLiteral("Atualizando Clientes..."));
    Table clientes(c.store, "clientes");
    if (!clientes.open()) {
        c.erro(QStringLiteral("Erro (%1) ao abrir clientes.tps!").arg(clientes.error().number()));
        return false;
    }
    if (!renumerarClientesDoGerente(c, clientes))
        return false;
    long long contagem = 0;
    for (Status s = primeiro(clientes, "KEYID"); s == Status::Ok; s = clientes.next()) {
        const Record& r = clientes.rec();
        const long long id = r.integer("ID");
        c.linhaProgresso(QStringLiteral("Atualizando Clientes ") + QString::number(id));
        ValoresColunas valores = valoresCliente(c, r);
        ErroSql erro;
        const auto existe =
            existeNoGerente(c, QStringLiteral("gerente.clientes"), QStringLiteral("id_cliente"), id, erro);
        bool ok = existe.has_value();
        if (ok && *existe) {
            valores.push_back({QStringLiteral("dt_atual"), dataAtualizacao(c, valores)});
            ok = c.conexao.executar(comandoAlteracao(QStringLiteral("gerente.clientes"), valores,
                                                     QStringLiteral("id_cliente=") + Conexao::inteiro(id)),
                                    &erro);
        } else if (ok) {
            valores.insert(valores.begin(), {QStringLiteral("id_cliente"), Conexao::inteiro(id)});
            valores.push_back({QStringLiteral("dt_atual"), Conexao::data(c.hoje)});
            ok = c.conexao.executar(comandoInsercao(QStringLiteral("gerente.clientes"), valores), &erro);
        }
        if (!ok) {
            c.erroGravacao(erro, "cliente", existe.has_value() && !*existe, id);
            return false;
        }
        ++contagem;
    }
    c.registrar(QStringLiteral("Atualizados ") + QString::number(contagem) +
                QStringLiteral(" Clientes......"));
    return true;
}

} // namespace qav::sync
