#pragma once
// Registers the query windows (receivables and order history) with the window registry.

namespace qav {

void registerQueryWindows();

} // namespace qav
