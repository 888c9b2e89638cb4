// Composing a 1,000-page document of table rows and wrapped lines, then replaying it to PDF:
// time and memory. diskarium-bench-printing [PAGES=1000]
#include "core/printing/pageprinter.h"
#include "gui/printing/qtprinterdevice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>

namespace {
long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int wanted = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("bench.pdf"));
    QtPrinterDevice device(QStringLiteral("PDF-Datei"), [&] { return pdf; });
    TPagePrinter pp(&device);
    pp.setMeasureUnit(muMillimeters);
    pp.setMarginTop(20);
    pp.setMarginBottom(15);
    pp.setMarginLeft(20);
    pp.setMarginRight(10);
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(10);
    pp.setFont(font);
    pp.setHeaderFormat(QStringLiteral("100|>70"));
    pp.setHeader(QStringLiteral("{$TITLE}|Seite {$PAGE}"));
    pp.setTitle(QStringLiteral("Benchmark"));
    pp.setTableFormat(QStringLiteral("60|40|>20|>30"));
    pp.setTableGrid(true);
    const long before = peakKilobytes();

    QElapsedTimer timer;
    timer.start();
    pp.StartDocument();
    int row = 0;
    while (pp.PageCount() < wanted || pp.CursorY() > 0) {
        ++row;
        if (row % 10 == 0)
            pp.WriteAlignedLine(
                QStringLiteral(
                    "Zwischentext %1: Ein langer Absatz, der über mehrere Zeilen umbrochen "
                    "werden muss, weil er breiter ist als die Seite und Wörter enthält.")
                    .arg(row));
        else
            pp.WriteColumns(QStringLiteral("Interpret Nummer %1|Titel der Platte %1|%2|%3,%4 €")
                                .arg(row)
                                .arg(row % 13 + 1)
                                .arg(row % 97)
                                .arg(row % 100, 2, 10, QLatin1Char('0')));
        if (pp.PageCount() > wanted)
            break;
    }
    pp.FinishDocument();
    const qint64 composeMs = timer.elapsed();
    qint64 pageBytes = 0;
    for (const auto& page : pp.pages())
        pageBytes += page->memoryUse();
    const long afterCompose = peakKilobytes();

    pp.setShowProgress(false);
    timer.restart();
    pp.PrintPages();
    const qint64 printMs = timer.elapsed();

    out << "Seiten: " << pp.PageCount() << ", Zeilen: " << row << Qt::endl;
    out << "Satz:    " << composeMs << " ms, Seitenspeicher " << pageBytes / 1024 << " KB, Spitze "
        << (afterCompose - before) / 1024 << " MB mehr" << Qt::endl;
    out << "PDF:     " << printMs << " ms, Datei " << QFileInfo(pdf).size() / 1024
        << " KB, Spitze insgesamt " << peakKilobytes() / 1024 << " MB" << Qt::endl;
    return 0;
}
