#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// How a row of a Discogs collection export and a carrier map onto each other, both ways,
// without the database. What a carrier has no field for travels in its free text, one
// "Name: value" line each, so an export gives the collection columns back.
namespace discogs {

// The column titles of a collection export, in Discogs' order.
const QStringList& columnTitles();

// One row of a collection export, by column.
struct CollectionRow {
    QString catalog; // "Catalog#": one or several numbers, ", " between them
    QString artist;
    QString title;
    QString label; // one or several labels, ", " between them
    QString format;
    QString rating;
    QString released;
    QString releaseId;       // "release_id"
    QString folder;          // "CollectionFolder"
    QString dateAdded;       // "Date Added"
    QString mediaCondition;  // "Collection Media Condition"
    QString sleeveCondition; // "Collection Sleeve Condition"
    QString notes;           // "Collection Notes", lines separated by LF
    // Further "Collection NAME" columns: NAME and the value.
    QList<std::pair<QString, QString>> extra;
    bool operator==(const CollectionRow&) const = default;
};

// What a row gives a carrier; texts already cut to their fields.
struct CarrierFields {
    QString group;         // "Gruppe/Interpret/Text 1"
    QString title;         // "Text 2"
    QString typeName;      // the media type: a name to look up on import, the short name on export
    QString company;       // "Firma" ("Hersteller")
    QString orderCode;     // "Bestellcode"
    int rating = 0;        // "Bewertung"
    QString year;          // "Erscheinungsjahr"
    QString condition;     // "Zustand"
    QString releaseId;     // the Discogs release number, maybe empty
    QStringList textLines; // the free text
    bool operator==(const CarrierFields&) const = default;
};

// Maps a row onto carrier fields. Returns the German text of what makes the row unusable
// (its rating or release number), else an empty text.
QString toCarrier(const CollectionRow& row, CarrierFields& fields);

// The media type a Discogs format names ("2xLP, Album" → "LP", "7\", EP" → "EP"); a name
// without a rule is given back as it is, to be looked up among the media types.
QString typeForFormat(const QString& format);

// A grade as the collection keeps it ("Very Good Plus (VG+)" → "VG+"); other text as it is.
QString shortGrade(const QString& grade);
// A grade in Discogs' words ("VG+" → "Very Good Plus (VG+)"); other text as it is.
QString gradeWords(const QString& grade);

// The export row of a carrier: what its free text keeps wins over its fields.
CollectionRow toRow(const CarrierFields& fields);
// The cells of a row in the order of columnTitles().
QStringList cells(const CollectionRow& row);

} // namespace discogs
