// The upload of a customer created on this workstation to the ERP, against a real PostgreSQL server
// built from the repository's schemas and test data and a real data folder: the row the ERP gets,
// a customer or partner never created twice (also after a run that lost its local commit), the
// workstations' id range, the local renumbering of the customer, its partners and its orders, and the
// server's refusals, after which both sides are as they were.
#include "OuvinteGravador.h"
#include "store/core/Table.h"
#include "store/core/Transaction.h"
#include "sync/core/envio/Cliente.h"
#include "sync/core/envio/CorrentZor.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>
#include <functional>
#include <optional>

using namespace qav;
using namespace qav::sync;
using qav::test::ServidorTeste;

namespace {

// Customers of the test data on the server: 1 to 4; the next id is 5.
constexpr int kProximoDoServidor = 5;
constexpr int kClienteNovo = 900001;
constexpr int kOutroClienteNovo = 900002;
// The document of server customer 1, which has the partners Antônio (123.456.789-09) and Márcia.
const QString kDocumentoCliente1 = QStringLiteral("11.222.333/0001-81");
// A document the server does not know.
const QString kDocumentoNovo = QStringLiteral("45.723.174/0001-10");

using Ouvinte = test::OuvinteGravador;

// The five tables of an order's local transaction over a fresh data folder.
struct Local {
    test::TempDataFolder pasta;
    Table pedidos{pasta.store(), "pedidos"};
    Table peditens{pasta.store(), "peditens"};
    Table pedacess{pasta.store(), "pedacess"};
    Table clientes{pasta.store(), "clientes"};
    Table socios{pasta.store(), "socios"};
    TabelasEnvio tabelas{pedidos, peditens, pedacess, clientes, socios};

    bool abrir() {
        return pedidos.open() && peditens.open() && pedacess.open() && clientes.open() && socios.open();
    }

    void cliente(int id, const QString& documento, const QString& sufixo = {}, int pessoa = 1,
                 const std::function<void(Record&)>& preencher = {}) {
        clientes.clear();
        Record& r = clientes.rec();
        r.setInteger("ID", id);
        r.setInteger("ATIVO", 1);
        r.setInteger("PESSO", pessoa);
        r.setText("CGCPF", documento);
        r.setText("SUF_CGCPF", sufixo);
        r.setText("RAZAO", QStringLiteral("Cliente %1").arg(id));
        r.setInteger("ID_MUNICIPIO", 1);
        if (preencher)
            preencher(r);
        QCOMPARE(clientes.add(), Status::Ok);
    }

    void socio(int id, int idCliente, const QString& nome, const QString& cpf) {
        socios.clear();
        Record& r = socios.rec();
        r.setInteger("ID_SOCIO", id);
        r.setInteger("ID_CLIENTE", idCliente);
        r.setText("NOME", nome);
        r.setText("CPF_CNPJ", cpf);
        r.setText("NACIONA", QStringLiteral("Brasileira"));
        r.setDate("MA_ENTRADA", Date::fromYmd(2021, 3, 1));
        r.setReal("VL_QUOTAS", 1500.505);
        r.setText("FUNCAO", QStringLiteral("Sócio"));
        QCOMPARE(socios.add(), Status::Ok);
    }

    void pedido(int id, int idCliente, int situacao) {
        pedidos.clear();
        Record& r = pedidos.rec();
        r.setInteger("ID", id);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("NUMER", id);
        r.setInteger("SITUA", situacao);
        r.setInteger("CLIEN", idCliente);
        QCOMPARE(pedidos.add(), Status::Ok);
    }

    std::optional<Record> ler(Table& t, const char* campo, int id) {
        t.clear();
        t.rec().setInteger(campo, id);
        if (t.get("KEYID") != Status::Ok)
            return std::nullopt;
        return t.rec();
    }

    // Ids of the records whose `campo` holds `valor`, walked in physical order.
    QList<int> idsCom(Table& t, const char* campo, int valor) {
        QList<int> ids;
        Status s = t.seekPhysical();
        while (s == Status::Ok && (s = t.next()) == Status::Ok)
            if (t.rec().integer(campo) == valor)
                ids << static_cast<int>(t.rec().integer(0));
        return ids;
    }
};

// A connection and a run context as the communication run makes them.
struct Envio {
    Ouvinte ouvinte;
    Conexao conexao;
    std::optional<ContextoComunicacao> contexto;

    bool conectar(Local& local, const ServidorTeste& s) {
        const Resultado conectado =
            conexao.conectar({s.database(), s.host(), s.port(), s.passwordUser(), s.password()});
        if (!conectado.ok) {
            qWarning() << conectado.erro;
            return false;
        }
        contexto.emplace(local.pasta.store(), conexao, ouvinte);
        contexto->sistema = conexao.sistema();
        contexto->idEmpresa = 1;
        conexao.aoErroSql([this](const ErroSql& e) { contexto->erroSql(e); });
        return true;
    }

    // One customer inside the transactions of one order, both sides committed when it went (the local
    // side only when `confirmarLocal`, as a run that lost its local commit), both rolled back when not.
    bool enviar(Local& local, int idLocal, std::optional<int>& id, bool confirmarLocal = true,
                const std::function<bool()>& antesDeConfirmar = {}) {
        if (!conexao.iniciar())
            return false;
        Transaction transacao(
            {&local.pedidos, &local.peditens, &local.pedacess, &local.clientes, &local.socios});
        if (!transacao.begin())
            return false;
        id = enviarCliente(*contexto, local.tabelas, idLocal, 1);
        if (id && (!antesDeConfirmar || antesDeConfirmar())) {
            if (!conexao.confirmar())
                return false;
            return confirmarLocal ? transacao.commit() : transacao.rollback();
        }
        return conexao.desfazer() && transacao.rollback();
    }
};

int contar(ServidorTeste& s, const QString& sql) {
    return s.valor(sql).toInt();
}

} // namespace

class TestEnvioCliente : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void colunasSaoAsDoErp();
    void clienteNovo();
    void textoChegaComoDigitado_data();
    void textoChegaComoDigitado();
    void documentoJaNoServidor_data();
    void documentoJaNoServidor();
    void sociosPeloDocumento();
    void commitLocalPerdido();
    void faixaDasEstacoes_data();
    void faixaDasEstacoes();
    void renumeracaoLocal();
    void clienteLocalJaExiste();
    void clienteInexistente();
    void recusaDoServidor_data();
    void recusaDoServidor();
};

// The insert names every column of the ERP's customer table, in its order (the date of the last change
// is the ERP's own).
void TestEnvioCliente::colunasSaoAsDoErp() {
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor, ServidorTeste::Dados::Vazio);
    QStringList doServidor;
    for (const QStringList& linha : servidor.linhas(
             QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema='zor' AND "
                            "table_name='corrent' AND column_name<>'dt_atual' ORDER BY ordinal_position")))
        doServidor << linha.value(0);
    QStringList enviadas;
    for (const QString& c : colunasCorrent())
        enviadas << c;
    QCOMPARE(enviadas.size(), 127);
    QCOMPARE(enviadas, doServidor);
}

void TestEnvioCliente::clienteNovo() {
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
    Local local;
    QVERIFY(local.abrir());
    local.cliente(kClienteNovo, kDocumentoNovo, QString(), 1, [](Record& r) {
        r.setInteger("CONSFINAL", 1);
        r.setText("NOME", QStringLiteral("Vidraçaria D'Ávila"));
        r.setText("ENDER", QStringLiteral("Rua São José"));
        r.setText("PRINC_PRODU", QStringLiteral("Espelhos"), 1);
        r.setInteger("PERC_VENDAS", 30, 2);
        r.setInteger("FORMA_PAG", 2);
        r.setInteger("ID_TRANSPORTADOR", 7);
        r.setReal("LIMCRED", 1234.565);
        r.setReal("CAP_SOCIAL", 100000.25);
        r.setDate("DT_CONST", Date::fromYmd(2020, 2, 29));
        r.setInteger("COD_VENDEDOR", 5);
        r.setInteger("COD_PAUTA", 3);
    });
    Envio envio;
    QVERIFY(envio.conectar(local, servidor));
    std::optional<int> id;
    QVERIFY(envio.enviar(local, kClienteNovo, id));

    QCOMPARE(id, std::optional<int>(kProximoDoServidor));
    QCOMPARE(envio.ouvinte.mensagens, QStringList());
    QCOMPARE(envio.ouvinte.linhas, QStringList{QStringLiteral("Gravando Cliente # 900001...")});
    const auto linhas = servidor.linhas(QStringLiteral(
        "SELECT ativo, pesso, consfinal, cgcpf, suf_cgcpf, nome, endereco, princ_produ2, perc_vendas3, "
        "cod_formapag, id_transportadora, limcred, cap_social, dt_const, cod_vendedor, cod_pauta, cod_pais, "
        "id_municipio, id_municipio_entrega, id_regiao, cod_vendedor2, inscr "
        "FROM zor.corrent WHERE id_corrent=5"));
    QCOMPARE(linhas.size(), size_t(1));
    const QStringList esperado = {QStringLiteral("9"),
                                  QStringLiteral("1"),
                                  QStringLiteral("1"),
                                  kDocumentoNovo,
                                  QString(),
                                  QStringLiteral("Vidraçaria D'Ávila"),
                                  QStringLiteral("Rua São José"),
                                  QStringLiteral("Espelhos"),
                                  QStringLiteral("30"),
                                  QStringLiteral("2"),
                                  QStringLiteral("7"),
                                  QStringLiteral("1234.57"),
                                  QStringLiteral("100000.25"),
                                  QStringLiteral("2020-02-29"),
                                  QStringLiteral("5"),
                                  QStringLiteral("3"),
                                  QStringLiteral("1058"),
                                  QStringLiteral("1"),
                                  QString(),
                                  QString(),
                                  QStringLiteral("0"),
                                  QString()};
    QCOMPARE(linhas[0], esperado);
    QCOMPARE(
        servidor.linhas(QStringLiteral("SELECT nome_cpd, operacao, descricao, id_empresa FROM gestao.log "
                                       "WHERE tabela='correntistas' AND id=5")),
        (std::vector<QStringList>{{QStringLiteral("QAV"), QStringLiteral("INC"),
                                   QStringLiteral("QAV+ 2026.186"), QStringLiteral("1")}}));

    // Locally the customer now goes by the server's id.
    QVERIFY(!local.ler(local.clientes, "ID", kClienteNovo));
    const auto renumerado = local.ler(local.clientes, "ID", kProximoDoServidor);
    QVERIFY(renumerado);
    QCOMPARE(renumerado->text("NOME"), QStringLiteral("Vidraçaria D'Ávila"));
    QCOMPARE(envio.contexto->renumeracaoClientes,
             (std::vector<std::pair<int, int>>{{kClienteNovo, kProximoDoServidor}}));
}

void TestEnvioCliente::textoChegaComoDigitado_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("coluna");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("noServidor"); // null: Null on the server

    QTest::newRow("aspas") << "RAZAO"
                           << "razao"
                           << "Vidraçaria D'Ávila \"Sul\" Ltda"
                           << "Vidraçaria D'Ávila \"Sul\" Ltda";
    QTest::newRow("barras invertidas") << "COMPL"
                                       << "compl"
                                       << "Sala \\2\\ \\\\"
                                       << "Sala \\2\\ \\\\";
    QTest::newRow("comando dentro do texto") << "BAIRR"
                                             << "bairr"
                                             << "x'); DROP TABLE --"
                                             << "x'); DROP TABLE --";
    QTest::newRow("acentos") << "E_ENDER"
                             << "e_ender"
                             << "Travessa Conceição Güths, ½ º"
                             << "Travessa Conceição Güths, ½ º";
    QTest::newRow("retorno de carro") << "OBS"
                                      << "obs"
                                      << "Entregar\r\nde manhã\r\n"
                                      << "Entregar\nde manhã\n";
    QTest::newRow("texto longo") << "I_COM"
                                 << "i_com" << QString(4100, QLatin1Char('a'))
                                 << QString(4000, QLatin1Char('a'));
    QTest::newRow("em branco") << "TELEF"
                               << "telef"
                               << "   " << QString();
    QTest::newRow("documento em branco") << "CGCPF"
                                         << "cgcpf"
                                         << "" << QString();
}

void TestEnvioCliente::textoChegaComoDigitado() {
    QFETCH(QString, campo);
    QFETCH(QString, coluna);
    QFETCH(QString, valor);
    QFETCH(QString, noServidor);
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
    Local local;
    QVERIFY(local.abrir());
    local.cliente(kClienteNovo, kDocumentoNovo, QString(), 1,
                  [&](Record& r) { r.setText(campo.toLatin1().constData(), valor); });
    Envio envio;
    QVERIFY(envio.conectar(local, servidor));
    std::optional<int> id;
    QVERIFY(envio.enviar(local, kClienteNovo, id));
    QCOMPARE(id, std::optional<int>(kProximoDoServidor));
    QCOMPARE(servidor.valor(QStringLiteral("SELECT %1 FROM zor.corrent WHERE id_corrent=5").arg(coluna)),
             noServidor);
}

void TestEnvioCliente::documentoJaNoServidor_data() {
    QTest::addColumn<int>("pessoa");
    QTest::addColumn<QString>("documento");
    QTest::addColumn<QString>("sufixo");
    QTest::addColumn<int>("idEsperado");
    QTest::addColumn<bool>("criado");

    // Besides the test data the server has two customers abroad: 10 (placeholder EXT-0001, no suffix)
    // and 11 (no document). A new customer gets 12. A customer abroad is never taken for another with
    // the same placeholder; a customer of another type with that document is the server's.
    QTest::newRow("jurídica já no servidor") << 1 << kDocumentoCliente1 << "" << 1 << false;
    QTest::newRow("física já no servidor") << 2 << "529.982.247-25"
                                           << "" << 4 << false;
    QTest::newRow("mesmo documento, outro sufixo") << 1 << kDocumentoCliente1 << "002" << 12 << true;
    QTest::newRow("exterior com o mesmo documento, sem sufixo") << 3 << "EXT-0001"
                                                                << "" << 12 << true;
    QTest::newRow("jurídica com o documento de um do exterior") << 1 << "EXT-0001"
                                                                << "" << 10 << false;
    QTest::newRow("exterior com outro sufixo") << 3 << "EXT-0001"
                                               << "002" << 12 << true;
    QTest::newRow("exterior sem documento") << 3 << ""
                                            << "" << 12 << true;
    QTest::newRow("física sem documento") << 2 << ""
                                          << "" << 12 << true;
}

void TestEnvioCliente::documentoJaNoServidor() {
    QFETCH(int, pessoa);
    QFETCH(QString, documento);
    QFETCH(QString, sufixo);
    QFETCH(int, idEsperado);
    QFETCH(bool, criado);
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
    servidor.executar(
        QStringLiteral("INSERT INTO zor.corrent (id_corrent, ativo, pesso, cgcpf, suf_cgcpf, razao) VALUES "
                       "(10, 1, 3, 'EXT-0001', NULL, 'Importadora del Plata'), (11, 1, 3, NULL, NULL, "
                       "'Comercial Andina')"));
    Local local;
    QVERIFY(local.abrir());
    local.cliente(kClienteNovo, documento, sufixo, pessoa);
    Envio envio;
    QVERIFY(envio.conectar(local, servidor));
    std::optional<int> id;
    QVERIFY(envio.enviar(local, kClienteNovo, id));

    QCOMPARE(id, std::optional<int>(idEsperado));
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM zor.corrent")), criado ? 7 : 6);
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM gestao.log WHERE tabela='correntistas'")),
             criado ? 1 : 0);
    if (criado)
        QCOMPARE(servidor.valor(QStringLiteral("SELECT pesso FROM zor.corrent WHERE id_corrent=12")),
                 QString::number(pessoa));
    QVERIFY(local.ler(local.clientes, "ID", idEsperado));
    QVERIFY(!local.ler(local.clientes, "ID", kClienteNovo));
}

// A customer whose document the ERP knows is not created again, but its partners are added; a partner
// the ERP already has for it (the same CPF, written with or without punctuation) is not.
void TestEnvioCliente::sociosPeloDocumento() {
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
    Local local;
    QVERIFY(local.abrir());
    local.cliente(kClienteNovo, kDocumentoCliente1);
    local.socio(1, kClienteNovo, QStringLiteral("Antonio Ferreira"), QStringLiteral("12345678909"));
    local.socio(2, kClienteNovo, QStringLiteral("Beatriz O'Hara"), QStringLiteral("222.333.444-05"));
    local.socio(3, kClienteNovo, QStringLiteral("Sem Documento"), QString());
    Envio envio;
    QVERIFY(envio.conectar(local, servidor));
    std::optional<int> id;
    QVERIFY(envio.enviar(local, kClienteNovo, id));

    QCOMPARE(id, std::optional<int>(1));
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM zor.corrent")), 4);
    QCOMPARE(
        servidor.linhas(QStringLiteral("SELECT nome, cpf, naciona, ma_entrada, vl_quotas, funcao FROM "
                                       "gestao.socios WHERE id_cliente=1 ORDER BY id_socio")),
        (std::vector<QStringList>{
            {QStringLiteral("Antônio Ferreira"), QStringLiteral("123.456.789-09"),
             QStringLiteral("Brasileira"), QStringLiteral("2010-05-03"), QStringLiteral("50000.00"),
             QStringLiteral("Sócio-gerente")},
            {QStringLiteral("Márcia O'Neil"), QStringLiteral("987.654.321-00"), QStringLiteral("Irlandesa"),
             QStringLiteral("2012-09-17"), QStringLiteral("25000.00"), QStringLiteral("Sócia")},
            {QStringLiteral("Beatriz O'Hara"), QStringLiteral("222.333.444-05"), QStringLiteral("Brasileira"),
             QStringLiteral("2021-03-01"), QStringLiteral("1500.51"), QStringLiteral("Sócio")},
            {QStringLiteral("Sem Documento"), QString(), QStringLiteral("Brasileira"),
             QStringLiteral("2021-03-01"), QStringLiteral("1500.51"), QStringLiteral("Sócio")},
        }));
    QCOMPARE(local.idsCom(local.socios, "ID_CLIENTE", 1), (QList<int>{1, 2, 3}));
}

// A run that committed on the server and then lost its local commit sends the customer again: it is
// found by its document, and neither it nor its partners are created a second time.
void TestEnvioCliente::commitLocalPerdido() {
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
    Local local;
    QVERIFY(local.abrir());
    local.cliente(kClienteNovo, kDocumentoNovo);
    local.socio(1, kClienteNovo, QStringLiteral("Beatriz O'Hara"), QStringLiteral("222.333.444-05"));
    local.socio(2, kClienteNovo, QStringLiteral("Sem Documento"), QString());
    Envio envio;
    QVERIFY(envio.conectar(local, servidor));
    std::optional<int> id;
    QVERIFY(envio.enviar(local, kClienteNovo, id, false));
    QCOMPARE(id, std::optional<int>(kProximoDoServidor));
    QVERIFY(local.ler(local.clientes, "ID", kClienteNovo));

    QVERIFY(envio.enviar(local, kClienteNovo, id));
    QCOMPARE(id, std::optional<int>(kProximoDoServidor));
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM zor.corrent")), 5);
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM gestao.log WHERE tabela='correntistas'")),
             1);
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM gestao.socios WHERE id_cliente=5")), 2);
    QCOMPARE(local.idsCom(local.socios, "ID_CLIENTE", kProximoDoServidor), (QList<int>{1, 2}));
    QVERIFY(!local.ler(local.clientes, "ID", kClienteNovo));
}

void TestEnvioCliente::faixaDasEstacoes_data() {
    QTest::addColumn<int>("maiorNoServidor");
    QTest::addColumn<bool>("comODocumento"); // the server's customer with that id has the document
    QTest::addColumn<QString>("recusa");     // empty when the customer goes
    const QString proximo = QStringLiteral(
        "Aviso: Cliente # 900001: o próximo código de cliente do servidor (%1) invade a faixa dos clientes "
        "criados nas estações (900001 em diante). Pedido não transmitido.");
    QTest::newRow("último id antes da faixa") << 899999 << false << QString();
    QTest::newRow("o próximo seria o primeiro da faixa") << 900000 << false << proximo.arg(900001);
    QTest::newRow("já dentro da faixa") << 950000 << false << proximo.arg(950001);
    QTest::newRow("o mesmo documento dentro da faixa")
        << 900005 << true
        << QStringLiteral(
               "Aviso: Cliente # 900001: o cliente do servidor com este CNPJ/CPF tem o código 900005, "
               "da faixa dos clientes criados nas estações (900001 em diante). Pedido não transmitido.");
}

// The ids from 900001 up are the workstations' own: a customer is never created there on the server.
void TestEnvioCliente::faixaDasEstacoes() {
    QFETCH(int, maiorNoServidor);
    QFETCH(bool, comODocumento);
    QFETCH(QString, recusa);
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
    servidor.executar(
        QStringLiteral("INSERT INTO zor.corrent (id_corrent, ativo, pesso, cgcpf, razao) VALUES "
                       "(%1, 1, 1, '%2', 'Alto')")
            .arg(maiorNoServidor)
            .arg(comODocumento ? kDocumentoNovo : QStringLiteral("99.999.999/0001-91")));
    Local local;
    QVERIFY(local.abrir());
    local.cliente(kClienteNovo, kDocumentoNovo);
    local.socio(1, kClienteNovo, QStringLiteral("Beatriz O'Hara"), QStringLiteral("222.333.444-05"));
    Envio envio;
    QVERIFY(envio.conectar(local, servidor));
    std::optional<int> id;
    QVERIFY(envio.enviar(local, kClienteNovo, id));

    if (recusa.isEmpty()) {
        QCOMPARE(id, std::optional<int>(maiorNoServidor + 1));
        QCOMPARE(envio.ouvinte.mensagens, QStringList());
        return;
    }
    QCOMPARE(id, std::nullopt);
    QCOMPARE(envio.ouvinte.mensagens, QStringList{recusa});
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM zor.corrent")), 5);
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM gestao.socios")), 3);
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM gestao.log")), 0);
    QVERIFY(local.ler(local.clientes, "ID", kClienteNovo));
    QCOMPARE(local.idsCom(local.socios, "ID_CLIENTE", kClienteNovo), QList<int>{1});
    QVERIFY(envio.contexto->renumeracaoClientes.empty());
}

// Every local record of the customer takes the server's id: the customer, its partners and each of its
// orders whatever its situation; another customer's records stay; the order being sent, read before
// the upload, can still be written afterwards.
void TestEnvioCliente::renumeracaoLocal() {
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
    Local local;
    QVERIFY(local.abrir());
    local.cliente(kClienteNovo, kDocumentoNovo);
    local.cliente(kOutroClienteNovo, QString());
    local.socio(1, kClienteNovo, QStringLiteral("Beatriz O'Hara"), QStringLiteral("222.333.444-05"));
    local.socio(2, kOutroClienteNovo, QStringLiteral("Carlos Lima"), QStringLiteral("333.444.555-06"));
    local.socio(3, kClienteNovo, QStringLiteral("Sem Documento"), QString());
    local.pedido(1, kClienteNovo, 1);
    local.pedido(2, kClienteNovo, 2);
    local.pedido(3, kOutroClienteNovo, 2);
    local.pedido(4, kClienteNovo, 4);
    local.pedido(5, kClienteNovo, 2);
    Envio envio;
    QVERIFY(envio.conectar(local, servidor));
    // The order being sent is in the order table's buffer, as the order upload holds it.
    QVERIFY(local.ler(local.pedidos, "ID", 2));
    std::optional<int> id;
    std::optional<Status> gravado;
    QVERIFY(envio.enviar(local, kClienteNovo, id, true, [&] {
        Record& pedido = local.pedidos.rec();
        pedido.setInteger("SITUA", 3);
        gravado = local.pedidos.put();
        return gravado == Status::Ok;
    }));

    QCOMPARE(gravado, std::optional<Status>(Status::Ok));
    QCOMPARE(local.pedidos.rec().integer("ID"), 2);
    QCOMPARE(local.pedidos.rec().integer("CLIEN"), kProximoDoServidor);
    QCOMPARE(id, std::optional<int>(kProximoDoServidor));
    QCOMPARE(local.clientes.rec().integer("ID"), kProximoDoServidor);
    QCOMPARE(local.idsCom(local.pedidos, "CLIEN", kProximoDoServidor), (QList<int>{1, 2, 4, 5}));
    QCOMPARE(local.idsCom(local.pedidos, "CLIEN", kOutroClienteNovo), QList<int>{3});
    QCOMPARE(local.idsCom(local.pedidos, "SITUA", 3), QList<int>{2});
    QCOMPARE(local.idsCom(local.socios, "ID_CLIENTE", kProximoDoServidor), (QList<int>{1, 3}));
    QCOMPARE(local.idsCom(local.socios, "ID_CLIENTE", kOutroClienteNovo), QList<int>{2});
    QVERIFY(local.ler(local.clientes, "ID", kOutroClienteNovo));
    QVERIFY(!local.ler(local.clientes, "ID", kClienteNovo));
}

// The ERP's customer is already in the local file (it came down before): the uploaded copy is deleted
// and the one here kept, with the uploaded partners it does not have yet.
void TestEnvioCliente::clienteLocalJaExiste() {
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
    Local local;
    QVERIFY(local.abrir());
    local.cliente(1, QString(), QString(), 1, [](Record& r) {
        r.setText("RAZAO", QStringLiteral("Comércio de Ferragens São João Ltda"));
    });
    local.socio(1, 1, QStringLiteral("Antônio Ferreira"), QStringLiteral("123.456.789-09"));
    local.cliente(kClienteNovo, kDocumentoCliente1, QString(), 1,
                  [](Record& r) { r.setText("RAZAO", QStringLiteral("Ferragens S. João (digitado)")); });
    local.socio(2, kClienteNovo, QStringLiteral("Antonio Ferreira"), QStringLiteral("123 456 789 09"));
    local.socio(3, kClienteNovo, QStringLiteral("Beatriz O'Hara"), QStringLiteral("222.333.444-05"));
    local.pedido(1, kClienteNovo, 2);
    Envio envio;
    QVERIFY(envio.conectar(local, servidor));
    std::optional<int> id;
    QVERIFY(envio.enviar(local, kClienteNovo, id));

    QCOMPARE(id, std::optional<int>(1));
    QCOMPARE(local.clientes.rec().text("RAZAO"), QStringLiteral("Comércio de Ferragens São João Ltda"));
    QVERIFY(!local.ler(local.clientes, "ID", kClienteNovo));
    const auto mantido = local.ler(local.clientes, "ID", 1);
    QVERIFY(mantido);
    QCOMPARE(mantido->text("RAZAO"), QStringLiteral("Comércio de Ferragens São João Ltda"));
    QCOMPARE(local.idsCom(local.socios, "ID_CLIENTE", 1), (QList<int>{1, 3}));
    QCOMPARE(local.idsCom(local.pedidos, "CLIEN", 1), QList<int>{1});
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM gestao.socios WHERE id_cliente=1")), 3);
}

// A customer id that is not in the local file sends nothing.
void TestEnvioCliente::clienteInexistente() {
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
    Local local;
    QVERIFY(local.abrir());
    local.cliente(kClienteNovo, kDocumentoNovo);
    Envio envio;
    QVERIFY(envio.conectar(local, servidor));
    std::optional<int> id;
    QVERIFY(envio.enviar(local, kOutroClienteNovo, id));

    QCOMPARE(id, std::nullopt);
    QCOMPARE(envio.ouvinte.mensagens,
             QStringList{QStringLiteral("Aviso: Cliente inválido!|Cliente # 900002")});
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM zor.corrent")), 4);
    QVERIFY(local.ler(local.clientes, "ID", kClienteNovo));
}

void TestEnvioCliente::recusaDoServidor_data() {
    QTest::addColumn<QString>("alteracao");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("cliente") << "ALTER TABLE zor.corrent ALTER COLUMN www TYPE varchar(5)"
                             << "Erro (22001)/cliente: ERROR:  value too long for type character varying(5)";
    QTest::newRow("registro no log")
        << "ALTER TABLE gestao.log ALTER COLUMN descricao TYPE varchar(5)"
        << "Erro: ERROR:  value too long for type character varying(5)|INSERT INTO "
           "gestao.log(   nome_cpd, nome_usuario, operacao, tabela, id, descricao, "
           "id_empresa)   VALUES ('QAV', 'QAV', 'INC', 'correntistas', 5,'QAV+ "
           "2026.186',1);";
    QTest::newRow("sócio")
        << "ALTER TABLE gestao.socios ALTER COLUMN funcao TYPE varchar(3) USING left(funcao, 3)"
        << "Erro (22001)/sócio: ERROR:  value too long for type character varying(3)";
}

// A statement the server refuses fails the customer with the server's words; after the rollback of
// both sides nothing of it is on the server and the local records are as they were.
void TestEnvioCliente::recusaDoServidor() {
    QFETCH(QString, alteracao);
    QFETCH(QString, mensagem);
    QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
    servidor.executar(alteracao);
    Local local;
    QVERIFY(local.abrir());
    local.cliente(kClienteNovo, kDocumentoNovo, QString(), 1,
                  [](Record& r) { r.setText("WWW", QStringLiteral("www.vidrosul.com.br")); });
    local.socio(1, kClienteNovo, QStringLiteral("Beatriz O'Hara"), QStringLiteral("222.333.444-05"));
    local.pedido(1, kClienteNovo, 2);
    Envio envio;
    QVERIFY(envio.conectar(local, servidor));
    std::optional<int> id;
    QVERIFY(envio.enviar(local, kClienteNovo, id));

    QCOMPARE(id, std::nullopt);
    QCOMPARE(envio.ouvinte.mensagens, QStringList{mensagem});
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM zor.corrent")), 4);
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM gestao.socios")), 3);
    QCOMPARE(contar(servidor, QStringLiteral("SELECT count(*) FROM gestao.log")), 0);
    QVERIFY(local.ler(local.clientes, "ID", kClienteNovo));
    QVERIFY(!local.ler(local.clientes, "ID", kProximoDoServidor));
    QCOMPARE(local.idsCom(local.socios, "ID_CLIENTE", kClienteNovo), QList<int>{1});
    QCOMPARE(local.idsCom(local.pedidos, "CLIEN", kClienteNovo), QList<int>{1});
    QVERIFY(envio.contexto->renumeracaoClientes.empty());
}

QAV_TEST_GUILESS_MAIN(TestEnvioCliente)
#include "tst_enviocliente.moc"
