// qavtool comunicar: the communication run from the command line, with the settings stored for the
// company in the folder; qavtool configurar: sets those settings, for installers who prepare many
// notebooks.
#include "store/core/Table.h"
#include "store/core/TableDef.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/execucao/Comunicacao.h"
#include "sync/core/roteiro/Passos.h"
#include "tools/qavtool/Commands.h"
#include "tools/qavtool/OuvinteTerminal.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <cstring>
#include <optional>

namespace qavtool {

namespace {

using namespace qav::sync;

struct Argumentos {
    QString pasta;
    int empresa = 0;
    TipoComunicacao tipo = TipoComunicacao::Parcial;
    QStringList atribuicoes; // CAMPO=VALOR
};

std::optional<Argumentos> ler(int argc, char** argv, bool comAtribuicoes) {
    Argumentos a;
    for (int i = 0; i < argc; ++i) {
        const bool temValor = i + 1 < argc;
        if (std::strcmp(argv[i], "--pasta") == 0 && temValor) {
            a.pasta = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--empresa") == 0 && temValor) {
            bool ok = false;
            a.empresa = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
            if (!ok || a.empresa <= 0)
                return std::nullopt;
        } else if (!comAtribuicoes && std::strcmp(argv[i], "--tipo") == 0 && temValor) {
            const QString tipo = QString::fromLocal8Bit(argv[++i]);
            if (tipo == QStringLiteral("total"))
                a.tipo = TipoComunicacao::Total;
            else if (tipo == QStringLiteral("parcial"))
                a.tipo = TipoComunicacao::Parcial;
            else if (tipo == QStringLiteral("pedidos"))
                a.tipo = TipoComunicacao::SomentePedidos;
            else
                return std::nullopt;
        } else if (comAtribuicoes && std::strchr(argv[i], '=') && argv[i][0] != '=') {
            a.atribuicoes << QString::fromLocal8Bit(argv[i]);
        } else {
            return std::nullopt;
        }
    }
    if (a.pasta.isEmpty() || (comAtribuicoes && (a.empresa == 0 || a.atribuicoes.isEmpty())))
        return std::nullopt;
    return a;
}

// The company of the folder's first configuration when none was named.
int primeiraEmpresa(qav::Store& store) {
    qav::Table cfg(store, "qavcfg");
    if (!cfg.open() || cfg.seekFirst("KEYID_EMPRESA") != qav::Status::Ok || cfg.next() != qav::Status::Ok)
        return 0;
    return static_cast<int>(cfg.rec().integer("ID_EMPRESA"));
}

// The value typed for a field, checked against its type; false with the reason.
bool atribuir(qav::Record& r, const QString& campo, const QString& valor, QString& erro) {
    const std::string nome = campo.toUpper().toStdString();
    int indice = -1;
    for (size_t i = 0; i < r.def().fields.size(); ++i)
        if (nome == r.def().fields[i].name)
            indice = static_cast<int>(i);
    if (indice < 0) {
        erro = QStringLiteral("Campo desconhecido: %1").arg(campo);
        return false;
    }
    const qav::FieldDef& def = r.def().fields[static_cast<size_t>(indice)];
    bool ok = true;
    switch (def.type) {
    case qav::FieldType::Int32:
    case qav::FieldType::Int16:
    case qav::FieldType::UInt8:
        r.setInteger(indice, valor.toLongLong(&ok));
        break;
    case qav::FieldType::Real64:
        r.setReal(indice, valor.toDouble(&ok));
        break;
    case qav::FieldType::Decimal: {
        const auto d = qav::Decimal::parse(valor.toStdString());
        ok = d && d->rounded(def.scale).fitsField(def.size, def.scale);
        if (ok)
            r.setDecimal(indice, d->forField(def.size, def.scale));
        break;
    }
    case qav::FieldType::Date: {
        auto d = qav::Date::fromBr(valor.toStdString());
        if (!d)
            d = qav::Date::fromIso(valor.toStdString());
        ok = d.has_value();
        if (ok)
            r.setDate(indice, *d);
        break;
    }
    default:
        ok = valor.size() <= def.maxLength();
        if (ok)
            r.setText(indice, valor);
    }
    if (!ok)
        erro = QStringLiteral("Valor inválido para %1").arg(QString::fromLatin1(def.name));
    return ok;
}

} // namespace

int runComunicar(int argc, char** argv) {
    const auto a = ler(argc, argv, false);
    if (!a) {
        std::fputs("uso: qavtool comunicar --pasta DIR [--empresa N] [--tipo total|parcial|pedidos]\n",
                   stderr);
        return 2;
    }
    int qtArgc = 1;
    char nome[] = "qavtool";
    char* qtArgv[] = {nome, nullptr};
    QCoreApplication app(qtArgc, qtArgv);
    if (!QDir(a->pasta).exists()) {
        imprimir(stderr, QStringLiteral("Pasta %1 não encontrada.").arg(a->pasta));
        return 1;
    }
    qav::Store store(QDir(a->pasta).absolutePath());
    PedidoComunicacao pedido;
    pedido.idEmpresa = a->empresa != 0 ? a->empresa : primeiraEmpresa(store);
    pedido.tipo = a->tipo;
    pedido.confirmado = true;
    // The wait for the server set in the communication window (qav.ini of the program folder).
    pedido.limites.esperaSegundos = esperaServidorConfigurada(QDir::currentPath());
    OuvinteTerminal ouvinte;
    const Desfecho desfecho = comunicar(store, ouvinte, pedido, passosPadrao());
    return desfecho.resultado == ResultadoComunicacao::Sucesso ? 0 : 1;
}

int runConfigurar(int argc, char** argv) {
    const auto a = ler(argc, argv, true);
    if (!a) {
        std::fputs("uso: qavtool configurar --pasta DIR --empresa N CAMPO=VALOR ...\n", stderr);
        return 2;
    }
    if (!QDir(a->pasta).exists()) {
        imprimir(stderr, QStringLiteral("Pasta %1 não encontrada.").arg(a->pasta));
        return 1;
    }
    qav::Store store(QDir(a->pasta).absolutePath());
    qav::Table cfg(store, "qavcfg");
    if (!cfg.open()) {
        imprimir(stderr, QStringLiteral("Erro (%1) ao abrir qavcfg.tps: %2")
                             .arg(cfg.error().number())
                             .arg(cfg.error().text));
        return 1;
    }
    cfg.clear();
    cfg.rec().setInteger("ID_EMPRESA", a->empresa);
    const qav::Status s = cfg.get("KEYID_EMPRESA");
    if (s == qav::Status::Error) {
        imprimir(stderr, QStringLiteral("Erro (%1) ao ler qavcfg.tps").arg(cfg.error().number()));
        return 1;
    }
    const bool existia = s == qav::Status::Ok;
    if (!existia) {
        cfg.clear();
        cfg.rec().setInteger("ID_EMPRESA", a->empresa);
    }
    for (const QString& atribuicao : a->atribuicoes) {
        QString erro;
        const QString campo = atribuicao.section(QLatin1Char('='), 0, 0);
        if (campo.toUpper() == QStringLiteral("ID_EMPRESA")) {
            imprimir(stderr, QStringLiteral("ID_EMPRESA é dado por --empresa"));
            return 2;
        }
        if (!atribuir(cfg.rec(), campo, atribuicao.section(QLatin1Char('='), 1), erro)) {
            imprimir(stderr, erro);
            return 2;
        }
    }
    if ((existia ? cfg.put() : cfg.add()) != qav::Status::Ok) {
        imprimir(stderr, QStringLiteral("Erro (%1) ao grava configurações!").arg(cfg.error().number()));
        return 1;
    }
    imprimir(stdout, QStringLiteral("Configuração da empresa %1 gravada (%2 campos).")
                         .arg(a->empresa)
                         .arg(a->atribuicoes.size()));
    return 0;
}

} // namespace qavtool
