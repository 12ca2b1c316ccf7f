#pragma once
// The partner form UpdSOCIOS: name, document (formatted, not validated), nationality, month and year
// of entry, value of the quotas and role in the company. It edits a copy of the partner's record;
// the customer form writes it with the customer.

#include "customers/widgets/CamposRegistro.h"
#include "ui/core/Requisicao.h"

#include <QDialog>

class QLineEdit;

namespace qav {

class FichaSocio : public QDialog {
    Q_OBJECT
public:
    FichaSocio(const Record& socio, Requisicao requisicao, const QString& iniJanelas,
               QWidget* parent = nullptr);

    const Record& socio() const { return m_socio; }
    // "&OK": refused, with its message, while the month and year of entry is no real month.
    void accept() override;
    // Esc or the close box: asks before throwing typed data away.
    void reject() override;
    void cancelar();

private:
    void formatarDocumento();
    bool verificarEntrada();
    // The entries into `socio`; false when one of them could not be taken.
    bool paraRegistro(Record& socio) const;

    Record m_socio;
    Record m_original;
    CamposRegistro m_campos;
    Requisicao m_requisicao;
    bool m_fechando = false;
    QLineEdit* m_documento;
    QLineEdit* m_entrada;
};

} // namespace qav
