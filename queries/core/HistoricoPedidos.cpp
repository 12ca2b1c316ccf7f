#include "queries/core/HistoricoPedidos.h"

#include "store/core/Table.h"
#include "store/core/Text.h"

namespace qav::historico {

namespace {

Pedido pedidoDoRegistro(const Record& r) {
    Pedido p;
    p.idPedcon = static_cast<int>(r.integer("ID_PEDCON"));
    p.idEmpresa = static_cast<int>(r.integer("ID_EMPRESA"));
    p.numero = static_cast<int>(r.integer("NUMERO"));
    p.numEntrega = static_cast<int>(r.integer("NUM_ENTREGA"));
    p.numNf = static_cast<int>(r.integer("NUM_NF"));
    p.numPedQav = text::rtrim(r.text("NUM_PED_QAV"));
    p.situacao = textoSituacao(r.text("SIT_DESCR"), static_cast<int>(r.integer("SITUACAO")));
    p.sitPed = siglaFaturamento(static_cast<int>(r.integer("SIT_PED")));
    p.tipo = tipoVenda(r.text("TIPO"));
    p.dataPedido = r.date("DATA_PEDIDO");
    p.dataPrevFatur = r.date("DATA_PREV_FATUR");
    p.dataFatur = r.date("DATA_FATUR");
    p.idCliente = r.integer("ID_CLIENTE");
    p.idVendedor = r.integer("ID_VENDEDOR");
    p.contato = text::rtrim(r.text("CONTATO"));
    p.prazo = text::rtrim(r.text("PRAZO"));
    p.valorTotal = r.decimal("VALOR_TOTAL");
    p.obs = text::rtrim(r.text("OBS"));
    p.chaveNfe = text::rtrim(r.text("CHAVE_NFE"));
    return p;
}

Leitura falhou(const Table& t) {
    return {false, t.error(), QString::fromLatin1(t.def().label)};
}

} // namespace

QString textoSituacao(const QString& descricao, int situacao) {
    const QString dada = descricao.trimmed();
    if (!dada.isEmpty())
        return dada;
    switch (situacao) {
    case 1:
        return QStringLiteral("Pendente");
    case 2:
        return QStringLiteral("Liberado");
    case 3:
        return QStringLiteral("Faturado");
    case 4:
        return QStringLiteral("Cancelado");
    default:
        return {};
    }
}

QString siglaFaturamento(int sitPed) {
    switch (sitPed) {
    case 3:
        return QStringLiteral("FP");
    case 4:
        return QStringLiteral("FT");
    case 6:
        return QStringLiteral("CA");
    default:
        return {};
    }
}

QString tipoVenda(const QString& tipo) {
    const QString t = tipo.trimmed();
    if (t == QLatin1String("N"))
        return QStringLiteral("Normal");
    if (t == QLatin1String("D"))
        return QStringLiteral("Devolução");
    if (t == QLatin1String("O"))
        return QStringLiteral("Orçamento");
    return {};
}

QString produtoNaoEncontrado(std::int64_t idProduto) {
    return QStringLiteral("Id # %1 do produto não encontrado!").arg(idProduto);
}

Leitura lerPedidos(Store& store, int idEmpresa, std::int64_t idCliente, std::vector<Pedido>& pedidos) {
    pedidos.clear();
    Table pedcon(store, "pedcon.tps");
    if (!pedcon.open())
        return falhou(pedcon);
    pedcon.setFilter("ID_CLIENTE = ? AND ID_EMPRESA = ?", {static_cast<qlonglong>(idCliente), idEmpresa});
    // The customer key keeps the newest order first.
    Status status = pedcon.seekFirst("KEYID_CLIENTE");
    while (status == Status::Ok && (status = pedcon.next()) == Status::Ok)
        pedidos.push_back(pedidoDoRegistro(pedcon.rec()));
    const Leitura leitura = status == Status::Error ? falhou(pedcon) : Leitura{};
    pedcon.close();
    return leitura;
}

Leitura lerPedido(Store& store, int idPedcon, Pedido& pedido, bool& achou) {
    achou = false;
    Table pedcon(store, "pedcon.tps");
    if (!pedcon.open())
        return falhou(pedcon);
    pedcon.rec().setInteger("ID_PEDCON", idPedcon);
    const Status status = pedcon.get("KEYID_PEDCON");
    Leitura leitura;
    if (status == Status::Ok) {
        pedido = pedidoDoRegistro(pedcon.rec());
        achou = true;
    } else if (status == Status::Error) {
        leitura = falhou(pedcon);
    }
    pedcon.close();
    return leitura;
}

Leitura lerItens(Store& store, int idEmpresa, int idPedcon, std::vector<Item>& itens) {
    itens.clear();
    Table pedicon(store, "pedicon.tps");
    Table produto(store, "produto.tps");
    if (!pedicon.open())
        return falhou(pedicon);
    if (!produto.open()) {
        pedicon.close();
        return falhou(produto);
    }
    pedicon.setFilter("ID_PEDCON = ?", {idPedcon});
    Leitura leitura;
    Status status = pedicon.seekFirst("KEYID_PEDCON");
    while (status == Status::Ok && (status = pedicon.next()) == Status::Ok) {
        const Record& r = pedicon.rec();
        Item item;
        item.ordem = static_cast<int>(r.integer("ORDEM"));
        item.idProduto = r.integer("ID_PRODUTO");
        item.descricao = text::rtrim(r.text("DESCR_PRODUTO"));
        item.complemento = text::rtrim(r.text("COMPLE"));
        item.quantidade = r.decimal("QTDADE");
        item.desconto = r.decimal("DESCP");
        item.precoUnitario = r.decimal("PRECO_UNIT");
        produto.clear();
        produto.rec().setInteger("ID", item.idProduto);
        produto.rec().setInteger("ID_EMPRESA", idEmpresa);
        const Status achado = produto.get("KEYID");
        if (achado == Status::Ok) {
            item.produtoEncontrado = true;
            item.codigo = text::rtrim(produto.rec().text("CODIGO"));
            if (const QString nome = text::rtrim(produto.rec().text("NOME")); !nome.isEmpty())
                item.descricao = nome;
            item.pesoUnitario = produto.rec().decimal("PESOB");
        } else if (achado == Status::Error) {
            leitura = falhou(produto);
            break;
        }
        itens.push_back(std::move(item));
    }
    if (status == Status::Error)
        leitura = falhou(pedicon);
    produto.close();
    pedicon.close();
    return leitura;
}

Decimal pesoTotal(const std::vector<Item>& itens) {
    Decimal peso;
    for (const Item& item : itens)
        peso = (peso + item.quantidade * item.pesoUnitario).rounded(3);
    return peso;
}

Decimal totalItem(const Item& item) {
    const Decimal bruto = item.quantidade * item.precoUnitario;
    return (bruto - bruto * item.desconto / Decimal(100)).rounded(2);
}

} // namespace qav::historico
