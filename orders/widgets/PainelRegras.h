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

    void mostrar(const std::vector<ResultadoRegra>& regras);
    // One line per rule, in the order shown: the mark, the rule's name and its figure.
    QStringList linhas() const;

    static QString nome(Regra regra);
    // "Passa", "Aviso", "Recusa", "Não se aplica".
    static QString estado(ResultadoRegra::Estado estado);

private:
    QVBoxLayout* m_regras;
    std::vector<QLabel*> m_rotulos;
};

} // namespace qav
