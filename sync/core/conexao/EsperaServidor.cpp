#include "sync/core/conexao/EsperaServidor.h"

#include "base/core/Settings.h"

#include <QElapsedTimer>
#include <libpq-fe.h>
#include <thread>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <poll.h>
#endif

namespace qav::sync {

namespace {

// How often a wait looks at the user's request to stop.
constexpr int kFatiaMs = 100;
// After a cancel request, how long the server gets to say it cancelled before the wait gives up.
constexpr int kConfirmacaoCancelamentoMs = 2000;

enum class Sentido { Leitura, Escrita };

// Waits up to `ms` for the socket: 1 when it is ready, 0 when the time ran out, -1 on an error.
int esperarSocket(int socket, Sentido sentido, int ms) {
#ifdef _WIN32
    WSAPOLLFD p{};
    p.fd = static_cast<SOCKET>(socket);
    p.events = sentido == Sentido::Leitura ? POLLRDNORM : POLLWRNORM;
    const int r = WSAPoll(&p, 1, ms);
#else
    pollfd p{};
    p.fd = socket;
    p.events = sentido == Sentido::Leitura ? POLLIN : POLLOUT;
    const int r = poll(&p, 1, ms);
    if (r < 0 && errno == EINTR)
        return 0;
#endif
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

} // namespace

int esperaServidorConfigurada(const QString& pastaPrograma) {
    const int segundos =
        Settings(pastaPrograma)
            .qavIni()
            .readInt(QStringLiteral("Comunicacao"), QStringLiteral("EsperaServidor"), kEsperaServidorPadrao);
    return segundos >= 1 ? segundos : kEsperaServidorPadrao;
}

bool gravarEsperaServidor(const QString& pastaPrograma, int segundos) {
    return Settings(pastaPrograma)
        .qavIni()
        .writeInt(QStringLiteral("Comunicacao"), QStringLiteral("EsperaServidor"), segundos);
}

QString textoSemResposta(int segundos) {
    return QStringLiteral("Servidor não responde (%1 s)").arg(segundos);
}

void cancelarNoServidor(pg_conn* conexao) {
    PGcancel* cancelar = conexao ? PQgetCancel(conexao) : nullptr;
    if (!cancelar)
        return;
    // The request object lives apart from the connection, so the connection may be closed meanwhile.
    std::thread([cancelar] {
        char erro[256];
        PQcancel(cancelar, erro, sizeof erro);
        PQfreeCancel(cancelar);
    }).detach();
}

Espera aguardarResultado(pg_conn* conexao, int limiteSegundos, const std::function<bool()>& parar) {
    if (!conexao)
        return Espera::Falhou;
    const qint64 limiteMs = static_cast<qint64>(limiteSegundos > 0 ? limiteSegundos : 1) * 1000;
    QElapsedTimer desdeUltimoByte;
    desdeUltimoByte.start();
    QElapsedTimer desdeCancelamento;
    // A statement too large for the socket's buffer is still being sent: push the rest first.
    while (PQflush(conexao) == 1) {
        if (esperarSocket(PQsocket(conexao), Sentido::Escrita, kFatiaMs) < 0)
            return Espera::Falhou;
        if (desdeUltimoByte.elapsed() > limiteMs)
            return Espera::SemResposta;
    }
    while (PQisBusy(conexao)) {
        if (PQstatus(conexao) == CONNECTION_BAD)
            return Espera::Falhou;
        if (!desdeCancelamento.isValid() && parar && parar()) {
            cancelarNoServidor(conexao);
            desdeCancelamento.start();
        }
        if (desdeCancelamento.isValid() && desdeCancelamento.elapsed() > kConfirmacaoCancelamentoMs)
            return Espera::Interrompida;
        const int pronto = esperarSocket(PQsocket(conexao), Sentido::Leitura, kFatiaMs);
        if (pronto < 0)
            return Espera::Falhou;
        if (pronto > 0) {
            if (!PQconsumeInput(conexao))
                return Espera::Falhou;
            desdeUltimoByte.restart();
        } else if (desdeUltimoByte.elapsed() > limiteMs) {
            return desdeCancelamento.isValid() ? Espera::Interrompida : Espera::SemResposta;
        }
    }
    // The server confirmed the cancel (or finished first): the answer is there, the run still stops.
    return desdeCancelamento.isValid() ? Espera::Interrompida : Espera::Pronta;
}

Espera aguardarDados(pg_conn* conexao, int limiteSegundos, const std::function<bool()>& parar) {
    if (!conexao)
        return Espera::Falhou;
    const qint64 limiteMs = static_cast<qint64>(limiteSegundos > 0 ? limiteSegundos : 1) * 1000;
    QElapsedTimer desdeUltimoByte;
    desdeUltimoByte.start();
    for (;;) {
        if (PQstatus(conexao) == CONNECTION_BAD)
            return Espera::Falhou;
        if (parar && parar()) {
            cancelarNoServidor(conexao);
            return Espera::Interrompida;
        }
        const int pronto = esperarSocket(PQsocket(conexao), Sentido::Leitura, kFatiaMs);
        if (pronto < 0)
            return Espera::Falhou;
        if (pronto > 0)
            return PQconsumeInput(conexao) ? Espera::Pronta : Espera::Falhou;
        if (desdeUltimoByte.elapsed() > limiteMs)
            return Espera::SemResposta;
    }
}

pg_conn* conectarComLimite(const char* const* chaves, const char* const* valores, int limiteSegundos,
                           const std::function<bool()>& parar, Espera* como) {
    *como = Espera::Pronta;
    pg_conn* conexao = PQconnectStartParams(chaves, valores, 0);
    if (!conexao || PQstatus(conexao) == CONNECTION_BAD) {
        *como = Espera::Falhou;
        return conexao;
    }
    const qint64 limiteMs = static_cast<qint64>(limiteSegundos > 0 ? limiteSegundos : 1) * 1000;
    QElapsedTimer relogio;
    relogio.start();
    PostgresPollingStatusType estado = PGRES_POLLING_WRITING;
    while (estado != PGRES_POLLING_OK && estado != PGRES_POLLING_FAILED) {
        const Sentido sentido = estado == PGRES_POLLING_READING ? Sentido::Leitura : Sentido::Escrita;
        int pronto = 0;
        while (pronto == 0) {
            if (parar && parar()) {
                *como = Espera::Interrompida;
                return conexao;
            }
            if (relogio.elapsed() > limiteMs) {
                *como = Espera::SemResposta;
                return conexao;
            }
            pronto = esperarSocket(PQsocket(conexao), sentido, kFatiaMs);
        }
        estado = PQconnectPoll(conexao);
    }
    if (estado == PGRES_POLLING_FAILED)
        *como = Espera::Falhou;
    return conexao;
}

} // namespace qav::sync
