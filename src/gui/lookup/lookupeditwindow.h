#pragma once

#include "gui/shell/childwindow.h"

#include <QWidget>
#include <optional>

class LookupCommands;
class QPushButton;
class QGridLayout;
class MessageService;
class Database;

// What the edit windows of lookup entries and currencies share: the caption for a new or a
// stored entry, saving with "&Ok", and the question before unsaved changes are dropped.
class LookupEditWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    // kind 0..7 or lookup::kCurrencies; no key: a new entry.
    LookupEditWindow(LookupCommands& commands, int kind, std::optional<double> key);

    int kind() const { return m_kind; }
    // The stored entry this window edits; none while a new entry is not yet saved.
    std::optional<double> key() const { return m_key; }
    // False when the entry to edit is no longer there (the window is not shown then).
    bool isLoaded() const { return m_loaded; }

    // "&Ok": brings the window to the front and saves; closes when that succeeded.
    void ok();
    // Saves; false (the window stays) when a value is refused or the database failed.
    bool save();
    // Whether the values differ from those stored or last saved.
    virtual bool changed() const = 0;

    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    // Checks the values (telling the user what is wrong) and stores them; returns the key.
    virtual std::optional<double> store() = 0;
    // Renews the snapshot after a save.
    virtual void takeSnapshot() = 0;

    // Lays the buttons out below the fields; call at the end of the constructor.
    void finishLayout(QGridLayout* fields, int helpContext);
    void updateCaption(); // the entry name and the long name, or the running number
    virtual QString longName() const = 0;
    void setLoaded(bool loaded) { m_loaded = loaded; }

    LookupCommands& commands() { return m_commands; }
    MessageService& messages();
    Database& db();

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    LookupCommands& m_commands;
    int m_kind;
    std::optional<double> m_key;
    int m_runningNumber = 0;
    bool m_loaded = true;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
