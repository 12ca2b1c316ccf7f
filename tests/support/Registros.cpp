#include "tests/support/Registros.h"

#include "store/core/Table.h"

#include <QTest>

namespace qav::test {

namespace {

// Fails the running test at `onde` with what the table said.
bool falhou(const char* oQue, const char* tabela, const Table& t, const std::source_location& onde) {
    QString texto =
        QStringLiteral("%1 %2: %3").arg(QLatin1StringView(oQue), QLatin1StringView(tabela), t.error().text);
    if (!t.error().text.contains(t.error().driverText))
        texto += u' ' + t.error().driverText;
    texto = texto.trimmed();
    // Outside a running test (a benchmark, the child process of a kill test) there is no test to
    // fail: the program stops with the same text.
    if (!QTest::currentTestFunction())
        qFatal("%s:%u: %s", onde.file_name(), static_cast<unsigned>(onde.line()), qPrintable(texto));
    QTest::qFail(qPrintable(texto), onde.file_name(), static_cast<int>(onde.line()));
    return false;
}

} // namespace

bool adicionar(Store& store, const char* tabela, const Preencher& preencher, std::source_location onde) {
    Table t(store, tabela);
    if (!t.open())
        return falhou("cannot open", tabela, t, onde);
    t.clear();
    preencher(t.rec());
    if (t.add() != Status::Ok)
        return falhou("cannot add to", tabela, t, onde);
    return true;
}

bool alterar(Store& store, const char* tabela, const std::string& condicao, const Preencher& mudar,
             std::source_location onde) {
    Table t(store, tabela);
    if (!t.open())
        return falhou("cannot open", tabela, t, onde);
    t.setFilter(condicao);
    if (t.seekPhysical() != Status::Ok)
        return falhou("cannot read", tabela, t, onde);
    if (t.next() != Status::Ok)
        return falhou("no record passes the condition in", tabela, t, onde);
    mudar(t.rec());
    if (t.put() != Status::Ok)
        return falhou("cannot change a record of", tabela, t, onde);
    return true;
}

} // namespace qav::test
