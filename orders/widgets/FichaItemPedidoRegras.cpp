// The item form's field rules, its accessories, its confirmation ("&OK") and its cancel.
#include "orders/widgets/FichaItemPedido.h"

#include "customers/widgets/JanelaProdutos.h"
#include "orders/core/LeituraRegistro.h"
#include "orders/widgets/ConsultaCaracteristica.h"
#include "orders/widgets/TeclasFormulario.h"
#include "store/core/FormatoBr.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

// The item saved last since the program started, for the restore key.
std::optional<Record>& ultimoGravado() {
    static std::optional<Record> item;
    return item;
}

} // namespace

void FichaItemPedido::ligar() {
    // The restore key: the entry takes back what it held in the item saved last.
    m_teclas = TeclasFormulario({.restaurar = [this] { restaurarCampo(); },
                                 .seguir =
                                     [this] {
                                         if (isVisible())
                                             focusNextChild();
                                     }});
    const auto aoSair = [this](QLineEdit* campo, std::function<void()> regra) {
        regraAoSair(this, campo, m_fechando, std::move(regra));
    };
    aoSair(m_produto, [this] { regraProduto(true); });
    aoSair(m_qtd, [this] { regraQuantidade(); });
    aoSair(m_pecas, [this] { regraPecas(m_pecas); });
    aoSair(m_comprimento, [this] { regraPecas(m_comprimento); });
    aoSair(m_descp, [this] { regraDesconto(); });
    aoSair(m_descv, [this] { regraValorDesconto(); });
    aoSair(m_pruni->lineEdit(), [this] { regraPrecoUnitario(); });
    aoSair(m_comis, [this] { regraComissao(); });
    aoSair(m_obs, [this] { regraObservacao(true); });
    aoSair(m_numOc, [this] { regraOrdemDeCompra(m_numOc); });
    aoSair(m_numItemOc, [this] { regraOrdemDeCompra(m_numItemOc); });
    connect(m_pruni, &QComboBox::activated, this, &FichaItemPedido::precoEscolhido);
    connect(m_subgrupo, &QComboBox::activated, this, &FichaItemPedido::subgrupoEscolhido);
    connect(m_acessorio, &QComboBox::activated, this, &FichaItemPedido::acessorioEscolhido);
    connect(m_adicionar, &QPushButton::clicked, this, &FichaItemPedido::adicionarAcessorio);
    connect(m_remover, &QPushButton::clicked, this, &FichaItemPedido::removerAcessorio);
    connect(m_ok, &QPushButton::clicked, this, &FichaItemPedido::confirmar);
    connect(m_cancelar, &QPushButton::clicked, this, &FichaItemPedido::reject);
    // F2 finds the product by its characteristics wherever the focus is in the form (an entry, a
    // list, a button).
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    f2->setObjectName(u"atalhoCaracteristica"_s);
    f2->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f2, &QShortcut::activated, this, [this] {
        if (m_caracteristica->isEnabled())
            buscarPorCaracteristica();
    });
    for (QWidget* w : findChildren<QWidget*>())
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w))
            w->installEventFilter(this);
}

bool FichaItemPedido::eventFilter(QObject* watched, QEvent* event) {
    if (m_teclas.tratar(watched, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool FichaItemPedido::reterFoco(QWidget* campo) {
    m_teclas.reterFoco();
    for (int aba = 0; aba < m_abas->count(); ++aba)
        if (m_abas->widget(aba)->isAncestorOf(campo))
            m_abas->setCurrentIndex(aba);
    campo->setFocus();
    if (auto* entrada = qobject_cast<QLineEdit*>(campo))
        entrada->selectAll();
    return false;
}

Record FichaItemPedido::entradas() const {
    Record r = m_edicao->item();
    m_campos.gravar(r); // the entries take only what their fields can hold
    return r;
}

// The entries without a pricing rule go straight into the item.
void FichaItemPedido::textosParaItem() {
    const Record r = entradas();
    Record& item = m_edicao->item();
    for (const char* campo : {"OBS", "NUM_OC"})
        item.setText(campo, r.text(campo));
    item.setInteger("NUM_ITEM_OC", r.integer("NUM_ITEM_OC"));
}

// ---------------------------------------------------------------------------------------------
// Field rules

bool FichaItemPedido::regraProduto(bool interativo) {
    textosParaItem();
    const QString digitado = m_produto->text().trimmed();
    std::optional<Produto> produto = m_edicao->buscarProduto(digitado);
    if (!produto && interativo) {
        // Not a code nor a bar code: the representative picks it in the product list.
        if (const std::optional<int> id = JanelaProdutos::selecionar(this, m_contexto)) {
            Table produtos(m_store, "produto");
            if (produtos.open() &&
                leitura::registro(produtos, "KEYID",
                                  {{"ID", *id}, {"ID_EMPRESA", m_pedido.pedido().integer("ID_EMPRESA")}}) ==
                    Status::Ok)
                produto = m_edicao->buscarProduto(produtos.rec().text("CODIGO").trimmed());
        }
    }
    if (!produto)
        return reterFoco(m_produto); // nothing else to say: the code is no product of the company
    Mensagem recusa;
    const bool aceito = m_edicao->escolherProduto(*produto, recusa);
    m_produto->setText(produto->CODIGO.trimmed());
    m_produto->setModified(false);
    if (!aceito) {
        MessageBox::show(recusa.texto, recusa.titulo.isEmpty() ? u"Aviso"_s : recusa.titulo, Icon::Warning,
                         {Button::Ok}, Button::Ok, this);
        paraTela();
        return reterFoco(m_produto);
    }
    mostrarMensagens(m_edicao->resultado().mensagens);
    carregarSubgrupos();
    paraTela();
    carregarPrecosOferecidos();
    carregarUltimosPrecos();
    return true;
}

void FichaItemPedido::buscarPorCaracteristica() {
    const std::optional<EscolhaCaracteristica> escolha = ConsultaCaracteristica::selecionar(this, m_contexto);
    if (!escolha)
        return;
    m_produto->setText(escolha->codigo); // then the product's rule, as if the code had been typed
    if (!regraProduto(true))
        return;
    for (const AcessorioEscolhido& a : escolha->acessorios)
        if (const std::optional<Mensagem> m = m_edicao->adicionarAcessorio(a.codSubgrupo, a.id, a.preco))
            MessageBox::show(m->texto, m->titulo.isEmpty() ? u"Aviso"_s : m->titulo, Icon::Warning,
                             {Button::Ok}, Button::Ok, this);
    mostrarAcessorios();
    paraTela();
    m_qtd->setFocus();
}

bool FichaItemPedido::recusarFaixa(const std::optional<ForaDaFaixa>& fora, QLineEdit* campo) {
    if (!fora)
        return false;
    standardWarning(fora->aviso, fora->texto1, fora->texto2, this);
    campo->setModified(true); // refused again when left or on "&OK" until corrected
    reterFoco(campo);
    return true;
}

bool FichaItemPedido::regraQuantidade() {
    textosParaItem();
    if (recusarFaixa(faixa::quantidade(u"Quantidade"_s, entradas().decimal("QTD")), m_qtd))
        return false;
    mostrarMensagens(m_edicao->alterarQuantidade(entradas().decimal("QTD")));
    if (m_edicao->lote().voltarAoCampo) {
        // The typed quantity stays for the representative to correct, and is refused again on "&OK".
        m_qtd->setModified(true);
        return reterFoco(m_qtd);
    }
    paraTela();
    carregarUltimosPrecos();
    return true;
}

bool FichaItemPedido::regraPecas(QLineEdit* campo) {
    textosParaItem();
    const Record r = entradas();
    mostrarMensagens(m_edicao->alterarPecas(static_cast<int>(r.integer("QTD_PECAS")),
                                            static_cast<int>(r.integer("COMPRIMENTO"))));
    if (m_edicao->lote().voltarAoCampo) {
        campo->setModified(true);
        return reterFoco(m_pecas);
    }
    paraTela();
    return true;
}

bool FichaItemPedido::regraDesconto() {
    textosParaItem();
    if (recusarFaixa(faixa::percentualDesconto(u"descp"_s, u"Desconto %"_s, entradas().decimal("DESCP")),
                     m_descp))
        return false;
    mostrarMensagens(m_edicao->alterarDesconto(entradas().decimal("DESCP")));
    paraTela();
    return true;
}

bool FichaItemPedido::regraValorDesconto() {
    textosParaItem();
    const Record& i = m_edicao->item();
    if (recusarFaixa(faixa::valorDesconto(u"descv"_s, u"Valor Desconto"_s, entradas().decimal("DESCV"),
                                          (i.decimal("QTD") * i.decimal("PRUNI")).rounded(2)),
                     m_descv))
        return false;
    mostrarMensagens(m_edicao->alterarValorDesconto(entradas().decimal("DESCV")));
    paraTela();
    return true;
}

bool FichaItemPedido::regraPrecoUnitario() {
    textosParaItem();
    const std::optional<Decimal> preco = br::lerNumero(m_pruni->lineEdit()->text());
    mostrarMensagens(m_edicao->alterarPrecoUnitario(preco.value_or(Decimal())));
    paraTela();
    carregarUltimosPrecos(); // the variation is against the unit price
    return true;
}

void FichaItemPedido::precoEscolhido(int indice) {
    if (indice < 0)
        return;
    m_pruni->lineEdit()->setText(m_pruni->itemText(indice));
    m_pruni->lineEdit()->setModified(false);
    regraPrecoUnitario();
}

bool FichaItemPedido::regraComissao() {
    textosParaItem();
    mostrarMensagens(m_edicao->alterarComissao(entradas().decimal("COMIS")));
    paraTela();
    return true;
}

// Measures typed at the start of the observation ("120X080") can price the item by its area.
bool FichaItemPedido::regraObservacao(bool interativo) {
    textosParaItem();
    if (!interativo)
        return true;
    const std::optional<Decimal> preco = m_edicao->precoPorMedida(m_edicao->item().text("OBS"));
    if (preco &&
        MessageBox::show(u"Deseja cacular o preço de venda pela medida?"_s, u"Confirma calculo preço?"_s,
                         Icon::Question, {Button::Yes, Button::No}, Button::Yes, this) == Button::Yes) {
        mostrarMensagens(m_edicao->aplicarPrecoPorMedida(*preco));
        paraTela();
        carregarUltimosPrecos();
    }
    return true;
}

// A purchase-order item goes with its order number, and the other way round.
bool FichaItemPedido::regraOrdemDeCompra(QLineEdit* campo) {
    textosParaItem();
    const QString falta = m_edicao->ordemDeCompraIncompleta();
    if (campo == m_numItemOc && falta == u"ordemCompra"_s)
        return reterFoco(m_numOc);
    if (campo == m_numOc && falta == u"itemOrdemCompra"_s)
        return reterFoco(m_numItemOc);
    return true;
}

void FichaItemPedido::restaurarCampo() {
    const std::optional<Record>& anterior = ultimoGravado();
    if (!anterior || m_requisicao == Requisicao::Consultar)
        return;
    auto* campo = qobject_cast<QLineEdit*>(focusWidget());
    if (!campo || campo->isReadOnly())
        return;
    QString restaurado;
    if (campo == m_produto) {
        Table produtos(m_store, "produto");
        if (produtos.open() &&
            leitura::registro(produtos, "KEYID",
                              {{"ID", anterior->integer("PRODU")},
                               {"ID_EMPRESA", m_pedido.pedido().integer("ID_EMPRESA")}}) == Status::Ok)
            restaurado = produtos.rec().text("CODIGO").trimmed();
    } else {
        // The entry takes the value it had in that item, as the binding shows it.
        const Record atual = entradas();
        m_campos.carregar(*anterior);
        restaurado = campo->text();
        m_campos.carregar(atual);
    }
    campo->setText(restaurado);
    campo->setModified(true);
}

// ---------------------------------------------------------------------------------------------
// Accessories

void FichaItemPedido::subgrupoEscolhido(int) {
    carregarAcessoriosDoSubgrupo();
}

void FichaItemPedido::acessorioEscolhido(int indice) {
    if (indice < 0)
        return;
    const QList<QVariant> dados = m_acessorio->itemData(indice).toList();
    const std::optional<Decimal> preco = Decimal::parse(dados.value(1).toString().toStdString());
    m_valorAcessorio->setText(br::numero(preco.value_or(Decimal()), 2));
}

void FichaItemPedido::adicionarAcessorio() {
    if (m_requisicao == Requisicao::Consultar)
        return;
    std::optional<int> id;
    if (m_acessorio->currentIndex() >= 0)
        id = m_acessorio->currentData().toList().value(0).toInt();
    const Decimal valor = br::lerNumero(m_valorAcessorio->text()).value_or(Decimal());
    if (const std::optional<Mensagem> recusa =
            m_edicao->adicionarAcessorio(m_subgrupo->currentData().toInt(), id, valor)) {
        mostrarMensagens({*recusa});
        return;
    }
    paraTela();
    carregarUltimosPrecos();
}

void FichaItemPedido::removerAcessorio() {
    if (m_requisicao == Requisicao::Consultar)
        return;
    const int linha =
        m_acessoriosItem->selectionModel()->hasSelection() ? m_acessoriosItem->currentRow() : -1;
    if (linha >= 0 &&
        MessageBox::show(u"Confirme excluir o acessório selecionado?"_s, u"CONFIRME?"_s, Icon::Question,
                         {Button::Yes, Button::No}, Button::No, this) != Button::Yes)
        return;
    if (const std::optional<Mensagem> recusa = m_edicao->removerAcessorio(linha)) {
        mostrarMensagens({*recusa});
        return;
    }
    paraTela();
    carregarUltimosPrecos();
}

// ---------------------------------------------------------------------------------------------
// Confirmation and cancel

bool FichaItemPedido::passagemDeConfirmacao() {
    // An entry typed in but not yet left has its rule run now, without the look-ups and questions.
    if (m_produto->isModified() || m_edicao->item().integer("PRODU") == 0 ||
        m_produto->text().trimmed() != m_edicao->produto().CODIGO.trimmed()) {
        m_produto->setModified(false);
        if (!regraProduto(false))
            return false;
    }
    const auto regra = [](QLineEdit* campo, auto executar) {
        if (!campo->isModified())
            return true;
        campo->setModified(false);
        return executar();
    };
    return regra(m_qtd, [this] { return regraQuantidade(); }) &&
           regra(m_pecas, [this] { return regraPecas(m_pecas); }) &&
           regra(m_comprimento, [this] { return regraPecas(m_comprimento); }) &&
           regra(m_descp, [this] { return regraDesconto(); }) &&
           regra(m_descv, [this] { return regraValorDesconto(); }) &&
           regra(m_pruni->lineEdit(), [this] { return regraPrecoUnitario(); }) &&
           regra(m_comis, [this] { return regraComissao(); }) && regraObservacao(false) &&
           regraOrdemDeCompra(m_numItemOc) && regraOrdemDeCompra(m_numOc);
}

bool FichaItemPedido::confirmar() {
    if (m_requisicao == Requisicao::Consultar || m_fechando)
        return false;
    if (!passagemDeConfirmacao())
        return false;
    Mensagens avisos;
    const std::optional<RecusaItem> recusa = m_edicao->verificar(avisos);
    mostrarMensagens(avisos);
    if (recusa) {
        mostrarMensagens({recusa->mensagem});
        if (recusa->campo == u"produto"_s)
            reterFoco(m_produto);
        else if (recusa->campo == u"quantidade"_s)
            reterFoco(m_qtd);
        else if (recusa->campo == u"pecas"_s)
            reterFoco(m_pecas);
        else if (recusa->campo == u"descp"_s)
            reterFoco(m_descp);
        else if (recusa->campo == u"descv"_s)
            reterFoco(m_descv);
        else if (recusa->campo == u"preco"_s)
            reterFoco(m_pruni->lineEdit());
        else if (recusa->campo == u"acessorios"_s && m_abas->isTabEnabled(1))
            m_abas->setCurrentIndex(1);
        return false;
    }
    const auto idGravado = m_edicao->item().integer("ID_VENDASI");
    if (const std::optional<RecusaSalvar> naoSalvo = m_edicao->salvar()) {
        // The same product twice needs different observations.
        if (naoSalvo->duplicado)
            standardWarning(Aviso::ChaveDuplicada, naoSalvo->mensagem.texto, {}, this);
        else
            mostrarMensagens({naoSalvo->mensagem});
        reterFoco(m_obs);
        return false;
    }
    for (const ItemEmEdicao& i : m_pedido.itens())
        if (i.item.integer("ID_VENDASI") == idGravado)
            ultimoGravado() = i.item;
    ++m_gravados;
    if (m_requisicao != Requisicao::Inserir) {
        m_fechando = true;
        QDialog::accept();
        return true;
    }
    pronto();
    return true;
}

// The next item of an insert: a clean form, the focus on the product.
void FichaItemPedido::pronto() {
    m_produto->clear();
    m_produto->setModified(false);
    carregarSubgrupos();
    paraTela();
    carregarPrecosOferecidos();
    carregarUltimosPrecos();
    m_abas->setCurrentIndex(0);
    m_produto->setFocus();
}

void FichaItemPedido::reject() {
    if (m_fechando || m_requisicao == Requisicao::Consultar) {
        QDialog::reject();
        return;
    }
    m_fechando = true;
    if (m_requisicao == Requisicao::Inserir) {
        // The item being typed is given up; those saved in this sequence stay in the order.
        if (m_gravados > 0)
            QDialog::accept();
        else
            QDialog::reject();
        return;
    }
    textosParaItem();
    const bool digitado = m_edicao->alterado() || m_produto->isModified() || m_qtd->isModified() ||
                          m_descp->isModified() || m_descv->isModified() ||
                          m_pruni->lineEdit()->isModified() || m_comis->isModified() ||
                          m_pecas->isModified() || m_comprimento->isModified();
    if (!digitado) {
        QDialog::reject();
        return;
    }
    const int resposta = standardWarning(Aviso::GravarAlteracoes, {}, {}, this);
    m_fechando = false;
    if (resposta == static_cast<int>(Button::Yes)) {
        confirmar();
    } else if (resposta == static_cast<int>(Button::No)) {
        m_fechando = true;
        QDialog::reject();
    }
}

} // namespace qav
