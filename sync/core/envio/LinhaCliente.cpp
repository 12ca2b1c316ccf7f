#include "sync/core/envio/LinhaCliente.h"

#include "store/core/Decimal.h"
#include "store/core/TableDef.h"
#include "store/core/Text.h"

namespace qav::sync {

namespace {

bool combina(FieldType local, TipoColuna servidor) {
    switch (local) {
    case FieldType::Int32:
    case FieldType::Int16:
    case FieldType::UInt8:
        return servidor == TipoColuna::Inteiro || servidor == TipoColuna::Real;
    case FieldType::Real64:
    case FieldType::Decimal:
        return servidor == TipoColuna::Real;
    case FieldType::Date:
        return servidor == TipoColuna::Data;
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        return servidor == TipoColuna::Texto;
    }
    return false;
}

// A column the workstation has no value for.
QString semValor(const ColunaCliente& c) {
    if (c.tipo == TipoColuna::Texto || c.tipo == TipoColuna::Data || c.nullQuandoZero)
        return QStringLiteral("Null");
    return QStringLiteral("0");
}

// Carriage returns are dropped: the server's screens and reports break lines on the line feed alone.
QString semRetorno(QString texto) {
    texto.remove(QLatin1Char('\r'));
    return texto;
}

} // namespace

std::string campoLocal(const ColunaCliente& coluna) {
    return coluna.campo ? std::string(coluna.campo)
                        : QString::fromLatin1(coluna.nome).toUpper().toStdString();
}

bool temCampoLocal(const TableDef& cliente, const ColunaCliente& coluna) {
    const int indice = cliente.fieldIndex(campoLocal(coluna));
    return indice >= 0 && combina(cliente.fields[static_cast<size_t>(indice)].type, coluna.tipo);
}

QString valorColuna(const Conexao& conexao, const Record& cliente, const ColunaCliente& c) {
    if (!temCampoLocal(cliente.def(), c))
        return semValor(c);
    const int indice = cliente.def().fieldIndex(campoLocal(c));
    const FieldDef& def = cliente.def().fields[static_cast<size_t>(indice)];
    switch (def.type) {
    case FieldType::Int32:
    case FieldType::Int16:
    case FieldType::UInt8: {
        const long long n = cliente.integer(indice, c.elemento);
        return n == 0 && c.nullQuandoZero ? QStringLiteral("Null") : Conexao::inteiro(n);
    }
    case FieldType::Real64:
        return realEnvio(cliente.real(indice, c.elemento), c.casas < 0 ? 12 : c.casas);
    case FieldType::Decimal: {
        const Decimal d = cliente.decimal(indice, c.elemento);
        return Conexao::numero(c.casas < 0 ? d : d.rounded(c.casas));
    }
    case FieldType::Date:
        return Conexao::data(cliente.date(indice, c.elemento));
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo: {
        QString texto = text::rtrim(semRetorno(cliente.text(indice, c.elemento)));
        if (c.limite > 0)
            texto = texto.left(c.limite);
        return conexao.texto(texto);
    }
    }
    return semValor(c);
}

QString insercaoCliente(const Conexao& conexao, const QString& tabela,
                        const std::vector<ColunaCliente>& colunas, const Record& cliente,
                        const std::map<QString, QString>& fixos) {
    QString nomes, valores;
    for (const ColunaCliente& c : colunas) {
        if (!nomes.isEmpty()) {
            nomes += QStringLiteral(", ");
            valores += QStringLiteral(", ");
        }
        const QString nome = QString::fromLatin1(c.nome);
        nomes += nome;
        const auto fixo = fixos.find(nome);
        valores += fixo != fixos.end() ? fixo->second : valorColuna(conexao, cliente, c);
    }
    return QStringLiteral("INSERT INTO ") + tabela + QLatin1Char('(') + nomes + QStringLiteral(") VALUES (") +
           valores + QStringLiteral(");");
}

QString realEnvio(double valor, int casas) {
    try {
        return Conexao::numero(Decimal::fromDouble(valor, casas));
    } catch (const DecimalOverflow&) {
        // Beyond what a decimal holds: the server reads the exponent form, or refuses a value that
        // is not a number at all, which fails the customer with the server's words.
        return QString::number(valor, 'g', 17);
    }
}

QString textoEnvio(const Conexao& conexao, const QString& valor) {
    return conexao.texto(semRetorno(valor));
}

} // namespace qav::sync
