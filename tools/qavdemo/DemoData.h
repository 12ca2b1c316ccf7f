#pragma once
// A demonstration data folder: one company with its representative, customers with valid documents,
// real municipalities, products in groups, two price lists, payment forms, tax substitution, freight,
// receivables, order history, orders in every situation and pending orders and named customers that
// each run into one of the checks made when an order is released. Everything comes from a seeded
// generator, so the same options always give the same folder; large counts make benchmark folders.

#include "store/core/Date.h"

#include <QMap>
#include <QString>
#include <cstdint>

namespace qav::demo {

struct Options {
    int produtos = 500;
    int clientes = 50;
    int idEmpresa = 1;
    int codVendedor = 101; // the workstation's representative
    std::uint32_t seed = 186;
    Date hoje; // null: today
};

struct Outcome {
    bool ok = false;
    QString error;
    QMap<QString, std::int64_t> records; // file name -> records written
};

// Creates the folder's 28 tables (bd.ver = the version the program requires) when missing and fills them. A
// folder whose empresa.tps already holds a company is left alone (the demonstration data would mix with it).
Outcome generate(const QString& dataFolder, const Options& options);

// Points qav.cfg of the program folder at the data folder `pasta` (a sibling of the program folder)
// and its company, so that the program opens on it.
bool selectFolder(const QString& programFolder, const QString& pasta, int idEmpresa);

// Documents with their check digits, formatted: CPF from 9 base digits, CNPJ from 8 base digits and
// the branch number; a state registration of `uf` drawn from `draw` (a number that varies per call),
// "ISENTO" for a state without a rule here.
QString cpfFrom(std::uint64_t base9);
QString cnpjFrom(std::uint64_t base8, int filial);
QString inscricaoFrom(const QString& uf, std::uint64_t draw);
// EAN-13 from 12 digits.
QString ean13From(std::uint64_t base12);

} // namespace qav::demo
