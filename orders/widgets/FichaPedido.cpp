#include "orders/widgets/FichaPedido.h"

#include "base/core/WindowState.h"
#include "customers/core/ConsultasCliente.h"
#include "customers/widgets/ContextoClientes.h"
#include "orders/core/AnaliseLucro.h"
#include "orders/core/CamposPedido.h"
#include "orders/core/ReferenciasPedido.h"
#include "orders/core/SituacaoPedido.h"
#include "orders/widgets/ExclusaoPedido.h"
#include "orders/widgets/ItensPedidoModelo.h"
#include "orders/widgets/PainelRegras.h"
#include "orders/widgets/TeclasFormulario.h"
#include "store/core/Clock.h"
#include "store/core/FormatoBr.h"
#include "ui/widgets/FieldValidator.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"
#include "ui/widgets/WindowRegistry.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

int s_abertos = 0;

enum AbaIndice { AbaPedido, AbaProdutos, AbaOutras, AbaFlex, AbaObsEntrega, AbaAnalise };

} // namespace

FichaPedido::FichaPedido(const ListContext& contexto, Requisicao requisicao, QWidget* parent)
    : QDialog(parent), m_contexto(contexto), m_requisicao(requisicao),
      m_store(std::make_unique<Store>(contexto.dataFolder)),
      m_edicao(std::make_unique<EdicaoPedido>(*m_store)), m_campos(*findTable("pedidos.tps")) {
    setObjectName(u"UpdatePEDIDO"_s);
    ++s_abertos;
    montar();
    ligar();
    const ContextoClientes clientes{contexto.dataFolder, contexto.programFolder, contexto.idEmpresa};
    WindowStateBinder::attach(this, janela::FichaPedido, clientes.iniJanelas());
}

FichaPedido::~FichaPedido() {
    // The entries lose their focus as they are destroyed after this form's members: no rule may run.
    m_fechando = true;
    for (QObject* entrada : findChildren<QObject*>())
        entrada->disconnect(this);
    m_edicao->aoAlterarItens({});
    if (!m_rascunho.isEmpty())
        rascunho::liberar(m_rascunho);
    --s_abertos;
}

int FichaPedido::abertos() {
    return s_abertos;
}

std::optional<int> FichaPedido::executar(QWidget* parent, const ListContext& contexto,
                                         const PedidoAberto& pedido) {
    if (pedido.requisicao == Requisicao::Excluir) {
        if (!pedido.pedido)
            return std::nullopt;
        Store store(contexto.dataFolder);
        const int id = static_cast<int>(pedido.pedido->integer("ID"));
        if (excluirPedidoConfirmado(parent, store, id, static_cast<int>(pedido.pedido->integer("SITUA"))))
            return id;
        return std::nullopt;
    }
    FichaPedido form(contexto, pedido.requisicao, parent);
    if (!form.preparar(pedido.pedido, pedido.rascunho))
        return std::nullopt;
    if (form.exec() == QDialog::Accepted && form.idGravado() != 0)
        return form.idGravado();
    return std::nullopt;
}

void FichaPedido::ligar() {
    // The restore key: the entry takes back what it held in the order saved last.
    m_teclas =
        TeclasFormulario({.restaurar = [this] { restaurarCampo(); }, .seguir = [this] { focusNextChild(); }});
    const auto aoSair = [this](QLineEdit* campo, std::function<void()> regra) {
        regraAoSair(this, campo, m_fechando, std::move(regra));
    };
    aoSair(m_cliente, [this] { regraCliente(true); });
    aoSair(m_formaPag, [this] { regraFormaPag(true); });
    aoSair(m_pauta, [this] { regraPauta(true); });
    aoSair(m_codigoLiberacao, [this] {
        if (daTela())
            regraCodigoLiberacao();
        atualizar();
    });
    aoSair(m_txFrete, [this] { freteEditado(); });
    aoSair(m_transp, [this] { regraTransportador(CampoPedido::Transportador); });
    aoSair(m_redesp, [this] { regraTransportador(CampoPedido::Redespacho); });
    for (QLineEdit* campo :
         {m_frete, m_descp, m_descv, m_descp2, m_descp3, m_descp4, m_obs, m_contato, m_numOc})
        aoSair(campo, [this] { campoEditado(); });
    connect(m_situacao, &QComboBox::activated, this, &FichaPedido::situacaoEscolhida);
    connect(m_fconta, &QComboBox::activated, this, [this] { campoEditado(); });
    connect(m_tipo, &QComboBox::activated, this, [this] { campoEditado(); });
    connect(m_produtoEntregue, &QCheckBox::clicked, this, [this] { campoEditado(); });
    connect(m_carregamento, &QComboBox::activated, this, &FichaPedido::carregamentoEscolhido);
    connect(m_endEntrega, &QPushButton::clicked, this, &FichaPedido::enderecoEntrega);
    connect(m_itemNovo, &QPushButton::clicked, this, &FichaPedido::itemNovo);
    connect(m_itemEditar, &QPushButton::clicked, this, &FichaPedido::itemEditar);
    connect(m_itemExcluir, &QPushButton::clicked, this, &FichaPedido::itemExcluir);
    connect(m_itens, &QTableView::doubleClicked, this, [this] {
        if (m_itensModelo->rowCount() > 0)
            itemEditar();
    });
    connect(m_itens, &QWidget::customContextMenuRequested, this, &FichaPedido::menuItens);
    m_itens->installEventFilter(this);
    connect(m_ok, &QPushButton::clicked, this, &FichaPedido::confirmar);
    connect(m_cancelar, &QPushButton::clicked, this, &FichaPedido::reject);
    connect(m_consultaPedidos, &QPushButton::clicked, this, [this] {
        WindowContext contexto;
        contexto.frame = this;
        contexto.programFolder = m_contexto.programFolder;
        WindowRegistry::open(janelaMenu::ConsultaPedidos, contexto);
    });
    for (QWidget* w : findChildren<QWidget*>())
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w))
            w->installEventFilter(this);
}

// Besides the keys of every entry, the item list has keys of its own, and Enter in the bar-code
// entry reads the code.
bool FichaPedido::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == m_itens) {
        if (teclaNosItens(static_cast<QKeyEvent*>(event)))
            return true;
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress && watched == m_codigoBarras) {
        const int tecla = static_cast<QKeyEvent*>(event)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            lerCodigoBarras(); // each reading adds one unit; it never confirms the order
            return true;
        }
    }
    if (m_teclas.tratar(watched, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Opening

bool FichaPedido::preparar(const Record* pedido, const RascunhoPedido* retomado) {
    FalhaEdicao falha;
    if (m_requisicao == Requisicao::Inserir) {
        falha = m_edicao->novo(m_contexto.idEmpresa, Clock::today(), pedido);
    } else {
        if (!pedido)
            return false;
        falha = m_edicao->abrir(static_cast<int>(pedido->integer("ID")));
    }
    if (!falha.ok()) {
        // The order of a draft brought back was deleted meanwhile: nothing of it can be saved.
        if (retomado && falha.tipo == FalhaEdicao::Tipo::NaoEncontrado)
            rascunho::remover(retomado->arquivo);
        if (falha.tipo == FalhaEdicao::Tipo::NaoEncontrado) {
            standardWarning(Aviso::ErroLerRegistro, falha.erro, u"vendas"_s, {}, parentWidget());
        } else {
            standardWarning(Aviso::ErroAcessoArquivo, falha.erro, u"vendas"_s, {}, parentWidget());
        }
        return false;
    }
    const int situa = static_cast<int>(m_edicao->pedido().integer("SITUA"));
    if (m_requisicao == Requisicao::Alterar && situa == situacao::Transmitido) {
        m_requisicao = Requisicao::Consultar;
        MessageBox::show(u"Pedido já transmitido! Somente consulta disponível!"_s, u"Aviso"_s, Icon::Warning,
                         {Button::Ok}, Button::Ok, parentWidget());
    }
    // The draft of this form's order: the one brought back, or a new file of this form.
    m_rascunho = retomado ? retomado->arquivo : rascunho::novoArquivo(m_contexto.dataFolder);
    rascunho::adotar(m_rascunho);
    if (retomado && m_requisicao != Requisicao::Consultar)
        m_edicao->retomar(retomado->pedido, retomado->itens);
    else if (retomado)
        rascunho::remover(m_rascunho); // transmitted meanwhile: nothing of it can be saved any more
    // Every item confirmed in the item form is in the order's draft at once.
    m_edicao->aoAlterarItens([this] { atualizar(); });
    setWindowTitle(m_requisicao == Requisicao::Inserir   ? u"Novo Pedido"_s
                   : m_requisicao == Requisicao::Alterar ? u"Editar Pedido"_s
                                                         : u"Consulta Pedido"_s);

    lerDados();
    m_acrescimoAnterior = m_dados.formaPagOuZeros().ACRESC;
    bool tiposDaTabela = false;
    for (const referencias::Opcao& o : referencias::tiposPedido(*m_store, tiposDaTabela))
        m_tipo->addItem(o.texto, o.valor);
    m_tipoLiberado = tiposDaTabela || m_dados.qavcfg.SISTEMA.trimmed() == u"gerente"_s;
    for (const referencias::Opcao& o : referencias::municipiosCarregamento(*m_store))
        m_carregamento->addItem(o.texto, o.valor);
    // A new order is loaded where the company loads, when it loads in one place only.
    if (m_requisicao == Requisicao::Inserir && m_carregamento->count() == 1 &&
        m_edicao->pedido().integer("ID_MUN_CARGA") == 0)
        m_edicao->pedido().setInteger("ID_MUN_CARGA", m_carregamento->itemData(0).toInt());
    m_campos.opcao(m_tipo, "TIPOV");
    m_campos.opcao(m_carregamento, "ID_MUN_CARGA");
    carregarTitulos();
    carregarOutrosPedidos();
    paraTela();
    atualizar();

    m_avisosNaTela = m_requisicao != Requisicao::Consultar;
    if (m_requisicao == Requisicao::Consultar) {
        m_campos.somenteLeitura(true);
        for (QWidget* w : {static_cast<QWidget*>(m_situacao), static_cast<QWidget*>(m_tipo),
                           static_cast<QWidget*>(m_fconta), static_cast<QWidget*>(m_carregamento),
                           static_cast<QWidget*>(m_produtoEntregue), static_cast<QWidget*>(m_codigoBarras),
                           static_cast<QWidget*>(m_ok), static_cast<QWidget*>(m_endEntrega)})
            w->setEnabled(false);
        m_cancelar->setFocus();
    } else if (m_requisicao == Requisicao::Inserir && m_edicao->pedido().integer("CLIEN") != 0 && !retomado) {
        // Opened from a customer's orders: the order starts as if the customer had been typed.
        regraCliente(true);
        m_formaPag->setFocus();
    } else {
        m_cliente->setFocus();
    }
    // Esc asks to save only what the representative changed after this point; a draft brought back
    // is all unsaved typing.
    if (!retomado)
        m_edicao->fixarReferencia();
    m_pronto = true;
    return true;
}

void FichaPedido::carregarTitulos() {
    m_titulos.clear();
    m_edicao->titulosDoCliente(m_titulos);
}

void FichaPedido::carregarOutrosPedidos() {
    m_outros.clear();
    m_edicao->outrosPedidos(m_outros);
}

// ---------------------------------------------------------------------------------------------
// Showing the order

void FichaPedido::paraTela() {
    const Record& p = m_edicao->pedido();
    m_campos.carregar(p);
    m_numero->setText(QString::number(p.integer("NUMER")));
    m_data->setText(br::data(Date(static_cast<std::int32_t>(p.integer("DATA")))));
    const QSignalBlocker calado(m_situacao);
    m_situacao->setCurrentIndex(m_situacao->findData(static_cast<int>(p.integer("SITUA"))));
    m_ipi->setText(br::numero(Decimal::fromDouble(p.real("IPI"), 2), 2));
    m_icmsSt->setText(br::numero(p.decimal("VL_ICMSST"), 2));
    m_total->setText(br::numero(Decimal::fromDouble(p.real("TOTAL"), 2), 2));
    m_totQtdade->setText(br::numero(m_recalculo.TOT_QTDADE, 3));
    const QStringList endereco{
        p.text("E_ENDER").trimmed(), p.text("E_NUMERO").trimmed(), p.text("E_BAIRR").trimmed(),
        p.text("E_MUNIC").trimmed() + u" "_s + p.text("E_ESTAD").trimmed(), p.text("E_CEP").trimmed()};
    QStringList partes;
    for (const QString& parte : endereco)
        if (!parte.trimmed().isEmpty())
            partes << parte.trimmed();
    m_endereco->setText(partes.join(u", "_s));

    const SaldoFlex& flex = m_recalculo.flex;
    m_vlFlex->setText(br::numero(flex.VL_FLEX, 2));
    m_saldoFlex->setText(br::numero(flex.SALDO_FLEX, 2));
    // The figure depends on the order's situation: the label cannot say which orders it counts.
    m_saldoFlex->setToolTip(p.integer("SITUA") == situacao::Liberado
                                ? u"Saldo da empresa menos o flex negativo dos outros pedidos liberados"_s
                                : u"Saldo da empresa menos o flex negativo dos outros pedidos pendentes e "
                                  u"liberados"_s);
    m_saldoFlexEmpresa->setText(br::numero(m_dados.qavcfg.SALDO_FLEX, 2));
    m_flexOutrosDeb->setText(br::numero(flex.FLEX_OUTROS_DEB, 2));
    m_flexOutrosCre->setText(br::numero(flex.FLEX_OUTROS_CRE, 2));
}

bool FichaPedido::daTela() {
    if (m_requisicao == Requisicao::Consultar)
        return true;
    const Record antes = m_edicao->pedido();
    if (const std::optional<CamposRegistro::Recusa> recusa = m_campos.gravar(m_edicao->pedido()))
        return recusarEm(recusa->campo, recusa->texto,
                         recusa->titulo.isEmpty() ? u"Aviso"_s : recusa->titulo);
    // Discounts of 0 to 100 %, a discount value within the products: a value outside is not taken.
    Pedido pedido;
    lerRegistro(m_edicao->pedido(), pedido);
    if (const std::optional<ForaDaFaixa> fora = faixa::cabecalho(pedido)) {
        m_edicao->pedido() = antes;
        return recusarFaixa(*fora);
    }
    m_edicao->pedido().setInteger("SITUA", m_situacao->currentData().toInt());
    return true;
}

void FichaPedido::atualizar() {
    if (m_atualizando)
        return;
    m_atualizando = true;
    // Whatever happens in a step, the next change refreshes the form again.
    const auto fim = qScopeGuard([this] { m_atualizando = false; });
    m_avisos.clear();
    lerDados();
    recalcular();
    habilitarCampos();
    mostrarNomes();
    paraTela();
    mostrarRegras();
    gravarRascunho();
}

void FichaPedido::gravarRascunho() {
    if (!m_pronto || m_requisicao == Requisicao::Consultar || m_fechando || m_rascunho.isEmpty())
        return;
    if (!m_edicao->alteradoDesdeReferencia()) {
        if (m_rascunhoGravado)
            rascunho::remover(m_rascunho); // back as it was: nothing to bring back
        m_rascunhoGravado = false;
        return;
    }
    const Resultado gravado = rascunho::gravar(m_rascunho, *m_edicao);
    if (gravado.ok) {
        m_rascunhoGravado = true;
        return;
    }
    // The order in memory is whole; only its safety copy failed. Told once per form.
    const QString texto = u"Erro ao gravar o rascunho do pedido: %1"_s.arg(gravado.erro);
    if (!m_mensagensVistas.contains(texto)) {
        m_mensagensVistas.insert(texto);
        MessageBox::show(texto, u"Aviso"_s, Icon::Warning, {Button::Ok}, Button::Ok, this);
    }
}

// The reference rows the rules read. A table that cannot be read is told (once per window, at every
// change it would be the same) and keeps the order from being confirmed: its rules would be checked
// against rows of zeros.
bool FichaPedido::lerDados() {
    const FalhaEdicao falha = m_edicao->carregarDados(m_dados);
    m_erroDados = falha.ok() ? QString() : falha.mensagem;
    if (!falha.ok() && !m_mensagensVistas.contains(m_erroDados)) {
        m_mensagensVistas.insert(m_erroDados);
        MessageBox::show(m_erroDados, u"Erro"_s, Icon::Critical, {Button::Ok}, Button::Ok, this);
    }
    return falha.ok();
}

void FichaPedido::recalcular() {
    m_recalculo = m_edicao->recalcularComBloqueios(m_dados, m_outros);
    const Record& p = m_edicao->pedido();
    if (m_recalculo.estouro) {
        // Said each time a change does not fit: the change was undone.
        m_avisos.push_back(*m_recalculo.estouro);
        if (m_requisicao != Requisicao::Consultar)
            MessageBox::show(m_recalculo.estouro->texto, m_recalculo.estouro->titulo, Icon::Warning,
                             {Button::Ok}, Button::Ok, this);
    }
    m_avisos.insert(m_avisos.end(), m_recalculo.mensagens.begin(), m_recalculo.mensagens.end());
    mostrarMensagens(m_recalculo.mensagens);
    m_itensModelo->recarregar(m_dados);

    Pedido pedido;
    lerRegistro(p, pedido);
    if (!analiseAplicavel(pedido, m_dados))
        return;
    std::vector<PedidoItem> itens(m_edicao->itens().size());
    for (size_t i = 0; i < itens.size(); ++i)
        lerRegistro(m_edicao->itens()[i].item, itens[i]);
    Mensagens mensagens;
    const std::optional<AnaliseLucro> analise = analisarLucro(pedido, itens, m_dados, mensagens);
    m_avisos.insert(m_avisos.end(), mensagens.begin(), mensagens.end());
    mostrarMensagens(mensagens);
    if (!analise)
        return; // the previous analysis stays, as the message says
    m_analise->clear();
    for (const LinhaAnalise& l : analise->linhas) {
        auto* item = new QTreeWidgetItem(m_analise);
        if (!l.fechamento) {
            item->setText(0, QString::number(l.ID));
            item->setText(1, l.DESCRICAO.trimmed());
            item->setText(2, br::numero(l.PRECO_UNIT, LinhaAnalise::Escala::PRECO_UNIT));
            item->setText(3, br::numero(l.ALIQ_ICMS, LinhaAnalise::Escala::ALIQ));
            item->setText(4, br::numero(l.ALIQ_PIS, LinhaAnalise::Escala::ALIQ));
            item->setText(5, br::numero(l.ALIQ_COFINS, LinhaAnalise::Escala::ALIQ));
            item->setText(6, br::numero(l.M3, LinhaAnalise::Escala::M3));
            item->setText(7, br::numero(l.PESO, LinhaAnalise::Escala::PESO));
        }
        item->setText(8, br::numero(l.FATOR, LinhaAnalise::Escala::FATOR));
        item->setText(9, br::numero(l.FATOR_LIQ, LinhaAnalise::Escala::FATOR));
        for (int c = 2; c < 10; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_regiao->setText(analise->NM_REGIAO.trimmed());
    m_custoM3->setText(br::numero(analise->VL_CUSTO_M3, 2));
    m_ttTributos->setText(br::numero(analise->TT_TRIBUTOS, 2));
    m_ttComissao->setText(br::numero(analise->TT_COMISSAO, 2));
    m_ttFrete->setText(br::numero(analise->TT_FRETE, 2));
}

// A rule's notice (a missing tax value, a discount above the commission share, a freight cost
// missing for the analysis) is shown once per window, not again at every later recalculation of the
// same order. Those the order already had when the form opened are not shown as boxes: the rules
// panel lists every notice of the order as it stands, and a representative opening an order (or
// looking at a transmitted one) is not met by a box per item.
void FichaPedido::mostrarMensagens(const Mensagens& mensagens) {
    for (const Mensagem& m : mensagens) {
        const QString chave = m.titulo + QLatin1Char('\n') + m.texto;
        if (m_mensagensVistas.contains(chave))
            continue;
        m_mensagensVistas.insert(chave);
        if (m_avisosNaTela)
            MessageBox::show(m.texto, m.titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
    }
}

void FichaPedido::mostrarRegras() {
    Pedido pedido;
    lerRegistro(m_edicao->pedido(), pedido);
    std::vector<PedidoItem> itens(m_edicao->itens().size());
    for (size_t i = 0; i < itens.size(); ++i)
        lerRegistro(m_edicao->itens()[i].item, itens[i]);
    const EntradaRegras entrada{pedido, itens, m_dados, m_recalculo, m_titulos, Clock::today()};
    m_regras = avaliarRegras(entrada);
    m_painelRegras->mostrar(m_regras, m_avisos);
}

void FichaPedido::habilitarCampos() {
    habilitarBotoesItens();
    const CamposLiberados liberados = m_edicao->camposLiberados(m_dados, m_recalculo, m_contexto.idEmpresa);
    m_abas->setTabVisible(AbaFlex, liberados.abaFlex);
    m_abas->setTabVisible(AbaAnalise, liberados.abaAnalise);
    if (m_requisicao == Requisicao::Consultar)
        return;
    m_formaPag->setEnabled(liberados.formaPag);
    m_frete->setEnabled(liberados.frete);
    m_pauta->setEnabled(liberados.pauta);
    m_descp->setEnabled(liberados.descp);
    for (QLineEdit* w : {m_descv, m_descp2, m_descp3, m_descp4})
        w->setEnabled(liberados.outrosDescontos);
    m_codigoBarras->setEnabled(liberados.codigoBarras);
    m_produtoEntregue->setEnabled(liberados.produtoEntregue);
    m_fconta->setEnabled(liberados.fconta);
    m_tipo->setEnabled(m_tipoLiberado);
}

void FichaPedido::mostrarNomes() {
    const Record& p = m_edicao->pedido();
    const int empresa = m_contexto.idEmpresa;
    m_clienteNome->setText(referencias::nomeCliente(*m_store, static_cast<int>(p.integer("CLIEN"))));
    m_formaPagNome->setText(
        formaPagamento(*m_store, empresa, p.integer("COD_FORMAPAG")).value_or(QString()).trimmed());
    m_pautaNome->setText(referencias::nomePauta(*m_store, empresa, static_cast<int>(p.integer("COD_PAUTA"))));
    const std::int64_t vendedor = p.integer("COD_VENDEDOR");
    m_vendedor->setText(QString::number(vendedor) + u" - "_s +
                        nomeVendedor(*m_store, empresa, vendedor).trimmed());
    m_transpNome->setText(referencias::nomeTransportador(*m_store, static_cast<int>(p.integer("TRANSP"))));
    m_redespNome->setText(referencias::nomeTransportador(*m_store, static_cast<int>(p.integer("REDESP"))));
}

} // namespace qav
