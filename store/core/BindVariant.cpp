#include "store/core/BindVariant.h"

#include <sqlite3.h>

namespace qav {

void bindVariant(sqlite3_stmt* statement, int parameter, const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        sqlite3_bind_int64(statement, parameter, value.toLongLong());
        break;
    case QMetaType::Double:
        sqlite3_bind_double(statement, parameter, value.toDouble());
        break;
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        sqlite3_bind_text(statement, parameter, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
    }
    }
}

} // namespace qav
