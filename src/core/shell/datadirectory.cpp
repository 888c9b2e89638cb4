#include "datadirectory.h"

#include "core/db/database.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace datadirectory {

QString withTrailingSeparator(const QString& directory) {
    QString d = QDir::cleanPath(directory);
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}

QString choose(const QString& programDirectory) {
    const QDir program(programDirectory);
    if (program.exists(QString::fromLatin1(Database::kFileName)) ||
        QFileInfo(programDirectory).isWritable())
        return withTrailingSeparator(program.absolutePath());
    QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.local/share");
    return withTrailingSeparator(home + QStringLiteral("/Diskarium"));
}

} // namespace datadirectory
