#pragma once
// Tab "Pessoa Física" of the customer form: personal data of a customer who is a person.

#include "customers/widgets/CamposRegistro.h"

#include <QWidget>

class QLineEdit;

namespace qav {

class AbaPessoaFisica : public QWidget {
    Q_OBJECT
public:
    AbaPessoaFisica(CamposRegistro& campos, QWidget* parent = nullptr);

    QLineEdit* apelido; // the same field as the trade name of a company (CLI:NOME)
};

} // namespace qav
