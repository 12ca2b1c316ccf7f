#pragma once
// The listener of a communication run that runs on a thread of its own while the "Comunicação"
// window keeps answering: log rows, the progress line and counts reach the window as queued
// signals; messages and questions are shown by the window's thread while the run waits for them.

#include "sync/core/execucao/OuvinteComunicacao.h"

#include <QObject>
#include <QPointer>
#include <QTime>
#include <atomic>

class QWidget;

namespace qav {

class OuvinteJanela : public QObject, public sync::OuvinteComunicacao {
    Q_OBJECT
public:
    // Lives on the thread of `janela`, which owns the message boxes.
    explicit OuvinteJanela(QWidget* janela);

    void registro(const QTime& hora, const QString& texto) override;
    void progresso(const QString& linha) override;
    void contagem(long long feitas, long long esperadas) override;
    void mensagem(const QString& titulo, const QString& texto, sync::Icone icone) override;
    bool pergunta(const QString& titulo, const QString& texto) override;
    void abrirEndereco(const QString& endereco) override;
    bool pararSolicitado() override { return m_parar.load(); }

    // The user asked to stop: the run ends at its next safe point.
    void solicitarParada() { m_parar = true; }
    // The window is going away: stop, and answer what the run still asks without showing anything.
    void encerrar();

Q_SIGNALS:
    void registroChegou(const QTime& hora, const QString& texto);
    void progressoChegou(const QString& linha);
    void contagemChegou(qint64 feitas, qint64 esperadas);

private:
    // Runs `acao` on this object's thread and waits for it.
    template <typename F> void naJanela(F acao);

    QPointer<QWidget> m_janela;
    std::atomic<bool> m_parar{false};
    std::atomic<bool> m_encerrando{false};
};

} // namespace qav
