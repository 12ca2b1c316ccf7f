#pragma once
// What the user hears once the connection has failed during a run. A server that stops answering, a
// link that drops, or the user's own "Interromper" makes every step after it fail too, each in its
// own words ("Empresa e/ou Vendedor/Representante não cadastrados...", "Erro SQL (08006)", ...), which
// only hides what happened. From the failure on, the run says once what happened and what to do, and
// keeps quiet about its consequences; a stop the user asked for is only written in the run log.

#include "sync/core/Conexao.h"
#include "sync/core/OuvinteComunicacao.h"

namespace qav::sync {

class OuvinteAposFalha : public OuvinteComunicacao {
public:
    OuvinteAposFalha(OuvinteComunicacao& destino, const Conexao& conexao)
        : m_destino(destino), m_conexao(conexao) {}

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
    bool m_contada = false;
    bool m_interrupcaoRegistrada = false;
};

// The words of a connection failure: what happened and what to do.
QString textoFalhaConexao(Conexao::Falha falha, int segundos);

} // namespace qav::sync
