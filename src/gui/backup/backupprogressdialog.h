#pragma once

#include <QDialog>

class MessageService;
class QLabel;
class QProgressBar;
class QPushButton;
class RollingDie;

// "Bitte einen Moment Geduld ...": progress of a backup or restore, with a rolling die and
// a button that asks before it cancels.
class TBackupProgressDlg : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Backup, Restore };

    TBackupProgressDlg(MessageService& messages, QWidget* parent = nullptr);

    void setMode(Mode mode);
    Mode mode() const { return m_mode; }
    // The file label: "Schreibe Daten ....." above 99 %, otherwise the file's name.
    void showProgress(const QString& fileName, int percent);
    void setFileLabel(const QString& text);
    QString fileLabel() const;
    int percent() const;

    // Escape and the window's close box ask as "&Abbruch" does; the dialog stays while the
    // work runs.
    void reject() override;

signals:
    void cancelRequested();

private:
    void askToCancel();

    MessageService& m_messages;
    Mode m_mode = Mode::Backup;
    QLabel* m_file;
    QProgressBar* m_bar;
    RollingDie* m_die;
};
