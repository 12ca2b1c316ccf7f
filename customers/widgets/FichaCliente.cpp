#include "customers/widgets/FichaCliente.h"

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

FichaCliente::FichaCliente(const ContextoClientes& contexto, Requisicao requisicao, std::int64_t id,
                           QWidget* parent)
    : QDialog(parent), m_contexto(contexto), m_requisicao(requisicao), m_idPedido(id),
      m_store(std::make_unique<Store>(contexto.pastaDados)), m_cadastro(*m_store),
      m_campos(*findTable("clientes.tps")) {
    setObjectName(u"UpdateCLIENTES"_s);
    montar();
    ligarVerificacoes();
    WindowStateBinder::attach(this, janela::UpdateCLIENTES, m_contexto.iniJanelas());
}

FichaCliente::~FichaCliente() = default;

void FichaCliente::montar() {
    m_id = new QLabel(this);
    m_id->setObjectName(u"id"_s);
    m_dica = new QLabel(this);
    m_dica->setObjectName(u"dica"_s);
    m_dica->setStyleSheet(u"color: #a00000"_s);

    m_abas = new QTabWidget(this);
    m_abas->setObjectName(u"abas"_s);
    m_cadastroAba = new AbaCadastro(m_campos);
    m_pessoaFisica = new AbaPessoaFisica(m_campos);
    m_juridica1 = new AbaJuridica1(m_campos);
    m_juridica2 = new AbaJuridica2(m_campos);
    m_socios = new AbaSocios(m_cadastro.socios(), m_contexto.iniJanelas());
    m_outras = new AbaOutras(m_campos);
    m_abas->addTab(rolavel(m_cadastroAba), u"Cadastro"_s);
    m_abas->addTab(rolavel(m_pessoaFisica), u"Pessoa Física"_s);
    m_abas->addTab(rolavel(m_juridica1), u"Pessoa Jurídica (1)"_s);
    m_abas->addTab(rolavel(m_juridica2), u"Pessoa Jurídica (2)"_s);
    m_abas->addTab(m_socios, u"Pessoa Jurídica (3)"_s);
    m_abas->addTab(rolavel(m_outras), u"Outras Informações"_s);

    // The nickname of a person and the trade name of a company are the same field.
    connect(m_pessoaFisica->apelido, &QLineEdit::textEdited, m_juridica1->fantasia, &QLineEdit::setText);
    connect(m_juridica1->fantasia, &QLineEdit::textChanged, m_pessoaFisica->apelido,
            [this](const QString& t) {
                if (m_pessoaFisica->apelido->text() != t)
                    m_pessoaFisica->apelido->setText(t);
            });

    auto botao = [this](const QString& texto, const char* nome) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        return b;
    };
    m_entrega = botao(u"End. &Entrega"_s, "enderecoEntrega");
    m_cobranca = botao(u"End. Co&brança"_s, "enderecoCobranca");
    m_ok = botao(u"&OK"_s, "ok");
    m_cancelar = botao(u"&Cancelar"_s, "cancelar");
    connect(m_ok, &QPushButton::clicked, this, [this] { confirmar(); });
    connect(m_cancelar, &QPushButton::clicked, this, &FichaCliente::cancelar);
    const auto abrirEndereco = [this](bool entrega) {
        // The address windows work on the record: the entries go into it first (an entry that
        // cannot be taken keeps its field's value and is refused again on "&OK").
        m_campos.gravar(m_cadastro.registro());
        const bool leitura = m_requisicao == Requisicao::Consultar || m_requisicao == Requisicao::Excluir;
        if (entrega)
            endEntrega(m_cadastro.registro(), *m_store, leitura, m_contexto, this);
        else
            endCobranca(m_cadastro.registro(), *m_store, leitura, m_contexto, this);
    };
    connect(m_entrega, &QPushButton::clicked, this, [abrirEndereco] { abrirEndereco(true); });
    connect(m_cobranca, &QPushButton::clicked, this, [abrirEndereco] { abrirEndereco(false); });

    auto* topo = new QHBoxLayout;
    topo->addWidget(new QLabel(u"Id:"_s, this));
    topo->addWidget(m_id);
    topo->addStretch();
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(m_entrega);
    botoes->addWidget(m_cobranca);
    botoes->addStretch();
    botoes->addWidget(m_ok);
    botoes->addWidget(m_cancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(m_abas);
    layout->addWidget(m_dica);
    layout->addLayout(botoes);
    // Wide enough for every tab's caption (all tabs are visible here, before the person type hides
    // some) and tall enough for the longest tab where the screen allows it.
    const QRect tela = screen() ? screen()->availableGeometry() : QRect(0, 0, 1366, 768);
    resize(qMin(tela.width(), qMax(640, m_abas->tabBar()->sizeHint().width() + 48)),
           qMin(tela.height() - 60, 680));
}

void FichaCliente::paraTela() {
    const Record& r = m_cadastro.registro();
    m_campos.carregar(r);
    m_id->setText(clientes::idSeisDigitos(r.integer("ID")));
    m_dica->clear();
    m_inscricaoRecusada = false;
    const std::optional<MunicipioCadastro> m = buscarMunicipio(*m_store, r.integer("ID_MUNICIPIO"));
    m_uf = m ? m->estado : QString();
    mostrarMunicipio();
    mostrarVendedor();
    mostrarFormaPag();
    aplicarPessoa();
    m_socios->mostrar();
    const bool leitura = m_requisicao == Requisicao::Consultar || m_requisicao == Requisicao::Excluir;
    m_campos.somenteLeitura(leitura);
    m_pessoaFisica->apelido->setReadOnly(leitura);
    m_socios->setSomenteLeitura(leitura);
    setWindowTitle(m_requisicao == Requisicao::Inserir   ? u"Novo"_s
                   : m_requisicao == Requisicao::Alterar ? u"Edita"_s
                                                         : u"Consultar"_s);
    m_abas->setCurrentIndex(AbaIndCadastro);
    // The cursor starts in the first field, so the user types at once.
    (leitura ? static_cast<QWidget*>(m_ok) : m_cadastroAba->pessoa)->setFocus();
}

bool FichaCliente::daTela() {
    const std::optional<CamposRegistro::Recusa> recusa = m_campos.gravar(m_cadastro.registro());
    if (!recusa)
        return true;
    return recusar(recusa->campo, clientes::Verificacao::recusa(recusa->texto, recusa->titulo));
}

bool FichaCliente::alterado() const {
    if (m_requisicao == Requisicao::Consultar || m_requisicao == Requisicao::Excluir)
        return false;
    Record atual = m_cadastro.registro();
    m_campos.gravar(atual);
    return !(atual == m_cadastro.original()) || m_cadastro.socios().mudou();
}

void FichaCliente::aplicarPessoa() {
    const int pessoa = m_cadastroAba->pessoa->currentData().toInt();
    const clientes::AbasVisiveis v = clientes::abasVisiveis(pessoa);
    m_abas->setTabVisible(AbaIndPessoaFisica, v.pessoaFisica);
    m_abas->setTabVisible(AbaIndJuridica1, v.juridica);
    m_abas->setTabVisible(AbaIndJuridica2, v.juridica);
    m_abas->setTabVisible(AbaIndJuridica3, v.juridica);
    m_cadastroAba->rotuloDocumento->setText(clientes::rotuloDocumento(pessoa));
}

void FichaCliente::mostrarMunicipio() {
    const std::optional<MunicipioCadastro> m =
        buscarMunicipio(*m_store, m_cadastroAba->municipio->text().trimmed().toLongLong());
    m_cadastroAba->municipioNome->setText(m ? m->nome + u" - "_s + m->estado : QString());
}

void FichaCliente::mostrarFormaPag() {
    m_outras->formaPagamentoNome->setText(
        formaPagamento(*m_store, m_contexto.idEmpresa,
                       m_outras->formaPagamento->text().trimmed().toLongLong())
            .value_or(QString()));
}

void FichaCliente::mostrarVendedor() {
    m_cadastroAba->vendedorNome->setText(
        nomeVendedor(*m_store, m_contexto.idEmpresa, m_cadastroAba->vendedor->text().trimmed().toLongLong()));
}

void FichaCliente::keyPressEvent(QKeyEvent* event) {
    // Enter moves to the next field, as everywhere in the program.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !qobject_cast<QPushButton*>(focusWidget())) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::int64_t FichaCliente::executar(const ContextoClientes& contexto, Requisicao requisicao, std::int64_t id,
                                    QWidget* parent) {
    FichaCliente form(contexto, requisicao, id, parent);
    if (!form.preparar())
        return 0;
    const int resultado = form.exec();
    if (requisicao == Requisicao::Inserir)
        return form.ultimoGravado();
    return resultado == QDialog::Accepted ? id : 0;
}

} // namespace qav
