#include "sync/core/envio/CabecalhoPedidoZor.h"
#include "orders/core/Frete.h"

#include "store/core/Text.h"
#include "sync/core/envio/Comandos.h"

#include <utility>
#include <vector>

namespace qav::sync {

QString comandoCabecalho(const Conexao& conexao, const DadosCabecalho& d) {
    const Record& vda = d.pedido;
    const auto texto = [&conexao](const QString& valor) { return envio::texto(conexao, valor); };
    const auto campoTexto = [&](const char* campo) { return texto(vda.text(campo)); };
    const auto campoInteiro = [&](const char* campo) { return Conexao::inteiro(vda.integer(campo)); };
    const auto campoReal = [&](const char* campo) { return envio::real(vda.real(campo)); };

    const QString formaComissao = text::rtrim(d.vendedor.text("FORMA_PAG"));
    const QString comissao = envio::real(vda.real("COMIS"));
    // The ERP knows no "1" for who pays the freight; the workstation's 1 is its 3.
    const long long fconta = vda.integer("FCONTA") == fconta::Emitente ? 3 : vda.integer("FCONTA");
    const long long portador = d.formaPag.integer("ID_PORTADOR") >= 1
                                   ? d.formaPag.integer("ID_PORTADOR")
                                   : d.empresa.integer("ID_PORTADOR_PADRAO");

    const std::vector<std::pair<const char*, QString>> colunas{
        {"id_empresa", campoInteiro("ID_EMPRESA")},
        {"cod_vendedor", campoInteiro("COD_VENDEDOR")},
        {"tipo", QStringLiteral("'P'")},
        {"numero", Conexao::inteiro(d.numero)},
        {"situa", QStringLiteral("91")},
        {"data", Conexao::data(d.hoje)},
        {"clien", campoInteiro("CLIEN")},
        {"e_ender", campoTexto("E_ENDER")},
        {"e_num_endereco", campoTexto("E_NUMERO")},
        {"e_bairr", campoTexto("E_BAIRR")},
        {"e_munic", campoTexto("E_MUNIC")},
        {"e_estad", campoTexto("E_ESTAD")},
        {"id_mun_entrega", envio::idOuNull(vda.integer("ID_MUNICIPIO_ENTREGA"))},
        {"e_cep", campoTexto("E_CEP")},
        {"conta", campoTexto("CONTA")},
        {"cod_formapag", campoInteiro("COD_FORMAPAG")},
        {"totpr", campoReal("TOTPR")},
        {"ipi", campoReal("IPI")},
        {"fconta", Conexao::inteiro(fconta)},
        {"frete", campoReal("FRETE")},
        {"total", campoReal("TOTAL")},
        {"descp", campoReal("DESCP")},
        {"descv", campoReal("DESCV")},
        {"com_fat", formaComissao == QStringLiteral("F") ? comissao : QStringLiteral("0")},
        {"com_rec", formaComissao == QStringLiteral("R") ? comissao : QStringLiteral("0")},
        {"obs", campoTexto("OBS")},
        {"prz_con", campoInteiro("PRZ_CON")},
        {"id_portador", envio::idOuNull(portador)},
        {"num_ped_qav", texto(d.numeroQav)},
        {"num_ped_vendedor",
         texto(QStringLiteral("%1/QAV+").arg(vda.integer("NUMER"), 8, 10, QLatin1Char('0')))},
        {"cod_vend2", envio::idOuNull(d.segundo.codigo)},
        {"tx_com_vend2", Conexao::numero(d.segundo.taxa)},
        {"tp_pg_com_vend2", texto(d.segundo.tipo)},
        {"cod_pauta", campoInteiro("COD_PAUTA")},
        {"id_tes", envio::idOuNull(d.idTes)},
        {"num_oc", campoTexto("NUM_OC")},
        {"inf_usuario", QStringLiteral("1")},
        {"ped_flex", campoInteiro("PED_FLEX")},
        {"obs_entrega", campoTexto("OBS_ENTREGA")},
        {"transp", envio::idOuNull(d.cliente.integer("ID_TRANSPORTADOR"))},
        {"id_local", envio::idOuNull(d.tipoPedido.integer("ID_ESTLOCAL"))},
    };
    QStringList nomes, valores;
    for (const auto& [nome, valor] : colunas) {
        nomes << QString::fromLatin1(nome);
        valores << valor;
    }
    return QStringLiteral("INSERT INTO zor.pedidos(") + nomes.join(QStringLiteral(", ")) +
           QStringLiteral(") VALUES ( ") + valores.join(QStringLiteral(", ")) + QStringLiteral(");");
}

} // namespace qav::sync
