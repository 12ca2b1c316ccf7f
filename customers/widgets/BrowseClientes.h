#pragma once
// The customer list "Correntistas": tabs by id, name, document, trade name and municipality, the
// situation filter, and the buttons that call the customer form. Opened from the menu as a window of
// its own, or as a look-up that returns the chosen customer.

#include "customers/widgets/ClientesModelo.h"
#include "customers/widgets/ContextoClientes.h"

#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

namespace qav {

class BrowseClientes : public QWidget {
    Q_OBJECT
public:
    BrowseClientes(const ContextoClientes& contexto, bool selecao, QWidget* parent = nullptr);
    ~BrowseClientes() override;

    ClientesModelo& modelo() { return *modelo_; }
    std::int64_t idAtual() const;
    void posicionar(std::int64_t id);
    void recarregar();

    // The actions of the buttons and the popup.
    void novo();
    void editar();
    void excluir();
    void consultar();
    void selecionar();

Q_SIGNALS:
    void selecionado(std::int64_t id);
    void fechar();

private:
    ClientesModelo::Ordem ordem() const;
    ClientesModelo::Situacao situacao() const;
    void localizar(const QString& texto);
    void localizarDocumento();
    void escolherMunicipio();
    void abrirFormulario(int pedido);
    void atualizarBotoes();

    ContextoClientes contexto_;
    bool selecao_;
    std::unique_ptr<Store> store_;
    ClientesModelo* modelo_;
    std::int64_t idMunicipio_ = 0;

    QTabWidget* abas_;
    QLineEdit* localizaId_;
    QLineEdit* localizaRazao_;
    QLineEdit* localizaDocumento_;
    QLineEdit* localizaFantasia_;
    QLineEdit* municipio_;
    QLabel* municipioNome_;
    QRadioButton* ativos_;
    QRadioButton* inativos_;
    QRadioButton* todos_;
    QTableView* lista_;
    QPushButton* selecionar_;
    QPushButton* novo_;
    QPushButton* editar_;
    QPushButton* excluir_;
    QPushButton* consulta_;
    QPushButton* fechar_;
    QMenu* popup_;
};

// The list as a look-up: the chosen customer's id, or nullopt when the user closed it.
std::optional<std::int64_t> selecionarCliente(const ContextoClientes& contexto, QWidget* parent = nullptr,
                                              std::int64_t idInicial = 0);

// Registers the customer windows with the menu.
void registerCustomerWindows();

} // namespace qav
