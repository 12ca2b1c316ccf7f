#pragma once
// Declarations of the local tables: fields in record order with their types, and keys with their
// components and attributes. One declaration serves the store, the upgrade tool and the tests.

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qav {

// Looks names up by string_view without building a std::string (names in the code are already upper case).
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};
using NameIndex = std::unordered_map<std::string, int, NameHash, std::equal_to<>>;

enum class FieldType { Int32, Int16, UInt8, Date, Real64, Decimal, Text, ZText, Memo };

struct FieldDef {
    const char* name;
    FieldType type;
    int size = 0;  // characters for texts, digits (precision) for decimals
    int scale = 0; // places after the point for decimals
    int count = 1; // elements of an array field (×k)

    bool isText() const {
        return type == FieldType::Text || type == FieldType::ZText || type == FieldType::Memo;
    }
    bool isNumeric() const { return !isText(); }
    bool isArray() const { return count > 1; }
    // Characters a value may hold: n for text(n) and memo(n), n - 1 for ztext(n).
    int maxLength() const { return type == FieldType::ZText ? size - 1 : size; }
};

struct KeyComponent {
    int field; // index into TableDef::fields
    bool descending = false;
};

struct KeyDef {
    const char* name;
    std::vector<KeyComponent> components; // empty for the run-time key
    bool primary = false;
    bool unique = false;
    bool caseInsensitive = false;
    bool opt = false; // records whose components are all blank or zero are left out of the key
    bool runtime = false;
};

struct TableDef {
    const char* fileName = "";      // "pedidos.tps"
    const char* prefix = "";        // "VDA"
    const char* upgradePrefix = ""; // "vda": short prefix the upgrade tool declares
    const char* label = "";         // "vendas": label shown by the upgrade tool and the warnings
    int structureVersion = 0;       // goes up whenever the declared structure changes
    std::vector<FieldDef> fields;
    std::vector<KeyDef> keys;

    // The table name inside its file: the file name without its extension ("pedidos").
    QString tableName() const;
    int fieldIndex(std::string_view name) const; // case-insensitive; -1 when absent
    int keyIndex(std::string_view name) const;   // case-insensitive; -1 when absent
    const KeyDef* primaryKey() const;

    // Derived once from the fields when the catalogue is built: where each field's values start in
    // a record buffer (array fields take one slot per element) and the name look-ups.
    std::vector<int> slotOffset;
    int slotCount = 0;
    NameIndex fieldByName; // upper-case name -> index
    NameIndex keyByName;   // upper-case name -> index
    // Text fields that take part in a case-insensitive key (they get a folded shadow column).
    std::vector<int> shadowed;
    // Text fields searched by any part of their value as the user types (a product's name): each has
    // an index of the three-character pieces of its folded form, kept in step by the file itself.
    // Only shadowed fields: the index is built from the shadow column.
    std::vector<int> searched;
    void finalize();
};

// The 28 tables of a data folder, in the order their files are bound when a folder is chosen.
const std::vector<TableDef>& catalogue();
// By file name ("pedidos.tps"), record prefix ("VDA") or table name ("pedidos"); nullptr if unknown.
const TableDef* findTable(std::string_view nameOrPrefix);

} // namespace qav
