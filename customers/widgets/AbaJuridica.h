#pragma once
// Tabs "Pessoa Jurídica (1)" (trade name, contacts, payment place) and "Pessoa Jurídica (2)" (the
// company's economic data) of the customer form.

#include "customers/widgets/CamposRegistro.h"

#include <QWidget>

class QLineEdit;

namespace qav {

class AbaJuridica1 : public QWidget {
    Q_OBJECT
public:
    AbaJuridica1(CamposRegistro& campos, QWidget* parent = nullptr);

    QLineEdit* fantasia;
    QLineEdit* cepPraca;
};

class AbaJuridica2 : public QWidget {
    Q_OBJECT
public:
    AbaJuridica2(CamposRegistro& campos, QWidget* parent = nullptr);
};

} // namespace qav
