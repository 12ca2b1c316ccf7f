#pragma once
// The modal message box of every window: caption, text ("|" starts a new line), icon, buttons with the
// process-wide Portuguese captions and a default button. Tests queue the answers instead of clicking,
// and read back the boxes that were shown.

#include "ui/core/MessageTypes.h"

#include <QList>
#include <QString>
#include <memory>

class QMessageBox;
class QWidget;

namespace qav {

class MessageBox {
public:
    // "&Ok,&Sim,&Não,&Abortar,&Repetir,&Ignorar,&Cancelar,&Ajuda", in the order Ok ... Help.
    static QString buttonCaption(Button button);

    // Shows the box and waits for the answer. Closing it without a button (Escape, the window's close
    // box) answers Cancel when offered, else No, else the only button.
    static Button show(const QString& text, const QString& caption, Icon icon = Icon::Information,
                       const QList<Button>& buttons = {Button::Ok}, Button defaultButton = Button::None,
                       QWidget* parent = nullptr);

    // The box as show() would display it, not yet shown.
    static std::unique_ptr<QMessageBox> build(const QString& text, const QString& caption, Icon icon,
                                              const QList<Button>& buttons, Button defaultButton,
                                              QWidget* parent = nullptr);

    // Test hook: the next boxes answer these buttons, in order, without appearing.
    static void setNextAnswers(QList<Button> answers);

    struct Shown {
        QString caption;
        QString text; // as displayed, line breaks as "\n"
        QList<Button> buttons;
        Button defaultButton = Button::None;
        Icon icon = Icon::None;
        Button answer = Button::None;
    };
    // Every box shown (or answered by the hook) since the last clear.
    static QList<Shown> shown();
    static void clearShown();
};

} // namespace qav
