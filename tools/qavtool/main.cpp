// qavtool: the business rules from the command line, for scripts and for the commercial department.
#include "tools/qavtool/Commands.h"

#include "orders/core/CamposPedido.h"

#include <cstdio>
#include <cstring>

namespace {
void usage() {
    std::fputs(
        "uso:\n"
        "  qavtool validar cpf VALOR\n"
        "  qavtool validar cnpj VALOR\n"
        "  qavtool validar ie UF VALOR\n"
        "  qavtool validar --lote            (linhas tipo<TAB>uf<TAB>valor na entrada)\n"
        "  qavtool calcular                  (pedido em JSON na entrada)\n"
        "  qavtool codigo-liberacao NUMERO CLIENTE TOTAL CHAVE\n"
        "  qavtool imprimir --pasta DIR --pedido NUMERO --modelo 1..4 [--ordem-produto] --pdf ARQUIVO\n"
        "  qavtool comunicar --pasta DIR [--empresa N] [--tipo total|parcial|pedidos]\n"
        "  qavtool configurar --pasta DIR --empresa N CAMPO=VALOR ...\n"
        "  qavtool gerente --pasta DIR [--empresa N]   (qav.cfg da pasta de trabalho)\n"
        "  qavtool relatorio --pasta DIR --empresa N TIPO [filtros] --pdf ARQUIVO | --csv ARQUIVO\n",
        stderr);
}
} // namespace

int main(int argc, char** argv) {
    // A member of the order rules without its field in the table catalogue stops the program here
    // (CampoForaDoCatalogo), before any order is calculated.
    qav::verificarCampos();
    if (argc < 2) {
        usage();
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "validar") == 0)
        return qavtool::runValidar(argc - 2, argv + 2);
    if (std::strcmp(command, "calcular") == 0)
        return qavtool::runCalcular(argc - 2, argv + 2);
    if (std::strcmp(command, "codigo-liberacao") == 0)
        return qavtool::runCodigoLiberacao(argc - 2, argv + 2);
    if (std::strcmp(command, "comunicar") == 0)
        return qavtool::runComunicar(argc - 2, argv + 2);
    if (std::strcmp(command, "configurar") == 0)
        return qavtool::runConfigurar(argc - 2, argv + 2);
    if (std::strcmp(command, "gerente") == 0)
        return qavtool::runGerente(argc - 2, argv + 2);
    if (std::strcmp(command, "relatorio") == 0)
        return qavtool::runRelatorio(argc - 2, argv + 2);
    if (std::strcmp(command, "imprimir") == 0)
        return qavtool::runImprimir(argc - 2, argv + 2);
    usage();
    return 2;
}
