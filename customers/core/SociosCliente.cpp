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
    m_lista.clear();
    m_novos.clear();
    m_alterados.clear();
    m_excluidos.clear();
    m_mudou = false;
    m_socios.clearFilter();
    m_socios.clear();
    m_socios.rec().setInteger("ID_CLIENTE", idCliente);
    Status s = m_socios.seek("KEYID_CLIENTE");
    while (s == Status::Ok) {
        s = m_socios.next();
        if (s != Status::Ok || m_socios.rec().integer("ID_CLIENTE") != idCliente)
            break;
        m_lista.push_back(m_socios.rec());
    }
    std::sort(m_lista.begin(), m_lista.end(),
              [](const Record& a, const Record& b) { return a.integer("ID_SOCIO") < b.integer("ID_SOCIO"); });
    return s == Status::Error ? Status::Error : Status::Ok;
}

const Record* SociosCliente::socio(std::int64_t idSocio) const {
    for (const Record& r : m_lista)
        if (r.integer("ID_SOCIO") == idSocio)
            return &r;
    return nullptr;
}

ReservaId SociosCliente::reservarNovo() {
    m_socios.clear();
    ReservaId reserva = reservarId(m_socios, "KEYID", "ID_SOCIO", clientes::proximoId);
    if (reserva.status != Status::Ok)
        return reserva;
    m_novos.push_back(reserva.id);
    bloquearReservado(m_socios, "KEYID", reserva);
    if (reserva.bloqueioFalhou) {
        desistirNovo(reserva.id);
        return reserva;
    }
    m_reservado = m_socios.rec();
    return reserva;
}

void SociosCliente::incluir(const Record& socio) {
    m_lista.push_back(socio);
    m_mudou = true;
}

void SociosCliente::alterar(const Record& socio) {
    const std::int64_t id = socio.integer("ID_SOCIO");
    for (Record& r : m_lista) {
        if (r.integer("ID_SOCIO") == id) {
            r = socio;
            if (!contem(m_novos, id) && !contem(m_alterados, id))
                m_alterados.push_back(id);
            m_mudou = true;
        }
    }
}

void SociosCliente::desistirNovo(std::int64_t idSocio) {
    m_socios.clear();
    m_socios.rec().setInteger("ID_SOCIO", idSocio);
    if (m_socios.get("KEYID") == Status::Ok)
        m_socios.remove();
    retirar(m_novos, idSocio);
}

void SociosCliente::excluir(std::int64_t idSocio) {
    const auto it = std::find_if(m_lista.begin(), m_lista.end(),
                                 [&](const Record& r) { return r.integer("ID_SOCIO") == idSocio; });
    if (it == m_lista.end())
        return;
    if (contem(m_novos, idSocio))
        desistirNovo(idSocio);
    else
        m_excluidos.push_back(*it);
    retirar(m_alterados, idSocio);
    m_lista.erase(it);
    m_mudou = true;
}

Status SociosCliente::gravar(std::int64_t idCliente) {
    for (const Record& r : m_excluidos) {
        m_socios.rec() = r;
        if (m_socios.remove() != Status::Ok)
            return Status::Error;
    }
    for (const Record& r : m_lista) {
        const std::int64_t id = r.integer("ID_SOCIO");
        const bool novo = contem(m_novos, id);
        if (!novo && !contem(m_alterados, id) && r.integer("ID_CLIENTE") == idCliente)
            continue;
        m_socios.rec() = r;
        m_socios.rec().setInteger("ID_CLIENTE", idCliente);
        if (m_socios.put() != Status::Ok)
            return Status::Error;
    }
    return Status::Ok;
}

void SociosCliente::descartar() {
    const std::vector<std::int64_t> reservados = m_novos;
    for (std::int64_t id : reservados)
        desistirNovo(id);
    m_lista.clear();
    m_alterados.clear();
    m_excluidos.clear();
    m_mudou = false;
}

} // namespace qav
