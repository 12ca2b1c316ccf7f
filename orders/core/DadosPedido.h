#pragma once
// The reference rows an order is calculated against, with the look-ups the rules make. A row that is
// missing counts as a row of zeros and blanks, so every look-up returns a row.

#include "orders/core/Entidades.h"

#include <QString>
#include <optional>
#include <unordered_map>
#include <vector>

namespace qav {

// System option that switches the tax-base factor to the bare markers.
inline constexpr int kOpcaoMarcadoresSimples = 53596;

class DadosPedido {
public:
    Cliente cliente;
    Municipio municipio; // of the customer (CLI:ID_MUNICIPIO)
    Vendedor vendedor;
    Empresa empresa;
    QavCfg qavcfg;
    std::optional<FormaPag> formaPag; // the order's payment form, when it exists
    std::optional<Pauta> pauta;       // the order's price list, when it exists
    std::vector<StIcms> stIcms;
    std::vector<CfgSis> cfgSis;
    std::vector<CstFrete> cstFrete;

    // Products and price-list rows are keyed by product id; the caller gives those of the order's
    // company and of the order's price list.
    void adicionarProduto(const Produto& produto) { m_produtos[produto.ID] = produto; }
    void adicionarPautaProduto(const PautaProduto& linha) { m_pautaProdutos[linha.ID_PROD] = linha; }

    const Produto& produto(int id) const;
    // The product's row in the order's price list, or nullptr.
    const PautaProduto* pautaProduto(int idProduto) const;
    const FormaPag& formaPagOuZeros() const;
    const Pauta& pautaOuZeros() const;
    // The customer's state (MUN:ESTADO of CLI:ID_MUNICIPIO), trailing blanks removed.
    QString ufCliente() const;
    bool opcaoAtiva(int codigo) const;
    // The tax-substitution row for the key, or a row of zeros.
    const StIcms& stIcmsPara(int idEmpresa, int codSt, const QString& uf, const QString& stEspecifica,
                             int contribuinte) const;
    const CstFrete* cstFretePara(int idRegiao, int idMunCarga) const;

private:
    std::unordered_map<int, Produto> m_produtos;
    std::unordered_map<int, PautaProduto> m_pautaProdutos;
};

} // namespace qav
