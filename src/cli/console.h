#pragma once

#include <QTextStream>

// Standard output and error of the tool, as text streams.
QTextStream& out();
QTextStream& err();
