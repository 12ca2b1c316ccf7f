#include "orders/widgets/MontagemFormulario.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace qav::montagem {

QLineEdit* entrada(const char* nome, int largura) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(nome));
    if (largura > 0)
        e->setMaximumWidth(largura);
    return e;
}

QLabel* figura(const char* nome, int largura) {
    auto* l = new QLabel;
    l->setObjectName(QString::fromLatin1(nome));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameShape(QFrame::StyledPanel);
    l->setMinimumWidth(largura);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLabel* rotulo(const QString& texto) {
    auto* l = new QLabel(texto);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

void camposNaLinha(QGridLayout* grade, int linha,
                   std::initializer_list<std::pair<QString, QWidget*>> campos) {
    int coluna = 0;
    for (const auto& [texto, campo] : campos) {
        grade->addWidget(rotulo(texto), linha, coluna++);
        grade->addWidget(campo, linha, coluna++);
    }
}

} // namespace qav::montagem
