#pragma once
// Registers the order windows with the menu.

namespace qav {

void registerOrderWindows();

} // namespace qav
