#pragma once
// Qt's own texts (file, print and print set-up dialogs, standard buttons, context menus of the
// entries) in the user's language, Brazilian Portuguese, from the translations installed with Qt.

class QCoreApplication;
class QTranslator;

namespace qav {

// Loads qtbase_pt_BR from Qt's translations folder and installs it in `app` (the translator is
// owned by `app`). Returns the translator, or nullptr when the file is missing or unreadable: the
// program then goes on with Qt's English texts.
QTranslator* installQtTranslations(QCoreApplication& app);

} // namespace qav
