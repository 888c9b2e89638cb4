// Printing every carrier of a large collection through the first carrier template, as
// "Alle Tonträger drucken" does: composing speed, page store, peak memory, the longest
// wait for the abort button, and the PDF.
// diskarium-bench-printall DIR (a data directory made by diskarium-generate)
#include "core/common/messageservice.h"
#include "core/db/dataset.h"
#include "core/printing/carrierreport.h"
#include "core/printing/pageprinter.h"
#include "core/printing/pdfpagedevice.h"
#include "core/printing/reportsetup.h"
#include "core/printing/templatestore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>

namespace {
long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class SilentMessages : public MessageService {
public:
    MessageButton show(const Message& m) override {
        QTextStream(stderr) << m.text << Qt::endl;
        return MessageButton::Ok;
    }
    QString chooseOpenFile(const FileChoice&) override { return {}; }
    QString chooseSaveFile(const FileChoice&) override { return {}; }
};
} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc < 2) {
        QTextStream(stderr) << "Aufruf: diskarium-bench-printall DATENVERZEICHNIS\n";
        return 2;
    }
    Database db;
    db.open(dataset::databasePath(QString::fromLocal8Bit(argv[1])));
    SilentMessages messages;
    carrierreport::Options options;
    options.templ = templatestore::choose(db, 2, QString()).value();
    options.fontName = QStringLiteral("Courier");
    options.fontSize = 11;

    PdfPageDevice device;
    TPagePrinter printer(&device);
    reportsetup::resetForReport(printer);
    printer.setShowProgress(false);
    const long before = peakKilobytes();

    QElapsedTimer timer, sinceCheck;
    qint64 longestWait = 0;
    ReportProgress progress;
    // The dialog lets pending events (the abort button) run whenever a head starts.
    progress.pageStarted = [&](int) {
        longestWait = std::max(longestWait, sinceCheck.nsecsElapsed());
        sinceCheck.restart();
    };
    progress.abortRequested = [] { return false; };
    timer.start();
    sinceCheck.start();
    carrierreport::printAll(printer, db, messages, options, progress);
    const qint64 composeMs = timer.elapsed();
    qint64 pageBytes = 0;
    for (const auto& page : printer.pages())
        pageBytes += page->memoryUse();
    const long afterCompose = peakKilobytes();
    const int pages = printer.PageCount();

    QTemporaryDir dir;
    QSaveFile file(dir.filePath(QStringLiteral("alle.pdf")));
    file.open(QIODevice::WriteOnly);
    device.setOutputDevice(&file);
    timer.restart();
    printer.PrintPages();
    file.commit();
    const qint64 pdfMs = timer.elapsed();

    out << "Seiten: " << pages << Qt::endl;
    out << "Satz:   " << composeMs << " ms, "
        << qRound(pages * 1000.0 / std::max<qint64>(1, composeMs)) << " Seiten/s, "
        << composeMs * 1000 / std::max(1, pages) << " ms je 1000 Seiten" << Qt::endl;
    out << "Seitenspeicher: " << pageBytes / 1024 / 1024 << " MB, "
        << pageBytes * 1000 / std::max(1, pages) / 1024 << " KB je 1000 Seiten" << Qt::endl;
    out << "Spitze: " << (afterCompose - before) / 1024 << " MB mehr beim Satz, "
        << peakKilobytes() / 1024 << " MB insgesamt" << Qt::endl;
    out << "Längste Zeit ohne Ereignisverarbeitung: " << longestWait / 1000 << " µs" << Qt::endl;
    out << "PDF:    " << pdfMs << " ms, " << QFile(file.fileName()).size() / 1024 << " KB"
        << Qt::endl;
    return 0;
}
