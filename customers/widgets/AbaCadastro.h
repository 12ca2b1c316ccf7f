#pragma once
// Tab "Cadastro" of the customer form: identification, address, telephones, final consumer,
// representative, state registration and its indicator, situation and registration date.

#include "customers/widgets/CamposRegistro.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace qav {

class AbaCadastro : public QWidget {
    Q_OBJECT
public:
    AbaCadastro(CamposRegistro& campos, QWidget* parent = nullptr);

    QComboBox* pessoa;
    QLabel* rotuloDocumento;
    QLineEdit* documento;
    QLineEdit* sufixo;
    QLineEdit* razao;
    QLineEdit* municipio;
    QLabel* municipioNome;
    QLineEdit* cep;
    QComboBox* indicadorIe;
    QLineEdit* inscricao;
    QCheckBox* consumidorFinal;
    QLineEdit* vendedor;
    QLabel* vendedorNome;
};

} // namespace qav
