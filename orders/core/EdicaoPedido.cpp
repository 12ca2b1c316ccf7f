#include "orders/core/EdicaoPedido.h"

#include "orders/core/CamposPedido.h"
#include "orders/core/DadosDoArquivo.h"
#include "orders/core/Frete.h"
#include "orders/core/LeituraRegistro.h"
#include "orders/core/LinhasDoPedido.h"
#include "orders/core/Mensagens.h"
#include "orders/core/ProcuraProduto.h"
#include "orders/core/SituacaoPedido.h"
#include "store/core/Text.h"
#include "store/core/Transaction.h"

#include <algorithm>
#include <numeric>

namespace qav {

namespace {

FalhaEdicao falhaArquivo(const StoreError& erro, const char* acao) {
    FalhaEdicao f;
    f.tipo = FalhaEdicao::Tipo::Arquivo;
    f.erro = erro;
    f.mensagem = QStringLiteral("Erro (%1) %2").arg(erro.number()).arg(QString::fromUtf8(acao));
    return f;
}

FalhaEdicao falha(FalhaEdicao::Tipo tipo, const QString& mensagem) {
    FalhaEdicao f;
    f.tipo = tipo;
    f.mensagem = mensagem;
    return f;
}

int inteiro(const Record& registro, const char* campo) {
    return static_cast<int>(registro.integer(campo));
}

// Copies into the record only the fields whose value the struct changed, so that a field the rules
// only read keeps its stored form to the last bit (a real64 read as a decimal and written back could
// otherwise differ in a far place and make an untouched order look changed).
template <typename S> void gravarAlterados(const S& calculado, Record& registro) {
    S lido;
    lerRegistro(registro, lido);
    Record antes = registro;
    gravarRegistro(lido, antes);
    Record depois = registro;
    gravarRegistro(calculado, depois);
    const TableDef& def = registro.def();
    for (std::size_t f = 0; f < def.fields.size(); ++f) {
        for (int e = 0; e < def.fields[f].count; ++e) {
            const int slot = def.slotOffset[f] + e;
            if (!(antes.slot(slot) == depois.slot(slot)))
                registro.slot(slot) = depois.slot(slot);
        }
    }
}

} // namespace

EdicaoPedido::EdicaoPedido(Store& store)
    : m_store(store), m_pedido(mapeamento::tabela("pedidos.tps")), m_original(m_pedido) {}

FalhaEdicao EdicaoPedido::abrir(int idPedido) {
    Table pedidos(m_store, "pedidos");
    Table itens(m_store, "peditens");
    Table acessorios(m_store, "pedacess");
    for (Table* t : {&pedidos, &itens, &acessorios})
        if (!t->open())
            return falhaArquivo(t->error(), "ao ler pedido!");
    // Read as one moment of the files: a save of another window is seen whole or not at all.
    Transaction leitura({&pedidos, &itens, &acessorios});
    if (!leitura.begin())
        return falhaArquivo(leitura.error(), "ao ler pedido!");

    const Status lido = leitura::registro(pedidos, "KEYID", {{"ID", idPedido}});
    if (lido == Status::NotFound) {
        FalhaEdicao f = falha(FalhaEdicao::Tipo::NaoEncontrado, {});
        f.erro = pedidos.error(); // "Record Not Found", which the reading warning describes
        return f;
    }
    if (lido == Status::Error)
        return falhaArquivo(pedidos.error(), "ao ler pedido!");
    const Record pedido = pedidos.rec();

    std::vector<Record> linhas;
    if (linhas::itensDoPedido(itens, idPedido, linhas) == Status::Error)
        return falhaArquivo(itens.error(), "ao ler itens do pedido!");
    std::vector<ItemEmEdicao> lidos;
    lidos.reserve(linhas.size());
    // An item has one accessory row per subgroup, a few at most: read them a few at a time.
    acessorios.setPageSize(4);
    for (Record& linha : linhas) {
        ItemEmEdicao item{std::move(linha), {}};
        if (linhas::acessoriosDoItem(acessorios, inteiro(item.item, "ID_VENDASI"), item.acessorios) ==
            Status::Error)
            return falhaArquivo(acessorios.error(), "ao ler itens do pedido!");
        lidos.push_back(std::move(item));
    }
    leitura.rollback(); // nothing was written

    m_novo = false;
    m_pedido = pedido;
    m_original = pedido;
    m_itens = lidos;
    m_itensOriginais = std::move(lidos);
    return {};
}

FalhaEdicao EdicaoPedido::novo(int idEmpresa, Date hoje, const Record* inicio) {
    Table pedidos(m_store, "pedidos");
    Table configuracoes(m_store, "qavcfg");
    Table vendedores(m_store, "vendedor");
    for (Table* t : {&pedidos, &configuracoes, &vendedores})
        if (!t->open())
            return falhaArquivo(t->error(), "ao ler vendas!");

    QavCfg cfg; // a company without its row counts as a row of zeros
    if (leitura::linha(configuracoes, "KEYID_EMPRESA", {{"ID_EMPRESA", idEmpresa}}, cfg) == Status::Error)
        return falhaArquivo(configuracoes.error(), "ao ler qavcfg!");

    int maiorId = 0;
    int maiorNumero = 0;
    if (linhas::maiorValor(pedidos, "KEYID", maiorId) == Status::Error ||
        linhas::maiorValor(pedidos, "KEYNUMER", maiorNumero) == Status::Error)
        return falhaArquivo(pedidos.error(), "ao ler vendas!");
    // The freight responsibility the company forces, or the one of the last order entered (the
    // representative usually sells on the same terms).
    int fconta = 0;
    if (fconta::escolhido(cfg.BLOQ_FRETE))
        fconta = cfg.BLOQ_FRETE;
    else if (maiorNumero > 0)
        fconta = inteiro(pedidos.rec(), "FCONTA"); // maiorValor leaves the last order in the buffer

    Record pedido = inicio ? *inicio : Record(mapeamento::tabela("pedidos.tps"));
    pedido.setOrigin(0, 0);
    // The workstation's representative sells every order typed on it, also one started from the
    // order list's "Vendedor" tab on another representative's orders.
    const int codVendedor = cfg.COD_VENDEDOR;
    Vendedor vendedor;
    if (leitura::linha(vendedores, "KEYCODIGO", {{"CODIGO", codVendedor}, {"ID_EMPRESA", idEmpresa}},
                       vendedor) == Status::Error)
        return falhaArquivo(vendedores.error(), "ao ler vendedor!");

    pedido.setInteger("ID", maiorId + 1);
    pedido.setInteger("NUMER", maiorNumero + 1);
    pedido.setInteger("DATA", hoje.dayNumber());
    pedido.setInteger("TIPOV", 1);
    pedido.setInteger("SITUA", situacao::Pendente);
    pedido.setInteger("INF_USUARIO", 1);
    pedido.setInteger("ID_EMPRESA", idEmpresa);
    pedido.setInteger("COD_VENDEDOR", codVendedor);
    pedido.setInteger("PED_FLEX", cfg.PERMITIR_FLEX);
    pedido.setInteger("FCONTA", fconta);
    pedido.setInteger("PRODUTO_ENTREGUE", cfg.ATIVA_ENTREGA_IMEDIATA != 0 ? 1 : 0);
    pedido.setDecimal("COMIS",
                      vendedor.ORIGEM_COM == origemComissao::DoVendedor ? vendedor.TAXA_COMISSAO : Decimal());

    m_novo = true;
    m_pedido = pedido;
    m_original = pedido;
    m_itens.clear();
    m_itensOriginais.clear();
    return {};
}

bool EdicaoPedido::alterado() const {
    if (!(m_pedido == m_original) || m_itens.size() != m_itensOriginais.size())
        return true;
    for (std::size_t i = 0; i < m_itens.size(); ++i) {
        if (!(m_itens[i].item == m_itensOriginais[i].item) ||
            m_itens[i].acessorios != m_itensOriginais[i].acessorios)
            return true;
    }
    return false;
}

FalhaEdicao EdicaoPedido::carregarDados(DadosPedido& dados) const {
    Pedido pedido;
    lerRegistro(m_pedido, pedido);
    std::vector<int> produtos;
    produtos.reserve(m_itens.size());
    for (const ItemEmEdicao& item : m_itens)
        produtos.push_back(inteiro(item.item, "PRODU"));
    const FalhaLeitura falha =
        carregarDadosDoArquivo(m_store, pedido, inteiro(m_pedido, "COD_VENDEDOR"), produtos, dados);
    if (!falha.ok())
        return falhaArquivo(falha.erro, "ao ler tabelas do pedido!");
    return {};
}

FalhaEdicao EdicaoPedido::outrosPedidos(std::vector<OutroPedido>& outros) const {
    outros.clear();
    if (inteiro(m_pedido, "PED_FLEX") == 0)
        return {};
    Table pedidos(m_store, "pedidos");
    Table itens(m_store, "peditens");
    for (Table* t : {&pedidos, &itens})
        if (!t->open())
            return falhaArquivo(t->error(), "ao ler pedidos!");
    const int proprio = m_novo ? 0 : inteiro(m_original, "ID");

    // The open orders: pending and released, in situation order.
    pedidos.clearFilter();
    pedidos.clear();
    pedidos.rec().setInteger("SITUA", situacao::Pendente);
    if (pedidos.seek("KEYSITUA", 1) == Status::Error)
        return falhaArquivo(pedidos.error(), "ao ler pedidos!");
    Status status = Status::Ok;
    while ((status = pedidos.next()) == Status::Ok) {
        OutroPedido outro;
        lerRegistro(pedidos.rec(), outro);
        if (outro.SITUA > situacao::Liberado)
            break;
        if (outro.ID == proprio && proprio != 0)
            continue;
        // Only a flex order's items carry flex that counts.
        if (outro.PED_FLEX != 0) {
            std::vector<Record> linhas;
            if (linhas::itensDoPedido(itens, outro.ID, linhas) == Status::Error)
                return falhaArquivo(itens.error(), "ao ler itens do pedido!");
            for (const Record& linha : linhas)
                outro.VL_FLEX += linha.decimal("VL_FLEX");
        }
        outros.push_back(outro);
    }
    if (status == Status::Error)
        return falhaArquivo(pedidos.error(), "ao ler pedidos!");
    return {};
}

FalhaEdicao EdicaoPedido::titulosDoCliente(std::vector<Titulo>& titulos) const {
    titulos.clear();
    const int cliente = inteiro(m_pedido, "CLIEN");
    if (cliente == 0)
        return {};
    Table ctr(m_store, "ctr");
    if (!ctr.open())
        return falhaArquivo(ctr.error(), "ao ler contas a receber!");
    ctr.clearFilter();
    ctr.clear();
    ctr.rec().setInteger("DEVED", cliente);
    if (ctr.seek("KEYDEVED", 1) == Status::Error)
        return falhaArquivo(ctr.error(), "ao ler contas a receber!");
    Status status = Status::Ok;
    while ((status = ctr.next()) == Status::Ok && ctr.rec().integer("DEVED") == cliente)
        titulos.push_back({ctr.rec().date("VECTO"), ctr.rec().decimal("SALDO")});
    if (status == Status::Error)
        return falhaArquivo(ctr.error(), "ao ler contas a receber!");
    return {};
}

ResultadoRecalculo EdicaoPedido::recalcular(const DadosPedido& dados,
                                            const std::vector<OutroPedido>& outros) {
    Pedido pedido;
    lerRegistro(m_pedido, pedido);
    // The rules walk the items in item-id order, whatever order the form keeps them in.
    std::vector<std::size_t> ordem(m_itens.size());
    std::iota(ordem.begin(), ordem.end(), std::size_t{0});
    std::stable_sort(ordem.begin(), ordem.end(), [this](std::size_t a, std::size_t b) {
        return m_itens[a].item.integer("ID_VENDASI") < m_itens[b].item.integer("ID_VENDASI");
    });
    std::vector<PedidoItem> itens(ordem.size());
    for (std::size_t k = 0; k < ordem.size(); ++k)
        lerRegistro(m_itens[ordem[k]].item, itens[k]);

    // Worked out on copies: the records change only when every value fits its field.
    ResultadoRecalculo resultado;
    std::optional<CampoEstourado> estouro;
    Record novoPedido = m_pedido;
    std::vector<Record> novosItens;
    try {
        resultado = recalcularPedido(pedido, itens, dados, outros);
        estouro = campoEstourado(pedido);
        for (std::size_t k = 0; k < itens.size() && !estouro; ++k)
            estouro = campoEstourado(itens[k]);
        if (!estouro) {
            gravarAlterados(pedido, novoPedido);
            novosItens.reserve(itens.size());
            for (std::size_t k = 0; k < itens.size(); ++k) {
                novosItens.push_back(m_itens[ordem[k]].item);
                gravarAlterados(itens[k], novosItens.back());
            }
        }
    } catch (const DecimalOverflow&) {
        estouro = CampoEstourado{};
    } catch (const FieldValueError&) {
        estouro = CampoEstourado{};
    }

    if (estouro) {
        const Mensagem aviso{QStringLiteral("Aviso"),
                             mensagem::valorForaDoCampo(estouro->campo, estouro->limite)};
        if (!m_pedidoCoerente) {
            // Nothing fitted yet: the order stays as it was read, and cannot be confirmed.
            ResultadoRecalculo parado;
            parado.estouro = aviso;
            return parado;
        }
        m_pedido = *m_pedidoCoerente;
        m_itens = m_itensCoerentes;
        ResultadoRecalculo anterior = recalcular(dados, outros);
        anterior.estouro = aviso;
        return anterior;
    }

    m_pedido = std::move(novoPedido);
    for (std::size_t k = 0; k < ordem.size(); ++k)
        m_itens[ordem[k]].item = std::move(novosItens[k]);
    m_pedidoCoerente = m_pedido;
    m_itensCoerentes = m_itens;
    return resultado;
}

void EdicaoPedido::fixarReferencia() {
    m_pedidoReferencia = m_pedido;
    m_itensReferencia = m_itens;
}

bool EdicaoPedido::alteradoDesdeReferencia() const {
    if (!m_pedidoReferencia)
        return alterado();
    if (!(m_pedido == *m_pedidoReferencia) || m_itens.size() != m_itensReferencia.size())
        return true;
    for (std::size_t i = 0; i < m_itens.size(); ++i)
        if (!(m_itens[i].item == m_itensReferencia[i].item) ||
            m_itens[i].acessorios != m_itensReferencia[i].acessorios)
            return true;
    return false;
}

void EdicaoPedido::retomar(const Record& pedido, std::vector<ItemEmEdicao> itens) {
    const Record origem = m_pedido; // where the order was read from (or primed)
    m_pedido = pedido;
    m_pedido.setOrigin(origem.rowId(), origem.revision());
    if (m_novo) {
        // The draft's number and id were provisional: the save takes free ones again if taken.
        m_pedido.setInteger("ID", origem.integer("ID"));
        m_pedido.setInteger("NUMER", origem.integer("NUMER"));
    }
    const int id = inteiro(m_pedido, "ID");
    for (ItemEmEdicao& item : itens)
        item.item.setInteger("ID_VENDA", id);
    m_itens = std::move(itens);
    m_pedidoCoerente.reset();
    m_itensCoerentes.clear();
}

FalhaEdicao EdicaoPedido::proximoIdItem(int& id) const {
    Table itens(m_store, "peditens");
    int maiorItem = 0;
    if (!itens.open() || linhas::maiorValor(itens, "KEYID_VENDASI", maiorItem) == Status::Error)
        return falhaArquivo(itens.error(), "ao ler itens do pedido!");
    for (const ItemEmEdicao& i : m_itens)
        maiorItem = std::max(maiorItem, inteiro(i.item, "ID_VENDASI"));
    id = maiorItem + 1;
    return {};
}

bool EdicaoPedido::lerCodigoBarras(const QString& codigo, const DadosPedido& dados,
                                   FalhaEdicao& falhaLeitura) {
    falhaLeitura = {};
    const QString entrada = text::rtrim(codigo.left(14));
    if (entrada.trimmed().isEmpty())
        return false;
    if (inteiro(m_pedido, "SITUA") == situacao::Transmitido) {
        falhaLeitura = falha(FalhaEdicao::Tipo::Transmitido,
                             QStringLiteral("Pedido já transmitido! Impossivel incluir!"));
        return false;
    }
    const int empresa = inteiro(m_pedido, "ID_EMPRESA");
    Table produtos(m_store, "produto");
    if (!produtos.open()) {
        falhaLeitura = falhaArquivo(produtos.error(), "ao ler produto!");
        return false;
    }
    Produto produto;
    const Status achado = procura::porCodigoBarras(produtos, empresa, entrada, produto);
    if (achado == Status::NotFound) {
        falhaLeitura = falha(FalhaEdicao::Tipo::NaoEncontrado, QStringLiteral("Código inválido!"));
        return false;
    }
    if (achado == Status::Error) {
        falhaLeitura = falhaArquivo(produtos.error(), "ao ler produto!");
        return false;
    }

    // The product's item without an observation takes the unit; an item with an observation is a
    // different sale of the product (measures, finish) and stays as it is.
    auto alvo = std::find_if(m_itens.begin(), m_itens.end(), [&](const ItemEmEdicao& i) {
        return i.item.integer("PRODU") == produto.ID && text::rtrim(i.item.text("OBS")).isEmpty();
    });
    if (alvo == m_itens.end()) {
        Decimal preco = produto.PRECO;
        // The order's price list, when it is the one the data were read for.
        const bool temPauta = dados.pauta && dados.pauta->CODIGO == inteiro(m_pedido, "COD_PAUTA") &&
                              dados.pauta->ID_EMPRESA == empresa;
        if (temPauta) {
            Table pautaProdutos(m_store, "pauxpro");
            PautaProduto linha; // a product outside the list costs 0 there
            if (!pautaProdutos.open() ||
                leitura::linha(pautaProdutos, "KEYPRODUTO",
                               {{"ID_PROD", produto.ID}, {"ID_PAUTA", dados.pauta->ID}},
                               linha) == Status::Error) {
                falhaLeitura = falhaArquivo(pautaProdutos.error(), "ao ler pauta de preços!");
                return false;
            }
            preco = linha.PRECO1;
        }
        int idItem = 0;
        if (falhaLeitura = proximoIdItem(idItem); !falhaLeitura.ok())
            return false;

        Record item(mapeamento::tabela("peditens.tps"));
        item.setInteger("ID_VENDASI", idItem);
        item.setInteger("ID_VENDA", inteiro(m_pedido, "ID"));
        item.setInteger("PRODU", produto.ID);
        item.setDecimal("PRECO_PAUTA", preco);
        item.setDecimal("PRUNI", preco);
        item.setDecimal("VALOR_PRODUTO", preco);
        if (const auto taxa = taxaComissaoInicial(dados.vendedor, produto))
            item.setDecimal("COMIS", *taxa);
        item.setInteger("PRECO_COM_IPI", dados.qavcfg.PRECO_COM_IPI);
        item.setText("NUM_OC", m_pedido.text("NUM_OC"));
        m_itens.push_back({std::move(item), {}});
        alvo = m_itens.end() - 1;
    }

    PedidoItem linha;
    lerRegistro(alvo->item, linha);
    linha.QTD += Decimal(1);
    Decimal acessorios;
    for (const Record& a : alvo->acessorios)
        acessorios += a.decimal("VALOR");
    linha.VALOR_ACESSORIOS = guardar<&PedidoItem::VALOR_ACESSORIOS>(acessorios);
    linha.PRUNI = guardar<&PedidoItem::PRUNI>(linha.VALOR_PRODUTO + linha.VALOR_ACESSORIOS);
    linha.TOTAL = guardar<&PedidoItem::TOTAL>(linha.QTD * linha.PRUNI);
    if (!linha.DESCP.isZero())
        linha.DESCV = (linha.TOTAL * linha.DESCP / Decimal(100)).rounded(2);
    linha.TOTAL = (linha.TOTAL - linha.DESCV).rounded(2);
    gravarAlterados(linha, alvo->item);
    return true;
}

} // namespace qav
