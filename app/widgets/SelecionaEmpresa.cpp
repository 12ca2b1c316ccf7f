#include "app/widgets/SelecionaEmpresa.h"

#include "app/core/DataFolders.h"
#include "app/core/DatabaseUpgrade.h"
#include "base/core/Session.h"
#include "store/core/Table.h"
#include "store/core/Text.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>

namespace qav {

namespace {

QString quotedFolder(const QString& pasta) {
    return QStringLiteral("\"..\\") + pasta + QLatin1Char('"');
}

} // namespace

SelecionaEmpresa::SelecionaEmpresa(Settings settings, QWidget* parent)
    : QDialog(parent), m_settings(std::move(settings)) {
    setObjectName(QStringLiteral("SelecionaEmpresa"));
    setWindowTitle(QStringLiteral("Seleção de Empresa"));

    m_idEmpresa = new QLineEdit(this);
    m_idEmpresa->setObjectName(QStringLiteral("idEmpresa"));
    m_idEmpresa->setValidator(new QIntValidator(0, 999999999, m_idEmpresa));
    m_idEmpresa->setMaxLength(9);

    m_lista = new QTreeWidget(this);
    m_lista->setObjectName(QStringLiteral("listaEmpresas"));
    m_lista->setColumnCount(2);
    m_lista->setHeaderLabels({QStringLiteral("Empresa"), QStringLiteral("Código")});
    m_lista->setRootIsDecorated(false);
    m_lista->setAllColumnsShowFocus(true);
    m_lista->header()->setStretchLastSection(false);
    m_lista->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_lista->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    m_pasta = new QComboBox(this);
    m_pasta->setObjectName(QStringLiteral("pasta"));
    m_pasta->setEditable(true);
    m_pasta->setInsertPolicy(QComboBox::NoInsert);
    m_pasta->lineEdit()->setMaxLength(pastaMaxLength);

    m_novaPasta = new QPushButton(QStringLiteral("&Nova Pasta"), this);
    m_novaPasta->setObjectName(QStringLiteral("novaPasta"));
    m_novaPasta->setAutoDefault(false);
    m_comunicacao = new QPushButton(QStringLiteral("Co&municação"), this);
    m_comunicacao->setObjectName(QStringLiteral("comunicacao"));
    m_comunicacao->setAutoDefault(false);
    m_ok = new QPushButton(MessageBox::buttonCaption(Button::Ok), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_cancelar = new QPushButton(MessageBox::buttonCaption(Button::Cancel), this);
    m_cancelar->setObjectName(QStringLiteral("cancelar"));
    m_cancelar->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    auto* labelPasta = new QLabel(QStringLiteral("&Pasta:"), this);
    labelPasta->setBuddy(m_pasta);
    grid->addWidget(labelPasta, 0, 0);
    grid->addWidget(m_pasta, 0, 1);
    grid->addWidget(m_novaPasta, 0, 2);
    auto* labelEmpresa = new QLabel(QStringLiteral("&Empresa:"), this);
    labelEmpresa->setBuddy(m_idEmpresa);
    grid->addWidget(labelEmpresa, 1, 0);
    grid->addWidget(m_idEmpresa, 1, 1);
    grid->addWidget(m_lista, 2, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_comunicacao);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancelar);
    grid->addLayout(buttons, 3, 0, 1, 3);
    resize(460, 340);

    connect(m_lista, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            m_idEmpresa->setText(item->text(1));
    });
    connect(m_lista, &QTreeWidget::itemDoubleClicked, this, [this] { chooseCompany(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { chooseCompany(); });
    connect(m_cancelar, &QPushButton::clicked, this, [this] { reject(); });
    connect(m_pasta, &QComboBox::activated, this, [this](int index) {
        if (!selectFolder(m_pasta->itemText(index)))
            updateControls();
    });
    // Enter in the folder field switches to the folder typed and nothing more: it must not also press
    // OK, which would close the window with a company the user never chose.
    m_pasta->installEventFilter(this);
    m_pasta->lineEdit()->installEventFilter(this);
    connect(m_novaPasta, &QPushButton::clicked, this,
            [this] { createFolder(m_pasta->currentText().trimmed()); });
    connect(m_comunicacao, &QPushButton::clicked, this, [this] { runCommunication(); });
    auto* unlock = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), this);
    connect(unlock, &QShortcut::activated, this, [this] { unlockAdministration(); });

    updateControls();
}

bool SelecionaEmpresa::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_pasta || watched == m_pasta->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (!selectFolder(m_pasta->currentText().trimmed()))
                updateControls();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

SelecionaEmpresa::~SelecionaEmpresa() {
    closeEmpresa();
}

int SelecionaEmpresa::run() {
    prepare();
    return exec() == QDialog::Accepted ? Escolhida : Cancelada;
}

void SelecionaEmpresa::prepare() {
    m_folders = buildFolderList(m_settings);
    QString inicial = m_settings.pasta();
    if (!m_folders.contains(inicial))
        inicial = pastaPrincipal;
    // A folder that cannot be opened at all falls back to the main one.
    if (!selectFolder(inicial) && inicial != pastaPrincipal)
        selectFolder(pastaPrincipal);
    updateControls();
}

bool SelecionaEmpresa::selectFolder(const QString& pasta) {
    if (!m_folders.contains(pasta)) {
        MessageBox::show(QStringLiteral("Pasta ") + quotedFolder(pasta) + QStringLiteral(" não existe!"),
                         QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok, this);
        return false;
    }
    closeEmpresa();
    const QString path = dataFolderPath(m_settings.programFolder(), pasta);
    const UpgradeCheck check = ensureDatabaseCurrent(m_settings, pasta, pasta);
    QStringList recusadas;
    if (!check.current && !QFileInfo(path).isDir()) {
        // Nothing to open there: the previous folder stays bound.
        if (!check.repeated)
            MessageBox::show(upgradeFailureText(check, pasta), QStringLiteral("Erro"), Icon::Critical,
                             {Button::Ok}, Button::Ok, this);
        if (!m_current.isEmpty()) {
            m_store = std::make_unique<Store>(dataFolderPath(m_settings.programFolder(), m_current));
            m_empresa = std::make_unique<Table>(*m_store, "empresa.tps");
            m_empresa->open();
        }
        return false;
    }
    if (!check.current) {
        // The folder is opened all the same: the store refuses only the tables that are not current,
        // and its companies can still be chosen to back up, restore or communicate.
        recusadas = tabelasRecusadas(path);
        if (!check.repeated)
            MessageBox::show(upgradeReport(check, pasta, path, recusadas), QStringLiteral("Erro"),
                             Icon::Critical, {Button::Ok}, Button::Ok, this);
    }

    m_current = pasta;
    bindFolder({pasta, path});
    m_store = std::make_unique<Store>(path);
    m_empresa = std::make_unique<Table>(*m_store, "empresa.tps");
    if (!m_empresa->open() && !recusadas.contains(QStringLiteral("empresa.tps"))) {
        standardWarning(Aviso::ErroAcessoArquivo, m_empresa->error(),
                        QDir::toNativeSeparators(m_store->filePath(m_empresa->def())), {}, this);
    }
    const int idAtivo = m_settings.empresaDaPasta(pasta);
    setIdEmpAtiva(idAtivo);
    m_idEmpresa->setText(idAtivo ? QString::number(idAtivo) : QString());
    fillCompanies(idAtivo);

    const QSignalBlocker block(m_pasta);
    m_pasta->clear();
    m_pasta->addItems(m_folders);
    m_pasta->setCurrentIndex(static_cast<int>(m_folders.indexOf(pasta)));
    updateControls();
    return true;
}

void SelecionaEmpresa::createFolder(const QString& pasta) {
    if (!validFolderName(pasta)) {
        MessageBox::show(textoPastaInvalida, QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok,
                         this);
        return;
    }
    if (!m_folders.contains(pasta) && folderListFull(m_folders)) {
        MessageBox::show(
            QStringLiteral("Limite de pastas atingido!|Podem ser lembradas até %1 pastas além de \"dados\".")
                .arg(Settings::pastasNumeradas),
            QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok, this);
        return;
    }
    const int error = createDataFolder(m_settings.programFolder(), pasta);
    if (error != 0)
        MessageBox::show(QStringLiteral("Erro (") + QString::number(error) +
                             QStringLiteral(") ao criar pasta ") + quotedFolder(pasta) + QLatin1Char('!'),
                         QStringLiteral("Erro"), Icon::Critical, {Button::Ok}, Button::Ok, this);
    if (m_folders.contains(pasta)) {
        MessageBox::show(QStringLiteral("Pasta já esiste!"), QStringLiteral("Aviso"), Icon::Warning,
                         {Button::Ok}, Button::Ok, this);
        return;
    }
    m_folders = withFolder(m_folders, pasta);
    if (!selectFolder(pasta))
        updateControls();
}

void SelecionaEmpresa::unlockAdministration() {
    m_unlocked = true;
    updateControls();
}

void SelecionaEmpresa::fillCompanies(int idAtivo) {
    m_lista->clear();
    if (!m_empresa || !m_empresa->isOpen()) {
        updateControls();
        return;
    }
    QTreeWidgetItem* ativo = nullptr;
    m_empresa->seekPhysical();
    while (m_empresa->next() == Status::Ok) {
        auto* item = new QTreeWidgetItem(m_lista);
        const int id = static_cast<int>(m_empresa->rec().integer("ID_EMPRESA"));
        item->setText(0, text::rtrim(m_empresa->rec().text("NOME")));
        item->setText(1, QString::number(id));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        if (id == idAtivo && !ativo)
            ativo = item;
    }
    if (ativo)
        m_lista->setCurrentItem(ativo);
    updateControls();
}

void SelecionaEmpresa::updateControls() {
    const bool semEmpresas = m_lista->topLevelItemCount() == 0;
    m_pasta->setEnabled(m_unlocked || m_folders.size() > 1);
    m_novaPasta->setEnabled(m_unlocked);
    const bool haComunicacao = WindowRegistry::has(janelaMenu::Comunicacao);
    m_comunicacao->setEnabled(haComunicacao && (m_unlocked || semEmpresas));
    m_comunicacao->setToolTip(haComunicacao ? QString() : unavailableEntryTip());
    if (m_current.isEmpty())
        return;
    if (m_pasta->currentText() != m_current) {
        const QSignalBlocker block(m_pasta);
        m_pasta->setCurrentIndex(static_cast<int>(m_folders.indexOf(m_current)));
        m_pasta->setEditText(m_current);
    }
}

void SelecionaEmpresa::chooseCompany() {
    const int id = m_idEmpresa->text().trimmed().toInt();
    bool found = false;
    if (m_empresa && m_empresa->isOpen() && id != 0) {
        m_empresa->clear();
        m_empresa->rec().setInteger("ID_EMPRESA", id);
        found = m_empresa->get("KEYID") == Status::Ok;
    }
    if (!found) {
        MessageBox::show(QStringLiteral("Empresa inválida!"), QStringLiteral("Aviso"), Icon::Warning,
                         {Button::Ok}, Button::Ok, this);
        m_idEmpresa->setFocus();
        return;
    }
    m_nomeEmpresa = text::rtrim(m_empresa->rec().text("NOME"));
    m_settings.setEmpresaDaPasta(m_current, id);
    setIdEmpAtiva(id);
    accept();
}

void SelecionaEmpresa::runCommunication() {
    setIdEmpAtiva(m_idEmpresa->text().trimmed().toInt());
    WindowContext context;
    context.frame = this;
    context.programFolder = m_settings.programFolder();
    context.endProgram = [this] { reject(); };
    // The communication run replaces the folder's tables: let it have them, then list again.
    closeEmpresa();
    WindowRegistry::open(janelaMenu::Comunicacao, context);
    if (!m_closed)
        selectFolder(m_current);
}

void SelecionaEmpresa::closeEmpresa() {
    if (m_empresa && m_empresa->isOpen())
        m_empresa->close();
    m_empresa.reset();
    m_store.reset();
}

void SelecionaEmpresa::done(int result) {
    if (!m_closed) {
        m_closed = true;
        if (!m_current.isEmpty())
            saveFolderList(m_settings, m_folders, m_current);
        if (result != QDialog::Accepted)
            setIdEmpAtiva(0);
        closeEmpresa();
    }
    QDialog::done(result);
}

} // namespace qav
