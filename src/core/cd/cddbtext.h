#pragma once

#include "cdtypes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The texts of the CDDB protocol: server lists, query hits and disc records (xmcd).
namespace cddb {

// A server line of "cddbhosts.txt": host, then the port or a protocol name and the port.
// A line with the protocol "http" names the server's HTTP interface: its port, then the
// path of the interface; port 443 means HTTPS.
struct ServerAddress {
    ServerAddress() = default;
    ServerAddress(QString h, quint16 p) : host(std::move(h)), port(p) {}
    QString host;
    quint16 port = 0;
    bool http = false;
    QString path; // HTTP only: "/~cddb/cddb.cgi"
};
std::optional<ServerAddress> parseServerLine(const QString& line);

// The server lines offered, sorted. nullopt when the file cannot be read. firstLine
// receives the file's first server line, the one chosen when none was stored.
std::optional<QStringList> loadServerList(const QString& path, QString* firstLine = nullptr);
// The server list file of the data directory: "cddbhosts.txt" in whatever letter case it
// has there, or that name when there is none yet.
QString serverListPath(const QString& dataDirectory);
// Writes the server lines of a "sites" reply (its first line dropped, up to the first empty
// line or "." line); false when the file cannot be written.
bool writeServerList(const QString& path, const QString& sitesReply);

struct Hit {
    QString category;
    QString discId;
    QString title;
    bool operator==(const Hit&) const = default;
};
// Hits of a query reply: 200 gives the one on its own line, 211 the lines after it up to ".".
QList<Hit> parseQueryReply(const QString& reply);

struct DiscRecord {
    QString artist;
    QString title;
    QList<TCDTitleList> tracks; // track n+1 from TTITLEn
    QStringList extendedData;
    // Protocol level 5 and above: "DYEAR" (the release year) and "DGENRE" (free text).
    QString year;
    QString genre;
};
// Reads an xmcd record. Lines of the same key continue each other, \n \t \\ are decoded,
// and titles split at " / " (artist before it) before the " - " rule applies.
DiscRecord parseRecord(const QString& record);

// Why a user name cannot be sent in the hello (empty, a blank in it, an e-mail address
// without local part or domain), or an empty text when it can.
QString userNameProblem(const QString& name);

// The code at the start of a reply line ("200 ..." -> 200), or 0.
int replyCode(const QString& reply);

} // namespace cddb
