#include "orders/widgets/FichaItemPedido.h"

#include "orders/widgets/MontagemFormulario.h"

#include "base/core/WindowState.h"
#include "customers/widgets/ContextoClientes.h"
#include "orders/core/LeituraRegistro.h"
#include "store/core/FormatoBr.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowRegistry.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

enum AbaIndice { AbaItem, AbaAcessorios };

} // namespace

using montagem::camposNaLinha;
using montagem::entrada;
using montagem::rotulo;

FichaItemPedido::FichaItemPedido(const ListContext& contexto, Store& store, EdicaoPedido& pedido,
                                 const DadosPedido& dados, Requisicao requisicao, int indice,
                                 bool descontoPauta, QWidget* parent)
    : QDialog(parent), m_contexto(contexto), m_store(store), m_pedido(pedido), m_requisicao(requisicao),
      m_indice(indice), m_descontoPauta(descontoPauta), m_dados(dados),
      m_edicao(std::make_unique<EdicaoItem>(store, pedido, dados)), m_campos(*findTable("peditens.tps")) {
    setObjectName(u"UpdatePED_ITEN"_s);
    montar();
    ligar();
    const ContextoClientes clientes{contexto.dataFolder, contexto.programFolder, contexto.idEmpresa};
    WindowStateBinder::attach(this, janela::FichaItemPedido, clientes.iniJanelas());
}

FichaItemPedido::~FichaItemPedido() {
    // An entry left typed in loses its focus while the window goes: no rule runs then.
    for (QLineEdit* campo : findChildren<QLineEdit*>())
        campo->disconnect(this);
}

bool FichaItemPedido::executar(QWidget* parent, const ListContext& contexto, Store& store,
                               EdicaoPedido& pedido, const DadosPedido& dados, Requisicao requisicao,
                               int indice, bool descontoPauta) {
    FichaItemPedido form(contexto, store, pedido, dados, requisicao, indice, descontoPauta, parent);
    form.preparar();
    return form.exec() == QDialog::Accepted;
}

// ---------------------------------------------------------------------------------------------
// Building the window

void FichaItemPedido::montar() {
    m_abas = new QTabWidget;
    m_abas->setObjectName(u"abas"_s);
    m_abas->addTab(montarAbaItem(), u"Item do Pedido"_s);
    m_abaAcessorios = montarAbaAcessorios();
    m_abas->addTab(m_abaAcessorios, u"Acessórios"_s);

    m_ok = new QPushButton(u"&OK"_s);
    m_ok->setObjectName(u"ok"_s);
    m_ok->setDefault(true);
    m_cancelar = new QPushButton(u"&Cancelar"_s);
    m_cancelar->setObjectName(u"cancelar"_s);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(m_ok);
    botoes->addWidget(m_cancelar);

    auto* principal = new QVBoxLayout(this);
    principal->addWidget(m_abas, 1);
    principal->addLayout(botoes);
    ordemDeTabulacao();
    resize(860, 560);
}

QWidget* FichaItemPedido::montarAbaItem() {
    auto* aba = new QWidget;
    auto* g = new QGridLayout(aba);

    m_produto = entrada("produto", 160);
    m_produto->setMaxLength(14); // codes and bar codes are compared over 14 characters
    m_caracteristica = new QPushButton(u"Característica (F2)..."_s);
    m_caracteristica->setObjectName(u"caracteristica"_s);
    m_caracteristica->setAutoDefault(false);
    connect(m_caracteristica, &QPushButton::clicked, this, &FichaItemPedido::buscarPorCaracteristica);
    m_nomeProduto = new QLabel;
    m_nomeProduto->setObjectName(u"nomeProduto"_s);
    m_nomeProduto->setWordWrap(true);
    auto* linhaProduto = new QHBoxLayout;
    linhaProduto->addWidget(m_produto);
    linhaProduto->addWidget(m_caracteristica);
    linhaProduto->addWidget(m_nomeProduto, 1);
    g->addWidget(rotulo(u"Produto:"_s), 0, 0);
    g->addLayout(linhaProduto, 0, 1, 1, 5);

    m_qtd = entrada("qtd", 140);
    m_campos.decimal(m_qtd, "QTD");
    m_pecas = entrada("pecas", 90);
    m_campos.inteiro(m_pecas, "QTD_PECAS", 0, 0, 2147483647);
    m_comprimento = entrada("comprimento", 90);
    m_campos.inteiro(m_comprimento, "COMPRIMENTO", 0, 0, 2147483647);
    camposNaLinha(
        g, 1, {{u"Quantidade:"_s, m_qtd}, {u"Peças:"_s, m_pecas}, {u"Comprimento (mm):"_s, m_comprimento}});

    m_obs = entrada("obs");
    m_campos.texto(m_obs, "OBS");
    g->addWidget(rotulo(u"Observação:"_s), 2, 0);
    g->addWidget(m_obs, 2, 1, 1, 5);

    m_descp = entrada("descp", 90);
    m_campos.decimal(m_descp, "DESCP");
    m_descv = entrada("descv", 120);
    m_campos.decimal(m_descv, "DESCV");
    m_comisRotulo = rotulo(u"Comissão %:"_s);
    m_comis = entrada("comis", 90);
    m_campos.decimal(m_comis, "COMIS");
    g->addWidget(rotulo(u"Desconto %:"_s), 3, 0);
    g->addWidget(m_descp, 3, 1);
    g->addWidget(rotulo(u"Valor Desconto:"_s), 3, 2);
    g->addWidget(m_descv, 3, 3);
    g->addWidget(m_comisRotulo, 3, 4);
    g->addWidget(m_comis, 3, 5);

    m_pruni = new QComboBox;
    m_pruni->setObjectName(u"pruni"_s);
    m_pruni->setEditable(true);
    m_pruni->setInsertPolicy(QComboBox::NoInsert);
    m_pruni->setMaximumWidth(160);
    m_pruni->lineEdit()->setObjectName(u"pruniEntrada"_s);
    m_campos.decimal(m_pruni->lineEdit(), "PRUNI");
    m_ipi = montagem::figura("ipi");
    m_total = montagem::figura("total");
    camposNaLinha(g, 4, {{u"Preço Unitário:"_s, m_pruni}, {u"IPI:"_s, m_ipi}, {u"Total:"_s, m_total}});

    m_icmsSt = montagem::figura("icmsSt");
    m_totTrib = montagem::figura("totTrib");
    m_precoItem = montagem::figura("precoItem");
    camposNaLinha(g, 5,
                  {{u"ICMS-ST:"_s, m_icmsSt},
                   {u"Total com Tributos:"_s, m_totTrib},
                   {u"Preço p/Item Único:"_s, m_precoItem}});

    m_estoque = montagem::figura("estoque");
    m_classeAbc = montagem::figura("classeAbc", 40);
    m_unidade = montagem::figura("unidade", 60);
    m_lote = montagem::figura("lote");
    g->addWidget(rotulo(u"Estoque:"_s), 6, 0);
    g->addWidget(m_estoque, 6, 1);
    g->addWidget(rotulo(u"Classe ABC:"_s), 6, 2);
    auto* classeUnidade = new QHBoxLayout;
    classeUnidade->addWidget(m_classeAbc);
    classeUnidade->addWidget(rotulo(u"Unidade:"_s));
    classeUnidade->addWidget(m_unidade);
    g->addLayout(classeUnidade, 6, 3);
    g->addWidget(rotulo(u"Lote de Venda:"_s), 6, 4);
    g->addWidget(m_lote, 6, 5);

    m_numOc = entrada("numOc", 160);
    m_campos.texto(m_numOc, "NUM_OC");
    m_numItemOc = entrada("numItemOc", 90);
    m_campos.inteiro(m_numItemOc, "NUM_ITEM_OC", 0, 0, 2147483647);
    camposNaLinha(g, 7, {{u"Ordem de Compra:"_s, m_numOc}, {u"Item da OC:"_s, m_numItemOc}});

    m_ultimosPrecos = new QTreeWidget;
    m_ultimosPrecos->setObjectName(u"ultimosPrecos"_s);
    m_ultimosPrecos->setRootIsDecorated(false);
    m_ultimosPrecos->setHeaderLabels({u"Pedido"_s, u"Data"_s, u"Quantidade"_s, u"Preço"_s, u"Variação"_s});
    m_ultimosPrecos->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Looked at, not typed in: the keyboard passes it by on the way to "&OK".
    m_ultimosPrecos->setFocusPolicy(Qt::ClickFocus);
    g->addWidget(new QLabel(u"Últimos Preços:"_s), 8, 0, 1, 6);
    g->addWidget(m_ultimosPrecos, 9, 0, 1, 6);
    g->setRowStretch(9, 1);
    g->setColumnStretch(5, 1);
    return aba;
}

QWidget* FichaItemPedido::montarAbaAcessorios() {
    auto* aba = new QWidget;
    auto* v = new QVBoxLayout(aba);
    m_acessoriosItem = new QTableWidget(0, 3);
    m_acessoriosItem->setObjectName(u"acessoriosItem"_s);
    m_acessoriosItem->setHorizontalHeaderLabels({u"Acessório"_s, u"Descrição"_s, u"Valor"_s});
    m_acessoriosItem->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_acessoriosItem->setSelectionMode(QAbstractItemView::SingleSelection);
    m_acessoriosItem->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_acessoriosItem->verticalHeader()->hide();
    m_acessoriosItem->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_acessoriosItem->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    v->addWidget(m_acessoriosItem, 1);

    m_subgrupo = new QComboBox;
    m_subgrupo->setObjectName(u"subgrupo"_s);
    m_acessorio = new QComboBox;
    m_acessorio->setObjectName(u"acessorio"_s);
    m_valorAcessorio = entrada("valorAcessorio", 120);
    CamposRegistro(*findTable("pedacess.tps")).limitar(m_valorAcessorio, "VALOR");
    m_adicionar = new QPushButton(u"&Adicionar"_s);
    m_adicionar->setObjectName(u"adicionar"_s);
    m_remover = new QPushButton(u"&Remover"_s);
    m_remover->setObjectName(u"remover"_s);
    auto* g = new QGridLayout;
    g->addWidget(rotulo(u"Acessório:"_s), 0, 0);
    g->addWidget(m_subgrupo, 0, 1);
    g->addWidget(m_acessorio, 0, 2);
    g->addWidget(rotulo(u"Valor"_s), 0, 3);
    g->addWidget(m_valorAcessorio, 0, 4);
    g->addWidget(m_adicionar, 0, 5);
    g->addWidget(m_remover, 0, 6);
    g->setColumnStretch(2, 1);
    v->addLayout(g);

    m_vlAcessorios = montagem::figura("vlAcessorios");
    m_vlProduto = montagem::figura("vlProduto");
    m_pruniAcessorios = montagem::figura("pruniAcessorios");
    auto* t = new QGridLayout;
    camposNaLinha(t, 0,
                  {{u"Valor Acessórios p/Unidade:"_s, m_vlAcessorios},
                   {u"Valor Produto p/Unidade:"_s, m_vlProduto},
                   {u"Preço Unitário:"_s, m_pruniAcessorios}});
    t->setColumnStretch(6, 1);
    v->addLayout(t);
    return aba;
}

// Enter and Tab go down the item as the representative fills it in, from the product to "&OK".
void FichaItemPedido::ordemDeTabulacao() {
    const QList<QWidget*> ordem{m_produto, m_qtd,   m_pecas, m_comprimento, m_obs, m_descp,   m_descv,
                                m_comis,   m_pruni, m_numOc, m_numItemOc,   m_ok,  m_cancelar};
    for (qsizetype i = 1; i < ordem.size(); ++i)
        QWidget::setTabOrder(ordem[i - 1], ordem[i]);
}

// ---------------------------------------------------------------------------------------------
// Opening

void FichaItemPedido::preparar() {
    if (m_requisicao == Requisicao::Inserir)
        m_edicao->novo();
    else
        m_edicao->abrir(m_indice);
    if (m_edicao->somenteLeitura() && m_requisicao != Requisicao::Consultar) {
        m_requisicao = Requisicao::Consultar;
        MessageBox::show(u"Pedido já transmitido! Somente consulta disponível!"_s, u"Aviso"_s, Icon::Warning,
                         {Button::Ok}, Button::Ok, parentWidget());
    }
    setWindowTitle(m_requisicao == Requisicao::Inserir   ? u"Novo Item"_s
                   : m_requisicao == Requisicao::Alterar ? u"Editar Item"_s
                                                         : u"Consulta Item"_s);
    carregarSubgrupos();
    paraTela();
    carregarPrecosOferecidos();
    carregarUltimosPrecos();
    if (m_requisicao == Requisicao::Consultar) {
        modoConsulta();
        m_cancelar->setFocus();
    } else {
        m_produto->setFocus();
    }
}

void FichaItemPedido::modoConsulta() {
    m_campos.somenteLeitura(true);
    m_produto->setReadOnly(true);
    for (QWidget* w : std::initializer_list<QWidget*>{m_pruni, m_subgrupo, m_acessorio, m_valorAcessorio,
                                                      m_adicionar, m_remover, m_ok, m_caracteristica})
        w->setEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Showing the item

void FichaItemPedido::paraTela() {
    const Record& i = m_edicao->item();
    m_campos.carregar(i);
    mostrarProduto();
    m_ipi->setText(br::numero(i.decimal("VL_IPI"), 2));
    m_total->setText(br::numero(i.decimal("TOTAL"), 2));
    m_icmsSt->setText(br::numero(i.decimal("VL_ICMSST"), 2));
    const ResultadoItem& r = m_edicao->resultado();
    m_totTrib->setText(br::numero(r.TOT_TRIB, 2));
    m_precoItem->setText(br::numero(r.PRECO_ITEM, 4));
    mostrarAcessorios();
    habilitarCampos();
}

void FichaItemPedido::mostrarProduto() {
    const Produto& p = m_edicao->produto();
    const int id = static_cast<int>(m_edicao->item().integer("PRODU"));
    if (id != m_idLinhaPauta) {
        // The product's row in the order's price list says whether the price comes from a rate.
        m_idLinhaPauta = id;
        m_linhaPauta.reset();
        Table linhas(m_store, "pauxpro");
        PautaProduto linha;
        if (id != 0 && m_dados.pauta && linhas.open() &&
            leitura::linha(linhas, "KEYPRODUTO", {{"ID_PROD", id}, {"ID_PAUTA", m_dados.pauta->ID}}, linha) ==
                Status::Ok)
            m_linhaPauta = linha;
    }
    const bool escolhido = id != 0;
    if (escolhido && !m_produto->isModified())
        m_produto->setText(p.CODIGO.trimmed());
    m_nomeProduto->setText(escolhido ? p.NOME.trimmed() : QString());
    m_unidade->setText(escolhido ? p.UNIDA.trimmed() : QString());
    m_lote->setText(escolhido ? br::numero(p.LOTE_MUL_VENDA, 3) : QString());
    m_estoque->setText(escolhido ? br::numero(p.QTD_ESTOQUE, 3) : QString());
    m_classeAbc->setText(escolhido ? p.CLASSE_ABC.trimmed() : QString());
}

void FichaItemPedido::habilitarCampos() {
    const Produto& produto = m_edicao->produto();
    const bool acessoriosPossiveis = produto.PERMITE_ACESSORIOS.trimmed() == u"S"_s ||
                                     produto.COD_ACESS1 != 0 || produto.COD_ACESS2 != 0 ||
                                     produto.COD_ACESS3 != 0 || !m_edicao->acessorios().empty();
    m_abas->setTabEnabled(AbaAcessorios, acessoriosPossiveis);
    m_comisRotulo->setVisible(m_edicao->comissaoVisivel());
    m_comis->setVisible(m_edicao->comissaoVisivel());
    if (m_requisicao == Requisicao::Consultar)
        return;

    const Record& i = m_edicao->item();
    // Products sold by pieces x length have their quantity computed as the weight.
    const bool porPeca = produto.vendidoPorPeca();
    m_qtd->setReadOnly(porPeca);
    m_pecas->setEnabled(porPeca);
    m_comprimento->setEnabled(porPeca);

    const int tipo = static_cast<int>(m_pedido.pedido().integer("TIPOV"));
    const bool semPreco = tipo == 4 || tipo == 6 || tipo == 7; // these order types are not priced here
    const bool descontosBloqueados = m_dados.qavcfg.descontosBloqueados();
    // With accessories the unit price is the product's plus theirs: it is set on the product value.
    const bool precoLivre = i.decimal("VALOR_ACESSORIOS") <= Decimal() && !semPreco;
    // A list that prices the product by a commission rate sets the price through the rate.
    const bool precoTravado =
        m_linhaPauta && !m_linhaPauta->TX_COMISSAO.isZero() && !m_linhaPauta->PRECO1.isZero();
    m_pruni->setEnabled(precoLivre);
    m_pruni->lineEdit()->setReadOnly(precoTravado);
    m_descp->setEnabled(!semPreco && (!descontosBloqueados || m_descontoPauta));
    m_descv->setEnabled(!semPreco && !descontosBloqueados && i.decimal("DESCP") <= Decimal());
}

void FichaItemPedido::mostrarAcessorios() {
    const std::vector<Record>& linhas = m_edicao->acessorios();
    const int selecionada = m_acessoriosItem->currentRow();
    m_acessoriosItem->setRowCount(0);
    for (const Record& a : linhas) {
        const int linha = m_acessoriosItem->rowCount();
        m_acessoriosItem->insertRow(linha);
        const int id = static_cast<int>(a.integer("ID_ACESSORIO"));
        QString descricao;
        for (const AcessorioOferecido& o :
             m_edicao->acessoriosDoSubgrupo(static_cast<int>(a.integer("COD_SUBGRUPO"))))
            if (o.id == id)
                descricao = o.descricao.trimmed();
        auto* valorCelula = new QTableWidgetItem(br::numero(a.decimal("VALOR"), 2));
        valorCelula->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_acessoriosItem->setItem(linha, 0, new QTableWidgetItem(QString::number(id)));
        m_acessoriosItem->setItem(linha, 1, new QTableWidgetItem(descricao));
        m_acessoriosItem->setItem(linha, 2, valorCelula);
    }
    if (selecionada >= 0 && selecionada < m_acessoriosItem->rowCount())
        m_acessoriosItem->selectRow(selecionada);
    const Record& i = m_edicao->item();
    m_vlAcessorios->setText(br::numero(i.decimal("VALOR_ACESSORIOS"), 2));
    m_vlProduto->setText(br::numero(i.decimal("VALOR_PRODUTO"), 4));
    m_pruniAcessorios->setText(br::numero(i.decimal("PRUNI"), 4));
}

void FichaItemPedido::carregarSubgrupos() {
    const QSignalBlocker calado(m_subgrupo);
    m_subgrupo->clear();
    if (m_edicao->item().integer("PRODU") != 0)
        for (const SubgrupoAcessorio& s : m_edicao->subgrupos())
            m_subgrupo->addItem(s.descricao.trimmed(), s.codigo);
    m_subgrupo->setCurrentIndex(m_subgrupo->count() > 0 ? 0 : -1); // the first one is offered
    carregarAcessoriosDoSubgrupo();
}

void FichaItemPedido::carregarAcessoriosDoSubgrupo() {
    const QSignalBlocker calado(m_acessorio);
    m_acessorio->clear();
    if (m_subgrupo->currentIndex() >= 0)
        for (const AcessorioOferecido& a : m_edicao->acessoriosDoSubgrupo(m_subgrupo->currentData().toInt()))
            m_acessorio->addItem(
                a.descricao.trimmed() + u"  "_s + br::numero(a.preco, 2),
                QVariant::fromValue(QList<QVariant>{a.id, QString::fromStdString(a.preco.toString(2))}));
    m_acessorio->setCurrentIndex(-1); // none chosen until the representative picks one
    m_valorAcessorio->clear();
}

void FichaItemPedido::carregarPrecosOferecidos() {
    const QSignalBlocker calado(m_pruni);
    const QString atual = m_pruni->lineEdit()->text();
    m_pruni->clear();
    for (const Decimal& preco : m_edicao->precosOferecidos())
        m_pruni->addItem(br::numero(preco, 4));
    m_pruni->setCurrentIndex(-1);
    m_pruni->lineEdit()->setText(atual);
    m_pruni->lineEdit()->setModified(false);
}

void FichaItemPedido::carregarUltimosPrecos() {
    m_ultimosPrecos->clear();
    if (m_edicao->item().integer("PRODU") == 0)
        return;
    for (const UltimoPreco& u : m_edicao->ultimosPrecos()) {
        auto* linha = new QTreeWidgetItem(m_ultimosPrecos);
        linha->setText(0, QString::number(u.numeroPedido));
        linha->setText(1, br::data(u.data));
        linha->setText(2, br::numero(u.quantidade, 3));
        linha->setText(3, br::numero(u.preco, 4));
        linha->setText(4, br::numero(u.variacao, 2));
        for (int c : {0, 2, 3, 4})
            linha->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void FichaItemPedido::mostrarMensagens(const Mensagens& mensagens) {
    for (const Mensagem& m : mensagens)
        if (!m.texto.isEmpty())
            MessageBox::show(m.texto, m.titulo.isEmpty() ? u"Aviso"_s : m.titulo, Icon::Warning, {Button::Ok},
                             Button::Ok, this);
}

} // namespace qav
