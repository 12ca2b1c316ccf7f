#include "queries/widgets/FichaPedidoHistorico.h"

#include "queries/core/ClienteConsulta.h"
#include "queries/widgets/ItensHistoricoModelo.h"
#include "store/core/FormatoBr.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/StandardWarningBox.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace qav {

namespace {
QLineEdit* leitura(QWidget* parent, const QString& valor, const char* nome, bool numero = false) {
    auto* e = new QLineEdit(valor, parent);
    e->setObjectName(QString::fromLatin1(nome));
    e->setReadOnly(true);
    if (numero)
        e->setAlignment(Qt::AlignRight);
    return e;
}
} // namespace

FichaPedidoHistorico::FichaPedidoHistorico(const ListContext& contexto, const historico::Pedido& p,
                                           QWidget* parent)
    : QDialog(parent), m_contexto(contexto), m_store(std::make_unique<Store>(contexto.dataFolder)),
      m_itens(new ItensHistoricoModelo(this)), m_lista(new QTableView(this)), m_mensagem(new QLabel(this)) {
    setObjectName(QStringLiteral("Updatepedcon"));
    setWindowTitle(QStringLiteral("Update the pedcon File"));
    auto* layout = new QVBoxLayout(this);
    auto* campos = new QGridLayout;
    int linha = 0;
    int coluna = 0;
    const auto campo = [&](const QString& rotulo, QWidget* w, int largura = 1) {
        if (coluna + 1 + largura > 8) {
            ++linha;
            coluna = 0;
        }
        auto* l = new QLabel(rotulo, this);
        l->setBuddy(w);
        campos->addWidget(l, linha, coluna);
        campos->addWidget(w, linha, coluna + 1, 1, largura);
        coluna += 1 + largura;
    };
    const consulta::Empresa empresa = consulta::buscarEmpresa(*m_store, p.idEmpresa);
    campo(QStringLiteral("Empresa:"),
          leitura(this, QStringLiteral("%1 - %2").arg(p.idEmpresa).arg(empresa.nome), "empresa"), 3);
    campo(QStringLiteral("Número:"), leitura(this, QString::number(p.numero), "numero", true));
    campo(QStringLiteral("Entrega:"), leitura(this, QString::number(p.numEntrega), "entrega", true));
    campo(QStringLiteral("Situação:"), leitura(this, p.situacao, "situacao"));
    campo(QStringLiteral("Tipo de Venda:"), leitura(this, p.tipo, "tipoVenda"));
    campo(QStringLiteral("Nota Fiscal:"),
          leitura(this, p.numNf ? QString::number(p.numNf) : QString(), "notaFiscal", true));
    campo(QStringLiteral("QAV:"), leitura(this, p.numPedQav, "qav"));
    campo(QStringLiteral("Data:"), leitura(this, br::data(p.dataPedido), "dataPedido"));
    campo(QStringLiteral("Prev. Fat.:"), leitura(this, br::data(p.dataPrevFatur), "dataPrevFatur"));
    campo(QStringLiteral("Faturamento:"), leitura(this, br::data(p.dataFatur), "dataFatur"));
    campo(QStringLiteral("Sit:"), leitura(this, p.sitPed, "sitPed"));
    campo(QStringLiteral("Contato:"), leitura(this, p.contato, "contato"));
    campo(QStringLiteral("Prazo:"), leitura(this, p.prazo, "prazo"));
    campo(QStringLiteral("Valor Total:"), leitura(this, br::numero(p.valorTotal, 2), "valorTotal", true));
    campo(QStringLiteral("Chave NF-e:"), leitura(this, p.chaveNfe, "chaveNfe"), 3);
    layout->addLayout(campos);
    if (!p.obs.isEmpty()) {
        auto* obs = new QPlainTextEdit(p.obs, this);
        obs->setObjectName(QStringLiteral("obs"));
        obs->setReadOnly(true);
        obs->setMaximumHeight(obs->fontMetrics().lineSpacing() * 3 + 12);
        layout->addWidget(obs);
    }

    m_lista->setObjectName(QStringLiteral("itens"));
    m_lista->setModel(m_itens);
    m_lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A selected row would turn every header bold, an empty selection normal again.
    m_lista->horizontalHeader()->setHighlightSections(false);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lista->verticalHeader()->hide();
    m_lista->setWordWrap(false);
    layout->addWidget(m_lista, 1);
    m_mensagem->setObjectName(QStringLiteral("mensagem"));
    m_mensagem->setStyleSheet(QStringLiteral("color: #c00000;"));
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(m_mensagem, 1);
    auto* fechar = new QPushButton(QStringLiteral("&Fechar"), this);
    fechar->setObjectName(QStringLiteral("fechar"));
    rodape->addWidget(fechar);
    layout->addLayout(rodape);
    connect(fechar, &QPushButton::clicked, this, &QDialog::reject);

    std::vector<historico::Item> itens;
    const historico::Leitura leitura = historico::lerItens(*m_store, contexto.idEmpresa, p.idPedcon, itens);
    if (!leitura.ok) {
        m_lido = false;
        standardWarning(Aviso::ErroLerRegistro, leitura.erro, leitura.tabela, {}, this);
    }
    m_itens->mostrar(std::move(itens));
    connect(m_lista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &FichaPedidoHistorico::itemAtual);
    if (m_itens->rowCount() > 0)
        m_lista->setCurrentIndex(m_itens->index(0, 0));
    m_lista->resizeColumnsToContents();
    m_lista->horizontalHeader()->setStretchLastSection(true);
    resize(900, 520);
    if (!contexto.programFolder.isEmpty())
        WindowStateBinder::attach(this, u"Updatepedcon",
                                  QDir(contexto.programFolder).filePath(QStringLiteral("qavplus.INI")));
}

FichaPedidoHistorico::~FichaPedidoHistorico() = default;

QString FichaPedidoHistorico::mensagem() const {
    return m_mensagem->text();
}

void FichaPedidoHistorico::itemAtual() {
    const QModelIndex atual = m_lista->currentIndex();
    if (!atual.isValid()) {
        m_mensagem->clear();
        return;
    }
    const historico::Item& item = m_itens->itens()[static_cast<size_t>(atual.row())];
    m_mensagem->setText(item.produtoEncontrado ? QString() : historico::produtoNaoEncontrado(item.idProduto));
}

} // namespace qav
