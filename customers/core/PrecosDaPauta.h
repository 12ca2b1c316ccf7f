#pragma once
// The "Preço 1" the product list shows: the product's price in the chosen price list, or its own
// price when no price list is chosen. The product record is never changed.

#include "store/core/Decimal.h"
#include "store/core/Table.h"

#include <QHash>
#include <QString>
#include <optional>

namespace qav {

// A price list of a company, found by its code (PAUTA:KEYCODIGO).
struct PautaEscolhida {
    int id = 0;     // PAUTA:ID, the key of its prices
    int codigo = 0; // PAUTA:CODIGO
    QString descricao;
};
std::optional<PautaEscolhida> pautaPorCodigo(Store& store, int codigo, int idEmpresa);

class PrecosDaPauta {
public:
    explicit PrecosDaPauta(Store& store);

    // 0: no price list.
    void escolher(int idPauta);
    int idPauta() const { return m_idPauta; }

    // PAUXPRO:PRECO1 of the product in the chosen list (zero when the product has no price there),
    // else PRO:PRECO.
    Decimal preco1(const Record& produto);

private:
    Table m_pauxpro;
    int m_idPauta = 0;
    QHash<std::int64_t, Decimal> m_cache; // PRO:ID -> price in the chosen list
};

} // namespace qav
