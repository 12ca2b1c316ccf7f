#include "customers/widgets/AbaOutras.h"

#include "customers/widgets/Montagem.h"

using namespace Qt::StringLiterals;

namespace qav {

AbaOutras::AbaOutras(CamposRegistro& campos, QWidget* parent) : QWidget(parent) {
    setObjectName(u"abaOutras"_s);
    auto* form = new QFormLayout(this);
    formaPagamento = montagem::entrada(form, u"Forma de pagamento:"_s, "formaPagamento");
    campos.inteiro(formaPagamento, "FORMA_PAG");
    formaPagamentoNome = montagem::rotulo(this, "formaPagamentoNome");
    form->addRow(QString(), formaPagamentoNome);
    campos.texto(montagem::entrada(form, u"Inscrição Suframa:"_s, "suframa"), "INSCR_SUFRAMA");
    email = montagem::entrada(form, u"E-mail:"_s, "email");
    campos.texto(email, "E_MAIL");
    emailQav = montagem::entrada(form, u"E-mail para pedidos:"_s, "emailQav");
    campos.texto(emailQav, "EMAIL_QAV");
    www = montagem::entrada(form, u"www:"_s, "www");
    campos.texto(www, "WWW");
    pauta = montagem::entrada(form, u"Pauta de preços:"_s, "pauta");
    campos.inteiro(pauta, "COD_PAUTA");
    referenciasComerciais = montagem::texto(form, u"Referências comerciais:"_s, "referenciasComerciais");
    campos.memo(referenciasComerciais, "I_COM");
    campos.memo(montagem::texto(form, u"Referências bancárias:"_s, "referenciasBancarias"), "I_BAN");
    campos.memo(montagem::texto(form, u"Observações:"_s, "observacoes"), "OBS");
    campos.marca(montagem::marca(form, u"Alertar operador sobre esta anotação"_s, "alerta"), "ALERTA");
    classe = montagem::opcoes(form, u"Classe:"_s, "classe",
                              {{u"A"_s, u"A - Ótimo"_s},
                               {u"B"_s, u"B - Bom"_s},
                               {u"C"_s, u"C - Ruim"_s},
                               {u"D"_s, u"D - Péssimo"_s}});
    campos.opcao(classe, "CLASSE");
    campos.real(montagem::entrada(form, u"Limite de crédito:"_s, "limiteCredito"), "LIMCRED");
    campos.inteiro(montagem::entrada(form, u"Dias de atraso tolerados:"_s, "toleranciaAtraso"), "TOLATR");
    creditoLiberado = montagem::marca(form, u"Credito liberado"_s, "creditoLiberado");
    campos.marca(creditoLiberado, "LIB_CRED");
}

} // namespace qav
