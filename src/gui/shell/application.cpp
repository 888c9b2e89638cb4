#include "application.h"

#include "core/cd/cddrives.h"
#include "core/shell/datadirectory.h"
#include "core/shell/singleinstance.h"
#include "core/shell/startupsequence.h"
#include "gui/backup/backupcommands.h"
#include "gui/printing/previewdialog.h"
#include "hintfilter.h"
#include "initdialog.h"
#include "mainwindow.h"

#include <QApplication>
#include <QLocale>
#include <QScreen>

int runDiskarium(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // There is no minimum platform version to check on Linux.
    AppState state;
    state.dataDirectory = datadirectory::choose(QCoreApplication::applicationDirPath());
    QApplication::setApplicationName(QStringLiteral("Diskarium"));
    QApplication::setApplicationDisplayName(QStringLiteral("Diskarium"));
    QApplication::setApplicationVersion(QStringLiteral("1.5.0"));

    // A second start hands over before it touches any table.
    SingleInstance instance(state.dataDirectory);
    if (instance.handOverToRunningInstance())
        return 0;
    state.cdDrives = enumerateCdDrives();

    HintFilter hints;
    app.installEventFilter(&hints);
    TMain main(state, hints);
    QObject::connect(&instance, &SingleInstance::activationRequested, &main, &TMain::bringToFront);
    if (!startup::openDatabase(state.db, state.dataDirectory, main.messages()))
        return 1;
    auto* backups = new BackupCommands(main, main.messages());
    backups->install();

    TInitDialog init;
    init.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        init.move(screen->geometry().center() - init.rect().center());
    init.show();
    QApplication::processEvents();

    StartupContext context{state.db,
                           main.messages(),
                           state.settings,
                           state.settingsPath(),
                           QCoreApplication::arguments().mid(1),
                           false,
                           [&main] { main.applySettings(); },
                           {}};
    if (!startup::runDataSteps(context, init))
        return 1;
    init.hide();
    main.setHintsEnabled(state.settings.showHints);
    main.show();
    return QApplication::exec();
}
