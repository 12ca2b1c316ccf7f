#include "tools/qavtool/OuvinteTerminal.h"

#include <QTime>
#include <cstdio>

namespace qavtool {

void imprimir(FILE* saida, const QString& texto) {
    std::fprintf(saida, "%s\n", texto.toLocal8Bit().constData());
    std::fflush(saida);
}

namespace {
QString linhas(const QString& texto) {
    return QString(texto).replace(QLatin1Char('|'), QLatin1Char('\n'));
}
} // namespace

void OuvinteTerminal::registro(const QTime& hora, const QString& texto) {
    imprimir(stdout, hora.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + texto);
}

void OuvinteTerminal::progresso(const QString& linha) {
    if (!linha.isEmpty() && linha != m_ultima)
        imprimir(stdout, QStringLiteral("          ") + linha);
    m_ultima = linha;
}

void OuvinteTerminal::mensagem(const QString& titulo, const QString& texto, qav::sync::Icone icone) {
    const QString cabeca = titulo.isEmpty() ? QString() : QLatin1Char('[') + titulo + QStringLiteral("] ");
    imprimir(icone == qav::sync::Icone::Erro ? stderr : stdout, cabeca + linhas(texto));
}

bool OuvinteTerminal::pergunta(const QString& titulo, const QString& texto) {
    imprimir(stdout,
             QLatin1Char('[') + titulo + QStringLiteral("] ") + linhas(texto) + QStringLiteral(" Não"));
    return false;
}

} // namespace qavtool
