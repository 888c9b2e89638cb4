#pragma once

#include "core/db/database.h"

namespace fieldlabels {

// Drops every label the user gave the carrier and song fields; the delivered ones apply again.
void deleteAllRenamed(Database& db);

} // namespace fieldlabels
