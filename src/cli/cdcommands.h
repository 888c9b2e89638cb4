#pragma once

#include <QStringList>

// diskarium-tool discid / cddb / musicbrainz: a CD or disc image identified and looked up.
int runDiscIdCommand(const QStringList& args);
int runCddbCommand(const QStringList& args);
int runMusicBrainzCommand(const QStringList& args);
