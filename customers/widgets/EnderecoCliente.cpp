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
    : QDialog(parent), m_tipo(tipo), m_cliente(cliente), m_store(store), m_somenteLeitura(somenteLeitura),
      m_listas(contexto.listas()) {
    setObjectName(tipo == Entrega ? u"EndEntrega"_s : u"EndCobranca"_s);
    setWindowTitle(tipo == Entrega ? u"Endereço de Entrega"_s : u"Endereço de Cobrança"_s);
    // Wide enough for its caption beside the title bar's buttons, and for a street name.
    setMinimumWidth(std::max(420, fontMetrics().horizontalAdvance(windowTitle()) + 160));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    m_endereco = montagem::entrada(form, u"Endereço:"_s, "endereco");
    m_endereco->setText(cliente.text(campo("E_ENDER", "C_ENDER")));
    if (tipo == Entrega) {
        m_numero = montagem::entrada(form, u"Número:"_s, "numero");
        m_numero->setText(cliente.text("E_NUMERO"));
    }
    m_bairro = montagem::entrada(form, u"Bairro:"_s, "bairro");
    m_bairro->setText(cliente.text(campo("E_BAIRR", "C_BAIRR")));
    m_municipio = montagem::entrada(form, u"Município:"_s, "municipio");
    const std::int64_t idMun = cliente.integer(campo("ID_MUNICIPIO_ENTREGA", "ID_MUNICIPIO_COBRANCA"));
    m_municipio->setText(idMun ? QString::number(idMun) : QString());
    m_cidade = montagem::rotulo(this, "cidade");
    m_cidade->setText(cliente.text(campo("E_MUNIC", "C_MUNIC")));
    m_estado = montagem::rotulo(this, "estado");
    m_estado->setText(cliente.text(campo("E_ESTAD", "C_ESTAD")));
    form->addRow(u"Cidade:"_s, m_cidade);
    form->addRow(u"UF:"_s, m_estado);
    m_cep = montagem::entrada(form, u"CEP:"_s, "cep");
    m_cep->setText(cliente.text(campo("E_CEP", "C_CEP")));
    // Each entry takes only what its field of the customer can hold.
    const TableDef& def = cliente.def();
    limitToField(m_endereco, def, campo("E_ENDER", "C_ENDER"));
    if (m_numero)
        limitToField(m_numero, def, "E_NUMERO");
    limitToField(m_bairro, def, campo("E_BAIRR", "C_BAIRR"));
    limitToField(m_cep, def, campo("E_CEP", "C_CEP"));
    limitToField(m_municipio, def, campo("ID_MUNICIPIO_ENTREGA", "ID_MUNICIPIO_COBRANCA"))
        ->acceptNameOf(*findTable("municip.tps"), "NOME");
    for (QLineEdit* e : {m_endereco, m_numero, m_bairro, m_municipio, m_cep})
        if (e)
            e->setReadOnly(somenteLeitura);

    auto* fechar = new QPushButton(u"&Fechar"_s, this);
    fechar->setObjectName(u"fechar"_s);
    fechar->setAutoDefault(false);
    layout->addWidget(fechar, 0, Qt::AlignRight);
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_municipio, &QLineEdit::editingFinished, this, [this] {
        if (!m_municipio->isReadOnly() && !verificarMunicipio())
            QTimer::singleShot(0, m_municipio, [this] { m_municipio->setFocus(); });
    });
    connect(m_cep, &QLineEdit::editingFinished, this,
            [this] { m_cep->setText(clientes::formatarCep(m_cep->text())); });
    WindowStateBinder::attach(this, tipo == Entrega ? janela::EndEntrega : janela::EndCobranca,
                              contexto.iniJanelas());
}

bool EnderecoCliente::verificarMunicipio() {
    const QString digitado = m_municipio->text().trimmed();
    if (digitado.isEmpty() || digitado == u"0"_s) { // no separate address
        m_cidade->clear();
        m_estado->clear();
        return true;
    }
    // An id, or the beginning of a name on which the municipality list opens.
    const std::optional<MunicipioCadastro> m = resolverMunicipio(m_store, digitado, m_listas, this);
    if (!m)
        return false;
    m_municipio->setText(QString::number(m->id));
    m_cidade->setText(m->nome);
    m_estado->setText(m->estado);
    return true;
}

void EnderecoCliente::done(int resultado) {
    if (!m_somenteLeitura) {
        m_cep->setText(clientes::formatarCep(m_cep->text()));
        const std::int64_t id = m_municipio->text().trimmed().toLongLong();
        const std::optional<MunicipioCadastro> m = buscarMunicipio(m_store, id);
        m_cliente.setText(campo("E_ENDER", "C_ENDER"), m_endereco->text());
        if (m_numero)
            m_cliente.setText("E_NUMERO", m_numero->text());
        m_cliente.setText(campo("E_BAIRR", "C_BAIRR"), m_bairro->text());
        m_cliente.setText(campo("E_CEP", "C_CEP"), m_cep->text());
        m_cliente.setInteger(campo("ID_MUNICIPIO_ENTREGA", "ID_MUNICIPIO_COBRANCA"), m ? id : 0);
        m_cliente.setText(campo("E_MUNIC", "C_MUNIC"), m ? m->nome : QString());
        m_cliente.setText(campo("E_ESTAD", "C_ESTAD"), m ? m->estado : QString());
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
