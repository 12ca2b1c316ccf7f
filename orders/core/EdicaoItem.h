#pragma once
// One item of an order being edited, as the item form works on it: primed or copied from the order
// held in memory (EdicaoPedido), priced by the item rules as the representative types, checked on
// confirmation and then put back into the order. Nothing here writes the tables: the order form
// writes the order with all its items and their accessory rows in one transaction when the order is
// confirmed.

#include "orders/core/DadosPedido.h"
#include "orders/core/EdicaoPedido.h"
#include "orders/core/PrecoItem.h"
#include "orders/core/Quantidade.h"
#include "store/core/Date.h"

#include <QString>
#include <optional>
#include <vector>

namespace qav {

// An accessory subgroup offered for the product (acessori.tps COD_SUBGRUPO / DESCR_SUBGRUPO).
struct SubgrupoAcessorio {
    int codigo = 0;
    QString descricao;
};

// An active accessory of the company in a subgroup.
struct AcessorioOferecido {
    int id = 0; // ID_ACESSORIO
    QString descricao;
    Decimal preco;
};

// A last price of the product for the order's customer, from the order history (pedcon/pedicon).
struct UltimoPreco {
    int numeroPedido = 0;
    Date data;
    Decimal quantidade;
    Decimal preco;
    Decimal variacao; // (1 - preco / VDAI:PRUNI) x 100; 0 when the item has no unit price yet
};

// A refusal of the confirmation, in the order the checks run; `campo` names the entry to put the
// focus on: "produto", "quantidade", "pecas", "preco" (unit price), "acessorios" or empty. A product
// that is not the company's has no text to show (mensagem.texto empty): only the focus moves.
struct RecusaItem {
    Mensagem mensagem;
    QString campo;
};

// Why salvar() kept the item out of the order: a message to show, or a duplicate of another item.
struct RecusaSalvar {
    Mensagem mensagem;
    // Another item of the order has the same product and observation: the standard duplicate-key
    // warning is shown on the key named in mensagem.texto ("Id Pedido + Produto + Obs.").
    bool duplicado = false;
};

class EdicaoItem {
public:
    // `pedido` is the order being edited; `dados` its reference rows (EdicaoPedido::carregarDados),
    // with the products of its items. The item form reads the products it looks up through this
    // class, which adds them to its own copy of `dados`.
    EdicaoItem(Store& store, EdicaoPedido& pedido, const DadosPedido& dados);

    // Insert: primes a new item in memory: ID_VENDASI one above the highest of the folder's items
    // (every order) and of the order's items in memory, ID_VENDA, PRECO_COM_IPI from the company's
    // configuration, NUM_OC from the order. The item is not in the order until salvar().
    void novo();
    // Change or view: works on a copy of item `indice` of the order (and of its accessory rows).
    void abrir(int indice);
    bool novoItem() const { return m_indice < 0; }
    // A transmitted order: every request is only a view.
    bool somenteLeitura() const;

    Record& item() { return m_item; }
    const Record& item() const { return m_item; }
    const std::vector<Record>& acessorios() const { return m_acessorios; }
    // The item's product (a row of zeros until one is chosen), with the price-list prices in PRECO,
    // PREC2, PREC3 when the order has a price list (produtoComPrecosDaPauta).
    const Produto& produto() const { return m_produto; }
    const ResultadoItem& resultado() const { return m_resultado; }
    bool alterado() const; // differs from what was primed or copied

    // Product entry: the company's product whose CODIGO is `entrada`; else whose CODIGO is `entrada`
    // read as a number and written with 6 digits ("123" -> "000123"); else whose COD_BARRAS is
    // `entrada`. nullopt when none.
    std::optional<Produto> buscarProduto(const QString& entrada) const;
    // The product chosen (by the entry, the product list or the characteristics finder): sets PRODU,
    // the initial price, recalculation and commission share. A new item with an inactive product
    // gives false with "Atenção produto selecionado não está ativo!" in `mensagem`.
    bool escolherProduto(const Produto& produto, Mensagem& mensagem);

    // Entries the user changes; each recalculates the item (and returns its messages, if any).
    Mensagens alterarQuantidade(const Decimal& qtd);      // with the sale-lot check
    Mensagens alterarPecas(int pecas, int comprimentoMm); // pieces x length products
    Mensagens alterarDesconto(const Decimal& descp);      // 0 clears the discount value too
    Mensagens alterarValorDesconto(const Decimal& descv);
    Mensagens alterarPrecoUnitario(const Decimal& valorProduto); // becomes VALOR_PRODUTO
    Mensagens alterarComissao(const Decimal& comis);             // price from the commission rate
    // The measure price of an observation starting "120X080": offered when precoPorMedida() gives a
    // value (the form asks first), applied by aplicarPrecoPorMedida().
    std::optional<Decimal> precoPorMedida(const QString& observacao) const;
    Mensagens aplicarPrecoPorMedida(const Decimal& preco);
    // Last outcome of the sale-lot check of the quantity or pieces entry.
    const VerificacaoLote& lote() const { return m_lote; }
    // The prices the unit-price drop list offers.
    std::vector<Decimal> precosOferecidos() const;
    // Shown or hidden commission entry.
    bool comissaoVisivel() const;

    // Accessories: the subgroups offered for the product, the active accessories of a subgroup, and
    // adding / removing an accessory row (messages "Escolha o acessório primeiro!", "Acessório já
    // lançado!", "Primeiro selecione o acessório que você quer remover!"). Each change recalculates.
    std::vector<SubgrupoAcessorio> subgrupos() const;
    std::vector<AcessorioOferecido> acessoriosDoSubgrupo(int codSubgrupo) const;
    std::optional<Mensagem> adicionarAcessorio(int codSubgrupo, std::optional<int> idAcessorio,
                                               const Decimal& valor);
    std::optional<Mensagem> removerAcessorio(int indice); // -1: none selected

    // The customer's last prices of the product, newest first, at most 10 orders.
    std::vector<UltimoPreco> ultimosPrecos() const;

    // "&OK": the checks in order (product exists, the quantity entry's sale-lot rule again,
    // promotional price, commission excess, required accessories, maximum discount, minimum price);
    // the first refusal ends them. Empty when the
    // item may be saved. Warnings that do not refuse (a flex order over the product's limit) are
    // returned in `avisos`.
    std::optional<RecusaItem> verificar(Mensagens& avisos) const;
    // A customer's purchase-order item number goes with the purchase-order number, and the other
    // way round: the entry still missing, "ordemCompra" (NUM_OC) or "itemOrdemCompra"
    // (NUM_ITEM_OC), or empty when both or neither are given.
    QString ordemDeCompraIncompleta() const;
    // Puts the item with its accessory rows into the order (the observation takes the accessories'
    // prefix). Runs verificar() first and is refused with its first refusal (its warnings are
    // verificar()'s to show). Refused, as `duplicado`, when another item of the order has the same
    // product and observation. Insert: then primes the next item; change: the item is read again from
    // the order, as abrir() does.
    std::optional<RecusaSalvar> salvar();

private:
    // Reads the product's row of the order's price list into the reference rows.
    void carregarPautaProduto(int idProduto, std::optional<Mensagem>& falha);
    // Prices (precoInicial) or recalculates `linha` and makes it the item; false, with the reason in
    // `mensagens` and the item unchanged, when a value does not fit its field.
    bool recalcular(PedidoItem& linha, bool precoInicial, Mensagens& mensagens);
    Mensagens recalcular(PedidoItem& linha);
    // The observation as saved: the accessories' descriptions, " # ", the representative's text.
    QString observacaoComAcessorios() const;

    Store& m_store;
    EdicaoPedido& m_pedido;
    DadosPedido m_dados;
    int m_indice = -1;
    Record m_item;
    Record m_original;
    std::vector<Record> m_acessorios;
    std::vector<Record> m_acessoriosOriginais;
    Produto m_produto;
    ResultadoItem m_resultado;
    VerificacaoLote m_lote;
};

} // namespace qav
