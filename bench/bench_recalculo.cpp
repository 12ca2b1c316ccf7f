// Speed of the order recalculation: one order of 1 000 items, and 10 000 orders of 10 items, with IPI,
// ICMS-ST by margin, flex and commission share switched on so that every step runs.
#include "orders/core/Recalculo.h"

#include <QElapsedTimer>
#include <cstdio>

using namespace qav;

namespace {
Decimal D(const char* texto) {
    return Decimal::parse(texto).value();
}

DadosPedido dados() {
    DadosPedido d;
    d.cliente.PESSO = 1;
    d.municipio.ESTADO = QStringLiteral("SP");
    d.vendedor.DESC_RATEIO_COM = D("5");
    d.vendedor.ORIGEM_COM = 1;
    d.vendedor.TAXA_COMISSAO = D("6");
    d.vendedor.DESC_PAUTA_FLEX = D("2");
    FormaPag f;
    f.DESCO = D("3");
    d.formaPag = f;
    for (int id = 1; id <= 200; ++id) {
        Produto p;
        p.ID = id;
        p.ALIQ_IPI = D("5");
        p.COD_ST = id % 4;
        p.PESOL = D("1.250");
        p.PESOB = D("1.300");
        p.VOL_M3 = D("0.000420");
        p.NOME = QStringLiteral("Produto");
        d.adicionarProduto(p);
    }
    for (int cod = 0; cod < 4; ++cod) {
        StIcms r;
        r.COD_ST = cod;
        r.UF = QStringLiteral("SP");
        r.CONTRIBUINTE_ICMS = 1;
        r.PERC_BC_ICMS = D("100");
        r.ALIQ_ICMS = D("12");
        r.ALIQ_ICMSST = D("18");
        r.PERC_MARG_VL_ICMSST = D("40");
        d.stIcms.push_back(r);
    }
    return d;
}

std::vector<PedidoItem> itens(int n) {
    std::vector<PedidoItem> v;
    for (int i = 1; i <= n; ++i) {
        PedidoItem item;
        item.ID_VENDASI = i;
        item.PRODU = 1 + i % 200;
        item.QTD = Decimal(1 + i % 17);
        item.PRUNI = D("12.3456") + Decimal(i % 9);
        item.PRECO_PAUTA = item.PRUNI + Decimal(1);
        item.TOTAL = (item.QTD * item.PRUNI).rounded(2);
        v.push_back(item);
    }
    return v;
}
} // namespace

int main() {
    const DadosPedido d = dados();
    Pedido base;
    base.ID = 1;
    base.SITUA = 1;
    base.PED_FLEX = 1;
    base.DESCP = D("2.5");
    base.FCONTA = 1;

    {
        const std::vector<PedidoItem> modelo = itens(1000);
        const int repeticoes = 20;
        QElapsedTimer t;
        t.start();
        Decimal controle;
        for (int r = 0; r < repeticoes; ++r) {
            Pedido p = base;
            std::vector<PedidoItem> v = modelo;
            recalcularPedido(p, v, d, {});
            controle += p.TOTAL;
        }
        const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6 / repeticoes;
        std::printf("pedido de 1000 itens: %.2f ms por recalculo (media de %d; total %s)\n", ms, repeticoes,
                    (controle / Decimal(repeticoes)).toString(2).c_str());
    }
    {
        const std::vector<PedidoItem> modelo = itens(10);
        std::vector<OutroPedido> outros;
        for (int i = 2; i <= 50; ++i)
            outros.push_back({i, 1 + i % 2, 1, Decimal(i % 7 - 3)});
        QElapsedTimer t;
        t.start();
        Decimal controle;
        for (int n = 0; n < 10000; ++n) {
            Pedido p = base;
            p.ID = n;
            std::vector<PedidoItem> v = modelo;
            recalcularPedido(p, v, d, outros);
            controle += p.TOTAL;
        }
        const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
        std::printf("10000 pedidos de 10 itens: %.1f ms no total, %.1f us por pedido (soma %s)\n", ms,
                    ms * 1000.0 / 10000.0, controle.toString(2).c_str());
    }
    return 0;
}
