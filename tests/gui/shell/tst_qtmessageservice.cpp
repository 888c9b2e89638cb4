#include "gui/shell/qtmessageservice.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Presses buttons of the box on screen by their text, once it is shown.
class TestQtMessageService : public QObject {
    Q_OBJECT

    static void pressLater(const QStringList& texts, QStringList* seen) {
        QTimer::singleShot(0, [texts, seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (seen->isEmpty()) {
                for (QAbstractButton* b : box->buttons())
                    seen->append(b->text());
            }
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == texts.first()) {
                    if (texts.size() > 1)
                        pressLater(texts.mid(1), seen);
                    b->click();
                    return;
                }
            }
            QFAIL("button not found");
        });
    }

private slots:
    void germanButtonsAndHelpIsNoAnswer() {
        QtMessageService service;
        QList<int> helpAsked;
        service.setHelpHandler([&](int context) { helpAsked.append(context); });
        QStringList seen;
        pressLater({QStringLiteral("Hilfe"), QStringLiteral("Nein")}, &seen);
        const MessageButton answer = service.confirm(
            QStringLiteral("Wirklich?"),
            MessageButton::Yes | MessageButton::No | MessageButton::Cancel | MessageButton::Help,
            40400);
        QCOMPARE(answer, MessageButton::No);
        QCOMPARE(helpAsked, QList<int>({40400}));
        for (const char* text : {"Ja", "Nein", "Abbrechen", "Hilfe"})
            QVERIFY2(seen.contains(QString::fromLatin1(text)), text);
    }

    void errorBoxAnswersOk() {
        QtMessageService service;
        QStringList seen;
        pressLater({QStringLiteral("OK")}, &seen);
        QCOMPARE(service.error(QStringLiteral("Fehler"), 5501), MessageButton::Ok);
        QCOMPARE(seen.size(), 2);
    }
};

QTEST_MAIN(TestQtMessageService)
#include "tst_qtmessageservice.moc"
