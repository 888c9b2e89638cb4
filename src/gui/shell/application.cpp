#include "application.h"

#include "core/cd/cddrives.h"
#include "core/shell/datadirectory.h"
#include "core/shell/singleinstance.h"
#include "core/shell/startupsequence.h"
#include "gui/backup/backupcommands.h"
#include "gui/catalogue/cataloguecommands.h"
#include "gui/catalogue/medialistcommands.h"
#include "gui/catalogue/searchcommands.h"
#include "gui/catalogue/ttimecountdiff.h"
#include "gui/cd/cdplayercommands.h"
#include "gui/lending/lendingcommands.h"
#include "gui/lookup/lookupcommands.h"
#include "gui/paradox/paradoxcommands.h"
#include "gui/printing/previewdialog.h"
#include "gui/printing/printcommands.h"
#include "gui/printing/statisticscommands.h"
#include "helpviewer.h"
#include "hintfilter.h"
#include "initdialog.h"
#include "mainwindow.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QProxyStyle>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

namespace {

// Dialog buttons show their captions only: the desktop's stock icons do not always match
// them (a help button came with a cancel cross).
class TextOnlyButtonsStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

int runDiskarium(int argc, char* argv[], const StartOptions& options) {
    QApplication app(argc, argv);
    QApplication::setStyle(new TextOnlyButtonsStyle);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Qt's own dialogs (file choice, fonts, colours, standard buttons) speak German too,
    // whatever the desktop's language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    // There is no minimum platform version to check on Linux.
    AppState state;
    state.dataDirectory = options.dataDirectory.isEmpty()
                              ? datadirectory::choose(QCoreApplication::applicationDirPath())
                              : datadirectory::withTrailingSeparator(options.dataDirectory);
    QApplication::setApplicationName(QStringLiteral("Diskarium"));
    QApplication::setApplicationDisplayName(QStringLiteral("Diskarium"));
    QApplication::setApplicationVersion(QStringLiteral("1.5.0"));
    // The name of the installed desktop entry and icon, so desktops group the window with them.
    const QString desktopId = QStringLiteral("de.diskarium.Diskarium");
    QGuiApplication::setDesktopFileName(desktopId);
    QApplication::setWindowIcon(QIcon::fromTheme(
        desktopId,
        QIcon(QStringLiteral(":/icons/hicolor/scalable/apps/de.diskarium.Diskarium.svg"))));

    // A second start hands over before it touches any table.
    SingleInstance instance(state.dataDirectory);
    if (instance.handOverToRunningInstance())
        return 0;
    state.cdDrives = enumerateCdDrives();

    HintFilter hints;
    app.installEventFilter(&hints);
    TMain main(state, hints);
    QObject::connect(&instance, &SingleInstance::activationRequested, &main, &TMain::bringToFront);
    if (!startup::openDatabase(state.db, state.dataDirectory, main.messages(), &state.lock))
        return 1;
    auto* backups = new BackupCommands(main, main.messages());
    backups->install();
    auto* printing = new PrintCommands(main, main.messages());
    printing->install();
    auto* catalogue = new CatalogueCommands(main, main.messages());
    catalogue->hooks().printDialog = main.guardedHook(
        [printing](int carrierNumber) { printing->openPrintCarrierDialog(carrierNumber); });
    catalogue->hooks().timeCheck = [&main](int carrierNumber) {
        try {
            runTimeCheck(&main, main.state().db, carrierNumber,
                         [&main](int context) { main.help().showContext(context); });
        } catch (const DbError& e) {
            main.messages().error(e.message());
        }
    };
    catalogue->install();
    (new CdPlayerCommands(main, main.messages()))->install();
    (new LookupCommands(main, main.messages()))->install();
    auto* mediaList = new MediaListCommands(main, main.messages());
    mediaList->editCarrier =
        main.guardedHook([catalogue](int carrierNumber) { catalogue->openCarrier(carrierNumber); });
    mediaList->printCarrier = main.guardedHook(
        [printing](int carrierNumber) { printing->openPrintCarrierDialog(carrierNumber); });
    mediaList->printCover = main.guardedHook(
        [printing](int carrierNumber) { printing->openPrintCoverDialog(carrierNumber); });
    auto* lendings = new LendingCommands(main, main.messages());
    lendings->install();
    mediaList->lendCarrier =
        main.guardedHook([lendings](int carrierNumber) { lendings->lendCarrier(carrierNumber); });
    mediaList->returnCarrier =
        main.guardedHook([lendings](int carrierNumber) { lendings->returnCarrier(carrierNumber); });
    mediaList->install();
    (new StatisticsCommands(main, main.messages()))->install();
    auto* searches = new SearchCommands(main, main.messages());
    searches->openCarrierResult = [mediaList](int number, const medialist::Filter& filter) {
        mediaList->openSearchResult(number, filter);
    };
    searches->editCarrier =
        main.guardedHook([catalogue](int carrierNumber) { catalogue->openCarrier(carrierNumber); });
    searches->displayCarrier =
        main.guardedHook([mediaList](int carrierNumber) { mediaList->openDisplay(carrierNumber); });
    searches->printCarrier = main.guardedHook(
        [printing](int carrierNumber) { printing->openPrintCarrierDialog(carrierNumber); });
    searches->printCover = main.guardedHook(
        [printing](int carrierNumber) { printing->openPrintCoverDialog(carrierNumber); });
    searches->install();
    (new ParadoxCommands(main, main.messages()))->install();

    TInitDialog init;
    init.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        init.move(screen->geometry().center() - init.rect().center());
    init.show();
    QApplication::processEvents();

    // Created once for the program's life; the reports compose into its page printer.
    auto createPreview = [&main, &state] {
        auto* preview = new TPreviewDialog(state, main.messages(), &main);
        preview->setHelpHandler([&main](int context) { main.help().showContext(context); });
    };
    StartupContext context{state.db,
                           main.messages(),
                           state.settings,
                           state.settingsPath(),
                           options.arguments.value_or(QCoreApplication::arguments().mid(1)),
                           false,
                           [&main] { main.applySettings(); },
                           createPreview};
    context.uncleanEnd = state.lock.tookOverStaleLock();
    if (!startup::runDataSteps(context, init))
        return 1;
    init.hide();
    main.setHintsEnabled(state.settings.showHints);
    main.show();
    if (options.whenUsable) {
        auto* probe = new QTimer(&main);
        QObject::connect(probe, &QTimer::timeout, &main, [&main, probe, &options] {
            if (!main.isEnabled())
                return;
            probe->stop();
            options.whenUsable(main);
        });
        probe->start(1);
    }
    return QApplication::exec();
}
