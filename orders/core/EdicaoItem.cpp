#include "orders/core/EdicaoItem.h"

#include "orders/core/CamposPedido.h"
#include "orders/core/FaixasPedido.h"
#include "orders/core/LeituraRegistro.h"
#include "orders/core/Mapeamento.h"
#include "orders/core/ProcuraProduto.h"
#include "orders/core/SituacaoPedido.h"
#include "store/core/FormatoBr.h"
#include "store/core/Text.h"

#include <algorithm>
#include <set>

namespace qav {

namespace {

const QString kTransmitido = QStringLiteral("Pedido já transmitido! Somente consulta disponível!");
const QString kChaveItem = QStringLiteral("Id Pedido + Produto + Obs.");
constexpr int kTamanhoObs = 100;
constexpr std::size_t kPedidosUltimosPrecos = 10;

int inteiro(const Record& registro, const char* campo) {
    return static_cast<int>(registro.integer(campo));
}

Mensagem aviso(const QString& texto) {
    return {QStringLiteral("Aviso"), texto};
}

Mensagem erroArquivo(const StoreError& erro, const char* acao) {
    return {QStringLiteral("Erro"),
            QStringLiteral("Erro (%1) %2").arg(erro.number()).arg(QString::fromUtf8(acao))};
}

// An accessory of the company as acessori.tps holds it.
struct Acessorio {
    int id = 0;
    int subgrupo = 0;
    QString descricao;
    Decimal preco;
    QString descricaoSubgrupo;
    bool ativo = false;
};

// The company's accessories in subgroup order. A table that cannot be read offers none.
std::vector<Acessorio> acessoriosDaEmpresa(Store& store, int empresa) {
    std::vector<Acessorio> lidos;
    Table tabela(store, "acessori");
    if (!tabela.open())
        return lidos;
    tabela.setFilter("ID_EMPRESA = ?", {QVariant(empresa)});
    if (tabela.seekFirst("KEY_SUBGRUPO") == Status::Error)
        return lidos;
    while (tabela.next() == Status::Ok) {
        const Record& r = tabela.rec();
        lidos.push_back({inteiro(r, "ID_ACESSORIO"), inteiro(r, "COD_SUBGRUPO"),
                         r.text("DESCRICAO").trimmed(), r.decimal("PRECO"),
                         r.text("DESCR_SUBGRUPO").trimmed(), r.integer("ATIVO") != 0});
    }
    return lidos;
}

// The representative's own text of an observation that carries the accessories' prefix ("Puxador
// cromado # entregar montado"): what follows the first "#" and the blank after it.
QString semPrefixoAcessorios(const QString& obs) {
    const qsizetype marca = obs.indexOf(QLatin1Char('#'));
    return marca < 0 ? obs : obs.mid(marca + 2);
}

bool mesmaObservacao(const QString& a, const QString& b) {
    // The order's key on product and observation ignores case and trailing blanks.
    return QString::compare(text::rtrim(a), text::rtrim(b), Qt::CaseInsensitive) == 0;
}

// The record with the struct's values, or the reason a value does not fit its field.
std::optional<Mensagem> gravarNoRegistro(const PedidoItem& linha, Record& registro) {
    Record novo = registro;
    try {
        gravarRegistro(linha, novo);
    } catch (const FieldValueError& erro) {
        return Mensagem{QStringLiteral("Erro"), QString::fromStdString(erro.what())};
    }
    registro = std::move(novo);
    return std::nullopt;
}

} // namespace

EdicaoItem::EdicaoItem(Store& store, EdicaoPedido& pedido, const DadosPedido& dados)
    : m_store(store), m_pedido(pedido), m_dados(dados), m_item(mapeamento::tabela("peditens.tps")),
      m_original(m_item) {}

bool EdicaoItem::somenteLeitura() const {
    return inteiro(m_pedido.pedido(), "SITUA") == situacao::Transmitido;
}

bool EdicaoItem::alterado() const {
    return !(m_item == m_original) || m_acessorios != m_acessoriosOriginais;
}

void EdicaoItem::novo() {
    int id = 0;
    // Without the folder's highest id the item starts with none; the order's save gives it the
    // next free one.
    if (!m_pedido.proximoIdItem(id).ok())
        id = 0;
    Record item(mapeamento::tabela("peditens.tps"));
    item.setInteger("ID_VENDASI", id);
    item.setInteger("ID_VENDA", inteiro(m_pedido.pedido(), "ID"));
    item.setInteger("PRECO_COM_IPI", m_dados.qavcfg.PRECO_COM_IPI);
    item.setText("NUM_OC", m_pedido.pedido().text("NUM_OC"));

    m_indice = -1;
    m_item = item;
    m_original = item;
    m_acessorios.clear();
    m_acessoriosOriginais.clear();
    m_produto = Produto{};
    m_resultado = ResultadoItem{};
    m_lote = VerificacaoLote{};
}

void EdicaoItem::abrir(int indice) {
    const ItemEmEdicao& origem = m_pedido.itens().at(static_cast<std::size_t>(indice));
    m_indice = indice;
    m_item = origem.item;
    m_acessorios = origem.acessorios;
    // Only an item with accessories carries their prefix; the text of one without is all the
    // representative's, "#" included.
    if (!m_acessorios.empty())
        m_item.setText("OBS", semPrefixoAcessorios(m_item.text("OBS")));
    m_original = m_item;
    m_acessoriosOriginais = m_acessorios;

    const int idProduto = inteiro(m_item, "PRODU");
    if (m_dados.produto(idProduto).ID != idProduto) {
        Table produtos(m_store, "produto");
        Produto produto;
        if (produtos.open() &&
            leitura::linha(produtos, "KEYID",
                           {{"ID", idProduto}, {"ID_EMPRESA", inteiro(m_pedido.pedido(), "ID_EMPRESA")}},
                           produto) == Status::Ok) {
            std::optional<Mensagem> ignorada;
            carregarPautaProduto(idProduto, ignorada);
            m_dados.adicionarProduto(produto);
        }
    }
    m_produto = produtoComPrecosDaPauta(m_dados.produto(idProduto), m_dados);
    m_resultado = ResultadoItem{};
    PedidoItem linha;
    lerRegistro(m_item, linha);
    totaisDoItem(linha, m_dados.produto(idProduto), m_resultado);
    m_lote = VerificacaoLote{};
}

std::optional<Produto> EdicaoItem::buscarProduto(const QString& entrada) const {
    Table produtos(m_store, "produto");
    if (!produtos.open())
        return std::nullopt;
    Produto produto;
    if (procura::porEntrada(produtos, inteiro(m_pedido.pedido(), "ID_EMPRESA"), entrada, produto) !=
        Status::Ok)
        return std::nullopt;
    return produto;
}

void EdicaoItem::carregarPautaProduto(int idProduto, std::optional<Mensagem>& falha) {
    if (!m_dados.pauta)
        return;
    Table pautaProdutos(m_store, "pauxpro");
    PautaProduto linha;
    const Status status =
        pautaProdutos.open()
            ? leitura::linha(pautaProdutos, "KEYPRODUTO",
                             {{"ID_PROD", idProduto}, {"ID_PAUTA", m_dados.pauta->ID}}, linha)
            : Status::Error;
    if (status == Status::Error)
        falha = erroArquivo(pautaProdutos.error(), "ao ler pauta de preços!");
    else if (status == Status::Ok)
        m_dados.adicionarPautaProduto(linha);
}

bool EdicaoItem::escolherProduto(const Produto& produto, Mensagem& mensagem) {
    if (somenteLeitura()) {
        mensagem = aviso(kTransmitido);
        return false;
    }
    if (novoItem() && produto.ATIVO == 0) {
        mensagem = aviso(QStringLiteral("Atenção produto selecionado não está ativo!"));
        return false;
    }
    std::optional<Mensagem> falha;
    carregarPautaProduto(produto.ID, falha);
    if (falha) {
        mensagem = *falha;
        return false;
    }
    m_dados.adicionarProduto(produto);
    m_produto = produtoComPrecosDaPauta(produto, m_dados);

    PedidoItem linha;
    lerRegistro(m_item, linha);
    linha.PRODU = produto.ID;
    if (!produto.vendidoPorPeca()) {
        linha.QTD_PECAS = 0;
        linha.COMPRIMENTO = 0;
    }
    Mensagens mensagens;
    if (!recalcular(linha, true, mensagens)) {
        mensagem = mensagens.back();
        return false;
    }
    return true;
}

bool EdicaoItem::recalcular(PedidoItem& linha, bool precoInicial, Mensagens& mensagens) {
    Pedido pedido;
    lerRegistro(m_pedido.pedido(), pedido);
    std::vector<Decimal> valores;
    valores.reserve(m_acessorios.size());
    for (const Record& acessorio : m_acessorios)
        valores.push_back(acessorio.decimal("VALOR"));

    ResultadoItem resultado;
    if (precoInicial) {
        definirPrecoInicial(linha, pedido, m_dados, valores, resultado);
    } else {
        // The commission share is worked out with the initial price; later changes keep its outcome.
        resultado.excessoComissao = m_resultado.excessoComissao;
        resultado.desconto = m_resultado.desconto;
        resultado.limite = m_resultado.limite;
        recalcularItem(linha, pedido, m_dados, valores, resultado);
    }
    if (std::optional<Mensagem> falha = gravarNoRegistro(linha, m_item)) {
        mensagens.push_back(*falha); // the item stays as it was
        return false;
    }
    m_resultado = resultado;
    mensagens.insert(mensagens.end(), m_resultado.mensagens.begin(), m_resultado.mensagens.end());
    return true;
}

Mensagens EdicaoItem::recalcular(PedidoItem& linha) {
    Mensagens mensagens;
    recalcular(linha, false, mensagens);
    return mensagens;
}

Mensagens EdicaoItem::alterarQuantidade(const Decimal& qtd) {
    if (somenteLeitura())
        return {aviso(kTransmitido)};
    const Decimal quantidade = guardar<&PedidoItem::QTD>(qtd);
    m_lote = verificarLote(quantidade, m_produto, m_dados.qavcfg);
    Mensagens mensagens;
    if (m_lote.mensagem)
        mensagens.push_back(*m_lote.mensagem);
    if (m_lote.voltarAoCampo)
        return mensagens; // the company accepts only whole lots: the item keeps its quantity
    PedidoItem linha;
    lerRegistro(m_item, linha);
    linha.QTD = quantidade;
    // With a discount for whole lots the price depends on the quantity: priced again.
    recalcular(linha, !m_produto.TX_DESC_LOTE.isZero(), mensagens);
    return mensagens;
}

Mensagens EdicaoItem::alterarPecas(int pecas, int comprimentoMm) {
    if (somenteLeitura())
        return {aviso(kTransmitido)};
    if (!m_produto.vendidoPorPeca())
        return {};
    m_lote = verificarLote(Decimal(pecas), m_produto, m_dados.qavcfg);
    Mensagens mensagens;
    if (m_lote.mensagem)
        mensagens.push_back(*m_lote.mensagem);
    if (m_lote.voltarAoCampo)
        return mensagens;
    PedidoItem linha;
    lerRegistro(m_item, linha);
    linha.QTD_PECAS = pecas;
    linha.COMPRIMENTO = comprimentoMm;
    recalcular(linha, false, mensagens);
    return mensagens;
}

Mensagens EdicaoItem::alterarDesconto(const Decimal& descp) {
    if (somenteLeitura())
        return {aviso(kTransmitido)};
    PedidoItem linha;
    lerRegistro(m_item, linha);
    linha.DESCP = guardar<&PedidoItem::DESCP>(descp);
    if (linha.DESCP.isZero())
        linha.DESCV = Decimal();
    return recalcular(linha);
}

Mensagens EdicaoItem::alterarValorDesconto(const Decimal& descv) {
    if (somenteLeitura())
        return {aviso(kTransmitido)};
    PedidoItem linha;
    lerRegistro(m_item, linha);
    linha.DESCV = guardar<&PedidoItem::DESCV>(descv);
    return recalcular(linha);
}

Mensagens EdicaoItem::alterarPrecoUnitario(const Decimal& valorProduto) {
    if (somenteLeitura())
        return {aviso(kTransmitido)};
    PedidoItem linha;
    lerRegistro(m_item, linha);
    linha.VALOR_PRODUTO = guardar<&PedidoItem::VALOR_PRODUTO>(valorProduto);
    return recalcular(linha);
}

Mensagens EdicaoItem::alterarComissao(const Decimal& comis) {
    if (somenteLeitura())
        return {aviso(kTransmitido)};
    PedidoItem linha;
    lerRegistro(m_item, linha);
    linha.COMIS = guardar<&PedidoItem::COMIS>(comis);
    definirPrecoPorComissao(linha, m_dados);
    return recalcular(linha);
}

std::optional<Decimal> EdicaoItem::precoPorMedida(const QString& observacao) const {
    return qav::precoPorMedida(observacao, m_produto, m_dados.ufCliente());
}

Mensagens EdicaoItem::aplicarPrecoPorMedida(const Decimal& preco) {
    if (somenteLeitura())
        return {aviso(kTransmitido)};
    PedidoItem linha;
    lerRegistro(m_item, linha);
    linha.VALOR_PRODUTO = guardar<&PedidoItem::VALOR_PRODUTO>(preco);
    linha.PRUNI = guardar<&PedidoItem::PRUNI>(preco);
    return recalcular(linha);
}

std::vector<Decimal> EdicaoItem::precosOferecidos() const {
    // m_produto carries the price list's prices when the order has one.
    const int padrao = m_dados.qavcfg.PRECO_PADRAO;
    if (padrao >= 1 && padrao <= 3)
        return {m_produto.PRECO};
    return {m_produto.PRECO, m_produto.PREC2, m_produto.PREC3};
}

bool EdicaoItem::comissaoVisivel() const {
    if (!m_dados.vendedor.DESC_RATEIO_COM.isZero())
        return true;
    const PautaProduto* linha = m_dados.pautaProduto(inteiro(m_item, "PRODU"));
    return linha != nullptr && !linha->TX_COMISSAO.isZero();
}

std::vector<SubgrupoAcessorio> EdicaoItem::subgrupos() const {
    const std::set<int> exigidos{m_produto.COD_ACESS1, m_produto.COD_ACESS2, m_produto.COD_ACESS3};
    const bool qualquer = m_produto.PERMITE_ACESSORIOS.trimmed() == QStringLiteral("S");
    std::vector<SubgrupoAcessorio> lista;
    std::set<int> vistos;
    for (const Acessorio& a : acessoriosDaEmpresa(m_store, inteiro(m_pedido.pedido(), "ID_EMPRESA"))) {
        if (!a.ativo || (!qualquer && (a.subgrupo == 0 || !exigidos.count(a.subgrupo))))
            continue;
        if (vistos.insert(a.subgrupo).second)
            lista.push_back({a.subgrupo, a.descricaoSubgrupo});
    }
    return lista;
}

std::vector<AcessorioOferecido> EdicaoItem::acessoriosDoSubgrupo(int codSubgrupo) const {
    std::vector<AcessorioOferecido> lista;
    for (const Acessorio& a : acessoriosDaEmpresa(m_store, inteiro(m_pedido.pedido(), "ID_EMPRESA")))
        if (a.ativo && a.subgrupo == codSubgrupo)
            lista.push_back({a.id, a.descricao, a.preco});
    return lista;
}

std::optional<Mensagem> EdicaoItem::adicionarAcessorio(int codSubgrupo, std::optional<int> idAcessorio,
                                                       const Decimal& valor) {
    if (somenteLeitura())
        return aviso(kTransmitido);
    const std::vector<AcessorioOferecido> oferecidos = acessoriosDoSubgrupo(codSubgrupo);
    // Only an accessory the subgroup offers (active, of the company) counts as chosen.
    const bool oferecido =
        idAcessorio && std::any_of(oferecidos.begin(), oferecidos.end(),
                                   [&](const AcessorioOferecido& a) { return a.id == *idAcessorio; });
    if (!oferecido)
        return aviso(QStringLiteral("Escolha o acessório primeiro!"));
    const bool lancado = std::any_of(m_acessorios.begin(), m_acessorios.end(), [&](const Record& r) {
        return inteiro(r, "COD_SUBGRUPO") == codSubgrupo;
    });
    if (lancado)
        return aviso(QStringLiteral("Acessório já lançado!"));

    Record linha(mapeamento::tabela("pedacess.tps"));
    try {
        linha.setInteger("ID_VENDASI", inteiro(m_item, "ID_VENDASI"));
        linha.setInteger("ID_ACESSORIO", *idAcessorio);
        linha.setDecimal("VALOR", valor.rounded(2));
        linha.setInteger("COD_SUBGRUPO", codSubgrupo);
    } catch (const FieldValueError& erro) {
        return Mensagem{QStringLiteral("Erro"), QString::fromStdString(erro.what())};
    }
    m_acessorios.push_back(linha);
    PedidoItem item;
    lerRegistro(m_item, item);
    Mensagens mensagens;
    if (!recalcular(item, false, mensagens)) {
        m_acessorios.pop_back();
        return mensagens.back();
    }
    return std::nullopt;
}

std::optional<Mensagem> EdicaoItem::removerAcessorio(int indice) {
    if (somenteLeitura())
        return aviso(kTransmitido);
    if (indice < 0 || static_cast<std::size_t>(indice) >= m_acessorios.size())
        return aviso(QStringLiteral("Primeiro selecione o acessório que você quer remover!"));
    m_acessorios.erase(m_acessorios.begin() + indice);
    PedidoItem item;
    lerRegistro(m_item, item);
    recalcular(item);
    return std::nullopt;
}

std::vector<UltimoPreco> EdicaoItem::ultimosPrecos() const {
    std::vector<UltimoPreco> lista;
    const int produto = inteiro(m_item, "PRODU");
    const int cliente = inteiro(m_pedido.pedido(), "CLIEN");
    if (produto == 0 || cliente == 0)
        return lista;
    Table pedidos(m_store, "pedcon");
    Table itens(m_store, "pedicon");
    if (!pedidos.open() || !itens.open())
        return lista;
    const Decimal pruni = m_item.decimal("PRUNI");

    // Cancelled orders (situation 4) are no price the customer paid.
    pedidos.setFilter("ID_CLIENTE = ? AND SITUACAO <> 4 AND ID_EMPRESA = ?",
                      {QVariant(cliente), QVariant(inteiro(m_pedido.pedido(), "ID_EMPRESA"))});
    if (pedidos.seekFirst("KEYID_CLIENTE") == Status::Error)
        return lista;
    std::set<int> numeros;
    while (lista.size() < kPedidosUltimosPrecos && pedidos.next() == Status::Ok) {
        const Record& cabecalho = pedidos.rec();
        const int numero = inteiro(cabecalho, "NUMERO");
        if (numeros.count(numero))
            continue;
        itens.setFilter("ID_PEDCON = ? AND ID_PRODUTO = ?",
                        {QVariant(inteiro(cabecalho, "ID_PEDCON")), QVariant(produto)});
        if (itens.seekFirst("KEYID_PEDCON") == Status::Error || itens.next() != Status::Ok)
            continue;
        const Decimal preco = itens.rec().decimal("PRECO_UNIT");
        const Decimal variacao =
            pruni.isZero() ? Decimal() : ((pruni - preco) * Decimal(100) / pruni).rounded(2);
        numeros.insert(numero);
        lista.push_back(
            {numero, cabecalho.date("DATA_PEDIDO"), itens.rec().decimal("QTDADE"), preco, variacao});
    }
    std::stable_sort(lista.begin(), lista.end(), [](const UltimoPreco& a, const UltimoPreco& b) {
        return a.data.dayNumber() > b.data.dayNumber();
    });
    return lista;
}

QString EdicaoItem::ordemDeCompraIncompleta() const {
    const bool temNumero = !m_item.text("NUM_OC").trimmed().isEmpty();
    const bool temItem = m_item.integer("NUM_ITEM_OC") != 0;
    if (temItem && !temNumero)
        return QStringLiteral("ordemCompra");
    if (temNumero && !temItem)
        return QStringLiteral("itemOrdemCompra");
    return {};
}

std::optional<RecusaItem> EdicaoItem::verificar(Mensagens& avisos) const {
    avisos.clear();
    const Record& cabecalho = m_pedido.pedido();
    const int empresa = inteiro(cabecalho, "ID_EMPRESA");

    // The product as the file holds it now, with the order's price-list prices.
    Produto lido;
    Table produtos(m_store, "produto");
    const int idProduto = inteiro(m_item, "PRODU");
    if (idProduto == 0 || !produtos.open() ||
        leitura::linha(produtos, "KEYID", {{"ID", idProduto}, {"ID_EMPRESA", empresa}}, lido) != Status::Ok)
        return RecusaItem{{QStringLiteral("Aviso"), {}}, QStringLiteral("produto")};
    const Produto produto = produtoComPrecosDaPauta(lido, m_dados);
    PedidoItem item;
    lerRegistro(m_item, item);

    // A quantity above 0, a discount of 0 to 100 % and a discount value within the item's total.
    if (const std::optional<ForaDaFaixa> fora = faixa::item(item))
        return RecusaItem{fora->mensagem(),
                          fora->campo == QStringLiteral("quantidade") && produto.vendidoPorPeca()
                              ? QStringLiteral("pecas")
                              : fora->campo};

    // The quantity entry's rule, run again: a quantity outside the sale lot the company refuses.
    const VerificacaoLote lote =
        verificarLote(produto.vendidoPorPeca() ? Decimal(item.QTD_PECAS) : item.QTD, produto, m_dados.qavcfg);
    if (lote.voltarAoCampo && lote.mensagem)
        return RecusaItem{*lote.mensagem,
                          produto.vendidoPorPeca() ? QStringLiteral("pecas") : QStringLiteral("quantidade")};

    if (produto.PRECO_PROMOCIONAL != 0 && !item.DESCV.isZero())
        return RecusaItem{aviso(QStringLiteral("Produto com preço promocional. Desconto não permitido!")),
                          {}};

    if (m_resultado.excessoComissao)
        return RecusaItem{aviso(mensagem::descontoAcimaRateioItem(m_resultado.desconto, m_resultado.limite)),
                          {}};

    const std::vector<Acessorio> acessorios = acessoriosDaEmpresa(m_store, empresa);
    for (const int subgrupo : {produto.COD_ACESS1, produto.COD_ACESS2, produto.COD_ACESS3}) {
        if (subgrupo == 0)
            continue;
        const bool escolhido = std::any_of(m_acessorios.begin(), m_acessorios.end(), [&](const Record& r) {
            return inteiro(r, "COD_SUBGRUPO") == subgrupo;
        });
        if (escolhido)
            continue;
        QString nome;
        for (const Acessorio& a : acessorios)
            if (a.subgrupo == subgrupo && nome.isEmpty())
                nome = a.descricaoSubgrupo;
        return RecusaItem{
            aviso(QStringLiteral("Produto sem acessório (%1-%2) obrigatório!").arg(subgrupo).arg(nome)),
            QStringLiteral("acessorios")};
    }

    // A flex order may go past the product's limits: the representative is told, the flex pays.
    const bool flex = inteiro(cabecalho, "PED_FLEX") != 0;
    if (!produto.DESC_MAX.isZero()) {
        const Decimal unitario = Decimal::divOrZero(item.TOTAL, item.QTD);
        const Decimal d =
            Decimal::divOrZero((produto.PRECO - unitario) * Decimal(100), produto.PRECO).rounded(2);
        if (d > produto.DESC_MAX) {
            const Mensagem m = aviso(QStringLiteral("Desconto de ") + br::numeroSemMilhar(d, 2) +
                                     QStringLiteral("% acima do máximo permitido!|Desconto máximo: ") +
                                     br::numeroSemMilhar(produto.DESC_MAX, 2) + QStringLiteral("%"));
            if (!flex)
                return RecusaItem{m, {}};
            avisos.push_back(m);
        }
    }

    if ((m_dados.qavcfg.BLOQUEIOS1 & QavCfg::kPrecoMinimoPauta) != 0) {
        const int padrao = m_dados.qavcfg.PRECO_PADRAO;
        const Decimal referencia = padrao >= 1 && padrao <= 3 ? produto.PRECO : produto.PREC3;
        if (item.PRUNI < referencia) {
            const Mensagem m =
                aviso(QStringLiteral("Preço de venda não pode ser menor que o preço de pauta!"));
            if (!flex)
                return RecusaItem{m, QStringLiteral("preco")};
            avisos.push_back(m);
        }
    }
    return std::nullopt;
}

QString EdicaoItem::observacaoComAcessorios() const {
    const QString texto = text::rtrim(m_item.text("OBS"));
    if (m_acessorios.empty())
        return texto.left(kTamanhoObs);
    std::vector<Acessorio> daEmpresa = acessoriosDaEmpresa(m_store, inteiro(m_pedido.pedido(), "ID_EMPRESA"));
    QStringList descricoes;
    for (const Record& linha : m_acessorios) {
        const int id = inteiro(linha, "ID_ACESSORIO");
        for (const Acessorio& a : daEmpresa)
            if (a.id == id)
                descricoes.push_back(a.descricao);
    }
    return (descricoes.join(QStringLiteral(": ")) + QStringLiteral(" # ") + texto.trimmed())
        .left(kTamanhoObs);
}

std::optional<RecusaSalvar> EdicaoItem::salvar() {
    if (somenteLeitura())
        return RecusaSalvar{aviso(kTransmitido)};
    Mensagens avisos;
    if (const std::optional<RecusaItem> recusa = verificar(avisos))
        return RecusaSalvar{recusa->mensagem};

    const QString obs = observacaoComAcessorios();
    const int produto = inteiro(m_item, "PRODU");
    std::vector<ItemEmEdicao>& itens = m_pedido.itens();
    for (std::size_t i = 0; i < itens.size(); ++i) {
        if (static_cast<int>(i) == m_indice)
            continue;
        if (inteiro(itens[i].item, "PRODU") == produto && mesmaObservacao(itens[i].item.text("OBS"), obs))
            return RecusaSalvar{{{}, kChaveItem}, true};
    }

    Record gravado = m_item;
    try {
        gravado.setText("OBS", obs);
        gravado.setInteger("ID_VENDA", inteiro(m_pedido.pedido(), "ID"));
    } catch (const FieldValueError& erro) {
        return RecusaSalvar{{QStringLiteral("Erro"), QString::fromStdString(erro.what())}};
    }
    std::vector<Record> acessorios = m_acessorios;
    for (Record& linha : acessorios)
        linha.setInteger("ID_VENDASI", inteiro(gravado, "ID_VENDASI"));

    if (novoItem()) {
        itens.push_back({gravado, acessorios});
        novo();
    } else {
        itens[static_cast<std::size_t>(m_indice)] = {gravado, acessorios};
        abrir(m_indice);
    }
    m_pedido.itensAlterados();
    return std::nullopt;
}

} // namespace qav
