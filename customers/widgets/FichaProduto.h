#pragma once
// The product form ("Form produto"), read-only: the tab "Produto" with the product's identification,
// taxes, measures and stock, and the tab "Preço" with its prices and discounts.

#include "store/core/Record.h"

#include <QDialog>

namespace qav {

class FichaProduto : public QDialog {
    Q_OBJECT
public:
    FichaProduto(const Record& produto, QWidget* parent = nullptr);

    // Shows the form for `produto` and waits until it is closed; its position is kept under
    // "UpdProduto" in qavplus.INI of `programFolder`.
    static void consultar(QWidget* parent, const Record& produto, const QString& programFolder);
};

} // namespace qav
