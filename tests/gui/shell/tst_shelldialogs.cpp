#include "gui/shell/helpviewer.h"
#include "gui/shell/readmedialog.h"
#include "gui/shell/tipdialog.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestShellDialogs : public QObject {
    Q_OBJECT

    static QPushButton* button(QWidget& w, const QString& text) {
        for (QPushButton* b : w.findChildren<QPushButton*>()) {
            if (b->text() == text)
                return b;
        }
        return nullptr;
    }

private slots:
    void tipsBrowseAndWrap() {
        std::vector<TipRecord> tips = {{"H", "eins"}, {"W", "zwei%sdrei"}, {"X", "vier"}};
        TfTipOfTheDay dialog(Tips(tips), 3, true);
        QCOMPARE(dialog.shownTip(), 1);
        QCOMPARE(dialog.title(), QStringLiteral("Wußten Sie schon..."));
        button(dialog, QStringLiteral("&Zurück"))->click();
        QCOMPARE(dialog.shownTip(), 3);
        QCOMPARE(dialog.title(), QString());
        button(dialog, QStringLiteral("&Weiter"))->click();
        button(dialog, QStringLiteral("&Weiter"))->click();
        QCOMPARE(dialog.shownTip(), 2);
        QCOMPARE(dialog.text(), QStringLiteral("zwei\ndrei"));
        QVERIFY(dialog.showAtStart());
    }

    void tipsWithoutTable_data() {
        QTest::addColumn<bool>("tableReadable");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty table") << true << ""
                                     << "";
        QTest::newRow("unreadable table")
            << false << "Oops..."
            << "Sorry, derzeit sind leider keine Ratschläge verfügbar!";
    }
    void tipsWithoutTable() {
        QFETCH(bool, tableReadable);
        QFETCH(QString, title);
        QFETCH(QString, text);
        std::optional<Tips> tips;
        if (tableReadable)
            tips.emplace(std::vector<TipRecord>());
        TfTipOfTheDay dialog(std::move(tips), 4, false);
        QCOMPARE(dialog.title(), title);
        QCOMPARE(dialog.text(), text);
        QVERIFY(!button(dialog, QStringLiteral("&Zurück"))->isEnabled());
        QVERIFY(!button(dialog, QStringLiteral("&Weiter"))->isEnabled());
        QCOMPARE(dialog.shownTip(), 4);
    }

    void readmeOfAMissingFile() {
        QTemporaryDir dir;
        TReadmeDialog dialog(dir.filePath(QStringLiteral("README.W32")));
        QCOMPARE(
            dialog.text(),
            QString(10, '\n') +
                QStringLiteral("                      Textdatei konnte nicht gefunden werden!"));
    }

    void readmeInWindowsEncoding() {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("README.W32")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Gr\xFC\xDF"
                "e");
        f.close();
        QCOMPARE(TReadmeDialog::load(f.fileName()), QStringLiteral("Grüße"));
    }

    void helpPagesByContextAndTopic_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("page");
        QTest::newRow("settings dialog") << "40400"
                                         << "qrc:/help/einstellungen.html";
        QTest::newRow("keyboard topic") << "HowTo_Keyboard"
                                        << "qrc:/help/tastatur.html";
        QTest::newRow("menu entry") << "10001"
                                    << "qrc:/help/menu-datei.html#10001";
        QTest::newRow("unknown") << "99999"
                                 << "qrc:/help/index.html";
    }
    void helpPagesByContextAndTopic() {
        QFETCH(QString, key);
        QFETCH(QString, page);
        QCOMPARE(HelpViewer::pageFor(key).toString(), page);
        QVERIFY(QFile::exists(QLatin1Char(':') + QUrl(page).path()));
    }
};

QTEST_MAIN(TestShellDialogs)
#include "tst_shelldialogs.moc"
