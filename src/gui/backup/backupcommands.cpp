#include "backupcommands.h"

#include "backupprogressdialog.h"
#include "core/backup/databackup.h"
#include "core/backup/drivecheck.h"
#include "core/db/dataset.h"
#include "gui/shell/exclusivework.h"
#include "gui/shell/mainwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QThread>

namespace {
const QString kBackupFilter = QStringLiteral("Diskariumbackup (*.BCK *.bck);;Alle Dateien (*)");
}

BackupCommands::BackupCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main), m_messages(messages),
      m_clock([] { return QDateTime::currentDateTime(); }) {}

BackupCommands::~BackupCommands() = default;

void BackupCommands::install() {
    m_main.setCommandHandler(MainCommand::Backup, [this] { backup(); });
    m_main.setCommandHandler(MainCommand::Restore, [this] { restore(); });
}

bool BackupCommands::closeChildren(const QString& question) {
    return exclusivework::closeAllWindows(m_main, m_messages, question);
}

void BackupCommands::prepare() {
    exclusivework::releaseDataSet(m_main);
    m_dialog = new TBackupProgressDlg(m_messages, &m_main);
    m_dialog->setFileLabel(QStringLiteral("Backupeinstellungen"));
}

void BackupCommands::finish() {
    delete m_dialog;
    m_dialog = nullptr;
    exclusivework::retakeDataSet(m_main, m_messages);
}

void BackupCommands::connectComponent(TBackupFile& component, bool backupMode) {
    component.setMessageService(&m_messages);
    component.OnProgress = [this](const QString& name, bool&, int percent) {
        if (m_dialog)
            m_dialog->showProgress(name, percent);
    };
    // The German failure message names the error; the component shows no box of its own.
    component.OnError = [](int, const QString&, const QString&) {};
    component.OnNeedDisk = [this, &component](int volume, bool& cont) {
        askForDisk(volume, cont, component);
    };
    m_dialog->setMode(backupMode ? TBackupProgressDlg::Mode::Backup
                                 : TBackupProgressDlg::Mode::Restore);
    connect(m_dialog, &TBackupProgressDlg::cancelRequested, this,
            [&component] { component.cancel(); });
}

void BackupCommands::askForDisk(int volume, bool& continueFlag, TBackupFile& component) {
    const QString drive = inspectDrive(m_main.state().settings.backupPath).root;
    for (;;) {
        const MessageButton answer =
            m_messages.show({MessageKind::Confirmation,
                             QStringLiteral("Bitte eine leere Diskette %1 in Laufwerk %2 einlegen.")
                                 .arg(volume)
                                 .arg(drive),
                             MessageButton::Ok | MessageButton::Cancel | MessageButton::Help,
                             0,
                             {}});
        if (answer != MessageButton::Ok) {
            continueFlag = false;
            return;
        }
        const qint64 free = freeSpace(m_main.state().settings.backupPath);
        if (free >= 0) {
            component.setMaxSize(free);
            continueFlag = true;
            return;
        }
    }
}

// The checks of the target medium; false when the backup must not go there.
bool BackupCommands::checkDrive(const QString& folder, TBackupFile& component) {
    const DriveInfo drive = inspectDrive(folder);
    component.setMaxSize(0);
    const MessageButtons yesNoHelp = MessageButton::Yes | MessageButton::No | MessageButton::Help;
    switch (drive.kind) {
    case DriveKind::Unknown:
        return m_messages.show(
                   {MessageKind::Warning,
                    QStringLiteral(
                        "Type des Laufwerks kann nicht ermittelt werden (Keine Diskette "
                        "eingelegt!). Sind Sie sicher, dass Sie dieses Laufwerk verwenden "
                        "möchten?"),
                    yesNoHelp,
                    0,
                    {}}) == MessageButton::Yes;
    case DriveKind::Removable:
        for (;;) {
            const MessageButton answer = m_messages.show(
                {MessageKind::Confirmation,
                 QStringLiteral("Bitte eine leere Diskette 1 in Laufwerk %1 einlegen.")
                     .arg(drive.root),
                 MessageButton::Ok | MessageButton::Cancel | MessageButton::Help,
                 0,
                 {}});
            if (answer != MessageButton::Ok)
                return false;
            const qint64 free = freeSpace(folder);
            if (free >= 0) {
                component.setMaxSize(free);
                return true;
            }
        }
    case DriveKind::Optical:
    case DriveKind::ReadOnly:
        m_messages.error(QStringLiteral("Das gewählte Laufwerk kann nicht beschrieben werden! "));
        return false;
    case DriveKind::RamDisk:
        return m_messages.show(
                   {MessageKind::Warning,
                    QStringLiteral(
                        "Eine Datensicherung auf ein RAM-Laufwerk macht normalerweise keinen "
                        "Sinn! Sind Sie sicher, dass Sie dieses Laufwerk verwenden möchten?"),
                    yesNoHelp,
                    0,
                    {}}) == MessageButton::Yes;
    case DriveKind::Fixed:
        return true;
    }
    return true;
}

void BackupCommands::backup() {
    if (!closeChildren(QStringLiteral(
            "Vor der Datensicherung müssen alle geöffneten Fenster geschlossen werden. "
            "Sollen die Fenster geschlossen werden und die Datensicherung ausgeführt "
            "werden?")))
        return;
    prepare();
    AppState& state = m_main.state();
    const QDateTime now = m_clock();
    QString path =
        m_messages.chooseSaveFile({QStringLiteral("Datensicherung ..."), state.settings.backupPath,
                                   databackup::defaultArchiveName(now), kBackupFilter});
    if (path.isEmpty()) {
        finish();
        return;
    }
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".BCK");
    state.settings.backupPath = QFileInfo(path).absolutePath();
    TBackupFile component;
    databackup::configure(component);
    if (!checkDrive(state.settings.backupPath, component)) {
        finish();
        return;
    }
    component.setBackupTitle(databackup::archiveTitle(now));
    connectComponent(component, true);
    m_dialog->show();
    m_main.setEnabled(false);
    m_dialog->setEnabled(true); // its cancel button stays usable
    const auto result = databackup::backupDataDirectory(component, state.dataDirectory, path);
    m_dialog->hide();
    m_main.setEnabled(true);
    if (result.ok)
        m_messages.information(
            QStringLiteral("Die Datensicherung war erfolgreich. Kompressionsrate = %1%")
                .arg(component.compressionRate()));
    else if (!result.cancelled)
        m_messages.information(
            QStringLiteral("Die Datensicherung ist fehlgeschlagen [%1]!").arg(result.failure));
    finish();
}

void BackupCommands::restore() {
    if (!closeChildren(QStringLiteral(
            "Vor der Datenwiederherstellung müssen alle geöffneten Fenster geschlossen "
            "werden. Sollen die Fenster geschlossen werden und die "
            "Datenwiederherstellung ausgeführt werden?")))
        return;
    if (m_messages.show(
            {MessageKind::Warning,
             QStringLiteral(
                 "Achtung: Wenn Sie diesen Vorgang fortsetzen werden die derzeit vorhandenen "
                 "Datenbankdateien überschrieben! Möchten Sie diesen Vorgang fortsetzen?"),
             MessageButton::Yes | MessageButton::No | MessageButton::Help,
             0,
             {}}) != MessageButton::Yes)
        return;
    prepare();
    AppState& state = m_main.state();
    const QString path = m_messages.chooseOpenFile(
        {QStringLiteral("Datenwiederherstellung"), state.settings.restorePath, {}, kBackupFilter});
    if (path.isEmpty()) {
        finish();
        return;
    }
    state.settings.restorePath = QFileInfo(path).absolutePath();
    TBackupFile component;
    databackup::configure(component);
    component.setBackupTitle(QStringLiteral("Datenwiederherstellung"));
    connectComponent(component, false);
    m_dialog->show();
    m_main.setEnabled(false);
    m_dialog->setEnabled(true);
    const auto result = databackup::restoreDataDirectory(component, path, state.dataDirectory);
    m_dialog->hide();
    m_main.setEnabled(true);
    const QString untouched =
        result.dataChanged
            ? QStringLiteral(
                  " Ihre bisherigen Daten konnten nicht vollständig zurückgelegt werden.")
            : QStringLiteral(" Ihre bisherigen Daten sind unverändert.");
    if (result.ok)
        m_messages.information(QStringLiteral("Die Datenwiederherstellung war erfolgreich!"));
    else if (result.cancelled)
        m_messages.information(QStringLiteral("Die Datenwiederherstellung wurde abgebrochen.") +
                               untouched);
    else if (!result.archiveError.isEmpty())
        m_messages.error(result.failure + QLatin1Char('.') + untouched);
    else
        m_messages.information(QStringLiteral("Die Datenwiederherstellung ist fehlgeschlagen [%1]!")
                                   .arg(result.failure) +
                               untouched);
    finish();
}
