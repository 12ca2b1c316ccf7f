#pragma once
// The stock exit of an item delivered to the customer on the spot, as the office's stock movements
// (gestao.estmovto) receive it.

#include "store/core/Date.h"
#include "store/core/Decimal.h"
#include "sync/core/conexao/Conexao.h"

namespace qav::sync {

struct SaidaEstoque {
    long long idEmpresa = 0;
    long long idEstlocal = 0; // the stock place of the workstation
    long long produto = 0;
    Date data;      // the order's date
    int numero = 0; // the order's number on the server
    Decimal quantidade;
    long long idPedidoServidor = 0;
    int ordem = 0; // the item's number in the order
};

QString comandoSaidaEstoque(const Conexao& conexao, const SaidaEstoque& saida);

} // namespace qav::sync
