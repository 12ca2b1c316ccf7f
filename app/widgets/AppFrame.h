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

    const DadosFrame& dados() const { return dados_; }
    QMdiArea* mdiArea() const { return mdi_; }
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

    Settings settings_;
    DadosFrame dados_;
    MenuState state_;
    QMdiArea* mdi_;
    QTimer* timer_;
    QLabel* zones_[4];
    QLabel* comunicacao_ = nullptr; // last communication and orders waiting to be sent
    QToolBar* atalhos_ = nullptr;
    QHash<QString, QAction*> atalhosPorEntrada_; // registry name -> toolbar button
    QMenu* sistema_ = nullptr;
    QMenu* cadastros_ = nullptr;
    QMenu* consultas_ = nullptr;
    QMenu* relatorios_ = nullptr;
    QHash<QString, QAction*> entries_; // registry name -> menu entry
    bool altAlone_ = false;
    bool lockHeldInMemory_ = false;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace qav
