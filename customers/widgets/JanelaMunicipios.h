#pragma once
// The municipality list ("Municípios"): every municipality of the folder.

#include "customers/widgets/ReferenceList.h"

namespace qav {

class JanelaMunicipios : public ReferenceList {
    Q_OBJECT
public:
    enum Column { Id, Municipio, Uf };

    explicit JanelaMunicipios(const ListContext& context = ListContext::current(), QWidget* parent = nullptr);

    // The look-up: the id (MUN:ID) of the municipality chosen.
    // `inicial`: what the user typed in the caller's entry; the list opens located on it.
    static std::optional<int> selecionar(QWidget* parent, const ListContext& context = ListContext::current(),
                                         const QString& inicial = {});
};

} // namespace qav
