#pragma once

#include "core/db/database.h"

#include <QString>

namespace fieldlabels {

// Drops every label the user gave the carrier and song fields; the delivered ones apply again.
void deleteAllRenamed(Database& db);

// The caption of a keyed label of the entry window ("&Gruppe:" for 10110); empty for an
// unknown key. The delivered captions for now.
QString caption(int key);

} // namespace fieldlabels
