#pragma once
// What one communication run knows while it runs: its type, the connection and what the server told
// it, the company's configuration as the run refreshes it, the salesperson's server row, and the
// counts the closing log row reports. Every step reads and writes it.

#include "store/core/Date.h"
#include "store/core/Record.h"
#include "store/core/Store.h"
#include "sync/core/conexao/Conexao.h"
#include "sync/core/execucao/OuvinteComunicacao.h"

#include <QString>
#include <utility>
#include <vector>

namespace qav::sync {

enum class TipoComunicacao { Total = 1, Parcial = 2, SomentePedidos = 3 };

// "Completa", "Parcial", "Somente Pedidos": how logs and progress rows name the run.
QString textoTipo(TipoComunicacao tipo);

// A server row with its columns named as the statement selected them.
class LinhaNomeada {
public:
    LinhaNomeada() = default;
    LinhaNomeada(const std::vector<const char*>* nomes, Linha linha)
        : m_nomes(nomes), m_linha(std::move(linha)) {}
    bool vazia() const { return m_nomes == nullptr; }
    QString texto(const char* coluna) const;
    long long inteiro(const char* coluna) const;
    Decimal decimal(const char* coluna) const;
    Date data(const char* coluna) const;
    const Linha& linha() const { return m_linha; }

private:
    size_t indice(const char* coluna) const;
    const std::vector<const char*>* m_nomes = nullptr;
    Linha m_linha;
};

struct ContextoComunicacao {
    ContextoComunicacao(Store& s, Conexao& c, OuvinteComunicacao& o) : store(s), conexao(c), ouvinte(o) {}

    Store& store;
    Conexao& conexao;
    OuvinteComunicacao& ouvinte;

    TipoComunicacao tipo = TipoComunicacao::Parcial;
    bool passoOk = false;
    QString sistema;   // "zor" or "gerente"
    Date dataServidor; // the server's today, taken when the run opens
    Date corte;        // rows changed on or after it are taken by a partial download
    bool primeiraComunicacao = false;
    int versaoLiberada = 0; // the lowest build the server accepts
    int pedidosEnviados = 0;
    std::vector<std::pair<int, int>> renumeracaoClientes; // (local id, server id)
    int valoresNaoCabem = 0; // server values refused because their local field cannot hold them

    int idEmpresa = 0;        // QAVCFG:ID_EMPRESA, the active company
    int empresaCabeca = 0;    // head office when set, else the company
    Record* qavcfg = nullptr; // the company's configuration as the run refreshes it
    LinhaNomeada vendedor;    // the salesperson's server row
    // Texts that crossed the wire in their nearest plain form (a character one side cannot hold), one
    // per record; the run ends by telling how many.
    int textosAjustados = 0;
    // The record the upload is sending ("Pedido # 12", "Cliente # 900001"), for the lines that say a
    // text of it was adjusted.
    QString registroEmEnvio;

    // A row of the run log now.
    void registrar(const QString& texto) const { ouvinte.registro(QTime::currentTime(), texto); }
    void linhaProgresso(const QString& texto) const { ouvinte.progresso(texto); }
    void aviso(const QString& texto) const { ouvinte.mensagem(QStringLiteral("Aviso"), texto, Icone::Aviso); }
    void erro(const QString& texto) const { ouvinte.mensagem(QStringLiteral("Erro"), texto, Icone::Erro); }
    // The server's text alone, for the steps that show it without a caption.
    void erroSemTitulo(const QString& texto) const { ouvinte.mensagem(QString(), texto, Icone::Erro); }
    // "Erro SQL (code)": the server's text and the statement.
    void erroSql(const ErroSql& e) const;
    // The server's text, "|" and the statement, captioned "Erro".
    void erroComando(const ErroSql& e) const { erro(e.texto + QStringLiteral("|") + e.comando); }
    bool parar() const { return ouvinte.pararSolicitado(); }
    // One line of the run log for a record whose texts were adjusted; counted for the end of the run.
    void textoAjustado(const QString& texto) {
        ++textosAjustados;
        registrar(texto);
    }
    // The line for a row that came down with adjusted texts: `registro` names it ("Produtos 1001").
    void textosAjustadosNaLinha(const QString& registro, const Linha& linha);
    // The line for a text of the upload that went in its nearest plain form.
    void textoAjustadoNoEnvio(const AjusteTexto& ajuste);
};

} // namespace qav::sync
