#include "tests/support/TempDataFolder.h"

#include "store/core/TableFile.h"

#include <QDir>
#include <stdexcept>

namespace qav::test {

TempDataFolder::TempDataFolder(bool create) : m_store(std::make_unique<Store>(m_dir.path())) {
    if (!create)
        return;
    for (const TableDef& table : catalogue()) {
        StoreError error;
        if (!createTableFile(filePath(table.fileName), table, &error))
            throw std::runtime_error(error.text.toStdString());
    }
}

QString TempDataFolder::filePath(const char* fileName) const {
    return QDir(m_dir.path()).filePath(QString::fromLatin1(fileName));
}

} // namespace qav::test
