#include "customers/widgets/EnderecoCliente.h"

#include "base/core/WindowState.h"
#include "customers/core/RegrasCliente.h"
#include "customers/widgets/Montagem.h"
#include "customers/widgets/ResolverReferencia.h"
#include "ui/widgets/FieldValidator.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace qav {

EnderecoCliente::EnderecoCliente(Tipo tipo, Record& cliente, Store& store, bool somenteLeitura,
                                 const ContextoClientes& contexto, QWidget* parent)
    : QDialog(parent), tipo_(tipo), cliente_(cliente), store_(store), somenteLeitura_(somenteLeitura),
      listas_(contexto.listas()) {
    setObjectName(tipo == Entrega ? u"EndEntrega"_s : u"EndCobranca"_s);
    setWindowTitle(tipo == Entrega ? u"Endereço de Entrega"_s : u"Endereço de Cobrança"_s);
    // Wide enough for its caption beside the title bar's buttons, and for a street name.
    setMinimumWidth(std::max(420, fontMetrics().horizontalAdvance(windowTitle()) + 160));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    endereco_ = montagem::entrada(form, u"Endereço:"_s, "endereco");
    endereco_->setText(cliente.text(campo("E_ENDER", "C_ENDER")));
    if (tipo == Entrega) {
        numero_ = montagem::entrada(form, u"Número:"_s, "numero");
        numero_->setText(cliente.text("E_NUMERO"));
    }
    bairro_ = montagem::entrada(form, u"Bairro:"_s, "bairro");
    bairro_->setText(cliente.text(campo("E_BAIRR", "C_BAIRR")));
    municipio_ = montagem::entrada(form, u"Município:"_s, "municipio");
    const std::int64_t idMun = cliente.integer(campo("ID_MUNICIPIO_ENTREGA", "ID_MUNICIPIO_COBRANCA"));
    municipio_->setText(idMun ? QString::number(idMun) : QString());
    cidade_ = montagem::rotulo(this, "cidade");
    cidade_->setText(cliente.text(campo("E_MUNIC", "C_MUNIC")));
    estado_ = montagem::rotulo(this, "estado");
    estado_->setText(cliente.text(campo("E_ESTAD", "C_ESTAD")));
    form->addRow(u"Cidade:"_s, cidade_);
    form->addRow(u"UF:"_s, estado_);
    cep_ = montagem::entrada(form, u"CEP:"_s, "cep");
    cep_->setText(cliente.text(campo("E_CEP", "C_CEP")));
    // Each entry takes only what its field of the customer can hold.
    const TableDef& def = cliente.def();
    limitToField(endereco_, def, campo("E_ENDER", "C_ENDER"));
    if (numero_)
        limitToField(numero_, def, "E_NUMERO");
    limitToField(bairro_, def, campo("E_BAIRR", "C_BAIRR"));
    limitToField(cep_, def, campo("E_CEP", "C_CEP"));
    limitToField(municipio_, def, campo("ID_MUNICIPIO_ENTREGA", "ID_MUNICIPIO_COBRANCA"))
        ->acceptNameOf(*findTable("municip.tps"), "NOME");
    for (QLineEdit* e : {endereco_, numero_, bairro_, municipio_, cep_})
        if (e)
            e->setReadOnly(somenteLeitura);

    auto* fechar = new QPushButton(u"&Fechar"_s, this);
    fechar->setObjectName(u"fechar"_s);
    fechar->setAutoDefault(false);
    layout->addWidget(fechar, 0, Qt::AlignRight);
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    connect(municipio_, &QLineEdit::editingFinished, this, [this] {
        if (!municipio_->isReadOnly() && !verificarMunicipio())
            QTimer::singleShot(0, municipio_, [this] { municipio_->setFocus(); });
    });
    connect(cep_, &QLineEdit::editingFinished, this,
            [this] { cep_->setText(clientes::formatarCep(cep_->text())); });
    WindowStateBinder::attach(this, tipo == Entrega ? janela::EndEntrega : janela::EndCobranca,
                              contexto.iniJanelas());
}

bool EnderecoCliente::verificarMunicipio() {
    const QString digitado = municipio_->text().trimmed();
    if (digitado.isEmpty() || digitado == u"0"_s) { // no separate address
        cidade_->clear();
        estado_->clear();
        return true;
    }
    // An id, or the beginning of a name on which the municipality list opens.
    const std::optional<MunicipioCadastro> m = resolverMunicipio(store_, digitado, listas_, this);
    if (!m)
        return false;
    municipio_->setText(QString::number(m->id));
    cidade_->setText(m->nome);
    estado_->setText(m->estado);
    return true;
}

void EnderecoCliente::done(int resultado) {
    if (!somenteLeitura_) {
        cep_->setText(clientes::formatarCep(cep_->text()));
        const std::int64_t id = municipio_->text().trimmed().toLongLong();
        const std::optional<MunicipioCadastro> m = buscarMunicipio(store_, id);
        cliente_.setText(campo("E_ENDER", "C_ENDER"), endereco_->text());
        if (numero_)
            cliente_.setText("E_NUMERO", numero_->text());
        cliente_.setText(campo("E_BAIRR", "C_BAIRR"), bairro_->text());
        cliente_.setText(campo("E_CEP", "C_CEP"), cep_->text());
        cliente_.setInteger(campo("ID_MUNICIPIO_ENTREGA", "ID_MUNICIPIO_COBRANCA"), m ? id : 0);
        cliente_.setText(campo("E_MUNIC", "C_MUNIC"), m ? m->nome : QString());
        cliente_.setText(campo("E_ESTAD", "C_ESTAD"), m ? m->estado : QString());
    }
    QDialog::done(resultado);
}

void endEntrega(Record& cliente, Store& store, bool somenteLeitura, const ContextoClientes& contexto,
                QWidget* parent) {
    EnderecoCliente(EnderecoCliente::Entrega, cliente, store, somenteLeitura, contexto, parent).exec();
}

void endCobranca(Record& cliente, Store& store, bool somenteLeitura, const ContextoClientes& contexto,
                 QWidget* parent) {
    EnderecoCliente(EnderecoCliente::Cobranca, cliente, store, somenteLeitura, contexto, parent).exec();
}

} // namespace qav
