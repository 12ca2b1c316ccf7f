// The downloads of the company's commercial tables (towns, payment forms, products, price lists and
// their prices) run as a whole communication against a real PostgreSQL server built from the
// repository's schemas and test data: what a full and a partial run bring, how product codes that
// moved and products no longer sent are handled, which products a workstation sees, and that a step
// that loses its connection leaves its table as it was.
#include "OuvinteGravador.h"
#include "store/core/Clock.h"
#include "store/core/Connection.h"
#include "store/core/Table.h"
#include "store/core/TableSchema.h"
#include "store/core/Text.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/execucao/Comunicacao.h"
#include "sync/core/roteiro/Passos.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/Registros.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sqlite3.h>

using namespace qav;
using namespace qav::sync;
using qav::test::adicionar;
using qav::test::ServidorTeste;

namespace {

const Date kHoje = Date::fromYmd(2026, 12, 8);

using Ouvinte = test::OuvinteGravador;

// Salesperson 5 of company 1, pointing at the test server, last communication on `ultima`.
void prepararEstacao(Store& store, const ServidorTeste& s, Date ultima = {}) {
    adicionar(store, "qavcfg", [&](Record& r) {
        r.setInteger("ID_EMPRESA", 1);
        r.setText("BD_NOME", s.database());
        r.setText("BD_HOST", s.host());
        r.setInteger("BD_PORTA", s.port());
        r.setText("BD_USUARIO", s.passwordUser());
        r.setText("BD_SENHA", s.password());
        r.setInteger("COD_VENDEDOR", 5);
        r.setText("SENHA_VENDEDOR", QStringLiteral("abc123"));
        r.setText("PONTO_INSTALACAO", QStringLiteral("A"));
        r.setDate("DT_ULT_COM", ultima);
    });
}

Desfecho rodar(Store& store, Ouvinte& ouvinte, TipoComunicacao tipo) {
    PedidoComunicacao pedido;
    pedido.idEmpresa = 1;
    pedido.tipo = tipo;
    pedido.confirmado = true;
    PassosComunicacao passos;
    passos.downloads = passosPadrao().downloads;
    return comunicar(store, ouvinte, pedido, passos);
}

// Every record of a table, keyed by `chave` (a field or two joined with "/").
std::map<QString, Record> registros(Store& store, const char* tabela,
                                    std::initializer_list<const char*> chave) {
    std::map<QString, Record> todos;
    Table t(store, tabela);
    if (!t.open())
        return todos;
    Status s = t.seekPhysical();
    if (s == Status::Ok)
        s = t.next();
    while (s == Status::Ok) {
        QStringList partes;
        for (const char* campo : chave)
            partes << text::rtrim(t.rec().text(campo));
        todos.emplace(partes.join(QLatin1Char('/')), t.rec());
        s = t.next();
    }
    return todos;
}

QStringList chaves(const std::map<QString, Record>& m) {
    QStringList k;
    for (const auto& [chave, registro] : m)
        k << chave;
    return k;
}

QStringList lista(std::initializer_list<const char*> textos) {
    QStringList l;
    for (const char* t : textos)
        l << QString::fromLatin1(t);
    return l;
}

// A decimal field with four places, whatever its scale.
QString dec(const Record& r, const char* campo) {
    return QString::fromStdString(r.decimal(campo).toString(4));
}

// Every record of a table with all its fields, sorted: two reads compare row by row.
QStringList conteudo(Store& store, const char* tabela) {
    QStringList linhas;
    Table t(store, tabela);
    if (!t.open())
        return {QStringLiteral("não abre")};
    Status s = t.seekPhysical();
    while (s == Status::Ok && (s = t.next()) == Status::Ok) {
        QStringList campos;
        const auto& def = t.rec().def().fields;
        for (size_t i = 0; i < def.size(); ++i)
            for (int e = 0; e < def[i].count; ++e)
                campos << t.rec().text(static_cast<int>(i), e);
        linhas << campos.join(QLatin1Char('|'));
    }
    linhas.sort();
    return linhas;
}

// Every piece of three and of five characters of every name in the table: the records whose name
// index gives it are exactly those whose accent-free name holds it (a piece that ends with a space
// also where the name ends with the rest of it). Empty when so; otherwise the first
// piece that differs.
QString indiceDeNomesDifere(Store& store, const char* tabela, const char* campo) {
    Table t(store, tabela);
    if (!t.open() || t.seekPhysical() != Status::Ok)
        return QStringLiteral("não abre");
    std::map<qint64, QString> nomes;
    while (t.next() == Status::Ok)
        nomes[t.rec().rowId()] = text::foldSearch(t.rec().text(campo));
    StoreError erro;
    auto conexao = Connection::open(store.filePath(t.def()), false, &erro);
    const std::string indice = '"' + std::string(tabela) + "_busca_" + campo + '"';
    sqlite3_stmt* consulta =
        conexao ? conexao->statement("SELECT rowid FROM " + indice + " WHERE " + indice + " MATCH ?", &erro)
                : nullptr;
    if (!consulta)
        return erro.text;
    for (const auto& [rowid, nome] : nomes)
        for (const int tamanho : {3, 5})
            for (qsizetype i = 0; i + tamanho <= nome.size(); ++i) {
                const QString pedaco = nome.mid(i, tamanho);
                std::set<qint64> esperados, achados;
                for (const auto& [outro, outroNome] : nomes)
                    if ((outroNome + u' ').contains(pedaco))
                        esperados.insert(outro);
                StatementReset reset(consulta);
                const QByteArray frase =
                    (u'"' + QString(pedaco).replace(u'"', QStringLiteral("\"\"")) + u'"').toUtf8();
                sqlite3_bind_text(consulta, 1, frase.constData(), static_cast<int>(frase.size()),
                                  SQLITE_TRANSIENT);
                while (sqlite3_step(consulta) == SQLITE_ROW)
                    achados.insert(sqlite3_column_int64(consulta, 0));
                if (achados != esperados)
                    return pedaco;
            }
    return {};
}

// The keys of a table whose index its file lacks or holds otherwise than the tables are created with
// (a key built again at the end of a step must be the very index the upgrade tool expects).
QStringList chavesDiferentes(Store& store, const char* tabela) {
    const TableDef& def = *findTable(tabela);
    StoreError erro;
    auto conexao = Connection::open(store.filePath(def), false, &erro);
    sqlite3_stmt* consulta =
        conexao ? conexao->statement("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND sql = ?1",
                                     &erro)
                : nullptr;
    if (!consulta)
        return {erro.text};
    QStringList diferentes;
    for (const KeyDef& chave : def.keys) {
        const std::string sql = schema::createKeyIndexSql(def, chave, schema::quoted(tabela));
        if (sql.empty())
            continue;
        StatementReset reset(consulta);
        sqlite3_bind_text(consulta, 1, sql.c_str(), static_cast<int>(sql.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(consulta) != SQLITE_ROW || sqlite3_column_int(consulta, 0) != 1)
            diferentes << QString::fromLatin1(chave.name);
    }
    return diferentes;
}

// How many products of company 1, active or not, the name index finds for a piece of a name.
qint64 produtosNoIndice(Store& store, const QString& pedaco, int ativo) {
    const TableDef& def = *findTable("produto");
    StoreError erro;
    auto conexao = Connection::open(store.filePath(def), false, &erro);
    sqlite3_stmt* consulta =
        conexao ? conexao->statement(
                      "SELECT count(*) FROM produto_busca_NOME WHERE produto_busca_NOME MATCH ?", &erro)
                : nullptr;
    if (!consulta)
        return -1;
    StatementReset reset(consulta);
    const QByteArray frase = (QStringLiteral("texto : \"") + pedaco + QStringLiteral("\" AND filtro : \"") +
                              schema::searchFilterCode(def, {1, ativo}) + u'"')
                                 .toUtf8();
    sqlite3_bind_text(consulta, 1, frase.constData(), static_cast<int>(frase.size()), SQLITE_TRANSIENT);
    return sqlite3_step(consulta) == SQLITE_ROW ? sqlite3_column_int64(consulta, 0) : -2;
}

// The order history, its items and the receivables of a data folder.
QList<QStringList> historico(Store& store) {
    return {conteudo(store, "pedcon"), conteudo(store, "pedicon"), conteudo(store, "ctr")};
}

// The server's today: a run stores it as its date, which the next partial run takes as its cut-off.
Date hojeNoServidor(ServidorTeste& s) {
    return *Date::fromIso(s.valor(QStringLiteral("SELECT current_date")).toStdString());
}

// Ends every connection of the workstation's role: the server dropping the connection mid-step.
void derrubarConexoes(ServidorTeste& s) {
    s.executar(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                              "datname=current_database() AND usename='%1';")
                   .arg(s.passwordUser()));
}

} // namespace

class TestDownloads : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
    }
    void cleanupTestCase() { Clock::setOverride({}); }

    // A full run fills every table from the server: only the payment forms meant for the
    // workstations, only the products the company sells, the salesperson's price lists (also one
    // kept for a customer) and their prices; texts with quotes, backslashes and accents unchanged.
    void fullRunFillsTheTables() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        for (const char* linha :
             {"Atualizados 5 Municípios...", "Atualizados 3 Clientes...", "Atualizados 3 Sócios...",
              "Atualizados 4 Pedido(s) Consulta...", "Atualizados 5 Itens do Pedido Consulta...",
              "Atualizados 3 Contas a Receber...", "Atualizados 2 Formas de Pagtos...",
              "Atualizados 4 Produtos...", "Atualizados 3 Pauta de Preços...",
              "Atualizados 6 Produtos da Pauta de Preços...", "Atualizados 3 ST ICMS...",
              "Atualizados 4 Estoques...", "Atualizados Custo de 2 Produtos...",
              "Atualizados Custo de 2 Fretes..."})
            QVERIFY2(ouvinte.registros.contains(QString::fromUtf8(linha)), qPrintable(ouvinte.tudo()));
        // The customer and history steps run between the towns and the payment forms.
        QVERIFY(ouvinte.registros.indexOf(QStringLiteral("Atualizados 3 Contas a Receber...")) <
                ouvinte.registros.indexOf(QStringLiteral("Atualizados 2 Formas de Pagtos...")));
        QCOMPARE(registros(store, "clientes", {"ID"}).size(), size_t(3));
        QCOMPARE(registros(store, "pedicon", {"ID_PEDCON", "ORDEM"}).size(), size_t(5));
        QCOMPARE(registros(store, "ctr", {"NUMER"}).size(), size_t(3));

        const auto municipios = registros(store, "municip", {"ID"});
        QCOMPARE(municipios.size(), size_t(5));
        QCOMPARE(text::rtrim(municipios.at(QStringLiteral("5")).text("NOME")),
                 QStringLiteral("Herval d'Oeste"));
        QCOMPARE(municipios.at(QStringLiteral("5")).integer("COD_RAIS"), 4206702);
        QCOMPARE(dec(municipios.at(QStringLiteral("5")), "CST_FRETE_M3"), QStringLiteral("61.2500"));

        const auto formas = registros(store, "formapag", {"CODIGO"});
        QCOMPARE(chaves(formas), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
        QCOMPARE(formas.at(QStringLiteral("2")).integer("ID_FORMAPAG"), 20001);
        QCOMPARE(formas.at(QStringLiteral("2")).integer("ID_EMPRESA"), 1);
        QCOMPARE(dec(formas.at(QStringLiteral("2")), "PRAZO_MEDIO"), QStringLiteral("42.0000"));
        QCOMPARE(text::rtrim(formas.at(QStringLiteral("1")).text("DESCR")), QStringLiteral("À vista"));

        const auto produtos = registros(store, "produto", {"ID"});
        QCOMPARE(chaves(produtos), (QStringList{QStringLiteral("1001"), QStringLiteral("1002"),
                                                QStringLiteral("1003"), QStringLiteral("1004")}));
        const Record& barra = produtos.at(QStringLiteral("1001"));
        QCOMPARE(text::rtrim(barra.text("NOME")), QStringLiteral("Perfil \"U\" 3/4' anodizado \\ fosco"));
        QCOMPARE(text::rtrim(barra.text("CODIGO")), QStringLiteral("P-1001"));
        QCOMPARE(text::rtrim(barra.text("CARAC2")), QStringLiteral("Têmpera T5"));
        QCOMPARE(barra.integer("ATIVO"), 1);
        QCOMPARE(barra.integer("COD_ST"), 60);
        QCOMPARE(text::rtrim(barra.text("COD_NCM")), QStringLiteral("76042910"));
        // Standard price 0 of the company: all three prices; discount from the salesperson (10%).
        QCOMPARE(dec(barra, "PRECO"), QStringLiteral("25.5000"));
        QCOMPARE(dec(barra, "PREC3"), QStringLiteral("23.0000"));
        QCOMPARE(dec(barra, "DESC_MAX"), QStringLiteral("10.0000"));
        QCOMPARE(dec(barra, "DESC_PADRAO"), QStringLiteral("5.0000"));
        QCOMPARE(barra.date("DATAP"), Date::fromYmd(2026, 1, 5));
        QCOMPARE(produtos.at(QStringLiteral("1004")).integer("PRECO_PROMOCIONAL"), 1);

        const auto pautas = registros(store, "pauta", {"ID"});
        QCOMPARE(chaves(pautas),
                 (QStringList{QStringLiteral("10001"), QStringLiteral("20001"), QStringLiteral("30001")}));
        QCOMPARE(text::rtrim(pautas.at(QStringLiteral("20001")).text("DESCRICAO")),
                 QStringLiteral("Tabela Oeste d'Ouro"));
        QCOMPARE(pautas.at(QStringLiteral("30001")).integer("PAUTA_EXCLUSIVA_CLIENTE"), 1);
        QCOMPARE(pautas.at(QStringLiteral("10001")).date("DT_FIM"), Date::fromYmd(2026, 12, 31));

        const auto precos = registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"});
        QCOMPARE(chaves(precos), (QStringList{QStringLiteral("10001/1001"), QStringLiteral("10001/1002"),
                                              QStringLiteral("10001/1003"), QStringLiteral("10001/1004"),
                                              QStringLiteral("20001/1001"), QStringLiteral("30001/1002")}));
        // The colour variation is priced under its own id.
        QCOMPARE(dec(precos.at(QStringLiteral("10001/1003")), "PRECO1"), QStringLiteral("27.9000"));
        QCOMPARE(text::rtrim(precos.at(QStringLiteral("20001/1001")).text("BC_COMISSAO")),
                 QStringLiteral("ESPECIAL"));
        QCOMPARE(dec(precos.at(QStringLiteral("30001/1002")), "DIVISOR"), QStringLiteral("1.0000"));
        // Progress is shown, not once per row of each step.
        QVERIFY(ouvinte.progressos > 0);
    }

    // Against a manager database the steps of its own form run: its customers, history, receivables
    // and accessories, and no freight costs.
    void fullRunFromAManagerDatabase() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        for (const char* linha :
             {"Atualizados 3 Clientes...", "Atualizados 3 Sócios...", "Atualizados 5 Pedido(s) Consulta...",
              "Atualizados 7 Itens do Pedido Consulta...", "Atualizados 3 Contas a Receber...",
              "Atualizados 4 Produtos...", "Atualizados 2 Acessórios...",
              "Atualizados 6 Produtos da Pauta de Preços..."})
            QVERIFY2(ouvinte.registros.contains(QString::fromUtf8(linha)), qPrintable(ouvinte.tudo()));
        QVERIFY(!ouvinte.registros.contains(QStringLiteral("Atualizando Custo dos Fretes...")));
        QCOMPARE(registros(store, "clientes", {"ID"}).size(), size_t(3));
        QCOMPARE(registros(store, "acessorio", {"ID_ACESSORIO"}).size(), size_t(2));
    }

    // A partial run brings only what changed since the last communication, and a second full run
    // brings nothing twice.
    void partialRunTakesOnlyChangesSinceLastCommunication() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor, Date::fromYmd(2026, 11, 1));
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Parcial).resultado, ResultadoComunicacao::Sucesso);
        QCOMPARE(chaves(registros(store, "municip", {"ID"})), QStringList{QStringLiteral("5")});
        QCOMPARE(chaves(registros(store, "formapag", {"CODIGO"})), QStringList{QStringLiteral("2")});
        QCOMPARE(chaves(registros(store, "produto", {"ID"})),
                 (QStringList{QStringLiteral("1002"), QStringLiteral("1004")}));
        QCOMPARE(chaves(registros(store, "pauta", {"ID"})), QStringList{QStringLiteral("20001")});
        QCOMPARE(chaves(registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"})),
                 (QStringList{QStringLiteral("10001/1002"), QStringLiteral("20001/1001")}));

        Ouvinte denovo;
        QCOMPARE(rodar(store, denovo, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        Ouvinte terceira;
        QCOMPARE(rodar(store, terceira, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        QCOMPARE(registros(store, "municip", {"ID"}).size(), size_t(5));
        QCOMPARE(registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"}).size(), size_t(6));
        QCOMPARE(registros(store, "formapag", {"CODIGO"}).size(), size_t(2));
    }

    // A partial run writes over a stored price only the values that changed, and a price that comes
    // again unchanged (its row touched on the server) is not written at all: another window that read
    // it can still save it, and the fields the download does not bring stay as they were.
    void partialRunWritesOnlyWhatChanged() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte total;
        QCOMPARE(rodar(store, total, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        Table precos(store, "pauxpro");
        QVERIFY(precos.open());
        const auto ler = [&](int produto) {
            precos.clear();
            precos.rec().setInteger("ID_PAUTA", 10001);
            precos.rec().setInteger("ID_PROD", produto);
            return precos.get("KEYPRODUTO") == Status::Ok ? precos.rec() : Record(precos.def());
        };
        precos.rec() = ler(1001);
        precos.rec().setDecimal("CST_REP", *Decimal::parse("7.5"));
        QCOMPARE(precos.put(), Status::Ok);
        const Record mudado = ler(1001), igual = ler(1002);
        QVERIFY(mudado.rowId() != 0 && igual.rowId() != 0);

        servidor.executar(
            QStringLiteral("UPDATE gestao.pauxpro SET preco1=31.2500, dt_atual=current_date "
                           "WHERE id_pauxpro=1;"
                           "UPDATE gestao.pauxpro SET dt_atual=current_date WHERE id_pauxpro=2;"));
        Ouvinte parcial;
        QCOMPARE(rodar(store, parcial, TipoComunicacao::Parcial).resultado, ResultadoComunicacao::Sucesso);
        QVERIFY2(parcial.registros.contains(QStringLiteral("Atualizados 2 Produtos da Pauta de Preços...")),
                 qPrintable(parcial.tudo()));

        const Record depois = ler(1001);
        QCOMPARE(depois.decimal("PRECO1"), *Decimal::parse("31.25"));
        QCOMPARE(depois.decimal("CST_REP"), *Decimal::parse("7.5"));
        QCOMPARE(depois.revision(), mudado.revision() + 1);
        const Record intacto = ler(1002);
        QCOMPARE(intacto, igual);
        QCOMPARE(intacto.revision(), igual.revision());
    }

    // A code that moved on the server to another product is freed by the local product that held it;
    // products the server no longer sends stay, inactive, and the list of inactive products finds
    // them by name.
    void movedCodeIsFreedAndMissingProductsDeactivated() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        for (const auto& [id, codigo] : {std::pair{999, "P-1001"}, std::pair{555, "X-555"}})
            adicionar(store, "produto", [&](Record& r) {
                r.setInteger("ID", id);
                r.setInteger("ID_EMPRESA", 1);
                r.setText("CODIGO", QString::fromLatin1(codigo));
                r.setText("NOME", QStringLiteral("Produto antigo"));
                r.setInteger("ATIVO", 1);
            });
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        const auto produtos = registros(store, "produto", {"ID"});
        QCOMPARE(text::rtrim(produtos.at(QStringLiteral("999")).text("CODIGO")), QStringLiteral("*999*"));
        QCOMPARE(text::rtrim(produtos.at(QStringLiteral("1001")).text("CODIGO")), QStringLiteral("P-1001"));
        QCOMPARE(produtos.at(QStringLiteral("999")).integer("ATIVO"), 0);
        QCOMPARE(produtos.at(QStringLiteral("555")).integer("ATIVO"), 0);
        QCOMPARE(produtos.at(QStringLiteral("1001")).integer("ATIVO"), 1);
        QCOMPARE(produtosNoIndice(store, text::foldSearch(QStringLiteral("antigo")), 1), 0);
        QCOMPARE(produtosNoIndice(store, text::foldSearch(QStringLiteral("antigo")), 0), 2);
    }

    // Rows come from the server as one stream of text: tabs, line breaks and backslashes inside a
    // value arrive as they are. A second full run over the folder the first one filled (which
    // deactivates the products and removes the prices all at once before the rows come) leaves every
    // table as the first one left it; a product another window holds stops the product
    // step, which then leaves the products as they were.
    void secondFullRunOverAFilledFolder() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(QStringLiteral(
            "UPDATE gestao.produto SET descr_det=E'Perfil\\tU\\nsegunda linha \\\\ fim', referencia=''"
            " WHERE id_erp=1001;"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte primeira;
        QCOMPARE(rodar(store, primeira, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        const auto produtos = registros(store, "produto", {"ID"});
        QCOMPARE(text::rtrim(produtos.at(QStringLiteral("1001")).text("NOME")),
                 QStringLiteral("Perfil\tU\nsegunda linha \\ fim"));
        QCOMPARE(text::rtrim(produtos.at(QStringLiteral("1001")).text("REFER")), QString());
        const char* const tabelas[] = {"produto", "pauta", "pauxpro", "clientes", "formapag", "municip"};
        QList<QStringList> antes;
        for (const char* t : tabelas)
            antes << conteudo(store, t);

        Ouvinte segunda;
        QCOMPARE(rodar(store, segunda, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        QList<QStringList> depois;
        for (const char* t : tabelas)
            depois << conteudo(store, t);
        for (qsizetype i = 0; i < depois.size(); ++i)
            QCOMPARE(depois[i], antes[i]);
        for (const QString& linha : primeira.registros.filter(QStringLiteral("Atualizados")))
            QVERIFY2(segunda.registros.contains(linha), qPrintable(segunda.tudo()));

        // Another window holds product 1002 while a third run starts.
        Table editor(store, "produto");
        QVERIFY(editor.open());
        editor.rec().setInteger("ID", 1002);
        editor.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(editor.get("KEYID"), Status::Ok);
        QCOMPARE(editor.hold(0), Status::Ok);
        Ouvinte terceira;
        QCOMPARE(rodar(store, terceira, TipoComunicacao::Total).resultado, ResultadoComunicacao::Falhou);
        QVERIFY2(terceira.mensagens.join(QLatin1Char(' ')).contains(QStringLiteral("ao gravar produto")),
                 qPrintable(terceira.tudo()));
        editor.release();
        QCOMPARE(conteudo(store, "produto"), depois[0]);
    }

    // A full run over a folder that holds the prices leaves the unchanged ones in place and writes
    // only what changed: the result is the prices a fresh folder gets from the same server (a price
    // changed, one gone, one new and promotional, a list deactivated, a price the server never had),
    // and another company's price stays.
    void fullRunOverFilledPricesMatchesAFreshFolder() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder usada;
        prepararEstacao(usada.store(), servidor);
        Ouvinte primeira;
        QCOMPARE(rodar(usada.store(), primeira, TipoComunicacao::Total).resultado,
                 ResultadoComunicacao::Sucesso);
        {
            Table precos(usada.store(), "pauxpro");
            QVERIFY(precos.open());
            for (const auto& [pauta, produto] : {std::pair{10001, 9999}, std::pair{10002, 1001}}) {
                precos.clear();
                precos.rec().setInteger("ID_PAUTA", pauta);
                precos.rec().setInteger("ID_PROD", produto);
                precos.rec().setText("PRECO1", QStringLiteral("1.0000"));
                QCOMPARE(precos.add(), Status::Ok);
            }
        }
        servidor.executar(QStringLiteral(
            "UPDATE gestao.pauxpro SET preco1=31.2500 WHERE id_pauxpro=1;"
            "UPDATE gestao.pauxpro SET bc_comissao='NOVA' WHERE id_pauxpro=3;"
            "DELETE FROM gestao.pauxpro WHERE id_pauxpro=2;"
            "INSERT INTO gestao.pauxpro (id_pauxpro, id_pauta, id_prod, preco1, preco2, preco3, id_varprod,"
            " valor_pauta_icms_st, tp_pauta, divisor, tx_comissao, tx_icms, dt_atual) VALUES"
            " (8, 1, 1006, 5.0000, 5.0000, 5.0000, 0, 0, 1, 0, 0, 17, '2025-12-15');"
            "UPDATE gestao.pauta SET ativo=0 WHERE id_pauta=2;"));
        Ouvinte segunda;
        QCOMPARE(rodar(usada.store(), segunda, TipoComunicacao::Total).resultado,
                 ResultadoComunicacao::Sucesso);

        test::TempDataFolder nova;
        prepararEstacao(nova.store(), servidor);
        Ouvinte fresca;
        QCOMPARE(rodar(nova.store(), fresca, TipoComunicacao::Total).resultado,
                 ResultadoComunicacao::Sucesso);

        QStringList precosUsada = conteudo(usada.store(), "pauxpro");
        const QStringList outraEmpresa =
            precosUsada.filter(QRegularExpression(QStringLiteral("^10002\\|1001\\|")));
        QCOMPARE(outraEmpresa.size(), 1);
        precosUsada.removeAll(outraEmpresa.first());
        QCOMPARE(precosUsada, conteudo(nova.store(), "pauxpro"));
        const auto precos = registros(usada.store(), "pauxpro", {"ID_PAUTA", "ID_PROD"});
        QCOMPARE(dec(precos.at(QStringLiteral("10001/1001")), "PRECO1"), QStringLiteral("31.2500"));
        QVERIFY(!precos.count(QStringLiteral("10001/1002")) && !precos.count(QStringLiteral("10001/9999")));
        QVERIFY(precos.count(QStringLiteral("10001/1006")));
        const QStringList contagem = fresca.registros.filter(QStringLiteral("Produtos da Pauta"));
        QVERIFY2(!contagem.isEmpty() && segunda.registros.contains(contagem.last()),
                 qPrintable(segunda.tudo()));
    }

    // The downloads write products and customers through narrow writes, set operations and plain
    // adds, the full runs with the indexes built once at the end of the step: the name indexes follow
    // a first full run, names changed and products gone on the server, a second full run over the
    // filled folder, a full run stopped half-way and a partial run.
    void downloadsKeepTheNameIndexes() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        adicionar(store, "produto", [](Record& r) {
            r.setInteger("ID", 999);
            r.setInteger("ID_EMPRESA", 1);
            r.setText("CODIGO", QStringLiteral("P-1001"));
            r.setText("NOME", QStringLiteral("Produto antigo de ligação"));
            r.setInteger("ATIVO", 1);
        });
        Ouvinte primeira;
        QCOMPARE(rodar(store, primeira, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        QVERIFY(registros(store, "produto", {"ID"}).size() > 2);
        QVERIFY(!registros(store, "clientes", {"ID"}).empty());
        QCOMPARE(indiceDeNomesDifere(store, "produto", "NOME"), QString());
        QCOMPARE(indiceDeNomesDifere(store, "clientes", "RAZAO"), QString());

        servidor.executar(
            QStringLiteral("UPDATE gestao.produto SET descr_det='Válvula de Retenção Açu' WHERE id_erp=1001;"
                           "UPDATE gestao.produto SET descr_det='ARRUELA LISA' WHERE id_erp=1002;"
                           "UPDATE zor.corrent SET razao='Comércio São João Ltda';"));
        Ouvinte segunda;
        QCOMPARE(rodar(store, segunda, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        const auto produtos = registros(store, "produto", {"ID"});
        QCOMPARE(text::rtrim(produtos.at(QStringLiteral("1001")).text("NOME")),
                 QStringLiteral("Válvula de Retenção Açu"));
        const auto clientes = registros(store, "clientes", {"ID"});
        QVERIFY(std::any_of(clientes.begin(), clientes.end(), [](const auto& c) {
            return text::rtrim(c.second.text("RAZAO")) == QStringLiteral("Comércio São João Ltda");
        }));
        QCOMPARE(indiceDeNomesDifere(store, "produto", "NOME"), QString());
        QCOMPARE(indiceDeNomesDifere(store, "clientes", "RAZAO"), QString());

        // A full run whose product step fails after its index was suspended and the products
        // deactivated (another window holds one): the products and their index are as before, and
        // the file still keeps its index in step by itself.
        servidor.executar(QStringLiteral("UPDATE gestao.produto SET descr_det='Luva Soldável Marrom', "
                                         "dt_atual='2099-01-01' WHERE id_erp=1002;"));
        const QStringList antes = conteudo(store, "produto");
        {
            Table editor(store, "produto");
            QVERIFY(editor.open());
            editor.rec().setInteger("ID", 1001);
            editor.rec().setInteger("ID_EMPRESA", 1);
            QCOMPARE(editor.get("KEYID"), Status::Ok);
            QCOMPARE(editor.hold(0), Status::Ok);
            Ouvinte falha;
            QCOMPARE(rodar(store, falha, TipoComunicacao::Total).resultado, ResultadoComunicacao::Falhou);
            QVERIFY2(falha.mensagens.join(QLatin1Char(' ')).contains(QStringLiteral("ao gravar produto")),
                     qPrintable(falha.tudo()));
            editor.release();
        }
        QCOMPARE(conteudo(store, "produto"), antes);
        QCOMPARE(indiceDeNomesDifere(store, "produto", "NOME"), QString());
        {
            Store outra(pasta.path());
            Table t(outra, "produto");
            QVERIFY2(t.open(), qPrintable(t.error().text));
        }

        // A partial run writes the few changed products one by one, the index following each.
        Ouvinte parcial;
        QCOMPARE(rodar(store, parcial, TipoComunicacao::Parcial).resultado, ResultadoComunicacao::Sucesso);
        QCOMPARE(text::rtrim(registros(store, "produto", {"ID"}).at(QStringLiteral("1002")).text("NOME")),
                 QStringLiteral("Luva Soldável Marrom"));
        QCOMPARE(indiceDeNomesDifere(store, "produto", "NOME"), QString());
    }

    // The first run of a company adds its rows without looking them up; a key that comes twice (codes
    // the server tells apart by case only, a colour priced under its own id and as a variation, a
    // customer the server lists twice) is still written once, the later row winning as in any run.
    void firstRunWithRepeatedKeys() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(QStringLiteral(
            "ALTER TABLE zor.corrent DROP CONSTRAINT corrent_pkey;"
            "CREATE TEMP TABLE nc AS SELECT * FROM zor.corrent WHERE id_corrent=1;"
            "UPDATE nc SET razao='Ferragens Repetida', cgcpf='44.555.666/0001-77';"
            "INSERT INTO zor.corrent SELECT * FROM nc;"
            "CREATE TEMP TABLE np AS SELECT * FROM gestao.produto WHERE id_produto=2;"
            "UPDATE np SET id_produto=50, id_erp=1050, codigo='p-1002', descricao='Cantoneira nova';"
            "INSERT INTO gestao.produto SELECT * FROM np;"
            "INSERT INTO gestao.pauxpro (id_pauxpro, id_pauta, id_prod, preco1, preco2, preco3, id_varprod,"
            " valor_pauta_icms_st, tp_pauta, divisor, tx_comissao, tx_icms, dt_atual) VALUES"
            " (50, 1, 1003, 30.0000, 29.0000, 28.0000, 0, 0, 0, 0, 0, 17, '2025-12-15');"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        const auto clientes = registros(store, "clientes", {"ID"});
        QCOMPARE(clientes.size(), size_t(3));
        const QString razao = text::rtrim(clientes.at(QStringLiteral("1")).text("RAZAO"));
        QVERIFY2(razao == QStringLiteral("Ferragens Repetida") ||
                     razao == QStringLiteral("Comércio de Ferragens São João Ltda"),
                 qPrintable(razao));
        const auto produtos = registros(store, "produto", {"ID"});
        const QString codigo1002 = text::rtrim(produtos.at(QStringLiteral("1002")).text("CODIGO"));
        const QString codigo1050 = text::rtrim(produtos.at(QStringLiteral("1050")).text("CODIGO"));
        QVERIFY2((codigo1002 == QStringLiteral("P-1002") && codigo1050 == QStringLiteral("*1050*")) ||
                     (codigo1050 == QStringLiteral("p-1002") && codigo1002 == QStringLiteral("*1002*")),
                 qPrintable(codigo1002 + QLatin1Char(' ') + codigo1050));
        const auto precos = registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"});
        Table pauxpro(store, "pauxpro");
        QVERIFY(pauxpro.open());
        pauxpro.setFilter("ID_PAUTA = 10001 AND ID_PROD = 1003");
        int vezes = 0;
        for (Status s = pauxpro.seekPhysical(); s == Status::Ok && pauxpro.next() == Status::Ok;)
            ++vezes;
        QCOMPARE(vezes, 1);
        QCOMPARE(dec(precos.at(QStringLiteral("10001/1003")), "PRECO1"), QStringLiteral("30.0000"));
        QVERIFY2(ouvinte.registros.contains(QStringLiteral("Atualizados 7 Produtos da Pauta de Preços...")),
                 qPrintable(ouvinte.tudo()));
        // The key the first run built at the end of its price step is back, as created.
        QCOMPARE(chavesDiferentes(store, "pauxpro"), QStringList());
    }

    // Which products reach the workstation: the company's sale types, or, with products by price
    // list, those of the salesperson's lists whatever their type.
    void productFilter_data() {
        QTest::addColumn<int>("porPauta");
        QTest::addColumn<QStringList>("esperados");
        QTest::newRow("by type") << 0
                                 << QStringList{QStringLiteral("1001"), QStringLiteral("1002"),
                                                QStringLiteral("1003"), QStringLiteral("1004"),
                                                QStringLiteral("1008")};
        QTest::newRow("by price list")
            << 1
            << QStringList{QStringLiteral("1001"), QStringLiteral("1002"), QStringLiteral("1003"),
                           QStringLiteral("1004"), QStringLiteral("1007")};
    }
    void productFilter() {
        QFETCH(int, porPauta);
        QFETCH(QStringList, esperados);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        // Raw material priced in list 1; a product of a sale type in no list.
        servidor.executar(
            QStringLiteral(
                "INSERT INTO gestao.pauxpro (id_pauxpro, id_pauta, id_prod, preco1, preco2, preco3, "
                "id_varprod, tp_pauta, dt_atual) VALUES (20, 1, 1007, 14, 14, 14, 0, 0, '2026-01-01');"
                "CREATE TEMP TABLE novo AS SELECT * FROM gestao.produto WHERE id_produto=2;"
                "UPDATE novo SET id_produto=8, codigo='P-1008', id_erp=1008;"
                "INSERT INTO gestao.produto SELECT * FROM novo;"
                "UPDATE gestao.qavcfg SET ativar_prod_pauta=%1 WHERE id_empresa=1;")
                .arg(porPauta));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        QCOMPARE(chaves(registros(store, "produto", {"ID"})), esperados);
    }

    // The company's standard price and the origin of the highest discount.
    void pricesAndDiscount_data() {
        QTest::addColumn<int>("precoPadrao");
        QTest::addColumn<QString>("origem");
        QTest::addColumn<QString>("descontoVendedor");
        QTest::addColumn<QStringList>("produto"); // PRECO, PREC2, PREC3, DESC_MAX of 1001
        QTest::addColumn<QStringList>("naPauta"); // PRECO1, PRECO2 of 1001 in list 1
        QTest::newRow("second price, salesperson's discount")
            << 2 << QStringLiteral("R") << QStringLiteral("0.00")
            << lista({"24.0000", "0.0000", "0.0000", "0.0000"}) << lista({"24.0000", "0.0000"});
        QTest::newRow("all prices, group's discount")
            << 0 << QStringLiteral("G") << QStringLiteral("10.00")
            << lista({"25.5000", "24.0000", "23.0000", "12.0000"}) << lista({"25.5000", "24.0000"});
        QTest::newRow("third price, salesperson's else group's")
            << 3 << QStringLiteral("A") << QStringLiteral("0.00")
            << lista({"23.0000", "0.0000", "0.0000", "12.0000"}) << lista({"23.0000", "0.0000"});
    }
    void pricesAndDiscount() {
        QFETCH(int, precoPadrao);
        QFETCH(QString, origem);
        QFETCH(QString, descontoVendedor);
        QFETCH(QStringList, produto);
        QFETCH(QStringList, naPauta);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(
            QStringLiteral("UPDATE gestao.qavcfg SET preco_padrao=%1, origem_descmax='%2' WHERE "
                           "id_empresa=1; UPDATE gestao.vendedor SET desconto_max=%3 WHERE id_vendedor=10;")
                .arg(precoPadrao)
                .arg(origem, descontoVendedor));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        const Record barra = registros(store, "produto", {"ID"}).at(QStringLiteral("1001"));
        QCOMPARE((QStringList{dec(barra, "PRECO"), dec(barra, "PREC2"), dec(barra, "PREC3"),
                              dec(barra, "DESC_MAX")}),
                 produto);
        const Record preco =
            registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"}).at(QStringLiteral("10001/1001"));
        QCOMPARE((QStringList{dec(preco, "PRECO1"), dec(preco, "PRECO2")}), naPauta);
    }

    // Tax substitution, stock (by the company's stock type), standard cost and freight cost: a full
    // run takes all,
    // a later partial run only the stock changed since the last communication; stock and cost rows of
    // products the workstation does not have are passed over.
    void taxStockAndCost() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        for (const char* linha :
             {"Atualizados 3 ST ICMS...", "Atualizados 4 Estoques...", "Atualizados Custo de 2 Produtos..."})
            QVERIFY2(ouvinte.registros.contains(QString::fromUtf8(linha)), qPrintable(ouvinte.tudo()));
        const auto regras = registros(store, "sticms", {"COD_ST", "UF", "CONTRIBUINTE_ICMS"});
        QCOMPARE(chaves(regras), lista({"60/PR/1", "60/SC/0", "60/SC/1"}));
        QCOMPARE(dec(regras.at(QStringLiteral("60/PR/1")), "PERC_MARG_VL_ICMSST"), QStringLiteral("45.1200"));
        QCOMPARE(regras.at(QStringLiteral("60/PR/1")).integer("ID_EMPRESA"), 1);
        auto produtos = registros(store, "produto", {"ID"});
        // Stock type P: on hand less reserved less ordered.
        QCOMPARE(dec(produtos.at(QStringLiteral("1001")), "QTD_ESTOQUE"), QStringLiteral("450.0000"));
        QCOMPARE(dec(produtos.at(QStringLiteral("1002")), "QTD_ESTOQUE"), QStringLiteral("75.0000"));
        QCOMPARE(dec(produtos.at(QStringLiteral("1003")), "QTD_ESTOQUE"), QStringLiteral("0.0000"));
        QCOMPARE(dec(produtos.at(QStringLiteral("1001")), "VL_CUSTO"), QStringLiteral("19.4000"));
        QCOMPARE(produtos.at(QStringLiteral("1001")).date("DT_ATUAL_CUSTO"), Date::fromYmd(2026, 6, 10));
        // The latest freight rates of each region and loading town.
        const auto fretes = registros(store, "cstfrete", {"ID_REGIAO", "ID_MUN_CARREG"});
        QCOMPARE(chaves(fretes), lista({"1/2", "2/2"}));
        QCOMPARE(fretes.at(QStringLiteral("1/2")).date("DT_ATUAL"), Date::fromYmd(2026, 7, 1));
        QCOMPARE(dec(fretes.at(QStringLiteral("1/2")), "VL_CUSTO_M3"), QStringLiteral("45.5000"));
        QCOMPARE(dec(fretes.at(QStringLiteral("1/2")), "TX_FRETE"), QStringLiteral("3.5000"));
        QCOMPARE(text::rtrim(fretes.at(QStringLiteral("2/2")).text("NM_REGIAO")), QStringLiteral("Paraná"));
        QCOMPARE(text::rtrim(fretes.at(QStringLiteral("2/2")).text("NM_MUN_CARREG")),
                 QStringLiteral("Joinville/SC"));

        servidor.executar(QStringLiteral("UPDATE gestao.estsaldo SET qtdade=qtdade+1000;"));
        {
            Table cfg(store, "qavcfg");
            QVERIFY(cfg.open());
            cfg.clear();
            cfg.rec().setInteger("ID_EMPRESA", 1);
            QCOMPARE(cfg.get("KEYID_EMPRESA"), Status::Ok);
            cfg.rec().setDate("DT_ULT_COM", Date::fromYmd(2026, 11, 1));
            QCOMPARE(cfg.put(), Status::Ok);
        }
        Ouvinte parcial;
        Record esperado = produtos.at(QStringLiteral("1001"));
        QCOMPARE(rodar(store, parcial, TipoComunicacao::Parcial).resultado, ResultadoComunicacao::Sucesso);
        produtos = registros(store, "produto", {"ID"});
        QCOMPARE(dec(produtos.at(QStringLiteral("1001")), "QTD_ESTOQUE"), QStringLiteral("1450.0000"));
        // The stock step reads and writes that one field: the rest of the product stays as it was.
        esperado.setDecimal("QTD_ESTOQUE", *Decimal::parse("1450"));
        QCOMPARE(produtos.at(QStringLiteral("1001")), esperado);
        QCOMPARE(dec(produtos.at(QStringLiteral("1002")), "QTD_ESTOQUE"), QStringLiteral("75.0000"));
        QCOMPARE(dec(produtos.at(QStringLiteral("1004")), "QTD_ESTOQUE"), QStringLiteral("1900.0000"));
    }

    // Accessories come from a manager database only (freight rates from the ERP only); an orders-only run
    // downloads nothing but the stock, and the stock only when immediate delivery is on, and then only what
    // changed.
    void accessoriesAndOrdersOnlyRun() {
        QAV_SERVIDOR_TESTE(gerente, ServidorTeste::Esquema::Gerente);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, gerente);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        QVERIFY2(ouvinte.registros.contains(QStringLiteral("Atualizados 2 Acessórios...")),
                 qPrintable(ouvinte.tudo()));
        const auto acessorios = registros(store, "acessori", {"ID_ACESSORIO"});
        QCOMPARE(chaves(acessorios), lista({"1", "2"}));
        QCOMPARE(acessorios.at(QStringLiteral("2")).integer("COD_SUBGRUPO"), 20);
        QCOMPARE(acessorios.at(QStringLiteral("2")).integer("ATIVO"), 0);
        QCOMPARE(text::rtrim(acessorios.at(QStringLiteral("2")).text("DESCR_SUBGRUPO")),
                 QStringLiteral("Acessórios"));
        QCOMPARE(dec(acessorios.at(QStringLiteral("1")), "PRECO"), QStringLiteral("3.5000"));
        // A manager database keeps no freight rates: the step is not run there.
        QVERIFY(!ouvinte.registros.contains(QStringLiteral("Atualizando Custo dos Fretes...")));
        QVERIFY2(ouvinte.registros.contains(QStringLiteral("Atualizados Custo de 2 Produtos...")),
                 qPrintable(ouvinte.tudo()));

        QAV_SERVIDOR_TESTE(zor, ServidorTeste::Esquema::Zor);
        for (const int entregaImediata : {0, 1}) {
            test::TempDataFolder outra;
            Store& estacao = outra.store();
            prepararEstacao(estacao, zor, Date::fromYmd(2026, 11, 1));
            adicionar(estacao, "produto", [](Record& r) {
                r.setInteger("ID", 1001);
                r.setInteger("ID_EMPRESA", 1);
                r.setText("CODIGO", QStringLiteral("P-1001"));
            });
            {
                Table cfg(estacao, "qavcfg");
                QVERIFY(cfg.open());
                cfg.clear();
                cfg.rec().setInteger("ID_EMPRESA", 1);
                QCOMPARE(cfg.get("KEYID_EMPRESA"), Status::Ok);
                cfg.rec().setInteger("ATIVA_ENTREGA_IMEDIATA", entregaImediata);
                cfg.rec().setInteger("ID_ESTLOCAL", 2);
                QCOMPARE(cfg.put(), Status::Ok);
            }
            Ouvinte somente;
            QCOMPARE(rodar(estacao, somente, TipoComunicacao::SomentePedidos).resultado,
                     ResultadoComunicacao::Sucesso);
            QVERIFY(!somente.registros.contains(QStringLiteral("Atualizando Municípios...")));
            QVERIFY(!somente.registros.contains(QStringLiteral("Atualizando Acessórios...")));
            QCOMPARE(somente.registros.contains(QStringLiteral("Atualizando Estoque...")),
                     entregaImediata == 1);
            const auto produtos = registros(estacao, "produto", {"ID"});
            QCOMPARE(chaves(produtos), lista({"1001"}));
            // Immediate delivery takes the stock of the delivery place (2), not the product's own.
            QCOMPARE(dec(produtos.at(QStringLiteral("1001")), "QTD_ESTOQUE"),
                     entregaImediata ? QStringLiteral("100.0000") : QStringLiteral("0.0000"));
        }
    }

    // A stop asked for in the middle of a long step undoes that step's writes (also the full run's
    // removal of the old prices); a later run brings everything.
    void stopRequestedInsideAStep() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(QStringLiteral(
            "INSERT INTO gestao.pauxpro (id_pauxpro, id_pauta, id_prod, preco1, preco2, preco3, id_varprod, "
            "tp_pauta, dt_atual) SELECT 100+n, 1, 5000+n, n, n, n, 0, 0, '2026-01-01' FROM "
            "generate_series(1,450) n;"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        adicionar(store, "pauxpro", [](Record& r) {
            r.setInteger("ID_PAUTA", 10001);
            r.setInteger("ID_PROD", 4242);
        });
        Ouvinte ouvinte;
        ouvinte.aoRegistrar = [&](const QString& texto) {
            if (texto == QStringLiteral("Atualizando Produtos da Pauta de Preços..."))
                ouvinte.parar = true;
        };
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Falhou);
        QVERIFY2(ouvinte.registros.contains(QStringLiteral("Comunicação interrompida pelo usuário...")),
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(chaves(registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"})), lista({"10001/4242"}));

        Ouvinte outra;
        QCOMPARE(rodar(store, outra, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        QCOMPARE(registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"}).size(), size_t(456));
        QVERIFY2(outra.registros.contains(QStringLiteral("Atualizados 456 Produtos da Pauta de Preços...")),
                 qPrintable(outra.tudo()));
        QCOMPARE(outra.contadas, 456);
    }

    // The connection dies as the price-list products step starts: that step's table is as before
    // the run (also the prices a full run removes first), the run failed, and the next run completes.
    void connectionKilledDuringPriceListProducts() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        // Prices whose rows are so wide that the server is still sending (30 MB) when the workstation has
        // written the first 200 of them.
        servidor.executar(QStringLiteral(
            "INSERT INTO gestao.pauxpro (id_pauxpro, id_pauta, id_prod, preco1, preco2, preco3, id_varprod,"
            " valor_pauta_icms_st, tp_pauta, divisor, tx_comissao, tx_icms, dt_atual)"
            " SELECT 1000+g, 1, 200000+g, 10, 10, 10, 0, 0, 0, 0, 0, 17, '2025-12-15'"
            " FROM generate_series(1,1000) g;"
            "DROP VIEW gestao.vpauxpro;"
            "CREATE VIEW gestao.vpauxpro AS SELECT id_pauxpro, id_pauta, id_prod AS id_produto, preco1,"
            " preco2, preco3, CASE WHEN id_prod>200000 THEN repeat('x', 30000) ELSE bc_comissao END"
            " AS bc_comissao, id_varprod, tp_pauta, valor_pauta_icms_st, divisor, tx_comissao, tx_icms,"
            " dt_atual FROM gestao.pauxpro;"
            "GRANT SELECT ON gestao.vpauxpro TO PUBLIC;"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte primeira;
        QCOMPARE(rodar(store, primeira, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        const auto antes = registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"});
        QCOMPARE(antes.size(), size_t(1006));
        servidor.executar(QStringLiteral("UPDATE gestao.pauxpro SET preco1=30 WHERE id_pauxpro=1;"));

        Ouvinte ouvinte;
        const QString usuario = servidor.passwordUser();
        bool noPasso = false, morta = false;
        ouvinte.aoRegistrar = [&](const QString& texto) {
            noPasso = texto == QStringLiteral("Atualizando Produtos da Pauta de Preços...");
        };
        ouvinte.aoContar = [&](long long feitas) {
            if (noPasso && !morta && feitas > 0) {
                morta = true;
                servidor.executar(
                    QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                                   "datname=current_database() AND usename='%1';")
                        .arg(usuario));
            }
        };
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Falhou);
        QVERIFY(morta);
        // The price statement failed in the middle of its rows: one message, the connection lost.
        QVERIFY2(ouvinte.mensagens.first().contains(QStringLiteral("Conexão com o servidor perdida")),
                 qPrintable(ouvinte.tudo()));
        QVERIFY2(!ouvinte.mensagens.isEmpty(), qPrintable(ouvinte.tudo()));
        const auto depois = registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"});
        QCOMPARE(chaves(depois), chaves(antes));
        QCOMPARE(dec(depois.at(QStringLiteral("10001/1001")), "PRECO1"), QStringLiteral("25.5000"));

        Ouvinte outra;
        QCOMPARE(rodar(store, outra, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        const auto fim = registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"});
        QCOMPARE(fim.size(), size_t(1006));
        QCOMPARE(dec(fim.at(QStringLiteral("10001/1001")), "PRECO1"), QStringLiteral("30.0000"));
    }
    void historyTotalThenPartialChangesNoRow_data() {
        QTest::addColumn<int>("esquema");
        QTest::newRow("zor") << int(ServidorTeste::Esquema::Zor);
        QTest::newRow("gerente") << int(ServidorTeste::Esquema::Gerente);
    }

    // A partial run right after a full one, with nothing changed on the server, changes no row of the
    // history, its items or the receivables: the orders received again get their own items back, and
    // the earlier deliveries of the same order (not received by a partial run) keep theirs.
    void historyTotalThenPartialChangesNoRow() {
        QFETCH(int, esquema);
        QAV_SERVIDOR_TESTE(servidor, static_cast<ServidorTeste::Esquema>(esquema));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor, hojeNoServidor(servidor));
        Ouvinte total;
        QCOMPARE(rodar(store, total, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        const auto antes = historico(store);
        QVERIFY(!antes[1].isEmpty());
        Ouvinte parcial;
        QCOMPARE(rodar(store, parcial, TipoComunicacao::Parcial).resultado, ResultadoComunicacao::Sucesso);
        // The partial run did receive history orders and items again.
        QVERIFY2(!parcial.registros.contains(QStringLiteral("Atualizados 0 Pedido(s) Consulta...")) &&
                     !parcial.registros.contains(QStringLiteral("Atualizados 0 Itens do Pedido Consulta...")),
                 qPrintable(parcial.tudo()));
        const auto depois = historico(store);
        QCOMPARE(depois[0], antes[0]);
        QCOMPARE(depois[1], antes[1]);
        QCOMPARE(depois[2], antes[2]);
    }

    void connectionKilledDuringHistoryItems_data() { historyTotalThenPartialChangesNoRow_data(); }

    // The server ends the connection as the history items are read: the history orders and their items
    // are as before the run (the changed order keeps its old total and its items), the run failed, and
    // its end is still logged.
    void connectionKilledDuringHistoryItems() {
        QFETCH(int, esquema);
        const auto tipo = static_cast<ServidorTeste::Esquema>(esquema);
        QAV_SERVIDOR_TESTE(servidor, tipo);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte primeira;
        QCOMPARE(rodar(store, primeira, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        const auto antes = historico(store);
        servidor.executar(QStringLiteral("UPDATE %1.pedidos SET total=999.99 WHERE numero=101;")
                              .arg(tipo == ServidorTeste::Esquema::Zor ? QStringLiteral("zor")
                                                                       : QStringLiteral("gerente")));
        Ouvinte ouvinte;
        bool derrubada = false;
        ouvinte.aoRegistrar = [&](const QString& texto) {
            if (texto == QStringLiteral("Atualizando Itens do Pedido Consulta...")) {
                derrubada = true;
                derrubarConexoes(servidor);
            }
        };
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Falhou);
        QVERIFY(derrubada);
        const auto depois = historico(store);
        QCOMPARE(depois[0], antes[0]);
        QCOMPARE(depois[1], antes[1]);
        QCOMPARE(ouvinte.registros.last(), QStringLiteral("Desconectando do Servidor..."));
    }

    // The volume of the ERP's orders comes in one statement; when the server refuses it the history
    // step fails with one message and the history stays as it was.
    void failingVolumeQueryFailsTheStep() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte primeira;
        QCOMPARE(rodar(store, primeira, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        const auto antes = historico(store);
        servidor.executar(
            QStringLiteral("UPDATE zor.pedidos SET total=999.99 WHERE numero=101;"
                           "ALTER TABLE gestao.produto RENAME COLUMN vol_m3 TO vol_m3_antigo;"));
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Falhou);
        QCOMPARE(ouvinte.mensagens.size(), 1);
        QVERIFY2(ouvinte.mensagens.first().startsWith(QStringLiteral("Erro: ")) &&
                     ouvinte.mensagens.first().contains(QStringLiteral("vol_m3")),
                 qPrintable(ouvinte.tudo()));
        QVERIFY2(!ouvinte.tudo().contains(QStringLiteral("Atualizados 4 Pedido(s) Consulta...")),
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(historico(store)[0], antes[0]);
        QCOMPARE(ouvinte.registros.last(), QStringLiteral("Desconectando do Servidor..."));
    }

    // A total, a price and a freight cost wider than their local fields and a price-list code whose id
    // would pass 32 bits are logged with the record and the field and counted at the end of the run;
    // the list is refused with a notice, and the run goes on. A price list's price too wide is blank.
    void valuesThatDoNotFitAreLoggedAndCounted() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(QStringLiteral(
            "UPDATE zor.pedidos SET total=999999999999.99 WHERE numero=104;"
            "UPDATE gestao.produto SET vl_preco1=9999999999.999 WHERE id_erp=1001;"
            "UPDATE gestao.municipio SET cst_frete_m3=99999999999.99 WHERE id_municipio=2;"
            "INSERT INTO gestao.pauta (id_pauta, id_empresa, codigo, descricao, ativo, dt_atual) VALUES "
            "(99, 1, 999999, 'Pauta grande', 1, '2026-01-01');"
            "INSERT INTO gestao.pauxpro (id_pauxpro, id_pauta, id_prod, preco1, tp_pauta, dt_atual) VALUES "
            "(999, 99, 1001, 1, 0, '2026-01-01');"
            "UPDATE zor.corrent SET cod_pauta=999999 WHERE cod_vendedor=5;"
            "DO $$ DECLARE v text := pg_get_viewdef('gestao.vpauxpro'); BEGIN DROP VIEW gestao.vpauxpro;"
            " ALTER TABLE gestao.pauxpro ALTER COLUMN preco1 TYPE numeric(15,4);"
            " EXECUTE 'CREATE VIEW gestao.vpauxpro AS ' || v; END $$;"
            "GRANT SELECT ON gestao.vpauxpro TO PUBLIC;"
            "INSERT INTO gestao.pauxpro (id_pauxpro, id_pauta, id_prod, preco1, tp_pauta, dt_atual) VALUES "
            "(998, 1, 1009, 99999999999.5, 0, '2026-01-01');"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        for (const char* linha :
             {"Valor não cabe no campo VALOR_TOTAL (Pedido Consulta # 104): 999999999999.99",
              "Valor não cabe no campo ID (Pauta # 999999): 9999990001",
              "Valor não cabe no campo ID_PAUTA (Pauta # 999999): 9999990001",
              "Valor não cabe no campo PRECO (Produto P-1001): 9999999999.999",
              "Valor não cabe no campo CST_FRETE_M3 (Município # 2): 99999999999.99",
              "5 valor(es) do servidor não couberam nos campos locais e não foram gravados."})
            QVERIFY2(ouvinte.registros.contains(QString::fromUtf8(linha)), qPrintable(ouvinte.tudo()));
        QVERIFY2(
            ouvinte.mensagens.contains(QStringLiteral(
                "Aviso: Pauta de preços 999999 não recebida:|o código não cabe no identificador local.")),
            qPrintable(ouvinte.tudo()));
        // Only the three lists of the salesperson; no list or price under a wrapped id.
        QCOMPARE(registros(store, "pauta", {"ID"}).size(), size_t(3));
        // A price too wide for its field is left blank, not given the price of the row before it.
        const auto precos = registros(store, "pauxpro", {"ID_PAUTA", "ID_PROD"});
        QCOMPARE(precos.size(), size_t(7));
        QCOMPARE(dec(precos.at(QStringLiteral("10001/1009")), "PRECO1"), QStringLiteral("0.0000"));
    }

    // When the flex balance cannot be asked, the last balance stays and the salesperson is told.
    void failingFlexQueryKeepsTheBalance() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        const auto saldo = [&] {
            const auto cfg = registros(store, "qavcfg", {"ID_EMPRESA"});
            return cfg.count(QStringLiteral("1")) ? dec(cfg.at(QStringLiteral("1")), "SALDO_FLEX")
                                                  : QString();
        };
        Ouvinte primeira;
        QCOMPARE(rodar(store, primeira, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        QCOMPARE(saldo(), QStringLiteral("1250.7500"));
        servidor.executar(QStringLiteral("ALTER TABLE gestao.flex RENAME TO flex_antigo;"));
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte, TipoComunicacao::Total).resultado, ResultadoComunicacao::Sucesso);
        QCOMPARE(saldo(), QStringLiteral("1250.7500"));
        QVERIFY2(ouvinte.mensagens.first().startsWith(
                     QStringLiteral("Aviso: Não foi possível consultar o saldo flex no servidor.")),
                 qPrintable(ouvinte.tudo()));
    }
};

QAV_TEST_GUILESS_MAIN(TestDownloads)
#include "tst_downloads.moc"
