#pragma once
// Opening and closing a query window wherever it was started: as a child of the frame's area when
// started from the menu, or over the window that asked for it (the order form) until it is closed.

#include "ui/widgets/WindowRegistry.h"

class QWidget;

namespace qav {

// Shows `janela` in the frame's area (remembering its position under `secao`), or, when the context
// has no area, as a modal window over `contexto.frame` and returns once it is closed.
void abrirJanela(const WindowContext& contexto, QWidget* janela, QStringView secao);

// Closes the window `janela` lives in (its MDI child, its dialog, or itself).
void fecharJanela(QWidget* janela);

} // namespace qav
