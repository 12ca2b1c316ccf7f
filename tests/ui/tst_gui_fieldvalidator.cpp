// What an entry bound to a catalogue field accepts, for every kind of field: the limits come from the
// field's type, width and places, and anything beyond them is refused with its reason.
#include "store/core/TableDef.h"
#include "tests/support/TestMain.h"
#include "ui/widgets/FieldValidator.h"
#include "ui/widgets/MessageBox.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace qav;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(FieldRefusal::Kind)

class TestGuiFieldValidator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusal_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("input");
        QTest::addColumn<FieldRefusal::Kind>("expected");
        const auto row = [](const char* name, const char* table, const char* field, const QString& input,
                            FieldRefusal::Kind kind) {
            QTest::newRow(name) << QString::fromLatin1(table) << QString::fromLatin1(field) << input << kind;
        };
        // int32
        row("int32 highest", "clientes", "CXPOSTAL", u"2147483647"_s, FieldRefusal::None);
        row("int32 above", "clientes", "CXPOSTAL", u"2147483648"_s, FieldRefusal::OutOfRange);
        row("int32 lowest", "clientes", "CXPOSTAL", u"-2147483648"_s, FieldRefusal::None);
        row("int32 below", "clientes", "CXPOSTAL", u"-2147483649"_s, FieldRefusal::OutOfRange);
        row("int32 twenty digits", "clientes", "CXPOSTAL", QString(20, u'9'), FieldRefusal::OutOfRange);
        row("sign alone", "clientes", "CXPOSTAL", u"-"_s, FieldRefusal::None);
        row("empty", "clientes", "CXPOSTAL", QString(), FieldRefusal::None);
        row("letters", "clientes", "CXPOSTAL", u"12a"_s, FieldRefusal::NotANumber);
        row("other script digits", "clientes", "CXPOSTAL", u"١٢"_s, FieldRefusal::NotANumber);
        // uint8
        row("uint8 255", "clientes", "PERC_VENDAS", u"255"_s, FieldRefusal::None);
        row("uint8 256", "clientes", "PERC_VENDAS", u"256"_s, FieldRefusal::OutOfRange);
        row("uint8 negative", "clientes", "PERC_VENDAS", u"-1"_s, FieldRefusal::OutOfRange);
        // decimal(7,2)
        row("decimal fits", "clientes", "TX_DESC_PEDIDO", u"12.345,67"_s, FieldRefusal::None);
        row("decimal six digits", "clientes", "TX_DESC_PEDIDO", u"123456"_s, FieldRefusal::OutOfRange);
        row("decimal leading zeros", "clientes", "TX_DESC_PEDIDO", u"0012345"_s, FieldRefusal::None);
        row("decimal three places", "clientes", "TX_DESC_PEDIDO", u"1,234"_s, FieldRefusal::TooManyPlaces);
        row("decimal two commas", "clientes", "TX_DESC_PEDIDO", u"1,2,3"_s, FieldRefusal::NotANumber);
        // real64 amounts
        row("amount", "clientes", "LIMCRED", u"-1.234.567,89"_s, FieldRefusal::None);
        row("amount too large", "clientes", "LIMCRED", QString(16, u'9'), FieldRefusal::OutOfRange);
        row("amount letters", "clientes", "LIMCRED", u"1e5"_s, FieldRefusal::NotANumber);
        // text(n), ztext(n)
        row("text full", "clientes", "SUF_CGCPF", u"abc"_s, FieldRefusal::None);
        row("text too long", "clientes", "SUF_CGCPF", u"abcd"_s, FieldRefusal::TooLong);
        row("text euro sign", "clientes", "RAZAO", u"€ ç ã Š"_s, FieldRefusal::None);
        row("text outside code page", "clientes", "RAZAO", u"Łódź"_s, FieldRefusal::Character);
        row("text emoji", "clientes", "RAZAO", u"caf\u00e9 \U0001F600"_s, FieldRefusal::Character);
        row("ztext 99", "clientes", "EMAIL_QAV", QString(99, u'a'), FieldRefusal::None);
        row("ztext 100", "clientes", "EMAIL_QAV", QString(100, u'a'), FieldRefusal::TooLong);
    }
    void refusal() {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, input);
        QFETCH(FieldRefusal::Kind, expected);
        const TableDef* def = findTable(table.toStdString());
        QVERIFY(def);
        const FieldValidator validator(*def, field.toStdString());
        QCOMPARE(validator.refusal(input).kind, expected);
        QString text = input;
        int position = 0;
        QCOMPARE(validator.validate(text, position),
                 expected == FieldRefusal::None ? QValidator::Acceptable : QValidator::Invalid);
    }

    // A code entry that also takes a name: digits are the code, anything else the name.
    void codeOrName_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<FieldRefusal::Kind>("expected");
        QTest::newRow("id") << u"3550308"_s << FieldRefusal::None;
        QTest::newRow("id too large") << u"2147483648"_s << FieldRefusal::OutOfRange;
        QTest::newRow("name") << u"São Paulo"_s << FieldRefusal::None;
        QTest::newRow("name too long") << QString(31, u'A') << FieldRefusal::TooLong;
        QTest::newRow("name outside code page") << u"Łódź"_s << FieldRefusal::Character;
    }
    void codeOrName() {
        QFETCH(QString, input);
        QFETCH(FieldRefusal::Kind, expected);
        FieldValidator validator(*findTable("clientes"), "ID_MUNICIPIO");
        validator.acceptNameOf(*findTable("municip"), "NOME");
        QCOMPARE(validator.refusal(input).kind, expected);
    }

    // The business may narrow a type's range, never widen it.
    void narrowerRange() {
        FieldValidator share(*findTable("clientes"), "PERC_VENDAS");
        share.setRange(0, 100);
        QCOMPARE(share.refusal(u"100"_s).kind, FieldRefusal::None);
        QCOMPARE(share.refusal(u"101"_s).kind, FieldRefusal::OutOfRange);
        share.setRange(-5, 1000);
        QCOMPARE(share.low(), 0);
        QCOMPARE(share.high(), 255);
        QCOMPARE(share.rangeText(), u"0 e 255"_s);
    }

    // Typed and pasted: refused on the spot, with the range warning naming the entry by its label.
    void entryRefusesWithMessage() {
        MessageBox::clearShown();
        MessageBox::setNextAnswers({Button::Ok, Button::Ok, Button::Ok});
        QWidget form;
        auto* layout = new QFormLayout(&form);
        auto* entry = new QLineEdit(&form);
        layout->addRow(u"Caixa &Postal:"_s, entry);
        limitToField(entry, *findTable("clientes"), "CXPOSTAL");
        QCOMPARE(entry->property("qavCampo").toString(), u"CLI:CXPOSTAL"_s);
        QTest::keyClicks(entry, u"21474836489"_s);
        QCOMPARE(entry->text(), u"214748364"_s);
        QCOMPARE(MessageBox::shown().size(), 2);
        QCOMPARE(MessageBox::shown().at(0).caption, u"Erro Validação"_s);
        QCOMPARE(MessageBox::shown().at(0).text,
                 u"Caixa Postal: O valor deve estar entre -2147483648 e 2147483647."_s);
        entry->clear();
        entry->insert(u"12x"_s);
        QVERIFY(entry->text().isEmpty());
        QCOMPARE(MessageBox::shown().size(), 3);
        QCOMPARE(MessageBox::shown().at(2).caption, u"Erro Validação"_s);
        MessageBox::setNextAnswers({});
    }

    // Entries laid out without a form still speak of the field as the user sees it: the caption
    // beside it, a list cell's column heading, or "this field" - never the internal field name.
    void messageNamesTheFieldAsShown() {
        MessageBox::clearShown();
        MessageBox::setNextAnswers({Button::Ok, Button::Ok, Button::Ok, Button::Ok});
        QWidget form;
        auto* grid = new QGridLayout(&form);
        grid->addWidget(new QLabel(u"Desc. %:"_s, &form), 0, 0);
        auto* noGrid = new QLineEdit(&form);
        grid->addWidget(noGrid, 0, 1);
        auto* row = new QHBoxLayout;
        grid->addLayout(row, 1, 0, 1, 2);
        row->addWidget(new QLabel(u"&Quantidade"_s, &form));
        auto* naLinha = new QLineEdit(&form);
        row->addWidget(naLinha);
        auto* semRotulo = new QLineEdit(&form);
        grid->addWidget(semRotulo, 2, 0);
        QTableWidget tabela(1, 2);
        tabela.setHorizontalHeaderLabels({u"Produto"_s, u"Desc. Item"_s});
        tabela.setCurrentCell(0, 1);
        auto* celula = new QLineEdit(tabela.viewport());
        for (QLineEdit* e : {noGrid, naLinha, semRotulo, celula}) {
            limitToField(e, *findTable("clientes"), "CXPOSTAL");
            QTest::keyClicks(e, u"x"_s);
        }
        QStringList textos;
        for (const MessageBox::Shown& caixa : MessageBox::shown())
            textos << caixa.text;
        const QString aviso = u"Este campo aceita somente números."_s;
        QCOMPARE(textos, (QStringList{u"Desc. %: "_s + aviso, u"Quantidade: "_s + aviso, aviso,
                                      u"Desc. Item: "_s + aviso}));
        MessageBox::setNextAnswers({});
    }
};

QAV_TEST_MAIN(TestGuiFieldValidator)
#include "tst_gui_fieldvalidator.moc"
