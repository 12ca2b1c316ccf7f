#pragma once
// The receivables ("contas a receber") of a customer as the company's back office sent them: which
// titles count as paid or open, how many days a title is late, when its due date is shown as overdue,
// and the totals of what is listed. "Today" is passed in, so that the day boundary can be fixed.

#include "store/core/Date.h"
#include "store/core/Decimal.h"
#include "store/core/Store.h"
#include "store/core/StoreError.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace qav::ctr {

// The "Situação" option of the query.
enum class Situacao { Pagas = 1, EmAberto = 2, Todas = 3 };
std::optional<Situacao> situacaoDoCodigo(int codigo);

// A title is paid when its balance is below 0.01 and open when above 0.09; the few cents between
// are rounding leftovers the back office has not written off, listed only under "Todas".
bool naSituacao(Situacao situacao, const Decimal& saldo);

// Days late: from the due date to the day it was received, or to today while it is not (negative
// when paid early). A title without a due date is never late.
int dias(Date vencimento, Date recebimento, Date hoje);

// The due date is shown as overdue when it has passed and more than 1,00 is still owed: a balance
// of cents left on a paid title does not make it look overdue.
bool vencimentoAtrasado(Date vencimento, const Decimal& saldo, Date hoje);

struct Titulo {
    QString numero; // CTR:NUMER
    QString documento;
    std::int64_t devedor = 0;
    int idEmpresa = 0;
    Date emissao;
    Date vencimento;
    Decimal valor;
    Decimal juros;
    Date recebimento; // CTR:DATA_RECBTO
    Decimal recebido; // CTR:RECBT
    Decimal saldo;
    Decimal baseComissao; // CTR:BCOMIS
    Decimal comissao;     // CTR:COMIS (%)
    QString portador;
    QString carteira;
    int dias = 0;                   // see dias()
    bool vencimentoVencido = false; // see vencimentoAtrasado()
    std::int64_t posicao = 0;       // where the record is stored, to find it again
};

struct Totais {
    Decimal valor;
    Decimal juros;
    Decimal recebido;
    Decimal saldo;
    Decimal comissao; // base × rate / 100 of each title, to the cent
};
Totais totalizar(const std::vector<Titulo>& titulos);

struct Consulta {
    int idEmpresa = 0;
    std::int64_t devedor = 0; // 0: every customer of the company (the report)
    Situacao situacao = Situacao::Todas;
    Date hoje;
    Date vencimentoDe; // optional range of due dates, both ends included
    Date vencimentoAte;
};

struct Leitura {
    bool ok = true;
    StoreError erro; // why ctr.tps could not be read
    std::vector<Titulo> titulos;
};

// The titles of the company (and customer) in the situation, by customer and due date.
Leitura lerTitulos(Store& store, const Consulta& consulta);

} // namespace qav::ctr
