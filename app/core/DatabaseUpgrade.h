#pragma once
// Keeping a data folder's tables at the structure this build needs: when the folder's bd.ver is
// below versaoBdRequerida the upgrade tool qavbd is run on it ("qavbd auto [folder]", the program
// folder as its current folder) and waited for.
//
// The run itself is a replaceable function so tests can watch it; the default starts the qavbd
// executable found next to this program.

#include "base/core/Resultado.h"
#include "base/core/Settings.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace qav {

struct UpgradeRun {
    enum class Outcome {
        Finished,      // ran to its end (its exit status is in exitCode)
        FailedToStart, // missing, not executable, ...
        Crashed,
    };
    Outcome outcome = Outcome::Finished;
    int exitCode = 0;
    QString errorText; // why it did not start or finish
};

// `pasta` empty: "qavbd auto" (the main folder "dados"); otherwise "qavbd auto <pasta>".
using UpgradeRunner = std::function<UpgradeRun(const QString& programFolder, const QString& pasta)>;

// The qavbd executable beside the running program ("qavbd.exe" on Windows).
QString qavbdExecutable();
// Starts `executable` with "auto" (and the folder) in `programFolder` and waits for it to end.
UpgradeRun runUpgradeTool(const QString& executable, const QString& programFolder, const QString& pasta);

// The runner in use; empty restores the default (runUpgradeTool on qavbdExecutable()).
void setUpgradeRunner(UpgradeRunner runner);
UpgradeRun runUpgrade(const QString& programFolder, const QString& pasta);

struct UpgradeCheck {
    bool ran = false;      // the tool was started
    bool current = false;  // the folder now records the required version
    bool repeated = false; // the tool already failed on this folder in this session: not run again
    int versaoAntes = 0;
    int versaoDepois = 0;
    UpgradeRun run;
};

// Reads the folder's version and runs the tool when it is below the required one, or when a table
// of the folder does not open as this build declares it (missing, or stored in an older form).
// `argumentoPasta` is the folder as passed on the command line (empty for the plain start-up call on
// "dados"). A folder the tool failed on is not tried again in the same session (start-up and the company
// selection both look at "dados"): it would fail the same way, and the user has been told.
UpgradeCheck ensureDatabaseCurrent(const Settings& settings, const QString& pasta,
                                   const QString& argumentoPasta);

// The message for a folder left below the required version: the tool did not start, crashed, or
// ended without recording the version.
QString upgradeFailureText(const UpgradeCheck& check, const QString& pasta);

// The tables of a data folder that the store refuses to open: missing, damaged, or of another
// structure than this build's. In the order of the table catalogue.
QStringList tabelasRecusadas(const QString& folderPath);

// The table files of a folder that are there but cannot be read: empty (0 bytes), not a table file of
// ours, or damaged beyond a key rebuild. Their data is lost unless a backup holds it, so they are
// never recreated without the user's word. Looks only at the tables the store refuses.
QStringList tabelasDanificadas(const QString& folderPath);

// "pedidos.tps está vazio ou danificado." and the choices that follow.
QString textoTabelaDanificada(const QString& arquivo);

// Puts the damaged file aside ("<file>.danificado", numbered when taken) and creates the table empty.
// Not done, with the reason, when the file cannot be put aside or the table cannot be created.
Resultado recriarTabelaVazia(const QString& folderPath, const QString& arquivo);

// What the user is told after a failed upgrade, before the program goes on: why, which tables
// cannot be used, where the upgrade logged the values it cut or refused, and how to repair the
// folder. A failed upgrade never ends the program: backup, restore and the communication run are
// the ways to repair the folder.
QString upgradeReport(const UpgradeCheck& check, const QString& pasta, const QString& folderPath,
                      const QStringList& recusadas);

} // namespace qav
