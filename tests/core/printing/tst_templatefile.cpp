#include "core/common/windows1252.h"
#include "core/printing/templatefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The template exchange file: what goes out comes back unchanged, and a file that does not
// fit is refused as a whole.
class TestTemplateFile : public QObject {
    Q_OBJECT

    static void writeBytes(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void roundTrip() {
        QTemporaryDir dir;
        PrintTemplateRecord record;
        record.bezeichnung = QStringLiteral("  Größe € \"zitiert\"");
        record.seitenrand = 15;
        record.kopfText = QStringLiteral("  $F$Kopf$N$  \r\n\"in Anführung\"\r\n");
        record.seitenText = QStringLiteral("&TEXT_1& %ZEIT%\r\n a=b ");
        record.fussText = QStringLiteral("Seite $SYSSEITE$");
        const QString path = dir.filePath(QStringLiteral("vorlage.DKMT"));
        QString error;
        QVERIFY2(templatefile::write(path, record, &error), qPrintable(error));

        const std::optional<PrintTemplateRecord> back = templatefile::read(path, &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->bezeichnung, record.bezeichnung);
        QCOMPARE(back->seitenrand, record.seitenrand);
        QCOMPARE(back->kopfText, record.kopfText);
        QCOMPARE(back->seitenText, record.seitenText);
        QCOMPARE(back->fussText, record.fussText);

        QFile file(path); // Windows-1252 holds "€" and the umlauts
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.contains("\x80"));
    }

    // Files written without added quotes read as before.
    void plainFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("alt.dkmt"));
        writeBytes(path, windows1252::encode(u"[Template]\r\nTitle=Liste\r\nMargin=20\r\n"
                                             u"[Head]\r\n0=Kopf\r\n1=\"Zeile\"\r\n"
                                             u"[Page]\r\n0=Text\r\n[Foot]\r\n0=Fuß\r\n"));
        QString error;
        const std::optional<PrintTemplateRecord> back = templatefile::read(path, &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->bezeichnung, QStringLiteral("Liste"));
        QCOMPARE(back->seitenrand, 20);
        QCOMPARE(back->kopfText, QStringLiteral("Kopf\r\nZeile"));
        QCOMPARE(back->fussText, QStringLiteral("Fuß"));
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray ok = "[Head]\r\n0=a\r\n";
        QTest::newRow("missing file") << QByteArray() << "da sie nicht vorhanden ist!";
        QTest::newRow("binary") << QByteArray("[Template]\r\nTitle=a\0b", 20) << "keine Textdatei";
        QTest::newRow("no template section") << ok << "[Template]";
        QTest::newRow("margin no number") << "[Template]\r\nMargin=zehn\r\n" + ok << "Seitenrand";
        QTest::newRow("margin too large") << "[Template]\r\nMargin=101\r\n" + ok << "Seitenrand";
        QTest::newRow("margin negative") << "[Template]\r\nMargin=-1\r\n" + ok << "Seitenrand";
        QTest::newRow("title too long")
            << "[Template]\r\nTitle=" + QByteArray(51, 'x') + "\r\n" + ok << "Bezeichnung";
        QTest::newRow("control character in the title")
            << "[Template]\r\nTitle=a\x02\r\n" + ok
            << "Die Bezeichnung enthält ein Steuerzeichen.";
        QTest::newRow("part too long")
            << "[Template]\r\nTitle=a\r\n[Page]\r\n0=" + QByteArray(40000, 'x') +
                   "\r\n1=" + QByteArray(30000, 'y') + "\r\n"
            << "65535";
    }

    void refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("datei.DKMT"));
        if (!bytes.isEmpty())
            writeBytes(path, bytes);
        QString error;
        QVERIFY(!templatefile::read(path, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("datei.DKMT")), qPrintable(error));
    }

    void missingFileMessage() {
        QString error;
        QVERIFY(!templatefile::read(QStringLiteral("/nicht/da.DKMT"), &error));
        QCOMPARE(error, QStringLiteral("Die Datei [/nicht/da.DKMT] konnte nicht importiert "
                                       "werden, da sie nicht vorhanden ist!"));
    }

    void exportFailureIsReported() {
        QString error;
        QVERIFY(!templatefile::write(QStringLiteral("/nicht/da/x.DKMT"), PrintTemplateRecord(),
                                     &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(QStringLiteral("/nicht/da/x.DKMT")));
    }

    void extension_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("path");
        QTest::newRow("none") << "/a/liste"
                              << "/a/liste.DKMT";
        QTest::newRow("lower case kept") << "/a/liste.dkmt"
                                         << "/a/liste.dkmt";
        QTest::newRow("other kept") << "/a/liste.txt"
                                    << "/a/liste.txt";
    }
    void extension() {
        QFETCH(QString, typed);
        QFETCH(QString, path);
        QCOMPARE(templatefile::withExtension(typed), path);
    }
};

QTEST_GUILESS_MAIN(TestTemplateFile)
#include "tst_templatefile.moc"
