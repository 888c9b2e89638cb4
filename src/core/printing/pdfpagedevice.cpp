#include "pdfpagedevice.h"

#include "pagepicture.h"
#include "printercheck.h"

#include <QPageSize>
#include <QPdfWriter>

PdfPageDevice::PdfPageDevice(QString fileName)
    : m_fileName(std::move(fileName)),
      // A4 with the 10 point margins a printer of the print system reports for PDF output.
      m_layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
               QPageLayout::Point) {}

PdfPageDevice::~PdfPageDevice() {
    if (m_painter.isActive())
        m_painter.end();
}

QString PdfPageDevice::name() const {
    return printercheck::kPdfPrinter;
}

QSize PdfPageDevice::paperSizePixels() const {
    return m_layout.fullRectPixels(kResolution).size();
}

QSize PdfPageDevice::physicalOffsetPixels() const {
    const QPoint origin = m_layout.paintRectPixels(kResolution).topLeft();
    return {origin.x(), origin.y()};
}

PrinterDevice::Orientation PdfPageDevice::orientation() const {
    return m_layout.orientation() == QPageLayout::Landscape ? Orientation::Landscape
                                                            : Orientation::Portrait;
}

void PdfPageDevice::setOrientation(Orientation orientation) {
    m_layout.setOrientation(orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                  : QPageLayout::Portrait);
}

bool PdfPageDevice::beginJob() {
    m_succeeded = false;
    if (m_output)
        m_writer = std::make_unique<QPdfWriter>(m_output);
    else if (!m_fileName.isEmpty())
        m_writer = std::make_unique<QPdfWriter>(m_fileName);
    else
        return false;
    m_writer->setResolution(kResolution);
    m_writer->setPageLayout(m_layout);
    m_writer->setTitle(m_title);
    m_writer->setCreator(QStringLiteral("Diskarium"));
    return m_painter.begin(m_writer.get());
}

void PdfPageDevice::drawPage(const PagePicture& page) {
    if (!m_painter.isActive())
        return;
    // The painter's origin is the printable origin, its unit the printer pixel.
    m_painter.save();
    if (page.resolutionX() != kResolution || page.resolutionY() != kResolution)
        m_painter.scale(double(kResolution) / page.resolutionX(),
                        double(kResolution) / page.resolutionY());
    page.replay(m_painter);
    m_painter.restore();
}

void PdfPageDevice::newPage() {
    if (m_writer)
        m_writer->newPage();
}

void PdfPageDevice::endJob() {
    if (m_painter.isActive())
        m_succeeded = m_painter.end();
    m_writer.reset();
}

void PdfPageDevice::abortJob() {
    if (m_painter.isActive())
        m_painter.end();
    m_writer.reset();
    m_succeeded = false;
}
