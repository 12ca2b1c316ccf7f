#include "tests/support/ServidorTeste.h"

#include "store/core/Text.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <libpq-fe.h>
#include <memory>

namespace qav::test {

namespace {

QString env(const char* name) {
    return qEnvironmentVariable(name);
}

struct ConnectionCloser {
    void operator()(PGconn* conn) const { PQfinish(conn); }
};
using Connection = std::unique_ptr<PGconn, ConnectionCloser>;

struct ResultClearer {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultClearer>;

// A connection to a database of the cluster; check PQstatus before use.
Connection connect(const QString& database, const QString& user, const QString& password,
                   const char* clientEncoding = "UTF8") {
    const QByteArray host = env("QAV_TEST_PGHOST").toUtf8();
    const QByteArray port = env("QAV_TEST_PGPORT").toUtf8();
    const QByteArray dbname = database.toUtf8();
    const QByteArray role = user.toUtf8();
    const QByteArray secret = password.toUtf8();
    const char* keywords[] = {
        "host", "port", "dbname", "user", "password", "client_encoding", "connect_timeout", nullptr};
    const char* values[] = {host.constData(),
                            port.constData(),
                            dbname.constData(),
                            role.constData(),
                            secret.constData(),
                            clientEncoding,
                            "10",
                            nullptr};
    return Connection(PQconnectdbParams(keywords, values, 0));
}

Connection connectAsAdministrator(const QString& database) {
    return connect(database, env("QAV_TEST_PGUSER"), QString());
}

QString message(const PGconn* conn) {
    return QString::fromUtf8(PQerrorMessage(conn)).trimmed();
}

bool succeeded(const PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

QString quotedIdentifier(PGconn* conn, const QString& name) {
    const QByteArray utf8 = name.toUtf8();
    char* quoted = PQescapeIdentifier(conn, utf8.constData(), static_cast<size_t>(utf8.size()));
    const QString text = QString::fromUtf8(quoted);
    PQfreemem(quoted);
    return text;
}

// A name no other test running beside this one can have.
QString uniqueDatabaseName() {
    static QAtomicInteger<int> counter;
    return QStringLiteral("qavteste_%1_%2_%3")
        .arg(QCoreApplication::applicationPid())
        .arg(counter.fetchAndAddRelaxed(1))
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

QStringList schemaFiles(ServidorTeste::Esquema esquema) {
    if (esquema == ServidorTeste::Esquema::Zor)
        return {QStringLiteral("gestao.sql"), QStringLiteral("zor.sql")};
    return {QStringLiteral("gestao.sql"), QStringLiteral("gerente.sql"), QStringLiteral("expzor.sql")};
}

QStringList seedFiles(ServidorTeste::Esquema esquema) {
    if (esquema == ServidorTeste::Esquema::Zor)
        return {QStringLiteral("seed_teste.sql"), QStringLiteral("seed_teste_zor.sql")};
    return {QStringLiteral("seed_teste.sql"), QStringLiteral("seed_teste_gerente.sql")};
}

QStringList schemaNames(ServidorTeste::Esquema esquema) {
    if (esquema == ServidorTeste::Esquema::Zor)
        return {QStringLiteral("gestao"), QStringLiteral("zor")};
    return {QStringLiteral("gestao"), QStringLiteral("gerente"), QStringLiteral("expzor")};
}

} // namespace

bool ServidorTeste::configured() {
    return missingConfiguration().isEmpty();
}

QString ServidorTeste::missingConfiguration() {
    QStringList missing;
    for (const char* name : {"QAV_TEST_PGHOST", "QAV_TEST_PGPORT", "QAV_TEST_PGUSER"}) {
        if (env(name).isEmpty())
            missing << QString::fromLatin1(name);
    }
    if (missing.isEmpty())
        return {};
    return QStringLiteral("This test needs the PostgreSQL test cluster, but %1 %2 not set. Run it through "
                          "scripts/test.sh, or start a cluster with: eval \"$(scripts/pg-cluster.sh start)\"")
        .arg(missing.join(QStringLiteral(", ")),
             missing.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"));
}

ServidorTeste::ServidorTeste(Esquema esquema, Dados dados, const QString& codificacao) {
    m_error = missingConfiguration();
    if (!m_error.isEmpty())
        return;
    if (!create(esquema, dados, codificacao)) {
        if (m_conn != nullptr) {
            PQfinish(m_conn);
            m_conn = nullptr;
        }
        drop();
    }
}

ServidorTeste::~ServidorTeste() {
    if (m_conn != nullptr)
        PQfinish(m_conn);
    m_conn = nullptr;
    drop();
}

QString ServidorTeste::host() const {
    return env("QAV_TEST_PGHOST");
}

int ServidorTeste::port() const {
    return env("QAV_TEST_PGPORT").toInt();
}

QString ServidorTeste::user() const {
    return env("QAV_TEST_PGUSER");
}

QString ServidorTeste::passwordUser() const {
    const QString name = env("QAV_TEST_PGPASSUSER");
    return name.isEmpty() ? QStringLiteral("qavplus") : name;
}

QString ServidorTeste::password() const {
    return env("QAV_TEST_PGPASSWORD");
}

bool ServidorTeste::create(Esquema esquema, Dados dados, const QString& codificacao) {
    const QString name = uniqueDatabaseName();
    QString locale;
    {
        Connection admin = connectAsAdministrator(QStringLiteral("postgres"));
        if (PQstatus(admin.get()) != CONNECTION_OK) {
            m_error = QStringLiteral("Cannot reach the test cluster: %1").arg(message(admin.get()));
            return false;
        }
        // The cluster's own locale is UTF-8; a database in another encoding needs the C locale.
        locale = codificacao.compare(QStringLiteral("UTF8"), Qt::CaseInsensitive) == 0
                     ? QString()
                     : QStringLiteral(" LC_COLLATE 'C' LC_CTYPE 'C'");
        const QByteArray sql = QStringLiteral("CREATE DATABASE %1 ENCODING '%2'%3 TEMPLATE template0")
                                   .arg(quotedIdentifier(admin.get(), name), codificacao, locale)
                                   .toUtf8();
        Result result(PQexec(admin.get(), sql.constData()));
        if (!succeeded(result.get())) {
            m_error = QStringLiteral("Cannot create the test database: %1").arg(message(admin.get()));
            return false;
        }
    }
    m_database = name;

    m_conn = connectAsAdministrator(name).release();
    if (PQstatus(m_conn) != CONNECTION_OK) {
        m_error = QStringLiteral("Cannot connect to the test database: %1").arg(message(m_conn));
        return false;
    }
    Result quiet(PQexec(m_conn, "SET client_min_messages = warning"));

    QStringList files = schemaFiles(esquema);
    if (dados == Dados::Teste)
        files += seedFiles(esquema);
    for (const QString& fileName : files) {
        QFile file(QStringLiteral(QAV_SOURCE_DIR "/sync/server/") + fileName);
        if (!file.open(QIODevice::ReadOnly)) {
            m_error = QStringLiteral("Cannot read %1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
        QByteArray sql = file.readAll();
        // A database in a single-byte encoding never held what the encoding lacks (the test data's
        // dashes): it gets the plain form, within what LATIN1 and LATIN9 share.
        if (!locale.isEmpty())
            sql = text::plainForm(QString::fromUtf8(sql), [](char32_t c) {
                      return c < 0x80 || (c >= 0xA0 && c < 0x100 && c != 0xA4 && c != 0xA6 && c != 0xA8 &&
                                          c != 0xB4 && c != 0xB8 && c != 0xBC && c != 0xBD && c != 0xBE);
                  }).toUtf8();
        if (!run(fileName, sql))
            return false;
    }

    // The workstation's own role may use every table, as on a real server.
    const QString role = passwordUser();
    const QByteArray roleUtf8 = role.toUtf8();
    const char* params[] = {roleUtf8.constData()};
    Result exists(PQexecParams(m_conn, "SELECT 1 FROM pg_roles WHERE rolname = $1", 1, nullptr, params,
                               nullptr, nullptr, 0));
    if (succeeded(exists.get()) && PQntuples(exists.get()) == 1) {
        const QString quotedRole = quotedIdentifier(m_conn, role);
        QString grants;
        for (const QString& schema : schemaNames(esquema)) {
            grants += QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2;"
                                     "GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA %1 TO %2;"
                                     "GRANT USAGE, SELECT, UPDATE ON ALL SEQUENCES IN SCHEMA %1 TO %2;")
                          .arg(schema, quotedRole);
        }
        if (!run(QStringLiteral("the grants to %1").arg(role), grants.toUtf8()))
            return false;
    }
    return true;
}

bool ServidorTeste::run(const QString& what, const QByteArray& sql) {
    Result result(PQexec(m_conn, sql.constData()));
    if (succeeded(result.get()))
        return true;
    m_error = QStringLiteral("The test database refused %1: %2").arg(what, message(m_conn));
    return false;
}

void ServidorTeste::drop() {
    if (m_database.isEmpty())
        return;
    Connection admin = connectAsAdministrator(QStringLiteral("postgres"));
    if (PQstatus(admin.get()) == CONNECTION_OK) {
        // FORCE ends connections that the code under test may have left open.
        const QByteArray sql = QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)")
                                   .arg(quotedIdentifier(admin.get(), m_database))
                                   .toUtf8();
        Result result(PQexec(admin.get(), sql.constData()));
        if (!succeeded(result.get()))
            qWarning("Test database %s not dropped: %s", qPrintable(m_database),
                     qPrintable(message(admin.get())));
    } else {
        qWarning("Test database %s not dropped: %s", qPrintable(m_database),
                 qPrintable(message(admin.get())));
    }
    m_database.clear();
}

std::vector<QStringList> ServidorTeste::linhas(const QString& sql) {
    if (m_conn == nullptr) {
        const QString text = QStringLiteral("No test database: %1").arg(m_error);
        QTest::qFail(qPrintable(text), __FILE__, __LINE__);
        throw ErroServidorTeste(text.toStdString());
    }
    Result result(PQexec(m_conn, sql.toUtf8().constData()));
    if (!succeeded(result.get())) {
        const QString text = QStringLiteral("%1\nStatement: %2").arg(message(m_conn), sql);
        QTest::qFail(qPrintable(text), __FILE__, __LINE__);
        throw ErroServidorTeste(text.toStdString());
    }
    std::vector<QStringList> rows;
    const int rowCount = PQntuples(result.get());
    const int columnCount = PQnfields(result.get());
    rows.reserve(static_cast<size_t>(rowCount));
    for (int row = 0; row < rowCount; ++row) {
        QStringList columns;
        for (int column = 0; column < columnCount; ++column) {
            if (PQgetisnull(result.get(), row, column))
                columns << QString();
            else
                columns << QString::fromUtf8(PQgetvalue(result.get(), row, column));
        }
        rows.push_back(columns);
    }
    return rows;
}

QString ServidorTeste::valor(const QString& sql) {
    const std::vector<QStringList> rows = linhas(sql);
    if (rows.empty() || rows.front().isEmpty())
        return {};
    return rows.front().front();
}

void ServidorTeste::executar(const QString& sql) {
    linhas(sql);
}

void ServidorTeste::executarComo(const QString& codificacaoCliente, const QString& sql) {
    const QByteArray nome = codificacaoCliente.toLatin1();
    Connection conn = connect(m_database, env("QAV_TEST_PGUSER"), QString(), nome.constData());
    QByteArray bytes;
    if (nome == "UTF8") {
        bytes = sql.toUtf8();
    } else if (nome == "LATIN1") {
        bytes = sql.toLatin1();
    } else if (const auto win = text::toWin1252(sql)) {
        bytes = *win;
    } else {
        QTest::qFail("statement outside the client's encoding", __FILE__, __LINE__);
        throw ErroServidorTeste("statement outside the client's encoding");
    }
    Result result(PQexec(conn.get(), bytes.constData()));
    if (PQstatus(conn.get()) != CONNECTION_OK || !succeeded(result.get())) {
        const QString text = QStringLiteral("%1\nStatement: %2").arg(message(conn.get()), sql);
        QTest::qFail(qPrintable(text), __FILE__, __LINE__);
        throw ErroServidorTeste(text.toStdString());
    }
}

QByteArray ServidorTeste::bytes(const QString& sql) {
    // A connection that converts nothing hands over the bytes as the database keeps them.
    Connection conn = connect(m_database, env("QAV_TEST_PGUSER"), QString(), "SQL_ASCII");
    Result result(PQexec(conn.get(), sql.toUtf8().constData()));
    if (PQstatus(conn.get()) != CONNECTION_OK || !succeeded(result.get())) {
        const QString text = QStringLiteral("%1\nStatement: %2").arg(message(conn.get()), sql);
        QTest::qFail(qPrintable(text), __FILE__, __LINE__);
        throw ErroServidorTeste(text.toStdString());
    }
    if (PQntuples(result.get()) == 0 || PQgetisnull(result.get(), 0, 0))
        return {};
    return QByteArray(PQgetvalue(result.get(), 0, 0), PQgetlength(result.get(), 0, 0));
}

QString ServidorTeste::tryConnect(const QString& database, const QString& user, const QString& password,
                                  const QString& sql) {
    Connection conn = connect(database, user, password);
    if (PQstatus(conn.get()) != CONNECTION_OK) {
        const QString text = message(conn.get());
        return text.isEmpty() ? QStringLiteral("connection refused") : text;
    }
    if (!sql.isEmpty()) {
        Result result(PQexec(conn.get(), sql.toUtf8().constData()));
        if (!succeeded(result.get()))
            return message(conn.get());
    }
    return {};
}

bool ServidorTeste::databaseExists(const QString& database) {
    Connection admin = connectAsAdministrator(QStringLiteral("postgres"));
    if (PQstatus(admin.get()) != CONNECTION_OK)
        throw ErroServidorTeste(message(admin.get()).toStdString());
    const QByteArray name = database.toUtf8();
    const char* params[] = {name.constData()};
    Result result(PQexecParams(admin.get(), "SELECT 1 FROM pg_database WHERE datname = $1", 1, nullptr,
                               params, nullptr, nullptr, 0));
    if (!succeeded(result.get()))
        throw ErroServidorTeste(message(admin.get()).toStdString());
    return PQntuples(result.get()) == 1;
}

} // namespace qav::test
