#include "customers/widgets/AbaCadastro.h"

#include "customers/widgets/Montagem.h"
#include "ui/widgets/FieldValidator.h"

using namespace Qt::StringLiterals;

namespace qav {

AbaCadastro::AbaCadastro(CamposRegistro& campos, QWidget* parent) : QWidget(parent) {
    setObjectName(u"abaCadastro"_s);
    auto* form = new QFormLayout(this);
    pessoa = montagem::opcoes(form, u"Pessoa:"_s, "pessoa",
                              {{1, u"Jurídica"_s}, {2, u"Física"_s}, {3, u"Exportação"_s}});
    campos.opcao(pessoa, "PESSO");

    rotuloDocumento = montagem::rotulo(this, "rotuloDocumento");
    documento = new QLineEdit(this);
    documento->setObjectName(u"documento"_s);
    form->addRow(rotuloDocumento, documento);
    campos.texto(documento, "CGCPF");
    sufixo = montagem::entrada(form, u"Sufixo:"_s, "sufixo");
    campos.texto(sufixo, "SUF_CGCPF");

    razao = montagem::entrada(form, u"Nome / Razão Social:"_s, "razao");
    campos.texto(razao, "RAZAO");
    campos.texto(montagem::entrada(form, u"Endereço:"_s, "endereco"), "ENDER");
    campos.texto(montagem::entrada(form, u"Número:"_s, "numero"), "NUM_ENDERECO");
    campos.texto(montagem::entrada(form, u"Complemento:"_s, "complemento"), "COMPL");
    campos.texto(montagem::entrada(form, u"Bairro:"_s, "bairro"), "BAIRR");
    campos.inteiro(montagem::entrada(form, u"Caixa Postal:"_s, "caixaPostal"), "CXPOSTAL");

    municipio = montagem::entrada(form, u"Município:"_s, "municipio");
    campos.inteiro(municipio, "ID_MUNICIPIO");
    // The id, or the beginning of the municipality's name to choose it from the list.
    qobject_cast<FieldValidator*>(const_cast<QValidator*>(municipio->validator()))
        ->acceptNameOf(*findTable("municip.tps"), "NOME");
    municipioNome = montagem::rotulo(this, "municipioNome");
    form->addRow(QString(), municipioNome);
    cep = montagem::entrada(form, u"CEP:"_s, "cep");
    campos.texto(cep, "CEP");

    campos.texto(montagem::entrada(form, u"DDD:"_s, "ddd"), "DDD");
    campos.texto(montagem::entrada(form, u"Telefone:"_s, "telefone"), "TELEF");
    campos.texto(montagem::entrada(form, u"Fax:"_s, "fax"), "FAX");
    consumidorFinal = montagem::marca(form, u"Consumidor Final"_s, "consumidorFinal");
    campos.marca(consumidorFinal, "CONSFINAL");

    vendedor = montagem::entrada(form, u"Vendedor:"_s, "vendedor");
    campos.inteiro(vendedor, "COD_VENDEDOR");
    vendedorNome = montagem::rotulo(this, "vendedorNome");
    form->addRow(QString(), vendedorNome);

    inscricao = montagem::entrada(form, u"Inscrição Estadual:"_s, "inscricao");
    campos.texto(inscricao, "INSCR");
    indicadorIe = montagem::opcoes(form, u"Indicador IE:"_s, "indicadorIe",
                                   {{1, u"1-Contribuinte ICMS"_s},
                                    {2, u"2-Contribuinte Isento de Inscrição"_s},
                                    {9, u"9-Não Contribuinte"_s}});
    campos.opcao(indicadorIe, "INDICADOR_IE");
    campos.marca(montagem::marca(form, u"Ativo"_s, "ativo"), "ATIVO");
    campos.data(montagem::entrada(form, u"Data do cadastro:"_s, "dataCadastro"), "DATA");
}

} // namespace qav
