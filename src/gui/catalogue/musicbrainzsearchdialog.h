#pragma once

#include "core/cd/musicbrainzrelease.h"
#include "core/cd/musicbrainzsearch.h"

#include <QDialog>
#include <functional>
#include <optional>

struct Settings;
class MessageService;
class MusicBrainzClient;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "Bei MusicBrainz suchen": finds the pressing of a carrier by its barcode, its catalogue
// number or its artist and title, a page of 25 hits at a time, and hands the chosen release
// back as what a new carrier takes over from it.
class TMusicBrainzSearchDialog : public QDialog {
    Q_OBJECT
public:
    TMusicBrainzSearchDialog(Settings& settings, MessageService& messages,
                             QWidget* parent = nullptr);
    ~TMusicBrainzSearchDialog() override;

    // The search fields as the carrier page proposes them.
    void setTerms(const QString& artist, const QString& title, const QString& catalogueNumber);
    // Asked with the chosen release before the dialog closes with it; false keeps the dialog
    // open for another choice.
    void setChoiceCheck(std::function<bool(const musicbrainz::ReleaseTakeOver&)> check) {
        m_check = std::move(check);
    }
    // The chosen release, once the dialog was accepted.
    const std::optional<musicbrainz::ReleaseTakeOver>& chosen() const { return m_chosen; }

    // The dialog's steps, as its buttons run them.
    void search();
    void nextPage();
    void previousPage();
    void take();

    // The controls, for tests.
    QLineEdit* artistEdit() const { return m_artist; }
    QLineEdit* titleEdit() const { return m_title; }
    QLineEdit* barcodeEdit() const { return m_barcode; }
    QLineEdit* catalogueNumberEdit() const { return m_catno; }
    QLineEdit* contactEdit() const { return m_contact; }
    QTableWidget* hitTable() const { return m_hits; }
    QLabel* rangeLabel() const { return m_range; }
    QLabel* statusLabel() const { return m_status; }
    QCheckBox* coverBox() const { return m_coverBox; }
    QPushButton* searchButton() const { return m_search; }
    QPushButton* previousButton() const { return m_previous; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* takeButton() const { return m_take; }
    QPushButton* cancelButton() const { return m_cancel; }
    bool isBusy() const { return m_busy; }
    void setTimeout(int milliseconds);

    void reject() override;

private:
    void showPage(int offset);
    void fillHits(const musicbrainz::HitPage& page);
    void updateButtons();
    void setBusy(bool busy);
    void searchTyped();
    // Closing was asked for while busy: the dialog closes now; true when it did.
    bool closeIfRequested();
    void failed(const QString& message);
    void storeSettings();

    Settings& m_settings;
    MessageService& m_messages;
    MusicBrainzClient* m_client;
    std::function<bool(const musicbrainz::ReleaseTakeOver&)> m_check;
    std::optional<musicbrainz::ReleaseTakeOver> m_chosen;
    QString m_query;           // of the hits shown
    QString m_searchedCatalog; // the catalogue number searched for, when the search was by one
    musicbrainz::HitPage m_page;
    bool m_busy = false;
    bool m_closeRequested = false;

    QLineEdit* m_artist;
    QLineEdit* m_title;
    QLineEdit* m_barcode;
    QLineEdit* m_catno;
    QLineEdit* m_contact;
    QTableWidget* m_hits;
    QLabel* m_range;
    QLabel* m_status;
    QCheckBox* m_coverBox;
    QPushButton* m_search;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_take;
    QPushButton* m_cancel;
};
