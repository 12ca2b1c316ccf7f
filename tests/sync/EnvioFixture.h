#pragma once
// A data folder with released orders ready to be sent to the ERP: the company's settings pointing at
// a server, salesperson code 5 of company 1, a town, an order type, products (five, or one per item), new
// customers (900001 on) with a partner each, and orders of several items, the first item of each with an
// accessory. Order n is of customer 900001 + n % clientes.

#include "store/core/Decimal.h"
#include "store/core/Table.h"
#include "store/core/Transaction.h"
#include "sync/core/conexao/ParametrosConexao.h"
#include "tests/orders/PedidosFixture.h"

#include <QString>
#include <algorithm>
#include <functional>
#include <stdexcept>

namespace qav::test {

struct EnvioPreparado {
    int pedidos = 50;
    int itens = 3;
    int clientes = 10;
};

// The document of new customer c (1-based), and the QAV number the server keeps for order n.
inline QString documentoEnvio(int cliente) {
    return QStringLiteral("71.%1/0001-%2").arg(100000 + cliente).arg(10 + cliente % 90);
}

inline QString numeroQavEnvio(int numer) {
    return QStringLiteral("000005.K.%1").arg(numer, 8, 10, QLatin1Char('0'));
}

inline void prepararEnvio(Store& store, const sync::ParametrosConexao& s, const EnvioPreparado& e = {}) {
    adicionar(store, "qavcfg", [&](Record& r) {
        r.setInteger("ID_EMPRESA", 1);
        r.setText("BD_NOME", s.nome);
        r.setText("BD_HOST", s.host);
        r.setInteger("BD_PORTA", s.porta);
        r.setText("BD_USUARIO", s.usuario);
        r.setText("BD_SENHA", s.senha);
        r.setInteger("COD_VENDEDOR", 5);
        r.setText("SENHA_VENDEDOR", QStringLiteral("abc123"));
        r.setText("PONTO_INSTALACAO", QStringLiteral("K")); // none of the seed's orders
    });
    adicionar(store, "vendedor", [](Record& r) {
        r.setInteger("ID_VENDEDOR", 10);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("CODIGO", 5);
        r.setText("NOME", QStringLiteral("José"));
        r.setText("FORMA_PAG", QStringLiteral("F"));
    });
    adicionar(store, "municip", [](Record& r) {
        r.setInteger("ID", 1);
        r.setText("NOME", QStringLiteral("Florianópolis"));
        r.setText("ESTADO", QStringLiteral("SC"));
    });
    adicionar(store, "qavtipoped", [](Record& r) {
        r.setInteger("ID", 1);
        r.setInteger("ID_EMPRESA", 1);
        r.setText("DESCRICAO", QStringLiteral("Venda"));
        r.setInteger("ATIVO", 1);
        r.setInteger("COD_TES", 5101);
    });
    adicionar(store, "empresa", [](Record& r) {
        r.setInteger("ID_EMPRESA", 1);
        r.setText("NOME", QStringLiteral("Metalúrgica Praxedes Ltda"));
    });
    Table produtos(store, "produto"), clientes(store, "clientes"), socios(store, "socios"),
        pedidos(store, "pedidos"), itens(store, "peditens"), acessorios(store, "pedacess");
    for (Table* t : {&produtos, &clientes, &socios, &pedidos, &itens, &acessorios})
        if (!t->open())
            throw std::runtime_error("table does not open");
    Transaction tx({&produtos, &clientes, &socios, &pedidos, &itens, &acessorios});
    if (!tx.begin())
        throw std::runtime_error("no transaction");
    for (int p = 1; p <= std::max(5, e.itens); ++p) {
        produtos.clear();
        produtos.rec().setInteger("ID", 1000 + p);
        produtos.rec().setInteger("ID_EMPRESA", 1);
        produtos.rec().setText("CODIGO", QStringLiteral("K%1").arg(p));
        produtos.rec().setText("NOME", QStringLiteral("Perfil %1 d'água \\ 6m").arg(p));
        produtos.rec().setText("UNIDA", QStringLiteral("PC"));
        produtos.rec().setInteger("COD_ST", 0);
        if (produtos.add() != Status::Ok)
            throw std::runtime_error("product");
    }
    for (int c = 1; c <= e.clientes; ++c) {
        clientes.clear();
        Record& r = clientes.rec();
        r.setInteger("ID", 900000 + c);
        r.setInteger("PESSO", 1);
        r.setText("CGCPF", documentoEnvio(c));
        r.setText("RAZAO", QStringLiteral("Cliente %1 D'Ávila \\ Cia").arg(c));
        r.setText("NOME", QStringLiteral("Cliente %1").arg(c));
        r.setInteger("ID_MUNICIPIO", 1);
        r.setInteger("COD_VENDEDOR", 5);
        if (clientes.add() != Status::Ok)
            throw std::runtime_error("customer");
        socios.clear();
        socios.rec().setInteger("ID_SOCIO", c);
        socios.rec().setInteger("ID_CLIENTE", 900000 + c);
        socios.rec().setText("NOME", QStringLiteral("Sócio %1").arg(c));
        socios.rec().setText("CPF_CNPJ", QStringLiteral("529.982.247-%1").arg(c, 2, 10, QLatin1Char('0')));
        if (socios.add() != Status::Ok)
            throw std::runtime_error("partner");
    }
    int idItem = 0;
    for (int n = 1; n <= e.pedidos; ++n) {
        pedidos.clear();
        Record& v = pedidos.rec();
        v.setInteger("ID", n);
        v.setInteger("NUMER", n);
        v.setInteger("ID_EMPRESA", 1);
        v.setInteger("SITUA", 2);
        v.setInteger("CLIEN", 900001 + (n % e.clientes));
        v.setInteger("COD_VENDEDOR", 5);
        v.setInteger("TIPOV", 1);
        v.setReal("TOTAL", 30.0);
        v.setReal("TOTPR", 30.0);
        v.setText("OBS", QStringLiteral("Pedido %1: entregar às 8h; portão 'B'").arg(n));
        if (pedidos.add() != Status::Ok)
            throw std::runtime_error("order");
        for (int i = 1; i <= e.itens; ++i) {
            itens.clear();
            Record& it = itens.rec();
            it.setInteger("ID_VENDASI", ++idItem);
            it.setInteger("ID_VENDA", n);
            it.setInteger("PRODU", 1000 + i);
            it.setDecimal("QTD", Decimal(i));
            it.setDecimal("PRUNI", Decimal(10));
            it.setDecimal("TOTAL", Decimal(10 * i));
            if (itens.add() != Status::Ok)
                throw std::runtime_error("item");
            if (i == 1) {
                acessorios.clear();
                acessorios.rec().setInteger("ID_VENDASI", idItem);
                acessorios.rec().setInteger("ID_ACESSORIO", 7);
                acessorios.rec().setDecimal("VALOR", Decimal(2));
                if (acessorios.add() != Status::Ok)
                    throw std::runtime_error("accessory");
            }
        }
    }
    if (!tx.commit())
        throw std::runtime_error("commit");
}

} // namespace qav::test
