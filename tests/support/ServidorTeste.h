#pragma once
// A throw-away database on the test cluster that holds the central server's schemas as the
// workstation expects them (sync/server/*.sql), optionally with the test data, and is dropped again
// when the object goes - also when the test failed.
//
// The cluster comes from the environment that scripts/pg-cluster.sh prints (scripts/test.sh sets
// it): QAV_TEST_PGHOST, QAV_TEST_PGPORT, QAV_TEST_PGUSER (a role that may create databases and
// connects without a password), QAV_TEST_PGPASSUSER and QAV_TEST_PGPASSWORD (a role that must give
// its password). Without that environment the object is not valid and says why: use
// QAV_SERVIDOR_TESTE so that a test needing the server fails instead of passing silently.

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

struct pg_conn;

namespace qav::test {

// A statement the test database refused: the server's message and the statement.
class ErroServidorTeste : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ServidorTeste {
public:
    // The server's kind: the company's ERP (schemas gestao and zor) or a sales office's manager
    // database (schemas gestao, gerente and expzor).
    enum class Esquema { Zor, Gerente };
    // Empty tables, or the test data of sync/server/seed_teste*.sql.
    enum class Dados { Vazio, Teste };

    // `codificacao` is the database's encoding ("UTF8", "LATIN1", "WIN1252", "SQL_ASCII", ...); the
    // others than UTF8 are made with the C locale, as the offices' older servers are.
    explicit ServidorTeste(Esquema esquema, Dados dados = Dados::Teste,
                           const QString& codificacao = QStringLiteral("UTF8"));
    ~ServidorTeste();
    ServidorTeste(const ServidorTeste&) = delete;
    ServidorTeste& operator=(const ServidorTeste&) = delete;

    // Whether the database exists with its schemas (and data); otherwise error() says why.
    bool isValid() const { return m_conn != nullptr; }
    QString error() const { return m_error; }

    QString host() const;
    int port() const;
    QString database() const { return m_database; }
    // The administrator role (no password) and the role that must give its password; the latter
    // may read and write every table of this database.
    QString user() const;
    QString passwordUser() const;
    QString password() const;

    // First column of the first row; a null string when there is no row or the value is null.
    QString valor(const QString& sql);
    // Every row, each with all its columns as text (null values as null strings).
    std::vector<QStringList> linhas(const QString& sql);
    // Runs statements whose result does not matter.
    void executar(const QString& sql);
    // Runs statements as a program of the office whose connection speaks `codificacaoCliente`
    // ("LATIN1", "WIN1252", or "SQL_ASCII" for one that writes Windows-1252 bytes as they are).
    void executarComo(const QString& codificacaoCliente, const QString& sql);
    // The bytes the database keeps for the first column of the first row, as stored (no conversion);
    // a null array when there is no row.
    QByteArray bytes(const QString& sql);
    // The three fail the running test with the server's message and then throw ErroServidorTeste,
    // which abandons the test (and, with the QtTest of Qt 6.4, the rest of the executable).

    // Whether the environment names a cluster; otherwise what is missing.
    static bool configured();
    static QString missingConfiguration();
    // Opens a connection to a database of the cluster and, when given, runs `sql` on it; empty when
    // both went through, else the server's message.
    static QString tryConnect(const QString& database, const QString& user, const QString& password,
                              const QString& sql = {});
    // Whether the cluster holds a database of that name.
    static bool databaseExists(const QString& database);

private:
    bool create(Esquema esquema, Dados dados, const QString& codificacao);
    bool run(const QString& what, const QByteArray& sql);
    void drop();

    pg_conn* m_conn = nullptr;
    QString m_database;
    QString m_error;
};

} // namespace qav::test

// Declares `nome`, a ServidorTeste built from the other arguments, and fails the running test
// function when it could not be made (no cluster configured, schema refused, ...).
#define QAV_SERVIDOR_TESTE(nome, ...)                                                                        \
    qav::test::ServidorTeste nome(__VA_ARGS__);                                                              \
    if (!nome.isValid())                                                                                     \
    QFAIL(qPrintable(nome.error()))
