#pragma once
// What a failing QCOMPARE prints for the store's own types: a decimal as the user reads it ("12,50"),
// a date as "08/12/2026" with its day number, a record as its table and the fields that are not blank.
// Without these, QtTest prints only "Compared values are not the same".

#include "store/core/Date.h"
#include "store/core/Decimal.h"
#include "store/core/Record.h"

#include <QTest>

namespace qav::test {

// The Brazilian form with a comma and at least two places ("12,50", "-0,125", "3,00"), no
// thousands separators, so that the digits read exactly as they are held.
QString textoDecimal(const Decimal& valor);
// "08/12/2026 (day 82525)": the date and the day number the field holds; "no date" for day 0; the
// bare day number for one before the first real date.
QString textoData(Date data);
// "pedidos {ID=41, NUMER=41, TOTAL=40,00, OBS="Entregar pela manhã"}": the fields that are not
// blank, in record order, each as its type prints (a date field as a date, a real as a plain number),
// array elements as NAME[i].
QString textoRegistro(const Record& registro);

} // namespace qav::test

namespace QTest {

template <> inline char* toString(const qav::Decimal& valor) {
    return qstrdup(qav::test::textoDecimal(valor).toUtf8().constData());
}

template <> inline char* toString(const qav::Date& data) {
    return qstrdup(qav::test::textoData(data).toUtf8().constData());
}

template <> inline char* toString(const qav::Record& registro) {
    return qstrdup(qav::test::textoRegistro(registro).toUtf8().constData());
}

} // namespace QTest
