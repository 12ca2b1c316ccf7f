#pragma once
// The characteristics finder ConsultaCaracteristica: five cascading lists "Característica 1:" to
// "Característica 5:", the company's active products that match the values chosen (a single match is
// selected at once), and one list of accessories for each subgroup the chosen product requires.
// "&OK" needs one accessory chosen in each of those lists; it writes nothing, the item form takes
// the product and the accessories into the item it edits.

#include "orders/core/BuscaCaracteristica.h"
#include "store/core/Store.h"
#include "ui/core/ListContext.h"

#include <QDialog>
#include <array>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QTreeWidget;

namespace qav {

class WindowStateBinder;

class ConsultaCaracteristica : public QDialog {
    Q_OBJECT
public:
    static constexpr int kListasAcessorios = 3;

    explicit ConsultaCaracteristica(const ListContext& contexto, QWidget* parent = nullptr);

    // Runs the finder modally; the product and accessories chosen, nothing when cancelled.
    static std::optional<EscolhaCaracteristica>
    selecionar(QWidget* parent, const ListContext& contexto = ListContext::current());

    // After "&OK" went through.
    const std::optional<EscolhaCaracteristica>& escolha() const { return m_escolha; }

    // "&OK": refused, with the focus on the product list while no product is chosen, or on the first
    // accessory list without a choice.
    void accept() override;
    // "&OK" and "&Cancelar" end the dialog without a close event: the position is stored here.
    void done(int resultado) override;

private:
    void caracteristicaEscolhida(int lista);
    // Fills the lists after `lista` with what the choices before them leave.
    void preencherListas(int primeira);
    void preencherProdutos();
    void produtoEscolhido();
    const ProdutoCaracteristica* produtoAtual() const;
    // A failed read is shown once, as the failure to open the table.
    void verificarLeitura(const char* tabela);

    Store m_store;
    BuscaCaracteristica m_busca;
    std::array<QComboBox*, BuscaCaracteristica::kCaracteristicas> m_listas = {};
    QTreeWidget* m_produtos = nullptr;
    std::array<QLabel*, kListasAcessorios> m_rotulosAcessorios = {};
    std::array<QTreeWidget*, kListasAcessorios> m_acessorios = {};
    std::vector<ProdutoCaracteristica> m_encontrados;
    std::vector<SubgrupoExigido> m_exigidos;
    std::optional<EscolhaCaracteristica> m_escolha;
    WindowStateBinder* m_posicao = nullptr;
    bool m_preenchendo = false;
    bool m_falhaMostrada = false;
};

} // namespace qav
