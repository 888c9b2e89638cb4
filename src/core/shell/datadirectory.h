#pragma once

#include <QString>

// Where the tables, the settings file and the delivered text files live: the program's own
// directory when it holds the database or may be written (portable use), otherwise
// ~/.local/share/Diskarium/. Always with a trailing separator.
namespace datadirectory {

QString choose(const QString& programDirectory);
QString withTrailingSeparator(const QString& directory);

} // namespace datadirectory
