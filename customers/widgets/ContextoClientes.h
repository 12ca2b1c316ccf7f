#pragma once
// Where the customer windows work: the bound data folder (each window makes its own Store over it),
// the program folder with the settings files, and the active company.

#include "base/core/Settings.h"
#include "ui/core/ListContext.h"

#include <QString>

namespace qav {

struct ContextoClientes {
    QString pastaDados;
    QString pastaPrograma;
    int idEmpresa = 0;

    // The bound folder and id_emp_ativa of the session.
    static ContextoClientes daSessao(const QString& pastaPrograma);
    Settings settings() const { return Settings(pastaPrograma); }
    QString iniJanelas() const; // qavplus.INI
    // Where the reference lists opened as look-ups read their tables and keep their window state.
    ListContext listas() const { return {pastaDados, idEmpresa, pastaPrograma}; }
};

} // namespace qav
