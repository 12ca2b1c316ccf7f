#pragma once
// What the report dialogs of the "Relatórios" menu share, as the receivables report does it: a small
// form of filters with "&Ok" and "&Cancelar"; "&Ok" checks the answers and shows the report in the
// print preview (printed or saved as PDF from there), with a progress that can be cancelled while a
// long report is drawn.

#include "queries/core/Relatorio.h"
#include "ui/core/ListContext.h"

#include <QDialog>
#include <memory>
#include <optional>

class QFormLayout;
class QLineEdit;
class QPrinter;

namespace qav {

class Store;

// The date typed in a masked "dd/mm/aaaa" entry: an invalid Date for an entry nobody typed in (no
// limit on that side), nullopt after telling the user, with the focus on the entry, that it does not
// exist.
std::optional<Date> lerDataDigitada(QLineEdit* entrada, QWidget* pai);

class DialogoRelatorio : public QDialog {
    Q_OBJECT
public:
    ~DialogoRelatorio() override;

    // The report the answers ask for; nullptr after telling the user what is wrong.
    virtual std::unique_ptr<relatorio::Fonte> montar() = 0;
    // Checks the answers and shows the report in the preview.
    void imprimir();
    // Draws the report on `destino` with the progress dialog; what happened.
    relatorio::ResultadoRelatorio desenharEm(QPrinter& destino, relatorio::Fonte& fonte);

protected:
    // `nome` is the window's name (object name and place in qavplus.INI).
    DialogoRelatorio(const ListContext& contexto, const QString& nome, const QString& titulo,
                     QWidget* parent);
    // Adds the buttons below the filters; the subclass calls it after adding its rows.
    void terminar();

    QLineEdit* entradaData(const char* nome);
    // The period typed; false after telling the user (a date that does not exist, a period that ends
    // before it starts). An entry left blank puts no limit on that side.
    bool lerPeriodo(QLineEdit* inicio, QLineEdit* fim, Date& de, Date& ate);

    ListContext m_contexto;
    std::unique_ptr<Store> m_store;
    QFormLayout* m_form;
};

} // namespace qav
