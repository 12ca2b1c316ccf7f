#include "customers/widgets/UpdateClientes.h"

#include "base/core/WindowState.h"
#include "customers/core/ConsultasCliente.h"
#include "customers/widgets/AbaCadastro.h"
#include "customers/widgets/AbaJuridica.h"
#include "customers/widgets/AbaOutras.h"
#include "customers/widgets/AbaPessoaFisica.h"
#include "customers/widgets/AbaSocios.h"
#include "customers/widgets/EnderecoCliente.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

// Tab indexes, in the order they are added.
enum { AbaIndCadastro, AbaIndPessoaFisica, AbaIndJuridica1, AbaIndJuridica2, AbaIndJuridica3, AbaIndOutras };

QWidget* rolavel(QWidget* conteudo) {
    auto* area = new QScrollArea;
    area->setWidget(conteudo);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

} // namespace

UpdateClientes::UpdateClientes(const ContextoClientes& contexto, Pedido pedido, std::int64_t id,
                               QWidget* parent)
    : QDialog(parent), contexto_(contexto), pedido_(pedido), idPedido_(id),
      store_(std::make_unique<Store>(contexto.pastaDados)), cadastro_(*store_),
      campos_(*findTable("clientes.tps")) {
    setObjectName(u"UpdateCLIENTES"_s);
    montar();
    ligarVerificacoes();
    WindowStateBinder::attach(this, janela::UpdateCLIENTES, contexto_.iniJanelas());
}

UpdateClientes::~UpdateClientes() = default;

void UpdateClientes::montar() {
    id_ = new QLabel(this);
    id_->setObjectName(u"id"_s);
    dica_ = new QLabel(this);
    dica_->setObjectName(u"dica"_s);
    dica_->setStyleSheet(u"color: #a00000"_s);

    abas_ = new QTabWidget(this);
    abas_->setObjectName(u"abas"_s);
    cadastroAba_ = new AbaCadastro(campos_);
    pessoaFisica_ = new AbaPessoaFisica(campos_);
    juridica1_ = new AbaJuridica1(campos_);
    juridica2_ = new AbaJuridica2(campos_);
    socios_ = new AbaSocios(cadastro_.socios(), contexto_.iniJanelas());
    outras_ = new AbaOutras(campos_);
    abas_->addTab(rolavel(cadastroAba_), u"Cadastro"_s);
    abas_->addTab(rolavel(pessoaFisica_), u"Pessoa Física"_s);
    abas_->addTab(rolavel(juridica1_), u"Pessoa Jurídica (1)"_s);
    abas_->addTab(rolavel(juridica2_), u"Pessoa Jurídica (2)"_s);
    abas_->addTab(socios_, u"Pessoa Jurídica (3)"_s);
    abas_->addTab(rolavel(outras_), u"Outras Informações"_s);

    // The nickname of a person and the trade name of a company are the same field.
    connect(pessoaFisica_->apelido, &QLineEdit::textEdited, juridica1_->fantasia, &QLineEdit::setText);
    connect(juridica1_->fantasia, &QLineEdit::textChanged, pessoaFisica_->apelido, [this](const QString& t) {
        if (pessoaFisica_->apelido->text() != t)
            pessoaFisica_->apelido->setText(t);
    });

    auto botao = [this](const QString& texto, const char* nome) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        return b;
    };
    entrega_ = botao(u"End. &Entrega"_s, "enderecoEntrega");
    cobranca_ = botao(u"End. Co&brança"_s, "enderecoCobranca");
    ok_ = botao(u"&OK"_s, "ok");
    cancelar_ = botao(u"&Cancelar"_s, "cancelar");
    connect(ok_, &QPushButton::clicked, this, [this] { confirmar(); });
    connect(cancelar_, &QPushButton::clicked, this, &UpdateClientes::cancelar);
    const auto abrirEndereco = [this](bool entrega) {
        // The address windows work on the record: the entries go into it first (an entry that
        // cannot be taken keeps its field's value and is refused again on "&OK").
        campos_.gravar(cadastro_.registro());
        const bool leitura = pedido_ == Consultar || pedido_ == Excluir;
        if (entrega)
            endEntrega(cadastro_.registro(), *store_, leitura, contexto_, this);
        else
            endCobranca(cadastro_.registro(), *store_, leitura, contexto_, this);
    };
    connect(entrega_, &QPushButton::clicked, this, [abrirEndereco] { abrirEndereco(true); });
    connect(cobranca_, &QPushButton::clicked, this, [abrirEndereco] { abrirEndereco(false); });

    auto* topo = new QHBoxLayout;
    topo->addWidget(new QLabel(u"Id:"_s, this));
    topo->addWidget(id_);
    topo->addStretch();
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(entrega_);
    botoes->addWidget(cobranca_);
    botoes->addStretch();
    botoes->addWidget(ok_);
    botoes->addWidget(cancelar_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(abas_);
    layout->addWidget(dica_);
    layout->addLayout(botoes);
    // Wide enough for every tab's caption (all tabs are visible here, before the person type hides
    // some) and tall enough for the longest tab where the screen allows it.
    const QRect tela = screen() ? screen()->availableGeometry() : QRect(0, 0, 1366, 768);
    resize(qMin(tela.width(), qMax(640, abas_->tabBar()->sizeHint().width() + 48)),
           qMin(tela.height() - 60, 680));
}

void UpdateClientes::paraTela() {
    const Record& r = cadastro_.registro();
    campos_.carregar(r);
    id_->setText(clientes::idSeisDigitos(r.integer("ID")));
    dica_->clear();
    inscricaoRecusada_ = false;
    const std::optional<MunicipioCadastro> m = buscarMunicipio(*store_, r.integer("ID_MUNICIPIO"));
    uf_ = m ? m->estado : QString();
    mostrarMunicipio();
    mostrarVendedor();
    mostrarFormaPag();
    aplicarPessoa();
    socios_->mostrar();
    const bool leitura = pedido_ == Consultar || pedido_ == Excluir;
    campos_.somenteLeitura(leitura);
    pessoaFisica_->apelido->setReadOnly(leitura);
    socios_->setSomenteLeitura(leitura);
    setWindowTitle(pedido_ == Inserir ? u"Novo"_s : pedido_ == Alterar ? u"Edita"_s : u"Consultar"_s);
    abas_->setCurrentIndex(AbaIndCadastro);
    // The cursor starts in the first field, so the user types at once.
    (leitura ? static_cast<QWidget*>(ok_) : cadastroAba_->pessoa)->setFocus();
}

bool UpdateClientes::daTela() {
    const std::optional<CamposRegistro::Recusa> recusa = campos_.gravar(cadastro_.registro());
    if (!recusa)
        return true;
    return recusar(recusa->campo, clientes::Verificacao::recusa(recusa->texto, recusa->titulo));
}

bool UpdateClientes::alterado() const {
    if (pedido_ == Consultar || pedido_ == Excluir)
        return false;
    Record atual = cadastro_.registro();
    campos_.gravar(atual);
    return !(atual == cadastro_.original()) || cadastro_.socios().mudou();
}

void UpdateClientes::aplicarPessoa() {
    const int pessoa = cadastroAba_->pessoa->currentData().toInt();
    const clientes::AbasVisiveis v = clientes::abasVisiveis(pessoa);
    abas_->setTabVisible(AbaIndPessoaFisica, v.pessoaFisica);
    abas_->setTabVisible(AbaIndJuridica1, v.juridica);
    abas_->setTabVisible(AbaIndJuridica2, v.juridica);
    abas_->setTabVisible(AbaIndJuridica3, v.juridica);
    cadastroAba_->rotuloDocumento->setText(clientes::rotuloDocumento(pessoa));
}

void UpdateClientes::mostrarMunicipio() {
    const std::optional<MunicipioCadastro> m =
        buscarMunicipio(*store_, cadastroAba_->municipio->text().trimmed().toLongLong());
    cadastroAba_->municipioNome->setText(m ? m->nome + u" - "_s + m->estado : QString());
}

void UpdateClientes::mostrarFormaPag() {
    outras_->formaPagamentoNome->setText(
        formaPagamento(*store_, contexto_.idEmpresa, outras_->formaPagamento->text().trimmed().toLongLong())
            .value_or(QString()));
}

void UpdateClientes::mostrarVendedor() {
    cadastroAba_->vendedorNome->setText(
        nomeVendedor(*store_, contexto_.idEmpresa, cadastroAba_->vendedor->text().trimmed().toLongLong()));
}

void UpdateClientes::keyPressEvent(QKeyEvent* event) {
    // Enter moves to the next field, as everywhere in the program.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !qobject_cast<QPushButton*>(focusWidget())) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::int64_t UpdateClientes::executar(const ContextoClientes& contexto, Pedido pedido, std::int64_t id,
                                      QWidget* parent) {
    UpdateClientes form(contexto, pedido, id, parent);
    if (!form.preparar())
        return 0;
    const int resultado = form.exec();
    if (pedido == Inserir)
        return form.ultimoGravado();
    return resultado == QDialog::Accepted ? id : 0;
}

} // namespace qav
