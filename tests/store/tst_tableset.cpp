// The set operations of a download's full run and the narrow write of a record read back: records an
// editor holds are left for the caller's walk, revisions move as with single writes, and a record is
// written only where it changed.
#include "store/core/Table.h"
#include "store/core/TableSet.h"
#include "store/core/Transaction.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav;

namespace {

void adicionarProduto(Table& t, int id, int empresa, const char* codigo, int ativo) {
    t.clear();
    t.rec().setInteger("ID", id);
    t.rec().setInteger("ID_EMPRESA", empresa);
    t.rec().setText("CODIGO", QString::fromLatin1(codigo));
    t.rec().setText("NOME", QStringLiteral("Perfil %1").arg(id));
    t.rec().setInteger("ATIVO", ativo);
    QCOMPARE(t.add(), Status::Ok);
}

Status ler(Table& t, int id, int empresa) {
    t.clear();
    t.rec().setInteger("ID", id);
    t.rec().setInteger("ID_EMPRESA", empresa);
    return t.get("KEYID");
}

} // namespace

class TestTableSet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // One company's products deactivated at once: the other company's and an inactive one's stay as
    // they were (revision too); a product another editor holds is skipped; a stale buffer of a changed
    // product can no longer be written over it. Removal likewise, inside a transaction that undoes it.
    void setOperationsSkipHeldRecords() {
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        Table t(store, "produto");
        QVERIFY(t.open());
        adicionarProduto(t, 1, 1, "A", 1);
        adicionarProduto(t, 2, 1, "B", 1);
        adicionarProduto(t, 3, 1, "C", 0);
        adicionarProduto(t, 4, 2, "D", 1);
        Table editor(store, "produto");
        QVERIFY(editor.open());
        QCOMPARE(ler(editor, 2, 1), Status::Ok);
        QCOMPARE(editor.hold(0), Status::Ok);
        Table antigo(store, "produto");
        QVERIFY(antigo.open());
        QCOMPARE(ler(antigo, 1, 1), Status::Ok);
        QCOMPARE(ler(t, 3, 1), Status::Ok);
        const auto revisaoInativo = t.rec().revision();

        const SetResult inativados =
            putIntegerWhere(t, "ATIVO", 0, "ID_EMPRESA = ?", {QVariant::fromValue(1)});
        QVERIFY(inativados.ok());
        QCOMPARE(inativados.records, 1);
        QCOMPARE(ler(t, 1, 1), Status::Ok);
        QCOMPARE(t.rec().integer("ATIVO"), 0);
        QCOMPARE(ler(t, 2, 1), Status::Ok);
        QCOMPARE(t.rec().integer("ATIVO"), 1); // held: left for the caller
        QCOMPARE(ler(t, 3, 1), Status::Ok);
        QCOMPARE(t.rec().revision(), revisaoInativo);
        QCOMPARE(ler(t, 4, 2), Status::Ok);
        QCOMPARE(t.rec().integer("ATIVO"), 1);
        antigo.rec().setText("NOME", QStringLiteral("Escrito por cima"));
        QCOMPARE(antigo.put(), Status::Error);
        QCOMPARE(antigo.error().code, ErrorCode::RecordChangedByAnotherStation);

        {
            Transaction transacao({&t});
            QVERIFY(transacao.begin());
            QCOMPARE(removeWhere(t, "ID_EMPRESA = ?", {QVariant::fromValue(1)}).records, 2);
            QCOMPARE(t.count(), 2); // the held one and the other company's
            QVERIFY(transacao.rollback());
        }
        QCOMPARE(t.count(), 4);
        editor.release();
        QCOMPARE(removeWhere(t, "ID_EMPRESA = ?", {QVariant::fromValue(1)}).records, 3);
        QCOMPARE(t.count(), 1);

        // A record the condition cannot answer for is spared; when every record passes, the table
        // is emptied whole, counted, and takes records again.
        adicionarProduto(t, 5, 2, "E", 1);
        QCOMPARE(removeWhere(t, "ID_EMPRESA = ? AND NULLIF(ID, 5) > 0", {QVariant::fromValue(2)}).records, 1);
        QCOMPARE(t.count(), 1);
        QCOMPARE(removeWhere(t, "ID_EMPRESA = ?", {QVariant::fromValue(2)}).records, 1);
        QCOMPARE(t.count(), 0);
        adicionarProduto(t, 4, 2, "D", 1);
        QCOMPARE(ler(t, 4, 2), Status::Ok);
    }

    // Only what changed is written, with the revision moved; nothing changed, nothing written; a
    // record changed or held meanwhile is refused as by put(), which says why.
    void putChangedWritesOnlyTheDifferences() {
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        Table t(store, "produto");
        QVERIFY(t.open());
        adicionarProduto(t, 1, 1, "A", 1);
        adicionarProduto(t, 2, 1, "B", 1);
        QCOMPARE(ler(t, 1, 1), Status::Ok);
        Record lido = t.rec();
        QCOMPARE(putChanged(t, lido), Status::Ok);
        QCOMPARE(t.rec().revision(), lido.revision());
        t.rec().setText("NOME", QStringLiteral("Renomeado"));
        t.rec().setText("CODIGO", QStringLiteral("Z"));
        QCOMPARE(putChanged(t, lido), Status::Ok);
        QCOMPARE(t.rec().revision(), lido.revision() + 1);
        Table outro(store, "produto");
        QVERIFY(outro.open());
        outro.rec().setText("CODIGO", QStringLiteral("z")); // the code's key ignores case
        outro.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(outro.get("KEYCODIGO"), Status::Ok);
        QCOMPARE(outro.rec().integer("ID"), 1);
        QCOMPARE(outro.rec().text("NOME").trimmed(), QStringLiteral("Renomeado"));

        // Changed meanwhile by another window: refused.
        lido = outro.rec();
        QCOMPARE(ler(t, 1, 1), Status::Ok);
        t.rec().setText("NOME", QStringLiteral("Outra janela"));
        QCOMPARE(t.put(), Status::Ok);
        outro.rec().setText("NOME", QStringLiteral("Tarde demais"));
        QCOMPARE(putChanged(outro, lido), Status::Error);
        QCOMPARE(outro.error().code, ErrorCode::RecordChangedByAnotherStation);
        // Held by another window: refused.
        QCOMPARE(ler(t, 2, 1), Status::Ok);
        QCOMPARE(t.hold(0), Status::Ok);
        QCOMPARE(ler(outro, 2, 1), Status::Ok);
        lido = outro.rec();
        outro.rec().setInteger("ATIVO", 0);
        QCOMPARE(putChanged(outro, lido), Status::Error);
        QCOMPARE(outro.error().code, ErrorCode::RecordHeld);
        t.release();
        QCOMPARE(ler(t, 2, 1), Status::Ok);
        QCOMPARE(t.rec().integer("ATIVO"), 1);
    }

    // A series of similar adds binds the blank fields once: each record still comes back whole, with
    // its own varying values (the folded name found by its key too), blank elsewhere, even after a
    // full add of a different record in between, a refused duplicate, and a move into a transaction.
    void similarAddsWriteWholeRecords() {
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        Table t(store, "produto");
        QVERIFY(t.open());
        const std::vector<int> varia = {t.rec().field("ID"), t.rec().field("ID_EMPRESA"),
                                        t.rec().field("CODIGO"), t.rec().field("NOME")};
        const auto serie = [&](int id, const char* codigo) {
            t.clear();
            t.rec().setInteger("ID", id);
            t.rec().setInteger("ID_EMPRESA", 1);
            t.rec().setText("CODIGO", QString::fromLatin1(codigo));
            t.rec().setText("NOME", QStringLiteral("Perfil Ação %1").arg(id));
            return t.addSimilar(varia);
        };
        QCOMPARE(serie(1, "A"), Status::Ok);
        adicionarProduto(t, 2, 1, "B", 1); // ATIVO 1 outside the series
        QCOMPARE(serie(3, "C"), Status::Ok);
        QCOMPARE(serie(4, "C"), Status::Error); // the code is taken
        QCOMPARE(t.error().code, ErrorCode::CreatesDuplicateKey);
        {
            Transaction transacao({&t});
            QVERIFY(transacao.begin());
            QCOMPARE(serie(5, "E"), Status::Ok);
            QVERIFY(transacao.commit());
        }
        QCOMPARE(serie(6, "F"), Status::Ok);
        QCOMPARE(t.count(), 5);
        for (const int id : {1, 3, 5, 6}) {
            QCOMPARE(ler(t, id, 1), Status::Ok);
            QCOMPARE(t.rec().text("NOME").trimmed(), QStringLiteral("Perfil Ação %1").arg(id));
            QCOMPARE(t.rec().integer("ATIVO"), 0);
        }
        t.clear();
        t.rec().setText("CODIGO", QStringLiteral("e"));
        t.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(t.get("KEYCODIGO"), Status::Ok);
        QCOMPARE(t.rec().integer("ID"), 5);
    }

    // A set operation that cannot run changes nothing and says why: a table not open, a condition
    // the engine refuses.
    void failedSetOperationCarriesItsError() {
        test::TempDataFolder pasta;
        Table t(pasta.store(), "produto");
        const SetResult fechada = removeWhere(t, "ID_EMPRESA = ?", {QVariant::fromValue(1)});
        QVERIFY(!fechada.ok());
        QCOMPARE(fechada.error.code, ErrorCode::FileNotOpen);

        QVERIFY(t.open());
        adicionarProduto(t, 1, 1, "A", 1);
        const SetResult recusada = putIntegerWhere(t, "ATIVO", 0, "NAO_EXISTE = ?", {QVariant::fromValue(1)});
        QVERIFY(!recusada.ok());
        QCOMPARE(recusada.records, 0);
        QCOMPARE(recusada.error.code, ErrorCode::FileSystemError);
        QVERIFY(recusada.error.driverText.contains(QStringLiteral("NAO_EXISTE")));
        QCOMPARE(ler(t, 1, 1), Status::Ok);
        QCOMPARE(t.rec().integer("ATIVO"), 1);
    }
};

QAV_TEST_GUILESS_MAIN(TestTableSet)
#include "tst_tableset.moc"
