#include "customers/core/ProdutoRegras.h"

#include "store/core/Text.h"

namespace qav::produto {

ListFilter filtro(Situacao situacao, int idEmpresa, const QString& pesquisa) {
    ListFilter result{"\"ID_EMPRESA\" = ?", {idEmpresa}};
    if (situacao != Situacao::Todos)
        result = result.and_("\"ATIVO\" = ?", {static_cast<int>(situacao)});
    // The name key keeps the name without accents first: the typed text, without its accents, is
    // looked for there (a match in the accented form that may follow is a match in the first part as
    // well). A space typed after a word still counts, the name being compared as if padded with one
    // space: the word may also end the name, where the key ends or its accented form begins.
    const QString folded = text::foldSearch(pesquisa);
    if (folded.isEmpty())
        return result;
    if (text::rtrim(pesquisa).size() == pesquisa.size())
        return result.and_("instr(\"_ci_NOME\", ?) > 0", {folded});
    const QChar separator(text::kKeySeparator);
    return result.and_("(instr(\"_ci_NOME\", ?) > 0 OR instr(\"_ci_NOME\" || ?, ?) > 0)",
                       {folded + u' ', QString(separator), folded + separator});
}

QStringList codigosParaLocalizar(const QString& digitado) {
    const QString codigo = text::foldCase(digitado.trimmed());
    if (codigo.isEmpty())
        return {};
    QStringList codigos{codigo};
    bool numero = codigo.size() < 6;
    for (const QChar c : codigo)
        numero = numero && c.isDigit() && c.unicode() < 128;
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
