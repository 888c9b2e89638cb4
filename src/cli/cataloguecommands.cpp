#include "cataloguecommands.h"
#include "console.h"
#include "core/shell/datadirectorylock.h"
#include "newcarrier.h"

#include "core/catalogue/carrierorigins.h"
#include "core/catalogue/carrierstore.h"
#include "core/catalogue/detailstores.h"
#include "core/catalogue/songstore.h"
#include "core/cd/cddbclient.h"
#include "core/cd/discfill.h"
#include "core/cd/musicbrainzclient.h"
#include "core/common/germanformat.h"
#include "core/common/laufzeit.h"
#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/settings/settings.h"
#include "usage.h"

#include <QBuffer>
#include <QHostInfo>
#include <QImageReader>

namespace {

int catalogueUsage() {
    return usagetext::show({QStringLiteral("add-cd"), QStringLiteral("show")});
}

struct AddCdOptions {
    QString directory;
    QStringList sources;
    QString type;
    std::optional<QString> group;
    std::optional<QString> title;
    std::optional<double> number;
    QString host;
    int port = 0;
    QString user;
    int hit = 1;
    bool musicBrainz = false;
    bool cover = false;
    bool allowDuplicate = false;
    QString server; // MusicBrainz and its cover archive; the settings' when empty
    QString coverServer;
};

std::optional<AddCdOptions> parseAddCd(const QStringList& args) {
    AddCdOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            if (o.directory.isEmpty())
                o.directory = a;
            else
                o.sources.append(a);
            continue;
        }
        if (a == QLatin1String("--musicbrainz") || a == QLatin1String("--cover")) {
            (a == QLatin1String("--cover") ? o.cover : o.musicBrainz) = true;
            continue;
        }
        if (a == QLatin1String("--allow-duplicate")) {
            o.allowDuplicate = true;
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        const QString value = args[++i];
        bool ok = true;
        if (a == QLatin1String("--type"))
            o.type = value;
        else if (a == QLatin1String("--group"))
            o.group = value;
        else if (a == QLatin1String("--title"))
            o.title = value;
        else if (a == QLatin1String("--number"))
            o.number = value.toLongLong(&ok);
        else if (a == QLatin1String("--host"))
            o.host = value;
        else if (a == QLatin1String("--port"))
            o.port = value.toInt(&ok);
        else if (a == QLatin1String("--user"))
            o.user = value;
        else if (a == QLatin1String("--hit"))
            o.hit = value.toInt(&ok);
        else if (a == QLatin1String("--server"))
            o.server = value;
        else if (a == QLatin1String("--cover-server"))
            o.coverServer = value;
        else
            return std::nullopt;
        if (!ok)
            return std::nullopt;
    }
    const bool cddbServer = !o.host.isEmpty() || o.port != 0;
    const bool cddbIncomplete =
        cddbServer && (o.host.isEmpty() || o.port <= 0 || o.port > 65535 || o.user.isEmpty());
    const bool musicBrainzOnly =
        !o.musicBrainz && (o.cover || !o.server.isEmpty() || !o.coverServer.isEmpty());
    const bool userAlone = !cddbServer && !o.musicBrainz && !o.user.isEmpty();
    if (o.directory.isEmpty() || o.sources.isEmpty() || o.type.isEmpty() || o.hit < 1 ||
        cddbIncomplete || musicBrainzOnly || userAlone || (cddbServer && o.musicBrainz))
        return std::nullopt;
    return o;
}

CddbAnswer answerFrom(const cddb::DiscRecord& record) {
    CddbAnswer answer;
    answer.found = true;
    answer.artist = record.artist;
    answer.title = record.title;
    answer.titles = record.tracks;
    answer.extendedData = record.extendedData;
    answer.year = record.year;
    answer.genre = record.genre;
    return answer;
}

// Asks the server about one disc; a disc it does not know is not found. Nothing when the
// exchange itself failed; the message is then in `error`.
std::optional<CddbAnswer> askServer(const AddCdOptions& o, const CdTocResult& disc,
                                    QString& error) {
    const cddb::ServerAddress server{o.host, quint16(o.port)};
    CddbClient client;
    QList<qint32> offsets;
    for (int i = 0; i < disc.tracks; ++i)
        offsets.append(disc.toc[size_t(i)].frameOffset);
    CddbExchange query(
        CddbExchange::Command::Query,
        CddbExchange::queryLine(disc.discId, disc.tracks, offsets, disc.leadOutSeconds), o.user,
        QHostInfo::localHostName());
    if (!client.run(server, query)) {
        if (query.failure() == CddbExchange::Failure::Command)
            return CddbAnswer(); // no match
        error = query.failureMessage();
        return std::nullopt;
    }
    const QList<cddb::Hit> hits = cddb::parseQueryReply(query.reply());
    if (o.hit > hits.size())
        return CddbAnswer();
    const cddb::Hit& hit = hits[o.hit - 1];
    CddbExchange read(CddbExchange::Command::Read, CddbExchange::readLine(hit.category, hit.discId),
                      o.user, QHostInfo::localHostName());
    if (!client.run(server, read)) {
        error = read.failureMessage();
        return std::nullopt;
    }
    const cddb::DiscRecord record = cddb::parseRecord(read.reply());
    return answerFrom(record);
}

// Asks MusicBrainz about one disc: release `hit`, and its front cover when asked for. A
// disc the service does not know is not found; a failed request ends the command.
std::optional<CddbAnswer> askMusicBrainz(const AddCdOptions& o, const Settings& settings,
                                         const CdTocResult& disc, QString& error) {
    MusicBrainzClient client;
    client.configure(settings);
    if (!o.server.isEmpty())
        client.setServer(o.server);
    if (!o.coverServer.isEmpty())
        client.setCoverServer(o.coverServer);
    if (!o.user.isEmpty())
        client.setContact(o.user);
    const MusicBrainzClient::Lookup found = client.lookup(disc.toc, disc.tracks);
    if (found.outcome == MusicBrainzClient::Outcome::NotFound ||
        (found.outcome == MusicBrainzClient::Outcome::Found && o.hit > found.releases.size()))
        return CddbAnswer();
    if (found.outcome != MusicBrainzClient::Outcome::Found) {
        error = found.message;
        return std::nullopt;
    }
    const musicbrainz::Release& release = found.releases[o.hit - 1];
    const cddb::DiscRecord record = release.toDiscRecord();
    CddbAnswer answer = answerFrom(record);
    answer.origins = discfill::origins(release);
    if (o.cover) {
        QString hint;
        answer.cover = client.frontCover(release.id, &hint);
        if (answer.cover.isEmpty())
            err() << "Hinweis: " << hint << Qt::endl; // no cover is no failure
    }
    return answer;
}

QString num(const OptNumber& v) {
    return v ? germanformat::formatNumber(*v) : QString();
}

} // namespace

int runAddCdCommand(const QStringList& args) {
    const auto options = parseAddCd(args);
    if (!options)
        return catalogueUsage();
    const AddCdOptions& o = *options;
    // A new carrier is numbered from what the running program may be writing at the same time.
    DataDirectoryLock lock(o.directory);
    QString refusal;
    if (!lock.tryLock(&refusal))
        return fail(refusal);
    Database db;
    try {
        db.open(dataset::databasePath(o.directory));
        carrierorigins::ensureTable(db);
    } catch (const DbError& e) {
        return fail(e.message());
    }
    Settings settings = dataSetSettings(o.directory);
    CarrierStore store(db);

    const std::optional<double> type = mediaTypeByShortName(store, o.type);
    if (!type)
        return fail(QStringLiteral("Die Tonträgerart %1 gibt es nicht.").arg(o.type));

    CdReading reading;
    for (int i = 0; i < o.sources.size(); ++i) {
        const int disc = i + 1;
        CdTocResult toc;
        QList<TCDList> tracks;
        if (ReadCDToc(disc, o.sources[i], &tracks, toc) == -1)
            return fail(QStringLiteral("Die CD-Daten konnten nicht ermittelt werden! (%1)")
                            .arg(o.sources[i]));
        if (!toc.hasAudio)
            return fail(
                QStringLiteral("Die eingelegte CD ist keine Audio-CD! (%1)").arg(o.sources[i]));
        CddbAnswer answer;
        if (!o.host.isEmpty() || o.musicBrainz) {
            QString error;
            const auto asked =
                o.musicBrainz ? askMusicBrainz(o, settings, toc, error) : askServer(o, toc, error);
            if (!asked)
                return fail(error);
            answer = *asked;
        }
        addDisc(reading, disc, tracks, toc, answer);
    }

    CarrierData data = CarrierStore::newCarrier(settings, QDate::currentDate());
    CarrierRecord& c = data.carrier;
    c.artDerSchallplatte = *type;
    c.gruppeInterpretText1 = o.group.value_or(reading.artist).left(50);
    c.text2 = o.title.value_or(reading.title).left(50);
    proposeNumber(store, settings, c);
    if (o.number)
        c.nummerierung = *o.number;
    c.erscheinungsjahr = discfill::releaseYear(c.erscheinungsjahr, reading.year);
    if (c.musikrichtung.value_or(0) == 0) // a new carrier's "none"
        if (const auto direction = discfill::musicDirectionFor(db, reading.genre))
            c.musikrichtung = double(*direction);
    c.anzahlDerLieder = reading.totalTracks;
    c.laufzeitDerSchallplatte = reading.totalTime;
    return saveNewCarrier(db, o.directory, settings, data, reading, o.allowDuplicate);
}

int runShowCommand(const QStringList& args) {
    bool ok = false;
    const int number = args.size() == 2 ? args[1].toInt(&ok) : 0;
    if (!ok)
        return catalogueUsage();
    Database db;
    try {
        db.open(dataset::databasePath(args[0]));
        const auto data = CarrierStore(db).load(number);
        if (!data)
            return fail(QStringLiteral("Den Tonträger Nr. %1 gibt es nicht.").arg(number));
        const CarrierRecord& c = data->carrier;
        const CarrierInfoRecord& i = data->info;
        QTextStream& o = out();
        o << "Tonträger Nr. " << number << "\n"
          << "Gruppe: " << c.gruppeInterpretText1 << "\n"
          << "Titel: " << c.text2 << "\n"
          << "Art: " << num(c.artDerSchallplatte) << "\n"
          << "Lfd. Nr: " << num(c.nummerierung) << "\n"
          << "Anzahl Lieder: " << num(c.anzahlDerLieder) << "\n"
          << "Gesamtlaufzeit: " << laufzeit::format(c.laufzeitDerSchallplatte.value_or(0)) << "\n"
          << "Musikrichtung: " << num(c.musikrichtung) << "\n"
          << "Bewertung: " << num(c.bewertung) << "\n"
          << "Status: " << num(c.status) << "\n"
          << "Erscheinungsjahr: " << c.erscheinungsjahr << "\n"
          << "Kaufpreis: " << germanformat::locale().toString(c.kaufpreis.value_or(0), 'f', 2)
          << "\n"
          << "Kaufdatum: " << germanformat::formatDate(c.kaufdatum) << "\n"
          << "Pressung: " << i.pressung << "\n"
          << "Aufnahme: " << i.aufnahme << "\n"
          << "Zustand: " << i.zustand << "\n"
          << "Hersteller: " << i.firma << "\n"
          << "Bestellcode: " << i.bestellcode << "\n"
          << "Währung: " << (i.currency ? QString::number(*i.currency) : QString()) << "\n"
          << "Erfaßt am: " << germanformat::formatDate(i.creationDate) << "\n"
          << "Zuletzt geändert am: " << germanformat::formatDate(i.changeDate) << "\n";
        for (const DiscCodeRecord& code : records::select<DiscCodeRecord>(
                 db, u"WHERE \"Folgenummer Kopf\" = ?1 ORDER BY \"CD Nummer\"", {number}))
            o << "CD " << num(code.cdNummer) << " Prüfcode: " << num(code.cdPruefcode) << " ("
              << QString::number(quint32(qint32(code.cdPruefcode.value_or(0))), 16).toUpper()
              << ")\n";
        SongStore songs(db);
        for (const SongRecord& s : songs.songs(number)) {
            const SongInfoRecord info = songs.info(number, s.seiteDerSchallplatte, s.nrDesLiedes);
            o << "Lied " << num(s.seiteDerSchallplatte) << "/" << num(s.nrDesLiedes) << ": "
              << s.titelDesLiedes << " / " << s.interpretDesLiedes << " "
              << laufzeit::format(s.laufzeitDesLiedes.value_or(0)) << " Zähler "
              << num(s.zaehlwerkstandVon) << "-" << num(s.zaehlwerkstandBis) << " Bewertung "
              << num(s.bewertung) << " Jahr " << s.erscheinungsjahr << " BPM "
              << (info.bpmVon ? *info.bpmVon : 0) << "-" << (info.bpmBis ? *info.bpmBis : 0)
              << " Tanzstil " << num(info.tanzstil) << "\n";
        }
        if (const auto text = CarrierTextStore(db).load(number)) {
            o << "Zusatztext:\n";
            for (const QString& line : text->split(QLatin1Char('\n')))
                o << "  " << line << "\n";
        }
        for (const CarrierOrigin& origin : carrierorigins::read(db, number))
            o << "Kennung " << origin.source << ": " << origin.key << "\n";
        PictureStore pictures(db);
        for (const PictureEntry& entry : pictures.list(number)) {
            const auto picture = pictures.load(number, entry.number);
            QBuffer buffer;
            buffer.setData(picture ? picture->grafik : QByteArray());
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer);
            const QSize size = reader.size();
            o << "Grafik " << num(entry.number) << ": "
              << (reader.format().isEmpty() ? QByteArray("leer") : reader.format().toUpper()) << " "
              << size.width() << "x" << size.height() << ", " << buffer.data().size() << " Bytes"
              << (entry.stretch ? ", vergrößert" : "") << "\n";
        }
        o.flush();
    } catch (const DbError& e) {
        return fail(e.message());
    }
    return 0;
}
