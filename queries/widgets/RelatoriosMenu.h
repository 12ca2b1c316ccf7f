#pragma once
// The filter dialogs of the reports of the "Relatórios" menu: "&Clientes" (RelClientes), "&Pedidos"
// (RelPedidos), "Co&missão" (RelComissao), "Pedidos Con&sulta" (RelPedidoConsulta) and "C&lientes
// Inativos" (RelClientesInativos). Each only reads its answers; the report is built in the core.

#include "queries/widgets/DialogoRelatorio.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace qav {

class EntradaCliente;

class RelClientes : public DialogoRelatorio {
    Q_OBJECT
public:
    explicit RelClientes(const ListContext& contexto, QWidget* parent = nullptr);
    std::unique_ptr<relatorio::Fonte> montar() override;

private:
    QComboBox* m_ordem;
    QComboBox* m_situacao;
    QComboBox* m_municipio;
};

class RelPedidos : public DialogoRelatorio {
    Q_OBJECT
public:
    explicit RelPedidos(const ListContext& contexto, QWidget* parent = nullptr);
    std::unique_ptr<relatorio::Fonte> montar() override;

private:
    EntradaCliente* m_cliente;
    QLineEdit* m_inicio;
    QLineEdit* m_fim;
    QComboBox* m_situacao;
    QComboBox* m_subtotal;
};

class RelComissao : public DialogoRelatorio {
    Q_OBJECT
public:
    explicit RelComissao(const ListContext& contexto, QWidget* parent = nullptr);
    std::unique_ptr<relatorio::Fonte> montar() override;

private:
    EntradaCliente* m_cliente;
    QLineEdit* m_inicio;
    QLineEdit* m_fim;
};

class RelPedidoConsulta : public DialogoRelatorio {
    Q_OBJECT
public:
    explicit RelPedidoConsulta(const ListContext& contexto, QWidget* parent = nullptr);
    std::unique_ptr<relatorio::Fonte> montar() override;

private:
    QLineEdit* m_inicio;
    QLineEdit* m_fim;
    QComboBox* m_situacao;
    QCheckBox* m_itens;
};

class RelClientesInativos : public DialogoRelatorio {
    Q_OBJECT
public:
    explicit RelClientesInativos(const ListContext& contexto, QWidget* parent = nullptr);
    std::unique_ptr<relatorio::Fonte> montar() override;

private:
    QSpinBox* m_dias;
};

} // namespace qav
