#include "changenotifier.h"

#include <utility>

void ChangeNotifier::announce(Change what, int carrier) {
    const Notice notice{what, carrier};
    if (m_holding) {
        if (!m_held.contains(notice))
            m_held.append(notice);
        return;
    }
    emit changed(what, carrier);
}

void ChangeNotifier::holdNotices(bool hold) {
    m_holding = hold;
}

void ChangeNotifier::releaseHeld() {
    m_holding = false;
    const QVector<Notice> held = std::exchange(m_held, {});
    for (const Notice& n : held)
        emit changed(n.what, n.carrier);
}

void ChangeNotifier::dropHeld() {
    m_holding = false;
    m_held.clear();
}

bool changesCarrierViews(Change what) {
    return what == Change::Carriers || what == Change::Songs || what == Change::Lendings ||
           what == Change::Lookups;
}
