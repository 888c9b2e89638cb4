#pragma once

#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/printing/pageprinter.h"
#include "core/printing/reportsetup.h"

#include <QTemporaryDir>

// A printer of known resolution for report tests: by default 100 pixels per inch, A4, no
// unprintable border.
class ReportTestPrinter : public PrinterDevice {
public:
    explicit ReportTestPrinter(int resolution = 100, QSize paper = {827, 1169})
        : m_resolution(resolution), m_paper(paper) {}

    QString name() const override { return QStringLiteral("Testdrucker"); }
    int resolutionX() const override { return m_resolution; }
    int resolutionY() const override { return m_resolution; }
    QSize paperSizePixels() const override { return m_paper; }
    QSize physicalOffsetPixels() const override { return {0, 0}; }
    Orientation orientation() const override { return Orientation::Portrait; }
    void setOrientation(Orientation) override {}
    QString title() const override { return m_title; }
    void setTitle(const QString& t) override { m_title = t; }
    int copyCount() const override { return 1; }
    void setCopyCount(int) override {}
    bool beginJob() override { return true; }
    void drawPage(const PagePicture&) override {}
    void newPage() override {}
    void endJob() override {}
    void abortJob() override {}
    bool jobRunning() const override { return false; }

private:
    int m_resolution;
    QSize m_paper;
    QString m_title;
};

// A data set in a temporary folder with the tables and whatever a test inserts.
struct ReportData {
    QTemporaryDir dir;
    Database db;
    ReportTestPrinter device;
    TPagePrinter printer{&device};

    ReportData() {
        db.open(dir.filePath(QStringLiteral("t.db")), Database::OpenMode::CreateIfMissing);
        db.exec(u"PRAGMA synchronous = OFF"); // test data need not survive a power cut
        dataset::createSchema(db);
        reportsetup::resetForReport(printer);
        printer.setShowProgress(false);
    }

    void lookup(const char* table, int index, const QString& shortName, const QString& longName) {
        LookupRecord r;
        r.indexNummer = index;
        r.kurzbezeichnung = shortName;
        r.langbezeichnung = longName;
        records::insert(db, r, schema::table(QString::fromLatin1(table)));
    }

    void carrier(int number, const QString& text1, const QString& text2, int type = 1,
                 int numbering = 0) {
        CarrierRecord c;
        c.folgenummerKopf = number;
        c.gruppeInterpretText1 = text1;
        c.text2 = text2;
        c.artDerSchallplatte = type;
        c.nummerierung = numbering;
        records::insert(db, c);
    }

    void song(int carrier, int side, int nr, const QString& title,
              const QString& interpreter = QString(), double time = 0) {
        SongRecord s;
        s.folgenummerPosition = carrier;
        s.seiteDerSchallplatte = side;
        s.nrDesLiedes = nr;
        s.titelDesLiedes = title;
        s.interpretDesLiedes = interpreter;
        s.laufzeitDesLiedes = time;
        records::insert(db, s);
    }

    void text(int carrier, const QString& text) {
        CarrierTextRecord t;
        t.folgenummerText = carrier;
        t.freierText = text;
        records::insert(db, t);
    }

    // Every text line of a page, top to bottom, with its top edge.
    QList<std::pair<int, QString>> lines(int page) const {
        QList<std::pair<int, QString>> out;
        for (const PagePicture::Text& t : printer.PageImage(page).texts())
            out.append({t.topLeft.y(), t.text});
        return out;
    }
};
