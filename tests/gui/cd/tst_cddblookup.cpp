#include "core/cd/cdtoc.h"
#include "core/settings/settings.h"
#include "gui/cd/cddblookup.h"
#include "support/fakecddbserver.h"
#include "support/fakehttpserver.h"
#include "support/scriptedmessageservice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

class TestCddbLookup : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeCddbServer> m_server;
    Settings m_settings;
    ScriptedMessageService m_messages;

    void writeHosts(const QByteArray& extra = {}) {
        QFile f(m_dir->filePath("cddbhosts.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(m_server->serverLine().toLatin1() + "\r\n" + extra);
    }
    std::unique_ptr<TCDDBLookup> dialog() {
        auto d = std::make_unique<TCDDBLookup>(m_settings, m_dir->path(), m_messages);
        TCDToc toc{};
        const QList<qint32> offsets = {150,   12860, 23460,  37067,  54250,
                                       70892, 90637, 107507, 124742, 139870};
        for (int i = 0; i < offsets.size(); ++i)
            toc[size_t(i)] = TCDTocEntry::fromFrames(offsets[i]);
        toc[10] = TCDTocEntry::fromFrames(2059 * 75);
        d->setDisc(toc, CDDiscId(toc, 10), 2059, 10);
        return d;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_server = std::make_unique<FakeCddbServer>();
        m_settings = Settings();
        m_settings.cddbUserName = QStringLiteral("anna");
        m_messages = ScriptedMessageService();
        writeHosts("web.example http 80 /cgi x\r\nweb2.example HTTP 80 /cgi y\r\n");
    }

    void opening() {
        auto d = dialog();
        QCOMPARE(d->userNameEdit()->text(), QStringLiteral("anna"));
        QCOMPARE(d->serverList()->count(), 3); // HTTP lines are offered too
        QCOMPARE(d->shownDiscId(), QStringLiteral("7908090A"));
        QVERIFY(d->connectButton()->isEnabled());
        QVERIFY(!d->startButton()->isEnabled());
        QCOMPARE(d->hitList()->columnCount(), 3);
    }

    void emptyUserNameDisablesTheExchanges() {
        m_settings.cddbUserName.clear();
        auto d = dialog();
        QVERIFY(!d->connectButton()->isEnabled());
        QVERIFY(!d->refreshButton()->isEnabled());
        d->userNameEdit()->setText(QStringLiteral("Bernd Muster"));
        emit d->userNameEdit()->editingFinished();
        QVERIFY(!d->connectButton()->isEnabled());
        QCOMPARE(m_messages.messages().size(), 1);
        QVERIFY(m_messages.messages().first().text.contains(QLatin1String("E-Mail-Adresse")));
        d->userNameEdit()->setText(QStringLiteral("bernd@example.org"));
        emit d->userNameEdit()->editingFinished();
        QVERIFY(d->connectButton()->isEnabled());
    }

    void missingHostFile() {
        QFile::remove(m_dir->filePath("cddbhosts.txt"));
        auto d = dialog();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text,
                 QStringLiteral("CDDB-Hostliste konnte nicht geladen werden!"));
    }

    void queryThenRead() {
        m_server->replies.insert("cddb query",
                                 "211 Found inexact matches\r\nrock 7908090a Die Ärzte / Debil\r\n"
                                 "misc 7908090b Andere / Platte\r\n.\r\n");
        m_server->replies.insert(
            "cddb read",
            "210 rock 7908090a CD database entry follows\r\n# xmcd\r\n"
            "DTITLE=Die \xC4rzte / Debil\r\nTTITLE0=Paul\r\nTTITLE1=Zu sp\r\nTTITLE1=\xE4t\r\n"
            "EXTD=YEAR: 1984\r\n.\r\n");
        auto d = dialog();
        d->query();
        QCOMPARE(d->hitList()->topLevelItemCount(), 2);
        QCOMPARE(d->hitList()->topLevelItem(0)->text(0), QStringLiteral("rock"));
        QVERIFY(d->startButton()->isEnabled());
        QCOMPARE(d->statusText(), QStringLiteral("Bereit"));
        d->read();
        QVERIFY(d->succeeded());
        QCOMPARE(d->artist(), QStringLiteral("Die Ärzte"));
        QCOMPARE(d->title(), QStringLiteral("Debil"));
        QCOMPARE(d->titles().size(), 2);
        QCOMPARE(d->titles()[1].title, QStringLiteral("Zu spät"));
        QCOMPARE(d->titles()[1].interpreter, QStringLiteral("Die Ärzte"));
        QCOMPARE(d->extendedData(), QStringList({"YEAR: 1984"}));
        QCOMPARE(m_settings.cddbHost, m_server->serverLine());
        QVERIFY(m_messages.messages().isEmpty());
    }

    void noMatchKeepsTheHits() {
        m_server->replies.insert("cddb query", "200 rock 7908090a Die Ärzte / Debil\r\n");
        auto d = dialog();
        d->query();
        QCOMPARE(d->hitList()->topLevelItemCount(), 1);
        m_server->replies.insert("cddb query", "202 No match for disc ID 7908090a.\r\n");
        d->query();
        QCOMPARE(m_messages.messages().last().text,
                 QStringLiteral("Tonträgerdaten konnten nicht ermittelnt werden!\n"
                                "Versuchter Server: 127.0.0.1:%1")
                     .arg(m_server->port()));
        QCOMPARE(d->hitList()->topLevelItemCount(), 1);
        QVERIFY(!d->succeeded());
    }

    // A failed look-up names the server it tried.
    void failures_data() {
        QTest::addColumn<QByteArray>("greeting");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("musicBrainz");
        QTest::addColumn<QString>("message");
        QTest::newRow("greeting refused")
            << QByteArray("432 No connections allowed\r\n") << false << false
            << "Internetverbindung konnte nicht aufgebaut werden!";
        QTest::newRow("silent server") << QByteArray("201 testhost ready\r\n") << true << false
                                       << "Internetverbindung konnte nicht aufgebaut werden!";
        QTest::newRow("MusicBrainz unreachable")
            << QByteArray() << false << true << "Internetverbindung konnte nicht aufgebaut werden!";
    }
    void failures() {
        QFETCH(QByteArray, greeting);
        QFETCH(bool, silent);
        QFETCH(bool, musicBrainz);
        QFETCH(QString, message);
        m_server->greeting = greeting;
        m_server->silentAfterGreeting = silent;
        // A port on which nothing listens: the fake server's own, once it is gone.
        const quint16 closedPort = m_server->port();
        if (musicBrainz) {
            m_server.reset();
            m_settings.cddbUserName = QStringLiteral("anna@example.org");
            m_settings.musicBrainzServer = QStringLiteral("http://127.0.0.1:%1").arg(closedPort);
        }
        auto d = dialog();
        d->setTimeout(300);
        if (musicBrainz)
            d->setSource(TCDDBLookup::Source::MusicBrainz);
        d->query();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text,
                 message + QStringLiteral("\nVersuchter Server: 127.0.0.1:%1").arg(closedPort));
        QCOMPARE(m_messages.messages().first().kind, MessageKind::Error);
        QVERIFY(!d->isBusy());
        QVERIFY(d->connectButton()->isEnabled());
    }

    // MusicBrainz: the releases are hits in the same list, the chosen one comes back as a
    // CDDB record does, with its front cover when asked for.
    void musicBrainzHitsAndCover_data() {
        QTest::addColumn<int>("coverStatus");
        QTest::addColumn<bool>("withCover");
        QTest::newRow("cover taken") << 200 << true;
        QTest::newRow("no cover in the archive") << 404 << true;
        QTest::newRow("cover not wanted") << 200 << false;
    }
    void musicBrainzHitsAndCover() {
        QFETCH(int, coverStatus);
        QFETCH(bool, withCover);
        QFile fixture(QStringLiteral(MUSICBRAINZ_FIXTURES "discid_two_releases.json"));
        QVERIFY(fixture.open(QIODevice::ReadOnly));
        FakeHttpServer http;
        http.replies.insert("/ws/2/discid/49HHV7Eb8UKF3aQiNmu1GR8vKTY-",
                            {200, fixture.readAll(), "application/json", 0});
        const QByteArray jpeg("\xFF\xD8\xFF\xE0 Bild", 10);
        http.replies.insert("/release/11111111-aaaa-4bbb-8ccc-000000000002/front-500",
                            {coverStatus, jpeg, "image/jpeg", 0});
        m_settings.cddbUserName = QStringLiteral("anna@example.org");
        m_settings.musicBrainzServer = http.baseUrl();
        m_settings.coverArtServer = http.baseUrl();
        auto d = std::make_unique<TCDDBLookup>(m_settings, m_dir->path(), m_messages);
        TCDToc toc{};
        const QList<qint32> offsets = {150, 15363, 32314, 46592, 63414, 80489};
        for (int i = 0; i < offsets.size(); ++i)
            toc[size_t(i)] = TCDTocEntry::fromFrames(offsets[i]);
        toc[6] = TCDTocEntry::fromFrames(95462);
        d->setDisc(toc, CDDiscId(toc, 6), 95462 / 75, 6);
        d->setSource(TCDDBLookup::Source::MusicBrainz);
        QVERIFY(!d->serverList()->isEnabled());
        QVERIFY(!d->refreshButton()->isEnabled());
        d->query();
        QVERIFY(m_messages.messages().isEmpty());
        QCOMPARE(d->hitList()->topLevelItemCount(), 2);
        QCOMPARE(d->hitList()->topLevelItem(0)->text(2),
                 QStringLiteral("Die Ärzte / Debil (1984, DE, Medium 1 von 1)"));
        QVERIFY(d->coverBox()->isEnabled());
        d->hitList()->setCurrentItem(d->hitList()->topLevelItem(1));
        d->coverBox()->setChecked(withCover);
        d->read();
        QVERIFY(d->succeeded());
        QCOMPARE(d->artist(), QStringLiteral("Die Ärzte"));
        QCOMPARE(d->title(), QStringLiteral("Debil (Remastered)"));
        QCOMPARE(d->titles().size(), 6);
        QCOMPARE(d->titles()[0].title, QStringLiteral("Łódź"));
        QCOMPARE(d->frontCover(), withCover && coverStatus == 200 ? jpeg : QByteArray());
        QCOMPARE(d->coverHint().isEmpty(), !withCover || coverStatus == 200);
        // This release names no release group: only the release is remembered.
        QCOMPARE(d->origins(),
                 QList<CarrierOrigin>({{carrierorigins::kMusicBrainzRelease,
                                        QStringLiteral("11111111-aaaa-4bbb-8ccc-000000000002")}}));
        QVERIFY(m_messages.messages().isEmpty()); // no cover is a hint, not a message
        QCOMPARE(http.requests().size(), withCover ? 2 : 1);
        QCOMPARE(m_settings.lookupSource, 1); // offered first next time
    }

    void sitesRewriteTheHostFile() {
        m_server->replies.insert(
            "sites",
            ("210 OK, site information follows\r\n" + m_server->serverLine().toLatin1() +
             "\r\nneu.example cddbp 8880 N0 W0 Neu\r\nweb.example http 80 /cgi x\r\n.\r\n"));
        auto d = dialog();
        d->refreshHosts();
        QCOMPARE(d->serverList()->count(), 3);
        QCOMPARE(d->serverList()->currentText(), m_server->serverLine());
        QCOMPARE(d->statusText(), QStringLiteral("Bereit"));
        QFile f(m_dir->filePath("cddbhosts.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("neu.example"));
    }
};

QTEST_MAIN(TestCddbLookup)
#include "tst_cddblookup.moc"
