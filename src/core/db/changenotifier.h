#pragma once

#include <QObject>
#include <QVector>

// What a store changed; windows that show it read it again.
enum class Change {
    Carriers, // a carrier's own fields, a new or deleted carrier
    Songs,    // the songs of a carrier (count and total time follow them)
    Lendings, // lendings and the carrier states they set
    Borrowers,
    Lookups,     // lookup entries and currencies
    Templates,   // print templates
    FieldLabels, // the user's names for fields
};

// The one place where stores announce what they changed. A notice given inside a
// transaction waits for its commit and is dropped when the transaction rolls back, so a
// window never re-reads a state that was not stored.
class ChangeNotifier : public QObject {
    Q_OBJECT
public:
    // A carrier number of 0 means several or unknown carriers.
    static constexpr int kAnyCarrier = 0;

    explicit ChangeNotifier(QObject* parent = nullptr) : QObject(parent) {}

    void announce(Change what, int carrier = kAnyCarrier);

    // Called by the database around transactions.
    void holdNotices(bool hold);
    void releaseHeld();
    void dropHeld();

signals:
    void changed(Change what, int carrier);

private:
    struct Notice {
        Change what;
        int carrier;
        bool operator==(const Notice&) const = default;
    };
    QVector<Notice> m_held;
    bool m_holding = false;
};

// True when a notice changes what a carrier list or a carrier's display shows: the carrier,
// its songs, its lending state or the lookup names it is shown with.
bool changesCarrierViews(Change what);
