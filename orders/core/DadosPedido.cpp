#include "orders/core/DadosPedido.h"

#include "store/core/Text.h"

#include "orders/core/Mensagens.h"

namespace qav {

namespace {
const Produto kProdutoVazio{};
const FormaPag kFormaPagVazia{};
const Pauta kPautaVazia{};
const StIcms kStIcmsVazio{};

// Text key components compare as the table keys do: case-insensitive, trailing blanks ignored.
bool mesmaChave(const QString& a, const QString& b) {
    return QString::compare(text::rtrim(a), text::rtrim(b), Qt::CaseInsensitive) == 0;
}
} // namespace

const Produto& DadosPedido::produto(int id) const {
    const auto it = m_produtos.find(id);
    return it == m_produtos.end() ? kProdutoVazio : it->second;
}

const PautaProduto* DadosPedido::pautaProduto(int idProduto) const {
    if (!pauta)
        return nullptr;
    const auto it = m_pautaProdutos.find(idProduto);
    return it == m_pautaProdutos.end() ? nullptr : &it->second;
}

const FormaPag& DadosPedido::formaPagOuZeros() const {
    return formaPag ? *formaPag : kFormaPagVazia;
}

const Pauta& DadosPedido::pautaOuZeros() const {
    return pauta ? *pauta : kPautaVazia;
}

QString DadosPedido::ufCliente() const {
    return text::rtrim(municipio.ESTADO);
}

bool DadosPedido::opcaoAtiva(int codigo) const {
    for (const CfgSis& opcao : cfgSis) {
        if (opcao.CODIGO == codigo)
            return opcao.ATIVO == 1;
    }
    return false;
}

const StIcms& DadosPedido::stIcmsPara(int idEmpresa, int codSt, const QString& uf,
                                      const QString& stEspecifica, int contribuinte) const {
    for (const StIcms& linha : stIcms) {
        if (linha.ID_EMPRESA == idEmpresa && linha.COD_ST == codSt &&
            linha.CONTRIBUINTE_ICMS == contribuinte && mesmaChave(linha.UF, uf) &&
            mesmaChave(linha.ST_ESPECIFICA, stEspecifica))
            return linha;
    }
    return kStIcmsVazio;
}

const CstFrete* DadosPedido::cstFretePara(int idRegiao, int idMunCarga) const {
    for (const CstFrete& linha : cstFrete) {
        if (linha.ID_REGIAO == idRegiao && linha.ID_MUN_CARREG == idMunCarga)
            return &linha;
    }
    return nullptr;
}

} // namespace qav
