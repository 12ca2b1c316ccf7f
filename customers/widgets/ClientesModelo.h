#pragma once
// The rows of the customer list, read a page at a time from clientes.tps in the order of the list's
// tab: every customer that passes the situation filter (or of one municipality), with the town and
// state of its municipality.

#include "customers/core/ConsultasCliente.h"
#include "customers/core/ListaClientes.h"
#include "ui/widgets/StoreListModel.h"

#include <QString>
#include <cstdint>
#include <map>
#include <optional>

namespace qav {

class ClientesModelo : public StoreListModel {
    Q_OBJECT
public:
    using Ordem = clientes::Ordem;
    using Situacao = clientes::Situacao;
    enum Column { ColunaId, ColunaRazao, ColunaDocumento, ColunaMunicipio, ColunaUf };

    explicit ClientesModelo(Store& store, QObject* parent = nullptr);

    // Reads the first page again under the tab's order and filter (see clientes::filtroLista).
    bool carregar(Ordem ordem, Situacao situacao, std::int64_t idMunicipio = 0,
                  const QString& documento = {});
    Ordem ordem() const { return m_ordem; }

    std::int64_t idDaLinha(int linha) const;
    int linhaDoId(std::int64_t id) const; // among the rows read; -1 when not there
    // Restarts the pages at the customer `id`: its row, or the row of its nearest neighbour in the
    // list's order when the list does not show it; nullopt for an unknown id or an empty list.
    std::optional<int> posicionarNoId(std::int64_t id);
    // The tab's locator: restarts the pages at the first customer whose value in the tab's order is
    // not less than `texto` (names compared as the user types them: case and accents ignored), or at
    // the last customer when none comes after it; its row, nullopt for an empty list.
    std::optional<int> localizar(const QString& texto);

private:
    static std::vector<ListColumn> colunas(ClientesModelo* self);
    const std::optional<qav::MunicipioCadastro>& municipio(std::int64_t id) const;

    Store& m_store;
    Ordem m_ordem = Ordem::PorId;
    // Municipalities already looked up for the rows shown (a page shows a few towns many times).
    mutable std::map<std::int64_t, std::optional<qav::MunicipioCadastro>> m_municipios;
};

} // namespace qav
