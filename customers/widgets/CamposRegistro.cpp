#include "customers/widgets/CamposRegistro.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <string>

namespace qav {

namespace {

const QLocale& brasil() {
    static const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    return locale;
}

} // namespace

QString realBr(double valor) {
    return brasil().toString(valor, 'f', 2);
}

double realDeTexto(const QString& texto) {
    bool ok = false;
    const double v = brasil().toDouble(texto.trimmed(), &ok);
    if (ok)
        return v;
    QString t = texto.trimmed();
    t.remove(QLatin1Char('.'));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return t.toDouble();
}

void CamposRegistro::texto(QLineEdit* w, const char* campo, int elemento) {
    const int f = def_.fieldIndex(campo);
    w->setMaxLength(def_.fields[static_cast<size_t>(f)].maxLength());
    vinculos_.push_back({w, [=](const Record& r) { w->setText(r.text(f, elemento)); },
                         [=](Record& r) { r.setText(f, w->text(), elemento); }});
}

void CamposRegistro::inteiro(QLineEdit* w, const char* campo, int elemento) {
    const int f = def_.fieldIndex(campo);
    vinculos_.push_back({w,
                         [=](const Record& r) {
                             const std::int64_t v = r.integer(f, elemento);
                             w->setText(v ? QString::number(v) : QString());
                         },
                         [=](Record& r) { r.setInteger(f, w->text().trimmed().toLongLong(), elemento); }});
}

void CamposRegistro::real(QLineEdit* w, const char* campo) {
    const int f = def_.fieldIndex(campo);
    vinculos_.push_back({w, [=](const Record& r) { w->setText(realBr(r.real(f))); },
                         [=](Record& r) {
                             // An unchanged display keeps the stored value to the last binary digit.
                             if (w->text() != realBr(r.real(f)))
                                 r.setReal(f, realDeTexto(w->text()));
                         }});
}

void CamposRegistro::data(QLineEdit* w, const char* campo) {
    const int f = def_.fieldIndex(campo);
    w->setInputMask(QStringLiteral("99/99/9999;_"));
    vinculos_.push_back({w, [=](const Record& r) { w->setText(QString::fromStdString(r.date(f).toBr())); },
                         [=](Record& r) {
                             const std::string t = w->text().toStdString();
                             r.setDate(f, Date::fromBr(t).value_or(r.date(f)));
                         }});
}

void CamposRegistro::marca(QCheckBox* w, const char* campo) {
    const int f = def_.fieldIndex(campo);
    vinculos_.push_back({w, [=](const Record& r) { w->setChecked(r.integer(f) != 0); },
                         [=](Record& r) { r.setInteger(f, w->isChecked() ? 1 : 0); }});
}

void CamposRegistro::opcao(QComboBox* w, const char* campo) {
    const int f = def_.fieldIndex(campo);
    const bool textual = def_.fields[static_cast<size_t>(f)].isText();
    vinculos_.push_back({w,
                         [=](const Record& r) {
                             const QVariant v = textual ? QVariant(r.text(f).trimmed())
                                                        : QVariant(static_cast<int>(r.integer(f)));
                             w->setCurrentIndex(w->findData(v));
                         },
                         [=](Record& r) {
                             const QVariant v = w->currentData();
                             if (textual)
                                 r.setText(f, v.toString());
                             else
                                 r.setInteger(f, v.toInt());
                         }});
}

void CamposRegistro::memo(QPlainTextEdit* w, const char* campo) {
    const int f = def_.fieldIndex(campo);
    vinculos_.push_back({w, [=](const Record& r) { w->setPlainText(r.text(f)); },
                         [=](Record& r) { r.setText(f, w->toPlainText()); }});
}

void CamposRegistro::carregar(const Record& r) const {
    for (const Vinculo& v : vinculos_)
        v.carregar(r);
}

void CamposRegistro::gravar(Record& r) const {
    for (const Vinculo& v : vinculos_)
        v.gravar(r);
}

void CamposRegistro::somenteLeitura(bool sim) const {
    for (const Vinculo& v : vinculos_) {
        if (auto* e = qobject_cast<QLineEdit*>(v.widget))
            e->setReadOnly(sim);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(v.widget))
            p->setReadOnly(sim);
        else
            v.widget->setEnabled(!sim);
    }
}

} // namespace qav
