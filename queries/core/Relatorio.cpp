#include "queries/core/Relatorio.h"

#include "queries/core/Folhas.h"
#include "store/core/FormatoBr.h"

#include <QIODevice>
#include <QPagedPaintDevice>

namespace qav::relatorio {

namespace {

// The progress is told every so many lines: often enough for a bar that moves, seldom enough to cost
// nothing.
constexpr int kPasso = 200;

} // namespace

std::vector<double> Tabela::larguras(double total) const {
    double fixas = 0;
    for (const Coluna& c : m_colunas)
        fixas += c.largura;
    std::vector<double> l;
    for (const Coluna& c : m_colunas)
        l.push_back(c.largura > 0 ? c.largura : std::max(10.0, total - fixas));
    return l;
}

void Tabela::linha(impressao::Pagina& p, double x, double y, const QStringList& textos, const QFont& fonte,
                   bool totais, bool titulos) const {
    const std::vector<double> l = larguras(p.largura() - 2 * consulta::Folhas::kMargem);
    const size_t n = std::min(m_colunas.size(), static_cast<size_t>(textos.size()));
    for (size_t i = 0; i < n; ++i) {
        const QString& t = textos[static_cast<qsizetype>(i)];
        double largura = l[i];
        // The caption of a totals row runs over the empty columns after it, up to the first sum.
        if (totais && i == 0)
            for (size_t j = 1; j < n && textos[static_cast<qsizetype>(j)].isEmpty(); ++j)
                largura += l[j];
        if (m_colunas[i].numero && titulos)
            p.textoDireita(x + kFolga, y, l[i] - 2 * kFolga, t, fonte);
        else if (m_colunas[i].numero)
            p.numero(x + kFolga, y, l[i] - 2 * kFolga, t, fonte);
        else if (!t.isEmpty())
            p.texto(x + kFolga, y, largura - 2 * kFolga, t, fonte);
        x += l[i];
    }
}

double Tabela::titulos(impressao::Pagina& p, double x, double y) const {
    const double altura = p.linha(p.fonteTitulo()) + 2 * kFolga;
    p.faixa(x, y, p.largura() - 2 * consulta::Folhas::kMargem, altura);
    QStringList textos;
    for (const Coluna& c : m_colunas)
        textos << c.titulo;
    linha(p, x, y + kFolga, textos, p.fonteTitulo(), false, true);
    return altura;
}

ResultadoRelatorio desenhar(QPagedPaintDevice& destino, const Cabecalho& cab, Fonte& fonte, bool manterPapel,
                            const Acompanhamento& acompanhar) {
    ResultadoRelatorio r;
    if (!fonte.comecar()) {
        r.erro = fonte.erro();
        return r;
    }
    const Tabela tabela(fonte.colunas());
    const QString titulo = fonte.titulo();
    const QStringList filtros = fonte.filtros();
    consulta::Folhas folhas(
        destino, manterPapel,
        [&](impressao::Pagina& p, QPainter&, double topo) {
            const double x = consulta::Folhas::kMargem;
            const double largura = p.largura() - 2 * consulta::Folhas::kMargem;
            double y = topo;
            p.texto(x, y, largura * 0.7, cab.empresa, p.fonteEmitente());
            p.textoDireita(x, y, largura, QStringLiteral("Emissão: %1").arg(br::data(cab.emissao)),
                           p.fonteCorpo());
            y += p.linha(p.fonteEmitente());
            p.texto(x, y, largura, titulo, p.fonteTitulo());
            y += p.linha(p.fonteTitulo());
            for (const QString& f : filtros) {
                p.texto(x, y, largura, f, p.fonteCorpo());
                y += p.linha(p.fonteCorpo());
            }
            y += 1.5;
            y += tabela.titulos(p, x, y) + 1;
            return y - topo;
        },
        fonte.orientacao());
    if (!folhas.ok()) {
        r.erro = QStringLiteral("Não foi possível desenhar o relatório.");
        return r;
    }
    impressao::Pagina& p = folhas.pagina();
    const double linha = p.linha(p.fonteCorpo()) + Tabela::kFolga;
    Linha l;
    int contador = 0;
    while (fonte.proxima(l)) {
        if (acompanhar && ++contador % kPasso == 0 && !acompanhar(fonte.progresso())) {
            r.cancelado = true;
            break;
        }
        switch (l.tipo) {
        case Tipo::Detalhe:
            tabela.linha(p, folhas.esquerda(), folhas.reservar(linha), l.celulas, p.fonteCorpo());
            break;
        case Tipo::Grupo: {
            // The heading keeps at least one row of its group with it on the page.
            const double y = folhas.reservar(linha * 2.5);
            p.texto(folhas.esquerda(), y + linha * 0.6, folhas.largura(), l.celulas.value(0),
                    p.fonteTitulo());
            folhas.reservar(-linha); // the reserved row is the group's first
            break;
        }
        case Tipo::Nota:
            p.texto(folhas.esquerda() + 12, folhas.reservar(linha), folhas.largura() - 12, l.celulas.value(0),
                    p.fonteNota());
            break;
        case Tipo::Subtotal: {
            const double y = folhas.reservar(linha * 1.5);
            p.linhaHorizontal(folhas.esquerda(), folhas.esquerda() + folhas.largura(), y + 0.2, 0.15);
            tabela.linha(p, folhas.esquerda(), y + 0.4, l.celulas, p.fonteTitulo(), true);
            break;
        }
        case Tipo::Total: {
            const double y = folhas.reservar(linha * 2);
            p.linhaHorizontal(folhas.esquerda(), folhas.esquerda() + folhas.largura(), y + linha * 0.5, 0.25);
            tabela.linha(p, folhas.esquerda(), y + linha, l.celulas, p.fonteTitulo(), true);
            break;
        }
        }
    }
    if (!r.cancelado && !fonte.erro().isEmpty())
        r.erro = fonte.erro();
    r.paginas = folhas.terminar();
    if (acompanhar && r.ok())
        acompanhar(100);
    return r;
}

namespace {

QByteArray campoCsv(QString texto, bool numero) {
    if (numero)
        texto.remove(QLatin1Char('.'));
    if (texto.contains(QLatin1Char(';')) || texto.contains(QLatin1Char('"')) ||
        texto.contains(QLatin1Char('\n')) || texto.contains(QLatin1Char('\r')))
        texto =
            QLatin1Char('"') + texto.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + QLatin1Char('"');
    return texto.toUtf8();
}

QByteArray linhaCsv(const QStringList& celulas, const std::vector<Coluna>& colunas, bool titulos) {
    QByteArray saida;
    for (size_t i = 0; i < colunas.size(); ++i) {
        if (i > 0)
            saida += ';';
        saida += campoCsv(celulas.value(static_cast<qsizetype>(i)), colunas[i].numero && !titulos);
    }
    return saida + "\r\n";
}

} // namespace

ResultadoRelatorio gravarCsv(QIODevice& destino, Fonte& fonte, const Acompanhamento& acompanhar) {
    ResultadoRelatorio r;
    if (!fonte.comecar()) {
        r.erro = fonte.erro();
        return r;
    }
    const std::vector<Coluna> colunas = fonte.colunas();
    QStringList titulos;
    for (const Coluna& c : colunas)
        titulos << c.titulo;
    const auto escrever = [&](const QByteArray& bytes) {
        if (destino.write(bytes) != bytes.size() && r.erro.isEmpty())
            r.erro = QStringLiteral("Erro ao gravar o arquivo: %1").arg(destino.errorString());
        return r.erro.isEmpty();
    };
    escrever(QByteArray("\xEF\xBB\xBF") + linhaCsv(titulos, colunas, true));
    Linha l;
    int contador = 0;
    while (r.erro.isEmpty() && fonte.proxima(l)) {
        if (acompanhar && ++contador % kPasso == 0 && !acompanhar(fonte.progresso())) {
            r.cancelado = true;
            return r;
        }
        if (l.tipo == Tipo::Detalhe || l.tipo == Tipo::Total)
            escrever(linhaCsv(l.celulas, colunas, false));
    }
    if (r.erro.isEmpty())
        r.erro = fonte.erro();
    return r;
}

} // namespace qav::relatorio
