#include "core/common/inifile.h"

#include <QTemporaryDir>
#include <QTest>

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void lookupIgnoresLetterCase() {
        const IniFile ini = IniFile::fromText(QStringLiteral("[application]\nshow hints = 0 \n"));
        QCOMPARE(ini.value(u"Application", u"Show Hints"), QStringLiteral("0"));
        QVERIFY(!ini.value(u"Application", u"Show Toolbar"));
        QVERIFY(!ini.value(u"Other", u"Show Hints"));
    }

    void quotes_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("stripped");
        QTest::newRow("quoted") << "\"Die Ärzte\""
                                << "\"Die Ärzte\""
                                << "Die Ärzte";
        QTest::newRow("only one pair") << "\"\"x\"\""
                                       << "\"\"x\"\""
                                       << "\"x\"";
        QTest::newRow("unbalanced") << "\"open"
                                    << "\"open"
                                    << "\"open";
        QTest::newRow("plain") << "  Abba  "
                               << "Abba"
                               << "Abba";
    }
    void quotes() {
        QFETCH(QString, raw);
        QFETCH(QString, kept);
        QFETCH(QString, stripped);
        const IniFile ini = IniFile::fromText(QStringLiteral("[S]\nK=") + raw);
        QCOMPARE(ini.value(u"S", u"K"), kept);
        QCOMPARE(ini.value(u"S", u"K", IniFile::Quotes::Strip), stripped);
    }

    void updateKeepsEveryOtherLine() {
        IniFile ini = IniFile::fromText(
            QStringLiteral("; comment\n[A]\nx=1\n\n[MainForm]\nLeft=10\n[A]\ny=2\n[B]\nz=3\n"));
        ini.setValue(QStringLiteral("a"), QStringLiteral("X"), QStringLiteral("5"));
        ini.setValue(QStringLiteral("A"), QStringLiteral("new"), QStringLiteral("6"));
        ini.setValue(QStringLiteral("C"), QStringLiteral("w"), QStringLiteral("7"));
        QCOMPARE(ini.text(),
                 QStringLiteral("; comment\r\n[A]\r\nx=5\r\nnew=6\r\n\r\n[MainForm]\r\n"
                                "Left=10\r\n[A]\r\ny=2\r\n[B]\r\nz=3\r\n\r\n[C]\r\nw=7\r\n"));
        QCOMPARE(ini.value(u"A", u"y"), QStringLiteral("2")); // a repeated section is read too
        QCOMPARE(ini.keys(u"a"), QStringList({"x", "new", "y"}));
        QCOMPARE(ini.sections(), QStringList({"A", "MainForm", "B", "C"}));
    }

    // Each look-up between changes sees the lines as they are now.
    void lookupsFollowChanges() {
        IniFile ini = IniFile::fromText(QStringLiteral("[A]\nx=1\n[B]\ny=2\n[C]\n[k=3\n"));
        QCOMPARE(ini.value(u"B", u"y"), QStringLiteral("2"));
        ini.setValue(QStringLiteral("A"), QStringLiteral("w"), QStringLiteral("4"));
        QCOMPARE(ini.value(u"b", u"Y"), QStringLiteral("2"));
        ini.removeKey(u"A", u"x");
        ini.removeKey(u"A", u"x");
        QCOMPARE(ini.value(u"A", u"w"), QStringLiteral("4"));
        QCOMPARE(ini.value(u"B", u"y"), QStringLiteral("2"));
        QVERIFY(!ini.contains(u"A", u"x"));
        // A value that turns its line into a section header.
        ini.setValue(QStringLiteral("C"), QStringLiteral("[k"), QStringLiteral("5]"));
        QVERIFY(!ini.contains(u"C", u"[k"));
        QCOMPARE(ini.sections(), QStringList({"A", "B", "C", "k=5"}));
        ini.setValue(QStringLiteral("k=5"), QStringLiteral("z"), QStringLiteral("6"));
        QCOMPARE(ini.value(u"K=5", u"Z"), QStringLiteral("6"));
        QCOMPARE(ini.text(), QStringLiteral("[A]\r\nw=4\r\n[B]\r\ny=2\r\n[C]\r\n[k=5]\r\nz=6\r\n"));
    }

    void saveAndLoad() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("test.ini"));
        QVERIFY(IniFile::load(path).has_value()); // a missing file is an empty one
        IniFile ini;
        ini.setValue(QStringLiteral("Sektion"), QStringLiteral("Größe"), QStringLiteral("5 €"));
        QVERIFY(ini.save(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("[Sektion]\r\nGr\xF6\xDF"
                                         "e=5 \x80\r\n"));
        const auto back = IniFile::load(path);
        QVERIFY(back);
        QCOMPARE(back->value(u"sektion", u"GRÖSSE"), std::nullopt); // ß is no ss in names
        QCOMPARE(back->value(u"sektion", u"größe"), QStringLiteral("5 €"));
    }

    void unreadableFileIsAnError() {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!IniFile::load(dir.path(), &error)); // a directory cannot be read as a file
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
