#include "discogscommands.h"

#include "core/catalogue/discogsexport.h"
#include "core/common/messageservice.h"
#include "core/shell/appstate.h"
#include "discogsimportdialog.h"
#include "gui/shell/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <algorithm>
#include <climits>

namespace {

const QString kCsvFilter = QStringLiteral("CSV-Dateien (*.csv);;Alle Dateien (*)");

} // namespace

DiscogsCommands::DiscogsCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main), m_messages(messages) {}

void DiscogsCommands::install() {
    m_main.setCommandHandler(MainCommand::ImportDiscogs, [this] { importCollection(); });
    m_main.setCommandHandler(MainCommand::ExportDiscogs, [this] { exportCollection(); });
}

void DiscogsCommands::importCollection() {
    AppState& state = m_main.state();
    const QString path = m_messages.chooseOpenFile({QStringLiteral("Discogs-Sammlung importieren"),
                                                    state.settings.exportImportPath,
                                                    {},
                                                    kCsvFilter});
    if (path.isEmpty())
        return;
    state.settings.exportImportPath = QFileInfo(path).absolutePath();
    TDiscogsImportDialog dialog(state, m_messages, path, &m_main);
    dialog.exec(); // the stores' change notices update the menus and carrier lists
}

bool DiscogsCommands::exportCollection() {
    AppState& state = m_main.state();
    // The file dialog asks before it replaces a file.
    QString path = m_messages.chooseSaveFile({QStringLiteral("Discogs-Sammlung exportieren"),
                                              state.settings.exportImportPath,
                                              QStringLiteral("discogs.csv"), kCsvFilter});
    if (path.isEmpty())
        return false;
    state.settings.exportImportPath = QFileInfo(path).absolutePath();
    QProgressDialog progress(QStringLiteral("Die Tonträger werden geschrieben ..."),
                             QStringLiteral("Abbrechen"), 0, 0, &m_main);
    progress.setWindowTitle(QStringLiteral("Discogs-Sammlung exportieren"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const discogs::ExportOutcome outcome =
        discogs::exportCollection(state.db, path, [&progress](qint64 done, qint64 total) {
            progress.setMaximum(int(std::min<qint64>(total, INT_MAX)));
            progress.setValue(int(std::min<qint64>(done, INT_MAX)));
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    if (outcome.cancelled)
        return false;
    if (!outcome.ok) {
        m_messages.error(QStringLiteral("Die Discogs-Sammlung konnte nicht gespeichert werden: %1")
                             .arg(outcome.error));
        return false;
    }
    m_messages.information(QStringLiteral("%1 Tonträger wurden in %2 gespeichert.")
                               .arg(outcome.rows)
                               .arg(QDir::toNativeSeparators(path)));
    return true;
}
