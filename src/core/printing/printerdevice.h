#pragma once

#include <QSize>
#include <QString>

class PagePicture;

// The printer a document is composed for and printed on. Composition asks it for
// resolution, paper and offsets; printing sends it recorded pages. Without one the engine
// composes with fixed fallbacks.
class PrinterDevice {
public:
    enum class Orientation { Portrait, Landscape };

    virtual ~PrinterDevice() = default;

    virtual QString name() const = 0;
    virtual int resolutionX() const = 0; // pixels per inch
    virtual int resolutionY() const = 0;
    virtual QSize paperSizePixels() const = 0;
    virtual QSize physicalOffsetPixels() const = 0; // unprintable left and top border
    virtual Orientation orientation() const = 0;
    virtual void setOrientation(Orientation orientation) = 0;
    virtual QString title() const = 0;
    virtual void setTitle(const QString& title) = 0;
    virtual int copyCount() const = 0;
    virtual void setCopyCount(int copies) = 0;

    // A print job: pages are drawn one after another, newPage between them.
    virtual bool beginJob() = 0;
    virtual void drawPage(const PagePicture& page) = 0;
    virtual void newPage() = 0;
    virtual void endJob() = 0;
    virtual void abortJob() = 0;
    virtual bool jobRunning() const = 0;
};

// What PrintPages shows while it sends pages; the window lives only during printing.
class PrintProgress {
public:
    virtual ~PrintProgress() = default;
    virtual void start(const QString& caption, const QString& status, int steps,
                      bool cancelButton) = 0;
    virtual void step(const QString& pageLabel) = 0;
    virtual void finish() = 0;
    // Lets pending user events run, so that a click on the cancel button arrives.
    virtual void processEvents() = 0;
    virtual bool cancelRequested() const = 0;
};
