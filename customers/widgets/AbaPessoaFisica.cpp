#include "customers/widgets/AbaPessoaFisica.h"

#include "customers/widgets/Montagem.h"

using namespace Qt::StringLiterals;

namespace qav {

AbaPessoaFisica::AbaPessoaFisica(CamposRegistro& campos, QWidget* parent) : QWidget(parent) {
    setObjectName(u"abaPessoaFisica"_s);
    auto* form = new QFormLayout(this);
    apelido = montagem::entrada(form, u"Apelido:"_s, "apelido");
    campos.limitar(apelido, "NOME");
    campos.opcao(montagem::opcoes(form, u"Estado civil:"_s, "estadoCivil",
                                  {{1, u"Solteiro(a)"_s},
                                   {2, u"Casado(a)"_s},
                                   {3, u"Divorciado(a)"_s},
                                   {4, u"Viúvo(a)"_s},
                                   {5, u"Comcubinado(a)"_s}}),
                 "E_CIV");
    campos.opcao(montagem::opcoes(form, u"Sexo:"_s, "sexo", {{1, u"Masculino"_s}, {2, u"Feminino"_s}}),
                 "SEXO");
    campos.texto(montagem::entrada(form, u"Cônjuge:"_s, "conjuge"), "CONJU");
    campos.data(montagem::entrada(form, u"Nascimento:"_s, "nascimento"), "NASCT");
    campos.texto(montagem::entrada(form, u"Naturalidade:"_s, "naturalidade"), "NATUR");
    campos.texto(montagem::entrada(form, u"Pai:"_s, "pai"), "PAI");
    campos.texto(montagem::entrada(form, u"Mãe:"_s, "mae"), "MAE");
    campos.texto(montagem::entrada(form, u"Identidade:"_s, "identidade1"), "CI1");
    campos.inteiro(montagem::entrada(form, u"Identidade (número):"_s, "identidade2"), "CI2");
    campos.texto(montagem::entrada(form, u"Órgão emissor:"_s, "orgaoEmissor"), "ORGEX");
    campos.texto(montagem::entrada(form, u"UF emissora:"_s, "ufEmissora"), "UF");
    campos.data(montagem::entrada(form, u"Emissão:"_s, "emissao"), "DTEMI");
    campos.texto(montagem::entrada(form, u"Ocupação:"_s, "ocupacao"), "OCUPA");
    campos.texto(montagem::entrada(form, u"Local de trabalho:"_s, "localTrabalho"), "L_TRA");
    campos.inteiro(montagem::entrada(form, u"Tempo de serviço:"_s, "tempoServico"), "T_SER");
    campos.inteiro(montagem::entrada(form, u"Carteira de trabalho:"_s, "carteiraNumero"), "CT_NU");
    campos.inteiro(montagem::entrada(form, u"Série:"_s, "carteiraSerie"), "CT_SE");
    campos.texto(montagem::entrada(form, u"Inscrição de produtor:"_s, "inscricaoProdutor"), "INSCR_PRO");
    campos.texto(montagem::entrada(form, u"Código SPC:"_s, "codigoSpc"), "C_SPC");
    campos.inteiro(montagem::entrada(form, u"Anos no endereço:"_s, "tempoEndereco"), "T_END");
}

} // namespace qav
