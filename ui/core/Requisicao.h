#pragma once
// What a list asks of the form it opens for one record: a new record, a change, a deletion (the form
// shows the record read-only and asks to confirm) or a read-only look.

namespace qav {

enum class Requisicao { Inserir, Alterar, Excluir, Consultar };

} // namespace qav
