#pragma once

#include <QString>
#include <QStringList>

class Database;
class MessageService;

// The checks every print command makes before it opens its dialog.
namespace printercheck {

// The built-in printer that writes PDF files; always offered beside the system's printers.
inline const QString kPdfPrinter = QStringLiteral("PDF-Datei");

// The no-printer message of most print commands, worded as the program always has.
inline const QString kNoPrinter = QStringLiteral("Es es kein Drucker definiert.");
// The wording of "Drucken" in the carrier windows.
inline const QString kNoPrinterCarrier = QStringLiteral("Es ist kein Drucker definiert.");

// True when a printer is there; otherwise tells the user so with noPrinterText and returns
// false.
bool printerDefined(bool present, MessageService& messages,
                    const QString& noPrinterText = kNoPrinter);
bool printerDefined(const QStringList& printers, MessageService& messages);

// True when there are templates of the type; otherwise shows missingText with missingHelp
// as an error and returns false.
bool templatesPresent(Database& db, MessageService& messages, int type, const QString& missingText,
                      int missingHelp);

// A printer first, then templates of the type: what a report dialog needs to open.
bool readyToPrint(Database& db, const QStringList& printers, MessageService& messages, int type,
                  const QString& missingText, int missingHelp);

} // namespace printercheck
