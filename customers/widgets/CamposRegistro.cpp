#include "customers/widgets/CamposRegistro.h"

#include "customers/core/RegrasCliente.h"
#include "store/core/FormatoBr.h"
#include "ui/widgets/FieldValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <string>

namespace qav {

QString realBr(double valor) {
    return br::numero(Decimal::fromDouble(valor, 2), 2);
}

double realDeTexto(const QString& texto) {
    const std::optional<Decimal> valor = br::lerNumero(texto);
    return valor ? valor->toDouble() : 0.0;
}

void CamposRegistro::texto(QLineEdit* w, const char* campo, int elemento) {
    const int f = m_def.fieldIndex(campo);
    limitToField(w, m_def, campo);
    m_vinculos.push_back({w, [=](const Record& r) { w->setText(r.text(f, elemento)); },
                          [=](Record& r) {
                              r.setText(f, w->text(), elemento);
                              return QString();
                          }});
}

void CamposRegistro::inteiro(QLineEdit* w, const char* campo, int elemento) {
    const int f = m_def.fieldIndex(campo);
    limitToField(w, m_def, campo);
    m_vinculos.push_back({w,
                          [=](const Record& r) {
                              const std::int64_t v = r.integer(f, elemento);
                              // A stored value outside a range the form narrows (a share above 100
                              // from the server) is shown as it is, without a refusal.
                              const QSignalBlocker calado(w);
                              w->setText(v ? QString::number(v) : QString());
                          },
                          [=](Record& r) {
                              r.setInteger(f, w->text().trimmed().toLongLong(), elemento);
                              return QString();
                          }});
}

void CamposRegistro::inteiro(QLineEdit* w, const char* campo, int elemento, std::int64_t minimo,
                             std::int64_t maximo) {
    inteiro(w, campo, elemento);
    qobject_cast<FieldValidator*>(const_cast<QValidator*>(w->validator()))->setRange(minimo, maximo);
}

void CamposRegistro::real(QLineEdit* w, const char* campo) {
    const int f = m_def.fieldIndex(campo);
    limitToField(w, m_def, campo);
    m_vinculos.push_back({w, [=](const Record& r) { w->setText(realBr(r.real(f))); },
                          [=](Record& r) {
                              // An unchanged display keeps the stored value to the last binary digit.
                              if (w->text() != realBr(r.real(f)))
                                  r.setReal(f, realDeTexto(w->text()));
                              return QString();
                          }});
}

void CamposRegistro::decimal(QLineEdit* w, const char* campo) {
    const int f = m_def.fieldIndex(campo);
    const int casas = m_def.fields[static_cast<size_t>(f)].scale;
    limitToField(w, m_def, campo);
    m_vinculos.push_back({w, [=](const Record& r) { w->setText(br::numero(r.decimal(f), casas)); },
                          [=](Record& r) {
                              const std::optional<Decimal> valor = br::lerNumero(w->text());
                              r.setDecimal(f, valor ? *valor : Decimal());
                              return QString();
                          }});
}

void CamposRegistro::data(QLineEdit* w, const char* campo) {
    const int f = m_def.fieldIndex(campo);
    // Digits allowed but not required: the entry can be emptied, which is no date.
    w->setInputMask(QStringLiteral("00/00/0000;_"));
    w->setProperty("qavCampo", QString::fromLatin1(m_def.prefix) + u':' + QString::fromLatin1(campo));
    m_datas.push_back(w);
    m_vinculos.push_back({w, [=](const Record& r) { w->setText(QString::fromStdString(r.date(f).toBr())); },
                          [=](Record& r) {
                              const clientes::Verificacao v = clientes::verificarData(w->text());
                              if (!v.aceita)
                                  return v.texto;
                              r.setDate(f, *clientes::lerData(w->text()));
                              return QString();
                          }});
}

void CamposRegistro::marca(QCheckBox* w, const char* campo) {
    const int f = m_def.fieldIndex(campo);
    m_vinculos.push_back({w, [=](const Record& r) { w->setChecked(r.integer(f) != 0); },
                          [=](Record& r) {
                              r.setInteger(f, w->isChecked() ? 1 : 0);
                              return QString();
                          }});
}

void CamposRegistro::opcao(QComboBox* w, const char* campo) {
    const int f = m_def.fieldIndex(campo);
    const bool textual = m_def.fields[static_cast<size_t>(f)].isText();
    m_vinculos.push_back({w,
                          [=](const Record& r) {
                              const QVariant v = textual ? QVariant(r.text(f).trimmed())
                                                         : QVariant(static_cast<int>(r.integer(f)));
                              int indice = w->findData(v);
                              // A stored value the list does not offer (an order type of another
                              // installation, an imported record) is shown as it is and kept, not
                              // turned into the first option or 0 at the first edit.
                              if (indice < 0 && !(textual ? v.toString().isEmpty() : v.toInt() == 0)) {
                                  w->addItem(v.toString(), v);
                                  indice = w->count() - 1;
                              }
                              w->setCurrentIndex(indice);
                          },
                          [=](Record& r) {
                              if (w->currentIndex() < 0)
                                  return QString(); // nothing chosen: the field keeps its value
                              const QVariant v = w->currentData();
                              if (textual)
                                  r.setText(f, v.toString());
                              else
                                  r.setInteger(f, v.toInt());
                              return QString();
                          }});
}

void CamposRegistro::memo(QPlainTextEdit* w, const char* campo) {
    const int f = m_def.fieldIndex(campo);
    limitToField(w, m_def, campo);
    m_vinculos.push_back({w, [=](const Record& r) { w->setPlainText(r.text(f)); },
                          [=](Record& r) {
                              r.setText(f, w->toPlainText());
                              return QString();
                          }});
}

void CamposRegistro::limitar(QLineEdit* w, const char* campo) const {
    limitToField(w, m_def, campo);
}

void CamposRegistro::carregar(const Record& r) const {
    for (const Vinculo& v : m_vinculos)
        v.carregar(r);
}

std::optional<CamposRegistro::Recusa> CamposRegistro::gravar(Record& r) const {
    std::optional<Recusa> primeira;
    for (const Vinculo& v : m_vinculos) {
        QString motivo;
        try {
            motivo = v.gravar(r);
        } catch (const FieldValueError& e) {
            // The entries let nothing through that the field cannot hold; should one ever do, its
            // value is not taken and the user is told, instead of losing the whole form.
            motivo = QString::fromStdString(e.what());
        }
        if (!motivo.isEmpty() && !primeira)
            primeira = Recusa{v.widget, motivo, QStringLiteral("Erro")};
    }
    return primeira;
}

void CamposRegistro::somenteLeitura(bool sim) const {
    for (const Vinculo& v : m_vinculos) {
        if (auto* e = qobject_cast<QLineEdit*>(v.widget))
            e->setReadOnly(sim);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(v.widget))
            p->setReadOnly(sim);
        else
            v.widget->setEnabled(!sim);
    }
}

} // namespace qav
