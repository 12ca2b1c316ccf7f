#include "ui/core/ListContext.h"

#include "base/core/Session.h"

#include <QDir>

namespace qav {

ListContext ListContext::current() {
    return {boundFolder().path, idEmpAtiva(), QDir::currentPath()};
}

} // namespace qav
