#pragma once
// Adding or changing a row of the manager database under the id this installation gives it.

#include "store/core/Table.h"
#include "sync/core/conexao/ComandoGravacao.h"
#include "sync/core/gerente/ContextoIntegracao.h"

#include <QStringList>
#include <functional>
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

// Rows written to the office in one statement: a round trip per few hundred rows instead of one to
// three per row, and statements of a few hundred kilobytes at most.
constexpr int kLinhasPorLote = 500;

// The rows `linhas` (each "(literal, literal, ...)" in the order of `colunas`) added to `tabela`, or,
// for those whose `chave` (a unique key of the table) is already there, written over that row: every
// column of `atualizadas` takes the row's new value ("EXCLUDED"), and each `(coluna, expressao)` of
// `extras` its expression (where the table's name is the row as it was).
QString comandoLote(const QString& tabela, const QStringList& colunas, const QStringList& linhas,
                    const QString& chave, const QStringList& atualizadas,
                    const std::vector<std::pair<QString, QString>>& extras = {});

// A batch of records as comandoLote takes it: the id column, the columns `valores` gives for each
// record, and "dt_atual" dated today; `atualizadas` are the record's own columns (neither the id nor
// the date).
struct LinhasLote {
    QStringList colunas, atualizadas, linhas;
};
LinhasLote linhasLote(const ContextoIntegracao& c, const QString& colunaId, const std::vector<Record>& lote,
                      const std::function<ValoresColunas(const ContextoIntegracao&, const Record&)>& valores);

// One step of the update in one transaction on the office: a failure (or a lost connection) leaves
// the office's tables as they were before the step. The step's rows go in batches; a batch the office
// refuses is undone back to the last batch that went, and its rows go again one at a time, so that
// the failure names the row and its reason as it always did.
class EtapaGerente {
public:
    explicit EtapaGerente(const ContextoIntegracao& c) : m_c(c) {}
    // An etapa left without concluir() is rolled back.
    ~EtapaGerente();
    EtapaGerente(const EtapaGerente&) = delete;
    EtapaGerente& operator=(const EtapaGerente&) = delete;

    // "begin;" and the first mark a refused batch goes back to; false with the error in `erro`.
    bool iniciar(ErroSql& erro);
    // Sends `comando` (a batch); when the office refuses it and the connection still serves,
    // everything since the last batch is undone and `umaAUma` writes the batch's rows one by one
    // (reporting its own failure). False with the error in `erro` when `umaAUma` was not called
    // (lost connection) or returned false (then `reportada` is true).
    bool enviar(const QString& comando, const std::function<bool()>& umaAUma, ErroSql& erro, bool& reportada);
    // "commit;", checked.
    bool concluir(ErroSql& erro);

private:
    const ContextoIntegracao& m_c;
    bool m_aberta = false;
};

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
