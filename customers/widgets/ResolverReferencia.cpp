#include "customers/widgets/ResolverReferencia.h"

#include "customers/widgets/JanelaFormasPagamento.h"
#include "customers/widgets/JanelaMunicipios.h"
#include "customers/widgets/JanelaPautas.h"

namespace qav {

namespace {

QString codigoDigitado(std::int64_t codigo) {
    return codigo ? QString::number(codigo) : QString();
}

} // namespace

std::optional<MunicipioCadastro> resolverMunicipio(Store& store, std::int64_t id, const ListContext& listas,
                                                   QWidget* parent) {
    return resolverMunicipio(store, codigoDigitado(id), listas, parent);
}

std::optional<MunicipioCadastro> resolverMunicipio(Store& store, const QString& digitado,
                                                   const ListContext& listas, QWidget* parent) {
    bool numero = false;
    const std::int64_t id = digitado.trimmed().toLongLong(&numero);
    if (numero)
        if (auto m = buscarMunicipio(store, id))
            return m;
    // A name is carried into the list, which opens on it; an id not found opens the list as it is.
    const std::optional<int> escolhido =
        JanelaMunicipios::selecionar(parent, listas, numero ? QString() : digitado.trimmed());
    if (!escolhido)
        return std::nullopt;
    return buscarMunicipio(store, *escolhido);
}

std::optional<std::int64_t> resolverPauta(Store& store, std::int64_t codigo, const ListContext& listas,
                                          QWidget* parent) {
    if (pautaExiste(store, listas.idEmpresa, codigo))
        return codigo;
    const std::optional<int> escolhida = JanelaPautas::selecionar(parent, listas);
    if (!escolhida)
        return std::nullopt;
    return *escolhida;
}

std::optional<std::int64_t> resolverFormaPag(Store& store, std::int64_t codigo, const ListContext& listas,
                                             QWidget* parent) {
    if (formaPagamento(store, listas.idEmpresa, codigo))
        return codigo;
    const std::optional<int> escolhida = JanelaFormasPagamento::selecionar(parent, listas);
    if (!escolhida)
        return std::nullopt;
    return *escolhida;
}

} // namespace qav
