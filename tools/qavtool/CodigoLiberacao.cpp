// qavtool codigo-liberacao: the release code the commercial department gives for one order.
#include "orders/core/CodigoLiberacao.h"
#include "tools/qavtool/Commands.h"

#include <cstdio>
#include <limits>
#include <optional>
#include <string>

namespace qavtool {

namespace {
std::optional<std::int32_t> inteiro32(const char* texto) {
    const std::optional<qav::Decimal> valor = qav::Decimal::parse(texto);
    if (!valor || valor->truncated(0) != *valor ||
        *valor > qav::Decimal(std::numeric_limits<std::int32_t>::max()) ||
        *valor < qav::Decimal(std::numeric_limits<std::int32_t>::min()))
        return std::nullopt;
    return static_cast<std::int32_t>(valor->toInt64());
}

int uso(const std::string& motivo) {
    std::fputs(("qavtool codigo-liberacao: " + motivo +
                "\nuso: qavtool codigo-liberacao NUMERO CLIENTE TOTAL CHAVE\n"
                "  NUMERO e CLIENTE inteiros, TOTAL com ponto decimal (1234.56), CHAVE de 01 a 99\n")
                   .c_str(),
               stderr);
    return 2;
}
} // namespace

int runCodigoLiberacao(int argc, char** argv) {
    if (argc != 4)
        return uso("são esperados 4 argumentos");
    const std::optional<std::int32_t> numero = inteiro32(argv[0]);
    if (!numero)
        return uso(std::string("número do pedido inválido: ") + argv[0]);
    const std::optional<std::int32_t> cliente = inteiro32(argv[1]);
    if (!cliente)
        return uso(std::string("cliente inválido: ") + argv[1]);
    const std::optional<qav::Decimal> total = qav::Decimal::parse(argv[2]);
    if (!total)
        return uso(std::string("total inválido: ") + argv[2]);
    const std::string textoChave = argv[3];
    const std::optional<std::int32_t> chave = inteiro32(argv[3]);
    // Key 00 would give the code 00000000, which reads as "no code".
    if (textoChave.size() > 2 || !chave || *chave < 1 || *chave > 99)
        return uso("chave inválida (de 01 a 99): " + textoChave);
    const std::optional<std::int32_t> codigo = qav::gerarCodigoLiberacao(*numero, *cliente, *total, *chave);
    if (!codigo)
        return uso("total grande demais para o código");
    std::printf("%08d\n", static_cast<int>(*codigo));
    return 0;
}

} // namespace qavtool
