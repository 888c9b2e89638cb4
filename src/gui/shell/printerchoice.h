#pragma once

#include "core/printing/printercheck.h"

#include <QString>
#include <QStringList>
#include <optional>

class MessageService;
class QWidget;

// The printers the program offers: those the system knows (CUPS) and the built-in printer
// that writes PDF files.
namespace printerchoice {

inline const QString kPdfPrinter = printercheck::kPdfPrinter;

QStringList availablePrinters();
// The printer of that name when it is installed, otherwise the system's default printer.
QString initialPrinter(const QString& lastPrinter);
// The platform's printer set-up; the chosen printer's name, or nullopt when cancelled.
std::optional<QString> runSetupDialog(const QString& currentPrinter, QWidget* parent);
// The check of every print command against the printers offered now.
bool checkPrinterDefined(MessageService& messages);

} // namespace printerchoice
