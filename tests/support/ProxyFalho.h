#pragma once
// A TCP proxy between the workstation and the test cluster that stops carrying bytes on command, as a
// hotel or mobile link does: the sockets stay open (no reset, no end of stream), nothing more goes
// through in either direction. Only the connection that met the trigger stops; connections opened
// afterwards (a cancel request, a second workstation, the next run) pass normally.
//
// POSIX sockets on a thread of its own; Linux and macOS only, like the cluster the tests start.

#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>

namespace qav::test {

class ProxyFalho {
public:
    // Where the link stops once a client sends bytes holding the trigger.
    enum class Momento {
        AntesDoComando,  // the statement never reaches the server
        DepoisDoComando, // the server gets it, its answer never reaches the client
        NaResposta,      // the server gets it, the first `bytesDaResposta` of its answer get through
        Fechar,          // the link drops: both sides see the connection closed
    };

    // Listens on 127.0.0.1 (port chosen by the system) and forwards to host:porta.
    ProxyFalho(const QString& host, int porta);
    ~ProxyFalho();
    ProxyFalho(const ProxyFalho&) = delete;
    ProxyFalho& operator=(const ProxyFalho&) = delete;

    int porta() const;
    // Arms the trigger for the next connection that sends `gatilho` (a statement's text).
    void pararQuando(const QByteArray& gatilho, Momento momento, int bytesDaResposta = 0);
    // Whether a connection has stopped.
    bool parou() const;
    // Connections accepted so far.
    int conexoes() const;

private:
    struct Estado;
    std::unique_ptr<Estado> m;
};

} // namespace qav::test
