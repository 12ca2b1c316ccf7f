#include "sync/widgets/OuvinteJanela.h"

#include "ui/widgets/MessageBox.h"

#include <QDesktopServices>
#include <QThread>
#include <QUrl>
#include <QWidget>

namespace qav {

namespace {
Icon iconeDe(sync::Icone icone) {
    switch (icone) {
    case sync::Icone::Informacao:
        return Icon::Information;
    case sync::Icone::Aviso:
        return Icon::Warning;
    case sync::Icone::Erro:
        return Icon::Critical;
    }
    return Icon::None;
}
} // namespace

OuvinteJanela::OuvinteJanela(QWidget* janela) : m_janela(janela) {}

template <typename F> void OuvinteJanela::naJanela(F acao) {
    if (QThread::currentThread() == thread())
        acao();
    else
        QMetaObject::invokeMethod(this, acao, Qt::BlockingQueuedConnection);
}

void OuvinteJanela::registro(const QTime& hora, const QString& texto) {
    Q_EMIT registroChegou(hora, texto);
}

void OuvinteJanela::progresso(const QString& linha) {
    Q_EMIT progressoChegou(linha);
}

void OuvinteJanela::contagem(long long feitas, long long esperadas) {
    Q_EMIT contagemChegou(feitas, esperadas);
}

void OuvinteJanela::mensagem(const QString& titulo, const QString& texto, sync::Icone icone) {
    if (m_encerrando)
        return;
    // The server's messages indent their second line with a tab, which a message box shows as a gap.
    const QString linhas = QString(texto).remove(QLatin1Char('\t'));
    naJanela([this, titulo, linhas, icone] {
        if (!m_encerrando)
            MessageBox::show(linhas, titulo, iconeDe(icone), {Button::Ok}, Button::Ok, m_janela);
    });
}

bool OuvinteJanela::pergunta(const QString& titulo, const QString& texto) {
    if (m_encerrando)
        return false;
    bool sim = false;
    naJanela([this, titulo, texto, &sim] {
        if (!m_encerrando)
            sim = MessageBox::show(texto, titulo, Icon::Question, {Button::Yes, Button::No}, Button::Yes,
                                   m_janela) == Button::Yes;
    });
    return sim;
}

void OuvinteJanela::abrirEndereco(const QString& endereco) {
    if (m_encerrando)
        return;
    QMetaObject::invokeMethod(
        this, [endereco] { QDesktopServices::openUrl(QUrl(endereco)); }, Qt::QueuedConnection);
}

void OuvinteJanela::encerrar() {
    m_encerrando = true;
    m_parar = true;
}

} // namespace qav
