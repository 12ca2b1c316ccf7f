#include "queries/core/PedidoHistoricoImpresso.h"

#include "printout/core/Formatos.h"
#include "printout/core/Leiaute.h"
#include "queries/core/Folhas.h"
#include "store/core/FormatoBr.h"

#include <QDir>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

namespace qav::consulta {

namespace {

constexpr double kFolga = 0.8;

struct Coluna {
    QString titulo;
    double largura; // mm; 0 takes the room left
    bool numero;
};

const std::vector<Coluna>& colunas() {
    static const std::vector<Coluna> c{
        {QStringLiteral("Código"), 22, false},    {QStringLiteral("Descrição"), 0, false},
        {QStringLiteral("Quantidade"), 20, true}, {QStringLiteral("Preço Unit."), 24, true},
        {QStringLiteral("Desc. %"), 14, true},    {QStringLiteral("Total"), 24, true}};
    return c;
}

class Desenho {
public:
    Desenho(const PedidoHistoricoImpresso& d, const QString& pastaPrograma) : m_d(d) {
        if (!pastaPrograma.isEmpty())
            m_logo =
                QImage(impressao::arquivoLogo(QDir(pastaPrograma).filePath(QStringLiteral("tmp/logo2.wmf"))));
    }

    int desenhar(QPagedPaintDevice& destino, bool manterPapel) {
        Folhas folhas(destino, manterPapel, [this](impressao::Pagina& p, QPainter& pintor, double y) {
            return cabecalho(p, pintor, y);
        });
        if (!folhas.ok())
            return 0;
        impressao::Pagina& p = folhas.pagina();
        m_larguras = larguras(folhas.largura());
        const double linha = p.linha(p.fonteCorpo());
        for (const historico::Item& item : m_d.itens) {
            QString descricao = item.descricao;
            if (!item.complemento.isEmpty())
                descricao += QStringLiteral(" ") + item.complemento;
            const QStringList linhas = p.quebrar(descricao, p.fonteCorpo(), m_larguras[1] - 2 * kFolga);
            const double y = folhas.reservar(static_cast<double>(linhas.size()) * linha + kFolga);
            double x = folhas.esquerda();
            const QStringList textos{item.produtoEncontrado ? item.codigo : QString::number(item.idProduto),
                                     QString(),
                                     impressao::formato::quantidade(item.quantidade),
                                     impressao::formato::preco(item.precoUnitario),
                                     br::numero(item.desconto, 2),
                                     br::numero(historico::totalItem(item), 2)};
            for (size_t i = 0; i < colunas().size(); ++i) {
                if (i == 1) {
                    for (qsizetype n = 0; n < linhas.size(); ++n)
                        p.texto(x + kFolga, y + static_cast<double>(n) * linha, m_larguras[1] - 2 * kFolga,
                                linhas[n], p.fonteCorpo());
                } else if (colunas()[i].numero) {
                    p.numero(x + kFolga, y, m_larguras[i] - 2 * kFolga, textos[static_cast<qsizetype>(i)],
                             p.fonteCorpo());
                } else { // the code, whole: smaller when it does not fit
                    p.textoReduzido(x + kFolga, y, m_larguras[i] - 2 * kFolga,
                                    textos[static_cast<qsizetype>(i)], p.fonteCorpo());
                }
                x += m_larguras[i];
            }
        }
        const double alturaFim = 3 * p.linha(p.fonteTitulo()) + 2;
        const double y = folhas.reservar(alturaFim);
        p.linhaHorizontal(folhas.esquerda(), folhas.esquerda() + folhas.largura(), y + 1, 0.25);
        const double l = p.linha(p.fonteTitulo());
        p.texto(folhas.esquerda(), y + 2, folhas.largura() / 2,
                QStringLiteral("Itens: %1").arg(m_d.itens.size()), p.fonteTitulo());
        p.textoDireita(folhas.esquerda(), y + 2, folhas.largura(),
                       QStringLiteral("Valor Total: %1").arg(br::numero(m_d.pedido.valorTotal, 2)),
                       p.fonteTitulo());
        p.textoDireita(folhas.esquerda(), y + 2 + l, folhas.largura(),
                       QStringLiteral("Peso Total (kg): %1").arg(br::numero(m_d.pesoTotal, 3)),
                       p.fonteTitulo());
        return folhas.terminar();
    }

private:
    static std::vector<double> larguras(double total) {
        double fixas = 0;
        for (const Coluna& c : colunas())
            fixas += c.largura;
        std::vector<double> l;
        for (const Coluna& c : colunas())
            l.push_back(c.largura > 0 ? c.largura : std::max(30.0, total - fixas));
        return l;
    }

    // Label and value side by side; the width of the value.
    static void campo(impressao::Pagina& p, double x, double y, double largura, const QString& rotulo,
                      const QString& valor) {
        p.rotulo(x, y, rotulo);
        p.texto(x, y + p.linha(p.fonteRotulo()), largura, valor, p.fonteCorpo());
    }

    double cabecalho(impressao::Pagina& p, QPainter& pintor, double topo) {
        const double x = Folhas::kMargem;
        const double largura = p.largura() - 2 * Folhas::kMargem;
        const historico::Pedido& o = m_d.pedido;
        const Empresa& e = m_d.empresa;
        double y = topo;
        // The logo on the left, as tall as the company's three lines.
        const double alturaEmpresa = p.linha(p.fonteEmitente()) + 2 * p.linha(p.fonteCorpo());
        double xEmpresa = x;
        if (!m_logo.isNull()) {
            const QSizeF cabe = QSizeF(m_logo.size()).scaled(QSizeF(35, alturaEmpresa), Qt::KeepAspectRatio);
            pintor.drawImage(p.retangulo(x, y, cabe.width(), cabe.height()), m_logo);
            xEmpresa += cabe.width() + 2;
        }
        const double larguraEmpresa = largura * 0.65 - (xEmpresa - x);
        // The issuer's name and address whole, smaller when they do not fit.
        p.textoReduzido(xEmpresa, y, larguraEmpresa, e.nome, p.fonteEmitente());
        p.textoDireita(x, y, largura, QStringLiteral("Pedido %1").arg(o.numero), p.fonteEmitente());
        y += p.linha(p.fonteEmitente());
        QString endereco = e.endereco;
        if (!e.municipio.isEmpty())
            endereco += QStringLiteral(" - ") + e.municipio +
                        (e.estado.isEmpty() ? QString() : QStringLiteral("/") + e.estado);
        p.textoReduzido(xEmpresa, y, larguraEmpresa, endereco, p.fonteCorpo());
        p.textoDireita(x, y, largura, o.situacao, p.fonteTitulo());
        y += p.linha(p.fonteCorpo());
        QString documentos;
        if (!e.cnpj.isEmpty())
            documentos += QStringLiteral("CNPJ: ") + e.cnpj + QStringLiteral("   ");
        if (!e.inscricao.isEmpty())
            documentos += QStringLiteral("IE: ") + e.inscricao + QStringLiteral("   ");
        if (!e.telefone.isEmpty())
            documentos += QStringLiteral("Fone: ") + e.telefone;
        p.texto(xEmpresa, y, larguraEmpresa + largura * 0.35, documentos, p.fonteCorpo());
        y += p.linha(p.fonteCorpo()) + 1;

        // The order's numbers and dates.
        const double alturaCampo = p.linha(p.fonteRotulo()) + p.linha(p.fonteCorpo()) + 1;
        p.moldura(x, y, largura, 2 * alturaCampo + 1, false);
        const double c = largura / 6;
        const double y1 = y + 0.5;
        campo(p, x + 1, y1, c - 2, QStringLiteral("Pedido"), QString::number(o.numero));
        campo(p, x + c, y1, c - 2, QStringLiteral("Entrega"), QString::number(o.numEntrega));
        campo(p, x + 2 * c, y1, c - 2, QStringLiteral("Nota Fiscal"),
              o.numNf ? QString::number(o.numNf) : QString());
        campo(p, x + 3 * c, y1, c - 2, QStringLiteral("QAV"), o.numPedQav);
        campo(p, x + 4 * c, y1, c - 2, QStringLiteral("Situação"), o.situacao);
        campo(p, x + 5 * c, y1, c - 2, QStringLiteral("Tipo de Venda"), o.tipo);
        const double y2 = y1 + alturaCampo;
        campo(p, x + 1, y2, c - 2, QStringLiteral("Data"), br::data(o.dataPedido));
        campo(p, x + c, y2, c - 2, QStringLiteral("Prev. Fat."), br::data(o.dataPrevFatur));
        campo(p, x + 2 * c, y2, c - 2, QStringLiteral("Faturamento"), br::data(o.dataFatur));
        campo(p, x + 3 * c, y2, c - 2, QStringLiteral("Sit"), o.sitPed);
        campo(p, x + 4 * c, y2, c - 2, QStringLiteral("Contato"), o.contato);
        campo(p, x + 5 * c, y2, c - 2, QStringLiteral("Prazo"), o.prazo);
        y += 2 * alturaCampo + 2;

        // The customer.
        const Cliente& k = m_d.cliente;
        p.moldura(x, y, largura, 2 * alturaCampo + 1, false);
        const double y3 = y + 0.5;
        campo(p, x + 1, y3, largura * 0.6, QStringLiteral("Cliente"),
              o.idCliente ? QStringLiteral("%1 - %2").arg(o.idCliente).arg(k.razao) : k.razao);
        campo(p, x + largura * 0.62, y3, largura * 0.2, QStringLiteral("CNPJ/CPF"), k.documento);
        campo(p, x + largura * 0.83, y3, largura * 0.17 - 1, QStringLiteral("Telefone"), k.telefone);
        const double y4 = y3 + alturaCampo;
        QString local = k.endereco;
        if (!k.bairro.isEmpty())
            local += QStringLiteral(" - ") + k.bairro;
        campo(p, x + 1, y4, largura * 0.6, QStringLiteral("Endereço"), local);
        campo(p, x + largura * 0.62, y4, largura * 0.38 - 1, QStringLiteral("Município"),
              k.municipio + (k.estado.isEmpty() ? QString() : QStringLiteral("/") + k.estado));
        y += 2 * alturaCampo + 2;
        if (!o.obs.isEmpty()) {
            const QStringList linhas = p.quebrar(o.obs, p.fonteNota(), largura);
            for (const QString& l : linhas) {
                p.texto(x, y, largura, l, p.fonteNota());
                y += p.linha(p.fonteNota());
            }
            y += 1;
        }

        // The headings of the items.
        m_larguras = larguras(largura);
        const double alturaTitulos = p.linha(p.fonteTitulo()) + 2 * kFolga;
        p.faixa(x, y, largura, alturaTitulos);
        double xx = x;
        for (size_t i = 0; i < colunas().size(); ++i) {
            if (colunas()[i].numero)
                p.textoDireita(xx + kFolga, y + kFolga, m_larguras[i] - 2 * kFolga, colunas()[i].titulo,
                               p.fonteTitulo());
            else
                p.texto(xx + kFolga, y + kFolga, m_larguras[i] - 2 * kFolga, colunas()[i].titulo,
                        p.fonteTitulo());
            xx += m_larguras[i];
        }
        y += alturaTitulos + 1;
        return y - topo;
    }

    const PedidoHistoricoImpresso& m_d;
    QImage m_logo;
    std::vector<double> m_larguras;
};

} // namespace

std::optional<PedidoHistoricoImpresso> lerPedidoHistorico(Store& store, int idEmpresa, int idPedcon,
                                                          QString* falha) {
    PedidoHistoricoImpresso d;
    bool achou = false;
    historico::Leitura leitura = historico::lerPedido(store, idPedcon, d.pedido, achou);
    if (leitura.ok && !achou) {
        if (falha)
            *falha = QStringLiteral("Pedido não encontrado!");
        return std::nullopt;
    }
    if (leitura.ok)
        leitura = historico::lerItens(store, idEmpresa, idPedcon, d.itens);
    if (!leitura.ok) {
        if (falha)
            *falha = QStringLiteral("Erro (%1) ao ler %2!").arg(leitura.erro.number()).arg(leitura.tabela);
        return std::nullopt;
    }
    d.empresa = buscarEmpresa(store, idEmpresa);
    if (const auto c = buscarCliente(store, d.pedido.idCliente))
        d.cliente = *c;
    d.pesoTotal = historico::pesoTotal(d.itens);
    return d;
}

int desenharPedidoHistorico(QPagedPaintDevice& destino, const PedidoHistoricoImpresso& pedido,
                            bool manterPapel, const QString& pastaPrograma) {
    return Desenho(pedido, pastaPrograma).desenhar(destino, manterPapel);
}

} // namespace qav::consulta
