// The storage side of the customer form on real table files: id reservation, save with partners in
// one transaction, cancel, change by another window, delete.
#include "customers/core/CadastroCliente.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::clientes;
using namespace Qt::StringLiterals;

namespace {

void addCliente(Store& store, std::int64_t id, const QString& razao, const QString& cgcpf = {}) {
    Table t(store, "clientes.tps");
    QVERIFY(t.open());
    t.clear();
    t.rec().setInteger("ID", id);
    t.rec().setText("RAZAO", razao);
    t.rec().setText("CGCPF", cgcpf);
    QCOMPARE(t.add(), Status::Ok);
    t.close();
}

std::int64_t contar(Store& store, const char* tabela) {
    Table t(store, tabela);
    if (!t.open())
        return -1;
    const std::int64_t n = t.count().value_or(-1);
    t.close();
    return n;
}

const PadroesNovoCliente padroes{Date::fromYmd(2026, 3, 9), PessoaJuridica, 12};

} // namespace

class TestCadastroCliente : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDataFolder> pasta;

private Q_SLOTS:
    void init() { pasta = std::make_unique<test::TempDataFolder>(); }

    void primeiroClienteLocal() {
        CadastroCliente c(pasta->store());
        QVERIFY(c.abrir());
        const ReservaId r = c.reservarNovo(padroes);
        QCOMPARE(r.status, Status::Ok);
        QCOMPARE(r.id, 900001);
        QCOMPARE(c.registro().integer("ID"), 900001);
        QCOMPARE(c.registro().text("CLASSE"), u"B"_s);
        QCOMPARE(c.registro().integer("COD_VENDEDOR"), 12);
        QCOMPARE(contar(pasta->store(), "clientes.tps"), 1); // reserved at once
    }

    void aposClientesDoServidor() {
        addCliente(pasta->store(), 7, u"A"_s);
        addCliente(pasta->store(), 1500, u"B"_s);
        CadastroCliente c(pasta->store());
        QVERIFY(c.abrir());
        QCOMPARE(c.reservarNovo(padroes).id, 901501);
        c.registro().setText("RAZAO", u"NOVO"_s);
        QVERIFY(c.gravar().ok);
        QCOMPARE(c.reservarNovo(padroes).id, 901502);
        c.desistir();
        // No record was ever kept in the server's range.
        Table t(pasta->store(), "clientes.tps");
        QVERIFY(t.open());
        t.clear();
        t.rec().setInteger("ID", 1501);
        QCOMPARE(t.get("KEYID"), Status::NotFound);
        t.rec().setInteger("ID", 901501);
        QCOMPARE(t.get("KEYID"), Status::Ok);
        QCOMPARE(t.rec().text("RAZAO"), u"NOVO"_s);
        t.close();
    }

    void duasJanelasNaoRepetemId() {
        CadastroCliente a(pasta->store());
        test::TempDataFolder* p = pasta.get();
        Store outra(p->path());
        CadastroCliente b(outra);
        QVERIFY(a.abrir());
        QVERIFY(b.abrir());
        QCOMPARE(a.reservarNovo(padroes).id, 900001);
        QCOMPARE(b.reservarNovo(padroes).id, 900002);
    }

    void desistirRemoveReserva() {
        CadastroCliente c(pasta->store());
        QVERIFY(c.abrir());
        c.reservarNovo(padroes);
        const ReservaId s = c.socios().reservarNovo();
        QCOMPARE(s.status, Status::Ok);
        QCOMPARE(s.id, 1);
        QCOMPARE(contar(pasta->store(), "socios.tps"), 1);
        c.desistir();
        QCOMPARE(contar(pasta->store(), "clientes.tps"), 0);
        QCOMPARE(contar(pasta->store(), "socios.tps"), 0);
    }

    void gravaComSocios() {
        CadastroCliente c(pasta->store());
        QVERIFY(c.abrir());
        const std::int64_t id = c.reservarNovo(padroes).id;
        for (const QString& nome : {u"ANA"_s, u"BRUNO"_s}) {
            QCOMPARE(c.socios().reservarNovo().status, Status::Ok);
            Record s = c.tabelaSocios().rec();
            s.setText("NOME", nome);
            c.socios().incluir(s);
        }
        QCOMPARE(c.socios().quantidade(), 2);
        QVERIFY(c.gravar().ok);
        CadastroCliente lido(pasta->store());
        QVERIFY(lido.abrir());
        QCOMPARE(lido.ler(id), Status::Ok);
        QCOMPARE(lido.socios().quantidade(), 2);
        QCOMPARE(lido.socios().lista()[0].text("NOME"), u"ANA"_s);
        QCOMPARE(lido.socios().lista()[1].integer("ID_CLIENTE"), id);
        // Deleting one partner and cancelling keeps both.
        lido.socios().excluir(lido.socios().lista()[0].integer("ID_SOCIO"));
        lido.desistir();
        QCOMPARE(contar(pasta->store(), "socios.tps"), 2);
    }

    // A failed save of the customer (a document another customer has) writes no partner either.
    void tudoOuNada() {
        addCliente(pasta->store(), 900001, u"EXISTENTE"_s, u"11.222.333/0001-81"_s);
        CadastroCliente c(pasta->store());
        QVERIFY(c.abrir());
        QCOMPARE(c.reservarNovo(padroes).id, 900002);
        QCOMPARE(c.socios().reservarNovo().status, Status::Ok);
        Record s = c.tabelaSocios().rec();
        s.setText("NOME", u"SOCIO"_s);
        c.socios().incluir(s);
        c.registro().setText("CGCPF", u"11.222.333/0001-81"_s);
        QCOMPARE(c.outroComDocumento(u"11.222.333/0001-81"_s, {}, 900002),
                 std::optional<std::int64_t>(900001));
        const CadastroCliente::Resultado r = c.gravar();
        QVERIFY(!r.ok);
        QCOMPARE(r.erro.code, ErrorCode::CreatesDuplicateKey);
        QCOMPARE(r.campoDuplicado, u"CNPJ/CPF + Sufixo"_s);
        // The partner is still only the empty reservation.
        Table t(pasta->store(), "socios.tps");
        QVERIFY(t.open());
        QCOMPARE(t.seekFirst("KEYID"), Status::Ok);
        QCOMPARE(t.next(), Status::Ok);
        QCOMPARE(t.rec().integer("ID_CLIENTE"), 0);
        QVERIFY(t.rec().text("NOME").trimmed().isEmpty());
        t.close();
        // With a suffix it goes through, partner included.
        c.registro().setText("SUF_CGCPF", u"2"_s);
        QVERIFY(c.gravar().ok);
        CadastroCliente lido(pasta->store());
        QVERIFY(lido.abrir());
        QCOMPARE(lido.ler(900002), Status::Ok);
        QCOMPARE(lido.socios().quantidade(), 1);
    }

    void alteracaoPorOutraJanela() {
        addCliente(pasta->store(), 900010, u"ORIGINAL"_s);
        CadastroCliente a(pasta->store());
        CadastroCliente b(pasta->store());
        QVERIFY(a.abrir());
        QVERIFY(b.abrir());
        QCOMPARE(a.ler(900010), Status::Ok);
        QCOMPARE(b.ler(900010), Status::Ok);
        b.registro().setText("RAZAO", u"PELA OUTRA"_s);
        QVERIFY(b.gravar().ok);
        a.registro().setText("RAZAO", u"PELA PRIMEIRA"_s);
        const CadastroCliente::Resultado r = a.gravar();
        QVERIFY(!r.ok);
        QCOMPARE(r.erro.code, ErrorCode::RecordChangedByAnotherStation);
        QCOMPARE(a.ler(900010), Status::Ok);
        QCOMPARE(a.registro().text("RAZAO"), u"PELA OUTRA"_s);
    }

    void alteracaoSemMudancaNaoGrava() {
        addCliente(pasta->store(), 900010, u"ORIGINAL"_s);
        CadastroCliente a(pasta->store());
        QVERIFY(a.abrir());
        QCOMPARE(a.ler(900010), Status::Ok);
        const std::int64_t revisao = a.registro().revision();
        QVERIFY(!a.algoMudou());
        QVERIFY(a.gravar().ok);
        QCOMPARE(a.ler(900010), Status::Ok);
        QCOMPARE(a.registro().revision(), revisao);
        // A change to a long text alone is written.
        a.registro().setText("I_COM", u"FORNECEDOR (11)5555-0000"_s);
        QVERIFY(a.algoMudou());
        QVERIFY(a.gravar().ok);
        QCOMPARE(a.ler(900010), Status::Ok);
        QCOMPARE(a.registro().text("I_COM"), u"FORNECEDOR (11)5555-0000"_s);
    }

    void excluirComSocios() {
        addCliente(pasta->store(), 900020, u"SAI"_s);
        CadastroCliente c(pasta->store());
        QVERIFY(c.abrir());
        QCOMPARE(c.ler(900020), Status::Ok);
        c.socios().reservarNovo();
        c.socios().incluir(c.tabelaSocios().rec());
        QVERIFY(c.gravar().ok);
        QCOMPARE(contar(pasta->store(), "socios.tps"), 1);
        QVERIFY(c.excluir().ok);
        QCOMPARE(contar(pasta->store(), "clientes.tps"), 0);
        QCOMPARE(contar(pasta->store(), "socios.tps"), 0);
    }

    void excluirComPedidosRecusado() {
        addCliente(pasta->store(), 900030, u"COM PEDIDO"_s);
        Table pedidos(pasta->store(), "pedidos.tps");
        QVERIFY(pedidos.open());
        pedidos.clear();
        pedidos.rec().setInteger("ID", 1);
        pedidos.rec().setInteger("CLIEN", 900030);
        QCOMPARE(pedidos.add(), Status::Ok);
        pedidos.close();
        CadastroCliente c(pasta->store());
        QVERIFY(c.abrir());
        QCOMPARE(c.ler(900030), Status::Ok);
        const CadastroCliente::Resultado r = c.excluir();
        QVERIFY(!r.ok);
        QVERIFY(r.comPedidos);
        QCOMPARE(contar(pasta->store(), "clientes.tps"), 1);
    }
};

QAV_TEST_GUILESS_MAIN(TestCadastroCliente)
#include "tst_cadastrocliente.moc"
