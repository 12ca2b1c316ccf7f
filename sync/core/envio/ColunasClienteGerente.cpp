#include "sync/core/envio/ColunasClienteGerente.h"

#include "sync/core/envio/ColunasClienteComuns.h"

namespace qav::sync {

namespace {
// The office keeps up to 2048 characters of each of the three long texts.
constexpr int kLimiteMemo = 2048;
} // namespace

// A column without a named field takes the local field of its own name, when the customer has one.
const std::vector<ColunaCliente>& colunasClienteGerente() {
    using T = TipoColuna;
    static const std::vector<ColunaCliente> lista = colunas_cliente::juntar({
        {
            {"id_cliente", T::Inteiro},
            {"ativo", T::Inteiro},
            {"pesso", T::Inteiro},
            {"consfinal", T::Inteiro},
            {"cgcpf", T::Texto},
            {"suf_cgcpf", T::Texto},
            {"inscr", T::Texto},
            {"nome", T::Texto},
            {"razao", T::Texto},
            {"ender", T::Texto},
        },
        colunas_cliente::endereco(),
        {
            {"e_ender", T::Texto},
            {"e_bairr", T::Texto},
            {"e_munic", T::Texto},
            {"e_estad", T::Texto},
            {"e_cep", T::Texto},
            {"c_ender", T::Texto},
            {"c_bairr", T::Texto},
            {"c_munic", T::Texto},
            {"c_estad", T::Texto},
            {"c_cep", T::Texto},
        },
        colunas_cliente::registro(),
        {
            {.nome = "fat_anul", .tipo = T::Real, .casas = 2},
            {.nome = "cap_social", .tipo = T::Real, .casas = 2},
            {.nome = "cap_realiz", .tipo = T::Real, .casas = 2},
            {"cap_aberto", T::Inteiro},
            {"con_ac_privado", T::Inteiro},
            {"con_ac_nacional", T::Inteiro},
            {"ramo_ativ", T::Texto},
            // The customer's economic activity code.
            {.nome = "cnae_fiscal", .tipo = T::Inteiro, .campo = "COD_ATIV_IR"},
        },
        colunas_cliente::atividade(),
        {
            {.nome = "perc_vendas1", .tipo = T::Real, .campo = "PERC_VENDAS"},
            {.nome = "perc_vendas2", .tipo = T::Real, .campo = "PERC_VENDAS", .elemento = 1},
            {.nome = "perc_vendas3", .tipo = T::Real, .campo = "PERC_VENDAS", .elemento = 2},
            {"n_suframa", T::Texto},
            {"www", T::Texto},
            {"praca", T::Texto},
            {"ceppraca", T::Texto},
        },
        colunas_cliente::bancos(),
        colunas_cliente::documentoEContato(),
        colunas_cliente::contatosEPessoa(),
        {
            {"t_end", T::Inteiro},
            {"endereco_anterior", T::Texto},
            {"l_tra", T::Texto},
            {"end_empresa", T::Texto},
            {"bairro_empresa", T::Texto},
            {.nome = "id_municip_emp", .tipo = T::Inteiro, .nullQuandoZero = true},
            {"fone_empresa", T::Texto},
            {"dt_admissao", T::Data},
            {"t_ser", T::Inteiro},
            {"renda_mensal", T::Real},
            {"outras_rendas", T::Real},
            {"aluguel", T::Inteiro},
            {"inscr_pro", T::Texto},
            {"classe", T::Texto},
            {.nome = "limcred", .tipo = T::Real, .casas = 2},
            {"tolatr", T::Inteiro},
            {"lib_cred", T::Inteiro},
            {.nome = "cod_formapag", .tipo = T::Inteiro, .campo = "FORMA_PAG"},
            {"dt_ult_verif", T::Data},
            {"alerta", T::Inteiro},
            {"id_tipo", T::Inteiro},
            {"data_tipo", T::Data},
            {"inscr_suframa", T::Texto},
            {.nome = "i_ban", .tipo = T::Texto, .limite = kLimiteMemo},
            {.nome = "i_com", .tipo = T::Texto, .limite = kLimiteMemo},
            {.nome = "obs", .tipo = T::Texto, .limite = kLimiteMemo},
            {"idxfti", T::Texto},
            // The customer's carrier, which the orders of the customer name as their carrier too.
            {.nome = "id_transportador", .tipo = T::Inteiro, .nullQuandoZero = true},
            {.nome = "id_redespacho", .tipo = T::Inteiro, .nullQuandoZero = true},
            {"redespacho_frete", T::Inteiro},
            {"pessoa_aut1", T::Texto},
            {"perc_ramo_ativ", T::Real},
            {"num_endereco", T::Texto},
            {"tx_desc_pedido", T::Real},
            {"tx_desc_fatura", T::Real},
            {"e_cnpj", T::Texto},
            {.nome = "e_num_endereco", .tipo = T::Texto, .campo = "E_NUMERO"},
            {"obs_redespacho", T::Texto},
            {"pessoa_aut2", T::Texto},
            {"pessoa_aut3", T::Texto},
            {"cpf_aut1", T::Texto},
            {"cpf_aut2", T::Texto},
            {"cpf_aut3", T::Texto},
            // The address for electronic invoices: the workstation keeps none (its second address is the one
            // the order documents go to, another thing).
            {"email_nfe", T::Texto},
            {"cod_pais", T::Inteiro},
            {"cpf_conjuge", T::Texto},
            {"dias_multa", T::Inteiro},
            {"taxa_multa", T::Real},
            {"st_especifica", T::Texto},
            {"dt_atual", T::Data},
            {"c_num_endereco", T::Texto},
            {"cod_pauta", T::Inteiro},
            {"indicador_ie", T::Inteiro},
            {"desc_cliente_rede", T::Inteiro},
        },
    });
    return lista;
}

} // namespace qav::sync
