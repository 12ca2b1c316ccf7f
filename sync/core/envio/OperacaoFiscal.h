#pragma once
// The tax operation an order goes out under: the order type's (one for final consumers, one for the
// others), else the customer's own, else the company's default for sales inside or outside Santa
// Catarina.

#include "store/core/Record.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <optional>

namespace qav::sync {

struct OperacaoFiscal {
    long long idTes = 0;         // 0: none
    long long codigo = 0;        // the operation's code (5101, ...), 0 when unknown
    bool stExclusiva = false;    // the operation has tax situations of its own (gestao.stxtes)
    long long empresaFiscal = 0; // the company whose substitution rules apply
};

// The choice asks the server at most two questions, one after the other (the operation of the code,
// then the code of the operation), which the upload sends beside its other questions of the order:
// pergunta() is the next one (empty once the choice is made), responder() takes its first row.
class EscolhaOperacaoFiscal {
public:
    // `tipoPedido` may be blank (no order type).
    EscolhaOperacaoFiscal(const ContextoComunicacao& contexto, const Record& cliente,
                          const Record& tipoPedido, const QString& estado);
    const QString& pergunta() const { return m_pergunta; }
    void responder(const std::optional<Linha>& linha);
    const OperacaoFiscal& operacao() const { return m_operacao; }

private:
    QString perguntaCodigo() const;
    OperacaoFiscal m_operacao;
    QString m_pergunta;
    bool m_porCodigo = false; // the pending question is the operation of a code
};

} // namespace qav::sync
