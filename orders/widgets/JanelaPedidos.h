#pragma once
// The order list ("Pedidos"): the orders of the active company by number, by customer or by
// representative, filtered by situation (remembered in qav.ini), with the buttons that start the
// order header form, the printout, the delete and the duplicate of an order.

#include "orders/widgets/NomesClientes.h"
#include "ui/core/ListContext.h"
#include "ui/widgets/ListWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace qav {

class JanelaPedidos : public ListWindow {
    Q_OBJECT
public:
    enum Column { Qav, Erp, Situacao, Data, Cliente, Total };
    enum Tab { TabNumero, TabCliente, TabVendedor };

    explicit JanelaPedidos(const ListContext& context = ListContext::current(), QWidget* parent = nullptr);
    ~JanelaPedidos() override; // remembers the situation filter

    int situacaoFiltro() const { return m_qsit; }
    void setSituacaoFiltro(int qsit); // 1..4 one situation, 5 all
    // The filter values of the "Cliente" and "Vendedor" tabs.
    void setCliente(int idCliente);
    void setVendedor(int codVendedor);
    // Puts the highlight on the order with this id, when the list shows it.
    bool posicionarNoPedido(int idPedido);

    void duplicar(const Record& pedido);
    // Offers back, one by one, the orders a crash left unsaved in their forms (their drafts), and
    // reopens in the order form each one the representative takes; one declined is discarded. Runs
    // when the list opens.
    void recuperarRascunhos();

protected:
    void inserir() override;
    void alterar(const Record& pedido) override;
    void excluir(const Record& pedido) override;
    // A run transmits orders (situation and ERP number) and may give a customer the office's id.
    void dadosAlterados() override;

private:
    static std::vector<ListColumn> columns(JanelaPedidos* self);
    void chooseTab(int tab);
    void applyFilter();
    void recarregar();
    void localizarNumero(const QString& text);
    void selecionaCliente();
    void selecionaVendedor();
    void keepFormButtonsOff();

    ListContext m_context;
    NomesClientes m_nomes;
    int m_qsit = 5;
    int m_idCliente = 0;
    int m_codVendedor = 0;
    QComboBox* m_situacao;
    QLabel* m_locatorLabel;
    QLineEdit* m_locator;
    QWidget* m_clienteRow;
    QLabel* m_clienteNome;
    QWidget* m_vendedorRow;
    QLabel* m_vendedorNome;
};

} // namespace qav
