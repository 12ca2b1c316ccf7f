#include "sync/core/envio/CabecalhoPedidoZor.h"
#include "orders/core/Frete.h"

#include "store/core/Text.h"
#include "sync/core/envio/CabecalhoPedido.h"

namespace qav::sync {

QString comandoCabecalho(const Conexao& conexao, const DadosCabecalho& d) {
    const Record& vda = d.pedido;
    const envio::CamposPedido campo(conexao, vda);
    const auto texto = [&conexao](const QString& valor) { return envio::texto(conexao, valor); };

    const QString formaComissao = text::rtrim(d.vendedor.text("FORMA_PAG"));
    const QString comissao = envio::real(vda.real("COMIS"));
    // The ERP knows no "1" for who pays the freight; the workstation's 1 is its 3.
    const long long fconta = vda.integer("FCONTA") == fconta::Emitente ? 3 : vda.integer("FCONTA");
    const long long portador = d.formaPag.integer("ID_PORTADOR") >= 1
                                   ? d.formaPag.integer("ID_PORTADOR")
                                   : d.empresa.integer("ID_PORTADOR_PADRAO");

    envio::Insercao linha;
    // The id taken for the order beforehand, which the record of the order in transit names.
    if (d.idPedido > 0)
        linha.coluna("id_pedido", Conexao::inteiro(d.idPedido));
    linha.colunas({
        {"id_empresa", campo.inteiro("ID_EMPRESA")},
        {"cod_vendedor", campo.inteiro("COD_VENDEDOR")},
        {"tipo", QStringLiteral("'P'")},
        {"numero", Conexao::inteiro(d.numero)},
        {"situa", QStringLiteral("91")},
        {"data", Conexao::data(d.hoje)},
        {"clien", campo.inteiro("CLIEN")},
    });
    enderecoEntrega(linha, campo);
    linha.coluna("id_mun_entrega", envio::idOuNull(vda.integer("ID_MUNICIPIO_ENTREGA")));
    linha.coluna("e_cep", campo.texto("E_CEP"));
    valoresPedido(linha, campo, fconta);
    linha.colunas({
        {"descp", campo.real("DESCP")},
        {"descv", campo.real("DESCV")},
        {"com_fat", formaComissao == QStringLiteral("F") ? comissao : QStringLiteral("0")},
        {"com_rec", formaComissao == QStringLiteral("R") ? comissao : QStringLiteral("0")},
        {"obs", campo.texto("OBS")},
        {"prz_con", campo.inteiro("PRZ_CON")},
        {"id_portador", envio::idOuNull(portador)},
        {"num_ped_qav", texto(d.numeroQav)},
        {"num_ped_vendedor", texto(envio::numeroNoVendedor(vda))},
        {"cod_vend2", envio::idOuNull(d.segundo.codigo)},
        {"tx_com_vend2", Conexao::numero(d.segundo.taxa)},
        {"tp_pg_com_vend2", texto(d.segundo.tipo)},
        {"cod_pauta", campo.inteiro("COD_PAUTA")},
        {"id_tes", envio::idOuNull(d.idTes)},
        {"num_oc", campo.texto("NUM_OC")},
        {"inf_usuario", QStringLiteral("1")},
        {"ped_flex", campo.inteiro("PED_FLEX")},
        {"obs_entrega", campo.texto("OBS_ENTREGA")},
        {"transp", envio::idOuNull(d.cliente.integer("ID_TRANSPORTADOR"))},
        {"id_local", envio::idOuNull(d.tipoPedido.integer("ID_ESTLOCAL"))},
    });
    return linha.comando(QStringLiteral("zor.pedidos"), QStringLiteral(") VALUES ( "));
}

} // namespace qav::sync
