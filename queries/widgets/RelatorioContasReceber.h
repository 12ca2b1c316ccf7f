#pragma once
// The receivables report's questions: the customer (empty for every customer), the period of due
// dates ("Selecione data Inicial", "Selecione data Final"), the titles' situation (the query's, when
// started from it) and "&Imprimir Comissão"; then the report
// "Relatório de Contas a Receber" in the print preview, printed when the preview is accepted.

#include "queries/core/RelatorioCtr.h"
#include "ui/core/ListContext.h"

#include <QDialog>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qav {

class EntradaCliente;

class RelatorioContasReceber : public QDialog {
    Q_OBJECT
public:
    RelatorioContasReceber(const ListContext& contexto, std::int64_t devedor, ctr::Situacao situacao,
                           QWidget* parent = nullptr);
    ~RelatorioContasReceber() override;

    // The report as the answers ask for it; nullopt after telling the user what is wrong (the period,
    // a table that cannot be read).
    std::optional<consulta::RelatorioContas> montar();
    // Checks the answers and shows the report in the preview.
    void imprimir();

private:
    ListContext m_contexto;
    std::unique_ptr<Store> m_store;
    EntradaCliente* m_cliente;
    QLineEdit* m_inicio;
    QLineEdit* m_fim;
    QComboBox* m_situacoes;
    QCheckBox* m_comissao;
};

} // namespace qav
