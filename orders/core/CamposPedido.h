#pragma once
// The fields of the local tables behind each row struct of the order rules, and what they give the
// rest of the program: the scale a decimal member is stored with (that of its field in the catalogue),
// and the copy of a table record into the struct and back for the order forms.

#include "orders/core/Entidades.h"
#include "orders/core/Mapeamento.h"

namespace qav {

// The mapping of each row struct, built from the catalogue on first use. OutroPedido takes its id,
// situation and flex flag from pedidos.tps and its flex from the items' field in peditens.tps.
template <typename S> const Mapeamento<S>& campos();
template <> const Mapeamento<Pedido>& campos<Pedido>();
template <> const Mapeamento<PedidoItem>& campos<PedidoItem>();
template <> const Mapeamento<Produto>& campos<Produto>();
template <> const Mapeamento<Pauta>& campos<Pauta>();
template <> const Mapeamento<PautaProduto>& campos<PautaProduto>();
template <> const Mapeamento<FormaPag>& campos<FormaPag>();
template <> const Mapeamento<Cliente>& campos<Cliente>();
template <> const Mapeamento<Municipio>& campos<Municipio>();
template <> const Mapeamento<Vendedor>& campos<Vendedor>();
template <> const Mapeamento<QavCfg>& campos<QavCfg>();
template <> const Mapeamento<Empresa>& campos<Empresa>();
template <> const Mapeamento<StIcms>& campos<StIcms>();
template <> const Mapeamento<CfgSis>& campos<CfgSis>();
template <> const Mapeamento<CstFrete>& campos<CstFrete>();
template <> const Mapeamento<OutroPedido>& campos<OutroPedido>();

// Builds every mapping now, so that a member whose field the catalogue lacks stops the program at
// start-up (CampoForaDoCatalogo) rather than in the middle of an order.
void verificarCampos();

namespace detalhe {
template <typename T> struct DonoDoMembro;
template <typename S, typename T> struct DonoDoMembro<T S::*> { using Tipo = S; };
} // namespace detalhe

// The places of the decimal(p,s) field a member is stored in: escala<&PedidoItem::PRUNI>() is 4.
// Looked up once per member and kept.
template <auto membro> int escala() {
    using S = typename detalhe::DonoDoMembro<decltype(membro)>::Tipo;
    static const int valor = campos<S>().escala(membro);
    return valor;
}

// The value as stored in the member's field: rounded half away from zero to the field's scale.
template <auto membro> Decimal guardar(const Decimal& valor) {
    return valor.rounded(escala<membro>());
}

// Record <-> struct for the order forms. The record must be of the struct's table.
template <typename S> void lerRegistro(const Record& registro, S& linha) {
    campos<S>().ler(registro, linha);
}
template <typename S> void gravarRegistro(const S& linha, Record& registro) {
    campos<S>().gravar(linha, registro);
}

} // namespace qav
