#pragma once
// A throw-away installation for the shell's tests: a program folder "pgms" and data folders beside
// it holding real table files, with companies, configuration records and representatives added
// through the store.

#include "app/core/DataFolders.h"
#include "app/core/DatabaseUpgrade.h"
#include "base/core/Settings.h"
#include "base/core/Version.h"
#include "store/core/Record.h"
#include "store/core/Store.h"
#include "store/core/Table.h"
#include "store/core/TableFile.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <stdexcept>

namespace qav::test {

class Installation {
public:
    Installation() {
        if (!root_.isValid() || !QDir(root_.path()).mkdir(QStringLiteral("pgms")))
            throw std::runtime_error("cannot create the program folder");
    }

    QString root() const { return root_.path(); }
    QString programFolder() const { return QDir(root_.path()).filePath(QStringLiteral("pgms")); }
    Settings settings() const { return Settings(programFolder()); }
    QString folder(const QString& pasta) const { return dataFolderPath(programFolder(), pasta); }

    // A data folder with all its tables, recording `versao` in bd.ver (0: no bd.ver at all).
    void createFolder(const QString& pasta, int versao = versaoBdRequerida) const {
        QDir().mkpath(folder(pasta));
        createTables(folder(pasta));
        if (versao > 0)
            settings().setVersaoBd(pasta, versao);
    }

    static void createTables(const QString& path) {
        for (const TableDef& table : catalogue()) {
            const QString file = QDir(path).filePath(QString::fromLatin1(table.fileName));
            if (QFile::exists(file))
                continue;
            StoreError error;
            if (!createTableFile(file, table, &error))
                throw std::runtime_error(error.text.toStdString());
        }
    }

    void addEmpresa(const QString& pasta, int id, const QString& nome) const {
        add(pasta, "empresa.tps", [&](Record& r) {
            r.setInteger("ID_EMPRESA", id);
            r.setText("NOME", nome);
        });
    }

    void addVendedor(const QString& pasta, int idEmpresa, int codigo, const QString& nome) const {
        add(pasta, "vendedor.tps", [&](Record& r) {
            r.setInteger("ID_VENDEDOR", idEmpresa * 100000 + codigo); // ids are unique across companies
            r.setInteger("ID_EMPRESA", idEmpresa);
            r.setInteger("CODIGO", codigo);
            r.setText("NOME", nome);
        });
    }

    // The configuration record of a company, filled by `fill` after ID_EMPRESA is set.
    void addConfiguracao(const QString& pasta, int idEmpresa,
                         const std::function<void(Record&)>& fill) const {
        add(pasta, "qavcfg.tps", [&](Record& r) {
            r.setInteger("ID_EMPRESA", idEmpresa);
            fill(r);
        });
    }

    // The configuration record as stored now.
    Record configuracao(const QString& pasta, int idEmpresa) const {
        Store store(folder(pasta));
        Table qavcfg(store, "qavcfg.tps");
        if (!qavcfg.open())
            throw std::runtime_error("qavcfg.tps does not open");
        qavcfg.clear();
        qavcfg.rec().setInteger("ID_EMPRESA", idEmpresa);
        if (qavcfg.get("KEYID_EMPRESA") != Status::Ok)
            throw std::runtime_error("no configuration record");
        Record record = qavcfg.rec();
        qavcfg.close();
        return record;
    }

    void changeConfiguracao(const QString& pasta, int idEmpresa,
                            const std::function<void(Record&)>& change) const {
        Store store(folder(pasta));
        Table qavcfg(store, "qavcfg.tps");
        if (!qavcfg.open())
            throw std::runtime_error("qavcfg.tps does not open");
        qavcfg.clear();
        qavcfg.rec().setInteger("ID_EMPRESA", idEmpresa);
        if (qavcfg.get("KEYID_EMPRESA") != Status::Ok)
            throw std::runtime_error("no configuration record");
        change(qavcfg.rec());
        if (qavcfg.put() != Status::Ok)
            throw std::runtime_error("configuration not written");
        qavcfg.close();
    }

private:
    void add(const QString& pasta, const char* file, const std::function<void(Record&)>& fill) const {
        Store store(folder(pasta));
        Table table(store, file);
        if (!table.open())
            throw std::runtime_error("table does not open");
        table.clear();
        fill(table.rec());
        if (table.add() != Status::Ok)
            throw std::runtime_error(table.error().text.toStdString());
        table.close();
    }

    QTemporaryDir root_;
};

// Stands in for the upgrade tool where a test wants to see it started: records each run's folder
// argument and does what qavbd does to the folder (creates the missing tables and records the
// version), unless told to fail.
struct UpgradeRecorder {
    QStringList runs;
    bool failToStart = false;

    UpgradeRunner runner() {
        return [this](const QString& programFolder, const QString& pasta) {
            runs.append(pasta);
            UpgradeRun run;
            if (failToStart) {
                run.outcome = UpgradeRun::Outcome::FailedToStart;
                run.errorText = QStringLiteral("No such file or directory");
                return run;
            }
            const QString name = pasta.isEmpty() ? pastaPrincipal : pasta;
            const QString path = dataFolderPath(programFolder, name);
            if (!QDir().mkpath(path)) {
                run.exitCode = 1;
                return run;
            }
            Installation::createTables(path);
            Settings(programFolder).setVersaoBd(name, versaoBdRequerida);
            return run;
        };
    }
};

} // namespace qav::test
