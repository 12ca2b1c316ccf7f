#include "customers/core/ListasReferencia.h"

namespace qav::referencia {

ListFilter filtroVendedores() {
    return {"\"ATIVO\" = 1", {}};
}

ListFilter filtroFormasPag(int idEmpresa) {
    return {"\"ID_EMPRESA\" = ?", {idEmpresa}};
}

ListFilter filtroPautas(int idEmpresa) {
    return {"\"ID_EMPRESA\" = ? AND \"PAUTA_EXCLUSIVA_CLIENTE\" <> 1", {idEmpresa}};
}

QString cobranca(const Record& formaPag) {
    return formaPag.integer("COBR_BAN") != 0 ? QStringLiteral("Bancaria") : QStringLiteral("Carteira");
}

} // namespace qav::referencia
