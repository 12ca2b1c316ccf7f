#include "customers/widgets/FichaSocio.h"

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

FichaSocio::FichaSocio(const Record& socio, Requisicao requisicao, const QString& iniJanelas, QWidget* parent)
    : QDialog(parent), m_socio(socio), m_original(socio), m_campos(socio.def()), m_requisicao(requisicao) {
    setObjectName(u"UpdSOCIOS"_s);
    setWindowTitle(requisicao == Requisicao::Inserir   ? u"Novo Sócio"_s
                   : requisicao == Requisicao::Alterar ? u"Editar Sócio"_s
                                                       : u"View Record"_s);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    QLineEdit* nome = montagem::entrada(form, u"Nome/Razão Social:"_s, "nome");
    // Wide enough for the whole name (40 capitals) without scrolling inside the entry.
    nome->setMinimumWidth(nome->fontMetrics().horizontalAdvance(QString(40, u'N')) + 16);
    m_campos.texto(nome, "NOME");
    m_documento = montagem::entrada(form, u"CPF/CNPJ:"_s, "documento");
    m_campos.texto(m_documento, "CPF_CNPJ");
    m_campos.texto(montagem::entrada(form, u"Nacionalidade:"_s, "nacionalidade"), "NACIONA");
    m_entrada = montagem::entrada(form, u"Mês/Ano de entrada:"_s, "entrada");
    // Digits allowed but not required: the entry can be emptied (no date).
    m_entrada->setInputMask(u"00/0000;_"_s);
    m_entrada->setProperty("qavCampo", u"SOC:MA_ENTRADA"_s);
    m_campos.real(montagem::entrada(form, u"Valor das quotas:"_s, "quotas"), "VL_QUOTAS");
    m_campos.texto(montagem::entrada(form, u"Função na empresa:"_s, "funcao"), "FUNCAO");
    m_campos.carregar(m_socio);
    m_entrada->setText(mesAno(m_socio.date("MA_ENTRADA")));
    m_campos.somenteLeitura(requisicao == Requisicao::Consultar);
    m_entrada->setReadOnly(requisicao == Requisicao::Consultar);

    auto* botoes = new QDialogButtonBox(this);
    QPushButton* ok = botoes->addButton(u"&OK"_s, QDialogButtonBox::AcceptRole);
    ok->setObjectName(u"ok"_s);
    ok->setEnabled(requisicao != Requisicao::Consultar);
    botoes->addButton(u"&Cancelar"_s, QDialogButtonBox::RejectRole)->setObjectName(u"cancelar"_s);
    connect(botoes, &QDialogButtonBox::accepted, this, &FichaSocio::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &FichaSocio::cancelar);
    layout->addWidget(botoes);
    connect(m_documento, &QLineEdit::editingFinished, this, &FichaSocio::formatarDocumento);
    connect(m_entrada, &QLineEdit::editingFinished, this, [this] {
        if (!m_fechando && QApplication::focusWidget() != findChild<QPushButton*>(u"cancelar"_s))
            verificarEntrada();
    });
    WindowStateBinder::attach(this, janela::UpdSOCIOS, iniJanelas);
}

void FichaSocio::formatarDocumento() {
    const QString f = clientes::formatarDocumentoSocio(m_documento->text());
    if (f != m_documento->text())
        m_documento->setText(f);
}

bool FichaSocio::verificarEntrada() {
    const clientes::Verificacao v = clientes::verificarMesAno(m_entrada->text());
    if (v.aceita)
        return true;
    MessageBox::show(v.texto, v.titulo, Icon::Critical, {Button::Ok}, Button::Ok, this);
    QTimer::singleShot(0, m_entrada, [this] { m_entrada->setFocus(); });
    return false;
}

bool FichaSocio::paraRegistro(Record& socio) const {
    const std::optional<Date> entrada = clientes::lerMesAno(m_entrada->text());
    const bool recusado = m_campos.gravar(socio).has_value();
    if (entrada)
        socio.setDate("MA_ENTRADA", *entrada);
    return entrada && !recusado;
}

void FichaSocio::accept() {
    formatarDocumento();
    if (!verificarEntrada())
        return;
    Record socio = m_socio;
    if (const std::optional<CamposRegistro::Recusa> recusa = m_campos.gravar(socio)) {
        MessageBox::show(recusa->texto, recusa->titulo, Icon::Critical, {Button::Ok}, Button::Ok, this);
        recusa->campo->setFocus();
        return;
    }
    socio.setDate("MA_ENTRADA", *clientes::lerMesAno(m_entrada->text()));
    m_socio = socio;
    QDialog::accept();
}

void FichaSocio::reject() {
    if (m_requisicao == Requisicao::Consultar) {
        cancelar();
        return;
    }
    Record atual = m_original;
    paraRegistro(atual);
    if (atual == m_original) {
        cancelar();
        return;
    }
    m_fechando = true;
    const int resposta = standardWarning(Aviso::GravarAlteracoes, {}, {}, this);
    m_fechando = false;
    if (resposta == static_cast<int>(Button::Yes))
        accept();
    else if (resposta == static_cast<int>(Button::No))
        cancelar();
}

void FichaSocio::cancelar() {
    m_fechando = true;
    QDialog::reject();
}

} // namespace qav
