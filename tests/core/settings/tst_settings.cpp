#include "core/common/inifile.h"
#include "core/settings/settings.h"
#include "core/settings/settingschanges.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QString::fromLatin1(settingsfile::kFileName)); }
    void writeFile(const QByteArray& content) {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }

private slots:
    void init() { QFile::remove(path()); }

    void missingFileGivesDefaultsAndIsCreatedOnWrite() {
        const Settings s = settingsfile::read(path());
        QCOMPARE(s, Settings());
        QVERIFY(!s.tabbedWindows); // windows, as always, until the user asks for tabs
        QVERIFY(!QFile::exists(path()));
        QVERIFY(settingsfile::write(path(), s));
        const auto ini = IniFile::load(path());
        QCOMPARE(ini->value(u"Currency", u"Date 1"), QStringLiteral("37256"));
        QCOMPARE(ini->value(u"CD-Support", u"CD Texttime Color"), QStringLiteral("8421376"));
        QCOMPARE(ini->value(u"TT Rename", u"2"), QStringLiteral("1"));
        QCOMPARE(ini->value(u"Toolbar", u"Button Type"), QStringLiteral("1"));
        QCOMPARE(settingsfile::read(path()), s);
    }

    void namesIgnoreLetterCase() {
        writeFile("[application]\r\nshow hints=0\r\n");
        QVERIFY(!settingsfile::read(path()).showHints);
    }

    void values_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("showToolbar");
        QTest::addColumn<int>("globalNumber");
        QTest::addColumn<int>("fontSize");
        QTest::newRow("any non-zero integer is true")
            << QByteArray("[Application]\nShow Toolbar=-7\nGlobal Number=42\n") << true << 42 << 11;
        QTest::newRow("zero is false")
            << QByteArray("[Application]\nShow Toolbar=0\n") << false << 1 << 11;
        QTest::newRow("garbage falls back to defaults")
            << QByteArray("[Application]\nShow Toolbar=ja\nGlobal Number=zwölf\n"
                          "[Helpdatabases]\nFont Size=groß\n")
            << true << 1 << 11;
        QTest::newRow("16-bit overflow falls back")
            << QByteArray("[Helpdatabases]\nFont Size=70000\n") << true << 1 << 11;
        QTest::newRow("16-bit value")
            << QByteArray("[Helpdatabases]\nFont Size=14\n") << true << 1 << 14;
    }
    void values() {
        QFETCH(QByteArray, content);
        QFETCH(bool, showToolbar);
        QFETCH(int, globalNumber);
        QFETCH(int, fontSize);
        writeFile(content);
        const Settings s = settingsfile::read(path());
        QCOMPARE(s.showToolbar, showToolbar);
        QCOMPARE(s.globalNumber, globalNumber);
        QCOMPARE(int(s.fontSize), fontSize);
    }

    void buttonTypeOutOfRangeKeepsBuiltMode() {
        writeFile("[Toolbar]\nButton Type=7\n");
        Settings s = settingsfile::read(path());
        QCOMPARE(s.buttonType, 1);
        QVERIFY(settingsfile::write(path(), s));
        QCOMPARE(IniFile::load(path())->value(u"Toolbar", u"Button Type"), QStringLiteral("1"));

        writeFile("[Toolbar]\nButton Type=3\n");
        QCOMPARE(settingsfile::read(path()).buttonType, 3);
    }

    void everyValueRoundTrips() {
        Settings s;
        s.printDialog = true;
        s.emfSavePath = QStringLiteral("/home/anna/Bilder");
        s.lastPrinter = QStringLiteral("PDF-Datei");
        s.buttonType = 3;
        s.showHints = false;
        s.globalNumbering = true;
        s.globalNumber = 1234;
        s.cdPlayerEndStatus = 2;
        s.cdPlayerColor = 0x00FF00;
        s.cdUseLed = true;
        s.fontName = QStringLiteral("Courier New");
        s.fontSizeLend = 9;
        s.singerSortOrder = QStringLiteral("Gruppe/Interpret/Text 1");
        s.exportImportPathTemplate = QStringLiteral("/tmp/Vorlagen äöü");
        s.cddbUserName = QStringLiteral("anna");
        s.musicBrainzServer = QStringLiteral("http://127.0.0.1:5000");
        s.coverArtServer = QStringLiteral("http://127.0.0.1:5001");
        s.lookupSource = 1;
        s.tabbedWindows = true;
        s.ttRename = {true, false, false, true, true, true, true};
        s.currencyOld = 3;
        s.currencyDate1 = 37256.5;
        s.currencyDate2 = 37257.5;
        QVERIFY(settingsfile::write(path(), s));
        QCOMPARE(IniFile::load(path())->value(u"Currency", u"Date 1"), QStringLiteral("37256,5"));
        QCOMPARE(IniFile::load(path())->value(u"Application", u"Tabbed Windows"),
                 QStringLiteral("1"));
        QCOMPARE(settingsfile::read(path()), s);
    }

    void unknownEntriesSurviveAWrite() {
        writeFile("[MainForm]\r\nLeft=12\r\n[Application]\r\nShow Hints=0\r\nMine=x\r\n");
        Settings s = settingsfile::read(path());
        s.showHints = true;
        QVERIFY(settingsfile::write(path(), s));
        const auto ini = IniFile::load(path());
        QCOMPARE(ini->value(u"MainForm", u"Left"), QStringLiteral("12"));
        QCOMPARE(ini->value(u"Application", u"Mine"), QStringLiteral("x"));
        QCOMPARE(ini->value(u"Application", u"Show Hints"), QStringLiteral("1"));
        QCOMPARE(ini->sections().first(), QStringLiteral("MainForm"));
    }

    void previewKeyIsSeparate() {
        QCOMPARE(settingsfile::readPreviewButtonType(path()), 0);
        QVERIFY(settingsfile::writePreviewButtonType(path(), 2));
        QCOMPARE(settingsfile::readPreviewButtonType(path()), 2);
        QVERIFY(settingsfile::write(path(), Settings()));
        QCOMPARE(settingsfile::readPreviewButtonType(path()), 2);
        QCOMPARE(settingsfile::read(path()).buttonType, 1);
    }

    void notificationsInApplyOrder() {
        Settings before;
        Settings after = before;
        QVERIFY(settingsNotifications(before, after).empty());
        after.cdPlayerColor = 0xFF;
        after.cdTexttimeColor = 0xFF00;
        after.getSongOrder = true;
        after.cdUseLed = true;
        after.showHints = false;
        after.ttRename[3] = true;
        using N = SettingsNotification;
        QCOMPARE(settingsNotifications(before, after),
                 std::vector<N>({N::Hints, N::CdLedMode, N::SongOrder, N::CdColour, N::CdColour,
                                 N::FieldLabels}));
    }

    void unwritableFileReportsAnError() {
        QString error;
        QVERIFY(!settingsfile::write(m_dir.filePath(QStringLiteral("no/such/dir/x.ini")),
                                     Settings(), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
