#pragma once

#include "core/db/database.h"

#include <QHash>
#include <QString>

namespace fieldlabels {

// Drops every label the user gave the carrier and song fields; the delivered ones apply again.
void deleteAllRenamed(Database& db);

// The caption of a keyed label of the entry window ("&Gruppe:" for 10110); empty for an
// unknown key. The delivered captions for now.
QString caption(int key);
// The user's names of the carrier and song fields ("FeldKopie", group "T") by label key.
QHash<int, QString> renamed(Database& db);

// A user's name as a column title: every "&" removed.
QString columnTitle(const QString& name);

} // namespace fieldlabels
