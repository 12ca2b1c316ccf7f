#include "app/widgets/BackupDialogs.h"
#include "ui/widgets/BusyCursor.h"

#include "app/core/Backup.h"
#include "store/core/Clock.h"
#include "ui/widgets/MessageBox.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace qav {

namespace {

std::optional<QString>& nextFileName() {
    static std::optional<QString> next;
    return next;
}

QString filter() {
    return QStringLiteral("Cópias de segurança (*.zip);;Todos os arquivos (*)");
}

QString& lastProposed() {
    static QString proposed;
    return proposed;
}

QString askFileName(QWidget* parent, bool save, const QString& proposed) {
    lastProposed() = proposed;
    if (std::optional<QString> answer = std::exchange(nextFileName(), std::nullopt))
        return *answer;
    return save ? QFileDialog::getSaveFileName(parent, QStringLiteral("Cópia de Segurança"), proposed,
                                               filter())
                : QFileDialog::getOpenFileName(parent, QStringLiteral("Restaura Cópia de Segurança"),
                                               proposed, filter());
}

QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

void setNextBackupFileName(std::optional<QString> fileName) {
    nextFileName() = std::move(fileName);
}

QString lastProposedBackupFileName() {
    return lastProposed();
}

QString defaultBackupDataFolder() {
    return QDir::cleanPath(QDir::current().filePath(QStringLiteral("../dados")));
}

bool copiaDeSeguranca(QWidget* parent, const QString& dataFolder) {
    const QString folder = dataFolder.isEmpty() ? defaultBackupDataFolder() : dataFolder;
    const Date today = Clock::today();
    const QString proposed =
        QDir(documentsFolder())
            .filePath(backup::defaultArchiveName(QDate(today.year(), today.month(), today.day())));
    QString archive = askFileName(parent, true, proposed);
    if (archive.isEmpty())
        return false;
    if (!archive.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        archive += QStringLiteral(".zip");

    backup::Result result;
    {
        BusyCursor busy;
        result = backup::createBackup(folder, archive);
    }
    if (!result.ok) {
        MessageBox::show(result.message, QStringLiteral("Erro"), Icon::Critical, {Button::Ok}, Button::Ok,
                         parent);
        return false;
    }
    const QString damaged = result.copiedAsIs.isEmpty()
                                ? QString()
                                : QStringLiteral("Tabelas danificadas, copiadas como estavam: %1.|")
                                      .arg(result.copiedAsIs.join(u", "));
    MessageBox::show(QStringLiteral("Cópia de segurança gravada em|%1|%2O programa será encerrado.")
                         .arg(shown(archive), damaged),
                     QStringLiteral("Aviso"), result.copiedAsIs.isEmpty() ? Icon::Information : Icon::Warning,
                     {Button::Ok}, Button::Ok, parent);
    return true;
}

bool restauraCopia(QWidget* parent, const QString& dataFolder) {
    const QString folder = dataFolder.isEmpty() ? defaultBackupDataFolder() : dataFolder;
    const QString archive = askFileName(parent, false, documentsFolder());
    if (archive.isEmpty())
        return false;

    backup::Result checked;
    {
        BusyCursor busy;
        checked = backup::checkBackup(archive);
    }
    if (!checked.ok) {
        MessageBox::show(checked.message, QStringLiteral("Erro"), Icon::Critical, {Button::Ok}, Button::Ok,
                         parent);
        return false;
    }
    const QString question =
        QStringLiteral("Os arquivos da pasta %1 serão substituídos pelos da cópia|%2.|"
                       "Os arquivos atuais serão guardados em uma pasta ao lado.|Confirma a restauração?")
            .arg(shown(folder), shown(archive));
    if (MessageBox::show(question, QStringLiteral("Confirma"), Icon::Question, {Button::Yes, Button::No},
                         Button::No, parent) != Button::Yes)
        return false;

    backup::Result result;
    {
        BusyCursor busy;
        result = backup::restoreBackup(archive, folder);
    }
    if (!result.ok) {
        MessageBox::show(result.message, QStringLiteral("Erro"), Icon::Critical, {Button::Ok}, Button::Ok,
                         parent);
        return false;
    }
    MessageBox::show(
        QStringLiteral("Cópia de segurança restaurada.|Os arquivos anteriores foram guardados em|%1|"
                       "O programa será encerrado.")
            .arg(shown(result.keptCopy)),
        QStringLiteral("Aviso"), Icon::Information, {Button::Ok}, Button::Ok, parent);
    return true;
}

} // namespace qav
