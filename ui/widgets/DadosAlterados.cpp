#include "ui/widgets/DadosAlterados.h"

namespace qav {

DadosAlterados& DadosAlterados::instancia() {
    static DadosAlterados aviso;
    return aviso;
}

void DadosAlterados::avisar() {
    Q_EMIT instancia().alterados();
}

} // namespace qav
