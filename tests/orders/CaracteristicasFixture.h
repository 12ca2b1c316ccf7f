#pragma once
// Products described by characteristics, and the accessories of their required subgroups, written
// into real table files for the tests of the characteristics finder. Company 1 is the one searched;
// the rows of company 2 and the inactive ones must never show.

#include "tests/orders/ReferenciasFixture.h"

#include <QString>

namespace qav::test {

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
    produto(
        store,
        {.id = 1, .ativo = 1, .caracteristicas = {"PORTA", "MADEIRA", "80CM"}, .subgrupos = {10, 20, 10}});
    produto(store, {.id = 6, .ativo = 1, .caracteristicas = {"JANELA", "ALUMINIO", "120CM"}});
    produto(store,
            {.id = 2, .ativo = 1, .caracteristicas = {"PORTA", "MADEIRA", "70CM"}, .subgrupos = {0, 30, 0}});
    produto(store, {.id = 3, .ativo = 1, .caracteristicas = {"porta", "Alumínio", "80CM"}});
    produto(store, {.id = 4, .ativo = 0, .caracteristicas = {"PORTA", "VIDRO", "80CM"}});
    produto(store, {.empresa = 2, .id = 5, .ativo = 1, .caracteristicas = {"JANELA", "MADEIRA", "100CM"}});
    produto(store, {.empresa = 2, .id = 11, .ativo = 1, .caracteristicas = {"PORTA", "MADEIRA", "75CM"}});
    produto(store, {.id = 7, .ativo = 1});
    produto(store, {.id = 8, .ativo = 1, .caracteristicas = {"PORTA", "MADEIRA", "80CM"}});
    produto(store, {.id = 9, .ativo = 1, .caracteristicas = {"PORTA", "", "90CM"}});
    produto(store, {.id = 12, .ativo = 1, .caracteristicas = {"AÇO", "INOX"}});
    produto(store, {.id = 13, .ativo = 1, .caracteristicas = {"ACO", "CARBONO"}});
    produto(store, {.id = 14, .ativo = 1, .caracteristicas = {"aço", "GALVANIZADO"}});
    produto(store, {.id = 15,
                    .ativo = 1,
                    .caracteristicas = {"JANELA", "ALUMINIO", "120CM", "BRANCA", "2 FOLHAS"},
                    .subgrupos = {20}});
    produto(store, {.id = 16, .ativo = 0, .caracteristicas = {"JANELA", "ALUMINIO", "120CM", "PRETA"}});

    acessorioDoSubgrupo(store, 102, 10, "PUXADOR DOURADO", "15.00");
    acessorioDoSubgrupo(store, 201, 20, "FECHADURA SIMPLES", "30.00");
    acessorioDoSubgrupo(store, 103, 10, "PUXADOR ANTIGO", "9.00", 1, false);
    acessorioDoSubgrupo(store, 104, 10, "PUXADOR DE OUTRA EMPRESA", "7.00", 2);
    acessorioDoSubgrupo(store, 101, 10, "PUXADOR CROMADO", "12.50");
    acessorioDoSubgrupo(store, 202, 20, "FECHADURA TETRA", "45.90");
}

} // namespace qav::test
