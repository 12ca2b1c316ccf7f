#include "customers/core/CadastroCliente.h"

#include "store/core/Transaction.h"

using namespace Qt::StringLiterals;

namespace qav {

CadastroCliente::CadastroCliente(Store& store)
    : store_(store), clientes_(store, "clientes.tps"), tabelaSocios_(store, "socios.tps"),
      pedidos_(store, "pedidos.tps"), socios_(tabelaSocios_), registro_(clientes_.def()),
      original_(clientes_.def()) {}

CadastroCliente::~CadastroCliente() {
    if (aberto_) {
        clientes_.close();
        tabelaSocios_.close();
        pedidos_.close();
    }
}

bool CadastroCliente::abrir() {
    if (aberto_)
        return true;
    if (!clientes_.open()) {
        erro_ = clientes_.error();
        return false;
    }
    if (!tabelaSocios_.open()) {
        erro_ = tabelaSocios_.error();
        clientes_.close();
        return false;
    }
    if (!pedidos_.open()) {
        erro_ = pedidos_.error();
        clientes_.close();
        tabelaSocios_.close();
        return false;
    }
    aberto_ = true;
    return true;
}

ReservaId CadastroCliente::reservarNovo(const clientes::PadroesNovoCliente& padroes) {
    clientes_.clear();
    clientes::aplicarPadroes(clientes_.rec(), padroes);
    // The id is reserved as the local id itself, so no record ever sits in the server's id range.
    ReservaId reserva = reservarId(clientes_, "KEYID", "ID", clientes::proximoIdCliente);
    if (reserva.status != Status::Ok)
        return reserva;
    bloquearReservado(clientes_, "KEYID", reserva);
    if (reserva.bloqueioFalhou) {
        clientes_.clear();
        clientes_.rec().setInteger("ID", reserva.id);
        if (clientes_.get("KEYID") == Status::Ok)
            clientes_.remove();
        return reserva;
    }
    reservado_ = true;
    registro_ = clientes_.rec();
    original_ = registro_;
    socios_.carregar(reserva.id);
    return reserva;
}

Status CadastroCliente::ler(std::int64_t id) {
    clientes_.clear();
    clientes_.rec().setInteger("ID", id);
    const Status s = clientes_.get("KEYID");
    if (s != Status::Ok) {
        erro_ = clientes_.error();
        return s;
    }
    reservado_ = false;
    registro_ = clientes_.rec();
    original_ = registro_;
    const Status lidos = socios_.carregar(id);
    if (lidos == Status::Error)
        erro_ = tabelaSocios_.error(); // the partners could not be read: their error is the one to show
    return lidos;
}

CadastroCliente::Resultado CadastroCliente::gravar() {
    Resultado r;
    if (!reservado_ && !algoMudou()) {
        r.ok = true;
        return r;
    }
    const std::int64_t id = registro_.integer("ID");
    Transaction transacao({&clientes_, &tabelaSocios_});
    if (!transacao.begin()) {
        r.erro = transacao.error();
        return r;
    }
    clientes_.rec() = registro_;
    if (clientes_.put() != Status::Ok) {
        r.erro = clientes_.error();
        transacao.rollback();
        if (r.erro.code == ErrorCode::CreatesDuplicateKey)
            r.campoDuplicado = outroComDocumento(registro_.text("CGCPF"), registro_.text("SUF_CGCPF"), id)
                                   ? u"CNPJ/CPF + Sufixo"_s
                                   : u"Id"_s;
        return r;
    }
    const Record gravadoAgora = clientes_.rec();
    if (socios_.gravar(id) != Status::Ok) {
        r.erro = tabelaSocios_.error();
        transacao.rollback();
        return r;
    }
    if (!transacao.commit()) {
        r.erro = transacao.error();
        return r;
    }
    reservado_ = false;
    registro_ = gravadoAgora;
    original_ = registro_;
    socios_.gravado(id);
    r.ok = true;
    return r;
}

void CadastroCliente::desistir() {
    socios_.descartar();
    if (!reservado_)
        return;
    clientes_.clear();
    clientes_.rec().setInteger("ID", registro_.integer("ID"));
    if (clientes_.get("KEYID") == Status::Ok)
        clientes_.remove();
    reservado_ = false;
}

CadastroCliente::Resultado CadastroCliente::excluir() {
    Resultado r;
    const std::int64_t id = registro_.integer("ID");
    pedidos_.clear();
    pedidos_.clearFilter();
    pedidos_.rec().setInteger("CLIEN", id);
    const Status comPedidos = pedidos_.get("KEYCLIEN");
    if (comPedidos == Status::Ok) {
        r.comPedidos = true;
        return r;
    }
    if (comPedidos == Status::Error) {
        r.erro = pedidos_.error();
        return r;
    }
    Transaction transacao({&clientes_, &tabelaSocios_});
    if (!transacao.begin()) {
        r.erro = transacao.error();
        return r;
    }
    for (const Record& socio : socios_.lista()) {
        tabelaSocios_.rec() = socio;
        if (tabelaSocios_.remove() != Status::Ok) {
            r.erro = tabelaSocios_.error();
            transacao.rollback();
            return r;
        }
    }
    clientes_.rec() = original_;
    if (clientes_.remove() != Status::Ok) {
        r.erro = clientes_.error();
        transacao.rollback();
        return r;
    }
    if (!transacao.commit()) {
        r.erro = transacao.error();
        return r;
    }
    socios_.carregar(-1);
    r.ok = true;
    return r;
}

std::optional<std::int64_t> CadastroCliente::outroComDocumento(const QString& cgcpf, const QString& sufixo,
                                                               std::int64_t idProprio) {
    if (cgcpf.trimmed().isEmpty())
        return std::nullopt;
    Table busca(store_, clientes_.def());
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
