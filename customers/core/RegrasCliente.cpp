#include "customers/core/RegrasCliente.h"

#include "store/core/FormatoBr.h"

#include "customers/core/DocumentChecks.h"
#include "store/core/Record.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace qav::clientes {

namespace {

const QString aviso = u"Aviso"_s;

} // namespace

bool idDoServidor(std::int64_t id) {
    return id < idLocalInicial;
}

std::int64_t proximoIdCliente(std::int64_t maiorId) {
    const std::int64_t candidato = proximoId(maiorId);
    return candidato < idLocalInicial ? candidato + idLocalInicial : candidato;
}

std::int64_t proximoId(std::int64_t maiorId) {
    return maiorId > 0 ? maiorId + 1 : 1;
}

Verificacao podeIncluir(int bloqueios1) {
    if (bloqueios1 & bloqueioNovosClientes)
        return Verificacao::recusa(u"Sem permissão para cadastrar novo cliente!"_s, aviso);
    return Verificacao::ok();
}

Verificacao podeEditar(std::int64_t id) {
    if (idDoServidor(id))
        return Verificacao::recusa(u"Sem permissão para editar cliente!"_s, aviso);
    return Verificacao::ok();
}

Verificacao podeExcluir(std::int64_t id) {
    if (idDoServidor(id))
        return Verificacao::recusa(u"Impossivel excluir cliente selecionado!"_s, aviso);
    return Verificacao::ok();
}

void aplicarPadroes(Record& cli, const PadroesNovoCliente& padroes) {
    cli.setInteger("ATIVO", 1);
    cli.setDate("DATA", padroes.hoje);
    cli.setText("CLASSE", u"B"_s);
    cli.setInteger("PESSO", padroes.pessoa);
    cli.setInteger("COD_VENDEDOR", padroes.codVendedor);
}

int pessoaProposta(int valorIni) {
    return valorIni >= PessoaJuridica && valorIni <= PessoaExportacao ? valorIni : PessoaJuridica;
}

AbasVisiveis abasVisiveis(int pessoa) {
    switch (pessoa) {
    case PessoaJuridica:
    case PessoaExportacao:
        return {false, true};
    case PessoaFisica:
        return {true, false};
    default:
        return {false, false};
    }
}

QString rotuloDocumento(int pessoa) {
    switch (pessoa) {
    case PessoaJuridica:
        return u"CNPJ: "_s;
    case PessoaFisica:
        return u"CPF: "_s;
    default:
        return u"Doc.: "_s;
    }
}

QString formatarDocumento(int pessoa, const QString& texto) {
    const QString t = texto.trimmed();
    if (pessoa == PessoaJuridica && t.size() == 14)
        return docs::formatCnpj(t);
    if (pessoa == PessoaFisica && t.size() == 11)
        return docs::formatCpf(t);
    return texto;
}

bool documentoAusente(const QString& texto) {
    for (QChar c : texto) {
        if (c != u'0' && c != u'.' && c != u'/' && c != u'-' && c != u' ')
            return false;
    }
    return true;
}

Verificacao verificarDocumento(int pessoa, const QString& texto) {
    if (documentoAusente(texto))
        return Verificacao::ok();
    if (pessoa == PessoaJuridica && !docs::cnpjValido(texto))
        return Verificacao::recusa(u"CNPJ inválido!"_s, u"Erro"_s);
    if (pessoa == PessoaFisica && !docs::cpfValido(texto))
        return Verificacao::recusa(u"CPF inválido!"_s, u"Erro"_s);
    return Verificacao::ok();
}

QString idSeisDigitos(std::int64_t id) {
    return br::digitos(static_cast<long long>(id), 6);
}

QString mensagemClienteJaCadastrado(std::int64_t idExistente) {
    return u"Cliente já cadastrado ( Id: "_s + idSeisDigitos(idExistente) + u")."_s;
}

QString formatarCep(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.size() != 8)
        return texto;
    return t.left(5) + u'-' + t.right(3);
}

Verificacao verificarIndicadorIe(int indicador) {
    if (indicador == 0)
        return Verificacao::recusa({}, {}, u"Escolha o indicador da inscrição estadual."_s);
    return Verificacao::ok();
}

bool inscricaoIsenta(const QString& inscricao) {
    return inscricao.trimmed().toUpper() == u"ISENTO"_s;
}

Verificacao verificarInscricao(int indicador, int pessoa, const QString& inscricao, const QString& uf,
                               bool aoSairDoCampo) {
    const QString ie = inscricao.trimmed();
    if (ie.isEmpty()) {
        if (indicador == 1)
            return Verificacao::recusa({}, {}, u"Contribuinte do ICMS: informe a inscrição estadual."_s);
        return Verificacao::ok();
    }
    if (pessoa != PessoaJuridica || !aoSairDoCampo || inscricaoIsenta(ie))
        return Verificacao::ok();
    if (uf.trimmed().isEmpty())
        return Verificacao::recusa({}, {}, u"Informe o município antes da inscrição estadual."_s);
    if (!docs::ieValida(ie, uf.trimmed()))
        return Verificacao::recusa({}, {},
                                   u"Inscrição estadual inválida para a UF "_s + uf.trimmed() + u"."_s);
    return Verificacao::ok();
}

QString emMinusculas(const QString& texto) {
    return texto.toLower();
}

Verificacao verificarEmail(const QString& texto) {
    static const QRegularExpression separadores(u"[;,]"_s);
    for (const QString& endereco : texto.split(separadores, Qt::SkipEmptyParts)) {
        const QString e = endereco.trimmed();
        const qsizetype arroba = e.indexOf(u'@');
        if (e.isEmpty())
            continue;
        if (arroba <= 0 || arroba == e.size() - 1 || e.indexOf(u'@', arroba + 1) >= 0 || e.contains(u' '))
            return Verificacao::recusa(u"E-mail inválido!"_s, aviso);
    }
    return Verificacao::ok();
}

namespace {
bool semDigitos(const QString& texto) {
    for (QChar c : texto)
        if (c.isDigit())
            return false;
    return true;
}
} // namespace

std::optional<Date> lerData(const QString& texto) {
    if (semDigitos(texto))
        return Date();
    const std::optional<Date> d = Date::fromBr(texto.trimmed().toStdString());
    if (d && d->isNull()) // "00/00/0000"
        return Date();
    if (!d || !d->isValid())
        return std::nullopt;
    return d;
}

Verificacao verificarData(const QString& texto) {
    return lerData(texto) ? Verificacao::ok() : Verificacao::recusa(u"Data inválida!"_s, u"Erro"_s);
}

std::optional<Date> lerMesAno(const QString& texto) {
    if (semDigitos(texto))
        return Date();
    const QStringList partes = texto.split(u'/');
    if (partes.size() != 2)
        return std::nullopt;
    bool mesOk = false;
    bool anoOk = false;
    const int mes = partes[0].trimmed().toInt(&mesOk);
    const int ano = partes[1].trimmed().toInt(&anoOk);
    if (!mesOk || !anoOk || partes[1].trimmed().size() != 4)
        return std::nullopt;
    const Date d = Date::fromYmd(ano, mes, 1);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

Verificacao verificarMesAno(const QString& texto) {
    return lerMesAno(texto) ? Verificacao::ok()
                            : Verificacao::recusa(u"Mês/Ano de entrada inválido!"_s, u"Erro"_s);
}

QString normalizarClasse(const QString& classe) {
    return classe.trimmed().toUpper();
}

bool classeRetiraCredito(const QString& classe) {
    return normalizarClasse(classe) == u"D"_s;
}

Verificacao verificarReferenciasComerciais(const QString& referencias) {
    if (referencias.trimmed().isEmpty())
        return Verificacao::recusa(u"Favor informar fornecedores com telefone!"_s, aviso);
    return Verificacao::ok();
}

bool tornaConsumidorFinal(int pessoa, const QString& inscricao) {
    if (pessoa == PessoaFisica)
        return true;
    return pessoa == PessoaJuridica && (inscricao.trimmed().isEmpty() || inscricaoIsenta(inscricao));
}

Verificacao verificarSocios(int pessoa, int quantidadeSocios) {
    if (pessoa == PessoaJuridica && quantidadeSocios == 0)
        return Verificacao::recusa(u"Favor informar os sócios proprietários!"_s, aviso);
    return Verificacao::ok();
}

bool avisaAlteracaoDoServidor(bool alteracao, std::int64_t id, bool algoMudou) {
    return alteracao && idDoServidor(id) && algoMudou;
}

QString textoAvisoAlteracaoServidor() {
    return u"As alterações feitas no cadastro do cliente, depois de transmitido o pedido,|"
           u"não serão mais atualizadas na Matriz!"_s;
}

QString tituloAvisoAlteracaoServidor() {
    return u"ATENÇÃO"_s;
}

QString formatarDocumentoSocio(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.size() == 11)
        return docs::formatCpf(t);
    if (t.size() == 14)
        return docs::formatCnpj(t);
    return texto;
}

QString formatarDocumentoLocalizador(const QString& texto) {
    return formatarDocumentoSocio(texto);
}

} // namespace qav::clientes
