#include "tests/support/gui/GuiSupport.h"

#include "ui/widgets/MessageBox.h"

namespace qav::test {

QStringList shownBoxes() {
    QStringList texts;
    for (const auto& box : MessageBox::shown())
        texts << box.caption + QStringLiteral(": ") + box.text;
    return texts;
}

} // namespace qav::test
