#include "sync/core/conexao/CodificacaoServidor.h"

#include "store/core/Text.h"

#include <QList>

namespace qav::sync {

CodificacaoServidor CodificacaoServidor::paraServidor(const QString& codificacaoServidor) {
    CodificacaoServidor c;
    const QString nome = codificacaoServidor.trimmed().toUpper();
    if (nome.isEmpty() || nome == QStringLiteral("UTF8") || nome == QStringLiteral("UNICODE"))
        return c;
    if (nome == QStringLiteral("SQL_ASCII")) {
        c.m_tipo = Tipo::Win1252SemConversao;
        c.m_nome = QByteArrayLiteral("SQL_ASCII");
        return c;
    }
    c.m_tipo = Tipo::ByteUnico;
    c.m_nome = nome.toLatin1();
    if (nome == QStringLiteral("LATIN1")) {
        for (std::size_t i = 0; i < c.m_mapa.size(); ++i)
            c.m_mapa[i] = static_cast<char32_t>(0x80 + i);
        c.m_mapaConhecido = true;
    } else if (nome == QStringLiteral("WIN1252")) {
        // The five bytes Windows-1252 leaves undefined are refused by the server.
        for (std::size_t i = 0; i < c.m_mapa.size(); ++i) {
            const char byte = static_cast<char>(0x80 + i);
            const char32_t ch = text::fromWin1252(QByteArray(1, byte)).at(0).unicode();
            c.m_mapa[i] = ch >= 0x80 && ch < 0xA0 ? 0 : ch;
        }
        c.m_mapaConhecido = true;
    }
    return c;
}

void CodificacaoServidor::definirMapa(const std::array<char32_t, 128>& mapa) {
    m_mapa = mapa;
    m_mapaConhecido = true;
}

bool CodificacaoServidor::cabe(char32_t c) const {
    switch (m_tipo) {
    case Tipo::Utf8:
        return true;
    case Tipo::Win1252SemConversao:
        return c < 0x10000 && text::isWin1252(QString(QChar(static_cast<char16_t>(c))));
    case Tipo::ByteUnico:
        break;
    }
    if (c == 0)
        return false;
    if (c < 0x80)
        return true;
    for (const char32_t m : m_mapa)
        if (m == c)
            return true;
    return false;
}

QString CodificacaoServidor::ajustar(const QString& texto) const {
    if (m_tipo == Tipo::Utf8)
        return texto;
    return text::plainForm(texto, [this](char32_t c) { return cabe(c); });
}

QByteArray CodificacaoServidor::codificar(const QString& texto) const {
    switch (m_tipo) {
    case Tipo::Utf8:
        return texto.toUtf8();
    case Tipo::Win1252SemConversao:
        if (const auto bytes = text::toWin1252(texto))
            return *bytes;
        return *text::toWin1252(text::win1252Form(texto));
    case Tipo::ByteUnico:
        break;
    }
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (const char32_t c : texto.toUcs4()) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        char byte = '?';
        for (std::size_t i = 0; i < m_mapa.size(); ++i)
            if (m_mapa[i] == c) {
                byte = static_cast<char>(0x80 + i);
                break;
            }
        bytes += byte;
    }
    return bytes;
}

QString CodificacaoServidor::decodificar(const char* bytes, qsizetype tamanho) const {
    switch (m_tipo) {
    case Tipo::Utf8:
        return QString::fromUtf8(bytes, tamanho);
    case Tipo::Win1252SemConversao:
        return text::decodeUtf8OrWin1252(QByteArray::fromRawData(bytes, tamanho));
    case Tipo::ByteUnico:
        break;
    }
    QString texto;
    texto.reserve(tamanho);
    for (qsizetype i = 0; i < tamanho; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const char32_t c = b < 0x80 ? b : m_mapa[b - 0x80u];
        if (c == 0)
            texto += QLatin1Char('?');
        else
            texto += QString::fromUcs4(&c, 1);
    }
    return texto;
}

} // namespace qav::sync
