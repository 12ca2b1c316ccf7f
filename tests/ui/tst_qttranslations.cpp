// Qt's own dialogs and buttons speak Brazilian Portuguese.
#include "tests/support/TestMain.h"
#include "ui/core/QtTranslations.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestQtTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void qtTextsInPortuguese_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("portuguese");
        QTest::newRow("standard button") << u"QPlatformTheme"_s << u"Cancel"_s << u"Cancelar"_s;
        QTest::newRow("file dialog") << u"QFileDialog"_s << u"File &name:"_s << u"&Nome do arquivo:"_s;
        QTest::newRow("print dialog") << u"QPrintDialog"_s << u"Print"_s << u"Imprimir"_s;
    }
    void qtTextsInPortuguese() {
        QFETCH(QString, context);
        QFETCH(QString, english);
        QFETCH(QString, portuguese);
        QTranslator* translator = qav::installQtTranslations(*QCoreApplication::instance());
        QVERIFY(translator);
        QCOMPARE(QCoreApplication::translate(context.toLatin1().constData(), english.toUtf8().constData()),
                 portuguese);
        QCoreApplication::removeTranslator(translator);
        delete translator;
        QCOMPARE(QCoreApplication::translate(context.toLatin1().constData(), english.toUtf8().constData()),
                 english);
    }
};

QAV_TEST_GUILESS_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
