#pragma once
// An order being entered or edited: its header, items and the items' accessory rows, held in memory
// while the form is open and written together, in one store transaction, when the order is
// confirmed. After a crash or a kill at any moment the order is in the files whole, as it was before
// or as confirmed, never half-written; a new order that is cancelled (or whose program dies) leaves
// nothing behind.

#include "orders/core/DadosPedido.h"
#include "orders/core/RegrasCabecalho.h"
#include "orders/core/RegrasLiberacao.h"
#include "store/core/Date.h"
#include "store/core/Record.h"
#include "store/core/Store.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace qav {

struct ItemEmEdicao {
    Record item;                    // peditens.tps
    std::vector<Record> acessorios; // pedacess.tps rows of the item
};

struct FalhaEdicao {
    enum class Tipo {
        Nenhuma,
        NaoEncontrado,    // the order (or its reference row) is not in the file
        AlteradoPorOutro, // another window or station changed or deleted the order since it was read
        Duplicado,        // id or number already taken (see campo: "Id" or "Número")
        Arquivo,          // a table failed: nothing was written (see erro)
        Transmitido,      // the order is transmitted (the company's now): nothing was written; mensagem
                          // "Pedido já transmitido! Somente consulta disponível!" (on saving) or
                          // "Pedido já transmitido! Impossivel incluir!" (on a bar-code reading)
    };
    Tipo tipo = Tipo::Nenhuma;
    QString campo;    // Duplicado: "Id" or "Número", or "Id Pedido + Produto + Obs." for two items of
                      // the same product with the same observation
    QString mensagem; // "Erro (n) ao gravar pedido!" and the like
    StoreError erro;
    bool ok() const { return tipo == Tipo::Nenhuma; }
};

class EdicaoPedido {
public:
    explicit EdicaoPedido(Store& store);

    // Reads order `idPedido` with its items (item-id order) and their accessory rows.
    FalhaEdicao abrir(int idPedido);

    // Primes a new order of company `idEmpresa`, in memory only: DATA = hoje, TIPOV 1, SITUA 1,
    // INF_USUARIO 1, COD_VENDEDOR and PED_FLEX from the company's qavcfg row, FCONTA from BLOQ_FRETE
    // (1 or 2) or else from the order with the highest number, PRODUTO_ENTREGUE 1 with immediate
    // delivery, COMIS from the representative when its commission comes from it (ORIGEM_COM 1), and
    // ID and NUMER one above the highest of the folder (every company). `inicio` carries values the
    // caller sets beforehand (the customer of the order list's tab); its non-zero CLIEN is kept, while
    // COD_VENDEDOR is always the workstation's.
    FalhaEdicao novo(int idEmpresa, Date hoje, const Record* inicio = nullptr);

    bool novoPedido() const { return m_novo; }
    Record& pedido() { return m_pedido; }
    const Record& pedido() const { return m_pedido; }
    std::vector<ItemEmEdicao>& itens() { return m_itens; }
    const std::vector<ItemEmEdicao>& itens() const { return m_itens; }
    // True when header, items or accessories differ from what was read (or primed).
    bool alterado() const;

    // The reference rows the rules need for the order as it stands now (customer, its municipality,
    // representative, company, qavcfg, payment form, price list, tax tables, freight costs, the
    // products of the items and their price-list rows). Missing rows count as rows of zeros.
    FalhaEdicao carregarDados(DadosPedido& dados) const;
    // The other orders of the folder with their items' flex, for the flex balance; empty unless the
    // order is a flex order.
    FalhaEdicao outrosPedidos(std::vector<OutroPedido>& outros) const;
    // The receivables of the order's customer (read without holding the file).
    FalhaEdicao titulosDoCliente(std::vector<Titulo>& titulos) const;

    // Recalculates header and items through the order rules and writes the results back into the
    // records (only the computed fields change). All or nothing: when a computed value does not fit
    // its field (resultado.estouro names it), the order goes back to what it was after the last
    // recalculation that fitted, the change that overflowed undone, and is recalculated as it was;
    // an order that never fitted (read so from the file) stays as read.
    ResultadoRecalculo recalcular(const DadosPedido& dados, const std::vector<OutroPedido>& outros);

    // The order as it stands now becomes the one the "changed?" question of Esc compares with (the
    // form takes it once the opening refresh is done, so that a new order nobody typed in is not
    // offered for saving).
    void fixarReferencia();
    bool alteradoDesdeReferencia() const;

    // Told whenever an item is put into the order or taken out of it (the item form's confirmation,
    // a bar-code reading), so that the order's draft follows each confirmed item.
    void aoAlterarItens(std::function<void()> aviso) { m_aoAlterarItens = std::move(aviso); }
    void itensAlterados() const {
        if (m_aoAlterarItens)
            m_aoAlterarItens();
    }

    // A draft brought back after a crash: header and items as they were typed. For an edited order
    // (abrir() first) the original stays the file's record, so the save still sees another window's
    // change; for a new order (novo() first) the draft's header and items replace the primed ones.
    void retomar(const Record& pedido, std::vector<ItemEmEdicao> itens);

    // The id a new item of this order takes: one above the highest item id of the folder (every
    // order) and of this order's items in memory. Provisional: the save takes the next free one when
    // another window took it meanwhile.
    FalhaEdicao proximoIdItem(int& id) const;

    // Bar-code reading: the product of the order's company with PRO:COD_BARRAS = the first 14
    // characters of `codigo`; the order's item of that product with a blank observation gets one unit
    // more, or is created (price from the order's price list when it has one, else PRO:PRECO;
    // commission by the representative's ORIGEM_COM; next item id). Returns false, changing nothing,
    // when no product has the code (falha NaoEncontrado, mensagem "Código inválido!"), when the entry
    // is blank (falha Nenhuma), or when the order is transmitted (falha Transmitido). The new item
    // also takes PRECO_COM_IPI from the company's qavcfg row and NUM_OC from the order, as every new
    // item does. The caller recalculates afterwards, which sets the item's net value and taxes.
    bool lerCodigoBarras(const QString& codigo, const DadosPedido& dados, FalhaEdicao& falha);

    // ---- The header's rules, as the form applies them (RegrasCabecalho.cpp) ----

    // The order's customer (its clientes.tps row); nullopt when no customer has CLIEN.
    std::optional<Record> cliente() const;
    // The customer typed must exist (`cliente` as cliente() found it; ClienteInexistente, told as an
    // invalid "Id do Cliente").
    static std::optional<RecusaPedido> verificarCliente(const std::optional<Record>& cliente);
    // A customer of another representative is refused unless the order's representative sells to
    // every customer. `dados` read for the order as it stands.
    static std::optional<RecusaPedido> verificarRepresentanteDoCliente(const DadosPedido& dados);
    // What the customer's row tells when it is typed: overdue receivables (of `titulos`, as of
    // `hoje`), credit not released, the customer's alert note.
    static AvisosCliente avisosDoCliente(const Record& cliente, const std::vector<Titulo>& titulos,
                                         Date hoje);
    // A new order takes the customer's terms: payment form, price list, contact, order discount, the
    // customer-network flag and the delivery address. True when the customer brings a payment form,
    // which is then applied as if typed (aplicarFormaPag); a customer without one leaves the choice
    // to the representative.
    bool aplicarCliente(const Record& cliente);
    // "Delivery address": an order without one starts from the customer's.
    void completarEnderecoEntrega(const Record& cliente);

    // Whether the order type takes a payment form (types 3, 4, 5, 7, 8, 10 and 11 do not).
    bool levaFormaPag() const;
    // The payment form of an order type that takes one must exist for company `idEmpresa`.
    std::optional<RecusaPedido> verificarFormaPag(int idEmpresa) const;
    // The payment form chosen: its discount (or the customer's own order discount) becomes the
    // header discount, the discount value goes back to 0, and the item prices trade the surcharge
    // they contain (`acrescimoAnterior`, updated) for the new payment form's. Returns the notices of
    // the repricing.
    Mensagens aplicarFormaPag(const DadosPedido& dados, Decimal& acrescimoAnterior);

    // A release code, when one is typed, must be the one given for this order and its total.
    std::optional<RecusaPedido> verificarCodigoLiberacao() const;
    // The carrier (Transportador) or redispatch carrier (Redespacho), when typed, must exist.
    std::optional<RecusaPedido> verificarTransportador(CampoPedido campo) const;
    // Only the upload makes an order transmitted: the situation list may choose "Transmitido" only
    // for an order that already is.
    bool situacaoPermitida(int escolhida) const;
    // "&Novo" of the item list: where the company sells by price list, or the order has one, the
    // order's price list must exist and be active.
    std::optional<RecusaPedido> verificarPautaParaItens(const DadosPedido& dados) const;

    // recalcular(), then the company's locked header discounts: only a price-list discount by order
    // value opens the first discount; without one a first discount goes back to 0 and the order is
    // recalculated without it.
    ResultadoRecalculo recalcularComBloqueios(const DadosPedido& dados,
                                              const std::vector<OutroPedido>& outros);
    // Which header entries may be changed in an order of company `idEmpresa` (whose price lists may
    // be reserved to the customers that have them).
    CamposLiberados camposLiberados(const DadosPedido& dados, const ResultadoRecalculo& recalculo,
                                    int idEmpresa) const;

    // The confirmation, before the recalculation: an order type without a payment form drops it,
    // any other needs one that exists; the freight responsibility must be chosen.
    std::optional<RecusaPedido> prepararConfirmacao(int idEmpresa);
    // The confirmation, after the recalculation: every value fits its field, and there is an item.
    std::optional<RecusaPedido> verificarConteudo(const ResultadoRecalculo& recalculo) const;
    // The confirmation pass: the rules of the entries again, without the look-ups and questions:
    // customer, its representative, payment form and release code. The carriers' rules
    // (verificarTransportador) follow it, each as when its entry is left: the form refreshes the
    // order after each, as it always has, and a refresh is not free of effects (an item's commission
    // share is taken again from a rate the representative's origin leaves as it is).
    std::optional<RecusaPedido> passagemDeConfirmacao(const DadosPedido& dados, int idEmpresa) const;

    // Writes the order in one transaction: a new order is added (its ID and NUMER taken again as one
    // above the highest inside the transaction when another window took them meanwhile), an edited
    // one updated only when alterado(), after checking that nobody changed it since it was read
    // (AlteradoPorOutro otherwise, and nothing is written). Items and accessory rows removed in
    // memory are deleted, changed ones updated, new ones added. Also writes CLI:FORMA_PAG =
    // COD_FORMAPAG into the customer, in the same transaction (left out when the customer's form holds
    // the customer, so that its own save still goes through). On success the records read become the
    // new originals. An unchanged edited order writes nothing. A transmitted order (as read, or as the
    // file holds it when the save starts) is never written: Transmitido.
    FalhaEdicao gravar();

    // Told after each item written by gravar() (a large order takes a moment).
    void acompanharGravacao(std::function<void(int itensGravados)> progresso) {
        m_progresso = std::move(progresso);
    }

private:
    Store& m_store;
    bool m_novo = false;
    Record m_pedido;
    Record m_original;
    std::vector<ItemEmEdicao> m_itens;
    std::vector<ItemEmEdicao> m_itensOriginais;
    std::function<void(int)> m_progresso;
    std::function<void()> m_aoAlterarItens;
    // The order after the last recalculation whose values all fitted their fields.
    std::optional<Record> m_pedidoCoerente;
    std::vector<ItemEmEdicao> m_itensCoerentes;
    // What Esc compares with (fixarReferencia).
    std::optional<Record> m_pedidoReferencia;
    std::vector<ItemEmEdicao> m_itensReferencia;
};

} // namespace qav
