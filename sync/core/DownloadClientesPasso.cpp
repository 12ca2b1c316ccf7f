#include "sync/core/DownloadClientesPasso.h"

#include <exception>

namespace qav::sync {

namespace {
constexpr long long kLinhasEntreProgressos = 200;
constexpr qint64 kMsEntreProgressos = 100;
constexpr long long kLinhasEntrePerguntas = 50;
} // namespace

PassoDownload::PassoDownload(ContextoComunicacao& contexto, QString textoInicio) : m_contexto(contexto) {
    m_contexto.passoOk = false;
    m_contexto.registrar(textoInicio);
    m_relogio.start();
}

void PassoDownload::progresso(const std::function<QString()>& texto) {
    if (m_ultimaMostrada >= 0 && m_linhas - m_ultimaMostrada < kLinhasEntreProgressos &&
        m_relogio.elapsed() < kMsEntreProgressos)
        return;
    m_ultimaMostrada = m_linhas;
    m_relogio.restart();
    m_contexto.linhaProgresso(texto());
    m_contexto.ouvinte.contagem(m_linhas, 0);
}

bool PassoDownload::contar() {
    ++m_linhas;
    return m_linhas % kLinhasEntrePerguntas != 0 || !m_contexto.parar();
}

void PassoDownload::concluir(const QString& sufixo) {
    m_contexto.ouvinte.contagem(m_linhas, m_linhas);
    m_contexto.registrar(QStringLiteral("Atualizados ") + QString::number(m_linhas) + sufixo);
    m_contexto.passoOk = true;
}

bool PassoDownload::percorrer(const QString& comando, const std::function<bool(const Linha&)>& porLinha) {
    const auto cursor = m_contexto.conexao.abrir(comando);
    Linha linha;
    for (;;) {
        switch (cursor->proxima(linha)) {
        case Cursor::Passo::Linha:
            try {
                if (!porLinha(linha))
                    return false;
            } catch (const std::exception& e) {
                // A value the local files cannot hold (a character outside their code page): the step
                // ends as for a failed write, with the reason.
                m_contexto.erro(QString::fromUtf8(e.what()));
                return false;
            }
            break;
        case Cursor::Passo::Fim:
            return true;
        case Cursor::Passo::Erro:
            m_contexto.erroComando(cursor->erro());
            return false;
        }
    }
}

int representante(const ContextoComunicacao& contexto) {
    return contexto.qavcfg ? static_cast<int>(contexto.qavcfg->integer("COD_VENDEDOR")) : 0;
}

Date inicioHistorico(const ContextoComunicacao& contexto) {
    const int dias = contexto.qavcfg ? static_cast<int>(contexto.qavcfg->integer("DIAS_HISTORICO")) : 0;
    return contexto.dataServidor.addDays(-dias);
}

bool passoRoda(const ContextoComunicacao& contexto, const char* sistema) {
    return contexto.tipo != TipoComunicacao::SomentePedidos && contexto.sistema == QLatin1String(sistema);
}

} // namespace qav::sync
