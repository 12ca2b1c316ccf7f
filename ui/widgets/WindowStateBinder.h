#pragma once
// Gives a window its remembered position: restored the first time it is shown, saved when it closes.

#include "base/core/IniFile.h"

#include <QObject>
#include <QString>

class QWidget;

namespace qav {

class WindowStateBinder : public QObject {
    Q_OBJECT
public:
    // `iniPath` is qavplus.INI of the program folder; `section` the window's procedure name. The
    // binder belongs to the window and ends with it.
    static WindowStateBinder* attach(QWidget* window, QStringView section, const QString& iniPath);

    void restore();
    void save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowStateBinder(QWidget* window, QStringView section, const QString& iniPath);
    bool resizable() const;

    QWidget* m_window;
    QString m_section;
    IniFile m_ini;
    bool m_restored = false;
};

} // namespace qav
