#include "core/cd/cddbclient.h"
#include "core/cd/cdtoc.h"
#include "support/fakecddbserver.h"
#include "support/fakehttpserver.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

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
        QTest::newRow("exact list (level 3 and above)")
            << QByteArray("210 Found exact matches, list follows (until terminating `.')\r\nrock "
                          "7908090a A / B\r\nblues 7908090a A / B\r\n.\r\n")
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
        QCOMPARE(server.received().value(1), QStringLiteral("proto 6\r\n"));
        QVERIFY(
            server.received().value(2).startsWith(QLatin1String("cddb query 7908090A 10 150 ")));
        QVERIFY(statuses.contains(QStringLiteral("Verbunden mit testhost")));
        if (!ok)
            QCOMPARE(exchange.failureMessage(),
                     QStringLiteral("Tonträgerdaten konnten nicht ermittelnt werden!"));
        else
            QCOMPARE(statuses.last(), QStringLiteral("Verbindung beendet"));
        // A refused command still says goodbye before the line is closed.
        QTRY_COMPARE(server.received().value(3), QStringLiteral("quit \r\n"));
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

    void protocolLevels_data() {
        QTest::addColumn<QByteArray>("protoReply");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("title");
        const QByteArray utf8 = "DTITLE=Kapela / Łódź\r\nTTITLE0=100 €\r\n";
        QTest::newRow("level 6, UTF-8") << QByteArray("201 OK, protocol version now: 6\r\n") << utf8
                                        << "Kapela" << QString::fromUtf8("Łódź");
        QTest::newRow("level 6, a line that is no UTF-8")
            << QByteArray("201 OK, protocol version now: 6\r\n")
            << QByteArray("DTITLE=Die \xC4rzte / Debil\r\nTTITLE0=100 \x80\r\n") << "Die Ärzte"
            << "Debil";
        QTest::newRow("level refused, Latin-1")
            << QByteArray("501 Illegal protocol level.\r\n")
            << QByteArray("DTITLE=Die \xC4rzte / Debil\r\n") << "Die Ärzte"
            << "Debil";
    }
    void protocolLevels() {
        QFETCH(QByteArray, protoReply);
        QFETCH(QByteArray, record);
        QFETCH(QString, artist);
        QFETCH(QString, title);
        FakeCddbServer server;
        server.replies.insert(QStringLiteral("proto"), protoReply);
        server.replies.insert(QStringLiteral("cddb read"),
                              "210 misc 7908090a CD database entry follows\r\n# xmcd\r\n" + record +
                                  ".\r\n");
        CddbExchange exchange(CddbExchange::Command::Read,
                              CddbExchange::readLine("misc", "7908090a"), QStringLiteral("anna"),
                              QStringLiteral("rechner"));
        QVERIFY(run(server, exchange));
        QCOMPARE(exchange.protocolLevel(), protoReply.startsWith("201") ? 6 : 1);
        const auto disc = cddb::parseRecord(exchange.reply());
        QCOMPARE(disc.artist, artist);
        QCOMPARE(disc.title, title);
        if (protoReply.startsWith("201"))
            QVERIFY(disc.tracks.value(0).title.endsWith(QChar(0x20AC)));
    }

    void serverErrorsShowTheServersText() {
        FakeCddbServer server;
        server.replies.insert(QStringLiteral("cddb hello"), "500 Command syntax error.\r\n");
        CddbExchange exchange(CddbExchange::Command::Query, query(), QStringLiteral("anna"),
                              QStringLiteral("rechner"));
        QVERIFY(!run(server, exchange));
        QCOMPARE(exchange.failure(), CddbExchange::Failure::Server);
        QCOMPARE(exchange.failureMessage(),
                 QStringLiteral("Der CDDB-Server meldet: 500 Command syntax error."));
    }

    void missingGoodbyeDelaysNoMoreThanTwoSeconds() {
        FakeCddbServer server;
        server.silentOnQuit = true;
        server.replies.insert(QStringLiteral("cddb query"), "200 rock 7908090a A / B\r\n");
        CddbExchange exchange(CddbExchange::Command::Query, query(), QStringLiteral("anna"),
                              QStringLiteral("rechner"));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(run(server, exchange, nullptr, 30000));
        QVERIFY2(clock.elapsed() < 10000, "waited for the full time-out");
        QCOMPARE(cddb::parseQueryReply(exchange.reply()).size(), 1);
    }

    // Query, then read with the same client, while the first line is still being closed.
    void secondExchangeAfterAnUnansweredQuit() {
        FakeCddbServer server;
        server.silentOnQuit = true;
        server.replies.insert(QStringLiteral("cddb query"), "200 rock 7908090a A / B\r\n");
        server.replies.insert(QStringLiteral("cddb read"),
                              "210 rock 7908090a entry follows\r\nDTITLE=A / B\r\n.\r\n");
        CddbClient client;
        client.setTimeout(5000);
        const cddb::ServerAddress address(QStringLiteral("127.0.0.1"), server.port());
        CddbExchange query(CddbExchange::Command::Query, TestCddbClient::query(),
                           QStringLiteral("anna"), QStringLiteral("rechner"));
        QVERIFY(client.run(address, query));
        CddbExchange read(CddbExchange::Command::Read, CddbExchange::readLine("rock", "7908090a"),
                          QStringLiteral("anna"), QStringLiteral("rechner"));
        QVERIFY(client.run(address, read));
        QCOMPARE(cddb::parseRecord(read.reply()).title, QStringLiteral("B"));
    }

    // The HTTP interface: a cgi-like server answering the same replies, one per request.
    void httpInterface_data() {
        QTest::addColumn<QByteArray>("queryReply");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("message");
        QTest::newRow("exact match")
            << QByteArray("200 rock 7908090a Kapela / Łódź\r\n") << true << QString();
        QTest::newRow("no match") << QByteArray("202 No match for disc ID 7908090a.\r\n") << false
                                  << "Tonträgerdaten konnten nicht ermittelnt werden!";
        QTest::newRow("syntax error") << QByteArray("500 Command syntax error.\r\n") << false
                                      << "Der CDDB-Server meldet: 500 Command syntax error.";
        QTest::newRow("list without its end")
            << QByteArray("211 Found inexact matches\r\nrock 1 A\r\n") << false
            << "Tonträgerdaten konnten nicht ermittelnt werden!";
    }
    void httpInterface() {
        QFETCH(QByteArray, queryReply);
        QFETCH(bool, ok);
        QFETCH(QString, message);
        FakeHttpServer http;
        http.replies.insert("/~cddb/cddb.cgi", {200, queryReply});
        cddb::ServerAddress server(QStringLiteral("127.0.0.1"), http.port());
        server.http = true;
        server.path = QStringLiteral("/~cddb/cddb.cgi");
        CddbExchange exchange(CddbExchange::Command::Query, query(),
                              QStringLiteral("max.muster@example.org"), QStringLiteral("rechner"));
        CddbClient client;
        client.setTimeout(5000);
        QCOMPARE(client.run(server, exchange), ok);
        QCOMPARE(http.requests().size(), 1);
        QCOMPARE(
            http.requests()[0].target,
            QByteArray("/~cddb/cddb.cgi?cmd=cddb+query+7908090A+10+150+12860+23460+37067+54250+"
                       "70892+90637+107507+124742+139870+2059&hello=max.muster+example.org+"
                       "WinDsKm32+1.5.0&proto=6"));
        QCOMPARE(exchange.failureMessage(), message);
        if (ok)
            QCOMPARE(cddb::parseQueryReply(exchange.reply()).value(0).title,
                     QString::fromUtf8("Kapela / Łódź"));
    }

    void httpAddresses_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("url");
        QTest::newRow("HTTPS on 443")
            << "gnudb.gnudb.org http 443 /~cddb/cddb.cgi N000.00 W000.00 gnudb"
            << "https://gnudb.gnudb.org/~cddb/cddb.cgi?cmd=sites&hello=anna+rechner+WinDsKm32+"
               "1.5.0&proto=6";
        QTest::newRow("HTTP on another port")
            << "cddb.example http 8080 /cgi-bin/cddb.cgi x"
            << "http://cddb.example:8080/cgi-bin/cddb.cgi?cmd=sites&"
               "hello=anna+rechner+WinDsKm32+1.5.0&proto=6";
    }
    void httpAddresses() {
        QFETCH(QString, line);
        QFETCH(QString, url);
        const auto server = cddb::parseServerLine(line);
        QVERIFY(server && server->http);
        const CddbExchange exchange(CddbExchange::Command::Sites, CddbExchange::sitesLine(),
                                    QStringLiteral("anna"), QStringLiteral("rechner"));
        QCOMPARE(CddbClient::httpUrl(*server, exchange).toString(QUrl::FullyEncoded), url);
    }

    void httpServerMissingOrSlow() {
        FakeHttpServer http;
        http.replies.insert("/~cddb/cddb.cgi", {200, "200 rock 1 A / B\r\n", "text/plain", 3000});
        cddb::ServerAddress server(QStringLiteral("127.0.0.1"), http.port());
        server.http = true;
        server.path = QStringLiteral("/~cddb/cddb.cgi");
        CddbClient client;
        client.setTimeout(300);
        CddbExchange slow(CddbExchange::Command::Query, query(), QStringLiteral("a"),
                          QStringLiteral("r"));
        QVERIFY(!client.run(server, slow));
        QCOMPARE(slow.failure(), CddbExchange::Failure::Command);

        CddbExchange cancelled(CddbExchange::Command::Query, query(), QStringLiteral("a"),
                               QStringLiteral("r"));
        client.setTimeout(5000);
        QTimer::singleShot(100, &client, &CddbClient::abort);
        QVERIFY(!client.run(server, cancelled));

        quint16 port;
        {
            FakeHttpServer gone;
            port = gone.port();
        }
        server.port = port;
        CddbExchange nobody(CddbExchange::Command::Query, query(), QStringLiteral("a"),
                            QStringLiteral("r"));
        QVERIFY(!client.run(server, nobody));
        QCOMPARE(nobody.failureMessage(),
                 QStringLiteral("Internetverbindung konnte nicht aufgebaut werden!"));
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
