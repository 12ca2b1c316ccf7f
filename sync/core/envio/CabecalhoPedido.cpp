#include "sync/core/envio/CabecalhoPedido.h"

namespace qav::sync {

void enderecoEntrega(envio::Insercao& linha, const envio::CamposPedido& campo) {
    linha.colunas({
        {"e_ender", campo.texto("E_ENDER")},
        {"e_num_endereco", campo.texto("E_NUMERO")},
        {"e_bairr", campo.texto("E_BAIRR")},
        {"e_munic", campo.texto("E_MUNIC")},
        {"e_estad", campo.texto("E_ESTAD")},
    });
}

void valoresPedido(envio::Insercao& linha, const envio::CamposPedido& campo, long long fconta) {
    linha.colunas({
        {"conta", campo.texto("CONTA")},
        {"cod_formapag", campo.inteiro("COD_FORMAPAG")},
        {"totpr", campo.real("TOTPR")},
        {"ipi", campo.real("IPI")},
        {"fconta", Conexao::inteiro(fconta)},
        {"frete", campo.real("FRETE")},
        {"total", campo.real("TOTAL")},
    });
}

} // namespace qav::sync
