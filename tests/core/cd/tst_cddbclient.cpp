#include "core/cd/cddbclient.h"
#include "core/cd/cdtoc.h"
#include "support/fakecddbserver.h"

#include <QTest>

// The whole conversation against a CDDB server on this machine.
class TestCddbClient : public QObject {
    Q_OBJECT

    static QByteArray query() {
        return CddbExchange::queryLine(
            0x7908090a, 10, {150, 12860, 23460, 37067, 54250, 70892, 90637, 107507, 124742, 139870},
            2059);
    }

    bool run(FakeCddbServer& server, CddbExchange& exchange, QStringList* statuses = nullptr,
             int timeout = 5000) {
        CddbClient client;
        client.setTimeout(timeout);
        client.setStatusHandler([statuses](const QString& s) {
            if (statuses)
                statuses->append(s);
        });
        return client.run({QStringLiteral("127.0.0.1"), server.port()}, exchange);
    }

private slots:
    void commandLines() {
        QCOMPARE(query(),
                 QByteArray(
                     "cddb query 7908090A 10 150 12860 23460 37067 54250 70892 90637 107507 124742 "
                     "139870 2059 \r\n"));
        QCOMPARE(CddbExchange::helloLine("anna", "rechner"),
                 QByteArray("cddb hello anna rechner WinDsKm32 1.5.0  \r\n"));
        QCOMPARE(CddbExchange::readLine("rock", "7908090a"),
                 QByteArray("cddb read rock 7908090a \r\n"));
    }

    void queries_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("hits");
        QTest::newRow("exact match")
            << QByteArray("200 rock 7908090a Die Ärzte / Debil\r\n") << true << 1;
        QTest::newRow("inexact list")
            << QByteArray("211 Found inexact matches, list follows (until terminating `.')\r\nrock "
                          "7908090a A / B\r\n"
                          "misc 7908090b C / D\r\n.\r\n")
            << true << 2;
        QTest::newRow("no match") << QByteArray("202 No match for disc ID 7908090a.\r\n") << false
                                  << 0;
        QTest::newRow("server error")
            << QByteArray("403 Database entry is corrupt.\r\n") << false << 0;
    }
    void queries() {
        QFETCH(QByteArray, reply);
        QFETCH(bool, ok);
        QFETCH(int, hits);
        FakeCddbServer server;
        server.replies.insert(QStringLiteral("cddb query"), reply);
        CddbExchange exchange(CddbExchange::Command::Query, query(), QStringLiteral("anna"),
                              QStringLiteral("rechner"));
        QStringList statuses;
        QCOMPARE(run(server, exchange, &statuses), ok);
        QCOMPARE(int(cddb::parseQueryReply(exchange.reply()).size()), hits);
        QCOMPARE(server.received().value(0),
                 QStringLiteral("cddb hello anna rechner WinDsKm32 1.5.0  \r\n"));
        QVERIFY(
            server.received().value(1).startsWith(QLatin1String("cddb query 7908090A 10 150 ")));
        QVERIFY(statuses.contains(QStringLiteral("Verbunden mit testhost")));
        if (!ok)
            QCOMPARE(exchange.failureMessage(),
                     QStringLiteral("Tonträgerdaten konnten nicht ermittelnt werden!"));
        else
            QCOMPARE(statuses.last(), QStringLiteral("Verbindung beendet"));
    }

    void readARecord() {
        FakeCddbServer server;
        server.replies.insert(
            QStringLiteral("cddb read"),
            "210 rock 7908090a CD database entry follows (until terminating `.')\r\n# xmcd\r\n"
            "DISCID=7908090a\r\nDTITLE=Die \xC4rzte / Debil\r\nTTITLE0=Paul\r\nTTITLE1=Zu sp\r\n"
            "TTITLE1=\xE4t\r\nEXTD=YEAR: 1984\r\n.\r\n");
        CddbExchange exchange(CddbExchange::Command::Read,
                              CddbExchange::readLine("rock", "7908090a"), QStringLiteral("anna"),
                              QStringLiteral("rechner"));
        QStringList statuses;
        QVERIFY(run(server, exchange, &statuses));
        QVERIFY(statuses.contains(QStringLiteral("Empfange Tonträgerdaten")));
        const auto disc = cddb::parseRecord(exchange.reply());
        QCOMPARE(disc.artist, QStringLiteral("Die Ärzte"));
        QCOMPARE(disc.tracks.size(), 2);
        QCOMPARE(disc.tracks[1].title, QStringLiteral("Zu spät"));
        QCOMPARE(disc.extendedData, QStringList({"YEAR: 1984"}));
    }

    void refusedConnections_data() {
        QTest::addColumn<QByteArray>("greeting");
        QTest::addColumn<QByteArray>("hello");
        QTest::newRow("greeting refused")
            << QByteArray("432 No connections allowed: permission denied\r\n") << QByteArray();
        QTest::newRow("hello refused") << QByteArray("201 testhost ready\r\n")
                                       << QByteArray("431 Handshake not successful.\r\n");
    }
    void refusedConnections() {
        QFETCH(QByteArray, greeting);
        QFETCH(QByteArray, hello);
        FakeCddbServer server;
        server.greeting = greeting;
        if (!hello.isEmpty())
            server.replies.insert(QStringLiteral("cddb hello"), hello);
        CddbExchange exchange(CddbExchange::Command::Query, query(), QStringLiteral("anna"),
                              QStringLiteral("rechner"));
        QVERIFY(!run(server, exchange));
        QCOMPARE(exchange.failure(), CddbExchange::Failure::Connection);
        QCOMPARE(exchange.failureMessage(),
                 QStringLiteral("Internetverbindung konnte nicht aufgebaut werden!"));
    }

    void silentServerTimesOut() {
        FakeCddbServer server;
        server.silentAfterGreeting = true;
        CddbExchange exchange(CddbExchange::Command::Query, query(), QStringLiteral("anna"),
                              QStringLiteral("rechner"));
        QVERIFY(!run(server, exchange, nullptr, 300));
        QCOMPARE(exchange.failure(), CddbExchange::Failure::Connection);
    }

    void nobodyListening() {
        quint16 port;
        {
            FakeCddbServer gone;
            port = gone.port();
        }
        CddbExchange exchange(CddbExchange::Command::Sites, CddbExchange::sitesLine(),
                              QStringLiteral("anna"), QStringLiteral("r"));
        CddbClient client;
        QVERIFY(!client.run({QStringLiteral("127.0.0.1"), port}, exchange));
        QCOMPARE(exchange.failure(), CddbExchange::Failure::Connection);
    }

    void sites() {
        FakeCddbServer server;
        server.pieceSize = 1500; // long chunks: the end is the "." line, not a short chunk
        QByteArray list = "210 OK, site information follows (until terminating `.')\r\n";
        for (int i = 0; i < 60; ++i)
            list += QStringLiteral("host%1.example cddbp 8880 N000.00 W000.00 Server Nummer %1\r\n")
                        .arg(i)
                        .toLatin1();
        list += ".\r\n";
        server.replies.insert(QStringLiteral("sites"), list);
        CddbExchange exchange(CddbExchange::Command::Sites, CddbExchange::sitesLine(),
                              QStringLiteral("anna"), QStringLiteral("r"));
        QStringList statuses;
        QVERIFY(run(server, exchange, &statuses));
        QVERIFY(statuses.contains(QStringLiteral("Host-Liste empfangen")));
        QCOMPARE(exchange.reply().count(QStringLiteral("\r\n")), 62);
    }
};

QTEST_GUILESS_MAIN(TestCddbClient)
#include "tst_cddbclient.moc"
