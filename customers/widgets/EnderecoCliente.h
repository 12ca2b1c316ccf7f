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
        return m_tipo == Entrega ? entrega : cobranca;
    }

    Tipo m_tipo;
    Record& m_cliente;
    Store& m_store;
    bool m_somenteLeitura;
    ListContext m_listas;
    QLineEdit* m_endereco;
    QLineEdit* m_numero = nullptr;
    QLineEdit* m_bairro;
    QLineEdit* m_cep;
    QLineEdit* m_municipio;
    QLabel* m_cidade;
    QLabel* m_estado;
};

// EndEntrega() and EndCobranca().
void endEntrega(Record& cliente, Store& store, bool somenteLeitura, const ContextoClientes& contexto,
                QWidget* parent);
void endCobranca(Record& cliente, Store& store, bool somenteLeitura, const ContextoClientes& contexto,
                 QWidget* parent);

} // namespace qav
