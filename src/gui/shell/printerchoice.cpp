#include "printerchoice.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace printerchoice {

QStringList availablePrinters() {
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.append(kPdfPrinter);
    return names;
}

QString initialPrinter(const QString& lastPrinter) {
    if (!lastPrinter.isEmpty() && availablePrinters().contains(lastPrinter))
        return lastPrinter;
    const QString system = QPrinterInfo::defaultPrinterName();
    return system.isEmpty() ? kPdfPrinter : system;
}

std::optional<QString> runSetupDialog(const QString& currentPrinter, QWidget* parent) {
    QPrinter printer;
    if (currentPrinter == kPdfPrinter)
        printer.setOutputFormat(QPrinter::PdfFormat);
    else
        printer.setPrinterName(currentPrinter);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Druckereinrichtung"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (printer.outputFormat() == QPrinter::PdfFormat || printer.printerName().isEmpty())
        return kPdfPrinter;
    return printer.printerName();
}

bool checkPrinterDefined(MessageService& messages) {
    return printercheck::printerDefined(availablePrinters(), messages);
}

} // namespace printerchoice
