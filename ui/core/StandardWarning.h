#pragma once
// The numbered standard warnings: failures of the local tables and the routine questions of lists and
// forms, composed from fixed texts, the caller's texts and the error of the operation that failed, which
// the caller hands over. The same numbers and
// texts serve qavplus and qavbd. Showing the box is ui/widgets/StandardWarningBox.

#include "store/core/StoreError.h"
#include "ui/core/MessageTypes.h"

#include <QString>

namespace qav {

// The warnings by name; the numbers are those of the table of standard warnings.
enum class Aviso : int {
    ArquivoInvalido = 1,        // "Invalid File": ends the program
    ChaveInvalida = 2,          // "Invalid Key": rebuild (2) or end
    ErroReconstruirChave = 3,   // ends the program
    ErroCriarArquivo = 4,       // ends the program
    ErroAbrirArquivoCriado = 5, // ends the program
    ProcedimentoIndefinido = 6,
    ErroLerRegistroChave = 7,
    ValorAcimaLimite = 8,  // "must be lower than"
    ValorAbaixoLimite = 9, // "must be higher than"
    ValorForaFaixa = 10,   // "must be between"
    ValorInvalido = 11,
    ReferenciaImpedeGravar = 12,
    ReferenciaImpedeExcluir = 13,
    ErroIncluir = 14,
    ErroGravar = 15, // code 89: changed by another station
    TentarGravarNovamente = 16,
    ErroExcluir = 17,
    TentarExcluirNovamente = 18,
    InclusaoNaoPermitida = 19,
    AlteracaoNaoPermitida = 20,
    ExclusaoNaoPermitida = 21,
    CriacaoArquivoNaoPermitida = 22, // ends the program
    CancelarAlteracao = 23,
    ChaveDuplicada = 24,
    ErroNumeracaoAutomatica = 25,
    ErroCarregarArquivo = 26,
    CancelarCarga = 27,
    ArquivoSemTexto = 28,
    FimDoArquivo = 29,
    ErroAcessoArquivo = 30,
    ErroProcessarAlteracao = 31,
    ConfirmaExcluir = 32,
    GravarAlteracoes = 33,
    ErroTransacao = 34,
    ErroLerRegistro = 35,
    ErroAbrirVisao = 36,
    RegistroIncluido = 37,
    AlteradoPorOutraEstacao = 38,
};

struct ComposedWarning {
    int number = 0;
    QString caption;
    QString text; // line breaks as "\n"
    QList<Button> buttons;
    Button defaultButton = Button::Ok;
    Icon icon = Icon::Warning;
    bool showsError = false;      // the text includes the error description
    Button endsOn = Button::None; // the answer that ends the program (None: never ends it)
    QString finalText;            // the text the program ends with

    // True when this answer ends the program. A box with only OK ends it whatever closes it.
    bool endsProgram(Button pressed) const;
    // The LONG result: the button for the questions, 2 when warning 2 asks to rebuild the keys, else 0.
    int result(Button pressed) const;
};

// The error description: the driver's text and code for driver errors (90, 100), otherwise the error
// text and number, at most 150 characters.
QString errorDescription(const StoreError& error);

// Warnings 1 to 38; any other number gives an empty warning (number 0, no text).
ComposedWarning composeWarning(int number, const QString& text1, const QString& text2,
                               const StoreError& error);
inline ComposedWarning composeWarning(Aviso aviso, const QString& text1, const QString& text2,
                                      const StoreError& error) {
    return composeWarning(static_cast<int>(aviso), text1, text2, error);
}

} // namespace qav
