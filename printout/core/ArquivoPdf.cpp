#include "printout/core/ArquivoPdf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QStandardPaths>

namespace qav::impressao {

namespace {
QString oitoDigitos(int numero) {
    return QStringLiteral("%1").arg(numero, 8, 10, QLatin1Char('0'));
}
} // namespace

QString pastaPdfPedidos() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("qavplus/pedidos"));
}

bool prepararPastaPdfPedidos(QString* erro) {
    const QString pasta = pastaPdfPedidos();
    // Also a folder left by an older version with wider permissions is closed again.
    if (!QDir().mkpath(pasta) ||
        !QFile::setPermissions(pasta,
                               QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        if (erro)
            *erro = QStringLiteral("Não foi possível criar a pasta %1").arg(QDir::toNativeSeparators(pasta));
        return false;
    }
    return true;
}

QString arquivoPdfPedido(int numero, int modelo) {
    const QString doModelo = modelo > 0 ? QStringLiteral("_modelo%1").arg(modelo) : QString();
    return QDir(pastaPdfPedidos())
        .filePath(QStringLiteral("pedido_") + oitoDigitos(numero) + doModelo + QStringLiteral(".pdf"));
}

int removerPdfsAntigos(const QDateTime& agora) {
    const QDir pasta(pastaPdfPedidos());
    int removidos = 0;
    // Only the program's own files: the order PDFs and what a write cut short left beside them.
    const QFileInfoList arquivos = pasta.entryInfoList(
        {QStringLiteral("pedido_*.pdf"), QStringLiteral("pedido_*.pdf.tmp")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& arquivo : arquivos)
        if (arquivo.lastModified().secsTo(agora) > 24 * 60 * 60 && QFile::remove(arquivo.filePath()))
            ++removidos;
    return removidos;
}

QString tituloPdf(int numero) {
    return QStringLiteral("Pedido # ") + oitoDigitos(numero);
}

bool gravarPdf(const QString& arquivo, const QString& titulo,
               const std::function<int(QPagedPaintDevice&)>& desenhar, QString* erro) {
    const QFileInfo info(arquivo);
    if (!QDir().mkpath(info.absolutePath())) {
        if (erro)
            *erro = QStringLiteral("Não foi possível criar a pasta %1")
                        .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    // Written beside the target and renamed over it at the end, so that a failure never leaves a
    // half-written document where the viewer or the mail program would pick it up.
    const QString provisorio = arquivo + QStringLiteral(".tmp");
    int paginas = 0;
    {
        QPdfWriter pdf(provisorio);
        pdf.setTitle(titulo);
        pdf.setCreator(QStringLiteral("QAV+"));
        pdf.setResolution(600);
        paginas = desenhar(pdf);
    }
    QFile gravado(provisorio);
    if (paginas == 0 || gravado.size() == 0) {
        gravado.remove();
        if (erro)
            *erro =
                QStringLiteral("Não foi possível gravar o arquivo %1").arg(QDir::toNativeSeparators(arquivo));
        return false;
    }
    QFile::remove(arquivo);
    if (!gravado.rename(arquivo)) {
        gravado.remove();
        if (erro)
            *erro = QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                        .arg(QDir::toNativeSeparators(arquivo), gravado.errorString());
        return false;
    }
    return true;
}

bool gravarPdf(const QString& arquivo, const DocumentoPedido& documento, Modelo modelo,
               const OpcoesDesenho& opcoes, QString* erro) {
    return gravarPdf(
        arquivo, tituloPdf(documento.numero),
        [&](QPagedPaintDevice& pdf) { return desenharPedido(pdf, documento, modelo, opcoes); }, erro);
}

} // namespace qav::impressao
