#pragma once
// What the user hears once the connection has failed during a run. A server that stops answering, a
// link that drops, or the user's own "Interromper" makes every step after it fail too, each in its
// own words ("Empresa e/ou Vendedor/Representante não cadastrados...", "Erro SQL (08006)", ...), which
// only hides what happened. From the failure on, the run says once what happened and what to do, and
// keeps quiet about its consequences; a stop the user asked for is only written in the run log.

#include "sync/core/conexao/Conexao.h"
#include "sync/core/execucao/OuvinteComunicacao.h"

namespace qav::sync {

class OuvinteAposFalha : public OuvinteComunicacao {
public:
    // The office update has words of its own: `interrompida` for the log line of a stop the user asked
    // for, `oQueFazer` for the advice after a failed connection ("|..."; empty: the run's own).
    OuvinteAposFalha(OuvinteComunicacao& destino, const Conexao& conexao,
                     QString interrompida = QStringLiteral("Comunicação interrompida pelo usuário..."),
                     QString oQueFazer = {})
        : m_destino(destino), m_conexao(conexao), m_interrompida(std::move(interrompida)),
          m_oQueFazer(std::move(oQueFazer)) {}

    void registro(const QTime& hora, const QString& texto) override;
    void progresso(const QString& linha) override { m_destino.progresso(linha); }
    void contagem(long long feitas, long long esperadas) override { m_destino.contagem(feitas, esperadas); }
    void mensagem(const QString& titulo, const QString& texto, Icone icone) override;
    bool pergunta(const QString& titulo, const QString& texto) override;
    void abrirEndereco(const QString& endereco) override { m_destino.abrirEndereco(endereco); }
    bool pararSolicitado() override { return m_destino.pararSolicitado(); }

    // At the end of a failed run: the failure is told if no step has told it yet.
    void concluir();

private:
    void contarFalha();

    OuvinteComunicacao& m_destino;
    const Conexao& m_conexao;
    QString m_interrompida;
    QString m_oQueFazer;
    bool m_contada = false;
    bool m_interrupcaoRegistrada = false;
};

// The words of a connection failure: what happened and what to do (`oQueFazer`, "|..."; empty: a
// communication's advice).
QString textoFalhaConexao(Conexao::Falha falha, int segundos, const QString& oQueFazer = {});

} // namespace qav::sync
