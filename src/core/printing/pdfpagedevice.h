#pragma once

#include "printerdevice.h"

#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <memory>

class QIODevice;
class QPdfWriter;

// The built-in printer "PDF-Datei" without widgets: the same geometry as the program's
// print dialog device (300 dpi, A4), writing one PDF file per job. The command-line tool
// prints through it, so its files equal what the window prints.
class PdfPageDevice : public PrinterDevice {
public:
    explicit PdfPageDevice(QString fileName = {});
    ~PdfPageDevice() override;

    static constexpr int kResolution = 300;

    void setFileName(const QString& fileName) { m_fileName = fileName; }
    // Writes the next job into this open device instead of a file (not owned).
    void setOutputDevice(QIODevice* device) { m_output = device; }
    const QString& fileName() const { return m_fileName; }

    QString name() const override;
    int resolutionX() const override { return kResolution; }
    int resolutionY() const override { return kResolution; }
    QSize paperSizePixels() const override;
    QSize physicalOffsetPixels() const override;
    Orientation orientation() const override;
    void setOrientation(Orientation orientation) override;
    QString title() const override { return m_title; }
    void setTitle(const QString& title) override { m_title = title; }
    int copyCount() const override { return m_copies; }
    void setCopyCount(int copies) override { m_copies = copies < 1 ? 1 : copies; }

    bool beginJob() override;
    void drawPage(const PagePicture& page) override;
    void newPage() override;
    void endJob() override;
    void abortJob() override;
    bool jobRunning() const override { return m_painter.isActive(); }

    // False when the file could not be written completely.
    bool jobSucceeded() const { return m_succeeded; }

private:
    QString m_fileName;
    QIODevice* m_output = nullptr;
    QString m_title;
    QPageLayout m_layout;
    int m_copies = 1;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    bool m_succeeded = false;
};
