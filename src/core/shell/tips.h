#pragma once

#include "core/db/records.h"

class Database;

#include <QString>
#include <vector>

// The tips of the start-up tips dialog: which one to show and how.
class Tips {
public:
    explicit Tips(std::vector<TipRecord> tips) : m_tips(std::move(tips)) {}
    // The tips of the data set in their stored order. Throws DbError.
    static Tips load(Database& db);

    bool isEmpty() const { return m_tips.empty(); }
    int count() const { return int(m_tips.size()); }

    // 1-based record number of the tip after lastTip, wrapping to the first.
    int startAfter(int lastTip) const;
    // The neighbours of a 1-based record number, wrapping at both ends.
    int next(int number) const;
    int previous(int number) const;

    // "Wußten Sie schon..." and the like, chosen by the tip's kind.
    static QString titleFor(const QString& kind);
    // The first 255 characters, with each of the first five "%s" made a line break.
    static QString textOf(const QString& tip);

    const TipRecord& at(int number) const { return m_tips[size_t(number - 1)]; }

private:
    std::vector<TipRecord> m_tips;
};
