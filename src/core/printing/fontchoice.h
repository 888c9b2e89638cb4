#pragma once

#include <QStringList>

// The fonts the report and list dialogs offer.
namespace fontchoice {

inline constexpr int kMinimumSize = 4;
inline constexpr int kMaximumSize = 72;

// Installed families in German order, plus "Arial", "Courier New" and "Courier", which
// fontconfig maps onto metric-compatible fonts but the font database does not list.
QStringList families();

// A stored size outside 4..72 (or unreadable) gives the default; 0 would never end a page.
int validSize(int size, int defaultSize);

} // namespace fontchoice
