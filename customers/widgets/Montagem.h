#pragma once
// Small helpers that lay out the labelled entries of the customer windows; every entry gets an
// object name so tests and the window position memory find it.

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <initializer_list>
#include <utility>

namespace qav::montagem {

inline QLineEdit* entrada(QFormLayout* form, const QString& rotulo, const char* nome) {
    auto* e = new QLineEdit(form->parentWidget());
    e->setObjectName(QString::fromLatin1(nome));
    form->addRow(rotulo, e);
    return e;
}

inline QCheckBox* marca(QFormLayout* form, const QString& texto, const char* nome) {
    auto* c = new QCheckBox(texto, form->parentWidget());
    c->setObjectName(QString::fromLatin1(nome));
    form->addRow(QString(), c);
    return c;
}

inline QComboBox* opcoes(QFormLayout* form, const QString& rotulo, const char* nome,
                         std::initializer_list<std::pair<QVariant, QString>> itens) {
    auto* c = new QComboBox(form->parentWidget());
    c->setObjectName(QString::fromLatin1(nome));
    for (const auto& [valor, texto] : itens)
        c->addItem(texto, valor);
    c->setCurrentIndex(-1);
    form->addRow(rotulo, c);
    return c;
}

inline QPlainTextEdit* texto(QFormLayout* form, const QString& rotulo, const char* nome) {
    auto* t = new QPlainTextEdit(form->parentWidget());
    t->setObjectName(QString::fromLatin1(nome));
    t->setTabChangesFocus(true);
    form->addRow(rotulo, t);
    return t;
}

inline QLabel* rotulo(QWidget* pai, const char* nome) {
    auto* l = new QLabel(pai);
    l->setObjectName(QString::fromLatin1(nome));
    return l;
}

} // namespace qav::montagem
