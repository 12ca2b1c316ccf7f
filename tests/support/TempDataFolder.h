#pragma once
// A throw-away data folder with every local table created empty, for tests and benchmarks.

#include "store/core/Store.h"

#include <QTemporaryDir>
#include <memory>

namespace qav::test {

class TempDataFolder {
public:
    // `create`: create all 28 table files (otherwise the folder starts empty).
    explicit TempDataFolder(bool create = true);
    QString path() const { return m_dir.path(); }
    QString filePath(const char* fileName) const;
    Store& store() { return *m_store; }
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
};

} // namespace qav::test
