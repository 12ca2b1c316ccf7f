#pragma once
// A data folder holding one order ready to print, with everything its printout looks up: the
// issuer, the customer and town, the salesperson, the payment form, the price list and products
// with accessories. Items are entered from the last product to the first; every 5th product is sold
// by pieces and length, every 7th item has two accessories, and with `produtoAusente` the product of
// the highest id is not there.

#include "store/core/Date.h"
#include "store/core/Decimal.h"
#include "store/core/Table.h"
#include "store/core/Transaction.h"
#include "tests/orders/PedidosFixture.h"

#include <QString>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace qav::test {

struct PedidoImpresso {
    int itens = 1;
    int numero = 42;
    QString contato = QStringLiteral("Marta");
    QString observacao;
    QString observacaoEntrega;
    bool produtoAusente = false;
    bool clienteAusente = false;
    int modeloPedido = 0; // QAVCFG:MODELO_PEDIDO
    QString email = QStringLiteral("compras@ferragens.com.br");
    QString emailQav;
    QString nomeEmpresa = QStringLiteral("Metalúrgica Boa Vista Ltda");
    QString enderecoEmpresa = QStringLiteral("Rua das Indústrias, 1500");
};

inline constexpr int kIdPedidoImpresso = 1;
inline constexpr int kIdClienteImpresso = 7;

// "Produto 0001", ... : a name that is easy to find in the PDF's text.
inline QString nomeProdutoImpresso(int i) {
    return QStringLiteral("Produto %1 aço inox").arg(i, 4, 10, QLatin1Char('0'));
}

inline void prepararReferenciasImpressas(Store& store, const PedidoImpresso& p) {
    adicionar(store, "empresa", [&](Record& r) {
        r.setInteger("ID_EMPRESA", 1);
        r.setText("NOME", p.nomeEmpresa);
        r.setText("ENDER", p.enderecoEmpresa);
        r.setText("COMPLEMENTO", QStringLiteral("Galpão 3"));
        r.setText("BAIRR", QStringLiteral("Distrito Industrial"));
        r.setText("MUNIC", QStringLiteral("Caxias do Sul"));
        r.setText("UF", QStringLiteral("RS"));
        r.setText("CEP", QStringLiteral("95012000"));
        r.setText("FONE", QStringLiteral("5432221100"));
        r.setText("FAX", QStringLiteral("5432221101"));
        r.setText("EMAIL", QStringLiteral("vendas@boavista.ind.br"));
    });
    adicionar(store, "qavcfg", [&](Record& r) {
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("MODELO_PEDIDO", p.modeloPedido);
    });
    adicionar(store, "municip", [](Record& r) {
        r.setInteger("ID", 4305108);
        r.setText("NOME", QStringLiteral("Caxias do Sul"));
        r.setText("ESTADO", QStringLiteral("RS"));
    });
    if (!p.clienteAusente)
        adicionar(store, "clientes", [&](Record& r) {
            r.setInteger("ID", kIdClienteImpresso);
            r.setText("RAZAO", QStringLiteral("Ferragens São João Ltda"));
            r.setText("ENDER", QStringLiteral("Av. Júlio de Castilhos"));
            r.setText("NUM_ENDERECO", QStringLiteral("2100"));
            r.setText("COMPL", QStringLiteral("Loja 2"));
            r.setText("BAIRR", QStringLiteral("Centro"));
            r.setText("CEP", QStringLiteral("95010-003"));
            r.setInteger("ID_MUNICIPIO", 4305108);
            r.setText("CGCPF", QStringLiteral("11.222.333/0001-81"));
            r.setText("INSCR", QStringLiteral("0290012345"));
            r.setText("DDD", QStringLiteral("54"));
            r.setText("TELEF", QStringLiteral("32145566"));
            r.setText("E_MAIL", p.email);
            r.setText("EMAIL_QAV", p.emailQav);
        });
    adicionar(store, "vendedor", [](Record& r) {
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("CODIGO", 3);
        r.setText("NOME", QStringLiteral("Carlos Alberto Representações"));
    });
    adicionar(store, "formapag", [](Record& r) {
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("CODIGO", 2);
        r.setText("DESCR", QStringLiteral("28/56/84 dias"));
    });
    adicionar(store, "pauta", [](Record& r) {
        r.setInteger("ID", 250001);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("CODIGO", 25);
        r.setText("DESCRICAO", QStringLiteral("Tabela Sul 2026"));
    });
    for (int a = 1; a <= 2; ++a)
        adicionar(store, "acessori", [&](Record& r) {
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("ID_ACESSORIO", a);
            r.setInteger("COD_SUBGRUPO", 10 + a);
            r.setText("DESCRICAO",
                      a == 1 ? QStringLiteral("Puxador cromado") : QStringLiteral("Trinco simples"));
            r.setText("DESCR_SUBGRUPO", a == 1 ? QStringLiteral("Puxadores") : QStringLiteral("Trincos"));
        });
}

// Item i: i units (one decimal) at 1.234,50 less 5 %, IPI 10 % of 10 % on the net; ICMS-ST 1,00.
inline bool escreverItensImpressos(Store& store, const PedidoImpresso& p) {
    Table produtos(store, "produto");
    Table itens(store, "peditens");
    Table acessorios(store, "pedacess");
    if (!produtos.open() || !itens.open() || !acessorios.open())
        return false;
    Transaction t({&produtos, &itens, &acessorios});
    if (!t.begin())
        return false;
    for (int i = 1; i <= p.itens; ++i) {
        const bool ausente = p.produtoAusente && i == p.itens;
        const bool pecas = i % 5 == 0;
        if (!ausente) {
            produtos.clear();
            Record& pr = produtos.rec();
            pr.setInteger("ID", i);
            pr.setInteger("ID_EMPRESA", 1);
            pr.setText("CODIGO", QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0')));
            pr.setText("NOME", nomeProdutoImpresso(i));
            pr.setText("UNIDA", pecas ? QStringLiteral("MM") : QStringLiteral("PC"));
            pr.setDecimal("ALIQ_IPI", Decimal(10));
            pr.setDecimal("QTD_VOLUME", Decimal::parse("0.5").value());
            pr.setInteger("SUBCATEGORIA", pecas ? 103 : 0);
            if (produtos.add() != Status::Ok)
                return false;
        }
        itens.clear();
        Record& r = itens.rec();
        const Decimal qtd = Decimal(i) + Decimal::parse("0.5").value();
        const Decimal pruni = Decimal::parse("1234.5").value();
        const Decimal bruto = (qtd * pruni).rounded(2);
        const Decimal desconto = (bruto * Decimal::parse("0.05").value()).rounded(2);
        const Decimal total = bruto - desconto;
        r.setInteger("ID_VENDASI", 100 + i);
        r.setInteger("ID_VENDA", kIdPedidoImpresso);
        // Entry order differs from product order: products are entered from the last to the first.
        r.setInteger("PRODU", p.itens + 1 - i);
        r.setDecimal("QTD", qtd);
        r.setDecimal("PRUNI", pruni);
        r.setDecimal("DESCP", Decimal(5));
        r.setDecimal("VL_DESC_TOTAL", desconto);
        r.setDecimal("TOTAL", total);
        r.setDecimal("VL_IPI", (total * Decimal::parse("0.1").value()).rounded(2));
        r.setDecimal("VL_ICMSST", Decimal(1));
        r.setDecimal("COMIS", Decimal::parse("3.5").value());
        if ((p.itens + 1 - i) % 5 == 0) { // the product is sold by pieces
            r.setInteger("QTD_PECAS", 4);
            r.setInteger("COMPRIMENTO", 1200);
        }
        if (itens.add() != Status::Ok)
            return false;
        if (i % 7 == 0)
            for (int a = 1; a <= 2; ++a) {
                acessorios.clear();
                acessorios.rec().setInteger("ID_VENDASI", 100 + i);
                acessorios.rec().setInteger("ID_ACESSORIO", a);
                if (acessorios.add() != Status::Ok)
                    return false;
            }
    }
    return t.commit();
}

// The whole folder: references, order kIdPedidoImpresso of customer kIdClienteImpresso and its items.
// Its totals are the sums of the items, so the printed totals can be checked against them.
inline void prepararPedidoImpresso(Store& store, const PedidoImpresso& p) {
    prepararReferenciasImpressas(store, p);
    if (!escreverItensImpressos(store, p))
        throw std::runtime_error("items not written");
    Decimal totpr, ipi;
    Table itens(store, "peditens");
    if (!itens.open())
        throw std::runtime_error("items do not open");
    itens.setFilter("ID_VENDA = ?", {kIdPedidoImpresso});
    itens.seekFirst("KEYORDEM");
    while (itens.next() == Status::Ok) {
        totpr += itens.rec().decimal("TOTAL");
        ipi += itens.rec().decimal("VL_IPI");
    }
    adicionar(store, "pedidos", [&](Record& r) {
        r.setInteger("ID", kIdPedidoImpresso);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("NUMER", p.numero);
        r.setInteger("SITUA", 2);
        r.setInteger("CLIEN", kIdClienteImpresso);
        r.setInteger("COD_VENDEDOR", 3);
        r.setInteger("COD_FORMAPAG", 2);
        r.setInteger("COD_PAUTA", 25);
        r.setDate("DATA", Date::fromYmd(2026, 12, 8));
        r.setText("CONTA", p.contato);
        // The customer pays the freight: it is part of the total, as the ICMS-ST is.
        r.setInteger("FCONTA", 2);
        r.setReal("FRETE", 150.0);
        r.setReal("TOTPR", totpr.toDouble());
        r.setReal("IPI", ipi.toDouble());
        r.setReal("TOTAL", (totpr + ipi + Decimal(p.itens) + Decimal(150)).toDouble());
        r.setDecimal("VL_ICMSST", Decimal(p.itens));
        r.setDecimal("PESO_BRUTO", Decimal::parse("1520.75").value());
        r.setDecimal("VOL_M3", Decimal::parse("3.2").value());
        r.setText("OBS", p.observacao);
        r.setText("OBS_ENTREGA", p.observacaoEntrega);
    });
}

// An order whose figures are those the order calculation stores, with what makes a printout hard to
// read right: a quantity of three decimals (4 pieces x 1.200 mm x 0,523 kg/m = 2,510 kg) at a price of
// four (10,1234, a payment-form surcharge), a 14-character code, a 13-digit EAN, five-letter units,
// ICMS-ST and an order discount of 3 % whose item shares, each rounded, miss it by a cent.
struct PedidoDescrito {
    int fconta = 2;          // 2: the customer pays the freight, which is then part of the total
    bool ipiNoPreco = false; // the third item's price carries its IPI
    int itensRepetidos = 0;  // more items like the third, for long orders
};

inline constexpr int kNumeroDescrito = 77;

inline QString nomeEmpresaDescrita() {
    return QStringLiteral("Indústria e Comércio de Perfis Metálicos Sul Ltda."); // 50 characters
}

inline void prepararPedidoDescrito(Store& store, const PedidoDescrito& descrito = {}) {
    PedidoImpresso p;
    p.nomeEmpresa = nomeEmpresaDescrita();
    // With the complement and the district, an address line of over 80 characters.
    p.enderecoEmpresa = QStringLiteral("Rodovia BR-116, km 146, nr 15.500, Pavilhão Norte");
    prepararReferenciasImpressas(store, p);
    const auto D = [](const char* t) { return Decimal::parse(t).value(); };
    struct Linha {
        QString codigo, nome, unidade;
        Decimal qtd, pruni, descp, aliqIpi, icmsSt;
        bool pecas = false, ipiNoPreco = false;
    };
    std::vector<Linha> linhas{
        {QStringLiteral("ABC-1234567890"), QStringLiteral("Barra chata aço 1020"), QStringLiteral("QUILO"),
         D("2.510"), D("10.1234"), D("0"), D("10"), D("3.05"), true, false},
        {QStringLiteral("7891234567895"), QStringLiteral("Cantoneira abas iguais"), QStringLiteral("CAIXA"),
         D("3"), D("150.3333"), D("2"), D("5"), D("12.40"), false, false},
        {QStringLiteral("P-3"), QStringLiteral("Tubo redondo galvanizado"), QStringLiteral("M"), D("12.5"),
         D("22.10"), D("0"), D("10"), D("0"), false, descrito.ipiNoPreco}};
    for (int i = 0; i < descrito.itensRepetidos; ++i) {
        Linha l = linhas.back();
        l.codigo = QStringLiteral("R-%1").arg(i + 4);
        l.nome = QStringLiteral("Tubo repetido %1").arg(i + 4, 4, 10, QLatin1Char('0'));
        linhas.push_back(l);
    }
    const Decimal descpPedido(3);
    Decimal totpr, ipi, icmsSt;
    std::vector<Decimal> totais;
    for (const Linha& l : linhas) {
        const Decimal bruto = (l.qtd * l.pruni).rounded(2);
        const Decimal descv = (bruto * l.descp / Decimal(100)).rounded(2);
        totais.push_back(bruto - descv);
        totpr += bruto - descv;
    }
    Table produtos(store, "produto");
    Table itens(store, "peditens");
    if (!produtos.open() || !itens.open())
        throw std::runtime_error("tables do not open");
    for (size_t n = 0; n < linhas.size(); ++n) {
        const Linha& l = linhas[n];
        const int id = static_cast<int>(n) + 1;
        produtos.clear();
        produtos.rec().setInteger("ID", id);
        produtos.rec().setInteger("ID_EMPRESA", 1);
        produtos.rec().setText("CODIGO", l.codigo);
        produtos.rec().setText("NOME", l.nome);
        produtos.rec().setText("UNIDA", l.unidade);
        produtos.rec().setDecimal("ALIQ_IPI", l.aliqIpi);
        produtos.rec().setInteger("SUBCATEGORIA", l.pecas ? 103 : 0);
        if (produtos.add() != Status::Ok)
            throw std::runtime_error("product not written");
        const Decimal bruto = (l.qtd * l.pruni).rounded(2);
        const Decimal descv = bruto - totais[n];
        // The order discount's share, four places, stored with the item's two.
        const Decimal parte = (totais[n] * descpPedido / Decimal(100)).rounded(4);
        const Decimal unitarioBase =
            l.ipiNoPreco ? (l.pruni / (Decimal(1) + l.aliqIpi / Decimal(100))).rounded(4) : l.pruni;
        const Decimal vlIpi = ((l.qtd * unitarioBase).rounded(2) * l.aliqIpi / Decimal(100)).rounded(2);
        if (!l.ipiNoPreco)
            ipi += vlIpi;
        icmsSt += l.icmsSt;
        itens.clear();
        Record& r = itens.rec();
        r.setInteger("ID_VENDASI", 200 + id);
        r.setInteger("ID_VENDA", kIdPedidoImpresso);
        r.setInteger("PRODU", id);
        r.setDecimal("QTD", l.qtd);
        r.setDecimal("PRUNI", l.pruni);
        r.setDecimal("DESCP", l.descp);
        r.setDecimal("DESCV", descv);
        r.setDecimal("TOTAL", totais[n]);
        r.setDecimal("VL_DESC_TOTAL", (descv + parte).rounded(2));
        r.setDecimal("VL_IPI", vlIpi);
        r.setInteger("PRECO_COM_IPI", l.ipiNoPreco ? 1 : 0);
        r.setDecimal("VL_ICMSST", l.icmsSt);
        if (l.pecas) {
            r.setInteger("QTD_PECAS", 4);
            r.setInteger("COMPRIMENTO", 1200);
        }
        if (itens.add() != Status::Ok)
            throw std::runtime_error("item not written");
    }
    // INT(TOTPR x DESCP) / 100: the order discount is cut to the cent, not rounded.
    const Decimal descontoPedido =
        Decimal::fromDouble(std::floor((totpr * descpPedido).toDouble() + 1e-9), 0) / Decimal(100);
    const Decimal frete = D("35.00");
    Decimal total = totpr + icmsSt + ipi - descontoPedido;
    if (descrito.fconta == 2)
        total += frete;
    adicionar(store, "pedidos", [&](Record& r) {
        r.setInteger("ID", kIdPedidoImpresso);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("NUMER", kNumeroDescrito);
        r.setInteger("SITUA", 2);
        r.setInteger("CLIEN", kIdClienteImpresso);
        r.setInteger("COD_VENDEDOR", 3);
        r.setInteger("COD_FORMAPAG", 2);
        r.setInteger("COD_PAUTA", 25);
        r.setDate("DATA", Date::fromYmd(2026, 12, 8));
        r.setText("CONTA", QStringLiteral("Marta"));
        r.setInteger("FCONTA", descrito.fconta);
        r.setReal("FRETE", frete.toDouble());
        r.setReal("TOTPR", totpr.toDouble());
        r.setReal("DESCP", descpPedido.toDouble());
        r.setReal("DESCV", descontoPedido.toDouble());
        r.setReal("IPI", ipi.toDouble());
        r.setDecimal("VL_ICMSST", icmsSt);
        r.setReal("TOTAL", total.toDouble());
    });
}

} // namespace qav::test
