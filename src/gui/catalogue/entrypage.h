#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "core/catalogue/cdreading.h"

class TMainTtDialog;

// What the entry window hands its surroundings: the main window's notifications, the help,
// and the hooks later features fill. Empty hooks do nothing.
struct EntryWindowHooks {
    // The first save of a new carrier: the main window's commands may change.
    std::function<void()> firstSave;
    std::function<void(int helpContext)> help;
    // The single carrier print dialog; while empty, "Drucken" stays disabled.
    std::function<void(int carrierNumber)> printDialog;
    // The total-time check of a carrier, run on closing an existing carrier.
    std::function<void(int carrierNumber)> timeCheck;
    // Whether a printer is set up.
    std::function<bool()> hasPrinter;
    // The CDDB lookup of "CD lesen", parented to the window.
    std::function<std::unique_ptr<CddbLookupService>(QWidget* parent)> cddbLookup;
    TocReader tocReader = ReadCDToc;
};

// The hint a control shows as tool tip and in the status bar.
inline void setHint(QWidget* widget, const QString& text) {
    widget->setToolTip(text);
    widget->setStatusTip(text);
}

enum class EntryNavigation { First, Previous, Next, Last };

// One page of the entry window. Each page stores its own records and asks its own
// question before it is left.
class EntryPage : public QWidget {
    Q_OBJECT
public:
    enum class Reason { PageChange, Close, Print };

    explicit EntryPage(TMainTtDialog& window) : m_window(window) {}

    // The page becomes the shown one.
    virtual void enter() = 0;
    // "S&ichern".
    virtual bool save() = 0;
    // Asked before the page is left, the window closes or prints; true lets it go on.
    virtual bool leave(Reason reason) = 0;
    virtual void navigate(EntryNavigation) {}
    // The lookup tables changed: the drop-downs are filled again, each keeping its choice.
    virtual void fillLookups() {}

protected:
    // Shows a field's message unless one is already showing: a focus-out and a save that
    // check the same field give the user one message, not two.
    void tellOnce(const std::function<void()>& tell);
    // The focus went from the watched field to another control of this window, not to a
    // message box or a drop-down that opened over it.
    static bool leftForAnotherControl(const QEvent* event);

    TMainTtDialog& m_window;

private:
    bool m_telling = false;
};
