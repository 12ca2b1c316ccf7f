// The field checks of the customer form: run when the user leaves a field, and all again on "&OK".
#include "customers/widgets/UpdateClientes.h"

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

void UpdateClientes::ligarVerificacoes() {
    AbaCadastro* c = cadastroAba_;
    connect(c->pessoa, &QComboBox::activated, this, [this] {
        const int pessoa = cadastroAba_->pessoa->currentData().toInt();
        contexto_.settings().setClientesPessoa(pessoa);
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
    connect(c->vendedor, &QLineEdit::editingFinished, this, &UpdateClientes::mostrarVendedor);
    connect(c->cep, &QLineEdit::editingFinished, this, &UpdateClientes::formatarCeps);
    connect(juridica1_->cepPraca, &QLineEdit::editingFinished, this, &UpdateClientes::formatarCeps);
    connect(c->indicadorIe, &QComboBox::activated, this, [this] { verificarIndicador(); });
    connect(c->inscricao, &QLineEdit::textEdited, this, [this] { inscricaoRecusada_ = false; });
    connect(c->inscricao, &QLineEdit::editingFinished, this, [this] {
        // The registration is checked against the state also when the user goes straight to "&OK".
        if (!fechando_ && QApplication::focusWidget() != cancelar_)
            inscricaoRecusada_ = !verificarInscricao(true);
    });
    for (QLineEdit* e : {outras_->email, outras_->emailQav, outras_->www})
        connect(e, &QLineEdit::editingFinished, this, [this, e] {
            e->setText(clientes::emMinusculas(e->text()));
            if (e != outras_->www && saindoDoCampo())
                verificarEmail(e);
        });
    connect(outras_->formaPagamento, &QLineEdit::editingFinished, this, [this] {
        if (saindoDoCampo())
            verificarFormaPag();
        else
            mostrarFormaPag();
    });
    for (QLineEdit* e : campos_.datas())
        connect(e, &QLineEdit::editingFinished, this, [this, e] {
            if (saindoDoCampo())
                verificarData(e);
        });
    connect(outras_->pauta, &QLineEdit::editingFinished, this, [this] {
        if (saindoDoCampo())
            verificarPauta();
    });
    connect(outras_->classe, &QComboBox::activated, this, [this] {
        if (clientes::classeRetiraCredito(outras_->classe->currentData().toString()))
            outras_->creditoLiberado->setChecked(false);
    });
}

// A field is being left towards another field: not when the form closes, nor towards "&OK" (which
// checks everything again).
bool UpdateClientes::saindoDoCampo() const {
    const QWidget* destino = QApplication::focusWidget();
    return !fechando_ && destino != cancelar_ && destino != ok_ && pedido_ != Consultar && pedido_ != Excluir;
}

bool UpdateClientes::recusar(QWidget* campo, const Verificacao& v) {
    if (v.aceita) {
        dica_->clear();
        return true;
    }
    dica_->setText(v.dica);
    if (!v.texto.isEmpty())
        MessageBox::show(v.texto, v.titulo, v.titulo == u"Erro"_s ? Icon::Critical : Icon::Warning,
                         {Button::Ok}, Button::Ok, this);
    // Show the tab of the field and keep the focus in it.
    for (int i = 0; i < abas_->count(); ++i) {
        if (abas_->widget(i)->isAncestorOf(campo)) {
            abas_->setCurrentIndex(i);
            break;
        }
    }
    QTimer::singleShot(0, campo, [campo] { campo->setFocus(); });
    return false;
}

bool UpdateClientes::verificarDocumento() {
    QLineEdit* doc = cadastroAba_->documento;
    const int pessoa = cadastroAba_->pessoa->currentData().toInt();
    const QString formatado = clientes::formatarDocumento(pessoa, doc->text());
    if (formatado != doc->text())
        doc->setText(formatado);
    if (!recusar(doc, clientes::verificarDocumento(pessoa, formatado)))
        return false;
    if (pedido_ == Inserir && !formatado.trimmed().isEmpty()) {
        const auto outro = cadastro_.outroComDocumento(formatado, cadastroAba_->sufixo->text(), idAtual());
        if (outro)
            return recusar(doc,
                           Verificacao::recusa(clientes::mensagemClienteJaCadastrado(*outro), u"Aviso"_s));
    }
    return true;
}

bool UpdateClientes::verificarMunicipio(bool aoSairDoCampo) {
    QLineEdit* campo = cadastroAba_->municipio;
    const QString digitado = campo->text().trimmed();
    if (aoSairDoCampo && digitado.isEmpty()) {
        // Passing through the empty field opens nothing; "&OK" asks for the municipality.
        uf_.clear();
        mostrarMunicipio();
        return true;
    }
    // An id not found opens the municipality list; the beginning of a name opens it on that name.
    const std::optional<MunicipioCadastro> m = resolverMunicipio(*store_, digitado, contexto_.listas(), this);
    if (!m)
        return recusar(campo, Verificacao::recusa({}, {}, u"Escolha o município."_s));
    campo->setText(QString::number(m->id));
    uf_ = m->estado;
    mostrarMunicipio();
    dica_->clear();
    return true;
}

bool UpdateClientes::verificarPauta() {
    QLineEdit* campo = outras_->pauta;
    const std::int64_t codigo = campo->text().trimmed().toLongLong();
    if (codigo == 0) // no price list of its own
        return true;
    const std::optional<std::int64_t> escolhida = resolverPauta(*store_, codigo, contexto_.listas(), this);
    if (!escolhida)
        return recusar(campo, Verificacao::recusa({}, {}, u"Escolha a pauta de preços."_s));
    campo->setText(QString::number(*escolhida));
    return true;
}

bool UpdateClientes::verificarFormaPag() {
    QLineEdit* campo = outras_->formaPagamento;
    const std::int64_t codigo = campo->text().trimmed().toLongLong();
    if (codigo == 0) { // no default payment form
        mostrarFormaPag();
        return true;
    }
    const std::optional<std::int64_t> escolhida = resolverFormaPag(*store_, codigo, contexto_.listas(), this);
    if (!escolhida) {
        mostrarFormaPag();
        return recusar(campo, Verificacao::recusa({}, {}, u"Escolha a forma de pagamento."_s));
    }
    campo->setText(QString::number(*escolhida));
    mostrarFormaPag();
    return true;
}

bool UpdateClientes::verificarEmail(QLineEdit* campo) {
    return recusar(campo, clientes::verificarEmail(campo->text()));
}

bool UpdateClientes::verificarData(QLineEdit* campo) {
    return recusar(campo, clientes::verificarData(campo->text()));
}

bool UpdateClientes::verificarIndicador() {
    return recusar(cadastroAba_->indicadorIe,
                   clientes::verificarIndicadorIe(cadastroAba_->indicadorIe->currentData().toInt()));
}

bool UpdateClientes::verificarInscricao(bool aoSairDoCampo) {
    return recusar(cadastroAba_->inscricao,
                   clientes::verificarInscricao(cadastroAba_->indicadorIe->currentData().toInt(),
                                                cadastroAba_->pessoa->currentData().toInt(),
                                                cadastroAba_->inscricao->text(), uf_, aoSairDoCampo));
}

bool UpdateClientes::verificarReferencias() {
    return recusar(outras_->referenciasComerciais,
                   clientes::verificarReferenciasComerciais(outras_->referenciasComerciais->toPlainText()));
}

void UpdateClientes::formatarCeps() {
    for (QLineEdit* e : {cadastroAba_->cep, juridica1_->cepPraca}) {
        const QString f = clientes::formatarCep(e->text());
        if (f != e->text())
            e->setText(f);
    }
}

bool UpdateClientes::verificarTudo() {
    formatarCeps();
    for (QLineEdit* e : {outras_->email, outras_->emailQav, outras_->www})
        e->setText(clientes::emMinusculas(e->text()));
    if (clientes::classeRetiraCredito(outras_->classe->currentData().toString()))
        outras_->creditoLiberado->setChecked(false);
    if (!verificarDocumento() || !verificarMunicipio(false) || !verificarPauta() || !verificarFormaPag() ||
        !verificarIndicador() || !verificarInscricao(false) || !verificarEmail(outras_->email) ||
        !verificarEmail(outras_->emailQav))
        return false;
    for (QLineEdit* e : campos_.datas())
        if (!verificarData(e))
            return false;
    // A registration refused when the user left it for "&OK" stays refused until it is right.
    if (inscricaoRecusada_ && !verificarInscricao(true))
        return false;
    return verificarReferencias();
}

} // namespace qav
