#include "tests/support/ProxyFalho.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace qav::test {

namespace {

struct Par {
    int cliente = -1;
    int servidor = -1;
    bool parado = false;
    bool armado = false;    // this pair met the trigger and waits for the server's answer to stop
    long long resposta = 0; // answer bytes still let through before it stops
    ~Par() {
        if (cliente >= 0)
            ::close(cliente);
        if (servidor >= 0)
            ::close(servidor);
    }
};

bool enviarTudo(int socket, const char* dados, ssize_t n) {
    while (n > 0) {
        const ssize_t enviados = ::send(socket, dados, static_cast<size_t>(n), MSG_NOSIGNAL);
        if (enviados < 0 && errno == EINTR)
            continue;
        if (enviados <= 0)
            return false;
        dados += enviados;
        n -= enviados;
    }
    return true;
}

} // namespace

struct ProxyFalho::Estado {
    int escuta = -1;
    int porta = 0;
    sockaddr_in destino{};
    std::atomic<bool> fim{false};
    std::atomic<bool> parou{false};
    std::atomic<int> conexoes{0};
    std::mutex mutex; // the trigger
    QByteArray gatilho;
    Momento momento = Momento::AntesDoComando;
    int bytesDaResposta = 0;
    std::vector<std::unique_ptr<Par>> pares;
    std::thread trabalho;

    void aceitar() {
        const int cliente = ::accept(escuta, nullptr, nullptr);
        if (cliente < 0)
            return;
        const int servidor = ::socket(AF_INET, SOCK_STREAM, 0);
        if (servidor < 0 ||
            ::connect(servidor, reinterpret_cast<const sockaddr*>(&destino), sizeof destino) != 0) {
            ::close(cliente);
            if (servidor >= 0)
                ::close(servidor);
            return;
        }
        auto par = std::make_unique<Par>();
        par->cliente = cliente;
        par->servidor = servidor;
        pares.push_back(std::move(par));
        ++conexoes;
    }

    void parar(Par& par) {
        par.parado = true;
        parou = true;
    }

    // Bytes from the client: forwarded, unless they hold the trigger.
    bool doCliente(Par& par) {
        char buffer[16384];
        const ssize_t n = ::recv(par.cliente, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        {
            std::lock_guard<std::mutex> trava(mutex);
            if (!gatilho.isEmpty() && QByteArray::fromRawData(buffer, n).contains(gatilho)) {
                gatilho.clear();
                if (momento == Momento::AntesDoComando) {
                    parar(par);
                    return true;
                }
                if (momento == Momento::Fechar) {
                    parou = true;
                    return false;
                }
                par.armado = true;
                par.resposta = momento == Momento::NaResposta ? bytesDaResposta : 0;
            }
        }
        if (!enviarTudo(par.servidor, buffer, n))
            return false;
        if (par.armado && par.resposta == 0)
            parar(par);
        return true;
    }

    bool doServidor(Par& par) {
        char buffer[16384];
        const size_t maximo = par.armado
                                  ? static_cast<size_t>(std::min<long long>(par.resposta, sizeof buffer))
                                  : sizeof buffer;
        const ssize_t n = ::recv(par.servidor, buffer, maximo, 0);
        if (n <= 0)
            return false;
        if (!enviarTudo(par.cliente, buffer, n))
            return false;
        if (par.armado) {
            par.resposta -= n;
            if (par.resposta <= 0)
                parar(par);
        }
        return true;
    }

    void laco() {
        while (!fim) {
            std::vector<pollfd> fds;
            fds.push_back({escuta, POLLIN, 0});
            std::vector<std::pair<Par*, bool>> donos; // pair, from the client
            for (auto& par : pares) {
                if (par->parado)
                    continue;
                fds.push_back({par->cliente, POLLIN, 0});
                donos.emplace_back(par.get(), true);
                fds.push_back({par->servidor, POLLIN, 0});
                donos.emplace_back(par.get(), false);
            }
            if (::poll(fds.data(), fds.size(), 50) <= 0)
                continue;
            if (fds[0].revents & POLLIN)
                aceitar();
            std::vector<Par*> fechar;
            for (size_t i = 1; i < fds.size(); ++i) {
                if (!fds[i].revents)
                    continue;
                auto [par, doCliente_] = donos[i - 1];
                if (par->parado)
                    continue;
                const bool ok = doCliente_ ? doCliente(*par) : doServidor(*par);
                if (!ok)
                    fechar.push_back(par);
            }
            // A side that closed closes the other: the end of stream goes through like any byte.
            std::erase_if(pares, [&](const std::unique_ptr<Par>& p) {
                return std::find(fechar.begin(), fechar.end(), p.get()) != fechar.end();
            });
        }
    }
};

ProxyFalho::ProxyFalho(const QString& host, int porta) : m(std::make_unique<Estado>()) {
    m->destino.sin_family = AF_INET;
    m->destino.sin_port = htons(static_cast<uint16_t>(porta));
    const QByteArray endereco =
        host == QStringLiteral("localhost") ? QByteArrayLiteral("127.0.0.1") : host.toLatin1();
    if (::inet_pton(AF_INET, endereco.constData(), &m->destino.sin_addr) != 1)
        throw std::runtime_error("proxy: the cluster's host is not an IPv4 address");
    m->escuta = ::socket(AF_INET, SOCK_STREAM, 0);
    const int sim = 1;
    ::setsockopt(m->escuta, SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t tamanho = sizeof local;
    if (::bind(m->escuta, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::listen(m->escuta, 16) != 0 ||
        ::getsockname(m->escuta, reinterpret_cast<sockaddr*>(&local), &tamanho) != 0)
        throw std::runtime_error("proxy: no listening socket");
    m->porta = ntohs(local.sin_port);
    m->trabalho = std::thread([this] { m->laco(); });
}

ProxyFalho::~ProxyFalho() {
    m->fim = true;
    m->trabalho.join();
    m->pares.clear();
    ::close(m->escuta);
}

int ProxyFalho::porta() const {
    return m->porta;
}

void ProxyFalho::pararQuando(const QByteArray& gatilho, Momento momento, int bytesDaResposta) {
    std::lock_guard<std::mutex> trava(m->mutex);
    m->gatilho = gatilho;
    m->momento = momento;
    m->bytesDaResposta = bytesDaResposta;
}

bool ProxyFalho::parou() const {
    return m->parou;
}

int ProxyFalho::conexoes() const {
    return m->conexoes;
}

} // namespace qav::test
