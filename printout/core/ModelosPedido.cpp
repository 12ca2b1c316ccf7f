#include "printout/core/ModelosPedido.h"

namespace qav::impressao {

namespace {
struct Oferta {
    Modelo modelo;
    int mascara; // the model is offered when MODELO_PEDIDO AND mascara is not zero
};
// The portrait model without IPI answers to 4 as well as 8: companies that ticked the landscape model
// before the model without IPI existed get both.
constexpr Oferta kOfertas[] = {{Modelo::RetratoSemComissao, 1},
                               {Modelo::RetratoComComissao, 2},
                               {Modelo::PaisagemSemComissao, 4},
                               {Modelo::RetratoSemIpi, 12}};
} // namespace

QString nomeModelo(Modelo modelo) {
    switch (modelo) {
    case Modelo::RetratoSemComissao:
        return QStringLiteral("Retrato s/Comissão");
    case Modelo::RetratoComComissao:
        return QStringLiteral("Retrato c/Comissão");
    case Modelo::PaisagemSemComissao:
        return QStringLiteral("Paisagem s/Comissão");
    case Modelo::RetratoSemIpi:
        return QStringLiteral("Retrato s/IPI");
    }
    return {};
}

std::vector<ModeloOferecido> modelosOferecidos(int modeloPedido) {
    std::vector<ModeloOferecido> lista;
    for (const Oferta& oferta : kOfertas)
        if (modeloPedido == 0 || (modeloPedido & oferta.mascara) != 0)
            lista.push_back({oferta.modelo, nomeModelo(oferta.modelo)});
    return lista;
}

bool modeloValido(int codigo) {
    return codigo >= 1 && codigo <= 4;
}

} // namespace qav::impressao
