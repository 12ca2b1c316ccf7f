#include "customers/widgets/BrowseClientes.h"

#include "customers/core/CadastroCliente.h"
#include "customers/core/ConsultasCliente.h"
#include "customers/core/RegrasCliente.h"
#include "customers/widgets/ResolverReferencia.h"
#include "customers/widgets/UpdateClientes.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
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
    layout->addWidget(new QLabel(u"Localizar:"_s, p));
    layout->addWidget(e);
    abas->addTab(p, titulo);
    if (pagina)
        *pagina = p;
    return e;
}

} // namespace

BrowseClientes::BrowseClientes(const ContextoClientes& contexto, bool selecao, QWidget* parent)
    : QWidget(parent), contexto_(contexto), selecao_(selecao),
      store_(std::make_unique<Store>(contexto.pastaDados)) {
    setObjectName(u"BrowseClientes"_s);
    setWindowTitle(u"Correntistas"_s);
    modelo_ = new ClientesModelo(*store_, this);

    abas_ = new QTabWidget(this);
    abas_->setObjectName(u"abas"_s);
    localizaId_ = localizador(abas_, u"Id"_s, "localizaId");
    localizaRazao_ = localizador(abas_, u"Nome / Razão Social"_s, "localizaRazao");
    localizaDocumento_ = localizador(abas_, u"CNPJ / CPF"_s, "localizaDocumento");
    localizaFantasia_ = localizador(abas_, u"Fantasia"_s, "localizaFantasia");
    QWidget* paginaMunicipio = nullptr;
    municipio_ = localizador(abas_, u"Município"_s, "municipio", &paginaMunicipio);
    municipioNome_ = new QLabel(paginaMunicipio);
    municipioNome_->setObjectName(u"municipioNome"_s);
    paginaMunicipio->layout()->addWidget(municipioNome_);

    auto* situacao = new QGroupBox(u"Situação:"_s, this);
    ativos_ = new QRadioButton(u" Ativos"_s, situacao);
    ativos_->setObjectName(u"ativos"_s);
    inativos_ = new QRadioButton(u" Inativos"_s, situacao);
    inativos_->setObjectName(u"inativos"_s);
    todos_ = new QRadioButton(u" Todos"_s, situacao);
    todos_->setObjectName(u"todos"_s);
    ativos_->setChecked(true);
    auto* situacaoLayout = new QHBoxLayout(situacao);
    for (QRadioButton* b : {ativos_, inativos_, todos_}) {
        situacaoLayout->addWidget(b);
        connect(b, &QRadioButton::toggled, this, [this](bool ligado) {
            if (ligado)
                recarregar();
        });
    }

    lista_ = new QTableView(this);
    lista_->setObjectName(u"lista"_s);
    lista_->setModel(modelo_);
    lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    lista_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    lista_->verticalHeader()->hide();
    lista_->setContextMenuPolicy(Qt::CustomContextMenu);

    auto botao = [this](const QString& texto, const char* nome, void (BrowseClientes::*acao)()) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, acao);
        return b;
    };
    selecionar_ = botao(u"&Selecionar"_s, "selecionar", &BrowseClientes::selecionar);
    novo_ = botao(u"&Novo"_s, "novo", &BrowseClientes::novo);
    editar_ = botao(u"&Editar"_s, "editar", &BrowseClientes::editar);
    excluir_ = botao(u"E&xcluir"_s, "excluir", &BrowseClientes::excluir);
    consulta_ = botao(u"&Consulta"_s, "consulta", &BrowseClientes::consultar);
    fechar_ = new QPushButton(u"&Fechar"_s, this);
    fechar_->setObjectName(u"fechar"_s);
    fechar_->setAutoDefault(false);
    connect(fechar_, &QPushButton::clicked, this, [this] {
        Q_EMIT fechar();
        if (!selecao_)
            (parentWidget() && qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this)->close();
    });
    selecionar_->setVisible(selecao_);

    popup_ = new QMenu(this);
    if (selecao_)
        popup_->addAction(u"&Selecionar"_s, this, &BrowseClientes::selecionar);
    popup_->addAction(u"&Novo"_s, this, &BrowseClientes::novo);
    popup_->addAction(u"&Editar"_s, this, &BrowseClientes::editar);
    popup_->addAction(u"E&xcluir"_s, this, &BrowseClientes::excluir);
    popup_->addAction(u"&Consulta"_s, this, &BrowseClientes::consultar);
    connect(lista_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        for (QAction* a : popup_->actions())
            a->setEnabled(a->text() == u"&Novo"_s || modelo_->rowCount() > 0);
        popup_->popup(lista_->viewport()->mapToGlobal(p));
    });
    connect(lista_, &QTableView::doubleClicked, this, [this] { selecao_ ? selecionar() : editar(); });

    connect(abas_, &QTabWidget::currentChanged, this, [this] {
        const std::int64_t id = idAtual();
        recarregar();
        posicionar(id);
    });
    for (QLineEdit* e : {localizaId_, localizaRazao_, localizaFantasia_, localizaDocumento_})
        connect(e, &QLineEdit::textEdited, this, &BrowseClientes::localizar);
    connect(localizaDocumento_, &QLineEdit::returnPressed, this, &BrowseClientes::localizarDocumento);
    connect(municipio_, &QLineEdit::returnPressed, this, &BrowseClientes::escolherMunicipio);

    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {selecionar_, novo_, editar_, excluir_, consulta_})
        botoes->addWidget(b);
    botoes->addStretch();
    botoes->addWidget(fechar_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(abas_);
    layout->addWidget(situacao);
    layout->addWidget(lista_);
    layout->addLayout(botoes);
    resize(720, 480);
    recarregar();
}

BrowseClientes::~BrowseClientes() = default;

ClientesModelo::Ordem BrowseClientes::ordem() const {
    return static_cast<ClientesModelo::Ordem>(abas_->currentIndex());
}

ClientesModelo::Situacao BrowseClientes::situacao() const {
    return ativos_->isChecked()     ? ClientesModelo::Ativos
           : inativos_->isChecked() ? ClientesModelo::Inativos
                                    : ClientesModelo::Todos;
}

std::int64_t BrowseClientes::idAtual() const {
    return modelo_->idDaLinha(lista_->currentIndex().row());
}

void BrowseClientes::posicionar(std::int64_t id) {
    int linha = modelo_->linhaDoId(id);
    if (linha < 0 && modelo_->rowCount() > 0)
        linha = 0;
    if (linha >= 0)
        lista_->setCurrentIndex(modelo_->index(linha, 0));
    atualizarBotoes();
}

void BrowseClientes::recarregar() {
    const std::int64_t id = idAtual();
    if (!modelo_->carregar(ordem(), situacao(), idMunicipio_))
        standardWarning(35, u"clientes"_s, {}, this);
    posicionar(id);
}

void BrowseClientes::atualizarBotoes() {
    const bool vazia = modelo_->rowCount() == 0;
    editar_->setEnabled(!vazia);
    excluir_->setEnabled(!vazia);
    consulta_->setEnabled(!vazia);
    selecionar_->setEnabled(!vazia);
}

void BrowseClientes::localizar(const QString& texto) {
    const int linha = modelo_->localizar(texto);
    if (linha >= 0)
        lista_->setCurrentIndex(modelo_->index(linha, 0));
}

void BrowseClientes::localizarDocumento() {
    // 11 characters are a CPF, 14 a CNPJ; the list positions on the document without suffix.
    localizaDocumento_->setText(clientes::formatarDocumentoLocalizador(localizaDocumento_->text()));
    localizar(localizaDocumento_->text());
}

void BrowseClientes::escolherMunicipio() {
    const std::optional<Municipio> m =
        resolverMunicipio(*store_, municipio_->text().trimmed().toLongLong(), contexto_.listas(), this);
    if (m) {
        idMunicipio_ = m->id;
        municipio_->setText(QString::number(m->id));
        municipioNome_->setText(m->nome + u" - "_s + m->estado);
    }
    recarregar();
}

void BrowseClientes::abrirFormulario(int pedido) {
    const std::int64_t id = idAtual();
    const std::int64_t resultado =
        UpdateClientes::executar(contexto_, static_cast<UpdateClientes::Pedido>(pedido), id, this);
    recarregar();
    if (resultado)
        posicionar(resultado);
}

void BrowseClientes::novo() {
    const clientes::Verificacao v =
        clientes::podeIncluir(configuracaoClientes(*store_, contexto_.idEmpresa).bloqueios1);
    if (!v.aceita) {
        MessageBox::show(v.texto, v.titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        return;
    }
    abrirFormulario(UpdateClientes::Inserir);
}

void BrowseClientes::editar() {
    if (modelo_->rowCount() == 0)
        return;
    const clientes::Verificacao v = clientes::podeEditar(idAtual());
    if (!v.aceita) {
        MessageBox::show(v.texto, v.titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        return;
    }
    abrirFormulario(UpdateClientes::Alterar);
}

void BrowseClientes::consultar() {
    if (modelo_->rowCount() > 0)
        abrirFormulario(UpdateClientes::Consultar);
}

void BrowseClientes::excluir() {
    if (modelo_->rowCount() == 0)
        return;
    const std::int64_t id = idAtual();
    const clientes::Verificacao v = clientes::podeExcluir(id);
    if (!v.aceita) {
        MessageBox::show(v.texto, v.titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        return;
    }
    if (standardWarning(32, {}, {}, this) != static_cast<int>(Button::Ok))
        return;
    CadastroCliente cadastro(*store_);
    if (!cadastro.abrir() || cadastro.ler(id) != Status::Ok) {
        setPendingError(cadastro.erro());
        standardWarning(35, u"clientes"_s, {}, this);
        recarregar();
        return;
    }
    const CadastroCliente::Resultado r = cadastro.excluir();
    if (r.comPedidos) {
        standardWarning(13, u"pedidos"_s, {}, this);
    } else if (!r.ok) {
        setPendingError(r.erro);
        standardWarning(17, u"clientes"_s, {}, this);
    }
    recarregar();
}

void BrowseClientes::selecionar() {
    if (selecao_ && modelo_->rowCount() > 0)
        Q_EMIT selecionado(idAtual());
}

std::optional<std::int64_t> selecionarCliente(const ContextoClientes& contexto, QWidget* parent,
                                              std::int64_t idInicial) {
    QDialog dialogo(parent);
    dialogo.setObjectName(u"selecaoClientes"_s);
    dialogo.setWindowTitle(u"Correntistas"_s);
    auto* lista = new BrowseClientes(contexto, true, &dialogo);
    auto* layout = new QVBoxLayout(&dialogo);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lista);
    lista->posicionar(idInicial);
    std::optional<std::int64_t> escolhido;
    QObject::connect(lista, &BrowseClientes::selecionado, &dialogo, [&](std::int64_t id) {
        escolhido = id;
        dialogo.accept();
    });
    QObject::connect(lista, &BrowseClientes::fechar, &dialogo, &QDialog::reject);
    dialogo.resize(lista->size());
    dialogo.exec();
    return escolhido;
}

void registerCustomerWindows() {
    WindowRegistry::add(janelaMenu::BrowseCLIENTES, [](const WindowContext& c) {
        auto* lista = new BrowseClientes(ContextoClientes::daSessao(c.programFolder), false);
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
