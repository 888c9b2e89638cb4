#pragma once

#include "core/db/database.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What the display window shows of a carrier, read once when it opens.
namespace carrierdisplay {

struct Header {
    QString typeName, numbering, group, title, songCount, totalTime, rating, year, stateName,
        directionName, pressing, recording, condition, orderCode, company, created, changed;
};

// Song grid columns in order: Seite, Nr., Titel, Interpret, Laufzeit, Musikrichtung,
// Zählwerkstand von, Zählwerkstand bis, Bewertung, Erscheinungsjahr, BPM von, BPM bis,
// Tanzstil.
struct SongColumn {
    QString title;
    int labelKey;
    bool rightAligned;
};
const std::vector<SongColumn>& songColumns();

struct Carrier {
    double number = 0;
    Header header;
    QByteArray picture; // the first picture, empty when there is none
    std::vector<QStringList> songs;
};

// Every song is listed; lookups without a row show empty. Throws DbError.
std::optional<Carrier> load(Database& db, double carrierNumber);

} // namespace carrierdisplay
