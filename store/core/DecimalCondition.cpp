#include "store/core/DecimalCondition.h"

#include "store/core/DecimalCollation.h"

namespace qav {

namespace {

bool isIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool isIdentifierPart(char c) {
    return isIdentifierStart(c) || (c >= '0' && c <= '9') || c == '$';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The end of a quoted token that starts at `start` and closes with `close` (doubled inside).
size_t endOfQuoted(std::string_view sql, size_t start, char close) {
    size_t i = start + 1;
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

std::string unquoted(std::string_view token) {
    if (token.size() < 2)
        return std::string(token);
    const char open = token.front();
    if (open != '"' && open != '`' && open != '[')
        return std::string(token);
    const char close = open == '[' ? ']' : open;
    std::string name;
    for (size_t i = 1; i + 1 < token.size(); ++i) {
        name += token[i];
        if (token[i] == close && close != ']' && i + 2 < token.size() && token[i + 1] == close)
            ++i;
    }
    return name;
}

bool isDecimalField(const TableDef& table, const std::string& name) {
    const int index = table.fieldIndex(name);
    if (index < 0)
        return false;
    const FieldDef& field = table.fields[static_cast<size_t>(index)];
    return field.type == FieldType::Decimal && !field.isArray(); // an array is one JSON text
}

} // namespace

std::string withDecimalOrder(const TableDef& table, std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + 32);
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        size_t end = i + 1;
        bool identifier = false;
        if (c == '\'') {
            end = endOfQuoted(sql, i, '\'');
        } else if (c == '"' || c == '`') {
            end = endOfQuoted(sql, i, c);
            identifier = true;
        } else if (c == '[') {
            end = endOfQuoted(sql, i, ']');
            identifier = true;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            end = sql.find('\n', i);
            end = end == std::string_view::npos ? sql.size() : end;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            end = sql.find("*/", i + 2);
            end = end == std::string_view::npos ? sql.size() : end + 2;
        } else if (c == ':' || c == '@' || c == '$') { // a named parameter, never a column
            while (end < sql.size() && isIdentifierPart(sql[end]))
                ++end;
        } else if (isDigit(c) || (c == '.' && i + 1 < sql.size() && isDigit(sql[i + 1]))) {
            // A number, with its exponent ("1e5", "2.5E-3") or hex digits ("0x1F").
            while (end < sql.size() &&
                   (isIdentifierPart(sql[end]) || sql[end] == '.' ||
                    ((sql[end] == '+' || sql[end] == '-') && (sql[end - 1] == 'e' || sql[end - 1] == 'E'))))
                ++end;
        } else if (isIdentifierStart(c)) {
            while (end < sql.size() && isIdentifierPart(sql[end]))
                ++end;
            identifier = true;
        }
        const std::string_view token = sql.substr(i, end - i);
        out.append(token);
        if (identifier && isDecimalField(table, unquoted(token))) {
            // Not a function name ("PRECO(") nor a table or schema qualifier ("PRECO.").
            size_t next = end;
            while (next < sql.size() && isSpace(sql[next]))
                ++next;
            const bool qualifierOrCall = next < sql.size() && (sql[next] == '(' || sql[next] == '.');
            if (!qualifierOrCall)
                out.append(" COLLATE ").append(kDecimalCollation);
        }
        i = end;
    }
    return out;
}

} // namespace qav
