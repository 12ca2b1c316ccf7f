#include "ui/core/StandardWarning.h"

namespace qav {

namespace {

constexpr qsizetype maxDescription = 150;
const QString pressOkToEnd = QStringLiteral(".  Press OK to end this application.");

bool isDriverError(const StoreError& error) {
    const int code = static_cast<int>(error.code);
    return code == 90 || code == 100;
}

// Every message box of the system reads "|" as a new line, in fixed texts and the caller's alike.
QString lines(QString text) {
    return text.replace(QLatin1Char('|'), QLatin1Char('\n'));
}

ComposedWarning ok(int number, const QString& caption, const QString& text) {
    ComposedWarning w;
    w.number = number;
    w.caption = caption;
    w.text = text;
    w.buttons = {Button::Ok};
    w.defaultButton = Button::Ok;
    w.icon = Icon::Warning;
    return w;
}

ComposedWarning question(int number, const QString& caption, const QString& text, QList<Button> buttons,
                         Button defaultButton) {
    ComposedWarning w = ok(number, caption, text);
    w.buttons = std::move(buttons);
    w.defaultButton = defaultButton;
    w.icon = Icon::Question;
    return w;
}

ComposedWarning failure(int number, const QString& caption, const QString& text) {
    ComposedWarning w = ok(number, caption, text);
    w.icon = Icon::Critical;
    w.showsError = true;
    return w;
}

ComposedWarning fatal(int number, const QString& caption, const QString& text, const QString& finalText) {
    ComposedWarning w = failure(number, caption, text);
    w.endsOn = Button::Ok;
    w.finalText = finalText;
    return w;
}

ComposedWarning build(int number, const QString& t1, const QString& t2, const StoreError& error) {
    const QString e = errorDescription(error);
    const QString invalidRequest = QStringLiteral("Invalid Request");
    const QString fileLoadError = QStringLiteral("File Load Error");
    const QString referencias = QStringLiteral("Este registro tem uma ou mais referencias no arquivo ");
    const QString duringOperation = QStringLiteral("Ocorreu um erro durante a operação!|");
    const QString returnToCaller = QStringLiteral(", however %1 are not allowed for this procedure.  "
                                                  "Press OK to return to the calling procedure");
    switch (number) {
    case 1:
        return fatal(1, QStringLiteral("Invalid File"),
                     QStringLiteral("Error: (") + e + QStringLiteral(") accessing ") + t1 + pressOkToEnd,
                     QStringLiteral("Invalid File!"));
    case 2: {
        ComposedWarning w = question(2, QStringLiteral("Invalid Key"),
                                     t1 + QStringLiteral(" key file is invalid.  Do you ") +
                                         QStringLiteral("want to rebuild the key?"),
                                     {Button::Yes, Button::No}, Button::Yes);
        w.endsOn = Button::No;
        w.finalText = QStringLiteral("Invalid Key!");
        return w;
    }
    case 3:
        return fatal(3, QStringLiteral("Key Rebuild Error"),
                     QStringLiteral("Error: (") + e + QStringLiteral(") repairing key for ") + t1 +
                         pressOkToEnd,
                     QStringLiteral("Error Rebuilding Key!"));
    case 4:
        return fatal(4, QStringLiteral("File Creation Error"),
                     QStringLiteral("Error: (") + e + QStringLiteral(") creating ") + t1 + pressOkToEnd,
                     QStringLiteral("File Creation Error!"));
    case 5:
        return fatal(5, QStringLiteral("File Creation Error"),
                     QStringLiteral("Error: (") + e + QStringLiteral(") opening created ") +
                         QStringLiteral("file:") + t1 + pressOkToEnd,
                     QStringLiteral("File Creation Error!"));
    case 6:
        return ok(6, QStringLiteral("Procedure not defined"),
                  QStringLiteral("The Procedure ") + t1 + QStringLiteral(" has not ") +
                      QStringLiteral("been defined."));
    case 7:
        return failure(7, QString(),
                       QStringLiteral("Unable to read keyed record.  Error: ") + e +
                           QStringLiteral(".  Insert Aborted"));
    case 8:
        return ok(8, QStringLiteral("Range Error"),
                  QStringLiteral("The value of ") + t1 + QStringLiteral(" must be lower than ") + t2 +
                      QStringLiteral("."));
    case 9:
        return ok(9, QStringLiteral("Range Error"),
                  QStringLiteral("The value of ") + t1 + QStringLiteral(" must be higher than ") + t2 +
                      QStringLiteral("."));
    case 10:
        return ok(10, QStringLiteral("Range Error"),
                  QStringLiteral("The value of ") + t1 + QStringLiteral(" must be ") +
                      QStringLiteral("between ") + t2 + QStringLiteral("."));
    case 11:
        return ok(11, QStringLiteral("Erro Validação"), t1 + QStringLiteral(" inválido."));
    case 12:
        return ok(12, QStringLiteral("Erro de integridade referencial"),
                  referencias + t1 + QStringLiteral(".  Registro não pode ser salvo!"));
    case 13:
        return ok(13, QStringLiteral("Erro de integridade referencial"),
                  referencias + t1 + QStringLiteral(".  Este registro não pode ser excluido enquanto") +
                      QStringLiteral(" esta referencia existir."));
    case 14:
        return failure(14, QStringLiteral("Erro ao Incluir"),
                       QStringLiteral("Ocorreu um erro ao gravar o registro.|") + e + QStringLiteral("."));
    case 15:
        // A record changed by another station since it was read is no failure of the table: the
        // user is told so plainly.
        if (error.isError() && error.code != ErrorCode::RecordChangedByAnotherStation)
            return failure(15, QStringLiteral("Erro ao Gravar Registro"),
                           duringOperation + e + QStringLiteral("|Tabela: ") + t1 + QStringLiteral("."));
        return ok(15, QStringLiteral("Erro ao gravar alteração"),
                  QStringLiteral("Este registro foi alterado por outra estação."));
    case 16:
        return question(16, QStringLiteral("Erro ao gravar"),
                        QStringLiteral("Um erro ocorreu ao tentar gravar este registro.  "
                                       "Quer tentar gravar outra vez?"),
                        {Button::Yes, Button::No, Button::Cancel}, Button::Cancel);
    case 17:
        return failure(17, QStringLiteral("Erro ao Excluir Registro"),
                       duringOperation + e + QStringLiteral("|Tabela: ") + t1 + QStringLiteral("."));
    case 18:
        return question(18, QStringLiteral("Erro ao excluir"),
                        QStringLiteral("Ocorreu um erro ao tentar excluir este registro.  "
                                       "Deseja tentar excluir novamente?"),
                        {Button::Yes, Button::No, Button::Cancel}, Button::Cancel);
    case 19:
        return ok(19, invalidRequest,
                  QStringLiteral("This procedure was called to insert a record") +
                      returnToCaller.arg(QStringLiteral("inserts")));
    case 20:
        return ok(20, invalidRequest,
                  QStringLiteral("This procedure was called to change a record") +
                      returnToCaller.arg(QStringLiteral("changes")));
    case 21:
        return ok(21, invalidRequest,
                  QStringLiteral("This procedure was called to delete a record") +
                      returnToCaller.arg(QStringLiteral("deletions")));
    case 22: {
        ComposedWarning w =
            fatal(22, QStringLiteral("File Creation Not Allowed"),
                  QStringLiteral("The File ") + t1 + QStringLiteral("was not found, ") +
                      QStringLiteral("and creation of the file is not allowed.  Press OK to end ") +
                      QStringLiteral("this application."),
                  QStringLiteral("File Creation Error!"));
        w.showsError = false;
        return w;
    }
    case 23:
        return question(23, QStringLiteral("Cancelar Alteração"),
                        QStringLiteral("Tem certeza que deseja cancelar?"), {Button::Yes, Button::No},
                        Button::No);
    case 24:
        return ok(24, QStringLiteral("AVISO! - Chave duplicada"),
                  QStringLiteral("Impossivel gravar registro, chave duplicada ao gravar: ") + t1);
    case 25: {
        ComposedWarning w =
            question(25, QStringLiteral("Auto Increment Error"),
                     QStringLiteral("Attempts to automatically number this record have failed.  Error: ") +
                         e + QStringLiteral("."),
                     {Button::Retry, Button::Cancel}, Button::Cancel);
        w.showsError = true;
        return w;
    }
    case 26:
        return failure(26, fileLoadError,
                       t1 + QStringLiteral(" File Load Error.  ") + QStringLiteral("Error: ") + e +
                           QStringLiteral("."));
    case 27:
        return question(27, QStringLiteral("Cancel Request"),
                        QStringLiteral("Are you certain you want to stop loading ") + t1 +
                            QStringLiteral("?"),
                        {Button::Ok, Button::Cancel}, Button::Cancel);
    case 28:
        return ok(28, fileLoadError,
                  t1 + QStringLiteral(" File Load Error.  ") +
                      QStringLiteral("The file you've requested contains no text."));
    case 29:
        if (t1 == QStringLiteral("Down"))
            return question(29, QStringLiteral("End of File Error"),
                            QStringLiteral("The end of the viewed file was encountered.  "
                                           "Do you want to start again from the beginning?"),
                            {Button::Yes, Button::No}, Button::Yes);
        return question(29, QStringLiteral("Beginning of File Error"),
                        QStringLiteral("The beginning of the viewed file was encountered.  "
                                       "Do you want to start again from the end of the file?"),
                        {Button::Yes, Button::No}, Button::Yes);
    case 30:
        return failure(30, QStringLiteral("File Access Error"),
                       QStringLiteral("File (") + t1 + QStringLiteral(") could not be ") +
                           QStringLiteral("opened.  Error: ") + e + QStringLiteral("."));
    case 31:
        if (t1 == QStringLiteral("Put"))
            return failure(31, QStringLiteral("Process PUT Error"),
                           QStringLiteral("An error was experienced when making changes to the ") + t2 +
                               QStringLiteral(" file.  Error: ") + e);
        return failure(31, QStringLiteral("Process DELETE Error"),
                       QStringLiteral("An error was experienced when deleting a record from the ") + t2 +
                           QStringLiteral(" file.  Error: ") + e);
    case 32:
        return question(
            32, QStringLiteral("Confirma Excluir"),
            QStringLiteral("Você deseja excluir o registro marcado.  Pressione Ok para confirmar."),
            {Button::Ok, Button::Cancel}, Button::Cancel);
    case 33:
        return question(33, QStringLiteral("Alteração Cancelada"),
                        QStringLiteral("Você deseja gravar as alterações efetuadas neste registro?"),
                        {Button::Yes, Button::No, Button::Cancel}, Button::No);
    case 34:
        return failure(34, QStringLiteral("Transaction Framing Error"),
                       QStringLiteral("Error: (") + e + QStringLiteral(") attempting to frame the ") +
                           t1.toLower() + QStringLiteral(" transaction on ") + t2 + QStringLiteral(".  ") +
                           t1 + QStringLiteral(" transaction cancelled."));
    case 35:
        return failure(35, QStringLiteral("Record Retrieval Error"),
                       QStringLiteral("Error: (") + e + QStringLiteral(") attempting to access a ") +
                           QStringLiteral("record from the ") + t1 + QStringLiteral(" file.  Returning to ") +
                           QStringLiteral("previous window."));
    case 36:
        return failure(36, QStringLiteral("View Open Error"),
                       QStringLiteral("Error: (") + e + QStringLiteral(") attempting to open the ") +
                           QStringLiteral("current VIEW. Filter and Range Limits ignored."));
    case 37:
        return question(37, QStringLiteral("Record Added"),
                        QStringLiteral("This record has been added to the file. "
                                       "Do you want to add another record?"),
                        {Button::Yes, Button::No}, Button::Yes);
    case 38:
        return ok(38, QStringLiteral("Registro não pode ser gravado"),
                  QStringLiteral("Este registro foi alterado por outra estação. As alterações seram "
                                 "visualizadas neste momento. Favor refazer as alterações."));
    default:
        return {};
    }
}

} // namespace

bool ComposedWarning::endsProgram(Button pressed) const {
    if (endsOn == Button::None)
        return false;
    return buttons.size() == 1 || pressed == endsOn;
}

int ComposedWarning::result(Button pressed) const {
    if (number == 2)
        return pressed == Button::Yes ? 2 : 0; // 2: rebuild the keys
    if (buttons.size() > 1)
        return static_cast<int>(pressed);
    return 0;
}

QString errorDescription(const StoreError& error) {
    QString description;
    if (isDriverError(error)) {
        description = error.driverText + QStringLiteral(" (") + error.driverCode + QStringLiteral(")");
    } else {
        const QString text = error.text.isEmpty() ? errorText(error.code) : error.text;
        description = text + QStringLiteral(" (") + QString::number(error.number()) + QStringLiteral(")");
    }
    return description.left(maxDescription);
}

ComposedWarning composeWarning(int number, const QString& text1, const QString& text2,
                               const StoreError& error) {
    ComposedWarning w = build(number, text1, text2, error);
    w.text = lines(w.text);
    return w;
}

} // namespace qav
