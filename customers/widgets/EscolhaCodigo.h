#pragma once
// A small list to choose a code from when the code typed in a form is not found (municipality, price
// list): a filter entry over "code - description" rows, "&Selecionar" and "&Cancelar".

#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class QLineEdit;
class QListWidget;

namespace qav {

class EscolhaCodigo : public QDialog {
    Q_OBJECT
public:
    using Linhas = std::vector<std::pair<std::int64_t, QString>>;

    EscolhaCodigo(const QString& titulo, const Linhas& linhas, QWidget* parent = nullptr);

    // Shows the list modally; the chosen code, or nullopt when the user gave up.
    static std::optional<std::int64_t> escolher(const QString& titulo, const Linhas& linhas,
                                                QWidget* parent = nullptr);

    std::optional<std::int64_t> escolhido() const;
    // Selects the row of `codigo`; false when it is not listed.
    bool selecionar(std::int64_t codigo);

private:
    void filtrar(const QString& texto);

    QLineEdit* filtro_;
    QListWidget* lista_;
};

} // namespace qav

#include "customers/core/ConsultasCliente.h"

namespace qav {

// The municipality `id`; when it is not found the municipality list opens for a choice. nullopt when
// the user gave up.
std::optional<Municipio> resolverMunicipio(Store& store, std::int64_t id, QWidget* parent);
// The price list `codigo` of the company, or the one chosen from the list when it is not found.
std::optional<std::int64_t> resolverPauta(Store& store, int idEmpresa, std::int64_t codigo, QWidget* parent);

} // namespace qav
