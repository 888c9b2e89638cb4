#pragma once

#include <QString>
#include <QUrl>

// Where the tables, the settings file and the delivered text files live: the program's own
// directory when it holds the database or may be written (portable use), otherwise
// ~/.local/share/Diskarium/ (or $XDG_DATA_HOME/Diskarium/). Always with a trailing separator.
namespace datadirectory {

QString choose(const QString& programDirectory);
QString withTrailingSeparator(const QString& directory);

// The folder of the delivered files of an installed program: P/share/diskarium beside the
// program folder P/bin, so any prefix works. Empty when there is none (the build folder).
QString installedDataFor(const QString& programDirectory);

// Where a delivered file or folder ("delivered/MUSIKART.csv", "help") is read from: the
// installed folder of the running program when it holds it, otherwise the copy built into
// the program (":/...").
QString deliveredPath(const QString& relativePath);
// The same as a URL for the help viewer; an anchor ("page.html#10001") is kept.
QUrl deliveredUrl(const QString& relativePath);

} // namespace datadirectory
