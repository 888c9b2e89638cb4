#pragma once

#include "core/db/database.h"

#include <QVariantList>

// A small collection for the search tests, written with plain SQL so every field can be set.
// Delivered lookups: types 1 LP, 2 Single, 3 Maxi; directions 1 Pop, 2 Rock, 3 Schlager;
// states 1 Vorhanden, 2 Gesucht, 3 Bestellt; currencies 1 EUR, 2 DEM; dance 1 LW, 3 Tango.
namespace searchfixture {

inline void run(Database& db, const QString& sql, const QVariantList& values) {
    Statement s = db.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        s.bind(i + 1, values[i]);
    s.run();
}

// number, group, title, type, numbering, year, direction, songs, time, state, price, date, rating
inline void carrier(Database& db, const QVariantList& v) {
    run(db,
        QStringLiteral(
            "INSERT INTO MUSIKKOP (\"Folgenummer Kopf\", \"Gruppe/Interpret/Text 1\", \"Text 2\", "
            "\"Art der Schallplatte\", \"Nummerierung\", \"Erscheinungsjahr\", \"Musikrichtung\", "
            "\"Anzahl der Lieder\", \"Laufzeit der Schallplatte\", \"Status\", \"Kaufpreis\", "
            "\"Kaufdatum\", \"Bewertung\") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"),
        v);
}

// number, pressing, condition, recording, company, order code, currency, created, changed
inline void info(Database& db, const QVariantList& v) {
    run(db,
        QStringLiteral(
            "INSERT INTO MusikInformation (\"Folgenummer Info\", \"Pressung\", \"Zustand\", "
            "\"Aufnahme\", \"Firma\", \"Bestellcode\", \"Currency\", \"CreationDate\", "
            "\"ChangeDate\") VALUES (?,?,?,?,?,?,?,?,?)"),
        v);
}

// carrier, side, number, title, interpreter, time, direction, from, to, rating, year
inline void song(Database& db, const QVariantList& v) {
    run(db,
        QStringLiteral(
            "INSERT INTO MUSIKPOS (\"Folgenummer Position\", \"Seite der Schallplatte\", "
            "\"Nr. des Liedes\", \"Titel des Liedes\", \"Interpret des Liedes\", "
            "\"Laufzeit des Liedes\", \"Musikrichtung\", \"Zählwerkstand von\", "
            "\"Zählwerkstand bis\", \"Bewertung\", \"Erscheinungsjahr\") "
            "VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
        v);
}

// carrier, side, number, bpm from, bpm to, dance style
inline void songInfo(Database& db, const QVariantList& v) {
    run(db,
        QStringLiteral(
            "INSERT INTO MusikPosInformation (\"Folgenummer Pos Info\", \"Seite der "
            "Schallplatte\", "
            "\"Nr. des Liedes\", \"BPM von\", \"BPM bis\", \"Tanzstil\") VALUES (?,?,?,?,?,?)"),
        v);
}

inline void fill(Database& db) {
    const QVariant none;
    carrier(db,
            {1, "The Beatles", "Help!", 1, 5, "1965", 1, 14, 34.2, 1, 10.5, QDate(2001, 2, 3), 4});
    info(db, {1, "a%b", "gut", "St", "EMI", "PCS_3071", 1, QDate(2001, 2, 3), QDate(2002, 1, 1)});
    carrier(db, {2, "BEAT CLUB", "Live", 2, 11, "1999", 2, 2, 3.4499999999, 2, 3.45,
                 QDate(1999, 12, 31), 2});
    info(db, {2, "", "", "", "x_y", "O'Neil", 2, none, none});
    carrier(db, {3, "Die Ärzte", "Die Bestie", 3, 20, "2000", 3, 1, 4.0, 1, none, QDate(2000, 1, 1),
                 3});
    carrier(db, {4, "Éclair", "100% Liebe \\ Glück", 1, 30, "2010", 1, 0, 0.0, 3, 0.0, none, 0});
    info(db, {4, "", "", "", "a\\b", "", none, none, none});
    carrier(db, {5, "Beat", "Unbekannte Art", 999, 1, "2000", 1, 1, 1.0, 1, 1.0, none, 1});

    song(db, {1, 1, 1, "Love Me Do", "Chor", 2.22, 1, 0, 10, 3, "1962"});
    songInfo(db, {1, 1, 1, 130, 140, 1});
    song(db, {1, 1, 2, "LOVE is all", "chor", 3.1, 2, 10, 20, 4, "1967"});
    songInfo(db, {1, 1, 2, 100, 110, 3});
    song(db, {1, 2, 1, "Yesterday", "Chor der Ärzte", 2.0, 99, 20, 30, 5, "1965"});
    song(db, {2, 1, 1, "Lovely", "Beat", 3.0, 1, 0, 5, 2, "1999"});
    song(db, {3, 1, 1, "Männer", "Ärzte", 3.3, 3, 5, 9, 1, "2000"});
    song(db, {5, 1, 1, "Love", "Niemand", 1.0, 1, 0, 1, 1, "2000"});
}

} // namespace searchfixture
