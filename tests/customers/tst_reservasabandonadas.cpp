// A new customer or partner is reserved in its file as soon as its form opens. A reservation whose
// program ended without confirming or cancelling it (a crash, a power cut) is removed at the next
// start; while a window is still filling one in, no list or upload sees it.
#include "customers/core/CadastroCliente.h"
#include "customers/core/ListaClientes.h"
#include "customers/core/ReservasPendentes.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>
#include <memory>
#include <sqlite3.h>

using namespace qav;
using namespace qav::clientes;
using namespace Qt::StringLiterals;

namespace {

const PadroesNovoCliente padroes{Date::fromYmd(2026, 3, 9), PessoaJuridica, 12};

// The ids a walk of the table sees through the filter of the lists and uploads.
QList<std::int64_t> visiveis(Store& store, const char* tabela, const char* campoId,
                             const ListFilter& filtro = semReservasEmAndamento()) {
    Table t(store, tabela);
    QList<std::int64_t> ids;
    if (!t.open())
        return ids;
    t.setFilter(filtro.condition, filtro.parameters);
    t.clear();
    Status s = t.seekFirst("KEYID");
    while (s == Status::Ok && (s = t.next()) == Status::Ok)
        ids << t.rec().integer(campoId);
    t.close();
    return ids;
}

// What a program that ended leaves in the file: its holds name a process that no longer runs.
void programaTerminou(const QString& arquivo, const char* tabela) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(arquivo.toUtf8().constData(), &db), SQLITE_OK);
    const QByteArray sql = "UPDATE " + QByteArray(tabela) + " SET _hold = '999999999:1' WHERE _hold <> ''";
    QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

std::int64_t contar(Store& store, const char* tabela) {
    Table t(store, tabela);
    if (!t.open())
        return -1;
    const std::int64_t n = t.count().value_or(-1);
    t.close();
    return n;
}

} // namespace

class TestReservasAbandonadas : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDataFolder> pasta;

private Q_SLOTS:
    void init() { pasta = std::make_unique<test::TempDataFolder>(); }

    void reservaDeProgramaEncerradoRemovida() {
        {
            // A customer saved before, then a new one reserved with a partner, never confirmed.
            CadastroCliente gravado(pasta->store());
            QVERIFY(gravado.abrir());
            QCOMPARE(gravado.reservarNovo(padroes).status, Status::Ok);
            gravado.registro().setText("RAZAO", u"GRAVADO"_s);
            QVERIFY(gravado.gravar().ok);
        }
        auto abandonado = std::make_unique<CadastroCliente>(pasta->store());
        QVERIFY(abandonado->abrir());
        QCOMPARE(abandonado->reservarNovo(padroes).id, 900002);
        QCOMPARE(abandonado->socios().reservarNovo().status, Status::Ok);
        programaTerminou(pasta->filePath("clientes.tps"), "clientes");
        programaTerminou(pasta->filePath("socios.tps"), "socios");
        // The program ended: nothing of it runs any more (its buffers are simply gone).
        abandonado.reset();

        QCOMPARE(contar(pasta->store(), "clientes.tps"), 2);
        QCOMPARE(visiveis(pasta->store(), "clientes.tps", "ID"), QList<std::int64_t>{900001});
        Store inicio(pasta->path());
        QCOMPARE(removerReservasAbandonadas(inicio).records, 2);
        QCOMPARE(contar(pasta->store(), "clientes.tps"), 1);
        QCOMPARE(contar(pasta->store(), "socios.tps"), 0);
        QCOMPARE(visiveis(pasta->store(), "clientes.tps", "ID"), QList<std::int64_t>{900001});
        // The next new customer takes the id again.
        CadastroCliente seguinte(pasta->store());
        QVERIFY(seguinte.abrir());
        QCOMPARE(seguinte.reservarNovo(padroes).id, 900002);
    }

    // A form still open in a running program keeps its reservation, unseen by the lists.
    void reservaDeJanelaAbertaFica() {
        CadastroCliente aberto(pasta->store());
        QVERIFY(aberto.abrir());
        QCOMPARE(aberto.reservarNovo(padroes).id, 900001);
        QCOMPARE(aberto.socios().reservarNovo().status, Status::Ok);
        QVERIFY(visiveis(pasta->store(), "clientes.tps", "ID").isEmpty());
        QVERIFY(visiveis(pasta->store(), "socios.tps", "ID_SOCIO").isEmpty());
        // Nor does the customer list, on any of its tabs.
        for (const Ordem ordem :
             {Ordem::PorId, Ordem::PorRazao, Ordem::PorDocumento, Ordem::PorFantasia, Ordem::PorMunicipio})
            QVERIFY(visiveis(pasta->store(), "clientes.tps", "ID", filtroLista(ordem, Situacao::Todos))
                        .isEmpty());
        Store outraJanela(pasta->path());
        QCOMPARE(removerReservasAbandonadas(outraJanela).records, 0);
        QCOMPARE(contar(pasta->store(), "clientes.tps"), 1);
        // Once confirmed it is a customer like any other.
        aberto.registro().setText("RAZAO", u"NOVO"_s);
        QVERIFY(aberto.gravar().ok);
        QCOMPARE(visiveis(pasta->store(), "clientes.tps", "ID"), QList<std::int64_t>{900001});
        QCOMPARE(
            visiveis(pasta->store(), "clientes.tps", "ID", filtroLista(Ordem::PorRazao, Situacao::Todos)),
            QList<std::int64_t>{900001});
    }
};

QAV_TEST_GUILESS_MAIN(TestReservasAbandonadas)
#include "tst_reservasabandonadas.moc"
