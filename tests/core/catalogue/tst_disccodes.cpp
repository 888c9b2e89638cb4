// Disc check codes: the question sequence, the old codes kept until a disc was read.
#include "carrierfixture.h"
#include "core/catalogue/disccodes.h"
#include "core/db/dataset.h"
#include "support/scriptedmessageservice.h"

#include <QTemporaryDir>
#include <QTest>

using B = MessageButton;

class TestDiscCodes : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

    QString codes() {
        Statement s = m_db.prepare(u"SELECT \"CD Nummer\", \"CD Pruefcode\" FROM MUSIKINF WHERE "
                                   u"\"Folgenummer Kopf\" = 1 ORDER BY 1");
        QStringList parts;
        while (s.next())
            parts.append(QStringLiteral("%1:%2").arg(s.toInt64(0)).arg(qint64(s.toDouble(1))));
        return parts.join(QLatin1Char(' '));
    }

private slots:
    void init() {
        QFile::remove(dataset::databasePath(m_dir.path()));
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
        addCarrier(m_db, CarrierSpec(1, QStringLiteral("A")));
    }
    void cleanup() { m_db.close(); }

    void sequence_data() {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<QList<B>>("answers");
        QTest::addColumn<QList<int>>("reads"); // per read: 0 fails, 1 audio, 2 data only
        QTest::addColumn<QString>("codes");
        QTest::addColumn<int>("questions");
        const QString old = QStringLiteral("1:99");
        QTest::newRow("two discs") << false << QList<B>{B::Yes, B::Yes, B::Yes, B::No}
                                   << QList<int>{1, 1} << "1:1 2:2" << 4;
        QTest::newRow("overwrite")
            << true << QList<B>{B::Yes, B::Yes, B::No} << QList<int>{1} << "1:1" << 3;
        QTest::newRow("keep: Nein") << true << QList<B>{B::No} << QList<int>{} << old << 1;
        QTest::newRow("keep: Abbrechen before a disc")
            << true << QList<B>{B::Yes, B::No, B::Cancel} << QList<int>{} << old << 3;
        QTest::newRow("read fails, try again")
            << false << QList<B>{B::Yes, B::Yes, B::No} << QList<int>{0, 1} << "1:2" << 3;
        QTest::newRow("data-only disc, give up")
            << true << QList<B>{B::Yes, B::Yes, B::No} << QList<int>{2} << old << 3;
    }
    void sequence() {
        QFETCH(bool, existing);
        QFETCH(QList<B>, answers);
        QFETCH(QList<int>, reads);
        QFETCH(QString, codes);
        QFETCH(int, questions);
        if (existing)
            records::insert(m_db, DiscCodeRecord{1, 1, 99});
        ScriptedMessageService messages;
        for (B b : answers)
            messages.answer(b);
        int read = 0;
        auto reader = [&](const QString& drive, CdTocResult& r) -> qint64 {
            if (drive != QLatin1String("/dev/sr1") || read >= reads.size())
                return -1;
            const int kind = reads[read++];
            r.hasAudio = kind == 1;
            r.discId = quint32(read);
            return kind == 0 ? -1 : 5;
        };
        disccodes::record(m_db, 1, QStringLiteral("/dev/sr1"), messages, reader);
        QCOMPARE(this->codes(), codes);
        QCOMPARE(messages.messages().size(), questions);
    }

    void questions() {
        ScriptedMessageService messages;
        records::insert(m_db, DiscCodeRecord{1, 1, 99});
        for (B b : {B::Yes, B::Yes, B::Yes, B::Yes, B::Yes, B::No})
            messages.answer(b);
        int calls = 0;
        auto reader = [&](const QString&, CdTocResult& r) -> qint64 {
            ++calls;
            r.hasAudio = calls != 1;
            r.discId = 0xF00DCAFE;
            return 5;
        };
        disccodes::record(m_db, 1, QString(), messages, reader);
        const QStringList texts = [&] {
            QStringList t;
            for (const Message& m : messages.messages())
                t.append(QStringLiteral("%1 %2").arg(m.helpContext).arg(m.text));
            return t;
        }();
        QCOMPARE(texts,
                 (QStringList{
                     "31005 Der CD-Prüfcode für diesen Tonträger existiert bereits! Soll der "
                     "Prüfcode überschrieben werden?",
                     "32001 CD Nummer 1 eingelegt? ",
                     "32001 Die eingelegte CD ist keine Audio-CD! Weiter versuchen die Daten "
                     "zu ermitteln?",
                     "32001 Soll der Prüfcode für eine weitere CD (Nummer 2) ermittelt werden?",
                     "32001 CD Nummer 2 eingelegt? ",
                     "32001 Soll der Prüfcode für eine weitere CD (Nummer 3) ermittelt werden?"}));
        // Stored as a signed 32-bit number, as the CD player looks it up.
        QCOMPARE(this->codes(), QStringLiteral("1:%1 2:%1").arg(qint32(0xF00DCAFE)));
    }

    void driveFromCaption() {
        const QStringList drives{"/dev/sr0", "/dev/sr1"};
        QCOMPARE(disccodes::driveFor(QStringLiteral("CD-Prüfcode /dev/sr1"), drives), drives[1]);
        QCOMPARE(disccodes::driveFor(QStringLiteral("&CD-Prüfcode"), drives), drives[0]);
    }
};

QTEST_GUILESS_MAIN(TestDiscCodes)
#include "tst_disccodes.moc"
