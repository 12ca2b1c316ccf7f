#include "tools/qavtool/EntradaCalculo.h"

#include "tools/qavtool/JsonExato.h"

#include "orders/core/CamposPedido.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <limits>
#include <type_traits>

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

// One row of a reference table or of the order: every member its mapping names, read by the kind of
// its field (a decimal field rounded to its scale, a real64 field exact).
template <typename S> S ler(const Leitor& l) {
    S linha;
    qav::campos<S>().paraCada(linha, [&l](const qav::CampoTabela& campo, auto& valor) {
        using T = std::remove_reference_t<decltype(valor)>;
        if constexpr (std::is_same_v<T, int>)
            valor = l.inteiro(campo.nome);
        else if constexpr (std::is_same_v<T, Decimal>)
            valor = l.decimal(campo.nome, campo.escala);
        else
            valor = l.texto(campo.nome);
    });
    return linha;
}

// Whether the object names the field of `membro` at all: a row without its company or price list
// counts as the order's.
template <typename S> bool tem(const Leitor& l, int S::*membro) {
    return l.tem(qav::campos<S>().nome(membro));
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
    e.pedido = ler<qav::Pedido>(Leitor(objeto(raiz, "pedido"), QStringLiteral("pedido")));
    const int empresa = e.pedido.ID_EMPRESA;

    paraCada(raiz, "itens", [&](const Leitor& l) { e.itens.push_back(ler<qav::PedidoItem>(l)); });
    paraCada(raiz, "produtos", [&](const Leitor& l) {
        const qav::Produto p = ler<qav::Produto>(l);
        // Rows of another company are not the order's.
        if (!tem(l, &qav::Produto::ID_EMPRESA) || p.ID_EMPRESA == empresa)
            e.dados.adicionarProduto(p);
    });
    e.dados.cliente = ler<qav::Cliente>(Leitor(objeto(raiz, "cliente"), QStringLiteral("cliente")));
    e.dados.municipio = ler<qav::Municipio>(Leitor(objeto(raiz, "municipio"), QStringLiteral("municipio")));
    e.dados.vendedor = ler<qav::Vendedor>(Leitor(objeto(raiz, "vendedor"), QStringLiteral("vendedor")));
    bool presente = false;
    const QJsonObject formaPag = objeto(raiz, "formapag", &presente);
    if (presente)
        e.dados.formaPag = ler<qav::FormaPag>(Leitor(formaPag, QStringLiteral("formapag")));
    const QJsonObject pauta = objeto(raiz, "pauta", &presente);
    if (presente)
        e.dados.pauta = ler<qav::Pauta>(Leitor(pauta, QStringLiteral("pauta")));
    e.dados.qavcfg = ler<qav::QavCfg>(Leitor(objeto(raiz, "qavcfg"), QStringLiteral("qavcfg")));
    e.dados.empresa = ler<qav::Empresa>(Leitor(objeto(raiz, "empresa"), QStringLiteral("empresa")));

    paraCada(raiz, "pauxpro", [&](const Leitor& l) {
        const qav::PautaProduto linha = ler<qav::PautaProduto>(l);
        if (!tem(l, &qav::PautaProduto::ID_PAUTA) || (e.dados.pauta && linha.ID_PAUTA == e.dados.pauta->ID))
            e.dados.adicionarPautaProduto(linha);
    });
    paraCada(raiz, "sticms", [&](const Leitor& l) {
        qav::StIcms s = ler<qav::StIcms>(l);
        if (!tem(l, &qav::StIcms::ID_EMPRESA))
            s.ID_EMPRESA = empresa;
        e.dados.stIcms.push_back(s);
    });
    paraCada(raiz, "cfgsis", [&](const Leitor& l) { e.dados.cfgSis.push_back(ler<qav::CfgSis>(l)); });
    paraCada(raiz, "cstfrete", [&](const Leitor& l) { e.dados.cstFrete.push_back(ler<qav::CstFrete>(l)); });
    paraCada(raiz, "outros_pedidos", [&](const Leitor& l) { e.outros.push_back(ler<qav::OutroPedido>(l)); });

    const Leitor leitorRaiz(raiz, QString());
    e.analise = leitorRaiz.logico("analise");
    if (leitorRaiz.tem("acrescimo_anterior"))
        e.acrescimoAnterior = leitorRaiz.decimal("acrescimo_anterior", qav::escala<&qav::FormaPag::ACRESC>());
    return e;
}

} // namespace qavtool
