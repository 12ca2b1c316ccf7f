#pragma once
// The input of `qavtool calcular`: one JSON object with the order, its items and the reference rows,
// fields named as in the local tables. Anything absent counts as zeros and blanks.

#include "orders/core/DadosPedido.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <stdexcept>
#include <vector>

namespace qavtool {

// A field that holds something other than what the rules expect; `campo` names it ("itens[2].QTD").
class EntradaInvalida : public std::runtime_error {
public:
    explicit EntradaInvalida(const QString& mensagem) : std::runtime_error(mensagem.toStdString()) {}
};

struct EntradaCalculo {
    qav::Pedido pedido;
    std::vector<qav::PedidoItem> itens;
    qav::DadosPedido dados;
    std::vector<qav::OutroPedido> outros;
    bool analise = false;
    std::optional<qav::Decimal> acrescimoAnterior;
};

// Throws EntradaInvalida for JSON that does not parse and for values of the wrong kind.
EntradaCalculo lerEntradaCalculo(const QByteArray& json);

} // namespace qavtool
