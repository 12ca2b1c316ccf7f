#include "customers/widgets/AbaSocios.h"

#include "customers/widgets/CamposRegistro.h"
#include "customers/widgets/FichaSocio.h"
#include "ui/core/MessageTypes.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

AbaSocios::AbaSocios(SociosCliente& socios, QString iniJanelas, QWidget* parent)
    : QWidget(parent), m_socios(socios), m_iniJanelas(std::move(iniJanelas)) {
    setObjectName(u"abaSocios"_s);
    m_lista = new QTableWidget(0, 4, this);
    m_lista->setObjectName(u"socios"_s);
    m_lista->setHorizontalHeaderLabels({u"Nome"_s, u"CPF/CNPJ"_s, u"Entrada"_s, u"Vl. quotas"_s});
    m_lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The name takes the room the document, the entry date and the quotas leave.
    m_lista->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_lista->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_lista->setContextMenuPolicy(Qt::CustomContextMenu);

    m_novo = new QPushButton(u"&Novo"_s, this);
    m_novo->setObjectName(u"novoSocio"_s);
    m_editar = new QPushButton(u"&Editar"_s, this);
    m_editar->setObjectName(u"editarSocio"_s);
    m_excluir = new QPushButton(u"E&xcluir"_s, this);
    m_excluir->setObjectName(u"excluirSocio"_s);
    connect(m_novo, &QPushButton::clicked, this, &AbaSocios::novo);
    connect(m_editar, &QPushButton::clicked, this, &AbaSocios::editar);
    connect(m_excluir, &QPushButton::clicked, this, &AbaSocios::excluir);
    connect(m_lista, &QTableWidget::cellDoubleClicked, this, [this] {
        if (!m_somenteLeitura)
            editar();
    });

    m_popup = new QMenu(this);
    m_popup->addAction(u"&Novo"_s, this, &AbaSocios::novo);
    m_popup->addAction(u"&Editar"_s, this, &AbaSocios::editar);
    m_popup->addAction(u"E&xcluir"_s, this, &AbaSocios::excluir);
    connect(m_lista, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        const QList<QAction*> acoes = m_popup->actions();
        acoes[0]->setEnabled(m_novo->isEnabled());
        acoes[1]->setEnabled(m_editar->isEnabled());
        acoes[2]->setEnabled(m_excluir->isEnabled());
        m_popup->popup(m_lista->viewport()->mapToGlobal(p));
    });

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(m_novo);
    botoes->addWidget(m_editar);
    botoes->addWidget(m_excluir);
    botoes->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lista);
    layout->addLayout(botoes);
    atualizarBotoes();
}

void AbaSocios::mostrar() {
    const std::int64_t atual = idAtual();
    m_lista->setRowCount(0);
    for (const Record& s : m_socios.lista()) {
        const int linha = m_lista->rowCount();
        m_lista->insertRow(linha);
        const Date entrada = s.date("MA_ENTRADA");
        const QStringList celulas = {
            s.text("NOME"), s.text("CPF_CNPJ"),
            entrada.isNull() ? QString()
                             : u"%1/%2"_s.arg(entrada.month(), 2, 10, QChar(u'0')).arg(entrada.year()),
            realBr(s.real("VL_QUOTAS"))};
        for (int c = 0; c < celulas.size(); ++c)
            m_lista->setItem(linha, c, new QTableWidgetItem(celulas[c]));
        m_lista->item(linha, 0)->setData(Qt::UserRole, static_cast<qlonglong>(s.integer("ID_SOCIO")));
        if (s.integer("ID_SOCIO") == atual)
            m_lista->selectRow(linha);
    }
    if (m_lista->currentRow() < 0 && m_lista->rowCount() > 0)
        m_lista->selectRow(0);
    atualizarBotoes();
}

void AbaSocios::setSomenteLeitura(bool sim) {
    m_somenteLeitura = sim;
    atualizarBotoes();
}

std::int64_t AbaSocios::idAtual() const {
    const int linha = m_lista->currentRow();
    if (linha < 0 || !m_lista->item(linha, 0))
        return 0;
    return m_lista->item(linha, 0)->data(Qt::UserRole).toLongLong();
}

void AbaSocios::atualizarBotoes() {
    const bool vazia = m_lista->rowCount() == 0;
    m_novo->setEnabled(!m_somenteLeitura);
    m_editar->setEnabled(!m_somenteLeitura && !vazia);
    m_excluir->setEnabled(!m_somenteLeitura && !vazia);
}

void AbaSocios::novo() {
    if (m_somenteLeitura)
        return;
    const ReservaId reserva = m_socios.reservarNovo();
    if (reserva.numeracaoFalhou) {
        if (standardWarning(Aviso::ErroNumeracaoAutomatica, reserva.erro, {}, {}, this) ==
            static_cast<int>(Button::Retry))
            novo();
        return;
    }
    if (reserva.status != Status::Ok) {
        if (reserva.bloqueioFalhou)
            MessageBox::show(reserva.mensagem, u"Aviso"_s, Icon::Warning, {Button::Ok}, Button::Ok, this);
        return;
    }
    FichaSocio form(m_socios.reservado(), Requisicao::Inserir, m_iniJanelas, this);
    if (form.exec() == QDialog::Accepted) {
        m_socios.incluir(form.socio());
        mostrar();
        m_lista->selectRow(m_lista->rowCount() - 1);
    } else {
        m_socios.desistirNovo(reserva.id);
    }
}

void AbaSocios::editar() {
    const Record* socio = m_socios.socio(idAtual());
    if (m_somenteLeitura || !socio)
        return;
    FichaSocio form(*socio, Requisicao::Alterar, m_iniJanelas, this);
    if (form.exec() == QDialog::Accepted) {
        m_socios.alterar(form.socio());
        mostrar();
    }
}

void AbaSocios::excluir() {
    const std::int64_t id = idAtual();
    if (m_somenteLeitura || !m_socios.socio(id))
        return;
    if (standardWarning(Aviso::ConfirmaExcluir, {}, {}, this) != static_cast<int>(Button::Ok))
        return;
    m_socios.excluir(id);
    mostrar();
}

} // namespace qav
