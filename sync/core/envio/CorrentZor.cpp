#include "sync/core/envio/CorrentZor.h"

namespace qav::sync {

namespace {

// The ERP keeps up to 4000 characters of each of the three long texts.
constexpr int kLimiteMemo = 4000;
// The country code of Brazil in the ERP.
constexpr int kCodigoPaisBrasil = 1058;
// The `ativo` value the ERP expects on a customer created by a workstation.
constexpr int kAtivoVindoDaEstacao = 9;

const std::vector<ColunaCliente>& colunas() {
    using T = TipoColuna;
    static const std::vector<ColunaCliente> lista = {
        {"id_corrent", T::Inteiro},
        {"ativo", T::Inteiro},
        {"pesso", T::Inteiro},
        {"consfinal", T::Inteiro},
        {"cgcpf", T::Texto},
        {"inscr", T::Texto},
        {"nome", T::Texto},
        {"razao", T::Texto},
        {"endereco", T::Texto, "ENDER"},
        {"cxpostal", T::Inteiro},
        {"compl", T::Texto},
        {"bairr", T::Texto},
        {"id_municipio", T::Inteiro},
        {"cep", T::Texto},
        {"e_ender", T::Texto},
        {"e_bairr", T::Texto},
        {"id_municipio_entrega", T::Inteiro, nullptr, 0, true},
        {"e_cep", T::Texto},
        {"c_ender", T::Texto},
        {"c_bairr", T::Texto},
        {"id_municipio_cobranca", T::Inteiro, nullptr, 0, true},
        {"c_cep", T::Texto},
        {"e_mail", T::Texto},
        {"grupo_eco", T::Texto},
        {"dt_const", T::Data},
        {"no_reg", T::Texto},
        {"dt_reg", T::Data},
        {"hor_descarga", T::Texto},
        {"fat_anul", T::Real},
        {"cap_social", T::Real},
        {"cap_realiz", T::Real},
        {"cap_aberto", T::Inteiro},
        {"con_ac_privado", T::Inteiro},
        {"con_ac_nacional", T::Inteiro},
        {"ramo_ativ", T::Texto},
        {"cod_ativ_ir", T::Inteiro},
        {"no_empregados", T::Inteiro},
        {"importa", T::Inteiro},
        {"p_importa", T::Inteiro},
        {"exporta", T::Inteiro},
        {"p_exporta", T::Inteiro},
        {"princ_produ1", T::Texto, "PRINC_PRODU", 0},
        {"princ_produ2", T::Texto, "PRINC_PRODU", 1},
        {"princ_produ3", T::Texto, "PRINC_PRODU", 2},
        {"perc_vendas1", T::Inteiro, "PERC_VENDAS", 0},
        {"perc_vendas2", T::Inteiro, "PERC_VENDAS", 1},
        {"perc_vendas3", T::Inteiro, "PERC_VENDAS", 2},
        {"www", T::Texto},
        {"banc1", T::Inteiro},
        {"banc2", T::Inteiro},
        {"banc3", T::Inteiro},
        {"agen1", T::Texto},
        {"agen2", T::Texto},
        {"agen3", T::Texto},
        {"nagen1", T::Texto},
        {"nagen2", T::Texto},
        {"nagen3", T::Texto},
        {"ct_nu", T::Inteiro},
        {"ct_se", T::Inteiro},
        {"ci1", T::Texto},
        {"ci2", T::Inteiro},
        {"orgex", T::Texto},
        {"uf", T::Texto},
        {"dtemi", T::Data},
        {"ddd", T::Texto},
        {"telef", T::Texto},
        {"fax", T::Texto},
        {"data", T::Data},
        {"cod_vendedor", T::Inteiro},
        {"cod_vendedor2", T::Inteiro},
        {"cod_vendedor3", T::Inteiro},
        {"conta", T::Texto},
        {"c_dm_nascto", T::Inteiro},
        {"c_fone", T::Texto},
        {"con_f", T::Texto},
        {"f_dm_nascto", T::Inteiro},
        {"f_fone", T::Texto},
        {"c_ctb", T::Inteiro},
        {"c_ctb_consig", T::Inteiro},
        {"nasct", T::Data},
        {"sexo", T::Inteiro},
        {"e_civ", T::Inteiro},
        {"pai", T::Texto},
        {"mae", T::Texto},
        {"conju", T::Texto},
        {"ocupa", T::Texto},
        {"c_spc", T::Texto},
        {"natur", T::Texto},
        {"t_ser", T::Inteiro},
        {"l_tra", T::Texto},
        {"t_end", T::Inteiro},
        {"inscr_pro", T::Texto},
        {"classe", T::Texto},
        {"limcred", T::Real, nullptr, 0, false, 2},
        {"tolatr", T::Inteiro},
        {"cod_formapag", T::Inteiro, "FORMA_PAG"},
        {"id_st", T::Inteiro},
        {"inscr_suframa", T::Texto},
        {"lei_livre", T::Texto},
        {"dt_ult_verif", T::Data},
        {"codigo", T::Texto},
        // The customer's carrier, which the orders of the customer name as their carrier too.
        {"id_transportadora", T::Inteiro, "ID_TRANSPORTADOR", 0, true},
        {"aviso_protesto", T::Inteiro},
        {"codigo_vend_prep", T::Inteiro},
        {"id_tipo", T::Inteiro},
        {"id_regiao", T::Inteiro, nullptr, 0, true},
        {"i_ban", T::Texto, nullptr, 0, false, -1, kLimiteMemo},
        {"i_com", T::Texto, nullptr, 0, false, -1, kLimiteMemo},
        {"obs", T::Texto, nullptr, 0, false, -1, kLimiteMemo},
        {"repr_nome", T::Texto},
        {"repr_ddd", T::Texto},
        {"repr_fone", T::Texto},
        {"repr_fax", T::Texto},
        {"cc1", T::Texto},
        {"fornecedor", T::Texto},
        {"cliente", T::Texto},
        {"id_ant_forne", T::Inteiro, nullptr, 0, true},
        {"suf_cgcpf", T::Texto},
        {"num_endereco", T::Texto},
        {"email_nfe", T::Texto},
        {"alerta", T::Inteiro},
        {"cod_pais", T::Inteiro},
        {"st_especifica", T::Texto},
        {"cod_tes", T::Inteiro},
        {"regra_exclusiva", T::Texto},
        {"indicador_ie", T::Inteiro},
        {"cod_pauta", T::Inteiro},
    };
    return lista;
}

} // namespace

std::vector<QString> colunasCorrent() {
    std::vector<QString> nomes;
    nomes.reserve(colunas().size());
    for (const ColunaCliente& c : colunas())
        nomes.push_back(QString::fromLatin1(c.nome));
    return nomes;
}

QString insercaoCorrent(const Conexao& conexao, const Record& cliente, int idServidor) {
    return insercaoCliente(conexao, QStringLiteral("zor.corrent"), colunas(), cliente,
                           {{QStringLiteral("id_corrent"), Conexao::inteiro(idServidor)},
                            {QStringLiteral("ativo"), Conexao::inteiro(kAtivoVindoDaEstacao)},
                            {QStringLiteral("cod_pais"), Conexao::inteiro(kCodigoPaisBrasil)}});
}

} // namespace qav::sync
