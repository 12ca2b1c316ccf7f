#pragma once
// Sorting a query list by clicking its headings, by the values the rows hold and not by the text
// shown: a balance of 10,00 comes after 9,50, 05/01/2027 after 28/12/2026, exactly (decimals are
// compared as decimals, never as floating point).

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

namespace qav {

// A model whose rows can be compared column by column on their own values.
class ModeloOrdenavel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    // Negative, zero or positive as row `a` comes before, with or after row `b` in `coluna`.
    virtual int comparar(int a, int b, int coluna) const = 0;
};

class OrdenacaoPorValor : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit OrdenacaoPorValor(ModeloOrdenavel* origem, QObject* parent = nullptr);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    ModeloOrdenavel* m_origem;
};

// Three-way comparison of two values that have <=>.
template <typename T> int comparacao(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace qav
