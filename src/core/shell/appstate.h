#pragma once

#include "core/db/database.h"
#include "core/settings/settings.h"
#include "datadirectorylock.h"

#include <QDir>
#include <QStringList>

// The program-wide state, kept by the program's start for the whole run; the main window and
// the other windows work on it.
struct AppState {
    QString dataDirectory; // with a trailing separator
    QStringList cdDrives;  // found at start, in device order
    bool cdPlayerOpen = false;
    bool scannerAvailable = false; // no scanner interface on this platform
    bool busy = false;             // a backup or restore runs
    Settings settings;
    QString currentPrinter;
    DataDirectoryLock lock; // held while db is open; released after it closes
    Database db;
    int newEntryNumber = 0; // running number of the captions of new lookup entries

    bool cdDrivePresent() const { return !cdDrives.isEmpty(); }
    QString settingsPath() const {
        return QDir(dataDirectory).filePath(QString::fromLatin1(settingsfile::kFileName));
    }
    QString dataFile(const QString& name) const { return QDir(dataDirectory).filePath(name); }
};
