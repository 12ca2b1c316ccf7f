#include "sync/core/execucao/Comunicacao.h"

#include "store/core/Table.h"
#include "store/core/Text.h"
#include "sync/core/execucao/AtualizacaoEmpresa.h"
#include "sync/core/execucao/ConfiguracaoComunicacao.h"
#include "sync/core/execucao/OuvinteAposFalha.h"
#include "sync/core/execucao/ValorNaoCabe.h"

#include <exception>

namespace qav::sync {

namespace {

// A step that throws (a value the local tables refuse, a bug) fails as that step, with its reason,
// instead of ending the program: the orders behind it are sent at the next run that gets that far.
bool protegido(ContextoComunicacao& c, const std::function<bool()>& passo) {
    try {
        return passo();
    } catch (const std::exception& e) {
        c.erro(QStringLiteral("Falha inesperada na comunicação!|") + QString::fromUtf8(e.what()));
    } catch (...) {
        c.erro(QStringLiteral("Falha inesperada na comunicação!"));
    }
    return false;
}

bool somentePedidos(const ContextoComunicacao& c) {
    return c.tipo == TipoComunicacao::SomentePedidos;
}

// Connects with the company's settings; a missing setting names the field to fix.
bool conectar(ContextoComunicacao& c, Desfecho& desfecho) {
    c.conexao.desconectar();
    c.registrar(QStringLiteral("Conectando Servidor..."));
    if (const auto falha = verificarConfiguracao(*c.qavcfg)) {
        c.aviso(falha->mensagem);
        desfecho.campoAcorrigir = falha->campo;
        return false;
    }
    if (const Resultado conectado = c.conexao.conectar(parametrosDaConfiguracao(*c.qavcfg)); !conectado.ok) {
        c.erro(QStringLiteral("ERRO CONEXÃO BANCO DE DADOS.|") + conectado.erro);
        return false;
    }
    c.sistema = c.conexao.sistema();
    return true;
}

// The local company's head office, taken as the company itself when it has none.
void corrigirMatrizLocal(ContextoComunicacao& c) {
    Table empresas(c.store, "empresa");
    if (!empresas.open())
        return;
    empresas.clear();
    empresas.rec().setInteger("ID_EMPRESA", c.idEmpresa);
    if (empresas.get("KEYID") == Status::Ok && empresas.rec().integer("ID_MATRIZ") == 0) {
        empresas.rec().setInteger("ID_MATRIZ", c.idEmpresa);
        empresas.put();
    }
}

// The steps after the connection, in their order; false at the first that fails or when the user
// asked to stop.
// The downloads only read from the server: while one runs, the server is already working out the
// large answer of the next one (from `proxima` on) that the run calls for.
void anteciparProxima(ContextoComunicacao& c, std::vector<EtapaDownload>::const_iterator proxima,
                      std::vector<EtapaDownload>::const_iterator fim) {
    for (; proxima != fim; ++proxima)
        if (proxima->consulta)
            if (const std::optional<QString> comando = proxima->consulta(c)) {
                c.conexao.antecipar(*comando);
                return;
            }
}

bool passos(ContextoComunicacao& c, const PassosComunicacao& externos) {
    std::vector<PassoComunicacao> lista;
    lista.push_back(&abrirComunicacao);
    lista.push_back(&atualizarConfiguracao);
    if (!somentePedidos(c))
        lista.push_back(&atualizarEmpresa);
    lista.push_back([](ContextoComunicacao& ctx) {
        corrigirMatrizLocal(ctx);
        return true;
    });
    if (!somentePedidos(c)) {
        lista.push_back(&atualizarVendedor);
        lista.push_back(&atualizarTiposPedido);
    }
    lista.push_back([&externos](ContextoComunicacao& ctx) {
        if (ctx.sistema == QStringLiteral("gerente") && externos.envioPedidosGerente)
            return externos.envioPedidosGerente(ctx);
        if (ctx.sistema == QStringLiteral("zor") && externos.envioPedidosZor)
            return externos.envioPedidosZor(ctx);
        return true;
    });
    const auto executar = [&c](const std::function<bool()>& passo) {
        if (c.parar()) {
            c.registrar(QStringLiteral("Comunicação interrompida pelo usuário..."));
            return false;
        }
        c.passoOk = protegido(c, passo);
        // A step may read a failed statement as "no row" and go on: the run never does.
        return c.passoOk && c.conexao.falha() == Conexao::Falha::Nenhuma;
    };
    for (const PassoComunicacao& passo : lista)
        if (!executar([&] { return passo(c); }))
            return false;
    const std::vector<EtapaDownload>& downloads = externos.downloads;
    for (auto etapa = downloads.begin(); etapa != downloads.end(); ++etapa)
        if (!executar([&] {
                anteciparProxima(c, etapa + 1, downloads.end());
                return etapa->executar(c);
            }))
            return false;
    return true;
}

// After a run that went well: the date of the communication (when the run counts under the company's
// policy) with the lock lifted, and the flex balance. False when the configuration could not be stored.
bool concluir(ContextoComunicacao& c) {
    Table cfgs(c.store, "qavcfg");
    if (!cfgs.open()) {
        c.aviso(QStringLiteral("Erro (%1) ao gravar configuração!").arg(cfgs.error().number()));
        return false;
    }
    cfgs.clear();
    cfgs.rec().setInteger("ID_EMPRESA", c.idEmpresa);
    if (cfgs.get("KEYID_EMPRESA") != Status::Ok) {
        c.aviso(QStringLiteral("Erro (%1) ao gravar configuração!").arg(cfgs.error().number()));
        return false;
    }
    Record& cfg = cfgs.rec();
    const bool soTotal = text::rtrim(cfg.text("TP_COM")) == QStringLiteral("C");
    if ((soTotal && c.tipo == TipoComunicacao::Total) ||
        (!soTotal && c.tipo != TipoComunicacao::SomentePedidos)) {
        cfg.setDate("DT_ULT_COM", c.dataServidor);
        cfg.setInteger("SISTEMA_BLOQUEADO", 0);
    }
    if (cfg.integer("PERMITIR_FLEX") != 0) {
        Table vendedores(c.store, "vendedor");
        long long idVendedor = 0;
        if (vendedores.open()) {
            vendedores.clear();
            vendedores.rec().setInteger("CODIGO", cfg.integer("COD_VENDEDOR"));
            vendedores.rec().setInteger("ID_EMPRESA", c.idEmpresa);
            if (vendedores.get("KEYCODIGO") == Status::Ok)
                idVendedor = vendedores.rec().integer("ID_VENDEDOR");
        }
        ErroSql erro;
        const auto saldo =
            c.conexao.consultar(QStringLiteral("SELECT saldo_flex FROM gestao.flex WHERE id_empresa=") +
                                    Conexao::inteiro(c.idEmpresa) + QStringLiteral(" AND id_vendedor=") +
                                    Conexao::inteiro(idVendedor) + QLatin1Char(';'),
                                &erro);
        if (saldo) {
            // No row: the server keeps no balance for the salesperson.
            const auto valor = Decimal::parse(
                (saldo->empty() ? QString() : saldo->front().texto(0)).trimmed().toStdString());
            cfg.setDecimal("SALDO_FLEX", (valor ? *valor : Decimal()).forField(15, 2));
        } else {
            // A balance that could not be read is not a balance of 0: that would grant discounts that
            // do not exist or hide a real credit. The last balance stays, and the salesperson is told.
            // A server that stopped answering ends the run instead.
            if (c.conexao.falha() != Conexao::Falha::Nenhuma)
                return false;
            c.registrar(QStringLiteral("Saldo flex não atualizado: ") + erro.texto);
            c.aviso(QStringLiteral("Não foi possível consultar o saldo flex no servidor.|Mantido o saldo da "
                                   "última comunicação.|") +
                    erro.texto);
        }
    }
    if (cfgs.put() != Status::Ok) {
        c.aviso(QStringLiteral("Erro (%1) ao gravar configuração!").arg(cfgs.error().number()));
        return false;
    }
    return true;
}

} // namespace

Desfecho comunicar(Store& store, OuvinteComunicacao& ouvinte, const PedidoComunicacao& pedido,
                   const PassosComunicacao& externos) {
    Desfecho desfecho;
    if (pedido.formularioPedidoAberto) {
        ouvinte.mensagem(QStringLiteral("Aviso"),
                         QStringLiteral("Cadastro de pedidos está aberto!|Impossível fazer comunicação!"),
                         Icone::Aviso);
        return desfecho;
    }
    std::optional<Record> cfg = pedido.configuracao;
    if (!cfg) {
        cfg = lerConfiguracao(store, pedido.idEmpresa);
        if (!cfg) {
            ouvinte.mensagem(
                QStringLiteral("Aviso"),
                QStringLiteral("Configuração da empresa %1 não encontrada!").arg(pedido.idEmpresa),
                Icone::Aviso);
            return desfecho;
        }
        aplicarPadroes(*cfg);
    }
    if (cfg->integer("ATIVA_ENTREGA_IMEDIATA") != 0 && cfg->integer("ID_ESTLOCAL") == 0) {
        ouvinte.mensagem(
            QStringLiteral("Aviso"),
            QStringLiteral("Local de estoque não definido nas configurações!|Impossível fazer comunicação!"),
            Icone::Aviso);
        return desfecho;
    }
    if (!pedido.confirmado &&
        !ouvinte.pergunta(QStringLiteral("Confirma"), QStringLiteral("Confirma comunicação?")))
        return desfecho;

    Conexao conexao;
    conexao.definirLimites(pedido.limites);
    conexao.aoVerificarParada([&ouvinte] { return ouvinte.pararSolicitado(); });
    OuvinteAposFalha aposFalha(ouvinte, conexao);
    ContextoComunicacao c(store, conexao, aposFalha);
    conexao.aoErroSql([&c](const ErroSql& e) { c.erroSql(e); });
    conexao.aoComando(pedido.gravadorComandos);
    conexao.aoAjusteTexto([&c](const AjusteTexto& a) { c.textoAjustadoNoEnvio(a); });
    c.tipo = pedido.tipo;
    c.idEmpresa = pedido.idEmpresa;
    c.qavcfg = &*cfg;
    const int matriz = static_cast<int>(cfg->integer("ID_EMPMATRIZ"));
    c.empresaCabeca = matriz >= 1 ? matriz : pedido.idEmpresa;

    desfecho.resultado = ResultadoComunicacao::Falhou;
    const bool conectou = conectar(c, desfecho);
    bool sucesso = conectou && passos(c, externos) && conexao.falha() == Conexao::Falha::Nenhuma;
    ouvinte.progresso(QString());
    if (const QString naoCabem = resumoNaoCabe(c); !naoCabem.isEmpty())
        c.registrar(naoCabem);
    if (c.textosAjustados > 0)
        c.registrar(c.textosAjustados == 1 ? QStringLiteral("1 texto ajustado")
                                           : QStringLiteral("%1 textos ajustados").arg(c.textosAjustados));
    // A connection that stopped answering was closed: there is no closing row to write.
    if (conectou && conexao.conectada()) {
        // A transaction a failed step left open is rolled back before the closing row is written.
        if (conexao.emTransacao())
            conexao.executar(QStringLiteral("rollback;"));
        ErroSql erro;
        if (!conexao.executar(registroFechamento(c, sucesso), &erro)) {
            c.erroComando(erro);
            c.registrar(QStringLiteral("Desconectando do Servidor..."));
            aposFalha.concluir();
            conexao.desconectar();
            return desfecho;
        }
        c.registrar(QStringLiteral("Desconectando do Servidor..."));
    } else if (conectou) {
        c.registrar(QStringLiteral("Desconectando do Servidor..."));
    }
    if (!sucesso) {
        aposFalha.concluir();
        conexao.desconectar();
        return desfecho;
    }
    sucesso = protegido(c, [&] { return concluir(c); });
    if (!sucesso)
        aposFalha.concluir();
    conexao.desconectar();
    if (!sucesso)
        return desfecho;
    c.registrar(QStringLiteral("Comunicação Finalizada..."));
    ouvinte.mensagem(QStringLiteral("Aviso"), QStringLiteral("Comunicação concluida com sucesso!"),
                     Icone::Aviso);
    desfecho.resultado = ResultadoComunicacao::Sucesso;
    return desfecho;
}

} // namespace qav::sync
