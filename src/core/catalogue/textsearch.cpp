#include "textsearch.h"

namespace textsearch {

namespace {

bool isWordChar(QChar c) {
    return c.isLetterOrNumber();
}

bool boundedAt(const QString& text, qsizetype pos, qsizetype length) {
    if (pos > 0 && isWordChar(text[pos - 1]))
        return false;
    const qsizetype end = pos + length;
    return end >= text.size() || !isWordChar(text[end]);
}

} // namespace

qsizetype find(const QString& text, const QString& what, qsizetype from, const Options& options) {
    if (what.isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (options.forward) {
        for (qsizetype pos = text.indexOf(what, qMax<qsizetype>(0, from), cs); pos >= 0;
             pos = text.indexOf(what, pos + 1, cs)) {
            if (!options.wholeWord || boundedAt(text, pos, what.size()))
                return pos;
        }
        return -1;
    }
    qsizetype start = qMin(from, text.size()) - what.size();
    while (start >= 0) {
        const qsizetype pos = text.lastIndexOf(what, start, cs);
        if (pos < 0)
            return -1;
        if (!options.wholeWord || boundedAt(text, pos, what.size()))
            return pos;
        start = pos - 1;
    }
    return -1;
}

int replaceAll(QString& text, const QString& what, const QString& with, qsizetype from,
               const Options& options) {
    Options forward = options;
    forward.forward = true;
    int count = 0;
    for (qsizetype pos = find(text, what, from, forward); pos >= 0;
         pos = find(text, what, pos + with.size(), forward)) {
        text.replace(pos, what.size(), with);
        ++count;
    }
    return count;
}

} // namespace textsearch
