#include "queries/widgets/RelatorioContasReceber.h"

#include "queries/widgets/DialogoRelatorio.h"
#include "queries/widgets/EntradaCliente.h"
#include "store/core/Clock.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qav {

namespace {
QLineEdit* entradaData(QWidget* parent, const char* nome) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(nome));
    e->setInputMask(QStringLiteral("99/99/9999"));
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    return e;
}
} // namespace

RelatorioContasReceber::RelatorioContasReceber(const ListContext& contexto, std::int64_t devedor,
                                               ctr::Situacao situacao, QWidget* parent)
    : QDialog(parent), m_contexto(contexto), m_store(std::make_unique<Store>(contexto.dataFolder)) {
    setObjectName(QStringLiteral("RelCTR"));
    setWindowTitle(QStringLiteral("Relatório de Contas a Receber"));
    auto* layout = new QVBoxLayout(this);
    m_cliente =
        new EntradaCliente(QStringLiteral("Cliente:"),
                           {contexto.dataFolder, contexto.programFolder, contexto.idEmpresa}, *m_store, this);
    m_cliente->setVazioTodos(true); // the report may cover every customer
    m_cliente->definir(devedor);
    layout->addWidget(m_cliente);
    auto* form = new QFormLayout;
    m_inicio = entradaData(this, "dataInicial");
    m_fim = entradaData(this, "dataFinal");
    form->addRow(QStringLiteral("Selecione data Inicial"), m_inicio);
    form->addRow(QStringLiteral("Selecione data Final"), m_fim);
    m_situacoes = new QComboBox(this);
    m_situacoes->setObjectName(QStringLiteral("situacao"));
    m_situacoes->addItem(QStringLiteral("Pagas"), static_cast<int>(ctr::Situacao::Pagas));
    m_situacoes->addItem(QStringLiteral("Em Aberto"), static_cast<int>(ctr::Situacao::EmAberto));
    m_situacoes->addItem(QStringLiteral("Todas"), static_cast<int>(ctr::Situacao::Todas));
    m_situacoes->setCurrentIndex(m_situacoes->findData(static_cast<int>(situacao)));
    form->addRow(QStringLiteral("Situação"), m_situacoes);
    m_comissao = new QCheckBox(QStringLiteral("&Imprimir Comissão"), this);
    m_comissao->setObjectName(QStringLiteral("imprimirComissao"));
    form->addRow(QString(), m_comissao);
    layout->addLayout(form);
    auto* botoes = new QDialogButtonBox(this);
    QPushButton* ok = botoes->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setAutoDefault(false);
    QPushButton* cancelar = botoes->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole);
    cancelar->setObjectName(QStringLiteral("cancelar"));
    cancelar->setAutoDefault(false);
    layout->addWidget(botoes);
    connect(ok, &QPushButton::clicked, this, &RelatorioContasReceber::imprimir);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    if (!contexto.programFolder.isEmpty())
        WindowStateBinder::attach(this, u"RelCTR",
                                  QDir(contexto.programFolder).filePath(QStringLiteral("qavplus.INI")));
}

RelatorioContasReceber::~RelatorioContasReceber() = default;

std::optional<consulta::RelatorioContas> RelatorioContasReceber::montar() {
    const std::optional<Date> inicio = lerDataDigitada(m_inicio, this);
    if (!inicio)
        return std::nullopt;
    const std::optional<Date> fim = lerDataDigitada(m_fim, this);
    if (!fim)
        return std::nullopt;
    if (const QString erro = consulta::conferirPeriodo(*inicio, *fim); !erro.isEmpty()) {
        MessageBox::show(erro + QStringLiteral("|Verifique!"), QStringLiteral("Aviso"), Icon::Warning,
                         {Button::Ok}, Button::Ok, this);
        m_inicio->setFocus();
        return std::nullopt;
    }
    consulta::RelatorioContas r;
    r.devedor = m_cliente->id();
    r.inicio = *inicio;
    r.fim = *fim;
    r.emissao = Clock::today();
    r.situacao = ctr::situacaoDoCodigo(m_situacoes->currentData().toInt()).value_or(ctr::Situacao::Todas);
    r.comissao = m_comissao->isChecked();
    StoreError erro;
    if (!consulta::montarRelatorio(*m_store, m_contexto.idEmpresa, r, &erro)) {
        MessageBox::show(QStringLiteral("Erro (%1) ao ler ctr!").arg(erro.number()), QStringLiteral("Erro"),
                         Icon::Critical, {Button::Ok}, Button::Ok, this);
        return std::nullopt;
    }
    return r;
}

void RelatorioContasReceber::imprimir() {
    const std::optional<consulta::RelatorioContas> relatorio = montar();
    if (!relatorio)
        return;
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog previa(&impressora, this);
    previa.setObjectName(QStringLiteral("previa"));
    previa.setWindowTitle(QStringLiteral("Relatório de Contas a Receber"));
    if (const QScreen* tela = screen())
        previa.resize(tela->availableSize() * 8 / 10);
    connect(&previa, &QPrintPreviewDialog::paintRequested, this,
            [&relatorio](QPrinter* destino) { consulta::desenharRelatorioCtr(*destino, *relatorio, true); });
    previa.exec();
    accept();
}

} // namespace qav
