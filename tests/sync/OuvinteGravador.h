#pragma once
// A listener of the communication run for the tests: keeps every row of the log, progress line and
// message, answers questions from a queue (No when none is left), and asks to stop when told to.

#include "sync/core/execucao/OuvinteComunicacao.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <functional>

namespace qav::test {

class OuvinteGravador : public sync::OuvinteComunicacao {
public:
    QStringList registros, linhas, mensagens, perguntas;
    QList<bool> respostas;
    bool parar = false;
    int pararDepoisDe = -1; // stop requested from that call of pararSolicitado() on
    int chamadasParar = 0;
    int progressos = 0;
    long long contadas = 0; // the most rows a step said it had done
    QString endereco;
    std::function<void(const QString&)> aoRegistrar;
    std::function<void(long long)> aoContar; // rows done in the middle of a step whose total is unknown

    void registro(const QTime&, const QString& texto) override {
        registros << texto;
        if (aoRegistrar)
            aoRegistrar(texto);
    }
    void progresso(const QString& linha) override {
        linhas << linha;
        ++progressos;
    }
    void contagem(long long feitas, long long esperadas) override {
        contadas = std::max(contadas, feitas);
        if (aoContar && esperadas == 0)
            aoContar(feitas);
    }
    void mensagem(const QString& titulo, const QString& texto, sync::Icone) override {
        mensagens << titulo + QStringLiteral(": ") + texto;
    }
    bool pergunta(const QString& titulo, const QString& texto) override {
        perguntas << titulo + QStringLiteral(": ") + texto;
        return respostas.isEmpty() ? false : respostas.takeFirst();
    }
    void abrirEndereco(const QString& e) override { endereco = e; }
    bool pararSolicitado() override {
        return parar || (pararDepoisDe >= 0 && chamadasParar++ >= pararDepoisDe);
    }

    // Everything said, one row a line, for the messages of failed checks.
    QString tudo() const { return (registros + mensagens + perguntas).join(QLatin1Char('\n')); }
    QStringList linhasCom(const QString& trecho) const { return registros.filter(trecho); }
};

} // namespace qav::test
