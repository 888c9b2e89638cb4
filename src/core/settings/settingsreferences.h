#pragma once

#include "settings.h"

#include <QStringList>

class Database;

// Settings that name a stored row. A hand-edited or old settings file may name a row that is
// not there; using it would store a reference to nothing.
namespace settingsreferences {

// Sets every such value that names nothing back to the delivered default (or, when that row
// is gone as well, to the lowest row there is) and returns one German warning for each.
// Throws DbError.
QStringList repair(Database& db, Settings& settings);

} // namespace settingsreferences
