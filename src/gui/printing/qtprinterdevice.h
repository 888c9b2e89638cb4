#pragma once

#include "core/printing/printerdevice.h"

#include <QPainter>
#include <QPrinter>
#include <functional>
#include <memory>

// A printer the system knows (CUPS), or the built-in printer "PDF-Datei" that writes a
// PDF file chosen when a job starts.
class QtPrinterDevice : public PrinterDevice {
public:
    // Asks for the PDF file of a job; empty to cancel the job.
    using FileChooser = std::function<QString()>;

    explicit QtPrinterDevice(const QString& printerName, FileChooser chooseFile = {});

    QString name() const override { return m_name; }
    int resolutionX() const override;
    int resolutionY() const override;
    QSize paperSizePixels() const override;
    QSize physicalOffsetPixels() const override;
    Orientation orientation() const override;
    void setOrientation(Orientation orientation) override;
    QString title() const override { return m_printer.docName(); }
    void setTitle(const QString& title) override { m_printer.setDocName(title); }
    int copyCount() const override { return m_printer.copyCount(); }
    void setCopyCount(int copies) override { m_printer.setCopyCount(copies); }

    bool beginJob() override;
    void drawPage(const PagePicture& page) override;
    void newPage() override;
    void endJob() override;
    void abortJob() override;
    bool jobRunning() const override { return m_painter.isActive(); }

    bool isPdf() const;
    QPrinter& qprinter() { return m_printer; }

private:
    QString m_name;
    FileChooser m_chooseFile;
    mutable QPrinter m_printer;
    QPainter m_painter;
};
