// qavtool calcular: recalculates an order given as JSON on standard input and writes the results as
// JSON on standard output. Decimals are written as strings with exactly the scale of their field.
#include "orders/core/AnaliseLucro.h"
#include "orders/core/CamposPedido.h"
#include "orders/core/Recalculo.h"
#include "orders/core/Repreco.h"
#include "tools/qavtool/Commands.h"
#include "tools/qavtool/EntradaCalculo.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace qavtool {

namespace {
using qav::Decimal;

// The real64 money fields of the order are held exactly; they are shown and written with two decimals.
constexpr int kCasasMoeda = 2;

QJsonValue dec(const Decimal& valor, int casas) {
    return QString::fromStdString(valor.toString(casas));
}

// A decimal member written with the scale of its field.
template <auto membro, typename S> QJsonValue campo(const S& linha) {
    return dec(linha.*membro, qav::escala<membro>());
}

QJsonObject saidaPedido(const qav::Pedido& p) {
    using P = qav::Pedido;
    QJsonObject o;
    o[QStringLiteral("TOTPR")] = dec(p.TOTPR, kCasasMoeda);
    o[QStringLiteral("DESCV")] = dec(p.DESCV, kCasasMoeda);
    o[QStringLiteral("IPI")] = dec(p.IPI, kCasasMoeda);
    o[QStringLiteral("VL_ICMSST")] = campo<&P::VL_ICMSST>(p);
    o[QStringLiteral("TOTAL")] = dec(p.TOTAL, kCasasMoeda);
    o[QStringLiteral("PESO_LIQUIDO")] = campo<&P::PESO_LIQUIDO>(p);
    o[QStringLiteral("PESO_BRUTO")] = campo<&P::PESO_BRUTO>(p);
    o[QStringLiteral("VOL_M3")] = campo<&P::VOL_M3>(p);
    return o;
}

QJsonObject saidaItem(const qav::PedidoItem& i) {
    using I = qav::PedidoItem;
    QJsonObject o;
    o[QStringLiteral("ID_VENDASI")] = i.ID_VENDASI;
    o[QStringLiteral("PRUNI")] = campo<&I::PRUNI>(i);
    o[QStringLiteral("VALOR_PRODUTO")] = campo<&I::VALOR_PRODUTO>(i);
    o[QStringLiteral("DESCV")] = campo<&I::DESCV>(i);
    o[QStringLiteral("TOTAL")] = campo<&I::TOTAL>(i);
    o[QStringLiteral("VL_DESC_TOTAL")] = campo<&I::VL_DESC_TOTAL>(i);
    o[QStringLiteral("VL_LIQUIDO")] = campo<&I::VL_LIQUIDO>(i);
    o[QStringLiteral("BC_IPI")] = campo<&I::BC_IPI>(i);
    o[QStringLiteral("VL_IPI")] = campo<&I::VL_IPI>(i);
    o[QStringLiteral("VL_ICMSST")] = campo<&I::VL_ICMSST>(i);
    o[QStringLiteral("PR_PAUTA_LIQ")] = campo<&I::PR_PAUTA_LIQ>(i);
    o[QStringLiteral("VL_FLEX")] = campo<&I::VL_FLEX>(i);
    o[QStringLiteral("COMIS")] = campo<&I::COMIS>(i);
    return o;
}

QJsonObject saidaValores(const qav::ResultadoRecalculo& r) {
    QJsonObject o;
    o[QStringLiteral("TX_DESC_PAUTA")] = dec(r.TX_DESC_PAUTA, 2);
    o[QStringLiteral("VL_FLEX")] = dec(r.flex.VL_FLEX, 2);
    o[QStringLiteral("FLEX_OUTROS_CRE")] = dec(r.flex.FLEX_OUTROS_CRE, 2);
    o[QStringLiteral("FLEX_OUTROS_DEB")] = dec(r.flex.FLEX_OUTROS_DEB, 2);
    o[QStringLiteral("SALDO_FLEX")] = dec(r.flex.SALDO_FLEX, 2);
    o[QStringLiteral("TOT_QTDADE")] = dec(r.TOT_QTDADE, 3);
    o[QStringLiteral("FATOR")] = dec(r.fator, 2);
    o[QStringLiteral("EXCESSO_COMISSAO")] = r.excessoComissao ? 1 : 0;
    return o;
}

QJsonObject saidaAnalise(const qav::AnaliseLucro& a) {
    using E = qav::LinhaAnalise::Escala;
    QJsonArray linhas;
    QJsonObject fechamento;
    for (const qav::LinhaAnalise& l : a.linhas) {
        QJsonObject o;
        o[QStringLiteral("FATOR")] = dec(l.FATOR, E::FATOR);
        o[QStringLiteral("FATOR_LIQ")] = dec(l.FATOR_LIQ, E::FATOR);
        if (l.fechamento) {
            fechamento = o;
            continue;
        }
        o[QStringLiteral("ID")] = l.ID;
        o[QStringLiteral("DESCRICAO")] = l.DESCRICAO;
        o[QStringLiteral("PRECO_UNIT")] = dec(l.PRECO_UNIT, E::PRECO_UNIT);
        o[QStringLiteral("ALIQ_ICMS")] = dec(l.ALIQ_ICMS, E::ALIQ);
        o[QStringLiteral("ALIQ_PIS")] = dec(l.ALIQ_PIS, E::ALIQ);
        o[QStringLiteral("ALIQ_COFINS")] = dec(l.ALIQ_COFINS, E::ALIQ);
        o[QStringLiteral("M3")] = dec(l.M3, E::M3);
        o[QStringLiteral("PESO")] = dec(l.PESO, E::PESO);
        linhas.append(o);
    }
    QJsonObject o;
    o[QStringLiteral("linhas")] = linhas;
    o[QStringLiteral("fechamento")] = fechamento;
    o[QStringLiteral("TT_TRIBUTOS")] = dec(a.TT_TRIBUTOS, 2);
    o[QStringLiteral("TT_FRETE")] = dec(a.TT_FRETE, 2);
    o[QStringLiteral("TT_COMISSAO")] = dec(a.TT_COMISSAO, 2);
    o[QStringLiteral("NM_REGIAO")] = a.NM_REGIAO;
    o[QStringLiteral("VL_CUSTO_M3")] = dec(a.VL_CUSTO_M3, qav::escala<&qav::CstFrete::VL_CUSTO_M3>());
    return o;
}

void erro(const QString& texto) {
    std::fputs(("qavtool calcular: " + texto.toStdString() + "\n").c_str(), stderr);
}
} // namespace

int runCalcular(int argc, char** /*argv*/) {
    if (argc != 0) {
        erro(QStringLiteral("o comando não aceita argumentos; o pedido vem em JSON na entrada"));
        return 2;
    }
    QFile entrada;
    if (!entrada.open(stdin, QIODevice::ReadOnly)) {
        erro(QStringLiteral("não foi possível ler a entrada"));
        return 2;
    }
    const QByteArray json = entrada.readAll();

    QJsonObject saida;
    try {
        EntradaCalculo e = lerEntradaCalculo(json);
        qav::ordenarItens(e.itens);
        qav::Mensagens mensagens;
        if (e.acrescimoAnterior)
            qav::reprecificarFormaPag(e.itens, e.dados, *e.acrescimoAnterior, mensagens);
        qav::ResultadoRecalculo r = qav::recalcularPedido(e.pedido, e.itens, e.dados, e.outros);
        mensagens.insert(mensagens.end(), r.mensagens.begin(), r.mensagens.end());
        if (e.analise) {
            if (const auto analise = qav::analisarLucro(e.pedido, e.itens, e.dados, mensagens))
                saida[QStringLiteral("analise")] = saidaAnalise(*analise);
        }

        saida[QStringLiteral("pedido")] = saidaPedido(e.pedido);
        QJsonArray itens;
        for (const qav::PedidoItem& item : e.itens)
            itens.append(saidaItem(item));
        saida[QStringLiteral("itens")] = itens;
        saida[QStringLiteral("valores")] = saidaValores(r);
        QJsonArray textos;
        for (const qav::Mensagem& m : mensagens)
            textos.append(m.texto);
        saida[QStringLiteral("mensagens")] = textos;
    } catch (const EntradaInvalida& e) {
        erro(QString::fromStdString(e.what()));
        return 2;
    } catch (const qav::DecimalOverflow&) {
        erro(QStringLiteral("valor fora da faixa dos campos do pedido"));
        return 2;
    }
    const QByteArray texto = QJsonDocument(saida).toJson(QJsonDocument::Indented);
    std::fwrite(texto.constData(), 1, static_cast<std::size_t>(texto.size()), stdout);
    return 0;
}

} // namespace qavtool
