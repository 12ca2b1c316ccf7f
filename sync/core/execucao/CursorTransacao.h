#pragma once
// A second cursor on a table that a local transaction covers, routed into that transaction: its walks
// and writes are part of the transaction while the caller's cursor keeps its own record and position.

#include "store/core/Table.h"

namespace qav::sync {

class CursorTransacao {
public:
    explicit CursorTransacao(Table& naTransacao) : m_tabela(naTransacao.store(), naTransacao.def()) {
        m_aberto = m_tabela.open();
        if (m_aberto)
            m_tabela.route(naTransacao.connection(), naTransacao.schemaName());
    }
    CursorTransacao(const CursorTransacao&) = delete;
    CursorTransacao& operator=(const CursorTransacao&) = delete;

    bool aberto() const { return m_aberto; }
    Table& tabela() { return m_tabela; }

private:
    Table m_tabela;
    bool m_aberto = false;
};

} // namespace qav::sync
