#include "sync/core/envio/Percurso.h"
#include "orders/core/SituacaoPedido.h"

#include "store/core/Connection.h"
#include "store/core/Text.h"
#include "store/core/Transaction.h"
#include "sync/core/envio/Comandos.h"
#include "sync/core/envio/RenumeracaoCliente.h"
#include "sync/core/execucao/FalhaLocal.h"

#include <algorithm>
#include <cmath>
#include <exception>
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

// The customer created for an order, when there was one: its local id and the server's.
struct ClienteCriado {
    long long idLocal = 0;
    long long idServidor = 0;
};

// The local order takes the server's number (and its customer the server's id) inside `local`,
// the order's local transaction. False when it could not be stored (said why).
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
        bool ok = false;
        try {
            ok = transmitir(local);
        } catch (const std::exception& e) {
            falhaInesperada(m_c, numer(), e);
        }
        if (ok)
            return true;
        // After the server's commit (a local commit that failed) there is nothing left to roll back
        // there: the next run finds the order, recorded in transit, on the server and only marks it.
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

        if (m_p.pedido.integer("CLIEN") >= kPrimeiroIdLocal && !enviarClienteNovo())
            return false;

        m_p.pauta = lerOuVazio(m_t.pautas, "KEYCODIGO",
                               {{"CODIGO", m_p.pedido.integer("COD_PAUTA")}, {"ID_EMPRESA", idEmpresa}});
        m_c.linhaProgresso(QStringLiteral("Gravando Pedido # %1...").arg(numer()));
        m_c.registroEmEnvio = QStringLiteral("Pedido # %1").arg(numer());
        const auto inserido = m_destino.inserir(m_c, m_t, m_p);
        if (!inserido)
            return false;
        return concluir(local, *inserido);
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
        m_cliente = {idLocal, *idServidor};
        m_p.pedido.setInteger("CLIEN", *idServidor);
        if (auto cliente = lerRegistro(m_t.clientes, "KEYID", {{"ID", *idServidor}}))
            m_p.cliente = *cliente;
        else
            m_p.cliente.setInteger("ID", *idServidor);
        return true;
    }

    // The order is transmitted under the server's number; both sides commit. The record of the order
    // in transit is committed first: should the local commit be lost after the server's, the next
    // run finds the order on the server through it and only marks it.
    bool concluir(Transaction& local, const PedidoInserido& inserido) {
        if (!marcarTransmitido(m_c, m_t.pedidos, m_p.pedido.integer("ID"), inserido.numero,
                               m_p.pedido.integer("CLIEN")))
            return false;
        RegistroTransito registro;
        registro.tipo = TipoTransito::Envio;
        registro.idEmpresa = m_p.pedido.integer("ID_EMPRESA");
        registro.idPedido = m_p.pedido.integer("ID");
        registro.numer = numer();
        registro.numErp = inserido.numero;
        registro.idPedidoServidor = inserido.idPedido;
        registro.numPedQav = m_p.numeroQav;
        registro.idCliente = m_cliente.idLocal;
        registro.idClienteServidor = m_cliente.idServidor;
        if (!m_t.transito.gravar(registro)) {
            m_c.erro(QStringLiteral("Erro (%1) ao gravar qavtrans!").arg(m_t.transito.erro().number()) +
                     oQueFazer(m_t.transito.erro()));
            return false;
        }
        if (!m_c.conexao.confirmar()) {
            // The server answered: nothing of the order stays there, and the record has nothing to
            // tell. Without an answer the record stays for the next run to ask.
            if (m_c.conexao.conectada())
                m_t.transito.apagar(registro.id);
            return false;
        }
        if (!local.commit()) {
            m_c.erro(QStringLiteral("Erro (%1) ao gravar pedido!").arg(local.error().number()) +
                     oQueFazer(local.error()));
            return false;
        }
        // A record left behind here names an order already transmitted; the next run clears it.
        m_t.transito.apagar(registro.id);
        ++m_c.pedidosEnviados;
        return true;
    }

    ContextoComunicacao& m_c;
    TabelasPedidos& m_t;
    DestinoPedidos& m_destino;
    PedidoAEnviar m_p;
    ClienteCriado m_cliente;
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
        const auto recebido = perguntar(r, pedido->integer("COD_VENDEDOR"));
        if (!recebido)
            return false;
        if (!*recebido)
            return apagar(r);
        Transaction local({&m_t.pedidos, &m_t.peditens, &m_t.pedacess, &m_t.clientes, &m_t.socios});
        if (!local.begin(kEsperaTransacaoMs)) {
            m_c.aviso(QStringLiteral("Erro (%1) ao iniciar transação!").arg(local.error().number()));
            return false;
        }
        long long cliente = pedido->integer("CLIEN");
        if (r.idCliente >= kPrimeiroIdLocal && r.idClienteServidor > 0 && cliente == r.idCliente) {
            // The customer went with the order: it takes the server's id here as it would have then.
            if (lerRegistro(m_t.clientes, "KEYID", {{"ID", r.idCliente}}) &&
                !renumerarClienteLocal(m_c, m_t.envio, static_cast<int>(r.idCliente),
                                       static_cast<int>(r.idClienteServidor))) {
                local.rollback();
                return false;
            }
            cliente = r.idClienteServidor;
            auto& lista = m_c.renumeracaoClientes;
            std::erase_if(lista, [&r](const std::pair<int, int>& par) { return par.first == r.idCliente; });
            lista.emplace_back(static_cast<int>(r.idCliente), static_cast<int>(r.idClienteServidor));
        }
        if (!marcarTransmitido(m_c, m_t.pedidos, r.idPedido, static_cast<int>(r.numErp), cliente)) {
            local.rollback();
            return false;
        }
        if (!local.commit()) {
            m_c.erro(QStringLiteral("Erro (%1) ao gravar pedido!").arg(local.error().number()) +
                     oQueFazer(local.error()));
            return false;
        }
        m_c.registrar(QStringLiteral("Pedido # %1 já recebido pelo servidor com o número %2...")
                          .arg(r.numer)
                          .arg(r.numErp));
        ++m_c.pedidosEnviados;
        apagar(r);
        return true;
    }

    // Whether the server holds the recorded order; nullopt when it could not be asked (said why).
    std::optional<bool> perguntar(const RegistroTransito& r, long long codVendedor) {
        if (!m_c.conexao.iniciar())
            return std::nullopt;
        std::optional<Linha> trava;
        std::optional<bool> recebido;
        if (envio::lerLinha(m_c,
                            QStringLiteral("SELECT numped_gestao FROM gestao.qavcfg WHERE id_empresa=") +
                                Conexao::inteiro(m_c.idEmpresa) + QStringLiteral(" FOR UPDATE;"),
                            trava))
            recebido = pedidoNoServidor(m_c,
                                        {.idEmpresa = static_cast<int>(r.idEmpresa),
                                         .codVendedor = codVendedor,
                                         .numero = r.numErp,
                                         .idPedido = r.idPedidoServidor,
                                         .numeroQav = r.numPedQav},
                                        m_destino.pedidosServidor());
        m_c.conexao.desfazer();
        return recebido;
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
    for (const long long id : liberados->ids) {
        if (c.parar()) {
            c.registrar(QStringLiteral("Comunicação interrompida pelo usuário..."));
            return false;
        }
        auto pedido = lerRegistro(t.pedidos, "KEYID", {{"ID", id}});
        if (!pedido || pedido->integer("SITUA") != situacao::Liberado)
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
        // A number that is none cannot go to the server; the order waits, released, until it is
        // corrected, and the others go.
        QString invalido = campoNaoFinito(*pedido);
        if (invalido.isEmpty())
            invalido = campoNaoFinito(*cliente);
        if (invalido.isEmpty() && cliente->integer("ID") >= kPrimeiroIdLocal)
            invalido = socioNaoFinito(t.socios, cliente->integer("ID"));
        if (!invalido.isEmpty()) {
            c.aviso(QStringLiteral("Valor inválido no campo %1!|Pedido # %2").arg(invalido).arg(numer));
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
