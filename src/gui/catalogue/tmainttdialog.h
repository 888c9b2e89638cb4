#pragma once

#include "core/catalogue/cdreading.h"
#include "entrypage.h"
#include "fieldlabelbinder.h"
#include "gui/shell/childwindow.h"

#include <QWidget>
#include <optional>

struct AppState;
class Database;
class MessageService;
class CarrierPage;
class SongPage;
class TextPage;
class PicturePage;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabBar;

// The window in which one carrier is entered or edited: the pages "Tonträgerdaten",
// "Zusatztext", "Cover Grafiken" and "Lieder", and the buttons beside them. A page is
// left only after its question allowed it; a new carrier must be saved first.
class TMainTtDialog : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    enum PageIndex { CarrierIndex, TextIndex, PictureIndex, SongIndex };

    // number 0 opens a new carrier.
    TMainTtDialog(AppState& state, MessageService& messages, EntryWindowHooks hooks, int number = 0,
                  QWidget* parent = nullptr);
    ~TMainTtDialog() override;

    int carrierNumber() const override { return m_number; }
    QList<QMenu*> contributedMenus() override;
    void songOrderChanged() override;
    void hintsChanged(bool enabled) override;
    void fieldLabelsChanged() override { m_labels.apply(); }

    // A label of a field with a label key: takes the user's name and offers "&Umbenennen" and
    // "&Zurücksetzen" on its context menu.
    void addKeyedLabel(QLabel* label, int key);
    const FieldLabelBinder& fieldLabels() const { return m_labels; }
    // The context menu of a keyed label.
    QMenu* labelMenu(int key);
    // "&Umbenennen": the rename dialog for the key; true when a name was stored.
    bool renameLabel(int key);
    // "&Zurücksetzen": the user's name of the key is dropped.
    void resetLabel(int key);

    AppState& state() { return m_state; }
    Database& db();
    MessageService& messages() { return m_messages; }
    const EntryWindowHooks& hooks() const { return m_hooks; }
    bool isNewWindow() const { return m_newWindow; }
    bool savedSomething() const { return m_savedSomething; }
    void markSaved() { m_savedSomething = true; }
    // The carrier page stored the carrier; the first time, number becomes known.
    void carrierStored(int number, const QString& group, const QString& title);
    void showHelp(int context);

    // What "CD lesen" gathered, until the first save.
    const std::optional<CdReading>& reading() const { return m_reading; }
    void setReading(CdReading reading) { m_reading = std::move(reading); }
    int trackPointer = 0; // tracks already handed to songs

    // Shows the page after the page being left allowed it; false when it did not.
    bool selectPage(int index);
    int currentPage() const;
    EntryPage* page(int index) const;
    bool save();
    void print();
    void setEditMenuShown(bool shown);

    CarrierPage* carrierPage() const { return m_carrierPage; }
    SongPage* songPage() const { return m_songPage; }
    TextPage* textPage() const { return m_textPage; }
    PicturePage* picturePage() const { return m_picturePage; }
    QTabBar* tabBar() const { return m_tabs; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* closeButton() const { return m_close; }
    QPushButton* helpButton() const { return m_help; }
    QMenu* editMenu() const { return m_editMenu; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildButtons();
    void buildShortcuts();
    void tabChanged(int index);
    void closeWindow();
    bool checkPrinting(bool afterClosing);
    void labelsStored();

    AppState& m_state;
    MessageService& m_messages;
    EntryWindowHooks m_hooks;
    FieldLabelBinder m_labels;
    int m_number;
    bool m_newWindow;
    bool m_savedSomething = false;
    bool m_closing = false;
    std::optional<CdReading> m_reading;
    int m_shownPage = -1;

    QTabBar* m_tabs;
    QStackedWidget* m_stack;
    CarrierPage* m_carrierPage;
    TextPage* m_textPage;
    PicturePage* m_picturePage;
    SongPage* m_songPage;
    QPushButton* m_save;
    QPushButton* m_print;
    QPushButton* m_close;
    QPushButton* m_help;
    QMenu* m_editMenu;
};
