// The waits of the connection: every answer awaited with a limit and the user's request to stop
// heard, and the session's own limits on the server.
#include "sync/core/conexao/Conexao.h"

#include <algorithm>
#include <libpq-fe.h>

namespace qav::sync {

namespace {
// After an interruption the server answered, the rollback and the closing log row wait only this long.
constexpr int kEsperaAposInterrupcaoSegundos = 3;
} // namespace

QString Conexao::textoSemConexao() const {
    switch (m_falha) {
    case Falha::SemResposta:
        return textoSemResposta(m_limiteEsgotado);
    case Falha::Interrompida:
        return QStringLiteral("Comunicação interrompida pelo usuário");
    case Falha::Perdida:
        return QStringLiteral("Conexão com o servidor perdida!");
    case Falha::Nenhuma:
        break;
    }
    return QStringLiteral("sem conexão com o servidor");
}

void Conexao::abandonar(Falha falha) {
    if (m_conexao)
        PQfinish(m_conexao);
    m_conexao = nullptr;
    m_cursorAberto = false;
    m_falha = falha;
}

bool Conexao::aguardar(const QString& comando, ErroSql* erro) {
    if (!m_conexao) {
        *erro = erroDoServidor(comando, "08003");
        return false;
    }
    // Once the user stopped the run, what is still sent (the rollback, the closing row) only gets a
    // moment: the user is waiting for the window.
    const bool aposInterrupcao = m_falha == Falha::Interrompida;
    const int limite = aposInterrupcao ? std::min(m_limites.esperaSegundos, kEsperaAposInterrupcaoSegundos)
                                       : m_limites.esperaSegundos;
    const Espera espera = aguardarResultado(m_conexao, limite, aposInterrupcao ? nullptr : m_parar);
    switch (espera) {
    case Espera::Pronta:
        return true;
    case Espera::Falhou:
        // libpq noted the broken connection: the result that follows carries its reason.
        if (PQstatus(m_conexao) == CONNECTION_BAD || !PQisBusy(m_conexao))
            return true;
        abandonar(Falha::Perdida);
        break;
    case Espera::Interrompida:
        m_falha = Falha::Interrompida;
        // The server confirmed the cancel: its answer is there and the connection stays usable.
        if (!PQisBusy(m_conexao))
            return true;
        abandonar(Falha::Interrompida);
        break;
    case Espera::SemResposta:
        abandonar(aposInterrupcao ? Falha::Interrompida : Falha::SemResposta);
        m_limiteEsgotado = limite;
        break;
    }
    erro->comando = comando;
    erro->codigo = m_falha == Falha::Interrompida ? QStringLiteral("57014") : QStringLiteral("08006");
    erro->texto = m_falha == Falha::SemResposta ? textoSemResposta(limite) : textoSemConexao();
    return false;
}

bool Conexao::aguardarCopia(const QString& comando, ErroSql* erro) {
    if (!m_conexao) {
        *erro = erroDoServidor(comando, "08003");
        return false;
    }
    const bool aposInterrupcao = m_falha == Falha::Interrompida;
    const int limite = aposInterrupcao ? std::min(m_limites.esperaSegundos, kEsperaAposInterrupcaoSegundos)
                                       : m_limites.esperaSegundos;
    switch (aguardarDados(m_conexao, limite, aposInterrupcao ? nullptr : m_parar)) {
    case Espera::Pronta:
        return true;
    case Espera::Interrompida:
        // The server was asked to cancel: the rest of the stream is its answer, awaited briefly.
        m_falha = Falha::Interrompida;
        return true;
    case Espera::Falhou: {
        // The server or the network dropped the connection: said so before libpq's reason.
        const QString motivo = semSenha(doServidor(PQerrorMessage(m_conexao)));
        abandonar(Falha::Perdida);
        erro->comando = comando;
        erro->codigo = QStringLiteral("08006");
        erro->texto = QStringLiteral("Conexão com o servidor perdida!|") + motivo;
        return false;
    }
    case Espera::SemResposta:
        abandonar(aposInterrupcao ? Falha::Interrompida : Falha::SemResposta);
        m_limiteEsgotado = limite;
        break;
    }
    erro->comando = comando;
    erro->codigo = m_falha == Falha::Interrompida ? QStringLiteral("57014") : QStringLiteral("08006");
    erro->texto = m_falha == Falha::SemResposta ? textoSemResposta(limite) : textoSemConexao();
    return false;
}

void Conexao::aplicarLimitesSessao() {
    // A transaction of ours that the link left idle is ended by the server, which frees the order
    // numbering row it locked; a statement waiting for another session's lock gives up in time. Older
    // servers lack these settings.
    // The lock wait ends before the wait for an answer, so that a busy numbering row reads as such
    // and not as a server that does not answer.
    const int bloqueio = std::max(1, std::min(m_limites.bloqueioSegundos, m_limites.esperaSegundos - 1));
    const int versao = PQserverVersion(m_conexao);
    if (versao >= 90300)
        executar(QStringLiteral("SET lock_timeout = '%1s';").arg(bloqueio));
    if (versao >= 90600)
        executar(QStringLiteral("SET idle_in_transaction_session_timeout = '%1s';")
                     .arg(m_limites.ociosaEmTransacaoSegundos));
}

} // namespace qav::sync
