#pragma once
// The history order form ("Update the pedcon File"), read-only: the order's header as the back
// office recorded it and its items; an item whose product is not in the product table says so in
// the message line when it is highlighted.

#include "queries/core/HistoricoPedidos.h"
#include "ui/core/ListContext.h"

#include <QDialog>
#include <memory>

class QFormLayout;
class QLabel;
class QTableView;

namespace qav {

class ItensHistoricoModelo;

class FichaPedidoHistorico : public QDialog {
    Q_OBJECT
public:
    FichaPedidoHistorico(const ListContext& contexto, const historico::Pedido& pedido,
                         QWidget* parent = nullptr);
    ~FichaPedidoHistorico() override;

    ItensHistoricoModelo* itens() const { return m_itens; }
    QTableView* lista() const { return m_lista; }
    QString mensagem() const;
    // False when the items could not be read (the reason was shown).
    bool lido() const { return m_lido; }

private:
    void itemAtual();

    ListContext m_contexto;
    std::unique_ptr<Store> m_store;
    ItensHistoricoModelo* m_itens;
    QTableView* m_lista;
    QLabel* m_mensagem;
    bool m_lido = true;
};

} // namespace qav
