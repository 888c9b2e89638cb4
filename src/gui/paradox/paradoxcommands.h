#pragma once

#include <QObject>

class TMain;
class MessageService;
class QProgressDialog;

// "Datei > Daten übernehmen...": a folder of Paradox tables becomes the data set. Every
// child window is closed and the database closed for the run; present carriers are only
// replaced after a question and the offer of a backup.
class ParadoxCommands : public QObject {
    Q_OBJECT
public:
    ParadoxCommands(TMain& main, MessageService& messages);

    void install();
    void importDataSet();

    // The progress window while an import runs (tests press its cancel button).
    QProgressDialog* progressDialog() const { return m_progress; }

private:
    bool closeChildren();
    bool confirmReplacing(qint64 carriers);
    void reopen();

    TMain& m_main;
    MessageService& m_messages;
    QProgressDialog* m_progress = nullptr;
};
