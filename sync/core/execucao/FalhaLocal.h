#pragma once
// What a failed write to the data folder means to the user during a communication, and what to do:
// a full disk, a folder that may not be written, a damaged file. The store's error code alone
// ("Erro (90)") tells the user nothing.

#include "store/core/StoreError.h"

#include <QString>

namespace qav::sync {

// The advice that follows the failure's own line, starting with "|" ("" when the reason has no
// advice of its own).
QString oQueFazer(const StoreError& erro);

} // namespace qav::sync
