#pragma once
// The communication lock: a company may let the workstation go DIAS_BLOQUEIO days without a
// communication run; after that the workstation locks itself (SISTEMA_BLOQUEADO = 1) until a
// communication run clears the flag. A workstation that never communicated locks at once.

#include "app/core/FrameConfig.h"
#include "store/core/Date.h"
#include "store/core/Store.h"
#include "store/core/StoreError.h"

#include <QString>

namespace qav {

// True when the lock must be set now: the company has lock days (0, or a negative value, means
// never), is not locked yet, and today is DT_ULT_COM + DIAS_BLOQUEIO or later.
bool lockDue(const ConfiguracaoFrame& cfg, Date today);

struct LockCheck {
    bool lockedNow = false; // this check set the flag (in memory, and on disk unless writeError)
    StoreError writeError;  // the record could not be written back
};

// Applies the rule to the company's configuration record and writes the flag back. `cfg` is the
// frame's copy: its flag is set even when the write fails, so the workstation stays locked until the
// program ends.
LockCheck applyCommunicationLock(Store& store, int idEmpresa, Date today, ConfiguracaoFrame& cfg);

// "Erro (" code ") ao gravar configuração do QAV+!"
QString lockWriteErrorText(const StoreError& error);
inline const QString textoSistemaBloqueado =
    QStringLiteral("Sistema bloqueado! Para liberar efetuar comunicação parcial ou completa!");

} // namespace qav
