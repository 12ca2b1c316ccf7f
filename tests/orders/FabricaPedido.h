#pragma once
// Small builders for the order-rule tests: exact decimals from text and items with their totals.

#include "orders/core/Entidades.h"
#include "tests/support/QtTestTexts.h"

#include <QTest>

namespace qavtest {

inline qav::Decimal D(const char* texto) {
    return qav::Decimal::parse(texto).value();
}

inline QString S(const qav::Decimal& valor, int escala) {
    return QString::fromStdString(valor.toString(escala));
}

// An item of `qtd` units at `pruni`, its total being qtd x pruni.
inline qav::PedidoItem item(int id, int produto, const char* qtd, const char* pruni) {
    qav::PedidoItem i;
    i.ID_VENDASI = id;
    i.PRODU = produto;
    i.QTD = D(qtd);
    i.PRUNI = D(pruni);
    i.VALOR_PRODUTO = i.PRUNI;
    i.PRECO_PAUTA = i.PRUNI;
    i.TOTAL = (i.QTD * i.PRUNI).rounded(2);
    return i;
}

inline qav::Produto produto(int id, const char* aliqIpi = "0") {
    qav::Produto p;
    p.ID = id;
    p.ID_EMPRESA = 1;
    p.NOME = QStringLiteral("Parafuso sextavado");
    p.ALIQ_IPI = D(aliqIpi);
    p.COD_ST = 10;
    return p;
}

} // namespace qavtest
