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
    // matches among them. Fewer than three characters make no piece: those are only scanned.
    const bool searched =
        std::find(table.searched.begin(), table.searched.end(), index) != table.searched.end();
    // The index's text ends with a space: a space typed after the word is looked for as one more
    // character, and finds the names that end with the word as well.
    const bool spaceAfter = text::rtrim(typed).size() != typed.size();
    if (!searched || needle.size() + (spaceAfter ? 1 : 0) < 3 || needle.contains(QChar(text::kKeySeparator)))
        return filter;
    QString phrase = spaceAfter ? needle + u' ' : needle;
    phrase.replace(u'"', QStringLiteral("\"\""));
    phrase = QStringLiteral("texto : \"") + phrase + u'"';
    if (!filterCode.isEmpty())
        phrase += QStringLiteral(" AND filtro : \"") + filterCode + u'"';
    const std::string ftsName = schema::quoted(schema::searchIndexName(table, index));
    const std::string candidates = "SELECT rowid FROM " + ftsName + " WHERE " + ftsName + " MATCH ?";
    ListFilter::Indexed indexed{"rowid IN (" + candidates + ") AND " + filter.condition, {phrase}};
    indexed.parameters.insert(indexed.parameters.end(), filter.parameters.begin(), filter.parameters.end());
    indexed.candidates = "SELECT count(*) FROM (" + candidates + " LIMIT ?)";
    indexed.candidateParameters = {phrase};
    filter.indexed = std::move(indexed);
    // The index's records are exactly the matches.
    if (count && !filterCode.isEmpty()) {
        count->condition = "SELECT count(*) FROM " + ftsName + " WHERE " + ftsName + " MATCH ?";
        count->parameters = {phrase};
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
    filter = filter.and_(containsTextMatching(
        table, field, typed, inIndex ? schema::searchFilterCode(table, values) : QString(), &count));
    if (filter.indexed && !count.condition.empty()) {
        filter.indexed->count = std::move(count.condition);
        filter.indexed->countParameters = std::move(count.parameters);
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
