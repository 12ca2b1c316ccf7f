// The order form's field rules, its confirmation ("&OK") and its save and cancel: the look-up lists,
// the message boxes and the focus; what is refused and why is the order in edition's (RegrasCabecalho).
#include "orders/widgets/FichaPedido.h"

#include "customers/core/ConsultasCliente.h"
#include "customers/widgets/ContextoClientes.h"
#include "customers/widgets/EnderecoCliente.h"
#include "customers/widgets/JanelaClientes.h"
#include "customers/widgets/ResolverReferencia.h"
#include "orders/core/CamposPedido.h"
#include "store/core/Clock.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

// The header fields the restore key acts on, with the last order saved since the program started.
std::optional<Record>& ultimoGravado() {
    static std::optional<Record> pedido;
    return pedido;
}

std::vector<PedidoItem> linhas(const std::vector<ItemEmEdicao>& itens) {
    std::vector<PedidoItem> l(itens.size());
    for (size_t i = 0; i < itens.size(); ++i)
        lerRegistro(itens[i].item, l[i]);
    return l;
}

void abrirContasDoCliente(QWidget* parent, const ListContext& contexto, int cliente) {
    WindowContext janela;
    janela.frame = parent;
    janela.programFolder = contexto.programFolder;
    janela.arguments = {u"2"_s, QString::number(cliente)}; // the customer's open titles
    if (!WindowRegistry::open(janelaMenu::ConsultaCTR, janela))
        MessageBox::show(unavailableEntryTip(), u"Contas a Receber"_s, Icon::Information, {Button::Ok},
                         Button::Ok, parent);
}

} // namespace

bool FichaPedido::recusarEm(QWidget* campo, const QString& texto, const QString& titulo) {
    MessageBox::show(texto, titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
    if (campo) {
        m_teclas.reterFoco(); // Enter does not move on from a refused entry
        for (QWidget* w = campo->parentWidget(); w; w = w->parentWidget())
            if (const int aba = m_abas->indexOf(w); aba >= 0) {
                m_abas->setCurrentIndex(aba);
                break;
            }
        campo->setFocus();
        if (auto* entrada = qobject_cast<QLineEdit*>(campo)) {
            entrada->selectAll();
            entrada->setModified(true); // its rule runs again when it is left, until corrected
        }
    }
    return false;
}

// A refusal of the order's rules: its message, and the focus on the entry it names.
bool FichaPedido::recusar(const RecusaPedido& recusa) {
    QWidget* campo = entradaDe(recusa.campo);
    if (!recusa.aviso)
        return recusarEm(campo, recusa.mensagem.texto, recusa.mensagem.titulo);
    // A code that names no row. The customer and payment-form entries are not marked to run their
    // rule again when left, as that would open their lists unasked; a carrier's is, until corrected.
    standardWarning(*recusa.aviso, recusa.rotulo, {}, this);
    m_teclas.reterFoco();
    if (!campo)
        return false;
    for (QWidget* w = campo->parentWidget(); w; w = w->parentWidget())
        if (const int aba = m_abas->indexOf(w); aba >= 0) {
            m_abas->setCurrentIndex(aba);
            break;
        }
    campo->setFocus();
    if (recusa.campo == CampoPedido::Transportador || recusa.campo == CampoPedido::Redespacho) {
        auto* codigo = static_cast<QLineEdit*>(campo);
        codigo->selectAll();
        codigo->setModified(true);
    }
    return false;
}

QWidget* FichaPedido::entradaDe(CampoPedido campo) const {
    switch (campo) {
    case CampoPedido::Cliente:
        return m_cliente;
    case CampoPedido::FormaPag:
        return m_formaPag;
    case CampoPedido::Pauta:
        return m_pauta;
    case CampoPedido::CodigoLiberacao:
        return m_codigoLiberacao;
    case CampoPedido::Fconta:
        return m_fconta;
    case CampoPedido::Itens:
        return m_itens;
    case CampoPedido::Transportador:
        return m_transp;
    case CampoPedido::Redespacho:
        return m_redesp;
    case CampoPedido::Nenhum:
        break;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Field rules

bool FichaPedido::recusarFaixa(const ForaDaFaixa& fora) {
    standardWarning(fora.aviso, fora.texto1, fora.texto2, this);
    QLineEdit* campo = fora.campo == u"descv"_s ? m_descv : m_descp;
    m_teclas.reterFoco();
    campo->setFocus();
    campo->selectAll();
    campo->setModified(true); // refused again when left, and on "&OK", until corrected
    return false;
}

bool FichaPedido::regraCliente(bool interativo) {
    if (!daTela())
        return false;
    Record& p = m_edicao->pedido();
    std::optional<Record> cliente = m_edicao->cliente();
    if (!cliente && interativo) {
        const ContextoClientes contexto{m_contexto.dataFolder, m_contexto.programFolder,
                                        m_contexto.idEmpresa};
        const std::optional<std::int64_t> escolhido = selecionarCliente(contexto, this, p.integer("CLIEN"));
        if (!escolhido) {
            m_teclas.reterFoco();
            m_cliente->setFocus();
            return false;
        }
        p.setInteger("CLIEN", *escolhido);
        m_cliente->setText(QString::number(*escolhido));
        cliente = m_edicao->cliente();
    }
    if (const std::optional<RecusaPedido> recusa = EdicaoPedido::verificarCliente(cliente))
        return recusar(*recusa);
    if (!lerDados())
        return recusarEm(nullptr, m_erroDados, u"Erro"_s);
    if (const std::optional<RecusaPedido> recusa = EdicaoPedido::verificarRepresentanteDoCliente(m_dados))
        return recusar(*recusa);

    if (interativo) {
        carregarTitulos();
        // Informative only: none of these stops the entry.
        const AvisosCliente avisos = EdicaoPedido::avisosDoCliente(*cliente, m_titulos, Clock::today());
        if (avisos.contasVencidas &&
            MessageBox::show(avisos.contasVencidas->texto, avisos.contasVencidas->titulo, Icon::Question,
                             {Button::Yes, Button::No}, Button::Yes, this) == Button::Yes)
            abrirContasDoCliente(this, m_contexto, static_cast<int>(cliente->integer("ID")));
        if (avisos.creditoNaoLiberado)
            MessageBox::show(avisos.creditoNaoLiberado->texto, avisos.creditoNaoLiberado->titulo,
                             Icon::Warning, {Button::Ok}, Button::Ok, this);
        if (avisos.alerta)
            MessageBox::show(avisos.alerta->texto, avisos.alerta->titulo, Icon::Information, {Button::Ok},
                             Button::Ok, this);
    }
    if (interativo && m_requisicao == Requisicao::Inserir) {
        const bool trazFormaPag = m_edicao->aplicarCliente(*cliente);
        m_campos.carregar(p);
        // The customer's payment form is taken as if typed.
        if (trazFormaPag) {
            m_formaPag->setModified(false);
            return regraFormaPag(true);
        }
    }
    if (interativo) // the confirmation has just recalculated the order
        atualizar();
    return true;
}

bool FichaPedido::regraFormaPag(bool interativo) {
    if (!daTela())
        return false;
    Record& p = m_edicao->pedido();
    if (!m_edicao->levaFormaPag())
        return true;
    std::optional<RecusaPedido> recusa = m_edicao->verificarFormaPag(m_contexto.idEmpresa);
    if (recusa && interativo) {
        const std::optional<std::int64_t> escolhido =
            resolverFormaPag(*m_store, p.integer("COD_FORMAPAG"),
                             {m_contexto.dataFolder, m_contexto.idEmpresa, m_contexto.programFolder}, this);
        if (!escolhido) {
            m_teclas.reterFoco();
            m_formaPag->setFocus();
            return false;
        }
        p.setInteger("COD_FORMAPAG", *escolhido);
        recusa.reset();
    }
    if (recusa)
        return recusar(*recusa);
    if (interativo) {
        if (!lerDados())
            return false;
        for (const Mensagem& m : m_edicao->aplicarFormaPag(m_dados, m_acrescimoAnterior))
            MessageBox::show(m.texto, m.titulo, Icon::Information, {Button::Ok}, Button::Ok, this);
    }
    if (interativo) // the confirmation has just recalculated the order
        atualizar();
    return true;
}

bool FichaPedido::regraPauta(bool interativo) {
    if (!daTela())
        return false;
    Record& p = m_edicao->pedido();
    const std::int64_t codigo = p.integer("COD_PAUTA");
    if (interativo && codigo != 0 && !pautaExiste(*m_store, m_contexto.idEmpresa, codigo)) {
        const std::optional<std::int64_t> escolhido = resolverPauta(
            *m_store, codigo, {m_contexto.dataFolder, m_contexto.idEmpresa, m_contexto.programFolder}, this);
        if (!escolhido) {
            m_teclas.reterFoco();
            m_pauta->setFocus();
            return false;
        }
        p.setInteger("COD_PAUTA", *escolhido);
    }
    atualizar();
    return true;
}

bool FichaPedido::regraCodigoLiberacao() {
    if (const std::optional<RecusaPedido> recusa = m_edicao->verificarCodigoLiberacao())
        return recusar(*recusa);
    return true;
}

bool FichaPedido::regraTransportador(CampoPedido campo) {
    if (!daTela())
        return false;
    if (const std::optional<RecusaPedido> recusa = m_edicao->verificarTransportador(campo))
        return recusar(*recusa);
    atualizar();
    return true;
}

void FichaPedido::situacaoEscolhida(int indice) {
    Record& p = m_edicao->pedido();
    const int escolhida = m_situacao->itemData(indice).toInt();
    if (!m_edicao->situacaoPermitida(escolhida)) {
        m_situacao->setCurrentIndex(m_situacao->findData(static_cast<int>(p.integer("SITUA"))));
        return;
    }
    daTela();
    p.setInteger("SITUA", escolhida);
    carregarOutrosPedidos(); // which other orders count against the flex balance depends on it
    atualizar();
}

void FichaPedido::campoEditado() {
    if (daTela())
        atualizar();
}

// The recalculation makes the freight of a rate: here, and after every other change.
void FichaPedido::freteEditado() {
    if (daTela())
        atualizar();
}

void FichaPedido::carregamentoEscolhido(int indice) {
    m_edicao->pedido().setInteger("ID_MUN_CARGA", m_carregamento->itemData(indice).toInt());
    atualizar();
}

void FichaPedido::lerCodigoBarras() {
    const QString codigo = m_codigoBarras->text();
    if (codigo.trimmed().isEmpty() || !daTela())
        return;
    FalhaEdicao falha;
    if (!m_edicao->lerCodigoBarras(codigo, m_dados, falha)) {
        if (falha.tipo == FalhaEdicao::Tipo::Arquivo)
            MessageBox::show(falha.mensagem, u"Erro"_s, Icon::Critical, {Button::Ok}, Button::Ok, this);
        else
            MessageBox::show(falha.mensagem.isEmpty() ? u"Código inválido!"_s : falha.mensagem, u"Aviso"_s,
                             Icon::Warning, {Button::Ok}, Button::Ok, this);
        m_codigoBarras->setFocus();
        m_codigoBarras->selectAll();
        return;
    }
    atualizar();
    m_codigoBarras->clear();
    m_codigoBarras->setFocus();
}

void FichaPedido::enderecoEntrega() {
    if (!daTela())
        return;
    Record& p = m_edicao->pedido();
    const std::optional<Record> cliente = m_edicao->cliente();
    if (!cliente) {
        MessageBox::show(u" Código do cliente inválido."_s, u"Aviso"_s, Icon::Warning, {Button::Ok},
                         Button::Ok, this);
        return;
    }
    m_edicao->completarEnderecoEntrega(*cliente);
    const ContextoClientes contexto{m_contexto.dataFolder, m_contexto.programFolder, m_contexto.idEmpresa};
    endEntrega(p, *m_store, m_requisicao == Requisicao::Consultar, contexto, this);
    paraTela();
}

void FichaPedido::restaurarCampo() {
    const std::optional<Record>& anterior = ultimoGravado();
    if (!anterior || m_requisicao == Requisicao::Consultar)
        return;
    auto* campo = qobject_cast<QLineEdit*>(focusWidget());
    if (!campo)
        return;
    // The entry takes the value it had in that order, as the binding shows it.
    Record copia = m_edicao->pedido();
    if (!daTela())
        return;
    m_campos.carregar(*anterior);
    const QString restaurado = campo->text();
    m_campos.carregar(copia);
    campo->setText(restaurado);
    campo->setModified(true);
}

// ---------------------------------------------------------------------------------------------
// Confirmation

bool FichaPedido::passagemDeConfirmacao() {
    // The rules of the entries again, without the look-ups and questions.
    if (!daTela())
        return false;
    if (!lerDados())
        return recusarEm(nullptr, m_erroDados, u"Erro"_s);
    if (const std::optional<RecusaPedido> recusa =
            m_edicao->passagemDeConfirmacao(m_dados, m_contexto.idEmpresa))
        return recusar(*recusa);
    // The carriers' rules refresh the order, as when their entries are left.
    return regraTransportador(CampoPedido::Transportador) && regraTransportador(CampoPedido::Redespacho);
}

bool FichaPedido::regrasComerciais() {
    Pedido pedido;
    lerRegistro(m_edicao->pedido(), pedido);
    const std::vector<PedidoItem> itens = linhas(m_edicao->itens());
    const EntradaRegras entrada{pedido, itens, m_dados, m_recalculo, m_titulos, Clock::today()};
    for (const ResultadoRegra& r : regrasDaConfirmacao(entrada)) {
        if (r.perguntaConsultarTitulos) {
            const Mensagem& pergunta = r.mensagens.front();
            if (MessageBox::show(pergunta.texto, pergunta.titulo, Icon::Question, {Button::Yes, Button::No},
                                 Button::No, this) == Button::Yes)
                abrirContasDoCliente(this, m_contexto, pedido.CLIEN);
            m_abas->setCurrentIndex(0);
            m_codigoLiberacao->setFocus();
            return false;
        }
        for (const Mensagem& m : r.mensagens)
            MessageBox::show(m.texto, m.titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        if (r.estado == ResultadoRegra::Estado::Recusa) {
            m_abas->setCurrentIndex(1);
            m_itens->setFocus();
            return false;
        }
    }
    return true;
}

bool FichaPedido::confirmar() {
    if (m_requisicao == Requisicao::Consultar)
        return false;
    if (!daTela())
        return false;
    if (const std::optional<RecusaPedido> recusa = m_edicao->prepararConfirmacao(m_contexto.idEmpresa))
        return recusar(*recusa);
    atualizar();
    if (!m_erroDados.isEmpty())
        return recusarEm(nullptr, m_erroDados, u"Erro"_s);
    if (const std::optional<RecusaPedido> recusa = m_edicao->verificarConteudo(m_recalculo))
        return recusar(*recusa);
    if (!passagemDeConfirmacao() || !regrasComerciais())
        return false;
    return gravar();
}

bool FichaPedido::gravar() {
    const FalhaEdicao falha = m_edicao->gravar();
    if (!falha.ok()) {
        switch (falha.tipo) {
        case FalhaEdicao::Tipo::Duplicado:
            standardWarning(Aviso::ChaveDuplicada, falha.campo, {}, this);
            m_abas->setCurrentIndex(0);
            m_cliente->setFocus();
            break;
        case FalhaEdicao::Tipo::Transmitido:
            MessageBox::show(falha.mensagem, u"Aviso"_s, Icon::Warning, {Button::Ok}, Button::Ok, this);
            break;
        case FalhaEdicao::Tipo::AlteradoPorOutro:
        case FalhaEdicao::Tipo::NaoEncontrado:
            // The other window's save stays; this one's typing is not written over it.
            standardWarning(Aviso::AlteradoPorOutraEstacao, {}, {}, this);
            break;
        default:
            standardWarning(m_requisicao == Requisicao::Inserir ? Aviso::ErroIncluir : Aviso::ErroGravar,
                            falha.erro, u"vendas"_s, {}, this);
            break;
        }
        return false;
    }
    ultimoGravado() = m_edicao->pedido();
    rascunho::remover(m_rascunho); // the order is in the files now
    m_idGravado = static_cast<int>(m_edicao->pedido().integer("ID"));
    m_fechando = true;
    if (const ImprimirPedido& imprimir = janelasPedido::impressao())
        imprimir(this, m_contexto, m_idGravado);
    QDialog::accept();
    return true;
}

void FichaPedido::reject() {
    if (m_requisicao == Requisicao::Consultar || m_fechando) {
        QDialog::reject();
        return;
    }
    daTela();
    if (!m_edicao->alteradoDesdeReferencia()) {
        cancelarEdicao();
        return;
    }
    m_fechando = true; // no field rule runs while the question is up
    const int resposta = standardWarning(Aviso::GravarAlteracoes, {}, {}, this);
    m_fechando = false;
    if (resposta == static_cast<int>(Button::Yes))
        confirmar();
    else if (resposta == static_cast<int>(Button::No))
        cancelarEdicao();
}

void FichaPedido::cancelarEdicao() {
    // Nothing of an order being typed is in the files before it is confirmed: giving it up is
    // forgetting it, its draft too.
    m_fechando = true;
    rascunho::remover(m_rascunho);
    QDialog::reject();
}

} // namespace qav
