#include "queries/widgets/ConsultaPedido.h"

#include "queries/core/PedidoHistoricoImpresso.h"
#include "queries/widgets/AberturaJanela.h"
#include "queries/widgets/CabecalhoGrupos.h"
#include "queries/widgets/EntradaCliente.h"
#include "queries/widgets/FichaPedidoHistorico.h"
#include "queries/widgets/PedidosHistoricoModelo.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/DadosAlterados.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

namespace qav {

ConsultaPedido::ConsultaPedido(const ListContext& contexto, QWidget* parent)
    : QWidget(parent), m_contexto(contexto), m_store(std::make_unique<Store>(contexto.dataFolder)) {
    setObjectName(QStringLiteral("ConsultaPedido"));
    setWindowTitle(QStringLiteral("Consulta Pedidos"));
    montar();
    // A communication run brings the office's history and titles.
    connect(&DadosAlterados::instancia(), &DadosAlterados::alterados, this, &ConsultaPedido::recarregar);
    resize(1100, 560);
}

ConsultaPedido::~ConsultaPedido() = default;

void ConsultaPedido::montar() {
    auto* layout = new QVBoxLayout(this);
    m_cliente = new EntradaCliente(QStringLiteral("Cliente:"),
                                   {m_contexto.dataFolder, m_contexto.programFolder, m_contexto.idEmpresa},
                                   *m_store, this);
    layout->addWidget(m_cliente);

    using M = PedidosHistoricoModelo;
    m_modelo = new M(this);
    m_ordem = new OrdenacaoPorValor(m_modelo, this);
    m_lista = new QTableView(this);
    m_lista->setObjectName(QStringLiteral("lista"));
    auto* cabecalho = new CabecalhoGrupos(
        {{M::Pedido, M::Qav, QStringLiteral("Número")}, {M::Data, M::Sit, QStringLiteral("Pedido")}},
        m_lista);
    m_lista->setHorizontalHeader(cabecalho);
    m_lista->setModel(m_ordem);
    m_lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A selected row would turn every header bold, an empty selection normal again.
    m_lista->horizontalHeader()->setHighlightSections(false);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lista->verticalHeader()->hide();
    m_lista->setWordWrap(false);
    cabecalho->setStretchLastSection(true);
    cabecalho->setSortIndicatorShown(true);
    // Until a heading is clicked the orders stay newest first, as read.
    cabecalho->setSortIndicator(-1, Qt::AscendingOrder);
    m_lista->setSortingEnabled(true);
    m_lista->installEventFilter(this);
    layout->addWidget(m_lista, 1);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    m_consultar = new QPushButton(QStringLiteral("&Consultar"), this);
    m_consultar->setObjectName(QStringLiteral("consultar"));
    m_imprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    m_imprimir->setObjectName(QStringLiteral("imprimir"));
    auto* fechar = new QPushButton(QStringLiteral("&Fechar"), this);
    fechar->setObjectName(QStringLiteral("fechar"));
    botoes->addWidget(m_consultar);
    botoes->addWidget(m_imprimir);
    botoes->addWidget(fechar);
    layout->addLayout(botoes);

    connect(m_cliente, &EntradaCliente::escolhido, this, &ConsultaPedido::clienteEscolhido);
    connect(m_consultar, &QPushButton::clicked, this, &ConsultaPedido::consultar);
    connect(m_imprimir, &QPushButton::clicked, this, &ConsultaPedido::imprimir);
    connect(fechar, &QPushButton::clicked, this, [this] { fecharJanela(this); });
    connect(m_lista, &QTableView::doubleClicked, this, &ConsultaPedido::consultar);
    for (QWidget* filho : findChildren<QWidget*>())
        filho->installEventFilter(this);
    connect(m_lista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ConsultaPedido::atualizarBotoes);
    recarregar();
}

std::int64_t ConsultaPedido::cliente() const {
    return m_cliente->id();
}

void ConsultaPedido::setCliente(std::int64_t id) {
    m_cliente->definir(id);
    if (m_cliente->id() != 0)
        clienteEscolhido();
    else
        recarregar();
}

void ConsultaPedido::clienteEscolhido() {
    recarregar();
    const std::optional<consulta::Cliente>& c = m_cliente->cliente();
    if (!c)
        return;
    // The credit warning comes before the note, as on the order form.
    if (!c->creditoLiberado)
        MessageBox::show(QStringLiteral("Crédito não liberado para o cliente!"), QStringLiteral("Aviso"),
                         Icon::Warning, {Button::Ok}, Button::Ok, this);
    if (c->alerta)
        MessageBox::show(c->anotacao, QStringLiteral("Alerta Anotação Cliente"), Icon::Information,
                         {Button::Ok}, Button::Ok, this);
}

void ConsultaPedido::recarregar() {
    std::vector<historico::Pedido> pedidos;
    if (cliente() != 0) {
        const historico::Leitura leitura =
            historico::lerPedidos(*m_store, m_contexto.idEmpresa, cliente(), pedidos);
        if (!leitura.ok) {
            standardWarning(Aviso::ErroLerRegistro, leitura.erro, leitura.tabela, {}, this);
        }
    }
    m_modelo->mostrar(std::move(pedidos));
    if (m_ordem->rowCount() > 0)
        m_lista->setCurrentIndex(m_ordem->index(0, 0));
    m_lista->resizeColumnsToContents();
    // Sizing the columns to what they show takes the last one's stretch away: give it back, so that
    // the list reaches the window's edge.
    m_lista->horizontalHeader()->setStretchLastSection(false);
    m_lista->horizontalHeader()->setStretchLastSection(true);
    atualizarBotoes();
}

namespace {
bool altC(QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto* tecla = static_cast<QKeyEvent*>(event);
    return tecla->key() == Qt::Key_C && tecla->modifiers() == Qt::AltModifier;
}
} // namespace

bool ConsultaPedido::eventFilter(QObject* watched, QEvent* event) {
    // Alt+C is this window's "&Consultar", not the main menu's "&Cadastros": the key is claimed before
    // the menu bar's shortcut sees it, and not typed into the field that has the focus.
    if (altC(event)) {
        event->accept();
        if (event->type() == QEvent::ShortcutOverride && m_consultar->isEnabled())
            m_consultar->animateClick();
        return true;
    }
    // Enter on the list opens the highlighted order, as a double click does.
    if (watched == m_lista && event->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(event)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            consultar();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

const historico::Pedido* ConsultaPedido::atual() const {
    const QModelIndex indice = m_ordem->mapToSource(m_lista->currentIndex());
    if (!indice.isValid())
        return nullptr;
    return &m_modelo->pedidos()[static_cast<size_t>(indice.row())];
}

void ConsultaPedido::atualizarBotoes() {
    const bool algum = atual() != nullptr;
    m_consultar->setEnabled(algum);
    m_imprimir->setEnabled(algum);
}

void ConsultaPedido::consultar() {
    const historico::Pedido* pedido = atual();
    if (!pedido)
        return;
    FichaPedidoHistorico formulario(m_contexto, *pedido, this);
    formulario.exec();
}

void ConsultaPedido::imprimir() {
    const historico::Pedido* pedido = atual();
    if (!pedido)
        return;
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialogo(&impressora, this);
    dialogo.setWindowTitle(QStringLiteral("Imprimir"));
    if (dialogo.exec() != QDialog::Accepted)
        return;
    QString falha;
    const std::optional<consulta::PedidoHistoricoImpresso> documento =
        consulta::lerPedidoHistorico(*m_store, m_contexto.idEmpresa, pedido->idPedcon, &falha);
    if (!documento) {
        MessageBox::show(falha, QStringLiteral("Erro"), Icon::Critical, {Button::Ok}, Button::Ok, this);
        return;
    }
    QPrintPreviewDialog previa(&impressora, this);
    previa.setObjectName(QStringLiteral("previa"));
    previa.setWindowTitle(QStringLiteral("Pedido %1").arg(documento->pedido.numero));
    if (const QScreen* tela = screen())
        previa.resize(tela->availableSize() * 8 / 10);
    // The program folder holds the company's logo; it is the program's current folder.
    const QString pasta = m_contexto.programFolder.isEmpty() ? QDir::currentPath() : m_contexto.programFolder;
    connect(&previa, &QPrintPreviewDialog::paintRequested, this, [&documento, &pasta](QPrinter* destino) {
        consulta::desenharPedidoHistorico(*destino, *documento, true, pasta);
    });
    previa.exec();
}

} // namespace qav
