#pragma once
// Error codes of the local table store. The numbers are the classic error codes of desktop record
// stores, which the standard warnings show in parentheses and which callers test for (89: the record
// was changed by another station since it was read).

#include <QString>
#include <cstdint>

namespace qav {

enum class ErrorCode : int {
    None = 0,
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    InvalidFileName = 26,
    FileLocked = 32,
    RecordNotAvailable = 33, // end of file in a walk
    RecordNotFound = 35,     // lookup found nothing
    FileNotOpen = 37,
    RecordHeld = 43, // another editor holds the record
    CreatesDuplicateKey = 40,
    InvalidDataFile = 47, // the file is not a table file, or is damaged
    InvalidKeyFile = 46,
    FileAlreadyOpen = 52,
    RecordChangedByAnotherStation = 89,
    FileSystemError = 90,          // reported by the storage engine: see driverText/driverCode
    StructureMismatch = 47 + 1000, // declared fields differ from the stored ones (upgrade needed)
};

struct StoreError {
    ErrorCode code = ErrorCode::None;
    QString text;       // readable text of the code
    QString driverText; // the storage engine's own message, for FileSystemError
    QString driverCode; // the storage engine's own code, for FileSystemError
    int systemCode = 0; // the system's error number behind a failed read or write (errno), when known

    bool isError() const { return code != ErrorCode::None; }
    int number() const { return static_cast<int>(code) >= 1000 ? 47 : static_cast<int>(code); }
};

// What a set operation did: the number of records it changed, or the error that stopped it (nothing
// of it then stays). The caller hands the error on to whatever reports it.
struct SetResult {
    std::int64_t records = 0;
    StoreError error;
    bool ok() const { return !error.isError(); }
};

// The readable text of a code ("Creates Duplicate Key", "Record Changed By Another Station", ...).
QString errorText(ErrorCode code);

} // namespace qav
