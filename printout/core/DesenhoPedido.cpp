#include "printout/core/DesenhoPedido.h"

#include "printout/core/Formatos.h"
#include "printout/core/Leiaute.h"
#include "printout/core/Pagina.h"
#include "store/core/FormatoBr.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

namespace qav::impressao {

namespace {

constexpr double kMargem = 10;      // mm around the page
constexpr double kRodapePagina = 6; // page number band
constexpr double kAlturaCaixa = 9.5;
constexpr double kFolga = 1.2; // padding inside cells
constexpr double kAlturaLogo = 18;
constexpr double kLarguraNumero = 52; // the box of the order number and date
// The issuer's name shrinks down to this size before it takes a second line.
constexpr double kMenorNomeEmitente = 9;

// One thing in the flow of the pages below the header, and what it needs vertically.
struct Bloco {
    enum Tipo { Cliente, Item, TituloNota, LinhaNota, Fechamento } tipo;
    double altura = 0;
    int indice = 0; // item, or line of the notes
};

class Desenho {
public:
    Desenho(QPainter& painter, const DocumentoPedido& documento, const Leiaute& leiaute)
        : m_p(painter), m_pg(painter), m_d(documento), m_l(leiaute) {
        larguraColunas();
        // The logo is read once for the whole document: every page draws the same image, which the
        // PDF then holds once however many pages there are.
        if (!m_l.logo.isEmpty())
            m_logo = QImage(m_l.logo);
        if (!m_logo.isNull()) {
            m_tamanhoLogo = QSizeF(m_logo.size()).scaled(QSizeF(38, kAlturaLogo), Qt::KeepAspectRatio);
            m_xEmitente = m_tamanhoLogo.width() + 4;
        }
        linhasEmitente();
    }

    int desenhar(QPagedPaintDevice& destino) {
        const std::vector<Bloco> fluxo = blocos();
        const std::vector<std::vector<std::pair<Bloco, double>>> paginas = paginar(fluxo);
        const int total = static_cast<int>(paginas.size());
        for (int n = 0; n < total; ++n) {
            if (n > 0)
                destino.newPage();
            const double topo = cabecalho();
            bool tituloTabela = false;
            for (const auto& [bloco, y] : paginas[static_cast<size_t>(n)]) {
                double yy = topo + y;
                if (bloco.tipo == Bloco::Item && !tituloTabela) {
                    desenharTituloTabela(yy - alturaTituloTabela());
                    tituloTabela = true;
                }
                desenharBloco(bloco, yy);
            }
            rodapePagina(n + 1, total);
        }
        return total;
    }

private:
    // ---- measuring and paginating
    void larguraColunas() {
        double fixas = 0;
        for (const Coluna& c : m_l.colunas)
            fixas += c.largura;
        m_larguras.clear();
        for (const Coluna& c : m_l.colunas)
            m_larguras.push_back(c.largura > 0 ? c.largura : std::max(30.0, m_pg.largura() - fixas));
    }

    double alturaTituloTabela() const { return 2 * m_pg.linha(m_pg.fonteTitulo()) + 2 * kFolga; }

    QStringList linhasDescricao(const ItemImpresso& item) const {
        for (size_t c = 0; c < m_l.colunas.size(); ++c)
            if (!m_l.colunas[c].numero && m_l.colunas[c].largura == 0)
                return m_pg.quebrar(item.descricao, m_pg.fonteCorpo(), m_larguras[c] - 2 * kFolga);
        return {item.descricao};
    }

    double alturaItem(const ItemImpresso& item) const {
        double h =
            static_cast<double>(linhasDescricao(item).size()) * m_pg.linha(m_pg.fonteCorpo()) + 2 * kFolga;
        if (!item.acessorios.isEmpty())
            h += static_cast<double>(
                     m_pg.quebrar(item.acessorios, m_pg.fonteNota(), m_pg.largura() - 12).size()) *
                 m_pg.linha(m_pg.fonteNota());
        return h;
    }

    double alturaCaixas(const std::vector<LinhaCaixas>& linhas) const {
        double h = 0;
        for (const LinhaCaixas& l : linhas)
            h += alturaLinhaCaixas(l);
        return h;
    }

    double alturaLinhaCaixas(const LinhaCaixas& linha) const {
        int maior = 1;
        for (const Caixa& c : linha)
            maior = std::max(maior, static_cast<int>(c.valor.count(QLatin1Char('\n'))) + 1);
        return kAlturaCaixa + (maior - 1) * m_pg.linha(m_pg.fonteCorpo());
    }

    double alturaFechamento() const {
        double h = 2 + alturaCaixas(m_l.totais) + 2 + alturaCaixas(m_l.rodape);
        if (m_l.vistos)
            h += 2 + 16 + 2 + m_pg.linha(m_pg.fonteTitulo()) + 2;
        return h;
    }

    // The notes after the items: the order's observation, then the delivery one, each with a title,
    // broken into lines that may continue on the next page.
    void prepararNotas() {
        m_notas.clear();
        const auto nota = [this](const QString& titulo, const QString& texto) {
            if (texto.trimmed().isEmpty())
                return;
            m_notas.push_back({true, titulo});
            for (const QString& l : m_pg.quebrar(texto, m_pg.fonteCorpo(), m_pg.largura() - 2 * kFolga))
                m_notas.push_back({false, l});
        };
        nota(QStringLiteral("Observação:"), m_d.observacao);
        nota(QStringLiteral("Observação Entrega:"), m_d.observacaoEntrega);
    }

    std::vector<Bloco> blocos() {
        std::vector<Bloco> fluxo;
        fluxo.push_back({Bloco::Cliente, alturaCaixas(m_l.cliente) + 3, 0});
        for (size_t i = 0; i < m_d.itens.size(); ++i)
            fluxo.push_back({Bloco::Item, alturaItem(m_d.itens[i]), static_cast<int>(i)});
        prepararNotas();
        for (size_t n = 0; n < m_notas.size(); ++n) {
            const bool titulo = m_notas[n].titulo;
            fluxo.push_back({titulo ? Bloco::TituloNota : Bloco::LinhaNota,
                             m_pg.linha(titulo ? m_pg.fonteTitulo() : m_pg.fonteCorpo()) + (titulo ? 2.5 : 0),
                             static_cast<int>(n)});
        }
        fluxo.push_back({Bloco::Fechamento, alturaFechamento(), 0});
        return fluxo;
    }

    // Places the blocks page by page: an item carries the table heading on a page it opens, a note
    // title stays with its first line, and the totals and footer stay together.
    std::vector<std::vector<std::pair<Bloco, double>>> paginar(const std::vector<Bloco>& fluxo) const {
        const double util = m_pg.altura() - alturaCabecalho() - kRodapePagina;
        std::vector<std::vector<std::pair<Bloco, double>>> paginas(1);
        double y = 0;
        bool tabelaNaPagina = false;
        for (size_t b = 0; b < fluxo.size(); ++b) {
            const Bloco& bloco = fluxo[b];
            // A gap between the table and what follows it on the same page.
            double folga = bloco.tipo != Bloco::Item && b > 0 && fluxo[b - 1].tipo == Bloco::Item ? 2 : 0;
            double precisa = folga + bloco.altura;
            if (bloco.tipo == Bloco::Item && !tabelaNaPagina)
                precisa += alturaTituloTabela();
            if (bloco.tipo == Bloco::TituloNota && b + 1 < fluxo.size())
                precisa += fluxo[b + 1].altura;
            if (y + precisa > util && y > 0) {
                paginas.emplace_back();
                y = 0;
                folga = 0;
                tabelaNaPagina = false;
            }
            if (bloco.tipo == Bloco::Item && !tabelaNaPagina) {
                y += alturaTituloTabela();
                tabelaNaPagina = true;
            }
            y += folga;
            paginas.back().emplace_back(bloco, y);
            y += bloco.altura;
        }
        return paginas;
    }

    // ---- drawing
    // The issuer's name and address lines beside the logo, whole: the name shrinks and then wraps, the
    // address lines wrap.
    void linhasEmitente() {
        const double w = m_pg.largura() - kLarguraNumero - m_xEmitente - 2;
        m_emitente.clear();
        const QFont nome = m_pg.reduzida(m_d.emitente.nome, m_pg.fonteEmitente(), w, kMenorNomeEmitente);
        for (const QString& l : m_pg.quebrar(m_d.emitente.nome, nome, w))
            m_emitente.push_back({l, nome});
        for (const QString& linha : m_l.linhasEmitente)
            for (const QString& l : m_pg.quebrar(linha, m_pg.fonteCorpo(), w))
                m_emitente.push_back({l, m_pg.fonteCorpo()});
    }

    double alturaCabecalho() const {
        double h = 0;
        for (const auto& [texto, fonte] : m_emitente)
            h += m_pg.linha(fonte);
        return std::max(22.0, h) + 4;
    }

    // The issuer with its logo on the left, the order number and date boxed on the right.
    double cabecalho() {
        const double h = alturaCabecalho() - 4;
        if (!m_logo.isNull())
            m_p.drawImage(m_pg.retangulo(0, 0, m_tamanhoLogo.width(), m_tamanhoLogo.height()), m_logo);
        double y = 0;
        for (const auto& [texto, fonte] : m_emitente) {
            m_pg.textoReduzido(m_xEmitente, y, m_pg.largura() - kLarguraNumero - m_xEmitente - 2, texto,
                               fonte);
            y += m_pg.linha(fonte);
        }
        const double larguraNumero = kLarguraNumero;
        const double xn = m_pg.largura() - larguraNumero;
        m_pg.moldura(xn, 0, larguraNumero, h, true);
        const double meio = h / 2;
        m_pg.rotulo(xn + kFolga, kFolga, m_l.tituloNumero);
        m_pg.textoDireita(xn, kFolga + m_pg.linha(m_pg.fonteRotulo()), larguraNumero - 2 * kFolga,
                          formato::nove(m_d.numero), m_pg.fonteEmitente());
        m_pg.rotulo(xn + kFolga, meio + kFolga, QStringLiteral("Data:"));
        m_pg.textoDireita(xn, meio + kFolga + m_pg.linha(m_pg.fonteRotulo()), larguraNumero - 2 * kFolga,
                          br::data(m_d.data), m_pg.fonteTitulo());
        m_pg.linhaHorizontal(0, m_pg.largura(), h + 2, 0.4);
        return alturaCabecalho();
    }

    void rodapePagina(int pagina, int total) {
        const double y = m_pg.altura() - kRodapePagina + 2;
        m_pg.linhaHorizontal(0, m_pg.largura(), y - 1, 0.2);
        m_pg.textoReduzido(0, y, 120,
                           QStringLiteral("Pedido ") + formato::nove(m_d.numero) + QStringLiteral(" - ") +
                               m_d.emitente.nome,
                           m_pg.fonteNota());
        m_pg.textoDireita(0, y, m_pg.largura(), QStringLiteral("Página %1 de %2").arg(pagina).arg(total),
                          m_pg.fonteNota());
    }

    double desenharCaixas(const std::vector<LinhaCaixas>& linhas, double y) {
        for (const LinhaCaixas& linha : linhas) {
            const double h = alturaLinhaCaixas(linha);
            double pesos = 0;
            for (const Caixa& c : linha)
                pesos += c.peso;
            double x = 0;
            for (const Caixa& c : linha) {
                const double w = m_pg.largura() * c.peso / pesos;
                if (!c.rotulo.isEmpty() || !c.valor.isEmpty()) {
                    m_pg.moldura(x, y, w, h, false);
                    m_pg.rotulo(x + kFolga, y + 0.6, c.rotulo);
                    const QFont& fonte = c.destaque ? m_pg.fonteTitulo() : m_pg.fonteCorpo();
                    const double yv = y + 0.6 + m_pg.linha(m_pg.fonteRotulo());
                    if (c.numero)
                        m_pg.numero(x + kFolga, yv, w - 2 * kFolga, c.valor, fonte);
                    else {
                        double yl = yv;
                        for (const QString& l : c.valor.split(QLatin1Char('\n'))) {
                            m_pg.texto(x + kFolga, yl, w - 2 * kFolga, l, fonte);
                            yl += m_pg.linha(fonte);
                        }
                    }
                }
                x += w;
            }
            y += h;
        }
        return y;
    }

    void desenharTituloTabela(double y) {
        const double h = alturaTituloTabela();
        m_pg.faixa(0, y, m_pg.largura(), h);
        double x = 0;
        for (size_t c = 0; c < m_l.colunas.size(); ++c) {
            const Coluna& col = m_l.colunas[c];
            const QStringList partes = col.titulo.split(QLatin1Char('\n'));
            double yl = y + kFolga + (partes.size() == 1 ? m_pg.linha(m_pg.fonteTitulo()) / 2 : 0);
            for (const QString& parte : partes) {
                if (col.numero)
                    m_pg.textoDireita(x + kFolga, yl, m_larguras[c] - 2 * kFolga, parte, m_pg.fonteTitulo());
                else
                    m_pg.textoReduzido(x + kFolga, yl, m_larguras[c] - 2 * kFolga, parte, m_pg.fonteTitulo());
                yl += m_pg.linha(m_pg.fonteTitulo());
            }
            x += m_larguras[c];
        }
    }

    void desenharItem(const ItemImpresso& item, double y) {
        double x = 0;
        const double linha = m_pg.linha(m_pg.fonteCorpo());
        const QStringList descricao = linhasDescricao(item);
        for (size_t c = 0; c < m_l.colunas.size(); ++c) {
            const Coluna& col = m_l.colunas[c];
            const double w = m_larguras[c] - 2 * kFolga;
            if (col.numero)
                m_pg.numero(x + kFolga, y + kFolga, w, col.valor(item), m_pg.fonteCorpo());
            else if (col.largura == 0) {
                double yl = y + kFolga;
                for (const QString& l : descricao) {
                    m_pg.texto(x + kFolga, yl, w, l, m_pg.fonteCorpo());
                    yl += linha;
                }
            } else // codes and units: whole, smaller when they do not fit
                m_pg.textoReduzido(x + kFolga, y + kFolga, w, col.valor(item), m_pg.fonteCorpo());
            x += m_larguras[c];
        }
        double yn = y + kFolga + static_cast<double>(descricao.size()) * linha;
        if (!item.acessorios.isEmpty())
            for (const QString& l : m_pg.quebrar(item.acessorios, m_pg.fonteNota(), m_pg.largura() - 12)) {
                m_pg.texto(10, yn, m_pg.largura() - 12, l, m_pg.fonteNota());
                yn += m_pg.linha(m_pg.fonteNota());
            }
        m_pg.linhaHorizontal(0, m_pg.largura(), y + alturaItem(item), 0.1);
    }

    void desenharFechamento(double y) {
        y = desenharCaixas(m_l.totais, y + 2) + 2;
        y = desenharCaixas(m_l.rodape, y);
        if (!m_l.vistos)
            return;
        y += 2;
        const double w = (m_pg.largura() - 6) / 2;
        const double h = 16;
        for (int v = 0; v < 2; ++v) {
            const double x = v * (w + 6);
            m_pg.moldura(x, y, w, h, false);
            m_pg.linhaHorizontal(x + 6, x + w - 6, y + h - 5, 0.2);
            m_pg.textoCentro(x, y + h - 4.5, w,
                             v == 0 ? QStringLiteral("Visto do Representante/Vendedor")
                                    : QStringLiteral("Visto do Cliente"),
                             m_pg.fonteRotulo());
        }
        y += h + 2;
        m_pg.textoCentro(0, y, m_pg.largura(),
                         QStringLiteral("\"CONFIRMAÇÃO DO PEDIDO SUJEITO A APROVAÇÃO DE CRÉDITO!\""),
                         m_pg.fonteTitulo());
    }

    void desenharBloco(const Bloco& bloco, double y) {
        switch (bloco.tipo) {
        case Bloco::Cliente:
            desenharCaixas(m_l.cliente, y);
            break;
        case Bloco::Item:
            desenharItem(m_d.itens[static_cast<size_t>(bloco.indice)], y);
            break;
        case Bloco::TituloNota:
            m_pg.texto(0, y + 2, m_pg.largura(), m_notas[static_cast<size_t>(bloco.indice)].texto,
                       m_pg.fonteTitulo());
            break;
        case Bloco::LinhaNota:
            m_pg.texto(kFolga, y, m_pg.largura() - 2 * kFolga,
                       m_notas[static_cast<size_t>(bloco.indice)].texto, m_pg.fonteCorpo());
            break;
        case Bloco::Fechamento:
            desenharFechamento(y);
            break;
        }
    }

    struct LinhaDeNota {
        bool titulo;
        QString texto;
    };

    QPainter& m_p;
    Pagina m_pg;
    const DocumentoPedido& m_d;
    const Leiaute& m_l;
    std::vector<double> m_larguras;
    std::vector<LinhaDeNota> m_notas;
    QImage m_logo;
    QSizeF m_tamanhoLogo;
    double m_xEmitente = 0;
    std::vector<std::pair<QString, QFont>> m_emitente;
};

} // namespace

int desenharPedido(QPagedPaintDevice& destino, const DocumentoPedido& documento, Modelo modelo,
                   const OpcoesDesenho& opcoes) {
    const Leiaute leiaute = montarLeiaute(documento, modelo, opcoes);
    if (!opcoes.manterPapel)
        destino.setPageSize(QPageSize(QPageSize::A4));
    destino.setPageOrientation(leiaute.orientacao);
    destino.setPageMargins(QMarginsF(kMargem, kMargem, kMargem, kMargem), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&destino))
        return 0;
    Desenho desenho(painter, documento, leiaute);
    const int paginas = desenho.desenhar(destino);
    painter.end();
    return paginas;
}

} // namespace qav::impressao
