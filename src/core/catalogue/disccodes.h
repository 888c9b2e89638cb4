#pragma once

#include "core/cd/cdtoc.h"
#include "core/db/database.h"

#include <QString>
#include <functional>

class MessageService;

// Recording the disc check codes of an existing carrier: the user inserts its CDs one
// after the other; each disc's CDDB ID is stored with its number. The old codes stay until
// a disc was read, then they are replaced in one transaction.
namespace disccodes {

using DiscReader = std::function<qint64(const QString& drive, CdTocResult& result)>;

// The reader of real drives and images (ReadCDToc without a track list).
DiscReader defaultReader();

// True when the carrier has codes.
bool hasCodes(Database& db, double carrierNumber);

// The check code as stored: the disc ID as a signed 32-bit number.
double storedCode(quint32 discId);

// Runs the questions and reads; returns the number of discs stored. Throws DbError.
int record(Database& db, double carrierNumber, const QString& drive, MessageService& messages,
           const DiscReader& read = defaultReader());

// The drive of a per-drive entry's caption ("CD-Prüfcode /dev/sr1"): the named drive when
// it is one of drives, otherwise the first drive.
QString driveFor(const QString& caption, const QStringList& drives);

} // namespace disccodes
