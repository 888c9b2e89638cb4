#include "musicbrainzsides.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace musicbrainz {
namespace {

// "A", "A1", "AA", "b12": a side letter, maybe doubled, and optional digits.
const QRegularExpression& letterNumber() {
    static const QRegularExpression pattern(QStringLiteral("^([A-Z])(\\1?)([0-9]*)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

bool isLettered(const MediumLayout& medium) {
    const bool sided = medium.format.contains(QLatin1String("Vinyl"), Qt::CaseInsensitive) ||
                       medium.format.contains(QLatin1String("Cassette"), Qt::CaseInsensitive);
    return sided && std::all_of(medium.numbers.begin(), medium.numbers.end(), [](const QString& n) {
               return letterNumber().match(n).hasMatch();
           });
}

QList<SongPlace> letteredPlaces(const QStringList& numbers) {
    struct Parsed {
        int letter; // A = 1
        bool doubled;
        QString digits;
    };
    QList<Parsed> parsed;
    QSet<int> singles;
    for (const QString& n : numbers) {
        const QRegularExpressionMatch m = letterNumber().match(n);
        const int letter = m.captured(1).toUpper().front().unicode() - u'A' + 1;
        const bool doubled = !m.captured(2).isEmpty();
        parsed.append({letter, doubled, m.captured(3)});
        if (!doubled)
            singles.insert(letter);
    }
    // Doubled letters (the double-A side of a single) take the lowest sides left free, in
    // the order they come.
    QMap<int, int> doubledSide;
    int free = 1;
    for (const Parsed& p : parsed) {
        if (!p.doubled || doubledSide.contains(p.letter))
            continue;
        while (singles.contains(free))
            ++free;
        doubledSide.insert(p.letter, free++);
    }
    QList<SongPlace> places;
    QMap<int, int> countOnSide;
    for (const Parsed& p : parsed) {
        const int side = p.doubled ? doubledSide.value(p.letter) : p.letter;
        const int count = ++countOnSide[side];
        places.append({side, p.digits.isEmpty() ? count : p.digits.toInt()});
    }
    return places;
}

QList<SongPlace> plainPlaces(const MediumLayout& medium) {
    QList<SongPlace> places;
    for (int i = 0; i < medium.numbers.size(); ++i)
        places.append({medium.position, i + 1});
    return places;
}

} // namespace

QList<SongPlace> songPlaces(const QList<MediumLayout>& media) {
    QList<SongPlace> all;
    QSet<int> usedSides;
    int highest = 0;
    QSet<std::pair<int, int>> taken;
    for (const MediumLayout& medium : media) {
        QList<SongPlace> places =
            isLettered(medium) ? letteredPlaces(medium.numbers) : plainPlaces(medium);
        if (places.isEmpty())
            continue;
        int lowest = places.front().side;
        bool shared = false;
        for (const SongPlace& p : places) {
            lowest = std::min(lowest, p.side);
            shared = shared || usedSides.contains(p.side);
        }
        // Letters starting again at A, or a CD after an LP: the whole medium moves behind.
        if (shared) {
            for (SongPlace& p : places)
                p.side += highest - lowest + 1;
        }
        for (SongPlace& p : places) {
            usedSides.insert(p.side);
            highest = std::max(highest, p.side);
            while (taken.contains({p.side, p.number}))
                ++p.number;
            taken.insert({p.side, p.number});
            all.append(p);
        }
    }
    return all;
}

} // namespace musicbrainz
