#include "customers/core/ConsultasCliente.h"

#include "store/core/Table.h"

#include <algorithm>
#include <limits>

namespace qav {

namespace {

// Opens a table of the store for one look-up and closes it again.
class Aberta {
public:
    Aberta(Store& store, const char* nome) : t(store, nome) { ok = t.open(); }
    ~Aberta() {
        if (ok)
            t.close();
    }
    Table t;
    bool ok = false;
};

// Codes are 32-bit in every table: a larger number typed somewhere names no record.
bool codigoPossivel(std::int64_t codigo) {
    return codigo != 0 && codigo >= std::numeric_limits<std::int32_t>::min() &&
           codigo <= std::numeric_limits<std::int32_t>::max();
}

} // namespace

std::optional<MunicipioCadastro> buscarMunicipio(Store& store, std::int64_t id) {
    if (!codigoPossivel(id))
        return std::nullopt;
    Aberta m(store, "municip.tps");
    if (!m.ok)
        return std::nullopt;
    m.t.clear();
    m.t.rec().setInteger("ID", id);
    if (m.t.get("KEYID") != Status::Ok)
        return std::nullopt;
    return MunicipioCadastro{id, m.t.rec().text("NOME").trimmed(), m.t.rec().text("ESTADO").trimmed()};
}

QString nomeVendedor(Store& store, int idEmpresa, std::int64_t codigo) {
    if (!codigoPossivel(codigo))
        return {};
    Aberta v(store, "vendedor.tps");
    if (!v.ok)
        return {};
    v.t.clear();
    v.t.rec().setInteger("CODIGO", codigo);
    v.t.rec().setInteger("ID_EMPRESA", idEmpresa);
    if (v.t.get("KEYCODIGO") != Status::Ok)
        return {};
    return v.t.rec().text("NOME").trimmed();
}

bool pautaExiste(Store& store, int idEmpresa, std::int64_t codigo) {
    if (!codigoPossivel(codigo))
        return false;
    Aberta p(store, "pauta.tps");
    if (!p.ok)
        return false;
    p.t.clear();
    p.t.rec().setInteger("CODIGO", codigo);
    p.t.rec().setInteger("ID_EMPRESA", idEmpresa);
    return p.t.get("KEYCODIGO") == Status::Ok;
}

std::optional<QString> formaPagamento(Store& store, int idEmpresa, std::int64_t codigo) {
    if (!codigoPossivel(codigo))
        return std::nullopt;
    Aberta f(store, "formapag.tps");
    if (!f.ok)
        return std::nullopt;
    f.t.clear();
    f.t.rec().setInteger("CODIGO", codigo);
    f.t.rec().setInteger("ID_EMPRESA", idEmpresa);
    if (f.t.get("KEYCODIGO") != Status::Ok)
        return std::nullopt;
    return f.t.rec().text("DESCR").trimmed();
}

ConfiguracaoClientes configuracaoClientes(Store& store, int idEmpresa) {
    ConfiguracaoClientes c;
    Aberta q(store, "qavcfg.tps");
    if (!q.ok)
        return c;
    q.t.clear();
    q.t.rec().setInteger("ID_EMPRESA", idEmpresa);
    if (q.t.get("KEYID_EMPRESA") != Status::Ok)
        return c;
    c.bloqueios1 = static_cast<int>(q.t.rec().integer("BLOQUEIOS1"));
    c.codVendedor = q.t.rec().integer("COD_VENDEDOR");
    return c;
}

} // namespace qav
