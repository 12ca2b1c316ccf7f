// The field checks of the customer form: run when the user leaves a field, and all again on "&OK".
#include "customers/widgets/FichaCliente.h"

#include "customers/core/ConsultasCliente.h"
#include "customers/widgets/AbaCadastro.h"
#include "customers/widgets/AbaJuridica.h"
#include "customers/widgets/AbaOutras.h"
#include "customers/widgets/AbaSocios.h"
#include "customers/widgets/ResolverReferencia.h"
#include "ui/widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace qav {

using clientes::Verificacao;

void FichaCliente::ligarVerificacoes() {
    AbaCadastro* c = m_cadastroAba;
    connect(c->pessoa, &QComboBox::activated, this, [this] {
        const int pessoa = m_cadastroAba->pessoa->currentData().toInt();
        m_contexto.settings().setClientesPessoa(pessoa);
        aplicarPessoa();
    });
    connect(c->documento, &QLineEdit::editingFinished, this, [this] {
        if (saindoDoCampo())
            verificarDocumento();
    });
    connect(c->municipio, &QLineEdit::editingFinished, this, [this] {
        if (saindoDoCampo())
            verificarMunicipio(true);
    });
    connect(c->vendedor, &QLineEdit::editingFinished, this, &FichaCliente::mostrarVendedor);
    connect(c->cep, &QLineEdit::editingFinished, this, &FichaCliente::formatarCeps);
    connect(m_juridica1->cepPraca, &QLineEdit::editingFinished, this, &FichaCliente::formatarCeps);
    connect(c->indicadorIe, &QComboBox::activated, this, [this] { verificarIndicador(); });
    connect(c->inscricao, &QLineEdit::textEdited, this, [this] { m_inscricaoRecusada = false; });
    connect(c->inscricao, &QLineEdit::editingFinished, this, [this] {
        // The registration is checked against the state also when the user goes straight to "&OK".
        if (!m_fechando && QApplication::focusWidget() != m_cancelar)
            m_inscricaoRecusada = !verificarInscricao(true);
    });
    for (QLineEdit* e : {m_outras->email, m_outras->emailQav, m_outras->www})
        connect(e, &QLineEdit::editingFinished, this, [this, e] {
            e->setText(clientes::emMinusculas(e->text()));
            if (e != m_outras->www && saindoDoCampo())
                verificarEmail(e);
        });
    connect(m_outras->formaPagamento, &QLineEdit::editingFinished, this, [this] {
        if (saindoDoCampo())
            verificarFormaPag();
        else
            mostrarFormaPag();
    });
    for (QLineEdit* e : m_campos.datas())
        connect(e, &QLineEdit::editingFinished, this, [this, e] {
            if (saindoDoCampo())
                verificarData(e);
        });
    connect(m_outras->pauta, &QLineEdit::editingFinished, this, [this] {
        if (saindoDoCampo())
            verificarPauta();
    });
    connect(m_outras->classe, &QComboBox::activated, this, [this] {
        if (clientes::classeRetiraCredito(m_outras->classe->currentData().toString()))
            m_outras->creditoLiberado->setChecked(false);
    });
}

// A field is being left towards another field: not when the form closes, nor towards "&OK" (which
// checks everything again).
bool FichaCliente::saindoDoCampo() const {
    const QWidget* destino = QApplication::focusWidget();
    return !m_fechando && destino != m_cancelar && destino != m_ok && m_requisicao != Requisicao::Consultar &&
           m_requisicao != Requisicao::Excluir;
}

bool FichaCliente::recusar(QWidget* campo, const Verificacao& v) {
    if (v.aceita) {
        m_dica->clear();
        return true;
    }
    m_dica->setText(v.dica);
    if (!v.texto.isEmpty())
        MessageBox::show(v.texto, v.titulo, v.titulo == u"Erro"_s ? Icon::Critical : Icon::Warning,
                         {Button::Ok}, Button::Ok, this);
    // Show the tab of the field and keep the focus in it.
    for (int i = 0; i < m_abas->count(); ++i) {
        if (m_abas->widget(i)->isAncestorOf(campo)) {
            m_abas->setCurrentIndex(i);
            break;
        }
    }
    QTimer::singleShot(0, campo, [campo] { campo->setFocus(); });
    return false;
}

bool FichaCliente::verificarDocumento() {
    QLineEdit* doc = m_cadastroAba->documento;
    const int pessoa = m_cadastroAba->pessoa->currentData().toInt();
    const QString formatado = clientes::formatarDocumento(pessoa, doc->text());
    if (formatado != doc->text())
        doc->setText(formatado);
    if (!recusar(doc, clientes::verificarDocumento(pessoa, formatado)))
        return false;
    if (m_requisicao == Requisicao::Inserir && !formatado.trimmed().isEmpty()) {
        const auto outro = m_cadastro.outroComDocumento(formatado, m_cadastroAba->sufixo->text(), idAtual());
        if (outro)
            return recusar(doc,
                           Verificacao::recusa(clientes::mensagemClienteJaCadastrado(*outro), u"Aviso"_s));
    }
    return true;
}

bool FichaCliente::verificarMunicipio(bool aoSairDoCampo) {
    QLineEdit* campo = m_cadastroAba->municipio;
    const QString digitado = campo->text().trimmed();
    if (aoSairDoCampo && digitado.isEmpty()) {
        // Passing through the empty field opens nothing; "&OK" asks for the municipality.
        m_uf.clear();
        mostrarMunicipio();
        return true;
    }
    // An id not found opens the municipality list; the beginning of a name opens it on that name.
    const std::optional<MunicipioCadastro> m =
        resolverMunicipio(*m_store, digitado, m_contexto.listas(), this);
    if (!m)
        return recusar(campo, Verificacao::recusa({}, {}, u"Escolha o município."_s));
    campo->setText(QString::number(m->id));
    m_uf = m->estado;
    mostrarMunicipio();
    m_dica->clear();
    return true;
}

bool FichaCliente::verificarPauta() {
    QLineEdit* campo = m_outras->pauta;
    const std::int64_t codigo = campo->text().trimmed().toLongLong();
    if (codigo == 0) // no price list of its own
        return true;
    const std::optional<std::int64_t> escolhida = resolverPauta(*m_store, codigo, m_contexto.listas(), this);
    if (!escolhida)
        return recusar(campo, Verificacao::recusa({}, {}, u"Escolha a pauta de preços."_s));
    campo->setText(QString::number(*escolhida));
    return true;
}

bool FichaCliente::verificarFormaPag() {
    QLineEdit* campo = m_outras->formaPagamento;
    const std::int64_t codigo = campo->text().trimmed().toLongLong();
    if (codigo == 0) { // no default payment form
        mostrarFormaPag();
        return true;
    }
    const std::optional<std::int64_t> escolhida =
        resolverFormaPag(*m_store, codigo, m_contexto.listas(), this);
    if (!escolhida) {
        mostrarFormaPag();
        return recusar(campo, Verificacao::recusa({}, {}, u"Escolha a forma de pagamento."_s));
    }
    campo->setText(QString::number(*escolhida));
    mostrarFormaPag();
    return true;
}

bool FichaCliente::verificarEmail(QLineEdit* campo) {
    return recusar(campo, clientes::verificarEmail(campo->text()));
}

bool FichaCliente::verificarData(QLineEdit* campo) {
    return recusar(campo, clientes::verificarData(campo->text()));
}

bool FichaCliente::verificarIndicador() {
    return recusar(m_cadastroAba->indicadorIe,
                   clientes::verificarIndicadorIe(m_cadastroAba->indicadorIe->currentData().toInt()));
}

bool FichaCliente::verificarInscricao(bool aoSairDoCampo) {
    return recusar(m_cadastroAba->inscricao,
                   clientes::verificarInscricao(m_cadastroAba->indicadorIe->currentData().toInt(),
                                                m_cadastroAba->pessoa->currentData().toInt(),
                                                m_cadastroAba->inscricao->text(), m_uf, aoSairDoCampo));
}

bool FichaCliente::verificarReferencias() {
    return recusar(m_outras->referenciasComerciais,
                   clientes::verificarReferenciasComerciais(m_outras->referenciasComerciais->toPlainText()));
}

void FichaCliente::formatarCeps() {
    for (QLineEdit* e : {m_cadastroAba->cep, m_juridica1->cepPraca}) {
        const QString f = clientes::formatarCep(e->text());
        if (f != e->text())
            e->setText(f);
    }
}

bool FichaCliente::verificarTudo() {
    formatarCeps();
    for (QLineEdit* e : {m_outras->email, m_outras->emailQav, m_outras->www})
        e->setText(clientes::emMinusculas(e->text()));
    if (clientes::classeRetiraCredito(m_outras->classe->currentData().toString()))
        m_outras->creditoLiberado->setChecked(false);
    if (!verificarDocumento() || !verificarMunicipio(false) || !verificarPauta() || !verificarFormaPag() ||
        !verificarIndicador() || !verificarInscricao(false) || !verificarEmail(m_outras->email) ||
        !verificarEmail(m_outras->emailQav))
        return false;
    for (QLineEdit* e : m_campos.datas())
        if (!verificarData(e))
            return false;
    // A registration refused when the user left it for "&OK" stays refused until it is right.
    if (m_inscricaoRecusada && !verificarInscricao(true))
        return false;
    return verificarReferencias();
}

} // namespace qav
