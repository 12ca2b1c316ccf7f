#pragma once
// What every download of reference data does around its own rows: the start text in the run log, the
// local writes of the step in one local transaction (a step that fails or is stopped leaves its tables
// as they were before it), the statement read row by row from the server, the row counter, a progress
// line that does not flood the window, and the closing "Atualizados" text.

#include "store/core/Table.h"
#include "store/core/Transaction.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qav::sync {

class PassoDownload {
public:
    // How a refused statement is shown: the server's text alone, or captioned "Erro" with "|" and the
    // statement (price lists and their products).
    enum class ErroComando { SoTexto, ComComando };

    PassoDownload(ContextoComunicacao& contexto, QString sufixoFim,
                  QString prefixoConclusao = QStringLiteral("Atualizados "));
    ~PassoDownload();
    PassoDownload(const PassoDownload&) = delete;
    PassoDownload& operator=(const PassoDownload&) = delete;

    // Writes the start text, opens the tables and starts the local transaction that covers them.
    // False after saying why. The tables must outlive the step (declare them before it): a step that
    // ends without concluir() undoes its writes through them.
    bool iniciar(const QString& textoInicio, std::initializer_list<Table*> tabelas);

    // Sends the statement and hands each row to `porLinha`, which returns false after it has shown a
    // write failure. False when the server refused the statement or dropped the connection, when a row
    // failed, or when the user asked to stop; the step's local writes are then undone.
    bool percorrer(const QString& comando, const std::function<bool(const Linha&)>& porLinha,
                   ErroComando comoMostrar = ErroComando::SoTexto);

    // The progress line for the current row, refreshed at most every 200 rows or 100 ms.
    void progresso(const std::function<QString()>& texto);
    // One more row written.
    void contar() { ++m_linhas; }
    long long linhas() const { return m_linhas; }
    // "Erro (" + the store's code + `texto` (which begins with ")"), captioned "Erro". Returns false.
    bool falhaGravacao(const StoreError& erro, const QString& texto);

    // Full run: removes the records that pass `condicao` before the new ones come, in one statement;
    // a record another window holds cannot be removed: it is reported and the pass goes on. False only
    // when the statement or the walk over the held ones failed.
    bool excluir(Table& tabela, const std::string& condicao, std::vector<QVariant> parametros,
                 const std::function<QString(const Record&)>& textoExclusao, const QString& textoFalha);

    // A step that writes its tables in two parts under the one transaction (the order history and
    // its items): the first part's count is kept for its "Atualizados" text, which waits for the
    // commit, and the second part starts with its own start text, count and suffix.
    void proximaParte(const QString& textoInicio, QString sufixoFim);

    // Commits the step's writes and writes "Atualizados " + count + suffix (first those of the earlier
    // parts). False when the commit failed.
    bool concluir();

    // For a step that writes most of `tabela` (a full run, a company's first download): its name
    // indexes stop following each write and are built again from the records just before the commit,
    // in the same transaction (see suspendNameIndex). False after the failure was shown.
    bool indiceDeNomesNoFim(Table& tabela, const QString& textoFalha);
    // The same for the indexes of these keys of `tabela`, which the step must not look up by (see
    // suspendKeys): for the keys whose index each new record would land in the middle of.
    bool chavesNoFim(Table& tabela, std::vector<std::string> chaves, const QString& textoFalha);

private:
    ContextoComunicacao& m_contexto;
    QString m_sufixo;
    QString m_prefixo;
    QStringList m_partesConcluidas;
    std::optional<Transaction> m_transacao;
    std::vector<std::pair<Table*, QString>> m_indicesNoFim; // the tables and their failure texts
    struct ChavesNoFim {
        Table* tabela;
        std::vector<std::string> chaves;
        QString textoFalha;
    };
    std::vector<ChavesNoFim> m_chavesNoFim;
    long long m_linhas = 0;
    long long m_ultimaMostrada = -1;
    long long m_semRelogio = 0; // calls of progresso since the start, for reading the clock less often
    QElapsedTimer m_relogio;
};

// Looks the local record up by `chave` after `preencherChave` set its key fields: Ok with the stored
// record in the buffer, NotFound with a blank buffer holding only the key fields, or Error.
Status localizar(Table& tabela, const char* chave, const std::function<void(Record&)>& preencherChave);
// Whether the table holds no record at all (the folder's first download of it).
bool semRegistros(Table& tabela);
// Adds the buffer when `achou` is NotFound, else writes it over the stored record.
Status gravar(Table& tabela, Status achou);
// The record of the key that `preencherChave` sets gets the values `preencherCampos` sets: added when
// the key is new, else written over the stored one: only the fields whose values changed are written
// (the keys on the others are left alone; a record that comes unchanged is not written). `nova` says the
// caller knows the key is not stored (the step emptied the table and has not written it yet): the record is
// then added without the look-up, which halves the work of such a step; should a unique key turn out
// taken after all, the look-up follows.
Status incluirOuAlterar(Table& tabela, const char* chave, bool nova,
                        const std::function<void(Record&)>& preencherChave,
                        const std::function<void(Record&)>& preencherCampos);

// A value of the row written over a product the workstation already has; a row whose product is not
// here is passed over. False after a write failure was shown.
// Only the fields whose values `mudar` changed are written (none when it changed nothing), so the
// product's keys are not rebuilt for each row. `lido` holds the product as read (the step's own buffer).
// Only `campos` are read from the product, the wide rest left out: they hold the fields `mudar` looks
// at or sets (a field it sets without reading is always written) and those `textoFalha` shows.
bool gravarNoProduto(PassoDownload& passo, Table& produtos, long long idProduto, int idEmpresa, Record& lido,
                     const std::vector<int>& campos, const std::function<void(Record&)>& mudar,
                     const std::function<QString()>& textoFalha);

// The number made of the code's digits followed by the company id in four digits (code 12 of company
// 3 gives 120003): how a company's price lists and payment forms are told apart in shared files. The
// result may exceed the 32 bits of the local id fields (see idCabe).
long long idComEmpresa(long long codigo, int idEmpresa);

// What the downloads read from the local tables of the company before they build their statements.
struct ValoresDownload {
    // From the company's `empresa` record (0 when it is missing): whose products and groups the
    // company uses, and its head office.
    int empresaProdutos = 0;
    int empresaGrupos = 0;
    int matriz = 0;
    // The salesperson's highest discount (`vendedor.TX_DESCMAX`, 0 when the salesperson is missing).
    Decimal descontoMaximoVendedor;
    // Whether the salesperson may see costs and margins (`vendedor.PERMITIR_ANALISE_LUCRO`).
    long long analiseLucro = 0;
    // The nine price-list codes of the company and of the salesperson, joined with ",".
    QString codigosPauta;
    int empresaProduto = 0; // whose products the server's product table keeps for this company
};
ValoresDownload lerValoresDownload(ContextoComunicacao& contexto);

// The price lists of the salesperson's own customers (the customer table of the server's system).
QString clausulaPautasClientes(const ContextoComunicacao& contexto);

// The price lists of the company and the salesperson, and those of the salesperson's customers.
QString listasDoVendedor(const ContextoComunicacao& c, const ValoresDownload& v, const char* coluna);

// The condition that keeps only rows changed since the last communication, in a partial run.
QString desdeCorte(const ContextoComunicacao& contexto, const QString& prefixo, const QString& coluna,
                   const QString& sufixo = {});

// Whether the reference downloads run at all (not in an orders-only run).
bool baixaCadastros(const ContextoComunicacao& contexto);
// Whether a download kept in two server forms runs in the form of `sistema` ("zor" or "gerente").
bool passoRoda(const ContextoComunicacao& contexto, const char* sistema);

// The workstation's salesperson (0 without settings).
int representante(const ContextoComunicacao& contexto);
// Today on the server less the days of history the company keeps.
Date inicioHistorico(const ContextoComunicacao& contexto);

} // namespace qav::sync
