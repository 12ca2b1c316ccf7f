// The customer step of the manager database's update: the office's customers that this
// installation also has under another id take the local id, then every local customer goes to the
// office under its id.
#include "store/core/Table.h"
#include "sync/core/envio/ColunasClienteGerente.h"
#include "sync/core/gerente/Gravacao.h"
#include "sync/core/gerente/Integracao.h"

#include <QStringList>

namespace qav::sync {

namespace {

// Each column of the office's customer that holds a local field, with that field's value; the columns
// the workstation keeps nothing of (the office's tax operation among them) are left as the office has
// them.
ValoresColunas valoresCliente(const ContextoIntegracao& c, const Record& r) {
    ValoresColunas valores;
    for (const ColunaCliente& coluna : colunasClienteGerente())
        if (temCampoLocal(r.def(), coluna))
            valores.push_back({QString::fromLatin1(coluna.nome), valorColuna(c.conexao, r, coluna)});
    // The local customer keeps no country and no tax classification: the office gets Brazil's code and
    // no classification.
    valores.push_back({QStringLiteral("cod_pais"), Conexao::inteiro(kCodigoPaisBrasil)});
    valores.push_back({QStringLiteral("enquadramento"), QStringLiteral("Null")});
    return valores;
}

// The date of the last change moves only when a column changes (or when the row has none), so that
// the office's partial downloads do not take every customer each time.
QString dataAtualizacao(const ContextoIntegracao& c, const ValoresColunas& valores) {
    QStringList colunas, literais;
    for (const ValorColuna& v : valores) {
        colunas << v.coluna;
        literais << v.literal;
    }
    return QStringLiteral("CASE WHEN dt_atual IS NULL OR ROW(") + colunas.join(QStringLiteral(", ")) +
           QStringLiteral(") IS DISTINCT FROM ROW(") + literais.join(QStringLiteral(", ")) +
           QStringLiteral(") THEN ") + Conexao::data(c.hoje) + QStringLiteral(" ELSE dt_atual END");
}

bool comandoRespondido(const ContextoIntegracao& c, const QString& comando) {
    return !c.conexao.querysql(comando).isEmpty();
}

// The office's customer `antigo` becomes `local`, with its partners and orders, all or nothing.
bool renumerar(const ContextoIntegracao& c, long long antigo, long long local) {
    const QString de = Conexao::inteiro(antigo), para = Conexao::inteiro(local);
    if (!comandoRespondido(c, QStringLiteral("BEGIN;")))
        return false;
    const bool ok = comandoRespondido(c, QStringLiteral("UPDATE gerente.clientes SET id_cliente=") + para +
                                             QStringLiteral(" WHERE id_cliente=") + de) &&
                    comandoRespondido(c, QStringLiteral("UPDATE gestao.socios    SET id_cliente=") + para +
                                             QStringLiteral(" WHERE id_cliente=") + de) &&
                    comandoRespondido(c, QStringLiteral("UPDATE gerente.pedidos  SET clien=") + para +
                                             QStringLiteral(" WHERE clien=") + de) &&
                    c.conexao.confirmar(QStringLiteral("COMMIT;"));
    if (!ok && c.conexao.emTransacao())
        c.conexao.executar(QStringLiteral("ROLLBACK;"));
    return ok;
}

bool renumerarClientesDoGerente(const ContextoIntegracao& c, Table& clientes) {
    ErroSql erro;
    const auto linhas = c.conexao.consultar(
        QStringLiteral("SELECT id_cliente, cgcpf, suf_cgcpf FROM gerente.clientes WHERE id_cliente>90000;"),
        &erro);
    if (!linhas) {
        c.erroSql(erro);
        return false;
    }
    for (const Linha& linha : *linhas) {
        const long long id = linha.inteiro(0);
        c.linhaProgresso(QStringLiteral("Atualizando Id Cliente ") + QString::number(id));
        if (linha.texto(1).trimmed().isEmpty())
            continue;
        clientes.clear();
        try {
            clientes.rec().setText("CGCPF", linha.texto(1).trimmed());
            clientes.rec().setText("SUF_CGCPF", linha.texto(2).trimmed());
        } catch (const FieldValueError&) {
            continue; // a document this installation cannot hold is not one of its customers
        }
        if (clientes.get("KEYCGC") != Status::Ok)
            continue;
        const long long local = clientes.rec().integer("ID");
        if (local != id && !renumerar(c, id, local))
            return false;
    }
    return true;
}

// One local customer on the office, added or changed, each statement on its own; false when the
// office refused it (said why).
bool gravarCliente(const ContextoIntegracao& c, const Record& r) {
    const long long id = r.integer("ID");
    ValoresColunas valores = valoresCliente(c, r);
    ErroSql erro;
    const auto existe =
        existeNoGerente(c, QStringLiteral("gerente.clientes"), QStringLiteral("id_cliente"), id, erro);
    bool ok = existe.has_value();
    if (ok && *existe) {
        valores.push_back({QStringLiteral("dt_atual"), dataAtualizacao(c, valores)});
        ok = c.conexao.executar(comandoAlteracao(QStringLiteral("gerente.clientes"), valores,
                                                 QStringLiteral("id_cliente=") + Conexao::inteiro(id)),
                                &erro);
    } else if (ok) {
        valores.insert(valores.begin(), {QStringLiteral("id_cliente"), Conexao::inteiro(id)});
        valores.push_back({QStringLiteral("dt_atual"), Conexao::data(c.hoje)});
        ok = c.conexao.executar(comandoInsercao(QStringLiteral("gerente.clientes"), valores), &erro);
    }
    if (!ok)
        c.erroGravacao(erro, "cliente", existe.has_value() && !*existe, id);
    return ok;
}

// The customers of a batch on the office under their ids: a new one dated today; over an existing one
// the date moves only when a column changes (or when it had none), as gravarCliente does.
QString comandoClientes(const ContextoIntegracao& c, const std::vector<Record>& lote) {
    const LinhasLote l = linhasLote(c, QStringLiteral("id_cliente"), lote, valoresCliente);
    QStringList antes, depois;
    for (const QString& coluna : l.atualizadas) {
        antes << QStringLiteral("gerente.clientes.") + coluna;
        depois << QStringLiteral("EXCLUDED.") + coluna;
    }
    const QString data = QStringLiteral("CASE WHEN gerente.clientes.dt_atual IS NULL OR ROW(") +
                         antes.join(QStringLiteral(", ")) + QStringLiteral(") IS DISTINCT FROM ROW(") +
                         depois.join(QStringLiteral(", ")) +
                         QStringLiteral(") THEN EXCLUDED.dt_atual ELSE gerente.clientes.dt_atual END");
    return comandoLote(QStringLiteral("gerente.clientes"), l.colunas, l.linhas, QStringLiteral("id_cliente"),
                       l.atualizadas, {{QStringLiteral("dt_atual"), data}});
}

} // namespace

bool atualizarClientesGerente(ContextoIntegracao& c) {
    c.registrar(QStringLiteral("Atualizando Clientes..."));
    Table clientes(c.store, "clientes");
    if (!clientes.open()) {
        c.erro(QStringLiteral("Erro (%1) ao abrir clientes.tps!").arg(clientes.error().number()));
        return false;
    }
    if (!renumerarClientesDoGerente(c, clientes))
        return false;
    long long contagem = 0;
    EtapaGerente etapa(c);
    ErroSql erro;
    bool reportado = false;
    bool ok = etapa.iniciar(erro);
    std::vector<Record> lote;
    const auto enviarLote = [&] {
        if (lote.empty())
            return true;
        const bool enviado = etapa.enviar(
            comandoClientes(c, lote),
            [&] {
                for (const Record& r : lote)
                    if (!gravarCliente(c, r))
                        return false;
                return true;
            },
            erro, reportado);
        if (!enviado && !reportado) {
            c.erroGravacao(erro, "cliente", false, lote.front().integer("ID"));
            reportado = true;
        }
        contagem += static_cast<long long>(lote.size());
        lote.clear();
        return enviado;
    };
    Status s = ok ? primeiro(clientes, "KEYID") : Status::EndOfFile;
    for (; ok && s == Status::Ok; s = clientes.next()) {
        c.linhaProgresso(QStringLiteral("Atualizando Clientes ") +
                         QString::number(clientes.rec().integer("ID")));
        lote.push_back(clientes.rec());
        if (lote.size() >= static_cast<size_t>(kLinhasPorLote))
            ok = enviarLote();
    }
    if (ok)
        ok = enviarLote() && etapa.concluir(erro);
    if (!ok && !reportado)
        c.erroSql(erro);
    if (!ok)
        return false;
    c.registrar(QStringLiteral("Atualizados ") + QString::number(contagem) +
                QStringLiteral(" Clientes......"));
    return true;
}

} // namespace qav::sync
