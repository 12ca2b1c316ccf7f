#pragma once
// Conversion of a stored value to the type of the field that takes it during an upgrade, as an SQL
// function, so that a whole table converts in one statement.
//
// A text longer than its new width is cut; a number the new field cannot hold is refused (the
// statement goes on so that every refused value of the table is known, and the caller then keeps
// the table as it was). Each cut or refused value is noted with its record and field.

#include "store/core/TableDef.h"

#include <QString>
#include <string>
#include <vector>

namespace qav {
class Connection;
}

namespace qav::upgrade {

struct ConversionNote {
    QString record;   // the record's key ("ID=7"), or its position when it has none
    QString field;    // the field that takes the value
    QString oldValue; // as stored before the upgrade
    QString newValue; // what was kept of it (cut values)
    bool refused = false;
    QString why; // why a value was refused
};

// Registers qav_convert(value, type, size, scale, count, field, record) on the connection; notes
// go to `notes`, which must outlive the connection's statements.
void registerConversionFunction(Connection& connection, std::vector<ConversionNote>* notes);
// The SQL call that converts `expression` to `field`'s type; `recordExpression` names the record
// in the notes (an SQL text expression over the old columns).
std::string conversionCall(const FieldDef& field, const std::string& expression,
                           const std::string& recordExpression = "''");

} // namespace qav::upgrade
