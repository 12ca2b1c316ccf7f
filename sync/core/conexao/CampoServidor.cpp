#include "sync/core/conexao/CampoServidor.h"

#include "store/core/Decimal.h"
#include "store/core/TableDef.h"
#include "store/core/Text.h"

namespace qav::sync {

namespace {
long long inteiro(const QString& valor) {
    const QString t = valor.trimmed();
    if (t == QStringLiteral("t"))
        return 1;
    bool ok = false;
    const long long n = t.toLongLong(&ok);
    if (ok)
        return n;
    const auto d = Decimal::parse(t.toStdString());
    return d ? d->truncated().toInt64() : 0;
}
} // namespace

bool atribuirDoServidor(Record& r, const char* campo, const QString& valor, int elemento) {
    return atribuirDoServidor(r, r.field(campo), valor, elemento);
}

bool atribuirDoServidor(Record& r, int indice, const QString& valor, int elemento) {
    const FieldDef& def = r.def().fields[static_cast<size_t>(indice)];
    switch (def.type) {
    case FieldType::Int32:
    case FieldType::Int16:
    case FieldType::UInt8:
        r.setInteger(indice, inteiro(valor), elemento);
        return true;
    case FieldType::Real64:
        r.setReal(indice, valor.trimmed().toDouble(), elemento);
        return true;
    case FieldType::Decimal: {
        const auto d = Decimal::parse(valor.trimmed().toStdString());
        const Decimal numero = d ? *d : Decimal();
        if (!numero.rounded(def.scale).fitsField(def.size, def.scale))
            return false;
        r.setDecimal(indice, numero.forField(def.size, def.scale), elemento);
        return true;
    }
    case FieldType::Date: {
        const auto d = Date::fromIso(valor.left(10).toStdString());
        r.setDate(indice, d ? *d : Date(), elemento);
        return true;
    }
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        // Texts read from the connection are already within the local code page; a text put together
        // from other sources is brought to it here, so that no server value can stop a step.
        r.setText(indice, text::fit(text::win1252Form(valor), def.maxLength()), elemento);
        return true;
    }
    return true;
}

} // namespace qav::sync
