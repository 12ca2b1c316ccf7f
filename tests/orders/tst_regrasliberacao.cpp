// The rules an order must meet to be confirmed, each at its boundary, the order the confirmation
// tests them in, and the rules panel of a pending order.
#include "orders/core/CodigoLiberacao.h"
#include "orders/core/RegrasLiberacao.h"
#include "tests/orders/FabricaPedido.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav;
using namespace qavtest;

using Estado = ResultadoRegra::Estado;

namespace {

const Date kHoje = Date::fromYmd(2026, 12, 8);
constexpr int kSemVencimento = -999; // a receivable's "days overdue" for one without a due date

// What a rule should come to: its state, its line in the panel (not compared when null) and the
// messages of the confirmation, joined by " // ".
struct Esperado {
    Estado estado = Estado::Passa;
    const char* resumo = nullptr;
    const char* mensagens = "";
};

// One order with everything the rules read, released (situation 2) and within every limit until a
// test says otherwise. Its items are of product 7, "ABC-1", listed at 100.
struct Cenario {
    Pedido pedido;
    std::vector<PedidoItem> itens;
    DadosPedido dados;
    ResultadoRecalculo recalculo;
    std::vector<Titulo> titulos;
    Produto produto7 = produto(7);

    Cenario() {
        pedido.ID_EMPRESA = 1;
        pedido.NUMER = 123;
        pedido.CLIEN = 4567;
        pedido.SITUA = 2;
        pedido.TOTAL = D("1000.00");
        dados.cliente.ID = 4567;
        dados.cliente.LIMCRED = D("5000");
        produto7.CODIGO = QStringLiteral("ABC-1     ");
        produto7.NOME = QStringLiteral("Parafuso sextavado   ");
        produto7.PRECO = D("100");
    }

    // An item whose net value is `liquido` for `qtd` units.
    PedidoItem& item(const char* qtd, const char* liquido, int idProduto = 7) {
        PedidoItem i;
        i.ID_VENDASI = static_cast<int>(itens.size()) + 1;
        i.PRODU = idProduto;
        i.QTD = D(qtd);
        i.VL_LIQUIDO = D(liquido);
        itens.push_back(i);
        return itens.back();
    }

    EntradaRegras entrada() {
        dados.adicionarProduto(produto7);
        return {pedido, itens, dados, recalculo, titulos, kHoje};
    }

    ResultadoRegra regra(Regra qual) {
        for (const ResultadoRegra& r : avaliarRegras(entrada())) {
            if (r.regra == qual)
                return r;
        }
        return {};
    }

    // A valid code for the order as it stands, with the given key.
    int codigo(int chave) const {
        return gerarCodigoLiberacao(pedido.NUMER, pedido.CLIEN, pedido.TOTAL, chave).value();
    }
};

QString textos(const Mensagens& mensagens) {
    QStringList t;
    for (const Mensagem& m : mensagens)
        t << m.texto;
    return t.join(QStringLiteral(" // "));
}

void conferir(const ResultadoRegra& r, const Esperado& e) {
    QCOMPARE(r.estado, e.estado);
    if (e.resumo)
        QCOMPARE(r.resumo, QString::fromUtf8(e.resumo));
    QCOMPARE(textos(r.mensagens), QString::fromUtf8(e.mensagens));
}

QList<int> regras(const std::vector<ResultadoRegra>& resultados) {
    QList<int> r;
    for (const ResultadoRegra& x : resultados)
        r << static_cast<int>(x.regra);
    return r;
}

// Inputs of the rows, zero where not given.
struct CasoMinimo {
    int situa = 2;
    const char* minimo = "0";
    const char* total = "0";
};

// One item of product 7 against every discount limit.
struct CasoDesconto {
    const char* preco = "100"; // PRO:PRECO
    const char* qtd = "1";
    const char* liquido = "100";
    const char* ipi = nullptr; // set: the price includes this IPI
    const char* maxProduto = "0";
    const char* maxVendedor = "0";
    const char* descontoForma = "0";
    int pautaSemDescontos = 0;
    int bloqueios1 = 0;
    const char* descontoPauta = "0"; // of the price list for the order value
    int flex = 0;
};

struct CasoFlex {
    int situa = 2;
    int pedFlex = 1;
    const char* flex = "0";
    const char* saldo = "0";
};

struct CasoCredito {
    int situa = 2;
    int bloqueios1 = QavCfg::kLimiteCredito;
    int liberaCredito = 0;
    const char* limite = "0";
    const char* total = "0";
};

struct CasoTitulos {
    int situa = 2;
    int diasBloqueio = 30;
    int chave = -1; // of a valid code; -1: no code; -2: a code that does not match the order
    QList<int> diasVencidos{30};
    QList<const char*> saldos{"100"};
};

// Several rules broken at once; the flags say which.
struct CasoConfirmacao {
    int situa = 2;
    bool codigoInvalido = false;
    bool abaixoMinimo = false;
    bool avisoFlex = false;     // an item above its product's maximum, on a flex order
    bool acimaVendedor = false; // an item above the representative's maximum
    bool excessoComissao = false;
    bool acimaLimiteCredito = false;
};

} // namespace

Q_DECLARE_METATYPE(Esperado)
Q_DECLARE_METATYPE(CasoMinimo)
Q_DECLARE_METATYPE(CasoDesconto)
Q_DECLARE_METATYPE(CasoFlex)
Q_DECLARE_METATYPE(CasoCredito)
Q_DECLARE_METATYPE(CasoTitulos)
Q_DECLARE_METATYPE(CasoConfirmacao)

class TstRegrasLiberacao : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valorMinimo_data() {
        QTest::addColumn<CasoMinimo>("caso");
        QTest::addColumn<Esperado>("esperado");
        QTest::newRow("no mínimo") << CasoMinimo{.minimo = "500", .total = "500.00"}
                                   << Esperado{Estado::Passa, "Total 500,00 ≥ mínimo 500,00"};
        QTest::newRow("um centavo abaixo") << CasoMinimo{.minimo = "1500", .total = "1499.99"}
                                           << Esperado{Estado::Recusa, "Total 1.499,99 < mínimo 1.500,00",
                                                       "Pedido abaixo no mínimo (1.500,00)!"};
        QTest::newRow("sem mínimo") << CasoMinimo{.minimo = "0", .total = "0.01"}
                                    << Esperado{Estado::NaoSeAplica,
                                                "Representante sem valor mínimo de pedido"};
        QTest::newRow("pendente abaixo")
            << CasoMinimo{.situa = 1, .minimo = "500", .total = "380.00"}
            << Esperado{Estado::NaoSeAplica, "Na liberação: Total 380,00 < mínimo 500,00"};
    }
    void valorMinimo() {
        QFETCH(CasoMinimo, caso);
        QFETCH(Esperado, esperado);
        Cenario c;
        c.pedido.SITUA = caso.situa;
        c.pedido.TOTAL = D(caso.total);
        c.dados.vendedor.VL_PED_MINIMO = D(caso.minimo);
        conferir(c.regra(Regra::ValorMinimo), esperado);
    }

    void descontos_data() {
        QTest::addColumn<CasoDesconto>("caso");
        QTest::addColumn<Esperado>("esperado");
        const char* vendedor1451 = "Desconto de 14,51% acima do máximo permitido para o vendedor!|"
                                   "Produto: ABC-1 Parafuso sextavado|Desconto máximo: 14,50%";
        const char* produto1001 = "Desconto de 10,01% acima do máximo permitido para o produto!|"
                                  "Produto: ABC-1 Parafuso sextavado|Desconto máximo: 10,00%";
        // Representative 10 % with a 5 % payment-form discount: 14.50 %.
        QTest::newRow("vendedor com forma no limite")
            << CasoDesconto{.qtd = "2",
                            .liquido = "171.00",
                            .maxProduto = "20",
                            .maxVendedor = "10",
                            .descontoForma = "5"}
            << Esperado{Estado::Passa, "Desconto 14,50 % ≤ limite 14,50 % (ABC-1)"};
        QTest::newRow("vendedor com forma acima")
            << CasoDesconto{.qtd = "2",
                            .liquido = "170.98",
                            .maxProduto = "20",
                            .maxVendedor = "10",
                            .descontoForma = "5"}
            << Esperado{Estado::Recusa, "Desconto 14,51 % > limite 14,50 % (ABC-1)", vendedor1451};
        QTest::newRow("14,505 arredonda para 14,51") << CasoDesconto{.preco = "200",
                                                                     .liquido = "170.99",
                                                                     .maxProduto = "20",
                                                                     .maxVendedor = "10",
                                                                     .descontoForma = "5"}
                                                     << Esperado{Estado::Recusa, nullptr, vendedor1451};
        QTest::newRow("vendedor antes do produto, também em pedido flex")
            << CasoDesconto{.liquido = "90.00", .maxProduto = "5", .maxVendedor = "8", .flex = 1}
            << Esperado{
                   Estado::Recusa, "Desconto 10,00 % > limite 8,00 % (ABC-1)",
                   "Desconto de 10,00% acima do máximo permitido para o vendedor!|Produto: ABC-1 Parafuso "
                   "sextavado|Desconto máximo: 8,00%"};
        QTest::newRow("produto no limite")
            << CasoDesconto{.liquido = "90.00", .maxProduto = "10"} << Esperado{Estado::Passa};
        QTest::newRow("produto acima") << CasoDesconto{.liquido = "89.99", .maxProduto = "10"}
                                       << Esperado{Estado::Recusa, nullptr, produto1001};
        QTest::newRow("produto acima em pedido flex só avisa")
            << CasoDesconto{.liquido = "89.99", .maxProduto = "10", .flex = 1}
            << Esperado{Estado::Aviso, "Pedido flex: Desconto 10,01 % > limite 10,00 % (ABC-1)", produto1001};
        QTest::newRow("pauta sem descontos a preço cheio")
            << CasoDesconto{.liquido = "100.00", .pautaSemDescontos = 1} << Esperado{Estado::Passa};
        QTest::newRow("pauta sem descontos, 0,01 %")
            << CasoDesconto{.liquido = "99.99", .pautaSemDescontos = 1}
            << Esperado{Estado::Recusa, "Desconto 0,01 % > limite 0,00 % (ABC-1)",
                        "Pauta de preços não permite descontos!|Produto: ABC-1 Parafuso sextavado|Desconto: "
                        "0,01%"};
        QTest::newRow("desconto da pauta travado no limite")
            << CasoDesconto{.liquido = "95.00",
                            .bloqueios1 = QavCfg::kDescontosBloqueados,
                            .descontoPauta = "5"}
            << Esperado{Estado::Passa};
        QTest::newRow("desconto da pauta travado acima, antes do vendedor")
            << CasoDesconto{.liquido = "94.99",
                            .maxVendedor = "3",
                            .bloqueios1 = QavCfg::kDescontosBloqueados,
                            .descontoPauta = "5"}
            << Esperado{Estado::Recusa, nullptr,
                        "Desconto acima do permitido (5,00%) para a pauta de preços!|Produto: ABC-1 Parafuso "
                        "sextavado|Desconto: 5,01%"};
        QTest::newRow("desconto da pauta sem trava: vale o vendedor")
            << CasoDesconto{.liquido = "91.99", .maxVendedor = "8", .descontoPauta = "5"}
            << Esperado{
                   Estado::Recusa, nullptr,
                   "Desconto de 8,01% acima do máximo permitido para o vendedor!|Produto: ABC-1 Parafuso "
                   "sextavado|Desconto máximo: 8,00%"};
        QTest::newRow("produto sem máximo e sem pauta fica de fora")
            << CasoDesconto{.liquido = "50.00", .maxVendedor = "5"}
            << Esperado{Estado::NaoSeAplica, "Nenhum item com limite de desconto"};
        QTest::newRow("preço com IPI medido com o IPI")
            << CasoDesconto{.preco = "110", .liquido = "90.00", .ipi = "10.00", .maxProduto = "9"}
            << Esperado{Estado::Recusa, nullptr,
                        "Desconto de 9,09% acima do máximo permitido para o produto!|Produto: ABC-1 Parafuso "
                        "sextavado|Desconto máximo: 9,00%"};
        QTest::newRow("quantidade zero")
            << CasoDesconto{.qtd = "0", .liquido = "0", .maxProduto = "10"}
            << Esperado{Estado::Passa, "Desconto 0,00 % ≤ limite 10,00 % (ABC-1)"};
        QTest::newRow("produto sem preço")
            << CasoDesconto{.preco = "0", .liquido = "10.00", .maxProduto = "10"}
            << Esperado{Estado::Passa, "Desconto 0,00 % ≤ limite 10,00 % (ABC-1)"};
    }
    void descontos() {
        QFETCH(CasoDesconto, caso);
        QFETCH(Esperado, esperado);
        Cenario c;
        c.produto7.PRECO = D(caso.preco);
        c.produto7.DESC_MAX = D(caso.maxProduto);
        PedidoItem& i = c.item(caso.qtd, caso.liquido);
        if (caso.ipi) {
            i.PRECO_COM_IPI = 1;
            i.VL_IPI = D(caso.ipi);
        }
        c.dados.vendedor.TX_DESCMAX = D(caso.maxVendedor);
        c.dados.formaPag.emplace().DESCO = D(caso.descontoForma);
        c.dados.pauta.emplace().BLOQ_DESCONTOS = caso.pautaSemDescontos;
        c.dados.qavcfg.BLOQUEIOS1 = caso.bloqueios1;
        c.recalculo.TX_DESC_PAUTA = D(caso.descontoPauta);
        c.pedido.PED_FLEX = caso.flex;

        const ResultadoRegra r = c.regra(Regra::Descontos);
        conferir(r, esperado);
        if (QTest::currentTestFailed())
            return;
        for (const Mensagem& m : r.mensagens)
            QCOMPARE(m.titulo, QStringLiteral("Aviso"));
    }

    // The price list's own price replaces the product's when the order has a price list and the
    // product is on it. The price list has product 7 at 120; the product's maximum is 10 %.
    void precoDaPauta_data() {
        QTest::addColumn<bool>("pedidoComPauta");
        QTest::addColumn<bool>("produtoNaPauta");
        QTest::addColumn<QString>("liquido");
        QTest::addColumn<Estado>("estado");
        QTest::newRow("preço da pauta no limite")
            << true << true << QStringLiteral("108.00") << Estado::Passa;
        QTest::newRow("preço da pauta acima") << true << true << QStringLiteral("107.99") << Estado::Recusa;
        QTest::newRow("produto fora da pauta: preço do produto")
            << true << false << QStringLiteral("89.99") << Estado::Recusa;
        QTest::newRow("pedido sem pauta: preço do produto")
            << false << true << QStringLiteral("89.99") << Estado::Recusa;
    }
    void precoDaPauta() {
        QFETCH(bool, pedidoComPauta);
        QFETCH(bool, produtoNaPauta);
        QFETCH(QString, liquido);
        QFETCH(Estado, estado);
        Cenario c;
        c.produto7.DESC_MAX = D("10");
        c.item("1", liquido.toLatin1().constData());
        if (pedidoComPauta)
            c.dados.pauta = Pauta{};
        if (produtoNaPauta) {
            PautaProduto linha;
            linha.ID_PROD = 7;
            linha.PRECO1 = D("120");
            c.dados.adicionarPautaProduto(linha);
        }
        const ResultadoRegra r = c.regra(Regra::Descontos);
        QCOMPARE(r.estado, estado);
        QCOMPARE(r.resumo, estado == Estado::Passa
                               ? QStringLiteral("Desconto 10,00 % ≤ limite 10,00 % (ABC-1)")
                               : QStringLiteral("Desconto 10,01 % > limite 10,00 % (ABC-1)"));
    }

    // Every item is examined: one message per item that breaks a limit, in item order, warnings
    // among them; the refusal is the rule's.
    void descontosUmaMensagemPorItem() {
        Cenario c;
        Produto outro = c.produto7;
        outro.ID = 8;
        outro.CODIGO = QStringLiteral("XYZ-9");
        outro.DESC_MAX = D("20");
        c.dados.adicionarProduto(outro);
        c.produto7.DESC_MAX = D("10");
        c.dados.vendedor.TX_DESCMAX = D("15");
        c.pedido.PED_FLEX = 1;
        c.item("1", "88.00");    // 12 %: above the product's maximum, a warning on a flex order
        c.item("1", "95.00");    // within every limit
        c.item("1", "80.00", 8); // 20 %: above the representative's 15 %
        c.item("2", "170.00");   // 15 %: a warning again

        const ResultadoRegra r = c.regra(Regra::Descontos);
        QCOMPARE(r.estado, Estado::Recusa);
        QCOMPARE(r.mensagens.size(), std::size_t(3));
        QVERIFY(r.mensagens[0].texto.startsWith(QStringLiteral("Desconto de 12,00% acima do máximo permitido "
                                                               "para o produto!")));
        QVERIFY(r.mensagens[1].texto.startsWith(QStringLiteral("Desconto de 20,00% acima do máximo permitido "
                                                               "para o vendedor!")));
        QVERIFY(r.mensagens[2].texto.startsWith(QStringLiteral("Desconto de 15,00%")));
        QCOMPARE(r.resumo, QStringLiteral("Desconto 20,00 % > limite 15,00 % (XYZ-9) e mais 2"));

        c.itens[2].VL_LIQUIDO = D("85.00");
        const ResultadoRegra soAvisos = c.regra(Regra::Descontos);
        QCOMPARE(soAvisos.estado, Estado::Aviso);
        QCOMPARE(soAvisos.mensagens.size(), std::size_t(2));
    }

    void comissao_data() {
        QTest::addColumn<QString>("rateio");
        QTest::addColumn<int>("clienteRede");
        QTest::addColumn<bool>("excesso");
        QTest::addColumn<int>("situa");
        QTest::addColumn<Estado>("estado");
        const QString cinco = QStringLiteral("5");
        QTest::newRow("dentro do rateio") << cinco << 0 << false << 2 << Estado::Passa;
        QTest::newRow("acima do rateio") << cinco << 0 << true << 2 << Estado::Recusa;
        QTest::newRow("acima do rateio, pedido pendente") << cinco << 0 << true << 1 << Estado::Recusa;
        QTest::newRow("sem rateio") << QStringLiteral("0") << 0 << true << 2 << Estado::NaoSeAplica;
        QTest::newRow("cliente de rede") << cinco << 1 << true << 2 << Estado::NaoSeAplica;
    }
    void comissao() {
        QFETCH(QString, rateio);
        QFETCH(int, clienteRede);
        QFETCH(bool, excesso);
        QFETCH(int, situa);
        QFETCH(Estado, estado);
        Cenario c;
        c.dados.vendedor.DESC_RATEIO_COM = D(rateio.toLatin1().constData());
        c.pedido.DESC_CLIENTE_REDE = clienteRede;
        c.pedido.SITUA = situa;
        c.recalculo.excessoComissao = excesso;
        conferir(c.regra(Regra::Comissao),
                 {estado, nullptr, estado == Estado::Recusa ? "Desconto maior que a comissão!" : ""});
    }

    void flex_data() {
        QTest::addColumn<CasoFlex>("caso");
        QTest::addColumn<Esperado>("esperado");
        QTest::newRow("saldo cobre exatamente")
            << CasoFlex{.flex = "-5.00", .saldo = "5.00"}
            << Esperado{Estado::Passa, "Flex -5,00; saldo disponível 5,00"};
        QTest::newRow("falta um centavo") << CasoFlex{.flex = "-5.01", .saldo = "5.00"}
                                          << Esperado{Estado::Recusa, "Flex -5,01; saldo disponível 5,00",
                                                      "Não há saldo Flex (5) para liberação do pedido!"};
        QTest::newRow("saldo em número simples")
            << CasoFlex{.flex = "-2000.00", .saldo = "1234.50"}
            << Esperado{Estado::Recusa, "Flex -2.000,00; saldo disponível 1.234,50",
                        "Não há saldo Flex (1234,5) para liberação do pedido!"};
        QTest::newRow("flex positivo com saldo negativo")
            << CasoFlex{.flex = "3.00", .saldo = "-10.00"}
            << Esperado{Estado::Passa, "Flex 3,00; saldo disponível -10,00"};
        QTest::newRow("pendente sem saldo")
            << CasoFlex{.situa = 1, .flex = "-12.00", .saldo = "5.00"}
            << Esperado{Estado::NaoSeAplica, "Na liberação: Flex -12,00; saldo disponível 5,00"};
        QTest::newRow("pedido sem flex") << CasoFlex{.pedFlex = 0, .flex = "-12.00", .saldo = "5.00"}
                                         << Esperado{Estado::NaoSeAplica, "Pedido sem flex"};
    }
    void flex() {
        QFETCH(CasoFlex, caso);
        QFETCH(Esperado, esperado);
        Cenario c;
        c.pedido.SITUA = caso.situa;
        c.pedido.PED_FLEX = caso.pedFlex;
        c.recalculo.flex.VL_FLEX = D(caso.flex);
        c.recalculo.flex.SALDO_FLEX_LIBERACAO = D(caso.saldo);
        conferir(c.regra(Regra::Flex), esperado);
    }

    void limiteCredito_data() {
        QTest::addColumn<CasoCredito>("caso");
        QTest::addColumn<Esperado>("esperado");
        QTest::newRow("limite igual ao total") << CasoCredito{.limite = "1234.56", .total = "1234.56"}
                                               << Esperado{Estado::Passa, "Limite 1.234,56 ≥ total 1.234,56"};
        QTest::newRow("total um centavo acima, com outros bits")
            << CasoCredito{.bloqueios1 = 7, .limite = "1000", .total = "1000.01"}
            << Esperado{Estado::Recusa, "Limite 1.000,00 < total 1.000,01",
                        "Limite de crédito do cliente (1000) é menor que o total do pedido!"};
        QTest::newRow("limite com decimais em número simples")
            << CasoCredito{.limite = "999.9", .total = "1234.56"}
            << Esperado{Estado::Recusa, "Limite 999,90 < total 1.234,56",
                        "Limite de crédito do cliente (999,9) é menor que o total do pedido!"};
        QTest::newRow("verificação desligada")
            << CasoCredito{.bloqueios1 = 3, .limite = "0", .total = "1234.56"}
            << Esperado{Estado::NaoSeAplica, "Limite de crédito não verificado pela empresa"};
        QTest::newRow("forma de pagamento libera")
            << CasoCredito{.liberaCredito = 1, .limite = "0", .total = "1234.56"}
            << Esperado{Estado::NaoSeAplica, "Forma de pagamento libera o crédito"};
        QTest::newRow("pendente acima do limite")
            << CasoCredito{.situa = 1, .limite = "1000", .total = "1234.56"}
            << Esperado{Estado::NaoSeAplica, "Na liberação: Limite 1.000,00 < total 1.234,56"};
    }
    void limiteCredito() {
        QFETCH(CasoCredito, caso);
        QFETCH(Esperado, esperado);
        Cenario c;
        c.pedido.SITUA = caso.situa;
        c.pedido.TOTAL = D(caso.total);
        c.dados.qavcfg.BLOQUEIOS1 = caso.bloqueios1;
        c.dados.formaPag.emplace().LIBERA_CREDITO = caso.liberaCredito;
        c.dados.cliente.LIMCRED = D(caso.limite);
        conferir(c.regra(Regra::LimiteCredito), esperado);
    }

    // The company blocks from 30 days overdue unless a row says otherwise.
    void titulosAtraso_data() {
        QTest::addColumn<CasoTitulos>("caso");
        QTest::addColumn<Esperado>("esperado");
        const char* pergunta =
            "Cliente possui títulos em atraso.|Para liberar crédito favor solicitar código de "
            "liberação junto ao setor comercial da empresa.|Deseja consultar os títulos desse "
            "cliente?";
        QTest::newRow("vencido há exatamente 30 dias")
            << CasoTitulos{} << Esperado{Estado::Recusa, "Título vencido há 30 dias (limite 30)", pergunta};
        QTest::newRow("um dia a menos") << CasoTitulos{.diasVencidos = {29}}
                                        << Esperado{Estado::Passa, "Título vencido há 29 dias (limite 30)"};
        QTest::newRow("saldo de 0,09 nunca bloqueia")
            << CasoTitulos{.diasVencidos = {400}, .saldos = {"0.09"}}
            << Esperado{Estado::Passa, "Nenhum título vencido (limite 30)"};
        QTest::newRow("saldo de 0,10 bloqueia")
            << CasoTitulos{.diasVencidos = {400}, .saldos = {"0.10"}}
            << Esperado{Estado::Recusa, "Título vencido há 400 dias (limite 30)", pergunta};
        QTest::newRow("o primeiro que bloqueia decide")
            << CasoTitulos{.diasVencidos = {10, 45, 90}, .saldos = {"100", "100", "100"}}
            << Esperado{Estado::Recusa, "Título vencido há 45 dias (limite 30)", pergunta};
        QTest::newRow("sem data de vencimento não bloqueia")
            << CasoTitulos{.diasVencidos = {kSemVencimento}}
            << Esperado{Estado::Passa, "Nenhum título vencido (limite 30)"};
        QTest::newRow("código com chave par")
            << CasoTitulos{.chave = 42}
            << Esperado{Estado::Recusa, "Título vencido há 30 dias (limite 30)", pergunta};
        QTest::newRow("código com chave ímpar libera")
            << CasoTitulos{.chave = 37}
            << Esperado{Estado::NaoSeAplica, "Títulos em atraso liberados pelo código de liberação"};
        QTest::newRow("código que não confere não libera")
            << CasoTitulos{.chave = -2}
            << Esperado{Estado::Recusa, "Título vencido há 30 dias (limite 30)", pergunta};
        QTest::newRow("verificação desligada")
            << CasoTitulos{.diasBloqueio = 0}
            << Esperado{Estado::NaoSeAplica, "Títulos em atraso não verificados pela empresa"};
        QTest::newRow("pendente") << CasoTitulos{.situa = 1}
                                  << Esperado{Estado::NaoSeAplica,
                                              "Na liberação: Título vencido há 30 dias (limite 30)"};
    }
    void titulosAtraso() {
        QFETCH(CasoTitulos, caso);
        QFETCH(Esperado, esperado);
        Cenario c;
        c.pedido.SITUA = caso.situa;
        c.dados.qavcfg.DIAS_BLOQ_CREDITO = caso.diasBloqueio;
        if (caso.chave >= 0)
            c.pedido.COD_LIBERACAO = c.codigo(caso.chave);
        else if (caso.chave == -2)
            c.pedido.COD_LIBERACAO = c.codigo(37) + 100; // the same odd key, other digits
        for (qsizetype i = 0; i < caso.diasVencidos.size(); ++i) {
            const int dias = caso.diasVencidos[i];
            c.titulos.push_back({dias == kSemVencimento ? Date() : kHoje.addDays(-dias), D(caso.saldos[i])});
        }

        const ResultadoRegra r = c.regra(Regra::TitulosAtraso);
        conferir(r, esperado);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(r.perguntaConsultarTitulos, esperado.estado == Estado::Recusa);
        for (const Mensagem& m : r.mensagens)
            QCOMPARE(m.titulo, QStringLiteral("Títulos em Atraso"));
    }

    // A typed code must match the order in any situation; a changed total makes it stop matching.
    void codigoLiberacao_data() {
        QTest::addColumn<int>("situa");
        QTest::addColumn<bool>("comCodigo");
        QTest::addColumn<QString>("totalDepois");
        QTest::addColumn<Estado>("estado");
        QTest::newRow("sem código") << 2 << false << QStringLiteral("1000.00") << Estado::Passa;
        QTest::newRow("código do pedido") << 2 << true << QStringLiteral("1000.00") << Estado::Passa;
        QTest::newRow("total alterado") << 2 << true << QStringLiteral("1000.01") << Estado::Recusa;
        QTest::newRow("total alterado, pedido pendente")
            << 1 << true << QStringLiteral("999.99") << Estado::Recusa;
    }
    void codigoLiberacao() {
        QFETCH(int, situa);
        QFETCH(bool, comCodigo);
        QFETCH(QString, totalDepois);
        QFETCH(Estado, estado);
        Cenario c;
        c.pedido.SITUA = situa;
        if (comCodigo)
            c.pedido.COD_LIBERACAO = c.codigo(37);
        c.pedido.TOTAL = D(totalDepois.toLatin1().constData());
        conferir(c.regra(Regra::CodigoLiberacao),
                 {estado, nullptr, estado == Estado::Recusa ? "Código de liberação inválido!" : ""});
    }

    // What the confirmation shows, in order, up to the first refusal.
    void confirmacao_data() {
        QTest::addColumn<CasoConfirmacao>("caso");
        QTest::addColumn<QList<int>>("regras");
        const int codigo = static_cast<int>(Regra::CodigoLiberacao);
        const int minimo = static_cast<int>(Regra::ValorMinimo);
        const int descontos = static_cast<int>(Regra::Descontos);
        const int comissao = static_cast<int>(Regra::Comissao);
        const int credito = static_cast<int>(Regra::LimiteCredito);
        const CasoConfirmacao tudoQuebrado{.abaixoMinimo = true,
                                           .avisoFlex = true,
                                           .acimaVendedor = true,
                                           .excessoComissao = true,
                                           .acimaLimiteCredito = true};
        CasoConfirmacao comCodigoInvalido = tudoQuebrado;
        comCodigoInvalido.codigoInvalido = true;
        CasoConfirmacao pendente = tudoQuebrado;
        pendente.situa = 1;
        QTest::newRow("tudo em ordem") << CasoConfirmacao{} << QList<int>{};
        QTest::newRow("abaixo do mínimo encerra") << tudoQuebrado << QList<int>{minimo};
        QTest::newRow("código inválido antes do mínimo") << comCodigoInvalido << QList<int>{codigo};
        QTest::newRow("pendente abaixo do mínimo segue aos descontos") << pendente << QList<int>{descontos};
        QTest::newRow("aviso de flex não encerra")
            << CasoConfirmacao{.avisoFlex = true, .excessoComissao = true, .acimaLimiteCredito = true}
            << QList<int>{descontos, comissao};
        QTest::newRow("crédito depois do aviso")
            << CasoConfirmacao{.avisoFlex = true, .acimaLimiteCredito = true}
            << QList<int>{descontos, credito};
        QTest::newRow("pendente acima do limite de crédito")
            << CasoConfirmacao{.situa = 1, .acimaLimiteCredito = true} << QList<int>{};
    }
    void confirmacao() {
        QFETCH(CasoConfirmacao, caso);
        Cenario c;
        c.pedido.SITUA = caso.situa;
        c.pedido.PED_FLEX = 1;
        c.recalculo.flex.SALDO_FLEX_LIBERACAO = D("100");
        c.produto7.DESC_MAX = D("10");
        c.dados.vendedor.TX_DESCMAX = D("20");
        c.dados.vendedor.DESC_RATEIO_COM = D("5");
        c.dados.vendedor.VL_PED_MINIMO = D(caso.abaixoMinimo ? "1000.01" : "1000");
        c.dados.qavcfg.BLOQUEIOS1 = QavCfg::kLimiteCredito;
        c.dados.cliente.LIMCRED = D(caso.acimaLimiteCredito ? "999.99" : "1000");
        c.item("1", caso.avisoFlex ? "85.00" : "95.00");
        if (caso.acimaVendedor)
            c.item("1", "70.00");
        c.recalculo.excessoComissao = caso.excessoComissao;
        if (caso.codigoInvalido)
            c.pedido.COD_LIBERACAO = c.codigo(42) + 100;

        const std::vector<ResultadoRegra> mostrar = regrasDaConfirmacao(c.entrada());
        QTEST(regras(mostrar), "regras");
        // Warnings first, the refusal last, each with its messages.
        for (std::size_t i = 0; i < mostrar.size(); ++i) {
            QVERIFY(!mostrar[i].mensagens.empty());
            QCOMPARE(mostrar[i].estado, i + 1 == mostrar.size() ? Estado::Recusa : Estado::Aviso);
        }
    }

    // The panel of a pending order that would be refused on release for every reason: the rules of
    // a released order say what they would decide, and refuse nothing now.
    void painelDoPedidoPendente() {
        Cenario c;
        c.pedido.SITUA = 1;
        c.pedido.PED_FLEX = 1;
        c.pedido.TOTAL = D("1234.56");
        c.dados.vendedor.VL_PED_MINIMO = D("2000");
        c.recalculo.flex.VL_FLEX = D("-12");
        c.recalculo.flex.SALDO_FLEX_LIBERACAO = D("5");
        c.dados.qavcfg.BLOQUEIOS1 = QavCfg::kLimiteCredito;
        c.dados.qavcfg.DIAS_BLOQ_CREDITO = 30;
        c.dados.cliente.LIMCRED = D("1000");
        c.titulos.push_back({kHoje.addDays(-40), D("50")});
        c.produto7.DESC_MAX = D("20");
        c.dados.vendedor.TX_DESCMAX = D("10");
        c.item("1", "84.00");

        const std::vector<ResultadoRegra> pendente = avaliarRegras(c.entrada());
        QCOMPARE(regras(pendente), (QList<int>{0, 1, 2, 3, 4, 5, 6}));
        QStringList resumos;
        for (const ResultadoRegra& r : pendente) {
            resumos << r.resumo;
            if (r.estado == Estado::NaoSeAplica)
                QVERIFY2(r.mensagens.empty() && !r.perguntaConsultarTitulos, qPrintable(r.resumo));
        }
        QCOMPARE(resumos,
                 (QStringList{QStringLiteral("Sem código de liberação"),
                              QStringLiteral("Na liberação: Total 1.234,56 < mínimo 2.000,00"),
                              QStringLiteral("Desconto 16,00 % > limite 10,00 % (ABC-1)"),
                              QStringLiteral("Representante sem rateio de desconto na comissão"),
                              QStringLiteral("Na liberação: Flex -12,00; saldo disponível 5,00"),
                              QStringLiteral("Na liberação: Limite 1.000,00 < total 1.234,56"),
                              QStringLiteral("Na liberação: Título vencido há 40 dias (limite 30)")}));
        QCOMPARE(pendente[2].estado, Estado::Recusa);
        QCOMPARE(regras(regrasDaConfirmacao(c.entrada())), QList<int>{static_cast<int>(Regra::Descontos)});

        // Released, the same order is refused by each of them.
        c.pedido.SITUA = 2;
        const std::vector<ResultadoRegra> liberado = avaliarRegras(c.entrada());
        for (std::size_t i : {1, 2, 4, 5, 6})
            QVERIFY2(liberado[i].estado == Estado::Recusa, qPrintable(liberado[i].resumo));
    }

    void clienteDeOutroRepresentante_data() {
        QTest::addColumn<int>("cliente");
        QTest::addColumn<int>("vendedorCliente");
        QTest::addColumn<int>("todosClientes");
        QTest::addColumn<bool>("outro");
        QTest::newRow("do próprio representante") << 10 << 5 << 0 << false;
        QTest::newRow("de outro representante") << 10 << 6 << 0 << true;
        QTest::newRow("representante atende todos") << 10 << 6 << 1 << false;
        QTest::newRow("cliente inexistente") << 0 << 0 << 0 << false;
    }
    void clienteDeOutroRepresentante() {
        QFETCH(int, cliente);
        QFETCH(int, vendedorCliente);
        QFETCH(int, todosClientes);
        DadosPedido dados;
        dados.qavcfg.COD_VENDEDOR = 5;
        dados.cliente.ID = cliente;
        dados.cliente.COD_VENDEDOR = vendedorCliente;
        dados.vendedor.QAV_TODOS_CLIENTES = todosClientes;
        QTEST(qav::clienteDeOutroRepresentante(dados), "outro");
    }

    void tipoSemFormaPag_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<bool>("semForma");
        for (int tipo : {1, 2, 6, 9, 12})
            QTest::addRow("tipo %d", tipo) << tipo << false;
        for (int tipo : {3, 4, 5, 7, 8, 10, 11})
            QTest::addRow("tipo %d", tipo) << tipo << true;
    }
    void tipoSemFormaPag() {
        QFETCH(int, tipo);
        QTEST(qav::tipoSemFormaPag(tipo), "semForma");
    }

    void temContasVencidas_data() {
        QTest::addColumn<int>("diasVencido");
        QTest::addColumn<QString>("saldo");
        QTest::addColumn<bool>("vencidas");
        QTest::newRow("venceu ontem") << 1 << QStringLiteral("0.10") << true;
        QTest::newRow("vence hoje") << 0 << QStringLiteral("100") << false;
        QTest::newRow("saldo de 0,09") << 10 << QStringLiteral("0.09") << false;
        QTest::newRow("sem vencimento") << kSemVencimento << QStringLiteral("100") << false;
    }
    void temContasVencidas() {
        QFETCH(int, diasVencido);
        QFETCH(QString, saldo);
        const Date vecto = diasVencido == kSemVencimento ? Date() : kHoje.addDays(-diasVencido);
        const std::vector<Titulo> titulos{{vecto, D(saldo.toLatin1().constData())}};
        QTEST(qav::temContasVencidas(titulos, kHoje), "vencidas");
    }
};

QAV_TEST_GUILESS_MAIN(TstRegrasLiberacao)
#include "tst_regrasliberacao.moc"
