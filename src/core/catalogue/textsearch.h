#pragma once

#include <QString>

// Find and replace in the free text.
namespace textsearch {

struct Options {
    bool forward = true;
    bool matchCase = false;
    bool wholeWord = false; // letters of every alphabet, umlauts and ß included, and digits
                            // count as word characters
};

// The position of the next match: forwards from `from` on, backwards ending at or before
// `from`. -1 when there is none.
qsizetype find(const QString& text, const QString& what, qsizetype from, const Options& options);

// Replaces every match from `from` on, continuing after each replacement, so a replacement
// that contains the search string ends. Returns the number of replacements.
int replaceAll(QString& text, const QString& what, const QString& with, qsizetype from,
               const Options& options);

} // namespace textsearch
