#include "tests/support/QtTestTexts.h"

#include <QLocale>
#include <QStringList>
#include <type_traits>
#include <variant>

namespace qav::test {

QString textoDecimal(const Decimal& valor) {
    QString texto = QString::fromStdString(valor.toString());
    qsizetype ponto = texto.indexOf(QLatin1Char('.'));
    if (ponto < 0) {
        ponto = texto.size();
        texto += QLatin1Char('.');
    }
    while (texto.size() - ponto - 1 < 2)
        texto += QLatin1Char('0');
    texto[ponto] = QLatin1Char(',');
    return texto;
}

QString textoData(Date data) {
    if (data.isNull())
        return QStringLiteral("no date");
    if (!data.isValid())
        return QStringLiteral("day %1").arg(data.dayNumber());
    return QStringLiteral("%1 (day %2)").arg(QString::fromStdString(data.toBr())).arg(data.dayNumber());
}

QString textoRegistro(const Record& registro) {
    const TableDef& def = registro.def();
    QStringList campos;
    for (int f = 0; f < static_cast<int>(def.fields.size()); ++f) {
        const FieldDef& campo = def.fields[static_cast<size_t>(f)];
        for (int e = 0; e < campo.count; ++e) {
            const QString nome = campo.isArray()
                                     ? QStringLiteral("%1[%2]").arg(QLatin1StringView(campo.name)).arg(e)
                                     : QLatin1StringView(campo.name);
            const Record::Value& valor = registro.slot(def.slotOffset[static_cast<size_t>(f)] + e);
            const QString texto = std::visit(
                [&](const auto& v) -> QString {
                    using T = std::decay_t<decltype(v)>;
                    if constexpr (std::is_same_v<T, QString>) {
                        QString t = v;
                        while (t.endsWith(u' '))
                            t.chop(1);
                        return t.isEmpty() ? QString() : u'"' + t + u'"';
                    } else if constexpr (std::is_same_v<T, Decimal>) {
                        return v.isZero() ? QString() : textoDecimal(v);
                    } else if constexpr (std::is_same_v<T, double>) {
                        return v == 0 ? QString() : QString::number(v, 'g', QLocale::FloatingPointShortest);
                    } else {
                        if (v == 0)
                            return {};
                        return campo.type == FieldType::Date ? textoData(Date(static_cast<std::int32_t>(v)))
                                                             : QString::number(v);
                    }
                },
                valor);
            if (!texto.isEmpty())
                campos << nome + u'=' + texto;
        }
    }
    return def.tableName() + QStringLiteral(" {") + campos.join(QStringLiteral(", ")) + u'}';
}

} // namespace qav::test
