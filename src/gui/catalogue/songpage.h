#pragma once

#include "core/catalogue/songstore.h"
#include "entrypage.h"
#include "fieldedits.h"

#include <vector>

class LookupCombo;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "Lieder": one song at a time above the list of all songs of the carrier.
class SongPage : public EntryPage {
    Q_OBJECT
public:
    explicit SongPage(TMainTtDialog& window);
    ~SongPage() override;

    void enter() override;
    bool save() override;
    bool leave(Reason reason) override;
    void navigate(EntryNavigation move) override;
    void fillLookups() override;

    bool isChanged() const;
    void newSong();
    void deleteSong();
    // Moves to the song in row `row` of the list, after the song question.
    bool moveTo(int row);
    void applyTabOrder();
    void saveColumns();
    SongData values() const;
    bool isNewSong() const { return m_isNew; }
    int songCount() const { return int(m_songs.size()); }

    QLineEdit* sideEdit() const { return m_side; }
    QLineEdit* numberEdit() const { return m_number; }
    LaufzeitEdit* timeEdit() const { return m_time; }
    QLineEdit* titleEdit() const { return m_title; }
    QLineEdit* interpreterEdit() const { return m_interpreter; }
    QLineEdit* fromEdit() const { return m_from; }
    QLineEdit* toEdit() const { return m_to; }
    QLineEdit* bpmFromEdit() const { return m_bpmFrom; }
    LookupCombo* danceCombo() const { return m_dance; }
    QTableWidget* list() const { return m_list; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* deleteButton() const { return m_delete; }
    QList<QPushButton*> navigationButtons() const { return {m_first, m_previous, m_next, m_last}; }
    QList<QWidget*> tabOrder() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void fill(const SongData& d);
    void show(int index);
    // Shows the song at index or the nearest one; an empty carrier gets its first song.
    void showNear(int index);
    int indexOf(double side, double number) const;
    void reload();
    void refreshList();
    void updateButtons();
    void takeSnapshot();
    bool askSongQuestion();
    bool saveSong();
    void discard();
    void appendFirstSong();
    void focusFirstField();
    void timeLeft();
    void showTimeMessage();
    void restoreColumns();
    int carrier() const;

    SongStore m_store;
    std::vector<SongRecord> m_songs;
    int m_index = -1;        // the stored song shown, when not a new one
    bool m_isNew = false;    // the song shown is not stored yet
    bool m_appended = false; // appended by "Neu": counts as changed
    bool m_tookTrack = false;
    SongData m_current;
    SongData m_snapshot;

    SideEdit* m_side;
    NumberEdit* m_number;
    LaufzeitEdit* m_time;
    QLineEdit* m_title;
    QLineEdit* m_interpreter;
    LookupCombo* m_direction;
    NumberEdit* m_rating;
    NumberEdit* m_from;
    NumberEdit* m_to;
    QLineEdit* m_year;
    NumberEdit* m_bpmFrom;
    NumberEdit* m_bpmTo;
    LookupCombo* m_dance;
    QTableWidget* m_list;
    QPushButton* m_new;
    QPushButton* m_delete;
    QPushButton* m_first;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_last;
};
