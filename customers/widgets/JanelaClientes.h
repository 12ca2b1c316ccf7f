#pragma once
// The customer list "Correntistas": tabs by id, name, document, trade name and municipality, the
// situation filter, and the buttons that call the customer form. Opened from the menu as a window of
// its own, or as a look-up that returns the chosen customer. Insert asks for a new customer, Delete
// deletes the highlighted one, Enter and double click edit it (select it in a look-up).

#include "customers/widgets/ClientesModelo.h"
#include "customers/widgets/ContextoClientes.h"
#include "ui/core/Requisicao.h"

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

class JanelaClientes : public QWidget {
    Q_OBJECT
public:
    JanelaClientes(const ContextoClientes& contexto, bool selecao, QWidget* parent = nullptr);
    ~JanelaClientes() override;

    ClientesModelo& modelo() { return *m_modelo; }
    std::int64_t idAtual() const;
    void posicionar(std::int64_t id);
    void recarregar();
    // The entry of the tab shown: where the user's typing goes.
    QLineEdit* localizadorAtual() const;

    // The actions of the buttons and the popup.
    void novo();
    void editar();
    void excluir();
    void consultar();
    void selecionar();

    // The name column takes the room the other columns leave, never less than it needs to be read.
    static int larguraMinimaNome(const QTableView* lista);

Q_SIGNALS:
    void selecionado(std::int64_t id);
    void fechar();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    ClientesModelo::Ordem ordem() const;
    ClientesModelo::Situacao situacao() const;
    void localizar(const QString& texto);
    void localizarDocumento();
    void filtrarDocumento(const QString& texto);
    void escolherMunicipio();
    void municipioEditado(const QString& texto);
    void abrirFormulario(Requisicao requisicao);
    void ativar();
    void atualizarBotoes();
    void mostrarLinha(int linha);
    void ajustarColunas();
    void carregarAnteriores(int valor);

    ContextoClientes m_contexto;
    bool m_selecao;
    std::unique_ptr<Store> m_store;
    ClientesModelo* m_modelo;
    std::int64_t m_idMunicipio = 0;

    QTabWidget* m_abas;
    QLineEdit* m_localizaId;
    QLineEdit* m_localizaRazao;
    QLineEdit* m_localizaDocumento;
    QLineEdit* m_localizaFantasia;
    QLineEdit* m_municipio;
    QLabel* m_municipioNome;
    QRadioButton* m_ativos;
    QRadioButton* m_inativos;
    QRadioButton* m_todos;
    QTableView* m_lista;
    QPushButton* m_selecionar;
    QPushButton* m_novo;
    QPushButton* m_editar;
    QPushButton* m_excluir;
    QPushButton* m_consulta;
    QPushButton* m_fechar;
    QMenu* m_popup;
};

// The list as a look-up: the chosen customer's id, or nullopt when the user closed it.
std::optional<std::int64_t> selecionarCliente(const ContextoClientes& contexto, QWidget* parent = nullptr,
                                              std::int64_t idInicial = 0);

// Registers the customer windows with the menu.
void registerCustomerWindows();

} // namespace qav
