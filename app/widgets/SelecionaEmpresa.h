#pragma once
// The company selection: the user picks the data folder and the company to work with. Choosing a
// folder brings its tables up to date (running qavbd when its bd.ver is old), binds the tables to it
// and lists its companies; the folder and the company chosen in each folder are remembered in
// qav.cfg. Ctrl+K unlocks the folder list, the new-folder button and the communication button.

#include "base/core/Settings.h"

#include <QDialog>
#include <QStringList>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace qav {

class Store;
class Table;

class SelecionaEmpresa : public QDialog {
    Q_OBJECT
public:
    enum Resultado { Escolhida = 1, Cancelada = 2 };

    explicit SelecionaEmpresa(Settings settings, QWidget* parent = nullptr);
    ~SelecionaEmpresa() override;

    // Opens the window (binding the current folder), waits for the user and returns Escolhida with
    // id_emp_ativa set, or Cancelada with id_emp_ativa 0.
    int run();

    // The opening steps alone, for callers that show the window themselves.
    void prepare();
    bool selectFolder(const QString& pasta);
    void createFolder(const QString& pasta);
    void unlockAdministration(); // Ctrl+K

    const QStringList& folderList() const { return m_folders; }
    const QString& currentFolder() const { return m_current; }
    QString nomeEmpresa() const { return m_nomeEmpresa; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseCompany();
    void runCommunication();
    void fillCompanies(int idAtivo);
    void updateControls();
    void closeEmpresa();

    Settings m_settings;
    QStringList m_folders;
    QString m_current;
    QString m_nomeEmpresa;
    bool m_unlocked = false;
    bool m_closed = false;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<Table> m_empresa;

    QLineEdit* m_idEmpresa;
    QTreeWidget* m_lista;
    QComboBox* m_pasta;
    QPushButton* m_novaPasta;
    QPushButton* m_comunicacao;
    QPushButton* m_ok;
    QPushButton* m_cancelar;
};

} // namespace qav
