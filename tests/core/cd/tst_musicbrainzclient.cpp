#include "core/cd/musicbrainzclient.h"
#include "support/fakehttpserver.h"

#include <QFile>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray kDiscPath = "/ws/2/discid/49HHV7Eb8UKF3aQiNmu1GR8vKTY-";
const QByteArray kIncludes = "inc=artist-credits+recordings+release-groups&fmt=json";
const QByteArray kTocQuery = "?toc=1+6+95462+150+15363+32314+46592+63414+80489&";

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(MUSICBRAINZ_FIXTURES) + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TCDToc exampleDisc() {
    TCDToc toc{};
    const QList<qint32> offsets = {150, 15363, 32314, 46592, 63414, 80489};
    for (int i = 0; i < offsets.size(); ++i)
        toc[size_t(i)] = TCDTocEntry::fromFrames(offsets[i]);
    toc[6] = TCDTocEntry::fromFrames(95462);
    return toc;
}

FakeHttpServer::Reply json(const QByteArray& body, int status = 200, int delayMs = 0) {
    return {status, body, "application/json", delayMs};
}

} // namespace

// The web service's conversation against recorded replies on this machine.
class TestMusicBrainzClient : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeHttpServer> m_server;
    std::unique_ptr<MusicBrainzClient> m_client;

    static void keepTheServicesPacing() { MusicBrainzClient::setPacing(1000, 2000); }

private slots:
    void init() {
        m_server = std::make_unique<FakeHttpServer>();
        m_client = std::make_unique<MusicBrainzClient>();
        m_client->setServer(m_server->baseUrl() + '/');
        m_client->setCoverServer(m_server->baseUrl());
        m_client->setContact(QStringLiteral("max.muster@example.org"));
        m_client->setTimeout(5000);
        // The service's pacing costs a second a request; only the tests of it keep it.
        MusicBrainzClient::setPacing(20, 40);
    }

    void lookups_data() {
        QTest::addColumn<QByteArray>("byId");  // reply to the disc ID, status 404 when empty
        QTest::addColumn<QByteArray>("byToc"); // reply to the table of contents
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("releases");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QString>("message");
        QTest::newRow("known disc")
            << fixture("discid_two_releases.json") << QByteArray()
            << int(MusicBrainzClient::Outcome::Found) << 2 << 1 << QString();
        QTest::newRow("unknown ID, found by its table of contents")
            << QByteArray() << fixture("toc_lookup.json") << int(MusicBrainzClient::Outcome::Found)
            << 1 << 2 << QString();
        QTest::newRow("unknown everywhere")
            << QByteArray() << QByteArray(R"({"release-count":0,"release-offset":0,"releases":[]})")
            << int(MusicBrainzClient::Outcome::NotFound) << 0 << 2
            << "MusicBrainz kennt diese CD nicht.";
        QTest::newRow("unknown ID answered 404 twice")
            << QByteArray() << QByteArray() << int(MusicBrainzClient::Outcome::NotFound) << 0 << 2
            << "MusicBrainz kennt diese CD nicht.";
        QTest::newRow("not JSON") << QByteArray("<html>Bad Gateway</html>") << QByteArray()
                                  << int(MusicBrainzClient::Outcome::Failed) << 0 << 1
                                  << "Die Antwort von MusicBrainz ist nicht lesbar.";
    }
    void lookups() {
        QFETCH(QByteArray, byId);
        QFETCH(QByteArray, byToc);
        QFETCH(int, outcome);
        QFETCH(int, releases);
        QFETCH(int, requests);
        QFETCH(QString, message);
        m_server->replies.insert(kDiscPath + '?' + kIncludes,
                                 byId.isEmpty() ? json(fixture("not_found.json"), 404)
                                                : json(byId));
        if (!byToc.isEmpty())
            m_server->replies.insert(kDiscPath + kTocQuery + kIncludes, json(byToc));
        const auto result = m_client->lookup(exampleDisc(), 6);
        QCOMPARE(int(result.outcome), outcome);
        QCOMPARE(result.releases.size(), releases);
        QCOMPARE(result.message, message);
        QCOMPARE(m_server->requests().size(), requests);
        QCOMPARE(m_server->requests().first().target, kDiscPath + '?' + kIncludes);
        QCOMPARE(m_server->requests().first().userAgent,
                 QByteArray("Diskarium/1.5.0 ( max.muster@example.org )"));
        if (requests > 1)
            QCOMPARE(m_server->requests()[1].target, kDiscPath + kTocQuery + kIncludes);
    }

    void atMostOneRequestASecond() {
        keepTheServicesPacing();
        m_server->replies.insert(kDiscPath + '?' + kIncludes, json(fixture("not_found.json"), 404));
        m_client->lookup(exampleDisc(), 6);
        m_client->lookup(exampleDisc(), 6);
        const auto& requests = m_server->requests();
        QCOMPARE(requests.size(), 4);
        for (int i = 1; i < requests.size(); ++i)
            QVERIFY2(requests[i].atMs - requests[i - 1].atMs >= 950,
                     qPrintable(QStringLiteral("request %1 came too early").arg(i)));
    }

    void chooseWithoutADialog() {
        m_server->replies.insert(kDiscPath + '?' + kIncludes,
                                 json(fixture("discid_two_releases.json")));
        m_server->replies.insert("/release/11111111-aaaa-4bbb-8ccc-000000000002/front-500",
                                 {200, QByteArray("\xFF\xD8\xFF\xE0", 4), "image/jpeg", 0});
        QString message;
        const auto choice = m_client->choose(exampleDisc(), 6, 2, true, &message);
        QVERIFY2(choice, qPrintable(message));
        QCOMPARE(choice->record.title, QStringLiteral("Debil (Remastered)"));
        QCOMPARE(choice->record.tracks.size(), 6);
        QCOMPARE(choice->cover.size(), 4);
        QVERIFY(!m_client->choose(exampleDisc(), 6, 3, false, &message));
        QCOMPARE(message, QStringLiteral("MusicBrainz kennt zu dieser CD nur 2 Ausgabe(n)."));
    }

    void slowServer() {
        m_server->replies.insert(kDiscPath + '?' + kIncludes,
                                 json(fixture("discid_two_releases.json"), 200, 3000));
        m_client->setTimeout(300);
        auto result = m_client->lookup(exampleDisc(), 6);
        QCOMPARE(result.outcome, MusicBrainzClient::Outcome::Failed);
        QCOMPARE(result.message, QStringLiteral("MusicBrainz hat nicht rechtzeitig geantwortet."));

        m_client->setTimeout(30000);
        QTimer::singleShot(1500, m_client.get(), &MusicBrainzClient::abort);
        result = m_client->lookup(exampleDisc(), 6);
        QCOMPARE(result.outcome, MusicBrainzClient::Outcome::Cancelled);
        QVERIFY(result.message.isEmpty());
    }

    void nobodyListening() {
        m_client->setServer(QStringLiteral("http://127.0.0.1:1"));
        const auto result = m_client->lookup(exampleDisc(), 6);
        QCOMPARE(result.outcome, MusicBrainzClient::Outcome::Failed);
        QCOMPARE(result.message,
                 QStringLiteral("Internetverbindung konnte nicht aufgebaut werden!"));
    }

    void frontCover_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("hint");
        QTest::newRow("a JPEG") << 200 << QByteArray("\xFF\xD8\xFF\xE0 JFIF und mehr") << true
                                << QString();
        QTest::newRow("no cover") << 404 << QByteArray("Not Found") << false
                                  << "Zu dieser Ausgabe gibt es kein Titelbild.";
        QTest::newRow("not a JPEG") << 200 << QByteArray("<html></html>") << false
                                    << "Das Titelbild konnte nicht geholt werden.";
    }
    void frontCover() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, stored);
        QFETCH(QString, hint);
        m_server->replies.insert("/release/11111111-aaaa-4bbb-8ccc-000000000001/front-500",
                                 {status, body, "image/jpeg", 0});
        QString told;
        const QByteArray cover =
            m_client->frontCover(QStringLiteral("11111111-aaaa-4bbb-8ccc-000000000001"), &told);
        QCOMPARE(cover, stored ? body : QByteArray());
        QCOMPARE(told, hint);
    }

    // A release search: pages in the service's order, the query arriving as typed.
    void searchPages_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("message");
        QTest::newRow("first page")
            << 0 << fixture("search_page1.json") << int(MusicBrainzClient::Outcome::Found)
            << "Treffer 1-25 von 27" << QString();
        QTest::newRow("second page")
            << 25 << fixture("search_page2.json") << int(MusicBrainzClient::Outcome::Found)
            << "Treffer 26-27 von 27" << QString();
        QTest::newRow("no hit") << 0 << fixture("search_none.json")
                                << int(MusicBrainzClient::Outcome::NotFound) << "Keine Treffer"
                                << "MusicBrainz kennt dazu keine Ausgabe.";
        QTest::newRow("not JSON") << 0 << QByteArray("<html></html>")
                                  << int(MusicBrainzClient::Outcome::Failed) << "Keine Treffer"
                                  << "Die Antwort von MusicBrainz ist nicht lesbar.";
    }
    void searchPages() {
        QFETCH(int, offset);
        QFETCH(QByteArray, reply);
        QFETCH(int, outcome);
        QFETCH(QString, range);
        QFETCH(QString, message);
        const QByteArray target = "/ws/2/release/?query=catno%3A%22A%26B%2BC%22&fmt=json&limit=25"
                                  "&offset=" +
                                  QByteArray::number(offset);
        m_server->replies.insert(target, json(reply));
        const auto result = m_client->search(QStringLiteral("catno:\"A&B+C\""), offset);
        QCOMPARE(int(result.outcome), outcome);
        QCOMPARE(result.page.range(), range);
        QCOMPARE(result.message, message);
        QCOMPARE(m_server->requests().size(), 1);
        QCOMPARE(m_server->requests().first().target, target);
        QCOMPARE(m_server->requests().first().userAgent,
                 QByteArray("Diskarium/1.5.0 ( max.muster@example.org )"));
    }

    void releases_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("songs");
        QTest::addColumn<QString>("typeName");
        QTest::newRow("LP with lettered sides") << "release_lp_sides.json" << 5 << "LP";
        QTest::newRow("2xLP") << "release_2xlp.json" << 6 << "LP";
        QTest::newRow("two CDs") << "release_cd.json" << 5 << "CD";
        QTest::newRow("no tracks") << "release_notracks.json" << 0 << "EP";
    }
    void releases() {
        QFETCH(QString, file);
        QFETCH(int, songs);
        QFETCH(QString, typeName);
        const QByteArray body = fixture(qPrintable(file));
        const auto id =
            musicbrainz::parseReleaseReply(body).value_or(musicbrainz::ReleaseDetails()).id;
        QVERIFY(!id.isEmpty());
        m_server->replies.insert(musicbrainz::releaseTarget(id).toUtf8(), json(body));
        const auto result = m_client->release(id);
        QCOMPARE(result.outcome, MusicBrainzClient::Outcome::Found);
        const auto take = musicbrainz::takeOver(result.release, QString());
        QCOMPARE(int(take.reading.songs.size()), songs);
        QCOMPARE(take.typeName, typeName);
        QCOMPARE(m_server->requests().first().target, musicbrainz::releaseTarget(id).toUtf8());
    }

    void unknownRelease() {
        const auto result =
            m_client->release(QStringLiteral("aaaaaaaa-0000-4000-8000-000000000009"));
        QCOMPARE(result.outcome, MusicBrainzClient::Outcome::NotFound);
        QCOMPARE(result.message, QStringLiteral("MusicBrainz kennt dazu keine Ausgabe."));
    }

    // A busy service (503) is asked once more after two seconds, the disc look-up too.
    void busyService_data() {
        QTest::addColumn<bool>("disc");
        QTest::addColumn<int>("busyReplies");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        QTest::newRow("search, busy once")
            << false << 1 << int(MusicBrainzClient::Outcome::Found) << QString();
        QTest::newRow("search, busy twice") << false << 2 << int(MusicBrainzClient::Outcome::Failed)
                                            << "MusicBrainz meldet den Fehler 503.";
        QTest::newRow("disc look-up, busy once")
            << true << 1 << int(MusicBrainzClient::Outcome::Found) << QString();
    }
    void busyService() {
        keepTheServicesPacing();
        QFETCH(bool, disc);
        QFETCH(int, busyReplies);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        int asked = 0;
        const QByteArray body = fixture(disc ? "discid_two_releases.json" : "search_page1.json");
        m_server->handler = [&](const QByteArray&) {
            return ++asked <= busyReplies ? json("{}", 503) : json(body);
        };
        const auto [got, told] = [&] {
            if (disc) {
                const auto r = m_client->lookup(exampleDisc(), 6);
                return std::pair(int(r.outcome), r.message);
            }
            const auto r = m_client->search(QStringLiteral("barcode:40039940"), 0);
            return std::pair(int(r.outcome), r.message);
        }();
        QCOMPARE(got, outcome);
        QCOMPARE(told, message);
        const auto& requests = m_server->requests();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[1].target, requests[0].target);
        QVERIFY2(requests[1].atMs - requests[0].atMs >= 1900, "asked again too early");
    }

    void hangingSearch() {
        keepTheServicesPacing(); // the busy wait below is cancelled in its second second
        m_server->handler = [](const QByteArray&) {
            return json(fixture("search_page1.json"), 200, 3000);
        };
        m_client->setTimeout(300);
        auto result = m_client->search(QStringLiteral("barcode:40039940"), 0);
        QCOMPARE(result.outcome, MusicBrainzClient::Outcome::Failed);
        QCOMPARE(result.message, QStringLiteral("MusicBrainz hat nicht rechtzeitig geantwortet."));

        // Cancelled while it waits to ask a busy service again: no second request.
        m_client->setTimeout(30000);
        m_server->handler = [](const QByteArray&) { return json("{}", 503); };
        const int before = int(m_server->requests().size());
        QTimer::singleShot(1500, m_client.get(), &MusicBrainzClient::abort);
        result = m_client->search(QStringLiteral("barcode:40039940"), 0);
        QCOMPARE(result.outcome, MusicBrainzClient::Outcome::Cancelled);
        QVERIFY(result.message.isEmpty());
        QCOMPARE(m_server->requests().size(), before + 1);
    }
};

QTEST_GUILESS_MAIN(TestMusicBrainzClient)
#include "tst_musicbrainzclient.moc"
