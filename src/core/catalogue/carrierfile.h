#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

// The carrier file "*.DKM": one carrier with its free text and songs as an initialisation
// file. Lookup values travel as their short names.
namespace carrierfile {

struct Song {
    qint64 side = 0;
    qint64 number = 0;
    QString title;
    QString interpret;
    double time = 0; // Laufzeit value
    QString direction;
    qint64 counterFrom = 0;
    qint64 counterTo = 0;
    qint64 rating = 0;
    QString year;
    bool hasInfo = false; // tempo and dance style present
    qint64 bpmFrom = 0;
    qint64 bpmTo = 0;
    QString danceStyle;
};

struct Carrier {
    QString text1;
    QString text2;
    qint64 numbering = 0;
    QString year;
    qint64 songCount = 0;
    double time = 0;
    bool withPurchase = false; // price, currency and date present
    double price = 0;
    QString currency;
    QDate purchaseDate;
    qint64 rating = 0;
    QString type;
    QString direction;
    QString state;
    QString pressing;
    QString condition;
    QString recording;
    QString company;
    QString orderCode;
    QStringList textLines; // free text, when the carrier has one
    bool hasText = false;
    std::vector<Song> songs;
};

// The file's bytes: CR LF line ends, one empty line between sections, Windows-1252 or, when
// that cannot hold the text, UTF-8 with a byte order mark.
QByteArray format(const Carrier& carrier);
// Written anew and atomically: nothing of an older file survives. False with a German text.
bool write(const QString& path, const Carrier& carrier, QString* error);

struct ParseError {
    int line = 0; // 1-based; 0 when no line applies
    QString reason;
    // "Zeile N: REASON", or the reason alone
    QString text() const;
};

struct Parsed {
    Carrier carrier;
    bool ok = false;
    ParseError error;
};

// Reads a carrier file; UTF-8 with or without byte order mark is recognised, anything else
// is Windows-1252. Refuses what would store a wrong value: see ParseError.
Parsed parse(const QByteArray& bytes);

// A file name without extension gets ".DKM".
QString withDefaultExtension(const QString& path);
// The file choice filter: carrier files in any letter case, then all files.
QString fileFilter();

// The lines of a memo: split at CR LF, CR or LF; a final line end starts no line.
QStringList memoLines(const QString& memo);

} // namespace carrierfile
