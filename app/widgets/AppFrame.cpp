#include "app/widgets/AppFrame.h"

#include "orders/core/RascunhoPedido.h"

#include "app/core/CommunicationLock.h"
#include "app/core/FrameText.h"
#include "app/widgets/Artwork.h"
#include "app/widgets/ButtonCaptions.h"
#include "app/widgets/SelecionaEmpresa.h"
#include "base/core/Session.h"
#include "base/core/Version.h"
#include "base/core/WindowState.h"
#include "customers/core/ReservasPendentes.h"
#include "orders/core/RascunhoPedido.h"
#include "store/core/Clock.h"
#include "store/core/Store.h"
#include "ui/widgets/DadosAlterados.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowRegistry.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrintDialog>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace qav {

namespace {

constexpr int tickMs = 1000;

// The entries whose window runs on the frame's thread and is waited for; the configuration is read
// again afterwards (a communication run may have lifted the lock).
bool isModalEntry(QStringView name) {
    return name == janelaMenu::Comunicacao || name == janelaMenu::IntegracaoGerente ||
           name == janelaMenu::CopiaDeSeguranca || name == janelaMenu::RestauraCopia;
}

} // namespace

AppFrame::AppFrame(Settings settings, QWidget* parent)
    : QMainWindow(parent), m_settings(std::move(settings)) {
    setObjectName(QStringLiteral("APPFRAME"));
    setWindowTitle(QStringLiteral("QAV+ ") + versaoPrograma.toString());
    setWindowIcon(programIcon());
    resize(1000, 700);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->viewport()->installEventFilter(this);
    setCentralWidget(m_mdi);

    const QStringList zoneNames = {QStringLiteral("zona1"), QStringLiteral("zona2"), QStringLiteral("zona3"),
                                   QStringLiteral("zona4")};
    for (int i = 0; i < 4; ++i) {
        m_zones[i] = new QLabel(this);
        m_zones[i]->setObjectName(zoneNames.at(i));
        m_zones[i]->setContentsMargins(6, 0, 6, 0);
        statusBar()->addWidget(m_zones[i], i == 0 ? 1 : 0);
    }
    m_zones[0]->setText(QStringLiteral("QAV+ Força de Vendas"));
    m_comunicacao = new QLabel(this);
    m_comunicacao->setObjectName(QStringLiteral("zonaComunicacao"));
    m_comunicacao->setContentsMargins(6, 0, 6, 0);
    statusBar()->insertWidget(2, m_comunicacao);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("relogio"));
    m_timer->setInterval(tickMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        updateClock();
        // A communication run clears the lock in the table; the menus come back at the next tick.
        if (!m_cadastros->menuAction()->isEnabled())
            refreshConfiguration();
    });

    buildMenu();
    buildToolBar();
    // The orders waiting to be sent change when an order form closes and when a run ends (the
    // order form is a dialog: see eventFilter).
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { updateStatusComunicacao(); });
    connect(&DadosAlterados::instancia(), &DadosAlterados::alterados, this,
            [this] { refreshConfiguration(); });
    WindowStateBinder::attach(this, janela::Main, m_settings.qavplusIni().path());
}

AppFrame::~AppFrame() {
    // The MDI area announces the removal of its windows while the base classes tear the frame down;
    // by then this is no longer a frame to update.
    disconnect(m_mdi, nullptr, this, nullptr);
}

bool AppFrame::open() {
    installButtonCaptions();
    {
        SelecionaEmpresa selecao(m_settings);
        if (selecao.run() != SelecionaEmpresa::Escolhida || idEmpAtiva() == 0)
            return false;
        m_dados.nomeEmpresa = selecao.nomeEmpresa();
    }
    const int idEmpresa = idEmpAtiva();
    m_zones[1]->setText(QStringLiteral("Pasta: ") + boundFolder().name);
    updateClock();
    // The first time the program runs (no place kept yet), the frame takes the whole screen.
    if (!restoreWindowState(m_settings.qavplusIni(), janela::Main, {}))
        setWindowState(windowState() | Qt::WindowMaximized);
    show();

    Store store(boundFolder().path);
    // New customers and partners left half-made by a program that ended go before anyone lists them.
    removerReservasAbandonadas(store);
    const DadosFrame lidos = readDadosFrame(store, idEmpresa);
    m_dados.configuracao = lidos.configuracao;
    m_dados.nomeVendedor = lidos.nomeVendedor;
    if (m_dados.nomeEmpresa.isEmpty())
        m_dados.nomeEmpresa = lidos.nomeEmpresa;

    const LockCheck lock = applyCommunicationLock(store, idEmpresa, Clock::today(), m_dados.configuracao);
    m_lockHeldInMemory = lock.lockedNow && lock.writeError.isError();
    if (lock.writeError.isError())
        MessageBox::show(lockWriteErrorText(lock.writeError), QStringLiteral("Erro"), Icon::Critical,
                         {Button::Ok}, Button::Ok, this);

    setWindowTitle(
        frameCaption(idEmpresa, m_dados.nomeEmpresa, m_dados.configuracao.codVendedor, m_dados.nomeVendedor));
    applyMenuRules();
    updateStatusComunicacao();
    if (m_dados.configuracao.sistemaBloqueado)
        showLockMessage();

    qApp->installEventFilter(this);
    m_timer->start();
    // Orders a crash left unsaved in their forms: the order list offers them back as it opens.
    QAction* pedidos = m_entries.value(janelaMenu::BrowsePEDIDO.toString());
    if (pedidos && pedidos->isEnabled() && !rascunho::pendentes(boundFolder().path, idEmpresa).empty())
        QTimer::singleShot(0, pedidos, &QAction::trigger);
    return true;
}

void AppFrame::showLockMessage() {
    MessageBox::show(textoSistemaBloqueado, QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok,
                     this);
}

void AppFrame::refreshConfiguration() {
    if (idEmpAtiva() == 0)
        return;
    Store store(boundFolder().path);
    m_dados.configuracao = readConfiguracao(store, idEmpAtiva());
    // A lock that could not be written stays in force until the program ends.
    if (m_lockHeldInMemory)
        m_dados.configuracao.sistemaBloqueado = true;
    applyMenuRules();
    updateStatusComunicacao();
}

// The four things a representative does every day, one click (or key) away, under the menu.
void AppFrame::buildToolBar() {
    m_atalhos = addToolBar(QStringLiteral("Atalhos"));
    m_atalhos->setObjectName(QStringLiteral("barraAtalhos"));
    m_atalhos->setMovable(false);
    m_atalhos->setToolButtonStyle(Qt::ToolButtonTextOnly);
    struct Atalho {
        QString texto;
        QStringView entrada;
        QKeySequence tecla;
    };
    const Atalho atalhos[] = {
        {QStringLiteral("Pedidos"), janelaMenu::BrowsePEDIDO, QKeySequence(Qt::Key_F5)},
        {QStringLiteral("Clientes"), janelaMenu::BrowseCLIENTES, QKeySequence(Qt::Key_F6)},
        {QStringLiteral("Contas a Receber"), janelaMenu::ConsultaCTR, QKeySequence(Qt::Key_F7)},
        {QStringLiteral("Comunicação"), janelaMenu::Comunicacao, QKeySequence(Qt::Key_F8)},
    };
    for (const Atalho& a : atalhos) {
        const QString nome = a.entrada.toString();
        QAction* botao = m_atalhos->addAction(a.texto + QStringLiteral(" (") +
                                              a.tecla.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        botao->setObjectName(QStringLiteral("atalho") + nome);
        botao->setShortcut(a.tecla);
        botao->setShortcutContext(Qt::ApplicationShortcut);
        // The button does what the menu entry does, and only when the entry may.
        connect(botao, &QAction::triggered, this, [this, nome] {
            if (QAction* entrada = m_entries.value(nome); entrada && entrada->isEnabled())
                entrada->trigger();
        });
        m_atalhosPorEntrada.insert(nome, botao);
    }
    updateToolBar();
}

void AppFrame::updateToolBar() {
    for (auto it = m_atalhosPorEntrada.cbegin(); it != m_atalhosPorEntrada.cend(); ++it) {
        const QAction* entrada = m_entries.value(it.key());
        bool permitido = entrada && entrada->isEnabled();
        // An entry of a menu the lock closed is closed too.
        for (const QMenu* m : {m_cadastros, m_consultas})
            if (entrada && m->actions().contains(const_cast<QAction*>(entrada)) &&
                !m->menuAction()->isEnabled())
                permitido = false;
        it.value()->setEnabled(permitido);
    }
}

void AppFrame::updateStatusComunicacao() {
    if (idEmpAtiva() == 0)
        return;
    m_geracaoStatus = Store::writeGeneration();
    Store store(boundFolder().path);
    m_comunicacao->setText(
        statusComunicacaoText(m_dados.configuracao.dtUltCom, pedidosAEnviar(store, idEmpAtiva())));
}

void AppFrame::applyMenuRules() {
    m_state = menuState(m_dados.configuracao);
    m_cadastros->menuAction()->setEnabled(m_state.cadastros);
    m_consultas->menuAction()->setEnabled(m_state.consultas);
    m_relatorios->menuAction()->setEnabled(m_state.relatorios);
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        const QString& name = it.key();
        QAction* entry = it.value();
        const bool available = WindowRegistry::has(name);
        bool allowed = true;
        if (name == janelaMenu::ConsultaSaldoFlex)
            allowed = m_state.flex;
        else if (name == janelaMenu::IntegracaoGerente)
            allowed = m_state.integracaoGerente;
        entry->setEnabled(available && allowed);
        entry->setToolTip(available ? QString() : unavailableEntryTip());
    }
    m_entries.value(janelaMenu::RelComissao.toString())->setVisible(m_state.comissaoVisivel);
    updateToolBar();
}

void AppFrame::updateClock() {
    const DateTimeParts now = Clock::now();
    m_zones[2]->setText(statusDateText(now.date));
    m_zones[3]->setText(statusTimeText(now));
}

QAction* AppFrame::action(QStringView objectName) const {
    return findChild<QAction*>(objectName.toString());
}

QMenu* AppFrame::menu(QStringView objectName) const {
    return findChild<QMenu*>(objectName.toString());
}

WindowContext AppFrame::context() {
    WindowContext context;
    context.frame = this;
    context.mdiArea = m_mdi;
    context.programFolder = m_settings.programFolder();
    context.endProgram = [this] { close(); };
    return context;
}

QAction* AppFrame::addEntry(QMenu* menu, const QString& text, QStringView name) {
    QAction* entry = menu->addAction(text);
    entry->setObjectName(name.toString());
    m_entries.insert(name.toString(), entry);
    const QString key = name.toString();
    connect(entry, &QAction::triggered, this, [this, key] {
        WindowContext ctx = context();
        if (key == janelaMenu::ConsultaCTR)
            ctx.arguments = {QStringLiteral("3"), QString()};
        WindowRegistry::open(key, ctx);
        if (isModalEntry(key))
            refreshConfiguration();
    });
    return entry;
}

void AppFrame::buildMenu() {
    const auto newMenu = [this](QMenu* parent, const QString& title, const char* name) {
        QMenu* m = parent ? parent->addMenu(title) : menuBar()->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        m->setToolTipsVisible(true);
        return m;
    };
    const auto plainEntry = [](QMenu* menu, const QString& text, const char* name) {
        QAction* entry = menu->addAction(text);
        entry->setObjectName(QString::fromLatin1(name));
        return entry;
    };

    m_sistema = newMenu(nullptr, QStringLiteral("&Sistema"), "menuSistema");
    QMenu* administracao = newMenu(m_sistema, QStringLiteral("&Administração"), "menuAdministracao");
    addEntry(administracao, QStringLiteral("&Atualização dados Gerente"), janelaMenu::AtDadosGerente);
    addEntry(administracao, QStringLiteral("&Representantes"), janelaMenu::BrwREPRE);
    connect(plainEntry(m_sistema, QStringLiteral("Configurar &Impressoras"), "configurarImpressoras"),
            &QAction::triggered, this, [this] { printerSetup(); });
    QMenu* utilitarios = newMenu(m_sistema, QStringLiteral("&Utilitários"), "menuUtilitarios");
    addEntry(utilitarios, QStringLiteral("&Cópia de Segurança"), janelaMenu::CopiaDeSeguranca);
    addEntry(utilitarios, QStringLiteral("&Restaura Cópia de Segurança"), janelaMenu::RestauraCopia);
    addEntry(m_sistema, QStringLiteral("&Comunicação"), janelaMenu::Comunicacao);
    addEntry(m_sistema, QStringLiteral("Integração &Gerente"), janelaMenu::IntegracaoGerente);
    m_sistema->addSeparator();
    connect(plainEntry(m_sistema, QStringLiteral("&Fim"), "fim"), &QAction::triggered, this,
            [this] { close(); });

    QMenu* editar = newMenu(nullptr, QStringLiteral("E&ditar"), "menuEditar");
    connect(plainEntry(editar, QStringLiteral("&Recortar"), "recortar"), &QAction::triggered, this,
            [this] { clipboard("cut()"); });
    connect(plainEntry(editar, QStringLiteral("&Copiar"), "copiar"), &QAction::triggered, this,
            [this] { clipboard("copy()"); });
    connect(plainEntry(editar, QStringLiteral("Co&lar"), "colar"), &QAction::triggered, this,
            [this] { clipboard("paste()"); });

    m_cadastros = newMenu(nullptr, QStringLiteral("&Cadastros"), "menuCadastros");
    addEntry(m_cadastros, QStringLiteral("Pr&odutos"), janelaMenu::browseprodutos);
    addEntry(m_cadastros, QStringLiteral("&Formas de Pagto"), janelaMenu::BrowseFORMAPAG);
    addEntry(m_cadastros, QStringLiteral("&Vendedores"), janelaMenu::BrowseVendedor);
    addEntry(m_cadastros, QStringLiteral("&Municípios"), janelaMenu::BrowseMunic);
    addEntry(m_cadastros, QStringLiteral("&Clientes"), janelaMenu::BrowseCLIENTES);
    addEntry(m_cadastros, QStringLiteral("&Pedidos"), janelaMenu::BrowsePEDIDO);

    m_consultas = newMenu(nullptr, QStringLiteral("C&onsultas"), "menuConsultas");
    addEntry(m_consultas, QStringLiteral("&Pedidos"), janelaMenu::ConsultaPedidos);
    addEntry(m_consultas, QStringLiteral("Contas a &Receber"), janelaMenu::ConsultaCTR);
    addEntry(m_consultas, QStringLiteral("&Flex"), janelaMenu::ConsultaSaldoFlex);

    m_relatorios = newMenu(nullptr, QStringLiteral("&Relatórios"), "menuRelatorios");
    addEntry(m_relatorios, QStringLiteral("&Clientes"), janelaMenu::RelClientes);
    addEntry(m_relatorios, QStringLiteral("&Pedidos"), janelaMenu::RelPedidos);
    addEntry(m_relatorios, QStringLiteral("Contas a &Receber"), janelaMenu::RelCTR);
    addEntry(m_relatorios, QStringLiteral("Co&missão"), janelaMenu::RelComissao);
    addEntry(m_relatorios, QStringLiteral("Pedidos Con&sulta"), janelaMenu::RelPedidoConsulta);
    addEntry(m_relatorios, QStringLiteral("C&lientes Inativos"), janelaMenu::RelClientesInativos);

    QMenu* janelaMenuBar = newMenu(nullptr, QStringLiteral("&Janela"), "menuJanela");
    connect(plainEntry(janelaMenuBar, QStringLiteral("&Lado a Lado"), "ladoALado"), &QAction::triggered,
            m_mdi, &QMdiArea::tileSubWindows);
    connect(plainEntry(janelaMenuBar, QStringLiteral("Em &Cascata"), "emCascata"), &QAction::triggered, m_mdi,
            &QMdiArea::cascadeSubWindows);
    connect(plainEntry(janelaMenuBar, QStringLiteral("&Organizar Ícones"), "organizarIcones"),
            &QAction::triggered, this, [this] { arrangeIcons(); });

    applyMenuRules();
}

void AppFrame::openSistemaMenu() {
    menuBar()->setActiveAction(m_sistema->menuAction());
}

void AppFrame::clipboard(const char* slot) {
    QWidget* target = QApplication::focusWidget();
    if (auto* combo = qobject_cast<QComboBox*>(target); combo && combo->lineEdit())
        target = combo->lineEdit();
    if (target && target->metaObject()->indexOfMethod(slot) >= 0) {
        const QByteArray name(slot, static_cast<qsizetype>(qstrlen(slot)) - 2);
        QMetaObject::invokeMethod(target, name.constData());
    }
}

void AppFrame::arrangeIcons() {
    // Minimised windows in a row along the bottom of the frame, left to right.
    int x = 0;
    const int bottom = m_mdi->viewport()->height();
    const auto windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* window : windows) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > m_mdi->viewport()->width())
            x = 0;
        window->move(x, bottom - size.height());
        x += size.width();
    }
}

void AppFrame::printerSetup() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    QPrintDialog dialog(m_printer.get(), this);
    dialog.setWindowTitle(QStringLiteral("Configurar Impressoras"));
    dialog.exec();
}

void AppFrame::closeEvent(QCloseEvent* event) {
    // Every child window closes first; one that refuses (unsaved changes kept) keeps the frame open.
    m_mdi->closeAllSubWindows();
    const auto windows = m_mdi->subWindowList();
    for (const QMdiSubWindow* window : windows)
        if (window->isVisible()) {
            event->ignore();
            return;
        }
    m_timer->stop();
    qApp->removeEventFilter(this);
    WindowRegistry::runClosingHooks();
    event->accept();
}

void AppFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && idEmpAtiva() != 0)
        refreshConfiguration();
    QMainWindow::changeEvent(event);
}

bool AppFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_mdi->viewport()) {
        if (event->type() == QEvent::Resize)
            m_mdi->setBackground(backgroundPicture(m_mdi->viewport()->size()));
        return false;
    }
    // A dialog that wrote records (an order released in its form) closes: the orders waiting to be
    // sent are counted again once it is gone.
    if (event->type() == QEvent::Hide && qobject_cast<QDialog*>(watched) &&
        m_geracaoStatus != Store::writeGeneration())
        QTimer::singleShot(0, this, [this] { updateStatusComunicacao(); });
    // Alt alone, or Alt+Space, opens "&Sistema" instead of the window's system menu.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Alt) {
            if (!key->isAutoRepeat())
                m_altAlone = true;
            return false;
        }
        m_altAlone = false;
        if (key->key() == Qt::Key_Space && (key->modifiers() & Qt::AltModifier)) {
            openSistemaMenu();
            return true;
        }
        return false;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Alt && m_altAlone) {
            m_altAlone = false;
            openSistemaMenu();
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::FocusOut:
        m_altAlone = false;
        return false;
    default:
        return false;
    }
}

} // namespace qav
