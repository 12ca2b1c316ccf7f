#pragma once
// The partner form UpdSOCIOS: name, document (formatted, not validated), nationality, month and year
// of entry, value of the quotas and role in the company. It edits a copy of the partner's record;
// the customer form writes it with the customer.

#include "customers/widgets/CamposRegistro.h"

#include <QDialog>

class QLineEdit;

namespace qav {

class UpdSocios : public QDialog {
    Q_OBJECT
public:
    enum Pedido { Inserir = 1, Alterar = 2, Consultar = 4 };

    UpdSocios(const Record& socio, Pedido pedido, const QString& iniJanelas, QWidget* parent = nullptr);

    const Record& socio() const { return socio_; }
    void accept() override;

private:
    void formatarDocumento();

    Record socio_;
    CamposRegistro campos_;
    QLineEdit* documento_;
    QLineEdit* entrada_;
};

} // namespace qav
