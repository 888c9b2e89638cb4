#include "collectiongenerator.h"

#include "core/common/laufzeit.h"
#include "core/common/packeddatetime.h"
#include "core/db/recordaccess.h"

#include <QStringList>
#include <random>

namespace {

const QStringList kFirst = {"Die",    "The",    "Peter",  "Anna", "Nena",  "Blaue",  "Rote",
                            "Gold",   "Silber", "Neue",   "Alte", "Wilde", "Stille", "Große",
                            "Kleine", "Ärzte",  "Ölfeld", "Über", "Zarte", "Bunte"};
const QStringList kSecond = {"Band",       "Sterne",  "Kapelle",   "Boys",     "Girls", "Brüder",
                             "Schwestern", "Freunde", "Orchester", "Ensemble", "Trio",  "Quartett",
                             "Sänger",     "Chor",    "Rebellen",  "Träumer"};
const QStringList kWords = {"Liebe", "Nacht", "Sommer", "Regen",  "Herz",   "Straße", "Himmel",
                            "Meer",  "Tanz",  "Traum",  "Feuer",  "Wind",   "Sonne",  "Mond",
                            "Zeit",  "Weg",   "Lied",   "Stadt",  "Licht",  "Winter", "Morgen",
                            "Abend", "Glück", "Reise",  "Heimat", "Flügel", "Spiegel"};
const QStringList kTowns = {"Berlin",    "Hamburg",   "München",    "Köln",
                            "Frankfurt", "Stuttgart", "Düsseldorf", "Leipzig",
                            "Dresden",   "Nürnberg",  "Bremen",     "Hannover"};

class Random {
public:
    explicit Random(std::uint32_t seed) : m_engine(seed) {}
    int between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_engine);
    }
    bool chance(int percent) { return between(1, 100) <= percent; }
    const QString& pick(const QStringList& list) { return list[between(0, int(list.size()) - 1)]; }
    QString phrase(int words) {
        QStringList parts;
        for (int i = 0; i < words; ++i)
            parts.append(pick(kWords));
        return parts.join(QLatin1Char(' '));
    }

private:
    std::mt19937 m_engine;
};

} // namespace

// Open lendings on evenly spread carriers (marked lent), returned ones on random carriers;
// borrower 1 gets the heavy share of both. Numbers are distinct per carrier and state.
void generateLendings(Database& db, const CollectionSize& size, Random& random) {
    records::Inserter<LendingRecord> lendings(db);
    Statement markLent =
        db.prepare(u"UPDATE \"MUSIKKOP\" SET \"Status\" = -1 WHERE \"Folgenummer Kopf\" = ?1");
    const QDateTime start(QDate(2018, 1, 1), QTime(9, 0));
    const int lent = std::min(*size.lentCarriers, size.carriers);
    const int heavyOpen = std::min(lent, size.heavyBorrowerLendings / 5);
    const int heavyReturned = size.heavyBorrowerLendings - heavyOpen;
    auto borrowerFor = [&](int i, int heavy) {
        return i < heavy || size.borrowers == 1 ? 1 : random.between(2, size.borrowers);
    };
    for (int i = 0; i < lent; ++i) {
        const int c = 1 + int(qint64(i) * size.carriers / std::max(1, lent));
        const QDateTime when = start.addSecs(qint64(i) * 3600);
        LendingRecord l;
        l.tontraegernummer = c;
        l.verleihstatus = 1;
        l.folgenummer = packeddatetime::pack(when);
        l.verliehenAn = borrowerFor(i, heavyOpen);
        l.verliehenAm = when.date();
        l.statusAlt = random.between(1, 7);
        lendings.insert(l);
        markLent.bind(1, c);
        markLent.run();
        markLent.reset();
    }
    for (int i = 0; i < size.returnedLendings + heavyReturned; ++i) {
        const QDateTime when = start.addSecs(qint64(i) * 1800 + 7);
        LendingRecord l;
        l.tontraegernummer = random.between(1, size.carriers);
        l.verleihstatus = 0;
        l.folgenummer = packeddatetime::pack(when);
        l.verliehenAn = borrowerFor(i, heavyReturned);
        l.verliehenAm = when.date();
        l.zurueckAm = when.date().addDays(random.between(1, 60));
        l.statusAlt = random.between(1, 7);
        lendings.insert(l);
    }
}

void generateCollection(Database& db, const CollectionSize& size) {
    Random random(size.seed);
    Transaction transaction(db);
    records::Inserter<CarrierRecord> carriers(db);
    records::Inserter<CarrierInfoRecord> infos(db);
    records::Inserter<SongRecord> songs(db);
    records::Inserter<SongInfoRecord> songInfos(db);
    records::Inserter<CarrierTextRecord> texts(db);
    records::Inserter<DiscCodeRecord> discCodes(db);
    records::Inserter<BorrowerRecord> borrowers(db);
    records::Inserter<LendingRecord> lendings(db);

    for (int b = 1; b <= size.borrowers; ++b) {
        BorrowerRecord r;
        r.folgenummer = b;
        r.name1 = random.pick(kFirst) + QLatin1Char(' ') + random.pick(kSecond);
        r.name2 = QStringLiteral("Nr. %1").arg(b);
        r.strasse = random.pick(kWords) + QStringLiteral("weg %1").arg(random.between(1, 120));
        r.postleitzahl = QString::number(random.between(10000, 99999));
        r.ort = random.pick(kTowns);
        r.land = QStringLiteral("Deutschland");
        r.telefon = QStringLiteral("0%1 %2")
                        .arg(random.between(30, 999))
                        .arg(random.between(100000, 9999999));
        borrowers.insert(r);
    }

    std::vector<int> numberPerType(14, 0);
    const QDateTime firstLending(QDate(2020, 1, 1), QTime(10, 0));
    for (int c = 1; c <= size.carriers; ++c) {
        const int type = random.between(1, 13);
        CarrierRecord k;
        k.gruppeInterpretText1 = random.pick(kFirst) + QLatin1Char(' ') + random.pick(kSecond);
        k.text2 = random.phrase(random.between(1, 4));
        k.artDerSchallplatte = type;
        k.nummerierung = ++numberPerType[type];
        k.folgenummerKopf = c;
        k.erscheinungsjahr = QString::number(random.between(1955, 2026));
        k.musikrichtung = random.between(1, 28);
        k.anzahlDerLieder = size.songsPerCarrier;
        k.status = random.between(1, 7);
        k.kaufpreis = random.between(100, 4999) / 100.0;
        k.kaufdatum = QDate(1980, 1, 1).addDays(random.between(0, 16000));
        k.bewertung = random.between(0, 9);

        double total = 0;
        for (int s = 1; s <= size.songsPerCarrier; ++s) {
            SongRecord song;
            song.folgenummerPosition = c;
            song.seiteDerSchallplatte = s <= size.songsPerCarrier / 2 ? 1 : 2;
            song.nrDesLiedes = s;
            song.titelDesLiedes = random.phrase(random.between(1, 5));
            song.interpretDesLiedes = k.gruppeInterpretText1;
            song.laufzeitDesLiedes = laufzeit::fromSeconds(random.between(90, 420));
            song.musikrichtung = k.musikrichtung;
            song.zaehlwerkstandVon = 0;
            song.zaehlwerkstandBis = 0;
            song.bewertung = random.between(0, 9);
            song.erscheinungsjahr = k.erscheinungsjahr;
            total = laufzeit::add(total, *song.laufzeitDesLiedes);
            songs.insert(song);
            if (random.chance(20)) {
                SongInfoRecord info;
                info.folgenummerPosInfo = c;
                info.seiteDerSchallplatte = song.seiteDerSchallplatte;
                info.nrDesLiedes = s;
                info.bpmVon = qint16(random.between(60, 140));
                info.bpmBis = qint16(*info.bpmVon + random.between(0, 20));
                info.tanzstil = random.between(0, 20);
                songInfos.insert(info);
            }
        }
        k.laufzeitDerSchallplatte = total;

        CarrierInfoRecord info;
        info.folgenummerInfo = c;
        info.pressung = QStringLiteral("D");
        info.zustand = QString::number(random.between(1, 5));
        info.aufnahme = QStringLiteral("Studio");
        info.firma = random.pick(kSecond) + QStringLiteral(" Records");
        info.bestellcode = QStringLiteral("%1-%2").arg(random.between(100, 999)).arg(c);
        info.currency = k.kaufdatum < QDate(2002, 1, 1) ? 2 : 1;
        info.creationDate = k.kaufdatum;
        info.changeDate = k.kaufdatum;
        const int fallback = size.fallbackEvery > 0 ? c % size.fallbackEvery : -1;
        if (fallback == 1)
            info.currency = 0;
        if (fallback != 2)
            infos.insert(info);

        if (random.chance(30)) {
            CarrierTextRecord text;
            text.folgenummerText = c;
            text.freierText = random.phrase(40) + QStringLiteral("\r\n") + random.phrase(30);
            texts.insert(text);
        }
        if (type == 6 || type == 7) {
            DiscCodeRecord code;
            code.folgenummerKopf = c;
            code.cdNummer = 1;
            // Stored as the program stores disc IDs: signed 32-bit.
            code.cdPruefcode =
                double(qint32(std::uint32_t(random.between(0, 0x7FFFFFFF)) * 2u + 1u));
            discCodes.insert(code);
        }
        if (!size.lentCarriers && size.borrowers > 0 && random.chance(5)) {
            const QDateTime when = firstLending.addSecs(qint64(c) * 600);
            LendingRecord lending;
            lending.tontraegernummer = c;
            lending.folgenummer = packeddatetime::pack(when);
            lending.verliehenAn = random.between(1, size.borrowers);
            lending.verliehenAm = when.date();
            lending.statusAlt = k.status;
            if (random.chance(50)) {
                lending.verleihstatus = 1;
                k.status = -1;
            } else {
                lending.verleihstatus = 0;
                lending.zurueckAm = when.date().addDays(random.between(1, 60));
            }
            lendings.insert(lending);
        }
        if (fallback == 3)
            k.erscheinungsjahr.clear();
        if (fallback == 4)
            k.artDerSchallplatte = 99;
        carriers.insert(k);
    }
    if (size.lentCarriers && size.borrowers > 0)
        generateLendings(db, size, random);
    transaction.commit();
}
