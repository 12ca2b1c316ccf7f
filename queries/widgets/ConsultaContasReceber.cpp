#include "queries/widgets/ConsultaContasReceber.h"

#include "queries/widgets/AberturaJanela.h"
#include "queries/widgets/CelulaDestaque.h"
#include "queries/widgets/EntradaCliente.h"
#include "queries/widgets/RelatorioContasReceber.h"
#include "queries/widgets/TitulosModelo.h"
#include "store/core/Clock.h"
#include "store/core/FormatoBr.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/DadosAlterados.h"
#include "ui/widgets/StandardWarningBox.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace qav {

namespace {
QLabel* valorTotal(QWidget* parent, const char* nome) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(nome));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameShape(QFrame::StyledPanel);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("999.999.999,99")) + 12);
    return l;
}
} // namespace

ConsultaContasReceber::ConsultaContasReceber(const ListContext& contexto, QWidget* parent)
    : QWidget(parent), m_contexto(contexto), m_store(std::make_unique<Store>(contexto.dataFolder)) {
    setObjectName(QStringLiteral("ConsultaCTR"));
    setWindowTitle(QStringLiteral("Contas a Receber"));
    montar();
    // A communication run brings the office's history and titles.
    connect(&DadosAlterados::instancia(), &DadosAlterados::alterados, this,
            &ConsultaContasReceber::recarregar);
    resize(1000, 560);
}

ConsultaContasReceber::~ConsultaContasReceber() = default;

void ConsultaContasReceber::montar() {
    auto* layout = new QVBoxLayout(this);
    auto* topo = new QHBoxLayout;
    m_devedor = new EntradaCliente(QStringLiteral("Devedor:"),
                                   {m_contexto.dataFolder, m_contexto.programFolder, m_contexto.idEmpresa},
                                   *m_store, this);
    m_devedor->entrada()->setObjectName(QStringLiteral("devedor"));
    topo->addWidget(m_devedor, 1);

    auto* caixa = new QGroupBox(QStringLiteral("Situação"), this);
    auto* opcoes = new QHBoxLayout(caixa);
    m_situacoes = new QButtonGroup(this);
    const struct {
        const char* texto;
        const char* nome;
        ctr::Situacao valor;
    } botoes[] = {{" Pagas", "pagas", ctr::Situacao::Pagas},
                  {" Em Aberto", "emAberto", ctr::Situacao::EmAberto},
                  {" Todas", "todas", ctr::Situacao::Todas}};
    for (const auto& b : botoes) {
        auto* r = new QRadioButton(QString::fromUtf8(b.texto), caixa);
        r->setObjectName(QString::fromLatin1(b.nome));
        m_situacoes->addButton(r, static_cast<int>(b.valor));
        opcoes->addWidget(r);
    }
    m_situacoes->button(static_cast<int>(m_situacao))->setChecked(true);
    topo->addWidget(caixa);
    layout->addLayout(topo);

    m_modelo = new TitulosModelo(this);
    m_ordem = new OrdenacaoPorValor(m_modelo, this);
    m_lista = new QTableView(this);
    m_lista->setObjectName(QStringLiteral("lista"));
    m_lista->setModel(m_ordem);
    m_lista->setItemDelegate(new CelulaDestaque(m_lista));
    m_lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A selected row would turn every header bold, an empty selection normal again.
    m_lista->horizontalHeader()->setHighlightSections(false);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lista->verticalHeader()->hide();
    m_lista->horizontalHeader()->setStretchLastSection(true);
    m_lista->horizontalHeader()->setSortIndicatorShown(true);
    m_lista->setWordWrap(false);
    // Until a heading is clicked the titles stay in the order read: by due date.
    m_lista->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_lista->setSortingEnabled(true);
    layout->addWidget(m_lista, 1);

    auto* totais = new QHBoxLayout;
    totais->addStretch();
    const auto total = [&](const QString& rotulo, QLabel* valor) {
        auto* l = new QLabel(rotulo, this);
        l->setBuddy(valor);
        totais->addWidget(l);
        totais->addWidget(valor);
        totais->addSpacing(8);
    };
    m_totalValor = valorTotal(this, "totalValor");
    m_totalJuros = valorTotal(this, "totalJuros");
    m_totalRecebido = valorTotal(this, "totalRecebido");
    m_totalSaldo = valorTotal(this, "totalSaldo");
    total(QStringLiteral("Total Valor:"), m_totalValor);
    total(QStringLiteral("Juros:"), m_totalJuros);
    total(QStringLiteral("Recebido:"), m_totalRecebido);
    total(QStringLiteral("Saldo:"), m_totalSaldo);
    layout->addLayout(totais);

    auto* rodape = new QHBoxLayout;
    m_mensagem = new QLabel(this);
    m_mensagem->setObjectName(QStringLiteral("mensagem"));
    rodape->addWidget(m_mensagem, 1);
    m_relatorio = new QPushButton(QStringLiteral("&Relatório"), this);
    m_relatorio->setObjectName(QStringLiteral("relatorio"));
    auto* fecharBotao = new QPushButton(QStringLiteral("&Fechar"), this);
    fecharBotao->setObjectName(QStringLiteral("fechar"));
    rodape->addWidget(m_relatorio);
    rodape->addWidget(fecharBotao);
    layout->addLayout(rodape);

    connect(m_devedor, &EntradaCliente::escolhido, this, &ConsultaContasReceber::recarregar);
    connect(m_devedor, &EntradaCliente::semCliente, this,
            [this] { m_mensagem->setText(QStringLiteral("Selecione um Devedor!")); });
    connect(m_situacoes, &QButtonGroup::idClicked, this,
            [this](int id) { setSituacao(ctr::situacaoDoCodigo(id).value_or(ctr::Situacao::Todas)); });
    connect(m_relatorio, &QPushButton::clicked, this, &ConsultaContasReceber::relatorio);
    connect(fecharBotao, &QPushButton::clicked, this, &ConsultaContasReceber::fechar);
    recarregar();
}

void ConsultaContasReceber::aplicarArgumentos(const QStringList& argumentos) {
    bool ok = false;
    const int codigo = argumentos.value(0).trimmed().toInt(&ok);
    m_situacao = ok ? ctr::situacaoDoCodigo(codigo).value_or(ctr::Situacao::Todas) : ctr::Situacao::Todas;
    m_situacoes->button(static_cast<int>(m_situacao))->setChecked(true);
    m_devedor->definir(argumentos.value(1).trimmed().toLongLong());
    recarregar();
}

void ConsultaContasReceber::setSituacao(ctr::Situacao situacao) {
    m_situacao = situacao;
    if (QAbstractButton* b = m_situacoes->button(static_cast<int>(situacao)); b && !b->isChecked())
        b->setChecked(true);
    recarregar();
}

std::int64_t ConsultaContasReceber::devedor() const {
    return m_devedor->id();
}

void ConsultaContasReceber::setDevedor(std::int64_t id) {
    m_devedor->definir(id);
    recarregar();
}

void ConsultaContasReceber::recarregar() {
    // The title under the highlight stays highlighted when it is still listed after the reload.
    std::int64_t posicao = 0;
    if (const QModelIndex atual = m_ordem->mapToSource(m_lista->currentIndex()); atual.isValid())
        posicao = m_modelo->titulos()[static_cast<size_t>(atual.row())].posicao;
    std::vector<ctr::Titulo> titulos;
    if (devedor() != 0) {
        m_mensagem->clear();
        ctr::Consulta consulta;
        consulta.idEmpresa = m_contexto.idEmpresa;
        consulta.devedor = devedor();
        consulta.situacao = m_situacao;
        consulta.hoje = Clock::today();
        ctr::Leitura leitura = ctr::lerTitulos(*m_store, consulta);
        if (!leitura.ok) {
            // The titles cannot be read: nothing is left to show but the reason.
            standardWarning(Aviso::ErroLerRegistro, leitura.erro, QStringLiteral("ctr"), {}, this);
            if (leitura.erro.driverCode != QLatin1String("S1000"))
                QTimer::singleShot(0, this, &ConsultaContasReceber::fechar);
        }
        titulos = std::move(leitura.titulos);
    }
    m_totais = ctr::totalizar(titulos);
    m_modelo->mostrar(std::move(titulos));
    m_totalValor->setText(br::numero(m_totais.valor, 2));
    m_totalJuros->setText(br::numero(m_totais.juros, 2));
    m_totalRecebido->setText(br::numero(m_totais.recebido, 2));
    m_totalSaldo->setText(br::numero(m_totais.saldo, 2));
    int linha = 0;
    for (size_t i = 0; i < m_modelo->titulos().size(); ++i)
        if (posicao != 0 && m_modelo->titulos()[i].posicao == posicao)
            linha = m_ordem->mapFromSource(m_modelo->index(static_cast<int>(i), 0)).row();
    if (m_ordem->rowCount() > 0) {
        m_lista->setCurrentIndex(m_ordem->index(linha, 0));
        m_lista->scrollTo(m_lista->currentIndex());
    }
    m_lista->resizeColumnsToContents();
    // Sizing the columns to what they show takes the last one's stretch away: give it back, so that
    // the list reaches the window's edge.
    m_lista->horizontalHeader()->setStretchLastSection(false);
    m_lista->horizontalHeader()->setStretchLastSection(true);
}

void ConsultaContasReceber::relatorio() {
    RelatorioContasReceber dialogo(m_contexto, devedor(), m_situacao, this);
    dialogo.exec();
}

void ConsultaContasReceber::fechar() {
    fecharJanela(this);
}

} // namespace qav
