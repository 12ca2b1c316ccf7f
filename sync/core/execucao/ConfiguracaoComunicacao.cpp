#include "sync/core/execucao/ConfiguracaoComunicacao.h"

#include "orders/core/SituacaoPedido.h"
#include "store/core/Table.h"
#include "store/core/Transaction.h"
#include "sync/core/conexao/ParametrosConexao.h"

namespace qav::sync {

namespace {

// The number the store gives a failure, or its generic one when the store did not say.
int numeroErro(const StoreError& erro) {
    return erro.isError() ? erro.number() : static_cast<int>(ErrorCode::FileSystemError);
}

void copiarCampo(const Record& de, Record& para, int campo) {
    switch (para.def().fields[static_cast<size_t>(campo)].type) {
    case FieldType::Int32:
    case FieldType::Int16:
    case FieldType::UInt8:
        para.setInteger(campo, de.integer(campo));
        break;
    case FieldType::Real64:
        para.setReal(campo, de.real(campo));
        break;
    case FieldType::Decimal:
        para.setDecimal(campo, de.decimal(campo));
        break;
    case FieldType::Date:
        para.setDate(campo, de.date(campo));
        break;
    default:
        para.setText(campo, de.text(campo));
    }
}

Record vazia(Store& store, int idEmpresa) {
    Table cfgs(store, "qavcfg");
    Record r(cfgs.def());
    r.setInteger("ID_EMPRESA", idEmpresa);
    return r;
}

} // namespace

const std::vector<const char*>& camposEditaveis() {
    static const std::vector<const char*> campos = {"BD_HOST",
                                                    "BD_PORTA",
                                                    "BD_USUARIO",
                                                    "BD_SENHA",
                                                    "BD_NOME",
                                                    "COD_VENDEDOR",
                                                    "SENHA_VENDEDOR",
                                                    "PONTO_INSTALACAO",
                                                    "ID_EMPMATRIZ",
                                                    "SUPERVISOR",
                                                    "ATIVA_LEIT_COD_BARRAS",
                                                    "ATIVA_ENTREGA_IMEDIATA",
                                                    "ID_ESTLOCAL",
                                                    "DIAS_HISTORICO",
                                                    "QAV_HUB"};
    return campos;
}

void copiarCamposEditaveis(const Record& de, Record& para) {
    for (const char* campo : camposEditaveis())
        copiarCampo(de, para, para.field(campo));
}

std::optional<Record> lerConfiguracao(Store& store, int idEmpresa) {
    Table cfgs(store, "qavcfg");
    if (!cfgs.open())
        return std::nullopt;
    cfgs.clear();
    cfgs.rec().setInteger("ID_EMPRESA", idEmpresa);
    if (cfgs.get("KEYID_EMPRESA") != Status::Ok)
        return std::nullopt;
    return cfgs.rec();
}

Record configuracaoDaEmpresa(Store& store, int idEmpresa) {
    Record r = lerConfiguracao(store, idEmpresa).value_or(vazia(store, idEmpresa));
    aplicarPadroes(r);
    return r;
}

Record configuracaoInicial(Store& store, int idEmpresa) {
    std::optional<Record> r = lerConfiguracao(store, idEmpresa);
    if (!r) {
        Table cfgs(store, "qavcfg");
        if (cfgs.open() && cfgs.seekFirst("KEYID_EMPRESA") == Status::Ok && cfgs.next() == Status::Ok)
            r = cfgs.rec();
    }
    Record resultado = r.value_or(vazia(store, idEmpresa));
    aplicarPadroes(resultado);
    return resultado;
}

ResultadoGravacao gravarConfiguracao(Store& store, const Record& editada) {
    ResultadoGravacao resultado;
    const std::int64_t idEmpresa = editada.integer("ID_EMPRESA");
    if (idEmpresa == 0) {
        resultado.situacao = ResultadoGravacao::EmpresaInvalida;
        return resultado;
    }
    Table cfgs(store, "qavcfg");
    if (!cfgs.open()) {
        resultado.codigoErro = numeroErro(cfgs.error());
        return resultado;
    }
    cfgs.clear();
    cfgs.rec().setInteger("ID_EMPRESA", idEmpresa);
    const Status lida = cfgs.get("KEYID_EMPRESA");
    if (lida == Status::Error) {
        resultado.codigoErro = numeroErro(cfgs.error());
        return resultado;
    }
    const bool existia = lida == Status::Ok;
    if (!existia) {
        cfgs.clear();
        cfgs.rec().setInteger("ID_EMPRESA", idEmpresa);
    }
    Record& gravada = cfgs.rec();
    copiarCamposEditaveis(editada, gravada);
    if ((existia ? cfgs.put() : cfgs.add()) != Status::Ok) {
        resultado.codigoErro = numeroErro(cfgs.error());
        return resultado;
    }
    resultado.situacao = ResultadoGravacao::Gravada;
    resultado.gravada = gravada;
    return resultado;
}

ResultadoTransferencia transferirPedidos(Store& store, int idEmpresa, int idMatriz) {
    ResultadoTransferencia resultado;
    // Moving a company's orders to itself would only take its released orders back to pending.
    if (idEmpresa == idMatriz) {
        resultado.ok = true;
        return resultado;
    }
    Table pedidos(store, "pedidos");
    if (!pedidos.open()) {
        resultado.codigoErro = numeroErro(pedidos.error());
        return resultado;
    }
    Transaction transacao({&pedidos});
    if (!transacao.begin()) {
        resultado.codigoErro = numeroErro(transacao.error());
        return resultado;
    }
    // The ids first: the walk must not meet the orders it has already moved.
    std::vector<std::int64_t> ids;
    pedidos.setFilter("ID_EMPRESA = ?", {QVariant::fromValue<qlonglong>(idEmpresa)});
    Status s = pedidos.seekFirst("KEYID");
    while (s == Status::Ok && (s = pedidos.next()) == Status::Ok)
        ids.push_back(pedidos.rec().integer("ID"));
    pedidos.clearFilter();
    if (s == Status::Error) {
        resultado.codigoErro = numeroErro(pedidos.error());
        return resultado; // the transaction rolls back as it goes
    }
    for (const std::int64_t id : ids) {
        pedidos.clear();
        pedidos.rec().setInteger("ID", id);
        if (pedidos.get("KEYID") != Status::Ok) {
            resultado.codigoErro = numeroErro(pedidos.error());
            return resultado;
        }
        Record& pedido = pedidos.rec();
        pedido.setInteger("ID_EMPRESA", idMatriz);
        if (pedido.integer("SITUA") == situacao::Liberado)
            pedido.setInteger("SITUA", situacao::Pendente);
        if (pedidos.put() != Status::Ok) {
            resultado.codigoErro = numeroErro(pedidos.error());
            return resultado;
        }
    }
    if (!transacao.commit()) {
        resultado.codigoErro = numeroErro(transacao.error());
        return resultado;
    }
    resultado.ok = true;
    resultado.pedidos = static_cast<int>(ids.size());
    return resultado;
}

} // namespace qav::sync
