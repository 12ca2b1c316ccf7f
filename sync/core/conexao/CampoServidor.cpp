#include "sync/core/conexao/CampoServidor.h"

#include "store/core/Decimal.h"
#include "store/core/TableDef.h"
#include "store/core/Text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace qav::sync {

namespace {

// A number as the server writes it, without the spaces around it. Numbers come by the million in a
// download: a short one (all of them, in practice) is copied once, into a buffer of its own.
class TextoNumero {
public:
    explicit TextoNumero(const QString& valor) {
        qsizetype inicio = 0, fim = valor.size();
        while (inicio < fim && valor[inicio].isSpace())
            ++inicio;
        while (fim > inicio && valor[fim - 1].isSpace())
            --fim;
        if (fim - inicio <= static_cast<qsizetype>(m_curto.size())) {
            size_t n = 0;
            for (qsizetype i = inicio; i < fim; ++i) {
                const char16_t c = valor[i].unicode();
                if (c > 0x7f)
                    break;
                m_curto[n++] = static_cast<char>(c);
            }
            if (static_cast<qsizetype>(n) == fim - inicio) {
                m_texto = std::string_view(m_curto.data(), n);
                return;
            }
        }
        m_longo = valor.mid(inicio, fim - inicio).toStdString();
        m_texto = m_longo;
    }
    TextoNumero(const TextoNumero&) = delete;
    TextoNumero& operator=(const TextoNumero&) = delete;
    std::string_view texto() const { return m_texto; }

private:
    std::array<char, 64> m_curto{};
    std::string m_longo;
    std::string_view m_texto;
};

long long inteiro(const QString& valor) {
    if (const auto n = inteiroSimples(valor))
        return *n;
    const TextoNumero numero(valor);
    const std::string_view t = numero.texto();
    if (t == "t")
        return 1;
    long long n = 0;
    if (const auto [fim, erro] = std::from_chars(t.data(), t.data() + t.size(), n);
        erro == std::errc() && fim == t.data() + t.size() && !t.empty())
        return n;
    const auto d = Decimal::parse(t);
    return d ? d->truncated().toInt64() : 0;
}

} // namespace

std::optional<long long> inteiroSimples(const QString& valor) {
    const bool negativo = !valor.isEmpty() && valor.front() == u'-';
    const qsizetype inicio = negativo ? 1 : 0;
    if (valor.size() <= inicio || valor.size() - inicio > 18)
        return std::nullopt;
    long long n = 0;
    for (qsizetype i = inicio; i < valor.size(); ++i) {
        const char16_t c = valor[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c - u'0');
    }
    return negativo ? -n : n;
}

bool atribuirDoServidor(Record& r, const char* campo, const QString& valor, int elemento) {
    return atribuirDoServidor(r, r.field(campo), valor, elemento);
}

bool atribuirDoServidor(Record& r, int indice, const QString& valor, int elemento) {
    const FieldDef& def = r.def().fields[static_cast<size_t>(indice)];
    switch (def.type) {
    case FieldType::Int32:
    case FieldType::Int16:
    case FieldType::UInt8:
        r.setInteger(indice, inteiro(valor), elemento);
        return true;
    case FieldType::Real64: {
        // Plain numbers are read without the locale machinery; anything else as Qt reads it.
        const TextoNumero numero(valor);
        const std::string_view t = numero.texto();
        double d = 0;
        if (const auto [fim, erro] = std::from_chars(t.data(), t.data() + t.size(), d);
            t.empty() || erro != std::errc() || fim != t.data() + t.size() || !std::isfinite(d))
            d = valor.trimmed().toDouble();
        r.setReal(indice, d, elemento);
        return true;
    }
    case FieldType::Decimal: {
        const auto d = Decimal::parse(TextoNumero(valor).texto());
        return r.trySetDecimal(indice, d ? *d : Decimal(), elemento);
    }
    case FieldType::Date: {
        const auto d = Date::fromIso(valor.left(10).toStdString());
        r.setDate(indice, d ? *d : Date(), elemento);
        return true;
    }
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        // Texts read from the connection are already within the local code page; a text put together
        // from other sources is brought to it here, so that no server value can stop a step.
        // (A record cuts a text to its field as it stores it; a memo field only drops the spaces here.)
        r.setText(indice,
                  def.type == FieldType::Memo ? text::fit(text::win1252Form(valor), def.maxLength())
                                              : text::win1252Form(valor),
                  elemento);
        return true;
    }
    return true;
}

} // namespace qav::sync
