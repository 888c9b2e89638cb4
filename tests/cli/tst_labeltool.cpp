#include "core/db/database.h"
#include "core/db/dataset.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// diskarium-tool labels, run as the user runs it.
class TestLabelTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString dataDirectory() const { return m_dir.filePath(QStringLiteral("daten")); }

    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run tool(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(DISKARIUM_TOOL),
                QStringList{QStringLiteral("labels"), dataDirectory()} + args);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QStringList lines() { return tool({}).out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

private slots:
    void initTestCase() { dataset::create(dataDirectory()); }

    void listsEveryLabelKey() {
        const QStringList all = lines();
        QCOMPARE(all.size(), 30);
        QCOMPARE(all.first(), QStringLiteral("10110\t&Gruppe\t"));
        QCOMPARE(all.last(), QStringLiteral("10570\tTan&zstil\t"));
    }

    void setAndReset() {
        QCOMPARE(tool({QStringLiteral("set"), QStringLiteral("10190"), QStringLiteral("La&bel")})
                     .exitCode,
                 0);
        QVERIFY(lines().contains(QStringLiteral("10190\tHer&steller\tLa&bel")));
        const Run kind = tool({QStringLiteral("--template-kind"), QStringLiteral("1")});
        QCOMPARE(kind.exitCode, 0);
        QVERIFY(kind.out.contains(
            QStringLiteral("10190\tHersteller (Firma, Label)\tHERSTELLER\tLa&bel\n")));
        QVERIFY(!kind.out.contains(QStringLiteral("\tTITEL\t")));
        QCOMPARE(tool({QStringLiteral("reset"), QStringLiteral("10190")}).exitCode, 0);
        QVERIFY(lines().contains(QStringLiteral("10190\tHer&steller\t")));
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        const QString tooLong(31, QLatin1Char('x'));
        QTest::newRow("no label key") << QStringList{"set", "20010", "Art"} << "kein Feldschlüssel";
        QTest::newRow("not a number") << QStringList{"reset", "Titel"} << "kein Feldschlüssel";
        QTest::newRow("empty name") << QStringList{"set", "10110", ""} << "nicht leer";
        QTest::newRow("too long") << QStringList{"set", "10110", tooLong} << "höchstens 30";
    }
    void refusals() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const Run run = tool(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        for (const QString& line : lines())
            QVERIFY2(line.endsWith(QLatin1Char('\t')), qPrintable(line)); // nothing stored
    }
};

QTEST_GUILESS_MAIN(TestLabelTool)
#include "tst_labeltool.moc"
