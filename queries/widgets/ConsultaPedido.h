#pragma once
// The order-history query "Consulta Pedidos": the back office's orders of one customer in the active
// company, newest first, with the buttons "&Consultar" (the history order form) and "&Imprimir" (the
// printed history order: printer dialog, then the preview). Choosing a customer whose credit is not
// released says so, and a customer with a note alert shows the note.

#include "queries/core/HistoricoPedidos.h"
#include "ui/core/ListContext.h"

#include <QWidget>
#include <memory>

class QLabel;
class QPushButton;
class QTableView;

namespace qav {

class EntradaCliente;
class OrdenacaoPorValor;
class PedidosHistoricoModelo;

class ConsultaPedido : public QWidget {
    Q_OBJECT
public:
    explicit ConsultaPedido(const ListContext& contexto, QWidget* parent = nullptr);
    ~ConsultaPedido() override;

    std::int64_t cliente() const;
    // Shows the history of customer `id`, with its credit and note warnings.
    void setCliente(std::int64_t id);
    void recarregar();

    PedidosHistoricoModelo* modelo() const { return m_modelo; }
    QTableView* lista() const { return m_lista; }
    // The highlighted order; null when the list is empty.
    const historico::Pedido* atual() const;

    void consultar();
    void imprimir();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void montar();
    void clienteEscolhido();
    void atualizarBotoes();

    ListContext m_contexto;
    std::unique_ptr<Store> m_store;
    EntradaCliente* m_cliente = nullptr;
    PedidosHistoricoModelo* m_modelo = nullptr;
    OrdenacaoPorValor* m_ordem = nullptr;
    QTableView* m_lista = nullptr;
    QPushButton* m_consultar = nullptr;
    QPushButton* m_imprimir = nullptr;
};

} // namespace qav
