#pragma once
// Adding or changing a row of the manager database under the id this installation gives it.

#include "store/core/Table.h"
#include "sync/core/conexao/ComandoGravacao.h"
#include "sync/core/gerente/ContextoIntegracao.h"

#include <optional>

namespace qav::sync {

// Whether `tabela` has a row whose `colunaId` is `id`; nullopt when the server refused the question
// (the error in `erro`).
std::optional<bool> existeNoGerente(const ContextoIntegracao& c, const QString& tabela,
                                    const QString& colunaId, long long id, ErroSql& erro);

// The row under `id`: changed when it exists; otherwise the table's id sequence is set to give `id`
// to the next row (`sequencia` empty when the id is written as a column) and the row is added.
// False with the error in `erro`; `novo` tells which of the two it was.
bool gravarNoGerente(const ContextoIntegracao& c, const QString& tabela, const QString& colunaId,
                     const QString& sequencia, long long id, const ValoresColunas& valores, bool& novo,
                     ErroSql& erro);

// The first record of a walk of `t` in the order of `chave` (a seek only positions the walk).
inline Status primeiro(Table& t, std::string_view chave) {
    const Status s = t.seekFirst(chave);
    return s == Status::Ok ? t.next() : s;
}
inline Status primeiroDesde(Table& t, std::string_view chave) {
    const Status s = t.seek(chave);
    return s == Status::Ok ? t.next() : s;
}

// The local value of a field as a literal of the connection: numbers as decimal text, texts quoted
// (Null when blank), dates as 'yyyy-mm-dd' (Null when none).
QString literalDoCampo(const ContextoIntegracao& c, const Record& r, const char* campo);

} // namespace qav::sync
