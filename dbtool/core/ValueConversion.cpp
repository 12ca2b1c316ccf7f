#include "dbtool/core/ValueConversion.h"

#include "store/core/Connection.h"
#include "store/core/Decimal.h"
#include "store/core/Text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <limits>
#include <optional>
#include <sqlite3.h>

namespace qav::upgrade {

namespace {

QString textOf(sqlite3_value* value) {
    const auto* raw = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QString::fromUtf8(raw ? raw : "");
}

std::optional<Decimal> decimalOf(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return Decimal(static_cast<long long>(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return Decimal::fromDouble(sqlite3_value_double(value), Decimal::kScale);
    case SQLITE_NULL:
        return Decimal();
    default: {
        const std::string text = textOf(value).trimmed().toStdString();
        if (text.empty())
            return Decimal();
        return Decimal::parse(text);
    }
    }
}

// The field a value goes into, as passed to the SQL function.
struct Target {
    FieldType type = FieldType::Int32;
    int size = 0;
    int scale = 0;
    QString field;
    QString record;
};

// One value converted to the field's type: what the column stores, or nothing when refused (the
// reason is in `why`).
std::optional<QJsonValue> convertOne(sqlite3_value* value, const Target& target, bool* cut, QString* cutTo,
                                     QString* why) {
    try {
        switch (target.type) {
        case FieldType::Text:
        case FieldType::ZText:
        case FieldType::Memo: {
            const QString text = textOf(value);
            const int width = target.type == FieldType::ZText ? target.size - 1 : target.size;
            const QString kept = target.type == FieldType::Memo ? text.left(width) : text::fit(text, width);
            if (kept != text::rtrim(text)) {
                *cut = true;
                *cutTo = kept;
            }
            return QJsonValue(kept);
        }
        case FieldType::Real64: {
            if (sqlite3_value_type(value) == SQLITE_FLOAT)
                return QJsonValue(sqlite3_value_double(value));
            const auto d = decimalOf(value);
            if (!d) {
                *why = QStringLiteral("não é um número");
                return std::nullopt;
            }
            return QJsonValue(d->toDouble());
        }
        case FieldType::Decimal: {
            const auto d = decimalOf(value);
            if (!d) {
                *why = QStringLiteral("não é um número");
                return std::nullopt;
            }
            return QJsonValue(
                QString::fromStdString(d->forField(target.size, target.scale).toString(target.scale)));
        }
        default: {
            const auto d = decimalOf(value);
            if (!d) {
                *why = QStringLiteral("não é um número");
                return std::nullopt;
            }
            const long long number = d->truncated().toInt64();
            long long low = std::numeric_limits<std::int32_t>::min();
            long long high = std::numeric_limits<std::int32_t>::max();
            if (target.type == FieldType::Int16) {
                low = std::numeric_limits<std::int16_t>::min();
                high = std::numeric_limits<std::int16_t>::max();
            } else if (target.type == FieldType::UInt8) {
                low = 0;
                high = 255;
            }
            if (number < low || number > high) {
                *why = QStringLiteral("fora do intervalo do campo (%1 a %2)").arg(low).arg(high);
                return std::nullopt;
            }
            return QJsonValue(static_cast<qint64>(number));
        }
        }
    } catch (const DecimalOverflow&) {
        *why = QStringLiteral("grande demais para o campo");
    }
    return std::nullopt;
}

// The blank value of one element of an array field.
QJsonValue blankElement(const Target& target) {
    switch (target.type) {
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        return QString();
    case FieldType::Decimal:
        return QString::fromStdString(Decimal().toString(target.scale));
    case FieldType::Real64:
        return 0.0;
    default:
        return 0;
    }
}

void resultText(sqlite3_context* context, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void convert(sqlite3_context* context, int, sqlite3_value** args) {
    auto* notes = static_cast<std::vector<ConversionNote>*>(sqlite3_user_data(context));
    Target target;
    target.type = static_cast<FieldType>(sqlite3_value_int(args[1]));
    target.size = sqlite3_value_int(args[2]);
    target.scale = sqlite3_value_int(args[3]);
    const int count = sqlite3_value_int(args[4]);
    target.field = textOf(args[5]);
    target.record = textOf(args[6]);
    sqlite3_value* value = args[0];

    bool cut = false;
    QString cutTo;
    QString why;
    const auto note = [&](bool refused) {
        if (notes)
            notes->push_back({target.record, target.field, textOf(value), cutTo, refused, why});
    };

    if (count > 1) {
        const QString stored = textOf(value);
        if (stored.startsWith(u'[')) { // an array already
            resultText(context, stored);
            return;
        }
        // A single field that became an array: its value is the first element.
        QJsonArray array;
        if (sqlite3_value_type(value) == SQLITE_NULL || stored.trimmed().isEmpty()) {
            array.append(blankElement(target));
        } else {
            const std::optional<QJsonValue> first = convertOne(value, target, &cut, &cutTo, &why);
            if (!first) {
                note(true);
                sqlite3_result_int64(context, 0); // the table is not kept: any value does
                return;
            }
            if (cut)
                note(false);
            array.append(*first);
        }
        while (array.size() < count)
            array.append(blankElement(target));
        resultText(context, QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
        return;
    }

    const std::optional<QJsonValue> converted = convertOne(value, target, &cut, &cutTo, &why);
    if (!converted) {
        note(true);
        sqlite3_result_int64(context, 0); // the table is not kept: any value does
        return;
    }
    if (cut)
        note(false);
    if (target.type == FieldType::Real64)
        sqlite3_result_double(context, converted->toDouble());
    else if (converted->isString())
        resultText(context, converted->toString());
    else
        sqlite3_result_int64(context, converted->toInteger());
}

std::string sqlText(const char* text) {
    std::string quotedText = "'";
    for (const char* c = text; *c; ++c)
        quotedText += *c == '\'' ? std::string("''") : std::string(1, *c);
    return quotedText + "'";
}

} // namespace

void registerConversionFunction(Connection& connection, std::vector<ConversionNote>* notes) {
    sqlite3_create_function(connection.handle(), "qav_convert", 7, SQLITE_UTF8, notes, convert, nullptr,
                            nullptr);
}

std::string conversionCall(const FieldDef& field, const std::string& expression,
                           const std::string& recordExpression) {
    return "qav_convert(" + expression + ", " + std::to_string(static_cast<int>(field.type)) + ", " +
           std::to_string(field.size) + ", " + std::to_string(field.scale) + ", " +
           std::to_string(field.count) + ", " + sqlText(field.name) + ", " + recordExpression + ")";
}

} // namespace qav::upgrade
