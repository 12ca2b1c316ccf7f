#pragma once
// The pieces the order and item forms are built from: named entries, read-only figures, labels and
// rows of "label: field" pairs in a grid.

#include <QString>
#include <initializer_list>
#include <utility>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace qav::montagem {

// An entry named `nome` (tests and the window memory find it by that name), at most `largura` wide.
QLineEdit* entrada(const char* nome, int largura = 0);
// A read-only figure (money, quantity), right aligned and framed like the entries beside it.
QLabel* figura(const char* nome, int largura = 110);
// A label for the field at its right.
QLabel* rotulo(const QString& texto);
// Puts the pairs side by side on row `linha` of `grade`, from its first column: label, field, label,
// field ...
void camposNaLinha(QGridLayout* grade, int linha, std::initializer_list<std::pair<QString, QWidget*>> campos);

} // namespace qav::montagem
