#include "app/widgets/ButtonCaptions.h"

#include "ui/widgets/MessageBox.h"

#include <QCoreApplication>
#include <QTranslator>

namespace qav {

namespace {

// Answers the toolkit's requests for the standard button texts; everything else is left untranslated.
class ButtonCaptionTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                      int /*n*/) const override {
        if (!context || !sourceText || qstrcmp(context, "QPlatformTheme") != 0)
            return {};
        const QByteArray source(sourceText);
        if (source == "OK")
            return MessageBox::buttonCaption(Button::Ok);
        if (source == "&Yes" || source == "Yes")
            return MessageBox::buttonCaption(Button::Yes);
        if (source == "&No" || source == "No")
            return MessageBox::buttonCaption(Button::No);
        if (source == "Abort")
            return MessageBox::buttonCaption(Button::Abort);
        if (source == "Retry")
            return MessageBox::buttonCaption(Button::Retry);
        if (source == "Ignore")
            return MessageBox::buttonCaption(Button::Ignore);
        if (source == "Cancel")
            return MessageBox::buttonCaption(Button::Cancel);
        if (source == "Help")
            return MessageBox::buttonCaption(Button::Help);
        return {};
    }
};

} // namespace

void installButtonCaptions() {
    static ButtonCaptionTranslator* installed = nullptr;
    if (installed || !QCoreApplication::instance())
        return;
    installed = new ButtonCaptionTranslator(QCoreApplication::instance());
    QCoreApplication::installTranslator(installed);
}

} // namespace qav
