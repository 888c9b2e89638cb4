#include "qtprinterdevice.h"

#include "core/printing/pagepicture.h"
#include "gui/shell/printerchoice.h"

#include <QPageLayout>

QtPrinterDevice::QtPrinterDevice(const QString& printerName, FileChooser chooseFile)
    : m_name(printerName), m_chooseFile(std::move(chooseFile)),
      m_printer(QPrinter::HighResolution) {
    if (printerName == printerchoice::kPdfPrinter || printerName.isEmpty()) {
        m_name = printerchoice::kPdfPrinter;
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setResolution(300);
        m_printer.setPageSize(QPageSize(QPageSize::A4));
    } else {
        m_printer.setPrinterName(printerName);
    }
    m_printer.setFullPage(false);
}

bool QtPrinterDevice::isPdf() const {
    return m_printer.outputFormat() == QPrinter::PdfFormat;
}

int QtPrinterDevice::resolutionX() const {
    return m_printer.resolution();
}
int QtPrinterDevice::resolutionY() const {
    return m_printer.resolution();
}

QSize QtPrinterDevice::paperSizePixels() const {
    return m_printer.pageLayout().fullRectPixels(m_printer.resolution()).size();
}

QSize QtPrinterDevice::physicalOffsetPixels() const {
    const QPoint origin = m_printer.pageLayout().paintRectPixels(m_printer.resolution()).topLeft();
    return {origin.x(), origin.y()};
}

PrinterDevice::Orientation QtPrinterDevice::orientation() const {
    return m_printer.pageLayout().orientation() == QPageLayout::Landscape ? Orientation::Landscape
                                                                          : Orientation::Portrait;
}

void QtPrinterDevice::setOrientation(Orientation orientation) {
    m_printer.setPageOrientation(orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                       : QPageLayout::Portrait);
}

bool QtPrinterDevice::beginJob() {
    if (isPdf()) {
        const QString file = m_chooseFile ? m_chooseFile() : QString();
        if (file.isEmpty())
            return false;
        m_printer.setOutputFileName(file);
    }
    return m_painter.begin(&m_printer);
}

void QtPrinterDevice::drawPage(const PagePicture& page) {
    if (!m_painter.isActive())
        return;
    // The painter's origin is the printable origin, its unit the printer pixel.
    m_painter.save();
    if (page.resolutionX() != resolutionX() || page.resolutionY() != resolutionY())
        m_painter.scale(double(resolutionX()) / page.resolutionX(),
                        double(resolutionY()) / page.resolutionY());
    page.replay(m_painter);
    m_painter.restore();
}

void QtPrinterDevice::newPage() {
    m_printer.newPage();
}

void QtPrinterDevice::endJob() {
    if (m_painter.isActive())
        m_painter.end();
}

void QtPrinterDevice::abortJob() {
    m_printer.abort();
    if (m_painter.isActive())
        m_painter.end();
}
