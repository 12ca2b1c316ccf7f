#pragma once
// A data folder with a company, customers, receivables and order history for the query tests, with
// "today" fixed on 08/12/2026.

#include "store/core/Clock.h"
#include "store/core/Record.h"
#include "store/core/Table.h"
#include "tests/support/Registros.h"
#include "tests/support/TempDataFolder.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <stdexcept>

namespace qav::test {

inline const Date kHojeConsultas = Date::fromYmd(2026, 12, 8);

inline Decimal dec(const char* texto) {
    return *Decimal::parse(texto);
}

struct TituloTeste {
    const char* numero;
    std::int64_t devedor;
    int diasVencimento; // due date relative to today
    const char* saldo;
    int diasRecebimento = 0; // received this many days after the due date...
    bool recebido = false;   // ...when set
    int idEmpresa = 1;
    const char* valor = "100.00";
};

class ConsultasFixture {
public:
    static constexpr int kEmpresa = 1;

    ConsultasFixture() {
        Clock::setOverride([] { return DateTimeParts{kHojeConsultas, 10, 0, 0}; });
        adicionar(store(), "empresa", [](Record& r) {
            r.setInteger("ID_EMPRESA", kEmpresa);
            r.setText("NOME", QStringLiteral("Metalúrgica Exemplo S.A."));
            r.setText("MUNIC", QStringLiteral("CAXIAS DO SUL"));
            r.setText("UF", QStringLiteral("RS"));
        });
        adicionar(store(), "municip", [](Record& r) {
            r.setInteger("ID", 10);
            r.setText("NOME", QStringLiteral("CAMPINAS"));
            r.setText("ESTADO", QStringLiteral("SP"));
        });
        cliente(501, QStringLiteral("Casa das Ferragens Ltda"), true, false, {});
        cliente(502, QStringLiteral("Mercadão São João"), false, true, QStringLiteral("Pagar só à vista"));
    }
    ~ConsultasFixture() { Clock::setOverride({}); }

    Store& store() { return dados.store(); }
    QString pastaDados() const { return dados.path(); }
    QString pastaPrograma() const { return programa.path(); }

    void cliente(std::int64_t id, const QString& razao, bool credito, bool alerta, const QString& obs) {
        adicionar(store(), "clientes", [&](Record& r) {
            r.setInteger("ID", id);
            r.setText("RAZAO", razao);
            r.setInteger("ATIVO", 1);
            r.setInteger("LIB_CRED", credito ? 1 : 0);
            r.setInteger("ALERTA", alerta ? 1 : 0);
            r.setText("OBS", obs);
            r.setInteger("ID_MUNICIPIO", 10);
        });
    }

    void titulo(const TituloTeste& t) {
        adicionar(store(), "ctr", [&](Record& r) {
            r.setInteger("ID_EMPRESA", t.idEmpresa);
            r.setText("NUMER", QString::fromLatin1(t.numero));
            r.setInteger("DEVED", t.devedor);
            const Date vencimento = kHojeConsultas.addDays(t.diasVencimento);
            r.setDate("EMISS", vencimento.addDays(-30));
            r.setDate("VECTO", vencimento);
            r.setDecimal("VALOR", dec(t.valor));
            r.setDecimal("SALDO", dec(t.saldo));
            if (t.recebido) {
                r.setDate("DATA_RECBTO", vencimento.addDays(t.diasRecebimento));
                r.setDecimal("RECBT", dec(t.valor) - dec(t.saldo));
            }
            r.setDecimal("BCOMIS", dec(t.valor));
            r.setDecimal("COMIS", dec("5.00"));
            r.setText("PORTADOR", QStringLiteral("BANCO DO BRASIL"));
            r.setText("CARTEIRA", QStringLiteral("SIMPLES"));
        });
    }

    struct PedidoTeste {
        int idPedcon;
        int numero;
        std::int64_t cliente;
        int diasPedido; // order date relative to today
        int situacao;
        const char* descricao; // SIT_DESCR
        int sitPed;
        const char* valor;
        int idEmpresa = 1;
        const char* tipo = "N";
    };
    void pedido(const PedidoTeste& p) {
        adicionar(store(), "pedcon", [&](Record& r) {
            r.setInteger("ID_PEDCON", p.idPedcon);
            r.setInteger("ID_EMPRESA", p.idEmpresa);
            r.setInteger("NUMERO", p.numero);
            r.setInteger("NUM_ENTREGA", 1);
            r.setDate("DATA_PEDIDO", kHojeConsultas.addDays(p.diasPedido));
            r.setInteger("SITUACAO", p.situacao);
            r.setInteger("ID_CLIENTE", p.cliente);
            r.setText("CONTATO", QStringLiteral("Sr. Paulo"));
            r.setText("PRAZO", QStringLiteral("30/60/90"));
            r.setDecimal("VALOR_TOTAL", dec(p.valor));
            r.setText("TIPO", QString::fromLatin1(p.tipo));
            r.setText("NUM_PED_QAV", QStringLiteral("QAV-%1").arg(p.numero));
            r.setInteger("SIT_PED", p.sitPed);
            r.setText("SIT_DESCR", QString::fromUtf8(p.descricao));
        });
    }
    void item(int idPedcon, int ordem, std::int64_t produto, const char* descricao, const char* quantidade,
              const char* preco, const char* desconto = "0.00") {
        adicionar(store(), "pedicon", [&](Record& r) {
            r.setInteger("ID_PEDCON", idPedcon);
            r.setInteger("ORDEM", ordem);
            r.setInteger("ID_EMPRESA", kEmpresa);
            r.setInteger("ID_PRODUTO", produto);
            r.setText("DESCR_PRODUTO", QString::fromUtf8(descricao));
            r.setDecimal("QTDADE", dec(quantidade));
            r.setDecimal("PRECO_UNIT", dec(preco));
            r.setDecimal("DESCP", dec(desconto));
        });
    }
    void produto(std::int64_t id, const char* codigo, const char* nome, const char* pesoBruto) {
        adicionar(store(), "produto", [&](Record& r) {
            r.setInteger("ID_EMPRESA", kEmpresa);
            r.setInteger("ID", id);
            r.setText("CODIGO", QString::fromLatin1(codigo));
            r.setText("NOME", QString::fromUtf8(nome));
            r.setDecimal("PESOB", dec(pesoBruto));
        });
    }

    TempDataFolder dados;
    QTemporaryDir programa;
};

} // namespace qav::test
