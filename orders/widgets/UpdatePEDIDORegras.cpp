// The order form's field rules, its confirmation ("&OK") and its save and cancel.
#include "orders/widgets/UpdatePEDIDO.h"

#include "customers/core/ConsultasCliente.h"
#include "customers/widgets/BrowseClientes.h"
#include "customers/widgets/ContextoClientes.h"
#include "customers/widgets/EnderecoCliente.h"
#include "customers/widgets/ResolverReferencia.h"
#include "orders/core/CamposPedido.h"
#include "orders/core/CodigoLiberacao.h"
#include "orders/core/Frete.h"
#include "orders/core/ReferenciasPedido.h"
#include "orders/core/Repreco.h"
#include "orders/core/SituacaoPedido.h"
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

bool UpdatePEDIDO::recusarEm(QWidget* campo, const QString& texto, const QString& titulo) {
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

// ---------------------------------------------------------------------------------------------
// Field rules

bool UpdatePEDIDO::recusarFaixa(const ForaDaFaixa& fora) {
    standardWarning(fora.aviso, fora.texto1, fora.texto2, this);
    QLineEdit* campo = fora.campo == u"descv"_s ? m_descv : m_descp;
    m_teclas.reterFoco();
    campo->setFocus();
    campo->selectAll();
    campo->setModified(true); // refused again when left, and on "&OK", until corrected
    return false;
}

bool UpdatePEDIDO::regraCliente(bool interativo) {
    if (!daTela())
        return false;
    Record& p = m_edicao->pedido();
    std::optional<Record> cliente = referencias::cliente(*m_store, static_cast<int>(p.integer("CLIEN")));
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
        cliente = referencias::cliente(*m_store, static_cast<int>(*escolhido));
    }
    if (!cliente) {
        standardWarning(Aviso::ValorInvalido, u"Id do Cliente"_s, {}, this);
        m_teclas.reterFoco();
        m_abas->setCurrentIndex(0);
        m_cliente->setFocus();
        return false;
    }
    if (!lerDados())
        return recusarEm(nullptr, m_erroDados, u"Erro"_s);
    if (clienteDeOutroRepresentante(m_dados))
        return recusarEm(m_cliente, u"Cliente vínculado a outro representante/vendedor!"_s);

    if (interativo) {
        carregarTitulos();
        // Informative only: none of these stops the entry.
        if (temContasVencidas(m_titulos, Clock::today()) &&
            MessageBox::show(
                u"Este cliente possui contas em aberto.|Deseja consultar as contas desse cliente?!"_s,
                u"Consulta!!"_s, Icon::Question, {Button::Yes, Button::No}, Button::Yes, this) == Button::Yes)
            abrirContasDoCliente(this, m_contexto, static_cast<int>(cliente->integer("ID")));
        if (cliente->integer("LIB_CRED") == 0)
            MessageBox::show(u"Crédito não liberado para o cliente!"_s, u"Aviso"_s, Icon::Warning,
                             {Button::Ok}, Button::Ok, this);
        if (cliente->integer("ALERTA") != 0)
            MessageBox::show(cliente->text("OBS"), u"Alerta Anotação Cliente"_s, Icon::Information,
                             {Button::Ok}, Button::Ok, this);
    }
    if (interativo && m_requisicao == RequisicaoPedido::Inserir) {
        // A new order starts with the customer's terms and delivery address.
        p.setInteger("COD_FORMAPAG", cliente->integer("FORMA_PAG"));
        p.setInteger("COD_PAUTA", cliente->integer("COD_PAUTA"));
        p.setText("CONTA", cliente->text("CONTA"));
        p.setReal("DESCP", cliente->decimal("TX_DESC_PEDIDO").toDouble());
        p.setInteger("DESC_CLIENTE_REDE", cliente->integer("DESC_CLIENTE_REDE"));
        p.setText("E_ENDER", cliente->text("E_ENDER"));
        p.setText("E_BAIRR", cliente->text("E_BAIRR"));
        p.setInteger("ID_MUNICIPIO_ENTREGA", cliente->integer("ID_MUNICIPIO_ENTREGA"));
        p.setText("E_CEP", cliente->text("E_CEP"));
        m_campos.carregar(p);
        // The customer's payment form is taken as if typed; a customer without one leaves the choice
        // to the representative instead of opening the list unasked.
        if (p.integer("COD_FORMAPAG") != 0) {
            m_formaPag->setModified(false);
            return regraFormaPag(true);
        }
    }
    if (interativo) // the confirmation has just recalculated the order
        atualizar();
    return true;
}

bool UpdatePEDIDO::regraFormaPag(bool interativo) {
    if (!daTela())
        return false;
    Record& p = m_edicao->pedido();
    if (tipoSemFormaPag(static_cast<int>(p.integer("TIPOV"))))
        return true;
    const std::int64_t codigo = p.integer("COD_FORMAPAG");
    bool existe = formaPagamento(*m_store, m_contexto.idEmpresa, codigo).has_value();
    if (!existe && interativo) {
        const std::optional<std::int64_t> escolhido = resolverFormaPag(
            *m_store, codigo, {m_contexto.dataFolder, m_contexto.idEmpresa, m_contexto.programFolder}, this);
        if (!escolhido) {
            m_teclas.reterFoco();
            m_formaPag->setFocus();
            return false;
        }
        p.setInteger("COD_FORMAPAG", *escolhido);
        existe = true;
    }
    if (!existe) {
        standardWarning(Aviso::ValorInvalido, u"Forma de Pagamento"_s, {}, this);
        m_teclas.reterFoco();
        m_abas->setCurrentIndex(0);
        m_formaPag->setFocus();
        return false;
    }
    if (interativo) {
        if (!lerDados())
            return false;
        // The payment form's own discount replaces the header discount (unless the customer has one
        // of its own), and the item prices take its surcharge in place of the previous one.
        p.setReal("DESCP", descontoDoPedido(m_dados).toDouble());
        p.setReal("DESCV", 0.0);
        std::vector<PedidoItem> itens = linhas(m_edicao->itens());
        Mensagens mensagens;
        m_acrescimoAnterior = reprecificarFormaPag(itens, m_dados, m_acrescimoAnterior, mensagens);
        for (size_t i = 0; i < itens.size(); ++i)
            gravarRegistro(itens[i], m_edicao->itens()[i].item);
        for (const Mensagem& m : mensagens)
            MessageBox::show(m.texto, m.titulo, Icon::Information, {Button::Ok}, Button::Ok, this);
    }
    if (interativo) // the confirmation has just recalculated the order
        atualizar();
    return true;
}

bool UpdatePEDIDO::regraPauta(bool interativo) {
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

bool UpdatePEDIDO::regraCodigoLiberacao() {
    const Record& p = m_edicao->pedido();
    const auto codigo = static_cast<std::int32_t>(p.integer("COD_LIBERACAO"));
    if (codigo == 0)
        return true;
    Pedido pedido;
    lerRegistro(p, pedido);
    if (codigoLiberacaoValido(codigo, pedido.NUMER, pedido.CLIEN, pedido.TOTAL))
        return true;
    return recusarEm(m_codigoLiberacao, u"Código de liberação inválido!"_s);
}

bool UpdatePEDIDO::regraTransportador(QLineEdit* campo, const char* nomeCampo) {
    if (!daTela())
        return false;
    const int id = static_cast<int>(m_edicao->pedido().integer(nomeCampo));
    if (id != 0 && !referencias::transportador(*m_store, id)) {
        standardWarning(Aviso::ValorInvalido, campo == m_transp ? u"Transportador"_s : u"Redespacho"_s, {},
                        this);
        m_teclas.reterFoco();
        m_abas->setCurrentIndex(2);
        campo->setFocus();
        campo->selectAll();
        campo->setModified(true);
        return false;
    }
    atualizar();
    return true;
}

void UpdatePEDIDO::situacaoEscolhida(int indice) {
    Record& p = m_edicao->pedido();
    const int escolhida = m_situacao->itemData(indice).toInt();
    const int gravada = static_cast<int>(p.integer("SITUA"));
    // Only the upload makes an order transmitted.
    if (escolhida == situacao::Transmitido && gravada != situacao::Transmitido) {
        m_situacao->setCurrentIndex(m_situacao->findData(gravada));
        return;
    }
    daTela();
    p.setInteger("SITUA", escolhida);
    carregarOutrosPedidos(); // which other orders count against the flex balance depends on it
    atualizar();
}

void UpdatePEDIDO::campoEditado() {
    if (daTela())
        atualizar();
}

// The recalculation makes the freight of a rate: here, and after every other change.
void UpdatePEDIDO::freteEditado() {
    if (daTela())
        atualizar();
}

void UpdatePEDIDO::carregamentoEscolhido(int indice) {
    m_edicao->pedido().setInteger("ID_MUN_CARGA", m_carregamento->itemData(indice).toInt());
    atualizar();
}

void UpdatePEDIDO::lerCodigoBarras() {
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

void UpdatePEDIDO::enderecoEntrega() {
    if (!daTela())
        return;
    Record& p = m_edicao->pedido();
    const std::optional<Record> cliente =
        referencias::cliente(*m_store, static_cast<int>(p.integer("CLIEN")));
    if (!cliente) {
        MessageBox::show(u" Código do cliente inválido."_s, u"Aviso"_s, Icon::Warning, {Button::Ok},
                         Button::Ok, this);
        return;
    }
    if (p.text("E_ENDER").trimmed().isEmpty())
        for (const char* campo : {"E_ENDER", "E_BAIRR", "E_MUNIC", "E_ESTAD", "E_CEP"})
            p.setText(campo, cliente->text(campo));
    const ContextoClientes contexto{m_contexto.dataFolder, m_contexto.programFolder, m_contexto.idEmpresa};
    endEntrega(p, *m_store, m_requisicao == RequisicaoPedido::Consultar, contexto, this);
    paraTela();
}

void UpdatePEDIDO::restaurarCampo() {
    const std::optional<Record>& anterior = ultimoGravado();
    if (!anterior || m_requisicao == RequisicaoPedido::Consultar)
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

bool UpdatePEDIDO::passagemDeConfirmacao() {
    // The rules of the entries again, without the look-ups and questions.
    return regraCliente(false) && regraFormaPag(false) && regraCodigoLiberacao() &&
           regraTransportador(m_transp, "TRANSP") && regraTransportador(m_redesp, "REDESP");
}

bool UpdatePEDIDO::regrasComerciais() {
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

bool UpdatePEDIDO::confirmar() {
    if (m_requisicao == RequisicaoPedido::Consultar)
        return false;
    if (!daTela())
        return false;
    Record& p = m_edicao->pedido();
    if (tipoSemFormaPag(static_cast<int>(p.integer("TIPOV")))) {
        p.setInteger("COD_FORMAPAG", 0);
    } else if (!formaPagamento(*m_store, m_contexto.idEmpresa, p.integer("COD_FORMAPAG"))) {
        standardWarning(Aviso::ValorInvalido, u"Forma de Pagamento"_s, {}, this);
        m_abas->setCurrentIndex(0);
        m_formaPag->setFocus();
        return false;
    }
    const int fconta = static_cast<int>(p.integer("FCONTA"));
    if (fconta != 1 && fconta != 2)
        return recusarEm(m_fconta, u"Informe o frete: Emitente (CIF) ou Destinatário (FOB)."_s);
    atualizar();
    if (!m_erroDados.isEmpty())
        return recusarEm(nullptr, m_erroDados, u"Erro"_s);
    // A value that does not fit its field keeps the order from being saved until it is corrected.
    if (m_recalculo.estouro)
        return recusarEm(nullptr, m_recalculo.estouro->texto, m_recalculo.estouro->titulo);
    if (m_edicao->itens().empty())
        return recusarEm(m_itens,
                         u"Este pedido não contém nenhum produto;|portanto não pode ser confirmado!"_s,
                         u"Atenção"_s);
    if (!passagemDeConfirmacao() || !regrasComerciais())
        return false;
    return gravar();
}

bool UpdatePEDIDO::gravar() {
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
            setPendingError(falha.erro);
            standardWarning(m_requisicao == RequisicaoPedido::Inserir ? Aviso::ErroIncluir
                                                                      : Aviso::ErroGravar,
                            u"vendas"_s, {}, this);
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

void UpdatePEDIDO::reject() {
    if (m_requisicao == RequisicaoPedido::Consultar || m_fechando) {
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

void UpdatePEDIDO::cancelarEdicao() {
    // Nothing of an order being typed is in the files before it is confirmed: giving it up is
    // forgetting it, its draft too.
    m_fechando = true;
    rascunho::remover(m_rascunho);
    QDialog::reject();
}

} // namespace qav
