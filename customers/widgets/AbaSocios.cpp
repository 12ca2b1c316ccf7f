#include "customers/widgets/AbaSocios.h"

#include "customers/widgets/CamposRegistro.h"
#include "customers/widgets/UpdSocios.h"
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
    : QWidget(parent), socios_(socios), iniJanelas_(std::move(iniJanelas)) {
    setObjectName(u"abaSocios"_s);
    lista_ = new QTableWidget(0, 4, this);
    lista_->setObjectName(u"socios"_s);
    lista_->setHorizontalHeaderLabels({u"Nome"_s, u"CPF/CNPJ"_s, u"Entrada"_s, u"Vl. quotas"_s});
    lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The name takes the room the document, the entry date and the quotas leave.
    lista_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lista_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    lista_->setContextMenuPolicy(Qt::CustomContextMenu);

    novo_ = new QPushButton(u"&Novo"_s, this);
    novo_->setObjectName(u"novoSocio"_s);
    editar_ = new QPushButton(u"&Editar"_s, this);
    editar_->setObjectName(u"editarSocio"_s);
    excluir_ = new QPushButton(u"E&xcluir"_s, this);
    excluir_->setObjectName(u"excluirSocio"_s);
    connect(novo_, &QPushButton::clicked, this, &AbaSocios::novo);
    connect(editar_, &QPushButton::clicked, this, &AbaSocios::editar);
    connect(excluir_, &QPushButton::clicked, this, &AbaSocios::excluir);
    connect(lista_, &QTableWidget::cellDoubleClicked, this, [this] {
        if (!somenteLeitura_)
            editar();
    });

    popup_ = new QMenu(this);
    popup_->addAction(u"&Novo"_s, this, &AbaSocios::novo);
    popup_->addAction(u"&Editar"_s, this, &AbaSocios::editar);
    popup_->addAction(u"E&xcluir"_s, this, &AbaSocios::excluir);
    connect(lista_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        const QList<QAction*> acoes = popup_->actions();
        acoes[0]->setEnabled(novo_->isEnabled());
        acoes[1]->setEnabled(editar_->isEnabled());
        acoes[2]->setEnabled(excluir_->isEnabled());
        popup_->popup(lista_->viewport()->mapToGlobal(p));
    });

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(novo_);
    botoes->addWidget(editar_);
    botoes->addWidget(excluir_);
    botoes->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lista_);
    layout->addLayout(botoes);
    atualizarBotoes();
}

void AbaSocios::mostrar() {
    const std::int64_t atual = idAtual();
    lista_->setRowCount(0);
    for (const Record& s : socios_.lista()) {
        const int linha = lista_->rowCount();
        lista_->insertRow(linha);
        const Date entrada = s.date("MA_ENTRADA");
        const QStringList celulas = {
            s.text("NOME"), s.text("CPF_CNPJ"),
            entrada.isNull() ? QString()
                             : u"%1/%2"_s.arg(entrada.month(), 2, 10, QChar(u'0')).arg(entrada.year()),
            realBr(s.real("VL_QUOTAS"))};
        for (int c = 0; c < celulas.size(); ++c)
            lista_->setItem(linha, c, new QTableWidgetItem(celulas[c]));
        lista_->item(linha, 0)->setData(Qt::UserRole, static_cast<qlonglong>(s.integer("ID_SOCIO")));
        if (s.integer("ID_SOCIO") == atual)
            lista_->selectRow(linha);
    }
    if (lista_->currentRow() < 0 && lista_->rowCount() > 0)
        lista_->selectRow(0);
    atualizarBotoes();
}

void AbaSocios::setSomenteLeitura(bool sim) {
    somenteLeitura_ = sim;
    atualizarBotoes();
}

std::int64_t AbaSocios::idAtual() const {
    const int linha = lista_->currentRow();
    if (linha < 0 || !lista_->item(linha, 0))
        return 0;
    return lista_->item(linha, 0)->data(Qt::UserRole).toLongLong();
}

void AbaSocios::atualizarBotoes() {
    const bool vazia = lista_->rowCount() == 0;
    novo_->setEnabled(!somenteLeitura_);
    editar_->setEnabled(!somenteLeitura_ && !vazia);
    excluir_->setEnabled(!somenteLeitura_ && !vazia);
}

void AbaSocios::novo() {
    if (somenteLeitura_)
        return;
    const ReservaId reserva = socios_.reservarNovo();
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
    UpdSocios form(socios_.reservado(), UpdSocios::Inserir, iniJanelas_, this);
    if (form.exec() == QDialog::Accepted) {
        socios_.incluir(form.socio());
        mostrar();
        lista_->selectRow(lista_->rowCount() - 1);
    } else {
        socios_.desistirNovo(reserva.id);
    }
}

void AbaSocios::editar() {
    const Record* socio = socios_.socio(idAtual());
    if (somenteLeitura_ || !socio)
        return;
    UpdSocios form(*socio, UpdSocios::Alterar, iniJanelas_, this);
    if (form.exec() == QDialog::Accepted) {
        socios_.alterar(form.socio());
        mostrar();
    }
}

void AbaSocios::excluir() {
    const std::int64_t id = idAtual();
    if (somenteLeitura_ || !socios_.socio(id))
        return;
    if (standardWarning(Aviso::ConfirmaExcluir, {}, {}, this) != static_cast<int>(Button::Ok))
        return;
    socios_.excluir(id);
    mostrar();
}

} // namespace qav
