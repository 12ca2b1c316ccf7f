#include "sync/core/execucao/ValorNaoCabe.h"

#include "store/core/Decimal.h"
#include "store/core/TableDef.h"
#include "sync/core/conexao/CampoServidor.h"

#include <limits>

namespace qav::sync {

namespace {

// Whether a whole-number field can hold the value as the server wrote it. Booleans and texts that are
// no number at all are taken as the field's usual reading (1, 0) and fit.
bool inteiroCabe(FieldType tipo, const QString& valor) {
    long long minimo = std::numeric_limits<int>::min(), maximo = std::numeric_limits<int>::max();
    if (tipo == FieldType::Int16) {
        minimo = std::numeric_limits<short>::min();
        maximo = std::numeric_limits<short>::max();
    } else if (tipo == FieldType::UInt8) {
        minimo = 0;
        maximo = 255;
    }
    if (const auto simples = inteiroSimples(valor))
        return *simples >= minimo && *simples <= maximo;
    const QString t = valor.trimmed();
    bool ok = false;
    long long n = t.toLongLong(&ok);
    if (!ok) {
        const auto d = Decimal::parse(t.toStdString());
        if (!d)
            return true;
        const Decimal inteiro = d->truncated();
        if (!inteiro.fitsField(18, 0))
            return false;
        n = inteiro.toInt64();
    }
    return n >= minimo && n <= maximo;
}

} // namespace

bool atribuirOuRegistrar(ContextoComunicacao& c, Record& r, const char* campo, const QString& valor,
                         const QString& nomeRegistro, int elemento) {
    return atribuirOuRegistrar(c, r, r.field(campo), valor, nomeRegistro, elemento);
}

bool atribuirOuRegistrar(ContextoComunicacao& c, Record& r, int campo, const QString& valor,
                         const QString& nomeRegistro, int elemento) {
    const FieldDef& def = r.def().fields[static_cast<size_t>(campo)];
    const bool inteiro =
        def.type == FieldType::Int32 || def.type == FieldType::Int16 || def.type == FieldType::UInt8;
    if ((inteiro && !inteiroCabe(def.type, valor)) || !atribuirDoServidor(r, campo, valor, elemento)) {
        registrarNaoCabe(c, nomeRegistro, QString::fromLatin1(def.name), valor);
        return false;
    }
    return true;
}

void registrarNaoCabe(ContextoComunicacao& c, const QString& nomeRegistro, const QString& campo,
                      const QString& valor) {
    ++c.valoresNaoCabem;
    c.registrar(QStringLiteral("Valor não cabe no campo ") + campo + QStringLiteral(" (") + nomeRegistro +
                QStringLiteral("): ") + valor.trimmed());
}

bool idCabe(ContextoComunicacao& c, long long id, const QString& nomeRegistro, const char* campo) {
    if (id >= std::numeric_limits<int>::min() && id <= std::numeric_limits<int>::max())
        return true;
    registrarNaoCabe(c, nomeRegistro, QString::fromLatin1(campo), QString::number(id));
    return false;
}

QString resumoNaoCabe(const ContextoComunicacao& c) {
    if (c.valoresNaoCabem == 0)
        return {};
    return QString::number(c.valoresNaoCabem) +
           QStringLiteral(" valor(es) do servidor não couberam nos campos locais e não foram gravados.");
}

} // namespace qav::sync
