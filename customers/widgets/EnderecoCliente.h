#pragma once
// The address windows of the customer form: "Endereço de Entrega" (EndEntrega) and "Endereço de
// Cobrança" (EndCobranca). They edit the form's record buffer; the values are saved with the customer
// by the form's "&OK".

#include "customers/widgets/ContextoClientes.h"
#include "store/core/Record.h"
#include "store/core/Store.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace qav {

class EnderecoCliente : public QDialog {
    Q_OBJECT
public:
    enum Tipo { Entrega, Cobranca };

    EnderecoCliente(Tipo tipo, Record& cliente, Store& store, bool somenteLeitura,
                    const ContextoClientes& contexto, QWidget* parent = nullptr);

    // Looks the municipality up and copies its town and state; false when the user gave up the choice.
    bool verificarMunicipio();
    void done(int resultado) override;

private:
    const char* campo(const char* entrega, const char* cobranca) const {
        return tipo_ == Entrega ? entrega : cobranca;
    }

    Tipo tipo_;
    Record& cliente_;
    Store& store_;
    bool somenteLeitura_;
    ListContext listas_;
    QLineEdit* endereco_;
    QLineEdit* numero_ = nullptr;
    QLineEdit* bairro_;
    QLineEdit* cep_;
    QLineEdit* municipio_;
    QLabel* cidade_;
    QLabel* estado_;
};

// EndEntrega() and EndCobranca().
void endEntrega(Record& cliente, Store& store, bool somenteLeitura, const ContextoClientes& contexto,
                QWidget* parent);
void endCobranca(Record& cliente, Store& store, bool somenteLeitura, const ContextoClientes& contexto,
                 QWidget* parent);

} // namespace qav
