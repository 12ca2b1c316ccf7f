#pragma once
// One column of a list: its header, the field it shows and how the value is written. Each list
// keeps an `enum Column` whose values are the positions of its columns.

#include "store/core/Record.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <string_view>

namespace qav {

struct ListColumn {
    enum class Format {
        Text,    // trailing spaces cut
        Digits,  // whole number zero-filled to `places` digits
        Decimal, // "1.234,56" with `places` decimals
        Date,    // dd/mm/yyyy, blank for no date
        Computed // `value` gives the text
    };

    QString header;
    int field = -1;
    Format format = Format::Text;
    int places = 0;
    // Text of a computed column.
    std::function<QString(const Record&)> value;
    // A background colour for the cell (an invalid QVariant for the normal one).
    std::function<QVariant(const Record&)> background;

    static ListColumn text(const TableDef& table, QString header, std::string_view field);
    static ListColumn digits(const TableDef& table, QString header, std::string_view field, int width);
    static ListColumn decimal(const TableDef& table, QString header, std::string_view field, int places);
    static ListColumn date(const TableDef& table, QString header, std::string_view field);
    static ListColumn computed(QString header, std::function<QString(const Record&)> value,
                               bool numeric = false);

    bool numeric = false; // right-aligned

    QString display(const Record& record) const;
};

} // namespace qav
