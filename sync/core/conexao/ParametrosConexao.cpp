#include "sync/core/conexao/ParametrosConexao.h"

#include "store/core/Text.h"

namespace qav::sync {

namespace {
constexpr int kPortaPadrao = 5432;
constexpr int kDiasHistoricoPadrao = 360;
// The database account every installation uses unless the company's technicians set another.
const char* const kUsuarioPadrao = "qavplus";
const char* const kSenhaPadrao = "praxmel80417";

bool vazio(const Record& r, const char* campo) {
    return text::rtrim(r.text(campo)).isEmpty();
}
} // namespace

ParametrosConexao parametrosDaConfiguracao(const Record& qavcfg) {
    return {text::rtrim(qavcfg.text("BD_NOME")), text::rtrim(qavcfg.text("BD_HOST")),
            static_cast<int>(qavcfg.integer("BD_PORTA")), text::rtrim(qavcfg.text("BD_USUARIO")),
            text::rtrim(qavcfg.text("BD_SENHA"))};
}

std::optional<FalhaConfiguracao> verificarConfiguracao(const Record& qavcfg) {
    if (vazio(qavcfg, "BD_NOME"))
        return FalhaConfiguracao{QStringLiteral("Sem nome do BD!"), "BD_NOME"};
    if (vazio(qavcfg, "BD_HOST"))
        return FalhaConfiguracao{QStringLiteral("Sem Host do BD!"), "BD_HOST"};
    if (qavcfg.integer("BD_PORTA") == 0)
        return FalhaConfiguracao{QStringLiteral("Sem Porta de Comunicação do BD!"), "BD_PORTA"};
    if (vazio(qavcfg, "BD_USUARIO"))
        return FalhaConfiguracao{QStringLiteral("Sem Usuário do BD!"), "BD_USUARIO"};
    if (vazio(qavcfg, "BD_SENHA"))
        return FalhaConfiguracao{QStringLiteral("Sem Senha do BD!"), "BD_SENHA"};
    if (qavcfg.integer("COD_VENDEDOR") == 0)
        return FalhaConfiguracao{QStringLiteral("Código vendedor/representante inválido!"), "COD_VENDEDOR"};
    return std::nullopt;
}

void aplicarPadroes(Record& qavcfg) {
    if (qavcfg.integer("BD_PORTA") == 0)
        qavcfg.setInteger("BD_PORTA", kPortaPadrao);
    if (vazio(qavcfg, "BD_USUARIO"))
        qavcfg.setText("BD_USUARIO", QString::fromLatin1(kUsuarioPadrao));
    if (vazio(qavcfg, "BD_SENHA"))
        qavcfg.setText("BD_SENHA", QString::fromLatin1(kSenhaPadrao));
    if (vazio(qavcfg, "PONTO_INSTALACAO"))
        qavcfg.setText("PONTO_INSTALACAO", QStringLiteral("A"));
    if (qavcfg.integer("DIAS_HISTORICO") == 0)
        qavcfg.setInteger("DIAS_HISTORICO", kDiasHistoricoPadrao);
}

} // namespace qav::sync
