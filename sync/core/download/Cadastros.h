#pragma once
// The downloads of the company's commercial tables at the end of a communication run, in the run's
// order: towns, payment forms, products, accessories, price lists and the prices of their products, tax
// substitution, stock, product and freight costs. Each returns
// true when it ended well (or had nothing to do in this run) and false after saying why it failed;
// a failed step leaves its local tables as they were before it.

#include "sync/core/execucao/ContextoComunicacao.h"

#include <QString>
#include <optional>

namespace qav::sync {

bool baixarMunicipios(ContextoComunicacao& contexto);
bool baixarFormasPagamento(ContextoComunicacao& contexto);
bool baixarProdutos(ContextoComunicacao& contexto);
bool baixarAcessorios(ContextoComunicacao& contexto); // manager database only
bool baixarPautas(ContextoComunicacao& contexto);
bool baixarProdutosPauta(ContextoComunicacao& contexto);
bool baixarStIcms(ContextoComunicacao& contexto);
bool baixarEstoque(ContextoComunicacao& contexto);
bool baixarCustoProdutos(ContextoComunicacao& contexto);
bool baixarCustoFrete(ContextoComunicacao& contexto); // the ERP only

// The statement of the large answer of a step, exactly as the step sends it, when this run calls for
// it (see EtapaDownload).
std::optional<QString> consultaProdutos(ContextoComunicacao& contexto);
std::optional<QString> consultaProdutosPauta(ContextoComunicacao& contexto);
std::optional<QString> consultaEstoque(ContextoComunicacao& contexto);

} // namespace qav::sync
