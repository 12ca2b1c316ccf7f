#pragma once
// The "Integração Gerente" window of the hub installation: the connection to the sales office's
// manager database and the office's company ("Configuração", kept in qav.cfg: read when the window
// opens, written when it closes), and "&Atualizar", which runs the update on a thread of its own with
// its own tables and shows its log and progress ("Log Integração"). The window closes when the update
// ends well.

#include "base/core/Settings.h"

#include <QDialog>
#include <memory>

class QLineEdit;
class QPushButton;
class QTabWidget;
class QThread;
class QTreeWidget;
class QWidget;

namespace qav {

class OuvinteJanela;

class IntegracaoGerente : public QDialog {
    Q_OBJECT
public:
    // `pasta`: the data folder of the local tables; `pastaPrograma`: the folder of qav.cfg.
    IntegracaoGerente(const QString& pasta, const QString& pastaPrograma, QWidget* parent = nullptr);
    ~IntegracaoGerente() override;

    bool emAtualizacao() const { return m_trabalho != nullptr; }
    // The settings as the entries hold them.
    BdGerente configuracao() const;

    // "&Atualizar": the update, which goes on after this returns.
    void atualizar();
    // "&Interromper": after a confirmation, the update stops at once (a statement in flight on the
    // server is cancelled) and the step it was in is undone.
    void interromper();
    // Closing stores the settings; during an update the window closes when the update has stopped.
    void done(int resultado) override;

private:
    QWidget* montarAbaConfiguracao();
    QWidget* montarAbaLog();
    void carregar(const BdGerente& g);
    void adicionarRegistro(const QTime& hora, const QString& texto);
    void terminou();

    QString m_pasta;
    Settings m_settings;
    QTabWidget* m_abas = nullptr;
    QWidget* m_abaLog = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_porta = nullptr;
    QLineEdit* m_nome = nullptr;
    QLineEdit* m_usuario = nullptr;
    QLineEdit* m_senha = nullptr;
    QLineEdit* m_pastaTps = nullptr;
    QLineEdit* m_empresa = nullptr;
    QTreeWidget* m_log = nullptr;
    QLineEdit* m_progresso = nullptr;
    QPushButton* m_atualizar = nullptr;
    QPushButton* m_interromper = nullptr;

    QThread* m_trabalho = nullptr;
    std::unique_ptr<OuvinteJanela> m_ouvinte;
    bool m_sucesso = false;
    bool m_fecharAoTerminar = false;
};

} // namespace qav
