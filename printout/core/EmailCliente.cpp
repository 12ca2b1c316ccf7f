#include "printout/core/EmailCliente.h"

#include "store/core/Table.h"

namespace qav::impressao {

bool lembrarEmailCliente(Store& store, int idCliente, const QString& entrada, StoreError* erro) {
    const QString endereco = entrada.trimmed();
    if (endereco.isEmpty())
        return true;
    Table clientes(store, "clientes");
    const auto falhou = [&](const StoreError& e) {
        if (erro)
            *erro = e;
        return false;
    };
    if (!clientes.open())
        return falhou(clientes.error());
    clientes.clear();
    clientes.rec().setInteger("ID", idCliente);
    switch (clientes.get("KEYID")) {
    case Status::Ok:
        break;
    case Status::Error:
        return falhou(clientes.error());
    default:
        return true;
    }

    // The main address typed again means the customer wants it back: the alternative is cleared.
    const QString alternativo = endereco == clientes.rec().text("E_MAIL").trimmed() ? QString() : endereco;
    if (clientes.rec().text("EMAIL_QAV").trimmed() == alternativo)
        return true;
    try {
        clientes.rec().setText("EMAIL_QAV", alternativo);
    } catch (const FieldValueError& e) {
        // The entry lets through only what the field holds; a caller that does not is told so here
        // rather than losing the customer record.
        return falhou({.code = ErrorCode::FileSystemError,
                       .text = errorText(ErrorCode::FileSystemError),
                       .driverText = QString::fromStdString(e.what()),
                       .driverCode = {}});
    }
    if (clientes.put() != Status::Ok)
        return falhou(clientes.error());
    return true;
}

} // namespace qav::impressao
