// The customer rules without windows: ids, permissions, defaults, tabs and every field check.
#include "customers/core/RegrasCliente.h"
#include "store/core/Record.h"
#include "store/core/TableDef.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QtTest>

using namespace qav;
using namespace qav::clientes;
using namespace Qt::StringLiterals;

class TestRegrasCliente : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void proximoIdCliente_data() {
        QTest::addColumn<qint64>("maior");
        QTest::addColumn<qint64>("esperado");
        QTest::newRow("empty file") << qint64(0) << qint64(900001);
        QTest::newRow("server ids up to 1500") << qint64(1500) << qint64(901501);
        QTest::newRow("after the first local one") << qint64(901501) << qint64(901502);
        QTest::newRow("highest server id") << qint64(899999) << qint64(900000);
        QTest::newRow("local 900000") << qint64(900000) << qint64(900001);
    }
    void proximoIdCliente() {
        QFETCH(qint64, maior);
        QFETCH(qint64, esperado);
        QCOMPARE(clientes::proximoIdCliente(maior), esperado);
        QVERIFY(!idDoServidor(clientes::proximoIdCliente(maior)));
    }

    void proximoIdSocio() {
        QCOMPARE(proximoId(0), 1);
        QCOMPARE(proximoId(41), 42);
    }

    void permissoes_data() {
        QTest::addColumn<qint64>("id");
        QTest::addColumn<bool>("permitido");
        QTest::newRow("1") << qint64(1) << false;
        QTest::newRow("899999") << qint64(899999) << false;
        QTest::newRow("900000") << qint64(900000) << true;
        QTest::newRow("901501") << qint64(901501) << true;
    }
    void permissoes() {
        QFETCH(qint64, id);
        QFETCH(bool, permitido);
        const Verificacao editar = podeEditar(id);
        const Verificacao excluir = podeExcluir(id);
        QCOMPARE(editar.aceita, permitido);
        QCOMPARE(excluir.aceita, permitido);
        if (!permitido) {
            QCOMPARE(editar.texto, u"Sem permissão para editar cliente!"_s);
            QCOMPARE(excluir.texto, u"Impossivel excluir cliente selecionado!"_s);
        }
    }

    void novoCliente_data() {
        QTest::addColumn<int>("bloqueios");
        QTest::addColumn<bool>("permitido");
        QTest::newRow("none") << 0 << true;
        QTest::newRow("other bits") << (1 | 2 | 4 | 16) << true;
        QTest::newRow("bit 8") << 8 << false;
        QTest::newRow("all bits") << 255 << false;
    }
    void novoCliente() {
        QFETCH(int, bloqueios);
        QFETCH(bool, permitido);
        const Verificacao v = podeIncluir(bloqueios);
        QCOMPARE(v.aceita, permitido);
        QCOMPARE(v.texto, permitido ? QString() : u"Sem permissão para cadastrar novo cliente!"_s);
        QCOMPARE(v.titulo, permitido ? QString() : u"Aviso"_s);
    }

    void padroes() {
        Record cli(*findTable("clientes.tps"));
        cli.clear();
        aplicarPadroes(cli, {Date::fromYmd(2026, 3, 9), PessoaFisica, 77});
        QCOMPARE(cli.integer("ATIVO"), 1);
        QCOMPARE(cli.date("DATA"), Date::fromYmd(2026, 3, 9));
        QCOMPARE(cli.text("CLASSE"), u"B"_s);
        QCOMPARE(cli.integer("PESSO"), 2);
        QCOMPARE(cli.integer("COD_VENDEDOR"), 77);
    }

    void pessoaProposta_data() {
        QTest::addColumn<int>("ini");
        QTest::addColumn<int>("pessoa");
        QTest::newRow("missing (0)") << 0 << 1;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("2") << 2 << 2;
        QTest::newRow("3") << 3 << 3;
        QTest::newRow("4") << 4 << 1;
        QTest::newRow("-1") << -1 << 1;
    }
    void pessoaProposta() {
        QFETCH(int, ini);
        QFETCH(int, pessoa);
        QCOMPARE(clientes::pessoaProposta(ini), pessoa);
    }

    void abas_data() {
        QTest::addColumn<int>("pessoa");
        QTest::addColumn<bool>("fisica");
        QTest::addColumn<bool>("juridica");
        QTest::addColumn<QString>("rotulo");
        QTest::newRow("none") << 0 << false << false << u"Doc.: "_s;
        QTest::newRow("company") << 1 << false << true << u"CNPJ: "_s;
        QTest::newRow("person") << 2 << true << false << u"CPF: "_s;
        QTest::newRow("export") << 3 << false << true << u"Doc.: "_s;
    }
    void abas() {
        QFETCH(int, pessoa);
        QFETCH(bool, fisica);
        QFETCH(bool, juridica);
        QFETCH(QString, rotulo);
        QCOMPARE(abasVisiveis(pessoa), (AbasVisiveis{fisica, juridica}));
        QCOMPARE(rotuloDocumento(pessoa), rotulo);
    }

    void documento_data() {
        QTest::addColumn<int>("pessoa");
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("formatado");
        QTest::addColumn<bool>("aceito");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("cnpj 14 digits")
            << 1 << u"11222333000181"_s << u"11.222.333/0001-81"_s << true << QString();
        QTest::newRow("cnpj formatted")
            << 1 << u"11.222.333/0001-81"_s << u"11.222.333/0001-81"_s << true << QString();
        QTest::newRow("cnpj wrong") << 1 << u"11222333000182"_s << u"11.222.333/0001-82"_s << false
                                    << u"CNPJ inválido!"_s;
        QTest::newRow("cnpj alphanumeric")
            << 1 << u"12abc34501de35"_s << u"12.ABC.345/01DE-35"_s << true << QString();
        QTest::newRow("cnpj blank") << 1 << QString() << QString() << true << QString();
        QTest::newRow("cnpj zeros") << 1 << u"00000000000000"_s << u"00.000.000/0000-00"_s << true
                                    << QString();
        QTest::newRow("company with 11 digits")
            << 1 << u"52998224725"_s << u"52998224725"_s << false << u"CNPJ inválido!"_s;
        QTest::newRow("cpf 11 digits") << 2 << u"52998224725"_s << u"529.982.247-25"_s << true << QString();
        QTest::newRow("cpf wrong") << 2 << u"52998224726"_s << u"529.982.247-26"_s << false
                                   << u"CPF inválido!"_s;
        QTest::newRow("cpf equal digits")
            << 2 << u"11111111111"_s << u"111.111.111-11"_s << false << u"CPF inválido!"_s;
        QTest::newRow("cpf zero") << 2 << u"0"_s << u"0"_s << true << QString();
        QTest::newRow("export anything") << 3 << u"AB-123"_s << u"AB-123"_s << true << QString();
        QTest::newRow("no type") << 0 << u"11222333000182"_s << u"11222333000182"_s << true << QString();
    }
    void documento() {
        QFETCH(int, pessoa);
        QFETCH(QString, digitado);
        QFETCH(QString, formatado);
        QFETCH(bool, aceito);
        QFETCH(QString, mensagem);
        const QString f = formatarDocumento(pessoa, digitado);
        QCOMPARE(f, formatado);
        const Verificacao v = verificarDocumento(pessoa, f);
        QCOMPARE(v.aceita, aceito);
        QCOMPARE(v.texto, mensagem);
        if (!mensagem.isEmpty())
            QCOMPARE(v.titulo, u"Erro"_s);
    }

    void jaCadastrado() {
        QCOMPARE(mensagemClienteJaCadastrado(1500), u"Cliente já cadastrado ( Id: 001500)."_s);
        QCOMPARE(mensagemClienteJaCadastrado(901501), u"Cliente já cadastrado ( Id: 901501)."_s);
    }

    void cep_data() {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("formatado");
        QTest::newRow("8 digits") << u"01310100"_s << u"01310-100"_s;
        QTest::newRow("formatted") << u"01310-100"_s << u"01310-100"_s;
        QTest::newRow("7 digits") << u"1310100"_s << u"1310100"_s;
        QTest::newRow("blank") << QString() << QString();
    }
    void cep() {
        QFETCH(QString, digitado);
        QFETCH(QString, formatado);
        QCOMPARE(formatarCep(digitado), formatado);
    }

    void inscricao_data() {
        QTest::addColumn<int>("indicador");
        QTest::addColumn<int>("pessoa");
        QTest::addColumn<QString>("ie");
        QTest::addColumn<QString>("uf");
        QTest::addColumn<bool>("aoSair");
        QTest::addColumn<bool>("aceita");
        QTest::newRow("taxpayer without ie") << 1 << 1 << QString() << u"SP"_s << true << false;
        QTest::newRow("taxpayer without ie on OK") << 1 << 1 << u"  "_s << u"SP"_s << false << false;
        QTest::newRow("non-taxpayer blank") << 9 << 1 << QString() << u"SP"_s << true << true;
        QTest::newRow("valid SP") << 1 << 1 << u"110.042.490.114"_s << u"SP"_s << true << true;
        QTest::newRow("invalid SP on leave") << 1 << 1 << u"110042490115"_s << u"SP"_s << true << false;
        QTest::newRow("invalid SP on OK") << 1 << 1 << u"110042490115"_s << u"SP"_s << false << true;
        QTest::newRow("ISENTO") << 2 << 1 << u"ISENTO"_s << u"SP"_s << true << true;
        QTest::newRow("isento lower case") << 2 << 1 << u"isento"_s << u"SP"_s << true << true;
        QTest::newRow("Isento mixed, taxpayer") << 1 << 1 << u" Isento "_s << u"SP"_s << true << true;
        QTest::newRow("person: not checked") << 9 << 2 << u"123"_s << u"SP"_s << true << true;
        QTest::newRow("no state") << 1 << 1 << u"110.042.490.114"_s << QString() << true << false;
    }
    void inscricao() {
        QFETCH(int, indicador);
        QFETCH(int, pessoa);
        QFETCH(QString, ie);
        QFETCH(QString, uf);
        QFETCH(bool, aoSair);
        QFETCH(bool, aceita);
        const Verificacao v = verificarInscricao(indicador, pessoa, ie, uf, aoSair);
        QCOMPARE(v.aceita, aceita);
        QVERIFY(v.texto.isEmpty()); // focus stays, no message box
        QCOMPARE(v.dica.isEmpty(), aceita);
    }

    void indicador() {
        QVERIFY(!verificarIndicadorIe(0).aceita);
        QVERIFY(verificarIndicadorIe(1).aceita);
        QVERIFY(verificarIndicadorIe(2).aceita);
        QVERIFY(verificarIndicadorIe(9).aceita);
    }

    void consumidorFinal_data() {
        QTest::addColumn<int>("pessoa");
        QTest::addColumn<QString>("ie");
        QTest::addColumn<bool>("final");
        QTest::newRow("company ISENTO") << 1 << u"ISENTO"_s << true;
        QTest::newRow("company isento") << 1 << u"isento"_s << true;
        QTest::newRow("company IsEnTo") << 1 << u"IsEnTo"_s << true;
        QTest::newRow("company blank") << 1 << QString() << true;
        QTest::newRow("company with ie") << 1 << u"110.042.490.114"_s << false;
        QTest::newRow("person") << 2 << u"110.042.490.114"_s << true;
        QTest::newRow("export blank") << 3 << QString() << false;
        QTest::newRow("no type") << 0 << QString() << false;
    }
    void consumidorFinal() {
        QFETCH(int, pessoa);
        QFETCH(QString, ie);
        QFETCH(bool, final);
        QCOMPARE(tornaConsumidorFinal(pessoa, ie), final);
    }

    void socios_data() {
        QTest::addColumn<int>("pessoa");
        QTest::addColumn<int>("quantidade");
        QTest::addColumn<bool>("aceita");
        QTest::newRow("company without partners") << 1 << 0 << false;
        QTest::newRow("company with one") << 1 << 1 << true;
        QTest::newRow("person without") << 2 << 0 << true;
        QTest::newRow("export without") << 3 << 0 << true;
    }
    void socios() {
        QFETCH(int, pessoa);
        QFETCH(int, quantidade);
        QFETCH(bool, aceita);
        const Verificacao v = verificarSocios(pessoa, quantidade);
        QCOMPARE(v.aceita, aceita);
        QCOMPARE(v.texto, aceita ? QString() : u"Favor informar os sócios proprietários!"_s);
    }

    void referencias_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("aceita");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blanks and lines") << u"  \n\t "_s << false;
        QTest::newRow("supplier") << u"Fornecedor X (11)5555-1234"_s << true;
    }
    void referencias() {
        QFETCH(QString, texto);
        QFETCH(bool, aceita);
        const Verificacao v = verificarReferenciasComerciais(texto);
        QCOMPARE(v.aceita, aceita);
        QCOMPARE(v.texto, aceita ? QString() : u"Favor informar fornecedores com telefone!"_s);
        QCOMPARE(v.titulo, aceita ? QString() : u"Aviso"_s);
    }

    void classe() {
        QCOMPARE(normalizarClasse(u"d"_s), u"D"_s);
        QVERIFY(classeRetiraCredito(u"d"_s));
        QVERIFY(!classeRetiraCredito(u"C"_s));
        QCOMPARE(emMinusculas(u"Vendas@Cliente.COM.br"_s), u"vendas@cliente.com.br"_s);
    }

    void avisoServidor_data() {
        QTest::addColumn<bool>("alteracao");
        QTest::addColumn<qint64>("id");
        QTest::addColumn<bool>("mudou");
        QTest::addColumn<bool>("avisa");
        QTest::newRow("server, changed") << true << qint64(1500) << true << true;
        QTest::newRow("server, unchanged") << true << qint64(1500) << false << false;
        QTest::newRow("local, changed") << true << qint64(901501) << true << false;
        QTest::newRow("insert") << false << qint64(1500) << true << false;
    }
    void avisoServidor() {
        QFETCH(bool, alteracao);
        QFETCH(qint64, id);
        QFETCH(bool, mudou);
        QFETCH(bool, avisa);
        QCOMPARE(avisaAlteracaoDoServidor(alteracao, id, mudou), avisa);
        QCOMPARE(tituloAvisoAlteracaoServidor(), u"ATENÇÃO"_s);
        QVERIFY(textoAvisoAlteracaoServidor().contains(u"pedido,|não"_s));
    }

    void documentoSocio_data() {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("formatado");
        QTest::newRow("cpf") << u"52998224725"_s << u"529.982.247-25"_s;
        QTest::newRow("invalid cpf still formatted") << u"12345678901"_s << u"123.456.789-01"_s;
        QTest::newRow("cnpj") << u"11222333000181"_s << u"11.222.333/0001-81"_s;
        QTest::newRow("formatted cnpj kept") << u"11.222.333/0001-81"_s << u"11.222.333/0001-81"_s;
        QTest::newRow("other length") << u"123"_s << u"123"_s;
    }
    void documentoSocio() {
        QFETCH(QString, digitado);
        QFETCH(QString, formatado);
        QCOMPARE(formatarDocumentoSocio(digitado), formatado);
        QCOMPARE(formatarDocumentoLocalizador(digitado), formatado);
    }
};

QAV_TEST_GUILESS_MAIN(TestRegrasCliente)
#include "tst_regrascliente.moc"
