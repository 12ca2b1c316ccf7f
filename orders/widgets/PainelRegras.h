#pragma once
// The "Regras" panel of the order form: each commercial rule of the release with whether the order
// meets it and the figure that decides, refreshed whenever the order changes, so the representative
// sees why an order cannot be released before pressing "&OK".

#include "orders/core/RegrasLiberacao.h"

#include <QGroupBox>

class QLabel;
class QVBoxLayout;

namespace qav {

class PainelRegras : public QGroupBox {
    Q_OBJECT
public:
    explicit PainelRegras(QWidget* parent = nullptr);

    // The rules, then the notices the recalculation raised for the order as it stands (a missing
    // ICMS-ST price-list value, a discount above the commission share, a missing freight cost), so
    // that an edited order's notices are seen though no box is shown for what it already had.
    void mostrar(const std::vector<ResultadoRegra>& regras, const Mensagens& avisos = {});
    // One line per rule, in the order shown: the mark, the rule's name and its figure; then one line
    // per notice: "! Aviso: " and its text (lines joined by blanks).
    QStringList linhas() const;

    static QString nome(Regra regra);
    // "Passa", "Aviso", "Recusa", "Não se aplica".
    static QString estado(ResultadoRegra::Estado estado);

private:
    void mostrarRegras(const std::vector<ResultadoRegra>& regras);

    QVBoxLayout* m_regras;
    std::vector<QLabel*> m_rotulos;
    std::vector<QLabel*> m_avisos;
};

} // namespace qav
