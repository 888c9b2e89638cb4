#include "datadirectory.h"

#include "core/db/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace datadirectory {
namespace {

const QString& installedData() {
    static const QString folder = QCoreApplication::instance()
                                      ? installedDataFor(QCoreApplication::applicationDirPath())
                                      : QString();
    return folder;
}

} // namespace

QString withTrailingSeparator(const QString& directory) {
    QString d = QDir::cleanPath(directory);
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}

QString choose(const QString& programDirectory) {
    const QDir program(programDirectory);
    // An installed program is not a portable one: even where its folder may be written
    // (root, or a prefix in the home directory) the tables stay out of the bin folder.
    if (program.exists(QString::fromLatin1(Database::kFileName)) ||
        (QFileInfo(programDirectory).isWritable() && installedDataFor(programDirectory).isEmpty()))
        return withTrailingSeparator(program.absolutePath());
    // Honours XDG_DATA_HOME.
    QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.local/share");
    return withTrailingSeparator(home + QStringLiteral("/Diskarium"));
}

QString installedDataFor(const QString& programDirectory) {
    if (programDirectory.isEmpty())
        return {};
    const QFileInfo folder(programDirectory + QStringLiteral("/../share/diskarium"));
    return folder.isDir() ? withTrailingSeparator(folder.absoluteFilePath()) : QString();
}

QString deliveredPath(const QString& relativePath) {
    const QString& installed = installedData();
    if (!installed.isEmpty() && QFileInfo::exists(installed + relativePath))
        return installed + relativePath;
    return QStringLiteral(":/") + relativePath;
}

QUrl deliveredUrl(const QString& relativePath) {
    // A help topic may point at an anchor inside its page: "menu-datei.html#10001".
    const qsizetype hash = relativePath.indexOf(QLatin1Char('#'));
    const QString path = deliveredPath(hash < 0 ? relativePath : relativePath.left(hash));
    QUrl url = path.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + path)
                                                 : QUrl::fromLocalFile(path);
    if (hash >= 0)
        url.setFragment(relativePath.mid(hash + 1));
    return url;
}

} // namespace datadirectory
