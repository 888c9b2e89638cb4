#pragma once

#include <QStringList>

// The CD drives of this computer, in device order ("/dev/sr0", ...).
QStringList enumerateCdDrives();
