#include "printout/core/CorpoEmail.h"

#include "store/core/Text.h"

namespace qav::impressao {

namespace {
constexpr int kCorpoMaximo = 800;

// Each step is added and the trailing blanks cut, as the text grows.
void acrescentar(QString& corpo, const QString& parte) {
    corpo = text::rtrim(corpo + parte);
}
} // namespace

QString corpoEmail(const DocumentoPedido& documento) {
    QString corpo;
    acrescentar(corpo, documento.contato.trimmed().isEmpty() ? QStringLiteral("Att Setor de Compras")
                                                             : QStringLiteral("Att ") + documento.contato);
    acrescentar(corpo, QStringLiteral("\r\n\r\nSegue em anexo cópia do pedido para vossa conferência!"));
    acrescentar(corpo, QStringLiteral("\r\n\r\nAtenciosamente,"));
    acrescentar(corpo, QStringLiteral("\r\n\r\n") + documento.vendedor);
    acrescentar(corpo, QStringLiteral("\r\n") + documento.emitente.nome);
    return corpo.left(kCorpoMaximo);
}

QString emailInicial(const ClienteImpresso& cliente) {
    const QString alternativo = text::rtrim(cliente.emailQav);
    return alternativo.trimmed().isEmpty() ? text::rtrim(cliente.email) : alternativo;
}

} // namespace qav::impressao
