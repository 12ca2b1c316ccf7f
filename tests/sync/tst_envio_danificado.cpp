// The upload over a damaged order file: the situation key of pedidos.tps lost the row of a released
// order (what a disk or a copy that failed leaves behind). The run must not walk past the hidden
// order and report success: it names the file, sends nothing, and once the keys are rebuilt (the
// repair it offers) the next run sends every order once.
#include "store/core/Table.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/execucao/Comunicacao.h"
#include "sync/core/roteiro/Passos.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/sync/EnvioFixture.h"

#include <QtTest>
#include <sqlite3.h>

using namespace qav;
using namespace qav::sync;
using qav::test::ServidorTeste;
using namespace Qt::StringLiterals;

namespace {

constexpr int kPedidos = 4;
constexpr int kOculto = 3;

class Ouvinte : public OuvinteComunicacao {
public:
    bool reparar = false;
    QStringList mensagens, perguntas;
    void registro(const QTime&, const QString&) override {}
    void progresso(const QString&) override {}
    void mensagem(const QString& titulo, const QString& texto, Icone) override {
        mensagens << titulo + u": "_s + texto;
    }
    bool pergunta(const QString&, const QString& texto) override {
        perguntas << texto;
        return reparar;
    }
};

Desfecho enviar(const QString& pasta, Ouvinte& ouvinte) {
    Store store(pasta);
    PedidoComunicacao pedido;
    pedido.idEmpresa = 1;
    pedido.tipo = TipoComunicacao::SomentePedidos;
    pedido.confirmado = true;
    return comunicar(store, ouvinte, pedido, passosPadrao());
}

bool executar(sqlite3* db, const QString& sql) {
    char* erro = nullptr;
    const bool ok = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &erro) == SQLITE_OK;
    if (!ok)
        qWarning("%s: %s", qPrintable(sql), erro);
    sqlite3_free(erro);
    return ok;
}

// The situation key of pedidos.tps loses the entry of order `id`, the records staying whole: the index
// is built without it and then declared whole again, as a file damaged below the table would be.
bool perderEntradaDaChave(const QString& arquivo, int id) {
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(arquivo).constData(), &db) != SQLITE_OK)
        return false;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE name = 'pedidos_KEYSITUA'", -1, &st, nullptr);
    QString original;
    if (sqlite3_step(st) == SQLITE_ROW)
        original = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    QString literal = original;
    literal.replace(u"'"_s, u"''"_s);
    const bool ok =
        !original.isEmpty() && !original.contains(u" WHERE "_s) &&
        executar(db, u"DROP INDEX \"pedidos_KEYSITUA\""_s) &&
        executar(db, original + u" WHERE \"ID\" <> %1"_s.arg(id)) &&
        executar(db, u"PRAGMA writable_schema = ON"_s) &&
        executar(db, u"UPDATE sqlite_master SET sql = '%1' WHERE name = 'pedidos_KEYSITUA'"_s.arg(literal)) &&
        executar(db, u"PRAGMA writable_schema = OFF"_s);
    sqlite3_close(db);
    return ok;
}

int noServidor(ServidorTeste& s) {
    return s.valor(u"SELECT count(*) FROM zor.pedidos WHERE num_ped_qav LIKE '000005.K.%'"_s).toInt();
}

} // namespace

class TestEnvioDanificado : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hiddenReleasedOrderFailsTheRun_data() {
        QTest::addColumn<bool>("reparar");
        QTest::newRow("repair declined") << false;
        QTest::newRow("repair accepted") << true;
    }

    void hiddenReleasedOrderFailsTheRun() {
        QFETCH(bool, reparar);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        test::prepararEnvio(pasta.store(),
                            {servidor.database(), servidor.host(), servidor.port(), servidor.passwordUser(),
                             servidor.password()},
                            {kPedidos, 2, 2});
        QVERIFY(perderEntradaDaChave(pasta.filePath("pedidos.tps"), kOculto));
        {
            // The damage is real: the key walk no longer sees the order.
            Store store(pasta.path());
            Table pedidos(store, "pedidos");
            QVERIFY(pedidos.open());
            pedidos.setFilter("SITUA = 2");
            QCOMPARE(pedidos.seekFirst("KEYSITUA"), Status::Ok);
            int vistos = 0;
            while (pedidos.next() == Status::Ok)
                ++vistos;
            QCOMPARE(vistos, kPedidos - 1);
        }

        Ouvinte ouvinte;
        ouvinte.reparar = reparar;
        QCOMPARE(enviar(pasta.path(), ouvinte).resultado, ResultadoComunicacao::Falhou);
        QCOMPARE(ouvinte.perguntas.size(), 1);
        QVERIFY2(ouvinte.perguntas.front().contains(u"pedidos.tps está danificado"_s),
                 qPrintable(ouvinte.perguntas.front()));
        QCOMPARE(ouvinte.mensagens.size(), 1);
        QCOMPARE(noServidor(servidor), 0);

        Ouvinte denovo;
        const Desfecho seguinte = enviar(pasta.path(), denovo);
        if (!reparar) {
            // Still damaged: the next run refuses the same way.
            QCOMPARE(seguinte.resultado, ResultadoComunicacao::Falhou);
            QCOMPARE(noServidor(servidor), 0);
            return;
        }
        QVERIFY2(seguinte.resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(denovo.mensagens.join(u'\n')));
        QCOMPARE(servidor
                     .linhas(u"SELECT count(*), count(DISTINCT num_ped_qav) FROM zor.pedidos "
                             "WHERE num_ped_qav LIKE '000005.K.%'"_s)
                     .front(),
                 (QStringList{QString::number(kPedidos), QString::number(kPedidos)}));
    }
};

QAV_TEST_GUILESS_MAIN(TestEnvioDanificado)
#include "tst_envio_danificado.moc"
