#include "orders/core/RascunhoPedido.h"

#include "orders/core/Mapeamento.h"
#include "store/core/ProcessInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QSaveFile>
#include <QSet>
#include <atomic>

namespace qav {

namespace {

constexpr int kVersao = 1;
const QString kPasta = QStringLiteral("rascunhos");

QMutex& trava() {
    static QMutex m;
    return m;
}
// The drafts the open forms of this process work on.
QSet<QString>& adotados() {
    static QSet<QString> s;
    return s;
}

QString chave(const QString& arquivo) {
    return QFileInfo(arquivo).absoluteFilePath();
}

// Every value of the record, field by field (an array field as its elements): integers and texts as
// they are, decimals as their exact text, real64 values as doubles, which JSON gives back to the bit.
QJsonObject paraJson(const Record& registro) {
    QJsonObject campos;
    const TableDef& def = registro.def();
    for (std::size_t f = 0; f < def.fields.size(); ++f) {
        QJsonArray elementos;
        for (int e = 0; e < def.fields[f].count; ++e) {
            const Record::Value& v = registro.slot(def.slotOffset[f] + e);
            if (const auto* i = std::get_if<std::int64_t>(&v))
                elementos.append(QString::number(*i));
            else if (const auto* d = std::get_if<double>(&v))
                elementos.append(*d);
            else if (const auto* dec = std::get_if<Decimal>(&v))
                elementos.append(QString::fromStdString(dec->toString()));
            else
                elementos.append(std::get<QString>(v));
        }
        campos.insert(QString::fromLatin1(def.fields[f].name), elementos);
    }
    return campos;
}

// The record back; false when a field is missing or holds what its slot cannot take.
bool deJson(const QJsonObject& campos, Record& registro) {
    const TableDef& def = registro.def();
    for (std::size_t f = 0; f < def.fields.size(); ++f) {
        const QJsonArray elementos = campos.value(QString::fromLatin1(def.fields[f].name)).toArray();
        if (elementos.size() != def.fields[f].count)
            return false;
        for (int e = 0; e < def.fields[f].count; ++e) {
            Record::Value& v = registro.slot(def.slotOffset[f] + e);
            const QJsonValue j = elementos.at(e);
            if (std::holds_alternative<std::int64_t>(v)) {
                bool ok = false;
                const qlonglong n = j.toString().toLongLong(&ok);
                if (!ok)
                    return false;
                v = static_cast<std::int64_t>(n);
            } else if (std::holds_alternative<double>(v)) {
                if (!j.isDouble())
                    return false;
                v = j.toDouble();
            } else if (std::holds_alternative<Decimal>(v)) {
                const std::optional<Decimal> d = Decimal::parse(j.toString().toStdString());
                if (!d)
                    return false;
                v = *d;
            } else {
                if (!j.isString())
                    return false;
                v = j.toString();
            }
        }
    }
    return true;
}

} // namespace

RascunhoPedido::RascunhoPedido() : pedido(mapeamento::tabela("pedidos.tps")) {}

namespace rascunho {

QString novoArquivo(const QString& pastaDados) {
    static std::atomic<int> formularios{0};
    return QDir(pastaDados)
        .filePath(kPasta + QStringLiteral("/pedido-%1-%2.json").arg(currentProcessId()).arg(++formularios));
}

Resultado gravar(const QString& arquivo, const EdicaoPedido& edicao) {
    const Record& p = edicao.pedido();
    QJsonObject raiz;
    raiz.insert(QStringLiteral("versao"), kVersao);
    raiz.insert(QStringLiteral("novo"), edicao.novoPedido());
    raiz.insert(QStringLiteral("pedido"), paraJson(p));
    QJsonArray itens;
    for (const ItemEmEdicao& i : edicao.itens()) {
        QJsonArray acessorios;
        for (const Record& a : i.acessorios)
            acessorios.append(paraJson(a));
        itens.append(QJsonObject{{QStringLiteral("item"), paraJson(i.item)},
                                 {QStringLiteral("acessorios"), acessorios}});
    }
    raiz.insert(QStringLiteral("itens"), itens);

    if (!QDir().mkpath(QFileInfo(arquivo).absolutePath()))
        return Resultado::falhou(
            QStringLiteral("pasta %1 não pode ser criada").arg(QFileInfo(arquivo).absolutePath()));
    // The previous draft stays whole until the new one is complete on disk.
    QSaveFile arq(arquivo);
    if (!arq.open(QIODevice::WriteOnly) ||
        arq.write(QJsonDocument(raiz).toJson(QJsonDocument::Compact)) < 0 || !arq.commit())
        return Resultado::falhou(arq.errorString());
    return {};
}

std::optional<RascunhoPedido> ler(const QString& arquivo) {
    QFile arq(arquivo);
    if (!arq.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(arq.readAll());
    const QJsonObject raiz = doc.object();
    if (!doc.isObject() || raiz.value(QStringLiteral("versao")).toInt() != kVersao)
        return std::nullopt;
    RascunhoPedido r;
    r.arquivo = arquivo;
    r.novo = raiz.value(QStringLiteral("novo")).toBool();
    if (!deJson(raiz.value(QStringLiteral("pedido")).toObject(), r.pedido))
        return std::nullopt;
    for (const QJsonValue& v : raiz.value(QStringLiteral("itens")).toArray()) {
        ItemEmEdicao item{Record(mapeamento::tabela("peditens.tps")), {}};
        if (!deJson(v.toObject().value(QStringLiteral("item")).toObject(), item.item))
            return std::nullopt;
        for (const QJsonValue& a : v.toObject().value(QStringLiteral("acessorios")).toArray()) {
            Record acessorio(mapeamento::tabela("pedacess.tps"));
            if (!deJson(a.toObject(), acessorio))
                return std::nullopt;
            item.acessorios.push_back(std::move(acessorio));
        }
        r.itens.push_back(std::move(item));
    }
    r.idPedido = static_cast<int>(r.pedido.integer("ID"));
    r.idEmpresa = static_cast<int>(r.pedido.integer("ID_EMPRESA"));
    r.cliente = static_cast<int>(r.pedido.integer("CLIEN"));
    return r;
}

void remover(const QString& arquivo) {
    if (!arquivo.isEmpty())
        QFile::remove(arquivo);
}

void adotar(const QString& arquivo) {
    const QMutexLocker l(&trava());
    adotados().insert(chave(arquivo));
}

void liberar(const QString& arquivo) {
    const QMutexLocker l(&trava());
    adotados().remove(chave(arquivo));
}

std::vector<RascunhoPedido> pendentes(const QString& pastaDados, int idEmpresa) {
    std::vector<RascunhoPedido> lista;
    const QDir pasta(QDir(pastaDados).filePath(kPasta));
    const QFileInfoList arquivos =
        pasta.entryInfoList({QStringLiteral("pedido-*.json")}, QDir::Files, QDir::Time | QDir::Reversed);
    const std::int64_t proprio = currentProcessId();
    for (const QFileInfo& info : arquivos) {
        // pedido-<process>-<form>.json: a running program's draft is its own business.
        const std::int64_t processo = info.completeBaseName().section(QLatin1Char('-'), 1, 1).toLongLong();
        if (processo != proprio && processIsRunning(processo))
            continue;
        {
            const QMutexLocker l(&trava());
            if (adotados().contains(chave(info.absoluteFilePath())))
                continue;
        }
        std::optional<RascunhoPedido> r = ler(info.absoluteFilePath());
        if (r && r->idEmpresa == idEmpresa)
            lista.push_back(std::move(*r));
    }
    return lista;
}

} // namespace rascunho
} // namespace qav
