#pragma once

#include <QByteArrayView>

struct sqlite3;

// German dictionary order for lists: letter case ignored, ä/ö/ü sort with a/o/u, ß as ss,
// other accents with their base letter. Texts that differ only in those respects keep a
// fixed order among themselves, so sorting is total.
//
// Registered on every connection as collation "GERMAN", together with LOWER() and UPPER()
// that fold every letter, umlauts included.
void registerGermanCollation(sqlite3* db);

// <0, 0, >0 like strcmp, on UTF-8 text.
int compareGerman(QByteArrayView a, QByteArrayView b);
