#pragma once
// The rows of the customer list: every customer of the folder that passes the situation filter (or of
// one municipality), in the order of the list's tab, with the town and state of its municipality.

#include "store/core/Store.h"

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <vector>

namespace qav {

class ClientesModelo : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Ordem { PorId, PorRazao, PorDocumento, PorFantasia, PorMunicipio };
    enum Situacao { Ativos, Inativos, Todos };

    explicit ClientesModelo(Store& store, QObject* parent = nullptr);

    // Reads the customers again. The situation filter applies to every order except PorMunicipio,
    // which lists the customers of `idMunicipio` whatever their situation.
    bool carregar(Ordem ordem, Situacao situacao, std::int64_t idMunicipio = 0);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    std::int64_t idDaLinha(int linha) const;
    int linhaDoId(std::int64_t id) const; // -1 when not listed
    // The first row whose value in the current order is not less than `texto` (the locator of the
    // tab); -1 for an empty list.
    int localizar(const QString& texto) const;

private:
    struct Linha {
        std::int64_t id = 0;
        QString razao;
        QString documento;
        QString sufixo;
        QString fantasia;
        QString municipio;
        QString uf;
    };
    QString chave(const Linha& linha) const;

    Store& store_;
    Ordem ordem_ = PorId;
    std::vector<Linha> linhas_;
};

} // namespace qav
