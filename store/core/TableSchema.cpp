#include "store/core/TableSchema.h"

#include <algorithm>
#include <cctype>

namespace qav::schema {

std::string quoted(const std::string& identifier) {
    return '"' + identifier + '"';
}

std::string columnType(const FieldDef& field) {
    std::string base;
    switch (field.type) {
    case FieldType::Int32:
        base = "INT32";
        break;
    case FieldType::Int16:
        base = "INT16";
        break;
    case FieldType::UInt8:
        base = "UINT8";
        break;
    case FieldType::Date:
        base = "DATE_INT";
        break;
    case FieldType::Real64:
        base = "REAL64";
        break;
    case FieldType::Decimal:
        base = "DECIMAL_TEXT(" + std::to_string(field.size) + "," + std::to_string(field.scale) + ")";
        break;
    case FieldType::Text:
        base = "CHAR(" + std::to_string(field.size) + ")";
        break;
    case FieldType::ZText:
        base = "ZCHAR(" + std::to_string(field.size) + ")";
        break;
    case FieldType::Memo:
        base = "MEMO_TEXT(" + std::to_string(field.size) + ")";
        break;
    }
    if (field.isArray()) {
        // An array field is one column holding a JSON array of its elements.
        const auto paren = base.find('(');
        const std::string name = base.substr(0, paren);
        const std::string size = paren == std::string::npos ? "" : base.substr(paren);
        return "JSON_ARRAY" + std::to_string(field.count) + "_OF_" + name + "_TEXT" + size;
    }
    return base;
}

namespace {
std::string defaultValue(const FieldDef& field) {
    if (field.isArray())
        return "'[]'";
    switch (field.type) {
    case FieldType::Decimal:
        return "'0'";
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        return "''";
    case FieldType::Real64:
        return "0.0";
    default:
        return "0";
    }
}
} // namespace

std::string shadowColumn(const FieldDef& field) {
    return std::string("_ci_") + field.name;
}

bool isShadowed(const TableDef& table, int field) {
    return std::find(table.shadowed.begin(), table.shadowed.end(), field) != table.shadowed.end();
}

const std::vector<int>& shadowedFields(const TableDef& table) {
    return table.shadowed;
}

std::string keyColumn(const TableDef& table, const KeyDef& key, const KeyComponent& component) {
    const FieldDef& field = table.fields[static_cast<size_t>(component.field)];
    if (key.caseInsensitive && field.isText())
        return quoted(shadowColumn(field));
    return quoted(field.name);
}

std::string optCondition(const TableDef& table, const KeyDef& key) {
    if (!key.opt || key.components.empty())
        return {};
    std::string condition = "(NOT (";
    for (size_t i = 0; i < key.components.size(); ++i) {
        const FieldDef& field = table.fields[static_cast<size_t>(key.components[i].field)];
        if (i)
            condition += " AND ";
        condition += quoted(field.name) + (field.isText() ? " = ''" : " = 0");
    }
    return condition + "))";
}

std::string createTableSql(const TableDef& table, const std::string& tableName) {
    std::string sql = "CREATE TABLE " + tableName + " (";
    for (const FieldDef& field : table.fields)
        sql +=
            quoted(field.name) + " " + columnType(field) + " NOT NULL DEFAULT " + defaultValue(field) + ", ";
    for (const int f : shadowedFields(table))
        sql += quoted(shadowColumn(table.fields[static_cast<size_t>(f)])) + " " + kShadowColumnType +
               " NOT NULL DEFAULT '', ";
    sql += "\"_rev\" INTEGER NOT NULL DEFAULT 1, \"_hold\" TEXT NOT NULL DEFAULT '')";
    return sql;
}

namespace {
// Index names live in the schema of the file; the table name may be prefixed by a schema.
std::string schemaPrefixOf(const std::string& tableName) {
    const auto dot = tableName.find('.');
    return dot == std::string::npos ? "" : tableName.substr(0, dot + 1);
}

std::string indexName(const TableDef& table, const KeyDef& key) {
    return quoted(table.tableName().toStdString() + "_" + key.name);
}
} // namespace

std::string createKeyIndexSql(const TableDef& table, const KeyDef& key, const std::string& tableName) {
    if (key.runtime || key.components.empty())
        return {};
    std::string sql = std::string(key.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                      schemaPrefixOf(tableName) + indexName(table, key) + " ON " +
                      quoted(table.tableName().toStdString()) + " (";
    for (size_t i = 0; i < key.components.size(); ++i) {
        if (i)
            sql += ", ";
        sql += keyColumn(table, key, key.components[i]);
        if (key.components[i].descending)
            sql += " DESC";
    }
    sql += ")";
    const std::string opt = optCondition(table, key);
    if (!opt.empty())
        sql += " WHERE " + opt;
    return sql;
}

std::string dropKeyIndexSql(const TableDef& table, const KeyDef& key, const std::string& tableName) {
    if (key.runtime || key.components.empty())
        return {};
    return "DROP INDEX " + schemaPrefixOf(tableName) + indexName(table, key);
}

std::vector<std::string> createIndexSql(const TableDef& table, const std::string& tableName) {
    std::vector<std::string> statements;
    for (const KeyDef& key : table.keys)
        if (std::string sql = createKeyIndexSql(table, key, tableName); !sql.empty())
            statements.push_back(std::move(sql));
    return statements;
}

namespace {
// The characters of the filter codes: the first from the Hangul syllables (its level and high bits),
// the other two from the CJK ideographs (14 bits each). No piece of three characters that crosses two
// codes has that shape, and no name is searched with them.
constexpr int kFilterCodeBase = 0xAC00;
constexpr int kFilterCodeDigit = 0x4E00;

// The accent-free part of a shadow column's value: the searches look there only (the accented form
// that may follow holds no match the first part lacks).
// It ends with one space more, so that a word typed with a space after it finds the names that end
// with it too, as the list's own condition does.
std::string searchedText(const std::string& column) {
    return "substr(" + column + ", 1, instr(" + column + " || char(1), char(1)) - 1) || ' '";
}

// The value of the filter fields up to `level` as one integer, each field in its width, in SQL over
// the columns of `row` ("new.", "old." or the table's own columns).
std::string filterValueSql(const TableDef& table, size_t level, const std::string& row) {
    const std::vector<int> fields = searchFilterFields(table);
    std::string value;
    for (size_t i = 0; i < level; ++i) {
        const FieldDef& field = table.fields[static_cast<size_t>(fields[i])];
        const int width = field.type == FieldType::UInt8 ? 8 : 32;
        const std::string part = "(ifnull(" + row + quoted(field.name) + ", 0) & " +
                                 std::to_string((std::int64_t{1} << width) - 1) + ")";
        value = value.empty() ? part : "((" + value + " << " + std::to_string(width) + ") | " + part + ")";
    }
    return value;
}

// The filter text of a record: one code of three characters per level (see searchFilterCode).
std::string filterTextSql(const TableDef& table, const std::string& row) {
    const std::vector<int> fields = searchFilterFields(table);
    std::string text;
    int base = kFilterCodeBase;
    int bits = 0;
    for (size_t level = 1; level <= fields.size(); ++level) {
        const FieldDef& field = table.fields[static_cast<size_t>(fields[level - 1])];
        bits += field.type == FieldType::UInt8 ? 8 : 32;
        const std::string x = filterValueSql(table, level, row);
        const std::string code = "char(" + std::to_string(base) + " + (" + x + " >> 28), " +
                                 std::to_string(kFilterCodeDigit) + " + ((" + x + " >> 14) & 16383), " +
                                 std::to_string(kFilterCodeDigit) + " + (" + x + " & 16383))";
        text = text.empty() ? code : text + " || " + code;
        base += 1 << std::max(0, bits - 28);
    }
    return text;
}

// The statements of one searched field, without a schema prefix; `prefix` goes before the names of
// the objects created.
std::vector<std::string> searchSql(const TableDef& table, int field, const std::string& prefix) {
    const std::string bare = table.tableName().toStdString();
    const std::string index = searchIndexName(table, field);
    const std::string shadow = quoted(shadowColumn(table.fields[static_cast<size_t>(field)]));
    const std::vector<int> filters = searchFilterFields(table);
    const bool filtered = !filters.empty();
    const std::string columns = filtered ? "texto, filtro" : "texto";
    const auto values = [&](const std::string& row) {
        return searchedText(row + shadow) + (filtered ? ", " + filterTextSql(table, row) : "");
    };
    const std::string into = "INSERT INTO " + quoted(index) + " (";
    const std::string insertNew =
        into + "rowid, " + columns + ") VALUES (new.rowid, " + values("new.") + ");";
    // A contentless index forgets a row only when told the values it was given for it.
    const std::string deleteOld = into + quoted(index) + ", rowid, " + columns +
                                  ") VALUES ('delete', old.rowid, " + values("old.") + ");";
    std::string updatedColumns = shadow;
    std::string changed = "old." + shadow + " IS NOT new." + shadow;
    for (const int filter : filters) {
        const std::string column = quoted(table.fields[static_cast<size_t>(filter)].name);
        updatedColumns += ", " + column;
        changed += " OR old." + column + " IS NOT new." + column;
    }
    return {
        "CREATE VIRTUAL TABLE " + prefix + quoted(index) + " USING fts5(" + columns +
            ", content='', columnsize=0, tokenize='trigram case_sensitive 1')",
        "CREATE TRIGGER " + prefix + quoted(index + "_ins") + " AFTER INSERT ON " + quoted(bare) + " BEGIN " +
            insertNew + " END",
        "CREATE TRIGGER " + prefix + quoted(index + "_del") + " AFTER DELETE ON " + quoted(bare) + " BEGIN " +
            deleteOld + " END",
        // Only a write of the text or of the list's filter fields touches the index: the prices and
        // stock a download rewrites leave it alone (the trigger is not even looked at for them).
        "CREATE TRIGGER " + prefix + quoted(index + "_upd") + " AFTER UPDATE OF " + updatedColumns + " ON " +
            quoted(bare) + " WHEN " + changed + " BEGIN " + deleteOld + " " + insertNew + " END",
    };
}
} // namespace

std::vector<int> searchFilterFields(const TableDef& table) {
    // The product list always shows one company's products, and mostly only the active ones; the
    // customer list the active or the inactive customers.
    const QString name = table.tableName();
    std::vector<const char*> names;
    if (name == QLatin1String("produto"))
        names = {"ID_EMPRESA", "ATIVO"};
    else if (name == QLatin1String("clientes"))
        names = {"ATIVO"};
    std::vector<int> fields;
    for (const char* field : names)
        fields.push_back(table.fieldIndex(field));
    return fields;
}

QString searchFilterCode(const TableDef& table, const std::vector<std::int64_t>& values) {
    const std::vector<int> fields = searchFilterFields(table);
    if (values.empty() || values.size() > fields.size())
        return {};
    std::uint64_t x = 0;
    int base = kFilterCodeBase;
    int bits = 0;
    for (size_t level = 1; level <= values.size(); ++level) {
        const FieldDef& field = table.fields[static_cast<size_t>(fields[level - 1])];
        const int width = field.type == FieldType::UInt8 ? 8 : 32;
        x = (x << width) |
            (static_cast<std::uint64_t>(values[level - 1]) & ((std::uint64_t{1} << width) - 1));
        if (level < values.size())
            base += 1 << std::max(0, bits + width - 28);
        bits += width;
    }
    QString code;
    code += QChar(static_cast<char16_t>(base + static_cast<int>(x >> 28)));
    code += QChar(static_cast<char16_t>(kFilterCodeDigit + static_cast<int>((x >> 14) & 16383)));
    code += QChar(static_cast<char16_t>(kFilterCodeDigit + static_cast<int>(x & 16383)));
    return code;
}

std::string searchIndexName(const TableDef& table, int field) {
    return table.tableName().toStdString() + "_busca_" + table.fields[static_cast<size_t>(field)].name;
}

std::vector<std::string> createSearchIndexSql(const TableDef& table, const std::string& tableName) {
    std::vector<std::string> statements;
    for (const int field : table.searched)
        for (std::string& sql : searchSql(table, field, schemaPrefixOf(tableName)))
            statements.push_back(std::move(sql));
    return statements;
}

std::vector<std::string> fillSearchIndexSql(const TableDef& table, const std::string& schemaName) {
    const std::string prefix = schemaName.empty() ? "" : quoted(schemaName) + ".";
    std::vector<std::string> statements;
    for (const int field : table.searched) {
        const bool filtered = !searchFilterFields(table).empty();
        statements.push_back(
            "INSERT INTO " + prefix + quoted(searchIndexName(table, field)) +
            (filtered ? " (rowid, texto, filtro) SELECT rowid, " : " (rowid, texto) SELECT rowid, ") +
            searchedText(quoted(shadowColumn(table.fields[static_cast<size_t>(field)]))) +
            (filtered ? ", " + filterTextSql(table, "") : "") + " FROM " + prefix +
            quoted(table.tableName().toStdString()));
    }
    return statements;
}

std::vector<std::string> dropSearchIndexSql(const TableDef& table) {
    std::vector<std::string> statements;
    for (const int field : table.searched) {
        const std::string index = searchIndexName(table, field);
        for (const char* trigger : {"_ins", "_del", "_upd"})
            statements.push_back("DROP TRIGGER IF EXISTS " + quoted(index + trigger));
        statements.push_back("DROP TABLE IF EXISTS " + quoted(index));
    }
    return statements;
}

std::vector<std::string> suspendSearchIndexSql(const TableDef& table, const std::string& schemaName) {
    std::vector<std::string> statements;
    for (const int field : table.searched) {
        const std::string index = searchIndexName(table, field);
        for (const char* trigger : {"_ins", "_del", "_upd"})
            statements.push_back("DROP TRIGGER " + quoted(schemaName) + "." + quoted(index + trigger));
    }
    return statements;
}

std::vector<std::string> refillSearchIndexSql(const TableDef& table, const std::string& schemaName) {
    std::vector<std::string> statements;
    for (const int field : table.searched) {
        const std::string index = quoted(schemaName) + "." + quoted(searchIndexName(table, field));
        // A contentless index forgets everything at once without being told the texts.
        statements.push_back("INSERT INTO " + index + " (" + quoted(searchIndexName(table, field)) +
                             ") VALUES ('delete-all')");
    }
    for (std::string& sql : fillSearchIndexSql(table, schemaName))
        statements.push_back(std::move(sql));
    for (const int field : table.searched) {
        std::vector<std::string> objects = searchSql(table, field, quoted(schemaName) + ".");
        for (size_t i = 1; i < objects.size(); ++i) // the triggers, not the index
            statements.push_back(std::move(objects[i]));
    }
    return statements;
}

std::vector<std::pair<std::string, std::string>> searchIndexObjects(const TableDef& table) {
    std::vector<std::pair<std::string, std::string>> objects;
    for (const int field : table.searched) {
        const std::string index = searchIndexName(table, field);
        const std::vector<std::string> sql = searchSql(table, field, "");
        objects.emplace_back(index, sql[0]);
        objects.emplace_back(index + "_ins", sql[1]);
        objects.emplace_back(index + "_del", sql[2]);
        objects.emplace_back(index + "_upd", sql[3]);
    }
    return objects;
}

bool isSearchIndexShadow(const TableDef& table, const std::string& name) {
    for (const int field : table.searched) {
        const std::string index = searchIndexName(table, field);
        for (const char* suffix : {"_data", "_idx", "_config"})
            if (name == index + suffix)
                return true;
    }
    return false;
}

std::string normalisedSql(const std::string& sql) {
    std::string out;
    bool space = false;
    for (const char c : sql) {
        if (c == '"')
            continue;
        if (std::isspace(static_cast<unsigned char>(c))) {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string columnList(const TableDef& table) {
    std::string list;
    for (const FieldDef& field : table.fields) {
        if (!list.empty())
            list += ", ";
        list += quoted(field.name);
    }
    for (const int f : shadowedFields(table))
        list += ", " + quoted(shadowColumn(table.fields[static_cast<size_t>(f)]));
    return list;
}

int storedColumnCount(const TableDef& table) {
    return static_cast<int>(table.fields.size() + shadowedFields(table).size());
}

} // namespace qav::schema
