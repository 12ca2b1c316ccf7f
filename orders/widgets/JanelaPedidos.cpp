#include "orders/widgets/JanelaPedidos.h"

#include "base/core/Settings.h"
#include "customers/widgets/JanelaClientes.h"
#include "customers/widgets/JanelaVendedores.h"
#include "orders/core/ManutencaoPedido.h"
#include "orders/core/RascunhoPedido.h"
#include "orders/core/ReferenciasPedido.h"
#include "orders/core/SituacaoPedido.h"
#include "orders/widgets/CabecalhoAgrupado.h"
#include "orders/widgets/ExclusaoPedido.h"
#include "orders/widgets/FormularioPedido.h"
#include "store/core/Clock.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

namespace qav {

namespace {
const char* const kChaves[] = {"KEYNUMER", "KEYCLIEN", "KEYVENDE"};

void semJanela(QPushButton* button) {
    button->setEnabled(false);
    button->setToolTip(unavailableEntryTip());
}
} // namespace

std::vector<ListColumn> JanelaPedidos::columns(JanelaPedidos* self) {
    const TableDef& t = tableDef("pedidos");
    const int numErp = t.fieldIndex("NUM_ERP");
    const int situa = t.fieldIndex("SITUA");
    const int clien = t.fieldIndex("CLIEN");
    return {ListColumn::digits(t, QStringLiteral("QAV"), "NUMER", 8),
            ListColumn::computed(
                QStringLiteral("ERP"),
                [numErp](const Record& p) {
                    const std::int64_t erp = p.integer(numErp);
                    return erp == 0 ? QString() : QStringLiteral("%1").arg(erp, 9, 10, QLatin1Char('0'));
                },
                true),
            ListColumn::computed(
                QStringLiteral("S"),
                [situa](const Record& p) { return situacao::letra(static_cast<int>(p.integer(situa))); }),
            ListColumn::date(t, QStringLiteral("Data"), "DATA"),
            ListColumn::computed(QStringLiteral("Cliente"),
                                 [self, clien](const Record& p) {
                                     return self->m_nomes.razao(static_cast<int>(p.integer(clien)));
                                 }),
            ListColumn::decimal(t, QStringLiteral("Total"), "TOTAL", 2)};
}

JanelaPedidos::JanelaPedidos(const ListContext& context, QWidget* parent)
    : ListWindow(std::make_shared<Store>(context.dataFolder), tableDef("pedidos"), columns(this),
                 QStringLiteral("Pedidos"), parent),
      m_context(context), m_nomes(store()), m_situacao(new QComboBox(this)), m_locatorLabel(new QLabel(this)),
      m_locator(new QLineEdit(this)), m_clienteRow(new QWidget(this)), m_clienteNome(new QLabel(this)),
      m_vendedorRow(new QWidget(this)), m_vendedorNome(new QLabel(this)) {
    setObjectName(QStringLiteral("BrowsePEDIDO"));
    auto* header = new CabecalhoAgrupado(Qav, Erp, QStringLiteral("Número Pedido"), view());
    header->setStretchLastSection(true);
    view()->setHorizontalHeader(header);
    // The new header hears of a reload after the list has put the highlight on the first row, and
    // takes it away: put it back once the header is done.
    connect(model(), &QAbstractItemModel::modelReset, this, [this] {
        if (currentRow() < 0 && model()->rowCount() > 0)
            setCurrentRow(0);
    });
    QTabBar* bar = addTabs({QStringLiteral("Número"), QStringLiteral("Cliente"), QStringLiteral("Vendedor")});

    auto* options = new QHBoxLayout;
    auto* situacaoLabel = new QLabel(QStringLiteral("Situação:"), this);
    situacaoLabel->setBuddy(m_situacao);
    m_situacao->setObjectName(QStringLiteral("situacao"));
    const char* const nomes[] = {"Pendente", "Liberado", "Transmitido", "Cancelado", "Todas"};
    for (int valor = 1; valor <= 5; ++valor)
        m_situacao->addItem(QString::fromUtf8(nomes[valor - 1]), valor);
    options->addWidget(situacaoLabel);
    options->addWidget(m_situacao);
    options->addSpacing(16);

    // Tab "Número": the locator.
    m_locator->setObjectName(QStringLiteral("localizador"));
    m_locator->setMaxLength(8);
    m_locatorLabel->setText(QStringLiteral("Número:"));
    m_locatorLabel->setBuddy(m_locator);
    options->addWidget(m_locatorLabel);
    options->addWidget(m_locator);

    // Tabs "Cliente" and "Vendedor": the choice of the one customer or representative shown.
    const auto choiceRow = [this](QWidget* row, const QString& caption, const char* name, QLabel* shown,
                                  void (JanelaPedidos::*choose)()) {
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* button = new QPushButton(caption, row);
        button->setObjectName(QString::fromLatin1(name));
        shown->setParent(row);
        shown->setObjectName(QString::fromLatin1(name) + QStringLiteral("Nome"));
        layout->addWidget(button);
        layout->addWidget(shown, 1);
        connect(button, &QPushButton::clicked, this, choose);
    };
    choiceRow(m_clienteRow, QStringLiteral("Seleciona Cliente"), "selecionaCliente", m_clienteNome,
              &JanelaPedidos::selecionaCliente);
    choiceRow(m_vendedorRow, QStringLiteral("Seleciona &Vendedor"), "selecionaVendedor", m_vendedorNome,
              &JanelaPedidos::selecionaVendedor);
    options->addWidget(m_clienteRow, 1);
    options->addWidget(m_vendedorRow, 1);
    options->addStretch();
    topArea()->addLayout(options);

    setActions(Insert | Change | Delete);
    QPushButton* imprimir = addRecordButton(
        QStringLiteral("&Imprimir / PDF / e-mail"), QStringLiteral("botaoImprimir"), [this](const Record& p) {
            if (const ImprimirPedido& imprime = janelasPedido::impressao())
                imprime(this, m_context, static_cast<int>(p.integer("ID")));
        });
    addRecordButton(QStringLiteral("Duplicar"), QStringLiteral("botaoDuplicar"),
                    [this](const Record& p) { duplicar(p); });
    if (!janelasPedido::formulario()) {
        // After the list's own update of its buttons, so that they stay off.
        connect(view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &JanelaPedidos::keepFormButtonsOff);
        connect(model(), &QAbstractItemModel::modelReset, this, &JanelaPedidos::keepFormButtonsOff);
    }
    if (!janelasPedido::impressao()) {
        connect(view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [imprimir] { semJanela(imprimir); });
        connect(model(), &QAbstractItemModel::modelReset, this, [imprimir] { semJanela(imprimir); });
        semJanela(imprimir);
    }

    const int lido = Settings(m_context.programFolder).pedidosSituacao();
    m_qsit = lido >= 1 && lido <= situacao::Todas ? lido : situacao::Todas;
    m_situacao->setCurrentIndex(m_qsit - 1);
    connect(m_situacao, &QComboBox::currentIndexChanged, this,
            [this](int index) { setSituacaoFiltro(index + 1); });
    connect(m_locator, &QLineEdit::textEdited, this, &JanelaPedidos::localizarNumero);

    model()->open();
    connect(bar, &QTabBar::currentChanged, this, &JanelaPedidos::chooseTab);
    chooseTab(TabNumero);
    keepFormButtonsOff();
    fitColumns();
    // Once the list is on the screen.
    QTimer::singleShot(0, this, &JanelaPedidos::recuperarRascunhos);
}

JanelaPedidos::~JanelaPedidos() {
    Settings(m_context.programFolder).setPedidosSituacao(m_qsit);
}

void JanelaPedidos::keepFormButtonsOff() {
    if (janelasPedido::formulario())
        return;
    for (const char* name : {"botaoNovo", "botaoEditar"})
        if (auto* button = findChild<QPushButton*>(QString::fromLatin1(name)))
            semJanela(button);
}

void JanelaPedidos::chooseTab(int tab) {
    if (tab < TabNumero || tab > TabVendedor)
        return;
    m_locatorLabel->setVisible(tab == TabNumero);
    m_locator->setVisible(tab == TabNumero);
    m_locator->clear();
    m_clienteRow->setVisible(tab == TabCliente);
    m_vendedorRow->setVisible(tab == TabVendedor);
    model()->setOrder(kChaves[tab]);
    recarregar();
}

void JanelaPedidos::applyFilter() {
    // Every tab: the active company's orders in the chosen situation (5: all of them); the
    // customer and representative tabs only those of the one chosen.
    std::string condition = "ID_EMPRESA = ?";
    std::vector<QVariant> parameters{m_context.idEmpresa};
    if (m_qsit != situacao::Todas) {
        condition += " AND SITUA = ?";
        parameters.emplace_back(m_qsit);
    }
    const int tab = tabs()->currentIndex();
    if (tab == TabCliente) {
        condition += " AND CLIEN = ?";
        parameters.emplace_back(m_idCliente);
    } else if (tab == TabVendedor) {
        condition += " AND COD_VENDEDOR = ?";
        parameters.emplace_back(m_codVendedor);
    }
    model()->setFilter(condition, parameters);
}

void JanelaPedidos::recarregar() {
    applyFilter();
    m_nomes.esquecer();
    model()->reload();
}

void JanelaPedidos::dadosAlterados() {
    m_nomes.esquecer();
    ListWindow::dadosAlterados();
}

void JanelaPedidos::setSituacaoFiltro(int qsit) {
    if (qsit < 1 || qsit > situacao::Todas)
        return;
    m_qsit = qsit;
    if (m_situacao->currentIndex() != qsit - 1)
        m_situacao->setCurrentIndex(qsit - 1); // comes back here through the signal
    else
        recarregar();
}

void JanelaPedidos::setCliente(int idCliente) {
    m_idCliente = idCliente;
    m_clienteNome->setText(idCliente == 0 ? QString() : m_nomes.razao(idCliente));
    if (tabs()->currentIndex() == TabCliente)
        recarregar();
}

void JanelaPedidos::setVendedor(int codVendedor) {
    m_codVendedor = codVendedor;
    QString nome;
    Table vendedores(store(), "vendedor");
    if (codVendedor != 0 && vendedores.open()) {
        vendedores.rec().setInteger("CODIGO", codVendedor);
        vendedores.rec().setInteger("ID_EMPRESA", m_context.idEmpresa);
        if (vendedores.get("KEYCODIGO") == Status::Ok)
            nome = vendedores.rec().text("NOME").trimmed();
    }
    m_vendedorNome->setText(nome);
    if (tabs()->currentIndex() == TabVendedor)
        recarregar();
}

void JanelaPedidos::selecionaCliente() {
    const ContextoClientes contexto{m_context.dataFolder, m_context.programFolder, m_context.idEmpresa};
    if (const std::optional<std::int64_t> id = selecionarCliente(contexto, this, m_idCliente))
        setCliente(static_cast<int>(*id));
}

void JanelaPedidos::selecionaVendedor() {
    if (const std::optional<int> codigo = JanelaVendedores::selecionar(this, m_context))
        setVendedor(*codigo);
}

void JanelaPedidos::localizarNumero(const QString& text) {
    bool ok = false;
    const int numero = text.trimmed().toInt(&ok);
    if (!ok) {
        model()->reload();
        return;
    }
    const int antes = current() ? static_cast<int>(current()->integer("ID")) : 0;
    Record values(model()->def());
    values.setInteger("NUMER", numero);
    if (const std::optional<int> row = model()->locate(values, 1))
        setCurrentRow(*row);
    else if (!posicionarNoPedido(antes)) // no number from there on: the highlight stays where it was
        model()->reload();
}

bool JanelaPedidos::posicionarNoPedido(int idPedido) {
    Table pedidos(store(), "pedidos");
    if (idPedido == 0 || !pedidos.open())
        return false;
    pedidos.rec().setInteger("ID", idPedido);
    if (pedidos.get("KEYID") != Status::Ok)
        return false;
    const TableDef& def = model()->def();
    const KeyDef& key = def.keys[static_cast<size_t>(def.keyIndex(model()->order()))];
    if (!model()->locate(pedidos.rec(), static_cast<int>(key.components.size())))
        return false;
    const int row = model()->findLoaded(def.fieldIndex("ID"), idPedido);
    setCurrentRow(row);
    return row >= 0;
}

void JanelaPedidos::inserir() {
    const AbrirFormularioPedido& abrir = janelasPedido::formulario();
    if (!abrir)
        return;
    // On the customer and representative tabs the new order starts with the one chosen there.
    Record novo(model()->def());
    const int tab = tabs()->currentIndex();
    if (tab == TabCliente)
        novo.setInteger("CLIEN", m_idCliente);
    else if (tab == TabVendedor)
        novo.setInteger("COD_VENDEDOR", m_codVendedor);
    const std::optional<int> id = abrir(this, m_context, {Requisicao::Inserir, &novo});
    recarregar();
    if (id)
        posicionarNoPedido(*id);
}

void JanelaPedidos::alterar(const Record& pedido) {
    const AbrirFormularioPedido& abrir = janelasPedido::formulario();
    if (!abrir)
        return;
    const Record copia = pedido; // the list reloads under it
    const int id = static_cast<int>(copia.integer("ID"));
    abrir(this, m_context, {Requisicao::Alterar, &copia});
    recarregar();
    posicionarNoPedido(id);
}

void JanelaPedidos::excluir(const Record& pedido) {
    const int row = currentRow();
    if (!excluirPedidoConfirmado(this, store(), static_cast<int>(pedido.integer("ID")),
                                 static_cast<int>(pedido.integer("SITUA"))))
        return;
    recarregar();
    setCurrentRow(std::min(row, model()->rowCount() - 1));
}

void JanelaPedidos::recuperarRascunhos() {
    const AbrirFormularioPedido& abrir = janelasPedido::formulario();
    if (!abrir)
        return;
    for (const RascunhoPedido& r : rascunho::pendentes(m_context.dataFolder, m_context.idEmpresa)) {
        QString cliente = referencias::nomeCliente(store(), r.cliente).trimmed();
        if (cliente.isEmpty())
            cliente = QString::number(r.cliente);
        const QString pergunta = QStringLiteral("Recuperar o pedido não gravado do cliente %1 (%2 itens)?")
                                     .arg(cliente)
                                     .arg(r.itens.size());
        if (MessageBox::show(pergunta, QStringLiteral("Confirma"), Icon::Question, {Button::Yes, Button::No},
                             Button::Yes, this) != Button::Yes) {
            rascunho::remover(r.arquivo);
            continue;
        }
        const std::optional<int> id =
            abrir(this, m_context, {r.novo ? Requisicao::Inserir : Requisicao::Alterar, &r.pedido, &r});
        recarregar();
        if (id)
            posicionarNoPedido(*id);
    }
}

void JanelaPedidos::duplicar(const Record& pedido) {
    const QString pergunta = QStringLiteral("Confirma duplicar pedido # %1?").arg(pedido.integer("NUMER"));
    if (MessageBox::show(pergunta, QStringLiteral("CONFIRME?"), Icon::Question, {Button::Yes, Button::No},
                         Button::Yes, this) != Button::Yes)
        return;
    const ResultadoPedido r = duplicarPedido(store(), static_cast<int>(pedido.integer("ID")), Clock::today());
    if (r.falha == ResultadoPedido::Falha::Arquivo)
        MessageBox::show(r.mensagem, QStringLiteral("Erro"), Icon::Critical, {Button::Ok}, Button::Ok, this);
    recarregar();
    if (r.ok())
        posicionarNoPedido(r.idPedido);
}

} // namespace qav
