#pragma once

#include "core/common/messageservice.h"
#include "core/db/database.h"
#include "core/settings/settings.h"

class DataDirectoryLock;

#include <QStringList>
#include <functional>

// What the start-up sequence needs of its progress dialog.
class StartupUi {
public:
    virtual ~StartupUi() = default;
    // Sets the progress bar and appends one "." to the label.
    virtual void setProgress(int percent) = 0;
    // Lets pending events be processed; it need not wait.
    virtual void pause(int milliseconds) = 0;
    // Hidden while a message or question is on screen.
    virtual void setVisible(bool visible) = 0;
};

struct StartupContext {
    Database& db;
    MessageService& messages;
    Settings& settings;
    QString settingsPath;
    QStringList arguments; // without the program name
    bool duplicateInstance = false;
    std::function<void()> applySettings; // tool bars, status bar, printer
    std::function<void()> createPreview; // once for the program's life; errors are ignored
    bool uncleanEnd = false;             // the last run did not close the database
    std::function<void(const QString& table, bool passed)> pageChecked = {};
};

namespace startup {

// The first argument, in any letter case, equal to "REINDEX".
bool rebuildRequested(const QStringList& arguments);

// The data steps of the start: data files present, index check and rebuild, format check
// and upgrade, settings read, preview created, each after its progress step and pause.
// The indexes are checked against the catalogue; the pages of every table are read only
// after an unclean end or with "REINDEX". False when a step failed after its message; the
// program then ends.
bool runDataSteps(StartupContext& context, StartupUi& ui);

// Opens the data directory's database, creating the delivered data set first when the
// directory has none. With a lock, the directory is locked first; another process using it
// refuses the start. False after an error message.
bool openDatabase(Database& db, const QString& dataDirectory, MessageService& messages,
                  DataDirectoryLock* lock = nullptr);

} // namespace startup
