// What a window test includes besides the code under test.
#pragma once

#include "gui.h"

#include <QTemporaryDir>
#include <QTest>
