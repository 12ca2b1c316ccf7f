#pragma once
// Whether a process of this machine is still running: a hold left by a program that ended (a crash,
// a power cut) must not lock a record for ever.

#include <cstdint>

namespace qav {

std::int64_t currentProcessId();
bool processIsRunning(std::int64_t processId);

} // namespace qav
