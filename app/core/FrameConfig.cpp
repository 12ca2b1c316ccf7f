#include "app/core/FrameConfig.h"

#include "orders/core/SituacaoPedido.h"
#include "store/core/Table.h"
#include "store/core/Text.h"

namespace qav {

namespace {

ConfiguracaoFrame fromRecord(const Record& rec) {
    ConfiguracaoFrame cfg;
    cfg.encontrada = true;
    cfg.codVendedor = static_cast<int>(rec.integer("COD_VENDEDOR"));
    cfg.dtUltCom = rec.date("DT_ULT_COM");
    cfg.diasBloqueio = static_cast<int>(rec.integer("DIAS_BLOQUEIO"));
    cfg.sistemaBloqueado = rec.integer("SISTEMA_BLOQUEADO") != 0;
    cfg.ativaRelCom = rec.integer("ATIVA_REL_COM") != 0;
    cfg.bloqRelatorios = text::rtrim(rec.text("BLOQ_RELATORIOS"));
    cfg.permitirFlex = rec.integer("PERMITIR_FLEX") != 0;
    cfg.qavHub = static_cast<int>(rec.integer("QAV_HUB"));
    return cfg;
}

} // namespace

ConfiguracaoFrame readConfiguracao(Store& store, int idEmpresa) {
    Table qavcfg(store, "qavcfg.tps");
    if (!qavcfg.open()) {
        // The company controls the workstation through this table: while it cannot be read (a
        // damaged file, a structure left old by a failed upgrade) the system stays locked, with
        // only "Sistema" (communication, backup, restore) to repair it.
        ConfiguracaoFrame locked;
        locked.sistemaBloqueado = true;
        return locked;
    }
    qavcfg.clear();
    qavcfg.rec().setInteger("ID_EMPRESA", idEmpresa);
    ConfiguracaoFrame cfg;
    if (qavcfg.get("KEYID_EMPRESA") == Status::Ok)
        cfg = fromRecord(qavcfg.rec());
    qavcfg.close();
    return cfg;
}

long long pedidosAEnviar(Store& store, int idEmpresa) {
    Table pedidos(store, "pedidos");
    if (!pedidos.open())
        return -1;
    pedidos.setFilter("ID_EMPRESA = ? AND SITUA = ?",
                      {QVariant::fromValue(idEmpresa), QVariant::fromValue(situacao::Liberado)});
    long long n = 0;
    Status s = pedidos.seekPhysical();
    while (s == Status::Ok && (s = pedidos.next()) == Status::Ok)
        ++n;
    return s == Status::Error ? -1 : n;
}

DadosFrame readDadosFrame(Store& store, int idEmpresa) {
    DadosFrame dados;
    dados.configuracao = readConfiguracao(store, idEmpresa);

    Table empresa(store, "empresa.tps");
    if (empresa.open()) {
        empresa.clear();
        empresa.rec().setInteger("ID_EMPRESA", idEmpresa);
        if (empresa.get("KEYID") == Status::Ok)
            dados.nomeEmpresa = text::rtrim(empresa.rec().text("NOME"));
        empresa.close();
    }

    Table vendedor(store, "vendedor.tps");
    if (vendedor.open()) {
        vendedor.clear();
        vendedor.rec().setInteger("CODIGO", dados.configuracao.codVendedor);
        vendedor.rec().setInteger("ID_EMPRESA", idEmpresa);
        if (vendedor.get("KEYCODIGO") == Status::Ok)
            dados.nomeVendedor = text::rtrim(vendedor.rec().text("NOME"));
        vendedor.close();
    }
    return dados;
}

} // namespace qav
