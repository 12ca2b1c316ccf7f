#pragma once
// The customer form UpdateCLIENTES (window "Clientes"): six tabs shown by person type, the field
// checks run when a field is left and again on "&OK", the partner list, the address windows, and the
// save of the customer with its partners in one transaction. A new customer's id is reserved when
// the form opens and given back when it is cancelled; after each saved insert the form prepares the
// next new customer.

#include "customers/core/CadastroCliente.h"
#include "customers/widgets/CamposRegistro.h"
#include "customers/widgets/ContextoClientes.h"
#include "ui/core/Requisicao.h"

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace qav {

class AbaCadastro;
class AbaJuridica1;
class AbaOutras;
class AbaPessoaFisica;
class AbaSocios;

class FichaCliente : public QDialog {
    Q_OBJECT
public:
    FichaCliente(const ContextoClientes& contexto, Requisicao requisicao, std::int64_t id,
                 QWidget* parent = nullptr);
    ~FichaCliente() override;

    // Reserves the new customer or reads the one asked for. False: a message was shown and the form
    // is to close as cancelled.
    bool preparar();
    // Runs the form modally: the customer saved last (0 when none), or for a change the customer's id
    // when it was saved.
    static std::int64_t executar(const ContextoClientes& contexto, Requisicao requisicao, std::int64_t id,
                                 QWidget* parent = nullptr);

    std::int64_t idAtual() const { return m_cadastro.registro().integer("ID"); }
    std::int64_t ultimoGravado() const { return m_ultimoGravado; }
    CadastroCliente& cadastro() { return m_cadastro; }

    // "&OK": true when the customer was saved (or deleted).
    bool confirmar();
    // Esc or the window's close box: when something was typed, asks whether to save it first.
    void reject() override;
    // "&Cancelar": gives the typing and a reserved customer up.
    void cancelar();
    // Whether the entries differ from the customer as it was read or reserved.
    bool alterado() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void montar();
    void ligarVerificacoes();
    void paraTela();
    // The entries into the record; false (with the message, the focus on the entry) when one holds a
    // value its field cannot take.
    bool daTela();
    void aplicarPessoa();
    bool prepararNovo();
    void mostrarMunicipio();
    void mostrarVendedor();
    void mostrarFormaPag();

    // Field checks; each keeps the focus in its field when it fails.
    bool saindoDoCampo() const;
    bool verificarDocumento();
    // Leaving an empty municipality asks nothing; "&OK" requires it.
    bool verificarMunicipio(bool aoSairDoCampo);
    bool verificarPauta();
    bool verificarFormaPag();
    bool verificarEmail(QLineEdit* campo);
    bool verificarData(QLineEdit* campo);
    bool verificarIndicador();
    bool verificarInscricao(bool aoSairDoCampo);
    bool verificarReferencias();
    void formatarCeps();
    bool recusar(QWidget* campo, const clientes::Verificacao& v);
    bool verificarTudo();

    ContextoClientes m_contexto;
    Requisicao m_requisicao;
    std::int64_t m_idPedido;
    std::unique_ptr<Store> m_store;
    CadastroCliente m_cadastro;
    CamposRegistro m_campos;
    std::int64_t m_ultimoGravado = 0;
    QString m_uf;
    bool m_inscricaoRecusada = false;
    bool m_fechando = false;

    QLabel* m_id;
    QLabel* m_dica;
    QTabWidget* m_abas;
    AbaCadastro* m_cadastroAba;
    AbaPessoaFisica* m_pessoaFisica;
    AbaJuridica1* m_juridica1;
    QWidget* m_juridica2;
    AbaSocios* m_socios;
    AbaOutras* m_outras;
    QPushButton* m_entrega;
    QPushButton* m_cobranca;
    QPushButton* m_ok;
    QPushButton* m_cancelar;
};

} // namespace qav
