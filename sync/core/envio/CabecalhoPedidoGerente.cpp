#include "sync/core/envio/CabecalhoPedidoGerente.h"
#include "orders/core/Frete.h"

#include "sync/core/envio/Comandos.h"

#include <utility>
#include <vector>

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
    const auto texto = [&conexao](const QString& valor) { return envio::texto(conexao, valor); };
    const auto campoTexto = [&](const char* campo) { return texto(vda.text(campo)); };
    const auto campoInteiro = [&](const char* campo) { return Conexao::inteiro(vda.integer(campo)); };
    const auto campoReal = [&](const char* campo) { return envio::real(vda.real(campo)); };

    const bool entregue = entregueNoAto(vda);
    // The office knows who pays the freight as 3 (the customer's account) or 2.
    const long long fconta = vda.integer("FCONTA") == fconta::Emitente ? 3 : 2;

    const std::vector<std::pair<const char*, QString>> colunas{
        {"id_empresa", campoInteiro("ID_EMPRESA")},
        {"cod_vendedor", campoInteiro("COD_VENDEDOR")},
        {"numero", Conexao::inteiro(d.numero)},
        {"situa", Conexao::inteiro(entregue ? kSituaEntregue : kSituaAEntregar)},
        {"dtemi",
         entregue ? Conexao::data(Date(static_cast<int>(vda.integer("DATA")))) : QStringLiteral("Null")},
        {"id_estlocal", entregue ? envio::idOuNull(d.qavcfg.integer("ID_ESTLOCAL")) : QStringLiteral("Null")},
        {"data", Conexao::data(d.hoje)},
        {"clien", campoInteiro("CLIEN")},
        {"e_ender", campoTexto("E_ENDER")},
        {"e_num_endereco", campoTexto("E_NUMERO")},
        {"e_bairr", campoTexto("E_BAIRR")},
        {"e_munic", campoTexto("E_MUNIC")},
        {"e_estad", campoTexto("E_ESTAD")},
        {"e_cep", campoTexto("E_CEP")},
        {"conta", campoTexto("CONTA")},
        {"cod_formapag", campoInteiro("COD_FORMAPAG")},
        {"totpr", campoReal("TOTPR")},
        {"ipi", campoReal("IPI")},
        {"fconta", Conexao::inteiro(fconta)},
        {"frete", campoReal("FRETE")},
        {"total", campoReal("TOTAL")},
        {"id_tipov", campoInteiro("TIPOV")},
        {"ped_v", campoInteiro("PED_V")},
        {"descp", campoReal("DESCP")},
        {"descp2", campoReal("DESCP2")},
        {"descp3", campoReal("DESCP3")},
        {"descp4", campoReal("DESCP4")},
        {"descv", campoReal("DESCV")},
        {"acrep", campoReal("ACREP")},
        {"acrev", campoReal("ACREV")},
        {"comis", campoReal("COMIS")},
        {"v_ent", campoReal("V_ENT")},
        {"v_fin", campoReal("V_FIN")},
        {"avist", campoInteiro("AVIST")},
        {"obs", campoTexto("OBS")},
        {"prz_con", campoInteiro("PRZ_CON")},
        {"transp", envio::idOuNull(d.cliente.integer("ID_TRANSPORTADOR"))},
        {"redesp", envio::idOuNull(vda.integer("REDESP"))},
        {"taxa_frete", Conexao::numero(vda.decimal("TX_FRETE"))},
        {"num_ped_qav", texto(d.numeroQav)},
        {"numero_dia", Conexao::inteiro(d.numeroDia)},
        {"forma_pag_com", texto(d.vendedor.text("FORMA_PAG"))},
        {"tipo", QStringLiteral("'N'")},
        {"num_client_vend",
         texto(QStringLiteral("%1/QAV+").arg(vda.integer("NUMER"), 8, 10, QLatin1Char('0')))},
        {"cod_supervisor", envio::idOuNull(d.vendedor.integer("COD_SUPERVISOR"))},
        {"taxa_com_super", Conexao::numero(d.vendedor.decimal("TAXA_COM_SUPER"))},
        {"forma_pag_com_super", texto(d.vendedor.text("FORMA_PAG_SUPER"))},
        {"num_pauta", texto(d.pauta.text("NUM_PAUTA"))},
        {"inf_usuario", QStringLiteral("1")},
        {"ped_flex", campoInteiro("PED_FLEX")},
        {"desc_cliente_rede", campoInteiro("DESC_CLIENTE_REDE")},
    };
    QStringList nomes, valores;
    for (const auto& [nome, valor] : colunas) {
        nomes << QString::fromLatin1(nome);
        valores << valor;
    }
    return QStringLiteral("INSERT INTO gerente.pedidos(") + nomes.join(QStringLiteral(", ")) +
           QStringLiteral(") VALUES ( ") + valores.join(QStringLiteral(", ")) + QStringLiteral(");");
}

} // namespace qav::sync
