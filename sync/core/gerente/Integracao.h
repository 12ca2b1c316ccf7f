#pragma once
// The update of a sales office's manager database from the hub installation ("&Atualizar" of the
// "Integração Gerente" window, qavtool gerente): the local reference data (products, price lists,
// payment forms, municipalities, customers) goes to the manager database under the local ids, and the
// orders entered in the office come into the local order list. Each step ends the update when it
// fails; what earlier steps wrote stays written.

#include "base/core/Settings.h"
#include "store/core/Store.h"
#include "sync/core/execucao/OuvinteComunicacao.h"
#include "sync/core/gerente/ContextoIntegracao.h"

#include <functional>

namespace qav::sync {

struct PedidoIntegracao {
    int idEmpresa = 0;      // the active company of the local tables
    BdGerente configuracao; // qav.cfg, "BD Gerente", as the window holds it
    bool formularioPedidoAberto = false;
    // Called with every statement the update sends, before it goes.
    std::function<void(const QString&)> gravadorComandos;
};

// True when every step went through ("Fim de atualização!" has been said).
bool atualizarGerente(Store& store, OuvinteComunicacao& ouvinte, const PedidoIntegracao& pedido);

// The connection values of the settings (the port as typed; 0 when not a number).
ParametrosConexao parametrosGerente(const BdGerente& configuracao);

// The steps, in the update's order; each true when it went through.
bool ajustarSequenciaClientes(ContextoIntegracao& contexto);
bool atualizarProdutosGerente(ContextoIntegracao& contexto);
bool atualizarPautasGerente(ContextoIntegracao& contexto);
bool atualizarFormasPagamentoGerente(ContextoIntegracao& contexto);
bool atualizarMunicipiosGerente(ContextoIntegracao& contexto);
bool atualizarClientesGerente(ContextoIntegracao& contexto);
bool importarPedidosGerente(ContextoIntegracao& contexto);

} // namespace qav::sync
