#include "core/catalogue/textsearch.h"

#include <QTest>

class TestTextSearch : public QObject {
    Q_OBJECT
private slots:
    void find_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<qsizetype>("from");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<qsizetype>("expected");
        const QString t = QStringLiteral("Das Haus am See, das Haus");
        QTest::newRow("forward") << t << "haus" << qsizetype(0) << true << false << false
                                 << qsizetype(4);
        QTest::newRow("forward from selection end")
            << t << "haus" << qsizetype(8) << true << false << false << qsizetype(21);
        QTest::newRow("match case")
            << t << "das" << qsizetype(0) << true << true << false << qsizetype(17);
        QTest::newRow("backwards from selection start")
            << t << "haus" << qsizetype(21) << false << false << false << qsizetype(4);
        QTest::newRow("backwards none")
            << t << "haus" << qsizetype(4) << false << false << false << qsizetype(-1);
        QTest::newRow("not found")
            << t << "Berg" << qsizetype(0) << true << false << false << qsizetype(-1);
        // Umlauts and ß are letters: "Bär" does not match inside "Bären".
        QTest::newRow("whole word umlaut") << QStringLiteral("Bären Bär") << QStringLiteral("Bär")
                                           << qsizetype(0) << true << false << true << qsizetype(6);
        QTest::newRow("whole word ß") << QStringLiteral("Straße Stra") << "Stra" << qsizetype(0)
                                      << true << false << true << qsizetype(7);
        QTest::newRow("whole word backwards")
            << QStringLiteral("Hund Hunde") << "Hund" << qsizetype(10) << false << false << true
            << qsizetype(0);
    }
    void find() {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(qsizetype, from);
        QFETCH(bool, forward);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(qsizetype, expected);
        QCOMPARE(textsearch::find(text, what, from, {forward, matchCase, wholeWord}), expected);
    }

    void replaceAll_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("with");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("count");
        QTest::newRow("grows") << "a b a"
                               << "a"
                               << "aa"
                               << "aa b aa" << 2;
        QTest::newRow("case-insensitive") << "A a"
                                          << "a"
                                          << "x"
                                          << "x x" << 2;
        QTest::newRow("shrinks") << "aaaa"
                                 << "aa"
                                 << "a"
                                 << "aa" << 2;
    }
    void replaceAll() {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(QString, with);
        QFETCH(QString, expected);
        QFETCH(int, count);
        QCOMPARE(textsearch::replaceAll(text, what, with, 0, {}), count);
        QCOMPARE(text, expected);
    }
};

QTEST_GUILESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
