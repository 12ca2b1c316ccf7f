// The throw-away server database of the tests: both kinds of server with their test data, the
// workstation's password-protected role, and the database gone when the object goes.
#include "tests/support/ServidorTeste.h"
#include "tests/support/TestMain.h"

#include <QTest>
#include <libpq-fe.h>

using namespace qav::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(qav::test::ServidorTeste::Esquema)

class TstServidorTeste : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void esquemaEDados_data();
    void esquemaEDados();
    void semDados();
    void senhaDoUsuario_data();
    void senhaDoUsuario();
    void bancoRemovidoAoFim();
    void semClusterFalhaComMotivo();
};

void TstServidorTeste::esquemaEDados_data() {
    QTest::addColumn<ServidorTeste::Esquema>("esquema");
    QTest::addColumn<QString>("sistema");
    QTest::addColumn<QString>("nomeCliente2");

    QTest::newRow("ERP") << ServidorTeste::Esquema::Zor << u"zor"_s
                         << u"SELECT razao FROM zor.corrent WHERE id_corrent=2"_s;
    QTest::newRow("gerente") << ServidorTeste::Esquema::Gerente << u"gerente"_s
                             << u"SELECT razao FROM gerente.clientes WHERE id_cliente=2"_s;
}

void TstServidorTeste::esquemaEDados() {
    QFETCH(ServidorTeste::Esquema, esquema);
    QFETCH(QString, sistema);
    QFETCH(QString, nomeCliente2);
    QAV_SERVIDOR_TESTE(servidor, esquema);

    // The workstation tells the kind of server by the one schema that holds a table "pedidos".
    const auto esquemas = servidor.linhas(
        u"SELECT schemaname FROM pg_tables WHERE tablename='pedidos' AND schemaname NOT IN ('qavpalm')"_s);
    QCOMPARE(esquemas, std::vector<QStringList>{QStringList{sistema}});

    QCOMPARE(servidor.valor(u"SELECT senha FROM gestao.vendedor WHERE id_empresa=1 AND codigo=5"_s),
             u"abc123"_s);
    QCOMPARE(servidor.valor(nomeCliente2), u"Vidraçaria D'Ávila \\ Filhos Ltda"_s);

    // The next order number of company 1 after 100 is 103: 101, 102 and 104 are taken.
    QCOMPARE(servidor.valor(u"SELECT numped_gestao FROM gestao.qavcfg WHERE id_empresa=1"_s), u"100"_s);
    QCOMPARE(servidor.valor(u"SELECT string_agg(numero::text, ',' ORDER BY numero) FROM %1.pedidos "
                            "WHERE id_empresa=1 AND numero BETWEEN 100 AND 104"_s.arg(sistema)),
             u"101,102,104"_s);

    // Ids handed out by the server go on after the test data's own.
    QCOMPARE(servidor.valor(
                 u"INSERT INTO gestao.socios (id_cliente, nome) VALUES (1, 'Novo') RETURNING id_socio"_s),
             u"4"_s);
    QCOMPARE(
        servidor.valor(u"SELECT nextval(pg_get_serial_sequence('%1.pedidos', 'id_pedido'))"_s.arg(sistema)),
        u"6"_s);
}

void TstServidorTeste::semDados() {
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente, ServidorTeste::Dados::Vazio);
    QCOMPARE(servidor.valor(u"SELECT count(*) FROM gestao.vendedor"_s), u"0"_s);
    QCOMPARE(servidor.valor(u"SELECT count(*) FROM gerente.clientes"_s), u"0"_s);
    QCOMPARE(servidor.valor(u"SELECT count(*) FROM expzor.produto"_s), u"0"_s);
}

void TstServidorTeste::senhaDoUsuario_data() {
    QTest::addColumn<bool>("senhaCerta");
    QTest::newRow("senha certa") << true;
    QTest::newRow("senha errada") << false;
}

void TstServidorTeste::senhaDoUsuario() {
    QFETCH(bool, senhaCerta);
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);

    // The cluster's password holds the characters that break naive connect strings and SQL.
    const QString senha = servidor.password();
    QVERIFY2(senha.contains(u';') && senha.contains(u'\''),
             "QAV_TEST_PGPASSWORD should contain a ';' and a quote, as scripts/pg-cluster.sh sets it");

    const QString erro = ServidorTeste::tryConnect(
        servidor.database(), servidor.passwordUser(), senhaCerta ? senha : senha + u"x"_s,
        u"SELECT nome FROM gestao.vendedor WHERE id_empresa=1 AND codigo=5"_s);
    if (senhaCerta)
        QCOMPARE(erro, QString());
    else
        QVERIFY2(erro.contains(u"password authentication failed"_s), qPrintable(erro));
}

void TstServidorTeste::bancoRemovidoAoFim() {
    QString nome;
    PGconn* esquecida = nullptr;
    {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor, ServidorTeste::Dados::Vazio);
        nome = servidor.database();
        QVERIFY(ServidorTeste::databaseExists(nome));

        // A connection the code under test left open does not keep the database alive.
        const QByteArray host = servidor.host().toUtf8();
        const QByteArray porta = QByteArray::number(servidor.port());
        const QByteArray banco = nome.toUtf8();
        const QByteArray usuario = servidor.user().toUtf8();
        const char* chaves[] = {"host", "port", "dbname", "user", nullptr};
        const char* valores[] = {host.constData(), porta.constData(), banco.constData(), usuario.constData(),
                                 nullptr};
        esquecida = PQconnectdbParams(chaves, valores, 0);
        QCOMPARE(PQstatus(esquecida), CONNECTION_OK);
    }
    PQfinish(esquecida);
    QVERIFY(!nome.isEmpty());
    QVERIFY(!ServidorTeste::databaseExists(nome));
}

void TstServidorTeste::semClusterFalhaComMotivo() {
    const QByteArray host = qgetenv("QAV_TEST_PGHOST");
    qunsetenv("QAV_TEST_PGHOST");
    const ServidorTeste servidor(ServidorTeste::Esquema::Zor);
    qputenv("QAV_TEST_PGHOST", host);

    QVERIFY(!servidor.isValid());
    QVERIFY2(servidor.error().contains(u"QAV_TEST_PGHOST"_s), qPrintable(servidor.error()));
}

QAV_TEST_GUILESS_MAIN(TstServidorTeste)
#include "tst_servidorteste.moc"
