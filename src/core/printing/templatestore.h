#pragma once

#include "core/db/records.h"

#include <QString>
#include <optional>
#include <vector>

class Database;

// The print templates of "MPRTTEXT": listed, loaded, saved and deleted by type. Parts are
// kept with CR LF line ends whatever the editor used, and read back so.
namespace templatestore {

inline constexpr int kMaxNameLength = 50;
inline constexpr int kMaxPartLength = 65535;
inline constexpr int kMaxMargin = 100;

// Every line break (CR LF, a lone LF or a lone CR) as CR LF.
QString withCrLf(const QString& text);

// Why a template cannot be stored as it is; empty when it can.
QString refusal(const PrintTemplateRecord& record);

// The templates of a type, ordered by name in German order.
std::vector<PrintTemplateRecord> byType(Database& db, int type);
std::optional<PrintTemplateRecord> load(Database& db, int type, int index);
// By "Index-Nummer" when the text is a number of the type, otherwise by name.
std::optional<PrintTemplateRecord> find(Database& db, int type, const QString& nameOrNumber);

// Inserts a new template (record.indexNummer 0: the next of its type) or replaces an
// existing one; returns the stored record. Throws DbError; a refused record throws
// std::invalid_argument with the German reason.
PrintTemplateRecord save(Database& db, PrintTemplateRecord record);
bool remove(Database& db, int type, int index);

} // namespace templatestore

namespace templatestore {
// The template a report uses: by name or number, or the first by "Index-Nummer" when the
// choice is empty.
std::optional<PrintTemplateRecord> choose(Database& db, int type, const QString& choice);
} // namespace templatestore
