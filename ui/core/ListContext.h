#pragma once
// What a list needs from the session to open: the data folder of the local tables, the active
// company and the program folder with the settings files.

#include <QString>

namespace qav {

struct ListContext {
    QString dataFolder;    // the bound data folder
    int idEmpresa = 0;     // id_emp_ativa
    QString programFolder; // qavplus.INI and qav.ini

    // The running session's values (the program folder is the current folder).
    static ListContext current();
};

} // namespace qav
