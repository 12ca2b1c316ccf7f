// Opening, confirming and cancelling the customer form.
#include "customers/widgets/FichaCliente.h"

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

bool FichaCliente::preparar() {
    if (!m_cadastro.abrir()) {
        standardWarning(Aviso::ErroAcessoArquivo, m_cadastro.erro(), u"clientes"_s, {}, parentWidget());
        return false;
    }
    if (m_requisicao == Requisicao::Inserir)
        return prepararNovo();
    if (m_cadastro.ler(m_idPedido) != Status::Ok) {
        standardWarning(Aviso::ErroLerRegistro, m_cadastro.erro(), u"clientes"_s, {}, parentWidget());
        return false;
    }
    paraTela();
    return true;
}

bool FichaCliente::prepararNovo() {
    const ConfiguracaoClientes cfg = configuracaoClientes(*m_store, m_contexto.idEmpresa);
    const clientes::PadroesNovoCliente padroes{
        Clock::today(), clientes::pessoaProposta(m_contexto.settings().clientesPessoa()), cfg.codVendedor};
    while (true) {
        const ReservaId reserva = m_cadastro.reservarNovo(padroes);
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

bool FichaCliente::confirmar() {
    if (m_requisicao == Requisicao::Consultar) {
        accept();
        return false;
    }
    if (m_requisicao == Requisicao::Excluir) {
        if (standardWarning(Aviso::ConfirmaExcluir, {}, {}, this) != static_cast<int>(Button::Ok))
            return false;
        const CadastroCliente::Resultado r = m_cadastro.excluir();
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
    Record& r = m_cadastro.registro();
    const int pessoa = static_cast<int>(r.integer("PESSO"));
    if (clientes::tornaConsumidorFinal(pessoa, r.text("INSCR"))) {
        r.setInteger("CONSFINAL", 1);
        m_cadastroAba->consumidorFinal->setChecked(true);
    }
    const clientes::Verificacao socios = clientes::verificarSocios(pessoa, m_cadastro.socios().quantidade());
    if (!socios.aceita) {
        MessageBox::show(socios.texto, socios.titulo, Icon::Warning, {Button::Ok}, Button::Ok, this);
        m_abas->setCurrentWidget(m_socios);
        m_socios->lista()->setFocus();
        return false;
    }
    if (clientes::avisaAlteracaoDoServidor(m_requisicao == Requisicao::Alterar, idAtual(),
                                           m_cadastro.algoMudou()))
        MessageBox::show(clientes::textoAvisoAlteracaoServidor(), clientes::tituloAvisoAlteracaoServidor(),
                         Icon::Warning, {Button::Ok}, Button::Ok, this);
    if (!verificarTudo() || !daTela())
        return false;
    const CadastroCliente::Resultado gravado = m_cadastro.gravar();
    if (!gravado.ok) {
        if (!gravado.campoDuplicado.isEmpty()) {
            standardWarning(Aviso::ChaveDuplicada, gravado.campoDuplicado, {}, this);
        } else if (gravado.erro.code == ErrorCode::RecordChangedByAnotherStation) {
            // Show what the other station saved; the user makes the changes again.
            standardWarning(Aviso::AlteradoPorOutraEstacao, {}, {}, this);
            if (m_cadastro.ler(idAtual()) == Status::Ok) {
                paraTela();
            } else {
                standardWarning(Aviso::ErroGravar, gravado.erro, u"clientes"_s, {}, this);
                QDialog::reject();
            }
        } else {
            standardWarning(m_requisicao == Requisicao::Inserir ? Aviso::ErroIncluir : Aviso::ErroGravar,
                            gravado.erro, u"clientes"_s, {}, this);
        }
        return false;
    }
    if (m_requisicao == Requisicao::Inserir) {
        m_ultimoGravado = idAtual();
        if (!prepararNovo())
            QDialog::accept();
        return true;
    }
    accept();
    return true;
}

void FichaCliente::reject() {
    if (!alterado()) {
        cancelar();
        return;
    }
    // No field check runs while the question is up or the form closes.
    m_fechando = true;
    const int resposta = standardWarning(Aviso::GravarAlteracoes, {}, {}, this);
    m_fechando = false;
    if (resposta == static_cast<int>(Button::Yes)) {
        const bool insercao = m_requisicao == Requisicao::Inserir;
        // Saved: a change closes the form by itself; an insert has already reserved the next new
        // customer, which is given back.
        if (confirmar() && insercao)
            cancelar();
    } else if (resposta == static_cast<int>(Button::No)) {
        cancelar();
    }
}

void FichaCliente::cancelar() {
    m_fechando = true;
    m_cadastro.desistir();
    QDialog::reject();
}

} // namespace qav
