#pragma once
// The company's communication settings as the "Comunicação" window keeps them: reading the record of
// a company, saving what the window edits without touching what the server sent, and moving a
// company's orders to its head office.

#include "store/core/Record.h"
#include "store/core/Store.h"

#include <QString>
#include <optional>
#include <vector>

namespace qav::sync {

// The fields the window edits; every other field of the configuration comes from the server (the
// settings refresh of a run) and is kept as stored when the window saves.
const std::vector<const char*>& camposEditaveis();

// The edited fields of `de` over `para`.
void copiarCamposEditaveis(const Record& de, Record& para);

// The stored configuration of `idEmpresa`; nullopt when the company has none (or the file failed).
std::optional<Record> lerConfiguracao(Store& store, int idEmpresa);

// What the window opens on: the configuration of `idEmpresa`, else the first of the file, else an
// empty one for `idEmpresa`; with the defaults of a configuration never filled in.
Record configuracaoInicial(Store& store, int idEmpresa);

// The configuration of `idEmpresa` for the window: the stored one, or an empty one for that company,
// with the defaults.
Record configuracaoDaEmpresa(Store& store, int idEmpresa);

struct ResultadoGravacao {
    enum Situacao { Gravada, EmpresaInvalida, Falhou };
    Situacao situacao = Falhou;
    int codigoErro = 0; // the store's error number when it failed
    // The record as stored (the edited fields over what the company had).
    std::optional<Record> gravada;
};

// Copies the edited fields of `editada` over the company's stored configuration, or adds it when the
// company had none.
ResultadoGravacao gravarConfiguracao(Store& store, const Record& editada);

struct ResultadoTransferencia {
    bool ok = false;
    int pedidos = 0;    // orders moved
    int codigoErro = 0; // the store's error number when it failed (nothing was moved)
};

// Moves every order of `idEmpresa` to `idMatriz`; a released order goes back to pending, so that the
// representative releases it again under the head office. All orders move together or none does;
// a company given as its own head office has nothing to move.
ResultadoTransferencia transferirPedidos(Store& store, int idEmpresa, int idMatriz);

} // namespace qav::sync
