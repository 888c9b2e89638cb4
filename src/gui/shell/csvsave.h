#pragma once

#include <QString>

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

} // namespace csvsave
