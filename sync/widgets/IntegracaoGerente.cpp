#include "sync/widgets/IntegracaoGerente.h"

#include "base/core/Session.h"
#include "orders/widgets/FichaPedido.h"
#include "store/core/Store.h"
#include "sync/core/gerente/Integracao.h"
#include "sync/widgets/OuvinteJanela.h"
#include "ui/widgets/MessageBox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

QLineEdit* entrada(const char* nome) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(nome));
    return e;
}

QPushButton* botao(const QString& texto, const char* nome) {
    auto* b = new QPushButton(texto);
    b->setObjectName(QString::fromLatin1(nome));
    b->setAutoDefault(false);
    return b;
}

} // namespace

IntegracaoGerente::IntegracaoGerente(const QString& pasta, const QString& pastaPrograma, QWidget* parent)
    : QDialog(parent), m_pasta(pasta), m_settings(pastaPrograma) {
    setObjectName(u"IntegracaoGerente"_s);
    setWindowTitle(u"Integração Gerente"_s);
    m_abas = new QTabWidget;
    m_abas->setObjectName(u"abas"_s);
    m_abas->addTab(montarAbaConfiguracao(), u"Configuração"_s);
    m_abaLog = montarAbaLog();
    m_abas->addTab(m_abaLog, u"Log Integração"_s);

    m_atualizar = botao(u"&Atualizar"_s, "atualizar");
    m_interromper = botao(u"&Interromper"_s, "interromper");
    m_interromper->setEnabled(false);
    QPushButton* fechar = botao(u"&Fechar"_s, "fechar");
    connect(m_atualizar, &QPushButton::clicked, this, &IntegracaoGerente::atualizar);
    connect(m_interromper, &QPushButton::clicked, this, &IntegracaoGerente::interromper);
    connect(fechar, &QPushButton::clicked, this, &IntegracaoGerente::reject);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(m_atualizar);
    botoes->addWidget(m_interromper);
    botoes->addWidget(fechar);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_abas);
    layout->addLayout(botoes);
    resize(600, 420);
    carregar(m_settings.bdGerente());
}

IntegracaoGerente::~IntegracaoGerente() {
    if (!m_trabalho)
        return;
    // The update still works: it stops at its next safe point; what it asks meanwhile is answered
    // without a window.
    disconnect(m_trabalho, nullptr, this, nullptr);
    m_ouvinte->disconnect(this);
    m_ouvinte->encerrar();
    while (!m_trabalho->wait(QDeadlineTimer(20)))
        QCoreApplication::processEvents();
    delete m_trabalho;
}

QWidget* IntegracaoGerente::montarAbaConfiguracao() {
    auto* aba = new QWidget;
    aba->setObjectName(u"abaConfiguracao"_s);
    m_host = entrada("host");
    m_porta = entrada("porta");
    m_porta->setValidator(new QIntValidator(0, 65535, m_porta));
    m_porta->setMaximumWidth(100);
    m_nome = entrada("nome");
    m_usuario = entrada("usuario");
    m_senha = entrada("senha");
    m_senha->setEchoMode(QLineEdit::Password);
    m_pastaTps = entrada("pastaTps");
    m_empresa = entrada("empresa");
    m_empresa->setValidator(new QIntValidator(0, 999999999, m_empresa));
    m_empresa->setMaximumWidth(100);
    auto* form = new QFormLayout(aba);
    form->addRow(u"Servidor:"_s, m_host);
    form->addRow(u"Porta:"_s, m_porta);
    form->addRow(u"Nome:"_s, m_nome);
    form->addRow(u"Usuário:"_s, m_usuario);
    form->addRow(u"Senha:"_s, m_senha);
    form->addRow(u"Pasta TPS:"_s, m_pastaTps);
    form->addRow(u"Empresa:"_s, m_empresa);
    return aba;
}

QWidget* IntegracaoGerente::montarAbaLog() {
    auto* aba = new QWidget;
    aba->setObjectName(u"abaLog"_s);
    m_log = new QTreeWidget;
    m_log->setObjectName(u"log"_s);
    m_log->setColumnCount(2);
    m_log->setHeaderLabels({u"Hora"_s, u"Descrição"_s});
    m_log->setRootIsDecorated(false);
    m_log->setUniformRowHeights(true);
    m_log->header()->resizeSection(0, m_log->fontMetrics().horizontalAdvance(u"00:00:00"_s) + 24);
    m_log->header()->setStretchLastSection(true);
    m_progresso = new QLineEdit;
    m_progresso->setObjectName(u"progresso"_s);
    m_progresso->setReadOnly(true);
    m_progresso->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(aba);
    layout->addWidget(m_log, 1);
    layout->addWidget(m_progresso);
    return aba;
}

void IntegracaoGerente::carregar(const BdGerente& g) {
    m_host->setText(g.host);
    m_porta->setText(g.porta);
    m_nome->setText(g.nome);
    m_usuario->setText(g.usuario);
    m_senha->setText(g.senha);
    m_pastaTps->setText(g.pastaTps);
    m_empresa->setText(g.empresa == 0 ? QString() : QString::number(g.empresa));
}

BdGerente IntegracaoGerente::configuracao() const {
    BdGerente g;
    g.host = m_host->text().trimmed();
    g.porta = m_porta->text().trimmed();
    g.nome = m_nome->text().trimmed();
    g.usuario = m_usuario->text().trimmed();
    g.senha = m_senha->text();
    g.pastaTps = m_pastaTps->text().trimmed();
    g.empresa = m_empresa->text().trimmed().toInt();
    return g;
}

void IntegracaoGerente::atualizar() {
    if (m_trabalho)
        return;
    sync::PedidoIntegracao pedido;
    pedido.idEmpresa = idEmpAtiva();
    pedido.configuracao = configuracao();
    pedido.formularioPedidoAberto = FichaPedido::abertos() > 0;

    m_log->clear();
    m_progresso->clear();
    m_abas->setCurrentWidget(m_abaLog);
    m_ouvinte = std::make_unique<OuvinteJanela>(this);
    connect(m_ouvinte.get(), &OuvinteJanela::registroChegou, this, &IntegracaoGerente::adicionarRegistro);
    connect(m_ouvinte.get(), &OuvinteJanela::progressoChegou, m_progresso, &QLineEdit::setText);
    m_sucesso = false;
    m_fecharAoTerminar = false;
    // The update works with tables of its own, on its own thread.
    m_trabalho = QThread::create([this, pedido, pasta = m_pasta] {
        // Nothing the update throws may end the program from this thread: it is the update's failure.
        try {
            Store store(pasta);
            m_sucesso = sync::atualizarGerente(store, *m_ouvinte, pedido);
        } catch (const std::exception& e) {
            m_sucesso = false;
            m_ouvinte->mensagem(u"Erro"_s,
                                u"Falha inesperada na atualização!|"_s + QString::fromUtf8(e.what()),
                                sync::Icone::Erro);
        }
    });
    m_trabalho->setObjectName(u"integracaoGerente"_s);
    connect(m_trabalho, &QThread::finished, this, &IntegracaoGerente::terminou);
    m_atualizar->setEnabled(false);
    m_interromper->setEnabled(true);
    m_trabalho->start();
}

void IntegracaoGerente::terminou() {
    m_trabalho->wait();
    delete m_trabalho;
    m_trabalho = nullptr;
    // Whatever the update still sent is shown before the listener goes.
    m_ouvinte.release()->deleteLater();
    m_atualizar->setEnabled(true);
    m_interromper->setEnabled(false);
    if (m_fecharAoTerminar)
        done(QDialog::Rejected);
    else if (m_sucesso)
        done(QDialog::Accepted);
}

void IntegracaoGerente::interromper() {
    if (!m_trabalho || !m_ouvinte || m_ouvinte->pararSolicitado())
        return;
    // What the update wrote until the stop stays written; the step it was in is undone.
    if (MessageBox::show(u"Interromper a atualização?"_s, u"Confirma"_s, Icon::Question,
                         {Button::Yes, Button::No}, Button::No, this) == Button::Yes &&
        m_ouvinte)
        m_ouvinte->solicitarParada();
}

void IntegracaoGerente::done(int resultado) {
    if (m_trabalho) {
        // The update stops at its next safe point; what it wrote until then stays written.
        m_fecharAoTerminar = true;
        m_ouvinte->solicitarParada();
        return;
    }
    m_settings.setBdGerente(configuracao());
    QDialog::done(resultado);
}

void IntegracaoGerente::adicionarRegistro(const QTime& hora, const QString& texto) {
    auto* linha = new QTreeWidgetItem({hora.toString(u"HH:mm:ss"_s), texto});
    m_log->addTopLevelItem(linha);
    m_log->setCurrentItem(linha);
    m_log->scrollToItem(linha);
}

} // namespace qav
