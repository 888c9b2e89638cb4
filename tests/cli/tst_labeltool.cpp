#include "core/db/database.h"
#include "core/db/dataset.h"
#include "support/processrun.h"

#include <QTemporaryDir>
#include <QTest>

// diskarium-tool labels, run as the user runs it.
class TestLabelTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString dataDirectory() const { return m_dir.filePath(QStringLiteral("daten")); }

    ProcessRun labels(const QStringList& args) {
        return runTool(QStringList{QStringLiteral("labels"), dataDirectory()} + args);
    }
    QStringList lines() { return labels({}).out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

private slots:
    void initTestCase() { dataset::create(dataDirectory()); }

    void listsEveryLabelKey() {
        const QStringList all = lines();
        QCOMPARE(all.size(), 30);
        QCOMPARE(all.first(), QStringLiteral("10110\t&Gruppe\t"));
        QCOMPARE(all.last(), QStringLiteral("10570\tTan&zstil\t"));
    }

    void setAndReset() {
        QCOMPARE(labels({QStringLiteral("set"), QStringLiteral("10190"), QStringLiteral("La&bel")})
                     .exitCode,
                 0);
        QVERIFY(lines().contains(QStringLiteral("10190\tHer&steller\tLa&bel")));
        const ProcessRun kind = labels({QStringLiteral("--template-kind"), QStringLiteral("1")});
        QCOMPARE(kind.exitCode, 0);
        QVERIFY(kind.out.contains(
            QStringLiteral("10190\tHersteller (Firma, Label)\tHERSTELLER\tLa&bel\n")));
        QVERIFY(!kind.out.contains(QStringLiteral("\tTITEL\t")));
        QCOMPARE(labels({QStringLiteral("reset"), QStringLiteral("10190")}).exitCode, 0);
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
        const ProcessRun run = labels(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        for (const QString& line : lines())
            QVERIFY2(line.endsWith(QLatin1Char('\t')), qPrintable(line)); // nothing stored
    }
};

QTEST_GUILESS_MAIN(TestLabelTool)
#include "tst_labeltool.moc"
