#include "orders/widgets/ExclusaoPedido.h"

#include "orders/core/ManutencaoPedido.h"
#include "orders/core/SituacaoPedido.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"

namespace qav {

namespace {
const QString& avisoTransmitido() {
    static const QString texto = QStringLiteral("Pedido já transmitido! Impossivel excluir!");
    return texto;
}
} // namespace

bool excluirPedidoConfirmado(QWidget* parent, Store& store, int idPedido, int situa) {
    if (situa == situacao::Transmitido) {
        MessageBox::show(avisoTransmitido(), QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok,
                         parent);
        return false;
    }
    if (standardWarning(Aviso::ConfirmaExcluir, {}, {}, parent) != static_cast<int>(Button::Ok))
        return false;
    const ResultadoPedido r = excluirPedido(store, idPedido);
    switch (r.falha) {
    case ResultadoPedido::Falha::Nenhuma:
    case ResultadoPedido::Falha::NaoEncontrado:
        return true;
    case ResultadoPedido::Falha::Transmitido: // transmitted since the list was read
        MessageBox::show(r.mensagem, QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok,
                         parent);
        return false;
    case ResultadoPedido::Falha::Arquivo:
        MessageBox::show(r.mensagem, QStringLiteral("Erro"), Icon::Critical, {Button::Ok}, Button::Ok,
                         parent);
        return false;
    }
    return false;
}

} // namespace qav
