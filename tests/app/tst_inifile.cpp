#include "base/core/IniFile.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace qav;
using namespace Qt::StringLiterals;

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

private Q_SLOTS:
    void missingFileGivesDefaults() {
        const IniFile ini(path("nada.ini"));
        QCOMPARE(ini.readInt(u"Pedidos"_s, u"Situação"_s, 5), 5);
        QCOMPARE(ini.readString(u"Qav"_s, u"Pasta"_s, u"dados"_s), u"dados"_s);
        QVERIFY(!ini.value(u"Qav"_s, u"Pasta"_s).has_value());
        QVERIFY(!QFile::exists(ini.path()));
    }

    void missingSectionOrKeyGivesDefault() {
        writeBytes(path("a.ini"), "[Qav]\r\nPasta=loja\r\n");
        const IniFile ini(path("a.ini"));
        QCOMPARE(ini.readInt(u"Qav"_s, u"Empresa-loja"_s, 7), 7);
        QCOMPARE(ini.readInt(u"Outra"_s, u"Pasta"_s, 3), 3);
        QCOMPARE(ini.readString(u"Qav"_s, u"Pasta"_s, u"dados"_s), u"loja"_s);
    }

    void numbers_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << QByteArray("n=42") << 42;
        QTest::newRow("negative") << QByteArray("n=-3") << -3;
        QTest::newRow("spaces around") << QByteArray("n =  17 ") << 17;
        QTest::newRow("text") << QByteArray("n=abc") << 0;
        QTest::newRow("digits then text") << QByteArray("n=12abc") << 0;
        QTest::newRow("decimal") << QByteArray("n=1,5") << 0;
        QTest::newRow("empty") << QByteArray("n=") << 0;
        QTest::newRow("overflow") << QByteArray("n=99999999999") << 0;
    }
    void numbers() {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        writeBytes(path("n.ini"), "[S]\r\n" + line + "\r\n");
        QCOMPARE(IniFile(path("n.ini")).readInt(u"S"_s, u"n"_s, 99), expected);
    }

    void writeCreatesFileSectionAndKey() {
        IniFile ini(path("novo.ini"));
        QVERIFY(ini.writeInt(u"Pedidos"_s, u"Situacao"_s, 2));
        QCOMPARE(readBytes(ini.path()), QByteArray("[Pedidos]\r\nSituacao=2\r\n"));
        QVERIFY(ini.writeString(u"ImpPedido"_s, u"modelo"_s, u"3"_s));
        QVERIFY(ini.writeInt(u"Pedidos"_s, u"Outro"_s, 9));
        QCOMPARE(readBytes(ini.path()),
                 QByteArray("[Pedidos]\r\nSituacao=2\r\nOutro=9\r\n\r\n[ImpPedido]\r\nmodelo=3\r\n"));
        QCOMPARE(ini.readInt(u"ImpPedido"_s, u"modelo"_s, 1), 3);
    }

    void writeKeepsOtherLines() {
        const QByteArray before =
            "; configura\xe7\xe3o\r\n[Qav]\r\nPasta=dados\r\n  ; nota  \r\nEmpresa-dados=1\r\n\r\n"
            "[BD Gerente]\r\nHost=srv\r\n";
        writeBytes(path("k.ini"), before);
        IniFile ini(path("k.ini"));
        QVERIFY(ini.writeInt(u"Qav"_s, u"Empresa-dados"_s, 12));
        QVERIFY(ini.writeString(u"Qav"_s, u"Pasta 1"_s, u"filial"_s));
        QCOMPARE(
            readBytes(ini.path()),
            QByteArray("; configura\xe7\xe3o\r\n[Qav]\r\nPasta=dados\r\n  ; nota  \r\nEmpresa-dados=12\r\n"
                       "Pasta 1=filial\r\n\r\n[BD Gerente]\r\nHost=srv\r\n"));
    }

    void writeKeepsUnixLineEnds() {
        writeBytes(path("lf.ini"), "[A]\nx=1\n");
        IniFile ini(path("lf.ini"));
        QVERIFY(ini.writeInt(u"A"_s, u"y"_s, 2));
        QCOMPARE(readBytes(ini.path()), QByteArray("[A]\nx=1\ny=2\n"));
    }

    void removeKey() {
        writeBytes(path("r.ini"), "[W]\r\nXPos=1\r\nYPos=2\r\n[V]\r\nXPos=5\r\n");
        IniFile ini(path("r.ini"));
        QVERIFY(ini.removeKey(u"W"_s, u"xpos"_s));
        QVERIFY(ini.removeKey(u"W"_s, u"Width"_s)); // absent: nothing to do
        QVERIFY(ini.removeKey(u"Nenhuma"_s, u"XPos"_s));
        QCOMPARE(readBytes(ini.path()), QByteArray("[W]\r\nYPos=2\r\n[V]\r\nXPos=5\r\n"));
        QCOMPARE(ini.readInt(u"V"_s, u"XPos"_s, 0), 5);
    }

    void windows1252OnDisk() {
        IniFile ini(path("gerente.ini"));
        QVERIFY(ini.writeString(u"BD Gerente"_s, u"Usuário"_s, u"João"_s));
        QCOMPARE(readBytes(ini.path()), QByteArray("[BD Gerente]\r\nUsu\xe1rio=Jo\xe3o\r\n"));
        QCOMPARE(ini.readString(u"BD Gerente"_s, u"Usuário"_s), u"João"_s);
    }

    void characterOutsideWindows1252IsRefused() {
        writeBytes(path("x.ini"), "[A]\r\nv=1\r\n");
        IniFile ini(path("x.ini"));
        QVERIFY(!ini.writeString(u"A"_s, u"v"_s, u"\u4e2d"_s));
        QVERIFY(!ini.writeString(u"A"_s, u"\u4e2d"_s, u"1"_s));
        QCOMPARE(readBytes(ini.path()), QByteArray("[A]\r\nv=1\r\n"));
    }

    void unreadableNamesAreRefused_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line break in value") << u"A"_s << u"k"_s << u"1\r\n[B]"_s;
        QTest::newRow("equals in key") << u"A"_s << u"k=1"_s << u"2"_s;
        QTest::newRow("bracket in section") << u"A]"_s << u"k"_s << u"2"_s;
        QTest::newRow("empty key") << u"A"_s << QString() << u"2"_s;
        QTest::newRow("comment key") << u"A"_s << u";k"_s << u"2"_s;
    }
    void unreadableNamesAreRefused() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        IniFile ini(path("bad.ini"));
        QVERIFY(!ini.writeString(section, key, value));
        QVERIFY(!QFile::exists(ini.path()));
    }

    void readsUtf8File() {
        writeBytes(path("u.ini"),
                   QString(u"[Pedidos]\r\nSituação=3\r\n[BD Gerente]\r\nUsuário=José\r\n"_s).toUtf8());
        const IniFile ini(path("u.ini"));
        QCOMPARE(ini.readInt(u"Pedidos"_s, u"Situação"_s, 5), 3);
        QCOMPARE(ini.readString(u"BD Gerente"_s, u"Usuário"_s), u"José"_s);
    }

    void rewritingUtf8FileConvertsToWindows1252() {
        writeBytes(path("u2.ini"), QString(u"[Pedidos]\r\nSituação=3\r\n"_s).toUtf8());
        IniFile ini(path("u2.ini"));
        QVERIFY(ini.writeInt(u"Pedidos"_s, u"Situação"_s, 4));
        QCOMPARE(readBytes(ini.path()), QByteArray("[Pedidos]\r\nSitua\xe7\xe3o=4\r\n"));
    }

    void utf8LinesOutsideWindows1252AreKept() {
        const QString before = u"; seta \u2192\r\n[A]\r\nv=1\r\n"_s;
        writeBytes(path("u3.ini"), before.toUtf8());
        IniFile ini(path("u3.ini"));
        QVERIFY(ini.writeInt(u"A"_s, u"v"_s, 2));
        QCOMPARE(QString::fromUtf8(readBytes(ini.path())), u"; seta \u2192\r\n[A]\r\nv=2\r\n"_s);
    }

    void lookupIgnoresCase() {
        writeBytes(path("c.ini"), "[QAVPLUS]\r\nversaobd=186\r\n[Bd Gerente]\r\nUSU\xc1RIO=ana\r\n");
        IniFile ini(path("c.ini"));
        QCOMPARE(ini.readInt(u"QAVPlus"_s, u"VersaoBD"_s, 0), 186);
        QCOMPARE(ini.readString(u"BD Gerente"_s, u"Usuário"_s), u"ana"_s);
        // The existing line is replaced and written with the case given.
        QVERIFY(ini.writeInt(u"QAVPlus"_s, u"VersaoBD"_s, 187));
        QCOMPARE(readBytes(ini.path()),
                 QByteArray("[QAVPLUS]\r\nVersaoBD=187\r\n[Bd Gerente]\r\nUSU\xc1RIO=ana\r\n"));
    }

    void firstSectionAndKeyWin() {
        writeBytes(path("d.ini"), "[A]\r\nk=1\r\nk=2\r\n[A]\r\nk=3\r\n");
        QCOMPARE(IniFile(path("d.ini")).readInt(u"A"_s, u"k"_s, 0), 1);
    }

    void bdVerWithoutSectionReadsZero() {
        writeBytes(path("bd.ver"), "VersaoBD=186\r\n");
        QCOMPARE(IniFile(path("bd.ver")).readInt(u"QAVPlus"_s, u"VersaoBD"_s, 0), 0);
    }

    void failedWriteReturnsFalse() {
        IniFile ini(dir.filePath(u"semPasta/qav.ini"_s));
        QVERIFY(!ini.writeInt(u"A"_s, u"k"_s, 1));
        QCOMPARE(ini.readInt(u"A"_s, u"k"_s, 8), 8);
    }

    void valueWithEqualsAndSpaces() {
        IniFile ini(path("e.ini"));
        QVERIFY(ini.writeString(u"BD Gerente"_s, u"Senha"_s, u"  a=b c  "_s));
        QCOMPARE(ini.readString(u"BD Gerente"_s, u"Senha"_s), u"a=b c"_s);
    }
};

QAV_TEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
