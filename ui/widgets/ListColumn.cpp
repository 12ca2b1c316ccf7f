#include "ui/widgets/ListColumn.h"

#include "store/core/FormatoBr.h"
#include "store/core/Text.h"

#include <stdexcept>

namespace qav {

namespace {
ListColumn make(const TableDef& table, QString header, std::string_view field, ListColumn::Format format,
                int places, bool numeric) {
    ListColumn column;
    column.header = std::move(header);
    column.field = table.fieldIndex(field);
    if (column.field < 0)
        throw std::invalid_argument("campo desconhecido: " + std::string(field));
    column.format = format;
    column.places = places;
    column.numeric = numeric;
    return column;
}
} // namespace

ListColumn ListColumn::text(const TableDef& table, QString header, std::string_view field) {
    return make(table, std::move(header), field, Format::Text, 0, false);
}

ListColumn ListColumn::digits(const TableDef& table, QString header, std::string_view field, int width) {
    return make(table, std::move(header), field, Format::Digits, width, true);
}

ListColumn ListColumn::decimal(const TableDef& table, QString header, std::string_view field, int places) {
    return make(table, std::move(header), field, Format::Decimal, places, true);
}

ListColumn ListColumn::date(const TableDef& table, QString header, std::string_view field) {
    return make(table, std::move(header), field, Format::Date, 0, false);
}

ListColumn ListColumn::computed(QString header, std::function<QString(const Record&)> value, bool numeric) {
    ListColumn column;
    column.header = std::move(header);
    column.format = Format::Computed;
    column.value = std::move(value);
    column.numeric = numeric;
    return column;
}

QString ListColumn::display(const Record& record) const {
    switch (format) {
    case Format::Text:
        return text::rtrim(record.text(field));
    case Format::Digits:
        return br::digitos(static_cast<long long>(record.integer(field)), places);
    case Format::Decimal:
        return br::numero(record.decimal(field), places);
    case Format::Date:
        return br::data(record.date(field));
    case Format::Computed:
        return value ? value(record) : QString();
    }
    return {};
}

} // namespace qav
