#pragma once
// APPFRAME, the main frame: an MDI window whose menu starts every other window. Opening it runs the
// company selection, reads the company's configuration, applies the communication lock and sets the
// caption, the menu and the status bar.

#include "app/core/FrameConfig.h"
#include "app/core/MenuRules.h"
#include "base/core/Settings.h"

#include <QHash>
#include <QMainWindow>
#include <QPrinter>
#include <cstdint>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;

namespace qav {

struct WindowContext;

class AppFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit AppFrame(Settings settings, QWidget* parent = nullptr);
    ~AppFrame() override;

    // The opening step: company selection, configuration, lock, caption and menu. False when no
    // company was chosen; the caller then ends the program without showing the frame.
    bool open();

    // Reads the company's configuration again and applies the menu rules (after a communication
    // run, on focus and on the timer while the lock keeps the menus disabled).
    void refreshConfiguration();
    void applyMenuRules();
    void updateClock();

    const DadosFrame& dados() const { return m_dados; }
    QMdiArea* mdiArea() const { return m_mdi; }
    QAction* action(QStringView objectName) const;
    QMenu* menu(QStringView objectName) const;
    WindowContext context();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    QAction* addEntry(QMenu* menu, const QString& text, QStringView name);
    void openSistemaMenu();
    void clipboard(const char* slot);
    void arrangeIcons();
    void printerSetup();
    void showLockMessage();
    void buildToolBar();
    void updateToolBar();
    void updateStatusComunicacao();

    Settings m_settings;
    DadosFrame m_dados;
    MenuState m_state;
    QMdiArea* m_mdi;
    QTimer* m_timer;
    QLabel* m_zones[4];
    QLabel* m_comunicacao = nullptr;   // last communication and orders waiting to be sent
    std::uint64_t m_geracaoStatus = 0; // the writes of the process when it was last counted
    QToolBar* m_atalhos = nullptr;
    QHash<QString, QAction*> m_atalhosPorEntrada; // registry name -> toolbar button
    QMenu* m_sistema = nullptr;
    QMenu* m_cadastros = nullptr;
    QMenu* m_consultas = nullptr;
    QMenu* m_relatorios = nullptr;
    QHash<QString, QAction*> m_entries; // registry name -> menu entry
    bool m_altAlone = false;
    bool m_lockHeldInMemory = false;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace qav
