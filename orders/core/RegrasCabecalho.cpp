// The header rules of the order in edition (EdicaoPedido), as the order form applies them.
#include "orders/core/RegrasCabecalho.h"

#include "customers/core/ConsultasCliente.h"
#include "orders/core/CamposPedido.h"
#include "orders/core/CodigoLiberacao.h"
#include "orders/core/EdicaoPedido.h"
#include "orders/core/Frete.h"
#include "orders/core/ReferenciasPedido.h"
#include "orders/core/Repreco.h"
#include "orders/core/SituacaoPedido.h"

namespace qav {

namespace {

using Motivo = RecusaPedido::Motivo;

// A code that names no row: the standard warning "invalid value" for the entry.
RecusaPedido codigoSemRegistro(Motivo motivo, CampoPedido campo, const QString& rotulo) {
    RecusaPedido r;
    r.motivo = motivo;
    r.campo = campo;
    r.aviso = Aviso::ValorInvalido;
    r.rotulo = rotulo;
    return r;
}

RecusaPedido recusa(Motivo motivo, CampoPedido campo, const QString& texto,
                    const QString& titulo = QStringLiteral("Aviso")) {
    RecusaPedido r;
    r.motivo = motivo;
    r.campo = campo;
    r.mensagem = {titulo, texto};
    return r;
}

} // namespace

std::optional<Record> EdicaoPedido::cliente() const {
    return referencias::cliente(m_store, static_cast<int>(m_pedido.integer("CLIEN")));
}

std::optional<RecusaPedido> EdicaoPedido::verificarCliente(const std::optional<Record>& cliente) {
    if (cliente)
        return std::nullopt;
    return codigoSemRegistro(Motivo::ClienteInexistente, CampoPedido::Cliente,
                             QStringLiteral("Id do Cliente"));
}

std::optional<RecusaPedido> EdicaoPedido::verificarRepresentanteDoCliente(const DadosPedido& dados) {
    if (!clienteDeOutroRepresentante(dados))
        return std::nullopt;
    return recusa(Motivo::ClienteDeOutroRepresentante, CampoPedido::Cliente,
                  QStringLiteral("Cliente vínculado a outro representante/vendedor!"));
}

AvisosCliente EdicaoPedido::avisosDoCliente(const Record& cliente, const std::vector<Titulo>& titulos,
                                            Date hoje) {
    AvisosCliente avisos;
    if (temContasVencidas(titulos, hoje))
        avisos.contasVencidas =
            Mensagem{QStringLiteral("Consulta!!"),
                     QStringLiteral(
                         "Este cliente possui contas em aberto.|Deseja consultar as contas desse cliente?!")};
    if (cliente.integer("LIB_CRED") == 0)
        avisos.creditoNaoLiberado =
            Mensagem{QStringLiteral("Aviso"), QStringLiteral("Crédito não liberado para o cliente!")};
    if (cliente.integer("ALERTA") != 0)
        avisos.alerta = Mensagem{QStringLiteral("Alerta Anotação Cliente"), cliente.text("OBS")};
    return avisos;
}

bool EdicaoPedido::aplicarCliente(const Record& cliente) {
    Record& p = m_pedido;
    p.setInteger("COD_FORMAPAG", cliente.integer("FORMA_PAG"));
    p.setInteger("COD_PAUTA", cliente.integer("COD_PAUTA"));
    p.setText("CONTA", cliente.text("CONTA"));
    p.setReal("DESCP", cliente.decimal("TX_DESC_PEDIDO").toDouble());
    p.setInteger("DESC_CLIENTE_REDE", cliente.integer("DESC_CLIENTE_REDE"));
    p.setText("E_ENDER", cliente.text("E_ENDER"));
    p.setText("E_BAIRR", cliente.text("E_BAIRR"));
    p.setInteger("ID_MUNICIPIO_ENTREGA", cliente.integer("ID_MUNICIPIO_ENTREGA"));
    p.setText("E_CEP", cliente.text("E_CEP"));
    return p.integer("COD_FORMAPAG") != 0;
}

void EdicaoPedido::completarEnderecoEntrega(const Record& cliente) {
    if (!m_pedido.text("E_ENDER").trimmed().isEmpty())
        return;
    for (const char* campo : {"E_ENDER", "E_BAIRR", "E_MUNIC", "E_ESTAD", "E_CEP"})
        m_pedido.setText(campo, cliente.text(campo));
}

bool EdicaoPedido::levaFormaPag() const {
    return !tipoSemFormaPag(static_cast<int>(m_pedido.integer("TIPOV")));
}

std::optional<RecusaPedido> EdicaoPedido::verificarFormaPag(int idEmpresa) const {
    if (!levaFormaPag() || formaPagamento(m_store, idEmpresa, m_pedido.integer("COD_FORMAPAG")))
        return std::nullopt;
    return codigoSemRegistro(Motivo::FormaPagInexistente, CampoPedido::FormaPag,
                             QStringLiteral("Forma de Pagamento"));
}

Mensagens EdicaoPedido::aplicarFormaPag(const DadosPedido& dados, Decimal& acrescimoAnterior) {
    m_pedido.setReal("DESCP", descontoDoPedido(dados).toDouble());
    m_pedido.setReal("DESCV", 0.0);
    std::vector<PedidoItem> itens(m_itens.size());
    for (std::size_t i = 0; i < itens.size(); ++i)
        lerRegistro(m_itens[i].item, itens[i]);
    Mensagens mensagens;
    acrescimoAnterior = reprecificarFormaPag(itens, dados, acrescimoAnterior, mensagens);
    for (std::size_t i = 0; i < itens.size(); ++i)
        gravarRegistro(itens[i], m_itens[i].item);
    return mensagens;
}

std::optional<RecusaPedido> EdicaoPedido::verificarCodigoLiberacao() const {
    const auto codigo = static_cast<std::int32_t>(m_pedido.integer("COD_LIBERACAO"));
    if (codigo == 0)
        return std::nullopt;
    Pedido pedido;
    lerRegistro(m_pedido, pedido);
    if (codigoLiberacaoValido(codigo, pedido.NUMER, pedido.CLIEN, pedido.TOTAL))
        return std::nullopt;
    return recusa(Motivo::CodigoLiberacaoInvalido, CampoPedido::CodigoLiberacao,
                  QStringLiteral("Código de liberação inválido!"));
}

std::optional<RecusaPedido> EdicaoPedido::verificarTransportador(CampoPedido campo) const {
    const bool redespacho = campo == CampoPedido::Redespacho;
    const int id = static_cast<int>(m_pedido.integer(redespacho ? "REDESP" : "TRANSP"));
    if (id == 0 || referencias::transportador(m_store, id))
        return std::nullopt;
    return codigoSemRegistro(Motivo::TransportadorInexistente,
                             redespacho ? CampoPedido::Redespacho : CampoPedido::Transportador,
                             redespacho ? QStringLiteral("Redespacho") : QStringLiteral("Transportador"));
}

bool EdicaoPedido::situacaoPermitida(int escolhida) const {
    return escolhida != situacao::Transmitido || m_pedido.integer("SITUA") == situacao::Transmitido;
}

std::optional<RecusaPedido> EdicaoPedido::verificarPautaParaItens(const DadosPedido& dados) const {
    if (dados.qavcfg.ATIVAR_PROD_PAUTA == 0 && m_pedido.integer("COD_PAUTA") == 0)
        return std::nullopt;
    if (!dados.pauta)
        return recusa(Motivo::PautaInvalida, CampoPedido::Pauta, QStringLiteral("Pauta de preços inválida!"));
    if (dados.pauta->ATIVO == 0)
        return recusa(Motivo::PautaInativa, CampoPedido::Pauta, QStringLiteral("Pauta de preços inativa!"));
    return std::nullopt;
}

ResultadoRecalculo EdicaoPedido::recalcularComBloqueios(const DadosPedido& dados,
                                                        const std::vector<OutroPedido>& outros) {
    ResultadoRecalculo resultado = recalcular(dados, outros);
    if (!resultado.estouro && dados.qavcfg.descontosBloqueados() && resultado.TX_DESC_PAUTA.isZero() &&
        m_pedido.real("DESCP") != 0.0) {
        m_pedido.setReal("DESCP", 0.0);
        resultado = recalcular(dados, outros);
    }
    return resultado;
}

CamposLiberados EdicaoPedido::camposLiberados(const DadosPedido& dados, const ResultadoRecalculo& recalculo,
                                              int idEmpresa) const {
    const QavCfg& cfg = dados.qavcfg;
    const int pauta = static_cast<int>(m_pedido.integer("COD_PAUTA"));
    const bool clienteComPauta = dados.cliente.COD_PAUTA != 0;
    // A customer's own price list stays when the company locks it, or when the list is reserved to
    // the customers that have it; items priced on a list keep it too.
    const bool pautaTravada =
        !m_itens.empty() || (cfg.BLOQ_PAUTA != 0 && clienteComPauta) ||
        (pauta != 0 && clienteComPauta && referencias::pautaExclusivaCliente(m_store, idEmpresa, pauta));
    CamposLiberados c;
    c.formaPag = levaFormaPag();
    c.frete = m_pedido.decimal("TX_FRETE") <= taxaFreteMinima();
    c.pauta = !pautaTravada;
    c.descp = recalculo.TX_DESC_PAUTA > Decimal() || !cfg.descontosBloqueados();
    c.outrosDescontos = !cfg.descontosBloqueados();
    c.codigoBarras = cfg.ATIVA_LEIT_COD_BARRAS != 0;
    c.produtoEntregue = cfg.ATIVA_ENTREGA_IMEDIATA != 0;
    c.fconta = !fconta::escolhido(cfg.BLOQ_FRETE);
    c.abaFlex = m_pedido.integer("PED_FLEX") != 0;
    c.abaAnalise = dados.vendedor.PERMITIR_ANALISE_LUCRO != 0;
    return c;
}

std::optional<RecusaPedido> EdicaoPedido::prepararConfirmacao(int idEmpresa) {
    if (!levaFormaPag())
        m_pedido.setInteger("COD_FORMAPAG", 0);
    else if (std::optional<RecusaPedido> r = verificarFormaPag(idEmpresa))
        return r;
    if (!fconta::escolhido(static_cast<int>(m_pedido.integer("FCONTA"))))
        return recusa(Motivo::FreteSemResponsavel, CampoPedido::Fconta,
                      QStringLiteral("Informe o frete: Emitente (CIF) ou Destinatário (FOB)."));
    return std::nullopt;
}

std::optional<RecusaPedido> EdicaoPedido::verificarConteudo(const ResultadoRecalculo& recalculo) const {
    // A value that does not fit its field keeps the order from being saved until it is corrected.
    if (recalculo.estouro) {
        RecusaPedido r;
        r.motivo = Motivo::ValorForaDoCampo;
        r.mensagem = *recalculo.estouro;
        return r;
    }
    if (m_itens.empty())
        return recusa(
            Motivo::SemItens, CampoPedido::Itens,
            QStringLiteral("Este pedido não contém nenhum produto;|portanto não pode ser confirmado!"),
            QStringLiteral("Atenção"));
    return std::nullopt;
}

std::optional<RecusaPedido> EdicaoPedido::passagemDeConfirmacao(const DadosPedido& dados,
                                                                int idEmpresa) const {
    if (std::optional<RecusaPedido> r = verificarCliente(cliente()))
        return r;
    if (std::optional<RecusaPedido> r = verificarRepresentanteDoCliente(dados))
        return r;
    if (std::optional<RecusaPedido> r = verificarFormaPag(idEmpresa))
        return r;
    return verificarCodigoLiberacao();
}

} // namespace qav
