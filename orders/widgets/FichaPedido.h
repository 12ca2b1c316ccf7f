#pragma once
// The order form FichaPedido ("Novo Pedido", "Editar Pedido", "Consulta Pedido"): the header of one
// order of the active company, its items, totals, taxes, flex balance and profit analysis, and the
// commercial rules checked on "&OK". The order is held in memory while the form is open and written
// with its items in one transaction when confirmed; a cancelled new order leaves nothing behind.

#include "customers/widgets/CamposRegistro.h"
#include "orders/core/EdicaoPedido.h"
#include "orders/core/FaixasPedido.h"
#include "orders/core/RascunhoPedido.h"
#include "orders/widgets/FormularioPedido.h"
#include "orders/widgets/TeclasFormulario.h"

#include <QDialog>
#include <QSet>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QTreeWidget;

namespace qav {

class ItensPedidoModelo;
class PainelRegras;

class FichaPedido : public QDialog {
    Q_OBJECT
public:
    FichaPedido(const ListContext& contexto, Requisicao requisicao, QWidget* parent = nullptr);
    ~FichaPedido() override;

    // Primes the new order or reads the one asked for. False: a message was shown and the form is to
    // close as cancelled.
    // `retomado`: a draft left by a crash, reopened in the form (unsaved) in place of what was typed.
    bool preparar(const Record* pedido, const RascunhoPedido* retomado = nullptr);
    // The opener the order list calls: runs the form modally (or, for a delete request, only the
    // delete confirmation) and returns the id of the order saved or deleted.
    static std::optional<int> executar(QWidget* parent, const ListContext& contexto,
                                       const PedidoAberto& pedido);
    // How many order forms are open in this process; the communication run refuses to start while any is.
    static int abertos();

    Requisicao requisicao() const { return m_requisicao; }
    EdicaoPedido& edicao() { return *m_edicao; }
    const std::vector<ResultadoRegra>& regras() const { return m_regras; }
    // The notices the recalculation raises for the order as it stands (listed in the rules panel).
    const Mensagens& avisos() const { return m_avisos; }
    // The draft file of this form's order.
    const QString& arquivoRascunho() const { return m_rascunho; }
    int idGravado() const { return m_idGravado; }

    // "&OK": every check in its order, then the save. True when the order was saved.
    bool confirmar();
    // Esc, the close box and "&Cancelar": asks first when the order was changed.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void montar();
    QWidget* montarAbaPedido();
    QWidget* montarAbaProdutos();
    QWidget* montarAbaOutras();
    QWidget* montarAbaFlex();
    QWidget* montarAbaAnalise();
    void ligar();
    void paraTela();
    // The entries into the order record; false (message shown, focus on the entry) when one refuses.
    bool daTela();

    // Re-reads the reference rows, recomputes the order and shows it again with its rules.
    void atualizar();
    void recalcular();
    void mostrarRegras();
    void mostrarMensagens(const Mensagens& mensagens);
    // Writes the draft of the order after a confirmed change (not of an untouched or viewed one).
    void gravarRascunho();
    // The header's typed values out of their ranges: the warning, the focus on the entry.
    bool recusarFaixa(const ForaDaFaixa& fora);
    void habilitarCampos();
    void mostrarNomes();
    bool lerDados();
    void carregarTitulos();
    void carregarOutrosPedidos();

    // Field rules. `interativo`: the user is leaving the field, not the confirmation pass.
    bool regraCliente(bool interativo);
    bool regraFormaPag(bool interativo);
    bool regraPauta(bool interativo);
    bool regraCodigoLiberacao();
    bool regraTransportador(CampoPedido campo);
    void situacaoEscolhida(int indice);
    void campoEditado();
    void freteEditado();
    void lerCodigoBarras();
    void enderecoEntrega();
    void carregamentoEscolhido(int indice);
    void restaurarCampo();

    // The item list: "&Novo", "&Editar", "E&xcluir", its menu and keys.
    void itemNovo();
    void itemEditar();
    void itemExcluir();
    int itemAtual() const;
    void menuItens(const QPoint& posicao);
    bool teclaNosItens(QKeyEvent* tecla);
    void habilitarBotoesItens();

    bool recusarEm(QWidget* campo, const QString& texto, const QString& titulo = QStringLiteral("Aviso"));
    bool recusar(const RecusaPedido& recusa);
    QWidget* entradaDe(CampoPedido campo) const;
    bool passagemDeConfirmacao();
    bool regrasComerciais();
    bool gravar();
    void cancelarEdicao();

    ListContext m_contexto;
    Requisicao m_requisicao;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<EdicaoPedido> m_edicao;
    CamposRegistro m_campos;
    DadosPedido m_dados;
    std::vector<OutroPedido> m_outros;
    std::vector<Titulo> m_titulos;
    ResultadoRecalculo m_recalculo;
    std::vector<ResultadoRegra> m_regras;
    Decimal m_acrescimoAnterior; // the payment form's surcharge the item prices contain
    int m_idGravado = 0;
    bool m_fechando = false;
    bool m_atualizando = false;
    bool m_tipoLiberado = false; // the order type may be chosen
    QSet<QString> m_mensagensVistas;
    Mensagens m_avisos; // of the last recalculation, for the rules panel
    QString m_rascunho; // this form's draft file
    bool m_rascunhoGravado = false;
    bool m_pronto = false; // the opening is done: changes from now on are the representative's
    TeclasFormulario m_teclas;
    QString m_erroDados;         // a reference table that could not be read, empty when all were
    bool m_avisosNaTela = false; // rule notices are shown once the form is open

    QTabWidget* m_abas = nullptr;
    QLabel* m_numero = nullptr;
    QLabel* m_data = nullptr;
    QComboBox* m_situacao = nullptr;
    QLineEdit* m_cliente = nullptr;
    QLabel* m_clienteNome = nullptr;
    QLineEdit* m_contato = nullptr;
    QLineEdit* m_formaPag = nullptr;
    QLabel* m_formaPagNome = nullptr;
    QLineEdit* m_pauta = nullptr;
    QLabel* m_pautaNome = nullptr;
    QComboBox* m_tipo = nullptr;
    QLabel* m_vendedor = nullptr;
    QLineEdit* m_numOc = nullptr;
    QLineEdit* m_codigoLiberacao = nullptr;
    QLineEdit* m_obs = nullptr;
    QPushButton* m_endEntrega = nullptr;
    QLabel* m_endereco = nullptr;

    QLineEdit* m_codigoBarras = nullptr;
    QTableView* m_itens = nullptr;
    ItensPedidoModelo* m_itensModelo = nullptr;
    QPushButton* m_itemNovo = nullptr;
    QPushButton* m_itemEditar = nullptr;
    QPushButton* m_itemExcluir = nullptr;
    QLineEdit* m_txFrete = nullptr;
    QLineEdit* m_frete = nullptr;
    QComboBox* m_fconta = nullptr;
    QCheckBox* m_produtoEntregue = nullptr;
    QLabel* m_totQtdade = nullptr;

    QLineEdit* m_descp2 = nullptr;
    QLineEdit* m_descp3 = nullptr;
    QLineEdit* m_descp4 = nullptr;
    QLineEdit* m_transp = nullptr;
    QLabel* m_transpNome = nullptr;
    QLineEdit* m_redesp = nullptr;
    QLabel* m_redespNome = nullptr;

    QLabel* m_vlFlex = nullptr;
    QLabel* m_saldoFlex = nullptr;
    QLabel* m_saldoFlexEmpresa = nullptr;
    QLabel* m_flexOutrosDeb = nullptr;
    QLabel* m_flexOutrosCre = nullptr;
    QWidget* m_abaFlex = nullptr;

    QPlainTextEdit* m_obsEntrega = nullptr;

    QWidget* m_abaAnalise = nullptr;
    QTreeWidget* m_analise = nullptr;
    QLabel* m_regiao = nullptr;
    QLabel* m_custoM3 = nullptr;
    QComboBox* m_carregamento = nullptr;
    QLabel* m_ttTributos = nullptr;
    QLabel* m_ttComissao = nullptr;
    QLabel* m_ttFrete = nullptr;

    QLineEdit* m_descp = nullptr;
    QLineEdit* m_descv = nullptr;
    QLabel* m_ipi = nullptr;
    QLabel* m_icmsSt = nullptr;
    QLabel* m_total = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancelar = nullptr;
    QPushButton* m_consultaPedidos = nullptr;
    PainelRegras* m_painelRegras = nullptr;
};

} // namespace qav
