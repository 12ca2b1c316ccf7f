#pragma once
// The product list ("Produtos"): four orders, the situation option, the name search on any part of
// the name, the code locator, the price of each product in a chosen price list, the price per
// single unit and the promotional price cell. Read-only: "&Consultar" opens the product form.

#include "customers/core/PrecosDaPauta.h"
#include "customers/core/ProdutoRegras.h"
#include "ui/core/ListContext.h"
#include "ui/widgets/ListWindow.h"

#include <QColor>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace qav {

class JanelaProdutos : public ListWindow {
    Q_OBJECT
public:
    enum Column { Codigo, Nome, Referencia, Preco1, Estoque, Und, Id };
    enum Tab { TabCodigo, TabNome, TabNomeFiltro, TabReferencia };

    explicit JanelaProdutos(const ListContext& context = ListContext::current(), QWidget* parent = nullptr);

    // The look-up: opens on the product chosen last (qav.ini, "Consulta Produto"/"Id") and returns
    // the id (PRO:ID) of the product chosen, remembering it there.
    static std::optional<int> selecionar(QWidget* parent,
                                         const ListContext& context = ListContext::current());

    void setSituacao(produto::Situacao situacao);
    // The typed price-list code: 0 or empty for none. A code the company does not have opens the
    // price-list look-up; without a choice there no price list is in force.
    void setPauta(const QString& codigo);
    // Positions the list on the product with this id (of the active company), when it is shown.
    bool posicionarNoId(int idProduto);

    static constexpr QColor promocional() { return {0, 255, 0}; }

protected:
    void currentChanged() override;

private:
    static std::vector<ListColumn> columns(JanelaProdutos* self);
    void chooseTab(int tab);
    void applyFilter();
    void locatorEdited(const QString& text);
    void localizarCodigo(const QString& text);
    void localizarReferencia(const QString& text);
    void consultar(const Record& produto);

    ListContext m_context;
    PrecosDaPauta m_precos;
    produto::Situacao m_situacao = produto::Situacao::Ativos;
    QString m_pesquisa;
    QLabel* m_locatorLabel;
    QLineEdit* m_locator;
    QLineEdit* m_pauta;
    QLabel* m_pautaDescricao;
    QLineEdit* m_precoItemUnico;
};

} // namespace qav
