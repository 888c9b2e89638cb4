#pragma once

#include <QObject>
#include <optional>

class TMain;
class MessageService;
class QMdiSubWindow;
class LookupEditWindow;
struct AppState;

// The nine commands of "Hilfsdatenban&ken" for the lookup tables and currencies, and what
// their windows share: opening edit windows, finding the open one of an entry, the running
// number of new entries and telling every child window about saved or deleted entries.
class LookupCommands : public QObject {
    Q_OBJECT
public:
    LookupCommands(TMain& main, MessageService& messages);

    // Registers the nine commands with the main window.
    void install();

    // Activates the selection window of the kind (0..7, lookup::kCurrencies) or opens one.
    QMdiSubWindow* openSelection(int kind);
    // Opens the edit window for an entry, or for a new one without a key.
    QMdiSubWindow* openEditor(int kind, std::optional<double> key);
    // The open edit window of the entry, found by kind and key.
    QMdiSubWindow* findEditor(int kind, double key) const;
    // Opens the print dialog of the list modally when a printer is there.
    void printList(int kind);

    // The next running number of the captions of new-entry windows.
    int nextRunningNumber();
    // Every child window re-reads its lookups.
    void showHelp(int context);

    TMain& main() { return m_main; }
    AppState& state();
    MessageService& messages() { return m_messages; }

private:
    TMain& m_main;
    MessageService& m_messages;
};
