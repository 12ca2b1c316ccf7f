#include "sync/core/roteiro/Passos.h"

#include "sync/core/download/Cadastros.h"
#include "sync/core/download/Clientes.h"
#include "sync/core/download/Historico.h"
#include "sync/core/download/Receber.h"
#include "sync/core/download/Socios.h"
#include "sync/core/envio/Pedidos.h"

namespace qav::sync {

PassosComunicacao passosPadrao() {
    PassosComunicacao passos;
    passos.envioPedidosZor = &enviarPedidosZor;
    passos.envioPedidosGerente = &enviarPedidosGerente;
    // Each step runs only in the server form it is written for; the history steps bring their items too.
    // clang-format off
    passos.downloads = {&baixarMunicipios,
                        &baixarClientesGerente,
                        &baixarSociosGerente,
                        &baixarHistoricoGerente,
                        &baixarReceberGerente,
                        &baixarClientesZor,
                        &baixarSociosZor,
                        &baixarHistoricoZor,
                        &baixarReceberZor,
                        &baixarFormasPagamento,
                        {&baixarProdutos, &consultaProdutos},
                        &baixarAcessorios,
                        &baixarPautas,
                        {&baixarProdutosPauta, &consultaProdutosPauta},
                        &baixarStIcms,
                        {&baixarEstoque, &consultaEstoque},
                        &baixarCustoProdutos,
                        &baixarCustoFrete};
    // clang-format on
    return passos;
}

} // namespace qav::sync
