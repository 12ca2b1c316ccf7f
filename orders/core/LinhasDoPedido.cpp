#include "orders/core/LinhasDoPedido.h"

namespace qav::linhas {

namespace {
Status lerIguais(Table& table, std::string_view key, const char* field, int value,
                 std::vector<Record>& into) {
    table.clearFilter();
    table.clear();
    const int index = table.rec().field(field);
    table.rec().setInteger(index, value);
    Status status = table.seek(key, 1);
    while (status == Status::Ok) {
        status = table.next();
        if (status != Status::Ok || table.rec().integer(index) != value)
            break;
        into.push_back(table.rec());
    }
    return status == Status::Error ? Status::Error : Status::Ok;
}
} // namespace

Status itensDoPedido(Table& itens, int idVenda, std::vector<Record>& into) {
    return lerIguais(itens, "KEYORDEM", "ID_VENDA", idVenda, into);
}

Status acessoriosDoItem(Table& acessorios, int idVendasi, std::vector<Record>& into) {
    return lerIguais(acessorios, "KEYID_VENDASI", "ID_VENDASI", idVendasi, into);
}

Status maiorValor(Table& table, std::string_view key, int& into) {
    table.clearFilter();
    into = 0;
    if (table.seekLast(key) == Status::Error)
        return Status::Error;
    const Status status = table.previous();
    if (status == Status::Error)
        return Status::Error;
    if (status == Status::Ok) {
        const TableDef& def = table.def();
        const KeyDef& k = def.keys[static_cast<size_t>(def.keyIndex(key))];
        into = static_cast<int>(table.rec().integer(k.components.front().field));
    }
    return Status::Ok;
}

} // namespace qav::linhas
