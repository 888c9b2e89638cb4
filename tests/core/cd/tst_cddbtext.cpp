#include "core/cd/cddbexchange.h"
#include "core/cd/cddbtext.h"

#include <QTemporaryDir>
#include <QTest>

class TestCddbText : public QObject {
    Q_OBJECT
private slots:
    void serverLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("port first") << "freedb.example.org 8880 N000.00 W000.00 Beispiel"
                                    << "freedb.example.org" << 8880;
        QTest::newRow("protocol first") << "gnudb.gnudb.org cddbp 8880 - N000.00 W000.00 gnudb"
                                        << "gnudb.gnudb.org" << 8880;
        QTest::newRow("no port") << "host.only"
                                 << "" << 0;
        QTest::newRow("http interface") << "gnudb.gnudb.org http 443 /~cddb/cddb.cgi N000.00 x"
                                        << "gnudb.gnudb.org" << 443;
    }
    void serverLines() {
        QFETCH(QString, line);
        QFETCH(QString, host);
        QFETCH(int, port);
        const auto address = cddb::parseServerLine(line);
        QCOMPARE(address.has_value(), port != 0);
        if (address) {
            QCOMPARE(address->host, host);
            QCOMPARE(int(address->port), port);
            QCOMPARE(address->http, line.contains(QLatin1String(" http ")));
            if (address->http)
                QCOMPARE(address->path, QStringLiteral("/~cddb/cddb.cgi"));
        }
    }

    void userNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("good");
        QTest::addColumn<QString>("hello");
        QTest::newRow("e-mail address")
            << "max.muster@example.org" << true
            << "cddb hello max.muster example.org WinDsKm32 1.5.0  \r\n";
        QTest::newRow("plain name")
            << "anna" << true << "cddb hello anna rechner WinDsKm32 1.5.0  \r\n";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("blank inside") << "Max Muster" << false << "";
        QTest::newRow("no domain") << "max@" << false << "";
        QTest::newRow("two at signs") << "a@b@c" << false << "";
    }
    void userNames() {
        QFETCH(QString, name);
        QFETCH(bool, good);
        QFETCH(QString, hello);
        QCOMPARE(cddb::userNameProblem(name).isEmpty(), good);
        if (good)
            QCOMPARE(QString::fromUtf8(CddbExchange::helloLine(name, "rechner")), hello);
    }

    void serverListKeepsHttp() {
        QTemporaryDir dir;
        QFile f(dir.filePath("cddbhosts.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("zeta.example 8880 a\r\nweb.example http 80 /~cddb/cddb.cgi x\r\nweb2.example HTTP "
                "80 /cgi y\r\n"
                "alpha.example cddbp 8880 b\r\n");
        f.close();
        const auto list = cddb::loadServerList(f.fileName());
        QVERIFY(list);
        QCOMPARE(*list,
                 QStringList({"alpha.example cddbp 8880 b", "web.example http 80 /~cddb/cddb.cgi x",
                              "web2.example HTTP 80 /cgi y", "zeta.example 8880 a"}));
        QVERIFY(!cddb::loadServerList(dir.filePath("fehlt.txt")));
    }

    void sitesReplyRewritesTheFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("cddbhosts.txt");
        QVERIFY(cddb::writeServerList(
            path, "210 OK, site information follows (until terminating `.')\r\n"
                  "a.example cddbp 8880 N1 W1 Eins\r\nb.example 888 N2 W2 Zwei\r\n.\r\n"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(),
                 QByteArray("a.example cddbp 8880 N1 W1 Eins\r\nb.example 888 N2 W2 Zwei\r\n"));
    }

    void queryReplies_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QStringList>("hits"); // category|id|title
        QTest::newRow("exact") << "200 rock 7908090a Die Ärzte / Debil\r\n"
                               << QStringList({"rock|7908090a|Die Ärzte / Debil"});
        QTest::newRow("inexact") << "211 Found inexact matches, list follows (until terminating "
                                    "`.')\r\nrock 7908090a A / B\r\nmisc 7908090b C / D\r\n.\r\n"
                                 << QStringList({"rock|7908090a|A / B", "misc|7908090b|C / D"});
        QTest::newRow("exact list")
            << "210 Found exact matches, list follows (until terminating "
               "`.')\r\nrock 7908090a A / B\r\nblues 7908090a A / B\r\n.\r\n"
            << QStringList({"rock|7908090a|A / B", "blues|7908090a|A / B"});
        QTest::newRow("none") << "202 No match for disc ID 7908090a.\r\n" << QStringList();
    }
    void queryReplies() {
        QFETCH(QString, reply);
        QFETCH(QStringList, hits);
        QStringList got;
        for (const auto& h : cddb::parseQueryReply(reply))
            got.append(h.category + '|' + h.discId + '|' + h.title);
        QCOMPARE(got, hits);
    }

    void records_data() {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("tracks"); // interpreter|title
        QTest::newRow("slash separator")
            << "DTITLE=Die Ärzte / Debil\nTTITLE0=Paul\nTTITLE1=Zu spät\n"
            << "Die Ärzte"
            << "Debil" << QStringList({"Die Ärzte|Paul", "Die Ärzte|Zu spät"});
        QTest::newRow("dash separator") << "DTITLE=Abba - Arrival\nTTITLE0=Dancing Queen - Abba\n"
                                        << "Abba"
                                        << "Arrival" << QStringList({"Abba|Dancing Queen"});
        QTest::newRow("no separator") << "DTITLE=Bravo Hits\nTTITLE0=Lied\n"
                                      << "Bravo Hits"
                                      << "Bravo Hits" << QStringList({"Bravo Hits|Lied"});
        QTest::newRow("continued lines")
            << "DTITLE=Lange / Na\nDTITLE=men\nTTITLE0=Ein sehr lan\nTTITLE0=ger "
               "Titel\nTTITLE1=Zwei\n"
            << "Lange"
            << "Namen" << QStringList({"Lange|Ein sehr langer Titel", "Lange|Zwei"});
        QTest::newRow("compilation") << "DTITLE=Various / Sampler\nTTITLE0=Nena / 99 Luftballons\n"
                                     << "Various"
                                     << "Sampler" << QStringList({"Nena|99 Luftballons"});
        QTest::newRow("escapes") << "DTITLE=A / B\\\\C\nTTITLE0=Tab\\there\n"
                                 << "A"
                                 << "B\\C" << QStringList({"A|Tab\there"});
        QTest::newRow("numbered tracks") << "DTITLE=X / Y\nTTITLE1=Zweites\nTTITLE0=Erstes\n"
                                         << "X"
                                         << "Y" << QStringList({"X|Erstes", "X|Zweites"});
    }
    void records() {
        QFETCH(QString, record);
        QFETCH(QString, artist);
        QFETCH(QString, title);
        QFETCH(QStringList, tracks);
        const auto disc = cddb::parseRecord(
            "210 rock 7908090a CD database entry follows\r\n# xmcd\r\n" + record + ".\r\n");
        QCOMPARE(disc.artist, artist);
        QCOMPARE(disc.title, title);
        QStringList got;
        for (const auto& t : disc.tracks)
            got.append(t.interpreter + '|' + t.title);
        QCOMPARE(got, tracks);
    }

    void extendedData() {
        const auto disc =
            cddb::parseRecord("DTITLE=A / B\r\nEXTD=Erste Zeile\\nZwei\r\nEXTD=te Zeile\r\n.\r\n");
        QCOMPARE(disc.extendedData, QStringList({"Erste Zeile", "Zweite Zeile"}));
    }

    void yearAndGenre() {
        const auto disc = cddb::parseRecord(
            "DTITLE=A / B\r\nDYEAR=1984\r\nDGENRE=Neue Deutsche\r\nDGENRE= Welle\r\n.\r\n");
        QCOMPARE(disc.year, QStringLiteral("1984"));
        QCOMPARE(disc.genre, QStringLiteral("Neue Deutsche Welle"));
    }
};

QTEST_GUILESS_MAIN(TestCddbText)
#include "tst_cddbtext.moc"
