#include "printout/core/Leiaute.h"

#include "printout/core/FigurasModelo.h"
#include "printout/core/Formatos.h"
#include "store/core/FormatoBr.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace qav::impressao {

namespace fmt = formato;

QString arquivoLogo(const QString& nome) {
    const QFileInfo info(nome);
    if (info.isFile() && QImageReader(nome).canRead())
        return nome;
    const QDir pasta = info.absoluteDir();
    for (const QByteArray& formatoImagem : QImageReader::supportedImageFormats()) {
        const QString outro =
            pasta.filePath(info.completeBaseName() + QLatin1Char('.') + QString::fromLatin1(formatoImagem));
        if (QFileInfo(outro).isFile() && QImageReader(outro).canRead())
            return outro;
    }
    return {};
}

namespace {

QString juntar(std::initializer_list<QString> partes, const QString& separador = QStringLiteral(" ")) {
    QStringList nao;
    for (const QString& p : partes)
        if (!p.trimmed().isEmpty())
            nao << p.trimmed();
    return nao.join(separador);
}

QString telefoneCliente(const ClienteImpresso& c) {
    return c.ddd.isEmpty() ? c.telefone : QStringLiteral("(%1) %2").arg(c.ddd, c.telefone);
}

std::vector<QString> emitenteRetrato(const Emitente& e) {
    std::vector<QString> linhas{juntar({e.endereco, e.complemento, e.bairro}, QStringLiteral(" - ")),
                                juntar({fmt::cep(e.cep), e.municipio, e.uf}, QStringLiteral(" - "))};
    QString fones = QStringLiteral("Fone: ") + fmt::telefone(e.fone);
    if (!e.fax.trimmed().isEmpty())
        fones += QStringLiteral("   Fax: ") + fmt::telefone(e.fax);
    linhas.push_back(fones);
    return linhas;
}

// The landscape model's company block: address, town, then telephones and e-mail.
std::vector<QString> emitentePaisagem(const Emitente& e) {
    QString contato = QStringLiteral("Fone: ") + fmt::telefone(e.fone);
    if (!e.fax.trimmed().isEmpty())
        contato += QStringLiteral(" - FAX: ") + fmt::telefone(e.fax);
    if (!e.email.trimmed().isEmpty())
        contato += QStringLiteral(" - EMAIL: ") + e.email;
    return {juntar({e.endereco, e.complemento, e.bairro}), juntar({fmt::cep(e.cep), e.municipio, e.uf}),
            contato};
}

// The landscape model's customer address, at most 500 characters.
QString enderecoPaisagem(const ClienteImpresso& c) {
    QString fones = QStringLiteral("Fone: (%1) %2").arg(c.ddd, c.telefone);
    if (!c.fax.trimmed().isEmpty())
        fones += QStringLiteral(" - Fax ") + c.fax;
    if (!c.email.trimmed().isEmpty())
        fones += QStringLiteral(" - EMAIL: ") + c.email;
    const QString endereco = c.endereco + (c.numero.isEmpty() ? QString() : QStringLiteral(", ") + c.numero);
    return (juntar({endereco, c.complemento, c.bairro}) + QLatin1Char('\n') +
            juntar({c.cep, c.municipio, c.estado}) + QLatin1Char('\n') + fones)
        .left(500);
}

std::vector<LinhaCaixas> clienteRetrato(const DocumentoPedido& d, Modelo modelo) {
    const ClienteImpresso& c = d.cliente;
    const QString codigo = c.id == 0 ? QString() : br::digitos(c.id, 6);
    std::vector<LinhaCaixas> linhas;
    linhas.push_back({{QStringLiteral("Nome / Razão Social do Cliente"), c.razao, 4},
                      {QStringLiteral("Código do Cliente"), codigo, 1}});
    if (modelo == Modelo::RetratoComComissao)
        linhas.push_back({{QStringLiteral("Endereço"), c.endereco, 2.6},
                          {QStringLiteral("Número"), c.numero, 0.6},
                          {QStringLiteral("Complemento"), c.complemento, 1},
                          {QStringLiteral("Bairro"), c.bairro, 1.3}});
    else
        linhas.push_back({{QStringLiteral("Endereço"), c.endereco, 3.2},
                          {QStringLiteral("Complemento"), c.complemento, 1},
                          {QStringLiteral("Bairro"), c.bairro, 1.3}});
    linhas.push_back({{QStringLiteral("CEP"), c.cep, 0.8},
                      {QStringLiteral("Município"), c.municipio, 2},
                      {QStringLiteral("Estado"), c.estado, 0.5},
                      {QStringLiteral("CNPJ / CPF"), c.cgcpf, 1.5}});
    linhas.push_back({{QStringLiteral("Contato"), d.contato, 1.5},
                      {QStringLiteral("Inscr. Estadual / C. I."), c.inscricao, 1.4},
                      {QStringLiteral("Telefone"), telefoneCliente(c), 1.1},
                      {QStringLiteral("Fax"), c.fax, 1}});
    if (modelo == Modelo::RetratoComComissao)
        linhas.push_back({{QStringLiteral("E-mail"), c.emailQav, 2},
                          {QStringLiteral("Frete"), textoFrete(modelo, d.fconta), 0.8},
                          {QStringLiteral("Transportador"), d.transportador, 1.6},
                          {QStringLiteral("Natureza Operação"), d.naturezaOperacao, 1}});
    return linhas;
}

std::vector<LinhaCaixas> clientePaisagem(const DocumentoPedido& d) {
    const ClienteImpresso& c = d.cliente;
    const QString pauta =
        d.codPauta == 0 ? QString() : juntar({QString::number(d.codPauta), d.pauta}, QStringLiteral(" - "));
    return {{{QStringLiteral("Nome / Razão Social do Cliente"), c.razao, 3.2},
             {QStringLiteral("Código do Cliente"), c.id == 0 ? QString() : br::digitos(c.id, 6), 0.8},
             {QStringLiteral("CNPJ / CPF"), c.cgcpf, 1.2},
             {QStringLiteral("Inscr. Estadual / C. I."), c.inscricao, 1.2}},
            {{QStringLiteral("Endereço"), enderecoPaisagem(c), 6.4}},
            {{QStringLiteral("Contato"), d.contato, 1.4},
             {QStringLiteral("Email"), c.emailQav, 2},
             {QStringLiteral("Pauta de Preços"), pauta, 2},
             {QStringLiteral("Frete"), textoFrete(Modelo::PaisagemSemComissao, d.fconta), 1}}};
}

Caixa valor(const QString& rotulo, const QString& texto, bool destaque = false) {
    return {rotulo, texto, 1, true, destaque};
}

std::vector<Coluna> colunasRetrato(Modelo modelo) {
    std::vector<Coluna> c{
        {QStringLiteral("Quantidade"), 20, true,
         [](const ItemImpresso& i) { return fmt::quantidade(i.quantidade); }},
        {QStringLiteral("Un."), 11, false, [](const ItemImpresso& i) { return i.unidade; }},
        {QStringLiteral("Descrição do Produto"), 0, false, [](const ItemImpresso& i) { return i.descricao; }},
        {QStringLiteral("Valor\nUnitário"), 22, true,
         [](const ItemImpresso& i) { return fmt::preco(i.precoUnitario); }},
    };
    if (modelo == Modelo::RetratoComComissao)
        c.push_back({QStringLiteral("IPI"), 12, true,
                     [](const ItemImpresso& i) { return fmt::percentual(i.aliquotaIpi); }});
    else
        c.push_back({QStringLiteral("Desc."), 12, true,
                     [](const ItemImpresso& i) { return fmt::percentual(i.descontoPercentual); }});
    c.push_back({QStringLiteral("Valor\nTotal"), 24, true,
                 [](const ItemImpresso& i) { return fmt::moeda(i.total); }});
    if (modelo == Modelo::RetratoSemComissao)
        c.push_back({QStringLiteral("Valor do\nI.P.I."), 20, true,
                     [](const ItemImpresso& i) { return fmt::moeda(i.valorIpi); }});
    if (modelo == Modelo::RetratoComComissao)
        c.push_back({QStringLiteral("Com."), 12, true,
                     [](const ItemImpresso& i) { return fmt::percentual(i.comissao); }});
    return c;
}

// The landscape columns. The last item printed takes the rounding remainder of the order discount, so
// that the printed discounts add up to it (`documento` outlives the layout).
std::vector<Coluna> colunasPaisagem(const DocumentoPedido& documento) {
    const ItemImpresso* ultimo = documento.itens.empty() ? nullptr : &documento.itens.back();
    const Decimal resto = restoDescontoImpresso(documento);
    const auto linha = [ultimo, resto](const ItemImpresso& i) {
        return linhaPaisagem(i, &i == ultimo ? resto : Decimal());
    };
    return {
        // A 14-character code or a 13-digit EAN fits whole.
        {QStringLiteral("Código"), 27, false, [](const ItemImpresso& i) { return i.codigo; }},
        {QStringLiteral("Descrição do Produto"), 0, false, [](const ItemImpresso& i) { return i.descricao; }},
        {QStringLiteral("Quantidade"), 20, true,
         [](const ItemImpresso& i) { return fmt::quantidade(i.quantidade); }},
        {QStringLiteral("Unidade"), 16, false, [](const ItemImpresso& i) { return i.unidade; }},
        {QStringLiteral("Preço\nUnitário"), 22, true,
         [linha](const ItemImpresso& i) { return fmt::preco(linha(i).precoUnitario); }},
        {QStringLiteral("Valor\nDesconto"), 20, true,
         [linha](const ItemImpresso& i) { return fmt::moeda(linha(i).desconto); }},
        {QStringLiteral("Total\nLiquido"), 22, true,
         [linha](const ItemImpresso& i) { return fmt::moeda(linha(i).liquido); }},
        {QStringLiteral("IPI"), 12, true,
         [](const ItemImpresso& i) { return fmt::percentual(i.aliquotaIpi); }},
        {QStringLiteral("Valor\nIPI"), 18, true,
         [](const ItemImpresso& i) { return fmt::moeda(i.valorIpi); }},
        {QStringLiteral("ICMS-ST"), 18, true,
         [](const ItemImpresso& i) { return fmt::moeda(i.valorIcmsSt); }},
        {QStringLiteral("Preço\nFinal"), 22, true,
         [linha](const ItemImpresso& i) { return fmt::preco(linha(i).precoFinal); }},
    };
}

// The freight is part of the order's total only when the customer pays it; otherwise the box says the
// figure stands outside the total.
Caixa caixaFrete(const DocumentoPedido& d) {
    const bool fora = !freteNoTotal(d) && !d.frete.isZero();
    return valor(fora ? QStringLiteral("Frete (fora do total)") : QStringLiteral("Valor do Frete"),
                 fmt::moeda(d.frete));
}

// The ICMS-ST and the order discount are parts of the total: shown whenever the order has them.
void partesDoTotal(const DocumentoPedido& d, LinhaCaixas& linha) {
    if (!d.icmsSt.isZero())
        linha.push_back(valor(QStringLiteral("ICMS-ST"), fmt::moeda(d.icmsSt)));
    if (!d.desconto.isZero())
        linha.push_back(valor(QStringLiteral("Desconto"), fmt::moeda(d.desconto)));
}

std::vector<LinhaCaixas> totaisDoModelo(const DocumentoPedido& d, Modelo modelo) {
    const Caixa frete = caixaFrete(d);
    const Caixa produtos = valor(QStringLiteral("Total dos Produtos"), fmt::moeda(d.totalProdutos));
    // Items whose price carries the IPI have it inside "Total dos Produtos"; the order's IPI is then
    // only the IPI added on top of the prices.
    const bool ipiNoPreco = !ipiDentroDosPrecos(d).isZero();
    const Caixa ipi =
        valor(ipiNoPreco ? QStringLiteral("I.P.I. fora do preço") : QStringLiteral("Total do I.P.I."),
              fmt::moeda(d.ipi));
    const Caixa pedido = valor(QStringLiteral("Total do Pedido"), fmt::moeda(d.total), true);
    switch (modelo) {
    case Modelo::RetratoSemComissao: {
        LinhaCaixas linha{frete, produtos, ipi};
        partesDoTotal(d, linha);
        linha.push_back(pedido);
        return {linha};
    }
    case Modelo::RetratoComComissao:
        return {{valor(QStringLiteral("Peso"), br::numero(d.pesoBruto, 2)),
                 valor(QStringLiteral("Volume"), br::numero(volumesTotais(d), 0)),
                 valor(QStringLiteral("m³"), br::numero(d.volumeM3, 2)),
                 valor(QStringLiteral("Quantidade Total"), fmt::quantidade(quantidadeTotal(d)))},
                {valor(QStringLiteral("% Desconto"), fmt::percentual(d.descontoPercentual)),
                 valor(QStringLiteral("Valor do Desconto"), fmt::moeda(d.desconto)),
                 valor(QStringLiteral("Valor do ICMSST"), fmt::moeda(d.icmsSt)), Caixa{}},
                {frete, produtos, ipi, pedido}};
    case Modelo::PaisagemSemComissao: {
        const TotaisPaisagem t = totaisPaisagem(d);
        return {{valor(QStringLiteral("m³"), br::numero(d.volumeM3, 2)),
                 valor(QStringLiteral("Peso Bruto"), br::numero(d.pesoBruto, 2)),
                 valor(QStringLiteral("Volume"), br::numero(volumesTotais(d), 0)), frete,
                 valor(QStringLiteral("Total dos Produtos"), fmt::moeda(t.produtos)),
                 valor(QStringLiteral("Total do Desconto"), fmt::moeda(t.desconto)),
                 valor(QStringLiteral("Total do IPI"), fmt::moeda(t.ipi)),
                 valor(QStringLiteral("Total do ICMS-ST"), fmt::moeda(d.icmsSt)), pedido}};
    }
    case Modelo::RetratoSemIpi: {
        // Prices without IPI, except those of items whose price carries it.
        const QString nota = ipiNoPreco ? QStringLiteral("Preço (Ex IPI),\nexceto itens c/ IPI no preço")
                                        : QStringLiteral("Preço (Ex IPI)");
        LinhaCaixas linha{Caixa{QString(), nota, ipiNoPreco ? 1.6 : 1, false, true}, frete, produtos};
        partesDoTotal(d, linha);
        linha.push_back(valor(QStringLiteral("Total do Pedido"), fmt::moeda(totalSemIpi(d)), true));
        return {linha};
    }
    }
    return {};
}

} // namespace

Leiaute montarLeiaute(const DocumentoPedido& d, Modelo modelo, const OpcoesDesenho& opcoes) {
    Leiaute l;
    const QDir programa(opcoes.pastaPrograma.isEmpty() ? QDir::currentPath() : opcoes.pastaPrograma);
    if (modelo == Modelo::PaisagemSemComissao) {
        l.orientacao = QPageLayout::Landscape;
        l.logo = arquivoLogo(programa.filePath(QStringLiteral("logo%1.bmp").arg(d.idEmpresa)));
        l.tituloNumero = QStringLiteral("Nº Pedido QAV");
        l.linhasEmitente = emitentePaisagem(d.emitente);
        l.cliente = clientePaisagem(d);
        l.colunas = colunasPaisagem(d);
    } else {
        l.logo = arquivoLogo(programa.filePath(QStringLiteral("tmp/logo2.wmf")));
        l.tituloNumero = QStringLiteral("Pedido:");
        l.linhasEmitente = emitenteRetrato(d.emitente);
        l.cliente = clienteRetrato(d, modelo);
        l.colunas = colunasRetrato(modelo);
    }
    l.totais = totaisDoModelo(d, modelo);
    l.rodape = {{{QStringLiteral("Forma de Pagamento"), d.formaPagamento, 1},
                 {QStringLiteral("Representante / Vendedor"), d.vendedor, 1.4}}};
    return l;
}

} // namespace qav::impressao
