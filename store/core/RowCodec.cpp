#include "store/core/RowCodec.h"

#include "store/core/TableSchema.h"
#include "store/core/Text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringEncoder>
#include <algorithm>
#include <sqlite3.h>

namespace qav::rowcodec {

namespace {
// The caller's text of this parameter, made room for.
std::string& keptText(BoundTexts& kept, int parameter) {
    if (kept.size() <= static_cast<size_t>(parameter))
        kept.resize(static_cast<size_t>(parameter) + 1);
    return kept[static_cast<size_t>(parameter)];
}

void bindKept(sqlite3_stmt* statement, int parameter, const std::string& text) {
    sqlite3_bind_text(statement, parameter, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

void bindText(sqlite3_stmt* statement, int parameter, const QString& value, BoundTexts* kept = nullptr) {
    if (kept) {
        std::string& text = keptText(*kept, parameter);
        text.resize(static_cast<size_t>(value.size()) * 3);
        QStringEncoder utf8(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
        char* end = utf8.appendToBuffer(text.data(), value);
        text.resize(static_cast<size_t>(end - text.data()));
        bindKept(statement, parameter, text);
        return;
    }
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(statement, parameter, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
}

QJsonValue elementJson(const Record& record, int field, int element) {
    const FieldDef& def = record.def().fields[static_cast<size_t>(field)];
    switch (def.type) {
    case FieldType::Decimal:
        return QString::fromStdString(record.decimal(field, element).toString(def.scale));
    case FieldType::Real64:
        return record.real(field, element);
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        return record.text(field, element);
    default:
        return static_cast<qint64>(record.integer(field, element));
    }
}

void setElementFromJson(Record& record, int field, int element, const QJsonValue& value) {
    if (value.isString())
        record.setText(field, value.toString(), element);
    else if (value.isDouble())
        record.setReal(field, value.toDouble(), element);
}

QString columnText(sqlite3_stmt* statement, int column) {
    const auto* raw = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return raw ? QString::fromUtf8(raw, sqlite3_column_bytes(statement, column)) : QString();
}
} // namespace

void bindField(sqlite3_stmt* statement, int parameter, const Record& record, int field, int element,
               BoundTexts* kept) {
    const FieldDef& def = record.def().fields[static_cast<size_t>(field)];
    if (def.isArray()) {
        QJsonArray array;
        for (int e = 0; e < def.count; ++e)
            array.append(elementJson(record, field, e));
        bindText(statement, parameter, QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)),
                 kept);
        return;
    }
    switch (def.type) {
    case FieldType::Decimal: {
        if (kept) {
            std::string& text = keptText(*kept, parameter);
            text = record.decimal(field, element).toString(def.scale);
            bindKept(statement, parameter, text);
            break;
        }
        const std::string text = record.decimal(field, element).toString(def.scale);
        sqlite3_bind_text(statement, parameter, text.c_str(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        break;
    }
    case FieldType::Real64:
        sqlite3_bind_double(statement, parameter, record.real(field, element));
        break;
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        bindText(statement, parameter, record.text(field, element), kept);
        break;
    default:
        sqlite3_bind_int64(statement, parameter, record.integer(field, element));
    }
}

void bindFolded(sqlite3_stmt* statement, int parameter, const Record& record, int field) {
    bindText(statement, parameter, text::foldKey(record.text(field)));
}

void bindKeyValue(sqlite3_stmt* statement, int parameter, const Record& record, const KeyDef& key,
                  const KeyComponent& component) {
    const FieldDef& def = record.def().fields[static_cast<size_t>(component.field)];
    if (key.caseInsensitive && def.isText())
        bindText(statement, parameter, text::foldKey(record.text(component.field)));
    else
        bindField(statement, parameter, record, component.field);
}

int bindRecord(sqlite3_stmt* statement, int first, const Record& record, BoundTexts* kept) {
    const TableDef& table = record.def();
    // Room for every parameter before the first is bound: a bound text must not move afterwards.
    const size_t last =
        static_cast<size_t>(first) + table.fields.size() + schema::shadowedFields(table).size();
    if (kept && kept->size() < last)
        kept->resize(last);
    int parameter = first;
    for (int f = 0; f < static_cast<int>(table.fields.size()); ++f)
        bindField(statement, parameter++, record, f, 0, kept);
    for (const int f : schema::shadowedFields(table))
        bindText(statement, parameter++, text::foldKey(record.text(f)), kept);
    return parameter;
}

void bindFields(sqlite3_stmt* statement, int first, const Record& record, const std::vector<int>& fields,
                BoundTexts* kept) {
    const std::vector<int>& shadowed = schema::shadowedFields(record.def());
    const int shadowFirst = first + static_cast<int>(record.def().fields.size());
    for (const int f : fields) {
        bindField(statement, first + f, record, f, 0, kept);
        const auto s = std::find(shadowed.begin(), shadowed.end(), f);
        if (s != shadowed.end())
            bindText(statement, shadowFirst + static_cast<int>(s - shadowed.begin()),
                     text::foldKey(record.text(f)), kept);
    }
}

void readField(sqlite3_stmt* statement, int column, Record& record, int f) {
    const TableDef& table = record.def();
    const FieldDef& def = table.fields[static_cast<size_t>(f)];
    const int type = sqlite3_column_type(statement, column);
    if (def.isArray()) {
        const QJsonArray array = QJsonDocument::fromJson(columnText(statement, column).toUtf8()).array();
        for (int e = 0; e < def.count; ++e)
            setElementFromJson(record, f, e, e < array.size() ? array.at(e) : QJsonValue());
        return;
    }
    if (type == SQLITE_NULL)
        return; // keeps the blank value
    Record::Value& slot = record.slot(table.slotOffset[static_cast<size_t>(f)]);
    switch (def.type) {
    case FieldType::Decimal: {
        // Our own rows hold canonical text; a row written by another tool may hold a number.
        const auto* raw = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const auto parsed = Decimal::parse(raw ? raw : "");
        slot = parsed ? parsed->rounded(def.scale) : Decimal();
        break;
    }
    case FieldType::Real64:
        slot = sqlite3_column_double(statement, column);
        break;
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        slot = columnText(statement, column);
        break;
    default:
        slot = static_cast<std::int64_t>(sqlite3_column_int64(statement, column));
    }
}

void readRecord(sqlite3_stmt* statement, int first, Record& record) {
    for (int f = 0; f < static_cast<int>(record.def().fields.size()); ++f)
        readField(statement, first + f, record, f);
}

void readFields(sqlite3_stmt* statement, int first, Record& record, const std::vector<int>& fields) {
    for (size_t i = 0; i < fields.size(); ++i)
        readField(statement, first + static_cast<int>(i), record, fields[i]);
}

} // namespace qav::rowcodec
