#include "sync/core/execucao/SaldoFlex.h"
#include "orders/core/SituacaoPedido.h"

#include "store/core/Table.h"

namespace qav::sync {

namespace {

// The flex of one order: its items' flex values when the order works with flex, else 0.
std::optional<Decimal> flexDoPedido(Table& itens, long long idPedido) {
    Decimal total;
    itens.clear();
    itens.rec().setInteger("ID_VENDA", idPedido);
    Status s = itens.seek("KEYID", 1);
    while (s == Status::Ok && (s = itens.next()) == Status::Ok && itens.rec().integer("ID_VENDA") == idPedido)
        total += itens.rec().decimal("VL_FLEX");
    if (s == Status::Error)
        return std::nullopt;
    return total;
}

} // namespace

ResultadoDe<SaldoFlex> calcularSaldoFlex(Store& store, int idEmpresa) {
    SaldoFlex r;
    Table cfg(store, "qavcfg"), pedidos(store, "pedidos"), itens(store, "peditens");
    const auto ilegivel = [](const Table& t) {
        return ResultadoDe<SaldoFlex>::falhou(QStringLiteral("Erro (%1) ao ler %2!")
                                                  .arg(t.error().number())
                                                  .arg(QString::fromLatin1(t.def().fileName)));
    };
    for (Table* t : {&cfg, &pedidos, &itens})
        if (!t->open())
            return ilegivel(*t);
    cfg.clear();
    cfg.rec().setInteger("ID_EMPRESA", idEmpresa);
    const Status s = cfg.get("KEYID_EMPRESA");
    if (s == Status::Error)
        return ilegivel(cfg);
    if (s == Status::Ok)
        r.saldoEmpresa = cfg.rec().decimal("SALDO_FLEX");

    // The orders in situation order from "Pendente"; the walk ends at the first one already
    // transmitted or cancelled.
    pedidos.clear();
    pedidos.rec().setInteger("SITUA", situacao::Pendente);
    Status p = pedidos.seek("KEYSITUA");
    while (p == Status::Ok && (p = pedidos.next()) == Status::Ok) {
        if (pedidos.rec().integer("SITUA") > situacao::Liberado)
            break;
        Decimal flex;
        if (pedidos.rec().integer("PED_FLEX") != 0) {
            const auto doPedido = flexDoPedido(itens, pedidos.rec().integer("ID"));
            if (!doPedido)
                return ilegivel(itens);
            flex = *doPedido;
        }
        if (flex.sign() > 0)
            r.outrosCre += flex;
        else
            r.outrosDeb += flex;
    }
    if (p == Status::Error)
        return ilegivel(pedidos);
    r.saldo = r.saldoEmpresa + r.outrosDeb + r.outrosCre;
    return {r, {}};
}

} // namespace qav::sync
