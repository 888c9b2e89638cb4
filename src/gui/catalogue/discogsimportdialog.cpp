#include "discogsimportdialog.h"

#include "core/common/messageservice.h"
#include "core/shell/appstate.h"
#include "entrypage.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

TDiscogsImportDialog::TDiscogsImportDialog(AppState& state, MessageService& messages,
                                           const QString& path, QWidget* parent)
    : QDialog(parent), m_state(state), m_messages(messages), m_path(path) {
    setWindowTitle(
        QStringLiteral("Discogs-Sammlung importieren: %1").arg(QFileInfo(path).fileName()));
    m_rows = new QTableWidget(0, 6, this);
    m_rows->setHorizontalHeaderLabels({QStringLiteral("Zeile"), QStringLiteral("Ergebnis"),
                                       QStringLiteral("Gruppe"), QStringLiteral("Titel"),
                                       QStringLiteral("Art"), QStringLiteral("Hinweis")});
    m_rows->verticalHeader()->hide();
    m_rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rows->setTabKeyNavigation(false);
    m_rows->setWordWrap(false);
    const int w = fontMetrics().horizontalAdvance(QLatin1Char('W'));
    const int widths[] = {4, 8, 16, 18, 5};
    for (int i = 0; i < 5; ++i)
        m_rows->setColumnWidth(i, widths[i] * w);
    m_rows->horizontalHeader()->setStretchLastSection(true);
    m_rows->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setHint(m_rows, QStringLiteral("Was aus jeder Zeile der Datei wird"));
    m_summary = new QLabel(this);
    m_summary->setWordWrap(true);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 0);
    // Hidden while idle, its place kept: the buttons stay where they are.
    QSizePolicy keep = m_progress->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_progress->setSizePolicy(keep);
    m_take = new QPushButton(QStringLiteral("&Übernehmen"), this);
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    setHint(m_take, QStringLiteral("Die neuen Tonträger speichern (nur wenn keine Zeile fehlerhaft "
                                   "ist)"));
    setHint(m_cancel, QStringLiteral("Nichts speichern und das Fenster schließen (Esc)"));
    m_take->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    m_take->setDefault(true);
    connect(m_take, &QPushButton::clicked, this, &TDiscogsImportDialog::store);
    connect(m_cancel, &QPushButton::clicked, this, &TDiscogsImportDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_take);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_rows, 1);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);
    setTabOrder(m_rows, m_take);
    setTabOrder(m_take, m_cancel);
    resize(80 * w, 30 * fontMetrics().height());
    updateButtons();
}

void TDiscogsImportDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The preview runs once the window is on the screen, so its progress can be seen.
    if (!m_previewStarted)
        QTimer::singleShot(0, this, &TDiscogsImportDialog::preview);
}

bool TDiscogsImportDialog::step(qint64 done, qint64 total) {
    // Bytes of the file; a large file would overflow the bar's int range in bytes.
    m_progress->setRange(0, 1000);
    m_progress->setValue(total > 0 ? int(done * 1000 / total) : 0);
    QApplication::processEvents();
    return !m_cancelRequested;
}

void TDiscogsImportDialog::setBusy(bool busy) {
    m_busy = busy;
    m_cancelRequested = false;
    m_progress->setVisible(busy);
    if (busy)
        m_progress->setRange(0, 0);
    QApplication::processEvents();
    updateButtons();
}

void TDiscogsImportDialog::updateButtons() {
    m_take->setEnabled(!m_busy && m_storable);
    m_rows->setEnabled(!m_busy);
}

bool TDiscogsImportDialog::preview() {
    if (m_previewStarted)
        return m_storable;
    m_previewStarted = true;
    m_summary->setText(QStringLiteral("Die Datei wird gelesen ..."));
    setBusy(true);
    const discogs::Outcome outcome = discogs::plan(
        m_state.db, m_path, {}, [this](qint64 done, qint64 total) { return step(done, total); });
    setBusy(false);
    if (outcome.cancelled) {
        QDialog::reject();
        return false;
    }
    if (!outcome.ok && outcome.rows.isEmpty()) {
        // Nothing to show: not a Discogs collection, or the file cannot be read.
        m_messages.error(outcome.error);
        QDialog::reject();
        return false;
    }
    showOutcome(outcome);
    // Only a file without faulty rows is stored, and only when it brings something new.
    m_storable = outcome.ok && outcome.counts.errors == 0 && outcome.counts.added > 0;
    updateButtons();
    if (m_storable)
        m_take->setFocus();
    else
        m_cancel->setFocus();
    return m_storable;
}

void TDiscogsImportDialog::showOutcome(const discogs::Outcome& outcome) {
    m_rows->setRowCount(int(outcome.rows.size()));
    for (int row = 0; row < outcome.rows.size(); ++row) {
        const discogs::RowOutcome& r = outcome.rows[row];
        const QString cells[] = {QString::number(r.line),
                                 discogs::resultText(r.result),
                                 r.group,
                                 r.title,
                                 r.type,
                                 r.note};
        for (int column = 0; column < 6; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            if (column == LineColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (r.result == discogs::Result::Error)
                item->setForeground(Qt::red);
            m_rows->setItem(row, column, item);
        }
    }
    QString summary = discogs::summaryText(outcome.counts);
    if (!outcome.error.isEmpty())
        summary += QStringLiteral("\n") + outcome.error;
    m_summary->setText(summary);
}

bool TDiscogsImportDialog::store() {
    if (m_busy || !m_storable)
        return false;
    m_summary->setText(QStringLiteral("Die Tonträger werden gespeichert ..."));
    setBusy(true);
    const discogs::Outcome outcome =
        discogs::import(m_state.db, m_path, m_state.settings, {}, QDate::currentDate(),
                        [this](qint64 done, qint64 total) { return step(done, total); });
    setBusy(false);
    if (!outcome.ok) {
        // Nothing was stored: the preview's rows stay as they were.
        if (outcome.cancelled)
            m_summary->setText(QStringLiteral("Abgebrochen: Es wurde nichts gespeichert."));
        else
            m_messages.error(
                QStringLiteral("Die Sammlung wurde nicht übernommen: %1").arg(outcome.error));
        return false;
    }
    showOutcome(outcome);
    m_stored = outcome.stored;
    // The numbers went to the new carriers, as after their first saves.
    if (m_state.settings.globalNumbering)
        m_state.settings.globalNumber += outcome.stored;
    m_storable = false;
    m_cancel->setText(QStringLiteral("Schließen"));
    setHint(m_cancel, QStringLiteral("Das Fenster schließen (Esc)"));
    updateButtons();
    m_cancel->setFocus();
    m_cancel->setDefault(true);
    m_messages.information(
        QStringLiteral("%1 Tonträger wurden aus der Discogs-Sammlung übernommen.")
            .arg(outcome.stored));
    return true;
}

void TDiscogsImportDialog::reject() {
    if (m_busy) {
        // A running preview or store ends first (Escape, Abbrechen, the window's close button);
        // a store then leaves nothing behind.
        m_cancelRequested = true;
        return;
    }
    QDialog::reject();
}
