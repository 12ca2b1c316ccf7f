#include "customers/widgets/AbaJuridica.h"

#include "customers/core/RegrasCliente.h"
#include "customers/widgets/Montagem.h"

using namespace Qt::StringLiterals;

namespace qav {

AbaJuridica1::AbaJuridica1(CamposRegistro& campos, QWidget* parent) : QWidget(parent) {
    setObjectName(u"abaJuridica1"_s);
    auto* form = new QFormLayout(this);
    fantasia = montagem::entrada(form, u"Fantasia:"_s, "fantasia");
    campos.texto(fantasia, "NOME");
    campos.texto(montagem::entrada(form, u"Contato comercial:"_s, "contatoComercial"), "CONTA");
    campos.texto(montagem::entrada(form, u"Telefone:"_s, "foneComercial"), "C_FONE");
    campos.inteiro(montagem::entrada(form, u"Aniversário (ddmm):"_s, "aniversarioComercial"), "C_DM_NASCTO");
    campos.texto(montagem::entrada(form, u"Contato financeiro:"_s, "contatoFinanceiro"), "CON_F");
    campos.texto(montagem::entrada(form, u"Telefone:"_s, "foneFinanceiro"), "F_FONE");
    campos.inteiro(montagem::entrada(form, u"Aniversário (ddmm):"_s, "aniversarioFinanceiro"), "F_DM_NASCTO");
    campos.texto(montagem::entrada(form, u"Praça de pagamento:"_s, "praca"), "PRACA");
    cepPraca = montagem::entrada(form, u"CEP da praça:"_s, "cepPraca");
    campos.texto(cepPraca, "CEPPRACA");
}

AbaJuridica2::AbaJuridica2(CamposRegistro& campos, QWidget* parent) : QWidget(parent) {
    setObjectName(u"abaJuridica2"_s);
    auto* form = new QFormLayout(this);
    campos.texto(montagem::entrada(form, u"Grupo econômico:"_s, "grupoEconomico"), "GRUPO_ECO");
    campos.data(montagem::entrada(form, u"Fundação:"_s, "fundacao"), "DT_CONST");
    campos.texto(montagem::entrada(form, u"Último registro do contrato:"_s, "numeroRegistro"), "NO_REG");
    campos.data(montagem::entrada(form, u"Data do registro:"_s, "dataRegistro"), "DT_REG");
    campos.texto(montagem::entrada(form, u"Horário de descarga:"_s, "horarioDescarga"), "HOR_DESCARGA");
    campos.real(montagem::entrada(form, u"Faturamento anual:"_s, "faturamentoAnual"), "FAT_ANUL");
    campos.real(montagem::entrada(form, u"Capital social:"_s, "capitalSocial"), "CAP_SOCIAL");
    campos.real(montagem::entrada(form, u"Capital realizado:"_s, "capitalRealizado"), "CAP_REALIZ");
    campos.marca(montagem::marca(form, u"Capital aberto"_s, "capitalAberto"), "CAP_ABERTO");
    campos.marca(montagem::marca(form, u"Controle acionário privado"_s, "controlePrivado"), "CON_AC_PRIVADO");
    campos.marca(montagem::marca(form, u"Controle acionário nacional"_s, "controleNacional"),
                 "CON_AC_NACIONAL");
    campos.texto(montagem::entrada(form, u"Ramo de atividade:"_s, "ramoAtividade"), "RAMO_ATIV");
    campos.inteiro(montagem::entrada(form, u"Código da atividade:"_s, "codigoAtividade"), "COD_ATIV_IR");
    campos.inteiro(montagem::entrada(form, u"Empregados:"_s, "empregados"), "NO_EMPREGADOS");
    for (int i = 0; i < 3; ++i) {
        const QByteArray produto = "produto" + QByteArray::number(i + 1);
        const QByteArray parte = "percentual" + QByteArray::number(i + 1);
        campos.texto(montagem::entrada(form, u"Produto principal %1:"_s.arg(i + 1), produto.constData()),
                     "PRINC_PRODU", i);
        campos.inteiro(montagem::entrada(form, u"% das vendas:"_s, parte.constData()), "PERC_VENDAS", i, 0,
                       clientes::percentualMaximo);
    }
    campos.marca(montagem::marca(form, u"Importa"_s, "importa"), "IMPORTA");
    campos.inteiro(montagem::entrada(form, u"% importado:"_s, "percentualImporta"), "P_IMPORTA", 0, 0,
                   clientes::percentualMaximo);
    campos.marca(montagem::marca(form, u"Exporta"_s, "exporta"), "EXPORTA");
    campos.inteiro(montagem::entrada(form, u"% exportado:"_s, "percentualExporta"), "P_EXPORTA", 0, 0,
                   clientes::percentualMaximo);
}

} // namespace qav
