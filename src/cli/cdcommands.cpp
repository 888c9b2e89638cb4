#include "cdcommands.h"
#include "console.h"

#include "core/cd/cddbclient.h"
#include "core/cd/cdtoc.h"
#include "core/cd/musicbrainzclient.h"
#include "core/common/atomicfile.h"
#include "core/common/laufzeit.h"
#include "usage.h"

#include <QHostInfo>
#include <QUrl>
#include <optional>

namespace {

int cdUsage() {
    return usagetext::show(
        {QStringLiteral("discid"), QStringLiteral("cddb"), QStringLiteral("musicbrainz")},
        QStringLiteral(
            "QUELLE ist ein CD-Laufwerk (/dev/sr0) oder ein CD-Abbild (.cue, .toc, .nrg).\n--http "
            "URL nutzt die HTTP-Schnittstelle (https://gnudb.gnudb.org/~cddb/cddb.cgi).\n--verbose "
            "zeigt die Meldungen von libcdio.\n"));
}

bool readDisc(const QString& source, CdTocResult& result, QList<TCDList>* tracks = nullptr) {
    if (ReadCDToc(1, source, tracks, result) == -1) {
        err() << "Fehler: In " << source << " liegt keine lesbare CD." << Qt::endl;
        return false;
    }
    return true;
}

// Takes "--verbose" out of the arguments and routes libcdio's messages accordingly.
QStringList takeVerbose(QStringList args) {
    const bool verbose = args.removeAll(QStringLiteral("--verbose")) > 0;
    setCdioVerbose(verbose);
    return args;
}

// "https://host[:port]/path": the HTTP interface of a CDDB server.
std::optional<cddb::ServerAddress> httpServer(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const bool https = url.scheme() == QLatin1String("https");
    if (!url.isValid() || url.host().isEmpty() || (!https && url.scheme() != QLatin1String("http")))
        return std::nullopt;
    // Port 443 means HTTPS to the client, any other plain HTTP.
    const int port = url.port(https ? 443 : 80);
    if (https != (port == 443))
        return std::nullopt;
    cddb::ServerAddress server(url.host(), quint16(port));
    server.http = true;
    server.path = url.path().isEmpty() ? QStringLiteral("/~cddb/cddb.cgi") : url.path();
    return server;
}

void printRecord(const cddb::DiscRecord& record) {
    out() << "Interpret: " << record.artist << "\nTitel: " << record.title << "\n";
    if (!record.year.isEmpty())
        out() << "Jahr: " << record.year << "\n";
    if (!record.genre.isEmpty())
        out() << "Musikrichtung: " << record.genre << "\n";
    for (const QString& line : record.extendedData)
        out() << "Zusatz: " << line << "\n";
    for (int i = 0; i < record.tracks.size(); ++i)
        out() << QStringLiteral("%1. %2 - %3\n")
                     .arg(i + 1, 2)
                     .arg(record.tracks[i].interpreter, record.tracks[i].title);
    out().flush();
}

} // namespace

int runDiscIdCommand(const QStringList& arguments) {
    const QStringList args = takeVerbose(arguments);
    if (args.size() != 1)
        return cdUsage();
    CdTocResult disc;
    QList<TCDList> tracks;
    const qint64 code = ReadCDToc(1, args[0], &tracks, disc);
    if (code == -1) {
        err() << "Fehler: In " << args[0] << " liegt keine lesbare CD." << Qt::endl;
        return 1;
    }
    out() << "Titel  Start (Frames)  Länge   Art\n";
    for (int i = 0; i < disc.tracks; ++i)
        out() << QStringLiteral("%1  %2  %3   %4\n")
                     .arg(i + 1, 5)
                     .arg(disc.toc[size_t(i)].frameOffset, 14)
                     .arg(laufzeit::format(tracks[i].length), 6)
                     .arg(tracks[i].audio ? QStringLiteral("Audio") : QStringLiteral("Daten"));
    out() << "Auslauf: Frame " << disc.toc[size_t(disc.tracks)].frameOffset << ", "
          << disc.leadOutSeconds << " Sekunden\n"
          << "Gesamtlaufzeit: " << laufzeit::format(disc.totalTime) << "\n"
          << "CD-ID: " << discIdForQuery(disc.discId).toLower() << "\n"
          << "Alter Prüfcode: " << code << Qt::endl;
    return 0;
}

int runCddbCommand(const QStringList& arguments) {
    const QStringList args = takeVerbose(arguments);
    if (args.isEmpty())
        return cdUsage();
    QString host, user, http;
    int port = 0, readIndex = 0;
    for (int i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return cdUsage();
        const QString& key = args[i];
        const QString& value = args[i + 1];
        if (key == QLatin1String("--host"))
            host = value;
        else if (key == QLatin1String("--port"))
            port = value.toInt();
        else if (key == QLatin1String("--http"))
            http = value;
        else if (key == QLatin1String("--user"))
            user = value;
        else if (key == QLatin1String("--read"))
            readIndex = value.toInt();
        else
            return cdUsage();
    }
    const bool socket = !host.isEmpty() && port > 0 && port <= 65535;
    if (socket == !http.isEmpty() || readIndex < 0)
        return cdUsage();
    if (const QString problem = cddb::userNameProblem(user); !problem.isEmpty()) {
        err() << "Fehler: " << problem << Qt::endl;
        return 2;
    }
    const auto address =
        socket ? std::optional(cddb::ServerAddress(host, quint16(port))) : httpServer(http);
    if (!address) {
        err() << "Fehler: " << http << " ist keine HTTP- oder HTTPS-Adresse." << Qt::endl;
        return 2;
    }
    const cddb::ServerAddress& server = *address;
    CdTocResult disc;
    if (!readDisc(args[0], disc))
        return 1;
    CddbClient client;
    client.setStatusHandler([](const QString& status) { err() << status << Qt::endl; });

    QList<qint32> offsets;
    for (int i = 0; i < disc.tracks; ++i)
        offsets.append(disc.toc[size_t(i)].frameOffset);
    CddbExchange query(
        CddbExchange::Command::Query,
        CddbExchange::queryLine(disc.discId, disc.tracks, offsets, disc.leadOutSeconds), user,
        QHostInfo::localHostName());
    if (!client.run(server, query)) {
        err() << query.failureMessage() << Qt::endl;
        return 1;
    }
    const QList<cddb::Hit> hits = cddb::parseQueryReply(query.reply());
    for (int i = 0; i < hits.size(); ++i)
        out() << i + 1 << ". " << hits[i].category << ' ' << hits[i].discId << ' ' << hits[i].title
              << "\n";
    out().flush();
    if (readIndex == 0)
        return 0;
    if (readIndex > hits.size()) {
        err() << "Fehler: Es gibt keinen Treffer " << readIndex << "." << Qt::endl;
        return 2;
    }
    const cddb::Hit& hit = hits[readIndex - 1];
    CddbExchange read(CddbExchange::Command::Read, CddbExchange::readLine(hit.category, hit.discId),
                      user, QHostInfo::localHostName());
    if (!client.run(server, read)) {
        err() << read.failureMessage() << Qt::endl;
        return 1;
    }
    printRecord(cddb::parseRecord(read.reply()));
    return 0;
}

int runMusicBrainzCommand(const QStringList& arguments) {
    const QStringList args = takeVerbose(arguments);
    if (args.isEmpty())
        return cdUsage();
    MusicBrainzClient client;
    QString coverFile;
    int readIndex = 0;
    for (int i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return cdUsage();
        const QString& key = args[i];
        const QString& value = args[i + 1];
        if (key == QLatin1String("--server"))
            client.setServer(value);
        else if (key == QLatin1String("--cover-server"))
            client.setCoverServer(value);
        else if (key == QLatin1String("--user"))
            client.setContact(value);
        else if (key == QLatin1String("--read"))
            readIndex = value.toInt();
        else if (key == QLatin1String("--cover"))
            coverFile = value;
        else
            return cdUsage();
    }
    if (readIndex < 0 || (!coverFile.isEmpty() && readIndex == 0))
        return cdUsage();
    CdTocResult disc;
    if (!readDisc(args[0], disc))
        return 1;
    client.setStatusHandler([](const QString& status) { err() << status << Qt::endl; });
    const MusicBrainzClient::Lookup found = client.lookup(disc.toc, disc.tracks);
    if (found.outcome != MusicBrainzClient::Outcome::Found) {
        err() << "Fehler: " << found.message << Qt::endl;
        return 1;
    }
    for (int i = 0; i < found.releases.size(); ++i)
        out() << i + 1 << ". " << found.releases[i].label() << " [" << found.releases[i].id
              << "]\n";
    out().flush();
    if (readIndex == 0)
        return 0;
    if (readIndex > found.releases.size()) {
        err() << "Fehler: Es gibt keinen Treffer " << readIndex << "." << Qt::endl;
        return 2;
    }
    const musicbrainz::Release& release = found.releases[readIndex - 1];
    printRecord(release.toDiscRecord());
    if (coverFile.isEmpty())
        return 0;
    QString hint;
    const QByteArray cover = client.frontCover(release.id, &hint);
    if (cover.isEmpty()) {
        err() << "Hinweis: " << hint << Qt::endl; // no cover is no failure
        return 0;
    }
    if (QString error; !atomicfile::write(coverFile, cover, &error)) {
        err() << "Fehler: " << error << Qt::endl;
        return 1;
    }
    out() << "Titelbild geschrieben: " << coverFile << " (" << cover.size() << " Bytes)"
          << Qt::endl;
    return 0;
}
