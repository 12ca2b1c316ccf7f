#include "dbtool/core/UpgradeRules.h"

#include <QStringList>

namespace qav::upgrade {

namespace {
struct Rule {
    const char* table; // table name (file name without extension)
    const char* field;
    const char* value;
};

// Initial values of fields added by an upgrade ("AUTONUMER": consecutive numbers).
const Rule kInitialValues[] = {
    {"clientes", "ATIVO", "1"},
    {"formapag", "ARRED", "0.01"},
    {"grupo", "RESULTADO", "1"},
    {"grupo", "SUBGRUPO_ACESORIOS", "N"},
    {"produto", "PERMITE_ACESSORIOS", "N"},
    {"represen", "CD_PRECO", "2"},
    {"qavcfg", "BD_USUARIO", kDefaultBdUsuario},
    {"qavcfg", "CD_PRECO", "2"},
    {"pedidos", "EXP_GERENTE", "1"},
    {"peditens", "ID_VENDASI", "AUTONUMER"},
    {"peditens", "STATUS", "1"},
    {"vendedor", "ATIVO", "1"},
};

// Fields whose value comes from a field of a former name.
const Rule kFormerNames[] = {
    {"clientes", "COD_VENDEDOR", "ID_VENDEDOR"},
    {"formapag", "ID_FORMAPAG", "ID"},
    {"formapag", "CODIGO", "ID"},
    {"pauxpro", "TAXA_MARGEM1", "MARGE"},
    {"pauxpro", "TAXA_MARGEM2", "MARG2"},
    {"pauxpro", "TAXA_MARGEM3", "MARG2"},
    {"produto", "COD_ST", "CT"},
    {"pedidos", "COD_VENDEDOR", "ID_VENDEDOR"},
    {"pedidos", "COD_FORMAPAG", "FORMAPAG1"},
    {"peditens", "ID_VENDA", "ID"},
    {"peditens", "VALOR_PRODUTO", "PRUNI"},
    {"vendedor", "CODIGO", "ID"},
};

bool matches(const Rule& rule, const TableDef& table, const FieldDef& field) {
    return table.tableName().compare(QLatin1String(rule.table), Qt::CaseInsensitive) == 0 &&
           QLatin1String(field.name).compare(QLatin1String(rule.field), Qt::CaseInsensitive) == 0;
}
} // namespace

std::optional<QString> initialValue(const TableDef& table, const FieldDef& field) {
    for (const Rule& rule : kInitialValues)
        if (matches(rule, table, field) && QLatin1String(rule.value) != QLatin1String("AUTONUMER"))
            return QString::fromLatin1(rule.value);
    return std::nullopt;
}

std::vector<QString> formerNames(const TableDef& table, const FieldDef& field) {
    std::vector<QString> names;
    for (const Rule& rule : kFormerNames)
        if (matches(rule, table, field))
            names.push_back(QString::fromLatin1(rule.value));
    return names;
}

bool isAutoNumbered(const TableDef& table, const FieldDef& field) {
    for (const Rule& rule : kInitialValues)
        if (matches(rule, table, field) && QLatin1String(rule.value) == QLatin1String("AUTONUMER"))
            return true;
    return false;
}

} // namespace qav::upgrade
