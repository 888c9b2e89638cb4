#include "support/processrun.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

// The usage texts: the full one names every command the README lists, and a command's own
// usage says what the full one says.
class TestToolUsage : public QObject {
    Q_OBJECT

    static QStringList synopsisLines(const QString& text) {
        QStringList lines;
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("  diskarium-tool ")))
                lines.append(line);
        return lines;
    }

    static QSet<QString> commandNames(const QStringList& lines) {
        static const QRegularExpression name(QStringLiteral("diskarium-tool ([a-z][a-z-]*)"));
        QSet<QString> names;
        for (const QString& line : lines)
            names.insert(name.match(line).captured(1));
        return names;
    }

private slots:
    void readmeListsEveryCommand() {
        const ProcessRun run = runTool({});
        QCOMPARE(run.exitCode, 2);
        QFile readme(QStringLiteral(README_PATH));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        // The command list: the indented block of the section on the tool.
        const qsizetype start = text.indexOf(QLatin1String("\n## diskarium-tool\n"));
        QVERIFY(start >= 0);
        const qsizetype end = text.indexOf(QLatin1String("\n## "), start + 1);
        QStringList listed;
        for (const QString& line : text.mid(start, end - start).split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("    diskarium-tool ")))
                listed.append(line);
        QCOMPARE(commandNames(listed), commandNames(synopsisLines(run.err)));
    }

    void commandUsageIsPartOfTheFullText_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("command");
        QTest::newRow("backup") << QStringList{"backup"} << "backup";
        QTest::newRow("cddb") << QStringList{"cddb"} << "cddb";
        QTest::newRow("add-cd") << QStringList{"add-cd"} << "add-cd";
        QTest::newRow("add --search") << QStringList{"add", "x", "--search"} << "add";
        QTest::newRow("carriers") << QStringList{"carriers"} << "carriers";
        QTest::newRow("print") << QStringList{"print"} << "print";
        QTest::newRow("search") << QStringList{"search"} << "search";
        QTest::newRow("labels") << QStringList{"labels"} << "labels";
        QTest::newRow("import-discogs") << QStringList{"import-discogs"} << "import-discogs";
    }
    void commandUsageIsPartOfTheFullText() {
        QFETCH(QStringList, args);
        QFETCH(QString, command);
        const QStringList full = runTool({}).err.split(QLatin1Char('\n'));
        const ProcessRun run = runTool(args);
        QCOMPARE(run.exitCode, 2);
        const QStringList own = synopsisLines(run.err);
        QVERIFY(commandNames(own).contains(command));
        // Each line of the command's synopsis, continuation lines included, stands in the
        // full text in the same order.
        const QStringList ownLines = run.err.split(QLatin1Char('\n'));
        for (qsizetype i = ownLines.indexOf(own.first()); i < ownLines.size(); ++i) {
            const QString& line = ownLines[i];
            if (!line.startsWith(QLatin1String("  ")))
                break;
            QVERIFY2(full.contains(line), qPrintable(line));
        }
    }
};

QTEST_MAIN(TestToolUsage)
#include "tst_toolusage.moc"
