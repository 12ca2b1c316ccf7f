#pragma once
// The "Comunicação" window: starts the communication run of the active company and shows its log,
// and keeps the company's connection settings ("Configuração", "Configuração Avançada", both locked
// until Ctrl+K). The run works on a thread of its own with its own tables, so that the window keeps
// answering; closing the window during a run asks first and stops the run at its next safe point.

#include "customers/widgets/CamposRegistro.h"
#include "store/core/Record.h"
#include "store/core/Store.h"
#include "sync/core/execucao/Comunicacao.h"

#include <QDialog>

class QLabel;
#include <memory>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QThread;
class QTreeWidget;

namespace qav {

class OuvinteJanela;

class Comunicacao : public QDialog {
    Q_OBJECT
public:
    // `pasta`: the data folder of the local tables.
    explicit Comunicacao(const QString& pasta, QWidget* parent = nullptr);
    ~Comunicacao() override;

    bool emComunicacao() const { return m_trabalho != nullptr; }
    const Record& registro() const { return m_registro; }

    // "&Comunicar": the checks, the question and the run, which goes on after this returns.
    void comunicar();
    // "&Grava" of either settings tab.
    void grava();
    // "Transf. Pedidos Matriz".
    void transferirPedidos();
    // "&Interromper": asks, then stops the run; the statement in flight is cancelled on the server
    // and the run ends within seconds, the window staying open with the run log.
    void interromper();
    // "&Fechar", Esc and the close box: during a run, asks whether to stop it.
    void reject() override;

private:
    void montar();
    QWidget* montarAbaComunicacao();
    QWidget* montarAbaConfiguracao();
    QWidget* montarAbaAvancada();
    void ligar();

    void carregar(Record registro);
    void empresaDigitada();
    void desbloquear();
    void habilitar();

    void adicionarRegistro(const QTime& hora, const QString& texto);
    void mostrarContagem(qint64 feitas, qint64 esperadas);
    void esconderContagem();
    void terminou();
    void focarCampo(const char* campo);

    QString m_pasta;
    std::unique_ptr<Store> m_store;
    Record m_registro;
    CamposRegistro m_campos;

    QTabWidget* m_abas = nullptr;
    QWidget* m_abaConfiguracao = nullptr;
    QWidget* m_abaAvancada = nullptr;
    QTreeWidget* m_log = nullptr;
    QLineEdit* m_progresso = nullptr;
    QProgressBar* m_barra = nullptr;
    QLabel* m_linhas = nullptr; // rows done while their number is not known
    QButtonGroup* m_tipo = nullptr;
    QWidget* m_escolhaTipo = nullptr;
    QPushButton* m_comunicar = nullptr;
    QPushButton* m_interromper = nullptr;
    QSpinBox* m_esperaServidor = nullptr; // seconds without a byte from the server (qav.ini)
    QLineEdit* m_empresa = nullptr;
    QCheckBox* m_supervisor = nullptr;

    bool m_desbloqueado = false; // Ctrl+K was pressed
    bool m_corrigir = false;     // a setting stopped the run: its tab opens for the fix
    bool m_limparLog = false;    // the run's first row starts a new log
    bool m_fecharAoTerminar = false;
    QThread* m_trabalho = nullptr;
    std::unique_ptr<OuvinteJanela> m_ouvinte;
    sync::Desfecho m_desfecho;
};

} // namespace qav
