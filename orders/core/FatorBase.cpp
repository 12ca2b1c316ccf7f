#include "orders/core/FatorBase.h"

#include <array>
#include <utility>

namespace qav {

namespace {
// Tested in this order; the first marker found anywhere in the text decides. "###" comes before "##",
// so that "###" gives 5.
constexpr std::array<std::pair<const char16_t*, int>, 13> kMarcadoresSimples{{
    {u"N0", 0},
    {u"$$", 0},
    {u"N1", 1},
    {u"N2", 2},
    {u"N3", 3},
    {u"N4", 4},
    {u"N5", 5},
    {u"###", 5},
    {u"N6", 6},
    {u"N7", 7},
    {u"##", 7},
    {u"N8", 8},
    {u"N9", 9},
}};
} // namespace

int fatorBase(const QString& observacao, bool marcadoresSimples) {
    if (marcadoresSimples) {
        for (const auto& [marcador, fator] : kMarcadoresSimples) {
            if (observacao.contains(QString::fromUtf16(marcador)))
                return fator;
        }
        return 1;
    }
    for (int n = 0; n <= 9; ++n) {
        if (observacao.contains(QStringLiteral("#N%1#").arg(n)))
            return n;
    }
    return 1;
}

int fatorBasePedido(const QString& observacao, const DadosPedido& dados) {
    return fatorBase(observacao, dados.opcaoAtiva(kOpcaoMarcadoresSimples));
}

int fatorBaseItem(const QString& observacao, const DadosPedido& dados) {
    return dados.opcaoAtiva(kOpcaoMarcadoresSimples) ? fatorBase(observacao, true) : 1;
}

} // namespace qav
