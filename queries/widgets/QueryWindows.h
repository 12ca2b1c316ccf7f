#pragma once
// Registers the query windows (receivables and order history) and the receivables report with the
// window registry.

namespace qav {

void registerQueryWindows();

} // namespace qav
