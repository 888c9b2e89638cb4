#pragma once

#include <QString>
#include <vector>

class Database;

// What a sound data set satisfies beyond its schema: every song, text, picture, disc code and
// lending belongs to a carrier; carrier and song numbers are whole numbers in range; dates
// are real dates; short texts hold no control characters. A damaged source table can break
// each of these while every record still reads.
namespace soundness {

struct Violation {
    QString fileName; // "MUSIKPOS.DB"
    qint64 record;    // the record's position in its table, from 1
    QString text;     // German
    // "MUSIKPOS.DB, Datensatz 3: ..."
    QString describe() const;
};

// Every violation, table by table in record order; at most limit of them (0: all).
// Throws DbError.
std::vector<Violation> check(Database& db, int limit = 0);

// Information records (of carriers and of songs) whose carrier is gone were left behind by
// deleting in older versions; they are harmless and are removed. Returns how many.
// Throws DbError.
qint64 removeLeftOverInformation(Database& db);

} // namespace soundness
