#pragma once
// The communication run: connects, validates the salesperson, refreshes the company's settings,
// sends the released orders, brings the reference data up to date, and at its end records the date
// of the communication and lifts the lock. The order upload and the downloads are steps that plug in.

#include "store/core/Store.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace qav::sync {

// A step: true when it ended well (the run goes on), false when it failed (it has said why).
using PassoComunicacao = std::function<bool(ContextoComunicacao&)>;

// A download step, and, for one that reads a large answer, the statement of that answer as the step
// will send it (nothing when the run does not call for it): the run has the server start on it while
// the steps before are still at work (Conexao::antecipar).
struct EtapaDownload {
    using Consulta = std::function<std::optional<QString>(ContextoComunicacao&)>;
    EtapaDownload(bool (*passo)(ContextoComunicacao&)) : executar(passo) {}
    EtapaDownload(PassoComunicacao passo, Consulta comando)
        : executar(std::move(passo)), consulta(std::move(comando)) {}
    PassoComunicacao executar;
    Consulta consulta;
};

struct PassosComunicacao {
    PassoComunicacao envioPedidosGerente; // runs only against a manager database
    PassoComunicacao envioPedidosZor;     // runs only against the ERP's database
    // In the run's order; each decides by itself whether the run's type and the server call for it.
    std::vector<EtapaDownload> downloads;
};

struct PedidoComunicacao {
    int idEmpresa = 0;
    TipoComunicacao tipo = TipoComunicacao::Parcial;
    bool formularioPedidoAberto = false; // an order form is open somewhere: no run
    bool confirmado = false;             // "Confirma comunicação?" already answered Yes
    // The settings as the window holds them (its defaults applied, perhaps not stored yet); without
    // them the company's stored settings are read and the defaults applied.
    std::optional<Record> configuracao;
    // Called with every statement the run sends (benchmarks replay them with other tools).
    std::function<void(const QString&)> gravadorComandos;
    // How long the run waits for the server (the window's setting gives the wait for an answer).
    LimitesConexao limites;
};

enum class ResultadoComunicacao { NaoIniciada, Falhou, Sucesso };

struct Desfecho {
    ResultadoComunicacao resultado = ResultadoComunicacao::NaoIniciada;
    // A setting that stopped the run before connecting: the field to fix ("BD_NOME", ...).
    const char* campoAcorrigir = nullptr;
};

inline constexpr const char* kPaginaAtualizacao = "https://www.qavplus.com.br/atualizacao";

Desfecho comunicar(Store& store, OuvinteComunicacao& ouvinte, const PedidoComunicacao& pedido,
                   const PassosComunicacao& passos = {});

// The opening of the run, once connected: the salesperson's row and checks, the opening log row, the
// server's date and the version gate. Part of comunicar(); public for its tests.
bool abrirComunicacao(ContextoComunicacao& contexto);

// The log row of gestao.log that opens or closes a run.
QString registroAbertura(const ContextoComunicacao& contexto);
QString registroFechamento(const ContextoComunicacao& contexto, bool sucesso);

} // namespace qav::sync
