#pragma once

#include <QStringList>

// diskarium-tool import-discogs: takes a Discogs collection export into the collection.
int runImportDiscogsCommand(const QStringList& args);
// diskarium-tool export-discogs: writes the collection as a Discogs collection export.
int runExportDiscogsCommand(const QStringList& args);
