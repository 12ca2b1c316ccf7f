#include "orders/core/ManutencaoPedido.h"

#include "orders/core/CamposPedido.h"
#include "orders/core/LinhasDoPedido.h"
#include "orders/core/SituacaoPedido.h"
#include "store/core/Transaction.h"

#include <vector>

namespace qav {

namespace {

// The three tables of an order, opened together and written in one transaction.
struct TabelasPedido {
    explicit TabelasPedido(Store& store)
        : pedidos(store, "pedidos"), itens(store, "peditens"), acessorios(store, "pedacess") {}
    Table pedidos;
    Table itens;
    Table acessorios;

    Table* abrir() {
        for (Table* t : {&pedidos, &itens, &acessorios})
            if (!t->open())
                return t;
        return nullptr;
    }
};

QString erroDeArquivo(const StoreError& erro, const char* acao) {
    return QStringLiteral("Erro (%1) %2!").arg(erro.number()).arg(QString::fromUtf8(acao));
}

ResultadoPedido falhaDeArquivo(const StoreError& erro, const char* acao) {
    ResultadoPedido r;
    r.falha = ResultadoPedido::Falha::Arquivo;
    r.erro = erro;
    r.mensagem = erroDeArquivo(erro, acao);
    return r;
}

// Reads the order by id into the table's buffer and its rule struct.
Status lerPedido(Table& pedidos, int idPedido, Pedido& pedido) {
    pedidos.clearFilter();
    pedidos.clear();
    pedidos.rec().setInteger("ID", idPedido);
    const Status status = pedidos.get("KEYID");
    if (status == Status::Ok)
        lerRegistro(pedidos.rec(), pedido);
    return status;
}

} // namespace

ResultadoPedido excluirPedido(Store& store, int idPedido, const ProgressoPedido& progresso) {
    TabelasPedido t(store);
    if (Table* falhou = t.abrir())
        return falhaDeArquivo(falhou->error(), "ao excluir pedido");
    Transaction transacao({&t.pedidos, &t.itens, &t.acessorios});
    if (!transacao.begin())
        return falhaDeArquivo(transacao.error(), "ao excluir pedido");

    Pedido pedido;
    const Status lido = lerPedido(t.pedidos, idPedido, pedido);
    if (lido == Status::Error)
        return falhaDeArquivo(t.pedidos.error(), "ao excluir pedido");
    ResultadoPedido r;
    r.idPedido = idPedido;
    if (lido == Status::NotFound) {
        r.falha = ResultadoPedido::Falha::NaoEncontrado;
        return r;
    }
    if (situacao::somenteLeitura(pedido)) {
        r.falha = ResultadoPedido::Falha::Transmitido;
        r.mensagem = QStringLiteral("Pedido já transmitido! Impossivel excluir!");
        return r;
    }
    std::vector<Record> itens;
    if (linhas::itensDoPedido(t.itens, idPedido, itens) == Status::Error)
        return falhaDeArquivo(t.itens.error(), "ao excluir itens do pedido");
    for (const Record& item : itens) {
        PedidoItem linha;
        lerRegistro(item, linha);
        std::vector<Record> acessorios;
        if (linhas::acessoriosDoItem(t.acessorios, linha.ID_VENDASI, acessorios) == Status::Error)
            return falhaDeArquivo(t.acessorios.error(), "ao excluir itens do pedido");
        for (const Record& acessorio : acessorios) {
            t.acessorios.rec() = acessorio;
            if (t.acessorios.remove() != Status::Ok)
                return falhaDeArquivo(t.acessorios.error(), "ao excluir itens do pedido");
            ++r.acessorios;
        }
        t.itens.rec() = item;
        if (t.itens.remove() != Status::Ok)
            return falhaDeArquivo(t.itens.error(), "ao excluir itens do pedido");
        ++r.itens;
        if (progresso)
            progresso(r.itens);
    }
    if (t.pedidos.remove() != Status::Ok)
        return falhaDeArquivo(t.pedidos.error(), "ao excluir pedido");
    if (!transacao.commit())
        return falhaDeArquivo(transacao.error(), "ao excluir pedido");
    return r;
}

ResultadoPedido duplicarPedido(Store& store, int idPedido, Date hoje, const ProgressoPedido& progresso) {
    TabelasPedido t(store);
    if (Table* falhou = t.abrir())
        return falhaDeArquivo(falhou->error(), "ao gravar pedido");
    // Begun before the highest id and number are read: the transaction holds the files for writing,
    // so no other window can take the same ones meanwhile.
    Transaction transacao({&t.pedidos, &t.itens, &t.acessorios});
    if (!transacao.begin())
        return falhaDeArquivo(transacao.error(), "ao gravar pedido");

    Pedido original;
    const Status lido = lerPedido(t.pedidos, idPedido, original);
    if (lido == Status::Error)
        return falhaDeArquivo(t.pedidos.error(), "ao gravar pedido");
    ResultadoPedido r;
    if (lido == Status::NotFound) {
        r.falha = ResultadoPedido::Falha::NaoEncontrado;
        return r;
    }
    Record copia = t.pedidos.rec();
    std::vector<Record> itens;
    if (linhas::itensDoPedido(t.itens, idPedido, itens) == Status::Error)
        return falhaDeArquivo(t.itens.error(), "ao gravar item do pedido");

    int maiorId = 0;
    int maiorNumero = 0;
    int maiorItem = 0;
    if (linhas::maiorValor(t.pedidos, "KEYID", maiorId) == Status::Error ||
        linhas::maiorValor(t.pedidos, "KEYNUMER", maiorNumero) == Status::Error)
        return falhaDeArquivo(t.pedidos.error(), "ao gravar pedido");
    if (linhas::maiorValor(t.itens, "KEYID_VENDASI", maiorItem) == Status::Error)
        return falhaDeArquivo(t.itens.error(), "ao gravar item do pedido");

    // The new order's own id, number, date and situation change; it is no order of the back office
    // yet (no ERP number), and a release code is given for one order number, which the copy does
    // not have (the code can never match it). Every other field, down to the totals, is copied.
    r.idPedido = maiorId + 1;
    r.numero = maiorNumero + 1;
    t.pedidos.rec() = copia;
    t.pedidos.rec().setInteger("ID", r.idPedido);
    t.pedidos.rec().setInteger("NUMER", r.numero);
    t.pedidos.rec().setInteger("DATA", hoje.dayNumber());
    t.pedidos.rec().setInteger("SITUA", situacao::Pendente);
    t.pedidos.rec().setInteger("NUM_ERP", 0);
    t.pedidos.rec().setInteger("COD_LIBERACAO", 0);
    if (t.pedidos.add() != Status::Ok)
        return falhaDeArquivo(t.pedidos.error(), "ao gravar pedido");

    for (const Record& item : itens) {
        PedidoItem linha;
        lerRegistro(item, linha);
        std::vector<Record> acessorios;
        if (linhas::acessoriosDoItem(t.acessorios, linha.ID_VENDASI, acessorios) == Status::Error)
            return falhaDeArquivo(t.acessorios.error(), "ao gravar item do pedido");
        const int novoItem = maiorItem + 1 + r.itens;
        t.itens.rec() = item;
        t.itens.rec().setInteger("ID_VENDASI", novoItem);
        t.itens.rec().setInteger("ID_VENDA", r.idPedido);
        if (t.itens.add() != Status::Ok)
            return falhaDeArquivo(t.itens.error(), "ao gravar item do pedido");
        for (const Record& acessorio : acessorios) {
            t.acessorios.rec() = acessorio;
            t.acessorios.rec().setInteger("ID_VENDASI", novoItem);
            if (t.acessorios.add() != Status::Ok)
                return falhaDeArquivo(t.acessorios.error(), "ao gravar item do pedido");
            ++r.acessorios;
        }
        ++r.itens;
        if (progresso)
            progresso(r.itens);
    }
    if (!transacao.commit())
        return falhaDeArquivo(transacao.error(), "ao gravar pedido");
    return r;
}

} // namespace qav
