#pragma once
// Binds the entry widgets of a form to the fields of a record buffer: loads the record into the
// widgets and takes the widgets' values back, in the Brazilian formats (dates dd/mm/yyyy, numbers
// with "," before the decimals). Every entry accepts only what its field can hold (ui/widgets
// FieldValidator); a date entry may be emptied (no date) and an impossible date is refused.

#include "store/core/Record.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace qav {

class CamposRegistro {
public:
    explicit CamposRegistro(const TableDef& def) : m_def(def) {}

    void texto(QLineEdit* w, const char* campo, int elemento = 0);
    void inteiro(QLineEdit* w, const char* campo, int elemento = 0);
    // A whole number the business keeps within `minimo`..`maximo` (inside its type's range).
    void inteiro(QLineEdit* w, const char* campo, int elemento, std::int64_t minimo, std::int64_t maximo);
    void real(QLineEdit* w, const char* campo);
    // A decimal(p,s) field, shown with its s places.
    void decimal(QLineEdit* w, const char* campo);
    void data(QLineEdit* w, const char* campo);
    void marca(QCheckBox* w, const char* campo);
    // The item data is the stored value: a number, or a text for text fields.
    void opcao(QComboBox* w, const char* campo);
    void memo(QPlainTextEdit* w, const char* campo);

    // An entry whose value cannot go into its field, with the message to show.
    struct Recusa {
        QWidget* campo = nullptr;
        QString texto;
        QString titulo;
    };

    // An entry that shows a field without being bound to it (a second entry of the same field): it
    // accepts what the field holds.
    void limitar(QLineEdit* w, const char* campo) const;

    void carregar(const Record& r) const;
    // Takes the widgets' values back into `r`. A value that cannot be held (an impossible date) is
    // not taken: the first such entry comes back with its message and the field keeps its value.
    std::optional<Recusa> gravar(Record& r) const;
    void somenteLeitura(bool sim) const;
    const std::vector<QLineEdit*>& datas() const { return m_datas; }

private:
    struct Vinculo {
        QWidget* widget;
        std::function<void(const Record&)> carregar;
        // Empty when the value was taken, else the message.
        std::function<QString(Record&)> gravar;
    };
    const TableDef& m_def;
    std::vector<Vinculo> m_vinculos;
    std::vector<QLineEdit*> m_datas;
};

// "1.234,56" <-> 1234.56 for the real64 money fields.
QString realBr(double valor);
double realDeTexto(const QString& texto);

} // namespace qav
