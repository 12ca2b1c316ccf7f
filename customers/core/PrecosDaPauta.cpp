#include "customers/core/PrecosDaPauta.h"

#include "store/core/Text.h"

namespace qav {

std::optional<PautaEscolhida> pautaPorCodigo(Store& store, int codigo, int idEmpresa) {
    Table pauta(store, "pauta");
    if (!pauta.open())
        return std::nullopt;
    pauta.rec().setInteger("CODIGO", codigo);
    pauta.rec().setInteger("ID_EMPRESA", idEmpresa);
    if (pauta.get("KEYCODIGO") != Status::Ok)
        return std::nullopt;
    return PautaEscolhida{static_cast<int>(pauta.rec().integer("ID")), codigo,
                          text::rtrim(pauta.rec().text("DESCRICAO"))};
}

PrecosDaPauta::PrecosDaPauta(Store& store) : m_pauxpro(store, "pauxpro") {}

void PrecosDaPauta::escolher(int idPauta) {
    if (idPauta == m_idPauta)
        return;
    m_idPauta = idPauta;
    m_cache.clear();
}

Decimal PrecosDaPauta::preco1(const Record& produto) {
    if (m_idPauta == 0)
        return produto.decimal("PRECO");
    const std::int64_t idProduto = produto.integer("ID");
    const auto cached = m_cache.constFind(idProduto);
    if (cached != m_cache.constEnd())
        return *cached;
    if (!m_pauxpro.isOpen() && !m_pauxpro.open())
        return Decimal(); // not remembered: the next row tries the file again
    Decimal preco;
    m_pauxpro.clear();
    m_pauxpro.rec().setInteger("ID_PROD", idProduto);
    m_pauxpro.rec().setInteger("ID_PAUTA", m_idPauta);
    const Status status = m_pauxpro.get("KEYPRODUTO");
    if (status == Status::Ok)
        preco = m_pauxpro.rec().decimal("PRECO1");
    if (status != Status::Error)
        m_cache.insert(idProduto, preco);
    return preco;
}

} // namespace qav
