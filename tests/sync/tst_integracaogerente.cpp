// The update of a sales office's manager database from the hub installation, run against a real
// PostgreSQL server built from the repository's schemas and test data: what each step writes to the
// office, what the order import writes here, that a failing step ends the update, and qavtool gerente.
#include "OuvinteGravador.h"
#include "base/core/Settings.h"
#include "base/core/Utils.h"
#include "store/core/Clock.h"
#include "store/core/Table.h"
#include "store/core/TableFile.h"
#include "store/core/Text.h"
#include "sync/core/gerente/Integracao.h"
#include "tests/support/FailingDisk.h"
#include "tests/support/Programs.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/sync/GerenteFixture.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace qav;
using namespace qav::sync;
using qav::test::ServidorTeste;
using qav::test::TempDataFolder;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

const Date kHoje = Date::fromYmd(2026, 12, 8);

using Ouvinte = test::OuvinteGravador;

struct Atualizacao {
    bool ok = false;
    Ouvinte ouvinte;
};

void atualizar(Atualizacao& a, Store& store, const BdGerente& g, bool formularioAberto = false) {
    PedidoIntegracao pedido;
    pedido.idEmpresa = 1;
    pedido.configuracao = g;
    pedido.formularioPedidoAberto = formularioAberto;
    a.ok = atualizarGerente(store, a.ouvinte, pedido);
}

} // namespace

class TstIntegracaoGerente : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
        if (!ServidorTeste::configured())
            QFAIL(qPrintable(ServidorTeste::missingConfiguration()));
    }
    void cleanupTestCase() { Clock::setOverride({}); }

    // The whole update on the test data: every step said its count, the office is told the hub is
    // active, and the update ends with its notice.
    void atualizacaoCompleta() {
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta, tps;
        prepararHub(pasta.store());
        QVERIFY(GRAVAREGISTRO(QStringLiteral("gerente"), QStringLiteral("QAV.Hub"), QStringLiteral("Ativo"),
                              QStringLiteral("0")));
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, tps.path()));
        QVERIFY2(a.ok, qPrintable(a.ouvinte.tudo()));
        for (const char* esperado : {"Atualizados 3 Produtos...", "Atualizados 1 Pautas de Preço...",
                                     "Atualizadas 1 Forma de Pagamento...", "Atualizados 1 Municípios...",
                                     "Atualizados 2 Clientes......", "Importados 1 Pedidos..."})
            QVERIFY2(a.ouvinte.registros.contains(QString::fromUtf8(esperado)), esperado);
        QCOMPARE(a.ouvinte.mensagens, QStringList{QStringLiteral("Aviso: Fim de atualização!")});
        QCOMPARE(leRegistro(QStringLiteral("gerente"), QStringLiteral("QAV.Hub"), QStringLiteral("Ativo")),
                 u"1"_s);
        // No password in anything the update said.
        QVERIFY(!a.ouvinte.tudo().contains(s.password()));
    }

    // Products: only those this installation sells, of groups and subgroups that go to the
    // workstations, reach the office and the second product file; their texts arrive unchanged, a
    // missing unit is added, and the second file numbers the product type.
    void produtos_data() {
        QTest::addColumn<int>("idErp");
        QTest::addColumn<bool>("noGerente");
        QTest::addColumn<QString>("descricao");
        QTest::addColumn<QString>("tipoTps");
        QTest::newRow("novo do ERP, unidade nova")
            << 1008 << true << QStringLiteral("Trilho superior") << u"1"_s;
        QTest::newRow("alterado, aspas e acentos")
            << 1001 << true << QStringLiteral("Perfil \"U\" 3/4' anodizado \\ açaí") << u"1"_s;
        QTest::newRow("tipo 04") << 1004 << true << QStringLiteral("Puxador concha") << u"2"_s;
        QTest::newRow("não vendido aqui") << 1002 << false << QString() << QString();
        QTest::newRow("grupo fora do QAV") << 1005 << false << QString() << QString();
    }
    void produtos() {
        QFETCH(int, idErp);
        QFETCH(bool, noGerente);
        QFETCH(QString, descricao);
        QFETCH(QString, tipoTps);
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta, tps;
        prepararHub(pasta.store());
        s.executar(
            QStringLiteral("DELETE FROM gestao.produto WHERE id_erp IN (1002, 1005);"
                           "UPDATE expzor.produto SET unidade='CX' WHERE id_erp=1008;"
                           "UPDATE expzor.produto SET descricao=E'Perfil \"U\" 3/4'' anodizado \\\\ açaí', "
                           "idxfti='velho' WHERE id_erp=1001;"));
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, tps.path()));
        QVERIFY2(a.ok, qPrintable(a.ouvinte.tudo()));
        const QString onde =
            QStringLiteral(" FROM gestao.produto WHERE id_empresa=1 AND id_erp=%1").arg(idErp);
        QCOMPARE(s.valor(QStringLiteral("SELECT count(*)") + onde), noGerente ? QStringLiteral("1") : u"0"_s);
        const Record t = ler(tps.store(), "produto", "KEYID", [idErp](Record& r) {
            r.setInteger("ID", idErp);
            r.setInteger("ID_EMPRESA", 1);
        });
        if (!noGerente) {
            QCOMPARE(t.integer("ID"), 0);
            return;
        }
        QCOMPARE(s.valor(QStringLiteral("SELECT descricao") + onde), descricao);
        QVERIFY(s.valor(QStringLiteral("SELECT idxfti") + onde).isNull());
        QCOMPARE(t.integer("ID"), idErp);
        QCOMPARE(t.text("NOME").trimmed(), descricao);
        QCOMPARE(t.text("TIPO").trimmed(), tipoTps);
        if (idErp == 1008) {
            QCOMPARE(s.valor(QStringLiteral("SELECT vl_preco1") + onde), QStringLiteral("31.000"));
            QCOMPARE(t.decimal("PRECO").toString(4), "31.0000");
            QCOMPARE(
                s.linhas(QStringLiteral("SELECT descricao, ativa FROM gestao.unidade WHERE unidade='CX'")),
                (std::vector<QStringList>{{QStringLiteral("CX"), QStringLiteral("1")}}));
        }
    }

    // A catalogue larger than what is read from the server at a time: every product goes, once.
    void produtosEmVariasLeituras() {
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta, tps;
        prepararHub(pasta.store());
        constexpr int kProdutos = 1201;
        s.executar(
            QStringLiteral(
                "INSERT INTO expzor.produto (id_produto, id_empresa, codigo, descricao, unidade, tipo, "
                "cod_grupo, cod_subgrupo, ativo, lista_pauta, id_erp) SELECT 5000 + n, 1, 'L-' || n, "
                "'Lote ' || n, 'UN', '00', 1, 10, 1, 1, 5000 + n FROM generate_series(1, %1) n;")
                .arg(kProdutos));
        {
            Table t(pasta.store(), "produto");
            QVERIFY(t.open());
            QVERIFY(t.beginBatch());
            for (int n = 1; n <= kProdutos; ++n) {
                t.clear();
                t.rec().setInteger("ID", 5000 + n);
                t.rec().setInteger("ID_EMPRESA", 1);
                t.rec().setText("CODIGO", QStringLiteral("L-%1").arg(n));
                QCOMPARE(t.add(), Status::Ok);
            }
            QVERIFY(t.endBatch());
        }
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, tps.path()));
        QVERIFY2(a.ok, qPrintable(a.ouvinte.tudo()));
        QVERIFY(
            a.ouvinte.registros.contains(QStringLiteral("Atualizados %1 Produtos...").arg(kProdutos + 3)));
        QCOMPARE(
            s.valor(QStringLiteral("SELECT count(DISTINCT id_erp) FROM gestao.produto WHERE id_erp>5000")),
            QString::number(kProdutos));
        QCOMPARE(contar(tps.store(), "produto"), kProdutos + 3);
    }

    // Many rows a statement, on the encodings the offices run: products, customers and municipalities
    // in several batches each arrive with their accented texts, quotes and backslashes as the
    // workstation holds them, without a text adjusted on the way.
    void lotesNasCodificacoes_data() {
        QTest::addColumn<QString>("banco");
        QTest::newRow("UTF8") << u"UTF8"_s;
        QTest::newRow("LATIN1") << u"LATIN1"_s;
        QTest::newRow("SQL_ASCII") << u"SQL_ASCII"_s;
    }
    void lotesNasCodificacoes() {
        QFETCH(QString, banco);
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente, ServidorTeste::Dados::Teste, banco);
        TempDataFolder pasta, tps;
        prepararHub(pasta.store());
        constexpr int kLinhas = 1201;
        const QString descricao = QStringLiteral("Perfil açaí d'Ávila \\ nº ");
        s.executarComo(
            banco == u"SQL_ASCII"_s ? u"SQL_ASCII"_s : u"LATIN1"_s,
            QStringLiteral("INSERT INTO expzor.produto (id_produto, id_empresa, codigo, descricao, "
                           "unidade, tipo, cod_grupo, cod_subgrupo, ativo, lista_pauta, id_erp) "
                           "SELECT 5000 + n, 1, 'L-' || n, E'%1' || n, 'UN', '00', 1, 10, 1, 1, "
                           "5000 + n FROM generate_series(1, %2) n;")
                .arg(QString(descricao).replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"''"_s))
                .arg(kLinhas));
        const auto preencher = [&](const char* tabela, const std::function<void(Record&, int)>& f) {
            Table t(pasta.store(), tabela);
            QVERIFY(t.open() && t.beginBatch());
            for (int n = 1; n <= kLinhas; ++n) {
                t.clear();
                f(t.rec(), n);
                QCOMPARE(t.add(), Status::Ok);
            }
            QVERIFY(t.endBatch());
        };
        preencher("produto", [](Record& r, int n) {
            r.setInteger("ID", 5000 + n);
            r.setInteger("ID_EMPRESA", 1);
            r.setText("CODIGO", QStringLiteral("L-%1").arg(n));
        });
        preencher("clientes", [](Record& r, int n) {
            r.setInteger("ID", 10000 + n);
            r.setText("CGCPF", QStringLiteral("77.%1.000/0001-00").arg(n, 3, 10, QLatin1Char('0')));
            r.setText("RAZAO", QStringLiteral("Vidraçaria \"Ômega\" d'Ávila \\ %1").arg(n));
        });
        preencher("municip", [](Record& r, int n) {
            r.setInteger("ID", 100 + n);
            r.setInteger("COD_RAIS", 6000000 + n);
            r.setText("NOME", QStringLiteral("São João d'Oeste %1").arg(n));
            r.setText("ESTADO", QStringLiteral("SC"));
        });
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, tps.path()));
        QVERIFY2(a.ok, qPrintable(a.ouvinte.tudo()));
        QVERIFY2(a.ouvinte.linhasCom(u"Texto ajustado"_s).isEmpty(), qPrintable(a.ouvinte.tudo()));
        QVERIFY(
            a.ouvinte.registros.contains(QStringLiteral("Atualizados %1 Clientes......").arg(kLinhas + 2)));
        QCOMPARE(s.valor(u"SELECT count(*) FROM gestao.municipio WHERE id_municipio>100"_s),
                 QString::number(kLinhas));
        QCOMPARE(s.valor(u"SELECT count(*) FROM gestao.produto WHERE id_erp>5000"_s),
                 QString::number(kLinhas));
        // The last row of each: the last batch went like the first.
        const std::vector<std::pair<QString, QString>> textos = {
            {u"SELECT descricao FROM gestao.produto WHERE id_erp=%1"_s.arg(5000 + kLinhas),
             descricao + QString::number(kLinhas)},
            {u"SELECT razao FROM gerente.clientes WHERE id_cliente=%1"_s.arg(10000 + kLinhas),
             QStringLiteral("Vidraçaria \"Ômega\" d'Ávila \\ %1").arg(kLinhas)},
            {u"SELECT nome FROM gestao.municipio WHERE id_municipio=%1"_s.arg(100 + kLinhas),
             QStringLiteral("São João d'Oeste %1").arg(kLinhas)}};
        for (const auto& [consulta, esperado] : textos) {
            if (banco == u"SQL_ASCII"_s)
                QCOMPARE(s.bytes(consulta), *text::toWin1252(esperado));
            else
                QCOMPARE(s.valor(consulta), esperado);
        }
        // The next municipality the office adds itself takes the id after the last one added here.
        QCOMPARE(s.valor(u"SELECT nextval('gestao.municipio_id_municipio_seq')"_s),
                 QString::number(101 + kLinhas));
    }

    // A customer the office refuses in the second batch ends the step with the refusal of that very
    // customer, and the office keeps none of the step's customers, the first batch's included.
    void etapaRecusadaDesfeitaInteira() {
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        constexpr int kClientes = 700;
        {
            Table t(pasta.store(), "clientes");
            QVERIFY(t.open() && t.beginBatch());
            for (int n = 1; n <= kClientes; ++n) {
                t.clear();
                t.rec().setInteger("ID", 10000 + n);
                t.rec().setText("CGCPF", QStringLiteral("77.%1.000/0001-00").arg(n, 3, 10, QLatin1Char('0')));
                t.rec().setText("SUF_CGCPF", QStringLiteral("1"));
                t.rec().setText("RAZAO", QStringLiteral("Cliente %1").arg(n));
                QCOMPARE(t.add(), Status::Ok);
            }
            QVERIFY(t.endBatch());
        }
        // The office has the document of local customer 10650 under an id of its own.
        s.executar(
            u"INSERT INTO gerente.clientes (id_cliente, cgcpf, suf_cgcpf, razao) VALUES (5000, '77.650.000/0001-00', '1', 'Outro');"_s);
        const QString antes = s.valor(
            u"SELECT string_agg(id_cliente || '/' || coalesce(razao, ''), ',' ORDER BY id_cliente) FROM gerente.clientes"_s);
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, QString()));
        QVERIFY(!a.ok);
        QCOMPARE(a.ouvinte.mensagens.size(), 1);
        const QString mensagem = a.ouvinte.mensagens.front();
        QVERIFY2(mensagem.startsWith(u"Erro (23505)/cliente: "_s) &&
                     mensagem.endsWith(u"|Novo: 1|Id: 10650"_s),
                 qPrintable(mensagem));
        QCOMPARE(
            s.valor(
                u"SELECT string_agg(id_cliente || '/' || coalesce(razao, ''), ',' ORDER BY id_cliente) FROM gerente.clientes"_s),
            antes);
    }

    // Price lists: the office's list of the same company and code takes the local id (its old prices
    // go, the local ones come); a list the office does not have is added under the local id; a
    // company above 9000 is written as its number less 9000.
    void pautas_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("empresa");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<int>("empresaGerente");
        QTest::newRow("código sob outro id") << 10001 << 1 << 1 << 1;
        QTest::newRow("nova") << 90019001 << 9001 << 9 << 1;
    }
    void pautas() {
        QFETCH(int, id);
        QFETCH(int, empresa);
        QFETCH(int, codigo);
        QFETCH(int, empresaGerente);
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        if (id != 10001) {
            adicionar(pasta.store(), "pauta", [&](Record& r) {
                r.setInteger("ID", id);
                r.setInteger("ID_EMPRESA", empresa);
                r.setInteger("CODIGO", codigo);
                r.setText("NUM_PAUTA", QStringLiteral("NOVA-%1").arg(codigo));
                r.setText("DESCRICAO", QStringLiteral("Pauta \"nova\" d'Itajaí \\ 2027"));
            });
            adicionar(pasta.store(), "pauxpro", [&](Record& r) {
                r.setInteger("ID_PAUTA", id);
                r.setInteger("ID_PROD", 1008);
                r.setDecimal("PRECO1", *Decimal::parse("30.1234"));
            });
        }
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, QString()));
        QVERIFY2(a.ok, qPrintable(a.ouvinte.tudo()));
        QCOMPARE(
            s.valor(QStringLiteral("SELECT string_agg(id_pauta::text, ',') FROM gestao.pauta WHERE codigo=%1")
                        .arg(codigo)),
            QString::number(id));
        QCOMPARE(s.valor(QStringLiteral("SELECT id_empresa FROM gestao.pauta WHERE id_pauta=%1").arg(id)),
                 QString::number(empresaGerente));
        QCOMPARE(s.valor(QStringLiteral("SELECT ativo FROM gestao.pauta WHERE id_pauta=%1").arg(id)), u"1"_s);
        // The prices of the list are exactly the local ones.
        const Record local =
            ler(pasta.store(), "pauta", "KEYID", [id](Record& r) { r.setInteger("ID", id); });
        QCOMPARE(s.valor(QStringLiteral("SELECT descricao FROM gestao.pauta WHERE id_pauta=%1").arg(id)),
                 local.text("DESCRICAO").trimmed());
        QStringList esperados;
        Table precos(pasta.store(), "pauxpro");
        QVERIFY(precos.open());
        precos.setFilter("ID_PAUTA = ?", {id});
        for (Status st = precos.seekFirst("KEYPRODUTO") == Status::Ok ? precos.next() : Status::EndOfFile;
             st == Status::Ok; st = precos.next())
            esperados << QStringLiteral("%1=%2")
                             .arg(precos.rec().integer("ID_PROD"))
                             .arg(QString::fromStdString(precos.rec().decimal("PRECO1").toString(4)));
        QCOMPARE(
            s.valor(QStringLiteral("SELECT string_agg(id_prod || '=' || preco1, ',' ORDER BY id_prod) FROM "
                                   "gestao.pauxpro WHERE id_pauta=%1")
                        .arg(id)),
            esperados.join(QLatin1Char(',')));
        QCOMPARE(s.valor(QStringLiteral("SELECT count(*) FROM gestao.pauxpro WHERE id_pauta=1")), u"0"_s);
    }

    // The connection dies half-way through sending a price list's prices: the office's list keeps all
    // the prices it had, as its removal and the new prices go in one server transaction.
    void pautaInterrompidaFicaInteira() {
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        {
            Table precos(pasta.store(), "pauxpro");
            QVERIFY(precos.open());
            for (int n = 1; n <= 1200; ++n) {
                precos.clear();
                precos.rec().setInteger("ID_PAUTA", 10001);
                precos.rec().setInteger("ID_PROD", 200000 + n);
                precos.rec().setDecimal("PRECO1", Decimal(n));
                QCOMPARE(precos.add(), Status::Ok);
            }
        }
        Atualizacao primeira;
        atualizar(primeira, pasta.store(), configuracao(s, QString()));
        QVERIFY2(primeira.ok, qPrintable(primeira.ouvinte.tudo()));
        const QString lista =
            QStringLiteral("SELECT count(*) || '/' || sum(preco1) FROM gestao.pauxpro WHERE id_pauta=10001");
        const QString antes = s.valor(lista);
        QCOMPARE(antes, u"1202/720633.4000"_s);
        // The office's server ends the update's connection as the 900th price arrives.
        s.executar(
            QStringLiteral("CREATE FUNCTION gestao.derrubar() RETURNS trigger LANGUAGE plpgsql AS "
                           "$$ BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NEW; END $$;"
                           "CREATE TRIGGER derrubar BEFORE INSERT ON gestao.pauxpro FOR EACH ROW "
                           "WHEN (NEW.id_prod = 200900) EXECUTE FUNCTION gestao.derrubar();"));
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, QString()));
        QVERIFY(!a.ok);
        // The lost connection is told once, as such, with what to do.
        QCOMPARE(a.ouvinte.mensagens.size(), 1);
        QVERIFY2(a.ouvinte.mensagens.first().startsWith(u"Erro: Conexão com o servidor perdida!|"_s) &&
                     a.ouvinte.mensagens.first().contains(u"faça a atualização novamente"_s),
                 qPrintable(a.ouvinte.tudo()));
        QCOMPARE(s.valor(lista), antes);
    }

    // Payment forms: under the local id, marked for the workstations, company above 9000 less 9000.
    void formasPagamento_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("empresa");
        QTest::addColumn<int>("codigo");
        QTest::newRow("código sob outro id") << 10001 << 1 << 1;
        QTest::newRow("empresa 9001 vai como 1") << 90019001 << 9001 << 3;
        QTest::newRow("nova") << 70001 << 1 << 7;
    }
    void formasPagamento() {
        QFETCH(int, id);
        QFETCH(int, empresa);
        QFETCH(int, codigo);
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        if (id != 10001)
            adicionar(pasta.store(), "formapag", [&](Record& r) {
                r.setInteger("ID_FORMAPAG", id);
                r.setInteger("ID_EMPRESA", empresa);
                r.setInteger("CODIGO", codigo);
                r.setText("DESCR", QStringLiteral("30 dias – d'Ávila \\ boleto"));
                r.setDecimal("PRAZO_MEDIO", Decimal(30));
            });
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, QString()));
        QVERIFY2(a.ok, qPrintable(a.ouvinte.tudo()));
        const Record local = ler(pasta.store(), "formapag", "PK_FORMAPAG",
                                 [id](Record& r) { r.setInteger("ID_FORMAPAG", id); });
        QCOMPARE(s.linhas(QStringLiteral("SELECT id_formapag, id_empresa, descr, integrar_qav, ativa FROM "
                                         "gestao.formapag WHERE codigo=%1 AND id_empresa=1")
                              .arg(codigo)),
                 (std::vector<QStringList>{{QString::number(id), QStringLiteral("1"),
                                            local.text("DESCR").trimmed(), QStringLiteral("1"),
                                            QStringLiteral("1")}}));
    }

    // Municipalities: under the local id with the IBGE code; codes of 0 go as none; a new one is
    // dated today, a changed one keeps its date.
    void municipios_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("ibge");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("ibgeGerente");
        QTest::addColumn<QString>("data");
        QTest::newRow("alterado") << 5 << 4206702 << QStringLiteral("Herval d'Oeste \\ SC") << u"4206702"_s
                                  << u"2026-11-20"_s;
        QTest::newRow("novo sem código")
            << 6 << 0 << QStringLiteral("São José") << QString() << u"2026-12-08"_s;
    }
    void municipios() {
        QFETCH(int, id);
        QFETCH(int, ibge);
        QFETCH(QString, nome);
        QFETCH(QString, ibgeGerente);
        QFETCH(QString, data);
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        adicionar(pasta.store(), "municip", [&](Record& r) {
            r.setInteger("ID", id);
            r.setInteger("COD_RAIS", ibge);
            r.setText("NOME", nome);
            r.setText("ESTADO", QStringLiteral("SC"));
        });
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, QString()));
        QVERIFY2(a.ok, qPrintable(a.ouvinte.tudo()));
        const auto linhas = s.linhas(
            QStringLiteral("SELECT nome, codigo_ibge, codigo_federal, dt_atual FROM gestao.municipio WHERE "
                           "id_municipio=%1")
                .arg(id));
        QCOMPARE(linhas.size(), size_t(1));
        QCOMPARE(linhas[0][0], nome);
        QCOMPARE(linhas[0][1], ibgeGerente);
        QVERIFY(linhas[0][2].isNull());
        QCOMPARE(linhas[0][3], data);
    }

    // Customers: the office's customer with the document of a local one takes the local id with its
    // partners and orders; every local customer goes to the office under its id, each local field in
    // its column, and the columns the installation keeps nothing of stay as the office has them.
    void clientes() {
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        alterarCliente(pasta.store(), 900004, [](Record& r) {
            r.setInteger("COD_ATIV_IR", 4744);
            r.setText("PRINC_PRODU", QStringLiteral("Espelhos"), 1);
            r.setInteger("PERC_VENDAS", 30, 2);
        });
        adicionar(pasta.store(), "clientes", [](Record& r) {
            r.setInteger("ID", 900003);
            r.setText("CGCPF", kDocumentoOmega);
            r.setText("RAZAO", QStringLiteral("Serralheria Ômega Ltda ME"));
        });
        s.executar(QStringLiteral("INSERT INTO gestao.socios (id_cliente, nome) VALUES (950001, 'Otávio');"));
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, QString()));
        QVERIFY2(a.ok, qPrintable(a.ouvinte.tudo()));
        QCOMPARE(s.valor(QStringLiteral("SELECT count(*) FROM gerente.clientes WHERE id_cliente=950001")),
                 u"0"_s);
        QCOMPARE(s.valor(QStringLiteral("SELECT cgcpf FROM gerente.clientes WHERE id_cliente=900003")),
                 kDocumentoOmega);
        QCOMPARE(s.valor(QStringLiteral("SELECT id_cliente FROM gestao.socios WHERE nome='Otávio'")),
                 u"900003"_s);
        QCOMPARE(s.valor(QStringLiteral("SELECT clien FROM gerente.pedidos WHERE numero=105")), u"900003"_s);
        // The office's order of that customer comes in with the local customer, none copied.
        QCOMPARE(contar(pasta.store(), "clientes"), 3);
        const auto novo =
            s.linhas(QStringLiteral("SELECT razao, cod_pais, length(obs), dt_atual, enquadramento "
                                    "FROM gerente.clientes WHERE id_cliente=900004"));
        QCOMPARE(novo, (std::vector<QStringList>{{QStringLiteral("Vidros \"Cristal\" d'Oeste \\ Cia"),
                                                  QStringLiteral("1058"), QStringLiteral("2048"),
                                                  QStringLiteral("2026-12-08"), QString()}}));
        QCOMPARE(s.valor(QStringLiteral("SELECT email_nfe FROM gerente.clientes WHERE id_cliente=1")),
                 u"nfe@saojoao.com.br"_s);
        QCOMPARE(
            s.linhas(QStringLiteral("SELECT cnae_fiscal, princ_produ2, perc_vendas3 FROM gerente.clientes "
                                    "WHERE id_cliente=900004")),
            (std::vector<QStringList>{{u"4744"_s, u"Espelhos"_s, u"30.00"_s}}));
    }

    // The date of a customer's last change on the office moves only when something changed; an amount
    // with more places than the office keeps is no change once written.
    void clientesDataAlteracao() {
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        alterarCliente(pasta.store(), 1, [](Record& r) { r.setReal("LIMCRED", 1500.125); });
        Atualizacao primeira;
        atualizar(primeira, pasta.store(), configuracao(s, QString()));
        QVERIFY2(primeira.ok, qPrintable(primeira.ouvinte.tudo()));
        alterarCliente(pasta.store(), 900004,
                       [](Record& r) { r.setText("TELEF", QStringLiteral("3333-4444")); });
        Clock::setOverride([] { return DateTimeParts{kHoje.addDays(5), 10, 0, 0}; });
        Atualizacao segunda;
        atualizar(segunda, pasta.store(), configuracao(s, QString()));
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
        QVERIFY2(segunda.ok, qPrintable(segunda.ouvinte.tudo()));
        QCOMPARE(s.valor(QStringLiteral("SELECT dt_atual FROM gerente.clientes WHERE id_cliente=1")),
                 u"2026-12-08"_s);
        QCOMPARE(s.valor(QStringLiteral("SELECT dt_atual FROM gerente.clientes WHERE id_cliente=900004")),
                 u"2026-12-13"_s);
    }

    // The office's customer sequence never hands out ids below 950000.
    void sequenciaClientes_data() {
        QTest::addColumn<int>("proximo");
        QTest::addColumn<QString>("depois");
        QTest::newRow("abaixo do piso") << 120 << u"950001"_s;
        QTest::newRow("acima do piso") << 960000 << u"960000"_s;
    }
    void sequenciaClientes() {
        QFETCH(int, proximo);
        QFETCH(QString, depois);
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        s.executar(
            QStringLiteral("SELECT setval('gerente.clientes_id_cliente_seq', %1, false);").arg(proximo));
        Atualizacao a;
        atualizar(a, pasta.store(), configuracao(s, QString()));
        QVERIFY2(a.ok, qPrintable(a.ouvinte.tudo()));
        QCOMPARE(s.valor(QStringLiteral("SELECT nextval('gerente.clientes_id_cliente_seq');")), depois);
    }

    // The office's orders in situation 2 come in as new pending orders with their items, the
    // office's copy marked with the local number, never twice.
    void pedidosImportados_data() {
        QTest::addColumn<QString>("marca");
        QTest::addColumn<int>("fconta");
        QTest::addColumn<bool>("importado");
        QTest::addColumn<int>("fcontaLocal");
        QTest::newRow("sem marca") << QString() << 2 << true << 2;
        QTest::newRow("marca nula, frete 3") << QStringLiteral("NULL") << 3 << true << 1;
        QTest::newRow("já importado") << QStringLiteral("'QAV#7'") << 2 << false << 0;
    }
    void pedidosImportados() {
        QFETCH(QString, marca);
        QFETCH(int, fconta);
        QFETCH(bool, importado);
        QFETCH(int, fcontaLocal);
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        s.executar(QStringLiteral("UPDATE gerente.clientes SET cnae_fiscal=2512, princ_produ3='Portões', "
                                  "perc_vendas2=40, email_nfe='nfe@omega.com.br' WHERE id_cliente=950001;"));
        s.executar(QStringLiteral("UPDATE gerente.pedidos SET fconta=%1, num_ped_qav=%2 WHERE numero=105;")
                       .arg(fconta)
                       .arg(marca.isEmpty() ? QStringLiteral("''") : marca));
        for (int vez = 0; vez < 2; ++vez) {
            Atualizacao a;
            atualizar(a, pasta.store(), configuracao(s, QString()));
            QVERIFY2(a.ok, qPrintable(a.ouvinte.tudo()));
        }
        QCOMPARE(contar(pasta.store(), "pedidos"), importado ? 2 : 1);
        if (!importado) {
            QCOMPARE(s.valor(QStringLiteral("SELECT num_ped_qav FROM gerente.pedidos WHERE numero=105")),
                     u"QAV#7"_s);
            return;
        }
        const Record v = ler(pasta.store(), "pedidos", "KEYID", [](Record& r) { r.setInteger("ID", 8); });
        QCOMPARE(v.integer("NUMER"), 41);
        QCOMPARE(v.integer("SITUA"), 1);
        QCOMPARE(v.integer("ID_EMPRESA"), 1);
        QCOMPARE(v.integer("COD_VENDEDOR"), 5);
        QCOMPARE(v.integer("CLIEN"), 950001);
        QCOMPARE(v.integer("FCONTA"), fcontaLocal);
        QCOMPARE(v.integer("COD_PAUTA"), 1);
        QCOMPARE(v.real("TOTAL"), 229.2);
        QCOMPARE(v.real("COMIS"), 4.5);
        QCOMPARE(Date(static_cast<int>(v.integer("DATA"))), Date::fromYmd(2026, 12, 1));
        QCOMPARE(v.text("OBS").trimmed(), QStringLiteral("Pedido do escritório: \"urgente\""));
        // The office's new customer came with its order.
        const Record cli =
            ler(pasta.store(), "clientes", "KEYID", [](Record& r) { r.setInteger("ID", 950001); });
        QCOMPARE(cli.text("RAZAO").trimmed(), QStringLiteral("Serralheria Ômega Ltda ME"));
        QCOMPARE(cli.integer("COD_ATIV_IR"), 2512);
        QCOMPARE(cli.text("PRINC_PRODU", 2), QStringLiteral("Portões"));
        QCOMPARE(cli.integer("PERC_VENDAS", 1), 40);
        // The office's address for invoices is not the one the order documents go to.
        QVERIFY(cli.text("EMAIL_QAV").isEmpty());
        QStringList itens;
        Table t(pasta.store(), "peditens");
        QVERIFY(t.open());
        t.setFilter("ID_VENDA = ?", {8});
        for (Status st = t.seekFirst("KEYID_VENDASI") == Status::Ok ? t.next() : Status::EndOfFile;
             st == Status::Ok; st = t.next())
            itens << QStringLiteral("%1 %2x%3 %4")
                         .arg(t.rec().integer("PRODU"))
                         .arg(QString::fromStdString(t.rec().decimal("QTD").toString(3)),
                              QString::fromStdString(t.rec().decimal("PRUNI").toString(4)),
                              t.rec().text("OBS").trimmed());
        QCOMPARE(itens, (QStringList{QStringLiteral("1001 6.000x25.5000 "),
                                     QStringLiteral("1002 4.000x12.7500 Com furação")}));
        QCOMPARE(s.linhas(QStringLiteral(
                     "SELECT num_ped_qav, num_client_vend FROM gerente.pedidos WHERE numero=105")),
                 (std::vector<QStringList>{{QStringLiteral("QAV#41"), QStringLiteral("QAV # 41")}}));
        QCOMPARE(
            s.valor(QStringLiteral("SELECT count(*) FROM gestao.log WHERE operacao='LOG' AND tabela='pedido' "
                                   "AND descricao='Importação QAV # 41'")),
            u"1"_s);
    }

    // The office's copy is marked in the same step as the order is written here: when the local
    // write fails after the office took the mark, the mark is taken back and the next update brings
    // the order, once.
    void pedidoNaoSePerde() {
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        FailingDisk disco;
        PedidoIntegracao pedido;
        pedido.idEmpresa = 1;
        pedido.configuracao = configuracao(s, QString());
        // The disk fails as the import commits (the price lists before it commit their own).
        bool marcado = false;
        pedido.gravadorComandos = [&disco, &marcado](const QString& comando) {
            marcado = marcado || comando.startsWith(QLatin1String("UPDATE gerente.pedidos SET num_ped_qav"));
            if (marcado && comando == QLatin1String("commit;"))
                disco.setFailing(true);
        };
        Ouvinte ouvinte;
        QVERIFY(!atualizarGerente(pasta.store(), ouvinte, pedido));
        QVERIFY2(ouvinte.mensagens.join(u'\n').contains(QStringLiteral(") ao gravar pedido!")),
                 qPrintable(ouvinte.tudo()));
        disco.setFailing(false);
        QCOMPARE(s.valor(QStringLiteral("SELECT num_ped_qav FROM gerente.pedidos WHERE numero=105")),
                 QString());
        QCOMPARE(contar(pasta.store(), "pedidos"), 1);

        pedido.gravadorComandos = {};
        Ouvinte outra;
        QVERIFY2(atualizarGerente(pasta.store(), outra, pedido), qPrintable(outra.tudo()));
        QCOMPARE(contar(pasta.store(), "pedidos"), 2);
        QCOMPARE(s.valor(QStringLiteral("SELECT num_ped_qav FROM gerente.pedidos WHERE numero=105")),
                 u"QAV#41"_s);
    }

    // A step that fails says why and ends the update: the later steps do not run.
    void falhaEncerraAtualizacao_data() {
        QTest::addColumn<QString>("preparo");
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<QString>("naoRodou"); // a row the later steps would have written
        QTest::newRow("pauta inválida no pedido")
            << QStringLiteral("UPDATE gerente.pedidos SET num_pauta='XYZ' WHERE numero=105;")
            << QStringLiteral("Aviso: Pauta inválida!|Número Pauta: XYZ")
            << QStringLiteral(
                   "SELECT count(*) FROM gerente.pedidos WHERE numero=105 AND num_ped_qav LIKE 'QAV#%'");
        QTest::newRow("município recusado")
            << QStringLiteral(
                   "UPDATE gestao.municipio SET codigo_ibge=4205407, id_municipio=77 WHERE id_municipio=1;")
            << QStringLiteral("Erro (23505)/municipio: ")
            << QStringLiteral("SELECT count(*) FROM gerente.clientes WHERE id_cliente=900004");
        QTest::newRow("pauta recusada")
            << QStringLiteral("UPDATE gestao.pauta SET num_pauta='XX' WHERE id_pauta=1;"
                              "UPDATE gestao.pauta SET num_pauta='SC-2026' WHERE id_pauta=2;")
            << QStringLiteral("Erro (23505)/pauta: ")
            << QStringLiteral("SELECT count(*) FROM gestao.formapag WHERE id_formapag=10001");
        // The office already has another customer under the local id: the move is refused and undone
        // whole, the office's customer keeps its id, partners and orders.
        QTest::newRow("renumeração recusada")
            << QStringLiteral("INSERT INTO gerente.clientes (id_cliente, cgcpf, razao) VALUES (900003, "
                              "'99.888.777/0001-66', 'Outro');"
                              "INSERT INTO gestao.socios (id_cliente, nome) VALUES (950001, 'Otávio');")
            << QStringLiteral("Erro SQL (23505): ")
            << QStringLiteral("SELECT count(*) FROM gerente.pedidos WHERE clien<>950001 AND numero=105 OR "
                              "(SELECT count(*) FROM gestao.socios WHERE id_cliente=950001)<>1 OR "
                              "(SELECT count(*) FROM gerente.clientes WHERE id_cliente=950001)<>1");
        QTest::newRow("senha errada")
            << QStringLiteral("senha") << QStringLiteral("Erro: ERRO CONEXÃO BANCO DE DADOS.|")
            << QStringLiteral("SELECT count(*) FROM gestao.produto WHERE id_erp=1008");
        QTest::newRow("pedido aberto")
            << QStringLiteral("formulario")
            << QStringLiteral("Aviso: Cadastro de pedidos está aberto!|Impossível fazer "
                              "atualização!")
            << QStringLiteral("SELECT count(*) FROM gestao.produto WHERE id_erp=1008");
    }
    void falhaEncerraAtualizacao() {
        QFETCH(QString, preparo);
        QFETCH(QString, mensagem);
        QFETCH(QString, naoRodou);
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder pasta;
        prepararHub(pasta.store());
        BdGerente g = configuracao(s, QString());
        if (preparo == QLatin1String("senha"))
            g.senha = QStringLiteral("errada';x");
        else if (preparo != QLatin1String("formulario"))
            s.executar(preparo);
        if (preparo.contains(QLatin1String("900003")))
            adicionar(pasta.store(), "clientes", [](Record& r) {
                r.setInteger("ID", 900003);
                r.setText("CGCPF", kDocumentoOmega);
            });
        Atualizacao a;
        atualizar(a, pasta.store(), g, preparo == QLatin1String("formulario"));
        QVERIFY(!a.ok);
        QCOMPARE(a.ouvinte.mensagens.size(), 1);
        QVERIFY2(a.ouvinte.mensagens.front().startsWith(mensagem), qPrintable(a.ouvinte.mensagens.front()));
        QVERIFY(!a.ouvinte.tudo().contains(g.senha));
        QCOMPARE(s.valor(naoRodou), u"0"_s);
        QCOMPARE(contar(pasta.store(), "pedidos"), 1);
    }

    // qavtool gerente: the update with the settings of qav.cfg in the working folder.
    void qavtoolGerente_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<bool>("senhaCerta");
        QTest::addColumn<int>("saida");
        QTest::newRow("atualiza") << QStringList{QStringLiteral("--pasta"), QStringLiteral("dados")} << true
                                  << 0;
        QTest::newRow("com empresa") << QStringList{QStringLiteral("--pasta"), QStringLiteral("dados"),
                                                    QStringLiteral("--empresa"), QStringLiteral("1")}
                                     << true << 0;
        QTest::newRow("senha errada")
            << QStringList{QStringLiteral("--pasta"), QStringLiteral("dados")} << false << 1;
        QTest::newRow("pasta inexistente")
            << QStringList{QStringLiteral("--pasta"), QStringLiteral("nada")} << true << 1;
        QTest::newRow("sem pasta") << QStringList{} << true << 2;
        QTest::newRow("empresa inválida") << QStringList{QStringLiteral("--pasta"), QStringLiteral("dados"),
                                                         QStringLiteral("--empresa"), QStringLiteral("x")}
                                          << true << 2;
    }
    void qavtoolGerente() {
        QFETCH(QStringList, argumentos);
        QFETCH(bool, senhaCerta);
        QFETCH(int, saida);
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        QTemporaryDir raiz;
        QVERIFY(QDir(raiz.path()).mkpath(QStringLiteral("dados")));
        {
            Store store(raiz.filePath(QStringLiteral("dados")));
            for (const TableDef& def : catalogue()) {
                StoreError erro;
                QVERIFY(createTableFile(store.filePath(def), def, &erro));
            }
            prepararHub(store);
        }
        BdGerente g = configuracao(s, QString());
        if (!senhaCerta)
            g.senha = QStringLiteral("errada");
        QVERIFY(Settings(raiz.path()).setBdGerente(g));
        QProcess p;
        p.setWorkingDirectory(raiz.path());
        // The mark of the active hub goes to this test's own settings, not the user's.
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("XDG_CONFIG_HOME"), raiz.filePath(QStringLiteral("config")));
        p.setProcessEnvironment(ambiente);
        p.start(qav::test::programPath(QStringLiteral("qavtool")),
                QStringList{QStringLiteral("gerente")} + argumentos);
        QVERIFY(p.waitForFinished(120000));
        const QString saidaTexto =
            QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        QVERIFY2(p.exitCode() == saida, qPrintable(saidaTexto));
        QVERIFY(!saidaTexto.contains(s.password()));
        if (saida == 0) {
            QVERIFY(saidaTexto.contains(QStringLiteral("Fim de atualização!")));
            QVERIFY(QFile::exists(raiz.filePath(QStringLiteral("config/QAV/QAVPlus.conf"))));
            QCOMPARE(s.valor(QStringLiteral("SELECT num_ped_qav FROM gerente.pedidos WHERE numero=105")),
                     u"QAV#41"_s);
        }
    }
};

QAV_TEST_GUILESS_MAIN(TstIntegracaoGerente)
#include "tst_integracaogerente.moc"
