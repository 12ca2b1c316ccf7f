#pragma once
// What an entry bound to a field of a local table accepts: only what the field can hold, as the table
// catalogue declares it. Whole numbers stay within the range of their type (or a narrower one the
// business sets, such as 0 to 100 for a share); decimals within their digits and places; texts within
// the field's width and the Windows-1252 characters of the files. Whatever the user types or pastes
// beyond that is refused on the spot with a message saying why, so a value the record buffer would
// refuse never reaches it.
//
// Every form and list locator configures its entries with limitToField(); the entry then carries
// the name of its field ("CLI:CXPOSTAL") in the property "qavCampo".

#include "store/core/TableDef.h"

#include <QValidator>
#include <cstdint>
#include <string_view>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace qav {

// Why a text cannot go into a field.
struct FieldRefusal {
    enum Kind { None, NotANumber, OutOfRange, TooManyPlaces, Character, TooLong };
    Kind kind = None;
    QString detail; // the character refused, the width or the number of places
    explicit operator bool() const { return kind != None; }
};

class FieldValidator : public QValidator {
    Q_OBJECT
public:
    FieldValidator(const TableDef& table, int field, QObject* parent = nullptr);
    FieldValidator(const TableDef& table, std::string_view field, QObject* parent = nullptr);

    const TableDef& table() const { return *m_table; }
    const FieldDef& field() const { return m_table->fields[static_cast<size_t>(m_field)]; }
    // "CLI:CXPOSTAL"
    QString fieldName() const;

    // Whole numbers: a range inside the type's own.
    void setRange(std::int64_t low, std::int64_t high);
    std::int64_t low() const { return m_low; }
    std::int64_t high() const { return m_high; }
    // The limits as the range warning names them: "0 and 255".
    QString rangeText() const;
    // A code entry that also takes a name to look the code up by (the look-up opens on it): a text
    // that is not a number is held to `nameField`'s width and characters instead.
    void acceptNameOf(const TableDef& table, std::string_view nameField);

    State validate(QString& input, int& position) const override;
    // Why `input` cannot be held; None when it can, or can become so as the user goes on typing.
    FieldRefusal refusal(const QString& input) const;
    // The refusal of the last input validate() turned down.
    FieldRefusal lastRefusal() const { return m_last; }

private:
    FieldRefusal numberRefusal(const QString& text) const;
    FieldRefusal decimalRefusal(const QString& text) const;

    const TableDef* m_table;
    int m_field;
    std::int64_t m_low = 0;
    std::int64_t m_high = 0;
    int m_nameWidth = 0; // > 0: a name may be typed instead of the code
    mutable FieldRefusal m_last;
};

// Gives `entry` the validator of `field` of `table` and shows the field's refusal message whenever
// the user types or pastes what the field cannot hold. The message names the field by the entry's
// label.
FieldValidator* limitToField(QLineEdit* entry, const TableDef& table, std::string_view field);
// The same for a long text: characters outside Windows-1252 and text beyond the field's size are taken
// out again as soon as they are typed or pasted, with the message.
void limitToField(QPlainTextEdit* entry, const TableDef& table, std::string_view field);

// Shows the message of a refusal for the entry `entry` (the range warning for numbers out of range).
void showRefusal(const FieldRefusal& refusal, const FieldValidator* validator, QWidget* entry);

// The name the entry has on screen (its label without "&" and ":", the label laid out before it, or
// the heading of the list column it edits); empty when it has none.
QString entryLabel(const QWidget* entry);

} // namespace qav
