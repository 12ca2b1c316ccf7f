#include "dbtool/core/ValueConversion.h"

#include "store/core/Connection.h"
#include "store/core/Decimal.h"
#include "store/core/Text.h"

#include <QString>
#include <cmath>
#include <limits>
#include <sqlite3.h>

namespace qav::upgrade {

namespace {
void resultText(sqlite3_context* context, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    sqlite3_result_text(context, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
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
        const auto* raw = reinterpret_cast<const char*>(sqlite3_value_text(value));
        const std::string text = QString::fromUtf8(raw ? raw : "").trimmed().toStdString();
        if (text.empty())
            return Decimal();
        return Decimal::parse(text);
    }
    }
}

void convert(sqlite3_context* context, int, sqlite3_value** args) {
    const auto type = static_cast<FieldType>(sqlite3_value_int(args[1]));
    const int size = sqlite3_value_int(args[2]);
    const int scale = sqlite3_value_int(args[3]);
    const int count = sqlite3_value_int(args[4]);
    sqlite3_value* value = args[0];
    if (count > 1) {
        // Arrays are JSON texts already, or a single former value that becomes the first element.
        const auto* raw = reinterpret_cast<const char*>(sqlite3_value_text(value));
        const QString text = QString::fromUtf8(raw ? raw : "");
        resultText(context, text.startsWith(u'[') ? text : QStringLiteral("[]"));
        return;
    }
    try {
        switch (type) {
        case FieldType::Text:
        case FieldType::ZText:
        case FieldType::Memo: {
            const auto* raw = reinterpret_cast<const char*>(sqlite3_value_text(value));
            const QString text = QString::fromUtf8(raw ? raw : "");
            const int width = type == FieldType::ZText ? size - 1 : size;
            resultText(context, type == FieldType::Memo ? text.left(width) : text::fit(text, width));
            return;
        }
        case FieldType::Real64: {
            const auto d = decimalOf(value);
            sqlite3_result_double(context, sqlite3_value_type(value) == SQLITE_FLOAT
                                               ? sqlite3_value_double(value)
                                               : (d ? d->toDouble() : 0.0));
            return;
        }
        case FieldType::Decimal: {
            const auto d = decimalOf(value);
            if (!d) {
                sqlite3_result_error(context, "valor não numérico em campo decimal", -1);
                return;
            }
            const std::string text = d->forField(size, scale).toString(scale);
            sqlite3_result_text(context, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            return;
        }
        default: {
            const auto d = decimalOf(value);
            if (!d) {
                sqlite3_result_error(context, "valor não numérico em campo inteiro", -1);
                return;
            }
            const long long number = d->truncated().toInt64();
            long long low = std::numeric_limits<std::int32_t>::min();
            long long high = std::numeric_limits<std::int32_t>::max();
            if (type == FieldType::Int16) {
                low = std::numeric_limits<std::int16_t>::min();
                high = std::numeric_limits<std::int16_t>::max();
            } else if (type == FieldType::UInt8) {
                low = 0;
                high = 255;
            }
            if (number < low || number > high) {
                sqlite3_result_error(context, "valor fora do intervalo do campo", -1);
                return;
            }
            sqlite3_result_int64(context, number);
            return;
        }
        }
    } catch (const DecimalOverflow&) {
        sqlite3_result_error(context, "valor grande demais para o campo", -1);
    }
}
} // namespace

void registerConversionFunction(Connection& connection) {
    sqlite3_create_function(connection.handle(), "qav_convert", 5, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                            nullptr, convert, nullptr, nullptr);
}

std::string conversionCall(const FieldDef& field, const std::string& expression) {
    return "qav_convert(" + expression + ", " + std::to_string(static_cast<int>(field.type)) + ", " +
           std::to_string(field.size) + ", " + std::to_string(field.scale) + ", " +
           std::to_string(field.count) + ")";
}

} // namespace qav::upgrade
