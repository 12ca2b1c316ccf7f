#include "tests/support/FailingDisk.h"

#include <atomic>
#include <sqlite3.h>

namespace qav::test {

namespace {

std::atomic<bool> g_failing{false};
sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_vfs;

struct FailingFile {
    sqlite3_file base;
    sqlite3_file* real; // the real file's state, kept just after this struct
};

sqlite3_file* real(sqlite3_file* file) {
    return reinterpret_cast<FailingFile*>(file)->real;
}

int fileClose(sqlite3_file* f) {
    return real(f)->pMethods->xClose(real(f));
}
int fileRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
    return real(f)->pMethods->xRead(real(f), buffer, amount, offset);
}
int fileWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
    return g_failing ? SQLITE_IOERR_WRITE : real(f)->pMethods->xWrite(real(f), buffer, amount, offset);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return g_failing ? SQLITE_IOERR_TRUNCATE : real(f)->pMethods->xTruncate(real(f), size);
}
int fileSync(sqlite3_file* f, int flags) {
    return g_failing ? SQLITE_IOERR_FSYNC : real(f)->pMethods->xSync(real(f), flags);
}
int fileSize(sqlite3_file* f, sqlite3_int64* size) {
    return real(f)->pMethods->xFileSize(real(f), size);
}
int fileLock(sqlite3_file* f, int level) {
    return real(f)->pMethods->xLock(real(f), level);
}
int fileUnlock(sqlite3_file* f, int level) {
    return real(f)->pMethods->xUnlock(real(f), level);
}
int fileCheckReservedLock(sqlite3_file* f, int* out) {
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int fileControl(sqlite3_file* f, int op, void* arg) {
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int fileSectorSize(sqlite3_file* f) {
    return real(f)->pMethods->xSectorSize(real(f));
}
int fileDeviceCharacteristics(sqlite3_file* f) {
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}

// Shared memory and memory mapping are left out (iVersion 1): the store uses the rollback journal.
const sqlite3_io_methods kMethods = {
    1,
    fileClose,
    fileRead,
    fileWrite,
    fileTruncate,
    fileSync,
    fileSize,
    fileLock,
    fileUnlock,
    fileCheckReservedLock,
    fileControl,
    fileSectorSize,
    fileDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int vfsOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* wrapper = reinterpret_cast<FailingFile*>(file);
    wrapper->real = reinterpret_cast<sqlite3_file*>(wrapper + 1);
    wrapper->base.pMethods = nullptr;
    const int rc = g_real->xOpen(g_real, name, wrapper->real, flags, outFlags);
    if (wrapper->real->pMethods)
        wrapper->base.pMethods = &kMethods;
    return rc;
}

int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) {
    return g_failing ? SQLITE_IOERR_DELETE : g_real->xDelete(g_real, name, syncDir);
}

} // namespace

FailingDisk::FailingDisk() {
    g_real = sqlite3_vfs_find(nullptr);
    g_vfs = *g_real;
    g_vfs.zName = "qav_failing_disk";
    g_vfs.szOsFile = static_cast<int>(sizeof(FailingFile)) + g_real->szOsFile;
    g_vfs.pNext = nullptr;
    g_vfs.xOpen = vfsOpen;
    g_vfs.xDelete = vfsDelete;
    g_failing = false;
    sqlite3_vfs_register(&g_vfs, 1);
}

FailingDisk::~FailingDisk() {
    g_failing = false;
    sqlite3_vfs_unregister(&g_vfs);
    sqlite3_vfs_register(g_real, 1);
}

void FailingDisk::setFailing(bool failing) {
    g_failing = failing;
}

} // namespace qav::test
