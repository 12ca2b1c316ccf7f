#pragma once
// The windows this build has, registered by name for the menu entries that start them.

namespace qav {

// Called once at start, before the main frame opens.
void registerWindows();

} // namespace qav
