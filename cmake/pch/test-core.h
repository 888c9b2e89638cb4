// What a test of the core includes besides the code under test.
#pragma once

#include "core.h"

#include <QTemporaryDir>
#include <QTest>
