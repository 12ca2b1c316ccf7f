#pragma once
// The payment-form list ("Formas de Pagamento") of the active company.

#include "customers/widgets/ReferenceList.h"

namespace qav {

class JanelaFormasPagamento : public ReferenceList {
    Q_OBJECT
public:
    enum Column { Codigo, Descricao, Acrescimo, Cobranca };

    explicit JanelaFormasPagamento(const ListContext& context = ListContext::current(),
                                   QWidget* parent = nullptr);

    // The look-up: the code (FORPAG:CODIGO) of the payment form chosen.
    // `inicial`: what the user typed in the caller's entry; the list opens located on it.
    static std::optional<int> selecionar(QWidget* parent, const ListContext& context = ListContext::current(),
                                         const QString& inicial = {});
};

} // namespace qav
