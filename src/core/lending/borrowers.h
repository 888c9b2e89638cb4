#pragma once

#include "core/db/database.h"
#include "core/db/records.h"

#include <QString>
#include <optional>
#include <vector>

// The borrowers of "VERSTAMM": listed in "Alpha" order (name lines), numbered when first
// stored, deleted with their returned lendings.
namespace borrowers {

inline const QString kNameMissing = QStringLiteral("Das Feld Name muß erfaßt werden!");
inline const QString kHasOpenLendings =
    QStringLiteral("Bei diesem Leiher sind noch verliehene Tonträger vorhanden! Deshalb kann "
                   "dieser Leiher nicht gelöscht werden!");
inline const QString kNotStored = QStringLiteral("Der Leiher konnte nicht gespeichert werden!");

// The eight text fields in the dialog's order, with the widths the table gives them.
struct TextField {
    const char* name; // field name in "VERSTAMM"
    QString BorrowerRecord::*member;
    int width;
};
const std::vector<TextField>& textFields();

std::vector<BorrowerRecord> all(Database& db);
std::optional<BorrowerRecord> find(Database& db, int number);
bool any(Database& db);

// Why the record cannot be stored; empty when it can. Only an empty "Name 1" is refused: a
// name of blanks counts.
QString refusal(const BorrowerRecord& record);

// Stores a new borrower (folgenummer 0: the highest number + 1, fixed now) or changes an
// existing one; returns the stored record. Throws DbError; a refused record throws
// std::invalid_argument with the German reason.
BorrowerRecord save(Database& db, BorrowerRecord record);

// Lending records of the borrower: of either state, or only the open ones.
bool hasLendings(Database& db, int number);
bool hasOpenLendings(Database& db, int number);

enum class RemoveResult { Removed, HasOpenLendings, Gone };
// The check and both deletions in one transaction: a lending stored meanwhile still
// refuses. Throws DbError.
RemoveResult remove(Database& db, int number);

// A borrower named on the command line: "#N" or an exact "Name 1".
struct Match {
    std::vector<BorrowerRecord> matches;
    QString error; // German; several matches are listed as "#N Name"
    bool ok() const { return error.isEmpty() && matches.size() == 1; }
};
Match resolve(Database& db, const QString& key);

} // namespace borrowers
