#include "customers/widgets/UpdSocios.h"

#include "base/core/WindowState.h"
#include "customers/core/RegrasCliente.h"
#include "customers/widgets/Montagem.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

// "Mês/Ano de entrada": kept as the first day of that month.
QString mesAno(Date d) {
    return d.isNull() ? QString()
                      : u"%1/%2"_s.arg(d.month(), 2, 10, QChar(u'0')).arg(d.year(), 4, 10, QChar(u'0'));
}

} // namespace

UpdSocios::UpdSocios(const Record& socio, Pedido pedido, const QString& iniJanelas, QWidget* parent)
    : QDialog(parent), socio_(socio), original_(socio), campos_(socio.def()), pedido_(pedido) {
    setObjectName(u"UpdSOCIOS"_s);
    setWindowTitle(pedido == Inserir   ? u"Novo Sócio"_s
                   : pedido == Alterar ? u"Editar Sócio"_s
                                       : u"View Record"_s);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    campos_.texto(montagem::entrada(form, u"Nome/Razão Social:"_s, "nome"), "NOME");
    documento_ = montagem::entrada(form, u"CPF/CNPJ:"_s, "documento");
    campos_.texto(documento_, "CPF_CNPJ");
    campos_.texto(montagem::entrada(form, u"Nacionalidade:"_s, "nacionalidade"), "NACIONA");
    entrada_ = montagem::entrada(form, u"Mês/Ano de entrada:"_s, "entrada");
    // Digits allowed but not required: the entry can be emptied (no date).
    entrada_->setInputMask(u"00/0000;_"_s);
    entrada_->setProperty("qavCampo", u"SOC:MA_ENTRADA"_s);
    campos_.real(montagem::entrada(form, u"Valor das quotas:"_s, "quotas"), "VL_QUOTAS");
    campos_.texto(montagem::entrada(form, u"Função na empresa:"_s, "funcao"), "FUNCAO");
    campos_.carregar(socio_);
    entrada_->setText(mesAno(socio_.date("MA_ENTRADA")));
    campos_.somenteLeitura(pedido == Consultar);
    entrada_->setReadOnly(pedido == Consultar);

    auto* botoes = new QDialogButtonBox(this);
    QPushButton* ok = botoes->addButton(u"&OK"_s, QDialogButtonBox::AcceptRole);
    ok->setObjectName(u"ok"_s);
    ok->setEnabled(pedido != Consultar);
    botoes->addButton(u"&Cancelar"_s, QDialogButtonBox::RejectRole)->setObjectName(u"cancelar"_s);
    connect(botoes, &QDialogButtonBox::accepted, this, &UpdSocios::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &UpdSocios::cancelar);
    layout->addWidget(botoes);
    connect(documento_, &QLineEdit::editingFinished, this, &UpdSocios::formatarDocumento);
    connect(entrada_, &QLineEdit::editingFinished, this, [this] {
        if (!fechando_ && QApplication::focusWidget() != findChild<QPushButton*>(u"cancelar"_s))
            verificarEntrada();
    });
    WindowStateBinder::attach(this, janela::UpdSOCIOS, iniJanelas);
}

void UpdSocios::formatarDocumento() {
    const QString f = clientes::formatarDocumentoSocio(documento_->text());
    if (f != documento_->text())
        documento_->setText(f);
}

bool UpdSocios::verificarEntrada() {
    const clientes::Verificacao v = clientes::verificarMesAno(entrada_->text());
    if (v.aceita)
        return true;
    MessageBox::show(v.texto, v.titulo, Icon::Critical, {Button::Ok}, Button::Ok, this);
    QTimer::singleShot(0, entrada_, [this] { entrada_->setFocus(); });
    return false;
}

bool UpdSocios::paraRegistro(Record& socio) const {
    const std::optional<Date> entrada = clientes::lerMesAno(entrada_->text());
    const bool recusado = campos_.gravar(socio).has_value();
    if (entrada)
        socio.setDate("MA_ENTRADA", *entrada);
    return entrada && !recusado;
}

void UpdSocios::accept() {
    formatarDocumento();
    if (!verificarEntrada())
        return;
    Record socio = socio_;
    if (const std::optional<CamposRegistro::Recusa> recusa = campos_.gravar(socio)) {
        MessageBox::show(recusa->texto, recusa->titulo, Icon::Critical, {Button::Ok}, Button::Ok, this);
        recusa->campo->setFocus();
        return;
    }
    socio.setDate("MA_ENTRADA", *clientes::lerMesAno(entrada_->text()));
    socio_ = socio;
    QDialog::accept();
}

void UpdSocios::reject() {
    if (pedido_ == Consultar) {
        cancelar();
        return;
    }
    Record atual = original_;
    paraRegistro(atual);
    if (atual == original_) {
        cancelar();
        return;
    }
    fechando_ = true;
    const int resposta = standardWarning(Aviso::GravarAlteracoes, {}, {}, this);
    fechando_ = false;
    if (resposta == static_cast<int>(Button::Yes))
        accept();
    else if (resposta == static_cast<int>(Button::No))
        cancelar();
}

void UpdSocios::cancelar() {
    fechando_ = true;
    QDialog::reject();
}

} // namespace qav
