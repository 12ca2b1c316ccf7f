#include "customers/core/ProdutoRegras.h"

#include "store/core/Text.h"
#include "ui/core/TextSearch.h"

namespace qav::produto {

ListFilter filtro(Situacao situacao, int idEmpresa, const QString& pesquisa) {
    if (situacao == Situacao::Todos)
        return containsTextWhere(*findTable("produto"), "NOME", pesquisa, {{"ID_EMPRESA", idEmpresa}});
    return containsTextWhere(*findTable("produto"), "NOME", pesquisa,
                             {{"ID_EMPRESA", idEmpresa}, {"ATIVO", static_cast<int>(situacao)}});
}

QStringList codigosParaLocalizar(const QString& digitado) {
    const QString codigo = text::foldCase(digitado.trimmed());
    if (codigo.isEmpty())
        return {};
    QStringList codigos{codigo};
    bool numero = codigo.size() < 6;
    for (const QChar c : codigo)
        numero = numero && text::isAsciiDigit(c);
    if (numero)
        codigos << codigo.rightJustified(6, QLatin1Char('0'));
    return codigos;
}

Decimal precoItemUnico(const Decimal& preco, const Decimal& qtdEmbalagem) {
    if (qtdEmbalagem > Decimal(0))
        return (preco / qtdEmbalagem).rounded(4);
    return preco.rounded(4);
}

bool promocional(const Record& produto) {
    return produto.integer("PRECO_PROMOCIONAL") != 0;
}

} // namespace qav::produto
