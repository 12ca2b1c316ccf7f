#include "sync/core/envio/Cliente.h"

#include "base/core/Version.h"
#include "sync/core/envio/CorrentZor.h"
#include "sync/core/envio/RenumeracaoCliente.h"
#include "sync/core/envio/SociosZor.h"

#include <limits>

namespace qav::sync {

namespace {

using Busca = ClientesServidor::Busca;

// The customer already on the server: the ERP's customer with the same CPF/CNPJ and suffix, which
// the back office registered meanwhile; it is used instead of creating it a second time. (One that a
// cut-off run of this workstation created is known by the record of that run's order, not looked
// for here.) A customer without a document has nothing to be found by and is always created; so are
// the customers abroad (person type 3): they share placeholder documents, and another customer with
// the same placeholder is not this one. Their blank suffix goes as Null, which the ERP's key on
// document and suffix does not refuse twice.
Busca buscarNoServidor(const ContextoComunicacao& contexto, const Record& cliente) {
    const Busca busca =
        buscarPorDocumento(contexto, cliente, QStringLiteral("zor.corrent"), QStringLiteral("id_corrent"));
    if (!busca.ok || !busca.id)
        return busca;
    const int id = *busca.id;
    // A server customer in the workstations' range would be taken here for a customer still to be
    // sent, or for another station's customer of the same number: it is not used.
    if (id >= kPrimeiroIdLocal) {
        contexto.aviso(
            QStringLiteral("Cliente # ") + QString::number(cliente.integer("ID")) +
            QStringLiteral(": o cliente do servidor com este CNPJ/CPF tem o código ") + QString::number(id) +
            QStringLiteral(", da faixa dos clientes criados nas estações (") +
            QString::number(kPrimeiroIdLocal) + QStringLiteral(" em diante). Pedido não transmitido."));
        return {false, std::nullopt};
    }
    return busca;
}

// Creates the customer on the server under the next id; nullopt when it could not.
std::optional<int> criarNoServidor(const ContextoComunicacao& contexto, const Record& cliente, int idLocal,
                                   int idEmpresa) {
    Conexao& conexao = contexto.conexao;
    ErroSql erro;
    const auto maior = conexao.consultar(QStringLiteral("select max(id_corrent) from zor.corrent;"), &erro);
    if (!maior) {
        contexto.erroSql(erro);
        return std::nullopt;
    }
    const long long id = (maior->empty() ? 0 : maior->front().inteiro(0)) + 1;
    // The ids from 900001 up are the workstations' own: a server customer there would be taken for
    // one still to be sent, and its orders would try to create it again.
    if (id >= kPrimeiroIdLocal) {
        contexto.aviso(QStringLiteral("Cliente # ") + QString::number(idLocal) +
                       QStringLiteral(": o próximo código de cliente do servidor (") + QString::number(id) +
                       QStringLiteral(") invade a faixa dos clientes criados nas estações (") +
                       QString::number(kPrimeiroIdLocal) +
                       QStringLiteral(" em diante). Pedido não transmitido."));
        return std::nullopt;
    }
    if (!conexao.executar(insercaoCorrent(conexao, cliente, static_cast<int>(id)), &erro)) {
        erroCliente(contexto, erro);
        return std::nullopt;
    }
    const QString log =
        QStringLiteral("INSERT INTO gestao.log(   nome_cpd, nome_usuario, operacao, tabela, id, descricao, "
                       "id_empresa)   VALUES ('QAV', 'QAV', 'INC', 'correntistas', ") +
        Conexao::inteiro(id) + QStringLiteral(",'QAV+ ") + versaoPrograma.toString() + QStringLiteral("',") +
        Conexao::inteiro(idEmpresa) + QStringLiteral(");");
    if (!conexao.executar(log, &erro)) {
        contexto.erroComando(erro);
        return std::nullopt;
    }
    return static_cast<int>(id);
}

class ClientesZor : public ClientesServidor {
public:
    Busca buscar(const ContextoComunicacao& contexto, const Record& cliente) const override {
        return buscarNoServidor(contexto, cliente);
    }
    std::optional<int> criar(const ContextoComunicacao& contexto, TabelasEnvio&, const Record& cliente,
                             int idLocal, int idEmpresa) const override {
        return criarNoServidor(contexto, cliente, idLocal, idEmpresa);
    }
};

} // namespace

Busca buscarPorDocumento(const ContextoComunicacao& contexto, const Record& cliente, const QString& tabela,
                         const QString& colunaId) {
    const QString documento = cliente.text("CGCPF").trimmed();
    if (documento.isEmpty() || cliente.integer("PESSO") == kPessoaExterior)
        return {};
    Conexao& conexao = contexto.conexao;
    ErroSql erro;
    const auto linhas =
        conexao.consultar(QStringLiteral("SELECT ") + colunaId + QStringLiteral(" FROM ") + tabela +
                              QStringLiteral(" WHERE cgcpf=") + conexao.textoSempre(documento) +
                              QStringLiteral(" AND COALESCE(TRIM(suf_cgcpf),'')=") +
                              conexao.textoSempre(cliente.text("SUF_CGCPF").trimmed()) +
                              QStringLiteral(" ORDER BY ") + colunaId + QStringLiteral(" LIMIT 1;"),
                          &erro);
    if (!linhas) {
        contexto.erroSql(erro);
        return {false, std::nullopt};
    }
    if (linhas->empty())
        return {};
    const long long id = linhas->front().inteiro(0);
    if (id <= 0 || id > std::numeric_limits<int>::max()) {
        contexto.aviso(QStringLiteral("Cliente # ") + QString::number(cliente.integer("ID")) +
                       QStringLiteral(": o cliente do servidor com este CNPJ/CPF tem o código ") +
                       QString::number(id) +
                       QStringLiteral(", que não cabe no código do cliente. Pedido não transmitido."));
        return {false, std::nullopt};
    }
    return {true, static_cast<int>(id)};
}

void erroCliente(const ContextoComunicacao& contexto, const ErroSql& erro) {
    contexto.ouvinte.mensagem(QStringLiteral("Erro (") + erro.codigo + QStringLiteral(")/cliente"),
                              erro.texto, Icone::Erro);
}

const ClientesServidor& clientesZor() {
    static const ClientesZor zor;
    return zor;
}

std::optional<int> enviarCliente(ContextoComunicacao& contexto, TabelasEnvio& tabelas, int idLocal,
                                 int idEmpresa, const ClientesServidor& destino) {
    contexto.linhaProgresso(QStringLiteral("Gravando Cliente # ") + QString::number(idLocal) +
                            QStringLiteral("..."));
    contexto.registroEmEnvio = QStringLiteral("Cliente # ") + QString::number(idLocal);
    Table& clientes = tabelas.clientes;
    clientes.clear();
    clientes.rec().setInteger("ID", idLocal);
    const Status lido = clientes.get("KEYID");
    if (lido == Status::NotFound) {
        contexto.aviso(QStringLiteral("Cliente inválido!|Cliente # ") + QString::number(idLocal));
        return std::nullopt;
    }
    if (lido != Status::Ok) {
        contexto.aviso(QStringLiteral("Erro (") + QString::number(clientes.error().number()) +
                       QStringLiteral(") ao ler cliente/local!"));
        return std::nullopt;
    }
    const Record cliente = clientes.rec();

    const Busca busca = destino.buscar(contexto, cliente);
    if (!busca.ok)
        return std::nullopt;
    std::optional<int> idServidor = busca.id;
    if (!idServidor)
        idServidor = destino.criar(contexto, tabelas, cliente, idLocal, idEmpresa);
    if (!idServidor)
        return std::nullopt;

    if (!enviarSocios(contexto, tabelas.socios, idLocal, *idServidor))
        return std::nullopt;
    if (!renumerarClienteLocal(contexto, tabelas, idLocal, *idServidor))
        return std::nullopt;

    auto& lista = contexto.renumeracaoClientes;
    std::erase_if(lista, [idLocal](const std::pair<int, int>& par) { return par.first == idLocal; });
    lista.emplace_back(idLocal, *idServidor);
    return idServidor;
}

} // namespace qav::sync
