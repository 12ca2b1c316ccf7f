#pragma once
// Brazilian document checks used by the customer form and by qavtool: CPF (persons), CNPJ (companies,
// numeric and alphanumeric) and the state registration (inscrição estadual) of every state.
//
// Accepted input: the document with or without its punctuation. The separators ".", "/" and "-" are
// ignored wherever they stand; blanks before and after the text are ignored too (the fixed-width
// record fields come padded), but a blank inside the number makes it invalid. Any other character
// makes the document invalid.

#include <QString>
#include <QStringView>

namespace qav::docs {

// The text without the separators ".", "/" and "-" and without surrounding blanks; letters are
// upper-cased (the alphanumeric CNPJ and the "P" of São Paulo rural producers).
QString stripFormatting(QStringView text);

// 11 digits (separators allowed) give "###.###.###-##"; anything else is returned unchanged.
QString formatCpf(QStringView text);
// 14 characters (digits or letters, separators allowed) give "##.###.###/####-##", upper-cased;
// anything else is returned unchanged.
QString formatCnpj(QStringView text);

// 11 digits with both check digits right; eleven equal digits are refused.
bool cpfValido(QStringView text);

// 14 characters: the first twelve digits or letters A-Z (lower case is accepted and read as upper
// case), the last two digits; both check digits right; fourteen equal characters are refused.
bool cnpjValido(QStringView text);

// True for the 27 two-letter state codes (upper or lower case).
bool ufValida(QStringView uf);

// The state registration checked with the rule of the state `uf`. "ISENTO" is not a registration
// and gives false (the form deals with it); an unknown state gives false.
bool ieValida(QStringView ie, QStringView uf);

} // namespace qav::docs
