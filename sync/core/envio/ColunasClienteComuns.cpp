#include "sync/core/envio/ColunasClienteComuns.h"

namespace qav::sync::colunas_cliente {

using T = TipoColuna;

const std::vector<ColunaCliente>& endereco() {
    static const std::vector<ColunaCliente> lista = {
        {"cxpostal", T::Inteiro},     {"compl", T::Texto}, {"bairr", T::Texto},
        {"id_municipio", T::Inteiro}, {"cep", T::Texto},
    };
    return lista;
}

const std::vector<ColunaCliente>& registro() {
    static const std::vector<ColunaCliente> lista = {
        {"e_mail", T::Texto}, {"grupo_eco", T::Texto}, {"dt_const", T::Data},
        {"no_reg", T::Texto}, {"dt_reg", T::Data},     {"hor_descarga", T::Texto},
    };
    return lista;
}

const std::vector<ColunaCliente>& atividade() {
    static const std::vector<ColunaCliente> lista = {
        {"no_empregados", T::Inteiro},
        {"importa", T::Inteiro},
        {"p_importa", T::Inteiro},
        {"exporta", T::Inteiro},
        {"p_exporta", T::Inteiro},
        {.nome = "princ_produ1", .tipo = T::Texto, .campo = "PRINC_PRODU"},
        {.nome = "princ_produ2", .tipo = T::Texto, .campo = "PRINC_PRODU", .elemento = 1},
        {.nome = "princ_produ3", .tipo = T::Texto, .campo = "PRINC_PRODU", .elemento = 2},
    };
    return lista;
}

const std::vector<ColunaCliente>& bancos() {
    static const std::vector<ColunaCliente> lista = {
        {"banc1", T::Inteiro}, {"banc2", T::Inteiro}, {"banc3", T::Inteiro}, {"agen1", T::Texto},
        {"agen2", T::Texto},   {"agen3", T::Texto},   {"nagen1", T::Texto},  {"nagen2", T::Texto},
        {"nagen3", T::Texto},  {"ct_nu", T::Inteiro}, {"ct_se", T::Inteiro},
    };
    return lista;
}

const std::vector<ColunaCliente>& documentoEContato() {
    static const std::vector<ColunaCliente> lista = {
        {"ci1", T::Texto},   {"ci2", T::Inteiro},
        {"orgex", T::Texto}, {"uf", T::Texto},
        {"dtemi", T::Data},  {"ddd", T::Texto},
        {"telef", T::Texto}, {"fax", T::Texto},
        {"data", T::Data},   {"cod_vendedor", T::Inteiro},
    };
    return lista;
}

const std::vector<ColunaCliente>& contatosEPessoa() {
    static const std::vector<ColunaCliente> lista = {
        {"conta", T::Texto},   {"c_dm_nascto", T::Inteiro},  {"c_fone", T::Texto},
        {"con_f", T::Texto},   {"f_dm_nascto", T::Inteiro},  {"f_fone", T::Texto},
        {"c_ctb", T::Inteiro}, {"c_ctb_consig", T::Inteiro}, {"nasct", T::Data},
        {"sexo", T::Inteiro},  {"e_civ", T::Inteiro},        {"pai", T::Texto},
        {"mae", T::Texto},     {"conju", T::Texto},          {"ocupa", T::Texto},
        {"c_spc", T::Texto},   {"natur", T::Texto},
    };
    return lista;
}

std::vector<ColunaCliente> juntar(std::initializer_list<std::vector<ColunaCliente>> partes) {
    std::vector<ColunaCliente> lista;
    for (const std::vector<ColunaCliente>& parte : partes)
        lista.insert(lista.end(), parte.begin(), parte.end());
    return lista;
}

} // namespace qav::sync::colunas_cliente
