#include "printout/core/DocumentoPedido.h"

#include "orders/core/ReferenciasPedido.h"
#include "store/core/StoreError.h"
#include "store/core/Table.h"
#include "store/core/Text.h"

#include <unordered_map>

namespace qav::impressao {

namespace {

constexpr int kDescricaoMaxima = 120;
constexpr int kNotaAcessoriosMaxima = 1024;

QString texto(const Record& r, const char* campo) {
    return text::rtrim(r.text(campo));
}

// Looks one row up by its key; false (and a cleared buffer) when it is not there.
bool procurar(Table& tabela, const char* chave,
              std::initializer_list<std::pair<const char*, std::int64_t>> valores) {
    tabela.clearFilter();
    tabela.clear();
    for (const auto& [campo, valor] : valores)
        tabela.rec().setInteger(campo, valor);
    if (tabela.get(chave) == Status::Ok)
        return true;
    tabela.clear();
    return false;
}

// Opens every table the printout reads; the first that fails names itself in `falha`.
bool abrir(std::initializer_list<Table*> tabelas, FalhaLeitura* falha) {
    for (Table* t : tabelas)
        if (!t->open()) {
            if (falha)
                falha->texto = QStringLiteral("Erro (%1) ao abrir %2!")
                                   .arg(t->error().number())
                                   .arg(QString::fromLatin1(t->def().fileName));
            return false;
        }
    return true;
}

Emitente lerEmitente(const Record& r) {
    return {texto(r, "NOME"), texto(r, "ENDER"), texto(r, "COMPLEMENTO"), texto(r, "BAIRR"),
            texto(r, "CEP"),  texto(r, "MUNIC"), texto(r, "UF"),          texto(r, "FONE"),
            texto(r, "FAX"),  texto(r, "EMAIL")};
}

ClienteImpresso lerCliente(const Record& r) {
    ClienteImpresso c;
    c.id = static_cast<int>(r.integer("ID"));
    c.razao = texto(r, "RAZAO");
    c.endereco = texto(r, "ENDER");
    c.numero = texto(r, "NUM_ENDERECO");
    c.complemento = texto(r, "COMPL");
    c.bairro = texto(r, "BAIRR");
    c.cep = texto(r, "CEP");
    c.cgcpf = texto(r, "CGCPF");
    c.inscricao = texto(r, "INSCR");
    c.ddd = texto(r, "DDD");
    c.telefone = texto(r, "TELEF");
    c.fax = texto(r, "FAX");
    c.email = texto(r, "E_MAIL");
    c.emailQav = texto(r, "EMAIL_QAV");
    return c;
}

// Products sold by pieces and length say how many pieces of which length.
bool vendidoPorPecas(int subcategoria) {
    return subcategoria == 1 || subcategoria == 103;
}

// The item's description: product name and item note, then the pieces and length. The name and note
// are cut so that the pieces and length always show: a cut there would print the wrong quantity.
QString descricaoDoItem(const Record& item, const Record* produto) {
    QString base;
    QString pecas;
    if (produto) {
        base = text::rtrim(texto(*produto, "NOME") + QLatin1Char(' ') + texto(item, "OBS"));
        if (vendidoPorPecas(static_cast<int>(produto->integer("SUBCATEGORIA"))))
            pecas = QStringLiteral(" (%1 PÇ x %2 MM)")
                        .arg(item.integer("QTD_PECAS"))
                        .arg(item.integer("COMPRIMENTO"));
    } else {
        base = QStringLiteral("Id # %1 do produto inválido/%2")
                   .arg(item.integer("PRODU"))
                   .arg(static_cast<int>(ErrorCode::RecordNotFound));
    }
    return text::fit(base, kDescricaoMaxima - static_cast<int>(pecas.size())) + pecas;
}

class Acessorios {
public:
    Acessorios(Table& escolhidos, Table& cadastro) : m_escolhidos(escolhidos), m_cadastro(cadastro) {}

    // "Puxadores: Puxador cromado, Trincos: Trinco simples" for the item's accessories; an accessory no
    // longer in the catalogue is left out.
    QString notaDoItem(int idVendasi) {
        QString nota;
        m_escolhidos.setFilter("ID_VENDASI = ?", {idVendasi});
        if (m_escolhidos.seekFirst("KEYID_VENDASI") == Status::Error)
            return nota;
        while (m_escolhidos.next() == Status::Ok) {
            const QString parte = descricao(static_cast<int>(m_escolhidos.rec().integer("ID_ACESSORIO")));
            if (!parte.isEmpty())
                nota += (nota.isEmpty() ? QString() : QStringLiteral(", ")) + parte;
        }
        return nota.left(kNotaAcessoriosMaxima);
    }

private:
    QString descricao(int idAcessorio) {
        auto it = m_cache.find(idAcessorio);
        if (it == m_cache.end()) {
            QString texto1;
            if (procurar(m_cadastro, "PK_ACESSORIO", {{"ID_ACESSORIO", idAcessorio}}))
                texto1 = texto(m_cadastro.rec(), "DESCR_SUBGRUPO") + QStringLiteral(": ") +
                         texto(m_cadastro.rec(), "DESCRICAO");
            it = m_cache.emplace(idAcessorio, texto1).first;
        }
        return it->second;
    }

    Table& m_escolhidos;
    Table& m_cadastro;
    std::unordered_map<int, QString> m_cache;
};

ItemImpresso lerItem(const Record& item, const Record* produto) {
    ItemImpresso i;
    i.idVendasi = static_cast<int>(item.integer("ID_VENDASI"));
    i.produtoEncontrado = produto != nullptr;
    i.descricao = descricaoDoItem(item, produto);
    i.quantidade = item.decimal("QTD");
    i.precoUnitario = item.decimal("PRUNI");
    i.descontoPercentual = item.decimal("DESCP");
    i.descontoValor = item.decimal("DESCV");
    i.total = item.decimal("TOTAL");
    i.valorDescontoTotal = item.decimal("VL_DESC_TOTAL");
    i.valorIpi = item.decimal("VL_IPI");
    i.valorIcmsSt = item.decimal("VL_ICMSST");
    i.comissao = item.decimal("COMIS");
    i.precoComIpi = item.integer("PRECO_COM_IPI") != 0;
    if (produto) {
        i.codigo = texto(*produto, "CODIGO");
        i.unidade = texto(*produto, "UNIDA");
        i.aliquotaIpi = produto->decimal("ALIQ_IPI");
        i.quantidadeVolume = produto->decimal("QTD_VOLUME");
    }
    return i;
}

// The order's money fields are stored as binary floating point; they print to the cent.
Decimal moeda(const Record& r, const char* campo) {
    return Decimal::fromDouble(r.real(campo), 2);
}

} // namespace

bool pedidoTemItens(Store& store, int idPedido) {
    Table itens(store, "peditens");
    if (!itens.open())
        return false;
    itens.clear();
    itens.rec().setInteger("ID_VENDA", idPedido);
    if (itens.seek("KEYORDEM", 1) != Status::Ok)
        return false;
    return itens.next() == Status::Ok && itens.rec().integer("ID_VENDA") == idPedido;
}

std::optional<DocumentoPedido> lerDocumento(Store& store, int idPedido, OrdemItens ordem,
                                            FalhaLeitura* falha) {
    Table pedidos(store, "pedidos");
    Table clientes(store, "clientes");
    Table municipios(store, "municip");
    Table empresas(store, "empresa");
    Table vendedores(store, "vendedor");
    Table formas(store, "formapag");
    Table pautas(store, "pauta");
    Table itens(store, "peditens");
    Table produtos(store, "produto");
    Table escolhidos(store, "pedacess");
    Table acessorios(store, "acessori");
    if (!abrir({&pedidos, &clientes, &municipios, &empresas, &vendedores, &formas, &pautas, &itens, &produtos,
                &escolhidos, &acessorios},
               falha))
        return std::nullopt;

    if (!procurar(pedidos, "KEYID", {{"ID", idPedido}})) {
        if (falha)
            falha->texto = QStringLiteral("Pedido %1 não encontrado!").arg(idPedido);
        return std::nullopt;
    }
    const Record& v = pedidos.rec();
    DocumentoPedido d;
    d.id = idPedido;
    d.idEmpresa = static_cast<int>(v.integer("ID_EMPRESA"));
    d.numero = static_cast<int>(v.integer("NUMER"));
    d.data = v.date("DATA");
    d.contato = texto(v, "CONTA");
    d.fconta = static_cast<int>(v.integer("FCONTA"));
    d.codPauta = static_cast<int>(v.integer("COD_PAUTA"));
    d.totalProdutos = moeda(v, "TOTPR");
    d.ipi = moeda(v, "IPI");
    d.frete = moeda(v, "FRETE");
    d.total = moeda(v, "TOTAL");
    d.desconto = moeda(v, "DESCV");
    d.descontoPercentual = moeda(v, "DESCP");
    d.icmsSt = v.decimal("VL_ICMSST");
    d.pesoBruto = v.decimal("PESO_BRUTO");
    d.volumeM3 = v.decimal("VOL_M3");
    d.observacao = texto(v, "OBS");
    d.observacaoEntrega = texto(v, "OBS_ENTREGA");
    const auto codigoVendedor = v.integer("COD_VENDEDOR");
    const auto codigoForma = v.integer("COD_FORMAPAG");
    const auto idCliente = v.integer("CLIEN");
    const auto idTransportador = v.integer("TRANSP");
    const auto tipo = v.integer("TIPOV");

    if (procurar(clientes, "KEYID", {{"ID", idCliente}})) {
        d.cliente = lerCliente(clientes.rec());
        if (procurar(municipios, "KEYID", {{"ID", clientes.rec().integer("ID_MUNICIPIO")}})) {
            d.cliente.municipio = texto(municipios.rec(), "NOME");
            d.cliente.estado = texto(municipios.rec(), "ESTADO");
        }
    }
    if (procurar(empresas, "KEYID", {{"ID_EMPRESA", d.idEmpresa}}))
        d.emitente = lerEmitente(empresas.rec());
    if (procurar(vendedores, "KEYCODIGO", {{"CODIGO", codigoVendedor}, {"ID_EMPRESA", d.idEmpresa}}))
        d.vendedor = texto(vendedores.rec(), "NOME");
    if (procurar(formas, "KEYCODIGO", {{"CODIGO", codigoForma}, {"ID_EMPRESA", d.idEmpresa}}))
        d.formaPagamento = texto(formas.rec(), "DESCR");
    if (procurar(pautas, "KEYCODIGO", {{"CODIGO", d.codPauta}, {"ID_EMPRESA", d.idEmpresa}}))
        d.pauta = texto(pautas.rec(), "DESCRICAO");

    if (idTransportador != 0)
        d.transportador =
            text::rtrim(referencias::nomeTransportador(store, static_cast<int>(idTransportador)));
    bool daTabela = false;
    for (const referencias::Opcao& opcao : referencias::tiposPedido(store, daTabela))
        if (opcao.valor == tipo)
            d.naturezaOperacao = opcao.texto;

    Acessorios notas(escolhidos, acessorios);
    itens.setFilter("ID_VENDA = ?", {idPedido});
    if (itens.seekFirst(ordem == OrdemItens::Produto ? "KEYID" : "KEYORDEM") == Status::Error) {
        if (falha)
            falha->texto = QStringLiteral("Erro (%1) ao ler itens do pedido!").arg(itens.error().number());
        return std::nullopt;
    }
    Status status;
    while ((status = itens.next()) == Status::Ok) {
        const Record& item = itens.rec();
        const bool achou =
            procurar(produtos, "KEYID", {{"ID", item.integer("PRODU")}, {"ID_EMPRESA", d.idEmpresa}});
        ItemImpresso impresso = lerItem(item, achou ? &produtos.rec() : nullptr);
        impresso.acessorios = notas.notaDoItem(impresso.idVendasi);
        d.itens.push_back(std::move(impresso));
    }
    if (status == Status::Error) {
        if (falha)
            falha->texto = QStringLiteral("Erro (%1) ao ler itens do pedido!").arg(itens.error().number());
        return std::nullopt;
    }
    return d;
}

} // namespace qav::impressao
