#include "core/catalogue/songstore.h"
#include "entrywindowfixture.h"
#include "gui/catalogue/carrierpage.h"
#include "gui/catalogue/cataloguecommands.h"
#include "gui/catalogue/lookupcombo.h"
#include "gui/cd/cddblookup.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/discimage.h"
#include "support/fakecddbserver.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

class TestCatalogueCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<EntryWindowFixture> f;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    CatalogueCommands* m_commands = nullptr;

    int windows() const { return int(m_main->mdiArea()->subWindowList().size()); }
    // The server knows one disc "Band / Platte" with two songs and is the only one offered.
    bool serveDisc(FakeCddbServer& server) {
        server.replies.insert("cddb query", "200 rock 0a0b0c0d Band / Platte\r\n");
        server.replies.insert("cddb read", "210 rock 0a0b0c0d CD database entry follows\r\n"
                                           "DTITLE=Band / Platte\r\nTTITLE0=Eins\r\n"
                                           "TTITLE1=Zwei\r\nEXTD=Zusatz\r\n.\r\n");
        f->state->settings.cddbUserName = QStringLiteral("tester");
        QFile hosts(f->state->dataFile(QStringLiteral("cddbhosts.txt")));
        return hosts.open(QIODevice::WriteOnly) &&
               hosts.write(server.serverLine().toLatin1() + "\r\n") > 0;
    }
    static quint32 discId(const QString& image) {
        CdTocResult toc;
        ReadCDToc(1, image, nullptr, toc);
        return toc.discId;
    }

private slots:
    void init() {
        f = std::make_unique<EntryWindowFixture>();
        QVERIFY(f->state);
        f->state->settings.showTip = false;
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*f->state, *m_hints);
        m_commands = new CatalogueCommands(*m_main, f->messages);
        m_commands->install();
        m_main->show();
        QApplication::setActiveWindow(m_main.get());
        QTRY_VERIFY(m_main->isEnabled()); // the main window enables itself after showing
    }
    void cleanup() {
        m_main.reset();
        f.reset();
    }

    void ctrlETwice() {
        QAction* command = m_main->action(MainCommand::NewCarrier);
        QTRY_VERIFY(command->isEnabled());
        QCOMPARE(command->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
        QTest::keyClick(m_main.get(), Qt::Key_E, Qt::ControlModifier);
        QTest::keyClick(m_main.get(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(windows(), 2);
        const QStringList titles = {m_main->mdiArea()->subWindowList()[0]->windowTitle(),
                                    m_main->mdiArea()->subWindowList()[1]->windowTitle()};
        QVERIFY(titles[0].startsWith(QStringLiteral("Tonträger Nr.: ")));
        QCOMPARE(titles[1].mid(15).toInt(), titles[0].mid(15).toInt() + 1);
    }

    // Windows are found by carrier number: two carriers with equal captions get two windows.
    void openByNumber() {
        const int a = f->storeCarrier();
        f->state->db.exec(u"UPDATE \"MUSIKKOP\" SET \"Nummerierung\" = 1");
        const int b = f->storeCarrier();
        TMainTtDialog* first = m_commands->openCarrier(a);
        QVERIFY(first);
        TMainTtDialog* second = m_commands->openCarrier(b);
        QVERIFY(second && second != first);
        QCOMPARE(first->windowTitle(), second->windowTitle());
        QCOMPARE(m_commands->openCarrier(a), first);
        QCOMPARE(windows(), 2);
        QCOMPARE(m_main->mdiArea()->activeSubWindow()->widget(), first);
        QVERIFY(!m_commands->openCarrier(99));
        QCOMPARE(windows(), 2);
        QCOMPARE(f->messages.messages().last().text,
                 QStringLiteral("Der Tonträger Nr. 99 ist nicht (mehr) vorhanden."));
    }

    // Closing the program asks the open window's question; "Abbrechen" keeps it running.
    void programEndAsks() {
        TMainTtDialog* w = m_commands->newCarrier();
        w->carrierPage()->groupEdit()->setText(QStringLiteral("G"));
        f->messages.answer(MessageButton::Cancel);
        QVERIFY(!m_main->close());
        QCOMPARE(windows(), 1);
        QCOMPARE(f->messages.messages().last().helpContext, 30012);
    }

    // The program's lookup runs the dialog "CDDB-Server abfragen" against a server.
    void readingThroughTheDialog() {
        FakeCddbServer server;
        QVERIFY(serveDisc(server));
        f->state->cdDrives = {QStringLiteral("/dev/sr0")};
        f->images = {writeDiscImage(f->dir->path(), "a", {{40, true}, {20, true}})};
        m_commands->hooks().tocReader = f->hooks().tocReader;
        TMainTtDialog* w = m_commands->newCarrier();
        bool ran = false;
        QTimer::singleShot(0, this, [&ran] {
            auto* dialog = qobject_cast<TCDDBLookup*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->query();
            dialog->read();
            ran = true;
        });
        f->messages.answer(MessageButton::Yes);
        f->messages.answer(MessageButton::No);
        w->carrierPage()->readCd();
        QVERIFY(ran);
        QCOMPARE(w->carrierPage()->groupEdit()->text(), QStringLiteral("Band"));
        QCOMPARE(w->carrierPage()->titleEdit()->text(), QStringLiteral("Platte"));
        w->carrierPage()->typeCombo()->setCurrentIndex(
            w->carrierPage()->typeCombo()->findData(6.0));
        QVERIFY(w->save());
        const auto songs = SongStore(f->state->db).songs(w->carrierNumber());
        QCOMPARE(songs.size(), size_t(2));
        QCOMPARE(songs[1].titelDesLiedes, QStringLiteral("Zwei"));
        QCOMPARE(f->count("MUSIKTXT"), 1);
    }

    // A ripped disc is read like a CD: "&CD lesen" without a drive, or the button's menu
    // entry beside a drive, asks for the image and runs the same look-up dialog.
    void readingAnImage_data() {
        QTest::addColumn<bool>("drive");
        QTest::addColumn<bool>("serverAnswers");
        QTest::newRow("no drive") << false << true;
        QTest::newRow("beside a drive") << true << true;
        QTest::newRow("server refuses") << false << false;
    }
    void readingAnImage() {
        QFETCH(bool, drive);
        QFETCH(bool, serverAnswers);
        FakeCddbServer server;
        if (!serverAnswers)
            server.greeting = "432 No connections allowed\r\n";
        QVERIFY(serveDisc(server));
        f->state->cdDrives = drive ? QStringList{QStringLiteral("/dev/sr0")} : QStringList();
        const QString image = writeDiscImage(f->dir->path(), "rip", {{40, true}, {20, true}});
        TMainTtDialog* w = m_commands->newCarrier();
        CarrierPage* p = w->carrierPage();
        QVERIFY(p->cdButton()->isVisible());
        QVERIFY(p->cdButton()->isEnabled());
        QVERIFY(p->cdButton()->actions().contains(p->cdImageAction()));
        QString failure;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<TCDDBLookup*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->shownDiscId(), discIdForDisplay(discId(image)));
            dialog->query();
            if (serverAnswers) {
                dialog->read();
            } else {
                QVERIFY(!f->messages.messages().isEmpty());
                failure = f->messages.messages().last().text;
                dialog->close();
            }
        });
        f->messages.answerFile(image);
        if (!serverAnswers)
            f->messages.answer(MessageButton::Ok); // the failure
        f->messages.answer(MessageButton::No);     // no further disc
        if (drive)
            p->cdImageAction()->trigger();
        else
            QTest::mouseClick(p->cdButton(), Qt::LeftButton);
        QCOMPARE(f->messages.fileChoices().size(), 1);
        QCOMPARE(f->messages.fileChoices()[0].title,
                 QStringLiteral("CD-Abbild wählen (CD Nummer 1)"));
        QCOMPARE(p->songCountEdit()->text(), QStringLiteral("2"));
        QCOMPARE(p->groupEdit()->text(), serverAnswers ? QStringLiteral("Band") : QString());
        if (!serverAnswers)
            QCOMPARE(failure, QStringLiteral("Internetverbindung konnte nicht aufgebaut werden!\n"
                                             "Versuchter Server: 127.0.0.1:%1")
                                  .arg(server.port()));
        // The drive was not asked for.
        for (const Message& m : f->messages.messages())
            QVERIFY(!m.text.startsWith(QLatin1String("CD Nummer")));
    }
};

QTEST_MAIN(TestCatalogueCommands)
#include "tst_cataloguecommands.moc"
