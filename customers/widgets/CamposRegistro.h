#pragma once
// Binds the entry widgets of a form to the fields of a record buffer: loads the record into the
// widgets and takes the widgets' values back, in the Brazilian formats (dates dd/mm/yyyy, numbers
// with "," before the decimals). Text entries are limited to the width of their field.

#include "store/core/Record.h"

#include <QWidget>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace qav {

class CamposRegistro {
public:
    explicit CamposRegistro(const TableDef& def) : def_(def) {}

    void texto(QLineEdit* w, const char* campo, int elemento = 0);
    void inteiro(QLineEdit* w, const char* campo, int elemento = 0);
    void real(QLineEdit* w, const char* campo);
    void data(QLineEdit* w, const char* campo);
    void marca(QCheckBox* w, const char* campo);
    // The item data is the stored value: a number, or a text for text fields.
    void opcao(QComboBox* w, const char* campo);
    void memo(QPlainTextEdit* w, const char* campo);

    void carregar(const Record& r) const;
    void gravar(Record& r) const;
    void somenteLeitura(bool sim) const;

private:
    struct Vinculo {
        QWidget* widget;
        std::function<void(const Record&)> carregar;
        std::function<void(Record&)> gravar;
    };
    const TableDef& def_;
    std::vector<Vinculo> vinculos_;
};

// "1.234,56" <-> 1234.56 for the real64 money fields.
QString realBr(double valor);
double realDeTexto(const QString& texto);

} // namespace qav
