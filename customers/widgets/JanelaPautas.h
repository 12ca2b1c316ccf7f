#pragma once
// The price-list list ("Pauta de Preços") of the active company.

#include "customers/widgets/ReferenceList.h"

namespace qav {

class JanelaPautas : public ReferenceList {
    Q_OBJECT
public:
    enum Column { Codigo, NumPauta, ValidadeInicial, ValidadeFinal, Descricao };

    explicit JanelaPautas(const ListContext& context = ListContext::current(), QWidget* parent = nullptr);

    // The look-up: the code (PAUTA:CODIGO) of the price list chosen.
    // `inicial`: what the user typed in the caller's entry; the list opens located on it.
    static std::optional<int> selecionar(QWidget* parent, const ListContext& context = ListContext::current(),
                                         const QString& inicial = {});
};

} // namespace qav
