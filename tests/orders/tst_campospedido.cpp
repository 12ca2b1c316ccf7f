// The rows of the order rules against their tables: every member bound to a field the catalogue has,
// with a type it can hold, and a row written to a real table file and read back keeps every value,
// decimals rounded half away from zero to the scale of their field.
#include "orders/core/CamposPedido.h"
#include "store/core/Table.h"
#include "store/core/TableFile.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QTest>
#include <functional>
#include <map>
#include <set>

using namespace qav;

namespace {

using mapeamento::Genero;

QString texto(int valor) {
    return QString::number(valor);
}
QString texto(const Decimal& valor) {
    return QString::fromStdString(valor.toString());
}
QString texto(const QString& valor) {
    return valor;
}

// Every member of a row as "CAMPO=valor", in the order of its mapping.
template <typename S> QStringList descrever(const S& linha) {
    QStringList lista;
    campos<S>().paraCada(linha, [&](const CampoTabela& campo, const auto& valor) {
        lista << QString::fromLatin1(campo.nome) + QLatin1Char('=') + texto(valor);
    });
    return lista;
}

// A row whose members all hold values of their own (so that two members bound to one field, or a
// member lost on the way, show), then the values `valores` gives by field name ("PRUNI=1.23455").
template <typename S> S preencher(const QStringList& valores) {
    std::map<QString, QString> porNome;
    for (const QString& v : valores)
        porNome[v.section(QLatin1Char('='), 0, 0)] = v.section(QLatin1Char('='), 1);
    S linha;
    int n = 0;
    campos<S>().paraCada(linha, [&](const CampoTabela& campo, auto& valor) {
        ++n;
        const auto dado = porNome.find(QString::fromLatin1(campo.nome));
        using T = std::remove_reference_t<decltype(valor)>;
        if constexpr (std::is_same_v<T, int>)
            valor = dado != porNome.end() ? dado->second.toInt() : n;
        else if constexpr (std::is_same_v<T, Decimal>)
            valor = dado != porNome.end() ? Decimal::parse(dado->second.toStdString()).value()
                                          : Decimal(n) + Decimal::parse("0.25").value();
        else
            valor = dado != porNome.end() ? dado->second : QString(QChar(u'A' + n % 26));
        if (dado != porNome.end())
            porNome.erase(dado);
    });
    if (!porNome.empty())
        qFatal("campo sem membro na linha de teste: %s", qPrintable(porNome.begin()->first));
    return linha;
}

// struct -> Record -> table file; then, through another store over the same folder, table file ->
// Record -> struct.
template <typename S> S idaEVolta(const S& linha) {
    test::TempDataFolder pasta(false);
    const TableDef& def = campos<S>().tabela();
    StoreError erro;
    if (!createTableFile(pasta.filePath(def.fileName), def, &erro))
        qFatal("%s", qPrintable(erro.text));
    {
        Table tabela(pasta.store(), campos<S>().tabela());
        if (!tabela.open())
            qFatal("%s", qPrintable(tabela.error().text));
        tabela.clear();
        gravarRegistro(linha, tabela.rec());
        if (tabela.add() != Status::Ok)
            qFatal("%s", qPrintable(tabela.error().text));
    }
    Store outra(pasta.path());
    Table tabela(outra, campos<S>().tabela());
    S lida;
    if (!tabela.open() || tabela.seekPhysical() != Status::Ok || tabela.next() != Status::Ok)
        qFatal("registro gravado não foi lido de volta");
    lerRegistro(tabela.rec(), lida);
    return lida;
}

// The round trip of one row type: what comes back, and what should have been stored.
using IdaEVolta = std::function<QStringList(const QStringList&, const QStringList&, QStringList&)>;

template <typename S> IdaEVolta rodada() {
    return [](const QStringList& entrada, const QStringList& gravado, QStringList& esperado) {
        esperado = descrever(preencher<S>(gravado));
        return descrever(idaEVolta(preencher<S>(entrada)));
    };
}

const std::map<QString, IdaEVolta>& rodadas() {
    static const std::map<QString, IdaEVolta> m{
        {QStringLiteral("Pedido"), rodada<Pedido>()},
        {QStringLiteral("PedidoItem"), rodada<PedidoItem>()},
        {QStringLiteral("Produto"), rodada<Produto>()},
        {QStringLiteral("Pauta"), rodada<Pauta>()},
        {QStringLiteral("PautaProduto"), rodada<PautaProduto>()},
        {QStringLiteral("FormaPag"), rodada<FormaPag>()},
        {QStringLiteral("Cliente"), rodada<Cliente>()},
        {QStringLiteral("Municipio"), rodada<Municipio>()},
        {QStringLiteral("Vendedor"), rodada<Vendedor>()},
        {QStringLiteral("QavCfg"), rodada<QavCfg>()},
        {QStringLiteral("Empresa"), rodada<Empresa>()},
        {QStringLiteral("StIcms"), rodada<StIcms>()},
        {QStringLiteral("CfgSis"), rodada<CfgSis>()},
        {QStringLiteral("CstFrete"), rodada<CstFrete>()},
    };
    return m;
}

// What a member of each kind may be bound to, stated here on its own so that the check does not lean
// on the code it checks.
bool compativel(FieldType tipo, Genero genero) {
    switch (genero) {
    case Genero::Inteiro:
        return tipo == FieldType::Int32 || tipo == FieldType::Int16 || tipo == FieldType::UInt8;
    case Genero::Numero:
        return tipo == FieldType::Decimal || tipo == FieldType::Real64;
    case Genero::Texto:
        return tipo == FieldType::Text || tipo == FieldType::ZText || tipo == FieldType::Memo;
    }
    return false;
}

template <typename S> QStringList problemasNoCatalogo() {
    QStringList problemas;
    S linha;
    std::set<QString> nomes;
    std::set<const void*> membros;
    campos<S>().paraCada(linha, [&](const CampoTabela& campo, const auto& valor) {
        using T = std::remove_cvref_t<decltype(valor)>;
        const Genero genero = std::is_same_v<T, int>       ? Genero::Inteiro
                              : std::is_same_v<T, Decimal> ? Genero::Numero
                                                           : Genero::Texto;
        const TableDef* tabela = findTable(campo.tabela->fileName);
        const int indice = tabela ? tabela->fieldIndex(campo.nome) : -1;
        const QString nome =
            QString::fromLatin1(campo.tabela->prefix) + u':' + QString::fromLatin1(campo.nome);
        // One member per field and one field per member: a value bound twice is lost on the way.
        if (!nomes.insert(nome).second)
            problemas << nome + QStringLiteral(" ligado duas vezes");
        if (!membros.insert(&valor).second)
            problemas << nome + QStringLiteral(" num membro já ligado");
        if (indice < 0) {
            problemas << nome + QStringLiteral(" ausente");
            return;
        }
        const FieldDef& def = tabela->fields[static_cast<std::size_t>(indice)];
        if (def.isArray() || !compativel(def.type, genero))
            problemas << nome + QStringLiteral(" de tipo incompatível");
        if (genero == Genero::Numero && def.type == FieldType::Decimal && campo.escala != def.scale)
            problemas << nome + QStringLiteral(" com escala diferente da do catálogo");
    });
    return problemas;
}

} // namespace

class TstCamposPedido : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void todosOsCamposEstaoNoCatalogo() {
        verificarCampos();
        const QStringList problemas = problemasNoCatalogo<Pedido>() + problemasNoCatalogo<PedidoItem>() +
                                      problemasNoCatalogo<Produto>() + problemasNoCatalogo<Pauta>() +
                                      problemasNoCatalogo<PautaProduto>() + problemasNoCatalogo<FormaPag>() +
                                      problemasNoCatalogo<Cliente>() + problemasNoCatalogo<Municipio>() +
                                      problemasNoCatalogo<Vendedor>() + problemasNoCatalogo<QavCfg>() +
                                      problemasNoCatalogo<Empresa>() + problemasNoCatalogo<StIcms>() +
                                      problemasNoCatalogo<CfgSis>() + problemasNoCatalogo<CstFrete>() +
                                      problemasNoCatalogo<OutroPedido>();
        QCOMPARE(problemas, QStringList());
    }

    void membroSoSeLigaACampoQueOComporta_data() {
        QTest::addColumn<QByteArray>("tabela");
        QTest::addColumn<QByteArray>("campo");
        QTest::addColumn<int>("genero");
        QTest::addColumn<bool>("aceito");
        const int inteiro = int(Genero::Inteiro), numero = int(Genero::Numero), texto = int(Genero::Texto);
        QTest::newRow("decimal") << QByteArray("peditens.tps") << QByteArray("PRUNI") << numero << true;
        QTest::newRow("real64 em decimal")
            << QByteArray("pedidos.tps") << QByteArray("TOTPR") << numero << true;
        QTest::newRow("uint8 em inteiro") << QByteArray("pedidos") << QByteArray("SITUA") << inteiro << true;
        QTest::newRow("ztext em texto") << QByteArray("VDA") << QByteArray("OBS_ENTREGA") << texto << true;
        QTest::newRow("nome em minusculas")
            << QByteArray("peditens.tps") << QByteArray("pruni") << numero << true;
        QTest::newRow("campo de outra tabela")
            << QByteArray("pedidos.tps") << QByteArray("PRUNI") << numero << false;
        QTest::newRow("campo inexistente")
            << QByteArray("produto.tps") << QByteArray("PRECO4") << numero << false;
        QTest::newRow("tabela inexistente")
            << QByteArray("precos.tps") << QByteArray("ID") << inteiro << false;
        QTest::newRow("texto em inteiro")
            << QByteArray("pedidos.tps") << QByteArray("OBS") << inteiro << false;
        QTest::newRow("decimal em texto")
            << QByteArray("peditens.tps") << QByteArray("TOTAL") << texto << false;
        QTest::newRow("decimal em inteiro")
            << QByteArray("peditens.tps") << QByteArray("QTD") << inteiro << false;
        QTest::newRow("data em inteiro")
            << QByteArray("produto.tps") << QByteArray("DATAP") << inteiro << false;
        QTest::newRow("campo em serie")
            << QByteArray("clientes.tps") << QByteArray("PRINC_PRODU") << texto << false;
    }
    void membroSoSeLigaACampoQueOComporta() {
        QFETCH(QByteArray, tabela);
        QFETCH(QByteArray, campo);
        QFETCH(int, genero);
        QFETCH(bool, aceito);
        QString erro;
        try {
            const CampoTabela c = mapeamento::resolver(mapeamento::tabela(tabela.constData()),
                                                       campo.constData(), Genero(genero));
            QCOMPARE(QByteArray(c.nome), campo.toUpper());
        } catch (const CampoForaDoCatalogo& e) {
            erro = QString::fromUtf8(e.what());
        }
        QCOMPARE(erro.isEmpty(), aceito);
        if (!aceito)
            QVERIFY2(erro.contains(QString::fromLatin1(campo.toUpper())) ||
                         erro.contains(QString::fromLatin1(tabela)),
                     qPrintable(erro));
    }

    void mapeamentoMalFeitoNaoSeConstroi() {
        QVERIFY_THROWS_EXCEPTION(
            CampoForaDoCatalogo,
            Mapeamento<Pedido>("pedidos.tps", {{"ID", &Pedido::ID}, {"QTD", &Pedido::TOTAL}}));
        QVERIFY_THROWS_EXCEPTION(CampoForaDoCatalogo,
                                 Mapeamento<Pauta>("pauta.tps", {{"VL_PEDIDO5", &Pauta::VL_PEDIDO, 5}}));
        // A real64 money field is held exactly: it has no scale to round to.
        QVERIFY_THROWS_EXCEPTION(CampoForaDoCatalogo, campos<Pedido>().escala(&Pedido::TOTPR));
    }

    void escalaVemDoCatalogo_data() {
        QTest::addColumn<int>("escala");
        QTest::addColumn<int>("esperada");
        QTest::newRow("VDAI:PRUNI") << escala<&PedidoItem::PRUNI>() << 4;
        QTest::newRow("VDAI:QTD") << escala<&PedidoItem::QTD>() << 3;
        QTest::newRow("VDA:VOL_M3") << escala<&Pedido::VOL_M3>() << 3;
        QTest::newRow("PRO:VOL_M3") << escala<&Produto::VOL_M3>() << 6;
        QTest::newRow("PAUXPRO:DIVISOR") << escala<&PautaProduto::DIVISOR>() << 6;
    }
    void escalaVemDoCatalogo() {
        QFETCH(int, escala);
        QFETCH(int, esperada);
        QCOMPARE(escala, esperada);
    }

    void idaEVoltaPeloArquivo_data() {
        QTest::addColumn<QString>("linha");
        QTest::addColumn<QStringList>("entrada");
        QTest::addColumn<QStringList>("gravado");
        const auto L = [](std::initializer_list<const char*> v) {
            QStringList l;
            for (const char* s : v)
                l << QString::fromUtf8(s);
            return l;
        };
        const QString longo = QString(300, QLatin1Char('x'));
        QTest::newRow("pedido") << QStringLiteral("Pedido")
                                << L({"TOTPR=12345678901.23", "DESCP=0.1", "TX_FRETE=1.005",
                                      "VL_ICMSST=-2.345", "PESO_LIQUIDO=0.0005", "SITUA=255",
                                      "OBS=Entregar às 8h  "})
                                << L({"TOTPR=12345678901.23", "DESCP=0.1", "TX_FRETE=1.01", "VL_ICMSST=-2.35",
                                      "PESO_LIQUIDO=0.001", "SITUA=255", "OBS=Entregar às 8h"});
        QTest::newRow("pedido obs longa")
            << QStringLiteral("Pedido") << QStringList(QStringLiteral("OBS=") + longo)
            << QStringList(QStringLiteral("OBS=") + longo.left(255));
        QTest::newRow("item") << QStringLiteral("PedidoItem")
                              << L({"PRUNI=1.23455", "QTD=2.0005", "VL_LIQUIDO=-0.00005", "COMIS=99999.994",
                                    "PR_PAUTA_LIQ=0.00005", "ID_VENDASI=2147483647"})
                              << L({"PRUNI=1.2346", "QTD=2.001", "VL_LIQUIDO=-0.0001", "COMIS=99999.99",
                                    "PR_PAUTA_LIQ=0.0001", "ID_VENDASI=2147483647"});
        QTest::newRow("produto") << QStringLiteral("Produto")
                                 << L({"VOL_M3=0.0000005", "PRECO=0.00004", "ALIQ_IPI=-0.005",
                                       "NOME=Dobradiça"})
                                 << L({"VOL_M3=0.000001", "PRECO=0", "ALIQ_IPI=-0.01", "NOME=Dobradiça"});
        QTest::newRow("pauta") << QStringLiteral("Pauta") << L({"VL_PEDIDO5=4999.995", "TX_DESCONTO1=2.004"})
                               << L({"VL_PEDIDO5=5000", "TX_DESCONTO1=2"});
        QTest::newRow("pauxpro") << QStringLiteral("PautaProduto")
                                 << L({"DIVISOR=1.0000005", "PRECO3=12.34565", "VALOR_PAUTA_ICMS_ST=0.125"})
                                 << L({"DIVISOR=1.000001", "PRECO3=12.3457", "VALOR_PAUTA_ICMS_ST=0.13"});
        QTest::newRow("formapag") << QStringLiteral("FormaPag") << L({"ACRESC=10.555", "DESCO=-3.335"})
                                  << L({"ACRESC=10.56", "DESCO=-3.34"});
        QTest::newRow("cliente") << QStringLiteral("Cliente")
                                 << L({"LIMCRED=0.1", "ST_ESPECIFICA=ATACADO   "})
                                 << L({"LIMCRED=0.1", "ST_ESPECIFICA=ATACADO"});
        QTest::newRow("municipio") << QStringLiteral("Municipio") << L({"ESTADO=SPX"}) << L({"ESTADO=SP"});
        QTest::newRow("vendedor") << QStringLiteral("Vendedor") << L({"VL_PED_MINIMO=-1.005"})
                                  << L({"VL_PED_MINIMO=-1.01"});
        QTest::newRow("qavcfg") << QStringLiteral("QavCfg") << L({"SALDO_FLEX=0.005", "BLOQUEIOS1=255"})
                                << L({"SALDO_FLEX=0.01", "BLOQUEIOS1=255"});
        QTest::newRow("empresa") << QStringLiteral("Empresa") << L({"ADIC_COMISSAO=0"})
                                 << L({"ADIC_COMISSAO=0"});
        QTest::newRow("sticms") << QStringLiteral("StIcms") << L({"ALIQ_ICMSST=17.995", "UF=mg"})
                                << L({"ALIQ_ICMSST=18", "UF=mg"});
        QTest::newRow("cfgsis") << QStringLiteral("CfgSis") << L({"CODIGO=53596"}) << L({"CODIGO=53596"});
        QTest::newRow("cstfrete") << QStringLiteral("CstFrete") << L({"VL_CUSTO_M3=0.0000005"})
                                  << L({"VL_CUSTO_M3=0.000001"});
    }
    void idaEVoltaPeloArquivo() {
        QFETCH(QString, linha);
        QFETCH(QStringList, entrada);
        QFETCH(QStringList, gravado);
        QStringList esperado;
        const QStringList lido = rodadas().at(linha)(entrada, gravado, esperado);
        QCOMPARE(lido, esperado);
    }

    void valorQueNaoCabeNoCampo() {
        // decimal(7,3) holds at most 9999.999; 9999.9995 rounds to 10000.000.
        Pedido p;
        p.VOL_M3 = Decimal::parse("9999.9995").value();
        Record r(*findTable("pedidos.tps"));
        QVERIFY_THROWS_EXCEPTION(FieldValueError, gravarRegistro(p, r));
    }

    void registroDeOutraTabela() {
        Record pedido(*findTable("pedidos.tps"));
        pedido.setInteger("ID", 5);
        pedido.setInteger("SITUA", 2);
        pedido.setInteger("PED_FLEX", 1);
        OutroPedido outro;
        outro.VL_FLEX = Decimal(-3);
        // The other order's flex is the sum of its items: reading its header leaves it alone.
        lerRegistro(pedido, outro);
        QCOMPARE(outro.ID, 5);
        QCOMPARE(outro.SITUA, 2);
        QCOMPARE(outro.PED_FLEX, 1);
        QCOMPARE(outro.VL_FLEX, Decimal(-3));

        Record item(*findTable("peditens.tps"));
        Pedido p;
        QVERIFY_THROWS_EXCEPTION(CampoForaDoCatalogo, lerRegistro(item, p));
        QVERIFY_THROWS_EXCEPTION(CampoForaDoCatalogo, gravarRegistro(p, item));
    }
};

QAV_TEST_GUILESS_MAIN(TstCamposPedido)
#include "tst_campospedido.moc"
