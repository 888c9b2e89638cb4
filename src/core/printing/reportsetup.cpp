#include "reportsetup.h"

#include "pageprinter.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace reportsetup {

namespace {
double screenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}
} // namespace

void applyPreviewSetup(TPagePrinter& printer) {
    printer.setMeasureUnit(muMillimeters);
    printer.setMarginTop(20);
    printer.setMarginBottom(10);
    printer.setMarginLeft(20);
    printer.setMarginRight(6);
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(13 * 72.0 / std::max(1.0, screenDpiY())); // 13 screen pixels high
    printer.setFont(font);
}

void resetForReport(TPagePrinter& printer) {
    printer.resetToDefaults();
    applyPreviewSetup(printer);
}

} // namespace reportsetup
