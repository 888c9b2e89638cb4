#pragma once

#include "core/common/csvwriter.h"

#include <QString>
#include <functional>

class QIODevice;
class QTableView;
class QWidget;
class MessageService;

// "Als CSV-Datei speichern..." of every list window: the rows and columns of the view as
// shown, in their current order, under the column titles shown, into a file the user picks.
// A progress window with a cancel button runs while the rows are written.
namespace csvsave {

// False when cancelled or failed (after a German message for a failure).
bool saveView(QWidget* parent, const QTableView& view, MessageService& messages,
              const QString& proposedName);

// The same for a list that writes itself: write gets the file and the progress (rows
// written, of total) and returns false when the file refused a row or progress cancelled.
bool saveWith(QWidget* parent, MessageService& messages, const QString& proposedName,
              const std::function<bool(QIODevice*, const csv::Progress&)>& write);

} // namespace csvsave
