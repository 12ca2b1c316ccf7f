// The qavtool commands as the commercial department and scripts run them: calcular (JSON in and out)
// and codigo-liberacao.
#include "tests/support/Programs.h"
#include "tests/support/TestMain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

class TstQavtoolCalcular : public QObject {
    Q_OBJECT

    struct Execucao {
        int status = -1;
        QByteArray saida;
        QByteArray erro;
    };

    static Execucao executar(const QStringList& argumentos, const QByteArray& entrada = {}) {
        QProcess processo;
        processo.start(qav::test::programPath(QStringLiteral("qavtool")), argumentos);
        if (!processo.waitForStarted(10000))
            return {};
        processo.write(entrada);
        processo.closeWriteChannel();
        processo.waitForFinished(60000);
        return {processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1,
                processo.readAllStandardOutput(), processo.readAllStandardError()};
    }

    static QJsonObject calcular(const QByteArray& json) {
        const Execucao e = executar({QStringLiteral("calcular")}, json);
        if (e.status != 0)
            qWarning("%s", e.erro.constData());
        return QJsonDocument::fromJson(e.saida).object();
    }

    static QString campo(const QJsonObject& o, const char* nome) {
        return o.value(QLatin1String(nome)).toString();
    }

private Q_SLOTS:
    void parcelasDoDescontoDigitado() {
        const QJsonObject r = calcular(R"({
            "pedido": {"ID": 1, "DESCP": 0, "DESCV": 10, "FCONTA": 1},
            "itens": [{"ID_VENDASI": 3, "QTD": 1, "PRUNI": "33.34", "TOTAL": 33.34},
                      {"ID_VENDASI": 1, "QTD": 1, "PRUNI": "33.33", "TOTAL": "33.33"},
                      {"ID_VENDASI": 2, "QTD": 1.0, "PRUNI": 3333e-2, "TOTAL": 0.3333E2}]
        })");
        const QJsonArray itens = r.value(QLatin1String("itens")).toArray();
        QCOMPARE(itens.size(), 3);
        QStringList parcelas;
        for (const QJsonValue& v : itens) {
            const QJsonObject i = v.toObject();
            parcelas << QString::number(i.value(QLatin1String("ID_VENDASI")).toInt()) + QLatin1Char('=') +
                            campo(i, "VL_LIQUIDO");
        }
        QCOMPARE(parcelas.join(QLatin1Char(' ')), QStringLiteral("1=29.9970 2=29.9970 3=30.0060"));
        const QJsonObject pedido = r.value(QLatin1String("pedido")).toObject();
        QCOMPARE(campo(pedido, "TOTPR"), QStringLiteral("100.00"));
        QCOMPARE(campo(pedido, "DESCV"), QStringLiteral("10.00"));
        QCOMPARE(campo(pedido, "TOTAL"), QStringLiteral("90.00"));
        QCOMPARE(campo(pedido, "PESO_LIQUIDO"), QStringLiteral("0.000"));
        const QJsonObject valores = r.value(QLatin1String("valores")).toObject();
        QCOMPARE(campo(valores, "TOT_QTDADE"), QStringLiteral("3.000"));
        QCOMPARE(campo(valores, "FATOR"), QStringLiteral("1.00"));
        QCOMPARE(valores.value(QLatin1String("EXCESSO_COMISSAO")).toInt(), 0);
    }

    void numerosNaoPassamPorDouble() {
        // 0.1 + 0.2 and a 17-digit amount: exact only when the literal is read as text.
        const QJsonObject r = calcular(R"({
            "pedido": {"FCONTA": 2, "FRETE": 0.1, "DESCV": 0.2},
            "itens": [{"ID_VENDASI": 1, "QTD": 1, "PRUNI": 1, "TOTAL": 12345678901234.57}]
        })");
        const QJsonObject pedido = r.value(QLatin1String("pedido")).toObject();
        QCOMPARE(campo(pedido, "TOTAL"), QStringLiteral("12345678901234.47"));
    }

    void repricingEAnaliseEMensagens() {
        const QJsonObject r = calcular(R"({
            "pedido": {"ID": 1, "FCONTA": 1, "PED_FLEX": 1, "SITUA": 1, "ID_MUN_CARGA": 9},
            "itens": [{"ID_VENDASI": 1, "PRODU": 7, "QTD": 10, "PRUNI": "9.0000", "VALOR_PRODUTO": 9,
                       "PRECO_PAUTA": 10, "TOTAL": "90.00", "COMIS": 5}],
            "produtos": [{"ID": 7, "NOME": "Tubo", "COD_ST": 10, "VOL_M3": 0.01, "PESO_FATOR": 2}],
            "formapag": {"ACRESC": 10},
            "acrescimo_anterior": 0,
            "cliente": {"ID_REGIAO": 3},
            "municipio": {"ESTADO": "SP"},
            "qavcfg": {"SALDO_FLEX": "50"},
            "cstfrete": [{"ID_REGIAO": 3, "ID_MUN_CARREG": 9, "VL_CUSTO_M3": 100}],
            "sticms": [{"COD_ST": 10, "UF": "SP", "CONTRIBUINTE_ICMS": 1, "MODAL_BC_ICMSST": "5",
                        "ALIQ_ICMSST": 18}],
            "outros_pedidos": [{"ID": 2, "SITUA": 1, "PED_FLEX": 1, "VL_FLEX": "-20.00"}],
            "analise": true
        })");
        const QJsonObject item = r.value(QLatin1String("itens")).toArray().at(0).toObject();
        QCOMPARE(campo(item, "PRUNI"), QStringLiteral("9.9000"));
        QCOMPARE(campo(item, "TOTAL"), QStringLiteral("99.00"));
        QCOMPARE(campo(item, "VL_FLEX"), QStringLiteral("-1.00"));
        const QJsonObject valores = r.value(QLatin1String("valores")).toObject();
        QCOMPARE(campo(valores, "FLEX_OUTROS_DEB"), QStringLiteral("-20.00"));
        QCOMPARE(campo(valores, "SALDO_FLEX"), QStringLiteral("30.00"));
        QCOMPARE(campo(valores, "VL_FLEX"), QStringLiteral("-1.00"));
        const QJsonArray mensagens = r.value(QLatin1String("mensagens")).toArray();
        QCOMPARE(mensagens.size(), 2);
        QCOMPARE(mensagens.at(0).toString(),
                 QStringLiteral("Preços foram alterados devido a alteração da forma de pagamento!"));
        QCOMPARE(mensagens.at(1).toString(),
                 QStringLiteral("Pauta de Preço/Taxa MVA não definido para o produto 7 "
                                "com substituição tributária do ICMS!"));
        const QJsonObject analise = r.value(QLatin1String("analise")).toObject();
        const QJsonObject linha = analise.value(QLatin1String("linhas")).toArray().at(0).toObject();
        QCOMPARE(campo(linha, "PRECO_UNIT"), QStringLiteral("9.90"));
        QCOMPARE(campo(linha, "FATOR_LIQ"), QStringLiteral("4.20")); // (9.90 - 1 - 0.495) / 2 = 4.2025
        QCOMPARE(campo(analise, "TT_FRETE"), QStringLiteral("10.00"));
    }

    void entradaInvalida_data() {
        QTest::addColumn<QByteArray>("entrada");
        QTest::addColumn<QString>("nomeNoErro");
        QTest::newRow("JSON quebrado") << QByteArray(R"({"pedido": {"ID": 1,)") << "JSON inválido";
        QTest::newRow("nao objeto") << QByteArray("[1, 2]") << "JSON inválido";
        QTest::newRow("texto no QTD") << QByteArray(R"({"itens": [{"QTD": "dez"}]})") << "itens[0].QTD";
        QTest::newRow("virgula decimal") << QByteArray(R"({"pedido": {"DESCP": "2,5"}})") << "pedido.DESCP";
        QTest::newRow("logico no preco")
            << QByteArray(R"({"itens": [{}, {"PRUNI": true}]})") << "itens[1].PRUNI";
        QTest::newRow("id fracionado") << QByteArray(R"({"pedido": {"ID": 1.5}})") << "pedido.ID";
        QTest::newRow("lista errada") << QByteArray(R"({"produtos": {"ID": 1}})") << "produtos";
    }
    void entradaInvalida() {
        QFETCH(QByteArray, entrada);
        QFETCH(QString, nomeNoErro);
        const Execucao e = executar({QStringLiteral("calcular")}, entrada);
        QCOMPARE(e.status, 2);
        QVERIFY(e.saida.isEmpty());
        QVERIFY2(QString::fromUtf8(e.erro).contains(nomeNoErro), e.erro.constData());
    }

    void codigoLiberacao_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("saida");
        QTest::newRow("impar") << QStringList{QStringLiteral("123"), QStringLiteral("4567"),
                                              QStringLiteral("1500.75"), QStringLiteral("37")}
                               << 0 << QByteArray("21381237\n");
        QTest::newRow("par") << QStringList{QStringLiteral("123"), QStringLiteral("4567"),
                                            QStringLiteral("1500.75"), QStringLiteral("42")}
                             << 0 << QByteArray("37784142\n");
        QTest::newRow("zeros") << QStringList{QStringLiteral("1"), QStringLiteral("1"),
                                              QStringLiteral("10.01"), QStringLiteral("01")}
                               << 0 << QByteArray("00001001\n");
        QTest::newRow("chave 00") << QStringList{QStringLiteral("1"), QStringLiteral("1"),
                                                 QStringLiteral("10.01"), QStringLiteral("00")}
                                  << 2 << QByteArray();
        QTest::newRow("chave 3 digitos") << QStringList{QStringLiteral("1"), QStringLiteral("1"),
                                                        QStringLiteral("10.01"), QStringLiteral("100")}
                                         << 2 << QByteArray();
        QTest::newRow("total com virgula") << QStringList{QStringLiteral("1"), QStringLiteral("1"),
                                                          QStringLiteral("10,01"), QStringLiteral("11")}
                                           << 2 << QByteArray();
        QTest::newRow("faltam argumentos")
            << QStringList{QStringLiteral("1"), QStringLiteral("1")} << 2 << QByteArray();
    }
    void codigoLiberacao() {
        QFETCH(QStringList, argumentos);
        const Execucao e = executar(QStringList{QStringLiteral("codigo-liberacao")} + argumentos);
        QTEST(e.status, "status");
        QTEST(e.saida, "saida");
    }
};

QAV_TEST_GUILESS_MAIN(TstQavtoolCalcular)
#include "tst_qavtool_calcular.moc"
