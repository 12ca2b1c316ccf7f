#pragma once
// The steps at the start of every run that copy what the installation must know about its own
// company and salesperson before orders are sent: the company's client settings, the company, the
// salesperson and the order types. Each returns true when it ended well.

#include "sync/core/execucao/ContextoComunicacao.h"

namespace qav::sync {

bool atualizarConfiguracao(ContextoComunicacao& contexto); // every run type
bool atualizarEmpresa(ContextoComunicacao& contexto);
bool atualizarVendedor(ContextoComunicacao& contexto);
bool atualizarTiposPedido(ContextoComunicacao& contexto);

} // namespace qav::sync
