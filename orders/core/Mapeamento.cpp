#include "orders/core/Mapeamento.h"

namespace qav::mapeamento {

namespace {
// An integer member holds the integer types; a decimal member a decimal(p,s) or a real64 (money that
// the rules hold exactly); a text member any of the text types. Array fields are bound element by
// element to fields of their own, never as a whole.
bool cabe(const FieldDef& campo, Genero genero) {
    if (campo.isArray())
        return false;
    switch (genero) {
    case Genero::Inteiro:
        return campo.type == FieldType::Int32 || campo.type == FieldType::Int16 ||
               campo.type == FieldType::UInt8;
    case Genero::Numero:
        return campo.type == FieldType::Decimal || campo.type == FieldType::Real64;
    case Genero::Texto:
        return campo.isText();
    }
    return false;
}
} // namespace

const TableDef& tabela(const char* nome) {
    const TableDef* def = findTable(nome);
    if (def == nullptr)
        throw CampoForaDoCatalogo(std::string("tabela ") + nome + " não está no catálogo");
    return *def;
}

CampoTabela resolver(const TableDef& tabela, const char* nome, Genero genero) {
    const int indice = tabela.fieldIndex(nome);
    if (indice < 0)
        throw CampoForaDoCatalogo(std::string(tabela.prefix) + ":" + nome + " não está no catálogo");
    const FieldDef& def = tabela.fields[static_cast<std::size_t>(indice)];
    if (!cabe(def, genero))
        throw CampoForaDoCatalogo(std::string(tabela.prefix) + ":" + nome +
                                  " tem no catálogo um tipo que o membro não comporta");
    CampoTabela campo;
    campo.nome = def.name;
    campo.tabela = &tabela;
    campo.indice = indice;
    campo.tipo = def.type;
    campo.escala = def.type == FieldType::Decimal ? def.scale : -1;
    return campo;
}

} // namespace qav::mapeamento
