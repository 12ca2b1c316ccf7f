#include "sync/core/envio/CorrentZor.h"

#include "sync/core/envio/ColunasClienteComuns.h"

namespace qav::sync {

namespace {

// The ERP keeps up to 4000 characters of each of the three long texts.
constexpr int kLimiteMemo = 4000;
// The `ativo` value the ERP expects on a customer created by a workstation.
constexpr int kAtivoVindoDaEstacao = 9;

const std::vector<ColunaCliente>& colunas() {
    using T = TipoColuna;
    static const std::vector<ColunaCliente> lista = colunas_cliente::juntar({
        {
            {"id_corrent", T::Inteiro},
            {"ativo", T::Inteiro},
            {"pesso", T::Inteiro},
            {"consfinal", T::Inteiro},
            {"cgcpf", T::Texto},
            {"inscr", T::Texto},
            {"nome", T::Texto},
            {"razao", T::Texto},
            {"endereco", T::Texto, "ENDER"},
        },
        colunas_cliente::endereco(),
        {
            {"e_ender", T::Texto},
            {"e_bairr", T::Texto},
            {"id_municipio_entrega", T::Inteiro, nullptr, 0, true},
            {"e_cep", T::Texto},
            {"c_ender", T::Texto},
            {"c_bairr", T::Texto},
            {"id_municipio_cobranca", T::Inteiro, nullptr, 0, true},
            {"c_cep", T::Texto},
        },
        colunas_cliente::registro(),
        {
            {"fat_anul", T::Real},
            {"cap_social", T::Real},
            {"cap_realiz", T::Real},
            {"cap_aberto", T::Inteiro},
            {"con_ac_privado", T::Inteiro},
            {"con_ac_nacional", T::Inteiro},
            {"ramo_ativ", T::Texto},
            {"cod_ativ_ir", T::Inteiro},
        },
        colunas_cliente::atividade(),
        {
            {"perc_vendas1", T::Inteiro, "PERC_VENDAS", 0},
            {"perc_vendas2", T::Inteiro, "PERC_VENDAS", 1},
            {"perc_vendas3", T::Inteiro, "PERC_VENDAS", 2},
            {"www", T::Texto},
        },
        colunas_cliente::bancos(),
        colunas_cliente::documentoEContato(),
        {
            {"cod_vendedor2", T::Inteiro},
            {"cod_vendedor3", T::Inteiro},
        },
        colunas_cliente::contatosEPessoa(),
        {
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
        },
    });
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
