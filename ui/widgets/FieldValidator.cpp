#include "ui/widgets/FieldValidator.h"

#include "store/core/Text.h"
#include "ui/widgets/MessageBox.h"

#include <QAbstractItemView>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <limits>
#include <stdexcept>
#include <string>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

// Digits before the point a real64 amount keeps to the cent, and the places the forms show.
constexpr int kRealDigits = 15;
constexpr int kRealPlaces = 2;

std::pair<std::int64_t, std::int64_t> typeRange(FieldType type) {
    switch (type) {
    case FieldType::Int16:
        return {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
    case FieldType::UInt8:
        return {0, 255};
    default:
        return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    }
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text) {
    for (QChar c : text)
        if (!isAsciiDigit(c))
            return false;
    return true;
}

int fieldIndexOf(const TableDef& table, std::string_view field) {
    const int index = table.fieldIndex(field);
    if (index < 0)
        throw std::invalid_argument(std::string(table.prefix) + ": campo desconhecido " + std::string(field));
    return index;
}

FieldRefusal textRefusalOf(const QString& text, int width) {
    if (const auto bad = text::firstNonWin1252(text))
        return {FieldRefusal::Character, QString(*bad)};
    if (text.size() > width)
        return {FieldRefusal::TooLong, QString::number(width)};
    return {};
}

// "999.999,99" style limits of a field with `digits` before the point and `places` after it.
QString limitText(int digits, int places, bool negative) {
    QString text = QString(digits, u'9');
    if (places > 0)
        text += u',' + QString(places, u'9');
    return negative ? u'-' + text : text;
}

// The label laid out just before an entry: the cell to its left in a grid, the widget before it in a row.
const QLabel* labelBefore(const QLayout* layout, const QWidget* entry) {
    if (!layout)
        return nullptr;
    if (const auto* grid = qobject_cast<const QGridLayout*>(layout)) {
        const int index = grid->indexOf(entry);
        if (index >= 0) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(index, &row, &column, &rows, &columns);
            QLayoutItem* left = column > 0 ? grid->itemAtPosition(row, column - 1) : nullptr;
            return left ? qobject_cast<const QLabel*>(left->widget()) : nullptr;
        }
    }
    const QWidget* before = nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (const QLayout* inner = item->layout()) {
            if (const QLabel* found = labelBefore(inner, entry))
                return found;
            continue;
        }
        if (item->widget() == entry)
            return qobject_cast<const QLabel*>(before);
        if (item->widget())
            before = item->widget();
    }
    return nullptr;
}

const QLabel* labelBefore(const QWidget* entry) {
    const QWidget* parent = entry->parentWidget();
    return parent ? labelBefore(parent->layout(), entry) : nullptr;
}

QString cleanLabel(QString text) {
    text.remove(u'&');
    text = text.trimmed();
    while (text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
}

} // namespace

FieldValidator::FieldValidator(const TableDef& table, std::string_view field, QObject* parent)
    : FieldValidator(table, fieldIndexOf(table, field), parent) {}

FieldValidator::FieldValidator(const TableDef& table, int field, QObject* parent)
    : QValidator(parent), m_table(&table), m_field(field) {
    const auto [low, high] = typeRange(this->field().type);
    m_low = low;
    m_high = high;
}

QString FieldValidator::fieldName() const {
    return QString::fromLatin1(m_table->prefix) + u':' + QString::fromLatin1(field().name);
}

void FieldValidator::setRange(std::int64_t low, std::int64_t high) {
    const auto [typeLow, typeHigh] = typeRange(field().type);
    m_low = std::max(low, typeLow);
    m_high = std::min(high, typeHigh);
}

QString FieldValidator::rangeText() const {
    const FieldDef& f = field();
    if (f.type == FieldType::Decimal)
        return limitText(f.size - f.scale, f.scale, true) + u" e "_s +
               limitText(f.size - f.scale, f.scale, false);
    if (f.type == FieldType::Real64)
        return limitText(kRealDigits, kRealPlaces, true) + u" e "_s +
               limitText(kRealDigits, kRealPlaces, false);
    return QString::number(m_low) + u" e "_s + QString::number(m_high);
}

void FieldValidator::acceptNameOf(const TableDef& table, std::string_view nameField) {
    m_nameWidth = table.fields[static_cast<size_t>(fieldIndexOf(table, nameField))].maxLength();
}

QValidator::State FieldValidator::validate(QString& input, int&) const {
    m_last = refusal(input);
    // Everything else is acceptable as it stands: an empty entry, or a sign alone, reads as zero.
    return m_last ? Invalid : Acceptable;
}

FieldRefusal FieldValidator::refusal(const QString& input) const {
    const FieldDef& f = field();
    switch (f.type) {
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        return textRefusalOf(input, f.maxLength());
    case FieldType::Real64:
    case FieldType::Decimal:
        return decimalRefusal(input.trimmed());
    default:
        return numberRefusal(input.trimmed());
    }
}

FieldRefusal FieldValidator::numberRefusal(const QString& text) const {
    if (text.isEmpty())
        return {};
    const bool negative = text.startsWith(u'-');
    const QStringView digits = QStringView(text).mid(negative ? 1 : 0);
    if (!allDigits(digits)) {
        // A code entry that looks its code up by name takes the name as typed.
        if (m_nameWidth > 0)
            return textRefusalOf(text, m_nameWidth);
        return {FieldRefusal::NotANumber, {}};
    }
    if (negative && m_low >= 0)
        return {FieldRefusal::OutOfRange, {}};
    if (digits.isEmpty())
        return {};
    if (digits.size() > 18)
        return {FieldRefusal::OutOfRange, {}};
    const std::int64_t value = (negative ? -1 : 1) * digits.toLongLong();
    if (value < m_low || value > m_high)
        return {FieldRefusal::OutOfRange, {}};
    return {};
}

FieldRefusal FieldValidator::decimalRefusal(const QString& text) const {
    const FieldDef& f = field();
    const int digitsAllowed = f.type == FieldType::Decimal ? f.size - f.scale : kRealDigits;
    const int placesAllowed = f.type == FieldType::Decimal ? f.scale : kRealPlaces;
    const bool negative = text.startsWith(u'-');
    QString body = text.mid(negative ? 1 : 0);
    // Brazilian numbers: "." between thousands, "," before the decimals.
    const QStringList parts = body.split(u',');
    if (parts.size() > 2)
        return {FieldRefusal::NotANumber, {}};
    QString whole = parts[0];
    whole.remove(u'.');
    const QString places = parts.size() > 1 ? parts[1] : QString();
    if (!allDigits(whole) || !allDigits(places))
        return {FieldRefusal::NotANumber, {}};
    if (places.size() > placesAllowed)
        return {FieldRefusal::TooManyPlaces, QString::number(placesAllowed)};
    // Leading zeros take no room.
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.size() > digitsAllowed)
        return {FieldRefusal::OutOfRange, {}};
    return {};
}

FieldValidator* limitToField(QLineEdit* entry, const TableDef& table, std::string_view field) {
    auto* validator = new FieldValidator(table, field, entry);
    // A locator changes its field with its tab: the validator of the previous field goes.
    QValidator* previous = const_cast<QValidator*>(entry->validator());
    entry->setValidator(validator);
    if (previous && previous->parent() == entry)
        previous->deleteLater();
    entry->setProperty("qavCampo", validator->fieldName());
    if (entry->property("qavLimitado").toBool())
        return validator;
    entry->setProperty("qavLimitado", true);
    QObject::connect(entry, &QLineEdit::inputRejected, entry, [entry] {
        const auto* current = qobject_cast<const FieldValidator*>(entry->validator());
        // One message at a time: keys typed while it is up are not answered again.
        if (!current || entry->property("qavRecusando").toBool())
            return;
        entry->setProperty("qavRecusando", true);
        showRefusal(current->lastRefusal(), current, entry);
        entry->setProperty("qavRecusando", false);
    });
    return validator;
}

void limitToField(QPlainTextEdit* entry, const TableDef& table, std::string_view field) {
    const FieldDef& f = table.fields[static_cast<size_t>(fieldIndexOf(table, field))];
    const int width = f.maxLength();
    entry->setProperty("qavCampo", QString::fromLatin1(table.prefix) + u':' + QString::fromLatin1(f.name));
    QObject::connect(entry, &QPlainTextEdit::textChanged, entry, [entry, width] {
        const QString typed = entry->toPlainText();
        const FieldRefusal refusal = textRefusalOf(typed, width);
        if (!refusal)
            return;
        QString kept;
        kept.reserve(typed.size());
        for (QChar c : typed)
            if (text::isWin1252(QString(c)))
                kept += c;
        kept.truncate(width);
        const int removed = static_cast<int>(typed.size() - kept.size());
        const int position =
            std::min(entry->textCursor().position() - removed, static_cast<int>(kept.size()));
        entry->setPlainText(kept);
        QTextCursor cursor = entry->textCursor();
        cursor.setPosition(std::max(position, 0));
        entry->setTextCursor(cursor);
        showRefusal(refusal, nullptr, entry);
    });
}

void showRefusal(const FieldRefusal& refusal, const FieldValidator* validator, QWidget* entry) {
    QString text;
    switch (refusal.kind) {
    case FieldRefusal::None:
        return;
    case FieldRefusal::OutOfRange:
        text = validator ? u"O valor deve estar entre "_s + validator->rangeText() + u'.'
                         : u"Valor fora do intervalo aceito."_s;
        break;
    case FieldRefusal::NotANumber:
        text = u"Este campo aceita somente números."_s;
        break;
    case FieldRefusal::TooManyPlaces:
        text = u"Este campo aceita no máximo %1 casas decimais."_s.arg(refusal.detail);
        break;
    case FieldRefusal::Character:
        text = u"O caractere \"%1\" não pode ser gravado."_s.arg(refusal.detail);
        break;
    case FieldRefusal::TooLong:
        text = u"Este campo aceita no máximo %1 caracteres."_s.arg(refusal.detail);
        break;
    }
    // The field as the user sees it names the message; a field without a caption is "this field".
    const QString label = entryLabel(entry);
    MessageBox::show(label.isEmpty() ? text : label + u": "_s + text, u"Erro Validação"_s, Icon::Warning,
                     {Button::Ok}, Button::Ok, entry);
}

QString entryLabel(const QWidget* entry) {
    if (const QWidget* parent = entry->parentWidget()) {
        if (auto* form = qobject_cast<QFormLayout*>(parent->layout()))
            if (auto* label = qobject_cast<QLabel*>(form->labelForField(const_cast<QWidget*>(entry))))
                if (!cleanLabel(label->text()).isEmpty())
                    return cleanLabel(label->text());
        for (const QLabel* label : entry->window()->findChildren<QLabel*>())
            if (label->buddy() == entry && !cleanLabel(label->text()).isEmpty())
                return cleanLabel(label->text());
    }
    if (const QLabel* label = labelBefore(entry); label && !cleanLabel(label->text()).isEmpty())
        return cleanLabel(label->text());
    // An editor in a list's cell: the column's heading.
    for (const QWidget* w = entry->parentWidget(); w; w = w->parentWidget())
        if (const auto* view = qobject_cast<const QAbstractItemView*>(w)) {
            const QModelIndex cell = view->currentIndex();
            if (cell.isValid() && view->model())
                return cleanLabel(view->model()->headerData(cell.column(), Qt::Horizontal).toString());
            break;
        }
    if (!entry->accessibleName().isEmpty())
        return entry->accessibleName();
    return {};
}

} // namespace qav
