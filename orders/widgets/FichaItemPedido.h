#pragma once
// The order item form FichaItemPedido ("Novo Item", "Editar Item", "Consulta Item"): one item of the
// order the order form holds, with its product, quantity, prices, discounts, taxes and accessories,
// and the customer's last prices of the product. A new item stays open after each save, ready for the
// next one; the items reach the files with the order, when the order form confirms it.

#include "customers/widgets/CamposRegistro.h"
#include "orders/core/EdicaoItem.h"
#include "orders/core/FaixasPedido.h"
#include "orders/widgets/TeclasFormulario.h"
#include "ui/core/ListContext.h"
#include "ui/core/Requisicao.h"

#include <QDialog>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTreeWidget;

namespace qav {

class FichaItemPedido : public QDialog {
    Q_OBJECT
public:
    // `indice`: the order's item to change or show (ignored for an insert). `descontoPauta`: the
    // order has a price-list discount in force, which opens the item discount where the company
    // locks discounts.
    FichaItemPedido(const ListContext& contexto, Store& store, EdicaoPedido& pedido, const DadosPedido& dados,
                    Requisicao requisicao, int indice, bool descontoPauta, QWidget* parent = nullptr);
    ~FichaItemPedido() override;

    // Primes the new item or copies the one asked for; a transmitted order is only shown.
    void preparar();
    // Runs the form modally. True (completed) when the change was put into the order, or when at
    // least one item of an insert was.
    static bool executar(QWidget* parent, const ListContext& contexto, Store& store, EdicaoPedido& pedido,
                         const DadosPedido& dados, Requisicao requisicao, int indice, bool descontoPauta);

    Requisicao requisicao() const { return m_requisicao; }
    EdicaoItem& edicao() { return *m_edicao; }
    int itensGravados() const { return m_gravados; }

    // "&OK": the rules of the entries again, the item's checks, then the item goes into the order.
    bool confirmar();
    // Esc, the close box and "&Cancelar".
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void montar();
    QWidget* montarAbaItem();
    QWidget* montarAbaAcessorios();
    void ligar();
    void ordemDeTabulacao();

    // Showing the item.
    void paraTela();
    void habilitarCampos();
    void mostrarProduto();
    void mostrarAcessorios();
    // "Característica (F2)...": the product found by its characteristics, with the accessories its
    // required subgroups were given there.
    void buscarPorCaracteristica();
    void carregarSubgrupos();
    void carregarAcessoriosDoSubgrupo();
    void carregarPrecosOferecidos();
    void carregarUltimosPrecos();
    void mostrarMensagens(const Mensagens& mensagens);
    void modoConsulta();

    // Field rules; false when the entry is refused (the focus stays on it).
    bool regraProduto(bool interativo);
    bool regraQuantidade();
    bool regraPecas(QLineEdit* campo);
    bool regraDesconto();
    bool regraValorDesconto();
    bool regraPrecoUnitario();
    bool regraComissao();
    bool regraObservacao(bool interativo);
    bool regraOrdemDeCompra(QLineEdit* campo);
    void precoEscolhido(int indice);
    void subgrupoEscolhido(int indice);
    void acessorioEscolhido(int indice);
    void adicionarAcessorio();
    void removerAcessorio();
    void restaurarCampo();

    // The value of one bound entry, as its field would take it.
    Record entradas() const;
    void textosParaItem();
    bool reterFoco(QWidget* campo);
    // Shows the range warning and keeps the focus on the entry; false when there is none.
    bool recusarFaixa(const std::optional<ForaDaFaixa>& fora, QLineEdit* campo);
    bool passagemDeConfirmacao();
    void pronto();

    ListContext m_contexto;
    Store& m_store;
    EdicaoPedido& m_pedido;
    Requisicao m_requisicao;
    int m_indice;
    bool m_descontoPauta;
    DadosPedido m_dados; // the order's reference rows: configuration, price list
    std::unique_ptr<EdicaoItem> m_edicao;
    CamposRegistro m_campos;
    int m_idLinhaPauta = 0;                   // the product whose price-list row is read
    std::optional<PautaProduto> m_linhaPauta; // its row in the order's price list
    int m_gravados = 0;
    bool m_fechando = false;
    TeclasFormulario m_teclas;

    QTabWidget* m_abas = nullptr;
    QLineEdit* m_produto = nullptr;
    QPushButton* m_caracteristica = nullptr;
    QLabel* m_nomeProduto = nullptr;
    QLineEdit* m_qtd = nullptr;
    QLineEdit* m_obs = nullptr;
    QLineEdit* m_pecas = nullptr;
    QLineEdit* m_comprimento = nullptr;
    QLineEdit* m_descp = nullptr;
    QLineEdit* m_descv = nullptr;
    QLabel* m_comisRotulo = nullptr;
    QLineEdit* m_comis = nullptr;
    QComboBox* m_pruni = nullptr;
    QLabel* m_ipi = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_icmsSt = nullptr;
    QLabel* m_totTrib = nullptr;
    QLabel* m_estoque = nullptr;
    QLabel* m_classeAbc = nullptr;
    QLabel* m_unidade = nullptr;
    QLabel* m_precoItem = nullptr;
    QLineEdit* m_numOc = nullptr;
    QLineEdit* m_numItemOc = nullptr;
    QLabel* m_lote = nullptr;
    QTreeWidget* m_ultimosPrecos = nullptr;

    QWidget* m_abaAcessorios = nullptr;
    QTableWidget* m_acessoriosItem = nullptr;
    QComboBox* m_subgrupo = nullptr;
    QComboBox* m_acessorio = nullptr;
    QLineEdit* m_valorAcessorio = nullptr;
    QPushButton* m_adicionar = nullptr;
    QPushButton* m_remover = nullptr;
    QLabel* m_vlAcessorios = nullptr;
    QLabel* m_vlProduto = nullptr;
    QLabel* m_pruniAcessorios = nullptr;

    QPushButton* m_ok = nullptr;
    QPushButton* m_cancelar = nullptr;
};

} // namespace qav
