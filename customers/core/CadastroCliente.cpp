#include "customers/core/CadastroCliente.h"

#include "store/core/Transaction.h"

using namespace Qt::StringLiterals;

namespace qav {

CadastroCliente::CadastroCliente(Store& store)
    : m_store(store), m_clientes(store, "clientes.tps"), m_tabelaSocios(store, "socios.tps"),
      m_pedidos(store, "pedidos.tps"), m_socios(m_tabelaSocios), m_registro(m_clientes.def()),
      m_original(m_clientes.def()) {}

CadastroCliente::~CadastroCliente() {
    if (m_aberto) {
        m_clientes.close();
        m_tabelaSocios.close();
        m_pedidos.close();
    }
}

bool CadastroCliente::abrir() {
    if (m_aberto)
        return true;
    if (!m_clientes.open()) {
        m_erro = m_clientes.error();
        return false;
    }
    if (!m_tabelaSocios.open()) {
        m_erro = m_tabelaSocios.error();
        m_clientes.close();
        return false;
    }
    if (!m_pedidos.open()) {
        m_erro = m_pedidos.error();
        m_clientes.close();
        m_tabelaSocios.close();
        return false;
    }
    m_aberto = true;
    return true;
}

ReservaId CadastroCliente::reservarNovo(const clientes::PadroesNovoCliente& padroes) {
    m_clientes.clear();
    clientes::aplicarPadroes(m_clientes.rec(), padroes);
    // The id is reserved as the local id itself, so no record ever sits in the server's id range.
    ReservaId reserva = reservarId(m_clientes, "KEYID", "ID", clientes::proximoIdCliente);
    if (reserva.status != Status::Ok)
        return reserva;
    bloquearReservado(m_clientes, "KEYID", reserva);
    if (reserva.bloqueioFalhou) {
        m_clientes.clear();
        m_clientes.rec().setInteger("ID", reserva.id);
        if (m_clientes.get("KEYID") == Status::Ok)
            m_clientes.remove();
        return reserva;
    }
    m_reservado = true;
    m_registro = m_clientes.rec();
    m_original = m_registro;
    m_socios.carregar(reserva.id);
    return reserva;
}

Status CadastroCliente::ler(std::int64_t id) {
    m_clientes.clear();
    m_clientes.rec().setInteger("ID", id);
    const Status s = m_clientes.get("KEYID");
    if (s != Status::Ok) {
        m_erro = m_clientes.error();
        return s;
    }
    m_reservado = false;
    m_registro = m_clientes.rec();
    m_original = m_registro;
    const Status lidos = m_socios.carregar(id);
    if (lidos == Status::Error)
        m_erro = m_tabelaSocios.error(); // the partners could not be read: their error is the one to show
    return lidos;
}

CadastroCliente::Resultado CadastroCliente::gravar() {
    Resultado r;
    if (!m_reservado && !algoMudou()) {
        r.ok = true;
        return r;
    }
    const std::int64_t id = m_registro.integer("ID");
    Transaction transacao({&m_clientes, &m_tabelaSocios});
    if (!transacao.begin()) {
        r.erro = transacao.error();
        return r;
    }
    m_clientes.rec() = m_registro;
    if (m_clientes.put() != Status::Ok) {
        r.erro = m_clientes.error();
        transacao.rollback();
        if (r.erro.code == ErrorCode::CreatesDuplicateKey)
            r.campoDuplicado = outroComDocumento(m_registro.text("CGCPF"), m_registro.text("SUF_CGCPF"), id)
                                   ? u"CNPJ/CPF + Sufixo"_s
                                   : u"Id"_s;
        return r;
    }
    const Record gravadoAgora = m_clientes.rec();
    if (m_socios.gravar(id) != Status::Ok) {
        r.erro = m_tabelaSocios.error();
        transacao.rollback();
        return r;
    }
    if (!transacao.commit()) {
        r.erro = transacao.error();
        return r;
    }
    m_reservado = false;
    m_registro = gravadoAgora;
    m_original = m_registro;
    m_socios.gravado(id);
    r.ok = true;
    return r;
}

void CadastroCliente::desistir() {
    m_socios.descartar();
    if (!m_reservado)
        return;
    m_clientes.clear();
    m_clientes.rec().setInteger("ID", m_registro.integer("ID"));
    if (m_clientes.get("KEYID") == Status::Ok)
        m_clientes.remove();
    m_reservado = false;
}

CadastroCliente::Resultado CadastroCliente::excluir() {
    Resultado r;
    const std::int64_t id = m_registro.integer("ID");
    m_pedidos.clear();
    m_pedidos.clearFilter();
    m_pedidos.rec().setInteger("CLIEN", id);
    const Status comPedidos = m_pedidos.get("KEYCLIEN");
    if (comPedidos == Status::Ok) {
        r.comPedidos = true;
        return r;
    }
    if (comPedidos == Status::Error) {
        r.erro = m_pedidos.error();
        return r;
    }
    Transaction transacao({&m_clientes, &m_tabelaSocios});
    if (!transacao.begin()) {
        r.erro = transacao.error();
        return r;
    }
    for (const Record& socio : m_socios.lista()) {
        m_tabelaSocios.rec() = socio;
        if (m_tabelaSocios.remove() != Status::Ok) {
            r.erro = m_tabelaSocios.error();
            transacao.rollback();
            return r;
        }
    }
    m_clientes.rec() = m_original;
    if (m_clientes.remove() != Status::Ok) {
        r.erro = m_clientes.error();
        transacao.rollback();
        return r;
    }
    if (!transacao.commit()) {
        r.erro = transacao.error();
        return r;
    }
    m_socios.carregar(-1);
    r.ok = true;
    return r;
}

std::optional<std::int64_t> CadastroCliente::outroComDocumento(const QString& cgcpf, const QString& sufixo,
                                                               std::int64_t idProprio) {
    if (cgcpf.trimmed().isEmpty())
        return std::nullopt;
    Table busca(m_store, m_clientes.def());
    if (!busca.open())
        return std::nullopt;
    busca.clear();
    busca.rec().setText("CGCPF", cgcpf);
    busca.rec().setText("SUF_CGCPF", sufixo);
    std::optional<std::int64_t> achado;
    if (busca.get("KEYCGC") == Status::Ok && busca.rec().integer("ID") != idProprio)
        achado = busca.rec().integer("ID");
    busca.close();
    return achado;
}

} // namespace qav
