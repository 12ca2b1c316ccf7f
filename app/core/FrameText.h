#pragma once
// Texts of the main frame: its caption and the date and time of its status bar.

#include "store/core/Clock.h"

#include <QString>

namespace qav {

// "QAV+ 2026.186 [ 000001 EMPRESA ] - [ 000012 - VENDEDOR ]": the build, the active company and the
// workstation's representative. Names lose their trailing spaces.
QString frameCaption(int idEmpresa, const QString& nomeEmpresa, int codVendedor, const QString& nomeVendedor);

// "Domingo" .. "Sábado" (0 = Sunday).
QString weekdayShortName(int dayOfWeek);
// Status bar zone 3: "Segunda, 05/01/2026".
QString statusDateText(Date date);
// The status-bar line of the work waiting: "Última comunicação: 08/12/2026 | 2 pedidos a enviar"
// ("nenhuma" before the first run; without the orders when they cannot be counted).
QString statusComunicacaoText(Date ultima, long long aEnviar);
// Status bar zone 4: "08:05:09".
QString statusTimeText(const DateTimeParts& now);

} // namespace qav
