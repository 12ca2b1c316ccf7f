#include "sync/core/envio/Percurso.h"
#include "orders/core/SituacaoPedido.h"

#include "store/core/Connection.h"
#include "store/core/Text.h"
#include "store/core/Transaction.h"
#include "sync/core/envio/Comandos.h"
#include "sync/core/envio/RenumeracaoCliente.h"
#include "sync/core/execucao/FalhaLocal.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <exception>
#include <span>
#include <sqlite3.h>
#include <vector>

namespace qav::sync {

namespace {

// How long an order waits for another window or station writing to the order and customer files
// before the upload gives up (and the run with it).
constexpr int kEsperaTransacaoMs = 1000;

// How many orders share one local commit of their records and one of their marks. Each local commit
// costs tens of milliseconds on a notebook's disk, against a few milliseconds an order on the server:
// at 50 those two commits weigh about a millisecond an order, while a run cut off in a group leaves
// at most 50 records for the next run to ask the server about, and the order files are held by the
// upload for no more than a second or so at a time.
constexpr size_t kPedidosPorGrupo = 50;
// The first group is small, and each next one as large as the orders that went in about a second:
// on a slow link the group's local transaction, which other windows wait for, stays short.
constexpr size_t kPrimeiroGrupo = 10;
constexpr qint64 kMsPorGrupo = 1000;

// The ids of the company's released orders read from the records themselves (NOT INDEXED), whatever
// state the file's keys are in. nullopt with `erro` on an error.
std::optional<std::vector<long long>> idsNosRegistros(Table& pedidos, int idEmpresa, StoreError& erro) {
    Connection* conexao = pedidos.connection();
    if (!conexao) {
        erro = pedidos.error();
        return std::nullopt;
    }
    const std::string sql =
        "SELECT \"ID\" FROM \"" + pedidos.schemaName() + "\".\"" + pedidos.def().tableName().toStdString() +
        "\" NOT INDEXED WHERE \"SITUA\" = " + std::to_string(situacao::Liberado) + " AND \"ID_EMPRESA\" = ?";
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
    pedidos.setFilter("SITUA = ? AND ID_EMPRESA = ?", {situacao::Liberado, idEmpresa});
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

// The local order takes the server's number (and its customer the server's id), inside the local
// transaction open over the order files. False when it could not be stored (said why).
bool marcarTransmitido(ContextoComunicacao& c, Table& pedidos, long long idPedido, int numero,
                       long long cliente) {
    const bool lido = lerRegistro(pedidos, "KEYID", {{"ID", idPedido}}).has_value();
    if (lido) {
        pedidos.rec().setInteger("SITUA", situacao::Transmitido);
        pedidos.rec().setInteger("NUM_ERP", numero);
        pedidos.rec().setInteger("CLIEN", cliente);
    }
    if (!lido || pedidos.put() != Status::Ok) {
        c.erro(QStringLiteral("Erro (%1) ao gravar pedido!").arg(pedidos.error().number()) +
               oQueFazer(pedidos.error()));
        return false;
    }
    return true;
}

// What went wrong on the run's thread, as the order's failure.
void falhaInesperada(ContextoComunicacao& c, long long numer, const std::exception& e) {
    c.erro(QStringLiteral("Pedido # %1 não transmitido:|%2").arg(numer).arg(QString::fromUtf8(e.what())));
}

// How one order of a group ended.
enum class Desfecho {
    Enviado,  // on the server, and marked here inside the group's local transaction
    Desfeito, // nothing of it on the server nor here
    Incerto,  // its commit got no answer: the server may hold it, and only its record can tell
};

// A statement on the connection of the group's local transaction (its savepoints). False when it
// failed (said why).
bool executarLocal(ContextoComunicacao& c, Table& tabela, const char* sql) {
    StoreError erro;
    if (tabela.connection() && tabela.connection()->exec(sql, &erro))
        return true;
    c.erro(QStringLiteral("Erro (%1) ao gravar pedido!").arg(erro.number()) + oQueFazer(erro));
    return false;
}

// One order, from "begin;" to "commit;", its local side under a savepoint of the group's local
// transaction, so that an order that fails leaves nothing here while the orders before it stay.
class EnvioPedido {
public:
    EnvioPedido(ContextoComunicacao& c, TabelasPedidos& t, DestinoPedidos& destino, PedidoAEnviar pedido)
        : m_c(c), m_t(t), m_destino(destino), m_p(std::move(pedido)) {}

    Desfecho enviar() {
        if (!executarLocal(m_c, m_t.pedidos, "SAVEPOINT pedido"))
            return Desfecho::Desfeito;
        Desfecho desfecho = Desfecho::Desfeito;
        if (m_c.conexao.iniciar()) {
            try {
                desfecho = transmitir();
            } catch (const std::exception& e) {
                falhaInesperada(m_c, numer(), e);
            }
        }
        if (desfecho == Desfecho::Enviado) {
            if (executarLocal(m_c, m_t.pedidos, "RELEASE pedido"))
                return desfecho;
            // The server holds the order; whether it is marked here is in doubt, and its record tells.
            return Desfecho::Incerto;
        }
        if (m_c.conexao.emTransacao())
            m_c.conexao.desfazer();
        StoreError ignorado;
        if (Connection* conexao = m_t.pedidos.connection())
            conexao->exec("ROLLBACK TO pedido; RELEASE pedido", &ignorado);
        return desfecho;
    }

private:
    long long numer() const { return m_p.pedido.integer("NUMER"); }

    Desfecho transmitir() {
        if (m_p.pedido.integer("CLIEN") >= kPrimeiroIdLocal && !enviarClienteNovo())
            return Desfecho::Desfeito;

        const long long idEmpresa = m_p.pedido.integer("ID_EMPRESA");
        m_p.pauta = lerOuVazio(m_t.pautas, "KEYCODIGO",
                               {{"CODIGO", m_p.pedido.integer("COD_PAUTA")}, {"ID_EMPRESA", idEmpresa}});
        m_c.linhaProgresso(QStringLiteral("Gravando Pedido # %1...").arg(numer()));
        m_c.registroEmEnvio = QStringLiteral("Pedido # %1").arg(numer());
        const auto inserido = m_destino.inserir(m_c, m_t, m_p);
        if (!inserido)
            return Desfecho::Desfeito;
        if (!marcarTransmitido(m_c, m_t.pedidos, m_p.pedido.integer("ID"), inserido->numero,
                               m_p.pedido.integer("CLIEN")))
            return Desfecho::Desfeito;
        if (m_c.conexao.confirmar())
            return Desfecho::Enviado;
        // The server answered: nothing of the order stays there. Without an answer, the record stays
        // for the next run to ask.
        return m_c.conexao.conectada() ? Desfecho::Desfeito : Desfecho::Incerto;
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

    ContextoComunicacao& m_c;
    TabelasPedidos& m_t;
    DestinoPedidos& m_destino;
    PedidoAEnviar m_p;
};

// The orders a cut-off run was sending. The server is asked, under the lock every numbering takes
// (so that a commit still under way on the server has ended), whether it holds the order recorded;
// when it does, the order is only marked transmitted here and its new customer renumbered; when it
// does not, the order goes as usual. A record whose order is gone or already transmitted is cleared.
class Recuperacao {
public:
    Recuperacao(ContextoComunicacao& c, TabelasPedidos& t, DestinoPedidos& destino)
        : m_c(c), m_t(t), m_destino(destino) {}

    bool executar() {
        const auto registros = m_t.transito.registros(TipoTransito::Envio, m_c.idEmpresa);
        if (!registros) {
            m_c.erro(QStringLiteral("Erro (%1) ao ler qavtrans!").arg(m_t.transito.erro().number()) +
                     oQueFazer(m_t.transito.erro()));
            return false;
        }
        for (const RegistroTransito& r : *registros) {
            bool ok = false;
            try {
                ok = recuperar(r);
            } catch (const std::exception& e) {
                falhaInesperada(m_c, r.numer, e);
            }
            if (!ok)
                return false;
        }
        return true;
    }

private:
    bool apagar(const RegistroTransito& r) {
        if (m_t.transito.apagar(r.id))
            return true;
        m_c.erro(QStringLiteral("Erro (%1) ao gravar qavtrans!").arg(m_t.transito.erro().number()) +
                 oQueFazer(m_t.transito.erro()));
        return false;
    }

    bool recuperar(const RegistroTransito& r) {
        const auto pedido = lerRegistro(m_t.pedidos, "KEYID", {{"ID", r.idPedido}});
        if (!pedido || pedido->integer("NUMER") != r.numer ||
            pedido->integer("SITUA") == situacao::Transmitido)
            return apagar(r);
        std::optional<PedidoAchado> achado;
        if (!perguntar(r, pedido->integer("COD_VENDEDOR"), achado))
            return false;
        if (!achado)
            return apagar(r);
        // A record written before its order went knows only the id taken for it: the number and the
        // customer are the server's.
        const long long numero = r.numErp > 0 ? r.numErp : achado->numero;
        const long long clienteServidor = r.idClienteServidor > 0 ? r.idClienteServidor : achado->cliente;
        Transaction local(
            {&m_t.pedidos, &m_t.peditens, &m_t.pedacess, &m_t.clientes, &m_t.socios, &m_t.transito.tabela()});
        if (!local.begin(kEsperaTransacaoMs)) {
            m_c.aviso(QStringLiteral("Erro (%1) ao iniciar transação!").arg(local.error().number()));
            return false;
        }
        long long cliente = pedido->integer("CLIEN");
        if (r.idCliente >= kPrimeiroIdLocal && clienteServidor > 0 && clienteServidor < kPrimeiroIdLocal &&
            cliente == r.idCliente) {
            // The customer went with the order: it takes the server's id here as it would have then.
            if (lerRegistro(m_t.clientes, "KEYID", {{"ID", r.idCliente}}) &&
                !renumerarClienteLocal(m_c, m_t.envio, static_cast<int>(r.idCliente),
                                       static_cast<int>(clienteServidor))) {
                local.rollback();
                return false;
            }
            cliente = clienteServidor;
            auto& lista = m_c.renumeracaoClientes;
            std::erase_if(lista, [&r](const std::pair<int, int>& par) { return par.first == r.idCliente; });
            lista.emplace_back(static_cast<int>(r.idCliente), static_cast<int>(clienteServidor));
        }
        if (!marcarTransmitido(m_c, m_t.pedidos, r.idPedido, static_cast<int>(numero), cliente)) {
            local.rollback();
            return false;
        }
        // The record goes with the mark; should it not, the next run finds the order transmitted and
        // clears it.
        RegistrosTransito::apagarEm(m_t.transito.tabela(), r.id);
        if (!local.commit()) {
            m_c.erro(QStringLiteral("Erro (%1) ao gravar pedido!").arg(local.error().number()) +
                     oQueFazer(local.error()));
            return false;
        }
        m_c.registrar(QStringLiteral("Pedido # %1 já recebido pelo servidor com o número %2...")
                          .arg(r.numer)
                          .arg(numero));
        ++m_c.pedidosEnviados;
        return true;
    }

    // Whether the server holds the recorded order (in `achado`); false when it could not be asked
    // (said why).
    bool perguntar(const RegistroTransito& r, long long codVendedor, std::optional<PedidoAchado>& achado) {
        if (!m_c.conexao.iniciar())
            return false;
        std::optional<Linha> trava;
        bool perguntado = false;
        if (envio::lerLinha(m_c,
                            QStringLiteral("SELECT numped_gestao FROM gestao.qavcfg WHERE id_empresa=") +
                                Conexao::inteiro(m_c.idEmpresa) + QStringLiteral(" FOR UPDATE;"),
                            trava))
            perguntado = pedidoNoServidor(m_c,
                                          {.idEmpresa = static_cast<int>(r.idEmpresa),
                                           .codVendedor = codVendedor,
                                           .numero = r.numErp,
                                           .idPedido = r.idPedidoServidor,
                                           .numeroQav = r.numPedQav},
                                          m_destino.pedidosServidor(), achado);
        m_c.conexao.desfazer();
        return perguntado;
    }

    ContextoComunicacao& m_c;
    TabelasPedidos& m_t;
    DestinoPedidos& m_destino;
};

} // namespace

TabelasPedidos::TabelasPedidos(Store& store)
    : pedidos(store, "pedidos"), peditens(store, "peditens"), pedacess(store, "pedacess"),
      clientes(store, "clientes"), socios(store, "socios"), municipios(store, "municip"),
      tipos(store, "qavtipoped"), vendedores(store, "vendedor"), formas(store, "formapag"),
      empresas(store, "empresa"), pautas(store, "pauta"), precos(store, "pauxpro"),
      produtos(store, "produto"), envio{pedidos, peditens, pedacess, clientes, socios}, transito(store) {}

Table* TabelasPedidos::abrir() {
    for (Table* t : {&pedidos, &peditens, &pedacess, &clientes, &socios, &municipios, &tipos, &vendedores,
                     &formas, &empresas, &pautas, &precos, &produtos, &transito.tabela()})
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

QString campoNaoFinito(const Record& registro) {
    const TableDef& def = registro.def();
    for (int f = 0; f < static_cast<int>(def.fields.size()); ++f) {
        const FieldDef& campo = def.fields[static_cast<size_t>(f)];
        if (campo.type != FieldType::Real64)
            continue;
        for (int e = 0; e < campo.count; ++e)
            if (!std::isfinite(registro.real(f, e)))
                return QString::fromLatin1(def.prefix) + QLatin1Char(':') + QString::fromLatin1(campo.name);
    }
    return {};
}

namespace {

// The first real64 field without a finite number among the partners of a new customer, which go up
// with it; empty when there is none (or the partners cannot be read, which their upload tells).
QString socioNaoFinito(Table& socios, long long idCliente) {
    socios.setFilter("ID_CLIENTE = ?", {idCliente});
    QString campo;
    Status s = socios.seekFirst("KEYID");
    while (campo.isEmpty() && s == Status::Ok && (s = socios.next()) == Status::Ok)
        campo = campoNaoFinito(socios.rec());
    socios.clearFilter();
    return campo;
}

} // namespace

namespace {

// The order `id` as it goes, with what it names; nullopt when it is no longer released or is skipped
// (said why) and waits, released, for a later run.
std::optional<PedidoAEnviar> prepararPedido(ContextoComunicacao& c, TabelasPedidos& t,
                                            const DestinoPedidos& destino, long long id) {
    auto pedido = lerRegistro(t.pedidos, "KEYID", {{"ID", id}});
    if (!pedido || pedido->integer("SITUA") != situacao::Liberado)
        return std::nullopt;
    const long long numer = pedido->integer("NUMER");
    const long long idEmpresa = pedido->integer("ID_EMPRESA");
    c.registrar(QStringLiteral("Transferindo Pedido # %1...").arg(numer));
    PedidoAEnviar envio(t);
    envio.empresa = lerOuVazio(t.empresas, "KEYID", {{"ID_EMPRESA", idEmpresa}});
    const auto renumerado =
        std::find_if(c.renumeracaoClientes.begin(), c.renumeracaoClientes.end(),
                     [&](const std::pair<int, int>& par) { return par.first == pedido->integer("CLIEN"); });
    if (renumerado != c.renumeracaoClientes.end())
        pedido->setInteger("CLIEN", renumerado->second);
    const auto cliente = lerRegistro(t.clientes, "KEYID", {{"ID", pedido->integer("CLIEN")}});
    if (!cliente) {
        c.aviso(QStringLiteral("Cliente inválido!|Pedido # %1").arg(numer));
        return std::nullopt;
    }
    const auto municipio = lerRegistro(t.municipios, "KEYID", {{"ID", cliente->integer("ID_MUNICIPIO")}});
    if (!municipio) {
        c.aviso(QStringLiteral("Município inválido!|Cliente # %1").arg(cliente->integer("ID")));
        return std::nullopt;
    }
    // A number that is none cannot go to the server; the order waits, released, until it is
    // corrected, and the others go.
    QString invalido = campoNaoFinito(*pedido);
    if (invalido.isEmpty())
        invalido = campoNaoFinito(*cliente);
    if (invalido.isEmpty() && cliente->integer("ID") >= kPrimeiroIdLocal)
        invalido = socioNaoFinito(t.socios, cliente->integer("ID"));
    if (!invalido.isEmpty()) {
        c.aviso(QStringLiteral("Valor inválido no campo %1!|Pedido # %2").arg(invalido).arg(numer));
        return std::nullopt;
    }
    envio.cliente = *cliente;
    envio.estado = municipio->text("ESTADO");
    if (destino.usaTipoEFormaPagamento()) {
        envio.tipo = lerOuVazio(t.tipos, "KEYID", {{"ID", pedido->integer("TIPOV")}});
        envio.formaPag = lerOuVazio(t.formas, "KEYCODIGO",
                                    {{"CODIGO", pedido->integer("COD_FORMAPAG")}, {"ID_EMPRESA", idEmpresa}});
    }
    envio.vendedor = lerOuVazio(t.vendedores, "KEYCODIGO",
                                {{"CODIGO", pedido->integer("COD_VENDEDOR")}, {"ID_EMPRESA", idEmpresa}});
    envio.pedido = std::move(*pedido);
    return envio;
}

// The workstation's installation point, which the server's orders carry in their workstation number.
QString pontoInstalacao(const ContextoComunicacao& c) {
    const QString ponto = text::rtrim(c.qavcfg->text("PONTO_INSTALACAO"));
    // the installation point every workstation has until told otherwise
    return ponto.isEmpty() ? QStringLiteral("A") : ponto;
}

void erroTransito(ContextoComunicacao& c, const StoreError& erro) {
    c.erro(QStringLiteral("Erro (%1) ao gravar qavtrans!").arg(erro.number()) + oQueFazer(erro));
}

// The orders of one group (ids in the order they go). Their server ids are taken and their records
// written first, in one local commit; each order then goes in its own server transaction; one local
// commit at the end marks the orders the server committed and clears every record that has nothing
// left to tell. A crash anywhere leaves the records the next run resolves order by order. False when
// an order failed or the user stopped the run (said why): the orders before it stay transmitted.
bool enviarGrupo(ContextoComunicacao& c, TabelasPedidos& t, DestinoPedidos& destino,
                 std::span<const long long> ids) {
    std::vector<RegistroTransito> registros;
    const QString ponto = pontoInstalacao(c);
    for (const long long id : ids) {
        const auto pedido = lerRegistro(t.pedidos, "KEYID", {{"ID", id}});
        if (!pedido || pedido->integer("SITUA") != situacao::Liberado)
            continue;
        RegistroTransito r;
        r.tipo = TipoTransito::Envio;
        r.idEmpresa = pedido->integer("ID_EMPRESA");
        r.idPedido = id;
        r.numer = pedido->integer("NUMER");
        r.numPedQav = numeroPedidoQav(pedido->integer("COD_VENDEDOR"), ponto, r.numer);
        // A customer of this workstation that goes with the order: the server's order names its id there.
        if (pedido->integer("CLIEN") >= kPrimeiroIdLocal)
            r.idCliente = pedido->integer("CLIEN");
        registros.push_back(r);
    }
    if (registros.empty())
        return true;
    const auto idsServidor =
        reservarIdsPedidos(c, destino.pedidosServidor(), static_cast<int>(registros.size()));
    if (!idsServidor)
        return false;
    for (size_t i = 0; i < registros.size(); ++i)
        registros[i].idPedidoServidor = (*idsServidor)[i];
    if (!t.transito.gravarTodos(registros)) {
        erroTransito(c, t.transito.erro());
        return false;
    }

    // The products, their prices and the price lists only are read, every item of every order: inside
    // the transaction they are read under its locks instead of taking and giving back a lock of their
    // own at each read.
    Transaction local({&t.pedidos, &t.peditens, &t.pedacess, &t.clientes, &t.socios, &t.transito.tabela(),
                       &t.produtos, &t.precos, &t.pautas});
    if (!local.begin(kEsperaTransacaoMs)) {
        c.aviso(QStringLiteral("Erro (%1) ao iniciar transação!").arg(local.error().number()));
        std::vector<long long> todos;
        for (const RegistroTransito& r : registros)
            todos.push_back(r.id);
        t.transito.apagarTodos(todos);
        return false;
    }
    int enviados = 0;
    bool ok = true;
    long long incerto = 0; // the record of an order whose commit got no answer: it stays
    for (const RegistroTransito& r : registros) {
        if (c.parar()) {
            c.registrar(QStringLiteral("Comunicação interrompida pelo usuário..."));
            ok = false;
            break;
        }
        auto envio = prepararPedido(c, t, destino, r.idPedido);
        if (!envio)
            continue;
        envio->numeroQav = r.numPedQav;
        envio->idPedidoServidor = r.idPedidoServidor;
        const Desfecho desfecho = EnvioPedido(c, t, destino, std::move(*envio)).enviar();
        if (desfecho == Desfecho::Enviado) {
            ++enviados;
            continue;
        }
        if (desfecho == Desfecho::Incerto)
            incerto = r.id;
        ok = false;
        break;
    }
    // The orders the server committed, marked, and the records that tell nothing any more (orders
    // transmitted, skipped, refused or not reached) go in one commit. Should it fail, the records
    // stay, and the next run marks the orders the server holds and sends the others.
    for (const RegistroTransito& r : registros) {
        if (r.id != incerto && !RegistrosTransito::apagarEm(t.transito.tabela(), r.id)) {
            // After a failure already told (a full disk), the records left behind need no word.
            if (ok)
                erroTransito(c, t.transito.erro());
            local.rollback();
            return false;
        }
    }
    if (!local.commit()) {
        c.erro(QStringLiteral("Erro (%1) ao gravar pedido!").arg(local.error().number()) +
               oQueFazer(local.error()));
        return false;
    }
    c.pedidosEnviados += enviados;
    return ok;
}

} // namespace

bool enviarPedidos(ContextoComunicacao& c, DestinoPedidos& destino) {
    TabelasPedidos t(c.store);
    if (Table* falhou = t.abrir()) {
        c.erro(QStringLiteral("Erro (%1) ao abrir %2!")
                   .arg(falhou->error().number())
                   .arg(falhou->def().tableName()) +
               oQueFazer(falhou->error()));
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
    if (!Recuperacao(c, t, destino).executar())
        return false;
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
            c.erro(QStringLiteral("Erro (%1) ao ler pedidos!").arg(erroLeitura.number()) +
                   oQueFazer(erroLeitura));
        return false;
    }
    if (liberados->ocultos > 0) {
        avisarPedidosOcultos(c, t.pedidos, liberados->ocultos);
        return false;
    }
    size_t tamanho = kPrimeiroGrupo;
    for (size_t inicio = 0; inicio < liberados->ids.size();) {
        const size_t fim = std::min(liberados->ids.size(), inicio + tamanho);
        QElapsedTimer relogio;
        relogio.start();
        if (!enviarGrupo(c, t, destino,
                         {liberados->ids.begin() + static_cast<std::ptrdiff_t>(inicio),
                          liberados->ids.begin() + static_cast<std::ptrdiff_t>(fim)}))
            return false;
        const qint64 ms = std::max<qint64>(1, relogio.elapsed());
        tamanho = std::clamp<size_t>(
            static_cast<size_t>(static_cast<qint64>(fim - inicio) * kMsPorGrupo / ms), 1, kPedidosPorGrupo);
        inicio = fim;
    }
    return true;
}

} // namespace qav::sync
