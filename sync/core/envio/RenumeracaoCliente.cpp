#include "sync/core/envio/RenumeracaoCliente.h"

#include "sync/core/envio/SociosZor.h"
#include "sync/core/execucao/CursorTransacao.h"

#include <set>
#include <vector>

namespace qav::sync {

namespace {

int codigo(const Table& t, Status s) {
    return s == Status::NotFound ? static_cast<int>(ErrorCode::RecordNotFound) : t.error().number();
}

void avisar(const ContextoComunicacao& contexto, int codigoErro, const char* oQue) {
    contexto.aviso(QStringLiteral("Erro (") + QString::number(codigoErro) + QStringLiteral(") ") +
                   QString::fromUtf8(oQue));
}

Status ler(Table& t, const char* campo, int id) {
    t.clear();
    t.rec().setInteger(campo, id);
    return t.get("KEYID");
}

// The records whose `campo` (the first component of `chave`) holds `id`.
Status registrosDe(Table& t, const char* chave, const char* campo, int id, std::vector<Record>& registros) {
    t.clear();
    t.rec().setInteger(campo, id);
    Status s = t.seek(chave);
    while (s == Status::Ok) {
        s = t.next();
        if (s != Status::Ok || t.rec().integer(campo) != id)
            break;
        registros.push_back(t.rec());
    }
    return s == Status::Error ? s : Status::Ok;
}

// The customer record. True in `jaExistia` when the ERP's customer was already here.
bool renumerarCadastro(const ContextoComunicacao& contexto, Table& clientes, int idLocal, int idServidor,
                       bool& jaExistia) {
    Status s = ler(clientes, "ID", idServidor);
    jaExistia = s == Status::Ok;
    if (jaExistia) {
        s = ler(clientes, "ID", idLocal);
        if (s == Status::Ok)
            s = clientes.remove();
        if (s != Status::Ok) {
            avisar(contexto, codigo(clientes, s), "ao excluir cliente/local!");
            return false;
        }
        s = ler(clientes, "ID", idServidor);
    } else if (s == Status::NotFound) {
        s = ler(clientes, "ID", idLocal);
        if (s == Status::Ok) {
            clientes.rec().setInteger("ID", idServidor);
            s = clientes.put();
        }
    }
    if (s != Status::Ok) {
        avisar(contexto, codigo(clientes, s), "ao gravar cliente/local!");
        return false;
    }
    return true;
}

bool renumerarSocios(const ContextoComunicacao& contexto, Table& socios, int idLocal, int idServidor,
                     bool clienteJaExistia) {
    CursorTransacao cursor(socios);
    Table& t = cursor.tabela();
    std::vector<Record> doServidor, doLocal;
    Status s = cursor.aberto() ? Status::Ok : Status::Error;
    if (s == Status::Ok && clienteJaExistia)
        s = registrosDe(t, "KEYID_CLIENTE", "ID_CLIENTE", idServidor, doServidor);
    if (s == Status::Ok)
        s = registrosDe(t, "KEYID_CLIENTE", "ID_CLIENTE", idLocal, doLocal);
    std::set<QString> presentes;
    for (const Record& r : doServidor)
        presentes.insert(identidadeSocio(r.text("CPF_CNPJ"), r.text("NOME")));
    for (const Record& r : doLocal) {
        if (s != Status::Ok)
            break;
        t.rec() = r;
        // The kept customer already has this partner (the server gave it before): the copy goes, as
        // it did not go to the server a second time either.
        const QString identidade = identidadeSocio(r.text("CPF_CNPJ"), r.text("NOME"));
        if (presentes.count(identidade)) {
            s = t.remove();
            continue;
        }
        t.rec().setInteger("ID_CLIENTE", idServidor);
        s = t.put();
        presentes.insert(identidade);
    }
    if (s != Status::Ok) {
        avisar(contexto, codigo(t, s), "ao gravar sócio/local!");
        return false;
    }
    return true;
}

bool renumerarPedidos(const ContextoComunicacao& contexto, Table& pedidos, int idLocal, int idServidor) {
    CursorTransacao cursor(pedidos);
    Table& t = cursor.tabela();
    std::vector<Record> doCliente;
    Status s = cursor.aberto() ? registrosDe(t, "KEYCLIEN", "CLIEN", idLocal, doCliente) : Status::Error;
    Record& doChamador = pedidos.rec();
    for (const Record& r : doCliente) {
        if (s != Status::Ok)
            break;
        t.rec() = r;
        t.rec().setInteger("CLIEN", idServidor);
        s = t.put();
        // The order being sent is in the caller's buffer, read before: it follows the change so that
        // the caller can still write it.
        if (s == Status::Ok && doChamador.rowId() == r.rowId() && doChamador.revision() == r.revision())
            doChamador.setOrigin(r.rowId(), t.rec().revision());
    }
    if (s != Status::Ok) {
        avisar(contexto, codigo(t, s), "ao gravar pedido/local!");
        return false;
    }
    if (doChamador.integer("CLIEN") == idLocal)
        doChamador.setInteger("CLIEN", idServidor);
    return true;
}

} // namespace

bool renumerarClienteLocal(const ContextoComunicacao& contexto, TabelasEnvio& tabelas, int idLocal,
                           int idServidor) {
    // The server knows the customer by the id it has here already (a manager database hands out ids
    // in the workstations' range): nothing to renumber, and above all the customer is not taken for a
    // copy of itself and deleted.
    if (idLocal == idServidor)
        return true;
    bool jaExistia = false;
    return renumerarCadastro(contexto, tabelas.clientes, idLocal, idServidor, jaExistia) &&
           renumerarSocios(contexto, tabelas.socios, idLocal, idServidor, jaExistia) &&
           renumerarPedidos(contexto, tabelas.pedidos, idLocal, idServidor);
}

} // namespace qav::sync
