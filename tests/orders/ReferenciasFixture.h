#pragma once
// The reference rows an order is entered against (company, municipality, the company's qavcfg row,
// representative, payment form, customer, product, accessory), written straight into real table files for the
// order tests. Each row is given by the fields a test cares about; the others stay blank.

#include "tests/orders/PedidosFixture.h"

#include <QString>
#include <array>

namespace qav::test {

inline Decimal decimal(const char* texto) {
    return Decimal::parse(texto).value();
}

struct NovaEmpresa {
    int id = 1;
    QString nome = {};
    int adicComissao = 0;
};

inline void empresa(Store& store, const NovaEmpresa& e) {
    adicionar(store, "empresa", [&](Record& r) {
        r.setInteger("ID_EMPRESA", e.id);
        r.setText("NOME", e.nome);
        r.setInteger("ADIC_COMISSAO", e.adicComissao);
    });
}

struct NovoMunicipio {
    int id = 0;
    QString nome = {};
    QString estado = {};
};

inline void municipio(Store& store, const NovoMunicipio& m) {
    adicionar(store, "municip", [&](Record& r) {
        r.setInteger("ID", m.id);
        r.setText("NOME", m.nome);
        r.setText("ESTADO", m.estado);
    });
}

struct NovaConfiguracao {
    int empresa = 1;
    int vendedor = 0; // COD_VENDEDOR: the workstation's representative
    int bloqFrete = 0;
    int permitirFlex = 0;
    int entregaImediata = 0;
    const char* saldoFlex = "0";
    int bloqueios1 = 0;
    int diasBloqCredito = 0;
    int leituraCodBarras = 0;
    int precoPadrao = 0;
    const char* bloqVolumes = ""; // "S": a quantity outside the sale lot is refused
};

inline void qavcfg(Store& store, const NovaConfiguracao& c) {
    adicionar(store, "qavcfg", [&](Record& r) {
        r.setInteger("ID_EMPRESA", c.empresa);
        r.setInteger("COD_VENDEDOR", c.vendedor);
        r.setInteger("BLOQ_FRETE", c.bloqFrete);
        r.setInteger("PERMITIR_FLEX", c.permitirFlex);
        r.setInteger("ATIVA_ENTREGA_IMEDIATA", c.entregaImediata);
        r.setDecimal("SALDO_FLEX", decimal(c.saldoFlex));
        r.setInteger("BLOQUEIOS1", c.bloqueios1);
        r.setInteger("DIAS_BLOQ_CREDITO", c.diasBloqCredito);
        r.setInteger("ATIVA_LEIT_COD_BARRAS", c.leituraCodBarras);
        r.setInteger("PRECO_PADRAO", c.precoPadrao);
        r.setText("BLOQ_VOLUMES", QString::fromLatin1(c.bloqVolumes));
    });
}

struct NovoVendedor {
    int id = 0;
    int empresa = 1;
    int codigo = 0;
    QString nome = {};
    int origemCom = 0;
    const char* taxa = "0";       // TAXA_COMISSAO
    const char* descMax = "0";    // TX_DESCMAX
    const char* minimo = "0";     // VL_PED_MINIMO
    const char* descRateio = "0"; // DESC_RATEIO_COM
};

inline void vendedor(Store& store, const NovoVendedor& v) {
    adicionar(store, "vendedor", [&](Record& r) {
        r.setInteger("ID_VENDEDOR", v.id);
        r.setInteger("ID_EMPRESA", v.empresa);
        r.setInteger("CODIGO", v.codigo);
        r.setText("NOME", v.nome);
        r.setInteger("ORIGEM_COM", v.origemCom);
        r.setDecimal("TAXA_COMISSAO", decimal(v.taxa));
        r.setDecimal("TX_DESCMAX", decimal(v.descMax));
        r.setDecimal("VL_PED_MINIMO", decimal(v.minimo));
        r.setDecimal("DESC_RATEIO_COM", decimal(v.descRateio));
    });
}

struct NovaFormaPag {
    int id = 0;
    int empresa = 1;
    int codigo = 0;
    QString descricao = {};
    const char* desconto = "0";  // DESCO
    const char* acrescimo = "0"; // ACRESC
};

inline void formaPag(Store& store, const NovaFormaPag& f) {
    adicionar(store, "formapag", [&](Record& r) {
        r.setInteger("ID_FORMAPAG", f.id);
        r.setInteger("ID_EMPRESA", f.empresa);
        r.setInteger("CODIGO", f.codigo);
        r.setText("DESCR", f.descricao);
        r.setDecimal("DESCO", decimal(f.desconto));
        r.setDecimal("ACRESC", decimal(f.acrescimo));
    });
}

struct NovoCliente {
    int id = 0;
    QString razao = {};
    int vendedor = 0;
    const char* limcred = "0";
    int libCred = 0;
    int formaPag = 0;
    int municipio = 0;
};

inline void cliente(Store& store, const NovoCliente& c) {
    adicionar(store, "clientes", [&](Record& r) {
        r.setInteger("ID", c.id);
        r.setText("RAZAO", c.razao);
        r.setInteger("COD_VENDEDOR", c.vendedor);
        r.setReal("LIMCRED", decimal(c.limcred).toDouble());
        r.setInteger("LIB_CRED", c.libCred);
        r.setInteger("FORMA_PAG", c.formaPag);
        r.setInteger("ID_MUNICIPIO", c.municipio);
    });
}

// The code is unique in a company: one not given is "P<id>", and the name "Produto <id>".
struct NovoProduto {
    int empresa = 1;
    int id = 0;
    QString codigo = {};
    QString nome = {};
    const char* barras = "";
    const char* preco = "0";
    const char* comissao = "0"; // TAXA_COMISSAO
    const char* descMax = "0";  // DESC_MAX
    int ativo = 0;
    // Prices by state, sale by pieces x length, sale lot, promotion and accessories.
    const char* prec2 = "0";
    const char* prec3 = "0";
    const char* prazo = ""; // PRAZO, PRAZ2: their first two characters name a state
    const char* praz2 = "";
    QString unidade = {};
    int subcategoria = 0;
    const char* pesoMetro = "0";
    const char* lote = "0"; // LOTE_MUL_VENDA
    int permitirDifLote = 0;
    const char* txDescLote = "0";
    int promocional = 0; // PRECO_PROMOCIONAL
    const char* permiteAcessorios = "";
    std::array<const char*, 5> caracteristicas = {"", "", "", "", ""}; // CARAC1..CARAC5
    std::array<int, 3> subgrupos = {0, 0, 0}; // COD_ACESS1..3: required accessory subgroups
};

inline void produto(Store& store, const NovoProduto& p) {
    adicionar(store, "produto", [&](Record& r) {
        r.setInteger("ID_EMPRESA", p.empresa);
        r.setInteger("ID", p.id);
        r.setText("CODIGO", p.codigo.isEmpty() ? QStringLiteral("P%1").arg(p.id) : p.codigo);
        r.setText("NOME", p.nome.isEmpty() ? QStringLiteral("Produto %1").arg(p.id) : p.nome);
        r.setText("COD_BARRAS", QString::fromLatin1(p.barras));
        r.setDecimal("PRECO", decimal(p.preco));
        r.setDecimal("TAXA_COMISSAO", decimal(p.comissao));
        r.setDecimal("DESC_MAX", decimal(p.descMax));
        r.setInteger("ATIVO", p.ativo);
        r.setDecimal("PREC2", decimal(p.prec2));
        r.setDecimal("PREC3", decimal(p.prec3));
        r.setText("PRAZO", QString::fromLatin1(p.prazo));
        r.setText("PRAZ2", QString::fromLatin1(p.praz2));
        r.setText("UNIDA", p.unidade);
        r.setInteger("SUBCATEGORIA", p.subcategoria);
        r.setDecimal("PESO_METRO", decimal(p.pesoMetro));
        r.setDecimal("LOTE_MUL_VENDA", decimal(p.lote));
        r.setInteger("PERMITIR_DIF_LOTE", p.permitirDifLote);
        r.setDecimal("TX_DESC_LOTE", decimal(p.txDescLote));
        r.setInteger("PRECO_PROMOCIONAL", p.promocional);
        r.setText("PERMITE_ACESSORIOS", QString::fromLatin1(p.permiteAcessorios));
        for (size_t i = 0; i < p.caracteristicas.size(); ++i)
            r.setText(QStringLiteral("CARAC%1").arg(i + 1).toStdString(),
                      QString::fromUtf8(p.caracteristicas[i]));
        for (size_t i = 0; i < p.subgrupos.size(); ++i)
            r.setInteger(QStringLiteral("COD_ACESS%1").arg(i + 1).toStdString(), p.subgrupos[i]);
    });
}

struct NovoAcessorio {
    int empresa = 1;
    int id = 0;       // ID_ACESSORIO
    int subgrupo = 0; // COD_SUBGRUPO
    QString descricao = {};
    QString nomeSubgrupo = {}; // DESCR_SUBGRUPO
    const char* preco = "0";
    int ativo = 1;
};

inline void acessorio(Store& store, const NovoAcessorio& a) {
    adicionar(store, "acessori", [&](Record& r) {
        r.setInteger("ID_EMPRESA", a.empresa);
        r.setInteger("ID_ACESSORIO", a.id);
        r.setInteger("COD_SUBGRUPO", a.subgrupo);
        r.setText("DESCRICAO", a.descricao);
        r.setText("DESCR_SUBGRUPO", a.nomeSubgrupo);
        r.setDecimal("PRECO", decimal(a.preco));
        r.setInteger("ATIVO", a.ativo);
    });
}

} // namespace qav::test
