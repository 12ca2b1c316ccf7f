#include "customers/core/SociosCliente.h"

#include "customers/core/RegrasCliente.h"

#include <algorithm>

namespace qav {

namespace {

template <typename T> bool contem(const std::vector<T>& v, const T& x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}

template <typename T> void retirar(std::vector<T>& v, const T& x) {
    v.erase(std::remove(v.begin(), v.end(), x), v.end());
}

} // namespace

Status SociosCliente::carregar(std::int64_t idCliente) {
    lista_.clear();
    novos_.clear();
    alterados_.clear();
    excluidos_.clear();
    mudou_ = false;
    socios_.clearFilter();
    socios_.clear();
    socios_.rec().setInteger("ID_CLIENTE", idCliente);
    Status s = socios_.seek("KEYID_CLIENTE");
    while (s == Status::Ok) {
        s = socios_.next();
        if (s != Status::Ok || socios_.rec().integer("ID_CLIENTE") != idCliente)
            break;
        lista_.push_back(socios_.rec());
    }
    std::sort(lista_.begin(), lista_.end(),
              [](const Record& a, const Record& b) { return a.integer("ID_SOCIO") < b.integer("ID_SOCIO"); });
    return s == Status::Error ? Status::Error : Status::Ok;
}

const Record* SociosCliente::socio(std::int64_t idSocio) const {
    for (const Record& r : lista_)
        if (r.integer("ID_SOCIO") == idSocio)
            return &r;
    return nullptr;
}

ReservaId SociosCliente::reservarNovo() {
    socios_.clear();
    ReservaId reserva = reservarId(socios_, "KEYID", "ID_SOCIO", clientes::proximoId);
    if (reserva.status != Status::Ok)
        return reserva;
    novos_.push_back(reserva.id);
    bloquearReservado(socios_, "KEYID", reserva);
    if (reserva.bloqueioFalhou) {
        desistirNovo(reserva.id);
        return reserva;
    }
    reservado_ = socios_.rec();
    return reserva;
}

void SociosCliente::incluir(const Record& socio) {
    lista_.push_back(socio);
    mudou_ = true;
}

void SociosCliente::alterar(const Record& socio) {
    const std::int64_t id = socio.integer("ID_SOCIO");
    for (Record& r : lista_) {
        if (r.integer("ID_SOCIO") == id) {
            r = socio;
            if (!contem(novos_, id) && !contem(alterados_, id))
                alterados_.push_back(id);
            mudou_ = true;
        }
    }
}

void SociosCliente::desistirNovo(std::int64_t idSocio) {
    socios_.clear();
    socios_.rec().setInteger("ID_SOCIO", idSocio);
    if (socios_.get("KEYID") == Status::Ok)
        socios_.remove();
    retirar(novos_, idSocio);
}

void SociosCliente::excluir(std::int64_t idSocio) {
    const auto it = std::find_if(lista_.begin(), lista_.end(),
                                 [&](const Record& r) { return r.integer("ID_SOCIO") == idSocio; });
    if (it == lista_.end())
        return;
    if (contem(novos_, idSocio))
        desistirNovo(idSocio);
    else
        excluidos_.push_back(*it);
    retirar(alterados_, idSocio);
    lista_.erase(it);
    mudou_ = true;
}

Status SociosCliente::gravar(std::int64_t idCliente) {
    for (const Record& r : excluidos_) {
        socios_.rec() = r;
        if (socios_.remove() != Status::Ok)
            return Status::Error;
    }
    for (const Record& r : lista_) {
        const std::int64_t id = r.integer("ID_SOCIO");
        const bool novo = contem(novos_, id);
        if (!novo && !contem(alterados_, id) && r.integer("ID_CLIENTE") == idCliente)
            continue;
        socios_.rec() = r;
        socios_.rec().setInteger("ID_CLIENTE", idCliente);
        if (socios_.put() != Status::Ok)
            return Status::Error;
    }
    return Status::Ok;
}

void SociosCliente::descartar() {
    const std::vector<std::int64_t> reservados = novos_;
    for (std::int64_t id : reservados)
        desistirNovo(id);
    lista_.clear();
    alterados_.clear();
    excluidos_.clear();
    mudou_ = false;
}

} // namespace qav
