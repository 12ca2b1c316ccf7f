#pragma once
// The window of the upgrade tool: what it is doing, on which file and table, and the buttons to
// start the conversion or close.

#include "dbtool/core/Converter.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace qav {

class ConverteBdWindow : public QDialog {
    Q_OBJECT
public:
    explicit ConverteBdWindow(QString dataFolder, QWidget* parent = nullptr);

    // Converts at once and closes when done (unattended mode).
    void convertNow();
    const upgrade::ConversionResult& result() const { return m_result; }

private:
    void confirmAndConvert();
    void showProgress(const QString& action, const QString& file, const QString& label);

    QString m_folder;
    QLabel* m_action;
    QLabel* m_file;
    QLabel* m_table;
    QPushButton* m_convert;
    QPushButton* m_close;
    upgrade::ConversionResult m_result;
};

} // namespace qav
