// Validations per second of the document checks: CPF, CNPJ (numeric and alphanumeric) and the state
// registrations of several states, formatted as users type them.
#include "customers/core/DocumentChecks.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <cstdio>
#include <functional>

namespace {

// Runs `check` over `values` until at least half a second has passed and prints the rate.
void measure(const char* name, const QList<QString>& values,
             const std::function<bool(const QString&)>& check) {
    QElapsedTimer timer;
    timer.start();
    long long count = 0;
    long long valid = 0;
    while (timer.elapsed() < 500) {
        for (int round = 0; round < 1000; ++round)
            for (const QString& value : values) {
                valid += check(value) ? 1 : 0;
                ++count;
            }
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("%-28s %12.0f validations/s  (%lld checks, %lld valid)\n", name,
                static_cast<double>(count) / seconds, count, valid);
}

} // namespace

int main() {
    using namespace qav::docs;
    measure(
        "CPF",
        {QStringLiteral("111.444.777-35"), QStringLiteral("52998224725"), QStringLiteral("111.444.777-36")},
        [](const QString& v) { return cpfValido(v); });
    measure("CNPJ numeric", {QStringLiteral("11.222.333/0001-81"), QStringLiteral("11222333000182")},
            [](const QString& v) { return cnpjValido(v); });
    measure("CNPJ alphanumeric", {QStringLiteral("12.ABC.345/01DE-35"), QStringLiteral("12abc34501de35")},
            [](const QString& v) { return cnpjValido(v); });
    struct Ie {
        const char* name;
        QString uf;
        QString value;
    };
    const QList<Ie> registrations = {
        {"IE SP industry", QStringLiteral("SP"), QStringLiteral("110.042.490.114")},
        {"IE SP rural producer", QStringLiteral("SP"), QStringLiteral("P-01100424.3/002")},
        {"IE MG", QStringLiteral("MG"), QStringLiteral("062.307.904/0081")},
        {"IE BA 9 digits", QStringLiteral("BA"), QStringLiteral("1234567-48")},
        {"IE RS", QStringLiteral("RS"), QStringLiteral("224/3658792")},
        {"IE PR", QStringLiteral("PR"), QStringLiteral("123.45678-50")},
        {"IE GO", QStringLiteral("GO"), QStringLiteral("10.987.654-7")},
        {"IE RO 14 digits", QStringLiteral("RO"), QStringLiteral("0000000062521-3")},
        {"IE TO (last in the table)", QStringLiteral("TO"), QStringLiteral("29.01.022783-6")},
    };
    for (const Ie& ie : registrations) {
        const QString uf = ie.uf;
        measure(ie.name, {ie.value}, [uf](const QString& v) { return ieValida(v, uf); });
    }
    return 0;
}
