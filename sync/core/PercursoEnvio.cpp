#include "sync/core/PercursoEnvio.h"

#include "store/core/Connection.h"
#include "store/core/Text.h"
#include "store/core/Transaction.h"

#include <algorithm>
#include <sqlite3.h>
#include <vector>

namespace qav::sync {

namespace {

// How long an order waits for another window or station writing to the order and customer files
// before the upload gives up (and the run with it).
constexpr int kEsperaTransacaoMs = 1000;

// The ids of the company's released orders read from the records themselves (NOT INDEXED), whatever
// state the file's keys are in. nullopt with `erro` on an error.
std::optional<std::vector<long long>> idsNosRegistros(Table& pedidos, int idEmpresa, StoreError& erro) {
    Connection* conexao = pedidos.connection();
    if (!conexao) {
        erro = pedidos.error();
        return std::nullopt;
    }
    const std::string sql = "SELECT \"ID\" FROM \"" + pedidos.schemaName() + "\".\"" +
                            pedidos.def().tableName().toStdString() +
                            "\" NOT INDEXED WHERE \"SITUA\" = 2 AND \"ID_EMPRESA\" = ?";
    sqlite3_stmt* comando = conexao->statement(sql, &erro);
    if (!comando)
        return std::nullopt;
    StatementReset limpar(comando);
    sqlite3_bind_int64(comando, 1, idEmpresa);
    std::vector<long long> ids;
    int rc;
    while ((rc = sqlite3_step(comando)) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(comando, 0));
    if (rc != SQLITE_DONE) {
        erro = conexao->lastError();
        return std::nullopt;
    }
    return ids;
}

struct Liberados {
    std::vector<long long> ids; // in the order of the situation key
    long long ocultos = 0;      // released orders the key walk did not reach
};

// The released orders of the company, in the order of the situation key, checked against the records
// themselves: a key that lost rows (a damaged file) would hide an order from the upload, the server
// would never get it, and the run would report success.
std::optional<Liberados> pedidosLiberados(Table& pedidos, int idEmpresa, StoreError& erro) {
    Liberados l;
    pedidos.setFilter("SITUA = 2 AND ID_EMPRESA = ?", {idEmpresa});
    bool ok = pedidos.seekFirst("KEYSITUA") != Status::Error;
    Status s = Status::Ok;
    while (ok && (s = pedidos.next()) == Status::Ok)
        l.ids.push_back(pedidos.rec().integer("ID"));
    pedidos.clearFilter();
    if (!ok || s == Status::Error) {
        erro = pedidos.error();
        return std::nullopt;
    }
    const auto registros = idsNosRegistros(pedidos, idEmpresa, erro);
    if (!registros)
        return std::nullopt;
    std::vector<long long> vistos = l.ids;
    std::sort(vistos.begin(), vistos.end());
    for (const long long id : *registros)
        if (!std::binary_search(vistos.begin(), vistos.end(), id))
            ++l.ocultos;
    return l;
}

// A damaged order file: nothing is sent, the file is named, and the repair of its keys (what qavbd
// does for a damaged key) is offered.
void avisarPedidosOcultos(ContextoComunicacao& c, Table& pedidos, long long ocultos) {
    const QString arquivo = QString::fromLatin1(pedidos.def().fileName);
    const QString dano =
        QStringLiteral("O arquivo %1 está danificado: %2 pedido(s) liberado(s) não podem ser "
                       "lidos pela sua chave.|Nenhum pedido foi transmitido.")
            .arg(arquivo)
            .arg(ocultos);
    if (!c.ouvinte.pergunta(QStringLiteral("Erro"),
                            dano + QStringLiteral("|Reparar o arquivo agora (reconstruir as chaves, como o "
                                                  "qavbd faz)?"))) {
        c.aviso(dano + QStringLiteral("|Feche o programa e execute o qavbd para reparar o arquivo; depois "
                                      "faça a comunicação novamente."));
        return;
    }
    StoreError erro;
    if (!pedidos.connection() ||
        !pedidos.connection()->exec("REINDEX " + pedidos.def().tableName().toStdString(), &erro)) {
        c.erro(QStringLiteral("Não foi possível reparar %1: %2|Feche o programa e execute o qavbd.")
                   .arg(arquivo, erro.driverText.isEmpty() ? erro.text : erro.driverText));
        return;
    }
    c.aviso(QStringLiteral("Arquivo %1 reparado.|Faça a comunicação novamente para transmitir os pedidos.")
                .arg(arquivo));
}

// One order, from "begin;" to "commit;", beside its local transaction.
class EnvioPedido {
public:
    EnvioPedido(ContextoComunicacao& c, TabelasPedidos& t, DestinoPedidos& destino, PedidoAEnviar pedido)
        : m_c(c), m_t(t), m_destino(destino), m_p(std::move(pedido)) {}

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
        // After the server's commit (a local commit that failed) there is nothing left to roll back
        // there: the next run finds the order on the server and only marks it.
        if (m_c.conexao.emTransacao())
            m_c.conexao.desfazer();
        local.rollback();
        return false;
    }

private:
    long long numer() const { return m_p.pedido.integer("NUMER"); }

    bool transmitir(Transaction& local) {
        const long long idEmpresa = m_p.pedido.integer("ID_EMPRESA");
        QString ponto = text::rtrim(m_c.qavcfg->text("PONTO_INSTALACAO"));
        if (ponto.isEmpty())
            ponto = QStringLiteral("A"); // the installation point every workstation has until told otherwise
        m_p.numeroQav = numeroPedidoQav(m_p.pedido.integer("COD_VENDEDOR"), ponto, numer());

        // A run that committed this order on the server and then lost its own commit: the server
        // already holds it, so it is only marked transmitted here.
        const auto recebido =
            numeroJaRecebido(m_c, static_cast<int>(idEmpresa), m_p.numeroQav, m_destino.pedidosServidor());
        if (!recebido)
            return false;
        if (*recebido != 0) {
            m_c.registrar(QStringLiteral("Pedido # %1 já recebido pelo servidor com o número %2...")
                              .arg(numer())
                              .arg(*recebido));
            return concluir(local, *recebido);
        }

        if (m_p.pedido.integer("CLIEN") >= kPrimeiroIdLocal && !enviarClienteNovo())
            return false;

        m_p.pauta = lerOuVazio(m_t.pautas, "KEYCODIGO",
                               {{"CODIGO", m_p.pedido.integer("COD_PAUTA")}, {"ID_EMPRESA", idEmpresa}});
        m_c.linhaProgresso(QStringLiteral("Gravando Pedido # %1...").arg(numer()));
        const auto numero = m_destino.inserir(m_c, m_t, m_p);
        if (!numero)
            return false;
        return concluir(local, *numero);
    }

    // The order's new customer goes first, in the same transaction; the order then names it by the
    // server's id.
    bool enviarClienteNovo() {
        const long long idLocal = m_p.pedido.integer("CLIEN");
        const auto idServidor =
            enviarCliente(m_c, m_t.envio, static_cast<int>(idLocal),
                          static_cast<int>(m_p.pedido.integer("ID_EMPRESA")), m_destino.clientes());
        if (!idServidor)
            return false;
        m_p.pedido.setInteger("CLIEN", *idServidor);
        if (auto cliente = lerRegistro(m_t.clientes, "KEYID", {{"ID", *idServidor}}))
            m_p.cliente = *cliente;
        else
            m_p.cliente.setInteger("ID", *idServidor);
        return true;
    }

    // The order is transmitted under the server's number; both sides commit.
    bool concluir(Transaction& local, int numero) {
        Table& pedidos = m_t.pedidos;
        const bool lido = lerRegistro(pedidos, "KEYID", {{"ID", m_p.pedido.integer("ID")}}).has_value();
        if (lido) {
            pedidos.rec().setInteger("SITUA", 3);
            pedidos.rec().setInteger("NUM_ERP", numero);
            pedidos.rec().setInteger("CLIEN", m_p.pedido.integer("CLIEN"));
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
    TabelasPedidos& m_t;
    DestinoPedidos& m_destino;
    PedidoAEnviar m_p;
};

} // namespace

TabelasPedidos::TabelasPedidos(Store& store)
    : pedidos(store, "pedidos"), peditens(store, "peditens"), pedacess(store, "pedacess"),
      clientes(store, "clientes"), socios(store, "socios"), municipios(store, "municip"),
      tipos(store, "qavtipoped"), vendedores(store, "vendedor"), formas(store, "formapag"),
      empresas(store, "empresa"), pautas(store, "pauta"), precos(store, "pauxpro"),
      produtos(store, "produto"), envio{pedidos, peditens, pedacess, clientes, socios} {}

Table* TabelasPedidos::abrir() {
    for (Table* t : {&pedidos, &peditens, &pedacess, &clientes, &socios, &municipios, &tipos, &vendedores,
                     &formas, &empresas, &pautas, &precos, &produtos})
        if (!t->open())
            return t;
    return nullptr;
}

std::optional<Record> lerRegistro(Table& tabela, const char* chave,
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
    if (auto r = lerRegistro(tabela, chave, valores))
        return *r;
    tabela.clear();
    return tabela.rec();
}

bool enviarPedidos(ContextoComunicacao& c, DestinoPedidos& destino) {
    TabelasPedidos t(c.store);
    if (Table* falhou = t.abrir()) {
        c.erro(QStringLiteral("Erro (%1) ao abrir %2!")
                   .arg(falhou->error().number())
                   .arg(falhou->def().tableName()));
        return false;
    }
    const long long codVendedor = c.qavcfg->integer("COD_VENDEDOR");
    if (!lerRegistro(t.vendedores, "KEYCODIGO", {{"CODIGO", codVendedor}, {"ID_EMPRESA", c.idEmpresa}})) {
        c.aviso(QStringLiteral("Representante Inválido (%1/%2)!|Pedidos não serão transmitidos.")
                    .arg(c.idEmpresa)
                    .arg(codVendedor));
        return true;
    }
    c.renumeracaoClientes.clear();
    c.passoOk = false;
    StoreError erroLeitura;
    const auto liberados = pedidosLiberados(t.pedidos, c.idEmpresa, erroLeitura);
    if (!liberados) {
        if (erroLeitura.code == ErrorCode::InvalidDataFile)
            c.erro(
                QStringLiteral("O arquivo %1 está danificado e os pedidos não podem ser lidos.|Nenhum pedido "
                               "foi transmitido. Feche o programa e execute o qavbd para reparar o arquivo, "
                               "ou restaure a última cópia de segurança.")
                    .arg(QString::fromLatin1(t.pedidos.def().fileName)));
        else
            c.erro(QStringLiteral("Erro (%1) ao ler pedidos!").arg(erroLeitura.number()));
        return false;
    }
    if (liberados->ocultos > 0) {
        avisarPedidosOcultos(c, t.pedidos, liberados->ocultos);
        return false;
    }
    for (const long long id : liberados->ids) {
        if (c.parar()) {
            c.registrar(QStringLiteral("Comunicação interrompida pelo usuário..."));
            return false;
        }
        auto pedido = lerRegistro(t.pedidos, "KEYID", {{"ID", id}});
        if (!pedido || pedido->integer("SITUA") != 2)
            continue;
        const long long numer = pedido->integer("NUMER");
        const long long idEmpresa = pedido->integer("ID_EMPRESA");
        c.registrar(QStringLiteral("Transferindo Pedido # %1...").arg(numer));
        PedidoAEnviar envio(t);
        envio.empresa = lerOuVazio(t.empresas, "KEYID", {{"ID_EMPRESA", idEmpresa}});
        const auto renumerado = std::find_if(
            c.renumeracaoClientes.begin(), c.renumeracaoClientes.end(),
            [&](const std::pair<int, int>& par) { return par.first == pedido->integer("CLIEN"); });
        if (renumerado != c.renumeracaoClientes.end())
            pedido->setInteger("CLIEN", renumerado->second);
        const auto cliente = lerRegistro(t.clientes, "KEYID", {{"ID", pedido->integer("CLIEN")}});
        if (!cliente) {
            c.aviso(QStringLiteral("Cliente inválido!|Pedido # %1").arg(numer));
            continue;
        }
        const auto municipio = lerRegistro(t.municipios, "KEYID", {{"ID", cliente->integer("ID_MUNICIPIO")}});
        if (!municipio) {
            c.aviso(QStringLiteral("Município inválido!|Cliente # %1").arg(cliente->integer("ID")));
            continue;
        }
        envio.cliente = *cliente;
        envio.estado = municipio->text("ESTADO");
        if (destino.usaTipoEFormaPagamento()) {
            envio.tipo = lerOuVazio(t.tipos, "KEYID", {{"ID", pedido->integer("TIPOV")}});
            envio.formaPag =
                lerOuVazio(t.formas, "KEYCODIGO",
                           {{"CODIGO", pedido->integer("COD_FORMAPAG")}, {"ID_EMPRESA", idEmpresa}});
        }
        envio.vendedor = lerOuVazio(t.vendedores, "KEYCODIGO",
                                    {{"CODIGO", pedido->integer("COD_VENDEDOR")}, {"ID_EMPRESA", idEmpresa}});
        envio.pedido = std::move(*pedido);
        if (!EnvioPedido(c, t, destino, std::move(envio)).enviar())
            return false;
    }
    return true;
}

} // namespace qav::sync
