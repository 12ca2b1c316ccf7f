#pragma once
// How long the workstation waits for the central server, and what it does while it waits. A hotel or
// mobile link may stop carrying bytes without closing: the client then must not wait for good. Every
// answer is awaited on the socket with a limit counted from the last byte that arrived, the user's
// request to stop is looked at several times a second (the statement in flight is then cancelled on
// the server), and the server's own session is told to end a transaction of ours that the link left
// idle and not to wait long for another station's lock, so that a dead session of ours never holds
// the order numbering of every other workstation for hours.

#include <QString>
#include <functional>

struct pg_conn;

namespace qav::sync {

// The default of the communication window's setting: seconds without a byte from the server before a
// statement gives up.
inline constexpr int kEsperaServidorPadrao = 120;

struct LimitesConexao {
    int esperaSegundos = kEsperaServidorPadrao; // without a byte from the server
    int conexaoSegundos = 15;                   // to open the connection and log in
    int bloqueioSegundos = 30;                  // a statement waiting for another session's lock
    int ociosaEmTransacaoSegundos = 60;         // our transaction left idle: the server ends the session
    // TCP keepalives, so that the system notices a link that died while nothing was being sent.
    int keepaliveOciosoSegundos = 30;
    int keepaliveIntervaloSegundos = 10;
    int keepaliveTentativas = 3;
};

// How a wait on the server ended.
enum class Espera {
    Pronta,       // the answer (or the next row) is there
    SemResposta,  // no byte within the limit
    Interrompida, // the user asked to stop
    Falhou,       // the connection broke (libpq's error message tells why)
};

// Waits until libpq can hand over a result without blocking. While waiting it reads what arrives; the
// limit restarts with every byte. `parar`, when set, is asked several times a second: when it says
// yes the statement in flight is cancelled on the server and the wait gives the server a moment to
// confirm it before it ends as Interrompida.
Espera aguardarResultado(pg_conn* conexao, int limiteSegundos, const std::function<bool()>& parar);

// Waits until more bytes of a stream of rows (a COPY) have arrived and been read, with the same limit.
// When `parar` says yes, the statement is cancelled on the server and the wait ends as Interrompida
// at once: the server then ends the stream.
Espera aguardarDados(pg_conn* conexao, int limiteSegundos, const std::function<bool()>& parar);

// Asks the server to cancel what the session is doing, on a thread of its own so that a dead link
// never holds the caller (the request opens a second connection to the server).
void cancelarNoServidor(pg_conn* conexao);

// Opens a connection without blocking on a server that does not answer: the whole opening, login
// included, is bounded by `limiteSegundos`, and `parar` is asked while it goes on. nullptr only when
// memory ran out; otherwise the caller looks at PQstatus. `como` tells how the wait ended.
pg_conn* conectarComLimite(const char* const* chaves, const char* const* valores, int limiteSegundos,
                           const std::function<bool()>& parar, Espera* como);

// The setting of the communication window's advanced tab, kept with the program's options (qav.ini of
// the program folder, "Comunicacao" / "EsperaServidor"): it is about this notebook's link, not about
// the company. kEsperaServidorPadrao when unset; at least 1.
int esperaServidorConfigurada(const QString& pastaPrograma);
bool gravarEsperaServidor(const QString& pastaPrograma, int segundos);

// "Servidor não responde (120 s)".
QString textoSemResposta(int segundos);

} // namespace qav::sync
