// The widgets of the "Comunicação" window and where they sit.
#include "sync/widgets/Comunicacao.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

// The entry of a field, named after it so that a failed check can find it.
QLineEdit* entrada(const char* campo, int largura = 0) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(campo));
    if (largura > 0)
        e->setMaximumWidth(largura);
    return e;
}

QCheckBox* marca(const QString& texto, const char* campo) {
    auto* c = new QCheckBox(texto);
    c->setObjectName(QString::fromLatin1(campo));
    return c;
}

QPushButton* botao(const QString& texto, const char* nome) {
    auto* b = new QPushButton(texto);
    b->setObjectName(QString::fromLatin1(nome));
    b->setAutoDefault(false);
    return b;
}

} // namespace

void Comunicacao::montar() {
    setWindowTitle(u"Comunicação"_s);
    m_abas = new QTabWidget;
    m_abas->setObjectName(u"abas"_s);
    m_abas->addTab(montarAbaComunicacao(), u"Comunicação"_s);
    m_abaConfiguracao = montarAbaConfiguracao();
    m_abas->addTab(m_abaConfiguracao, u"Configuração"_s);
    m_abaAvancada = montarAbaAvancada();
    m_abas->addTab(m_abaAvancada, u"Configuração Avançada"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_abas);
    resize(640, 480);
}

QWidget* Comunicacao::montarAbaComunicacao() {
    auto* aba = new QWidget;
    m_log = new QTreeWidget;
    m_log->setObjectName(u"log"_s);
    m_log->setColumnCount(2);
    m_log->setHeaderLabels({u"Hora"_s, u"Descrição"_s});
    m_log->setRootIsDecorated(false);
    m_log->setUniformRowHeights(true);
    m_log->setSelectionMode(QAbstractItemView::SingleSelection);
    m_log->header()->resizeSection(0, m_log->fontMetrics().horizontalAdvance(u"00:00:00"_s) + 24);
    m_log->header()->setStretchLastSection(true);

    m_progresso = new QLineEdit;
    m_progresso->setObjectName(u"progresso"_s);
    m_progresso->setReadOnly(true);
    m_progresso->setFocusPolicy(Qt::NoFocus);

    m_barra = new QProgressBar;
    m_barra->setObjectName(u"contagem"_s);
    m_barra->setVisible(false);
    m_linhas = new QLabel;
    m_linhas->setObjectName(u"linhas"_s);
    m_linhas->setVisible(false);

    auto* escolha = new QGroupBox(u"Comunicação:"_s);
    escolha->setObjectName(u"tipo"_s);
    m_escolhaTipo = escolha;
    m_tipo = new QButtonGroup(this);
    auto* linhaTipo = new QHBoxLayout(escolha);
    const struct {
        const char* nome;
        QString texto;
        sync::TipoComunicacao tipo;
    } tipos[] = {{"tipoTotal", u"Total"_s, sync::TipoComunicacao::Total},
                 {"tipoParcial", u"Parcial"_s, sync::TipoComunicacao::Parcial},
                 {"tipoSomentePedidos", u"Somente Pedidos"_s, sync::TipoComunicacao::SomentePedidos}};
    for (const auto& t : tipos) {
        auto* r = new QRadioButton(t.texto);
        r->setObjectName(QString::fromLatin1(t.nome));
        m_tipo->addButton(r, static_cast<int>(t.tipo));
        linhaTipo->addWidget(r);
    }
    linhaTipo->addStretch();

    m_comunicar = botao(u"&Comunicar"_s, "comunicar");
    QPushButton* fechar = botao(u"&Fechar"_s, "fechar");
    m_interromper = botao(u"&Interromper"_s, "interromper");
    m_interromper->setEnabled(false);
    connect(m_comunicar, &QPushButton::clicked, this, &Comunicacao::comunicar);
    connect(m_interromper, &QPushButton::clicked, this, &Comunicacao::interromper);
    connect(fechar, &QPushButton::clicked, this, &Comunicacao::reject);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(escolha, 1);
    botoes->addWidget(m_comunicar);
    botoes->addWidget(m_interromper);
    botoes->addWidget(fechar);

    auto* layout = new QVBoxLayout(aba);
    layout->addWidget(m_log, 1);
    layout->addWidget(m_progresso);
    auto* contagem = new QHBoxLayout;
    contagem->addWidget(m_barra, 1);
    contagem->addWidget(m_linhas);
    layout->addLayout(contagem);
    layout->addLayout(botoes);
    return aba;
}

QWidget* Comunicacao::montarAbaConfiguracao() {
    auto* aba = new QWidget;
    aba->setObjectName(u"abaConfiguracao"_s);
    auto* form = new QFormLayout;
    m_empresa = entrada("ID_EMPRESA", 100);
    QLineEdit* matriz = entrada("ID_EMPMATRIZ", 100);
    QLineEdit* nome = entrada("BD_NOME");
    QLineEdit* host = entrada("BD_HOST");
    QLineEdit* porta = entrada("BD_PORTA", 100);
    QLineEdit* usuario = entrada("BD_USUARIO", 200);
    QLineEdit* senha = entrada("BD_SENHA", 200);
    senha->setEchoMode(QLineEdit::Password);
    QLineEdit* vendedor = entrada("COD_VENDEDOR", 100);
    QLineEdit* senhaVendedor = entrada("SENHA_VENDEDOR", 200);
    senhaVendedor->setEchoMode(QLineEdit::Password);
    QLineEdit* ponto = entrada("PONTO_INSTALACAO", 40);
    m_supervisor = marca(u"Supervisor de Vendas"_s, "SUPERVISOR");
    m_supervisor->setVisible(false);
    QLineEdit* historico = entrada("DIAS_HISTORICO", 100);

    form->addRow(u"Empresa"_s, m_empresa);
    form->addRow(u"Empresa Matriz:"_s, matriz);
    form->addRow(u"Nome BD:"_s, nome);
    form->addRow(u"Host BD:"_s, host);
    form->addRow(u"Porta BD:"_s, porta);
    form->addRow(u"Usuário BD:"_s, usuario);
    form->addRow(u"Senha BD:"_s, senha);
    form->addRow(u"Vendedor:"_s, vendedor);
    form->addRow(u"Senha do Vendedor:"_s, senhaVendedor);
    form->addRow(u"Ponto de Instalação:"_s, ponto);
    form->addRow(QString(), m_supervisor);
    form->addRow(u"Dias Histórico:"_s, historico);

    m_campos.inteiro(m_empresa, "ID_EMPRESA");
    m_campos.inteiro(matriz, "ID_EMPMATRIZ");
    m_campos.texto(nome, "BD_NOME");
    m_campos.texto(host, "BD_HOST");
    m_campos.inteiro(porta, "BD_PORTA");
    m_campos.texto(usuario, "BD_USUARIO");
    m_campos.texto(senha, "BD_SENHA");
    m_campos.inteiro(vendedor, "COD_VENDEDOR");
    m_campos.texto(senhaVendedor, "SENHA_VENDEDOR");
    m_campos.texto(ponto, "PONTO_INSTALACAO");
    m_campos.marca(m_supervisor, "SUPERVISOR");
    m_campos.inteiro(historico, "DIAS_HISTORICO");

    QPushButton* grava = botao(u"&Grava"_s, "grava");
    QPushButton* transferir = botao(u"Transf. Pedidos Matriz"_s, "transferirPedidos");
    connect(grava, &QPushButton::clicked, this, &Comunicacao::grava);
    connect(transferir, &QPushButton::clicked, this, &Comunicacao::transferirPedidos);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(transferir);
    botoes->addWidget(grava);

    auto* layout = new QVBoxLayout(aba);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(botoes);
    return aba;
}

QWidget* Comunicacao::montarAbaAvancada() {
    auto* aba = new QWidget;
    aba->setObjectName(u"abaAvancada"_s);
    auto* nota = new QLabel(u"Atenção: estas configurações só devem ser alteradas com o acompanhamento "
                            u"dos técnicos do fornecedor do QAV+."_s);
    nota->setObjectName(u"nota"_s);
    nota->setWordWrap(true);
    QCheckBox* leitor = marca(u"Permite uso leitor código de barras"_s, "ATIVA_LEIT_COD_BARRAS");
    QCheckBox* entrega =
        marca(u"Ativar opção para entrega imediata dos produtos"_s, "ATIVA_ENTREGA_IMEDIATA");
    QLineEdit* local = entrada("ID_ESTLOCAL", 100);
    auto* hub = new QComboBox;
    hub->setObjectName(u"QAV_HUB"_s);
    hub->addItem(u"0-Inativo"_s, 0);
    hub->addItem(u"1-Gerente"_s, 1);
    hub->setMaximumWidth(200);

    // Kept with the program's options (qav.ini), not with the company: it is about this notebook's link.
    m_esperaServidor = new QSpinBox;
    m_esperaServidor->setObjectName(u"esperaServidor"_s);
    m_esperaServidor->setRange(1, 3600);
    m_esperaServidor->setSuffix(u" s"_s);
    m_esperaServidor->setMaximumWidth(100);

    m_campos.marca(leitor, "ATIVA_LEIT_COD_BARRAS");
    m_campos.marca(entrega, "ATIVA_ENTREGA_IMEDIATA");
    m_campos.inteiro(local, "ID_ESTLOCAL");
    m_campos.opcao(hub, "QAV_HUB");

    auto* form = new QFormLayout;
    form->addRow(leitor);
    form->addRow(entrega);
    form->addRow(u"Local do Estoque:"_s, local);
    form->addRow(u"QAV Hub:"_s, hub);
    form->addRow(u"Espera pela resposta do servidor:"_s, m_esperaServidor);

    QPushButton* grava = botao(u"&Grava"_s, "gravaAvancada");
    connect(grava, &QPushButton::clicked, this, &Comunicacao::grava);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(grava);

    auto* layout = new QVBoxLayout(aba);
    layout->addWidget(nota);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(botoes);
    return aba;
}

} // namespace qav
