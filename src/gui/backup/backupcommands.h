#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>

class TMain;
class MessageService;
class TBackupFile;
class TBackupProgressDlg;

// The commands "Datensicherung" and "Datenwiederherstellung": every child window closed,
// the database closed for the whole run, a progress dialog, and the database reopened in
// every case.
class BackupCommands : public QObject {
    Q_OBJECT
public:
    BackupCommands(TMain& main, MessageService& messages);
    ~BackupCommands() override;

    // Registers both commands with the main window.
    void install();

    void backup();
    void restore();

    // The clock of the default archive name; tests set a fixed moment.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    TBackupProgressDlg* progressDialog() const { return m_dialog; }

private:
    bool closeChildren(const QString& question);
    void prepare();
    void finish();
    void connectComponent(TBackupFile& component, bool backupMode);
    bool checkDrive(const QString& folder, TBackupFile& component);
    void askForDisk(int volume, bool& continueFlag, TBackupFile& component);

    TMain& m_main;
    MessageService& m_messages;
    TBackupProgressDlg* m_dialog = nullptr;
    std::function<QDateTime()> m_clock;
};
