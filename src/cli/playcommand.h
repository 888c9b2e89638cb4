#pragma once

#include <QStringList>

// diskarium-tool play: a CD or disc image played through the sound output, or one track
// written as a WAV file.
int runPlayCommand(const QStringList& args);
