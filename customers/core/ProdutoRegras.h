#pragma once
// Rules of the product list: which products it shows, how a typed code is found, the price per
// single unit and the promotional mark.

#include "store/core/Decimal.h"
#include "store/core/Record.h"
#include "ui/core/ListFilter.h"

#include <QString>
#include <QStringList>

namespace qav::produto {

// The "Situação:" option: the value is the one PRO:ATIVO is compared with (2 shows every product).
enum class Situacao { Inativos = 0, Ativos = 1, Todos = 2 };

// Products of the company in the chosen situation, and, when `pesquisa` is not empty, only those
// whose name contains it anywhere, as typed, whatever the case and the accents ("parafuso" finds
// "Parafuso Sextavado" and "ARRUELA P/ PARAFUSO", "dobradica" finds "DOBRADIÇA", "antonio r" finds
// "ANTÔNIO RIBEIRO").
ListFilter filtro(Situacao situacao, int idEmpresa, const QString& pesquisa = {});

// The codes a typed code is looked for under, in turn: as typed (upper case, as the code key
// compares), then, for a number of fewer than six digits, with zeros in front up to six ("45"
// finds "000045").
QStringList codigosParaLocalizar(const QString& digitado);

// "Preço p/Item Único": the price divided by the units in the package when there are any, with
// four decimals.
Decimal precoItemUnico(const Decimal& preco, const Decimal& qtdEmbalagem);

// The product's price is promotional (its price cell is shown green).
bool promocional(const Record& produto);

} // namespace qav::produto
