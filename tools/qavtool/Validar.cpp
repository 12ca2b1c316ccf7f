// qavtool validar: the CPF, CNPJ and state-registration checks of the customer form, one value from
// the arguments or many from standard input (--lote).
#include "customers/core/DocumentChecks.h"
#include "tools/qavtool/Commands.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

enum class Tipo { Cpf, Cnpj, Ie, Desconhecido };

Tipo parseTipo(std::string_view text) {
    const QString tipo = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toLower();
    if (tipo == u"cpf")
        return Tipo::Cpf;
    if (tipo == u"cnpj")
        return Tipo::Cnpj;
    if (tipo == u"ie")
        return Tipo::Ie;
    return Tipo::Desconhecido;
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool check(Tipo tipo, std::string_view uf, std::string_view valor) {
    const QString value = fromUtf8(valor);
    switch (tipo) {
    case Tipo::Cpf:
        return qav::docs::cpfValido(value);
    case Tipo::Cnpj:
        return qav::docs::cnpjValido(value);
    case Tipo::Ie:
        return qav::docs::ieValida(value, fromUtf8(uf));
    case Tipo::Desconhecido:
        break;
    }
    return false;
}

int usage(const char* problem) {
    std::fprintf(stderr,
                 "qavtool validar: %s\n"
                 "uso:\n"
                 "  qavtool validar cpf VALOR\n"
                 "  qavtool validar cnpj VALOR\n"
                 "  qavtool validar ie UF VALOR\n"
                 "  qavtool validar --lote            (linhas tipo<TAB>uf<TAB>valor na entrada)\n",
                 problem);
    return 2;
}

// One input line of the batch: "tipo<TAB>uf<TAB>valor". The uf column is read only for "ie" (the
// others carry "-" there, but any text is tolerated). A line without exactly three columns or with
// an unknown tipo is not a valid document.
bool checkLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::size_t tab1 = line.find('\t');
    if (tab1 == std::string_view::npos)
        return false;
    const std::size_t tab2 = line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos || line.find('\t', tab2 + 1) != std::string_view::npos)
        return false;
    const Tipo tipo = parseTipo(line.substr(0, tab1));
    if (tipo == Tipo::Desconhecido)
        return false;
    return check(tipo, line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1));
}

int runLote() {
    // Large stdio buffers and no flush per line: scripts send tens of thousands of lines.
    static char outBuffer[1 << 16];
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    std::string line;
    char chunk[4096];
    bool pending = false;
    while (std::fgets(chunk, sizeof chunk, stdin) != nullptr) {
        const std::size_t n = std::strlen(chunk);
        const bool complete = n > 0 && chunk[n - 1] == '\n';
        line.append(chunk, complete ? n - 1 : n);
        pending = !complete;
        if (complete) {
            std::fputs(checkLine(line) ? "1\n" : "0\n", stdout);
            line.clear();
        }
    }
    // A last line without its line feed still counts.
    if (pending || !line.empty())
        std::fputs(checkLine(line) ? "1\n" : "0\n", stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdin) ? 0 : 2;
}

int report(bool valid) {
    std::fputs(valid ? "válido\n" : "inválido\n", stdout);
    return valid ? 0 : 1;
}

} // namespace

namespace qavtool {

int runValidar(int argc, char** argv) {
    if (argc < 1)
        return usage("falta o tipo de documento");
    if (std::strcmp(argv[0], "--lote") == 0)
        return argc == 1 ? runLote() : usage("--lote não aceita outros argumentos");
    const Tipo tipo = parseTipo(argv[0]);
    switch (tipo) {
    case Tipo::Cpf:
    case Tipo::Cnpj:
        if (argc != 2)
            return usage("informe um único VALOR");
        return report(check(tipo, {}, argv[1]));
    case Tipo::Ie:
        if (argc != 3)
            return usage("informe UF e VALOR");
        if (!qav::docs::ufValida(fromUtf8(argv[1])))
            return usage("UF desconhecida");
        return report(check(tipo, argv[1], argv[2]));
    case Tipo::Desconhecido:
        break;
    }
    return usage("tipo desconhecido (use cpf, cnpj ou ie)");
}

} // namespace qavtool
