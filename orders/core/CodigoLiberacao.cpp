#include "orders/core/CodigoLiberacao.h"

namespace qav {

namespace {
// k x number x customer in 32-bit two's-complement arithmetic with wrap-around, as the code was
// always computed.
std::int32_t produtoCom32Bits(std::int32_t chave, std::int32_t numero, std::int32_t cliente) {
    std::uint32_t p = static_cast<std::uint32_t>(chave) * static_cast<std::uint32_t>(numero);
    p *= static_cast<std::uint32_t>(cliente);
    return static_cast<std::int32_t>(p);
}
} // namespace

int chaveCodigoLiberacao(std::int32_t codigo) {
    return codigo > 0 ? codigo % 100 : 0;
}

std::optional<std::int32_t> gerarCodigoLiberacao(std::int32_t numero, std::int32_t cliente,
                                                 const Decimal& total, int chave) {
    if (chave < 0 || chave > 99)
        return std::nullopt;
    try {
        const Decimal p(static_cast<long long>(produtoCom32Bits(chave, numero, cliente)));
        // x is truncated toward zero; its last six digits are those of |x|.
        const Decimal x = (p * total).truncated(0).abs();
        const Decimal milhao(1000000);
        const Decimal ultimos = x - (x / milhao).truncated(0) * milhao;
        return static_cast<std::int32_t>(ultimos.toInt64() * 100 + chave);
    } catch (const DecimalOverflow&) {
        return std::nullopt;
    }
}

bool codigoLiberacaoValido(std::int32_t codigo, std::int32_t numero, std::int32_t cliente,
                           const Decimal& total) {
    if (codigo <= 0 || codigo > 99999999)
        return false;
    const std::optional<std::int32_t> esperado = gerarCodigoLiberacao(numero, cliente, total, codigo % 100);
    return esperado && *esperado == codigo;
}

} // namespace qav
