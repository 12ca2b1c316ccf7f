// Saving an order in edition: header, items, accessory rows and the customer's last payment form in
// one store transaction, so that a crash or a kill leaves the order as it was or as confirmed.
#include "orders/core/CamposPedido.h"
#include "orders/core/EdicaoPedido.h"
#include "orders/core/LeituraRegistro.h"
#include "orders/core/LinhasDoPedido.h"
#include "orders/core/SituacaoPedido.h"
#include "store/core/Transaction.h"

#include <algorithm>
#include <map>
#include <set>

namespace qav {

namespace {

const QString kTransmitido = QStringLiteral("Pedido já transmitido! Somente consulta disponível!");
const QString kChaveItem = QStringLiteral("Id Pedido + Produto + Obs.");

int inteiro(const Record& registro, const char* campo) {
    return static_cast<int>(registro.integer(campo));
}

FalhaEdicao falhaDe(const StoreError& erro, const char* acao) {
    FalhaEdicao f;
    f.erro = erro;
    f.mensagem = QStringLiteral("Erro (%1) %2").arg(erro.number()).arg(QString::fromUtf8(acao));
    switch (erro.code) {
    case ErrorCode::RecordChangedByAnotherStation:
        f.tipo = FalhaEdicao::Tipo::AlteradoPorOutro;
        break;
    case ErrorCode::CreatesDuplicateKey:
        f.tipo = FalhaEdicao::Tipo::Duplicado;
        break;
    default:
        f.tipo = FalhaEdicao::Tipo::Arquivo;
    }
    return f;
}

FalhaEdicao falhaDoItem(const Table& itens) {
    FalhaEdicao f = falhaDe(itens.error(), "ao gravar item do pedido!");
    if (f.tipo == FalhaEdicao::Tipo::Duplicado)
        f.campo = kChaveItem;
    return f;
}

// The order as the other windows left it: changed, deleted or transmitted since it was read.
FalhaEdicao alteradoPorOutro() {
    StoreError erro{ErrorCode::RecordChangedByAnotherStation,
                    errorText(ErrorCode::RecordChangedByAnotherStation),
                    {},
                    {}};
    return falhaDe(erro, "ao gravar pedido!");
}

FalhaEdicao transmitido() {
    FalhaEdicao f;
    f.tipo = FalhaEdicao::Tipo::Transmitido;
    f.mensagem = kTransmitido;
    return f;
}

bool existe(Table& tabela, const char* chave, const char* campo, int valor, Status& status) {
    status = leitura::registro(tabela, chave, {{campo, valor}});
    return status == Status::Ok;
}

// The tables of one save, written in one transaction.
struct Gravacao {
    explicit Gravacao(Store& store)
        : pedidos(store, "pedidos"), itens(store, "peditens"), acessorios(store, "pedacess"),
          clientes(store, "clientes") {}
    Table pedidos;
    Table itens;
    Table acessorios;
    Table clientes;

    Table* abrir() {
        for (Table* t : {&pedidos, &itens, &acessorios, &clientes})
            if (!t->open())
                return t;
        return nullptr;
    }
};

// A new order keeps the id and number shown while it was entered unless another window saved an
// order with them meanwhile; then it takes the next free ones, read while the files are held.
FalhaEdicao numerarNovo(Table& pedidos, Record& pedido) {
    Status status = Status::Ok;
    const int id = inteiro(pedido, "ID");
    if (id <= 0 || existe(pedidos, "KEYID", "ID", id, status)) {
        int maior = 0;
        if (linhas::maiorValor(pedidos, "KEYID", maior) == Status::Error)
            return falhaDe(pedidos.error(), "ao gravar pedido!");
        pedido.setInteger("ID", maior + 1);
    } else if (status == Status::Error) {
        return falhaDe(pedidos.error(), "ao gravar pedido!");
    }
    const int numero = inteiro(pedido, "NUMER");
    if (numero <= 0 || existe(pedidos, "KEYNUMER", "NUMER", numero, status)) {
        int maior = 0;
        if (linhas::maiorValor(pedidos, "KEYNUMER", maior) == Status::Error)
            return falhaDe(pedidos.error(), "ao gravar pedido!");
        pedido.setInteger("NUMER", maior + 1);
    } else if (status == Status::Error) {
        return falhaDe(pedidos.error(), "ao gravar pedido!");
    }
    return {};
}

// The customer's last payment form, for the next order. A customer whose form is open elsewhere
// (held) is left alone: its own save would otherwise be refused as changed by another station, and
// the order matters more than this convenience.
FalhaEdicao gravarFormaPagCliente(Table& clientes, const Record& pedido) {
    const int cliente = inteiro(pedido, "CLIEN");
    if (cliente == 0)
        return {};
    const Status lido = leitura::registro(clientes, "KEYID", {{"ID", cliente}});
    if (lido == Status::NotFound)
        return {};
    if (lido == Status::Error)
        return falhaDe(clientes.error(), "ao gravar cliente!");
    const int forma = inteiro(pedido, "COD_FORMAPAG");
    if (inteiro(clientes.rec(), "FORMA_PAG") == forma)
        return {};
    clientes.rec().setInteger("FORMA_PAG", forma);
    if (clientes.put() != Status::Ok && clientes.error().code != ErrorCode::RecordHeld)
        return falhaDe(clientes.error(), "ao gravar cliente!");
    return {};
}

// The header: a new order is numbered and added; a changed one is written over the row it was read
// from, refused when another window saved, deleted or transmitted it meanwhile. Every save of an order
// writes its header, so a header unchanged since it was read means no other window saved the order.
FalhaEdicao gravarCabecalho(Gravacao& g, Record& pedido, bool novo, const Record& original) {
    if (novo) {
        if (FalhaEdicao f = numerarNovo(g.pedidos, pedido); !f.ok())
            return f;
        g.pedidos.rec() = pedido;
        if (g.pedidos.add() != Status::Ok) {
            FalhaEdicao f = falhaDe(g.pedidos.error(), "ao gravar pedido!");
            if (f.tipo == FalhaEdicao::Tipo::Duplicado)
                f.campo = QStringLiteral("Id");
            return f;
        }
    } else {
        const Status lido = leitura::registro(g.pedidos, "KEYID", {{"ID", inteiro(original, "ID")}});
        if (lido == Status::Error)
            return falhaDe(g.pedidos.error(), "ao gravar pedido!");
        if (lido == Status::NotFound)
            return alteradoPorOutro();
        if (inteiro(g.pedidos.rec(), "SITUA") == situacao::Transmitido)
            return transmitido();
        if (g.pedidos.rec().rowId() != original.rowId() || g.pedidos.rec().revision() != original.revision())
            return alteradoPorOutro();
        g.pedidos.rec() = pedido;
        g.pedidos.rec().setOrigin(original.rowId(), original.revision());
        if (g.pedidos.put() != Status::Ok)
            return falhaDe(g.pedidos.error(), "ao gravar pedido!");
    }
    pedido = g.pedidos.rec();
    return {};
}

// The items as they were read, and those of them the order keeps, by id.
struct IndiceItens {
    IndiceItens(const std::vector<ItemEmEdicao>& lidos, const std::vector<ItemEmEdicao>& atuais) {
        for (const ItemEmEdicao& original : lidos)
            originais[inteiro(original.item, "ID_VENDASI")] = &original;
        for (const ItemEmEdicao& item : atuais)
            if (const int id = inteiro(item.item, "ID_VENDASI"); originais.count(id))
                mantidos[id] = &item;
    }
    const ItemEmEdicao* original(int id) const {
        const auto achado = originais.find(id);
        return achado == originais.end() ? nullptr : achado->second;
    }
    std::map<int, const ItemEmEdicao*> originais;
    std::map<int, const ItemEmEdicao*> mantidos;
};

// Every removal comes first, so that a row added in place of a removed one does not meet it in a key:
// the accessories the order no longer has, and the items it no longer has.
FalhaEdicao removerTirados(Gravacao& g, const IndiceItens& indice) {
    for (const auto& [id, original] : indice.originais) {
        const auto ficou = indice.mantidos.find(id);
        const bool mantido = ficou != indice.mantidos.end();
        const ItemEmEdicao* atual = mantido ? ficou->second : nullptr;
        for (const Record& acessorio : original->acessorios) {
            const bool fica =
                atual && std::any_of(atual->acessorios.begin(), atual->acessorios.end(),
                                     [&](const Record& a) { return a.rowId() == acessorio.rowId(); });
            if (fica)
                continue;
            g.acessorios.rec() = acessorio;
            if (g.acessorios.remove() != Status::Ok)
                return falhaDe(g.acessorios.error(), "ao excluir itens do pedido.");
        }
        if (!mantido) {
            g.itens.rec() = original->item;
            if (g.itens.remove() != Status::Ok)
                return falhaDe(g.itens.error(), "ao excluir itens do pedido.");
        }
    }
    return {};
}

// New items keep the ids shown while they were entered unless another window took them; then they
// take the next ones after every id in the file and in the order.
class NumeracaoItens {
public:
    FalhaEdicao iniciar(Table& itens, const IndiceItens& indice, const std::vector<ItemEmEdicao>& atuais) {
        if (linhas::maiorValor(itens, "KEYID_VENDASI", m_proximo) == Status::Error)
            return falhaDoItem(itens);
        for (const auto& [id, item] : indice.mantidos)
            m_usados.insert(id);
        for (const ItemEmEdicao& item : atuais)
            m_proximo = std::max(m_proximo, inteiro(item.item, "ID_VENDASI"));
        ++m_proximo;
        return {};
    }

    // The id a new item is saved under, or a failure to read the file.
    FalhaEdicao idDoNovo(Table& itens, int& id) {
        Status status = Status::Ok;
        if (id <= 0 || m_usados.count(id) || existe(itens, "KEYID_VENDASI", "ID_VENDASI", id, status))
            id = m_proximo++;
        else if (status == Status::Error)
            return falhaDoItem(itens);
        m_usados.insert(id);
        return {};
    }

private:
    int m_proximo = 0;
    std::set<int> m_usados;
};

// The item's accessories that are new or changed since the item was read (`original`, null for a
// new item).
FalhaEdicao gravarAcessorios(Table& acessorios, ItemEmEdicao& item, const ItemEmEdicao* original) {
    const int idItem = inteiro(item.item, "ID_VENDASI");
    for (Record& acessorio : item.acessorios) {
        acessorio.setInteger("ID_VENDASI", idItem);
        const Record* antes = nullptr;
        if (original)
            for (const Record& a : original->acessorios)
                if (acessorio.rowId() != 0 && a.rowId() == acessorio.rowId())
                    antes = &a;
        if (antes && acessorio == *antes)
            continue;
        if (!antes)
            acessorio.setOrigin(0, 0);
        acessorios.rec() = acessorio;
        const Status escrito = antes ? acessorios.put() : acessorios.add();
        if (escrito != Status::Ok)
            return falhaDe(acessorios.error(), "ao gravar acessório!");
        acessorio = acessorios.rec();
    }
    return {};
}

// One item of the order: added when new, written over its row when changed, then its accessories.
FalhaEdicao gravarItem(Gravacao& g, ItemEmEdicao& item, const ItemEmEdicao* original, int idPedido,
                       NumeracaoItens& numeracao) {
    if (!original) {
        int id = inteiro(item.item, "ID_VENDASI");
        if (FalhaEdicao f = numeracao.idDoNovo(g.itens, id); !f.ok())
            return f;
        item.item.setInteger("ID_VENDASI", id);
        item.item.setInteger("ID_VENDA", idPedido);
        g.itens.rec() = item.item;
        if (g.itens.add() != Status::Ok)
            return falhaDoItem(g.itens);
        item.item = g.itens.rec();
    } else {
        item.item.setInteger("ID_VENDA", idPedido);
        item.item.setOrigin(original->item.rowId(), original->item.revision());
        if (!(item.item == original->item)) {
            g.itens.rec() = item.item;
            if (g.itens.put() != Status::Ok)
                return falhaDoItem(g.itens);
            item.item = g.itens.rec();
        }
    }
    return gravarAcessorios(g.acessorios, item, original);
}

} // namespace

FalhaEdicao EdicaoPedido::gravar() {
    if (inteiro(m_original, "SITUA") == situacao::Transmitido)
        return transmitido();
    if (!m_novo && !alterado())
        return {};

    Gravacao g(m_store);
    if (Table* falhou = g.abrir())
        return falhaDe(falhou->error(), "ao gravar pedido!");
    Transaction transacao({&g.pedidos, &g.itens, &g.acessorios, &g.clientes});
    if (!transacao.begin())
        return falhaDe(transacao.error(), "ao gravar pedido!");

    // Worked on copies: the members change only once the transaction is committed, so that a
    // failed save leaves the order in memory as it was, ready to be saved again.
    Record pedido = m_pedido;
    std::vector<ItemEmEdicao> itens = m_itens;

    if (FalhaEdicao f = gravarCabecalho(g, pedido, m_novo, m_original); !f.ok())
        return f;
    const int idPedido = inteiro(pedido, "ID");
    const IndiceItens indice(m_itensOriginais, itens);
    if (FalhaEdicao f = removerTirados(g, indice); !f.ok())
        return f;
    NumeracaoItens numeracao;
    if (FalhaEdicao f = numeracao.iniciar(g.itens, indice, itens); !f.ok())
        return f;
    int gravados = 0;
    for (ItemEmEdicao& item : itens) {
        const ItemEmEdicao* original = indice.original(inteiro(item.item, "ID_VENDASI"));
        if (FalhaEdicao f = gravarItem(g, item, original, idPedido, numeracao); !f.ok())
            return f;
        ++gravados;
        if (m_progresso)
            m_progresso(gravados);
    }

    if (FalhaEdicao f = gravarFormaPagCliente(g.clientes, pedido); !f.ok())
        return f;
    if (!transacao.commit())
        return falhaDe(transacao.error(), "ao gravar pedido!");

    m_pedido = pedido;
    m_original = pedido;
    m_itens = std::move(itens);
    m_itensOriginais = m_itens;
    m_novo = false;
    return {};
}

} // namespace qav
