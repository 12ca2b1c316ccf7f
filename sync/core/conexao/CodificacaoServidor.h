#pragma once
// How texts cross the wire to and from the central database, chosen from the database's encoding:
// - UTF8: UTF-8 both ways, every character goes up.
// - SQL_ASCII: the server stores bytes as they come and converts nothing; the other programs of the
//   office write Windows-1252 there, so this workstation exchanges Windows-1252 bytes too (and still
//   reads right the UTF-8 rows that older builds of this program wrote).
// - LATIN1, WIN1252 and the other single-byte encodings: the connection speaks the database's own
//   encoding, so only characters the database can hold go up.

#include <QByteArray>
#include <QString>
#include <array>

namespace qav::sync {

class CodificacaoServidor {
public:
    enum class Tipo { Utf8, Win1252SemConversao, ByteUnico };

    // UTF-8, what a connection speaks until it knows its database.
    CodificacaoServidor() = default;
    // For the database's server_encoding ("UTF8", "SQL_ASCII", "LATIN1", "WIN1252", "LATIN9", ...).
    // A single-byte encoding other than LATIN1 and WIN1252 needs its characters from the server
    // (definirMapa) before it exchanges anything beyond ASCII.
    static CodificacaoServidor paraServidor(const QString& codificacaoServidor);

    Tipo tipo() const { return m_tipo; }
    // The client_encoding the connection sets.
    QByteArray codificacaoCliente() const { return m_nome; }
    // Whether the encoding's bytes 0x80-0xFF must be learnt from the server.
    bool precisaMapa() const { return m_tipo == Tipo::ByteUnico && !m_mapaConhecido; }
    // The characters of bytes 0x80-0xFF (0 for a byte the encoding leaves undefined).
    void definirMapa(const std::array<char32_t, 128>& mapa);

    // Whether the database can hold the character.
    bool cabe(char32_t c) const;
    // The text with the characters the database cannot hold replaced by their nearest plain form.
    QString ajustar(const QString& texto) const;

    // A statement or value in the connection's encoding (characters that do not fit as "?": call
    // ajustar() first where that matters).
    QByteArray codificar(const QString& texto) const;
    QString decodificar(const char* bytes, qsizetype tamanho) const;

private:
    Tipo m_tipo = Tipo::Utf8;
    QByteArray m_nome = QByteArrayLiteral("UTF8");
    bool m_mapaConhecido = false;
    std::array<char32_t, 128> m_mapa{}; // bytes 0x80-0xFF
};

} // namespace qav::sync
