#include "printout/core/ArquivoPdf.h"

#include "base/core/ArquivoInteiro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QStandardPaths>
#include <algorithm>

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

Resultado prepararPastaPdfPedidos() {
    const QString pasta = pastaPdfPedidos();
    // Also a folder left by an older version with wider permissions is closed again.
    if (!QDir().mkpath(pasta) ||
        !QFile::setPermissions(pasta,
                               QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        return Resultado::falhou(
            QStringLiteral("Não foi possível criar a pasta %1").arg(QDir::toNativeSeparators(pasta)));
    }
    return {};
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

bool pdfCompleto(const QString& caminho, QString* motivo) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly)) {
        *motivo = arquivo.errorString();
        return false;
    }
    const qint64 tamanho = arquivo.size();
    if (!arquivo.read(5).startsWith("%PDF-")) {
        *motivo = QStringLiteral("sem o cabeçalho de PDF");
        return false;
    }
    // The end of a whole PDF: "startxref", the offset of the cross-reference table, "%%EOF". A reader
    // starts there, so the offset must lead to that table.
    const qint64 cauda = std::min<qint64>(tamanho, 1024);
    arquivo.seek(tamanho - cauda);
    const QByteArray fim = arquivo.read(cauda);
    const qsizetype startxref = fim.lastIndexOf("startxref");
    if (startxref < 0 || fim.indexOf("%%EOF", startxref) < 0) {
        *motivo = QStringLiteral("sem o final do PDF");
        return false;
    }
    bool ok = false;
    const qint64 tabela = fim.mid(startxref + 9).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || tabela <= 0 || tabela >= tamanho || !arquivo.seek(tabela) ||
        !arquivo.read(4).startsWith("xref")) {
        *motivo = QStringLiteral("referências do PDF inválidas");
        return false;
    }
    return true;
}

Resultado gravarPdf(const QString& arquivo, const QString& titulo,
                    const std::function<int(QPagedPaintDevice&)>& desenhar) {
    // Written beside the target, checked and renamed over it at the end, so that a failure never
    // leaves a half-written document where the viewer or the mail program would pick it up, and the
    // earlier file of that name stays as it was.
    ArquivoInteiro saida(arquivo);
    if (!saida.abrir())
        return Resultado::falhou(saida.erro());
    int paginas = 0;
    {
        QPdfWriter pdf(&saida);
        pdf.setTitle(titulo);
        pdf.setCreator(QStringLiteral("QAV+"));
        pdf.setResolution(600);
        paginas = desenhar(pdf);
    }
    if (paginas == 0)
        return Resultado::falhou(
            QStringLiteral("Não foi possível gravar o arquivo %1").arg(QDir::toNativeSeparators(arquivo)));
    if (!saida.concluir(pdfCompleto))
        return Resultado::falhou(saida.erro());
    return {};
}

Resultado gravarPdf(const QString& arquivo, const DocumentoPedido& documento, Modelo modelo,
                    const OpcoesDesenho& opcoes) {
    return gravarPdf(arquivo, tituloPdf(documento.numero),
                     [&](QPagedPaintDevice& pdf) { return desenharPedido(pdf, documento, modelo, opcoes); });
}

} // namespace qav::impressao
