#include "songstore.h"

#include "carrierstore.h"
#include "core/db/recordaccess.h"

namespace {

const QString kDataTrack = QStringLiteral("Data-Track");

SongInfoRecord emptyInfo(double carrier, double side, double number) {
    SongInfoRecord info;
    info.folgenummerPosInfo = carrier;
    info.seiteDerSchallplatte = side;
    info.nrDesLiedes = number;
    info.bpmVon = 0;
    info.bpmBis = 0;
    info.tanzstil = 0;
    return info;
}

SongRecord songOf(const CarrierRecord& carrier, double side, double number) {
    SongRecord s;
    s.folgenummerPosition = carrier.folgenummerKopf;
    s.seiteDerSchallplatte = side;
    s.nrDesLiedes = number;
    s.interpretDesLiedes = carrier.gruppeInterpretText1;
    s.laufzeitDesLiedes = 0;
    s.musikrichtung = carrier.musikrichtung;
    s.zaehlwerkstandVon = 0;
    s.zaehlwerkstandBis = 0;
    s.bewertung = 0;
    s.erscheinungsjahr = carrier.erscheinungsjahr;
    return s;
}

} // namespace

std::vector<SongRecord> SongStore::songs(int carrier) {
    return records::select<SongRecord>(m_db,
                                       u"WHERE \"Folgenummer Position\" = ?1 "
                                       u"ORDER BY \"Seite der Schallplatte\", \"Nr. des Liedes\"",
                                       {carrier});
}

SongInfoRecord SongStore::info(int carrier, double side, double number) {
    if (auto found = records::find(m_db, emptyInfo(carrier, side, number)))
        return *found;
    return emptyInfo(carrier, side, number);
}

bool SongStore::hasAnyInfo(int carrier) {
    Statement s = m_db.prepare(
        u"SELECT 1 FROM \"MusikPosInformation\" WHERE \"Folgenummer Pos Info\" = ?1 LIMIT 1");
    s.bind(1, carrier);
    return s.next();
}

void SongStore::save(int carrier, SongData& data,
                     std::optional<std::pair<double, double>> originalKey, const QDate& today) {
    SongRecord song = data.song;
    SongInfoRecord info = data.info;
    song.folgenummerPosition = carrier;
    info.folgenummerPosInfo = carrier;
    info.seiteDerSchallplatte = song.seiteDerSchallplatte;
    info.nrDesLiedes = song.nrDesLiedes;
    Transaction t(m_db);
    if (originalKey) {
        SongRecord oldKey;
        oldKey.folgenummerPosition = carrier;
        oldKey.seiteDerSchallplatte = originalKey->first;
        oldKey.nrDesLiedes = originalKey->second;
        if (records::update(m_db, oldKey, song) == 0)
            records::insert(m_db, song);
        const SongInfoRecord oldInfo = emptyInfo(carrier, originalKey->first, originalKey->second);
        if (records::find(m_db, oldInfo)) {
            records::update(m_db, oldInfo, info);
        } else {
            records::remove(m_db, info); // a stray record under the new key
            records::insert(m_db, info);
        }
    } else {
        records::insert(m_db, song);
        records::remove(m_db, info);
        records::insert(m_db, info);
    }
    CarrierStore::touch(m_db, carrier, today);
    m_db.notifier().announce(Change::Songs, carrier);
    t.commit();
    data.song = song;
    data.info = info;
}

void SongStore::remove(int carrier, double side, double number) {
    Transaction t(m_db);
    SongRecord key;
    key.folgenummerPosition = carrier;
    key.seiteDerSchallplatte = side;
    key.nrDesLiedes = number;
    records::remove(m_db, key);
    records::remove(m_db, emptyInfo(carrier, side, number));
    m_db.notifier().announce(Change::Songs, carrier);
    t.commit();
}

SongData SongStore::firstSong(const CarrierRecord& carrier) {
    SongData d;
    d.song = songOf(carrier, 1, 1);
    d.info = emptyInfo(carrier.folgenummerKopf, 1, 1);
    return d;
}

SongData SongStore::nextSong(const SongRecord& last, const OptNumber& danceStyle) {
    SongData d;
    SongRecord& s = d.song;
    s.folgenummerPosition = last.folgenummerPosition;
    s.seiteDerSchallplatte = last.seiteDerSchallplatte;
    s.nrDesLiedes = last.nrDesLiedes + 1;
    s.interpretDesLiedes = last.interpretDesLiedes;
    s.laufzeitDesLiedes = 0;
    s.musikrichtung = last.musikrichtung;
    const double bis = last.zaehlwerkstandBis.value_or(0);
    s.zaehlwerkstandVon = bis > 0 ? bis + 1 : 0;
    s.zaehlwerkstandBis = 0;
    s.bewertung = 0;
    s.erscheinungsjahr = last.erscheinungsjahr;
    d.info = emptyInfo(last.folgenummerPosition, s.seiteDerSchallplatte, s.nrDesLiedes);
    d.info.tanzstil = danceStyle.value_or(0);
    return d;
}

void SongStore::createFromReading(Database& db, int carrier, const CarrierRecord& record,
                                  const CdReading& reading) {
    records::Inserter<SongRecord> songs(db);
    records::Inserter<SongInfoRecord> infos(db);
    for (const ReadingSong& song : reading.songs) {
        SongRecord s = songOf(record, song.side, song.number);
        s.folgenummerPosition = carrier;
        s.titelDesLiedes = song.title;
        s.interpretDesLiedes = song.interpreter;
        s.laufzeitDesLiedes = song.length;
        songs.insert(s);
        infos.insert(emptyInfo(carrier, song.side, song.number));
    }
    if (!reading.songs.isEmpty())
        return;
    double side = 1, number = 0;
    for (int i = 0; i < reading.tracks.size(); ++i) {
        const TCDList& track = reading.tracks[i];
        number += 1;
        if (side < track.cdNumber) {
            side += 1;
            number = 1;
        }
        SongRecord s = songOf(record, side, number);
        s.folgenummerPosition = carrier;
        s.laufzeitDesLiedes = track.length;
        if (!track.audio)
            s.titelDesLiedes = kDataTrack;
        if (const auto& title = reading.trackTitles.value(i)) {
            s.titelDesLiedes = title->title;
            s.interpretDesLiedes = title->interpreter;
        }
        songs.insert(s);
        infos.insert(emptyInfo(carrier, side, number));
    }
}
