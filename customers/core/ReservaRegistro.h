#pragma once
// Reserving the id of a record whose form is opening: the record is added at once under the next
// free id, so that two windows never give the same id to two records; it is then held by the form
// and written over when the form is confirmed, or deleted when it is cancelled.

#include "store/core/Table.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace qav {

struct ReservaId {
    Status status = Status::Ok;
    StoreError erro;
    std::int64_t id = 0;
    // Every attempt met an id that another window took meanwhile (the auto-numbering failed).
    bool numeracaoFalhou = false;
    // The record was reserved but could not be held for its form, and was given back: `mensagem`
    // ("Erro (" code ") ao bloquear registro.") tells the user.
    bool bloqueioFalhou = false;
    QString mensagem;
};

// Adds the table's buffer under the id `proximo(highest id by `chave`)` in `campoId` (highest 0 for
// an empty file). A duplicate id means another window reserved it first: the next id is computed
// again, up to `tentativas` times. On success the buffer holds the added record.
ReservaId reservarId(Table& tabela, std::string_view chave, std::string_view campoId,
                     const std::function<std::int64_t(std::int64_t)>& proximo, int tentativas = 3);

// The highest value of `campoId` by the key `chave` (0 for an empty file); nothing when the table
// cannot be read (the reason in tabela.error()). The buffer is left as it was.
std::optional<std::int64_t> maiorId(Table& tabela, std::string_view chave, std::string_view campoId);

// Holds the reserved record of `reserva` for its form and reads it again. When it cannot be held the
// reservation fails with the table's error and its `mensagem`.
void bloquearReservado(Table& tabela, std::string_view chave, ReservaId& reserva);

} // namespace qav
