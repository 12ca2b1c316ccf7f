#pragma once
// The characteristics finder: the representative narrows the company's products down by up to five
// characteristics (PRO:CARAC1 to CARAC5), each chosen among the values the products left by the
// earlier choices have, then picks the product and one accessory for each subgroup the product
// requires. Nothing is written here: the item form puts the product and the accessories chosen into
// the item it edits.

#include "orders/core/EdicaoItem.h"
#include "store/core/Decimal.h"
#include "store/core/StoreError.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace qav {

class Record;
class Store;

// A product whose five characteristics equal the values chosen.
struct ProdutoCaracteristica {
    int id = 0;                        // PRO:ID
    QString codigo;                    // PRO:CODIGO
    QString nome;                      // "000123 - " + PRO:NOME
    std::array<int, 3> subgrupos = {}; // required accessory subgroups COD_ACESS1..3 (0: none)
};

// A subgroup the product requires, with the company's active accessories in it.
struct SubgrupoExigido {
    int codigo = 0;
    QString descricao; // DESCR_SUBGRUPO of its accessories; empty when the subgroup has none
    std::vector<AcessorioOferecido> acessorios;
};

struct AcessorioEscolhido {
    int id = 0; // ID_ACESSORIO
    int codSubgrupo = 0;
    Decimal preco; // the accessory's price, charged on the item
};

// What the finder hands to the item form.
struct EscolhaCaracteristica {
    int idProduto = 0;
    QString codigo;                             // for the item's product entry
    std::vector<AcessorioEscolhido> acessorios; // one per required subgroup, in the product's order
};

class BuscaCaracteristica {
public:
    static constexpr int kCaracteristicas = 5;

    BuscaCaracteristica(Store& store, int idEmpresa);

    // The value chosen in list `n` (0 to 4). An empty choice stands for a blank characteristic, so
    // products described by fewer than five characteristics are found with the last lists left empty.
    QString escolhido(int n) const;
    // Choosing a value in one list empties the lists after it: what they offer depends on it.
    void escolher(int n, const QString& valor);

    // The values list `n` offers: the distinct non-blank characteristics n + 1 of the company's active
    // products whose earlier characteristics equal the values chosen before, in the order of the
    // characteristics key. Letter case does not tell two values apart (the key ignores it); the
    // first spelling met is offered.
    std::vector<QString> valores(int n);
    // The company's active products whose five characteristics equal the values chosen. None while
    // nothing is chosen: a product without characteristics cannot be found by them.
    std::vector<ProdutoCaracteristica> produtos();
    // The subgroups the product requires, each once, in the order of COD_ACESS1..3, with their
    // accessories in the order of the subgroup key.
    std::vector<SubgrupoExigido> subgruposExigidos(const ProdutoCaracteristica& produto);

    // Why the last read gave nothing: a table that does not open or a walk that failed (code None
    // when it read).
    const StoreError& erro() const { return m_erro; }

private:
    // Walks the company's active products in the order of the characteristics key from the first
    // whose first `fixos` characteristics equal the chosen ones, up to the first that differs.
    bool percorrer(int fixos, const std::function<void(const Record&)>& visitar);

    Store& m_store;
    int m_idEmpresa;
    std::array<QString, kCaracteristicas> m_escolhidos;
    StoreError m_erro;
};

// "OK": refused while a required subgroup has no accessory chosen; `listaVazia` is then the first
// such list (index into the subgroups), where the focus goes.
struct ConfirmacaoCaracteristica {
    std::optional<EscolhaCaracteristica> escolha;
    int listaVazia = -1;
};

// `escolhidos[i]` is the row chosen in the accessory list of `exigidos[i]` (-1: none).
ConfirmacaoCaracteristica confirmarCaracteristica(const ProdutoCaracteristica& produto,
                                                  const std::vector<SubgrupoExigido>& exigidos,
                                                  const std::vector<int>& escolhidos);

} // namespace qav
