#pragma once
// What one update of the manager database knows while it runs: the local tables and the company it
// works for, the connection, the window's settings (the second product file's folder, the company on
// the manager database) and today's date. Every step reads it and reports through it.

#include "store/core/Date.h"
#include "store/core/Record.h"
#include "store/core/Store.h"
#include "sync/core/conexao/Conexao.h"
#include "sync/core/execucao/OuvinteComunicacao.h"

#include <QString>
#include <optional>

namespace qav::sync {

struct ContextoIntegracao {
    ContextoIntegracao(Store& s, Conexao& c, OuvinteComunicacao& o) : store(s), conexao(c), ouvinte(o) {}

    Store& store;
    Conexao& conexao;
    OuvinteComunicacao& ouvinte;

    int idEmpresa = 0;      // the active company of the local tables
    int empresaGerente = 0; // the company whose orders the manager database hands over
    QString pastaTps;       // folder of the second product file
    std::optional<Record> qavcfg;
    Date hoje;

    void registrar(const QString& texto) const { ouvinte.registro(QTime::currentTime(), texto); }
    void linhaProgresso(const QString& texto) const { ouvinte.progresso(texto); }
    void aviso(const QString& texto) const { ouvinte.mensagem(QStringLiteral("Aviso"), texto, Icone::Aviso); }
    void erro(const QString& titulo, const QString& texto) const {
        ouvinte.mensagem(titulo, texto, Icone::Erro);
    }
    void erro(const QString& texto) const { erro(QStringLiteral("Erro"), texto); }
    // "Erro SQL (code)": the server's text and the statement.
    void erroSql(const ErroSql& e) const {
        erro(QStringLiteral("Erro SQL (") + e.codigo + QLatin1Char(')'),
             e.texto + QStringLiteral("|Comando SQL: ") + e.comando);
    }
    // A row the manager database refused: "Erro (code)/what", the server's text, whether the row was
    // new and its id, and whatever else identifies it.
    void erroGravacao(const ErroSql& e, const char* oQue, bool novo, long long id,
                      const QString& extra = {}) const {
        erro(QStringLiteral("Erro (") + e.codigo + QStringLiteral(")/") + QString::fromUtf8(oQue),
             e.texto + QStringLiteral("|Novo: ") + QString::number(novo ? 1 : 0) + extra +
                 QStringLiteral("|Id: ") + QString::number(id));
    }
    bool parar() const { return ouvinte.pararSolicitado(); }
};

// A local company numbered above 9000 is known on the manager database by its number less 9000.
inline long long empresaNoGerente(long long idEmpresa) {
    return idEmpresa > 9000 ? idEmpresa - 9000 : idEmpresa;
}

} // namespace qav::sync
