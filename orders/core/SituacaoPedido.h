#pragma once
// The situation of an order (VDA:SITUA) and what it allows. A transmitted order is the company's
// now: the workstation may look at it but never change or delete it.

#include "orders/core/Entidades.h"

#include <QString>

namespace qav::situacao {

inline constexpr int Pendente = 1;
inline constexpr int Liberado = 2;
inline constexpr int Transmitido = 3;
inline constexpr int Cancelado = 4;
// The list's choice that shows every situation.
inline constexpr int Todas = 5;

// The letter the order list shows: P, L, T, C, blank for any other value.
QString letra(int situa);
// "Pendente", "Liberado", "Transmitido", "Cancelado"; empty for any other value.
QString texto(int situa);

inline bool somenteLeitura(const Pedido& pedido) {
    return pedido.SITUA == Transmitido;
}

} // namespace qav::situacao
