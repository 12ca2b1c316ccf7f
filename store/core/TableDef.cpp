#include "store/core/TableDef.h"

#include <algorithm>
#include <cctype>

namespace qav {

namespace {
std::string upper(std::string_view name) {
    std::string result(name);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}
} // namespace

QString TableDef::tableName() const {
    const std::string_view file(fileName);
    return QString::fromLatin1(file.substr(0, file.find('.')));
}

namespace {
int lookUp(const NameIndex& index, std::string_view name) {
    auto it = index.find(name);
    if (it == index.end())
        it = index.find(upper(name));
    return it == index.end() ? -1 : it->second;
}
} // namespace

int TableDef::fieldIndex(std::string_view name) const {
    return lookUp(fieldByName, name);
}

int TableDef::keyIndex(std::string_view name) const {
    return lookUp(keyByName, name);
}

const KeyDef* TableDef::primaryKey() const {
    for (const KeyDef& key : keys)
        if (key.primary)
            return &key;
    return nullptr;
}

void TableDef::finalize() {
    slotOffset.clear();
    slotCount = 0;
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        slotOffset.push_back(slotCount);
        slotCount += fields[i].count;
        fieldByName.emplace(upper(fields[i].name), i);
    }
    for (int i = 0; i < static_cast<int>(keys.size()); ++i)
        keyByName.emplace(upper(keys[i].name), i);
    shadowed.clear();
    for (int f = 0; f < static_cast<int>(fields.size()); ++f) {
        bool inFoldedKey = false;
        for (const KeyDef& key : keys)
            for (const KeyComponent& c : key.components)
                inFoldedKey = inFoldedKey || (key.caseInsensitive && c.field == f);
        if (inFoldedKey && fields[static_cast<size_t>(f)].isText())
            shadowed.push_back(f);
    }
}

const TableDef* findTable(std::string_view nameOrPrefix) {
    const std::string wanted = upper(nameOrPrefix);
    for (const TableDef& table : catalogue()) {
        const std::string file = upper(table.fileName);
        if (wanted == file || wanted == upper(table.prefix) || wanted == file.substr(0, file.find('.')))
            return &table;
    }
    return nullptr;
}

} // namespace qav
