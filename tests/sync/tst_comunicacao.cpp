// The communication run against a real PostgreSQL server built from the repository's schemas and test
// data: the answers of the statement helper, texts that must arrive unchanged whatever they hold, the
// connection and its refusals, a whole run and what it leaves in the local tables and in the server's
// log, the company's communication policy, and qavtool comunicar.
#include "OuvinteGravador.h"
#include "store/core/Table.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/execucao/Comunicacao.h"
#include "tests/support/Programs.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <functional>

using namespace qav;
using namespace qav::sync;
using qav::test::ServidorTeste;

namespace {

using Ouvinte = test::OuvinteGravador;

ParametrosConexao parametros(const ServidorTeste& s) {
    return {s.database(), s.host(), s.port(), s.passwordUser(), s.password()};
}

// The company's configuration in a fresh folder, pointing at the test server with the role that
// needs its password.
void configurar(Store& store, const ServidorTeste& s, int vendedor = 5,
                const QString& senha = QStringLiteral("abc123")) {
    Table cfg(store, "qavcfg");
    QVERIFY(cfg.open());
    cfg.clear();
    Record& r = cfg.rec();
    r.setInteger("ID_EMPRESA", 1);
    r.setText("BD_NOME", s.database());
    r.setText("BD_HOST", s.host());
    r.setInteger("BD_PORTA", s.port());
    r.setText("BD_USUARIO", s.passwordUser());
    r.setText("BD_SENHA", s.password());
    r.setInteger("COD_VENDEDOR", vendedor);
    r.setText("SENHA_VENDEDOR", senha);
    r.setInteger("SISTEMA_BLOQUEADO", 1);
    r.setDate("DT_ULT_COM", Date::fromYmd(2026, 1, 10));
    QCOMPARE(cfg.add(), Status::Ok);
}

Record configuracao(Store& store) {
    Table cfg(store, "qavcfg");
    cfg.open();
    cfg.clear();
    cfg.rec().setInteger("ID_EMPRESA", 1);
    cfg.get("KEYID_EMPRESA");
    return cfg.rec();
}

Desfecho rodar(Store& store, Ouvinte& ouvinte, TipoComunicacao tipo) {
    PedidoComunicacao pedido;
    pedido.idEmpresa = 1;
    pedido.tipo = tipo;
    pedido.confirmado = true;
    return comunicar(store, ouvinte, pedido);
}

} // namespace

class TestComunicacao : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What callers read from the statement helper: the first column, "1" for a statement that went
    // through without rows, empty for a SELECT without rows and for an error (which is reported).
    void querysqlAnswers_data() {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<QString>("resposta");
        QTest::addColumn<QString>("codigoErro");
        QTest::newRow("first column") << "SELECT nome, estado FROM gestao.municipio WHERE id_municipio=5;"
                                      << "Herval d'Oeste"
                                      << "";
        QTest::newRow("update") << "UPDATE gestao.municipio SET populacao=1 WHERE id_municipio=5;"
                                << "1"
                                << "";
        QTest::newRow("select without rows") << "SELECT nome FROM gestao.municipio WHERE id_municipio=0;"
                                             << ""
                                             << "";
        QTest::newRow("lower-case select") << "select nome from gestao.municipio where id_municipio=0;"
                                           << ""
                                           << "";
        QTest::newRow("empty first column") << "SELECT '';"
                                            << ""
                                            << "";
        QTest::newRow("unknown table") << "INSERT INTO gestao.nada VALUES (1);"
                                       << ""
                                       << "42P01";
    }

    void querysqlAnswers() {
        QFETCH(QString, comando);
        QFETCH(QString, resposta);
        QFETCH(QString, codigoErro);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        Conexao conexao;
        const Resultado conectado = conexao.conectar(parametros(servidor));
        QVERIFY2(conectado.ok, qPrintable(conectado.erro));
        QList<ErroSql> erros;
        conexao.aoErroSql([&erros](const ErroSql& e) { erros << e; });
        QCOMPARE(conexao.querysql(comando), resposta);
        QCOMPARE(erros.size(), codigoErro.isEmpty() ? 0 : 1);
        if (!erros.isEmpty()) {
            QCOMPARE(erros.front().codigo, codigoErro);
            QCOMPARE(erros.front().comando, comando);
        }
    }

    // Any text arrives as it was typed, on a server that reads backslashes as escapes and on one
    // that does not.
    void textsArriveUnchanged_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("padrao");
        const QStringList textos{QStringLiteral("Ferragens D'Ávila"),
                                 QStringLiteral("C:\\dados\\novo\\"),
                                 QStringLiteral("a;b -- c /* d */"),
                                 QStringLiteral("Ação çé ãõ ü º ª €"),
                                 QStringLiteral("x\\'); DROP TABLE gestao.log; --"),
                                 QStringLiteral("E'\\n'")};
        for (bool padrao : {true, false})
            for (const QString& t : textos)
                QTest::newRow(
                    qPrintable((padrao ? QStringLiteral("standard: ") : QStringLiteral("escapes: ")) + t))
                    << t << padrao;
    }

    void textsArriveUnchanged() {
        QFETCH(QString, texto);
        QFETCH(bool, padrao);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor, ServidorTeste::Dados::Vazio);
        Conexao conexao;
        const Resultado conectado = conexao.conectar(parametros(servidor));
        QVERIFY2(conectado.ok, qPrintable(conectado.erro));
        QVERIFY(conexao.executar(QStringLiteral("SET standard_conforming_strings = ") +
                                 (padrao ? QStringLiteral("on") : QStringLiteral("off"))));
        QVERIFY(conexao.executar(QStringLiteral("CREATE TEMP TABLE eco (t text, n text);")));
        QVERIFY(conexao.executar(QStringLiteral("INSERT INTO eco VALUES (") + conexao.texto(texto) +
                                 QStringLiteral(", ") + conexao.texto(QStringLiteral("   ")) +
                                 QStringLiteral(");")));
        const auto linhas = conexao.consultar(QStringLiteral("SELECT t, n FROM eco;"));
        QVERIFY(linhas && linhas->size() == 1);
        QCOMPARE(linhas->front().texto(0), texto);
        QVERIFY(linhas->front().nula(1));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gestao.log")), QStringLiteral("0"));
    }

    // A row's whole numbers as the server writes them: plain digits (read directly), and a sign alone,
    // a boolean, a decimal (truncated), padded text, more digits than the direct reading takes, a
    // word and a null (the general path).
    void wholeNumbersOfARow() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor, ServidorTeste::Dados::Vazio);
        Conexao conexao;
        const Resultado conectado = conexao.conectar(parametros(servidor));
        QVERIFY2(conectado.ok, qPrintable(conectado.erro));
        const auto linhas = conexao.consultar(QStringLiteral(
            "SELECT 42, -42, '-'::text, true, 12.7::numeric, -12.7::numeric, '  7 '::text, "
            "1234567890123456789::bigint, -123456789012345678::bigint, 'x'::text, NULL::int;"));
        QVERIFY(linhas && linhas->size() == 1);
        const std::vector<long long> esperados{
            42, -42, 0, 1, 12, -12, 7, 1234567890123456789LL, -123456789012345678LL, 0, 0};
        for (size_t i = 0; i < esperados.size(); ++i)
            QCOMPARE(linhas->front().inteiro(i), esperados[i]);
    }

    // Numbers of a row stored in fields of other types: plain forms take the quick reading, the rest
    // (a plus sign, spaces, an exponent, a word, a boolean) reads as before.
    void serverNumbersIntoFields() {
        using namespace Qt::StringLiterals;
        Record r(*findTable("clientes"));
        const int limite = r.field("LIMCRED"), vendedor = r.field("COD_VENDEDOR");
        const std::vector<std::pair<QString, double>> reais{
            {u"1234.5"_s, 1234.5}, {u"-0.25"_s, -0.25}, {u" 2.5 "_s, 2.5}, {u"1e3"_s, 1000},
            {u"+3"_s, 3},          {u"abc"_s, 0},       {QString(), 0}};
        for (const auto& [texto, esperado] : reais) {
            QVERIFY(atribuirDoServidor(r, limite, texto));
            QCOMPARE(r.real(limite), esperado);
        }
        const std::vector<std::pair<QString, long long>> inteiros{
            {u"-42"_s, -42}, {u"t"_s, 1}, {u"f"_s, 0}, {u"12.7"_s, 12}, {u" 7 "_s, 7}, {u"+8"_s, 8}};
        for (const auto& [texto, esperado] : inteiros) {
            QVERIFY(atribuirDoServidor(r, vendedor, texto));
            QCOMPARE(r.integer(vendedor), esperado);
        }
    }

    // The server's system is the schema that holds the orders; a wrong password is refused without
    // the password showing anywhere; a password holding ";" and a quote works.
    void connection() {
        QAV_SERVIDOR_TESTE(zor, ServidorTeste::Esquema::Zor, ServidorTeste::Dados::Vazio);
        QAV_SERVIDOR_TESTE(gerente, ServidorTeste::Esquema::Gerente, ServidorTeste::Dados::Vazio);
        QVERIFY(zor.password().contains(QLatin1Char(';')) && zor.password().contains(QLatin1Char('\'')));
        Conexao conexao;
        const Resultado conectado = conexao.conectar(parametros(zor));
        QVERIFY2(conectado.ok, qPrintable(conectado.erro));
        QCOMPARE(conexao.sistema(), QStringLiteral("zor"));
        QVERIFY(conexao.versaoMaior() >= 9);
        const Resultado doEscritorio = conexao.conectar(parametros(gerente));
        QVERIFY2(doEscritorio.ok, qPrintable(doEscritorio.erro));
        QCOMPARE(conexao.sistema(), QStringLiteral("gerente"));

        ParametrosConexao errada = parametros(zor);
        errada.senha = QStringLiteral("senhaErrada123");
        const Resultado recusado = conexao.conectar(errada);
        QVERIFY(!recusado.ok);
        QVERIFY(!conexao.conectada());
        QVERIFY(!recusado.erro.isEmpty());
        QVERIFY2(!recusado.erro.contains(errada.senha), qPrintable(recusado.erro));
    }

    // A statement sent ahead is read by the abrir() of the same text and told to the recorder then,
    // once; a third one finds no place and goes the usual way. A role that may open no other
    // connection gets every statement the usual way.
    void statementsSentAhead() {
        using namespace Qt::StringLiterals;
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor, ServidorTeste::Dados::Vazio);
        const QString unica = servidor.database() + u"_unica"_s;
        servidor.executar(u"CREATE ROLE \""_s + unica +
                          u"\" LOGIN PASSWORD 'x1' CONNECTION LIMIT 1 IN ROLE \""_s +
                          servidor.passwordUser() + u"\""_s);
        for (const bool limitada : {false, true}) {
            ParametrosConexao p = parametros(servidor);
            if (limitada) {
                p.usuario = unica;
                p.senha = u"x1"_s;
            }
            Conexao conexao;
            QStringList enviados;
            conexao.aoComando([&](const QString& comando) { enviados << comando; });
            const Resultado conectado = conexao.conectar(p);
            QVERIFY2(conectado.ok, qPrintable(conectado.erro));
            enviados.clear(); // the session's own questions
            const auto ler = [&](const QString& comando) {
                const auto cursor = conexao.abrir(comando);
                QStringList valores;
                Linha linha;
                while (cursor->proxima(linha) == Cursor::Passo::Linha)
                    valores << linha.texto(0);
                return valores.join(u',');
            };
            const QString principal = conexao.querysql(u"SELECT pg_backend_pid() AS principal;"_s);
            enviados.clear();
            conexao.antecipar(u"SELECT generate_series(1, 3);"_s);
            conexao.antecipar(u"SELECT pg_backend_pid();"_s);
            conexao.antecipar(u"SELECT 'c';"_s);
            QVERIFY(enviados.isEmpty());
            QCOMPARE(servidor.valor(u"SELECT count(*) FROM pg_stat_activity WHERE usename = '"_s + p.usuario +
                                    u"' AND application_name = 'QAV+'"_s),
                     limitada ? u"1"_s : u"3"_s);
            // Answered by a session of its own, unless there is none.
            QCOMPARE(ler(u"SELECT pg_backend_pid();"_s) == principal, limitada);
            QCOMPARE(ler(u"SELECT 'c';"_s), u"c"_s);
            QCOMPARE(ler(u"SELECT generate_series(1, 3);"_s), u"1,2,3"_s);
            QCOMPARE(enviados, (QStringList{u"SELECT pg_backend_pid();"_s, u"SELECT 'c';"_s,
                                            u"SELECT generate_series(1, 3);"_s}));
        }
    }

    // A whole run: the log rows on the server, the settings, company, salesperson and order types in
    // the local tables, the date of the server, the lock lifted and the flex balance.
    void fullRun() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        configurar(pasta.store(), servidor);
        // A salesperson entered here before, with the same code and company under another id.
        {
            Table v(pasta.store(), "vendedor");
            QVERIFY(v.open());
            v.clear();
            v.rec().setInteger("ID_VENDEDOR", 900);
            v.rec().setInteger("CODIGO", 5);
            v.rec().setInteger("ID_EMPRESA", 1);
            QCOMPARE(v.add(), Status::Ok);
        }
        Ouvinte ouvinte;
        QCOMPARE(rodar(pasta.store(), ouvinte, TipoComunicacao::Total).resultado,
                 ResultadoComunicacao::Sucesso);
        QVERIFY2(ouvinte.mensagens.endsWith(QStringLiteral("Aviso: Comunicação concluida com sucesso!")),
                 qPrintable(ouvinte.tudo()));

        const auto log = servidor.linhas(
            QStringLiteral("SELECT descricao, id, id_empresa FROM gestao.log ORDER BY 1 DESC"));
        QCOMPARE(log.size(), size_t(2));
        QCOMPARE(log[0], (QStringList{QStringLiteral("Sucesso - Completa/0 Pedido(s)/QAV+ 2026.186"),
                                      QStringLiteral("10"), QStringLiteral("1")}));
        QCOMPARE(log[1][0], QStringLiteral("Inicio - Completa/QAV+ 2026.186"));

        const Record cfg = configuracao(pasta.store());
        QCOMPARE(QString::fromStdString(cfg.date("DT_ULT_COM").toIso()),
                 servidor.valor(QStringLiteral("SELECT current_date")));
        QCOMPARE(cfg.integer("SISTEMA_BLOQUEADO"), 0);
        QCOMPARE(cfg.integer("MODELO_PEDIDO"), 5);
        QCOMPARE(cfg.integer("DIAS_BLOQUEIO"), 15);
        QCOMPARE(cfg.integer("DIAS_BLOQ_CREDITO"), 5);
        QCOMPARE(cfg.text("TP_COM"), QStringLiteral("C"));
        QCOMPARE(cfg.text("SISTEMA").trimmed(), QStringLiteral("zor"));
        QCOMPARE(QString::fromStdString(cfg.decimal("SALDO_FLEX").toString(2)), QStringLiteral("1250.75"));
        QCOMPARE(cfg.integer("BLOQUEIOS1"), 5);

        const auto vendedores = [&] {
            Table v(pasta.store(), "vendedor");
            v.open();
            return v.count();
        }();
        QCOMPARE(vendedores, qint64(1));
        Table v(pasta.store(), "vendedor");
        QVERIFY(v.open());
        v.clear();
        v.rec().setInteger("CODIGO", 5);
        v.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(v.get("KEYCODIGO"), Status::Ok);
        QCOMPARE(v.rec().integer("ID_VENDEDOR"), 10);
        QCOMPARE(v.rec().text("NOME").trimmed(), QStringLiteral("José Conceição d'Ávila"));
        QCOMPARE(v.rec().text("MUNIC").trimmed(), QString()); // municipalities come with the downloads
        QCOMPARE(QString::fromStdString(v.rec().decimal("TAXA_COMISSAO").toString(2)),
                 QStringLiteral("3.00"));

        Table e(pasta.store(), "empresa");
        QVERIFY(e.open());
        e.clear();
        e.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(e.get("KEYID"), Status::Ok);
        QCOMPARE(e.rec().text("ENDER").trimmed(), QStringLiteral("Rua das Indústrias, 1200"));
        QCOMPARE(e.rec().text("FONE").trimmed(), QStringLiteral("4733334444"));
        QCOMPARE(e.rec().text("CEP").trimmed(), QStringLiteral("89219000"));
        QCOMPARE(e.rec().integer("ID_EMPRESA_PROD"), 1);

        Table t(pasta.store(), "qavtipoped");
        QVERIFY(t.open());
        QCOMPARE(t.count(), qint64(2)); // every salesperson's type and salesperson 5's own
    }

    // Under the policy "only a full run counts" a partial run neither moves the date nor lifts the
    // lock; an orders-only run never moves the date.
    void communicationPolicy_data() {
        QTest::addColumn<QString>("politica");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<bool>("conta");
        QTest::newRow("C, partial") << "C" << 2 << false;
        QTest::newRow("C, total") << "C" << 1 << true;
        QTest::newRow("P, partial") << "P" << 2 << true;
        QTest::newRow("P, orders only") << "P" << 3 << false;
    }

    void communicationPolicy() {
        QFETCH(QString, politica);
        QFETCH(int, tipo);
        QFETCH(bool, conta);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(QStringLiteral("UPDATE gestao.qavconfig SET valor='") + politica +
                          QStringLiteral("' WHERE id_empresa=1 AND nome='Tipo Comunicação'"));
        test::TempDataFolder pasta;
        configurar(pasta.store(), servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(pasta.store(), ouvinte, static_cast<TipoComunicacao>(tipo)).resultado,
                 ResultadoComunicacao::Sucesso);
        const Record cfg = configuracao(pasta.store());
        QCOMPARE(cfg.date("DT_ULT_COM") != Date::fromYmd(2026, 1, 10), conta);
        QCOMPARE(cfg.integer("SISTEMA_BLOQUEADO") == 0, conta);
        // An orders-only run refreshes the settings but not the company.
        Table e(pasta.store(), "empresa");
        QVERIFY(e.open());
        QCOMPARE(e.count() > 0, tipo != 3);
    }

    // Runs that stop: each says why, the server gets the closing "Erro" row when it was reached, and
    // the date of the last communication stays.
    void refusals_data() {
        QTest::addColumn<int>("vendedor");
        QTest::addColumn<QString>("senha");
        QTest::addColumn<QString>("servidorSql");
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<bool>("logado");
        QTest::newRow("inactive") << 6 << "xyz789"
                                  << ""
                                  << "Vendedor/Representante inativo!" << true;
        QTest::newRow("not authorised") << 7 << "qwe456"
                                        << ""
                                        << "Vendedor/Representante não autorizado para usar o QAV!" << true;
        QTest::newRow("unknown") << 99 << "abc123"
                                 << ""
                                 << "Empresa e/ou Vendedor/Representante não cadastrados no BD informado!"
                                 << true;
        QTest::newRow("wrong password") << 5 << "abc124"
                                        << ""
                                        << "Senha inválida!" << true;
        QTest::newRow("no password") << 5 << ""
                                     << "UPDATE gestao.vendedor SET senha='' WHERE id_vendedor=10"
                                     << "Senha inválida!" << true;
        QTest::newRow("newer build required")
            << 5 << "abc123"
            << "UPDATE gestao.qavconfig SET valor='187' WHERE id_empresa=1 AND nome='Versão QAV Liberada'"
            << "Aviso/Confirma: Comunicação Bloqueada! Atualizar QAV para versão 187 ou superior!" << true;
        QTest::newRow("no salesperson code") << 0 << "abc123"
                                             << ""
                                             << "Código vendedor/representante inválido!" << false;
    }

    void refusals() {
        QFETCH(int, vendedor);
        QFETCH(QString, senha);
        QFETCH(QString, servidorSql);
        QFETCH(QString, mensagem);
        QFETCH(bool, logado);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        if (!servidorSql.isEmpty())
            servidor.executar(servidorSql);
        test::TempDataFolder pasta;
        configurar(pasta.store(), servidor, vendedor, senha);
        Ouvinte ouvinte;
        ouvinte.respostas << true; // the update page, when asked
        QCOMPARE(rodar(pasta.store(), ouvinte, TipoComunicacao::Total).resultado,
                 ResultadoComunicacao::Falhou);
        QVERIFY2(ouvinte.tudo().contains(mensagem), qPrintable(ouvinte.tudo()));
        QCOMPARE(
            servidor.valor(QStringLiteral(
                "SELECT count(*) FROM gestao.log WHERE descricao LIKE 'Erro - Completa/0 Pedido(s)/QAV+ %'")),
            logado ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(configuracao(pasta.store()).date("DT_ULT_COM"), Date::fromYmd(2026, 1, 10));
        QCOMPARE(ouvinte.endereco.isEmpty(), !mensagem.startsWith(QStringLiteral("Aviso/Confirma")));
    }

    // Closing the window asks the run to stop: it stops before the next step and says it failed.
    void stopRequested() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        configurar(pasta.store(), servidor);
        Ouvinte ouvinte;
        // The stop comes once connected (the run now also hears it while it waits for the server, so
        // a count of questions no longer says where it lands).
        ouvinte.aoRegistrar = [&ouvinte](const QString& texto) {
            if (texto == QStringLiteral("Atualizando Empresa..."))
                ouvinte.pararDepoisDe = 0;
        };
        QCOMPARE(rodar(pasta.store(), ouvinte, TipoComunicacao::Total).resultado,
                 ResultadoComunicacao::Falhou);
        QVERIFY(ouvinte.registros.contains(QStringLiteral("Comunicação interrompida pelo usuário...")));
        QCOMPARE(
            servidor.valor(QStringLiteral("SELECT count(*) FROM gestao.log WHERE descricao LIKE 'Erro - %'")),
            QStringLiteral("1"));
        QCOMPARE(configuracao(pasta.store()).integer("SISTEMA_BLOQUEADO"), 1);
    }

    // The settings are checked in their order before anything is sent: a port of 0 stops the run even
    // when every other value is set, and the field to fix is named.
    void checksBeforeConnecting_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("port") << QStringLiteral("BD_PORTA")
                              << QStringLiteral("Sem Porta de Comunicação do BD!");
        QTest::newRow("name") << QStringLiteral("BD_NOME") << QStringLiteral("Sem nome do BD!");
        QTest::newRow("host") << QStringLiteral("BD_HOST") << QStringLiteral("Sem Host do BD!");
        QTest::newRow("user") << QStringLiteral("BD_USUARIO") << QStringLiteral("Sem Usuário do BD!");
        QTest::newRow("password") << QStringLiteral("BD_SENHA") << QStringLiteral("Sem Senha do BD!");
        QTest::newRow("salesperson") << QStringLiteral("COD_VENDEDOR")
                                     << QStringLiteral("Código vendedor/representante inválido!");
    }

    void checksBeforeConnecting() {
        QFETCH(QString, campo);
        QFETCH(QString, mensagem);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor, ServidorTeste::Dados::Vazio);
        test::TempDataFolder pasta;
        configurar(pasta.store(), servidor);
        Record cfg = configuracao(pasta.store());
        const std::string nome = campo.toStdString();
        if (campo == QStringLiteral("BD_PORTA") || campo == QStringLiteral("COD_VENDEDOR"))
            cfg.setInteger(nome, 0);
        else
            cfg.setText(nome, QString());
        // The name is checked before the port.
        if (campo == QStringLiteral("BD_NOME"))
            cfg.setInteger("BD_PORTA", 0);
        Ouvinte ouvinte;
        PedidoComunicacao pedido;
        pedido.idEmpresa = 1;
        pedido.confirmado = true;
        pedido.configuracao = cfg;
        const Desfecho d = comunicar(pasta.store(), ouvinte, pedido);
        QCOMPARE(d.resultado, ResultadoComunicacao::Falhou);
        QVERIFY2(QString::fromLatin1(d.campoAcorrigir) == campo, qPrintable(ouvinte.tudo()));
        QCOMPARE(ouvinte.mensagens, QStringList{QStringLiteral("Aviso: ") + mensagem});
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE "
                                               "application_name='QAV+' AND datname=current_database()")),
                 QStringLiteral("0"));
    }

    // The lowest build the server accepts: none, this build, or a newer one that refuses the run.
    void versionGate_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<bool>("passa");
        QTest::addColumn<QString>("linha");
        QTest::newRow("none") << QString() << true << QString();
        QTest::newRow("186") << QStringLiteral("186") << true
                             << QStringLiteral(
                                    "Comunicação Liberada. Versão Liberada QAV 186 ou Superior...");
        QTest::newRow("187") << QStringLiteral("187") << false
                             << QStringLiteral(
                                    "Comunicação Bloqueada! Atualizar QAV para versão 187 ou superior...");
    }

    void versionGate() {
        QFETCH(QString, valor);
        QFETCH(bool, passa);
        QFETCH(QString, linha);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(
            valor.isEmpty() ? QStringLiteral("DELETE FROM gestao.qavconfig WHERE nome='Versão QAV Liberada'")
                            : QStringLiteral("UPDATE gestao.qavconfig SET valor='") + valor +
                                  QStringLiteral("' WHERE id_empresa=1 AND nome='Versão QAV Liberada'"));
        test::TempDataFolder pasta;
        configurar(pasta.store(), servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(pasta.store(), ouvinte, TipoComunicacao::Parcial).resultado ==
                     ResultadoComunicacao::Sucesso,
                 passa);
        const QStringList gate = ouvinte.registros.filter(QStringLiteral("Versão"), Qt::CaseInsensitive);
        QStringList esperado{QStringLiteral("Verificando Versão QAV Liberada no Servidor...")};
        if (!linha.isEmpty())
            esperado << linha;
        QCOMPARE(gate, esperado);
        QCOMPARE(ouvinte.perguntas.size(), passa ? 0 : 1);
    }

    // A server whose orders are in neither known schema is refused by name.
    void unknownSystem() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(QStringLiteral("ALTER TABLE zor.pedidos RENAME TO pedidos_antigos"));
        test::TempDataFolder pasta;
        configurar(pasta.store(), servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(pasta.store(), ouvinte, TipoComunicacao::Total).resultado,
                 ResultadoComunicacao::Falhou);
        QVERIFY2(ouvinte.mensagens.contains(QStringLiteral("Aviso: Sistema \"\" desconhecido!")),
                 qPrintable(ouvinte.tudo()));
    }

    // 1,000 random texts of the Windows-1252 repertoire mixed with quotes, backslashes and SQL
    // fragments, written as literals and read back, under both readings of backslashes; and a
    // salesperson's name brought by the run.
    void randomTextsRoundTrip() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        const quint32 semente = QRandomGenerator::global()->generate();
        qInfo("seed %u", semente);
        QRandomGenerator gerador(semente);
        QString letras;
        for (int c = 0x20; c <= 0xFF; ++c)
            if (c < 0x7F || c >= 0xA0)
                letras += QChar(c);
        letras += QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
        const QStringList pedacos{QStringLiteral("'"),   QStringLiteral("\\"),
                                  QStringLiteral("';"),  QStringLiteral("--"),
                                  QStringLiteral("/*"),  QStringLiteral("E'"),
                                  QStringLiteral("\\'"), QStringLiteral("); DROP TABLE gestao.log; --"),
                                  QStringLiteral("$$")};
        QStringList textos;
        for (int i = 0; i < 1000; ++i) {
            QString t;
            const int tamanho = 1 + static_cast<int>(gerador.bounded(60));
            while (t.size() < tamanho)
                t += gerador.bounded(5) == 0
                         ? pedacos[static_cast<int>(gerador.bounded(pedacos.size()))]
                         : QString(letras[static_cast<int>(gerador.bounded(letras.size()))]);
            textos << t;
        }
        Conexao conexao;
        const Resultado conectado = conexao.conectar(parametros(servidor));
        QVERIFY2(conectado.ok, qPrintable(conectado.erro));
        QVERIFY(conexao.executar(QStringLiteral("CREATE TEMP TABLE eco (n integer, t text);")));
        for (bool padrao : {true, false}) {
            QVERIFY(conexao.executar(QStringLiteral("SET standard_conforming_strings = ") +
                                     (padrao ? QStringLiteral("on") : QStringLiteral("off"))));
            QVERIFY(conexao.executar(QStringLiteral("DELETE FROM eco;")));
            for (int i = 0; i < textos.size(); ++i) {
                ErroSql e;
                QVERIFY2(conexao.executar(QStringLiteral("INSERT INTO eco VALUES (") + QString::number(i) +
                                              QStringLiteral(", ") + conexao.textoSempre(textos[i]) +
                                              QStringLiteral(");"),
                                          &e),
                         qPrintable(e.texto + QLatin1Char(' ') + e.comando));
            }
            const auto linhas = conexao.consultar(QStringLiteral("SELECT n, t FROM eco ORDER BY n;"));
            QVERIFY(linhas && linhas->size() == 1000);
            for (size_t i = 0; i < linhas->size(); ++i)
                QCOMPARE((*linhas)[i].texto(1), textos[static_cast<int>(i)]);
        }
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gestao.log")), QStringLiteral("0"));

        // Through the run: the salesperson's name lands in the local table as the server has it.
        const QString nome = textos.front().left(40).trimmed();
        servidor.executar(QStringLiteral("UPDATE gestao.vendedor SET nome=") + conexao.textoSempre(nome) +
                          QStringLiteral(" WHERE id_vendedor=10"));
        test::TempDataFolder pasta;
        configurar(pasta.store(), servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(pasta.store(), ouvinte, TipoComunicacao::Total).resultado,
                 ResultadoComunicacao::Sucesso);
        Table v(pasta.store(), "vendedor");
        QVERIFY(v.open());
        v.clear();
        v.rec().setInteger("CODIGO", 5);
        v.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(v.get("KEYCODIGO"), Status::Ok);
        QCOMPARE(v.rec().text("NOME").trimmed(), nome);
    }

    // The server drops the connection in the middle of the company step: the run says so and fails,
    // the step's table is as before, and the next run completes.
    void connectionKilled() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        configurar(pasta.store(), servidor);
        Ouvinte ouvinte;
        ouvinte.aoRegistrar = [&servidor](const QString& texto) {
            if (texto == QStringLiteral("Atualizando Empresa..."))
                servidor.executar(
                    QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                   "WHERE application_name='QAV+' AND datname=current_database()"));
        };
        QCOMPARE(rodar(pasta.store(), ouvinte, TipoComunicacao::Total).resultado,
                 ResultadoComunicacao::Falhou);
        QVERIFY2(ouvinte.tudo().contains(QStringLiteral("Conexão com o servidor perdida!")),
                 qPrintable(ouvinte.tudo()));
        Table empresas(pasta.store(), "empresa");
        QVERIFY(empresas.open());
        QCOMPARE(empresas.count(), qint64(0));
        QCOMPARE(configuracao(pasta.store()).date("DT_ULT_COM"), Date::fromYmd(2026, 1, 10));

        Ouvinte segunda;
        QCOMPARE(rodar(pasta.store(), segunda, TipoComunicacao::Total).resultado,
                 ResultadoComunicacao::Sucesso);
        QCOMPARE(empresas.count(), qint64(1));
    }

    // The same run from the command line: exit 0 / 1, the log printed, never the database password.
    void qavtoolComunicar() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        configurar(pasta.store(), servidor);
        const auto rodarTool = [&](const QStringList& args, QString& saida) {
            QProcess tool;
            tool.start(test::programPath(QStringLiteral("qavtool")), args);
            tool.waitForFinished(120000);
            saida = QString::fromLocal8Bit(tool.readAllStandardOutput() + tool.readAllStandardError());
            return tool.exitCode();
        };
        QString saida;
        QCOMPARE(rodarTool({QStringLiteral("comunicar"), QStringLiteral("--pasta"), pasta.path(),
                            QStringLiteral("--tipo"), QStringLiteral("total")},
                           saida),
                 0);
        QVERIFY2(saida.contains(QStringLiteral("Atualizados 2 Tipos de Pedido...")), qPrintable(saida));
        QVERIFY(!saida.contains(servidor.password()));
        QCOMPARE(rodarTool({QStringLiteral("configurar"), QStringLiteral("--pasta"), pasta.path(),
                            QStringLiteral("--empresa"), QStringLiteral("1"),
                            QStringLiteral("SENHA_VENDEDOR=errada")},
                           saida),
                 0);
        QCOMPARE(rodarTool({QStringLiteral("comunicar"), QStringLiteral("--pasta"), pasta.path()}, saida), 1);
        QVERIFY2(saida.contains(QStringLiteral("Senha inválida!")), qPrintable(saida));
        QCOMPARE(rodarTool({QStringLiteral("configurar"), QStringLiteral("--pasta"), pasta.path(),
                            QStringLiteral("--empresa"), QStringLiteral("1"), QStringLiteral("NAO_EXISTE=1")},
                           saida),
                 2);
        QCOMPARE(rodarTool({QStringLiteral("comunicar"), QStringLiteral("--tipo"), QStringLiteral("diaria")},
                           saida),
                 2);
    }
};

QAV_TEST_GUILESS_MAIN(TestComunicacao)
#include "tst_comunicacao.moc"
