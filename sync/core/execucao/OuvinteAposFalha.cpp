#include "sync/core/execucao/OuvinteAposFalha.h"

namespace qav::sync {

namespace {
const QString kInterrompida = QStringLiteral("Comunicação interrompida pelo usuário...");
}

QString textoFalhaConexao(Conexao::Falha falha, int segundos, const QString& conselho) {
    const QString oQueFazer =
        !conselho.isEmpty()
            ? conselho
            : QStringLiteral("|Verifique a conexão com a internet e faça a comunicação novamente: os pedidos "
                             "não confirmados pelo servidor serão enviados então, uma única vez.");
    switch (falha) {
    case Conexao::Falha::SemResposta:
        return textoSemResposta(segundos) + QLatin1Char('.') + oQueFazer;
    case Conexao::Falha::Perdida:
        return QStringLiteral("Conexão com o servidor perdida!") + oQueFazer;
    case Conexao::Falha::Interrompida:
        return kInterrompida;
    case Conexao::Falha::Nenhuma:
        break;
    }
    return {};
}

void OuvinteAposFalha::registro(const QTime& hora, const QString& texto) {
    if (texto == m_interrompida) {
        if (m_interrupcaoRegistrada)
            return;
        m_interrupcaoRegistrada = true;
    }
    m_destino.registro(hora, texto);
}

void OuvinteAposFalha::contarFalha() {
    if (m_contada)
        return;
    m_contada = true;
    const Conexao::Falha falha = m_conexao.falha();
    if (falha == Conexao::Falha::Interrompida) {
        registro(QTime::currentTime(), m_interrompida);
        return;
    }
    if (falha == Conexao::Falha::SemResposta)
        registro(QTime::currentTime(), textoSemResposta(m_conexao.limiteEsgotado()));
    m_destino.mensagem(QStringLiteral("Erro"),
                       textoFalhaConexao(falha, m_conexao.limiteEsgotado(), m_oQueFazer), Icone::Erro);
}

void OuvinteAposFalha::mensagem(const QString& titulo, const QString& texto, Icone icone) {
    if (m_conexao.falha() == Conexao::Falha::Nenhuma) {
        m_destino.mensagem(titulo, texto, icone);
        return;
    }
    contarFalha();
}

bool OuvinteAposFalha::pergunta(const QString& titulo, const QString& texto) {
    if (m_conexao.falha() != Conexao::Falha::Nenhuma) {
        contarFalha();
        return false;
    }
    return m_destino.pergunta(titulo, texto);
}

void OuvinteAposFalha::concluir() {
    if (m_conexao.falha() != Conexao::Falha::Nenhuma)
        contarFalha();
    else if (m_destino.pararSolicitado())
        registro(QTime::currentTime(), m_interrompida);
}

} // namespace qav::sync
