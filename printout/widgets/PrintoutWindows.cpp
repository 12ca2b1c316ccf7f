#include "printout/widgets/PrintoutWindows.h"

#include "orders/widgets/FormularioPedido.h"
#include "printout/widgets/ImpPedido.h"

namespace qav {

void registrarImpressaoPedido() {
    janelasPedido::registrarImpressao(&ImpPedido::executar);
}

} // namespace qav
