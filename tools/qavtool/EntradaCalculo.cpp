#include "tools/qavtool/EntradaCalculo.h"

#include "tools/qavtool/JsonExato.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <limits>

namespace qavtool {

using qav::Decimal;

namespace {

// Reads the fields of one JSON object; `caminho` names the object in error messages.
class Leitor {
public:
    Leitor(const QJsonObject& objeto, QString caminho) : m_objeto(objeto), m_caminho(std::move(caminho)) {}

    bool tem(const char* campo) const {
        const QJsonValue v = m_objeto.value(QLatin1String(campo));
        return !v.isUndefined() && !v.isNull();
    }

    // A decimal field stored with `escala` places (rounded half away from zero); exact when escala < 0.
    Decimal decimal(const char* campo, int escala = -1) const {
        const QJsonValue v = m_objeto.value(QLatin1String(campo));
        if (v.isUndefined() || v.isNull())
            return Decimal();
        if (!v.isString())
            throw EntradaInvalida(nome(campo) + QStringLiteral(" não é um número"));
        const std::optional<Decimal> valor = Decimal::parse(v.toString().toStdString());
        if (!valor)
            throw EntradaInvalida(nome(campo) + QStringLiteral(" não é um número: \"") + v.toString() +
                                  QLatin1Char('"'));
        return escala < 0 ? *valor : valor->rounded(escala);
    }

    int inteiro(const char* campo) const {
        const Decimal valor = decimal(campo);
        if (valor.truncated(0) != valor || valor > Decimal(std::numeric_limits<int>::max()) ||
            valor < Decimal(std::numeric_limits<int>::min()))
            throw EntradaInvalida(nome(campo) + QStringLiteral(" não é um número inteiro"));
        return static_cast<int>(valor.toInt64());
    }

    QString texto(const char* campo) const {
        const QJsonValue v = m_objeto.value(QLatin1String(campo));
        if (v.isUndefined() || v.isNull())
            return QString();
        if (!v.isString())
            throw EntradaInvalida(nome(campo) + QStringLiteral(" não é um texto"));
        return v.toString();
    }

    bool logico(const char* campo) const {
        const QJsonValue v = m_objeto.value(QLatin1String(campo));
        if (v.isUndefined() || v.isNull())
            return false;
        if (!v.isBool())
            throw EntradaInvalida(nome(campo) + QStringLiteral(" não é true nem false"));
        return v.toBool();
    }

    QString nome(const char* campo) const {
        const QString c = QString::fromLatin1(campo);
        return QStringLiteral("o campo \"") + (m_caminho.isEmpty() ? c : m_caminho + QLatin1Char('.') + c) +
               QLatin1Char('"');
    }

private:
    QJsonObject m_objeto;
    QString m_caminho;
};

QJsonObject objeto(const QJsonObject& raiz, const char* campo, bool* presente = nullptr) {
    const QJsonValue v = raiz.value(QLatin1String(campo));
    if (presente)
        *presente = v.isObject();
    if (v.isUndefined() || v.isNull())
        return {};
    if (!v.isObject())
        throw EntradaInvalida(QStringLiteral("o campo \"%1\" não é um objeto").arg(QLatin1String(campo)));
    return v.toObject();
}

// Each element of a list with its path ("itens[0]").
template <typename F> void paraCada(const QJsonObject& raiz, const char* campo, F&& f) {
    const QJsonValue v = raiz.value(QLatin1String(campo));
    if (v.isUndefined() || v.isNull())
        return;
    if (!v.isArray())
        throw EntradaInvalida(QStringLiteral("o campo \"%1\" não é uma lista").arg(QLatin1String(campo)));
    const QJsonArray lista = v.toArray();
    for (qsizetype i = 0; i < lista.size(); ++i) {
        const QString caminho = QStringLiteral("%1[%2]").arg(QLatin1String(campo)).arg(i);
        if (!lista.at(i).isObject())
            throw EntradaInvalida(QStringLiteral("o campo \"%1\" não é um objeto").arg(caminho));
        f(Leitor(lista.at(i).toObject(), caminho));
    }
}

qav::Pedido lerPedido(const Leitor& l) {
    using E = qav::Pedido::Escala;
    qav::Pedido p;
    p.ID = l.inteiro("ID");
    p.ID_EMPRESA = l.inteiro("ID_EMPRESA");
    p.NUMER = l.inteiro("NUMER");
    p.SITUA = l.inteiro("SITUA");
    p.CLIEN = l.inteiro("CLIEN");
    p.COD_FORMAPAG = l.inteiro("COD_FORMAPAG");
    p.COD_PAUTA = l.inteiro("COD_PAUTA");
    p.TIPOV = l.inteiro("TIPOV");
    p.FCONTA = l.inteiro("FCONTA");
    p.PED_FLEX = l.inteiro("PED_FLEX");
    p.DESC_CLIENTE_REDE = l.inteiro("DESC_CLIENTE_REDE");
    p.COD_LIBERACAO = l.inteiro("COD_LIBERACAO");
    p.ID_MUN_CARGA = l.inteiro("ID_MUN_CARGA");
    p.TOTPR = l.decimal("TOTPR");
    p.IPI = l.decimal("IPI");
    p.FRETE = l.decimal("FRETE");
    p.TOTAL = l.decimal("TOTAL");
    p.DESCP = l.decimal("DESCP");
    p.DESCV = l.decimal("DESCV");
    p.COMIS = l.decimal("COMIS");
    p.TX_FRETE = l.decimal("TX_FRETE", E::TX_FRETE);
    p.VL_ICMSST = l.decimal("VL_ICMSST", E::VL_ICMSST);
    p.PESO_LIQUIDO = l.decimal("PESO_LIQUIDO", E::PESO_LIQUIDO);
    p.PESO_BRUTO = l.decimal("PESO_BRUTO", E::PESO_BRUTO);
    p.VOL_M3 = l.decimal("VOL_M3", E::VOL_M3);
    p.OBS = l.texto("OBS");
    return p;
}

qav::PedidoItem lerItem(const Leitor& l) {
    using E = qav::PedidoItem::Escala;
    qav::PedidoItem i;
    i.ID_VENDASI = l.inteiro("ID_VENDASI");
    i.ID_VENDA = l.inteiro("ID_VENDA");
    i.PRODU = l.inteiro("PRODU");
    i.PRECO_COM_IPI = l.inteiro("PRECO_COM_IPI");
    i.QTD_PECAS = l.inteiro("QTD_PECAS");
    i.COMPRIMENTO = l.inteiro("COMPRIMENTO");
    i.QTD = l.decimal("QTD", E::QTD);
    i.PRUNI = l.decimal("PRUNI", E::PRUNI);
    i.DESCP = l.decimal("DESCP", E::DESCP);
    i.DESCV = l.decimal("DESCV", E::DESCV);
    i.TOTAL = l.decimal("TOTAL", E::TOTAL);
    i.VL_LIQUIDO = l.decimal("VL_LIQUIDO", E::VL_LIQUIDO);
    i.BC_IPI = l.decimal("BC_IPI", E::BC_IPI);
    i.VL_IPI = l.decimal("VL_IPI", E::VL_IPI);
    i.VL_ICMSST = l.decimal("VL_ICMSST", E::VL_ICMSST);
    i.COMIS = l.decimal("COMIS", E::COMIS);
    i.VALOR_PRODUTO = l.decimal("VALOR_PRODUTO", E::VALOR_PRODUTO);
    i.VALOR_ACESSORIOS = l.decimal("VALOR_ACESSORIOS", E::VALOR_ACESSORIOS);
    i.PRECO_PAUTA = l.decimal("PRECO_PAUTA", E::PRECO_PAUTA);
    i.PR_PAUTA_LIQ = l.decimal("PR_PAUTA_LIQ", E::PR_PAUTA_LIQ);
    i.VL_FLEX = l.decimal("VL_FLEX", E::VL_FLEX);
    i.VL_DESC_TOTAL = l.decimal("VL_DESC_TOTAL", E::VL_DESC_TOTAL);
    i.OBS = l.texto("OBS");
    return i;
}

qav::Produto lerProduto(const Leitor& l) {
    using E = qav::Produto::Escala;
    qav::Produto p;
    p.ID_EMPRESA = l.inteiro("ID_EMPRESA");
    p.ID = l.inteiro("ID");
    p.COD_ST = l.inteiro("COD_ST");
    p.PRECO_PROMOCIONAL = l.inteiro("PRECO_PROMOCIONAL");
    p.SUBCATEGORIA = l.inteiro("SUBCATEGORIA");
    p.PERMITIR_DIF_LOTE = l.inteiro("PERMITIR_DIF_LOTE");
    p.DESC_IPI_BC = l.inteiro("DESC_IPI_BC");
    p.CODIGO = l.texto("CODIGO");
    p.NOME = l.texto("NOME");
    p.UNIDA = l.texto("UNIDA");
    p.PRAZO = l.texto("PRAZO");
    p.PRAZ2 = l.texto("PRAZ2");
    p.PRAZ3 = l.texto("PRAZ3");
    p.PESOL = l.decimal("PESOL", E::PESOL);
    p.PESOB = l.decimal("PESOB", E::PESOB);
    p.VOL_M3 = l.decimal("VOL_M3", E::VOL_M3);
    p.PRECO = l.decimal("PRECO", E::PRECO);
    p.PREC2 = l.decimal("PREC2", E::PREC2);
    p.PREC3 = l.decimal("PREC3", E::PREC3);
    p.DESC_MAX = l.decimal("DESC_MAX", E::DESC_MAX);
    p.ALIQ_IPI = l.decimal("ALIQ_IPI", E::ALIQ_IPI);
    p.TAXA_COMISSAO = l.decimal("TAXA_COMISSAO", E::TAXA_COMISSAO);
    p.PESO_METRO = l.decimal("PESO_METRO", E::PESO_METRO);
    p.QTD_EMBALAGEM = l.decimal("QTD_EMBALAGEM", E::QTD_EMBALAGEM);
    p.ALIQ_PIS = l.decimal("ALIQ_PIS", E::ALIQ_PIS);
    p.ALIQ_COFINS = l.decimal("ALIQ_COFINS", E::ALIQ_COFINS);
    p.PESO_FATOR = l.decimal("PESO_FATOR", E::PESO_FATOR);
    p.LOTE_MUL_VENDA = l.decimal("LOTE_MUL_VENDA", E::LOTE_MUL_VENDA);
    p.TX_DESC_LOTE = l.decimal("TX_DESC_LOTE", E::TX_DESC_LOTE);
    return p;
}

qav::Pauta lerPauta(const Leitor& l) {
    using E = qav::Pauta::Escala;
    qav::Pauta p;
    p.ID = l.inteiro("ID");
    p.ID_EMPRESA = l.inteiro("ID_EMPRESA");
    p.CODIGO = l.inteiro("CODIGO");
    p.ATIVO = l.inteiro("ATIVO");
    p.BLOQ_DESCONTOS = l.inteiro("BLOQ_DESCONTOS");
    static const char* const kValores[] = {"VL_PEDIDO1", "VL_PEDIDO2", "VL_PEDIDO3", "VL_PEDIDO4",
                                           "VL_PEDIDO5"};
    static const char* const kTaxas[] = {"TX_DESCONTO1", "TX_DESCONTO2", "TX_DESCONTO3", "TX_DESCONTO4",
                                         "TX_DESCONTO5"};
    for (std::size_t n = 0; n < 5; ++n) {
        p.VL_PEDIDO[n] = l.decimal(kValores[n], E::VL_PEDIDO);
        p.TX_DESCONTO[n] = l.decimal(kTaxas[n], E::TX_DESCONTO);
    }
    return p;
}

qav::PautaProduto lerPautaProduto(const Leitor& l) {
    using E = qav::PautaProduto::Escala;
    qav::PautaProduto p;
    p.ID_PAUTA = l.inteiro("ID_PAUTA");
    p.ID_PROD = l.inteiro("ID_PROD");
    p.PRECO1 = l.decimal("PRECO1", E::PRECO);
    p.PRECO2 = l.decimal("PRECO2", E::PRECO);
    p.PRECO3 = l.decimal("PRECO3", E::PRECO);
    p.VALOR_PAUTA_ICMS_ST = l.decimal("VALOR_PAUTA_ICMS_ST", E::VALOR_PAUTA_ICMS_ST);
    p.DIVISOR = l.decimal("DIVISOR", E::DIVISOR);
    p.TX_COMISSAO = l.decimal("TX_COMISSAO", E::TX_COMISSAO);
    return p;
}

qav::FormaPag lerFormaPag(const Leitor& l) {
    using E = qav::FormaPag::Escala;
    qav::FormaPag f;
    f.ID_FORMAPAG = l.inteiro("ID_FORMAPAG");
    f.ID_EMPRESA = l.inteiro("ID_EMPRESA");
    f.CODIGO = l.inteiro("CODIGO");
    f.LIBERA_CREDITO = l.inteiro("LIBERA_CREDITO");
    f.DESCO = l.decimal("DESCO", E::DESCO);
    f.ACRESC = l.decimal("ACRESC", E::ACRESC);
    return f;
}

qav::Cliente lerCliente(const Leitor& l) {
    qav::Cliente c;
    c.ID = l.inteiro("ID");
    c.PESSO = l.inteiro("PESSO");
    c.CONSFINAL = l.inteiro("CONSFINAL");
    c.ID_MUNICIPIO = l.inteiro("ID_MUNICIPIO");
    c.INDICADOR_IE = l.inteiro("INDICADOR_IE");
    c.DESC_CLIENTE_REDE = l.inteiro("DESC_CLIENTE_REDE");
    c.ID_REGIAO = l.inteiro("ID_REGIAO");
    c.ST_ESPECIFICA = l.texto("ST_ESPECIFICA");
    c.LIMCRED = l.decimal("LIMCRED");
    return c;
}

qav::Vendedor lerVendedor(const Leitor& l) {
    using E = qav::Vendedor::Escala;
    qav::Vendedor v;
    v.ID_EMPRESA = l.inteiro("ID_EMPRESA");
    v.CODIGO = l.inteiro("CODIGO");
    v.ORIGEM_COM = l.inteiro("ORIGEM_COM");
    v.TAXA_COMISSAO = l.decimal("TAXA_COMISSAO", E::TAXA_COMISSAO);
    v.TX_DESCMAX = l.decimal("TX_DESCMAX", E::TX_DESCMAX);
    v.DESC_PAUTA_FLEX = l.decimal("DESC_PAUTA_FLEX", E::DESC_PAUTA_FLEX);
    v.DESC_RATEIO_COM = l.decimal("DESC_RATEIO_COM", E::DESC_RATEIO_COM);
    v.VL_PED_MINIMO = l.decimal("VL_PED_MINIMO", E::VL_PED_MINIMO);
    return v;
}

qav::QavCfg lerQavCfg(const Leitor& l) {
    qav::QavCfg q;
    q.ID_EMPRESA = l.inteiro("ID_EMPRESA");
    q.BLOQUEIOS1 = l.inteiro("BLOQUEIOS1");
    q.PRECO_PADRAO = l.inteiro("PRECO_PADRAO");
    q.PRECO_COM_IPI = l.inteiro("PRECO_COM_IPI");
    q.BLOQ_VOLUMES = l.texto("BLOQ_VOLUMES");
    q.SALDO_FLEX = l.decimal("SALDO_FLEX", qav::QavCfg::Escala::SALDO_FLEX);
    return q;
}

qav::StIcms lerStIcms(const Leitor& l) {
    using E = qav::StIcms::Escala;
    qav::StIcms s;
    s.ID_EMPRESA = l.inteiro("ID_EMPRESA");
    s.COD_ST = l.inteiro("COD_ST");
    s.CONTRIBUINTE_ICMS = l.inteiro("CONTRIBUINTE_ICMS");
    s.UF = l.texto("UF");
    s.ST_ESPECIFICA = l.texto("ST_ESPECIFICA");
    s.MODAL_BC_ICMSST = l.texto("MODAL_BC_ICMSST");
    s.PERC_BC_ICMS = l.decimal("PERC_BC_ICMS", E::PERC_BC_ICMS);
    s.ALIQ_ICMS = l.decimal("ALIQ_ICMS", E::ALIQ_ICMS);
    s.PERC_MARG_VL_ICMSST = l.decimal("PERC_MARG_VL_ICMSST", E::PERC_MARG_VL_ICMSST);
    s.ALIQ_ICMSST = l.decimal("ALIQ_ICMSST", E::ALIQ_ICMSST);
    s.PERC_RED_BC_ICMSST = l.decimal("PERC_RED_BC_ICMSST", E::PERC_RED_BC_ICMSST);
    return s;
}

} // namespace

EntradaCalculo lerEntradaCalculo(const QByteArray& json) {
    QJsonParseError erro;
    const QJsonDocument documento = QJsonDocument::fromJson(citarNumeros(json), &erro);
    if (erro.error != QJsonParseError::NoError)
        throw EntradaInvalida(QStringLiteral("JSON inválido: ") + erro.errorString());
    if (!documento.isObject())
        throw EntradaInvalida(QStringLiteral("JSON inválido: a entrada não é um objeto"));
    const QJsonObject raiz = documento.object();

    EntradaCalculo e;
    e.pedido = lerPedido(Leitor(objeto(raiz, "pedido"), QStringLiteral("pedido")));
    const int empresa = e.pedido.ID_EMPRESA;
    // Rows of another company are not the order's; a row without a company counts as the order's.
    const auto daEmpresa = [empresa](const Leitor& l, int idEmpresa) {
        return !l.tem("ID_EMPRESA") || idEmpresa == empresa;
    };

    paraCada(raiz, "itens", [&](const Leitor& l) { e.itens.push_back(lerItem(l)); });
    paraCada(raiz, "produtos", [&](const Leitor& l) {
        const qav::Produto p = lerProduto(l);
        if (daEmpresa(l, p.ID_EMPRESA))
            e.dados.adicionarProduto(p);
    });
    e.dados.cliente = lerCliente(Leitor(objeto(raiz, "cliente"), QStringLiteral("cliente")));
    const QJsonObject municipio = objeto(raiz, "municipio");
    const Leitor leitorMunicipio(municipio, QStringLiteral("municipio"));
    e.dados.municipio.ID = leitorMunicipio.inteiro("ID");
    e.dados.municipio.ESTADO = leitorMunicipio.texto("ESTADO");
    e.dados.vendedor = lerVendedor(Leitor(objeto(raiz, "vendedor"), QStringLiteral("vendedor")));
    bool presente = false;
    const QJsonObject formaPag = objeto(raiz, "formapag", &presente);
    if (presente)
        e.dados.formaPag = lerFormaPag(Leitor(formaPag, QStringLiteral("formapag")));
    const QJsonObject pauta = objeto(raiz, "pauta", &presente);
    if (presente)
        e.dados.pauta = lerPauta(Leitor(pauta, QStringLiteral("pauta")));
    e.dados.qavcfg = lerQavCfg(Leitor(objeto(raiz, "qavcfg"), QStringLiteral("qavcfg")));
    const Leitor leitorEmpresa(objeto(raiz, "empresa"), QStringLiteral("empresa"));
    e.dados.empresa.ID_EMPRESA = leitorEmpresa.inteiro("ID_EMPRESA");
    e.dados.empresa.ADIC_COMISSAO = leitorEmpresa.inteiro("ADIC_COMISSAO");

    paraCada(raiz, "pauxpro", [&](const Leitor& l) {
        const qav::PautaProduto linha = lerPautaProduto(l);
        if (!l.tem("ID_PAUTA") || (e.dados.pauta && linha.ID_PAUTA == e.dados.pauta->ID))
            e.dados.adicionarPautaProduto(linha);
    });
    paraCada(raiz, "sticms", [&](const Leitor& l) {
        qav::StIcms s = lerStIcms(l);
        if (!l.tem("ID_EMPRESA"))
            s.ID_EMPRESA = empresa;
        e.dados.stIcms.push_back(s);
    });
    paraCada(raiz, "cfgsis", [&](const Leitor& l) {
        e.dados.cfgSis.push_back({l.inteiro("CODIGO"), l.inteiro("ATIVO")});
    });
    paraCada(raiz, "cstfrete", [&](const Leitor& l) {
        qav::CstFrete c;
        c.ID_REGIAO = l.inteiro("ID_REGIAO");
        c.ID_MUN_CARREG = l.inteiro("ID_MUN_CARREG");
        c.VL_CUSTO_M3 = l.decimal("VL_CUSTO_M3", qav::CstFrete::Escala::VL_CUSTO_M3);
        c.NM_REGIAO = l.texto("NM_REGIAO");
        e.dados.cstFrete.push_back(c);
    });
    paraCada(raiz, "outros_pedidos", [&](const Leitor& l) {
        e.outros.push_back({l.inteiro("ID"), l.inteiro("SITUA"), l.inteiro("PED_FLEX"),
                            l.decimal("VL_FLEX", qav::PedidoItem::Escala::VL_FLEX)});
    });

    const Leitor leitorRaiz(raiz, QString());
    e.analise = leitorRaiz.logico("analise");
    if (leitorRaiz.tem("acrescimo_anterior"))
        e.acrescimoAnterior = leitorRaiz.decimal("acrescimo_anterior", qav::FormaPag::Escala::ACRESC);
    return e;
}

} // namespace qavtool
