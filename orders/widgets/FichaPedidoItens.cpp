// The order form's item list: new, change and delete of an item through the item form, with the
// list's menu and keys. The items live in the order held in memory until the order is confirmed.
#include "orders/core/SituacaoPedido.h"
#include "orders/widgets/FichaItemPedido.h"
#include "orders/widgets/FichaPedido.h"
#include "orders/widgets/ItensPedidoModelo.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

bool transmitido(const Record& pedido) {
    return pedido.integer("SITUA") == situacao::Transmitido;
}

} // namespace

int FichaPedido::itemAtual() const {
    const int linhas = m_itensModelo->rowCount();
    if (linhas == 0)
        return -1;
    const QModelIndex atual = m_itens->currentIndex();
    return atual.isValid() && atual.row() < linhas ? atual.row() : -1;
}

// A transmitted order keeps its buttons so that the representative is told why nothing changes; an
// order only looked at (not transmitted) offers nothing but the view of its items.
void FichaPedido::habilitarBotoesItens() {
    const bool vazia = m_itensModelo->rowCount() == 0;
    const bool soConsulta = m_requisicao == Requisicao::Consultar && !transmitido(m_edicao->pedido());
    m_itemNovo->setEnabled(!soConsulta);
    m_itemEditar->setEnabled(!vazia);
    m_itemExcluir->setEnabled(!soConsulta && !vazia);
}

void FichaPedido::itemNovo() {
    if (!m_itemNovo->isEnabled())
        return;
    if (transmitido(m_edicao->pedido())) {
        MessageBox::show(u"Pedido já transmitido! Impossivel incluir!"_s, u"Aviso"_s, Icon::Warning,
                         {Button::Ok}, Button::Ok, this);
        return;
    }
    // Items are priced against the reference rows: none is added while a table cannot be read.
    if (!daTela() || !lerDados())
        return;
    if (const std::optional<RecusaPedido> recusa = m_edicao->verificarPautaParaItens(m_dados)) {
        recusar(*recusa);
        return;
    }
    const size_t antes = m_edicao->itens().size();
    const bool completado =
        FichaItemPedido::executar(this, m_contexto, *m_store, *m_edicao, m_dados, Requisicao::Inserir, -1,
                                  !m_recalculo.TX_DESC_PAUTA.isZero());
    atualizar();
    if (completado && m_edicao->itens().size() > antes)
        m_itens->selectRow(static_cast<int>(m_edicao->itens().size()) - 1);
    m_itens->setFocus();
}

void FichaPedido::itemEditar() {
    const int linha = itemAtual();
    if (linha < 0)
        return;
    if (m_requisicao != Requisicao::Consultar && !daTela())
        return;
    // A transmitted order opens its item for change, which the item form turns into a view with
    // its notice; an order only looked at shows its item.
    const Requisicao requisicao = m_requisicao == Requisicao::Consultar && !transmitido(m_edicao->pedido())
                                      ? Requisicao::Consultar
                                      : Requisicao::Alterar;
    if (!lerDados() && requisicao != Requisicao::Consultar)
        return;
    FichaItemPedido::executar(this, m_contexto, *m_store, *m_edicao, m_dados, requisicao, linha,
                              !m_recalculo.TX_DESC_PAUTA.isZero());
    atualizar();
    m_itens->selectRow(linha);
    m_itens->setFocus();
}

void FichaPedido::itemExcluir() {
    const int linha = itemAtual();
    if (linha < 0 || !m_itemExcluir->isEnabled())
        return;
    if (transmitido(m_edicao->pedido())) {
        MessageBox::show(u"Pedido já transmitido! Impossivel excluir!"_s, u"Aviso"_s, Icon::Warning,
                         {Button::Ok}, Button::Ok, this);
        return;
    }
    if (standardWarning(Aviso::ConfirmaExcluir, {}, {}, this) != static_cast<int>(Button::Ok))
        return;
    if (!daTela())
        return;
    // The item goes with its accessory rows; the files follow when the order is confirmed.
    std::vector<ItemEmEdicao>& itens = m_edicao->itens();
    itens.erase(itens.begin() + linha);
    atualizar(); // which writes the order's draft without the item
    if (!itens.empty())
        m_itens->selectRow(std::min(linha, static_cast<int>(itens.size()) - 1));
    m_itens->setFocus();
}

void FichaPedido::menuItens(const QPoint& posicao) {
    QMenu menu(this);
    menu.setObjectName(u"menuItens"_s);
    const bool vazia = m_itensModelo->rowCount() == 0;
    QAction* novo = menu.addAction(u"&Novo"_s, this, &FichaPedido::itemNovo);
    novo->setEnabled(m_itemNovo->isEnabled());
    menu.addAction(u"&Editar"_s, this, &FichaPedido::itemEditar)->setEnabled(!vazia);
    menu.addAction(u"E&xcluir"_s, this, &FichaPedido::itemExcluir)
        ->setEnabled(!vazia && m_itemExcluir->isEnabled());
    menu.exec(m_itens->viewport()->mapToGlobal(posicao));
}

// Insert adds an item; with items, Delete removes the current one and Enter (or Ctrl+Enter) changes
// it, as in the order list. The focus lands on this list after every item, so Enter here never
// reaches "&OK": a habitual Enter would save, print and close the order.
bool FichaPedido::teclaNosItens(QKeyEvent* tecla) {
    const bool vazia = m_itensModelo->rowCount() == 0;
    const bool enter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
    if (tecla->key() == Qt::Key_Insert && tecla->modifiers() == Qt::NoModifier) {
        itemNovo();
        return true;
    }
    if (enter && vazia)
        return true;
    if (vazia)
        return false;
    if (tecla->key() == Qt::Key_Delete && tecla->modifiers() == Qt::NoModifier) {
        itemExcluir();
        return true;
    }
    if (enter && (tecla->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier)) == Qt::NoModifier) {
        if (itemAtual() < 0)
            m_itens->selectRow(0);
        itemEditar();
        return true;
    }
    return false;
}

} // namespace qav
