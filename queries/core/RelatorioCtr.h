#pragma once
// The receivables report "Relatório de Contas a Receber": the titles of a customer (or of every
// customer of the company) due within a period, in the situation chosen, optionally with the
// commission of each title, ending with the grand totals ("Total Geral:").

#include "queries/core/ContasReceber.h"

#include <QString>
#include <map>

class QPagedPaintDevice;

namespace qav::consulta {

struct RelatorioContas {
    QString empresa;
    std::int64_t devedor = 0; // 0: every customer
    Date inicio;              // due dates from
    Date fim;                 // to
    Date emissao;             // the day it was printed
    ctr::Situacao situacao = ctr::Situacao::Todas;
    bool comissao = false; // "&Imprimir Comissão"
    std::vector<ctr::Titulo> titulos;
    std::map<std::int64_t, QString> clientes; // name of each customer listed
};

// "Período Inicail maior que Período Final!" when the period ends before it starts, else empty.
QString conferirPeriodo(Date inicio, Date fim);

// Reads the titles of the report; false with `erro` when ctr.tps cannot be read.
bool montarRelatorio(Store& store, int idEmpresa, RelatorioContas& relatorio, StoreError* erro);

// Draws the report; the number of pages, 0 when the device cannot be painted on.
int desenharRelatorioCtr(QPagedPaintDevice& destino, const RelatorioContas& relatorio,
                         bool manterPapel = false);

} // namespace qav::consulta
