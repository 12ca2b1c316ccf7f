#include "queries/core/RelatorioCtr.h"

#include "queries/core/ClienteConsulta.h"
#include "queries/core/Folhas.h"
#include "queries/core/Relatorio.h"
#include "store/core/FormatoBr.h"

#include <QPagedPaintDevice>

namespace qav::consulta {

namespace {

using relatorio::Coluna;
constexpr double kFolga = relatorio::Tabela::kFolga;

std::vector<Coluna> colunas(bool comissao) {
    std::vector<Coluna> c{{QStringLiteral("Número"), 17, false},  {QStringLiteral("Emissão"), 17, false},
                          {QStringLiteral("Vencto."), 17, false}, {QStringLiteral("Valor"), 19, true},
                          {QStringLiteral("Juros"), 14, true},    {QStringLiteral("Recebto."), 17, false},
                          {QStringLiteral("Dias"), 8, true},      {QStringLiteral("Recebido"), 19, true},
                          {QStringLiteral("Saldo"), 19, true},    {QStringLiteral("Portador"), 0, false}};
    if (comissao) {
        c.push_back({QStringLiteral("Base Com."), 17, true});
        c.push_back({QStringLiteral("% Com."), 11, true});
    }
    return c;
}

QStringList celulas(const ctr::Titulo& t, bool comissao) {
    QStringList c{t.numero,
                  br::data(t.emissao),
                  br::data(t.vencimento),
                  br::numero(t.valor, 2),
                  br::numero(t.juros, 2),
                  br::data(t.recebimento),
                  QString::number(t.dias),
                  br::numero(t.recebido, 2),
                  br::numero(t.saldo, 2),
                  t.portador};
    if (comissao)
        c << br::numero(t.baseComissao, 2) << br::numero(t.comissao, 2);
    return c;
}

QString nomeSituacao(ctr::Situacao s) {
    switch (s) {
    case ctr::Situacao::Pagas:
        return QStringLiteral("Pagas");
    case ctr::Situacao::EmAberto:
        return QStringLiteral("Em Aberto");
    case ctr::Situacao::Todas:
        break;
    }
    return QStringLiteral("Todas");
}

class Desenho {
public:
    Desenho(const RelatorioContas& r) : m_r(r), m_tabela(colunas(r.comissao)) {}

    int desenhar(QPagedPaintDevice& destino, bool manterPapel) {
        Folhas folhas(destino, manterPapel,
                      [this](impressao::Pagina& p, QPainter&, double y) { return cabecalho(p, y); });
        if (!folhas.ok())
            return 0;
        impressao::Pagina& p = folhas.pagina();
        const double linha = p.linha(p.fonteCorpo()) + kFolga;
        std::int64_t devedor = -1;
        for (const ctr::Titulo& t : m_r.titulos) {
            if (m_r.devedor == 0 && t.devedor != devedor) {
                devedor = t.devedor;
                const double y = folhas.reservar(linha * 2);
                const auto nome = m_r.clientes.find(devedor);
                p.texto(folhas.esquerda(), y + linha * 0.6, folhas.largura(),
                        QStringLiteral("Cliente: %1 - %2")
                            .arg(devedor)
                            .arg(nome == m_r.clientes.end() ? QString() : nome->second),
                        p.fonteTitulo());
            }
            linhaTabela(p, folhas.esquerda(), folhas.reservar(linha), celulas(t, m_r.comissao),
                        p.fonteCorpo());
        }
        const ctr::Totais total = ctr::totalizar(m_r.titulos);
        const double y = folhas.reservar(linha * 2 + p.linha(p.fonteTitulo()));
        p.linhaHorizontal(folhas.esquerda(), folhas.esquerda() + folhas.largura(), y + linha * 0.5, 0.25);
        QStringList totais(static_cast<qsizetype>(m_tabela.colunas().size()));
        totais[0] = QStringLiteral("Total Geral:");
        totais[3] = br::numero(total.valor, 2);
        totais[4] = br::numero(total.juros, 2);
        totais[7] = br::numero(total.recebido, 2);
        totais[8] = br::numero(total.saldo, 2);
        linhaTabela(p, folhas.esquerda(), y + linha, totais, p.fonteTitulo(), true);
        if (m_r.comissao)
            p.textoDireita(folhas.esquerda(), y + linha * 2, folhas.largura(),
                           QStringLiteral("Comissão: %1").arg(br::numero(total.comissao, 2)),
                           p.fonteTitulo());
        return folhas.terminar();
    }

private:
    void linhaTabela(impressao::Pagina& p, double x, double y, const QStringList& textos, const QFont& fonte,
                     bool totais = false) {
        m_tabela.linha(p, x, y, textos, fonte, totais);
    }

    double cabecalho(impressao::Pagina& p, double topo) {
        const double x = Folhas::kMargem;
        const double largura = p.largura() - 2 * Folhas::kMargem;
        double y = topo;
        p.texto(x, y, largura * 0.7, m_r.empresa, p.fonteEmitente());
        p.textoDireita(x, y, largura, QStringLiteral("Emissão: %1").arg(br::data(m_r.emissao)),
                       p.fonteCorpo());
        y += p.linha(p.fonteEmitente());
        p.texto(x, y, largura, QStringLiteral("Relatório de Contas a Receber"), p.fonteTitulo());
        y += p.linha(p.fonteTitulo());
        QString periodo = QStringLiteral("Vencimento: ");
        if (m_r.inicio.isValid() || m_r.fim.isValid())
            periodo += QStringLiteral("%1 a %2").arg(br::data(m_r.inicio), br::data(m_r.fim));
        else
            periodo += QStringLiteral("todos");
        periodo += QStringLiteral("    Situação: ") + nomeSituacao(m_r.situacao);
        p.texto(x, y, largura, periodo, p.fonteCorpo());
        y += p.linha(p.fonteCorpo());
        QString cliente = QStringLiteral("Cliente: ");
        if (m_r.devedor == 0) {
            cliente += QStringLiteral("todos");
        } else {
            const auto nome = m_r.clientes.find(m_r.devedor);
            cliente += QStringLiteral("%1 - %2")
                           .arg(m_r.devedor)
                           .arg(nome == m_r.clientes.end() ? QString() : nome->second);
        }
        p.texto(x, y, largura, cliente, p.fonteCorpo());
        y += p.linha(p.fonteCorpo()) + 1.5;
        y += m_tabela.titulos(p, x, y) + 1;
        return y - topo;
    }

    const RelatorioContas& m_r;
    relatorio::Tabela m_tabela;
};

} // namespace

QString conferirPeriodo(Date inicio, Date fim) {
    if (inicio.isValid() && fim.isValid() && inicio > fim)
        return QStringLiteral("Período Inicail maior que Período Final!");
    return {};
}

bool montarRelatorio(Store& store, int idEmpresa, RelatorioContas& relatorio, StoreError* erro) {
    ctr::Consulta consulta;
    consulta.idEmpresa = idEmpresa;
    consulta.devedor = relatorio.devedor;
    consulta.situacao = relatorio.situacao;
    consulta.hoje = relatorio.emissao;
    consulta.vencimentoDe = relatorio.inicio;
    consulta.vencimentoAte = relatorio.fim;
    ctr::Leitura leitura = ctr::lerTitulos(store, consulta);
    if (!leitura.ok) {
        if (erro)
            *erro = leitura.erro;
        return false;
    }
    relatorio.titulos = std::move(leitura.titulos);
    relatorio.empresa = buscarEmpresa(store, idEmpresa).nome;
    relatorio.clientes.clear();
    if (relatorio.devedor != 0)
        relatorio.clientes[relatorio.devedor] = QString();
    for (const ctr::Titulo& t : relatorio.titulos)
        relatorio.clientes[t.devedor] = QString();
    for (auto& [id, nome] : relatorio.clientes)
        if (const auto c = buscarCliente(store, id))
            nome = c->razao;
    return true;
}

int desenharRelatorioCtr(QPagedPaintDevice& destino, const RelatorioContas& relatorio, bool manterPapel) {
    return Desenho(relatorio).desenhar(destino, manterPapel);
}

} // namespace qav::consulta
