#include "queries/widgets/RelatoriosMenu.h"

#include "orders/core/SituacaoPedido.h"
#include "queries/core/RelatoriosMenu.h"
#include "queries/widgets/EntradaCliente.h"
#include "store/core/Clock.h"
#include "store/core/Table.h"
#include "ui/widgets/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qav {

namespace {

QComboBox* escolhas(QWidget* parent, const char* nome, std::initializer_list<std::pair<QString, int>> opcoes,
                    int atual) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(nome));
    for (const auto& [texto, valor] : opcoes)
        c->addItem(texto, valor);
    c->setCurrentIndex(c->findData(atual));
    return c;
}

EntradaCliente* entradaCliente(const ListContext& contexto, Store& store, QWidget* parent) {
    auto* e =
        new EntradaCliente(QStringLiteral("Cliente:"),
                           {contexto.dataFolder, contexto.programFolder, contexto.idEmpresa}, store, parent);
    e->setObjectName(QStringLiteral("cliente"));
    e->setVazioTodos(true); // a report covers every customer unless one is chosen
    return e;
}

} // namespace

// ---------------------------------------------------------------------------------------------- Clientes

RelClientes::RelClientes(const ListContext& contexto, QWidget* parent)
    : DialogoRelatorio(contexto, QStringLiteral("RelClientes"), QStringLiteral("Relatório de Clientes"),
                       parent) {
    using O = relatorio::OrdemClientes;
    using S = relatorio::SituacaoClientes;
    m_ordem = escolhas(this, "ordem",
                       {{QStringLiteral("Nome"), static_cast<int>(O::Nome)},
                        {QStringLiteral("Código"), static_cast<int>(O::Codigo)},
                        {QStringLiteral("Município"), static_cast<int>(O::Municipio)},
                        {QStringLiteral("Estado"), static_cast<int>(O::Estado)}},
                       static_cast<int>(O::Nome));
    m_situacao = escolhas(this, "situacao",
                          {{QStringLiteral("Ativos"), static_cast<int>(S::Ativos)},
                           {QStringLiteral("Inativos"), static_cast<int>(S::Inativos)},
                           {QStringLiteral("Todos"), static_cast<int>(S::Todos)}},
                          static_cast<int>(S::Ativos));
    m_municipio = new QComboBox(this);
    m_municipio->setObjectName(QStringLiteral("municipio"));
    m_municipio->addItem(QStringLiteral("Todos"), 0);
    // The municipalities are few (the country has some five thousand): all of them, by name.
    Table municipios(*m_store, "municip");
    if (municipios.open() && municipios.seekFirst("KEYNOME") == Status::Ok)
        while (municipios.next() == Status::Ok)
            m_municipio->addItem(municipios.rec().text("NOME").trimmed() + QLatin1Char('/') +
                                     municipios.rec().text("ESTADO").trimmed(),
                                 static_cast<qlonglong>(municipios.rec().integer("ID")));
    m_form->addRow(QStringLiteral("&Ordem:"), m_ordem);
    m_form->addRow(QStringLiteral("&Situação:"), m_situacao);
    m_form->addRow(QStringLiteral("&Município:"), m_municipio);
    terminar();
}

std::unique_ptr<relatorio::Fonte> RelClientes::montar() {
    relatorio::FiltroClientes f;
    f.ordem = static_cast<relatorio::OrdemClientes>(m_ordem->currentData().toInt());
    f.situacao = static_cast<relatorio::SituacaoClientes>(m_situacao->currentData().toInt());
    f.municipio = m_municipio->currentData().toLongLong();
    return relatorio::relatorioClientes(*m_store, m_contexto.idEmpresa, f);
}

// ----------------------------------------------------------------------------------------------- Pedidos

RelPedidos::RelPedidos(const ListContext& contexto, QWidget* parent)
    : DialogoRelatorio(contexto, QStringLiteral("RelPedidos"), QStringLiteral("Relatório de Pedidos"),
                       parent) {
    m_cliente = entradaCliente(contexto, *m_store, this);
    m_inicio = entradaData("dataInicial");
    m_fim = entradaData("dataFinal");
    m_situacao = escolhas(this, "situacao",
                          {{QStringLiteral("Pendente"), situacao::Pendente},
                           {QStringLiteral("Liberado"), situacao::Liberado},
                           {QStringLiteral("Transmitido"), situacao::Transmitido},
                           {QStringLiteral("Cancelado"), situacao::Cancelado},
                           {QStringLiteral("Todas"), situacao::Todas}},
                          situacao::Todas);
    m_subtotal =
        escolhas(this, "subtotal",
                 {{QStringLiteral("Por dia"), static_cast<int>(relatorio::SubtotalPedidos::Dia)},
                  {QStringLiteral("Por cliente"), static_cast<int>(relatorio::SubtotalPedidos::Cliente)}},
                 static_cast<int>(relatorio::SubtotalPedidos::Dia));
    m_form->addRow(m_cliente);
    m_form->addRow(QStringLiteral("Selecione data Inicial"), m_inicio);
    m_form->addRow(QStringLiteral("Selecione data Final"), m_fim);
    m_form->addRow(QStringLiteral("&Situação:"), m_situacao);
    m_form->addRow(QStringLiteral("Su&btotais:"), m_subtotal);
    terminar();
}

std::unique_ptr<relatorio::Fonte> RelPedidos::montar() {
    relatorio::FiltroPedidos f;
    if (!lerPeriodo(m_inicio, m_fim, f.inicio, f.fim))
        return nullptr;
    f.cliente = m_cliente->id();
    f.situacao = m_situacao->currentData().toInt();
    f.subtotal = static_cast<relatorio::SubtotalPedidos>(m_subtotal->currentData().toInt());
    return relatorio::relatorioPedidos(*m_store, m_contexto.idEmpresa, f);
}

// ---------------------------------------------------------------------------------------------- Comissão

RelComissao::RelComissao(const ListContext& contexto, QWidget* parent)
    : DialogoRelatorio(contexto, QStringLiteral("RelComissao"), QStringLiteral("Relatório de Comissão"),
                       parent) {
    m_cliente = entradaCliente(contexto, *m_store, this);
    m_inicio = entradaData("dataInicial");
    m_fim = entradaData("dataFinal");
    m_form->addRow(m_cliente);
    m_form->addRow(QStringLiteral("Selecione data Inicial"), m_inicio);
    m_form->addRow(QStringLiteral("Selecione data Final"), m_fim);
    terminar();
}

std::unique_ptr<relatorio::Fonte> RelComissao::montar() {
    relatorio::FiltroComissao f;
    if (!lerPeriodo(m_inicio, m_fim, f.inicio, f.fim))
        return nullptr;
    f.cliente = m_cliente->id();
    return relatorio::relatorioComissao(*m_store, m_contexto.idEmpresa, f);
}

// -------------------------------------------------------------------------------------- Pedidos Consulta

RelPedidoConsulta::RelPedidoConsulta(const ListContext& contexto, QWidget* parent)
    : DialogoRelatorio(contexto, QStringLiteral("RelPedidoConsulta"),
                       QStringLiteral("Relatório de Pedidos Consulta"), parent) {
    m_inicio = entradaData("dataInicial");
    m_fim = entradaData("dataFinal");
    m_situacao = escolhas(this, "situacao",
                          {{QStringLiteral("Todas"), 0},
                           {QStringLiteral("Pendente"), 1},
                           {QStringLiteral("Liberado"), 2},
                           {QStringLiteral("Faturado"), 3},
                           {QStringLiteral("Cancelado"), 4}},
                          0);
    m_itens = new QCheckBox(QStringLiteral("Imprimir &itens"), this);
    m_itens->setObjectName(QStringLiteral("itens"));
    m_form->addRow(QStringLiteral("Selecione data Inicial"), m_inicio);
    m_form->addRow(QStringLiteral("Selecione data Final"), m_fim);
    m_form->addRow(QStringLiteral("&Situação:"), m_situacao);
    m_form->addRow(QString(), m_itens);
    terminar();
}

std::unique_ptr<relatorio::Fonte> RelPedidoConsulta::montar() {
    relatorio::FiltroPedidosConsulta f;
    if (!lerPeriodo(m_inicio, m_fim, f.inicio, f.fim))
        return nullptr;
    f.situacao = m_situacao->currentData().toInt();
    f.itens = m_itens->isChecked();
    return relatorio::relatorioPedidosConsulta(*m_store, m_contexto.idEmpresa, f);
}

// ------------------------------------------------------------------------------------ Clientes Inativos

RelClientesInativos::RelClientesInativos(const ListContext& contexto, QWidget* parent)
    : DialogoRelatorio(contexto, QStringLiteral("RelClientesInativos"),
                       QStringLiteral("Relatório de Clientes Inativos"), parent) {
    m_dias = new QSpinBox(this);
    m_dias->setObjectName(QStringLiteral("dias"));
    m_dias->setRange(1, 36500);
    m_dias->setValue(90);
    m_form->addRow(QStringLiteral("&Dias sem comprar:"), m_dias);
    terminar();
}

std::unique_ptr<relatorio::Fonte> RelClientesInativos::montar() {
    if (const QString erro = relatorio::conferirDias(m_dias->value()); !erro.isEmpty()) {
        MessageBox::show(erro, QStringLiteral("Aviso"), Icon::Warning, {Button::Ok}, Button::Ok, this);
        return nullptr;
    }
    return relatorio::relatorioClientesInativos(*m_store, m_contexto.idEmpresa,
                                                {m_dias->value(), Clock::today()});
}

} // namespace qav
