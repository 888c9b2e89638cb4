#include "core/printing/templateinterpreter.h"

#include <QTest>
#include <map>

// The template language: how characters, placeholders and line ends of a part become
// printed lines.
class TestTemplateInterpreter : public QObject {
    Q_OBJECT

    struct FixedNames : TemplateNames {
        std::map<QString, TemplateValue> values;
        std::optional<TemplateValue> resolve(const QString& name) const override {
            const auto it = values.find(name);
            return it == values.end() ? std::nullopt : std::optional(it->second);
        }
    };

private slots:
    void interpret_data() {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("lineEnds"); // how often the page-break hook ran

        const QString blanks47(47, QLatin1Char(' '));
        QTest::newRow("plain line") << "abc" << QStringList{"abc"} << 0;
        QTest::newRow("CR LF ends lines") << "a\r\nb" << QStringList{"a", "b"} << 1;
        QTest::newRow("closing break prints an empty line") << "a\r\n" << QStringList{"a", ""} << 1;
        QTest::newRow("lone LF is skipped") << "a\nb" << QStringList{"ab"} << 0;
        QTest::newRow("several lines with a closing break") << "a\r\nb\r\n"
                                                            << QStringList{"a", "b", ""} << 2;
        QTest::newRow("empty part prints nothing") << "" << QStringList{} << 0;
        QTest::newRow("dollar pair") << "a$$b" << QStringList{"a$b"} << 0;
        QTest::newRow("empty placeholders") << "a&&b%%c" << QStringList{"abc"} << 0;
        QTest::newRow("unknown name prints bare") << "x$WER$y" << QStringList{"xWERy"} << 0;
        QTest::newRow("lone percent swallows the line and its end")
            << "a%rest\r\nb" << QStringList{"arestb"} << 0;
        QTest::newRow("placeholder closed by CR joins lines")
            << "$TEXT_1\r\nnext" << QStringList{"Abbanext"} << 0;
        QTest::newRow("left aligned pads to width + 1")
            << "&TEXT_1&|" << QStringList{"Abba" + blanks47 + "|"} << 0;
        QTest::newRow("right aligned pads in front")
            << "%TEXT_1%|" << QStringList{blanks47 + "Abba|"} << 0;
        QTest::newRow("long value unpadded")
            << "&LONG&|" << QStringList{QString(60, QLatin1Char('x')) + "|"} << 0;
        QTest::newRow("numbers are not padded by the sigil")
            << "&ZEIT&|" << QStringList{"  12.50|"} << 0;
        QTest::newRow("missing lookup row prints padded empty value")
            << "&ART&|" << QStringList{QString(11, QLatin1Char(' ')) + "|"} << 0;
        QTest::newRow("style codes") << "$F$a$N$" << QStringList{"%F%a%N%"} << 0;
        QTest::newRow("page number") << "S. $SYSSEITE$" << QStringList{"S. 3"} << 0;
        QTest::newRow("date") << "$SYSDATUM$" << QStringList{"24.12.2026"} << 0;
        QTest::newRow("names are case-sensitive") << "$text_1$" << QStringList{"text_1"} << 0;
        QTest::newRow("name running to the end of the part")
            << "a&TEXT_1" << QStringList{"aAbba" + blanks47} << 0;
    }

    void interpret() {
        QFETCH(QString, part);
        QFETCH(QStringList, lines);
        QFETCH(int, lineEnds);

        FixedNames names;
        names.values[QStringLiteral("TEXT_1")] = {QStringLiteral("Abba"), 50};
        names.values[QStringLiteral("LONG")] = {QString(60, QLatin1Char('x')), 50};
        names.values[QStringLiteral("ZEIT")] = {templateformat::fixed72(12.5)};
        names.values[QStringLiteral("ART")] = {QString(), 10};
        StandardTemplateNames standard([] { return 3; }, QDate(2026, 12, 24));

        TemplateInterpreter interpreter;
        QStringList written;
        interpreter.writeLine = [&](const QString& line) { written << line; };
        interpreter.setNames({&standard, &names});
        int hooks = 0;
        QCOMPARE(interpreter.run(part, [&] { ++hooks; }), TemplateInterpreter::Result::Done);
        QCOMPARE(written, lines);
        QCOMPARE(hooks, lineEnds);
    }

    void formats_data() {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const std::optional<double> none;
        QTest::newRow("fixed 7.2") << templateformat::fixed72(12.5) << "  12.50";
        QTest::newRow("fixed 7.2 empty") << templateformat::fixed72(none) << "   0.00";
        QTest::newRow("fixed 7.2 wide") << templateformat::fixed72(123456.789) << "123456.79";
        QTest::newRow("integer width 5") << templateformat::integer(42.0, 5) << "   42";
        QTest::newRow("integer width empty") << templateformat::integer(none, 5) << "    0";
        QTest::newRow("integer") << templateformat::integer(7.0) << "7";
        QTest::newRow("text number") << templateformat::text(2.5) << "2,5";
        QTest::newRow("text number whole") << templateformat::text(1984.0) << "1984";
        QTest::newRow("text number empty") << templateformat::text(none) << "0";
        QTest::newRow("no date") << templateformat::text(QDate()) << "";
    }

    void formats() {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    // The point stays a point under a locale with a decimal comma.
    void fixedIgnoresLocale() {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString text = templateformat::fixed72(3.45);
        QLocale::setDefault(before);
        QCOMPARE(text, QStringLiteral("   3.45"));
    }

    // The flag is asked before every character: a part stops in the middle of a line.
    void abortMidPart() {
        TemplateInterpreter interpreter;
        QStringList written;
        interpreter.writeLine = [&](const QString& line) { written << line; };
        int asked = 0;
        interpreter.abortRequested = [&] { return ++asked > 4; };
        QCOMPARE(interpreter.run(QStringLiteral("ab\r\ncd\r\nef")),
                 TemplateInterpreter::Result::Aborted);
        QCOMPARE(written, QStringList{QStringLiteral("ab")});
    }

    void lineCount_data() {
        QTest::addColumn<QString>("part");
        QTest::addColumn<int>("count");
        QTest::newRow("one line") << "a" << 1;
        QTest::newRow("two lines") << "a\r\nb" << 2;
        QTest::newRow("closing break") << "a\r\nb\r\n" << 3;
    }
    void lineCount() {
        QFETCH(QString, part);
        QFETCH(int, count);
        QCOMPARE(TemplateInterpreter::lineCount(part), count);
    }
};

QTEST_GUILESS_MAIN(TestTemplateInterpreter)
#include "tst_templateinterpreter.moc"
