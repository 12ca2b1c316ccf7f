#pragma once
// The product list and the reference lists, registered for the menu entries that start them.

namespace qav {

void registerReferenceWindows();

} // namespace qav
