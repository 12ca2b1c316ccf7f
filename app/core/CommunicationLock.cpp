#include "app/core/CommunicationLock.h"

#include "store/core/Table.h"

namespace qav {

bool lockDue(const ConfiguracaoFrame& cfg, Date today) {
    if (!cfg.encontrada || cfg.sistemaBloqueado || cfg.diasBloqueio <= 0)
        return false;
    // Worked on day numbers: a company that never communicated (no date, day 0) is long overdue.
    const std::int64_t limite = std::int64_t{cfg.dtUltCom.dayNumber()} + cfg.diasBloqueio;
    return today.dayNumber() >= limite;
}

LockCheck applyCommunicationLock(Store& store, int idEmpresa, Date today, ConfiguracaoFrame& cfg) {
    LockCheck check;
    Table qavcfg(store, "qavcfg.tps");
    if (!qavcfg.open())
        return check;
    qavcfg.clear();
    qavcfg.rec().setInteger("ID_EMPRESA", idEmpresa);
    if (qavcfg.get("KEYID_EMPRESA") == Status::Ok) {
        // The rule is applied to the record as stored now, not to an older copy.
        ConfiguracaoFrame stored = cfg;
        stored.encontrada = true;
        stored.sistemaBloqueado = qavcfg.rec().integer("SISTEMA_BLOQUEADO") != 0;
        stored.diasBloqueio = static_cast<int>(qavcfg.rec().integer("DIAS_BLOQUEIO"));
        stored.dtUltCom = qavcfg.rec().date("DT_ULT_COM");
        if (lockDue(stored, today)) {
            check.lockedNow = true;
            cfg.sistemaBloqueado = true;
            qavcfg.rec().setInteger("SISTEMA_BLOQUEADO", 1);
            if (qavcfg.put() != Status::Ok)
                check.writeError = qavcfg.error();
        }
    }
    qavcfg.close();
    return check;
}

QString lockWriteErrorText(const StoreError& error) {
    return QStringLiteral("Erro (") + QString::number(error.number()) +
           QStringLiteral(") ao gravar configuração do QAV+!");
}

} // namespace qav
