#include "base/core/Session.h"

#include <QMutex>
#include <atomic>

namespace qav {

namespace {

std::atomic<int> empresaAtiva{0};
QMutex folderMutex;
BoundFolder folder;

} // namespace

int idEmpAtiva() {
    return empresaAtiva.load();
}

void setIdEmpAtiva(int idEmpresa) {
    empresaAtiva.store(idEmpresa);
}

BoundFolder boundFolder() {
    QMutexLocker lock(&folderMutex);
    return folder;
}

void bindFolder(const BoundFolder& newFolder) {
    QMutexLocker lock(&folderMutex);
    folder = newFolder;
}

} // namespace qav
