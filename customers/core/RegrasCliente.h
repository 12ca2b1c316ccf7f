#pragma once
// The rules of the customer file without any window: which customers may be changed, the id of a new
// local customer, the values a new customer starts with, which tabs each person type shows, and the
// checks that every field of the customer form runs when it is left and again on "&OK". Each check
// returns whether the value is accepted and the message the form shows (none when empty).

#include "store/core/Date.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace qav {

class Record;

namespace clientes {

// Customers registered on the workstation take ids from here upward, so that the communication run
// can tell them from the customers that came from the server (read-only here).
inline constexpr std::int64_t idLocalInicial = 900000;

// CLI:PESSO
enum Pessoa : int { PessoaNenhuma = 0, PessoaJuridica = 1, PessoaFisica = 2, PessoaExportacao = 3 };

// QAVCFG:BLOQUEIOS1 bit that forbids registering customers on the workstation.
inline constexpr int bloqueioNovosClientes = 8;

struct Verificacao {
    bool aceita = true;
    QString texto;  // message to show; empty: none
    QString titulo; // caption of that message
    QString dica;   // short hint the form shows beside the fields when there is no message box

    static Verificacao ok() { return {}; }
    static Verificacao recusa(QString texto = {}, QString titulo = {}, QString dica = {}) {
        return {false, std::move(texto), std::move(titulo), std::move(dica)};
    }
};

bool idDoServidor(std::int64_t id);

// The id the next new customer takes when the highest id in the file is `maiorId` (0: empty file):
// the next number, moved above the server's range when it falls inside it. Highest 1500 gives
// 901501, an empty file 900001, a highest local id 901501 gives 901502.
std::int64_t proximoIdCliente(std::int64_t maiorId);
// Partners and other locally numbered records: the next number, 1 for an empty file.
std::int64_t proximoId(std::int64_t maiorId);

// Permissions of the customer list.
Verificacao podeIncluir(int bloqueios1);
Verificacao podeEditar(std::int64_t id);
Verificacao podeExcluir(std::int64_t id);

// A new customer: active, registered today, class "B", the person type last chosen and the
// representative of the active company.
struct PadroesNovoCliente {
    Date hoje;
    int pessoa = PessoaJuridica;
    std::int64_t codVendedor = 0;
};
void aplicarPadroes(Record& cli, const PadroesNovoCliente& padroes);
// "Pessoa" of qav.ini as a person type: anything outside 1..3 proposes a company.
int pessoaProposta(int valorIni);

// Which tabs the person type shows: the person tab for persons, the three company tabs for
// companies and exporters, none of them when no type is chosen.
struct AbasVisiveis {
    bool pessoaFisica = false;
    bool juridica = false;
    bool operator==(const AbasVisiveis&) const = default;
};
AbasVisiveis abasVisiveis(int pessoa);
QString rotuloDocumento(int pessoa); // "CNPJ: ", "CPF: ", "Doc.: "

// Document (CLI:CGCPF): a company's 14 characters take the CNPJ picture, a person's 11 digits the CPF
// picture; other texts stay as typed.
QString formatarDocumento(int pessoa, const QString& texto);
// Blank, or nothing but zeros and punctuation: there is no document to check.
bool documentoAusente(const QString& texto);
// The formatted document must be a valid CNPJ (companies) or CPF (persons).
Verificacao verificarDocumento(int pessoa, const QString& texto);
QString idSeisDigitos(std::int64_t id);
QString mensagemClienteJaCadastrado(std::int64_t idExistente);

// CEP: 8 characters take the picture "#####-###".
QString formatarCep(const QString& texto);

// CLI:INDICADOR_IE must be chosen.
Verificacao verificarIndicadorIe(int indicador);
// "ISENTO" in any case (surrounding blanks ignored).
bool inscricaoIsenta(const QString& inscricao);
// State registration: required for an ICMS taxpayer (indicator 1). The registration of a company is
// checked against the state of its municipality only when the user leaves the field
// (`aoSairDoCampo`); "ISENTO" is accepted.
Verificacao verificarInscricao(int indicador, int pessoa, const QString& inscricao, const QString& uf,
                               bool aoSairDoCampo);

QString emMinusculas(const QString& texto); // e-mail and www
// An e-mail is blank or an address with something on both sides of "@" (several addresses may be
// separated by ";" or ","); anything else is refused, as no mail could reach it.
Verificacao verificarEmail(const QString& texto);

// A date entry "dd/mm/yyyy": nothing typed is no date; anything else must be a real calendar date
// (31/02/2020 is refused, not stored as no date). nullopt: refused.
std::optional<Date> lerData(const QString& texto);
Verificacao verificarData(const QString& texto);
// The partner's month and year of entry "mm/yyyy", kept as the first day of that month.
std::optional<Date> lerMesAno(const QString& texto);
Verificacao verificarMesAno(const QString& texto);
// Shares of sales, of imports and of exports are percentages.
inline constexpr int percentualMaximo = 100;
QString normalizarClasse(const QString& classe);
// Class "D" takes the credit release away.
bool classeRetiraCredito(const QString& classe);

// Commercial references (suppliers with telephone) are required for every customer.
Verificacao verificarReferenciasComerciais(const QString& referencias);

// "&OK": persons, and companies without a registration or "ISENTO", are final consumers.
bool tornaConsumidorFinal(int pessoa, const QString& inscricao);
// "&OK": a company needs its partners.
Verificacao verificarSocios(int pessoa, int quantidadeSocios);
// "&OK" of a change to a customer that came from the server: the change stays on the workstation.
bool avisaAlteracaoDoServidor(bool alteracao, std::int64_t id, bool algoMudou);
QString textoAvisoAlteracaoServidor();
QString tituloAvisoAlteracaoServidor();

// Partner document: 11 characters take the CPF picture, 14 unformatted characters the CNPJ picture;
// it is not validated.
QString formatarDocumentoSocio(const QString& texto);
// Locator of the CNPJ/CPF tab: 11 characters as a CPF, 14 as a CNPJ.
QString formatarDocumentoLocalizador(const QString& texto);

} // namespace clientes
} // namespace qav
