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
    : QDialog(parent), settings_(std::move(settings)) {
    setObjectName(QStringLiteral("SelecionaEmpresa"));
    setWindowTitle(QStringLiteral("Seleção de Empresa"));

    idEmpresa_ = new QLineEdit(this);
    idEmpresa_->setObjectName(QStringLiteral("idEmpresa"));
    idEmpresa_->setValidator(new QIntValidator(0, 999999999, idEmpresa_));
    idEmpresa_->setMaxLength(9);

    lista_ = new QTreeWidget(this);
    lista_->setObjectName(QStringLiteral("listaEmpresas"));
    lista_->setColumnCount(2);
    lista_->setHeaderLabels({QStringLiteral("Empresa"), QStringLiteral("Código")});
    lista_->setRootIsDecorated(false);
    lista_->setAllColumnsShowFocus(true);
    lista_->header()->setStretchLastSection(false);
    lista_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lista_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    pasta_ = new QComboBox(this);
    pasta_->setObjectName(QStringLiteral("pasta"));
    pasta_->setEditable(true);
    pasta_->setInsertPolicy(QComboBox::NoInsert);
    pasta_->lineEdit()->setMaxLength(pastaMaxLength);

    novaPasta_ = new QPushButton(QStringLiteral("&Nova Pasta"), this);
    novaPasta_->setObjectName(QStringLiteral("novaPasta"));
    novaPasta_->setAutoDefault(false);
    comunicacao_ = new QPushButton(QStringLiteral("Co&municação"), this);
    comunicacao_->setObjectName(QStringLiteral("comunicacao"));
    comunicacao_->setAutoDefault(false);
    ok_ = new QPushButton(MessageBox::buttonCaption(Button::Ok), this);
    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setDefault(true);
    cancelar_ = new QPushButton(MessageBox::buttonCaption(Button::Cancel), this);
    cancelar_->setObjectName(QStringLiteral("cancelar"));
    cancelar_->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    auto* labelPasta = new QLabel(QStringLiteral("&Pasta:"), this);
    labelPasta->setBuddy(pasta_);
    grid->addWidget(labelPasta, 0, 0);
    grid->addWidget(pasta_, 0, 1);
    grid->addWidget(novaPasta_, 0, 2);
    auto* labelEmpresa = new QLabel(QStringLiteral("&Empresa:"), this);
    labelEmpresa->setBuddy(idEmpresa_);
    grid->addWidget(labelEmpresa, 1, 0);
    grid->addWidget(idEmpresa_, 1, 1);
    grid->addWidget(lista_, 2, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(comunicacao_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancelar_);
    grid->addLayout(buttons, 3, 0, 1, 3);
    resize(460, 340);

    connect(lista_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            idEmpresa_->setText(item->text(1));
    });
    connect(lista_, &QTreeWidget::itemDoubleClicked, this, [this] { chooseCompany(); });
    connect(ok_, &QPushButton::clicked, this, [this] { chooseCompany(); });
    connect(cancelar_, &QPushButton::clicked, this, [this] { reject(); });
    connect(pasta_, &QComboBox::activated, this, [this](int index) {
        if (!selectFolder(pasta_->itemText(index)))
            updateControls();
    });
    // Enter in the folder field switches to the folder typed and nothing more: it must not also press
    // OK, which would close the window with a company the user never chose.
    pasta_->installEventFilter(this);
    pasta_->lineEdit()->installEventFilter(this);
    connect(novaPasta_, &QPushButton::clicked, this,
            [this] { createFolder(pasta_->currentText().trimmed()); });
    connect(comunicacao_, &QPushButton::clicked, this, [this] { runCommunication(); });
    auto* unlock = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), this);
    connect(unlock, &QShortcut::activated, this, [this] { unlockAdministration(); });

    updateControls();
}

bool SelecionaEmpresa::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == pasta_ || watched == pasta_->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (!selectFolder(pasta_->currentText().trimmed()))
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
    folders_ = buildFolderList(settings_);
    QString inicial = settings_.pasta();
    if (!folders_.contains(inicial))
        inicial = pastaPrincipal;
    // A folder that cannot be opened at all falls back to the main one.
    if (!selectFolder(inicial) && inicial != pastaPrincipal)
        selectFolder(pastaPrincipal);
    updateControls();
}

bool SelecionaEmpresa::selectFolder(const QString& pasta) {
    if (!folders_.contains(pasta)) {
        MessageBox::show(QStringLiteral("Pasta ") + quotedFolder(pasta) + QStringLiteral(" não existe!"),
                         QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok, this);
        return false;
    }
    closeEmpresa();
    const QString path = dataFolderPath(settings_.programFolder(), pasta);
    const UpgradeCheck check = ensureDatabaseCurrent(settings_, pasta, pasta);
    QStringList recusadas;
    if (!check.current && !QFileInfo(path).isDir()) {
        // Nothing to open there: the previous folder stays bound.
        if (!check.repeated)
            MessageBox::show(upgradeFailureText(check, pasta), QStringLiteral("Erro"), Icon::Critical,
                             {Button::Ok}, Button::Ok, this);
        if (!current_.isEmpty()) {
            store_ = std::make_unique<Store>(dataFolderPath(settings_.programFolder(), current_));
            empresa_ = std::make_unique<Table>(*store_, "empresa.tps");
            empresa_->open();
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

    current_ = pasta;
    bindFolder({pasta, path});
    store_ = std::make_unique<Store>(path);
    empresa_ = std::make_unique<Table>(*store_, "empresa.tps");
    if (!empresa_->open() && !recusadas.contains(QStringLiteral("empresa.tps"))) {
        setPendingError(empresa_->error());
        standardWarning(30, QDir::toNativeSeparators(store_->filePath(empresa_->def())), {}, this);
    }
    const int idAtivo = settings_.empresaDaPasta(pasta);
    setIdEmpAtiva(idAtivo);
    idEmpresa_->setText(idAtivo ? QString::number(idAtivo) : QString());
    fillCompanies(idAtivo);

    const QSignalBlocker block(pasta_);
    pasta_->clear();
    pasta_->addItems(folders_);
    pasta_->setCurrentIndex(static_cast<int>(folders_.indexOf(pasta)));
    updateControls();
    return true;
}

void SelecionaEmpresa::createFolder(const QString& pasta) {
    if (!validFolderName(pasta)) {
        MessageBox::show(textoPastaInvalida, QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok,
                         this);
        return;
    }
    if (!folders_.contains(pasta) && folderListFull(folders_)) {
        MessageBox::show(
            QStringLiteral("Limite de pastas atingido!|Podem ser lembradas até %1 pastas além de \"dados\".")
                .arg(Settings::pastasNumeradas),
            QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok, this);
        return;
    }
    const int error = createDataFolder(settings_.programFolder(), pasta);
    if (error != 0)
        MessageBox::show(QStringLiteral("Erro (") + QString::number(error) +
                             QStringLiteral(") ao criar pasta ") + quotedFolder(pasta) + QLatin1Char('!'),
                         QStringLiteral("Erro"), Icon::Critical, {Button::Ok}, Button::Ok, this);
    if (folders_.contains(pasta)) {
        MessageBox::show(QStringLiteral("Pasta já esiste!"), QStringLiteral("Aviso"), Icon::Warning,
                         {Button::Ok}, Button::Ok, this);
        return;
    }
    folders_ = withFolder(folders_, pasta);
    if (!selectFolder(pasta))
        updateControls();
}

void SelecionaEmpresa::unlockAdministration() {
    unlocked_ = true;
    updateControls();
}

void SelecionaEmpresa::fillCompanies(int idAtivo) {
    lista_->clear();
    if (!empresa_ || !empresa_->isOpen()) {
        updateControls();
        return;
    }
    QTreeWidgetItem* ativo = nullptr;
    empresa_->seekPhysical();
    while (empresa_->next() == Status::Ok) {
        auto* item = new QTreeWidgetItem(lista_);
        const int id = static_cast<int>(empresa_->rec().integer("ID_EMPRESA"));
        item->setText(0, text::rtrim(empresa_->rec().text("NOME")));
        item->setText(1, QString::number(id));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        if (id == idAtivo && !ativo)
            ativo = item;
    }
    if (ativo)
        lista_->setCurrentItem(ativo);
    updateControls();
}

void SelecionaEmpresa::updateControls() {
    const bool semEmpresas = lista_->topLevelItemCount() == 0;
    pasta_->setEnabled(unlocked_ || folders_.size() > 1);
    novaPasta_->setEnabled(unlocked_);
    const bool haComunicacao = WindowRegistry::has(janelaMenu::Comunicacao);
    comunicacao_->setEnabled(haComunicacao && (unlocked_ || semEmpresas));
    comunicacao_->setToolTip(haComunicacao ? QString() : unavailableEntryTip());
    if (current_.isEmpty())
        return;
    if (pasta_->currentText() != current_) {
        const QSignalBlocker block(pasta_);
        pasta_->setCurrentIndex(static_cast<int>(folders_.indexOf(current_)));
        pasta_->setEditText(current_);
    }
}

void SelecionaEmpresa::chooseCompany() {
    const int id = idEmpresa_->text().trimmed().toInt();
    bool found = false;
    if (empresa_ && empresa_->isOpen() && id != 0) {
        empresa_->clear();
        empresa_->rec().setInteger("ID_EMPRESA", id);
        found = empresa_->get("KEYID") == Status::Ok;
    }
    if (!found) {
        MessageBox::show(QStringLiteral("Empresa inválida!"), QStringLiteral("Aviso"), Icon::Warning,
                         {Button::Ok}, Button::Ok, this);
        idEmpresa_->setFocus();
        return;
    }
    nomeEmpresa_ = text::rtrim(empresa_->rec().text("NOME"));
    settings_.setEmpresaDaPasta(current_, id);
    setIdEmpAtiva(id);
    accept();
}

void SelecionaEmpresa::runCommunication() {
    setIdEmpAtiva(idEmpresa_->text().trimmed().toInt());
    WindowContext context;
    context.frame = this;
    context.programFolder = settings_.programFolder();
    context.endProgram = [this] { reject(); };
    // The communication run replaces the folder's tables: let it have them, then list again.
    closeEmpresa();
    WindowRegistry::open(janelaMenu::Comunicacao, context);
    if (!closed_)
        selectFolder(current_);
}

void SelecionaEmpresa::closeEmpresa() {
    if (empresa_ && empresa_->isOpen())
        empresa_->close();
    empresa_.reset();
    store_.reset();
}

void SelecionaEmpresa::done(int result) {
    if (!closed_) {
        closed_ = true;
        if (!current_.isEmpty())
            saveFolderList(settings_, folders_, current_);
        if (result != QDialog::Accepted)
            setIdEmpAtiva(0);
        closeEmpresa();
    }
    QDialog::done(result);
}

} // namespace qav
