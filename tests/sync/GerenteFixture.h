#pragma once
// The hub installation of a sales office, as the tests of the manager database's update find it:
// company 1 with salesperson 5, a few products, a price list, a payment form, a town, customers and
// one order, and the settings that point at a test server.

#include "base/core/Settings.h"
#include "store/core/Table.h"
#include "tests/support/Registros.h"
#include "tests/support/ServidorTeste.h"

#include <QtTest>
#include <functional>
#include <utility>

namespace qav::test {

// The record of `tabela` under `chave` with the values `preencher` puts in the buffer; blank when
// there is none.
inline Record ler(Store& store, const char* tabela, const char* chave, const Preencher& preencher) {
    Table t(store, tabela);
    t.open();
    t.clear();
    preencher(t.rec());
    if (t.get(chave) != Status::Ok)
        t.clear();
    return t.rec();
}

// The local customer `id`, changed by `mudar`.
inline void alterarCliente(Store& store, long long id, const Preencher& mudar) {
    Table t(store, "clientes");
    QVERIFY(t.open());
    t.clear();
    t.rec().setInteger("ID", id);
    QCOMPARE(t.get("KEYID"), Status::Ok);
    mudar(t.rec());
    QCOMPARE(t.put(), Status::Ok);
}

inline long long contar(Store& store, const char* tabela) {
    Table t(store, tabela);
    t.open();
    return t.count().value_or(-1);
}

inline BdGerente configuracao(const ServidorTeste& s, const QString& pastaTps) {
    BdGerente g;
    g.nome = s.database();
    g.host = s.host();
    g.porta = QString::number(s.port());
    g.usuario = s.passwordUser();
    g.senha = s.password();
    g.pastaTps = pastaTps;
    g.empresa = 1;
    return g;
}

inline const QString kDocumentoOmega = QStringLiteral("33.444.555/0001-02"); // the office's customer 950001

// The hub's tables: company 1 with salesperson 5 (commission from the salesperson, 4.5%), the products
// 1001, 1004, 1005 and 1008, price list 1 of company 1 under its local id 10001 with two prices,
// payment form 1 under 10001, Florianópolis, customer 1 and a new customer 900004, and one order.
inline void prepararHub(Store& store) {
    adicionar(store, "qavcfg", [](Record& r) {
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("COD_VENDEDOR", 5);
    });
    adicionar(store, "vendedor", [](Record& r) {
        r.setInteger("ID_VENDEDOR", 10);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("CODIGO", 5);
        r.setInteger("ORIGEM_COM", 1);
        r.setDecimal("TAXA_COMISSAO", *Decimal::parse("4.50"));
    });
    for (int id : {1001, 1004, 1005, 1008})
        adicionar(store, "produto", [id](Record& r) {
            r.setInteger("ID", id);
            r.setInteger("ID_EMPRESA", 1);
            r.setText("CODIGO", QStringLiteral("P-%1").arg(id));
        });
    adicionar(store, "pauta", [](Record& r) {
        r.setInteger("ID", 10001);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("CODIGO", 1);
        r.setText("NUM_PAUTA", QStringLiteral("SC-2026"));
        r.setText("DESCRICAO", QStringLiteral("Tabela d'Ávila \\ Sul"));
        r.setDate("DT_INI", Date::fromYmd(2026, 1, 1));
    });
    for (const auto& [produto, preco] : {std::pair{1001, "25.9000"}, std::pair{1004, "7.5000"}})
        adicionar(store, "pauxpro", [produto, preco](Record& r) {
            r.setInteger("ID_PAUTA", 10001);
            r.setInteger("ID_PROD", produto);
            r.setDecimal("PRECO1", *Decimal::parse(preco));
        });
    adicionar(store, "formapag", [](Record& r) {
        r.setInteger("ID_FORMAPAG", 10001);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("CODIGO", 1);
        r.setText("DESCR", QStringLiteral("À vista"));
        r.setReal("ARRED", 0.5);
    });
    adicionar(store, "municip", [](Record& r) {
        r.setInteger("ID", 1);
        r.setInteger("COD_RAIS", 4205407);
        r.setInteger("CODIGO", 8105);
        r.setText("NOME", QStringLiteral("Florianópolis"));
        r.setText("ESTADO", QStringLiteral("SC"));
    });
    adicionar(store, "clientes", [](Record& r) {
        r.setInteger("ID", 1);
        r.setText("CGCPF", QStringLiteral("11.222.333/0001-81"));
        r.setText("RAZAO", QStringLiteral("Comércio de Ferragens São João Ltda"));
        r.setInteger("ID_MUNICIPIO", 1);
    });
    adicionar(store, "clientes", [](Record& r) {
        r.setInteger("ID", 900004);
        r.setInteger("PESSO", 2);
        r.setText("CGCPF", QStringLiteral("55.666.777/0001-30"));
        r.setText("RAZAO", QStringLiteral("Vidros \"Cristal\" d'Oeste \\ Cia"));
        r.setText("OBS", QString(3000, QLatin1Char('x')));
        r.setInteger("ID_MUNICIPIO", 1);
    });
    adicionar(store, "pedidos", [](Record& r) {
        r.setInteger("ID", 7);
        r.setInteger("NUMER", 40);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("SITUA", 3);
    });
}

} // namespace qav::test
