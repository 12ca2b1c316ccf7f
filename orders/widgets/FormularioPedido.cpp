#include "orders/widgets/FormularioPedido.h"

namespace qav::janelasPedido {

namespace {
AbrirFormularioPedido& formularioRegistrado() {
    static AbrirFormularioPedido abrir;
    return abrir;
}
ImprimirPedido& impressaoRegistrada() {
    static ImprimirPedido imprimir;
    return imprimir;
}
} // namespace

void registrarFormulario(AbrirFormularioPedido abrir) {
    formularioRegistrado() = std::move(abrir);
}

const AbrirFormularioPedido& formulario() {
    return formularioRegistrado();
}

void registrarImpressao(ImprimirPedido imprimir) {
    impressaoRegistrada() = std::move(imprimir);
}

const ImprimirPedido& impressao() {
    return impressaoRegistrada();
}

} // namespace qav::janelasPedido
