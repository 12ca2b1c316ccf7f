#include "store/core/Record.h"

#include "store/core/Text.h"

#include <cmath>
#include <limits>

namespace qav {

namespace {
Record::Value blankValue(const FieldDef& field) {
    switch (field.type) {
    case FieldType::Real64:
        return 0.0;
    case FieldType::Decimal:
        return Decimal();
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        return QString();
    default:
        return std::int64_t{0};
    }
}

std::pair<std::int64_t, std::int64_t> integerRange(FieldType type) {
    switch (type) {
    case FieldType::Int16:
        return {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
    case FieldType::UInt8:
        return {0, 255};
    default:
        return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    }
}
} // namespace

Record::Record(const TableDef& def) : m_def(&def) {
    clear();
}

void Record::clear() {
    if (m_values.size() != static_cast<size_t>(m_def->slotCount)) {
        m_values.clear();
        m_values.reserve(static_cast<size_t>(m_def->slotCount));
        for (const FieldDef& field : m_def->fields)
            for (int e = 0; e < field.count; ++e)
                m_values.push_back(blankValue(field));
    } else {
        // A buffer cleared for every record of a download keeps the storage of its texts.
        size_t slot = 0;
        for (const FieldDef& field : m_def->fields)
            for (int e = 0; e < field.count; ++e, ++slot) {
                auto* own = field.isText() ? std::get_if<QString>(&m_values[slot]) : nullptr;
                if (own && own->isDetached())
                    own->resize(0);
                else
                    m_values[slot] = blankValue(field);
            }
    }
    m_rowId = 0;
    m_revision = 0;
}

void Record::clearField(int field) {
    const FieldDef& def = m_def->fields.at(static_cast<size_t>(field));
    for (int e = 0; e < def.count; ++e)
        m_values[static_cast<size_t>(m_def->slotOffset[static_cast<size_t>(field)] + e)] = blankValue(def);
}

std::vector<int> Record::fieldsDifferingFrom(const Record& other) const {
    std::vector<int> differing;
    for (size_t f = 0; f < m_def->fields.size(); ++f) {
        const size_t offset = static_cast<size_t>(m_def->slotOffset[f]);
        for (size_t e = 0; e < static_cast<size_t>(m_def->fields[f].count); ++e)
            if (!(m_values[offset + e] == other.m_values[offset + e])) {
                differing.push_back(static_cast<int>(f));
                break;
            }
    }
    return differing;
}

int Record::field(std::string_view name) const {
    const int index = m_def->fieldIndex(name);
    if (index < 0)
        throw FieldValueError(std::string(m_def->prefix) + ": campo desconhecido " + std::string(name));
    return index;
}

int Record::slotIndex(int field, int element) const {
    const FieldDef& def = m_def->fields.at(static_cast<size_t>(field));
    if (element < 0 || element >= def.count)
        fail(field, QStringLiteral("elemento %1 fora do intervalo 1..%2").arg(element + 1).arg(def.count));
    return m_def->slotOffset[static_cast<size_t>(field)] + element;
}

void Record::fail(int field, const QString& why) const {
    const QString name = QString::fromLatin1(m_def->prefix) + u':' +
                         QString::fromLatin1(m_def->fields.at(static_cast<size_t>(field)).name);
    throw FieldValueError((name + QStringLiteral(": ") + why).toStdString());
}

std::int64_t Record::integer(int field, int element) const {
    const Value& v = m_values[static_cast<size_t>(slotIndex(field, element))];
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return *i;
    if (const auto* d = std::get_if<Decimal>(&v))
        return d->truncated().toInt64();
    if (const auto* r = std::get_if<double>(&v))
        return static_cast<std::int64_t>(*r);
    return std::get<QString>(v).trimmed().toLongLong();
}

double Record::real(int field, int element) const {
    const Value& v = m_values[static_cast<size_t>(slotIndex(field, element))];
    if (const auto* r = std::get_if<double>(&v))
        return *r;
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return static_cast<double>(*i);
    if (const auto* d = std::get_if<Decimal>(&v))
        return d->toDouble();
    return std::get<QString>(v).trimmed().toDouble();
}

Decimal Record::decimal(int field, int element) const {
    const Value& v = m_values[static_cast<size_t>(slotIndex(field, element))];
    if (const auto* d = std::get_if<Decimal>(&v))
        return *d;
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return Decimal(static_cast<long long>(*i));
    if (const auto* r = std::get_if<double>(&v))
        return Decimal::fromDouble(*r, Decimal::kScale);
    return Decimal::parse(std::get<QString>(v).trimmed().toStdString()).value_or(Decimal());
}

Date Record::date(int field, int element) const {
    return Date(static_cast<std::int32_t>(integer(field, element)));
}

QString Record::text(int field, int element) const {
    const Value& v = m_values[static_cast<size_t>(slotIndex(field, element))];
    if (const auto* s = std::get_if<QString>(&v))
        return *s;
    const FieldDef& def = m_def->fields[static_cast<size_t>(field)];
    if (const auto* d = std::get_if<Decimal>(&v))
        return QString::fromStdString(d->toString(def.scale));
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return QString::number(*i);
    return QString::number(std::get<double>(v), 'g', 17);
}

void Record::setInteger(int field, std::int64_t value, int element) {
    const FieldDef& def = m_def->fields.at(static_cast<size_t>(field));
    const int index = slotIndex(field, element);
    switch (def.type) {
    case FieldType::Real64:
        m_values[static_cast<size_t>(index)] = static_cast<double>(value);
        return;
    case FieldType::Decimal:
        setDecimal(field, Decimal(static_cast<long long>(value)), element);
        return;
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        setText(field, QString::number(value), element);
        return;
    default:
        break;
    }
    const auto [low, high] = integerRange(def.type);
    if (value < low || value > high)
        fail(field, QStringLiteral("valor %1 fora do intervalo %2..%3").arg(value).arg(low).arg(high));
    m_values[static_cast<size_t>(index)] = value;
}

void Record::setReal(int field, double value, int element) {
    const FieldDef& def = m_def->fields.at(static_cast<size_t>(field));
    if (!std::isfinite(value))
        fail(field, QStringLiteral("valor não numérico"));
    switch (def.type) {
    case FieldType::Real64:
        m_values[static_cast<size_t>(slotIndex(field, element))] = value;
        return;
    case FieldType::Decimal:
        setDecimal(field, Decimal::fromDouble(value, def.scale), element);
        return;
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        setText(field, QString::number(value, 'g', 17), element);
        return;
    default:
        setInteger(field, static_cast<std::int64_t>(std::trunc(value)), element);
    }
}

void Record::setDecimal(int field, const Decimal& value, int element) {
    const FieldDef& def = m_def->fields.at(static_cast<size_t>(field));
    switch (def.type) {
    case FieldType::Decimal:
        if (!trySetDecimal(field, value, element))
            fail(field, QStringLiteral("valor %1 não cabe em decimal(%2,%3)")
                            .arg(QString::fromStdString(value.toString()))
                            .arg(def.size)
                            .arg(def.scale));
        return;
    case FieldType::Real64:
        m_values[static_cast<size_t>(slotIndex(field, element))] = value.toDouble();
        return;
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        setText(field, QString::fromStdString(value.toString()), element);
        return;
    default:
        // INT of the value: integer fields truncate toward zero.
        setInteger(field, value.truncated().toInt64(), element);
    }
}

bool Record::trySetDecimal(int field, const Decimal& value, int element) {
    const FieldDef& def = m_def->fields.at(static_cast<size_t>(field));
    if (def.type != FieldType::Decimal) {
        setDecimal(field, value, element);
        return true;
    }
    try {
        m_values[static_cast<size_t>(slotIndex(field, element))] = value.forField(def.size, def.scale);
    } catch (const DecimalOverflow&) {
        return false;
    }
    return true;
}

void Record::setDate(int field, Date value, int element) {
    setInteger(field, value.dayNumber(), element);
}

void Record::setText(int field, const QString& value, int element) {
    const FieldDef& def = m_def->fields.at(static_cast<size_t>(field));
    if (!def.isText()) {
        const QString trimmed = value.trimmed();
        if (def.type == FieldType::Decimal) {
            const auto parsed = Decimal::parse(trimmed.toStdString());
            if (!parsed && !trimmed.isEmpty())
                fail(field, QStringLiteral("\"%1\" não é um número").arg(value));
            setDecimal(field, parsed.value_or(Decimal()), element);
        } else if (def.type == FieldType::Real64) {
            bool ok = true;
            const double number = trimmed.isEmpty() ? 0.0 : trimmed.toDouble(&ok);
            if (!ok)
                fail(field, QStringLiteral("\"%1\" não é um número").arg(value));
            setReal(field, number, element);
        } else {
            bool ok = true;
            const qlonglong number = trimmed.isEmpty() ? 0 : trimmed.toLongLong(&ok);
            if (!ok)
                fail(field, QStringLiteral("\"%1\" não é um número inteiro").arg(value));
            setInteger(field, number, element);
        }
        return;
    }
    if (const auto bad = text::firstNonWin1252(value))
        fail(field, QStringLiteral("o caractere \"%1\" (U+%2) não pode ser gravado")
                        .arg(*bad)
                        .arg(bad->unicode(), 4, 16, QLatin1Char('0')));
    const QString stored =
        def.type == FieldType::Memo ? value.left(def.maxLength()) : text::fit(value, def.maxLength());
    Value& slot = m_values[static_cast<size_t>(slotIndex(field, element))];
    // Copied into the field's own storage when it has room, rather than shared: a download writes
    // millions of texts through one buffer, and a shared text would make the reader of the next row
    // allocate anew.
    if (auto* own = std::get_if<QString>(&slot); own && own->isDetached() &&
                                                 own->capacity() >= stored.size() &&
                                                 own->constData() != stored.constData()) {
        own->resize(stored.size());
        std::copy(stored.cbegin(), stored.cend(), own->begin());
        return;
    }
    slot = stored;
}

bool operator==(const Record& a, const Record& b) {
    return a.m_def == b.m_def && a.m_values == b.m_values;
}

} // namespace qav
