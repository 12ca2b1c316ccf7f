#include "ui/widgets/MessageBox.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QMutex>
#include <QPushButton>

namespace qav {

namespace {

QMutex mutex;
QList<Button> nextAnswers;
QList<MessageBox::Shown> shownBoxes;

QMessageBox::ButtonRole roleOf(Button button) {
    switch (button) {
    case Button::Ok:
    case Button::Yes:
        return QMessageBox::AcceptRole;
    case Button::No:
        return QMessageBox::NoRole;
    case Button::Cancel:
    case Button::Abort:
        return QMessageBox::RejectRole;
    case Button::Help:
        return QMessageBox::HelpRole;
    default:
        return QMessageBox::ActionRole;
    }
}

QMessageBox::Icon iconOf(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString displayText(QString text) {
    return text.replace(QLatin1Char('|'), QLatin1Char('\n'));
}

Button escapeAnswer(const QList<Button>& buttons) {
    if (buttons.contains(Button::Cancel))
        return Button::Cancel;
    if (buttons.contains(Button::No))
        return Button::No;
    return buttons.size() == 1 ? buttons.first() : Button::None;
}

QList<Button> orDefaultOk(const QList<Button>& buttons) {
    return buttons.isEmpty() ? QList<Button>{Button::Ok} : buttons;
}

void record(MessageBox::Shown shown) {
    QMutexLocker lock(&mutex);
    shownBoxes.append(std::move(shown));
}

} // namespace

QString MessageBox::buttonCaption(Button button) {
    static const QStringList captions =
        QStringLiteral("&Ok,&Sim,&Não,&Abortar,&Repetir,&Ignorar,&Cancelar,&Ajuda").split(QLatin1Char(','));
    for (int i = 0; i < captions.size(); ++i)
        if (static_cast<int>(button) == (1 << i))
            return captions[i];
    return {};
}

std::unique_ptr<QMessageBox> MessageBox::build(const QString& text, const QString& caption, Icon icon,
                                               const QList<Button>& buttons, Button defaultButton,
                                               QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(caption);
    box->setText(displayText(text));
    box->setTextFormat(Qt::PlainText);
    box->setIcon(iconOf(icon));
    const QList<Button> offered = orDefaultOk(buttons);
    const Button escape = escapeAnswer(offered);
    for (Button button : offered) {
        QPushButton* pushButton = box->addButton(buttonCaption(button), roleOf(button));
        pushButton->setProperty("qavButton", static_cast<int>(button));
        if (button == defaultButton)
            box->setDefaultButton(pushButton);
        if (button == escape)
            box->setEscapeButton(pushButton);
    }
    return box;
}

Button MessageBox::show(const QString& text, const QString& caption, Icon icon, const QList<Button>& buttons,
                        Button defaultButton, QWidget* parent) {
    const QList<Button> offered = orDefaultOk(buttons);
    Shown shown{caption, displayText(text), offered, defaultButton, icon, Button::None};
    {
        QMutexLocker lock(&mutex);
        if (!nextAnswers.isEmpty())
            shown.answer = nextAnswers.takeFirst();
    }
    if (shown.answer == Button::None) {
        auto box = build(text, caption, icon, offered, defaultButton, parent);
        box->exec();
        const QAbstractButton* clicked = box->clickedButton();
        shown.answer =
            clicked ? static_cast<Button>(clicked->property("qavButton").toInt()) : escapeAnswer(offered);
    }
    record(shown);
    return shown.answer;
}

void MessageBox::setNextAnswers(QList<Button> answers) {
    QMutexLocker lock(&mutex);
    nextAnswers = std::move(answers);
}

QList<MessageBox::Shown> MessageBox::shown() {
    QMutexLocker lock(&mutex);
    return shownBoxes;
}

void MessageBox::clearShown() {
    QMutexLocker lock(&mutex);
    shownBoxes.clear();
}

} // namespace qav
