// Opening, confirming and cancelling the customer form.
#include "customers/widgets/UpdateClientes.h"

#include "customers/core/ConsultasCliente.h"
#include "customers/widgets/AbaCadastro.h"
#include "customers/widgets/AbaSocios.h"
#include "store/core/Clock.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace qav {

bool UpdateClientes::preparar() {
    if (!cadastro_.abrir()) {
        standardWarning(Aviso::ErroAcessoArquivo, cadastro_.erro(), u"clientes"_s, {}, parentWidget());
        return false;
    }
    if (pedido_ == Inserir)
        return prepararNovo();
    if (cadastro_.ler(idPedido_) != Status::Ok) {
        standardWarning(Aviso::ErroLerRegistro, cadastro_.erro(), u"clientes"_s, {}, parentWidget());
        return false;
    }
    paraTela();
    return true;
}

bool UpdateClientes::prepararNovo() {
    const ConfiguracaoClientes cfg = configuracaoClientes(*store_, contexto_.idEmpresa);
    const clientes::PadroesNovoCliente padroes{
        Clock::today(), clientes::pessoaProposta(contexto_.settings().clientesPessoa()), cfg.codVendedor};
    while (true) {
        const ReservaId reserva = cadastro_.reservarNovo(padroes);
        if (reserva.status == Status::Ok)
            break;
        if (reserva.numeracaoFalhou) {
            if (standardWarning(Aviso::ErroNumeracaoAutomatica, reserva.erro, {}, {}, this) ==
                static_cast<int>(Button::Retry))
                continue;
            return false;
        }
        if (reserva.bloqueioFalhou)
            MessageBox::show(reserva.mensagem, u"Aviso"_s, Icon::Warning, {Button::Ok}, Button::Ok, this);
        else
            standardWarning(Aviso::ErroIncluir, reserva.erro, {}, {}, this);
        return false;
    }
    paraTela();
    return true;
}

bool UpdateClientes::confirmar() {
    if (pedido_ == Consultar) {
        accept();
        return false;
    }
    if (pedido_ == Excluir) {
        if (standardWarning(Aviso::ConfirmaExcluir, {}, {}, this) != static_cast<int>(Button::Ok))
            return false;
        const CadastroCliente::Resultado r = cadastro_.excluir();
        if (r.comPedidos) {
            standardWarning(Aviso::ReferenciaImpedeExcluir, u"pedidos"_s, {}, this);
            return false;
        }
        if (!r.ok) {
            standardWarning(Aviso::ErroExcluir, r.erro, u"clientes"_s, {}, this);
            return false;
        }
        accept();
        return true;
    }
    if (!daTela())
        return false;
    Record& r = cadastro_.registro();
    const int pessoa = static_cast<int>(r.integer("PESSO"));
    if (clientes::tornaConsumidorFinal(pessoa, r.text("INSCR"))) {
        r.setInteger("CONSFINAL", 1);
        cadastroAba_->consumidorFinal->setChecked(true);
    }
    const clientes::Verificacao socios = clientes::verificarSocios(pessoa, cadastro_.socios().quantidade());
    if (!socios.aceita) {
        MessageBox::show(socios.texto, socios.titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        abas_->setCurrentWidget(socios_);
        socios_->lista()->setFocus();
        return false;
    }
    if (clientes::avisaAlteracaoDoServidor(pedido_ == Alterar, idAtual(), cadastro_.algoMudou()))
        MessageBox::show(clientes::textoAvisoAlteracaoServidor(), clientes::tituloAvisoAlteracaoServidor(),
                         Icon::Warning, {Button::Ok}, Button::Ok, this);
    if (!verificarTudo() || !daTela())
        return false;
    const CadastroCliente::Resultado gravado = cadastro_.gravar();
    if (!gravado.ok) {
        if (!gravado.campoDuplicado.isEmpty()) {
            standardWarning(Aviso::ChaveDuplicada, gravado.campoDuplicado, {}, this);
        } else if (gravado.erro.code == ErrorCode::RecordChangedByAnotherStation) {
            // Show what the other station saved; the user makes the changes again.
            standardWarning(Aviso::AlteradoPorOutraEstacao, {}, {}, this);
            if (cadastro_.ler(idAtual()) == Status::Ok) {
                paraTela();
            } else {
                standardWarning(Aviso::ErroGravar, gravado.erro, u"clientes"_s, {}, this);
                QDialog::reject();
            }
        } else {
            standardWarning(pedido_ == Inserir ? Aviso::ErroIncluir : Aviso::ErroGravar, gravado.erro,
                            u"clientes"_s, {}, this);
        }
        return false;
    }
    if (pedido_ == Inserir) {
        ultimoGravado_ = idAtual();
        if (!prepararNovo())
            QDialog::accept();
        return true;
    }
    accept();
    return true;
}

void UpdateClientes::reject() {
    if (!alterado()) {
        cancelar();
        return;
    }
    // No field check runs while the question is up or the form closes.
    fechando_ = true;
    const int resposta = standardWarning(Aviso::GravarAlteracoes, {}, {}, this);
    fechando_ = false;
    if (resposta == static_cast<int>(Button::Yes)) {
        const bool insercao = pedido_ == Inserir;
        // Saved: a change closes the form by itself; an insert has already reserved the next new
        // customer, which is given back.
        if (confirmar() && insercao)
            cancelar();
    } else if (resposta == static_cast<int>(Button::No)) {
        cancelar();
    }
}

void UpdateClientes::cancelar() {
    fechando_ = true;
    cadastro_.desistir();
    QDialog::reject();
}

} // namespace qav
