#pragma once
// What the tests of the order form and of the item form share: a fresh data folder for each test with
// the date fixed and every message box answered, order 41 of the workstation's customer, and typing
// into the entries as the user does.

#include "orders/widgets/FichaPedido.h"
#include "store/core/Clock.h"
#include "tests/orders/ReferenciasFixture.h"
#include "tests/support/Registros.h"
#include "tests/support/TempDataFolder.h"
#include "ui/widgets/MessageBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

namespace qav::test {

inline const Date kHoje = Date::fromYmd(2026, 12, 8);
inline constexpr int kVendedor = 7;
inline constexpr int kCliente = 100;
inline const char* const kBarras = "7891000000011";
// Every box of these tests is answered No (or, having only OK, closed) without waiting for a click.
inline const QList<Button> kRespostas(100, Button::No);

// Types into an entry and leaves it with Enter, as the user does.
inline void digitar(QLineEdit* campo, const QString& texto) {
    campo->setFocus();
    campo->selectAll();
    QTest::keyClicks(campo, texto);
    QTest::keyClick(campo, Qt::Key_Return);
}

// Picks the option holding `valor`, as a click in the list does.
inline void escolher(QComboBox* combo, int valor) {
    const int indice = combo->findData(valor);
    combo->setCurrentIndex(indice);
    Q_EMIT combo->activated(indice);
}

class FormularioFixture {
protected:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<QTemporaryDir> m_program;

    ListContext contexto() const { return {m_folder->path(), 1, m_program->path()}; }
    Store& store() { return m_folder->store(); }

    // Each test starts on empty folders, on the same day, with no box shown yet.
    void iniciar() {
        m_folder = std::make_unique<TempDataFolder>();
        m_program = std::make_unique<QTemporaryDir>();
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
        MessageBox::clearShown();
        MessageBox::setNextAnswers(kRespostas);
    }

    void encerrar() {
        MessageBox::setNextAnswers({});
        Clock::setOverride({});
        m_folder.reset();
    }

    // Order 41 of the customer, pending unless `situa` says otherwise: `qtd` units of product 1 at 10,00.
    void pedido41(const char* qtd = "4", int situa = 1) {
        pedido(store(), {.id = 41,
                         .numero = 41,
                         .situa = situa,
                         .cliente = kCliente,
                         .vendedor = kVendedor,
                         .data = kHoje.dayNumber()});
        Table pedidos(store(), "pedidos");
        QVERIFY(pedidos.open());
        pedidos.rec().setInteger("ID", 41);
        QCOMPARE(pedidos.get("KEYID"), Status::Ok);
        pedidos.rec().setInteger("FCONTA", 1);
        pedidos.rec().setInteger("COD_FORMAPAG", 1);
        pedidos.rec().setInteger("COD_LIBERACAO", 0);
        QCOMPARE(pedidos.put(), Status::Ok);
        adicionar(store(), "peditens", [&](Record& r) {
            r.setInteger("ID_VENDASI", 1);
            r.setInteger("ID_VENDA", 41);
            r.setInteger("PRODU", 1);
            r.setDecimal("QTD", decimal(qtd));
            r.setDecimal("PRUNI", decimal("10"));
            r.setDecimal("VALOR_PRODUTO", decimal("10"));
            r.setDecimal("PRECO_PAUTA", decimal("10"));
            r.setDecimal("TOTAL", decimal(qtd) * 10);
        });
    }

    // Changes the first row of `tabela` (these tests keep one company row, one representative, ...).
    void alterarPrimeiro(const char* tabela, const Preencher& mudar,
                         std::source_location onde = std::source_location::current()) {
        alterar(store(), tabela, {}, mudar, onde);
    }

    Record lido(int id) {
        Table pedidos(store(), "pedidos");
        if (!pedidos.open())
            qFatal("pedidos does not open");
        pedidos.rec().setInteger("ID", id);
        if (pedidos.get("KEYID") != Status::Ok)
            qFatal("order %d not found", id);
        return pedidos.rec();
    }

    // The order form as the order list opens it; nothing when it refused to open.
    std::unique_ptr<FichaPedido> abrirPedido(Requisicao requisicao, const Record* pedido) {
        auto form = std::make_unique<FichaPedido>(contexto(), requisicao);
        if (!form->preparar(pedido))
            return nullptr;
        form->show();
        return form;
    }
};

} // namespace qav::test
