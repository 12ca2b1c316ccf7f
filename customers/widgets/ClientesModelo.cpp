#include "customers/widgets/ClientesModelo.h"

#include "customers/core/ConsultasCliente.h"
#include "customers/core/RegrasCliente.h"
#include "store/core/Table.h"

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace qav {

ClientesModelo::ClientesModelo(Store& store, QObject* parent) : QAbstractTableModel(parent), store_(store) {}

bool ClientesModelo::carregar(Ordem ordem, Situacao situacao, std::int64_t idMunicipio) {
    beginResetModel();
    ordem_ = ordem;
    linhas_.clear();
    Table clientes(store_, "clientes.tps");
    bool ok = clientes.open();
    if (ok) {
        std::map<std::int64_t, std::optional<Municipio>> municipios;
        Status s = clientes.seekPhysical();
        while (s == Status::Ok && (s = clientes.next()) == Status::Ok) {
            const Record& r = clientes.rec();
            const std::int64_t mun = r.integer("ID_MUNICIPIO");
            if (ordem == PorMunicipio) {
                if (mun != idMunicipio)
                    continue;
            } else if (situacao != Todos && r.integer("ATIVO") != (situacao == Ativos ? 1 : 0)) {
                continue;
            }
            auto it = municipios.find(mun);
            if (it == municipios.end())
                it = municipios.emplace(mun, buscarMunicipio(store_, mun)).first;
            linhas_.push_back({r.integer("ID"), r.text("RAZAO").trimmed(), r.text("CGCPF").trimmed(),
                               r.text("SUF_CGCPF").trimmed(), r.text("NOME").trimmed(),
                               it->second ? it->second->nome : QString(),
                               it->second ? it->second->estado : QString()});
        }
        ok = s != Status::Error;
        clientes.close();
    }
    std::stable_sort(linhas_.begin(), linhas_.end(), [this](const Linha& a, const Linha& b) {
        if (ordem_ == PorId)
            return a.id < b.id;
        const QString ka = chave(a);
        const QString kb = chave(b);
        return ka != kb ? ka < kb : a.id < b.id;
    });
    endResetModel();
    return ok;
}

QString ClientesModelo::chave(const Linha& linha) const {
    switch (ordem_) {
    case PorDocumento:
        return linha.documento.toUpper() + QChar(u'\x01') + linha.sufixo.toUpper();
    case PorFantasia:
        return linha.fantasia.toUpper();
    default:
        return linha.razao.toUpper();
    }
}

int ClientesModelo::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(linhas_.size());
}

int ClientesModelo::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 5;
}

QVariant ClientesModelo::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const Linha& l = linhas_[static_cast<size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return clientes::idSeisDigitos(l.id);
    case 1:
        return l.razao;
    case 2:
        return l.sufixo.isEmpty() ? l.documento : l.documento + u" / "_s + l.sufixo;
    case 3:
        return l.municipio;
    default:
        return l.uf;
    }
}

QVariant ClientesModelo::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QStringList titulos = {u"Id"_s, u"Nome / Razão Social"_s, u"CNPJ/CPF"_s, u"Municipio"_s,
                                        u"UF"_s};
    return titulos.value(section);
}

std::int64_t ClientesModelo::idDaLinha(int linha) const {
    return linha >= 0 && linha < rowCount() ? linhas_[static_cast<size_t>(linha)].id : 0;
}

int ClientesModelo::linhaDoId(std::int64_t id) const {
    for (size_t i = 0; i < linhas_.size(); ++i)
        if (linhas_[i].id == id)
            return static_cast<int>(i);
    return -1;
}

int ClientesModelo::localizar(const QString& texto) const {
    if (linhas_.empty())
        return -1;
    const QString alvo = texto.trimmed().toUpper();
    for (size_t i = 0; i < linhas_.size(); ++i) {
        const bool alcancou =
            ordem_ == PorId ? linhas_[i].id >= alvo.toLongLong() : chave(linhas_[i]) >= alvo;
        if (alcancou)
            return static_cast<int>(i);
    }
    return static_cast<int>(linhas_.size()) - 1;
}

} // namespace qav
