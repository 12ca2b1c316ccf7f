#pragma once
// The order printout window "Pedido": the models the company offers, the customer's e-mail address
// and the buttons that preview, print, save as PDF or e-mail the order. The model and the item order
// are remembered for the next time; the address typed is remembered for the customer.

#include "printout/core/DesenhoPedido.h"
#include "printout/core/DocumentoPedido.h"
#include "printout/core/ModelosPedido.h"
#include "ui/core/ListContext.h"

#include <QDialog>
#include <memory>
#include <optional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qav {

class Store;

class ImpPedido : public QDialog {
    Q_OBJECT

public:
    // Runs the window modally for order `idPedido`. An order without items is refused with a notice
    // and the window does not open.
    static void executar(QWidget* parent, const ListContext& contexto, int idPedido);

    ImpPedido(const ListContext& contexto, int idPedido, QWidget* parent = nullptr);
    ~ImpPedido() override;

    // The order as read when the window opened (or the item order last changed); none when it
    // could not be read, with the reason.
    const std::optional<impressao::DocumentoPedido>& documento() const { return m_documento; }
    const QString& falhaLeitura() const { return m_falhaLeitura; }
    // The model the buttons print; none when the company offers no model this program knows.
    std::optional<impressao::Modelo> modeloAtual() const { return m_modelo; }

    void visualizar();
    void imprimir();
    void enviarEmail();
    void gerarPdf();

    void done(int resultado) override;

private:
    void montar();
    void preencherModelos();
    void lerDocumento();
    void atualizarBotoes();
    void trocarOrdem(bool ordemProduto);
    impressao::OpcoesDesenho opcoes(bool impressora = false) const;
    // The PDF of the current model in the temporary folder; empty after telling the user why not.
    QString gravarPdf();
    void gravarAoFechar();

    ListContext m_contexto;
    int m_idPedido;
    std::unique_ptr<Store> m_store;
    std::optional<impressao::DocumentoPedido> m_documento;
    QString m_falhaLeitura;
    std::optional<impressao::Modelo> m_modelo;
    bool m_fechado = false;
    QString m_emailRecusado; // the last address the mail program refused

    QListWidget* m_modelos = nullptr;
    QLineEdit* m_email = nullptr;
    QCheckBox* m_outlook = nullptr;
    QCheckBox* m_ordemProduto = nullptr;
    QPushButton* m_visualizar = nullptr;
    QPushButton* m_imprimir = nullptr;
    QPushButton* m_enviarEmail = nullptr;
    QPushButton* m_pdf = nullptr;
    QPushButton* m_fechar = nullptr;
};

} // namespace qav
