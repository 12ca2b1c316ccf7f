#pragma once
// The listener of the commands that drive a server run without a window: the log, the progress line
// and the messages are printed as they happen (errors on stderr); every question is answered No, the
// command itself having been the Yes to the run.

#include "sync/core/execucao/OuvinteComunicacao.h"

#include <QString>
#include <cstdio>

namespace qavtool {

// One line on `saida`, written at once (the caller may be a script reading as it goes).
void imprimir(FILE* saida, const QString& texto);

class OuvinteTerminal : public qav::sync::OuvinteComunicacao {
public:
    void registro(const QTime& hora, const QString& texto) override;
    void progresso(const QString& linha) override;
    void mensagem(const QString& titulo, const QString& texto, qav::sync::Icone icone) override;
    bool pergunta(const QString& titulo, const QString& texto) override;

private:
    QString m_ultima;
};

} // namespace qavtool
