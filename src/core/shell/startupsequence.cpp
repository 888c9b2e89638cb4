#include "startupsequence.h"

#include "core/backup/databackup.h"
#include "core/db/dataset.h"
#include "core/db/startupchecks.h"
#include "core/settings/settingsreferences.h"
#include "datadirectorylock.h"

#include <QDir>

namespace startup {

bool rebuildRequested(const QStringList& arguments) {
    return !arguments.isEmpty() && arguments.first().toUpper() == QLatin1String("REINDEX");
}

bool runDataSteps(StartupContext& c, StartupUi& ui) {
    const startupchecks::Hooks hooks{[&ui](bool visible) { ui.setVisible(visible); },
                                     [&ui] { ui.pause(0); }, c.pageChecked};
    ui.setProgress(4);
    ui.pause(30);
    ui.setProgress(12);
    if (!c.duplicateInstance && !startupchecks::checkDataFiles(c.db, c.messages, hooks))
        return false;
    ui.pause(18);
    ui.setProgress(16);
    ui.pause(40);
    ui.setProgress(28);
    const bool rebuild = rebuildRequested(c.arguments);
    ui.pause(50);
    ui.setProgress(44);
    const auto pages =
        rebuild || c.uncleanEnd ? startupchecks::PageCheck::Run : startupchecks::PageCheck::Skip;
    if (!c.duplicateInstance &&
        !startupchecks::checkAndRebuildIndexes(c.db, rebuild, c.messages, hooks, nullptr, pages))
        return false;
    ui.pause(30);
    ui.setProgress(52);
    if (!c.duplicateInstance && !startupchecks::checkAndUpgradeFormats(c.db, c.messages, hooks))
        return false;
    ui.pause(40);
    ui.setProgress(62);
    c.settings = settingsfile::read(c.settingsPath, c.settings);
    if (c.db.isOpen()) {
        try {
            const QStringList warnings = settingsreferences::repair(c.db, c.settings);
            if (!warnings.isEmpty())
                c.messages.information(warnings.join(QLatin1Char('\n')));
        } catch (const DbError&) {
            // Busy: the values stay as read; every use checks its row again.
        }
    }
    if (c.applySettings)
        c.applySettings();
    ui.pause(20);
    ui.setProgress(65);
    ui.pause(15);
    ui.setProgress(68);
    ui.pause(45);
    ui.setProgress(76);
    if (c.createPreview) {
        try {
            c.createPreview();
        } catch (...) {
            // The program runs without a preview window.
        }
    }
    ui.setProgress(89);
    ui.pause(24);
    ui.setProgress(100);
    return true;
}

bool openDatabase(Database& db, const QString& dataDirectory, MessageService& messages,
                  DataDirectoryLock* lock) {
    if (lock) {
        QDir().mkpath(dataDirectory); // a first start may have no directory yet
        lock->setDirectory(dataDirectory);
        // A directory that cannot be written cannot be replaced by anyone either; the
        // program then runs without the lock.
        const auto locked = lock->acquire();
        if (locked == DataDirectoryLock::Result::InUse) {
            messages.error(DataDirectoryLock::inUseText());
            return false;
        }
        // What a killed restore left is cleared only while no one else can be restoring.
        if (locked == DataDirectoryLock::Result::Locked)
            databackup::clearLeftovers(dataDirectory);
    }
    try {
        if (!dataset::exists(dataDirectory))
            dataset::create(dataDirectory);
        dataset::installDeliveredFiles(dataDirectory);
        db.open(dataset::databasePath(dataDirectory));
        return true;
    } catch (const DbError& e) {
        if (lock)
            lock->release();
        messages.error(e.message() +
                       QStringLiteral(" Die Programmausführung kann nicht fortgesetzt werden!"));
        return false;
    }
}

} // namespace startup
