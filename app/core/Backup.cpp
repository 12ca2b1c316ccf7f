#include "app/core/Backup.h"

#include "base/core/ArquivoInteiro.h"
#include "base/core/IniFile.h"
#include "base/core/Version.h"
#include "dbtool/core/TableCheck.h"
#include "store/core/Clock.h"
#include "store/core/TableDef.h"
#include "store/core/TableSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <memory>
#include <sqlite3.h>
#include <zip.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace qav::backup {

namespace {

const QString kBdVer = QStringLiteral("bd.ver");
const QString kJournalSuffix = QStringLiteral("-journal");
constexpr qint64 kMaxBdVerSize = 4096;

QString fileNameOf(const TableDef& table) {
    return QString::fromLatin1(table.fileName);
}

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// The program's clock (fixed by the tests) as a date and time.
QDateTime clockDateTime() {
    const DateTimeParts now = Clock::now();
    return {QDate(now.date.year(), now.date.month(), now.date.day()),
            QTime(now.hour, now.minute, now.second)};
}

Result failure(const QString& message) {
    Result result;
    result.message = message;
    return result;
}

// Pushes a file's contents to the disk before it is renamed into place, so that a power cut right
// after the rename cannot leave an empty file under the final name.
bool syncFile(const QString& path) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
#else
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.flush();
#endif
}

// Renames over an existing file in one step (the file is either the old or the new one).
bool replaceFile(const QString& from, const QString& to, QString* why) {
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    if (ec && why)
        *why = QString::fromLocal8Bit(ec.message().c_str());
    return !ec;
}

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqlitePtr = std::unique_ptr<sqlite3, SqliteCloser>;

SqlitePtr openSqlite(const QString& path, int flags, QString* why) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    SqlitePtr db(raw);
    if (rc != SQLITE_OK) {
        if (why)
            *why = QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
        return nullptr;
    }
    sqlite3_busy_timeout(raw, 10000);
    return db;
}

// A consistent copy of a table file through the engine's online backup: a write in progress in
// another window is waited for, and a transaction left behind by a crash is rolled back first.
bool snapshotTable(const QString& source, const QString& target, QString* why, bool* unreadable) {
    SqlitePtr from = openSqlite(source, SQLITE_OPEN_READWRITE, why);
    if (!from)
        from = openSqlite(source, SQLITE_OPEN_READONLY, why); // a read-only medium
    if (!from)
        return false;
    SqlitePtr to = openSqlite(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, why);
    if (!to)
        return false;
    sqlite3_backup* copy = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (!copy) {
        *why = QString::fromUtf8(sqlite3_errmsg(to.get()));
        return false;
    }
    int rc = SQLITE_OK;
    for (int waited = 0;;) {
        rc = sqlite3_backup_step(copy, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || waited >= 15000)
            break;
        QThread::msleep(100);
        waited += 100;
    }
    sqlite3_backup_finish(copy);
    if (rc != SQLITE_DONE) {
        *why = QString::fromUtf8(sqlite3_errstr(rc));
        *unreadable = (rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT;
        return false;
    }
    if (sqlite3_errcode(to.get()) != SQLITE_OK) {
        *why = QString::fromUtf8(sqlite3_errmsg(to.get()));
        return false;
    }
    return true;
}

// A byte-for-byte copy of a table file taken while holding a read transaction on it, so that no
// write lands half-way through; a file the engine cannot read (damaged) is copied as it is.
bool copyExactly(const QString& source, const QString& target) {
    QString ignored;
    SqlitePtr db = openSqlite(source, SQLITE_OPEN_READWRITE, &ignored);
    bool reading = false;
    if (db && sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK)
        reading = sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) ==
                  SQLITE_OK;
    const bool copied = QFile::copy(source, target);
    if (reading)
        sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr);
    return copied && syncFile(target);
}

// --- archives ---

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

QString zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

// Why writing the archive failed: a full disk or a folder that may not be written in the user's
// words, any other reason as libzip tells it.
QString zipWriteError(zip_t* archive, const QString& archivePath) {
    zip_error_t* error = zip_get_error(archive);
    if (zip_error_system_type(error) == ZIP_ET_SYS && zip_error_code_system(error) != 0)
        return textoFalhaGravacao(zip_error_code_system(error), archivePath);
    return QString::fromUtf8(zip_error_strerror(error));
}

ZipPtr openArchive(const QString& path, int flags, QString* why) {
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), flags, &code);
    if (!archive && why)
        *why = zipErrorText(code);
    return ZipPtr(archive);
}

// An entry name we accept: exactly one of our file names, with no folder part. Anything else (a
// folder, "../x", an absolute name, a drive letter, another file) makes the archive foreign.
bool isKnownEntry(const QString& name) {
    if (name == kBdVer)
        return true;
    for (const TableDef& table : catalogue())
        if (name == fileNameOf(table))
            return true;
    return false;
}

struct Entry {
    zip_uint64_t index = 0;
    QString name;
    zip_uint64_t size = 0;
};

// Lists and checks the entries of an open archive.
bool listEntries(zip_t* archive, std::vector<Entry>* entries, QString* why) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    QSet<QString> seen;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS, &st) != 0 ||
            !(st.valid & ZIP_STAT_NAME) || !(st.valid & ZIP_STAT_SIZE)) {
            *why = QStringLiteral("o arquivo está danificado");
            return false;
        }
        const QString name = QString::fromUtf8(st.name);
        if (!isKnownEntry(name)) {
            *why = QStringLiteral("contém o arquivo \"%1\", que não é uma tabela do QAV+").arg(name);
            return false;
        }
        if (seen.contains(name)) {
            *why = QStringLiteral("contém o arquivo \"%1\" mais de uma vez").arg(name);
            return false;
        }
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
            *why = QStringLiteral("o arquivo \"%1\" está protegido por senha").arg(name);
            return false;
        }
        if (name == kBdVer && st.size > kMaxBdVerSize) {
            *why = QStringLiteral("o arquivo bd.ver não é válido");
            return false;
        }
        seen.insert(name);
        entries->push_back({static_cast<zip_uint64_t>(i), name, st.size});
    }
    for (const TableDef& table : catalogue())
        if (!seen.contains(fileNameOf(table))) {
            *why = QStringLiteral("falta a tabela %1").arg(fileNameOf(table));
            return false;
        }
    return true;
}

// Extracts one entry to `target`; the size and the checksum recorded in the archive must match.
bool extractEntry(zip_t* archive, const Entry& entry, const QString& target, QString* why) {
    zip_file_t* in = zip_fopen_index(archive, entry.index, 0);
    if (!in) {
        *why = QString::fromUtf8(zip_strerror(archive));
        return false;
    }
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        zip_fclose(in);
        *why = out.errorString();
        return false;
    }
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    zip_uint64_t total = 0;
    bool ok = true;
    for (;;) {
        const zip_int64_t n = zip_fread(in, buffer.data(), static_cast<zip_uint64_t>(buffer.size()));
        if (n < 0) { // includes a checksum that does not match
            *why = QString::fromUtf8(zip_file_strerror(in));
            ok = false;
            break;
        }
        if (n == 0)
            break;
        total += static_cast<zip_uint64_t>(n);
        if (total > entry.size || out.write(buffer.constData(), n) != n) {
            *why = total > entry.size ? QStringLiteral("tamanho incorreto") : out.errorString();
            ok = false;
            break;
        }
    }
    zip_fclose(in);
    if (ok && total != entry.size) {
        *why = QStringLiteral("tamanho incorreto");
        ok = false;
    }
    if (ok && !out.flush()) {
        *why = out.errorString();
        ok = false;
    }
    out.close();
    return ok && syncFile(target);
}

// Only our table, its key indexes, its search indexes with their triggers exactly as this program
// declares them, and the engine's own tables: no other table, no view, and no trigger that could run
// later on our writes.
bool holdsOnlyOurTable(const QString& path, const TableDef& table, QString* why) {
    SqlitePtr db = openSqlite(path, SQLITE_OPEN_READONLY, why);
    if (!db)
        return false;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.get(), "SELECT type, name, tbl_name, sql FROM sqlite_master", -1, &statement,
                           nullptr) != SQLITE_OK) {
        *why = QString::fromUtf8(sqlite3_errmsg(db.get()));
        return false;
    }
    const QString ours = table.tableName();
    bool ok = true;
    bool found = false;
    int rc;
    while (ok && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto text = [statement](int column) {
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
        };
        const QString type = text(0);
        const QString name = text(1);
        const auto declaredSearchObject = [&]() {
            for (const auto& [object, sql] : schema::searchIndexObjects(table))
                if (name.toStdString() == object)
                    return schema::normalisedSql(text(3).toStdString()) == schema::normalisedSql(sql);
            return false;
        };
        if (type == QLatin1String("table") && name.compare(ours, Qt::CaseInsensitive) == 0)
            found = true;
        else if ((type == QLatin1String("table") || type == QLatin1String("trigger")) &&
                 declaredSearchObject())
            continue;
        else if (type == QLatin1String("table") && schema::isSearchIndexShadow(table, name.toStdString()))
            continue;
        else if (type == QLatin1String("table") && name.startsWith(QLatin1String("sqlite_")))
            continue;
        else if (type == QLatin1String("index") && text(2).compare(ours, Qt::CaseInsensitive) == 0)
            continue;
        else
            ok = false;
    }
    if (ok && rc != SQLITE_DONE) {
        *why = QString::fromUtf8(sqlite3_errmsg(db.get()));
        sqlite3_finalize(statement);
        return false;
    }
    sqlite3_finalize(statement);
    if (!ok || !found)
        *why = QStringLiteral("não contém somente a tabela %1").arg(ours);
    return ok && found;
}

// Extracts the archive into `staging` and checks every file there; `names` gets the files extracted.
bool extractAndCheck(const QString& archivePath, const QString& staging, QStringList* names, QString* why) {
    if (!QFileInfo(archivePath).isFile()) {
        *why = QStringLiteral("arquivo não encontrado");
        return false;
    }
    QString zipWhy;
    ZipPtr archive = openArchive(archivePath, ZIP_RDONLY | ZIP_CHECKCONS, &zipWhy);
    if (!archive) {
        *why = QStringLiteral("não é um arquivo zip válido (%1)").arg(zipWhy);
        return false;
    }
    std::vector<Entry> entries;
    if (!listEntries(archive.get(), &entries, why))
        return false;
    zip_uint64_t needed = 0;
    for (const Entry& entry : entries)
        needed += entry.size;
    const QStorageInfo disk(staging);
    if (disk.isValid() && disk.bytesAvailable() >= 0 &&
        needed + (zip_uint64_t(1) << 20) > static_cast<zip_uint64_t>(disk.bytesAvailable())) {
        *why = QStringLiteral("não há espaço em disco para restaurá-la");
        return false;
    }
    for (const Entry& entry : entries) {
        QString entryWhy;
        if (!extractEntry(archive.get(), entry, QDir(staging).filePath(entry.name), &entryWhy)) {
            *why = QStringLiteral("o arquivo %1 está danificado (%2)").arg(entry.name, entryWhy);
            return false;
        }
        names->append(entry.name);
    }

    int version = -1;
    if (names->contains(kBdVer)) {
        version = IniFile(QDir(staging).filePath(kBdVer))
                      .readInt(QStringLiteral("QAVPlus"), QStringLiteral("VersaoBD"), -1);
        if (version < 0) {
            *why = QStringLiteral("o arquivo bd.ver não é válido");
            return false;
        }
    }
    for (const TableDef& table : catalogue()) {
        const QString path = QDir(staging).filePath(fileNameOf(table));
        QString tableWhy;
        if (!holdsOnlyOurTable(path, table, &tableWhy)) {
            *why = QStringLiteral("%1 não é uma tabela do QAV+ (%2)").arg(fileNameOf(table), tableWhy);
            return false;
        }
        StoreError error;
        const upgrade::CheckResult check = upgrade::checkTable(path, table, &error);
        // A table of an older structure is accepted only from an archive of an older database
        // version: the upgrade tool then brings it up to date at the next start.
        const bool older =
            check == upgrade::CheckResult::StructureDiffers && version >= 0 && version < versaoBdRequerida;
        if (check != upgrade::CheckResult::Ok && !older) {
            const QString detail = error.driverText.isEmpty() ? error.text : error.driverText;
            *why = check == upgrade::CheckResult::StructureDiffers
                       ? QStringLiteral("%1 tem outra estrutura").arg(fileNameOf(table))
                       : QStringLiteral("%1 não é uma tabela válida (%2)").arg(fileNameOf(table), detail);
            return false;
        }
    }
    return true;
}

QString refused(const QString& why) {
    return QStringLiteral("Este arquivo não é uma cópia de segurança válida do QAV+:|%1.|Nada foi alterado.")
        .arg(why);
}

// The files of the folder a restore replaces, in the order they are replaced.
QStringList ourFiles() {
    QStringList files;
    for (const TableDef& table : catalogue())
        files << fileNameOf(table);
    files << kBdVer;
    return files;
}

} // namespace

QString defaultArchiveName(const QDate& date) {
    return QStringLiteral("QAV_") + date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".zip");
}

QString keptCopyFolder(const QString& dataFolder, const QDateTime& when) {
    const QFileInfo info(QDir::cleanPath(QDir(dataFolder).absolutePath()));
    const QString base = info.absoluteDir().filePath(info.fileName() + QStringLiteral("-anterior-") +
                                                     when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")));
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = base + QLatin1Char('-') + QString::number(n);
    return candidate;
}

Result createBackup(const QString& dataFolder, const QString& archivePath) {
    const QDir data(dataFolder);
    for (const TableDef& table : catalogue())
        if (!QFileInfo(data.filePath(fileNameOf(table))).isFile())
            return failure(QStringLiteral("Arquivo não encontrado: %1|A cópia de segurança não foi feita.")
                               .arg(QDir::toNativeSeparators(data.filePath(fileNameOf(table)))));

    QTemporaryDir work;
    if (!work.isValid())
        return failure(
            QStringLiteral("Não foi possível criar uma pasta temporária:|%1").arg(work.errorString()));
    QStringList names;
    QStringList copiedAsIs;
    for (const TableDef& table : catalogue()) {
        QString why;
        bool unreadable = false;
        const QString source = data.filePath(fileNameOf(table));
        const QString copy = QDir(work.path()).filePath(fileNameOf(table));
        // A damaged table (an upgrade that failed on it, a disk error) is kept as it is: the backup
        // is how the user saves what is left before trying to repair the folder.
        if (!snapshotTable(source, copy, &why, &unreadable) &&
            !(unreadable && (!QFile::exists(copy) || QFile::remove(copy)) && copyExactly(source, copy)))
            return failure(QStringLiteral("Erro ao copiar %1:|%2|A cópia de segurança não foi feita.")
                               .arg(fileNameOf(table), why));
        if (unreadable)
            copiedAsIs << fileNameOf(table);
        names << fileNameOf(table);
    }
    if (QFileInfo(data.filePath(kBdVer)).isFile()) {
        if (!QFile::copy(data.filePath(kBdVer), QDir(work.path()).filePath(kBdVer)))
            return failure(QStringLiteral("Erro ao copiar bd.ver.|A cópia de segurança não foi feita."));
        names << kBdVer;
    }

    // Written beside the final name, checked, then renamed: a failure never leaves a half archive
    // under the chosen name, and an older archive of that name stays until the new one is complete.
    const QFileInfo target(archivePath);
    const QString temporary = target.absoluteDir().filePath(
        QStringLiteral(".%1.%2.tmp")
            .arg(target.fileName())
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    const auto abandon = [&temporary](const QString& why) {
        QFile::remove(temporary);
        return failure(QStringLiteral("Erro ao gravar a cópia de segurança:|%1").arg(why));
    };
    QString why;
    ZipPtr archive = openArchive(temporary, ZIP_CREATE | ZIP_EXCL, &why);
    if (!archive)
        return abandon(why);
    for (const QString& name : names) {
        zip_source_t* source = zip_source_file(
            archive.get(), QFile::encodeName(QDir(work.path()).filePath(name)).constData(), 0, 0);
        if (!source)
            return abandon(QString::fromUtf8(zip_strerror(archive.get())));
        const zip_int64_t index =
            zip_file_add(archive.get(), name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return abandon(QString::fromUtf8(zip_strerror(archive.get())));
        }
    }
    if (zip_close(archive.get()) != 0)
        return abandon(zipWriteError(archive.get(), archivePath));
    archive.release(); // closed and freed by zip_close

    // Read back: every entry readable with a matching checksum.
    ZipPtr written = openArchive(temporary, ZIP_RDONLY | ZIP_CHECKCONS, &why);
    if (!written)
        return abandon(why);
    std::vector<Entry> entries;
    if (!listEntries(written.get(), &entries, &why) || entries.size() != static_cast<size_t>(names.size()))
        return abandon(why.isEmpty() ? QStringLiteral("arquivo incompleto") : why);
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (const Entry& entry : entries) {
        zip_file_t* in = zip_fopen_index(written.get(), entry.index, 0);
        if (!in)
            return abandon(QString::fromUtf8(zip_strerror(written.get())));
        zip_int64_t n;
        while ((n = zip_fread(in, buffer.data(), static_cast<zip_uint64_t>(buffer.size()))) > 0) {
        }
        const QString readWhy = n < 0 ? QString::fromUtf8(zip_file_strerror(in)) : QString();
        zip_fclose(in);
        if (n < 0)
            return abandon(readWhy);
    }
    written.reset();
    if (!syncFile(temporary))
        return abandon(QStringLiteral("não foi possível gravar no disco"));
    if (!replaceFile(temporary, target.absoluteFilePath(), &why))
        return abandon(why);

    Result result;
    result.ok = true;
    result.tables = static_cast<int>(catalogue().size());
    result.copiedAsIs = copiedAsIs;
    return result;
}

Result checkBackup(const QString& archivePath) {
    QTemporaryDir staging;
    if (!staging.isValid())
        return failure(
            QStringLiteral("Não foi possível criar uma pasta temporária:|%1").arg(staging.errorString()));
    QStringList names;
    QString why;
    if (!extractAndCheck(archivePath, staging.path(), &names, &why))
        return failure(refused(why));
    Result result;
    result.ok = true;
    result.tables = static_cast<int>(catalogue().size());
    return result;
}

Result restoreBackup(const QString& archivePath, const QString& dataFolder, const RestoreHooks& hooks) {
    const QString folder = QDir::cleanPath(QDir(dataFolder).absolutePath());
    const QFileInfo folderInfo(folder);
    const QDir data(folder);
    if (!QDir().mkpath(folderInfo.absolutePath()))
        return failure(QStringLiteral("Não foi possível criar a pasta %1.")
                           .arg(QDir::toNativeSeparators(folderInfo.absolutePath())));

    // 1. The whole archive, extracted and checked beside the folder (the same disk, so the files
    //    move into place by renaming).
    QTemporaryDir staging(
        folderInfo.absoluteDir().filePath(folderInfo.fileName() + QStringLiteral("-restauracao-XXXXXX")));
    if (!staging.isValid())
        return failure(
            QStringLiteral("Não foi possível criar uma pasta temporária ao lado de %1:|%2|Nada foi alterado.")
                .arg(QDir::toNativeSeparators(folder), staging.errorString()));
    QStringList names;
    QString why;
    if (!extractAndCheck(archivePath, staging.path(), &names, &why))
        return failure(refused(why));
    if (!QDir().mkpath(folder))
        return failure(QStringLiteral("Não foi possível criar a pasta %1.|Nada foi alterado.")
                           .arg(QDir::toNativeSeparators(folder)));

    // 2. The current files kept, exactly as they are.
    const QString kept = keptCopyFolder(folder, clockDateTime());
    if (!QDir().mkpath(kept))
        return failure(QStringLiteral("Não foi possível criar a pasta %1.|Nada foi alterado.")
                           .arg(QDir::toNativeSeparators(kept)));
    QStringList present; // our files the folder had
    for (const QString& name : ourFiles()) {
        if (!QFileInfo(data.filePath(name)).isFile())
            continue;
        const bool copied = name == kBdVer ? QFile::copy(data.filePath(name), QDir(kept).filePath(name))
                                           : copyExactly(data.filePath(name), QDir(kept).filePath(name));
        if (!copied) {
            QDir(kept).removeRecursively();
            return failure(QStringLiteral("Erro ao guardar uma cópia de %1 em %2.|Nada foi alterado.")
                               .arg(name, QDir::toNativeSeparators(kept)));
        }
        present << name;
    }

    // 3. The swap, one file at a time; on a failure every file goes back to what it was.
    const auto putBack = [&](const QStringList& touched) {
        bool all = true;
        for (const QString& name : touched) {
            const QString target = data.filePath(name);
            if (present.contains(name)) {
                const QString temporary = target + QStringLiteral(".restaura");
                QFile::remove(temporary);
                all = QFile::copy(QDir(kept).filePath(name), temporary) && syncFile(temporary) &&
                      replaceFile(temporary, target, nullptr) && all;
            } else {
                all = (!QFileInfo::exists(target) || QFile::remove(target)) && all;
            }
        }
        return all;
    };
    QStringList touched;
    for (const QString& name : ourFiles()) {
        const QString target = data.filePath(name);
        const bool fromArchive = names.contains(name);
        if (!fromArchive && !present.contains(name))
            continue;
        touched << name;
        bool ok = !hooks.beforeReplace || hooks.beforeReplace(name);
        // A journal left by the replaced file must not be applied to the restored one.
        const QString journal = target + kJournalSuffix;
        if (ok && QFileInfo::exists(journal))
            ok = QFile::remove(journal);
        if (ok)
            // Without bd.ver in the archive the upgrade tool checks the restored tables next start.
            ok = fromArchive ? replaceFile(QDir(staging.path()).filePath(name), target, &why)
                             : QFile::remove(target);
        if (!ok) {
            const QString detail = why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why);
            const bool restored = putBack(touched);
            if (restored)
                QDir(kept).removeRecursively(); // the folder is as it was: the copy is not needed
            Result failed = failure(
                restored
                    ? QStringLiteral(
                          "Erro ao substituir %1%2.|Os arquivos da pasta foram mantidos como estavam.")
                          .arg(name, detail)
                    : QStringLiteral("Erro ao substituir %1%2.|Os arquivos anteriores estão guardados em %3.")
                          .arg(name, detail, QDir::toNativeSeparators(kept)));
            if (!restored)
                failed.keptCopy = kept;
            return failed;
        }
    }

    Result result;
    result.ok = true;
    result.keptCopy = kept;
    result.tables = static_cast<int>(catalogue().size());
    return result;
}

} // namespace qav::backup
