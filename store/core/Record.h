#pragma once
// A record buffer of one local table: one value per field (per element for array fields), typed as
// the field is declared. Setters enforce the field's type: integers in range, decimals rounded half
// away from zero to the field's places, texts cut to the field's width and held to Windows-1252.

#include "store/core/Date.h"
#include "store/core/Decimal.h"
#include "store/core/TableDef.h"

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <variant>
#include <vector>

namespace qav {

// A value a field cannot hold: a text with a character outside Windows-1252, an integer out of range,
// a decimal with too many integer digits. The message names the table and the field.
class FieldValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Record {
public:
    using Value = std::variant<std::int64_t, double, Decimal, QString>;

    explicit Record(const TableDef& def);

    const TableDef& def() const { return *m_def; }
    // Blank record: numbers and dates 0, texts empty (spaces).
    void clear();
    // One field blank, all its elements.
    void clearField(int field);
    // The fields (by index) of which some element differs between this record and `other`, a record
    // of the same table.
    std::vector<int> fieldsDifferingFrom(const Record& other) const;

    // By field index (fast) and by field name (case-insensitive). `element` is for array fields.
    int field(std::string_view name) const; // throws FieldValueError for an unknown name

    std::int64_t integer(int field, int element = 0) const;
    double real(int field, int element = 0) const;
    Decimal decimal(int field, int element = 0) const;
    Date date(int field, int element = 0) const;
    QString text(int field, int element = 0) const;

    void setInteger(int field, std::int64_t value, int element = 0);
    void setReal(int field, double value, int element = 0);
    void setDecimal(int field, const Decimal& value, int element = 0);
    // As setDecimal, but a value that does not fit a decimal field leaves it as it was and gives false.
    bool trySetDecimal(int field, const Decimal& value, int element = 0);
    void setDate(int field, Date value, int element = 0);
    void setText(int field, const QString& value, int element = 0);

    std::int64_t integer(std::string_view name, int element = 0) const {
        return integer(field(name), element);
    }
    double real(std::string_view name, int element = 0) const { return real(field(name), element); }
    Decimal decimal(std::string_view name, int element = 0) const { return decimal(field(name), element); }
    Date date(std::string_view name, int element = 0) const { return date(field(name), element); }
    QString text(std::string_view name, int element = 0) const { return text(field(name), element); }
    void setInteger(std::string_view name, std::int64_t value, int element = 0) {
        setInteger(field(name), value, element);
    }
    void setReal(std::string_view name, double value, int element = 0) {
        setReal(field(name), value, element);
    }
    void setDecimal(std::string_view name, const Decimal& value, int element = 0) {
        setDecimal(field(name), value, element);
    }
    void setDate(std::string_view name, Date value, int element = 0) { setDate(field(name), value, element); }
    void setText(std::string_view name, const QString& value, int element = 0) {
        setText(field(name), value, element);
    }

    // Raw slot access for the store's encoder.
    const Value& slot(int index) const { return m_values[static_cast<size_t>(index)]; }
    Value& slot(int index) { return m_values[static_cast<size_t>(index)]; }

    // Where the record was read from: the row it is stored in and the revision it had then, so that
    // a change made meanwhile by another window or station is detected when it is written back.
    std::int64_t rowId() const { return m_rowId; }
    std::int64_t revision() const { return m_revision; }
    void setOrigin(std::int64_t rowId, std::int64_t revision) {
        m_rowId = rowId;
        m_revision = revision;
    }

    friend bool operator==(const Record& a, const Record& b); // same table and field values

private:
    int slotIndex(int field, int element) const;
    [[noreturn]] void fail(int field, const QString& why) const;

    const TableDef* m_def;
    std::vector<Value> m_values;
    std::int64_t m_rowId = 0;
    std::int64_t m_revision = 0;
};

} // namespace qav
