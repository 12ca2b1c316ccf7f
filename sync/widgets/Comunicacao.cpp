#include "sync/widgets/Comunicacao.h"

#include "base/core/Session.h"
#include "orders/widgets/FichaPedido.h"
#include "store/core/Text.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/execucao/ConfiguracaoComunicacao.h"
#include "sync/core/roteiro/Passos.h"
#include "sync/widgets/OuvinteJanela.h"
#include "ui/widgets/DadosAlterados.h"
#include "ui/widgets/MessageBox.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>
#include <QTreeWidget>
#include <algorithm>
#include <climits>

using namespace Qt::StringLiterals;

namespace qav {

namespace {
int limitado(qint64 valor) {
    return static_cast<int>(std::clamp<qint64>(valor, 0, INT_MAX));
}
} // namespace

Comunicacao::Comunicacao(const QString& pasta, QWidget* parent)
    : QDialog(parent), m_pasta(pasta), m_store(std::make_unique<Store>(pasta)),
      m_registro(sync::configuracaoInicial(*m_store, idEmpAtiva())), m_campos(m_registro.def()) {
    setObjectName(u"Comunicacao"_s);
    montar();
    ligar();
    m_campos.carregar(m_registro);
    m_esperaServidor->setValue(sync::esperaServidorConfigurada(QDir::currentPath()));
    // A lock that only a full run lifts: the window offers the full run.
    const bool soTotal = text::rtrim(m_registro.text("TP_COM")) == u"C"_s;
    const bool total = m_registro.integer("SISTEMA_BLOQUEADO") != 0 && soTotal;
    m_tipo->button(static_cast<int>(total ? sync::TipoComunicacao::Total : sync::TipoComunicacao::Parcial))
        ->setChecked(true);
    habilitar();
}

Comunicacao::~Comunicacao() {
    // The entry loses its focus as the window goes: no reload may run then.
    m_empresa->disconnect(this);
    if (!m_trabalho)
        return;
    // The run still works: it stops at its next safe point; what it asks meanwhile is answered
    // without a window.
    disconnect(m_trabalho, nullptr, this, nullptr);
    m_ouvinte->disconnect(this);
    m_ouvinte->encerrar();
    while (!m_trabalho->wait(QDeadlineTimer(20)))
        QCoreApplication::processEvents();
    delete m_trabalho;
}

void Comunicacao::ligar() {
    auto* liberar = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), this);
    connect(liberar, &QShortcut::activated, this, &Comunicacao::desbloquear);
    auto* supervisor = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J), this);
    connect(supervisor, &QShortcut::activated, this, [this] { m_supervisor->setVisible(true); });
    connect(m_empresa, &QLineEdit::editingFinished, this, &Comunicacao::empresaDigitada);
}

void Comunicacao::desbloquear() {
    m_desbloqueado = true;
    habilitar();
}

void Comunicacao::habilitar() {
    const bool livre = m_trabalho == nullptr;
    m_comunicar->setEnabled(livre);
    m_interromper->setEnabled(!livre);
    m_escolhaTipo->setEnabled(livre);
    m_abas->setTabEnabled(m_abas->indexOf(m_abaConfiguracao), livre && (m_desbloqueado || m_corrigir));
    m_abas->setTabEnabled(m_abas->indexOf(m_abaAvancada), livre && m_desbloqueado);
}

void Comunicacao::carregar(Record registro) {
    m_registro = std::move(registro);
    m_campos.carregar(m_registro);
}

void Comunicacao::empresaDigitada() {
    const int id = m_empresa->text().trimmed().toInt();
    if (id != m_registro.integer("ID_EMPRESA"))
        carregar(sync::configuracaoDaEmpresa(*m_store, id));
}

void Comunicacao::comunicar() {
    if (m_trabalho)
        return;
    if (const auto recusa = m_campos.gravar(m_registro)) {
        MessageBox::show(recusa->texto, recusa->titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        recusa->campo->setFocus();
        return;
    }
    sync::PedidoComunicacao pedido;
    pedido.idEmpresa = static_cast<int>(m_registro.integer("ID_EMPRESA"));
    pedido.configuracao = m_registro;
    pedido.tipo = static_cast<sync::TipoComunicacao>(m_tipo->checkedId());
    pedido.formularioPedidoAberto = FichaPedido::abertos() > 0;
    pedido.limites.esperaSegundos = sync::esperaServidorConfigurada(QDir::currentPath());

    m_ouvinte = std::make_unique<OuvinteJanela>(this);
    connect(m_ouvinte.get(), &OuvinteJanela::registroChegou, this, &Comunicacao::adicionarRegistro);
    connect(m_ouvinte.get(), &OuvinteJanela::progressoChegou, m_progresso, &QLineEdit::setText);
    connect(m_ouvinte.get(), &OuvinteJanela::contagemChegou, this, &Comunicacao::mostrarContagem);
    m_desfecho = {};
    m_limparLog = true;
    m_fecharAoTerminar = false;
    // The run works with tables of its own, on its own thread.
    m_trabalho = QThread::create([this, pedido, pasta = m_pasta] {
        Store store(pasta);
        m_desfecho = sync::comunicar(store, *m_ouvinte, pedido, sync::passosPadrao());
    });
    m_trabalho->setObjectName(u"comunicacao"_s);
    connect(m_trabalho, &QThread::finished, this, &Comunicacao::terminou);
    habilitar();
    m_trabalho->start();
}

void Comunicacao::terminou() {
    m_trabalho->wait();
    delete m_trabalho;
    m_trabalho = nullptr;
    // Whatever the run still sent is shown before the listener goes.
    m_ouvinte.release()->deleteLater();
    esconderContagem();
    // Even a run that failed half-way may have sent orders or taken tables: the lists read again.
    DadosAlterados::avisar();
    if (m_fecharAoTerminar) {
        QDialog::reject();
        return;
    }
    if (m_desfecho.resultado == sync::ResultadoComunicacao::Sucesso) {
        accept();
        return;
    }
    if (m_desfecho.campoAcorrigir)
        m_corrigir = true;
    habilitar();
    if (m_desfecho.campoAcorrigir)
        focarCampo(m_desfecho.campoAcorrigir);
}

void Comunicacao::focarCampo(const char* campo) {
    QWidget* entrada = findChild<QWidget*>(QString::fromLatin1(campo));
    if (!entrada)
        return;
    for (QWidget* aba : {m_abaConfiguracao, m_abaAvancada})
        if (aba->isAncestorOf(entrada))
            m_abas->setCurrentWidget(aba);
    entrada->setFocus();
}

void Comunicacao::adicionarRegistro(const QTime& hora, const QString& texto) {
    if (m_limparLog) {
        m_log->clear();
        m_limparLog = false;
    }
    auto* linha = new QTreeWidgetItem({hora.toString(u"HH:mm:ss"_s), texto});
    m_log->addTopLevelItem(linha);
    m_log->setCurrentItem(linha);
    m_log->scrollToItem(linha);
    // A new step: the counts of the last one are done.
    esconderContagem();
}

void Comunicacao::esconderContagem() {
    m_barra->hide();
    m_linhas->hide();
}

void Comunicacao::mostrarContagem(qint64 feitas, qint64 esperadas) {
    if (esperadas > 0) {
        m_barra->setRange(0, limitado(esperadas));
        m_barra->setValue(limitado(std::min(feitas, esperadas)));
        m_barra->setFormat(u"%v / %m"_s);
        m_linhas->hide();
    } else {
        // Rows arrive, their number is not known: a busy bar, and the rows done beside it.
        m_barra->setRange(0, 0);
        m_linhas->setText(QLocale(QLocale::Portuguese, QLocale::Brazil).toString(feitas) + u" linhas"_s);
        m_linhas->show();
    }
    m_barra->show();
}

void Comunicacao::interromper() {
    if (!m_trabalho || !m_ouvinte || m_ouvinte->pararSolicitado())
        return;
    if (MessageBox::show(u"Interromper a comunicação?"_s, u"Confirma"_s, Icon::Question,
                         {Button::Yes, Button::No}, Button::No, this) == Button::Yes &&
        m_ouvinte)
        m_ouvinte->solicitarParada();
}

void Comunicacao::reject() {
    if (!m_trabalho) {
        QDialog::reject();
        return;
    }
    if (m_fecharAoTerminar)
        return;
    if (MessageBox::show(u"Interromper a comunicação?"_s, u"Confirma"_s, Icon::Question,
                         {Button::Yes, Button::No}, Button::No, this) == Button::Yes) {
        m_fecharAoTerminar = true;
        if (m_ouvinte)
            m_ouvinte->solicitarParada();
    }
}

void Comunicacao::grava() {
    if (const auto recusa = m_campos.gravar(m_registro)) {
        MessageBox::show(recusa->texto, recusa->titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        recusa->campo->setFocus();
        return;
    }
    sync::gravarEsperaServidor(QDir::currentPath(), m_esperaServidor->value());
    const sync::ResultadoGravacao r = sync::gravarConfiguracao(*m_store, m_registro);
    switch (r.situacao) {
    case sync::ResultadoGravacao::EmpresaInvalida:
        MessageBox::show(u"Empresa inválida!"_s, u"Aviso"_s, Icon::Warning, {Button::Ok}, Button::Ok, this);
        focarCampo("ID_EMPRESA");
        return;
    case sync::ResultadoGravacao::Falhou:
        MessageBox::show(u"Erro (%1) ao grava configurações!"_s.arg(r.codigoErro), u"Erro"_s, Icon::Critical,
                         {Button::Ok}, Button::Ok, this);
        return;
    case sync::ResultadoGravacao::Gravada:
        break;
    }
    carregar(*r.gravada);
    MessageBox::show(u"Configurações gravadas com sucesso!"_s, u"Aviso"_s, Icon::Warning, {Button::Ok},
                     Button::Ok, this);
    // The company whose settings were just saved is the one the program works with from now on.
    setIdEmpAtiva(static_cast<int>(m_registro.integer("ID_EMPRESA")));
}

void Comunicacao::transferirPedidos() {
    auto* matriz = findChild<QLineEdit*>(u"ID_EMPMATRIZ"_s);
    const int idEmpresa = m_empresa->text().trimmed().toInt();
    const int idMatriz = matriz->text().trimmed().toInt();
    if (idEmpresa == 0) {
        focarCampo("ID_EMPRESA");
        return;
    }
    if (idMatriz == 0 || idMatriz == idEmpresa) {
        focarCampo("ID_EMPMATRIZ");
        return;
    }
    if (MessageBox::show(
            u"Confirma transferir pedidos da empresa %1 para empresa %2?"_s.arg(idEmpresa).arg(idMatriz),
            u"Confirme"_s, Icon::Question, {Button::Yes, Button::No}, Button::No, this) != Button::Yes)
        return;
    const sync::ResultadoTransferencia r = sync::transferirPedidos(*m_store, idEmpresa, idMatriz);
    if (!r.ok) {
        MessageBox::show(u"Erro (%1) ao gravar pedido!"_s.arg(r.codigoErro), u"Erro"_s, Icon::Critical,
                         {Button::Ok}, Button::Ok, this);
        return;
    }
    MessageBox::show(u"Fim do processamento!"_s, u"Aviso"_s, Icon::Information, {Button::Ok}, Button::Ok,
                     this);
}

} // namespace qav
