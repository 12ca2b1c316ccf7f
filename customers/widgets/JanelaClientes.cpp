#include "customers/widgets/JanelaClientes.h"

#include "customers/core/CadastroCliente.h"
#include "customers/core/ConsultasCliente.h"
#include "customers/core/ListaClientes.h"
#include "customers/core/RegrasCliente.h"
#include "customers/widgets/FichaCliente.h"
#include "customers/widgets/ResolverReferencia.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/FieldValidator.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

QLineEdit* localizador(QTabWidget* abas, const QString& titulo, const char* nome,
                       QWidget** pagina = nullptr) {
    auto* p = new QWidget;
    auto* layout = new QHBoxLayout(p);
    auto* e = new QLineEdit(p);
    e->setObjectName(QString::fromLatin1(nome));
    auto* rotulo = new QLabel(u"Localizar:"_s, p);
    rotulo->setBuddy(e);
    layout->addWidget(rotulo);
    layout->addWidget(e);
    abas->addTab(p, titulo);
    if (pagina)
        *pagina = p;
    return e;
}

bool teclaEnter(const QKeyEvent* tecla) {
    return tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
}

} // namespace

JanelaClientes::JanelaClientes(const ContextoClientes& contexto, bool selecao, QWidget* parent)
    : QWidget(parent), m_contexto(contexto), m_selecao(selecao),
      m_store(std::make_unique<Store>(contexto.pastaDados)) {
    setObjectName(u"BrowseClientes"_s);
    setWindowTitle(u"Correntistas"_s);
    m_modelo = new ClientesModelo(*m_store, this);
    connect(m_modelo, &StoreListModel::loadFailed, this, [this](Aviso aviso, const StoreError& erro) {
        standardWarning(aviso, erro, u"clientes"_s, {}, this);
    });

    m_abas = new QTabWidget(this);
    m_abas->setObjectName(u"abas"_s);
    // The search panel keeps its own height: the rows get the rest of the window.
    m_abas->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    m_localizaId = localizador(m_abas, u"Id"_s, "localizaId");
    m_localizaRazao = localizador(m_abas, u"Nome / Razão Social"_s, "localizaRazao");
    m_localizaDocumento = localizador(m_abas, u"CNPJ / CPF"_s, "localizaDocumento");
    m_localizaFantasia = localizador(m_abas, u"Fantasia"_s, "localizaFantasia");
    // Each search takes only what its field can hold, with the field's message otherwise.
    const TableDef& clientes = m_modelo->def();
    limitToField(m_localizaId, clientes, "ID");
    limitToField(m_localizaRazao, clientes, "RAZAO");
    limitToField(m_localizaDocumento, clientes, "CGCPF");
    limitToField(m_localizaFantasia, clientes, "NOME");
    QWidget* paginaMunicipio = nullptr;
    m_municipio = localizador(m_abas, u"Município"_s, "municipio", &paginaMunicipio);
    // A municipality id is a number; one too large for an id is refused when Enter asks for it.
    m_municipio->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"\\d{0,10}"_s), m_municipio));
    m_municipioNome = new QLabel(paginaMunicipio);
    m_municipioNome->setObjectName(u"municipioNome"_s);
    paginaMunicipio->layout()->addWidget(m_municipioNome);

    // One line for the situation, so that the rows keep the height of the window.
    auto* situacao = new QWidget(this);
    situacao->setObjectName(u"situacao"_s);
    auto* situacaoLayout = new QHBoxLayout(situacao);
    situacaoLayout->setContentsMargins(0, 0, 0, 0);
    situacaoLayout->addWidget(new QLabel(u"Situação:"_s, situacao));
    m_ativos = new QRadioButton(u" Ativos"_s, situacao);
    m_ativos->setObjectName(u"ativos"_s);
    m_inativos = new QRadioButton(u" Inativos"_s, situacao);
    m_inativos->setObjectName(u"inativos"_s);
    m_todos = new QRadioButton(u" Todos"_s, situacao);
    m_todos->setObjectName(u"todos"_s);
    m_ativos->setChecked(true);
    for (QRadioButton* b : {m_ativos, m_inativos, m_todos}) {
        situacaoLayout->addWidget(b);
        connect(b, &QRadioButton::toggled, this, [this](bool ligado) {
            if (ligado)
                recarregar();
        });
    }
    situacaoLayout->addStretch();

    m_lista = new QTableView(this);
    m_lista->setObjectName(u"lista"_s);
    m_lista->setModel(m_modelo);
    m_lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A selected row would turn every header bold, an empty selection normal again.
    m_lista->horizontalHeader()->setHighlightSections(false);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lista->setWordWrap(false);
    m_lista->verticalHeader()->hide();
    m_lista->setContextMenuPolicy(Qt::CustomContextMenu);
    m_lista->installEventFilter(this);
    m_lista->viewport()->installEventFilter(this);
    {
        // Fixed columns as wide as their longest value; the name takes what is left (ajustarColunas).
        const QFontMetrics fm = m_lista->fontMetrics();
        const int margem = 2 * fm.averageCharWidth() + 8;
        QHeaderView* cabecalho = m_lista->horizontalHeader();
        cabecalho->setStretchLastSection(false);
        cabecalho->setSectionResizeMode(QHeaderView::Interactive);
        m_lista->setColumnWidth(ClientesModelo::ColunaId, fm.horizontalAdvance(u"0000000"_s) + margem);
        m_lista->setColumnWidth(ClientesModelo::ColunaDocumento,
                                fm.horizontalAdvance(u"00.000.000/0000-00 / 000"_s) + margem);
        m_lista->setColumnWidth(ClientesModelo::ColunaMunicipio, fm.averageCharWidth() * 24 + margem);
        m_lista->setColumnWidth(ClientesModelo::ColunaUf, fm.horizontalAdvance(u"UFW"_s) + margem);
    }
    connect(m_lista->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &JanelaClientes::carregarAnteriores);

    auto botao = [this](const QString& texto, const char* nome, void (JanelaClientes::*acao)()) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, acao);
        return b;
    };
    m_selecionar = botao(u"&Selecionar"_s, "selecionar", &JanelaClientes::selecionar);
    m_novo = botao(u"&Novo"_s, "novo", &JanelaClientes::novo);
    m_editar = botao(u"&Editar"_s, "editar", &JanelaClientes::editar);
    m_excluir = botao(u"E&xcluir"_s, "excluir", &JanelaClientes::excluir);
    m_consulta = botao(u"&Consulta"_s, "consulta", &JanelaClientes::consultar);
    m_fechar = new QPushButton(u"&Fechar"_s, this);
    m_fechar->setObjectName(u"fechar"_s);
    m_fechar->setAutoDefault(false);
    connect(m_fechar, &QPushButton::clicked, this, [this] {
        Q_EMIT fechar();
        if (!m_selecao)
            (parentWidget() && qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this)->close();
    });
    m_selecionar->setVisible(m_selecao);

    m_popup = new QMenu(this);
    if (m_selecao)
        m_popup->addAction(u"&Selecionar"_s, this, &JanelaClientes::selecionar);
    m_popup->addAction(u"&Novo"_s, this, &JanelaClientes::novo);
    m_popup->addAction(u"&Editar"_s, this, &JanelaClientes::editar);
    m_popup->addAction(u"E&xcluir"_s, this, &JanelaClientes::excluir);
    m_popup->addAction(u"&Consulta"_s, this, &JanelaClientes::consultar);
    connect(m_lista, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        for (QAction* a : m_popup->actions())
            a->setEnabled(a->text() == u"&Novo"_s || m_modelo->rowCount() > 0);
        m_popup->popup(m_lista->viewport()->mapToGlobal(p));
    });
    connect(m_lista, &QTableView::doubleClicked, this, &JanelaClientes::ativar);
    connect(m_lista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &JanelaClientes::atualizarBotoes);

    connect(m_abas, &QTabWidget::currentChanged, this, [this] {
        const std::int64_t id = idAtual();
        recarregar();
        posicionar(id);
        localizadorAtual()->setFocus();
    });
    for (QLineEdit* e : {m_localizaId, m_localizaRazao, m_localizaFantasia}) {
        connect(e, &QLineEdit::textEdited, this, &JanelaClientes::localizar);
        e->installEventFilter(this);
    }
    connect(m_localizaDocumento, &QLineEdit::textEdited, this, &JanelaClientes::filtrarDocumento);
    connect(m_localizaDocumento, &QLineEdit::returnPressed, this, &JanelaClientes::localizarDocumento);
    connect(m_municipio, &QLineEdit::textEdited, this, &JanelaClientes::municipioEditado);
    connect(m_municipio, &QLineEdit::returnPressed, this, &JanelaClientes::escolherMunicipio);
    m_localizaDocumento->installEventFilter(this);
    m_municipio->installEventFilter(this);

    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {m_selecionar, m_novo, m_editar, m_excluir, m_consulta})
        botoes->addWidget(b);
    botoes->addStretch();
    botoes->addWidget(m_fechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_abas);
    layout->addWidget(situacao);
    layout->addWidget(m_lista, 1);
    layout->addLayout(botoes);
    resize(760, 520);
    recarregar();
}

JanelaClientes::~JanelaClientes() {
    // The model's cursors close their files in the store, which goes with this window.
    m_lista->setModel(nullptr);
    delete m_modelo;
}

ClientesModelo::Ordem JanelaClientes::ordem() const {
    return static_cast<ClientesModelo::Ordem>(m_abas->currentIndex());
}

ClientesModelo::Situacao JanelaClientes::situacao() const {
    return m_ativos->isChecked()     ? ClientesModelo::Situacao::Ativos
           : m_inativos->isChecked() ? ClientesModelo::Situacao::Inativos
                                     : ClientesModelo::Situacao::Todos;
}

QLineEdit* JanelaClientes::localizadorAtual() const {
    const QLineEdit* const entradas[] = {m_localizaId, m_localizaRazao, m_localizaDocumento,
                                         m_localizaFantasia, m_municipio};
    return const_cast<QLineEdit*>(entradas[std::clamp(m_abas->currentIndex(), 0, 4)]);
}

std::int64_t JanelaClientes::idAtual() const {
    return m_modelo->idDaLinha(m_lista->currentIndex().row());
}

void JanelaClientes::mostrarLinha(int linha) {
    if (linha >= 0 && linha < m_modelo->rowCount()) {
        const QModelIndex indice = m_modelo->index(linha, 0);
        m_lista->setCurrentIndex(indice);
        m_lista->scrollTo(indice, QAbstractItemView::PositionAtCenter);
    }
    atualizarBotoes();
}

void JanelaClientes::posicionar(std::int64_t id) {
    const std::optional<int> linha = m_modelo->posicionarNoId(id);
    mostrarLinha(linha ? *linha : 0);
}

void JanelaClientes::recarregar() {
    const std::int64_t id = idAtual();
    m_modelo->carregar(ordem(), situacao(), m_idMunicipio, m_localizaDocumento->text());
    posicionar(id);
}

void JanelaClientes::atualizarBotoes() {
    const bool vazia = m_modelo->rowCount() == 0;
    m_editar->setEnabled(!vazia);
    m_excluir->setEnabled(!vazia);
    m_consulta->setEnabled(!vazia);
    m_selecionar->setEnabled(!vazia);
}

void JanelaClientes::localizar(const QString& texto) {
    const std::optional<int> linha = m_modelo->localizar(texto);
    mostrarLinha(linha ? *linha : 0);
}

void JanelaClientes::filtrarDocumento(const QString& texto) {
    // Digits find the documents that begin with them, whatever the punctuation typed or stored;
    // anything else (a foreign document) positions the list as the other tabs do.
    if (texto.trimmed().isEmpty() || clientes::buscaPorDigitos(texto)) {
        m_modelo->carregar(ordem(), situacao(), m_idMunicipio, texto);
        mostrarLinha(0);
    } else {
        m_modelo->carregar(ordem(), situacao(), m_idMunicipio);
        localizar(texto);
    }
}

void JanelaClientes::localizarDocumento() {
    // 11 characters are a CPF, 14 a CNPJ; the list positions on the document without suffix.
    m_localizaDocumento->setText(clientes::formatarDocumentoLocalizador(m_localizaDocumento->text()));
    filtrarDocumento(m_localizaDocumento->text());
}

void JanelaClientes::municipioEditado(const QString& texto) {
    if (!texto.trimmed().isEmpty() || m_idMunicipio == 0)
        return;
    // An empty entry: no municipality chosen, every customer again.
    m_idMunicipio = 0;
    m_municipioNome->clear();
    recarregar();
}

void JanelaClientes::escolherMunicipio() {
    const std::optional<std::int64_t> digitado = clientes::idMunicipioDigitado(m_municipio->text());
    if (!digitado) {
        standardWarning(Aviso::ValorAcimaLimite, u"Município"_s, QString::number(clientes::limiteIdMunicipio),
                        this);
        m_municipio->setFocus();
        m_municipio->selectAll();
        return;
    }
    const std::optional<MunicipioCadastro> m =
        resolverMunicipio(*m_store, *digitado, m_contexto.listas(), this);
    if (m) {
        m_idMunicipio = m->id;
        m_municipio->setText(QString::number(m->id));
        m_municipioNome->setText(m->nome + u" - "_s + m->estado);
    }
    recarregar();
}

void JanelaClientes::abrirFormulario(Requisicao requisicao) {
    const std::int64_t id = idAtual();
    const std::int64_t resultado = FichaCliente::executar(m_contexto, requisicao, id, this);
    recarregar();
    if (resultado)
        posicionar(resultado);
}

void JanelaClientes::ativar() {
    if (m_selecao)
        selecionar();
    else
        editar();
}

void JanelaClientes::novo() {
    const clientes::Verificacao v =
        clientes::podeIncluir(configuracaoClientes(*m_store, m_contexto.idEmpresa).bloqueios1);
    if (!v.aceita) {
        MessageBox::show(v.texto, v.titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        return;
    }
    abrirFormulario(Requisicao::Inserir);
}

void JanelaClientes::editar() {
    if (m_modelo->rowCount() == 0)
        return;
    const clientes::Verificacao v = clientes::podeEditar(idAtual());
    if (!v.aceita) {
        MessageBox::show(v.texto, v.titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        return;
    }
    abrirFormulario(Requisicao::Alterar);
}

void JanelaClientes::consultar() {
    if (m_modelo->rowCount() > 0)
        abrirFormulario(Requisicao::Consultar);
}

void JanelaClientes::excluir() {
    if (m_modelo->rowCount() == 0)
        return;
    const std::int64_t id = idAtual();
    const clientes::Verificacao v = clientes::podeExcluir(id);
    if (!v.aceita) {
        MessageBox::show(v.texto, v.titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        return;
    }
    if (standardWarning(Aviso::ConfirmaExcluir, {}, {}, this) != static_cast<int>(Button::Ok))
        return;
    CadastroCliente cadastro(*m_store);
    if (!cadastro.abrir() || cadastro.ler(id) != Status::Ok) {
        standardWarning(Aviso::ErroLerRegistro, cadastro.erro(), u"clientes"_s, {}, this);
        recarregar();
        return;
    }
    const CadastroCliente::Resultado r = cadastro.excluir();
    if (r.comPedidos) {
        standardWarning(Aviso::ReferenciaImpedeExcluir, u"pedidos"_s, {}, this);
    } else if (!r.ok) {
        standardWarning(Aviso::ErroExcluir, r.erro, u"clientes"_s, {}, this);
    }
    recarregar();
}

void JanelaClientes::selecionar() {
    if (m_selecao && m_modelo->rowCount() > 0)
        Q_EMIT selecionado(idAtual());
}

int JanelaClientes::larguraMinimaNome(const QTableView* lista) {
    return lista->fontMetrics().averageCharWidth() * 30;
}

void JanelaClientes::ajustarColunas() {
    int outras = 0;
    for (int coluna = 0; coluna < m_modelo->columnCount(); ++coluna)
        if (coluna != ClientesModelo::ColunaRazao)
            outras += m_lista->columnWidth(coluna);
    m_lista->setColumnWidth(ClientesModelo::ColunaRazao,
                            std::max(larguraMinimaNome(m_lista), m_lista->viewport()->width() - outras));
}

void JanelaClientes::carregarAnteriores(int valor) {
    // At the top of the rows read: bring in the page before them, keeping the user's row in view.
    QScrollBar* barra = m_lista->verticalScrollBar();
    if (valor != barra->minimum() || !m_modelo->canFetchBefore())
        return;
    const int vieram = m_modelo->fetchBefore();
    if (vieram > 0)
        QTimer::singleShot(0, this, [this, vieram] {
            m_lista->scrollTo(m_modelo->index(vieram, 0), QAbstractItemView::PositionAtTop);
        });
}

void JanelaClientes::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The first letters the user types go to the search of the tab shown.
    if (!event->spontaneous())
        localizadorAtual()->setFocus();
}

bool JanelaClientes::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lista->viewport() && event->type() == QEvent::Resize) {
        ajustarColunas();
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* tecla = static_cast<QKeyEvent*>(event);
    if (watched == m_lista) {
        switch (tecla->key()) {
        case Qt::Key_Insert:
            novo();
            return true;
        case Qt::Key_Delete:
            excluir();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ativar();
            return true;
        case Qt::Key_Up:
        case Qt::Key_PageUp:
            // Above the first row read: bring in the page before it.
            if (m_lista->currentIndex().row() <= 0 && m_modelo->canFetchBefore())
                m_modelo->fetchBefore();
            break;
        default:
            break;
        }
        return QWidget::eventFilter(watched, event);
    }
    // In a search entry: the arrows move along the list, Enter opens (or chooses) the row found.
    switch (tecla->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        QCoreApplication::sendEvent(m_lista, event);
        return true;
    default:
        break;
    }
    if (teclaEnter(tecla) && watched != m_localizaDocumento && watched != m_municipio) {
        ativar();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<std::int64_t> selecionarCliente(const ContextoClientes& contexto, QWidget* parent,
                                              std::int64_t idInicial) {
    QDialog dialogo(parent);
    dialogo.setObjectName(u"selecaoClientes"_s);
    dialogo.setWindowTitle(u"Correntistas"_s);
    auto* lista = new JanelaClientes(contexto, true, &dialogo);
    auto* layout = new QVBoxLayout(&dialogo);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lista);
    lista->posicionar(idInicial);
    std::optional<std::int64_t> escolhido;
    QObject::connect(lista, &JanelaClientes::selecionado, &dialogo, [&](std::int64_t id) {
        escolhido = id;
        dialogo.accept();
    });
    QObject::connect(lista, &JanelaClientes::fechar, &dialogo, &QDialog::reject);
    dialogo.resize(lista->size());
    dialogo.exec();
    return escolhido;
}

void registerCustomerWindows() {
    WindowRegistry::add(janelaMenu::BrowseCLIENTES, [](const WindowContext& c) {
        auto* lista = new JanelaClientes(ContextoClientes::daSessao(c.programFolder), false);
        lista->setAttribute(Qt::WA_DeleteOnClose);
        if (!c.mdiArea) {
            lista->show();
            return;
        }
        // The list keeps no position of its own in qavplus.INI.
        c.addChild(lista, {});
    });
}

} // namespace qav
