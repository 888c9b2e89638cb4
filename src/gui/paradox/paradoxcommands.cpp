#include "paradoxcommands.h"

#include "core/db/dataset.h"
#include "core/db/schema.h"
#include "core/paradox/paradoximport.h"
#include "core/settings/settings.h"
#include "gui/shell/exclusivework.h"
#include "gui/shell/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressDialog>

namespace {
const QString kTitle = QStringLiteral("Daten übernehmen");
}

ParadoxCommands::ParadoxCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main), m_messages(messages) {}

void ParadoxCommands::install() {
    m_main.setCommandHandler(MainCommand::ImportParadox, [this] { importDataSet(); });
}

bool ParadoxCommands::closeChildren() {
    return exclusivework::closeAllWindows(
        m_main, m_messages,
        QStringLiteral("Vor der Übernahme müssen alle geöffneten Fenster geschlossen werden. "
                       "Sollen die Fenster geschlossen und die Daten übernommen werden?"));
}

bool ParadoxCommands::confirmReplacing(qint64 carriers) {
    const MessageButton replace = m_messages.show(
        {MessageKind::Warning,
         QStringLiteral("Im Datenbestand sind bereits %1 Tonträger gespeichert. Die vorhandenen "
                        "Daten werden durch die übernommenen ersetzt. Möchten Sie fortfahren?")
             .arg(carriers),
         MessageButton::Yes | MessageButton::No,
         0,
         {}});
    if (replace != MessageButton::Yes)
        return false;
    const MessageButton backup =
        m_messages.show({MessageKind::Confirmation,
                         QStringLiteral("Möchten Sie die vorhandenen Daten vorher sichern?"),
                         MessageButton::Yes | MessageButton::No | MessageButton::Cancel,
                         0,
                         {}});
    if (backup == MessageButton::Cancel)
        return false;
    if (backup == MessageButton::Yes) {
        if (QAction* command = m_main.action(MainCommand::Backup))
            command->trigger();
    }
    return true;
}

void ParadoxCommands::reopen() {
    exclusivework::retakeDataSet(m_main, m_messages);
}

void ParadoxCommands::importDataSet() {
    if (!closeChildren())
        return;
    AppState& state = m_main.state();
    const QString source = m_messages.chooseDirectory(
        {QStringLiteral("Ordner mit den Paradox-Tabellen wählen"), QDir::homePath(), {}, {}});
    if (source.isEmpty())
        return;
    if (const QString missing = paradoximport::firstMissingFile(source); !missing.isEmpty()) {
        m_messages.error(QStringLiteral("Die Datendatei %1 konnte nicht gefunden werden. Der "
                                        "Ordner %2 enthält keinen vollständigen Datenbestand.")
                             .arg(missing, QDir::toNativeSeparators(source)));
        return;
    }
    const qint64 carriers = paradoximport::presentCarriers(state.dataDirectory);
    if (carriers > 0 && !confirmReplacing(carriers))
        return;

    exclusivework::releaseDataSet(m_main);

    const int tables = int(schema::tables().size());
    QProgressDialog progress(QString(), QStringLiteral("Abbrechen"), 0, tables, &m_main);
    progress.setWindowTitle(kTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.show();
    m_progress = &progress;
    m_main.setEnabled(false);
    progress.setEnabled(true); // its cancel button stays usable
    const auto result = paradoximport::importDataSet(
        source, state.dataDirectory, m_messages, [&](const QString& file, qint64 records) {
            int index = 0;
            for (const schema::Table& t : schema::tables()) {
                if (t.fileName == file)
                    break;
                ++index;
            }
            progress.setValue(index);
            progress.setLabelText(
                QStringLiteral("%1: %2 Datensätze gelesen").arg(file).arg(records));
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    m_progress = nullptr;
    progress.hide();
    m_main.setEnabled(true);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();

    const QString untouched = QStringLiteral(" Ihre bisherigen Daten sind unverändert.");
    if (result.ok) {
        // The settings file came along: the program goes on with it.
        state.settings = settingsfile::read(state.settingsPath(), state.settings);
        m_main.applySettings();
        // A table, so the two columns line up in the box's proportional font.
        QString text = QStringLiteral("<p>Die Daten wurden übernommen.</p><table>"
                                      "<tr><th align=\"left\">Daten</th><th>&nbsp;Quelle</th>"
                                      "<th>&nbsp;Übernommen</th></tr>");
        for (const paradoximport::Count& c : result.counts)
            text += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td>"
                                   "<td align=\"right\">%3</td></tr>")
                        .arg(c.label.toHtmlEscaped())
                        .arg(c.source)
                        .arg(c.result);
        text += QStringLiteral("</table>");
        if (!result.notes.isEmpty())
            text += QStringLiteral("<p>%1 Hinweise stehen in %2.</p>")
                        .arg(result.notes.size())
                        .arg(QDir::toNativeSeparators(result.reportPath).toHtmlEscaped());
        m_messages.information(text);
    } else if (result.cancelled) {
        m_messages.information(QStringLiteral("Die Übernahme wurde abgebrochen.") + untouched);
    } else {
        m_messages.error(
            QStringLiteral("Die Übernahme ist fehlgeschlagen: %1").arg(result.failure) + untouched);
    }
    reopen();
}
