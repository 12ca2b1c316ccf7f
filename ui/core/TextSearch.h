#pragma once
// The searches a list runs as the user types: on any part of a name, and on the digits of a
// document, telephone or postcode.

#include "store/core/TableDef.h"
#include "ui/core/ListFilter.h"

#include <QString>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace qav {

// Records whose text field contains the typed text anywhere, as one piece and whatever the case and
// the accents ("dobradica" finds "DOBRADIÇA", "antonio r" finds "ANTÔNIO RIBEIRO" but not "ANTONIO
// CARLOS ROCHA"). A space typed after a word counts: the word must then be followed by a space or end
// the text. Nothing typed but spaces gives no condition. Fastest on a field of a case-insensitive key,
// whose folded shadow column it searches.
ListFilter containsText(const TableDef& table, std::string_view field, const QString& typed);

// The records whose fields hold these values ("FIELD = value", in this order) and whose text field
// contains the typed text (containsText). When the fields are those the field's name index carries
// (schema::searchFilterFields, or the first of them), the index alone counts the matches.
ListFilter containsTextWhere(const TableDef& table, std::string_view field, const QString& typed,
                             const std::vector<std::pair<const char*, std::int64_t>>& equal);

// Records whose text field holds the digits typed, next to each other and in that order, whatever
// punctuation either side has ("706588" and "706.588" find the CPF "706.588.110-53"). Nothing typed
// with a digit gives no condition.
ListFilter containsDigits(const TableDef& table, std::string_view field, const QString& typed);

} // namespace qav
