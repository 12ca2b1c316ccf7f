#pragma once
// The receivables query "Contas a Receber": the titles of one customer ("Devedor:") in the active
// company, paid, open or all ("Situação"), in due-date order or sorted by any heading, the overdue
// due dates and days late in red, the totals of what is listed, and the button "&Relatório".

#include "queries/core/ContasReceber.h"
#include "ui/core/ListContext.h"

#include <QWidget>
#include <memory>

class QButtonGroup;
class QLabel;
class QPushButton;
class QTableView;

namespace qav {

class CelulaDestaque;
class EntradaCliente;
class OrdenacaoPorValor;
class TitulosModelo;

class ConsultaContasReceber : public QWidget {
    Q_OBJECT
public:
    explicit ConsultaContasReceber(const ListContext& contexto, QWidget* parent = nullptr);
    ~ConsultaContasReceber() override;

    // The menu passes the situation and the customer as texts ("3" and "": all titles, no customer
    // yet); the order form passes "2" and its customer (the open titles).
    void aplicarArgumentos(const QStringList& argumentos);

    ctr::Situacao situacao() const { return m_situacao; }
    void setSituacao(ctr::Situacao situacao);
    std::int64_t devedor() const;
    void setDevedor(std::int64_t id);
    void recarregar();

    TitulosModelo* modelo() const { return m_modelo; }
    QTableView* lista() const { return m_lista; }
    const ctr::Totais& totais() const { return m_totais; }

    void relatorio();

private:
    void montar();
    void fechar();

    ListContext m_contexto;
    std::unique_ptr<Store> m_store;
    ctr::Situacao m_situacao = ctr::Situacao::EmAberto;
    ctr::Totais m_totais;
    EntradaCliente* m_devedor = nullptr;
    QButtonGroup* m_situacoes = nullptr;
    TitulosModelo* m_modelo = nullptr;
    OrdenacaoPorValor* m_ordem = nullptr;
    QTableView* m_lista = nullptr;
    QLabel* m_totalValor = nullptr;
    QLabel* m_totalJuros = nullptr;
    QLabel* m_totalRecebido = nullptr;
    QLabel* m_totalSaldo = nullptr;
    QLabel* m_mensagem = nullptr;
    QPushButton* m_relatorio = nullptr;
};

} // namespace qav
