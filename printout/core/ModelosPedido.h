#pragma once
// The four printout models and which of them the company offers (QAVCFG:MODELO_PEDIDO, a bit set;
// 0 offers all four).

#include <QString>
#include <vector>

namespace qav::impressao {

enum class Modelo {
    RetratoSemComissao = 1,
    RetratoComComissao = 2,
    PaisagemSemComissao = 3,
    RetratoSemIpi = 4
};

struct ModeloOferecido {
    Modelo modelo;
    QString nome; // "Retrato s/Comissão", ...
};

std::vector<ModeloOferecido> modelosOferecidos(int modeloPedido);
QString nomeModelo(Modelo modelo);
// 1..4 as remembered in the settings; nullopt for anything else.
bool modeloValido(int codigo);

} // namespace qav::impressao
