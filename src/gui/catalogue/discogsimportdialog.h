#pragma once

#include "core/catalogue/discogsimport.h"

#include <QDialog>

struct AppState;
class MessageService;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

// "Discogs-Sammlung importieren": shows what each row of a Discogs collection file would
// become before anything is stored, and stores the new rows all together on "Übernehmen".
class TDiscogsImportDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { LineColumn, ResultColumn, GroupColumn, TitleColumn, TypeColumn, NoteColumn };

    TDiscogsImportDialog(AppState& state, MessageService& messages, const QString& path,
                         QWidget* parent = nullptr);

    // Reads and judges the file without storing (run once the dialog is shown); false when
    // the file could not be read or the user cancelled.
    bool preview();
    // "Übernehmen": stores the new rows; false when nothing was stored.
    bool store();

    int storedCount() const { return m_stored; }
    QTableWidget* rowTable() const { return m_rows; }
    QLabel* summaryLabel() const { return m_summary; }
    QPushButton* takeButton() const { return m_take; }
    QPushButton* cancelButton() const { return m_cancel; }
    bool isBusy() const { return m_busy; }
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showOutcome(const discogs::Outcome& outcome);
    bool step(qint64 done, qint64 total);
    void setBusy(bool busy);
    void updateButtons();

    AppState& m_state;
    MessageService& m_messages;
    QString m_path;
    bool m_previewStarted = false;
    bool m_busy = false;
    bool m_cancelRequested = false;
    bool m_storable = false;
    int m_stored = 0;

    QTableWidget* m_rows;
    QLabel* m_summary;
    QProgressBar* m_progress;
    QPushButton* m_take;
    QPushButton* m_cancel;
};
