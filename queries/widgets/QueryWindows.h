#pragma once
// Registers the query windows (receivables and order history), the receivables report and the other
// reports of the menu with the window registry.

namespace qav {

void registerQueryWindows();

} // namespace qav
