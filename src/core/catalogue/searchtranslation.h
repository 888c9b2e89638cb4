#pragma once

#include "medialist.h"
#include "searchcondition.h"

#include <vector>

// Turns search conditions into an SQL condition with "?" placeholders and their values. Each
// condition becomes "( ... )", the later ones "AND ( ... )" or "OR ( ... )", so AND binds
// before OR and nothing is grouped further. User values are always bound.
namespace search {

struct TranslateOptions {
    // Narrow "~" on song title and interpreter through the song index (every candidate is
    // checked by the same comparison as without it).
    bool songIndex = false;
};

// Throws std::invalid_argument for a field or operator the kind does not offer.
medialist::Filter translate(Kind kind, const std::vector<Condition>& conditions,
                            const TranslateOptions& options = {});

// "%value%" for LIKE with "\" as escape character: "%", "_" and "\" match themselves.
QString containsPattern(const QString& value);

} // namespace search
