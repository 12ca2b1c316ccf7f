#include "store/core/StoreError.h"

namespace qav {

QString errorText(ErrorCode code) {
    switch (code) {
    case ErrorCode::None:
        return {};
    case ErrorCode::FileNotFound:
        return QStringLiteral("File Not Found");
    case ErrorCode::PathNotFound:
        return QStringLiteral("Path Not Found");
    case ErrorCode::AccessDenied:
        return QStringLiteral("Access Denied");
    case ErrorCode::InvalidFileName:
        return QStringLiteral("Invalid File Name");
    case ErrorCode::FileLocked:
        return QStringLiteral("File Is Already Locked");
    case ErrorCode::RecordNotAvailable:
        return QStringLiteral("Record Not Available");
    case ErrorCode::RecordNotFound:
        return QStringLiteral("Record Not Found");
    case ErrorCode::FileNotOpen:
        return QStringLiteral("File Not Open");
    case ErrorCode::RecordHeld:
        return QStringLiteral("Record Is Already Held");
    case ErrorCode::CreatesDuplicateKey:
        return QStringLiteral("Creates Duplicate Key");
    case ErrorCode::InvalidDataFile:
        return QStringLiteral("Invalid Data File");
    case ErrorCode::InvalidKeyFile:
        return QStringLiteral("Invalid Key File");
    case ErrorCode::FileAlreadyOpen:
        return QStringLiteral("File Already Open");
    case ErrorCode::RecordChangedByAnotherStation:
        return QStringLiteral("Record Changed By Another Station");
    case ErrorCode::FileSystemError:
        return QStringLiteral("File System Error");
    case ErrorCode::StructureMismatch:
        // Shown under number 47: the stored record layout is not the one the program declares.
        return QStringLiteral("Invalid Record Declaration");
    }
    return QStringLiteral("Unknown Error");
}

} // namespace qav
