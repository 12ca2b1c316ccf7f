#include "orders/core/ProcuraProduto.h"

#include "orders/core/CamposPedido.h"
#include "store/core/Text.h"

namespace qav::procura {

namespace {
constexpr int kTamanhoCodigo = 14;

QString comparavel(const QString& entrada) {
    return text::rtrim(entrada.left(kTamanhoCodigo));
}

Status porChave(Table& produtos, const char* chave, const char* campo, int empresa, const QString& valor,
                Produto& into) {
    produtos.clearFilter();
    produtos.clear();
    produtos.rec().setText(campo, valor);
    produtos.rec().setInteger("ID_EMPRESA", empresa);
    const Status status = produtos.get(chave);
    if (status == Status::Ok)
        lerRegistro(produtos.rec(), into);
    return status;
}

bool soDigitos(const QString& texto) {
    if (texto.isEmpty())
        return false;
    for (const QChar c : texto)
        if (!text::isAsciiDigit(c))
            return false;
    return true;
}
} // namespace

Status porCodigoBarras(Table& produtos, int empresa, const QString& codigo, Produto& into) {
    const QString valor = comparavel(codigo);
    if (valor.trimmed().isEmpty())
        return Status::NotFound;
    return porChave(produtos, "KEYCOD_BARRAS", "COD_BARRAS", empresa, valor, into);
}

Status porEntrada(Table& produtos, int empresa, const QString& entrada, Produto& into) {
    const QString valor = comparavel(entrada);
    if (valor.trimmed().isEmpty())
        return Status::NotFound;
    Status status = porChave(produtos, "KEYCODIGO", "CODIGO", empresa, valor, into);
    if (status != Status::NotFound)
        return status;
    // Codes are kept with six digits; representatives type them without the leading zeros. Only
    // an entry of digits is a number: "ABC" is not code 000000.
    const QString numero = valor.trimmed();
    if (soDigitos(numero)) {
        QString semZeros = numero;
        while (semZeros.size() > 1 && semZeros.front() == QLatin1Char('0'))
            semZeros.remove(0, 1);
        const QString seisDigitos = semZeros.rightJustified(6, QLatin1Char('0'));
        if (seisDigitos != valor) {
            status = porChave(produtos, "KEYCODIGO", "CODIGO", empresa, seisDigitos, into);
            if (status != Status::NotFound)
                return status;
        }
    }
    return porChave(produtos, "KEYCOD_BARRAS", "COD_BARRAS", empresa, valor, into);
}

} // namespace qav::procura
