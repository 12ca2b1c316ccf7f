#pragma once
// How a communication run talks to whoever started it (the "Comunicação" window, qavtool comunicar):
// the run log, the progress line and counts, messages and yes/no questions, and the request to stop.
// The run may call it from a thread of its own; an implementation that shows windows takes care of
// reaching its own thread.

#include <QString>
#include <QTime>

namespace qav::sync {

enum class Icone { Informacao, Aviso, Erro };

class OuvinteComunicacao {
public:
    virtual ~OuvinteComunicacao() = default;
    // A row of the run log, stamped with the clock time of the moment it happened.
    virtual void registro(const QTime& hora, const QString& texto) = 0;
    // The progress line: the row a step is working on; empty clears it.
    virtual void progresso(const QString& linha) = 0;
    // Rows done by a long step, and the rows expected (0 when not known).
    virtual void contagem(long long feitas, long long esperadas) {
        (void)feitas;
        (void)esperadas;
    }
    // "|" in the text starts a new line.
    virtual void mensagem(const QString& titulo, const QString& texto, Icone icone) = 0;
    // True for Yes.
    virtual bool pergunta(const QString& titulo, const QString& texto) = 0;
    // Opens a web address in the user's browser (the page that offers the program's update).
    virtual void abrirEndereco(const QString& endereco) { (void)endereco; }
    // Asked between steps and rows: true when the run must stop at the next safe point.
    virtual bool pararSolicitado() { return false; }
};

} // namespace qav::sync
