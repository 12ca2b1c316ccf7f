#include "sync/core/envio/CabecalhoPedidoGerente.h"
#include "orders/core/Frete.h"

#include "sync/core/envio/CabecalhoPedido.h"

namespace qav::sync {

namespace {

// The office's situations of an order received from a workstation: delivered, or still to deliver.
constexpr int kSituaEntregue = 3;
constexpr int kSituaAEntregar = 5;

} // namespace

bool entregueNoAto(const Record& pedido) {
    return pedido.integer("PRODUTO_ENTREGUE") != 0;
}

QString comandoCabecalhoGerente(const Conexao& conexao, const DadosCabecalhoGerente& d) {
    const Record& vda = d.pedido;
    const envio::CamposPedido campo(conexao, vda);
    const auto texto = [&conexao](const QString& valor) { return envio::texto(conexao, valor); };

    const bool entregue = entregueNoAto(vda);
    // The office knows who pays the freight as 3 (the customer's account) or 2.
    const long long fconta = vda.integer("FCONTA") == fconta::Emitente ? 3 : 2;

    envio::Insercao linha;
    // The id taken for the order beforehand, which the record of the order in transit names.
    if (d.idPedido > 0)
        linha.coluna("id_pedido", Conexao::inteiro(d.idPedido));
    linha.colunas({
        {"id_empresa", campo.inteiro("ID_EMPRESA")},
        {"cod_vendedor", campo.inteiro("COD_VENDEDOR")},
        {"numero", Conexao::inteiro(d.numero)},
        {"situa", Conexao::inteiro(entregue ? kSituaEntregue : kSituaAEntregar)},
        {"dtemi",
         entregue ? Conexao::data(Date(static_cast<int>(vda.integer("DATA")))) : QStringLiteral("Null")},
        {"id_estlocal", entregue ? envio::idOuNull(d.qavcfg.integer("ID_ESTLOCAL")) : QStringLiteral("Null")},
        {"data", Conexao::data(d.hoje)},
        {"clien", campo.inteiro("CLIEN")},
    });
    enderecoEntrega(linha, campo);
    linha.coluna("e_cep", campo.texto("E_CEP"));
    valoresPedido(linha, campo, fconta);
    linha.colunas({
        {"id_tipov", campo.inteiro("TIPOV")},
        {"ped_v", campo.inteiro("PED_V")},
        {"descp", campo.real("DESCP")},
        {"descp2", campo.real("DESCP2")},
        {"descp3", campo.real("DESCP3")},
        {"descp4", campo.real("DESCP4")},
        {"descv", campo.real("DESCV")},
        {"acrep", campo.real("ACREP")},
        {"acrev", campo.real("ACREV")},
        {"comis", campo.real("COMIS")},
        {"v_ent", campo.real("V_ENT")},
        {"v_fin", campo.real("V_FIN")},
        {"avist", campo.inteiro("AVIST")},
        {"obs", campo.texto("OBS")},
        {"prz_con", campo.inteiro("PRZ_CON")},
        {"transp", envio::idOuNull(d.cliente.integer("ID_TRANSPORTADOR"))},
        {"redesp", envio::idOuNull(vda.integer("REDESP"))},
        {"taxa_frete", Conexao::numero(vda.decimal("TX_FRETE"))},
        {"num_ped_qav", texto(d.numeroQav)},
        {"numero_dia", Conexao::inteiro(d.numeroDia)},
        {"forma_pag_com", texto(d.vendedor.text("FORMA_PAG"))},
        {"tipo", QStringLiteral("'N'")},
        {"num_client_vend", texto(envio::numeroNoVendedor(vda))},
        {"cod_supervisor", envio::idOuNull(d.vendedor.integer("COD_SUPERVISOR"))},
        {"taxa_com_super", Conexao::numero(d.vendedor.decimal("TAXA_COM_SUPER"))},
        {"forma_pag_com_super", texto(d.vendedor.text("FORMA_PAG_SUPER"))},
        {"num_pauta", texto(d.pauta.text("NUM_PAUTA"))},
        {"inf_usuario", QStringLiteral("1")},
        {"ped_flex", campo.inteiro("PED_FLEX")},
        {"desc_cliente_rede", campo.inteiro("DESC_CLIENTE_REDE")},
    });
    return linha.comando(QStringLiteral("gerente.pedidos"), QStringLiteral(") VALUES ( "));
}

} // namespace qav::sync
