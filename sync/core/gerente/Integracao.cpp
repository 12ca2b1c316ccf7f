#include "sync/core/gerente/Integracao.h"

#include "base/core/Utils.h"
#include "store/core/Clock.h"
#include "sync/core/execucao/ConfiguracaoComunicacao.h"
#include "sync/core/execucao/OuvinteAposFalha.h"

#include <exception>

namespace qav::sync {

namespace {

const QString kInterrompida = QStringLiteral("Atualização interrompida pelo usuário...");

bool conectar(ContextoIntegracao& c, const BdGerente& configuracao) {
    c.conexao.desconectar();
    c.registrar(QStringLiteral("Conectando Servidor..."));
    if (const Resultado conectado = c.conexao.conectar(parametrosGerente(configuracao)); !conectado.ok) {
        c.erro(QStringLiteral("ERRO CONEXÃO BANCO DE DADOS.|") + conectado.erro);
        return false;
    }
    return true;
}

} // namespace

ParametrosConexao parametrosGerente(const BdGerente& g) {
    ParametrosConexao p;
    p.nome = g.nome.trimmed();
    p.host = g.host.trimmed();
    p.porta = g.porta.trimmed().toInt();
    p.usuario = g.usuario.trimmed();
    p.senha = g.senha;
    return p;
}

bool ajustarSequenciaClientes(ContextoIntegracao& c) {
    // The office's own customers take ids from 950000 up, clear of the ids this installation and
    // the representatives give their new customers.
    bool ok = false;
    const long long n =
        c.conexao.querysql(QStringLiteral("SELECT nextval('gerente.clientes_id_cliente_seq');"))
            .trimmed()
            .toLongLong(&ok);
    if (!ok)
        return false;
    const long long valor = n > 949999 ? n - 1 : 950000;
    return !c.conexao
                .querysql(QStringLiteral("SELECT setval('gerente.clientes_id_cliente_seq', ") +
                          Conexao::inteiro(valor) + QStringLiteral(", true);"))
                .isEmpty();
}

bool atualizarGerente(Store& store, OuvinteComunicacao& ouvinte, const PedidoIntegracao& pedido) {
    if (pedido.formularioPedidoAberto) {
        ouvinte.mensagem(QStringLiteral("Aviso"),
                         QStringLiteral("Cadastro de pedidos está aberto!|Impossível fazer atualização!"),
                         Icone::Aviso);
        return false;
    }
    Conexao conexao;
    // A stop asked for while the office's server works on a statement cancels it, and a server that
    // stops answering ends the update within the wait limit; from then on the user hears it once.
    conexao.aoVerificarParada([&ouvinte] { return ouvinte.pararSolicitado(); });
    OuvinteAposFalha aposFalha(
        ouvinte, conexao, kInterrompida,
        QStringLiteral("|Verifique a conexão com o servidor do escritório e faça a atualização novamente: "
                       "cada etapa interrompida foi desfeita no servidor."));
    ContextoIntegracao c(store, conexao, aposFalha);
    conexao.aoErroSql([&c](const ErroSql& e) { c.erroSql(e); });
    conexao.aoComando(pedido.gravadorComandos);
    conexao.aoAjusteTexto([&c](const AjusteTexto& a) {
        c.registrar(QStringLiteral("Texto ajustado no envio (") + a.tabela + QLatin1Char('.') + a.coluna +
                    QStringLiteral("): ") + a.ajustado.left(30));
    });
    c.idEmpresa = pedido.idEmpresa;
    c.empresaGerente = pedido.configuracao.empresa;
    c.pastaTps = pedido.configuracao.pastaTps.trimmed();
    c.hoje = Clock::today();
    c.qavcfg = lerConfiguracao(store, pedido.idEmpresa);
    if (!c.qavcfg) {
        c.aviso(QStringLiteral("Configuração da empresa %1 não encontrada!").arg(pedido.idEmpresa));
        return false;
    }
    if (!conectar(c, pedido.configuracao))
        return false;

    bool ok = ajustarSequenciaClientes(c);
    // The office's other programs see this installation as its active hub; the update goes on even
    // when the mark could not be written.
    if (ok)
        GRAVAREGISTRO(QStringLiteral("gerente"), QStringLiteral("QAV.Hub"), QStringLiteral("Ativo"),
                      QStringLiteral("1"));
    using Passo = bool (*)(ContextoIntegracao&);
    for (Passo passo : {&atualizarProdutosGerente, &atualizarPautasGerente, &atualizarFormasPagamentoGerente,
                        &atualizarMunicipiosGerente, &atualizarClientesGerente, &importarPedidosGerente}) {
        if (!ok)
            break;
        if (c.parar()) {
            ok = false;
            break;
        }
        // A step that throws fails as that step, with its reason, instead of ending the program.
        try {
            ok = passo(c);
        } catch (const std::exception& e) {
            c.erro(QStringLiteral("Falha inesperada na atualização!|") + QString::fromUtf8(e.what()));
            ok = false;
        } catch (...) {
            c.erro(QStringLiteral("Falha inesperada na atualização!"));
            ok = false;
        }
    }
    c.linhaProgresso(QString());
    // A transaction a failed step left open is not left behind on the server.
    if (conexao.conectada() && conexao.emTransacao())
        conexao.executar(QStringLiteral("rollback;"));
    conexao.desconectar();
    if (!ok) {
        aposFalha.concluir();
        return false;
    }
    ouvinte.mensagem(QStringLiteral("Aviso"), QStringLiteral("Fim de atualização!"), Icone::Aviso);
    return true;
}

} // namespace qav::sync
