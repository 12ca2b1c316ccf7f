#include "sync/core/EnvioPedidos.h"

#include "base/core/Version.h"
#include "store/core/Clock.h"
#include "store/core/Table.h"
#include "store/core/Text.h"
#include "store/core/Transaction.h"
#include "sync/core/CabecalhoPedidoZor.h"
#include "sync/core/ComandosEnvio.h"
#include "sync/core/DownloadCadastros.h"
#include "sync/core/DownloadClientes.h"
#include "sync/core/DownloadHistorico.h"
#include "sync/core/DownloadReceber.h"
#include "sync/core/DownloadSocios.h"
#include "sync/core/EnvioCliente.h"
#include "sync/core/ItensPedidoZor.h"
#include "sync/core/NumeracaoPedido.h"
#include "sync/core/OperacaoFiscal.h"

#include <algorithm>
#include <vector>

namespace qav::sync {

namespace {

// How long an order waits for another window or station writing to the order and customer files
// before the upload gives up (and the run with it).
constexpr int kEsperaTransacaoMs = 1000;

// The local tables the upload reads and writes, open for the whole step.
struct Tabelas {
    explicit Tabelas(Store& store)
        : pedidos(store, "pedidos"), peditens(store, "peditens"), pedacess(store, "pedacess"),
          clientes(store, "clientes"), socios(store, "socios"), municipios(store, "municip"),
          tipos(store, "qavtipoped"), vendedores(store, "vendedor"), formas(store, "formapag"),
          empresas(store, "empresa"), pautas(store, "pauta"), precos(store, "pauxpro"),
          produtos(store, "produto"), envio{pedidos, peditens, pedacess, clientes, socios} {}

    // The first table that did not open, or nullptr.
    Table* abrir() {
        for (Table* t : {&pedidos, &peditens, &pedacess, &clientes, &socios, &municipios, &tipos, &vendedores,
                         &formas, &empresas, &pautas, &precos, &produtos})
            if (!t->open())
                return t;
        return nullptr;
    }

    Table pedidos, peditens, pedacess, clientes, socios, municipios, tipos, vendedores, formas, empresas,
        pautas, precos, produtos;
    TabelasEnvio envio;
};

// The record of `tabela` with the given key values; a blank record when there is none.
std::optional<Record> ler(Table& tabela, const char* chave,
                          std::initializer_list<std::pair<const char*, long long>> valores) {
    tabela.clear();
    for (const auto& [campo, valor] : valores)
        tabela.rec().setInteger(campo, valor);
    if (tabela.get(chave) != Status::Ok)
        return std::nullopt;
    return tabela.rec();
}

Record lerOuVazio(Table& tabela, const char* chave,
                  std::initializer_list<std::pair<const char*, long long>> valores) {
    if (auto r = ler(tabela, chave, valores))
        return *r;
    tabela.clear();
    return tabela.rec();
}

// The released orders of the company, in the order of the situation key.
std::optional<std::vector<long long>> pedidosLiberados(Table& pedidos, int idEmpresa) {
    std::vector<long long> ids;
    pedidos.setFilter("SITUA = 2 AND ID_EMPRESA = ?", {idEmpresa});
    bool ok = pedidos.seekFirst("KEYSITUA") != Status::Error;
    Status s = Status::Ok;
    while (ok && (s = pedidos.next()) == Status::Ok)
        ids.push_back(pedidos.rec().integer("ID"));
    pedidos.clearFilter();
    if (!ok || s == Status::Error)
        return std::nullopt;
    return ids;
}

// One order, from "begin;" to "commit;", beside its local transaction.
class EnvioPedido {
public:
    EnvioPedido(ContextoComunicacao& c, Tabelas& t, Record pedido, Record cliente, QString estado,
                Record tipo, Record vendedor, Record formaPag, Record empresa)
        : m_c(c), m_t(t), m_vda(std::move(pedido)), m_cliente(std::move(cliente)),
          m_estado(std::move(estado)), m_tipo(std::move(tipo)), m_vendedor(std::move(vendedor)),
          m_formaPag(std::move(formaPag)), m_empresa(std::move(empresa)) {}

    // True when the order is on the server and marked transmitted here; otherwise both sides are as
    // they were before it.
    bool enviar() {
        Transaction local({&m_t.pedidos, &m_t.peditens, &m_t.pedacess, &m_t.clientes, &m_t.socios});
        if (!m_c.conexao.iniciar())
            return false;
        if (!local.begin(kEsperaTransacaoMs)) {
            m_c.aviso(QStringLiteral("Erro (%1) ao iniciar transação!").arg(local.error().number()));
            m_c.conexao.desfazer();
            return false;
        }
        if (transmitir(local))
            return true;
        m_c.conexao.desfazer();
        local.rollback();
        return false;
    }

private:
    long long numer() const { return m_vda.integer("NUMER"); }

    bool transmitir(Transaction& local) {
        const long long idEmpresa = m_vda.integer("ID_EMPRESA");
        QString ponto = text::rtrim(m_c.qavcfg->text("PONTO_INSTALACAO"));
        if (ponto.isEmpty())
            ponto = QStringLiteral("A"); // the installation point every workstation has until told otherwise
        const QString numeroQav = numeroPedidoQav(m_vda.integer("COD_VENDEDOR"), ponto, numer());

        // A run that committed this order on the server and then lost its own commit: the server
        // already holds it, so it is only marked transmitted here.
        const auto recebido = numeroJaRecebido(m_c, static_cast<int>(idEmpresa), numeroQav);
        if (!recebido)
            return false;
        if (*recebido != 0) {
            m_c.registrar(QStringLiteral("Pedido # %1 já recebido pelo servidor com o número %2...")
                              .arg(numer())
                              .arg(*recebido));
            return concluir(local, *recebido);
        }

        if (m_vda.integer("CLIEN") >= kPrimeiroIdLocal && !enviarClienteNovo())
            return false;

        const Record pauta = lerOuVazio(m_t.pautas, "KEYCODIGO",
                                        {{"CODIGO", m_vda.integer("COD_PAUTA")}, {"ID_EMPRESA", idEmpresa}});
        m_c.linhaProgresso(QStringLiteral("Gravando Pedido # %1...").arg(numer()));

        const auto numero = reservarNumeroPedido(m_c, m_c.idEmpresa);
        if (!numero)
            return false;
        const auto operacao = escolherOperacaoFiscal(m_c, m_cliente, m_tipo, m_estado);
        if (!operacao)
            return false;
        SegundoVendedor segundo;
        if (!segundoVendedor(segundo))
            return false;

        ErroSql erro;
        const DadosCabecalho cabecalho{
            m_vda,   m_cliente, m_vendedor,         m_formaPag,      m_empresa,     m_tipo,
            *numero, numeroQav, std::move(segundo), operacao->idTes, Clock::today()};
        if (!m_c.conexao.executar(comandoCabecalho(m_c.conexao, cabecalho), &erro)) {
            m_c.erroComando(erro);
            return false;
        }
        const QString idPedido =
            m_c.conexao.querysql(QStringLiteral("select currval('zor.pedidos_id_pedido_seq');"));
        if (idPedido.isEmpty())
            return false;
        const DadosItens itens{m_t.envio,  m_t.produtos, m_t.precos,           m_vda, m_cliente, pauta,
                               m_vendedor, *operacao,    idPedido.toLongLong()};
        if (!enviarItens(m_c, itens) || !registrarNoLog(idPedido, *numero))
            return false;
        return concluir(local, *numero);
    }

    // The order's new customer goes first, in the same transaction; the order then names it by the
    // server's id.
    bool enviarClienteNovo() {
        const long long idLocal = m_vda.integer("CLIEN");
        const auto idServidor = enviarCliente(m_c, m_t.envio, static_cast<int>(idLocal),
                                              static_cast<int>(m_vda.integer("ID_EMPRESA")));
        if (!idServidor)
            return false;
        m_vda.setInteger("CLIEN", *idServidor);
        if (auto cliente = ler(m_t.clientes, "KEYID", {{"ID", *idServidor}}))
            m_cliente = *cliente;
        else
            m_cliente.setInteger("ID", *idServidor);
        return true;
    }

    // The customer's second salesperson, as the head office registers salespeople.
    bool segundoVendedor(SegundoVendedor& segundo) {
        std::optional<Linha> linha;
        if (!envio::lerLinha(
                m_c,
                QStringLiteral("SELECT cod_vendedor2,com_ven,com_rec   FROM zor.corrent A   LEFT OUTER "
                               "JOIN gestao.vendedor B ON (a.cod_vendedor2=b.codigo AND "
                               "b.id_empresa=") +
                    Conexao::inteiro(m_c.empresaCabeca) + QStringLiteral(")   WHERE id_corrent=") +
                    Conexao::inteiro(m_vda.integer("CLIEN")) + QLatin1Char(';'),
                linha))
            return false;
        if (!linha)
            return true;
        segundo.codigo = linha->inteiro(0);
        if (linha->decimal(1) > Decimal()) {
            segundo.taxa = linha->decimal(1);
            segundo.tipo = QStringLiteral("F");
        } else if (linha->decimal(2) > Decimal()) {
            segundo.taxa = linha->decimal(2);
            segundo.tipo = QStringLiteral("R");
        }
        return true;
    }

    bool registrarNoLog(const QString& idPedido, int numero) {
        std::optional<Linha> soma, saldo;
        if (!envio::lerLinha(m_c,
                             QStringLiteral("SELECT sum(vl_flex) FROM zor.peditens WHERE id_pedido=") +
                                 idPedido + QLatin1Char(';'),
                             soma) ||
            !envio::lerLinha(m_c,
                             QStringLiteral("SELECT saldo_flex FROM gestao.flex WHERE id_empresa=") +
                                 Conexao::inteiro(m_vda.integer("ID_EMPRESA")) +
                                 QStringLiteral(" AND id_vendedor=") +
                                 Conexao::inteiro(m_vendedor.integer("ID_VENDEDOR")) + QLatin1Char(';'),
                             saldo))
            return false;
        const QString descricao =
            QString::number(numero) + QStringLiteral("/QAV+ ") + versaoPrograma.toString() +
            QStringLiteral("/Flex: ") + QString::number(m_vda.integer("PED_FLEX")) + QLatin1Char('/') +
            (soma ? soma->texto(0) : QString()) + QLatin1Char('/') + (saldo ? saldo->texto(0) : QString()) +
            QStringLiteral("/Dt:") +
            QString::fromStdString(Date(static_cast<int>(m_vda.integer("DATA"))).toBr());
        ErroSql erro;
        if (!m_c.conexao.executar(
                QStringLiteral("INSERT INTO gestao.log(   nome_cpd, nome_usuario, operacao, tabela, "
                               "id, descricao, id_empresa)   VALUES ('QAV', 'QAV', 'INC', "
                               "'pedido', ") +
                    idPedido + QStringLiteral(", ") + m_c.conexao.textoSempre(descricao) + QLatin1Char(',') +
                    Conexao::inteiro(m_vda.integer("ID_EMPRESA")) + QStringLiteral(");"),
                &erro)) {
            m_c.erroComando(erro);
            return false;
        }
        return true;
    }

    // The order is transmitted under the server's number; both sides commit.
    bool concluir(Transaction& local, int numero) {
        Table& pedidos = m_t.pedidos;
        const bool lido = ler(pedidos, "KEYID", {{"ID", m_vda.integer("ID")}}).has_value();
        if (lido) {
            pedidos.rec().setInteger("SITUA", 3);
            pedidos.rec().setInteger("NUM_ERP", numero);
            pedidos.rec().setInteger("CLIEN", m_vda.integer("CLIEN"));
        }
        if (!lido || pedidos.put() != Status::Ok) {
            m_c.erro(QStringLiteral("Erro (%1) ao gravar pedido!").arg(pedidos.error().number()));
            return false;
        }
        if (!m_c.conexao.confirmar())
            return false;
        // The server holds the order now; should this commit fail, the next run finds it there by its
        // workstation number and only marks it.
        if (!local.commit()) {
            m_c.erro(QStringLiteral("Erro (%1) ao gravar pedido!").arg(local.error().number()));
            return false;
        }
        ++m_c.pedidosEnviados;
        return true;
    }

    ContextoComunicacao& m_c;
    Tabelas& m_t;
    Record m_vda;
    Record m_cliente;
    QString m_estado;
    Record m_tipo, m_vendedor, m_formaPag, m_empresa;
};

} // namespace

bool enviarPedidosZor(ContextoComunicacao& c) {
    Tabelas t(c.store);
    if (Table* falhou = t.abrir()) {
        c.erro(QStringLiteral("Erro (%1) ao abrir %2!")
                   .arg(falhou->error().number())
                   .arg(falhou->def().tableName()));
        return false;
    }
    const long long codVendedor = c.qavcfg->integer("COD_VENDEDOR");
    if (!ler(t.vendedores, "KEYCODIGO", {{"CODIGO", codVendedor}, {"ID_EMPRESA", c.idEmpresa}})) {
        c.aviso(QStringLiteral("Representante Inválido (%1/%2)!|Pedidos não serão transmitidos.")
                    .arg(c.idEmpresa)
                    .arg(codVendedor));
        return true;
    }
    c.renumeracaoClientes.clear();
    c.passoOk = false;
    const auto ids = pedidosLiberados(t.pedidos, c.idEmpresa);
    if (!ids) {
        c.erro(QStringLiteral("Erro (%1) ao ler pedidos!").arg(t.pedidos.error().number()));
        return false;
    }
    for (const long long id : *ids) {
        if (c.parar()) {
            c.registrar(QStringLiteral("Comunicação interrompida pelo usuário..."));
            return false;
        }
        auto pedido = ler(t.pedidos, "KEYID", {{"ID", id}});
        if (!pedido || pedido->integer("SITUA") != 2)
            continue;
        const long long numer = pedido->integer("NUMER");
        const long long idEmpresa = pedido->integer("ID_EMPRESA");
        c.registrar(QStringLiteral("Transferindo Pedido # %1...").arg(numer));
        Record empresa = lerOuVazio(t.empresas, "KEYID", {{"ID_EMPRESA", idEmpresa}});
        const auto renumerado = std::find_if(
            c.renumeracaoClientes.begin(), c.renumeracaoClientes.end(),
            [&](const std::pair<int, int>& par) { return par.first == pedido->integer("CLIEN"); });
        if (renumerado != c.renumeracaoClientes.end())
            pedido->setInteger("CLIEN", renumerado->second);
        const auto cliente = ler(t.clientes, "KEYID", {{"ID", pedido->integer("CLIEN")}});
        if (!cliente) {
            c.aviso(QStringLiteral("Cliente inválido!|Pedido # %1").arg(numer));
            continue;
        }
        const auto municipio = ler(t.municipios, "KEYID", {{"ID", cliente->integer("ID_MUNICIPIO")}});
        if (!municipio) {
            c.aviso(QStringLiteral("Município inválido!|Cliente # %1").arg(cliente->integer("ID")));
            continue;
        }
        EnvioPedido envio(
            c, t, *pedido, *cliente, municipio->text("ESTADO"),
            lerOuVazio(t.tipos, "KEYID", {{"ID", pedido->integer("TIPOV")}}),
            lerOuVazio(t.vendedores, "KEYCODIGO",
                       {{"CODIGO", pedido->integer("COD_VENDEDOR")}, {"ID_EMPRESA", idEmpresa}}),
            lerOuVazio(t.formas, "KEYCODIGO",
                       {{"CODIGO", pedido->integer("COD_FORMAPAG")}, {"ID_EMPRESA", idEmpresa}}),
            std::move(empresa));
        if (!envio.enviar())
            return false;
    }
    return true;
}

PassosComunicacao passosPadrao() {
    PassosComunicacao passos;
    passos.envioPedidosZor = &enviarPedidosZor;
    // Each step runs only in the server form it is written for.
    passos.downloads = {&baixarMunicipios,
                        &baixarClientesGerente,
                        &baixarSociosGerente,
                        &baixarHistoricoGerente,
                        &baixarItensHistoricoGerente,
                        &baixarReceberGerente,
                        &baixarClientesZor,
                        &baixarSociosZor,
                        &baixarHistoricoZor,
                        &baixarItensHistoricoZor,
                        &baixarReceberZor,
                        &baixarFormasPagamento,
                        &baixarProdutos,
                        &baixarAcessorios,
                        &baixarPautas,
                        &baixarProdutosPauta,
                        &baixarStIcms,
                        &baixarEstoque,
                        &baixarCustoProdutos,
                        &baixarCustoFrete};
    return passos;
}

} // namespace qav::sync
