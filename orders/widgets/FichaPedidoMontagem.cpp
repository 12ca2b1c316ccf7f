// The order form's window: its tabs, entries, totals, buttons and rules panel, bound to the order's
// record.
#include "orders/widgets/FichaPedido.h"

#include "orders/widgets/MontagemFormulario.h"

#include "orders/core/SituacaoPedido.h"
#include "orders/widgets/ItensPedidoModelo.h"
#include "orders/widgets/PainelRegras.h"
#include "ui/widgets/WindowRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

// A name or other text beside an entry.
QLabel* valor(const char* nome) {
    auto* l = new QLabel;
    l->setObjectName(QString::fromLatin1(nome));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QHBoxLayout* linha(std::initializer_list<QWidget*> widgets, bool esticar = true) {
    auto* h = new QHBoxLayout;
    for (QWidget* w : widgets)
        h->addWidget(w);
    if (esticar)
        h->addStretch();
    return h;
}

} // namespace

using montagem::camposNaLinha;
using montagem::entrada;

// ---------------------------------------------------------------------------------------------
// Building the window

void FichaPedido::montar() {
    m_abas = new QTabWidget;
    m_abas->setObjectName(u"abas"_s);
    m_abas->addTab(montarAbaPedido(), u"Pedido"_s);
    m_abas->addTab(montarAbaProdutos(), u"Produtos"_s);
    m_abas->addTab(montarAbaOutras(), u"Outras Informações"_s);
    m_abaFlex = montarAbaFlex();
    m_abas->addTab(m_abaFlex, u"Flex"_s);
    m_obsEntrega = new QPlainTextEdit;
    m_obsEntrega->setObjectName(u"obsEntrega"_s);
    m_obsEntrega->setTabChangesFocus(true);
    m_campos.memo(m_obsEntrega, "OBS_ENTREGA");
    m_abas->addTab(m_obsEntrega, u"Observação Entrega"_s);
    m_abaAnalise = montarAbaAnalise();
    m_abas->addTab(m_abaAnalise, u"Analise"_s);

    // Below the tabs: the header discount and the totals of the whole order.
    m_descp = entrada("descp", 90);
    m_campos.real(m_descp, "DESCP");
    m_descv = entrada("descv", 120);
    m_campos.real(m_descv, "DESCV");
    m_ipi = montagem::figura("ipi");
    m_icmsSt = montagem::figura("icmsSt");
    m_total = montagem::figura("total");
    auto* totais = new QGridLayout;
    camposNaLinha(totais, 0,
                  {{u"Desconto %:"_s, m_descp},
                   {u"Valor Desconto:"_s, m_descv},
                   {u"IPI:"_s, m_ipi},
                   {u"ICMS-ST:"_s, m_icmsSt},
                   {u"Total:"_s, m_total}});
    totais->setColumnStretch(10, 1);

    m_ok = new QPushButton(u"&OK"_s);
    m_ok->setObjectName(u"ok"_s);
    m_ok->setDefault(true);
    m_cancelar = new QPushButton(u"&Cancelar"_s);
    m_cancelar->setObjectName(u"cancelar"_s);
    m_consultaPedidos = new QPushButton(u"Consulta &Pedidos"_s);
    m_consultaPedidos->setObjectName(u"consultaPedidos"_s);
    if (!WindowRegistry::has(janelaMenu::ConsultaPedidos)) {
        m_consultaPedidos->setEnabled(false);
        m_consultaPedidos->setToolTip(unavailableEntryTip());
    }
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(m_consultaPedidos);
    botoes->addStretch();
    botoes->addWidget(m_ok);
    botoes->addWidget(m_cancelar);

    auto* esquerda = new QVBoxLayout;
    esquerda->addWidget(m_abas, 1);
    esquerda->addLayout(totais);
    esquerda->addLayout(botoes);

    m_painelRegras = new PainelRegras;
    m_painelRegras->setMinimumWidth(260);
    m_painelRegras->setMaximumWidth(340);

    auto* principal = new QHBoxLayout(this);
    principal->addLayout(esquerda, 1);
    principal->addWidget(m_painelRegras);
    resize(1180, 640);
}

QWidget* FichaPedido::montarAbaPedido() {
    auto* aba = new QWidget;
    auto* f = new QFormLayout(aba);
    m_numero = valor("numero");
    m_data = valor("data");
    m_situacao = new QComboBox;
    m_situacao->setObjectName(u"situacao"_s);
    for (int s = situacao::Pendente; s <= situacao::Cancelado; ++s)
        m_situacao->addItem(situacao::texto(s), s);
    f->addRow(u"Número:"_s, linha({m_numero, new QLabel(u"   Data:"_s), m_data, new QLabel(u"   Situação:"_s),
                                   m_situacao}));

    m_cliente = entrada("cliente", 90);
    m_campos.inteiro(m_cliente, "CLIEN");
    m_clienteNome = valor("clienteNome");
    f->addRow(u"Id do Cliente:"_s, linha({m_cliente, m_clienteNome}));
    m_contato = entrada("contato", 240);
    m_campos.texto(m_contato, "CONTA");
    f->addRow(u"Contato:"_s, m_contato);
    m_formaPag = entrada("formaPag", 90);
    m_campos.inteiro(m_formaPag, "COD_FORMAPAG");
    m_formaPagNome = valor("formaPagNome");
    f->addRow(u"Forma de Pagamento:"_s, linha({m_formaPag, m_formaPagNome}));
    m_pauta = entrada("pauta", 90);
    m_campos.inteiro(m_pauta, "COD_PAUTA");
    m_pautaNome = valor("pautaNome");
    f->addRow(u"Pauta de Preços:"_s, linha({m_pauta, m_pautaNome}));
    m_tipo = new QComboBox;
    m_tipo->setObjectName(u"tipo"_s);
    f->addRow(u"Tipo do Pedido:"_s, linha({m_tipo}));
    m_vendedor = valor("vendedor");
    f->addRow(u"Vendedor:"_s, m_vendedor);
    m_numOc = entrada("numOc", 160);
    m_campos.texto(m_numOc, "NUM_OC");
    f->addRow(u"Número OC:"_s, m_numOc);
    m_codigoLiberacao = entrada("codigoLiberacao", 120);
    m_campos.inteiro(m_codigoLiberacao, "COD_LIBERACAO", 0, 0, 99999999);
    f->addRow(u"Código de Liberação:"_s, m_codigoLiberacao);
    m_obs = entrada("obs");
    m_campos.texto(m_obs, "OBS");
    f->addRow(u"Observação:"_s, m_obs);
    m_endEntrega = new QPushButton(u"En&d. Entrega"_s);
    m_endEntrega->setObjectName(u"endEntrega"_s);
    m_endereco = valor("endereco");
    m_endereco->setWordWrap(true);
    f->addRow(m_endEntrega, m_endereco);
    return aba;
}

QWidget* FichaPedido::montarAbaProdutos() {
    auto* aba = new QWidget;
    auto* v = new QVBoxLayout(aba);
    m_codigoBarras = entrada("codigoBarras", 220);
    m_codigoBarras->setMaxLength(20);
    v->addLayout(linha({new QLabel(u"Código de Barras:"_s), m_codigoBarras}));

    m_itens = new QTableView;
    m_itens->setObjectName(u"itens"_s);
    m_itensModelo = new ItensPedidoModelo(m_edicao->itens(), this);
    m_itens->setModel(m_itensModelo);
    m_itens->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A selected row would turn every header bold, an empty selection normal again.
    m_itens->horizontalHeader()->setHighlightSections(false);
    m_itens->setSelectionMode(QAbstractItemView::SingleSelection);
    m_itens->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_itens->verticalHeader()->hide();
    m_itens->setTabKeyNavigation(false);
    m_itens->horizontalHeader()->setSectionResizeMode(ItensPedidoModelo::Descricao, QHeaderView::Stretch);
    for (int c : {ItensPedidoModelo::Codigo, ItensPedidoModelo::Quantidade, ItensPedidoModelo::Preco,
                  ItensPedidoModelo::Desconto, ItensPedidoModelo::Total})
        m_itens->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    v->addWidget(m_itens, 1);

    m_itens->setContextMenuPolicy(Qt::CustomContextMenu);
    m_itemNovo = new QPushButton(u"&Novo"_s);
    m_itemNovo->setObjectName(u"itemNovo"_s);
    m_itemEditar = new QPushButton(u"&Editar"_s);
    m_itemEditar->setObjectName(u"itemEditar"_s);
    m_itemExcluir = new QPushButton(u"E&xcluir"_s);
    m_itemExcluir->setObjectName(u"itemExcluir"_s);
    v->addLayout(linha({m_itemNovo, m_itemEditar, m_itemExcluir}));

    m_txFrete = entrada("txFrete", 80);
    m_campos.decimal(m_txFrete, "TX_FRETE");
    m_frete = entrada("frete", 120);
    m_campos.real(m_frete, "FRETE");
    m_fconta = new QComboBox;
    m_fconta->setObjectName(u"fconta"_s);
    m_fconta->addItem(u"Emitente (CIF)"_s, 1);
    m_fconta->addItem(u"Destinatário (FOB)"_s, 2);
    m_campos.opcao(m_fconta, "FCONTA");
    m_produtoEntregue = new QCheckBox(u"Produto Entregue"_s);
    m_produtoEntregue->setObjectName(u"produtoEntregue"_s);
    m_campos.marca(m_produtoEntregue, "PRODUTO_ENTREGUE");
    m_totQtdade = montagem::figura("totQtdade");
    auto* frete = new QGridLayout;
    camposNaLinha(
        frete, 0,
        {{u"Frete %:"_s, m_txFrete}, {u"Valor Frete:"_s, m_frete}, {u"Frete por conta:"_s, m_fconta}});
    frete->addWidget(m_produtoEntregue, 1, 0, 1, 2);
    frete->addWidget(montagem::rotulo(u"Quantidade Total:"_s), 1, 2);
    frete->addWidget(m_totQtdade, 1, 3);
    frete->setColumnStretch(6, 1);
    v->addLayout(frete);
    return aba;
}

QWidget* FichaPedido::montarAbaOutras() {
    auto* aba = new QWidget;
    auto* f = new QFormLayout(aba);
    m_descp2 = entrada("descp2", 90);
    m_campos.real(m_descp2, "DESCP2");
    m_descp3 = entrada("descp3", 90);
    m_campos.real(m_descp3, "DESCP3");
    m_descp4 = entrada("descp4", 90);
    m_campos.real(m_descp4, "DESCP4");
    f->addRow(u"Desconto 2 %:"_s, m_descp2);
    f->addRow(u"Desconto 3 %:"_s, m_descp3);
    f->addRow(u"Desconto 4 %:"_s, m_descp4);
    m_transp = entrada("transp", 90);
    m_campos.inteiro(m_transp, "TRANSP");
    m_transpNome = valor("transpNome");
    f->addRow(u"Transportador:"_s, linha({m_transp, m_transpNome}));
    m_redesp = entrada("redesp", 90);
    m_campos.inteiro(m_redesp, "REDESP");
    m_redespNome = valor("redespNome");
    f->addRow(u"Redespacho:"_s, linha({m_redesp, m_redespNome}));
    return aba;
}

QWidget* FichaPedido::montarAbaFlex() {
    auto* aba = new QWidget;
    auto* f = new QFormLayout(aba);
    f->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_vlFlex = montagem::figura("vlFlex");
    m_saldoFlex = montagem::figura("saldoFlex");
    m_saldoFlexEmpresa = montagem::figura("saldoFlexEmpresa");
    m_flexOutrosDeb = montagem::figura("flexOutrosDeb");
    m_flexOutrosCre = montagem::figura("flexOutrosCre");
    f->addRow(u"Flex do Pedido:"_s, m_vlFlex);
    f->addRow(u"Saldo Disponível Flex:"_s, m_saldoFlex);
    f->addRow(u"Saldo Flex (Empresa):"_s, m_saldoFlexEmpresa);
    f->addRow(u"Flex de Outros Pedidos (-):"_s, m_flexOutrosDeb);
    f->addRow(u"Flex de Outros Pedidos (+):"_s, m_flexOutrosCre);
    return aba;
}

QWidget* FichaPedido::montarAbaAnalise() {
    auto* aba = new QWidget;
    auto* v = new QVBoxLayout(aba);
    m_analise = new QTreeWidget;
    m_analise->setObjectName(u"analise"_s);
    m_analise->setRootIsDecorated(false);
    m_analise->setHeaderLabels({u"Id"_s, u"Descrição"_s, u"Preço"_s, u"ICMS"_s, u"PIS"_s, u"COFINS"_s,
                                u"M3"_s, u"Peso"_s, u"Bruto"_s, u"Líq."_s});
    m_analise->headerItem()->setToolTip(3, u"Tributos"_s);
    m_analise->headerItem()->setToolTip(4, u"Tributos"_s);
    m_analise->headerItem()->setToolTip(5, u"Tributos"_s);
    m_analise->headerItem()->setToolTip(8, u"Fator"_s);
    m_analise->headerItem()->setToolTip(9, u"Fator"_s);
    m_analise->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_analise->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_analise->header()->setStretchLastSection(false);
    v->addWidget(m_analise, 1);
    m_regiao = valor("regiao");
    m_custoM3 = valor("custoM3");
    m_carregamento = new QComboBox;
    m_carregamento->setObjectName(u"carregamento"_s);
    m_ttTributos = montagem::figura("ttTributos");
    m_ttComissao = montagem::figura("ttComissao");
    m_ttFrete = montagem::figura("ttFrete");
    auto* g = new QGridLayout;
    camposNaLinha(
        g, 0,
        {{u"Região:"_s, m_regiao}, {u"Valor Custo M3:"_s, m_custoM3}, {u"Carregamento:"_s, m_carregamento}});
    camposNaLinha(g, 1,
                  {{u"Tributos:"_s, m_ttTributos}, {u"Comissão:"_s, m_ttComissao}, {u"Frete:"_s, m_ttFrete}});
    g->setColumnStretch(6, 1);
    v->addLayout(g);
    return aba;
}

} // namespace qav
