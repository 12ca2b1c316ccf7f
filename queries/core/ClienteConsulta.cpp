#include "queries/core/ClienteConsulta.h"

#include "customers/core/ConsultasCliente.h"
#include "store/core/Table.h"
#include "store/core/Text.h"

#include <limits>

namespace qav::consulta {

std::optional<Cliente> buscarCliente(Store& store, std::int64_t id) {
    if (id <= 0 || id > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    Table clientes(store, "clientes.tps");
    if (!clientes.open())
        return std::nullopt;
    clientes.rec().setInteger("ID", id);
    std::optional<Cliente> cliente;
    if (clientes.get("KEYID") == Status::Ok) {
        const Record& r = clientes.rec();
        Cliente c;
        c.id = id;
        c.razao = text::rtrim(r.text("RAZAO"));
        c.fantasia = text::rtrim(r.text("NOME"));
        c.documento = text::rtrim(r.text("CGCPF"));
        c.inscricao = text::rtrim(r.text("INSCR"));
        c.endereco = text::rtrim(r.text("ENDER"));
        if (const QString numero = text::rtrim(r.text("NUM_ENDERECO")); !numero.isEmpty())
            c.endereco += QStringLiteral(", ") + numero;
        c.bairro = text::rtrim(r.text("BAIRR"));
        c.cep = text::rtrim(r.text("CEP"));
        c.telefone = text::rtrim(r.text("TELEF"));
        c.creditoLiberado = r.integer("LIB_CRED") != 0;
        c.alerta = r.integer("ALERTA") != 0;
        c.anotacao = r.text("OBS");
        const std::int64_t idMunicipio = r.integer("ID_MUNICIPIO");
        clientes.close();
        if (const auto m = buscarMunicipio(store, idMunicipio)) {
            c.municipio = m->nome;
            c.estado = m->estado;
        }
        return c;
    }
    clientes.close();
    return cliente;
}

Empresa buscarEmpresa(Store& store, int idEmpresa) {
    Empresa e;
    Table empresa(store, "empresa.tps");
    if (!empresa.open())
        return e;
    empresa.rec().setInteger("ID_EMPRESA", idEmpresa);
    if (empresa.get("KEYID") == Status::Ok) {
        const Record& r = empresa.rec();
        e.nome = text::rtrim(r.text("NOME"));
        e.endereco = text::rtrim(r.text("ENDER"));
        if (const QString compl_ = text::rtrim(r.text("COMPLEMENTO")); !compl_.isEmpty())
            e.endereco += QStringLiteral(" ") + compl_;
        e.municipio = text::rtrim(r.text("MUNIC"));
        e.estado = text::rtrim(r.text("UF"));
        e.telefone = text::rtrim(r.text("FONE"));
        e.cnpj = text::rtrim(r.text("CNPJ"));
        e.inscricao = text::rtrim(r.text("IE"));
    }
    empresa.close();
    return e;
}

} // namespace qav::consulta
