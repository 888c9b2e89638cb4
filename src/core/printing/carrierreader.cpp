#include "carrierreader.h"

#include "core/db/database.h"
#include "core/db/recordaccess.h"
#include "templatestore.h"

#include <map>

namespace {
template <class R> Statement prepareFor(Database& db, const char* tail) {
    return db.prepare(records::selectSql(records::tableOf<R>()) + QLatin1Char(' ') +
                      QString::fromUtf8(tail));
}
} // namespace

CarrierReader::CarrierReader(Database& db)
    : m_db(db), m_carrier(prepareFor<CarrierRecord>(db, "WHERE \"Folgenummer Kopf\" = ?1")),
      m_info(prepareFor<CarrierInfoRecord>(db, "WHERE \"Folgenummer Info\" = ?1")),
      m_songs(prepareFor<SongRecord>(db, "WHERE \"Folgenummer Position\" = ?1 ORDER BY "
                                         "\"Seite der Schallplatte\", \"Nr. des Liedes\"")),
      m_songInfos(prepareFor<SongInfoRecord>(db, "WHERE \"Folgenummer Pos Info\" = ?1")),
      m_text(prepareFor<CarrierTextRecord>(db, "WHERE \"Folgenummer Text\" = ?1")) {}

std::optional<CarrierPrintData> CarrierReader::read(int carrierNumber) {
    auto start = [&](Statement& s) {
        s.reset();
        s.bind(1, carrierNumber);
    };
    start(m_carrier);
    if (!m_carrier.next())
        return std::nullopt;
    CarrierPrintData data;
    data.carrier = records::readRecord<CarrierRecord>(m_carrier);
    m_carrier.reset();

    start(m_info);
    if (m_info.next())
        data.info = records::readRecord<CarrierInfoRecord>(m_info);
    m_info.reset();

    std::map<std::pair<qint64, qint64>, SongInfoRecord> infos;
    start(m_songInfos);
    while (m_songInfos.next()) {
        SongInfoRecord info = records::readRecord<SongInfoRecord>(m_songInfos);
        infos.emplace(std::pair(qRound64(info.seiteDerSchallplatte), qRound64(info.nrDesLiedes)),
                      info);
    }
    m_songInfos.reset();

    start(m_songs);
    while (m_songs.next()) {
        SongRecord song = records::readRecord<SongRecord>(m_songs);
        const auto it =
            infos.find(std::pair(qRound64(song.seiteDerSchallplatte), qRound64(song.nrDesLiedes)));
        data.songInfos.push_back(it == infos.end() ? std::nullopt
                                                   : std::optional<SongInfoRecord>(it->second));
        data.songs.push_back(std::move(song));
    }
    m_songs.reset();

    start(m_text);
    if (m_text.next())
        data.additionalText =
            templatestore::withCrLf(records::readRecord<CarrierTextRecord>(m_text).freierText);
    m_text.reset();
    return data;
}

std::vector<int> CarrierReader::allNumbers() {
    Statement s = m_db.prepare(u"SELECT \"Folgenummer Kopf\" FROM \"MUSIKKOP\" ORDER BY "
                               u"\"Folgenummer Kopf\"");
    std::vector<int> numbers;
    while (s.next())
        numbers.push_back(int(s.toInt64(0)));
    return numbers;
}
