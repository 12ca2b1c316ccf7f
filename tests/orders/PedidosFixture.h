#pragma once
// Orders, items and accessory rows written straight into real table files, and read back, for the
// tests of the order list and of the work on whole orders.

#include "store/core/Decimal.h"
#include "store/core/Table.h"
#include "store/core/Transaction.h"
#include "tests/support/Registros.h"

#include <QString>
#include <functional>
#include <stdexcept>
#include <vector>

namespace qav::test {

struct NovoPedido {
    int id = 0;
    int empresa = 1;
    int numero = 0;
    int situa = 1;
    int cliente = 0;
    int vendedor = 0;
    int data = 0; // day number
    int numErp = 0;
    double total = 0;
};

inline void pedido(Store& store, const NovoPedido& p) {
    adicionar(store, "pedidos", [&](Record& r) {
        r.setInteger("ID", p.id);
        r.setInteger("ID_EMPRESA", p.empresa);
        r.setInteger("NUMER", p.numero);
        r.setInteger("SITUA", p.situa);
        r.setInteger("CLIEN", p.cliente);
        r.setInteger("COD_VENDEDOR", p.vendedor);
        r.setInteger("DATA", p.data);
        r.setInteger("NUM_ERP", p.numErp);
        r.setReal("TOTAL", p.total);
        r.setReal("TOTPR", p.total);
        r.setInteger("COD_LIBERACAO", 12345678);
        r.setText("OBS", QStringLiteral("Entregar pela manhã"));
    });
}

inline void item(Store& store, int idItem, int idPedido, int produto, const char* qtd) {
    adicionar(store, "peditens", [&](Record& r) {
        r.setInteger("ID_VENDASI", idItem);
        r.setInteger("ID_VENDA", idPedido);
        r.setInteger("PRODU", produto);
        r.setDecimal("QTD", Decimal::parse(qtd).value());
        r.setDecimal("PRUNI", Decimal::parse("12.5").value());
        r.setDecimal("VALOR_ACESSORIOS", Decimal::parse("1.25").value());
        r.setText("OBS", QStringLiteral("item %1").arg(produto));
    });
}

inline void acessorio(Store& store, int idItem, int idAcessorio) {
    adicionar(store, "pedacess", [&](Record& r) {
        r.setInteger("ID_VENDASI", idItem);
        r.setInteger("ID_ACESSORIO", idAcessorio);
        r.setDecimal("VALOR", Decimal::parse("0.75").value());
    });
}

// Order 1 (number 41) of customer 7 with `itens` items, written in one go, for the tests that kill a
// process at work on a large order: item i is 1 unit of product i at 10.00 with the observation
// "item i", and has accessory 5 at 0.75.
inline bool prepararPedidoGrande(Store& store, int itens) {
    pedido(store, {.id = 1, .numero = 41, .situa = 1, .cliente = 7, .total = 10});
    Table tabelaItens(store, "peditens");
    Table acessorios(store, "pedacess");
    if (!tabelaItens.open() || !acessorios.open())
        return false;
    Transaction t({&tabelaItens, &acessorios});
    if (!t.begin())
        return false;
    for (int i = 1; i <= itens; ++i) {
        tabelaItens.clear();
        Record& r = tabelaItens.rec();
        r.setInteger("ID_VENDASI", i);
        r.setInteger("ID_VENDA", 1);
        r.setInteger("PRODU", i);
        r.setDecimal("QTD", Decimal(1));
        r.setDecimal("VALOR_PRODUTO", Decimal(10));
        r.setDecimal("PRUNI", Decimal(10));
        r.setDecimal("TOTAL", Decimal(10));
        r.setText("OBS", QStringLiteral("item %1").arg(i));
        acessorios.clear();
        acessorios.rec().setInteger("ID_VENDASI", i);
        acessorios.rec().setInteger("ID_ACESSORIO", 5);
        acessorios.rec().setDecimal("VALOR", Decimal::parse("0.75").value());
        if (tabelaItens.add() != Status::Ok || acessorios.add() != Status::Ok)
            return false;
    }
    return t.commit();
}

// Every record of a table that passes `condition`, in the order of `key`.
inline std::vector<Record> registros(Store& store, const char* tabela, const char* key,
                                     const std::string& condition) {
    Table t(store, tabela);
    std::vector<Record> into;
    if (!t.open())
        throw std::runtime_error("table does not open");
    t.setFilter(condition);
    if (t.seekFirst(key) == Status::Error)
        throw std::runtime_error(t.error().text.toStdString());
    while (t.next() == Status::Ok)
        into.push_back(t.rec());
    return into;
}

} // namespace qav::test
