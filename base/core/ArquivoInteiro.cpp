#include "base/core/ArquivoInteiro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace qav {

namespace {

int abrirParaGravar(const QString& caminho) {
#ifdef _WIN32
    return _wopen(reinterpret_cast<const wchar_t*>(caminho.utf16()),
                  _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    return ::open(QFile::encodeName(caminho).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
#endif
}

long long gravar(int descritor, const char* dados, long long tamanho) {
#ifdef _WIN32
    return _write(descritor, dados, static_cast<unsigned int>(tamanho));
#else
    return ::write(descritor, dados, static_cast<size_t>(tamanho));
#endif
}

bool sincronizar(int descritor) {
#ifdef _WIN32
    return _commit(descritor) == 0;
#else
    return ::fsync(descritor) == 0;
#endif
}

int fechar(int descritor) {
#ifdef _WIN32
    return _close(descritor);
#else
    return ::close(descritor);
#endif
}

// The rename itself reaches the disk: a power cut right after it finds the new file, not none.
void sincronizarPasta(const QString& pasta) {
#ifndef _WIN32
    const int d = ::open(QFile::encodeName(pasta).constData(), O_RDONLY | O_CLOEXEC);
    if (d >= 0) {
        ::fsync(d);
        ::close(d);
    }
#else
    (void)pasta;
#endif
}

std::filesystem::path caminhoFs(const QString& caminho) {
#ifdef _WIN32
    return std::filesystem::path(caminho.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(caminho).toStdString());
#endif
}

} // namespace

QString textoFalhaGravacao(int codigoSistema, const QString& arquivo) {
    const QString nome = QDir::toNativeSeparators(arquivo);
    switch (codigoSistema) {
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("Disco cheio ao gravar %1!|Libere espaço no disco e tente novamente.")
            .arg(nome);
    case EROFS:
    case EACCES:
    case EPERM:
        return QStringLiteral("Sem permissão para gravar %1: a pasta é somente leitura.|Escolha outra pasta "
                              "ou peça ao responsável pelo computador a permissão de gravação.")
            .arg(nome);
    default:
        break;
    }
    return QStringLiteral("Não foi possível gravar o arquivo %1: %2")
        .arg(nome, QString::fromLocal8Bit(std::strerror(codigoSistema)));
}

ArquivoInteiro::ArquivoInteiro(QString destino)
    : m_destino(std::move(destino)), m_provisorio(m_destino + QStringLiteral(".gravando")) {}

ArquivoInteiro::~ArquivoInteiro() {
    descartar();
}

void ArquivoInteiro::descartar() {
    if (m_descritor >= 0) {
        fechar(m_descritor);
        m_descritor = -1;
        QFile::remove(m_provisorio);
    }
    if (isOpen())
        QIODevice::close();
}

bool ArquivoInteiro::falhar(int codigoSistema) {
    return falharCom(textoFalhaGravacao(codigoSistema, m_destino));
}

bool ArquivoInteiro::falharCom(const QString& texto) {
    m_erro = texto;
    descartar();
    QFile::remove(m_provisorio);
    return false;
}

bool ArquivoInteiro::abrir() {
    const QFileInfo info(m_destino);
    if (!QDir().mkpath(info.absolutePath()))
        return falharCom(QStringLiteral("Não foi possível criar a pasta %1")
                             .arg(QDir::toNativeSeparators(info.absolutePath())));
    m_descritor = abrirParaGravar(m_provisorio);
    if (m_descritor < 0)
        return falhar(errno);
    m_escritos = 0;
    m_codigoFalha = 0;
    return QIODevice::open(QIODevice::WriteOnly);
}

qint64 ArquivoInteiro::readData(char*, qint64) {
    return -1;
}

qint64 ArquivoInteiro::writeData(const char* dados, qint64 tamanho) {
    if (m_descritor < 0 || m_codigoFalha != 0)
        return -1;
    qint64 feitos = 0;
    while (feitos < tamanho) {
        const long long n = gravar(m_descritor, dados + feitos, tamanho - feitos);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A short write is the disk saying it is full; the first reason is the one told.
            m_codigoFalha = n < 0 ? errno : ENOSPC;
            return -1;
        }
        feitos += n;
    }
    m_escritos += feitos;
    return feitos;
}

bool ArquivoInteiro::concluir(const Conferencia& conferir) {
    if (m_descritor < 0)
        return m_erro.isEmpty() ? falharCom(QStringLiteral("Arquivo %1 não aberto").arg(m_destino)) : false;
    if (m_codigoFalha != 0)
        return falhar(m_codigoFalha);
    if (!sincronizar(m_descritor))
        return falhar(errno);
    const int descritor = m_descritor;
    m_descritor = -1;
    QIODevice::close();
    if (fechar(descritor) != 0) {
        const int codigo = errno;
        QFile::remove(m_provisorio);
        return falhar(codigo);
    }
    // What the disk holds is what was written, byte for byte.
    if (QFileInfo(m_provisorio).size() != m_escritos) {
        QFile::remove(m_provisorio);
        return falhar(ENOSPC);
    }
    QString motivo;
    if (conferir && !conferir(m_provisorio, &motivo)) {
        QFile::remove(m_provisorio);
        return falharCom(QStringLiteral("O arquivo %1 saiu incompleto (%2) e não foi gravado.")
                             .arg(QDir::toNativeSeparators(m_destino), motivo));
    }
    std::error_code erro;
    std::filesystem::rename(caminhoFs(m_provisorio), caminhoFs(m_destino), erro);
    if (erro) {
        QFile::remove(m_provisorio);
        return falhar(erro.default_error_condition().value());
    }
    sincronizarPasta(QFileInfo(m_destino).absolutePath());
    return true;
}

} // namespace qav
