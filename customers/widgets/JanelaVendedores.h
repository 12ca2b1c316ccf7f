#pragma once
// The salesperson list ("Vendedores"): the active salespeople of every company of the folder.

#include "customers/widgets/ReferenceList.h"

namespace qav {

class JanelaVendedores : public ReferenceList {
    Q_OBJECT
public:
    enum Column { Id, Nome };

    explicit JanelaVendedores(const ListContext& context = ListContext::current(), QWidget* parent = nullptr);

    // The look-up: the code (VEN:CODIGO) of the salesperson chosen.
    static std::optional<int> selecionar(QWidget* parent,
                                         const ListContext& context = ListContext::current());
};

} // namespace qav
