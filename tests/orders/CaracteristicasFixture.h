#pragma once
// Products described by characteristics, and the accessories of their required subgroups, written
// into real table files for the tests of the characteristics finder. Company 1 is the one searched;
// the rows of company 2 and the inactive ones must never show.

#include "tests/orders/PedidosFixture.h"

#include <QString>
#include <array>

namespace qav::test {

struct ProdutoComCaracteristicas {
    int id = 0;
    int empresa = 1;
    bool ativo = true;
    std::array<const char*, 5> caracteristicas = {"", "", "", "", ""};
    std::array<int, 3> subgrupos = {0, 0, 0};
};

inline void produtoComCaracteristicas(Store& store, const ProdutoComCaracteristicas& p) {
    adicionar(store, "produto", [&](Record& r) {
        r.setInteger("ID_EMPRESA", p.empresa);
        r.setInteger("ID", p.id);
        r.setText("CODIGO", QStringLiteral("P%1").arg(p.id, 3, 10, QChar(u'0')));
        r.setText("NOME", QStringLiteral("PRODUTO %1").arg(p.id));
        r.setInteger("ATIVO", p.ativo ? 1 : 0);
        for (int i = 0; i < 5; ++i)
            r.setText(QStringLiteral("CARAC%1").arg(i + 1).toStdString(),
                      QString::fromUtf8(p.caracteristicas[static_cast<size_t>(i)]));
        for (int i = 0; i < 3; ++i)
            r.setInteger(QStringLiteral("COD_ACESS%1").arg(i + 1).toStdString(),
                         p.subgrupos[static_cast<size_t>(i)]);
    });
}

inline void acessorioDoSubgrupo(Store& store, int id, int subgrupo, const char* descricao, const char* preco,
                                int empresa = 1, bool ativo = true) {
    adicionar(store, "acessori", [&](Record& r) {
        r.setInteger("ID_EMPRESA", empresa);
        r.setInteger("ID_ACESSORIO", id);
        r.setInteger("COD_SUBGRUPO", subgrupo);
        r.setText("DESCRICAO", QString::fromUtf8(descricao));
        r.setDecimal("PRECO", Decimal::parse(preco).value());
        r.setText("DESCR_SUBGRUPO",
                  subgrupo == 10 ? QStringLiteral("PUXADORES") : QStringLiteral("FECHADURAS"));
        r.setInteger("ATIVO", ativo ? 1 : 0);
    });
}

// Doors and windows, written out of key order, with other companies' and inactive products in between.
inline void catalogoCaracteristicas(Store& store) {
    produtoComCaracteristicas(
        store, {.id = 1, .caracteristicas = {"PORTA", "MADEIRA", "80CM"}, .subgrupos = {10, 20, 10}});
    produtoComCaracteristicas(store, {.id = 6, .caracteristicas = {"JANELA", "ALUMINIO", "120CM"}});
    produtoComCaracteristicas(
        store, {.id = 2, .caracteristicas = {"PORTA", "MADEIRA", "70CM"}, .subgrupos = {0, 30, 0}});
    produtoComCaracteristicas(store, {.id = 3, .caracteristicas = {"porta", "Alumínio", "80CM"}});
    produtoComCaracteristicas(store,
                              {.id = 4, .ativo = false, .caracteristicas = {"PORTA", "VIDRO", "80CM"}});
    produtoComCaracteristicas(store,
                              {.id = 5, .empresa = 2, .caracteristicas = {"JANELA", "MADEIRA", "100CM"}});
    produtoComCaracteristicas(store,
                              {.id = 11, .empresa = 2, .caracteristicas = {"PORTA", "MADEIRA", "75CM"}});
    produtoComCaracteristicas(store, {.id = 7});
    produtoComCaracteristicas(store, {.id = 8, .caracteristicas = {"PORTA", "MADEIRA", "80CM"}});
    produtoComCaracteristicas(store, {.id = 9, .caracteristicas = {"PORTA", "", "90CM"}});
    produtoComCaracteristicas(store, {.id = 12, .caracteristicas = {"AÇO", "INOX"}});
    produtoComCaracteristicas(store, {.id = 13, .caracteristicas = {"ACO", "CARBONO"}});
    produtoComCaracteristicas(store, {.id = 14, .caracteristicas = {"aço", "GALVANIZADO"}});
    produtoComCaracteristicas(store,
                              {.id = 15,
                               .caracteristicas = {"JANELA", "ALUMINIO", "120CM", "BRANCA", "2 FOLHAS"},
                               .subgrupos = {20}});
    produtoComCaracteristicas(
        store, {.id = 16, .ativo = false, .caracteristicas = {"JANELA", "ALUMINIO", "120CM", "PRETA"}});

    acessorioDoSubgrupo(store, 102, 10, "PUXADOR DOURADO", "15.00");
    acessorioDoSubgrupo(store, 201, 20, "FECHADURA SIMPLES", "30.00");
    acessorioDoSubgrupo(store, 103, 10, "PUXADOR ANTIGO", "9.00", 1, false);
    acessorioDoSubgrupo(store, 104, 10, "PUXADOR DE OUTRA EMPRESA", "7.00", 2);
    acessorioDoSubgrupo(store, 101, 10, "PUXADOR CROMADO", "12.50");
    acessorioDoSubgrupo(store, 202, 20, "FECHADURA TETRA", "45.90");
}

} // namespace qav::test
