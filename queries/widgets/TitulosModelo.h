#pragma once
// The rows of the receivables query: one title per row with its due date and days late pointed out
// in red when overdue (see ctr::vencimentoAtrasado and ctr::dias).

#include "queries/core/ContasReceber.h"
#include "queries/widgets/OrdenacaoPorValor.h"

namespace qav {

class TitulosModelo : public ModeloOrdenavel {
    Q_OBJECT
public:
    enum Column {
        Numero,
        Emissao,
        Vencimento,
        Valor,
        Juros,
        Recebimento,
        Dias,
        Recebido,
        Saldo,
        Portador,
        Carteira,
        Colunas
    };

    using ModeloOrdenavel::ModeloOrdenavel;

    void mostrar(std::vector<ctr::Titulo> titulos);
    const std::vector<ctr::Titulo>& titulos() const { return m_titulos; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    int comparar(int a, int b, int coluna) const override;

private:
    bool destacado(const ctr::Titulo& t, int coluna) const;

    std::vector<ctr::Titulo> m_titulos;
};

} // namespace qav
