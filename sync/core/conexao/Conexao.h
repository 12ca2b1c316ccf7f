#pragma once
// The one connection to the central PostgreSQL server that a communication run opens, uses for every
// step and drops at its end. Statements are SQL text built by the steps; the values inside them are
// written by the literal functions below, which escape them the way this server reads them, so that
// any text (quotes, backslashes, ";", "--", accented letters) arrives unchanged.

#include "base/core/Resultado.h"
#include "store/core/Date.h"
#include "store/core/Decimal.h"
#include "sync/core/conexao/CodificacaoServidor.h"
#include "sync/core/conexao/EsperaServidor.h"
#include "sync/core/conexao/ParametrosConexao.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct pg_conn;

namespace qav::sync {

struct ErroSql {
    QString codigo;  // SQLSTATE, "08006" for a lost connection
    QString texto;   // the server's message, never holding the password
    QString comando; // the statement
};

// A text changed on its way because the other side cannot hold one of its characters.
struct AjusteTexto {
    QString tabela;   // the server table written (empty for a text that came down)
    QString coluna;   // the column of the answer or of the table written
    QString original; // as it was
    QString ajustado; // as it was kept or sent
};

// One row of an answer, every column as the server writes it in text. A text with a character the
// local tables cannot hold (outside Windows-1252: an emoji, a zero-width space, a "⌀") arrives in its
// nearest plain form, and the row says which columns came so.
struct Linha {
    std::vector<QString> colunas;
    std::vector<bool> nulas;
    std::vector<AjusteTexto> ajustes;
    // The column's text (empty past the last column), valid until the next row is read into the line:
    // handed by reference, as a step reads millions of them.
    const QString& texto(size_t coluna) const {
        return coluna < colunas.size() ? colunas[coluna] : semTexto();
    }
    bool nula(size_t coluna) const { return coluna >= nulas.size() || nulas[coluna]; }
    // The column as a whole number, 0 when null or not a number.
    long long inteiro(size_t coluna) const;
    // The column as an exact decimal, 0 when null or not a number.
    Decimal decimal(size_t coluna) const;
    // A date or timestamp column ("2026-12-08", "2026-12-08 10:11:12"), no date when null.
    Date data(size_t coluna) const;

private:
    static const QString& semTexto();
};

class Conexao;

// The rows of one answer read one at a time as the server sends them, so that a large download never
// holds the whole answer in memory. No other statement runs on the connection while it is open.
class Cursor {
public:
    enum class Passo { Linha, Fim, Erro };
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;
    Passo proxima(Linha& linha);
    const ErroSql& erro() const { return m_erro; }

private:
    friend class Conexao;
    // A SELECT comes as the text rows of a COPY, which the server sends as one stream (far cheaper
    // than an answer per row), after the names of its columns; any other statement, a statement in
    // an open transaction or one the COPY form refused is read an answer per row.
    enum class Fase { Linhas, Nomes, Copia, Final };
    Cursor(Conexao& conexao, QString comando);
    bool enviarPorLinha();
    Passo lerNomes();
    Passo lerCopia(Linha& linha);
    void linhaDaCopia(const char* bytes, int tamanho, Linha& linha);
    void descartar();
    Conexao& m_conexao;
    ErroSql m_erro;
    bool m_aberto = true;
    Fase m_fase = Fase::Linhas;
    std::vector<QString> m_nomes; // the answer's column names, in the copy form
    QByteArray m_valor;           // a value with escapes, as it is read back
};

class Conexao {
public:
    Conexao();
    ~Conexao();
    Conexao(const Conexao&) = delete;
    Conexao& operator=(const Conexao&) = delete;

    // Opens the connection (after dropping any previous one), then finds the server's system ("zor" or
    // "gerente": the schema that holds a table `pedidos`) and PostgreSQL version. Not done: the
    // server's text (never the password) in `erro`.
    Resultado conectar(const ParametrosConexao& parametros);
    void desconectar();
    bool conectada() const;
    QString sistema() const { return m_sistema; }
    int versaoMaior() const { return m_versaoMaior; }

    // The limits of every wait on the server (EsperaServidor.h); set before conectar().
    void definirLimites(const LimitesConexao& limites) { m_limites = limites; }
    const LimitesConexao& limites() const { return m_limites; }
    // Asked several times a second while the server is awaited: true when the user asked to stop.
    void aoVerificarParada(std::function<bool()> parar) { m_parar = std::move(parar); }

    // Why the connection stopped serving the run. After SemResposta (and after an interruption the
    // server did not confirm) it is closed: every later statement fails at once instead of waiting
    // again. After a confirmed interruption it stays open for the rollback and the closing log row,
    // which are awaited only briefly.
    enum class Falha { Nenhuma, SemResposta, Interrompida, Perdida };
    Falha falha() const { return m_falha; }
    // The limit that ran out, in seconds, after SemResposta.
    int limiteEsgotado() const { return m_limiteEsgotado; }

    // Where statement errors are reported (the run shows them as "Erro SQL (code)").
    void aoErroSql(std::function<void(const ErroSql&)> sink) { m_sink = std::move(sink); }
    // Called when a text of a statement about to be sent had characters the database cannot hold and
    // goes in its nearest plain form.
    void aoAjusteTexto(std::function<void(const AjusteTexto&)> sink) { m_aoAjuste = std::move(sink); }
    // How texts cross the wire on this connection (from the database's encoding).
    const CodificacaoServidor& codificacao() const { return m_codificacao; }
    // Called with every statement before it is sent (benchmarks replay them with other tools).
    void aoComando(std::function<void(const QString&)> gravador) { m_gravador = std::move(gravador); }

    // The first column of the first row of the answer; for a statement that returns no row, "1" when
    // it went through, except a SELECT, which gives the empty text. An error is reported to the sink
    // and gives the empty text. So callers read empty as "no row" or "failed".
    QString querysql(const QString& comando);
    // A statement whose failure the caller must know (an INSERT of a log row, an order, a customer):
    // true when it went through; otherwise false with the error, which is not reported to the sink.
    bool executar(const QString& comando, ErroSql* erro = nullptr);
    // Every row of a small answer; nullopt on an error (in `erro`, not reported to the sink).
    std::optional<std::vector<Linha>> consultar(const QString& comando, ErroSql* erro = nullptr);
    // Several statements in one round trip, run one after the other exactly as if each went on its own:
    // the rows of each in `respostas`, in order, up to the first one the server refused, whose error
    // (naming that statement alone) is in `erro` (not reported to the sink); the ones after it did not
    // run. True when all went through.
    bool executarJuntos(const QStringList& comandos, std::vector<std::vector<Linha>>& respostas,
                        ErroSql* erro = nullptr);
    // The rows of an answer one by one.
    std::unique_ptr<Cursor> abrir(const QString& comando);
    // Sends a statement that only reads on a connection of its own to the same server, so that the
    // server works out its answer (a large sort takes it half a second) while the run's work goes on
    // here; the next abrir() of the very same text reads that answer. The statement must see every
    // write of the run: it goes once nothing more is written on the server. Each such connection
    // serves one statement and is closed once its rows have been read (a statement stopped halfway
    // is never followed by another on it); at most two wait at a time. When one cannot be opened (the
    // server's limit of connections), nothing more is sent ahead in this session.
    void antecipar(const QString& comando);

    bool iniciar() { return !querysql(QStringLiteral("begin;")).isEmpty(); }
    // The commit, and whether the server committed: a transaction that had already failed is answered
    // ROLLBACK without an error, and that is reported to the sink as the failure it is.
    bool confirmar(const QString& comando = QStringLiteral("commit;"));
    // The same, for a caller that shows the failure itself: `erro` says why, nothing is reported.
    bool confirmar(const QString& comando, ErroSql& erro);
    bool desfazer() { return !querysql(QStringLiteral("rollback;")).isEmpty(); }
    // Whether a transaction is open on the server (also one left open by a failed statement).
    bool emTransacao() const;

    // Literals. A text is quoted and escaped for this connection; an empty or blank text is Null. A
    // character the database cannot hold is replaced by its nearest plain form; the statement that
    // carries the literal reports it (aoAjusteTexto) when it is sent.
    QString texto(const QString& valor) const;
    // Always a quoted text, '' for an empty one (columns that do not take Null).
    QString textoSempre(const QString& valor) const;
    static QString numero(const Decimal& valor);
    static QString inteiro(long long valor);
    // 'yyyy-mm-dd', Null for no date.
    static QString data(Date valor);

    // The company whose rows of a shared table (such as "produtos") the company uses: the answer of
    // gestao.tabcomp, or the company itself when there is none. The last name asked is remembered.
    int empresaTabelaCompartilhada(const QString& nomeTabela, int idEmpresa);

private:
    friend class Cursor;
    void reportar(const ErroSql& erro);
    ErroSql erroDoServidor(const QString& comando, const char* codigo = nullptr) const;
    QString semSenha(const QString& texto) const;
    void detectarServidor();
    void escolherCodificacao();
    std::array<char32_t, 128> mapaDoServidor(const QString& codificacao);
    void anunciarAjustes(const QString& comando);
    QString doServidor(const char* texto) const;
    QString literalDe(const QString& valor) const;
    // The server's own limits for this session (lock wait, idle transaction).
    void aplicarLimitesSessao();
    // Waits for the next result of the statement in flight; false with the reason in `erro` when the
    // server did not answer or the user stopped the run (the connection then noted as failed).
    bool aguardar(const QString& comando, ErroSql* erro);
    // The same for the rows of a COPY: true when more bytes arrived (or the user's stop was passed on
    // to the server, which then ends the COPY).
    bool aguardarCopia(const QString& comando, ErroSql* erro);
    // Closes a connection that no longer answers, keeping the reason.
    void abandonar(Falha falha);
    // Why there is no connection to send a statement on.
    QString textoSemConexao() const;

    pg_conn* m_conexao = nullptr;
    ParametrosConexao m_parametros;
    // The statements sent ahead and not yet read, each on its own connection; the connections of
    // those handed out stay (closed once read) as long as this one, since their cursors name them.
    struct Antecipada {
        QString comando;
        Conexao* conexao;
        std::unique_ptr<Cursor> cursor;
    };
    std::vector<Antecipada> m_antecipadas;
    std::vector<std::unique_ptr<Conexao>> m_auxiliares;
    bool m_auxiliarRecusada = false;
    LimitesConexao m_limites;
    std::function<bool()> m_parar;
    Falha m_falha = Falha::Nenhuma;
    int m_limiteEsgotado = 0;
    QString m_senha;
    QString m_sistema;
    int m_versaoMaior = 0;
    std::function<void(const ErroSql&)> m_sink;
    std::function<void(const QString&)> m_gravador;
    std::function<void(const AjusteTexto&)> m_aoAjuste;
    CodificacaoServidor m_codificacao;
    // Texts adjusted by the literal functions whose statement has not gone yet: (literal, adjustment).
    mutable std::vector<std::pair<QString, AjusteTexto>> m_ajustesPendentes;
    bool m_cursorAberto = false;
    QString m_tabelaPerguntada;
    int m_empresaPerguntada = 0;
    int m_empresaRespondida = 0;
    ErroSql transacaoDesfeita(const QString& comando) const;
    QByteArray m_statusComando; // the command tag of the last answer ("COMMIT", "ROLLBACK", "INSERT 0 1")
};

} // namespace qav::sync
