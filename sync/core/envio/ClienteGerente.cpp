#include "sync/core/envio/ClienteGerente.h"

#include "base/core/Version.h"
#include "store/core/Clock.h"
#include "sync/core/envio/ColunasClienteGerente.h"
#include "sync/core/envio/Comandos.h"

namespace qav::sync {

namespace {

// The office's customer sequence hands out ids from here on; the workstations number their own
// customers from 900001 and never get this far.
constexpr long long kPrimeiroIdEscritorio = 950000;

// A customer the workstation holds under an id of the office's sequence came down from the office:
// it is the office's customer of that id, with or without a document.
ClientesServidor::Busca buscarPorId(const ContextoComunicacao& contexto, const Record& cliente) {
    const long long id = cliente.integer("ID");
    if (id < kPrimeiroIdEscritorio)
        return {};
    std::optional<Linha> linha;
    if (!envio::lerLinha(contexto,
                         QStringLiteral("SELECT id_cliente FROM gerente.clientes WHERE id_cliente=") +
                             Conexao::inteiro(id) + QLatin1Char(';'),
                         linha))
        return {false, std::nullopt};
    if (!linha)
        return {};
    return {true, static_cast<int>(id)};
}

// A customer found by its document: the office's customer with the same CPF/CNPJ and suffix, which
// the office or its hub registered meanwhile (one that a cut-off run of this workstation created is
// known by the record of that run's order). A customer without a document has nothing to be found
// by; a customer abroad (person type 3) has a placeholder that other customers share.
ClientesServidor::Busca buscarNoEscritorio(const ContextoComunicacao& contexto, const Record& cliente) {
    const ClientesServidor::Busca porId = buscarPorId(contexto, cliente);
    if (!porId.ok || porId.id)
        return porId;
    return buscarPorDocumento(contexto, cliente, QStringLiteral("gerente.clientes"),
                              QStringLiteral("id_cliente"));
}

// The next id of the office's customer sequence that no customer holds yet (the hub writes customers
// under ids of its own, which the sequence does not know of).
std::optional<int> proximoId(const ContextoComunicacao& contexto) {
    for (;;) {
        std::optional<Linha> linha;
        if (!envio::lerLinha(contexto, QStringLiteral("SELECT NEXTVAL('gerente.clientes_id_cliente_seq');"),
                             linha))
            return std::nullopt;
        const long long id = linha ? linha->inteiro(0) : 0;
        if (id <= 0)
            return std::nullopt;
        std::optional<Linha> ocupado;
        if (!envio::lerLinha(contexto,
                             QStringLiteral("SELECT id_cliente FROM gerente.clientes WHERE id_cliente=") +
                                 Conexao::inteiro(id) + QLatin1Char(';'),
                             ocupado))
            return std::nullopt;
        if (!ocupado)
            return static_cast<int>(id);
    }
}

class ClientesGerente : public ClientesServidor {
public:
    Busca buscar(const ContextoComunicacao& contexto, const Record& cliente) const override {
        return buscarNoEscritorio(contexto, cliente);
    }

    std::optional<int> criar(const ContextoComunicacao& contexto, TabelasEnvio&, const Record& cliente, int,
                             int) const override {
        const auto id = proximoId(contexto);
        if (!id)
            return std::nullopt;
        Conexao& conexao = contexto.conexao;
        ErroSql erro;
        if (!conexao.executar(insercaoClienteGerente(conexao, cliente, *id, Clock::today()), &erro)) {
            erroCliente(contexto, erro);
            return std::nullopt;
        }
        const QString log =
            QStringLiteral("INSERT INTO gestao.log(   nome_cpd, nome_usuario, operacao, tabela, id, "
                           "descricao)   VALUES ('QAV', 'QAV', 'INC', 'clientes', ") +
            Conexao::inteiro(*id) + QStringLiteral(",'QAV+ ") + versaoPrograma.toString() +
            QStringLiteral("');");
        if (!conexao.executar(log, &erro)) {
            contexto.erroComando(erro);
            return std::nullopt;
        }
        return id;
    }
};

} // namespace

const ClientesServidor& clientesGerente() {
    static const ClientesGerente gerente;
    return gerente;
}

QString insercaoClienteGerente(const Conexao& conexao, const Record& cliente, int idServidor, Date hoje) {
    return insercaoCliente(conexao, QStringLiteral("gerente.clientes"), colunasClienteGerente(), cliente,
                           {{QStringLiteral("id_cliente"), Conexao::inteiro(idServidor)},
                            {QStringLiteral("cod_pais"), Conexao::inteiro(kCodigoPaisBrasil)},
                            {QStringLiteral("dt_atual"), Conexao::data(hoje)}});
}

} // namespace qav::sync
