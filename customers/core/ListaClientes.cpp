#include "customers/core/ListaClientes.h"

#include "customers/core/ReservasPendentes.h"
#include "store/core/Text.h"

#include "store/core/TableDef.h"
#include "ui/core/TextSearch.h"

namespace qav::clientes {

namespace {
bool pontuacaoDeDocumento(QChar c) {
    return c == u'.' || c == u'/' || c == u'-' || c == u' ';
}
} // namespace

const char* chaveDaOrdem(Ordem ordem) {
    switch (ordem) {
    case Ordem::PorId:
        return "KEYID";
    case Ordem::PorDocumento:
        return "KEYCGC";
    case Ordem::PorFantasia:
        return "KEYFANTA";
    case Ordem::PorRazao:
    case Ordem::PorMunicipio:
        break;
    }
    return "KEYRAZAO";
}

ListFilter filtroLista(Ordem ordem, Situacao situacao, std::int64_t idMunicipio, const QString& documento) {
    // A customer whose form is still creating it is only a place taken: no tab lists it.
    ListFilter filtro = semReservasEmAndamento();
    if (ordem == Ordem::PorMunicipio) {
        if (idMunicipio != 0)
            filtro = filtro.and_("\"ID_MUNICIPIO\" = ?", {static_cast<qlonglong>(idMunicipio)});
        return filtro;
    }
    if (situacao != Situacao::Todos)
        filtro = filtro.and_("\"ATIVO\" = ?", {situacao == Situacao::Ativos ? 1 : 0});
    if (ordem == Ordem::PorDocumento && buscaPorDigitos(documento)) {
        const ListFilter digitos = containsDigits(*findTable("clientes.tps"), "CGCPF", documento);
        filtro = filtro.and_(digitos.condition, digitos.parameters);
    }
    return filtro;
}

bool buscaPorDigitos(const QString& digitado) {
    bool algumDigito = false;
    for (const QChar c : digitado) {
        if (text::isAsciiDigit(c))
            algumDigito = true;
        else if (!pontuacaoDeDocumento(c))
            return false;
    }
    return algumDigito;
}

std::optional<std::int64_t> idMunicipioDigitado(const QString& digitado) {
    const QString texto = digitado.trimmed();
    if (texto.isEmpty())
        return 0;
    bool ok = false;
    const qlonglong id = texto.toLongLong(&ok);
    if (!ok || id < 0 || id >= limiteIdMunicipio)
        return std::nullopt;
    return id;
}

} // namespace qav::clientes
