#include "ui/core/TextSearch.h"

#include "store/core/TableSchema.h"
#include "store/core/Text.h"

#include <algorithm>
#include <stdexcept>

namespace qav {

namespace {
const FieldDef& textField(const TableDef& table, std::string_view field, int* index) {
    *index = table.fieldIndex(field);
    if (*index < 0 || !table.fields[static_cast<size_t>(*index)].isText())
        throw std::invalid_argument("campo de texto desconhecido: " + std::string(field));
    return table.fields[static_cast<size_t>(*index)];
}
} // namespace

namespace {
// containsText, whose index part also keeps only the records of `filterCode` (searchFilterCode) when
// one is given; `count`, when the index alone counts the matches exactly, gets that count's statement.
ListFilter containsTextMatching(const TableDef& table, std::string_view field, const QString& typed,
                                const QString& filterCode, ListFilter::Indexed* count) {
    int index = 0;
    const FieldDef& def = textField(table, field, &index);
    // The key form keeps the text without accents first: the typed text, without its accents, is
    // looked for there (a match in the accented form that may follow is a match in the first part
    // as well). A field without a shadow column is folded the same way on the fly.
    const std::string folded = schema::isShadowed(table, index)
                                   ? schema::quoted(schema::shadowColumn(def))
                                   : "qav_fold(" + schema::quoted(def.name) + ")";
    const QString needle = text::foldSearch(typed);
    if (needle.isEmpty())
        return {};
    ListFilter filter;
    if (text::rtrim(typed).size() == typed.size()) {
        filter = {"instr(" + folded + ", ?) > 0", {needle}};
    } else {
        // The text compared as if padded with one space: a word typed with a space after it may also
        // end the text, where the key form ends or where its accented form begins.
        const QChar separator(text::kKeySeparator);
        filter = {"(instr(" + folded + ", ?) > 0 OR instr(" + folded + " || ?, ?) > 0)",
                  {needle + u' ', QString(separator), needle + separator}};
    }
    // A searched field's index holds every three-character piece of the accent-free part of the key
    // form, where every match lies: the records whose part holds the typed text as one piece are a
    // superset of the matches (all of them when no space follows), and the condition above picks the
    // matches among them.
    const bool searched =
        std::find(table.searched.begin(), table.searched.end(), index) != table.searched.end();
    // The index's text ends with a space: a space typed after the word is looked for as one more
    // character, and finds the names that end with the word as well.
    const bool spaceAfter = text::rtrim(typed).size() != typed.size();
    const QString typedPiece = spaceAfter ? needle + u' ' : needle;
    // Two characters are found through the pieces that begin with them (below) only when a character
    // of the text follows every place they occur: the text's last character is its added space, so
    // the second of them must not be a space. One character may end the text, and is only scanned.
    const bool pieceLongEnough =
        typedPiece.size() >= 3 || (typedPiece.size() == 2 && typedPiece.back() != u' ');
    if (!searched || needle.contains(QChar(text::kKeySeparator)))
        return filter;
    // The index's text, kept in memory by a list, answers a piece of any length.
    filter.inMemory = ListFilter::InMemory{index, typedPiece, {}};
    if (!pieceLongEnough)
        return filter;
    const std::string ftsName = schema::quoted(schema::searchIndexName(table, index));
    const QString onFilter =
        filterCode.isEmpty() ? QString() : QStringLiteral(" AND filtro : \"") + filterCode + u'"';
    ListFilter::Indexed indexed;
    QVariant question;
    if (typedPiece.size() >= 3) {
        QString phrase = typedPiece;
        phrase.replace(u'"', QStringLiteral("\"\""));
        question = QStringLiteral("texto : \"") + phrase + u'"' + onFilter;
    } else {
        // Two characters make no piece of their own, but a character follows them wherever they
        // occur: the records that hold them are those that hold a piece beginning with them, and the
        // index is asked for all of those at once. Two that begin no piece ask for themselves, which
        // finds nothing.
        question = QVariant::fromValue(IndexTerms{});
        indexed.termsIndex = schema::searchIndexName(table, index);
        indexed.terms = "SELECT count(*), ifnull('(' || group_concat('texto : \"' || replace(term, '\"', "
                        "'\"\"') || '\"', ' OR ') || ')', 'texto : \"' || replace(?1, '\"', '\"\"') || "
                        "'\"') || ?2 FROM temp." +
                        schema::quoted(indexed.termsIndex + "_termos") +
                        " WHERE term >= ?1 AND term < ?1 || char(1114111)";
        indexed.termsParameters = {typedPiece, onFilter};
    }
    const std::string candidates = "SELECT rowid FROM " + ftsName + " WHERE " + ftsName + " MATCH ?";
    indexed.condition = "rowid IN (" + candidates + ") AND " + filter.condition;
    indexed.parameters = {question};
    indexed.parameters.insert(indexed.parameters.end(), filter.parameters.begin(), filter.parameters.end());
    indexed.candidates = "SELECT count(*) FROM (" + candidates + " LIMIT ?)";
    indexed.candidateParameters = {question};
    filter.indexed = std::move(indexed);
    // The index's records are exactly the matches.
    if (count && !filterCode.isEmpty()) {
        count->condition = "SELECT count(*) FROM " + ftsName + " WHERE " + ftsName + " MATCH ?";
        count->parameters = {question};
    }
    return filter;
}
} // namespace

ListFilter containsText(const TableDef& table, std::string_view field, const QString& typed) {
    return containsTextMatching(table, field, typed, {}, nullptr);
}

ListFilter containsTextWhere(const TableDef& table, std::string_view field, const QString& typed,
                             const std::vector<std::pair<const char*, std::int64_t>>& equal) {
    const std::vector<int> carried = schema::searchFilterFields(table);
    ListFilter filter;
    std::vector<std::int64_t> values;
    bool inIndex = equal.size() <= carried.size();
    for (size_t i = 0; i < equal.size(); ++i) {
        std::string condition = "\"";
        condition += equal[i].first;
        condition += "\" = ?";
        filter = filter.and_(condition, {QVariant::fromValue(static_cast<qlonglong>(equal[i].second))});
        inIndex = inIndex && table.fieldIndex(equal[i].first) == carried[i];
        values.push_back(equal[i].second);
    }
    ListFilter::Indexed count;
    const ListFilter text = containsTextMatching(
        table, field, typed, inIndex ? schema::searchFilterCode(table, values) : QString(), &count);
    filter = filter.and_(text);
    if (filter.indexed && !count.condition.empty()) {
        filter.indexed->count = std::move(count.condition);
        filter.indexed->countParameters = std::move(count.parameters);
    }
    if (inIndex && text.inMemory) {
        filter.inMemory = text.inMemory;
        filter.inMemory->values = std::move(values);
    }
    return filter;
}

ListFilter containsDigits(const TableDef& table, std::string_view field, const QString& typed) {
    int index = 0;
    const FieldDef& def = textField(table, field, &index);
    const QString digits = text::digitsOnly(typed);
    if (digits.isEmpty())
        return {};
    return {"instr(qav_digits(" + schema::quoted(def.name) + "), ?) > 0", {digits}};
}

} // namespace qav
