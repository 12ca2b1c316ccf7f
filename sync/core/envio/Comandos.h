#pragma once
// How the upload of orders writes the values of the local records into its statements, and reads the
// one row it expects back, telling "no row" apart from a server error.

#include "store/core/Decimal.h"
#include "store/core/Record.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace qav::sync::envio {

// A text field: padding and carriage returns left out (the ERP keeps line feeds only), quoted for this
// connection; Null when nothing is left.
QString texto(const Conexao& conexao, const QString& valor);
// An id that may be absent: Null when 0.
QString idOuNull(long long valor);
// A floating-point money field of the order, as the decimal text it stands for (321.3, not
// 321.30000000000001).
QString real(double valor);

// A local day number as the log rows write it (dd/mm/yyyy), blank for no date.
QString dataBr(long long diaLocal);

// The columns of one INSERT with their literals, in the order the statement writes them.
class Insercao {
public:
    void coluna(const QString& nome, const QString& literal);
    void coluna(const char* nome, const QString& literal) { coluna(QString::fromLatin1(nome), literal); }
    void colunas(std::initializer_list<std::pair<const char*, QString>> lista);

    // "INSERT INTO <tabela>(a, b" + `abertura` + "x, y);". The ERP's and the office's order headers
    // open their values with ") VALUES ( ", the item rows with ") VALUES (".
    QString comando(const QString& tabela, const QString& abertura = QStringLiteral(") VALUES (")) const;

private:
    QStringList m_nomes, m_literais;
};

// The literals of a local order's fields as both servers' order tables receive them.
class CamposPedido {
public:
    CamposPedido(const Conexao& conexao, const Record& pedido) : m_conexao(conexao), m_pedido(pedido) {}
    QString texto(const char* campo) const { return envio::texto(m_conexao, m_pedido.text(campo)); }
    QString inteiro(const char* campo) const { return Conexao::inteiro(m_pedido.integer(campo)); }
    QString real(const char* campo) const { return envio::real(m_pedido.real(campo)); }

private:
    const Conexao& m_conexao;
    const Record& m_pedido;
};

// The order's own number as the salesperson knows it on the server: "00000045/QAV+".
QString numeroNoVendedor(const Record& pedido);

// The first row of the answer in `linha` (nullopt when there is none). False when the server refused
// the statement: the SQL error message has been shown, and the order's server transaction is lost.
bool lerLinha(const ContextoComunicacao& contexto, const QString& comando, std::optional<Linha>& linha);

// The questions that are not empty, in one round trip, run one after the other in their order: their
// answers in `respostas`, one for each question (no rows for an empty one). False when the server
// refused one: the SQL error message, naming that statement alone, has been shown, and the order's
// server transaction is lost.
bool perguntarJuntos(const ContextoComunicacao& contexto, const QStringList& comandos,
                     std::vector<std::vector<Linha>>& respostas);
// The first row of an answer, nullopt when it has none.
std::optional<Linha> primeiraLinha(const std::vector<Linha>& linhas);

} // namespace qav::sync::envio
