#pragma once
// The fields of the local tables behind each row struct of the order rules, and what they give the
// rest of the program: the scale a decimal member is stored with (that of its field in the catalogue),
// and the copy of a table record into the struct and back for the order forms.

#include "orders/core/Entidades.h"
#include "orders/core/Mapeamento.h"
#include "store/core/FormatoBr.h"

#include <optional>

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

// A computed value its field cannot hold: the field ("VDA:VOL_M3") and the largest value it takes
// ("9.999,999").
struct CampoEstourado {
    QString campo;
    QString limite;
};

// Digits before the point a real64 money field keeps to the cent (as its entries accept).
inline constexpr int kDigitosReal = 15;

// The first member of `linha` whose value does not fit its field, in the order of the mapping;
// nothing when every one fits. A decimal(p,s) field holds p - s digits before the point.
template <typename S> std::optional<CampoEstourado> campoEstourado(const S& linha) {
    std::optional<CampoEstourado> estouro;
    campos<S>().paraCada(linha, [&](const CampoTabela& c, const auto& valor) {
        using T = std::remove_cvref_t<decltype(valor)>;
        if constexpr (std::is_same_v<T, Decimal>) {
            if (estouro || c.tabela != &campos<S>().tabela())
                return;
            const FieldDef& f = c.tabela->fields[static_cast<std::size_t>(c.indice)];
            const bool real = f.type == FieldType::Real64;
            const int precisao = real ? kDigitosReal + 2 : f.size;
            const int escala = real ? 2 : f.scale;
            if (valor.fitsField(precisao, escala))
                return;
            const QString nove = QString(precisao - escala, QLatin1Char('9')) + QLatin1Char('.') +
                                 QString(escala, QLatin1Char('9'));
            const Decimal maximo = Decimal::parse(nove.toStdString()).value_or(Decimal());
            estouro = CampoEstourado{QString::fromLatin1(c.tabela->prefix) + QLatin1Char(':') +
                                         QString::fromLatin1(c.nome),
                                     br::numero(maximo, escala)};
        }
    });
    return estouro;
}

} // namespace qav
