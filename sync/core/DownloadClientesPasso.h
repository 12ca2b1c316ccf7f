#pragma once
// What every download of the customers, their partners, the receivables and the order history does
// around its rows: the start and end rows of the run log, the progress line shown at most every 200
// rows or 100 ms, the stop request asked every 50 rows, and the rows streamed one at a time from the
// server. Each step writes its local tables inside one local transaction, so a step that fails or is
// stopped leaves its tables as they were.

#include "sync/core/ContextoComunicacao.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>

namespace qav::sync {

class PassoDownload {
public:
    PassoDownload(ContextoComunicacao& contexto, QString textoInicio);

    // The progress line for the row being processed, shown only when enough rows or time went by.
    void progresso(const std::function<QString()>& texto);
    // Counts a written row; false when the run was asked to stop (checked every few rows).
    bool contar();
    long long linhas() const { return m_linhas; }
    // "Atualizados " + count + suffix in the run log.
    void concluir(const QString& sufixo);

    // Walks the rows of `comando`; `porLinha` returns false to end the walk. False when the server
    // refused the statement (its text and the statement are shown) or when the walk was ended.
    bool percorrer(const QString& comando, const std::function<bool(const Linha&)>& porLinha);

private:
    ContextoComunicacao& m_contexto;
    QElapsedTimer m_relogio;
    long long m_linhas = 0;
    long long m_ultimaMostrada = -1;
};

// The salesperson's code and the dates the statements filter with.
int representante(const ContextoComunicacao& contexto);
// Today on the server less the days of history the company keeps.
Date inicioHistorico(const ContextoComunicacao& contexto);
// Whether the customer and history downloads run at all: not in an orders-only run, and only the form
// of the server's system.
bool passoRoda(const ContextoComunicacao& contexto, const char* sistema);

} // namespace qav::sync
