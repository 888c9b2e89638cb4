#pragma once

#include <QStringList>

// diskarium-tool mbsearch: releases found on MusicBrainz by barcode, catalogue number or title
// and artist; add: one of them stored as a new carrier.
int runMbSearchCommand(const QStringList& args);
int runAddCommand(const QStringList& args);
