#pragma once
// The Portuguese captions of the standard buttons, for every dialog of the process: the system's own
// message boxes already use them, and this gives the same captions to the toolkit's standard buttons
// (button boxes, printer and file dialogs): "&Ok,&Sim,&Não,&Abortar,&Repetir,&Ignorar,&Cancelar,&Ajuda".

namespace qav {

// Installs the captions into the running application; calling it again does nothing.
void installButtonCaptions();

} // namespace qav
