#include "customers/widgets/ResolverReferencia.h"

#include "customers/widgets/BrowseMunic.h"
#include "customers/widgets/BrowsePauta.h"

namespace qav {

std::optional<Municipio> resolverMunicipio(Store& store, std::int64_t id, const ListContext& listas,
                                           QWidget* parent) {
    if (auto m = buscarMunicipio(store, id))
        return m;
    const std::optional<int> escolhido = BrowseMunic::selecionar(parent, listas);
    if (!escolhido)
        return std::nullopt;
    return buscarMunicipio(store, *escolhido);
}

std::optional<std::int64_t> resolverPauta(Store& store, std::int64_t codigo, const ListContext& listas,
                                          QWidget* parent) {
    if (pautaExiste(store, listas.idEmpresa, codigo))
        return codigo;
    const std::optional<int> escolhida = BrowsePauta::selecionar(parent, listas);
    if (!escolhida)
        return std::nullopt;
    return *escolhida;
}

} // namespace qav
