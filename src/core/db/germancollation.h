#pragma once

#include <QByteArrayView>

struct sqlite3;

// German dictionary order for lists: letter case ignored, ä/ö/ü sort with a/o/u, ß as ss,
// other accents with their base letter. Texts that differ only in those respects keep a
// fixed order among themselves, so sorting is total.
//
// Registered on every connection as collation "GERMAN", together with "GERMANPRIMARY" and
// LOWER() and UPPER() that fold every letter, umlauts included.
void registerGermanCollation(sqlite3* db);

// <0, 0, >0 like strcmp, on UTF-8 text.
int compareGerman(QByteArrayView a, QByteArrayView b);

// The same order without the tie-break and with outer blanks ignored: texts the lists put
// side by side as equal compare equal ("Die Ärzte " and "die arzte", "Straße" and "STRASSE").
// Collation "GERMANPRIMARY", which finds a carrier the user may own already.
int compareGermanPrimary(QByteArrayView a, QByteArrayView b);
