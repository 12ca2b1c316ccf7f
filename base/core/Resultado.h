#pragma once
// The outcome of an operation whose failure is told in words (a file that cannot be written, a folder
// that cannot be made, a table that cannot be read): done, or the reason it was not. The caller shows
// the reason; nothing else keeps it.

#include <QString>
#include <optional>
#include <utility>

namespace qav {

struct Resultado {
    bool ok = true;
    QString erro; // why it was not done, when !ok

    static Resultado falhou(QString erro) { return {false, std::move(erro)}; }
};

// A value read or computed, or the reason it could not be had.
template <typename T> struct ResultadoDe {
    std::optional<T> valor;
    QString erro; // why there is no value

    bool ok() const { return valor.has_value(); }
    static ResultadoDe falhou(QString erro) { return {std::nullopt, std::move(erro)}; }
};

} // namespace qav
