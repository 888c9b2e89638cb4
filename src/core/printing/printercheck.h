#pragma once

#include <QString>
#include <QStringList>

class MessageService;

// The check every print command makes before it opens its dialog.
namespace printercheck {

// The built-in printer that writes PDF files; always offered beside the system's printers.
inline const QString kPdfPrinter = QStringLiteral("PDF-Datei");

// True when a printer is there; otherwise tells the user so (as the program has always
// worded it) and returns false.
bool printerDefined(const QStringList& printers, MessageService& messages);

} // namespace printercheck
