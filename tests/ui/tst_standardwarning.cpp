#include "tests/support/TestMain.h"
#include "ui/core/StandardWarning.h"

#include <QtTest>

using namespace qav;
using namespace Qt::StringLiterals;

namespace {

QString names(const QList<Button>& buttons) {
    QStringList list;
    for (Button b : buttons) {
        switch (b) {
        case Button::Ok:
            list << u"Ok"_s;
            break;
        case Button::Yes:
            list << u"Yes"_s;
            break;
        case Button::No:
            list << u"No"_s;
            break;
        case Button::Retry:
            list << u"Retry"_s;
            break;
        case Button::Cancel:
            list << u"Cancel"_s;
            break;
        default:
            list << u"?"_s;
            break;
        }
    }
    return list.join(u',');
}

StoreError tableError(ErrorCode code) {
    StoreError e;
    e.code = code;
    e.text = errorText(code);
    return e;
}

StoreError driverError(const QString& message, const QString& code) {
    StoreError e;
    e.code = ErrorCode::FileSystemError;
    e.text = errorText(e.code);
    e.driverText = message;
    e.driverCode = code;
    return e;
}

} // namespace

class TestStandardWarning : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void warnings_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text1");
        QTest::addColumn<QString>("text2");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("defaultButton");
        QTest::addColumn<QString>("endsOn"); // the answer that ends the program, "" for none
        QTest::addColumn<QString>("finalText");

        const QString t1 = u"Clientes"_s;
        const QString t2 = u"Pedidos"_s;
        const QString e = u"Record Not Found (35)"_s;
        const QString endApp = u".  Press OK to end this application."_s;
        auto row = [&](int n, const QString& a, const QString& b, const QString& caption, const QString& text,
                       const QString& buttons, const QString& def, const QString& ends = {},
                       const QString& final = {}) {
            QTest::addRow("%d %s", n, qPrintable(a))
                << n << a << b << caption << text << buttons << def << ends << final;
        };
        row(1, t1, {}, u"Invalid File"_s, u"Error: ("_s + e + u") accessing Clientes"_s + endApp, u"Ok"_s,
            u"Ok"_s, u"Ok"_s, u"Invalid File!"_s);
        row(2, t1, {}, u"Invalid Key"_s, u"Clientes key file is invalid.  Do you want to rebuild the key?"_s,
            u"Yes,No"_s, u"Yes"_s, u"No"_s, u"Invalid Key!"_s);
        row(3, t1, {}, u"Key Rebuild Error"_s, u"Error: ("_s + e + u") repairing key for Clientes"_s + endApp,
            u"Ok"_s, u"Ok"_s, u"Ok"_s, u"Error Rebuilding Key!"_s);
        row(4, t1, {}, u"File Creation Error"_s, u"Error: ("_s + e + u") creating Clientes"_s + endApp,
            u"Ok"_s, u"Ok"_s, u"Ok"_s, u"File Creation Error!"_s);
        row(5, t1, {}, u"File Creation Error"_s,
            u"Error: ("_s + e + u") opening created file:Clientes"_s + endApp, u"Ok"_s, u"Ok"_s, u"Ok"_s,
            u"File Creation Error!"_s);
        row(6, u"UpdX"_s, {}, u"Procedure not defined"_s, u"The Procedure UpdX has not been defined."_s,
            u"Ok"_s, u"Ok"_s);
        row(7, {}, {}, QString(), u"Unable to read keyed record.  Error: "_s + e + u".  Insert Aborted"_s,
            u"Ok"_s, u"Ok"_s);
        row(8, u"Desconto"_s, u"10"_s, u"Range Error"_s, u"The value of Desconto must be lower than 10."_s,
            u"Ok"_s, u"Ok"_s);
        row(9, u"Desconto"_s, u"0"_s, u"Range Error"_s, u"The value of Desconto must be higher than 0."_s,
            u"Ok"_s, u"Ok"_s);
        row(10, u"Desconto"_s, u"0 e 10"_s, u"Range Error"_s,
            u"The value of Desconto must be between 0 e 10."_s, u"Ok"_s, u"Ok"_s);
        row(11, u"CNPJ"_s, {}, u"Erro Validação"_s, u"CNPJ inválido."_s, u"Ok"_s, u"Ok"_s);
        row(12, t1, {}, u"Erro de integridade referencial"_s,
            u"Este registro tem uma ou mais referencias no arquivo Clientes.  Registro não pode ser salvo!"_s,
            u"Ok"_s, u"Ok"_s);
        row(13, t1, {}, u"Erro de integridade referencial"_s,
            u"Este registro tem uma ou mais referencias no arquivo Clientes.  Este registro não pode ser "
            u"excluido "
            "enquanto esta referencia existir."_s,
            u"Ok"_s, u"Ok"_s);
        row(14, t1, {}, u"Erro ao Incluir"_s, u"Ocorreu um erro ao gravar o registro.\n"_s + e + u"."_s,
            u"Ok"_s, u"Ok"_s);
        row(15, t1, {}, u"Erro ao Gravar Registro"_s,
            u"Ocorreu um erro durante a operação!\n"_s + e + u"\nTabela: Clientes."_s, u"Ok"_s, u"Ok"_s);
        row(16, {}, {}, u"Erro ao gravar"_s,
            u"Um erro ocorreu ao tentar gravar este registro.  Quer tentar gravar outra vez?"_s,
            u"Yes,No,Cancel"_s, u"Cancel"_s);
        row(17, t1, {}, u"Erro ao Excluir Registro"_s,
            u"Ocorreu um erro durante a operação!\n"_s + e + u"\nTabela: Clientes."_s, u"Ok"_s, u"Ok"_s);
        row(18, {}, {}, u"Erro ao excluir"_s,
            u"Ocorreu um erro ao tentar excluir este registro.  Deseja tentar excluir novamente?"_s,
            u"Yes,No,Cancel"_s, u"Cancel"_s);
        row(19, {}, {}, u"Invalid Request"_s,
            u"This procedure was called to insert a record, however inserts are not allowed for this "
            u"procedure.  "
            "Press OK to return to the calling procedure"_s,
            u"Ok"_s, u"Ok"_s);
        row(20, {}, {}, u"Invalid Request"_s,
            u"This procedure was called to change a record, however changes are not allowed for this "
            u"procedure.  "
            "Press OK to return to the calling procedure"_s,
            u"Ok"_s, u"Ok"_s);
        row(21, {}, {}, u"Invalid Request"_s,
            u"This procedure was called to delete a record, however deletions are not allowed for this "
            u"procedure.  "
            "Press OK to return to the calling procedure"_s,
            u"Ok"_s, u"Ok"_s);
        row(22, t1, {}, u"File Creation Not Allowed"_s,
            u"The File Clienteswas not found, and creation of the file is not allowed.  Press OK to end this "
            "application."_s,
            u"Ok"_s, u"Ok"_s, u"Ok"_s, u"File Creation Error!"_s);
        row(23, {}, {}, u"Cancelar Alteração"_s, u"Tem certeza que deseja cancelar?"_s, u"Yes,No"_s, u"No"_s);
        row(24, u"KEYCODIGO"_s, {}, u"AVISO! - Chave duplicada"_s,
            u"Impossivel gravar registro, chave duplicada ao gravar: KEYCODIGO"_s, u"Ok"_s, u"Ok"_s);
        row(25, {}, {}, u"Auto Increment Error"_s,
            u"Attempts to automatically number this record have failed.  Error: "_s + e + u"."_s,
            u"Retry,Cancel"_s, u"Cancel"_s);
        row(26, t1, {}, u"File Load Error"_s, u"Clientes File Load Error.  Error: "_s + e + u"."_s, u"Ok"_s,
            u"Ok"_s);
        row(27, t1, {}, u"Cancel Request"_s, u"Are you certain you want to stop loading Clientes?"_s,
            u"Ok,Cancel"_s, u"Cancel"_s);
        row(28, t1, {}, u"File Load Error"_s,
            u"Clientes File Load Error.  The file you've requested contains no text."_s, u"Ok"_s, u"Ok"_s);
        row(29, u"Down"_s, {}, u"End of File Error"_s,
            u"The end of the viewed file was encountered.  Do you want to start again from the beginning?"_s,
            u"Yes,No"_s, u"Yes"_s);
        row(29, u"Up"_s, {}, u"Beginning of File Error"_s,
            u"The beginning of the viewed file was encountered.  Do you want to start again from the end of "
            u"the "
            "file?"_s,
            u"Yes,No"_s, u"Yes"_s);
        row(29, u"down"_s, {}, u"Beginning of File Error"_s,
            u"The beginning of the viewed file was encountered.  Do you want to start again from the end of "
            u"the "
            "file?"_s,
            u"Yes,No"_s, u"Yes"_s);
        row(30, t1, {}, u"File Access Error"_s,
            u"File (Clientes) could not be opened.  Error: "_s + e + u"."_s, u"Ok"_s, u"Ok"_s);
        row(31, u"Put"_s, t2, u"Process PUT Error"_s,
            u"An error was experienced when making changes to the Pedidos file.  Error: "_s + e, u"Ok"_s,
            u"Ok"_s);
        row(31, u"Delete"_s, t2, u"Process DELETE Error"_s,
            u"An error was experienced when deleting a record from the Pedidos file.  Error: "_s + e, u"Ok"_s,
            u"Ok"_s);
        row(32, {}, {}, u"Confirma Excluir"_s,
            u"Você deseja excluir o registro marcado.  Pressione Ok para confirmar."_s, u"Ok,Cancel"_s,
            u"Cancel"_s);
        row(33, {}, {}, u"Alteração Cancelada"_s,
            u"Você deseja gravar as alterações efetuadas neste registro?"_s, u"Yes,No,Cancel"_s, u"No"_s);
        row(34, u"Insert"_s, t2, u"Transaction Framing Error"_s,
            u"Error: ("_s + e +
                u") attempting to frame the insert transaction on Pedidos.  Insert transaction "
                "cancelled."_s,
            u"Ok"_s, u"Ok"_s);
        row(35, t1, {}, u"Record Retrieval Error"_s,
            u"Error: ("_s + e +
                u") attempting to access a record from the Clientes file.  Returning to previous "
                "window."_s,
            u"Ok"_s, u"Ok"_s);
        row(36, {}, {}, u"View Open Error"_s,
            u"Error: ("_s + e + u") attempting to open the current VIEW. Filter and Range Limits ignored."_s,
            u"Ok"_s, u"Ok"_s);
        row(37, {}, {}, u"Record Added"_s,
            u"This record has been added to the file. Do you want to add another record?"_s, u"Yes,No"_s,
            u"Yes"_s);
        row(38, {}, {}, u"Registro não pode ser gravado"_s,
            u"Este registro foi alterado por outra estação. As alterações seram visualizadas neste momento. "
            u"Favor "
            "refazer as alterações."_s,
            u"Ok"_s, u"Ok"_s);
    }

    void warnings() {
        QFETCH(int, number);
        QFETCH(QString, text1);
        QFETCH(QString, text2);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(QString, buttons);
        QFETCH(QString, defaultButton);
        QFETCH(QString, endsOn);
        QFETCH(QString, finalText);

        const ComposedWarning w = composeWarning(number, text1, text2, tableError(ErrorCode::RecordNotFound));
        QCOMPARE(w.number, number);
        QCOMPARE(w.caption, caption);
        QCOMPARE(w.text, text);
        QCOMPARE(names(w.buttons), buttons);
        QCOMPARE(names({w.defaultButton}), defaultButton);
        QCOMPARE(w.finalText, finalText);
        for (Button b : w.buttons) {
            const bool ends = !endsOn.isEmpty() && (w.buttons.size() == 1 || names({b}) == endsOn);
            QCOMPARE(w.endsProgram(b), ends);
        }
    }

    void results_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("result");
        QTest::newRow("2 rebuild") << 2 << int(Button::Yes) << 2;
        QTest::newRow("2 no") << 2 << int(Button::No) << 0;
        QTest::newRow("16 yes") << 16 << int(Button::Yes) << 2;
        QTest::newRow("16 cancel") << 16 << int(Button::Cancel) << 64;
        QTest::newRow("18 no") << 18 << int(Button::No) << 4;
        QTest::newRow("23 no") << 23 << int(Button::No) << 4;
        QTest::newRow("25 retry") << 25 << int(Button::Retry) << 16;
        QTest::newRow("27 ok") << 27 << int(Button::Ok) << 1;
        QTest::newRow("29 yes") << 29 << int(Button::Yes) << 2;
        QTest::newRow("32 ok") << 32 << int(Button::Ok) << 1;
        QTest::newRow("32 cancel") << 32 << int(Button::Cancel) << 64;
        QTest::newRow("33 cancel") << 33 << int(Button::Cancel) << 64;
        QTest::newRow("37 no") << 37 << int(Button::No) << 4;
        QTest::newRow("1 ok") << 1 << int(Button::Ok) << 0;
        QTest::newRow("11 ok") << 11 << int(Button::Ok) << 0;
        QTest::newRow("38 ok") << 38 << int(Button::Ok) << 0;
    }
    void results() {
        QFETCH(int, number);
        QFETCH(int, pressed);
        QFETCH(int, result);
        const ComposedWarning w = composeWarning(number, {}, {}, StoreError{});
        QCOMPARE(w.result(static_cast<Button>(pressed)), result);
    }

    void driverErrorShowsDriverMessageAndCode() {
        const StoreError e = driverError(u"database disk image is malformed"_s, u"11"_s);
        QCOMPARE(errorDescription(e), u"database disk image is malformed (11)"_s);
        const ComposedWarning w = composeWarning(30, u"Pedidos"_s, {}, e);
        QCOMPARE(w.text,
                 u"File (Pedidos) could not be opened.  Error: database disk image is malformed (11)."_s);
        QVERIFY(!w.text.contains(u"File System Error"_s));
    }

    void code100IsADriverError() {
        StoreError e = driverError(u"connection lost"_s, u"S1000"_s);
        e.code = static_cast<ErrorCode>(100);
        QCOMPARE(errorDescription(e), u"connection lost (S1000)"_s);
    }

    void descriptionOfATableError() {
        QCOMPARE(errorDescription(tableError(ErrorCode::CreatesDuplicateKey)),
                 u"Creates Duplicate Key (40)"_s);
        StoreError noText;
        noText.code = ErrorCode::AccessDenied;
        QCOMPARE(errorDescription(noText), u"Access Denied (5)"_s);
        // An upgrade-needed structure is reported under the number of an invalid data file.
        QCOMPARE(errorDescription(tableError(ErrorCode::StructureMismatch)),
                 u"Invalid Record Declaration (47)"_s);
    }

    void descriptionIsAtMost150Characters() {
        const StoreError e = driverError(QString(300, u'x'), u"99"_s);
        QCOMPARE(errorDescription(e).size(), 150);
        QCOMPARE(errorDescription(tableError(ErrorCode::RecordHeld)), u"Record Is Already Held (43)"_s);
    }

    void warning15ChangedByAnotherStation() {
        const ComposedWarning w =
            composeWarning(15, u"Clientes"_s, {}, tableError(ErrorCode::RecordChangedByAnotherStation));
        QCOMPARE(w.caption, u"Erro ao gravar alteração"_s);
        QCOMPARE(w.text, u"Este registro foi alterado por outra estação."_s);
        QCOMPARE(names(w.buttons), u"Ok"_s);
    }

    void warning15WithoutError() {
        const ComposedWarning w = composeWarning(15, u"Clientes"_s, {}, StoreError{});
        QCOMPARE(w.caption, u"Erro ao gravar alteração"_s);
        QCOMPARE(w.text, u"Este registro foi alterado por outra estação."_s);
    }

    void barInCallerTextStartsANewLine() {
        const ComposedWarning w = composeWarning(11, u"Campo|CNPJ"_s, {}, StoreError{});
        QCOMPARE(w.text, u"Campo\nCNPJ inválido."_s);
    }

    void unknownNumberComposesNothing() {
        const ComposedWarning w = composeWarning(39, u"x"_s, {}, StoreError{});
        QCOMPARE(w.number, 0);
        QVERIFY(w.text.isEmpty());
        QVERIFY(w.buttons.isEmpty());
    }

    void theErrorGivenIsTheOneDescribed() {
        const ComposedWarning first = composeWarning(14, {}, {}, tableError(ErrorCode::CreatesDuplicateKey));
        QCOMPARE(first.text, u"Ocorreu um erro ao gravar o registro.\nCreates Duplicate Key (40)."_s);
        const ComposedWarning second = composeWarning(14, {}, {}, tableError(ErrorCode::RecordHeld));
        QCOMPARE(second.text, u"Ocorreu um erro ao gravar o registro.\nRecord Is Already Held (43)."_s);
    }

    void aQuestionDescribesNoErrorEvenWhenGivenOne() {
        const ComposedWarning w = composeWarning(23, {}, {}, tableError(ErrorCode::CreatesDuplicateKey));
        QVERIFY(!w.showsError);
        QCOMPARE(w.text, u"Tem certeza que deseja cancelar?"_s);
    }

    void errorWithoutTextIsDescribedByItsCode() {
        StoreError e;
        e.code = ErrorCode::FileLocked; // as a table reports it: the code alone
        const ComposedWarning w = composeWarning(14, {}, {}, e);
        QCOMPARE(w.text, u"Ocorreu um erro ao gravar o registro.\nFile Is Already Locked (32)."_s);
    }

    void errorTexts_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("2") << 2 << u"File Not Found"_s;
        QTest::newRow("5") << 5 << u"Access Denied"_s;
        QTest::newRow("32") << 32 << u"File Is Already Locked"_s;
        QTest::newRow("33") << 33 << u"Record Not Available"_s;
        QTest::newRow("35") << 35 << u"Record Not Found"_s;
        QTest::newRow("40") << 40 << u"Creates Duplicate Key"_s;
        QTest::newRow("43") << 43 << u"Record Is Already Held"_s;
        QTest::newRow("46") << 46 << u"Invalid Key File"_s;
        QTest::newRow("47") << 47 << u"Invalid Data File"_s;
        QTest::newRow("89") << 89 << u"Record Changed By Another Station"_s;
        QTest::newRow("90") << 90 << u"File System Error"_s;
        QTest::newRow("unknown") << 77 << u"Unknown Error"_s;
    }
    void errorTexts() {
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(errorText(static_cast<ErrorCode>(code)), text);
    }
};

QAV_TEST_GUILESS_MAIN(TestStandardWarning)
#include "tst_standardwarning.moc"
