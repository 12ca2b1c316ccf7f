#include "sync/core/execucao/FalhaLocal.h"

#include <cerrno>

namespace qav::sync {

QString oQueFazer(const StoreError& erro) {
    constexpr int kDiscoCheio = 13; // SQLITE_FULL
    // A write the system refused for want of room says so by its error number even where the engine
    // reports it as a plain write error.
    const bool semEspaco = erro.systemCode == ENOSPC || erro.systemCode == EFBIG
#ifdef EDQUOT
                           || erro.systemCode == EDQUOT
#endif
        ;
    if ((erro.driverCode.toInt() & 0xff) == kDiscoCheio || semEspaco)
        return QStringLiteral("|Disco cheio: libere espaço no disco e faça a comunicação novamente.");
    if (erro.code == ErrorCode::AccessDenied || erro.systemCode == EROFS || erro.systemCode == EACCES)
        return QStringLiteral("|A pasta de dados está somente para leitura: peça a permissão de gravação e "
                              "faça a comunicação novamente.");
    if (erro.code == ErrorCode::InvalidDataFile)
        return QStringLiteral("|O arquivo está danificado: execute o qavbd para repará-lo ou restaure a "
                              "última cópia de segurança.");
    return {};
}

} // namespace qav::sync
