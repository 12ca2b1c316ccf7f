#include "customers/widgets/UpdSocios.h"

#include "base/core/WindowState.h"
#include "customers/core/RegrasCliente.h"
#include "customers/widgets/Montagem.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

// "Mês/Ano de entrada": kept as the first day of that month.
QString mesAno(Date d) {
    return d.isNull() ? QString()
                      : u"%1/%2"_s.arg(d.month(), 2, 10, QChar(u'0')).arg(d.year(), 4, 10, QChar(u'0'));
}

Date deMesAno(const QString& texto) {
    const QStringList partes = texto.split(u'/');
    if (partes.size() != 2)
        return {};
    return Date::fromYmd(partes[1].trimmed().toInt(), partes[0].trimmed().toInt(), 1);
}

} // namespace

UpdSocios::UpdSocios(const Record& socio, Pedido pedido, const QString& iniJanelas, QWidget* parent)
    : QDialog(parent), socio_(socio), campos_(socio.def()) {
    setObjectName(u"UpdSOCIOS"_s);
    setWindowTitle(pedido == Inserir   ? u"Novo Sócio"_s
                   : pedido == Alterar ? u"Editar Sócio"_s
                                       : u"View Record"_s);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    QLineEdit* nome = montagem::entrada(form, u"Nome/Razão Social:"_s, "nome");
    // Wide enough for the whole name (40 capitals) without scrolling inside the entry.
    nome->setMinimumWidth(nome->fontMetrics().horizontalAdvance(QString(40, u'N')) + 16);
    campos_.texto(nome, "NOME");
    documento_ = montagem::entrada(form, u"CPF/CNPJ:"_s, "documento");
    campos_.texto(documento_, "CPF_CNPJ");
    campos_.texto(montagem::entrada(form, u"Nacionalidade:"_s, "nacionalidade"), "NACIONA");
    entrada_ = montagem::entrada(form, u"Mês/Ano de entrada:"_s, "entrada");
    entrada_->setInputMask(u"99/9999;_"_s);
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
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(botoes);
    connect(documento_, &QLineEdit::editingFinished, this, &UpdSocios::formatarDocumento);
    WindowStateBinder::attach(this, janela::UpdSOCIOS, iniJanelas);
}

void UpdSocios::formatarDocumento() {
    const QString f = clientes::formatarDocumentoSocio(documento_->text());
    if (f != documento_->text())
        documento_->setText(f);
}

void UpdSocios::accept() {
    formatarDocumento();
    campos_.gravar(socio_);
    socio_.setDate("MA_ENTRADA", deMesAno(entrada_->text()));
    QDialog::accept();
}

} // namespace qav
