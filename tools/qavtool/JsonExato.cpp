#include "tools/qavtool/JsonExato.h"

#include "store/core/Text.h"

#include <string>

namespace qavtool {

namespace {
// Plain decimal text of a JSON number with an exponent; empty when the exponent is absurd (the reader
// then reports the value as not a number).
std::string semExpoente(const std::string& mantissa, long expoente) {
    if (expoente > 40 || expoente < -40)
        return {};
    std::string sinal;
    std::string m = mantissa;
    if (!m.empty() && m[0] == '-') {
        sinal = "-";
        m.erase(0, 1);
    }
    const std::size_t ponto = m.find('.');
    std::string digitos = m;
    long inteiros = static_cast<long>(m.size());
    if (ponto != std::string::npos) {
        digitos = m.substr(0, ponto) + m.substr(ponto + 1);
        inteiros = static_cast<long>(ponto);
    }
    inteiros += expoente;
    const long total = static_cast<long>(digitos.size());
    if (inteiros <= 0)
        return sinal + "0." + std::string(static_cast<std::size_t>(-inteiros), '0') + digitos;
    if (inteiros >= total)
        return sinal + digitos + std::string(static_cast<std::size_t>(inteiros - total), '0');
    return sinal + digitos.substr(0, static_cast<std::size_t>(inteiros)) + "." +
           digitos.substr(static_cast<std::size_t>(inteiros));
}
} // namespace

QByteArray citarNumeros(const QByteArray& json) {
    QByteArray saida;
    saida.reserve(json.size() + json.size() / 4);
    const qsizetype n = json.size();
    qsizetype i = 0;
    while (i < n) {
        const char c = json[i];
        if (c == '"') { // copy the string, escapes included
            saida += c;
            ++i;
            while (i < n && json[i] != '"') {
                if (json[i] == '\\' && i + 1 < n)
                    saida += json[i++];
                saida += json[i++];
            }
            if (i < n)
                saida += json[i++];
            continue;
        }
        if (c != '-' && !qav::text::isAsciiDigit(c)) {
            saida += c;
            ++i;
            continue;
        }
        // A number literal: -?digits(.digits)?([eE][+-]?digits)?
        const qsizetype inicio = i;
        qsizetype j = i;
        if (json[j] == '-')
            ++j;
        const qsizetype inicioInteiro = j;
        while (j < n && qav::text::isAsciiDigit(json[j]))
            ++j;
        bool valido = j > inicioInteiro;
        if (valido && j < n && json[j] == '.') {
            const qsizetype inicioFracao = ++j;
            while (j < n && qav::text::isAsciiDigit(json[j]))
                ++j;
            valido = j > inicioFracao;
        }
        const qsizetype fimMantissa = j;
        long expoente = 0;
        bool temExpoente = false;
        if (valido && j < n && (json[j] == 'e' || json[j] == 'E')) {
            temExpoente = true;
            ++j;
            bool negativo = false;
            if (j < n && (json[j] == '+' || json[j] == '-'))
                negativo = json[j++] == '-';
            const qsizetype inicioExpoente = j;
            while (j < n && qav::text::isAsciiDigit(json[j])) {
                if (expoente < 100000)
                    expoente = expoente * 10 + (json[j] - '0');
                ++j;
            }
            valido = j > inicioExpoente;
            if (negativo)
                expoente = -expoente;
        }
        if (!valido) {
            saida += json.mid(inicio, j - inicio);
            i = j;
            continue;
        }
        std::string texto = json.mid(inicio, fimMantissa - inicio).toStdString();
        if (temExpoente) {
            const std::string plano = semExpoente(texto, expoente);
            texto = plano.empty() ? json.mid(inicio, j - inicio).toStdString() : plano;
        }
        saida += '"';
        saida += QByteArray::fromStdString(texto);
        saida += '"';
        i = j;
    }
    return saida;
}

} // namespace qavtool
