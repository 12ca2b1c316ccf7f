#pragma once
// Tab "Outras Informações" of the customer form: payment form, Suframa, e-mail and www, price list,
// commercial and bank references, notes, class and credit.

#include "customers/widgets/CamposRegistro.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace qav {

class AbaOutras : public QWidget {
    Q_OBJECT
public:
    AbaOutras(CamposRegistro& campos, QWidget* parent = nullptr);

    QLineEdit* formaPagamento;
    QLabel* formaPagamentoNome;
    QLineEdit* email;
    QLineEdit* emailQav;
    QLineEdit* www;
    QLineEdit* pauta;
    QPlainTextEdit* referenciasComerciais;
    QComboBox* classe;
    QCheckBox* creditoLiberado;
};

} // namespace qav
