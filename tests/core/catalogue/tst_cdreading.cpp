#include "core/catalogue/cdreading.h"
#include "core/common/laufzeit.h"
#include "support/discimage.h"
#include "support/scriptedmessageservice.h"

#include <QQueue>
#include <QTemporaryDir>
#include <QTest>

namespace {

class ScriptedLookup : public CddbLookupService {
public:
    QQueue<CddbAnswer> answers; // not found once they run out
    QList<quint32> asked;
    CddbAnswer lookup(const CdTocResult& disc) override {
        asked.append(disc.discId);
        return answers.isEmpty() ? CddbAnswer() : answers.dequeue();
    }
};

CddbAnswer found(const QString& artist, int tracks, const QString& extended) {
    CddbAnswer a;
    a.found = true;
    a.artist = artist;
    a.title = artist + QStringLiteral(" Album");
    for (int i = 0; i < tracks; ++i)
        a.titles.append({artist, QStringLiteral("%1 %2").arg(artist).arg(i + 1)});
    a.extendedData = {extended};
    return a;
}

QStringList texts(const ScriptedMessageService& messages) {
    QStringList t;
    for (const Message& m : messages.messages())
        t.append(m.text);
    return t;
}

} // namespace

class TestCdReading : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QStringList m_images;

    // Reads disc n from the n-th image instead of a drive.
    TocReader imageReader() {
        return [this](int disc, const QString&, QList<TCDList>* list, CdTocResult& result) {
            return ReadCDToc(disc, m_images.value(disc - 1), list, result);
        };
    }

private slots:
    void initTestCase() {
        QList<std::pair<int, bool>> twelve, ten;
        for (int i = 0; i < 12; ++i)
            twelve.append({20 + i, true});
        for (int i = 0; i < 10; ++i)
            ten.append({30 + 3 * i, true});
        m_images = {writeDiscImage(m_dir.path(), "a", twelve),
                    writeDiscImage(m_dir.path(), "b", ten),
                    writeDiscImage(m_dir.path(), "c", {{10, true}, {45, true}}),
                    writeDiscImage(m_dir.path(), "data", {{10, false}})};
    }

    void threeDiscs() {
        ScriptedMessageService messages;
        for (int i = 0; i < 5; ++i)
            messages.answer(MessageButton::Yes);
        messages.answer(MessageButton::No);
        ScriptedLookup lookup;
        lookup.answers << found("A", 12, "eins") << found("B", 10, "zwei") << found("C", 2, "drei");
        const auto reading = readCds(messages, QString(), lookup, imageReader());
        QVERIFY(reading);
        QCOMPARE(reading->codes.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(reading->codes[i].cdNumber, qint16(i + 1));
            QCOMPARE(reading->codes[i].discId, lookup.asked[i]);
        }
        QCOMPARE(reading->totalTracks, 24);
        QCOMPARE(reading->tracks.size(), 24);
        QCOMPARE(reading->tracks[12].cdNumber, qint16(2));
        double total = 0;
        for (const TCDList& t : reading->tracks)
            total = laufzeit::add(total, t.length);
        QCOMPARE(reading->totalTime, total);
        QCOMPARE(reading->artist, QStringLiteral("A"));
        QCOMPARE(reading->textLines, QStringList({"eins", "zwei", "drei"}));
        QCOMPARE(reading->trackTitles[12]->title, QStringLiteral("B 1"));
        const QStringList asked = texts(messages);
        QCOMPARE(asked[0], QStringLiteral("CD Nummer 1 eingelegt? "));
        QCOMPARE(
            asked[1],
            QStringLiteral("Soll der Prüfcode für eine weitere CD (Nummer 2) ermittelt werden?"));
        QCOMPARE(messages.messages()[0].helpContext, 32001);
        QCOMPARE(messages.messages()[0].buttons, MessageButton::Yes | MessageButton::No |
                                                     MessageButton::Cancel | MessageButton::Help);
    }

    void unmatchedFirstDisc() {
        ScriptedMessageService messages;
        for (auto a :
             {MessageButton::Yes, MessageButton::Yes, MessageButton::Yes, MessageButton::No})
            messages.answer(a);
        ScriptedLookup lookup;
        lookup.answers << CddbAnswer() << found("B", 10, "zwei");
        const auto reading = readCds(messages, QString(), lookup, imageReader());
        QVERIFY(reading);
        QVERIFY(reading->found);
        QCOMPARE(reading->artist, QStringLiteral("B"));
        QVERIFY(!reading->trackTitles[0]);
        QVERIFY(!reading->trackTitles[11]);
        QCOMPARE(reading->trackTitles[12]->title, QStringLiteral("B 1"));
        QCOMPARE(reading->textLines, QStringList{"zwei"});
    }

    // "Nein" asks for the disc again; "Abbrechen" gives up without a reading.
    void promptAnswers() {
        ScriptedMessageService messages;
        messages.answer(MessageButton::No);
        messages.answer(MessageButton::Cancel);
        ScriptedLookup lookup;
        QVERIFY(!readCds(messages, QString(), lookup, imageReader()));
        QCOMPARE(texts(messages), QStringList(2, QStringLiteral("CD Nummer 1 eingelegt? ")));
        QVERIFY(lookup.asked.isEmpty());
    }

    // Cancelling the second disc drops the first disc's reading too.
    void cancelAfterFirstDisc() {
        ScriptedMessageService messages;
        for (auto a : {MessageButton::Yes, MessageButton::Yes, MessageButton::Cancel})
            messages.answer(a);
        ScriptedLookup lookup;
        QVERIFY(!readCds(messages, QString(), lookup, imageReader()));
        QCOMPARE(lookup.asked.size(), 1);
    }

    void failedRead_data() {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("question");
        QTest::newRow("no disc") << "missing.cue"
                                 << "Die CD-Daten konnten nicht ermittelt werden! Weiter versuchen "
                                    "die Daten zu ermitteln?";
        QTest::newRow("data only") << "data.cue"
                                   << "Die eingelegte CD ist keine Audio-CD! Weiter versuchen die "
                                      "Daten zu ermitteln?";
    }
    void failedRead() {
        QFETCH(QString, image);
        QFETCH(QString, question);
        ScriptedMessageService messages;
        for (auto a : {MessageButton::Yes, MessageButton::Yes, MessageButton::No})
            messages.answer(a);
        ScriptedLookup lookup;
        int reads = 0;
        const QString path = m_dir.filePath(image);
        TocReader reader = [&](int disc, const QString&, QList<TCDList>* list, CdTocResult& r) {
            ++reads;
            return ReadCDToc(disc, path, list, r);
        };
        QVERIFY(!readCds(messages, QString(), lookup, reader));
        QCOMPARE(reads, 2);
        const QStringList asked = texts(messages);
        QCOMPARE(asked,
                 QStringList({QStringLiteral("CD Nummer 1 eingelegt? "), question, question}));
        QCOMPARE(messages.messages()[1].buttons,
                 MessageButton::Yes | MessageButton::No | MessageButton::Help);
        QVERIFY(lookup.asked.isEmpty());
    }

    // After a failed attempt "Ja" reads the same disc again without asking for it.
    void retryAfterFailure() {
        ScriptedMessageService messages;
        for (auto a : {MessageButton::Yes, MessageButton::Yes, MessageButton::No})
            messages.answer(a);
        ScriptedLookup lookup;
        int reads = 0;
        TocReader reader = [&](int disc, const QString&, QList<TCDList>* list, CdTocResult& r) {
            return ++reads == 1 ? qint64(-1) : ReadCDToc(disc, m_images[2], list, r);
        };
        const auto reading = readCds(messages, QString(), lookup, reader);
        QVERIFY(reading);
        QCOMPARE(reading->tracks.size(), 2);
        QVERIFY(!reading->found);
    }

    // Disc images: each disc is a chosen file, a failed reading asks for another file, and
    // cancelling the choice gives up.
    void imageFiles_data() {
        QTest::addColumn<QStringList>("files"); // the choices in order; empty: cancelled
        QTest::addColumn<QList<MessageButton>>("answers");
        QTest::addColumn<int>("tracks"); // -1: no reading
        QTest::newRow("two discs")
            << QStringList{"a.cue", "c.cue"}
            << QList<MessageButton>{MessageButton::Yes, MessageButton::No} << 14;
        QTest::newRow("data image, then another")
            << QStringList{"data.cue", "c.cue"}
            << QList<MessageButton>{MessageButton::Yes, MessageButton::No} << 2;
        QTest::newRow("missing file, then cancelled")
            << QStringList{"missing.cue", QString()} << QList<MessageButton>{MessageButton::Yes}
            << -1;
        QTest::newRow("cancelled at once")
            << QStringList{QString()} << QList<MessageButton>{} << -1;
    }
    void imageFiles() {
        QFETCH(QStringList, files);
        QFETCH(QList<MessageButton>, answers);
        QFETCH(int, tracks);
        ScriptedMessageService messages;
        for (const QString& file : files)
            messages.answerFile(file.isEmpty() ? QString() : m_dir.filePath(file));
        for (MessageButton a : answers)
            messages.answer(a);
        ScriptedLookup lookup;
        QString directory;
        const auto reading = readCds(messages, imageSource(messages, &directory), lookup);
        QCOMPARE(reading ? int(reading->tracks.size()) : -1, tracks);
        QCOMPARE(messages.fileChoices().size(), files.size());
        QCOMPARE(messages.fileChoices().first().title,
                 QStringLiteral("CD-Abbild wählen (CD Nummer 1)"));
        QVERIFY(messages.fileChoices().first().filter.contains(QLatin1String("*.cue")));
        // The next choice opens where the last image was.
        if (files.size() > 1)
            QCOMPARE(messages.fileChoices()[1].directory, m_dir.path());
        for (const Message& m : messages.messages())
            QVERIFY(!m.text.startsWith(QLatin1String("CD Nummer")));
    }
};

QTEST_GUILESS_MAIN(TestCdReading)
#include "tst_cdreading.moc"
