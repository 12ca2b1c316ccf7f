#pragma once
// What the main frame reads from the local tables when a company is chosen: the configuration
// record of the company (qavcfg.tps), its name (empresa.tps) and the workstation's representative
// (vendedor.tps). A missing record reads as blank: every flag 0, every text empty; a configuration
// table that cannot be read reads as locked.

#include "store/core/Date.h"
#include "store/core/Store.h"

#include <QString>

namespace qav {

// The fields of QAVCFG that the frame uses.
struct ConfiguracaoFrame {
    bool encontrada = false;
    int codVendedor = 0;
    Date dtUltCom;
    int diasBloqueio = 0;
    bool sistemaBloqueado = false;
    bool ativaRelCom = false;
    QString bloqRelatorios;
    bool permitirFlex = false;
    int qavHub = 0;

    bool operator==(const ConfiguracaoFrame&) const = default;
};

struct DadosFrame {
    ConfiguracaoFrame configuracao;
    QString nomeEmpresa;  // EMP:NOME, trailing spaces cut
    QString nomeVendedor; // VEN:NOME, trailing spaces cut; empty when the representative is unknown
};

// The configuration record of the company; blank when there is none; locked (and otherwise blank)
// when the table cannot be read.
ConfiguracaoFrame readConfiguracao(Store& store, int idEmpresa);
DadosFrame readDadosFrame(Store& store, int idEmpresa);
// The company's orders released and waiting for the next communication run (situation 2); -1 when
// the orders cannot be read.
long long pedidosAEnviar(Store& store, int idEmpresa);

} // namespace qav
