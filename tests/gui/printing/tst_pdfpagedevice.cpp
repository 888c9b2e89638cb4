#include "core/printing/pdfpagedevice.h"
#include "gui/printing/qtprinterdevice.h"
#include "gui/shell/printerchoice.h"

#include <QTest>

// The tool's PDF device must compose exactly as the window's built-in printer "PDF-Datei",
// or the tool's files would differ from the window's print.
class TestPdfPageDevice : public QObject {
    Q_OBJECT
private slots:
    void sameGeometryAsTheBuiltInPrinter_data() {
        QTest::addColumn<bool>("landscape");
        QTest::addRow("portrait") << false;
        QTest::addRow("landscape") << true;
    }
    void sameGeometryAsTheBuiltInPrinter() {
        QFETCH(bool, landscape);
        QtPrinterDevice window(printerchoice::kPdfPrinter);
        PdfPageDevice tool;
        const auto orientation = landscape ? PrinterDevice::Orientation::Landscape
                                           : PrinterDevice::Orientation::Portrait;
        window.setOrientation(orientation);
        tool.setOrientation(orientation);
        QCOMPARE(tool.name(), window.name());
        QCOMPARE(tool.resolutionX(), window.resolutionX());
        QCOMPARE(tool.resolutionY(), window.resolutionY());
        QCOMPARE(tool.paperSizePixels(), window.paperSizePixels());
        QCOMPARE(tool.physicalOffsetPixels(), window.physicalOffsetPixels());
        QCOMPARE(tool.orientation(), window.orientation());
    }
};

QTEST_MAIN(TestPdfPageDevice)
#include "tst_pdfpagedevice.moc"
