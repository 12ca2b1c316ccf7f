#pragma once
// Registers the server windows (the communication run) with the window registry.

namespace qav {

void registerSyncWindows();

} // namespace qav
